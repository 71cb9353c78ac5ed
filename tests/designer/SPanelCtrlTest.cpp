#include "core/Platform.h"
#include "SurfaceTestSupport.h"

#include "designer/DesignerControls.h"
#include "tests/support/GdiTestSupport.h"
#include "window/ControlFactory.h"
#include "window/SDialog.h"

namespace {

// A panel that writes down its clicks.
class RecordingPanel : public SPanelCtrl {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_PANELCOMMAND) commands.push_back(uint32_t(lParam));
    return SPanelCtrl::WindowProc(message, wParam, lParam);
  }
  void OnButton(int group, int command, _SButton*) override { buttons.push_back({group, command}); }
  std::vector<uint32_t> commands;
  std::vector<std::pair<int, int>> buttons;
};

class PanelTest : public HostedTest {
public:
  void SetUp() override { OpenHost(); }
  // A panel of the width at (10, 10), 300 high.
  void Open(int width) {
    RECT rect = {10, 10, 10 + width, 310};
    ASSERT_TRUE(m_panel.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, m_host.m_hWnd));
  }
  RecordingPanel m_panel;
};

std::vector<int> Box(const RECT& r) {
  return {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
}

}  // namespace

TEST_F(PanelTest, GroupsFlowTheirButtonsInRowsThatFitTheWidth) {
  Open(60);  // 12 + 24 + 24 = 60: two buttons to a row
  int t = m_panel.m_titleHeight;
  ASSERT_GE(t, SPanelCtrl::MIN_TITLE_HEIGHT);
  EXPECT_EQ(nullptr, m_panel.FindGroup(1));
  EXPECT_FALSE(m_panel.AddButton(1, "no group"));
  EXPECT_FALSE(m_panel.AddSeparator());
  ASSERT_NE(nullptr, m_panel.AddGroup(1, "One"));
  EXPECT_EQ(nullptr, m_panel.AddGroup(1, "Again"));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(m_panel.AddButton(i, "b"));
  ASSERT_NE(nullptr, m_panel.AddGroup(2, "Empty"));
  ASSERT_NE(nullptr, m_panel.AddGroup(3, "Three"));
  ASSERT_TRUE(m_panel.AddButton(-1, "minus one"));
  ASSERT_TRUE(m_panel.AddSeparator());
  ASSERT_TRUE(m_panel.AddButton(5, "after"));

  SPanelCtrl::_SGroup* one = m_panel.FindGroup(1);
  EXPECT_EQ(Box(one->m_title), (std::vector<int>{0, 0, 60, t}));
  EXPECT_EQ(Box(one->m_buttons[0]->m_rect), (std::vector<int>{12, t + 1, 24, 24}));
  EXPECT_EQ(Box(one->m_buttons[1]->m_rect), (std::vector<int>{36, t + 1, 24, 24}));
  EXPECT_EQ(Box(one->m_buttons[2]->m_rect), (std::vector<int>{12, t + 25, 24, 24}));
  EXPECT_EQ(Box(one->m_rect), (std::vector<int>{0, 0, 60, t + 1 + 48}));
  // A group without buttons: its title and the gap; the next starts 1 below.
  SPanelCtrl::_SGroup* empty = m_panel.FindGroup(2);
  EXPECT_EQ(Box(empty->m_rect), (std::vector<int>{0, t + 50, 60, t + 1}));
  SPanelCtrl::_SGroup* three = m_panel.FindGroup(3);
  EXPECT_EQ(three->m_title.top, empty->m_rect.bottom + 1);
  // The separator (7 wide) fits after the first button; the next wraps and
  // takes the second image.
  EXPECT_EQ(0, three->m_buttons[0]->m_command);
  EXPECT_EQ(Box(three->m_buttons[1]->m_rect),
            (std::vector<int>{36, three->m_title.bottom + 1, 7, 24}));
  EXPECT_EQ(12, three->m_buttons[2]->m_rect.left);
  EXPECT_EQ(1, three->m_buttons[2]->m_image);
}

