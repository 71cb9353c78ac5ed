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
  EXPECT_EQ(4, button.m_kind);
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
}

TEST(SButtonCtrl, WorksWithoutAParent) {
  SButtonCtrl button;
  RECT rect = {0, 0, 80, 30};
  ASSERT_TRUE(button.CreateButton(WS_POPUP | BS_PUSHBUTTON, "alone", 0, &rect, nullptr, nullptr));
  EXPECT_EQ(nullptr, button.GetParent());
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.SendMessage(BM_GETSTATE) & BST_PUSHED);
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(button.SendMessage(BM_GETSTATE) & BST_PUSHED);
}

TEST(SButtonCtrl, BackgroundBrushFollowsTheColour) {
  RecordingWnd parent;
  ASSERT_TRUE(parent.Create("", 0));
  SButtonCtrl button;
  ASSERT_TRUE(button.CreateButton(BS_PUSHBUTTON, "", 0, nullptr, parent.m_hWnd, nullptr));
  HDC dc = ::GetDC(button.m_hWnd);
  WPARAM hdc = reinterpret_cast<WPARAM>(dc);
  LPARAM hButton = reinterpret_cast<LPARAM>(button.m_hWnd);

  button.SetBackColor(RGB(9, 8, 7));
  LRESULT brush = parent.SendMessage(WM_CTLCOLORBTN, hdc, hButton);
  ASSERT_EQ(reinterpret_cast<LRESULT>(button.m_backBrush), brush);
  LOGBRUSH info;
  ASSERT_TRUE(::GetObjectA(button.m_backBrush, sizeof(info), &info));
  EXPECT_EQ(RGB(9, 8, 7), info.lbColor);

  button.SetBackColor(0xFF000001);
  EXPECT_EQ(::GetStockObject(NULL_BRUSH), button.OnCtlColorBtn(dc)) << "hollow shows the parent";
  EXPECT_EQ(nullptr, button.m_backBrush);
  button.SetBackColor(0xFF000000);
  EXPECT_EQ(nullptr, button.OnCtlColorBtn(dc));
  ::ReleaseDC(button.m_hWnd, dc);
}
