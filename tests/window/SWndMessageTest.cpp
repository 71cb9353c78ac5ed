#include "core/Platform.h"
#include "window/ControlKinds.h"
#include "window/SWnd.h"

#include "RecordingWnd.h"
#include "window/FrameworkMessages.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Pump(DWORD milliseconds) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < milliseconds; ::Sleep(5)) {
    DrainMessages();
  }
}

// A real HDROP of ANSI paths, as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  size_t chars = 1;
  for (const std::string& p : paths) chars += p.size() + 1;
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
  DROPFILES* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  char* out = reinterpret_cast<char*>(drop + 1);
  for (const std::string& p : paths) {
    memcpy(out, p.c_str(), p.size() + 1);
    out += p.size() + 1;
  }
  ::GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace

TEST(SWndMessage, RecordsCollectValuesWithinTheirBlockAndTheirLimits) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));

  // Size 5 reserves 8 data bytes, written most significant byte first; a
  // hostile stream of further values is refused.
  LRESULT handle = wnd.SendMessage(SWM_RECORD_BEGIN, 77, 5);
  ASSERT_EQ(1, handle);
  wnd.SendMessage(SWM_RECORD_APPEND, handle, 0x01020304);
  wnd.SendMessage(SWM_RECORD_APPEND, handle, 0x05060708);
  for (int i = 0; i < 1000; ++i) wnd.SendMessage(SWM_RECORD_APPEND, handle, 0x7F7F7F7F);
  wnd.SendMessage(SWM_RECORD_END, handle, -2);
  ASSERT_EQ(1, wnd.Count(SWM_RECORD));
  EXPECT_EQ(77u, wnd.Nth(SWM_RECORD).wParam);
  ASSERT_EQ(24u, wnd.record.size());
  uint32_t size;
  int64_t closing;
  memcpy(&size, &wnd.record[0], 4);
  memcpy(&closing, &wnd.record[4], 8);
  EXPECT_EQ(5u, size);
  EXPECT_EQ(-2, closing) << "the closing value is sign-extended";
  EXPECT_EQ((std::vector<unsigned char>{1, 2, 3, 4, 5, 6, 7, 8}),
            std::vector<unsigned char>(wnd.record.begin() + 16, wnd.record.end()));

  // Bad sizes give no record; closed and never given handles are ignored.
  for (LPARAM bad : {LPARAM(0), LPARAM(-1), LPARAM(0x7FFFFFFF), LPARAM(0x80000000u)}) {
    EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, bad)) << bad;
  }
  for (WPARAM bad : {WPARAM(handle), WPARAM(0), WPARAM(1000), WPARAM(0xFFFFFFFF)}) {
    wnd.SendMessage(SWM_RECORD_APPEND, bad, 1);
    wnd.SendMessage(SWM_RECORD_END, bad, 1);
  }
  EXPECT_EQ(1, wnd.Count(SWM_RECORD));

  // At most 64 records are open; closing one makes room for one.
  std::vector<LRESULT> handles;
  for (int i = 0; i < 1000; ++i) {
    LRESULT opened = wnd.SendMessage(SWM_RECORD_BEGIN, i, 4);
    if (opened) handles.push_back(opened);
  }
  ASSERT_EQ(64u, handles.size());
  wnd.SendMessage(SWM_RECORD_END, handles[10], 0);
  EXPECT_EQ(handles[10], wnd.SendMessage(SWM_RECORD_BEGIN, 5, 4));
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 5, 4));
  for (LRESULT opened : handles) wnd.SendMessage(SWM_RECORD_END, opened, 0);
  EXPECT_EQ(66, wnd.Count(SWM_RECORD));

  // Two records of the largest size use up the bytes.
  const LPARAM kLargest = 16 * 1024 * 1024;
  LRESULT first = wnd.SendMessage(SWM_RECORD_BEGIN, 1, kLargest);
  EXPECT_NE(0, first);
  EXPECT_NE(0, wnd.SendMessage(SWM_RECORD_BEGIN, 2, kLargest));
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, 64));
  wnd.SendMessage(SWM_RECORD_END, first, 0);
  EXPECT_NE(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, kLargest));
  // The open records are freed with the window object.
}

