#include "core/Platform.h"
#include "window/SEditCtrl.h"

#include "PaintSupport.h"
#include "ProbeWnd.h"
#include "RecordingWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class EditParent : public RecordingWnd {
public:
  std::vector<MOUSERECORD> mice;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_EDITMOUSE && lParam) mice.push_back(*reinterpret_cast<MOUSERECORD*>(lParam));
    return RecordingWnd::WindowProc(message, wParam, lParam);
  }
};

class SEditCtrlTest : public ::testing::Test {
protected:
  void Make(DWORD style, const char* text = "") {
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
    RECT child = {10, 10, 210, 40};
    ASSERT_TRUE(edit.Create(WS_VISIBLE | style, text, 0, &child, parent.m_hWnd, 3));
  }

  std::string Text() { return edit.GetText().GetText() ? edit.GetText().GetText() : ""; }

  // The edit's answer to a colour query of the parent, with its device
  // context's text colour, background colour and mode afterwards.
  HBRUSH Query(UINT message, COLORREF* text, COLORREF* back, int* mode) {
    HDC dc = ::GetDC(edit.m_hWnd);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkColor(dc, RGB(4, 5, 6));
    ::SetBkMode(dc, OPAQUE);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        parent.SendMessage(message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(edit.m_hWnd)));
    *text = ::GetTextColor(dc);
    *back = ::GetBkColor(dc);
    *mode = ::GetBkMode(dc);
    ::ReleaseDC(edit.m_hWnd, dc);
    return brush;
  }

  EditParent parent;
  SEditCtrl edit;
};

void SetClipboardText(const char* text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
  memcpy(::GlobalLock(memory), text, strlen(text) + 1);
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_TEXT, memory);
  ::CloseClipboard();
}

// Set while a timer callback ran.
bool g_timerRan = false;
void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  g_timerRan = true;
  ::EndMenu();
}

}  // namespace

TEST_F(SEditCtrlTest, EnterNotifiesOnceAndInsertsNothing) {
  Make(ES_AUTOHSCROLL, "ab");
  EXPECT_EQ(12, edit.m_kind);
  EXPECT_TRUE(edit.m_popupMenu);
  edit.MoveCaretToEnd();
  DWORD start = 0, end = 0;
  edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(2u, start);
  EXPECT_EQ(2u, end);

  edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  edit.SendMessage(WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(1, parent.Count(SWM_EDITRETURN));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&edit), parent.Nth(SWM_EDITRETURN).wParam);
  EXPECT_EQ("ab", Text());
  edit.SendMessage(WM_CHAR, 'c', 0);
  EXPECT_EQ("abc", Text());
}

TEST_F(SEditCtrlTest, MultiLineEditTakesTheLineBreak) {
  Make(ES_MULTILINE | ES_WANTRETURN, "ab");
  edit.MoveCaretToEnd();
  edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  edit.SendMessage(WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(1, parent.Count(SWM_EDITRETURN));
  EXPECT_EQ("ab\r\n", Text());
}

TEST_F(SEditCtrlTest, ControlCharactersFollowTheKeyRules) {
  Make(ES_AUTOHSCROLL, "");
  {
    HeldKeys control({VK_CONTROL});
    ASSERT_TRUE(control.AllDown());
    edit.SendMessage(WM_CHAR, 'b', 0);
    EXPECT_EQ("", Text()) << "typed with Control: dropped";
  }
  {
    HeldKeys altGr({VK_CONTROL, VK_MENU});
    ASSERT_TRUE(altGr.AllDown());
    edit.SendMessage(WM_CHAR, '@', 0);
    EXPECT_EQ("@", Text()) << "Control and Alt: typed normally";
  }
  SetClipboardText("pasted");
  {
    HeldKeys paste({VK_CONTROL, 'V'});
    ASSERT_TRUE(paste.AllDown());
    edit.MoveCaretToEnd();
    edit.SendMessage(WM_CHAR, 0x16, 0);
    EXPECT_EQ("@pasted", Text());
  }
  {
    HeldKeys control({VK_CONTROL});
    edit.SendMessage(WM_KEYDOWN, 'A', 0);
    DWORD start = 9, end = 0;
    edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(7u, end);
  }
  edit.SendMessage(WM_CHAR, 'z', 0);
  EXPECT_EQ("z", Text()) << "without Control characters replace the selection";
}

TEST_F(SEditCtrlTest, MouseRecordsAndThePopupMenuFlag) {
  Make(ES_AUTOHSCROLL, "text");
  edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  edit.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  edit.SendMessage(WM_MBUTTONDBLCLK, 0, MAKELPARAM(1, 1));
  edit.SendMessage(SWM_RCLICK, 0, MAKELPARAM(1, 1));
  edit.m_popupMenu = false;
  edit.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
  std::vector<uint32_t> flags;
  for (const MOUSERECORD& m : parent.mice) flags.push_back(m.flags);
  EXPECT_EQ((std::vector<uint32_t>{0x09, 0x21, 0x11, 0x42, 0x24, 0x0C}), flags);
  EXPECT_EQ(5, parent.mice.back().x);
  EXPECT_EQ(6, parent.mice.back().y);
  EXPECT_EQ(reinterpret_cast<WPARAM>(&edit), parent.Nth(SWM_EDITMOUSE).wParam);

  // Without the popup menu the context menu does not open; with it, it does
  // (closed again by a timer).
  UINT_PTR timer = ::SetTimer(nullptr, 0, 300, &EndMenuTimer);
  g_timerRan = false;
  ::ShowWindow(parent.m_hWnd, SW_SHOW);
  edit.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
  edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit.m_hWnd), MAKELPARAM(20, 20));
  EXPECT_FALSE(g_timerRan);
  edit.m_popupMenu = true;
  edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit.m_hWnd), MAKELPARAM(20, 20));
  EXPECT_TRUE(g_timerRan) << "the menu's own loop ran until the timer closed it";
  ::KillTimer(nullptr, timer);
  DrainMessages();
}

