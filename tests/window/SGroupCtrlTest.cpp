#include "core/Platform.h"
#include "window/SGroupCtrl.h"

#include "PaintSupport.h"
#include "RecordingWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class SGroupCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
    RECT box = {10, 10, 210, 110};
    ASSERT_TRUE(group.CreateButton(WS_VISIBLE | BS_GROUPBOX, "Difficulty", 0, &box, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(6)));
  }

  RecordingWnd parent;
  SGroupCtrl group;
};

}  // namespace

TEST_F(SGroupCtrlTest, ReportsEveryMouseButtonEvent) {
  group.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 8));
  group.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(7, 8));
  group.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(7, 8));
  group.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
  EXPECT_EQ((std::vector<uint32_t>{0x0C, 0x24, 0x14, 0x41}), parent.MouseFlags(SWM_GROUPMOUSE));
  EXPECT_EQ(8, parent.Nth(SWM_GROUPMOUSE, 0).mouse.y);
  EXPECT_EQ(reinterpret_cast<WPARAM>(&group), parent.Nth(SWM_GROUPMOUSE).wParam);

  // Without a parent nothing is reported.
  SGroupCtrl alone;
  RECT box = {0, 0, 50, 50};
  ASSERT_TRUE(alone.CreateButton(WS_POPUP | BS_GROUPBOX, "", 0, &box, nullptr, nullptr));
  alone.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(4, parent.Count(SWM_GROUPMOUSE));
}

TEST_F(SGroupCtrlTest, ColoursTheCaption) {
  HDC dc = ::GetDC(group.m_hWnd);
  group.m_textColor = 0xFF102030;  // ARGB
  EXPECT_EQ(nullptr, group.OnCtlColorStatic(dc)) << "no background colour: the system's";
  EXPECT_EQ(RGB(0x10, 0x20, 0x30), ::GetTextColor(dc)) << "the text colour is always set";
  group.SetBackColor(SImage::COLOR_HOLLOW);
  EXPECT_EQ(::GetStockObject(NULL_BRUSH), group.OnCtlColorStatic(dc));
  EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
  ::ReleaseDC(group.m_hWnd, dc);

  // Printed, the caption shows in the text colour over the background.
  group.m_textColor = 0xFFFF0000;
  group.SetBackColor(RGB(255, 255, 255));
  Dib32 canvas(200, 100, 0x00FF00);
  group.PrintTo(canvas.GetDC(), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_GT(canvas.Count(0, 0, 120, 20, IsTextRed), 10);
}