TEST(SWndMessage, EditCommandsFireOnlyForTheirKeysAndMaskBits) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  wnd.m_commandMask = 0x7FFF & ~(1u << 13);  // all but Save

  wnd.SendMessage(WM_KEYDOWN, VK_ESCAPE);
  wnd.SendMessage(WM_KEYDOWN, VK_DELETE);
  wnd.SendMessage(WM_KEYDOWN, 'Z');  // no Control: nothing
  EXPECT_EQ((std::vector<int>{10, 4}), wnd.commands);
  EXPECT_EQ(3, wnd.Count(WM_KEYDOWN)) << "the keys still reach WindowProc";

  auto fired = [&](std::vector<WORD> modifiers, std::vector<UINT> keys) {
    wnd.commands.clear();
    HeldKeys held(modifiers);
    EXPECT_TRUE(held.AllDown()) << "injected keys must be visible to GetAsyncKeyState";
    for (UINT key : keys) wnd.SendMessage(WM_KEYDOWN, key);
    return wnd.commands;
  };
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 9, 11, 12}),
            fired({VK_CONTROL},
                  {'Z', 'X', 'C', 'V', 'A', 'F', 'H', 'G', 'P', 'N', 'O', 'S', 'Q', VK_ESCAPE}))
      << "Control+S fires nothing while bit 13 is clear; Escape wants no modifier";
  EXPECT_EQ((std::vector<int>{14}), fired({VK_CONTROL, VK_SHIFT}, {'Z', 'S'}));
  EXPECT_TRUE(fired({VK_SHIFT}, {'S', VK_DELETE}).empty()) << "Shift alone fires nothing";

  wnd.m_commandMask = 0;
  wnd.SendMessage(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(wnd.commands.empty());
}

