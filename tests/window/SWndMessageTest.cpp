#include "core/Platform.h"
#include "window/SWnd.h"

#include "RecordingWnd.h"
#include "core/SDisk.h"
#include "window/FrameworkMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RECT Rect(int x, int y, int width, int height) {
  RECT r = {x, y, x + width, y + height};
  return r;
}

void Pump(DWORD milliseconds) {
  DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  } while (::GetTickCount() - start < milliseconds);
}

// Pumps until the window saw the message or the time is up.
bool PumpUntil(RecordingWnd& wnd, UINT message, DWORD milliseconds) {
  DWORD start = ::GetTickCount();
  while (wnd.Count(message) == 0 && ::GetTickCount() - start < milliseconds) Pump(20);
  return wnd.Count(message) > 0;
}

// A real HDROP of ANSI paths, as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  size_t chars = 1;
  for (const std::string& p : paths) chars += p.size() + 1;
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
  DROPFILES* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  char* out = reinterpret_cast<char*>(drop + 1);
  for (const std::string& p : paths) {
    memcpy(out, p.c_str(), p.size() + 1);
    out += p.size() + 1;
  }
  *out = 0;
  ::GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace

TEST(SWndMessage, RecordsCollectValuesAndNeverWriteOutsideTheirBlock) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));

  // Size 5 reserves 8 data bytes, written most significant byte first.
  LRESULT handle = wnd.SendMessage(SWM_RECORD_BEGIN, 77, 5);
  ASSERT_EQ(1, handle);
  wnd.SendMessage(SWM_RECORD_APPEND, handle, 0x01020304);
  wnd.SendMessage(SWM_RECORD_APPEND, handle, 0x05060708);
  // The data area is full: a hostile stream of further values is refused.
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
  std::vector<unsigned char> data(wnd.record.begin() + 16, wnd.record.end());
  EXPECT_EQ((std::vector<unsigned char>{1, 2, 3, 4, 5, 6, 7, 8}), data);

  // The closed handle is free again; values for it are ignored.
  wnd.SendMessage(SWM_RECORD_APPEND, handle, 1);
  wnd.SendMessage(SWM_RECORD_END, handle, 0);
  EXPECT_EQ(1, wnd.Count(SWM_RECORD));
  LRESULT first = wnd.SendMessage(SWM_RECORD_BEGIN, 1, 4);
  LRESULT second = wnd.SendMessage(SWM_RECORD_BEGIN, 2, 12);
  EXPECT_EQ(1, first);
  EXPECT_EQ(2, second);

  // Sizes that are none, negative or beyond the cap give no record.
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, 0));
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, -1));
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, 0x7FFFFFFF));
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, static_cast<LPARAM>(0x80000000u)));
  EXPECT_EQ(2, wnd.m_recordBuffers.GetCount());

  // Handles that were never given are ignored.
  for (WPARAM bad : {WPARAM(0), WPARAM(3), WPARAM(1000), WPARAM(0xFFFFFFFF)}) {
    wnd.SendMessage(SWM_RECORD_APPEND, bad, 1);
    wnd.SendMessage(SWM_RECORD_END, bad, 1);
  }
  EXPECT_EQ(1, wnd.Count(SWM_RECORD));

  // A size of 12 holds 16 data bytes: four values, no fifth.
  for (int i = 1; i <= 5; ++i) wnd.SendMessage(SWM_RECORD_APPEND, second, i);
  wnd.SendMessage(SWM_RECORD_END, second, 9);
  ASSERT_EQ(32u, wnd.record.size());
  EXPECT_EQ(4, wnd.record[16 + 15]);
  EXPECT_EQ(2u, wnd.Nth(SWM_RECORD).wParam);
  // The first record is still open and freed with the window object.
}