TEST_F(PanelTest, RadioChecksStayInsideTheirRunAndRunsEndAtSeparators) {
  Open(300);
  m_panel.AddGroup(0, "Tools");
  m_panel.AddButton(1, "A");
  m_panel.AddButton(2, "B");
  m_panel.AddSeparator();
  m_panel.AddButton(3, "C");
  m_panel.AddButton(4, "D");
  SPanelCtrl::_SGroup* group = m_panel.FindGroup(0);
  struct Run {
    int command, first, last;
  } runs[] = {{1, 0, 1}, {2, 0, 1}, {3, 3, 4}, {4, 3, 4}, {9, -1, -1}};
  for (const Run& r : runs) {
    EXPECT_EQ(r.first, group->FirstOfRun(r.command)) << r.command;
    EXPECT_EQ(r.last, group->LastOfRun(r.command)) << r.command;
  }
  m_panel.FindButton(0, 1)->m_checked = true;
  m_panel.FindButton(0, 4)->m_checked = true;
  EXPECT_TRUE(m_panel.CheckRadioButton(0, 3));
  auto checked = [&] {
    std::vector<bool> states;
    for (int c = 1; c <= 4; ++c) states.push_back(m_panel.FindButton(0, c)->m_checked);
    return states;
  };
  EXPECT_EQ(checked(), (std::vector<bool>{true, false, true, false}));
  EXPECT_FALSE(m_panel.CheckRadioButton(0, 3));
  EXPECT_FALSE(m_panel.CheckRadioButton(0, 9));
  EXPECT_FALSE(m_panel.CheckRadioButton(5, 1));
  EXPECT_TRUE(m_panel.SetButtonCheck(0, 2, true));
  EXPECT_FALSE(m_panel.SetButtonCheck(0, 2, true));
  EXPECT_TRUE(m_panel.DisableGroup(0));
  EXPECT_FALSE(m_panel.FindButton(0, 1)->m_enabled);
  group->m_enabled = false;
  EXPECT_FALSE(m_panel.DisableGroup(0));
  EXPECT_FALSE(m_panel.DisableGroup(7));
}