TEST(SWndMessage, KeysGoToThePopupAncestorAndTabMovesInTheGroup) {
  RecordingWnd popup, first, second;
  ASSERT_TRUE(popup.Create("", WS_VISIBLE, 0, nullptr));
  RECT r1 = MakeRect(0, 0, 50, 20), r2 = MakeRect(0, 30, 50, 20);
  ASSERT_TRUE(first.Create("", WS_CHILD | WS_VISIBLE, 0, &r1, popup.m_hWnd));
  ASSERT_TRUE(second.Create("", WS_CHILD | WS_VISIBLE, 0, &r2, popup.m_hWnd));

  first.SendMessage(WM_KEYDOWN, 'K');
  ASSERT_EQ(1, popup.Count(SWM_KEYDOWN));
  EXPECT_EQ(WPARAM('K'), popup.Nth(SWM_KEYDOWN).wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(&first), popup.Nth(SWM_KEYDOWN).lParam);
  // A swallowing answer to the system key keeps it from the window.
  popup.answers[SWM_SYSKEYDOWN] = -1;
  first.watched.push_back(WM_SYSKEYDOWN);
  first.SendMessage(WM_SYSKEYDOWN, 'A');
  EXPECT_EQ(0, first.Count(WM_SYSKEYDOWN));

  // Outside any tab group Tab is an ordinary key; inside it moves the focus.
  first.SendMessage(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(2, first.Count(WM_KEYDOWN));
  first.m_tabGroup = second.m_tabGroup = 0;
  first.SetFocus();
  first.SendMessage(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(2, first.Count(WM_KEYDOWN)) << "Tab moved the focus and was consumed";
  EXPECT_EQ(second.m_hWnd, ::GetFocus());
}

TEST(SWndMessage, AClickNeedsPressAndReleaseOnTheSameWindow) {
  RecordingWnd a, b;
  ASSERT_TRUE(a.Create("", 0));
  ASSERT_TRUE(b.Create("", 0));

  a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  EXPECT_EQ(0, a.Count(SWM_LCLICK));
  EXPECT_EQ(0, b.Count(SWM_LCLICK)) << "the release elsewhere ended the press";
  a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
  ASSERT_EQ(1, a.Count(SWM_LCLICK));
  EXPECT_EQ(MAKELPARAM(7, 8), a.Nth(SWM_LCLICK).lParam);

  // A move that no longer holds the button forgets the press.
  a.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
  a.SendMessage(WM_MOUSEMOVE, 0, 0);
  a.SendMessage(WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(0, a.Count(SWM_RCLICK));

  // Losing the focus ends only the window's own presses: a press on a takes
  // the focus from b, a still clicks, b's press is over.
  b.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
  a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  b.SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(a.m_hWnd), 0);
  a.SendMessage(WM_LBUTTONUP, 0, 0);
  b.SendMessage(WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(2, a.Count(SWM_LCLICK));
  EXPECT_EQ(0, b.Count(SWM_RCLICK));

  // The frame's buttons click the same way, with the screen point.
  a.SendMessage(WM_NCRBUTTONDOWN, HTBORDER, MAKELPARAM(300, 200));
  b.SendMessage(WM_NCRBUTTONUP, HTBORDER, MAKELPARAM(300, 200));
  a.SendMessage(WM_NCRBUTTONDOWN, HTBORDER, MAKELPARAM(300, 200));
  a.SendMessage(WM_NCRBUTTONUP, HTBORDER, MAKELPARAM(301, 200));
  ASSERT_EQ(1, a.Count(SWM_NCRCLICK));
  EXPECT_EQ(MAKELPARAM(301, 200), a.Nth(SWM_NCRCLICK).lParam);
}

TEST(SWndMessage, TheCaretFollowsTheFocus) {
  RecordingWnd a, b;
  RECT rect = MakeRect(100, 100, 120, 60);
  ASSERT_TRUE(a.Create("", WS_VISIBLE, 0, &rect));
  ASSERT_TRUE(b.Create("", WS_VISIBLE, 0, &rect));
  EXPECT_FALSE(a.DestroyCaret()) << "none made";
  auto caretWindow = [] {
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(0, &info) ? info.hwndCaret : nullptr;
  };
  // Made without the focus it waits for it; the focus shows it, losing the
  // focus takes it away, getting it back shows it again.
  b.SetFocus();
  ASSERT_TRUE(a.CreateCaret(12));
  EXPECT_NE(a.m_hWnd, caretWindow());
  for (int round = 0; round < 2; ++round) {
    a.SetFocus();
    EXPECT_EQ(a.m_hWnd, caretWindow()) << round;
    POINT at = {-1, -1};
    ::GetCaretPos(&at);
    EXPECT_EQ(0, at.x + at.y) << round;
    b.SetFocus();
    EXPECT_NE(a.m_hWnd, caretWindow()) << round;
  }
  EXPECT_TRUE(a.DestroyCaret());
  a.SetFocus();
  EXPECT_NE(a.m_hWnd, caretWindow());
}

// Zone hooks, written down as "enter 0", "move 0", "leave -1" and so on.
class ZoneWnd : public RecordingWnd {
public:
  void OnZoneEnter(const RECT* zone, int, int, int index) override { Note("enter", zone, index); }
  void OnZoneMove(const RECT* zone, int, int, int index) override { Note("move", zone, index); }
  void OnZoneLeave(const RECT* zone, int, int, int index) override { Note("leave", zone, index); }
  void Note(const char* what, const RECT* zone, int index) {
    calls.push_back(std::string(what) + " " + std::to_string(index) + (zone ? "" : " none"));
  }
  std::vector<std::string> calls;
};

TEST(SWndMessage, ZonesReportEnterMoveAndLeaveInWindowCoordinates) {
  ZoneWnd wnd;
  RECT rect = MakeRect(100, 100, 120, 60);
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE | WS_CAPTION, 0, &rect));
  RECT zones[] = {{0, 0, 20, 10}, {50, 0, 70, 10}};
  for (const RECT& zone : zones) wnd.m_zones.Add(zone);
  auto frameMove = [&](int x, int y) {  // window coordinates, sent as screen ones
    RECT window;
    ::GetWindowRect(wnd.m_hWnd, &window);
    wnd.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(window.left + x, window.top + y));
  };
  frameMove(5, 5);
  EXPECT_TRUE(wnd.calls.empty()) << "zones are off";
  wnd.m_zonesEnabled = true;
  frameMove(5, 5);
  frameMove(6, 5);
  frameMove(55, 5);
  frameMove(90, 5);
  wnd.SendMessage(WM_NCMOUSELEAVE);
  const std::vector<std::string> expected = {"enter 0", "move 0",        "leave 0",      "enter 1",
                                             "leave 1", "enter -1 none", "leave -1 none"};
  EXPECT_EQ(expected, wnd.calls);
  EXPECT_EQ(1, wnd.FindZone(60, 9));
  EXPECT_EQ(-1, wnd.FindZone(60, 10));
}