TEST(SWndMessage, OpenRecordsAreLimitedInNumberAndBytes) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  std::vector<LRESULT> handles;
  for (int i = 0; i < 1000; ++i) {
    LRESULT handle = wnd.SendMessage(SWM_RECORD_BEGIN, i, 4);
    if (handle) handles.push_back(handle);
  }
  ASSERT_EQ(64u, handles.size());
  EXPECT_EQ(64, wnd.m_recordBuffers.GetCount());
  // Closing one makes room for one.
  wnd.SendMessage(SWM_RECORD_END, handles[10], 0);
  EXPECT_EQ(handles[10], wnd.SendMessage(SWM_RECORD_BEGIN, 5, 4));
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 5, 4));
  for (LRESULT handle : handles) wnd.SendMessage(SWM_RECORD_END, handle, 0);
  EXPECT_EQ(65, wnd.Count(SWM_RECORD));

  // Two records of the largest size use up the bytes.
  const LPARAM kLargest = 16 * 1024 * 1024;
  LRESULT first = wnd.SendMessage(SWM_RECORD_BEGIN, 1, kLargest);
  LRESULT second = wnd.SendMessage(SWM_RECORD_BEGIN, 2, kLargest);
  EXPECT_NE(0, first);
  EXPECT_NE(0, second);
  EXPECT_EQ(0, wnd.SendMessage(SWM_RECORD_BEGIN, 3, kLargest));
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

  wnd.commands.clear();
  {
    HeldKeys control({VK_CONTROL});
    ASSERT_TRUE(control.AllDown()) << "injected keys must be visible to GetAsyncKeyState";
    for (UINT key : {'Z', 'X', 'C', 'V', 'A', 'F', 'H', 'G', 'P', 'N', 'O', 'S', 'Q'}) {
      wnd.SendMessage(WM_KEYDOWN, key);
    }
    wnd.SendMessage(WM_KEYDOWN, VK_ESCAPE);  // Escape wants no modifier
  }
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 9, 11, 12}), wnd.commands)
      << "Control+S fires nothing while bit 13 is clear";

  wnd.commands.clear();
  {
    HeldKeys both({VK_CONTROL, VK_SHIFT});
    ASSERT_TRUE(both.AllDown());
    wnd.SendMessage(WM_KEYDOWN, 'Z');
    wnd.SendMessage(WM_KEYDOWN, 'S');
  }
  EXPECT_EQ((std::vector<int>{14}), wnd.commands) << "Control+Shift+Z fires nothing";

  wnd.commands.clear();
  {
    HeldKeys shift({VK_SHIFT});
    ASSERT_TRUE(shift.AllDown());
    wnd.SendMessage(WM_KEYDOWN, 'Z');
    wnd.SendMessage(WM_KEYDOWN, 'S');
    wnd.SendMessage(WM_KEYDOWN, VK_DELETE);
  }
  EXPECT_TRUE(wnd.commands.empty()) << "Shift alone fires nothing";

  wnd.m_commandMask = 0;
  wnd.SendMessage(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(wnd.commands.empty());
}

