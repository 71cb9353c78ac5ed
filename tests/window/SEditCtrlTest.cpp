#include "core/Platform.h"
#include "window/SEditCtrl.h"

#include "PaintSupport.h"
#include "RecordingWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SEditCtrlTest : public ::testing::Test {
protected:
  void Make(DWORD style, const char* text = "") {
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
    RECT child = {10, 10, 210, 40};
    ASSERT_TRUE(edit.Create(WS_VISIBLE | style, text, 0, &child, parent.m_hWnd, 3));
  }

  std::string Text() { return edit.GetText().GetText() ? edit.GetText().GetText() : ""; }

  RecordingWnd parent;
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

TEST_F(SEditCtrlTest, EnterNotifiesOnceAndInsertsOnlyInAMultiLineEdit) {
  Make(ES_AUTOHSCROLL, "ab");
  edit.MoveCaretToEnd();
  DWORD start = 0, end = 0;
  edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(2u, start);
  edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  edit.SendMessage(WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(1, parent.Count(SWM_EDITRETURN));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&edit), parent.Nth(SWM_EDITRETURN).wParam);
  edit.SendMessage(WM_CHAR, 'c', 0);
  EXPECT_EQ("abc", Text());

  SEditCtrl multi;
  RECT rect = {10, 50, 210, 90};
  ASSERT_TRUE(
      multi.Create(WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, "ab", 0, &rect, parent.m_hWnd, 4));
  multi.MoveCaretToEnd();
  multi.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  multi.SendMessage(WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(2, parent.Count(SWM_EDITRETURN));
  EXPECT_STREQ("ab\r\n", multi.GetText().GetText());
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
  EXPECT_EQ((std::vector<uint32_t>{0x09, 0x21, 0x11, 0x42, 0x24, 0x0C}),
            parent.MouseFlags(SWM_EDITMOUSE));
  EXPECT_EQ(6, parent.Nth(SWM_EDITMOUSE).mouse.y);
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

TEST_F(SEditCtrlTest, PrintingShowsTheTextAndAHollowEditWhatIsUnderneath) {
  Make(ES_AUTOHSCROLL, "WWWWWWWW");
  edit.m_textColor = RGB(255, 0, 0);
  Dib32 canvas(200, 30, 0x00FF00);
  edit.PrintTo(canvas.GetDC(), PRF_CLIENT);
  uint32_t windowRgb = RgbOf(::GetSysColor(COLOR_WINDOW));
  EXPECT_GT(canvas.Count(0, 0, 200, 30, IsTextRed), 20) << "the text is drawn in its colour";
  EXPECT_GT(canvas.Count(0, 0, 200, 30, [&](uint32_t c) { return c == windowRgb; }), 1000)
      << "on the window colour";

  // The system edit paints into a given device context on WM_PAINT.
  auto paintedAt = [&](int x, int y) {
    Dib32 painted(200, 30, 0xFF00FF);
    edit.SendMessage(WM_PAINT, reinterpret_cast<WPARAM>(painted.GetDC()), 0);
    return painted.Rgb(x, y);
  };
  EXPECT_EQ(windowRgb, paintedAt(150, 15)) << "the edit's own background";
  edit.SetBackColor(SImage::COLOR_HOLLOW);
  EXPECT_EQ(0xFF00FFu, paintedAt(150, 15)) << "a hollow edit paints no background";
  edit.SetBackColor(RGB(0, 0, 255));
  EXPECT_EQ(0x0000FFu, paintedAt(150, 15));
}