TEST(SWndMessage, AWindowMovesWithTheMouseUnlessItRefuses) {
  RecordingWnd wnd;
  RECT rect = MakeRect(100, 100, 80, 40);
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE, WS_EX_TOPMOST, &rect));
  wnd.m_moveWithMouse = true;
  auto drag = [&](int dx, int dy) {
    ASSERT_TRUE(::SetCursorPos(110, 110));
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_TRUE(::SetCursorPos(110 + dx, 110 + dy));
    wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10 + dx, 10 + dy));
    wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10 + dx, 10 + dy));
  };
  drag(30, 20);
  RECT moved;
  ::GetWindowRect(wnd.m_hWnd, &moved);
  EXPECT_EQ(130, moved.left);
  EXPECT_EQ(120, moved.top);
  EXPECT_EQ(1, wnd.Count(SWM_MOVESTART));
  EXPECT_EQ(1, wnd.Count(SWM_MOVEEND));
  EXPECT_FALSE(wnd.m_moving);
  EXPECT_NE(wnd.m_hWnd, ::GetCapture());

  // A nonzero answer to the start keeps it where it is.
  ASSERT_TRUE(wnd.Move(100, 100));
  wnd.answers[SWM_MOVESTART] = 1;
  drag(30, 20);
  ::GetWindowRect(wnd.m_hWnd, &moved);
  EXPECT_EQ(100, moved.left);
  EXPECT_EQ(1, wnd.Count(SWM_MOVEEND));
}

TEST(SWndMessage, ADragNamesTheTargetUnderTheMouseAndDropsOnIt) {
  RecordingWnd source, target, other;
  RECT rects[] = {MakeRect(100, 100, 50, 50), MakeRect(200, 100, 50, 50),
                  MakeRect(300, 100, 50, 50)};
  ASSERT_TRUE(source.Create("", WS_VISIBLE, WS_EX_TOPMOST, &rects[0]));
  ASSERT_TRUE(target.Create("", WS_VISIBLE, WS_EX_TOPMOST, &rects[1]));
  ASSERT_TRUE(other.Create("", WS_VISIBLE, WS_EX_TOPMOST, &rects[2]));
  source.m_dragTargets.Add(target.m_hWnd);
  source.m_dragging = true;
  // Over the target: it and the point in its client area; over a window
  // that is no target: none.
  ASSERT_TRUE(::SetCursorPos(210, 120));
  source.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
  ASSERT_TRUE(::SetCursorPos(310, 120));
  source.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
  ASSERT_EQ(2, source.Count(SWM_DRAGOVER));
  POINT inTarget = {210, 120};
  ::ScreenToClient(target.m_hWnd, &inTarget);
  EXPECT_EQ(reinterpret_cast<WPARAM>(&target), source.Nth(SWM_DRAGOVER, 0).wParam);
  EXPECT_EQ(MAKELPARAM(inTarget.x, inTarget.y), source.Nth(SWM_DRAGOVER, 0).lParam);
  EXPECT_EQ(0u, source.Nth(SWM_DRAGOVER, 1).wParam);

  // The release drops on the target and ends the drag.
  ASSERT_TRUE(::SetCursorPos(210, 120));
  source.SendMessage(WM_LBUTTONUP, 0, 0);
  ASSERT_EQ(1, source.Count(SWM_DROP));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&target), source.Nth(SWM_DROP).wParam);
  EXPECT_FALSE(source.m_dragging);

  // A nonzero answer while moving cancels the drag without a drop.
  source.m_dragging = true;
  source.answers[SWM_DRAGOVER] = 1;
  source.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
  EXPECT_FALSE(source.m_dragging);
  source.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(1, source.Count(SWM_DROP));
}