TEST(SWndMessage, KeysGoToThePopupAncestorAndTabMovesInTheGroup) {
  RecordingWnd popup;
  ASSERT_TRUE(popup.Create("", WS_VISIBLE, 0, nullptr));
  RecordingWnd first, second;
  RECT r1 = Rect(0, 0, 50, 20), r2 = Rect(0, 30, 50, 20);
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
  popup.answers[SWM_SYSKEYDOWN] = 0;
  first.SendMessage(WM_SYSKEYDOWN, 'A');
  EXPECT_EQ(1, first.Count(WM_SYSKEYDOWN));

  // Outside any tab group Tab is an ordinary key.
  first.SendMessage(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(2, first.Count(WM_KEYDOWN));

  first.m_tabGroup = 0;
  second.m_tabGroup = 0;
  first.SetFocus();
  first.SendMessage(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(2, first.Count(WM_KEYDOWN)) << "Tab moved the focus and was consumed";
  EXPECT_EQ(second.m_hWnd, ::GetFocus());
}

TEST(SWndMessage, AClickNeedsPressAndReleaseOnTheSameWindow) {
  RecordingWnd a, b;
  ASSERT_TRUE(a.Create("", 0));
  ASSERT_TRUE(b.Create("", 0));

  a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(3, 4));
  b.SendMessage(WM_LBUTTONUP, 0, PointParam(3, 4));
  a.SendMessage(WM_LBUTTONUP, 0, PointParam(3, 4));
  EXPECT_EQ(0, a.Count(SWM_LCLICK));
  EXPECT_EQ(0, b.Count(SWM_LCLICK)) << "the release elsewhere ended the press";

  a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(3, 4));
  a.SendMessage(WM_LBUTTONUP, 0, PointParam(7, 8));
  ASSERT_EQ(1, a.Count(SWM_LCLICK));
  EXPECT_EQ(PointParam(7, 8), a.Nth(SWM_LCLICK).lParam);

  // A move that no longer holds the button forgets the press.
  a.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
  a.SendMessage(WM_MOUSEMOVE, 0, 0);
  a.SendMessage(WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(0, a.Count(SWM_RCLICK));
  a.SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, 0);
  a.SendMessage(WM_MOUSEMOVE, MK_MBUTTON, 0);
  a.SendMessage(WM_MBUTTONUP, 0, 0);
  EXPECT_EQ(1, a.Count(SWM_MCLICK));

  // Losing the focus forgets every press.
  a.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
  a.SendMessage(WM_KILLFOCUS, 0, 0);
  a.SendMessage(WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(0, a.Count(SWM_RCLICK));

  // The frame's buttons click the same way, with the screen point.
  a.SendMessage(WM_NCRBUTTONDOWN, HTBORDER, PointParam(300, 200));
  a.SendMessage(WM_NCRBUTTONUP, HTBORDER, PointParam(301, 200));
  ASSERT_EQ(1, a.Count(SWM_NCRCLICK));
  EXPECT_EQ(PointParam(301, 200), a.Nth(SWM_NCRCLICK).lParam);
  a.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, 0);
  b.SendMessage(WM_NCLBUTTONUP, HTBORDER, 0);
  a.SendMessage(WM_NCLBUTTONUP, HTBORDER, 0);
  EXPECT_EQ(0, a.Count(SWM_NCLCLICK));
}

TEST(SWndMessage, LosingTheFocusEndsOnlyTheWindowsOwnPresses) {
  RecordingWnd a, b;
  ASSERT_TRUE(a.Create("", 0));
  ASSERT_TRUE(b.Create("", 0));
  // A press on a takes the focus from b: a still clicks, b's press is over.
  b.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
  a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  b.SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(a.m_hWnd), 0);
  a.SendMessage(WM_LBUTTONUP, 0, 0);
  b.SendMessage(WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(1, a.Count(SWM_LCLICK));
  EXPECT_EQ(0, b.Count(SWM_RCLICK));

  // The other way round.
  b.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
  a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  a.SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(b.m_hWnd), 0);
  a.SendMessage(WM_LBUTTONUP, 0, 0);
  b.SendMessage(WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(1, a.Count(SWM_LCLICK));
  EXPECT_EQ(1, b.Count(SWM_RCLICK));
}

TEST(SWndMessage, MouseEnterAndLeaveAreReported) {
  RecordingWnd wnd;
  RECT rect = Rect(100, 100, 200, 120);
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE, WS_EX_TOPMOST, &rect));
  Pump(50);
  ASSERT_TRUE(::SetCursorPos(150, 150));

  wnd.SendMessage(WM_MOUSEMOVE, 0, PointParam(50, 50));
  wnd.SendMessage(WM_MOUSEMOVE, 0, PointParam(51, 50));
  ASSERT_EQ(1, wnd.Count(SWM_MOUSEENTER)) << "once until the mouse leaves";
  EXPECT_EQ(PointParam(50, 50), wnd.Nth(SWM_MOUSEENTER).lParam);

  ASSERT_TRUE(::SetCursorPos(600, 600));
  ASSERT_TRUE(PumpUntil(wnd, SWM_MOUSELEAVE, 3000));
  EXPECT_EQ(1, wnd.Count(SWM_MOUSELEAVE));

  ASSERT_TRUE(::SetCursorPos(150, 150));
  wnd.SendMessage(WM_MOUSEMOVE, 0, PointParam(50, 50));
  EXPECT_EQ(2, wnd.Count(SWM_MOUSEENTER));
  ::SetCursorPos(600, 600);
  Pump(50);
}

