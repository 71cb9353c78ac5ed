#include "core/Platform.h"
#include "window/SToolBarCtrl.h"

#include "window/SControlBarCtrl.h"
#include "window/SStatusBarCtrl.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class BarsTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("", WS_POPUP, 0, &rect));
    ASSERT_TRUE(
        bar.CreateControl(REBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, nullptr, parent.m_hWnd));
    ASSERT_TRUE(tools.Create(TBSTYLE_FLAT, 0, nullptr, bar.m_hWnd, 0));
    ASSERT_TRUE(tools.AddButton(-1, 41, "Open", BTNS_AUTOSIZE | BTNS_SHOWTEXT, TBSTATE_ENABLED, 0));
    ASSERT_TRUE(tools.AddButton(-1, 42, "Save", BTNS_AUTOSIZE | BTNS_SHOWTEXT, TBSTATE_ENABLED, 0));
    ASSERT_TRUE(bar.AddBand(tools.m_hWnd, 100, 24));
  }
  RecordingWnd parent;
  SControlBarCtrl bar;
  SToolBarCtrl tools;
};

}  // namespace

TEST_F(BarsTest, ButtonCommandsReachTheParentThroughTheControlBar) {
  ASSERT_NE(nullptr, tools.m_notify.m_hWnd);
  EXPECT_EQ(-1, tools.m_openMenuButton);
  // A click on a button: the tool bar sends its command to its
  // notification window, which hands it on to the parent.
  RECT button;
  ASSERT_TRUE(tools.SendMessage(TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&button)));
  LPARAM centre = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  tools.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, centre);
  tools.SendMessage(WM_LBUTTONUP, 0, centre);
  ASSERT_EQ(1, parent.Count(SWM_TOOLBARCOMMAND));
  EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<SWnd*>(&tools)),
            parent.Nth(SWM_TOOLBARCOMMAND).wParam);
  EXPECT_EQ(42, parent.Nth(SWM_TOOLBARCOMMAND).lParam);
  // A command from any other window is not a tool-bar command.
  ::SendMessageA(tools.m_notify.m_hWnd, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED),
                 reinterpret_cast<LPARAM>(bar.m_hWnd));
  EXPECT_EQ(1, parent.Count(SWM_TOOLBARCOMMAND));

  // Destroying the bar deletes its bands; the tool bar lives on.
  bar.DeleteBands();
  EXPECT_EQ(0, bar.SendMessage(RB_GETBANDCOUNT));
  EXPECT_TRUE(::IsWindow(tools.m_hWnd));
}

TEST_F(BarsTest, OpenMenusSwitchToAnotherButtonOnly) {
  tools.SwitchMenu(1);
  EXPECT_EQ(-1, tools.m_openMenuButton) << "no menu open: nothing to switch";
  tools.m_openMenuButton = 0;  // as the opening of button 0's menu leaves it
  tools.SwitchMenu(0);
  EXPECT_FALSE(tools.m_switching) << "the open button itself";
  EXPECT_EQ(0, tools.SendMessage(TB_GETHOTITEM));
  tools.SwitchMenu(1);
  EXPECT_TRUE(tools.m_switching);
  EXPECT_EQ(1, tools.m_openMenuButton);
  EXPECT_EQ(1, tools.SendMessage(TB_GETHOTITEM));
  // The closed menu's loop ends: the switch is done, the new one is open.
  ::SendMessageA(tools.m_notify.m_hWnd, WM_EXITMENULOOP, 0, 0);
  EXPECT_FALSE(tools.m_switching);
  EXPECT_EQ(1, tools.m_openMenuButton);
  ::SendMessageA(tools.m_notify.m_hWnd, WM_EXITMENULOOP, 0, 0);
  EXPECT_EQ(-1, tools.m_openMenuButton);

  // The menu timer finds the button under the mouse.
  RECT second;
  ASSERT_TRUE(tools.SendMessage(TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  POINT over = {(second.left + second.right) / 2, (second.top + second.bottom) / 2};
  ::ClientToScreen(tools.m_hWnd, &over);
  ASSERT_TRUE(::SetCursorPos(over.x, over.y));
  ::SendMessageA(tools.m_notify.m_hWnd, WM_TIMER, 1, 0);
  EXPECT_EQ(-1, tools.m_openMenuButton) << "no menu open";
  tools.m_openMenuButton = 0;
  ::SendMessageA(tools.m_notify.m_hWnd, WM_TIMER, 1, 0);
  EXPECT_EQ(1, tools.m_openMenuButton);
  EXPECT_TRUE(tools.m_switching);
}

TEST_F(BarsTest, StatusBarPartsAreGuarded) {
  SStatusBarCtrl status;
  ASSERT_TRUE(
      status.CreateControl(STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, nullptr, parent.m_hWnd));
  ASSERT_TRUE(status.SetParts(4));
  int ends[4] = {};
  ASSERT_EQ(4, status.SendMessage(SB_GETPARTS, 4, reinterpret_cast<LPARAM>(ends)));
  EXPECT_EQ((std::vector<int>{100, 200, 300, -1}), std::vector<int>(ends, ends + 4));
  EXPECT_FALSE(status.SetParts(0));
  EXPECT_FALSE(status.SetPartRight(4, 10));
  EXPECT_FALSE(status.SetPartRight(-1, 10));
  EXPECT_TRUE(status.SetPartRight(0, 50));
  status.SendMessage(SB_GETPARTS, 4, reinterpret_cast<LPARAM>(ends));
  EXPECT_EQ(50, ends[0]);
  status.SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(9, 3));
  EXPECT_EQ(MOUSE_MIDDLE | MOUSE_UP, parent.Nth(SWM_STATUSBARMOUSE).mouse.flags);
}