TEST(SWndMessage, MouseEnterAndLeaveAreReported) {
  // No mouse over the window before the test moves it there, and no mouse
  // input of earlier tests left.
  ::SetCursorPos(600, 600);
  Pump(50);
  RecordingWnd wnd;
  RECT rect = MakeRect(100, 100, 200, 120);
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE, WS_EX_TOPMOST, &rect));
  Pump(50);
  ASSERT_TRUE(::SetCursorPos(150, 150));

  wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(51, 50));
  ASSERT_EQ(1, wnd.Count(SWM_MOUSEENTER)) << "once until the mouse leaves";
  EXPECT_EQ(MAKELPARAM(50, 50), wnd.Nth(SWM_MOUSEENTER).lParam);

  ASSERT_TRUE(::SetCursorPos(600, 600));
  DWORD start = ::GetTickCount();
  // The system reports the leave from a timer: a generous wait for it.
  while (wnd.Count(SWM_MOUSELEAVE) == 0 && ::GetTickCount() - start < 20000) Pump(20);
  EXPECT_EQ(1, wnd.Count(SWM_MOUSELEAVE));

  ASSERT_TRUE(::SetCursorPos(150, 150));
  wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  EXPECT_EQ(2, wnd.Count(SWM_MOUSEENTER));
  ::SetCursorPos(600, 600);
  Pump(50);
}

TEST(SWndMessage, DroppedFilesAndFoldersArriveAsAListAndTheDropIsReleased) {
  TempFolder folder;
  folder.MakeFolder("inner");
  folder.Write("a file.txt", "");
  std::string sub = folder.File("inner"), file = folder.File("a file.txt");

  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  HDROP drop = MakeDrop({file, sub, folder.File("missing")});
  wnd.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
  ASSERT_EQ(1, wnd.Count(SWM_DROPFILES));
  EXPECT_EQ((std::vector<std::string>{file, sub + "\\", folder.File("missing")}), wnd.dropped);
  EXPECT_EQ(0u, ::GlobalSize(drop)) << "the drop handle is released";
  EXPECT_EQ(0, wnd.Count(WM_DROPFILES)) << "nobody sees the released handle";
}

TEST(SWndMessage, ScrollingStepsRoundToTheUnitAndClamp) {
  RecordingWnd wnd;
  RECT rect = MakeRect(0, 0, 200, 200);
  ASSERT_TRUE(wnd.Create("", WS_VSCROLL | WS_HSCROLL, 0, &rect));
  ::SetScrollRange(wnd.m_hWnd, SB_VERT, 0, 100, FALSE);
  wnd.m_vScrollUnit = 5;

  EXPECT_EQ(0, wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 17)));
  EXPECT_EQ(15, ::GetScrollPos(wnd.m_hWnd, SB_VERT));
  EXPECT_EQ(MAKEWPARAM(0, 15), wnd.Nth(SWM_VSCROLLED).wParam);
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500));
  EXPECT_EQ(MAKEWPARAM(15, 100), wnd.Nth(SWM_VSCROLLED).wParam) << "clamped to the maximum";
  wnd.m_vPageStep = 12;
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0));
  EXPECT_EQ(85, ::GetScrollPos(wnd.m_hWnd, SB_VERT)) << "100 - 12 rounded down";
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0));
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0));
  EXPECT_EQ(0, ::GetScrollPos(wnd.m_hWnd, SB_VERT));
  EXPECT_EQ(4, wnd.Count(SWM_VSCROLLED)) << "no message when nothing moved";
  ::SetScrollRange(wnd.m_hWnd, SB_HORZ, 0, 40, FALSE);
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0));
  EXPECT_EQ(MAKEWPARAM(1, 40), wnd.Nth(SWM_HSCROLLED).wParam);

  // A scroll-bar control of the window follows the window's steps.
  SWnd bar;
  bar.m_kind = ControlKinds::KIND_SCROLL;
  RECT barRect = MakeRect(0, 0, 150, 16);
  ASSERT_TRUE(bar.CreateControl("SCROLLBAR", "", WS_CHILD | SBS_HORZ, 0, &barRect, wnd.m_hWnd));
  bar.SendMessage(SBM_SETRANGE, 0, 50);
  wnd.m_hScrollUnit = 5;
  LPARAM control = reinterpret_cast<LPARAM>(bar.m_hWnd);
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 17), control);
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), control);
  EXPECT_EQ(25, bar.SendMessage(SBM_GETPOS)) << "17 down to 15, then a page of 10";
  EXPECT_EQ(reinterpret_cast<WPARAM>(&bar), wnd.Nth(SWM_SCROLLCTRLMOVED).wParam);
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 60), control);
  EXPECT_EQ(50, bar.SendMessage(SBM_GETPOS));
}