TEST(SWndMessage, DroppedFilesAndFoldersArriveAsAListAndTheDropIsReleased) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "swnd_drop_test";
  std::string sub = folder + "\\inner";
  std::string file = folder + "\\a file.txt";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ::CreateDirectoryA(sub.c_str(), nullptr);
  FILE* f = fopen(file.c_str(), "wb");
  ASSERT_NE(nullptr, f);
  fclose(f);

  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  HDROP drop = MakeDrop({file, sub, folder + "\\missing"});
  wnd.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
  ASSERT_EQ(1, wnd.Count(SWM_DROPFILES));
  EXPECT_EQ((std::vector<std::string>{file, sub + "\\", folder + "\\missing"}), wnd.dropped);
  EXPECT_EQ(0u, ::GlobalSize(drop)) << "the drop handle is released";
  EXPECT_EQ(0, wnd.Count(WM_DROPFILES)) << "nobody sees the released handle";

  ::DeleteFileA(file.c_str());
  ::RemoveDirectoryA(sub.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

TEST(SWndMessage, ScrollingStepsRoundsToTheUnitAndClamps) {
  RecordingWnd wnd;
  RECT rect = Rect(0, 0, 200, 200);
  ASSERT_TRUE(wnd.Create("", WS_VSCROLL | WS_HSCROLL, 0, &rect));
  ::SetScrollRange(wnd.m_hWnd, SB_VERT, 0, 100, FALSE);
  wnd.m_vScrollUnit = 5;

  EXPECT_EQ(0, wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 17)));
  EXPECT_EQ(15, ::GetScrollPos(wnd.m_hWnd, SB_VERT));
  ASSERT_EQ(1, wnd.Count(SWM_VSCROLLED));
  EXPECT_EQ(MAKEWPARAM(0, 15), wnd.Nth(SWM_VSCROLLED).wParam);

  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500));
  EXPECT_EQ(100, ::GetScrollPos(wnd.m_hWnd, SB_VERT)) << "clamped to the maximum";
  EXPECT_EQ(MAKEWPARAM(15, 100), wnd.Nth(SWM_VSCROLLED).wParam);

  wnd.m_vPageStep = 12;
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0));
  EXPECT_EQ(85, ::GetScrollPos(wnd.m_hWnd, SB_VERT)) << "100 - 12 rounded down";
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0));
  EXPECT_EQ(0, ::GetScrollPos(wnd.m_hWnd, SB_VERT));
  wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0));
  EXPECT_EQ(4, wnd.Count(SWM_VSCROLLED)) << "no message when nothing moved";

  ::SetScrollRange(wnd.m_hWnd, SB_HORZ, 0, 40, FALSE);
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0));
  EXPECT_EQ(40, ::GetScrollPos(wnd.m_hWnd, SB_HORZ));
  ASSERT_EQ(2, wnd.Count(SWM_HSCROLLED));
  EXPECT_EQ(MAKEWPARAM(1, 40), wnd.Nth(SWM_HSCROLLED).wParam);

  // A scroll-bar control of the window follows the window's steps.
  SWnd bar;
  bar.m_kind = 34;
  RECT barRect = Rect(0, 0, 150, 16);
  ASSERT_TRUE(bar.CreateControl("SCROLLBAR", "", WS_CHILD | SBS_HORZ, 0, &barRect, wnd.m_hWnd));
  bar.SendMessage(SBM_SETRANGE, 0, 50);
  wnd.m_hScrollUnit = 5;
  LPARAM control = reinterpret_cast<LPARAM>(bar.m_hWnd);
  EXPECT_EQ(0, wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 17), control));
  EXPECT_EQ(15, bar.SendMessage(SBM_GETPOS));
  ASSERT_EQ(1, wnd.Count(SWM_SCROLLCTRLMOVED));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&bar), wnd.Nth(SWM_SCROLLCTRLMOVED).wParam);
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), control);
  EXPECT_EQ(25, bar.SendMessage(SBM_GETPOS));
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 60), control);
  EXPECT_EQ(50, bar.SendMessage(SBM_GETPOS));
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0), control);
  EXPECT_EQ(3, wnd.Count(SWM_SCROLLCTRLMOVED));
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