TEST_F(SEditCtrlTest, ColourQueriesFollowTheColours) {
  Make(ES_AUTOHSCROLL, "x");
  COLORREF text, back;
  int mode;
  HDC dc = ::GetDC(edit.m_hWnd);
  EXPECT_EQ(nullptr, edit.OnCtlColorEdit(dc)) << "system colours";
  ::ReleaseDC(edit.m_hWnd, dc);

  edit.SetBackColor(RGB(10, 20, 30));
  HBRUSH brush = Query(WM_CTLCOLOREDIT, &text, &back, &mode);
  ASSERT_NE(nullptr, brush);
  EXPECT_EQ(edit.m_brush, brush);
  LOGBRUSH info;
  ASSERT_TRUE(::GetObjectA(brush, sizeof(info), &info));
  EXPECT_EQ(RGB(10, 20, 30), info.lbColor);
  EXPECT_EQ(RGB(10, 20, 30), back);
  EXPECT_EQ(RGB(1, 2, 3), text) << "no text colour: left alone";

  edit.SetBackColor(0xFF000001);
  edit.m_textColor = RGB(200, 0, 0);
  brush = Query(WM_CTLCOLOREDIT, &text, &back, &mode);
  EXPECT_EQ(::GetStockObject(NULL_BRUSH), brush) << "hollow";
  EXPECT_EQ(TRANSPARENT, mode);
  EXPECT_EQ(RGB(200, 0, 0), text);

  // A text colour alone needs a brush to hold: the window colour's.
  edit.SetBackColor(0xFF000000);
  brush = Query(WM_CTLCOLORSTATIC, &text, &back, &mode);
  ASSERT_NE(nullptr, brush);
  ASSERT_TRUE(::GetObjectA(brush, sizeof(info), &info));
  EXPECT_EQ(::GetSysColor(COLOR_WINDOW), info.lbColor);
  EXPECT_EQ(::GetSysColor(COLOR_WINDOW), back);
  EXPECT_EQ(RGB(200, 0, 0), text);
}

TEST_F(SEditCtrlTest, PrintingShowsTheText) {
  Make(ES_AUTOHSCROLL, "WWWWWWWW");
  edit.m_textColor = RGB(255, 0, 0);
  Canvas canvas(200, 30, 0x00FF00);
  edit.PrintTo(canvas.dc(), PRF_CLIENT);
  int red = 0, window = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 200; ++x) {
      uint32_t c = canvas.Rgb(x, y);
      red += ((c >> 16) & 0xFF) >= 200 && ((c >> 8) & 0xFF) <= 120;
      window += c == 0xFFFFFF;
    }
  }
  EXPECT_GT(red, 20) << "the text is drawn in its colour";
  EXPECT_GT(window, 1000) << "on the window colour";
  EXPECT_EQ(0xFFFFFFu, canvas.Rgb(195, 25));
}

TEST_F(SEditCtrlTest, HollowBackgroundLeavesWhatIsUnderneath) {
  Make(0, "x");
  // The system edit paints into a given device context on WM_PAINT.
  auto paintedAt = [&](int x, int y) {
    Canvas canvas(200, 30, 0xFF00FF);
    edit.SendMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    return canvas.Rgb(x, y);
  };
  COLORREF window = ::GetSysColor(COLOR_WINDOW);
  uint32_t windowRgb = (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
  EXPECT_EQ(windowRgb, paintedAt(150, 15)) << "the edit's own background";
  edit.SetBackColor(0xFF000001);
  EXPECT_EQ(0xFF00FFu, paintedAt(150, 15)) << "a hollow edit paints no background";
  edit.SetBackColor(RGB(0, 0, 255));
  EXPECT_EQ(0x0000FFu, paintedAt(150, 15));
}
