#include "core/Platform.h"
#include "window/SButtonCtrl.h"

#include "RecordingWnd.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SButtonCtrl, ReportsMouseRecordsThenTheClick) {
  RecordingWnd parent;
  RECT rect = {0, 0, 200, 100};
  ASSERT_TRUE(parent.Create("", 0, 0, &rect));
  SButtonCtrl button;
  RECT buttonRect = {10, 10, 90, 40};
  ASSERT_TRUE(button.CreateButton(BS_PUSHBUTTON, "OK", 0, &buttonRect, parent.m_hWnd,
                                  reinterpret_cast<HMENU>(7)));
  parent.seen.clear();

  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  EXPECT_EQ((std::vector<UINT>{SWM_BUTTONMOUSE, SWM_BUTTONMOUSE, SWM_BUTTONMOUSE,
                               SWM_BUTTONCLICKED}),
            parent.Sequence({SWM_BUTTONMOUSE, SWM_BUTTONCLICKED}));
  EXPECT_EQ((std::vector<uint32_t>{9, 33, 17}), parent.MouseFlags(SWM_BUTTONMOUSE));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&button), parent.Nth(SWM_BUTTONCLICKED).wParam);

  RecordingWnd::Seen press = parent.Nth(SWM_BUTTONMOUSE, 0);
  POINT screen = {5, 6};
  ::ClientToScreen(button.m_hWnd, &screen);
  EXPECT_EQ(reinterpret_cast<WPARAM>(&button), press.wParam);
  EXPECT_EQ(5, press.mouse.x);
  EXPECT_EQ(6, press.mouse.y);
  EXPECT_EQ(screen.x, press.mouse.screenX);
  EXPECT_EQ(screen.y, press.mouse.screenY);

  // Negative client points stay negative.
  parent.seen.clear();
  button.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-3, 2));
  button.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(-3, 2));
  button.SendMessage(WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ((std::vector<uint32_t>{12, 36, 20, 66}), parent.MouseFlags(SWM_BUTTONMOUSE));
  EXPECT_EQ(-3, parent.Nth(SWM_BUTTONMOUSE, 0).mouse.x);
  EXPECT_EQ(0, parent.Count(SWM_BUTTONCLICKED));

  // Without a parent the button still works.
  SButtonCtrl alone;
  ASSERT_TRUE(alone.CreateButton(WS_POPUP | BS_PUSHBUTTON, "alone", 0, &rect, nullptr, nullptr));
  alone.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(alone.SendMessage(BM_GETSTATE) & BST_PUSHED);
  alone.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(alone.SendMessage(BM_GETSTATE) & BST_PUSHED);
}