TEST(SWndMessage, ResizingTellsTheDescendantsAndAlignedChildrenFollow) {
  RecordingWnd parent;
  RECT rect = Rect(0, 0, 300, 200);
  ASSERT_TRUE(parent.Create("", 0, 0, &rect));
  RecordingWnd child, grandchild;
  RECT childRect = Rect(10, 10, 50, 20);
  ASSERT_TRUE(child.Create("", WS_CHILD, 0, &childRect, parent.m_hWnd));
  ASSERT_TRUE(grandchild.Create("", WS_CHILD, 0, &childRect, child.m_hWnd));
  child.SetAutoAlign(0x02);

  ::SetWindowPos(parent.m_hWnd, nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
  RECT moved;
  ::GetWindowRect(child.m_hWnd, &moved);
  ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&moved), 2);
  EXPECT_EQ(110, moved.left);
  ASSERT_GE(parent.Count(SWM_CHILDALIGNED), 1);
  EXPECT_EQ(reinterpret_cast<WPARAM>(&child), parent.Nth(SWM_CHILDALIGNED).wParam);
  ASSERT_GE(child.Count(SWM_PARENTSIZED), 1);
  EXPECT_EQ(reinterpret_cast<LPARAM>(parent.m_hWnd), child.Nth(SWM_PARENTSIZED, 0).lParam);
  EXPECT_GE(grandchild.Count(SWM_PARENTSIZED), 1);

  ::SetWindowPos(parent.m_hWnd, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_GE(grandchild.Count(SWM_PARENTMOVED), 1);
}

TEST(SWndMessage, TrackSizesTakeTheOuterThenTheClientLimits) {
  SWnd wnd;
  RECT rect = Rect(0, 0, 300, 200);
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
  info.ptMinTrackSize.y = 33;
  info.ptMaxTrackSize.y = 777;
  wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(150, info.ptMinTrackSize.x);
  EXPECT_EQ(80 + top + bottom, info.ptMinTrackSize.y);
  EXPECT_EQ(500 + left + right, info.ptMaxTrackSize.x);
  EXPECT_EQ(777, info.ptMaxTrackSize.y) << "negative limits leave the system's";
}