TEST(SWndMessage, TrackSizesTakeTheOuterThenTheClientLimits) {
  RecordingWnd wnd;
  RECT rect = MakeRect(0, 0, 300, 200);
  ASSERT_TRUE(wnd.Create("", WS_OVERLAPPEDWINDOW, 0, &rect));
  int left, top, right, bottom;
  ASSERT_TRUE(wnd.GetActualFrameMargins(&left, &top, &right, &bottom));
  wnd.m_minWidth = 150;
  wnd.m_minHeight = -1;
  wnd.m_maxWidth = 900;
  wnd.m_minClientHeight = 80;
  wnd.m_maxClientWidth = 500;
  MINMAXINFO info;
  memset(&info, 0, sizeof(info));
  info.ptMaxTrackSize.y = 777;
  wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(150, info.ptMinTrackSize.x);
  EXPECT_EQ(80 + top + bottom, info.ptMinTrackSize.y);
  EXPECT_EQ(500 + left + right, info.ptMaxTrackSize.x);
  EXPECT_EQ(777, info.ptMaxTrackSize.y) << "negative limits leave the system's";
}

TEST(SWndMessage, ListNotificationsBecomeFrameworkMessages) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  SWnd list;
  list.m_kind = ControlKinds::KIND_EXTENDEDLIST;
  RECT rect = MakeRect(0, 0, 80, 20);
  ASSERT_TRUE(list.CreateControl("SysListView32", "", WS_CHILD | LVS_REPORT, 0, &rect, wnd.m_hWnd));
  // A focused list item without a selection is reported as none.
  NMLISTVIEW change;
  memset(&change, 0, sizeof(change));
  change.hdr.hwndFrom = list.m_hWnd;
  change.hdr.code = LVN_ITEMCHANGED;
  change.iItem = 3;
  change.uNewState = LVIS_FOCUSED;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  change.uNewState = LVIS_FOCUSED | LVIS_SELECTED;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(-1, wnd.Nth(SWM_LISTSELCHANGED, 0).lParam);
  EXPECT_EQ(3, wnd.Nth(SWM_LISTSELCHANGED, 1).lParam);
}
TEST(SWndMessage, TooltipTextIsGivenOnlyToTheWindowsOwnTooltip) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  wnd.m_toolTipText = "Own";
  ASSERT_TRUE(wnd.CreateToolTip());
  SWnd toolBar;  // a tool bar's tooltip asks its parent for its own texts
  ASSERT_TRUE(toolBar.CreateControl(TOOLBARCLASSNAMEA, "", WS_CHILD, 0, nullptr, wnd.m_hWnd));
  char kept[] = "kept";
  for (HWND from : {toolBar.m_hWnd, wnd.m_toolTip}) {
    NMTTDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.hdr.hwndFrom = from;
    info.hdr.code = TTN_GETDISPINFOA;
    info.lpszText = kept;
    wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(from == wnd.m_toolTip ? "Own" : "kept", info.lpszText);
  }
}

TEST(SWndMessage, SizeStatesAreReportedOnceEach) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", WS_OVERLAPPEDWINDOW));
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
  EXPECT_EQ(0, wnd.Count(SWM_RESTORED)) << "never minimised or maximised";

  wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(800, 600));
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 100));
  wnd.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
  wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 100));
  EXPECT_EQ((std::vector<UINT>{SWM_MAXIMIZED, SWM_RESTORED, SWM_MINIMIZED, SWM_RESTORED}),
            wnd.Sequence({SWM_MAXIMIZED, SWM_MINIMIZED, SWM_RESTORED}))
      << "a plain resize after the restore repeats nothing";
}