TEST_F(PanelTest, ClicksReachThePanelOnlyOnEnabledButtonsAndTheParentAlways) {
  Open(300);
  m_panel.AddGroup(1, "Colors");
  m_panel.AddButton(0, "Primary");
  m_panel.AddButton(1, "Secondary");
  m_panel.FindButton(1, 1)->m_enabled = false;
  RECT enabled = m_panel.FindButton(1, 0)->m_rect, disabled = m_panel.FindButton(1, 1)->m_rect;
  LPARAM onEnabled = At(enabled.left + 5, enabled.top + 5);
  LPARAM onDisabled = At(disabled.left + 5, disabled.top + 5);

  // The framework makes the click of a press and release on the panel.
  m_panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, onEnabled);
  EXPECT_EQ(1, m_panel.m_pressedGroup);
  EXPECT_EQ(0, m_panel.m_pressedCommand);
  m_panel.SendMessage(WM_LBUTTONUP, 0, onEnabled);
  EXPECT_EQ(-1, m_panel.m_pressedGroup);
  m_panel.SendMessage(SWM_LCLICK, 0, onDisabled);
  m_panel.SendMessage(SWM_RCLICK, 0, onDisabled);
  m_panel.SendMessage(WM_MBUTTONDBLCLK, 0, onDisabled);
  EXPECT_EQ(m_panel.commands, (std::vector<uint32_t>{1u | 0u << 16}));
  EXPECT_EQ(m_panel.buttons, (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(m_host.panelMouse, (std::vector<uint32_t>{0x09, 0x21, 0x11, 0x21, 0x24, 0x42}));

  // Hovering a disabled button still makes it the hot one; leaving clears it.
  int group, command;
  EXPECT_EQ(nullptr, m_panel.HitTest(disabled.left + 1, disabled.top + 1, &group, &command, false));
  EXPECT_EQ(-1, group);
  m_panel.SendMessage(WM_MOUSEMOVE, 0, onDisabled);
  EXPECT_EQ(1, m_panel.m_hotGroup);
  EXPECT_EQ(1, m_panel.m_hotCommand);
  m_panel.SendMessage(SWM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, m_panel.m_hotGroup);
}

TEST_F(PanelTest, TitlesAndSwatchesArePaintedInTheirColours) {
  Open(200);
  m_panel.AddGroup(1, "Colors");
  m_panel.AddButton(0, "Primary");
  m_panel.AddButton(1, "Secondary");
  m_panel.AddGroup(2, "Off");
  m_panel.AddButton(0, "Nothing");
  m_panel.FindButton(1, 0)->m_swatch = RGB(255, 0, 0);
  m_panel.FindButton(1, 1)->m_swatch = RGB(0, 0, 255);
  m_panel.FindButton(1, 1)->m_checked = true;
  m_panel.FindGroup(2)->m_enabled = false;

  Dib32 dib(200, 300);
  m_panel.Paint(dib.GetDC());
  COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  auto rgb = [](COLORREF c) {
    return uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
  };
  SPanelCtrl::_SGroup* colors = m_panel.FindGroup(1);
  // The left half of an enabled title in the highlight colour (its first
  // pixel, before the caption), a disabled title in the shadow colour.
  EXPECT_EQ(rgb(highlight), dib.Rgb(0, colors->m_title.top + 1));
  EXPECT_EQ(rgb(shadow), dib.Rgb(199, m_panel.FindGroup(2)->m_title.top + 1));
  // Swatches fill the inner square; a checked button is framed.
  RECT primary = m_panel.FindButton(1, 0)->m_rect, secondary = m_panel.FindButton(1, 1)->m_rect;
  EXPECT_EQ(0xFF0000u, dib.Rgb(primary.left + 12, primary.top + 12));
  EXPECT_EQ(0x0000FFu, dib.Rgb(secondary.left + 4, secondary.top + 4));
  EXPECT_EQ(rgb(highlight), dib.Rgb(secondary.left + 1, secondary.top + 10));
  EXPECT_EQ(rgb(::GetSysColor(COLOR_WINDOW)), dib.Rgb(secondary.left + 2, secondary.top + 10));
  // The hot button's caption replaces the group's: nothing is drawn right of
  // where the hover caption starts but the caption itself.
  m_panel.m_hotGroup = 1;
  m_panel.m_hotCommand = 0;
  Dib32 hot(200, 300);
  m_panel.Paint(hot.GetDC());
  EXPECT_EQ(rgb(highlight), hot.Rgb(5, colors->m_title.top + colors->m_title.bottom / 2));
  EXPECT_EQ(rgb(highlight), hot.Rgb(primary.left, primary.top));
  EXPECT_EQ(rgb(::GetSysColor(COLOR_WINDOW)), hot.Rgb(primary.left + 1, primary.top + 1));
}

TEST_F(PanelTest, TheFactoryMakesPanelsAndGridsFromDialogText) {
  RegisterDesignerControls();
  SFileMem text;
  FillFile(text, DialogText(Section("PANEL", 1, "TOOLS", 10, 10, 100, 200) +
                            Section("PROPERTY", 2, "GRID", 120, 10, 200, 200)));
  SDialog dialog;
  ASSERT_TRUE(SDialog::CreateFromText(&text, &dialog, m_host.m_hWnd, true, nullptr, nullptr,
                                      nullptr, nullptr, false, nullptr, nullptr));
  SArray<SWnd*> panels, grids;
  dialog.GetChildren(&panels, nullptr, true, SPanelCtrl::KIND);
  dialog.GetChildren(&grids, nullptr, true, SPropertyCtrl::KIND);
  ASSERT_EQ(1, panels.GetCount());
  ASSERT_EQ(1, grids.GetCount());
  EXPECT_NE(nullptr, dynamic_cast<SPanelCtrl*>(panels[0]));
  SPropertyCtrl* grid = dynamic_cast<SPropertyCtrl*>(grids[0]);
  ASSERT_NE(nullptr, grid);
  EXPECT_EQ(SPropertyCtrl::SPLIT_DEFAULT, grid->m_split);
  EXPECT_GE(grid->m_rowHeight, SPropertyCtrl::MIN_ROW_HEIGHT);
}