TEST(SWndMessage, ControlCommandsAndNotificationsBecomeFrameworkMessages) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));

  SWnd check;
  check.m_kind = 6;
  RECT rect = Rect(0, 0, 80, 20);
  ASSERT_TRUE(check.CreateButton(BS_CHECKBOX, "check", 0, &rect, wnd.m_hWnd, nullptr));
  LPARAM hCheck = reinterpret_cast<LPARAM>(check.m_hWnd);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), hCheck);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), hCheck);
  ASSERT_EQ(2, wnd.Count(SWM_CHECKCHANGED));
  EXPECT_EQ(1, wnd.Nth(SWM_CHECKCHANGED, 0).lParam);
  EXPECT_EQ(0, wnd.Nth(SWM_CHECKCHANGED, 1).lParam);
  EXPECT_EQ(BST_UNCHECKED, check.SendMessage(BM_GETCHECK));

  // A list view: a focused item without selection is reported as none.
  SWnd list;
  list.m_kind = 13;
  ASSERT_TRUE(list.CreateControl("SysListView32", "", WS_CHILD | LVS_REPORT, 0, &rect,
                                 wnd.m_hWnd));
  NMLISTVIEW change;
  memset(&change, 0, sizeof(change));
  change.hdr.hwndFrom = list.m_hWnd;
  change.hdr.code = LVN_ITEMCHANGED;
  change.iItem = 3;
  change.uNewState = LVIS_FOCUSED;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  change.uNewState = LVIS_FOCUSED | LVIS_SELECTED;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  change.hdr.code = LVN_COLUMNCLICK;
  change.iSubItem = 2;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ((std::vector<UINT>{SWM_LISTSELCHANGED, SWM_LISTSELCHANGED, SWM_LISTCOLUMNCLICK}),
            wnd.Sequence({SWM_LISTSELCHANGED, SWM_LISTCOLUMNCLICK}));
  EXPECT_EQ(-1, wnd.Nth(SWM_LISTSELCHANGED, 0).lParam);
  EXPECT_EQ(3, wnd.Nth(SWM_LISTSELCHANGED, 1).lParam);
  EXPECT_EQ(2, wnd.Nth(SWM_LISTCOLUMNCLICK).lParam);

  // An accepted label edit answers 1, a refused one 0; a cancel is its own.
  NMLVDISPINFOA edit;
  memset(&edit, 0, sizeof(edit));
  edit.hdr.hwndFrom = list.m_hWnd;
  edit.hdr.code = LVN_ENDLABELEDITA;
  edit.item.mask = LVIF_TEXT;
  EXPECT_EQ(1, wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&edit)));
  wnd.answers[SWM_LISTEDITEND] = 1;
  EXPECT_EQ(0, wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&edit)));
  edit.item.mask = 0;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&edit));
  EXPECT_EQ(1, wnd.Count(SWM_LISTEDITCANCEL));

  // Tooltips ask for the window's tooltip text.
  wnd.m_toolTipText = "tip text";
  NMTTDISPINFOA tip;
  memset(&tip, 0, sizeof(tip));
  tip.hdr.hwndFrom = wnd.m_hWnd;
  tip.hdr.code = TTN_GETDISPINFOA;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  EXPECT_STREQ("tip text", tip.lpszText);
}

TEST(SWndMessage, OwnCursorAndHiddenCursorAnswerSetCursor) {
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  WPARAM self = reinterpret_cast<WPARAM>(wnd.m_hWnd);
  wnd.m_cursor = ::LoadCursorA(nullptr, IDC_CROSS);
  EXPECT_EQ(1, wnd.SendMessage(WM_SETCURSOR, self, hit));
  wnd.m_cursorVisible = false;
  EXPECT_EQ(0, wnd.SendMessage(WM_SETCURSOR, self, hit));
  EXPECT_EQ(nullptr, ::GetCursor());
  wnd.m_cursorVisible = true;
  wnd.m_cursor = nullptr;
}

TEST(SWndMessage, MoveWithMouseAndDragOntoTargets) {
  RecordingWnd wnd;
  RECT rect = Rect(100, 100, 120, 80);
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE, WS_EX_TOPMOST, &rect));
  wnd.m_moveWithMouse = true;

  // A refused start moves nothing.
  wnd.answers[SWM_MOVESTART] = 1;
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(10, 10));
  EXPECT_FALSE(wnd.m_moving);
  wnd.SendMessage(WM_LBUTTONUP, 0, PointParam(10, 10));

  wnd.answers.erase(SWM_MOVESTART);
  ASSERT_TRUE(::SetCursorPos(110, 110));
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(10, 10));
  ASSERT_TRUE(wnd.m_moving);
  EXPECT_EQ(wnd.m_hWnd, ::GetCapture());
  ASSERT_TRUE(::SetCursorPos(200, 150));
  wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(100, 50));
  RECT moved;
  ::GetWindowRect(wnd.m_hWnd, &moved);
  EXPECT_EQ(190, moved.left) << "the grabbed point stays under the cursor";
  EXPECT_EQ(140, moved.top);
  wnd.SendMessage(WM_LBUTTONUP, 0, PointParam(10, 10));
  EXPECT_FALSE(wnd.m_moving);
  EXPECT_EQ(1, wnd.Count(SWM_MOVEEND));
  EXPECT_NE(wnd.m_hWnd, ::GetCapture());
  wnd.m_moveWithMouse = false;

  // A drag started by the window reports the target under the cursor.
  RecordingWnd target;
  RECT targetRect = Rect(500, 400, 100, 100);
  ASSERT_TRUE(target.Create("", WS_VISIBLE, WS_EX_TOPMOST, &targetRect));
  wnd.m_dragTargets.Add(target.m_hWnd);
  wnd.m_dragging = true;
  ::SetCapture(wnd.m_hWnd);
  ASSERT_TRUE(::SetCursorPos(520, 430));
  wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
  ASSERT_EQ(1, wnd.Count(SWM_DRAGOVER));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&target), wnd.Nth(SWM_DRAGOVER).wParam);
  EXPECT_EQ(PointParam(20, 30), wnd.Nth(SWM_DRAGOVER).lParam);
  ASSERT_TRUE(::SetCursorPos(700, 700));
  wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
  EXPECT_EQ(0u, wnd.Nth(SWM_DRAGOVER).wParam) << "no target outside the list";
  ASSERT_TRUE(::SetCursorPos(510, 410));
  wnd.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(wnd.m_dragging);
  ASSERT_EQ(1, wnd.Count(SWM_DROP));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&target), wnd.Nth(SWM_DROP).wParam);
  EXPECT_EQ(PointParam(10, 10), wnd.Nth(SWM_DROP).lParam);

  // A nonzero answer to a drag move ends the drag.
  wnd.m_dragging = true;
  ::SetCapture(wnd.m_hWnd);
  wnd.answers[SWM_DRAGOVER] = 1;
  wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
  EXPECT_FALSE(wnd.m_dragging);
  EXPECT_NE(wnd.m_hWnd, ::GetCapture());
  ::SetCursorPos(900, 900);
  Pump(50);
}

namespace {

class ZoneWnd : public SWnd {
public:
  std::vector<std::string> calls;
  void OnZoneEnter(const RECT* zone, int x, int y, int index) override {
    Note("enter", zone, x, y, index);
  }
  void OnZoneMove(const RECT* zone, int x, int y, int index) override {
    Note("move", zone, x, y, index);
  }
  void OnZoneLeave(const RECT* zone, int x, int y, int index) override {
    Note("leave", zone, x, y, index);
  }

private:
  void Note(const char* what, const RECT* zone, int x, int y, int index) {
    char text[64];
    snprintf(text, sizeof(text), "%s %d %s %d,%d", what, index, zone ? "rect" : "null", x, y);
    calls.push_back(text);
  }
};

}  // namespace

TEST(SWndMessage, FrameZonesAreEnteredMovedInAndLeft) {
  ZoneWnd wnd;
  RECT rect = Rect(100, 100, 200, 100);
  ASSERT_TRUE(wnd.Create("", WS_CAPTION | WS_SYSMENU, 0, &rect));
  wnd.m_zones.Add(Rect(0, 0, 20, 20));
  wnd.m_zones.Add(Rect(50, 0, 20, 20));

  wnd.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, PointParam(105, 105));
  EXPECT_TRUE(wnd.calls.empty()) << "zones are off";
  wnd.m_zonesEnabled = true;
  wnd.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, PointParam(105, 105));
  wnd.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, PointParam(106, 105));
  wnd.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, PointParam(155, 105));
  wnd.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, PointParam(130, 105));
  EXPECT_EQ(-1, wnd.m_currentZone);
  wnd.SendMessage(WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(-2, wnd.m_currentZone);
  ASSERT_EQ(7u, wnd.calls.size());
  EXPECT_EQ("enter 0 rect 5,5", wnd.calls[0]);
  EXPECT_EQ("move 0 rect 6,5", wnd.calls[1]);
  EXPECT_EQ("leave 0 rect 55,5", wnd.calls[2]);
  EXPECT_EQ("enter 1 rect 55,5", wnd.calls[3]);
  EXPECT_EQ("leave 1 rect 30,5", wnd.calls[4]);
  EXPECT_EQ("enter -1 null 30,5", wnd.calls[5]);
  EXPECT_EQ(0u, wnd.calls[6].find("leave -1 null")) << wnd.calls[6];
}
