#include "core/Platform.h"
#include "window/SGuiCtrl.h"

#include "window/ControlFactory.h"
#include "tests/window/DragScript.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

typedef SGuiCtrl G;

class SGuiCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP | WS_VISIBLE, 0, &rect));
    ASSERT_TRUE(gui.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
  }

  RECT Placed(HWND window) { return RectIn(window, gui.m_hWnd); }
  static std::string Text(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
  }

  RecordingWnd parent;
  SGuiCtrl gui;
};

}  // namespace

TEST_F(SGuiCtrlTest, BarsTakeStripsInOrderAndTheViewTheRest) {
  EXPECT_EQ("0 0 400 300", Text(Placed(gui.m_view.m_hWnd)));
  struct Row {
    uint32_t second;
    const char* first;
    const char* secondRect;
    const char* view;
  };
  const Row rows[] = {
      {G::BAR_VERTICAL | G::BAR_NEW_STRIP, "0 0 100 300", "100 0 200 300", "200 0 400 300"},
      {G::BAR_VERTICAL, "0 0 100 80", "0 80 100 300", "100 0 400 300"},
      {G::BAR_FAR, "0 0 100 300", "100 260 400 300", "100 0 400 260"},
  };
  for (const Row& row : rows) {
    SGuiCtrl container;
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(container.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
    ASSERT_TRUE(container.AddBar(1, 80, G::BAR_VERTICAL));
    ASSERT_TRUE(container.AddBar(2, 40, row.second));
    EXPECT_FALSE(container.AddBar(2, 40, 0)) << "ids are unique";
    RECT free;
    std::vector<RECT> bars;
    container.ComputeLayout(&free, &bars);
    EXPECT_EQ(row.first, Text(bars[0]));
    EXPECT_EQ(row.secondRect, Text(bars[1]));
    EXPECT_EQ(row.view, Text(free));
  }
}

TEST_F(SGuiCtrlTest, StripSizesAreSharedAndSizesHaveAFloor) {
  ASSERT_TRUE(gui.AddBar(1, 80, G::BAR_VERTICAL));
  ASSERT_TRUE(gui.AddBar(2, 40, G::BAR_VERTICAL));
  ASSERT_TRUE(gui.AddBar(3, 40, G::BAR_VERTICAL | G::BAR_NEW_STRIP));
  gui.FindBar(2)->SetSize(150, 5, false);
  EXPECT_EQ(150, gui.FindBar(1)->m_width);
  EXPECT_EQ(16, gui.FindBar(2)->m_height);
  EXPECT_EQ(100, gui.FindBar(3)->m_width) << "another strip";
}

TEST_F(SGuiCtrlTest, HitCodesOfEdgesBandsAndCloseBoxes) {
  ASSERT_TRUE(gui.AddBar(1, 80, G::BAR_VERTICAL));
  ASSERT_TRUE(gui.AddBar(2, 80, G::BAR_VERTICAL | G::BAR_NEW_STRIP));
  ASSERT_TRUE(gui.AddBar(3, 30, G::BAR_THIN | G::BAR_FIXED_HEIGHT));
  G::_SWndBar& outer = gui.FindBar(1)->m_window;
  G::_SWndBar& inner = gui.FindBar(2)->m_window;
  G::_SWndBar& top = gui.FindBar(3)->m_window;
  RECT client;
  ASSERT_TRUE(top.GetClientRectInWindow(&client));
  EXPECT_EQ(8, client.left) << "a thin band";
  struct Row {
    G::_SWndBar* bar;
    int x, y, code;
  };
  const Row rows[] = {
      {&outer, 50, 1, G::HIT_NONE},    {&outer, 95, 5, G::HIT_CLOSE},
      {&outer, 50, 5, G::HIT_CAPTION}, {&outer, 0, 100, G::HIT_NONE},
      {&inner, 0, 100, G::HIT_LEFT},   {&outer, 99, 100, G::HIT_RIGHT},
      {&outer, 50, 150, G::HIT_NONE},  {&top, 4, 3, G::HIT_CAPTION},
      {&top, 100, 0, G::HIT_NONE},     {&top, 100, 29, G::HIT_NONE},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
    EXPECT_EQ(row.code, row.bar->HitTest(row.x, row.y));
  }
}

TEST_F(SGuiCtrlTest, DraggingTheInnerStripsEdgeResizesTheOuterStrip) {
  ASSERT_TRUE(gui.AddBar(1, 80, G::BAR_VERTICAL));
  ASSERT_TRUE(gui.AddBar(2, 80, G::BAR_VERTICAL | G::BAR_NEW_STRIP));
  HWND inner = gui.FindBar(2)->m_window.m_hWnd;
  RECT window;
  ::GetWindowRect(inner, &window);
  POINT start = {window.left, window.top + 100};
  DragScript script({POINT{start.x + 30, start.y + 7}}, 2);
  ::SendMessageA(inner, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(start.x, start.y));
  EXPECT_EQ(130, gui.FindBar(1)->m_width);
  EXPECT_EQ("130 0 230 300", Text(Placed(inner)));
}

TEST_F(SGuiCtrlTest, TheParentMayKeepABarItsCloseBoxWouldHide) {
  ASSERT_TRUE(gui.AddBar(1, 80, G::BAR_VERTICAL));
  G::_SWndBar& bar = gui.FindBar(1)->m_window;
  RECT window;
  ::GetWindowRect(bar.m_hWnd, &window);
  LPARAM box = MAKELPARAM(window.right - 5, window.top + 5);
  parent.answers[SWM_GUIBARCLOSE] = 1;
  bar.SendMessage(SWM_NCLCLICK, 0, box);
  EXPECT_EQ(1, parent.Count(SWM_GUIBARCLOSE));
  EXPECT_EQ(1, parent.Nth(SWM_GUIBARCLOSE).lParam);
  EXPECT_TRUE(::IsWindowVisible(bar.m_hWnd));
  parent.answers[SWM_GUIBARCLOSE] = 0;
  bar.SendMessage(SWM_NCLCLICK, 0, box);
  EXPECT_FALSE(::IsWindowVisible(bar.m_hWnd));
  EXPECT_EQ("0 0 400 300", Text(Placed(gui.m_view.m_hWnd)));
}

TEST_F(SGuiCtrlTest, HostedWindowsSurviveTheirBarAndMessagesPassTheHook) {
  struct Hooked : SGuiCtrl {
    bool OnChildMessage(_SBar* source, UINT message, WPARAM, LPARAM, LRESULT* result) override {
      if (message == WM_APP + 7) {
        sources.push_back(source);
        *result = 42;
        return false;
      }
      return true;
    }
    std::vector<_SBar*> sources;
  };
  std::unique_ptr<Hooked> hooked(new Hooked);
  RECT rect = {0, 0, 200, 200};
  ASSERT_TRUE(hooked->Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
  ASSERT_TRUE(hooked->AddBar(5, 50, 0));
  G::_SBar* bar = hooked->FindBar(5);
  EXPECT_EQ(42, bar->m_window.SendMessage(WM_APP + 7));
  EXPECT_EQ(42, hooked->m_view.SendMessage(WM_APP + 7));
  EXPECT_EQ((std::vector<G::_SBar*>{bar, nullptr}), hooked->sources);

  SWnd hosted;
  ASSERT_TRUE(hosted.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, bar->m_window.m_hWnd));
  hooked.reset();
  ASSERT_NE(nullptr, hosted.m_hWnd);
  EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(hosted.m_hWnd, GA_PARENT));
  EXPECT_FALSE(::IsWindowVisible(hosted.m_hWnd));
}

TEST_F(SGuiCtrlTest, FactoryAddsSampleBarsOnlyForTheDocument) {
  SDialogRecords::_SCtrl record;
  record.m_type = int16_t(ControlKinds::TYPE_GUI);
  record.m_width = 300;
  record.m_height = 200;
  record.m_style = WS_VISIBLE;
  for (bool runMode : {true, false}) {
    std::unique_ptr<SWnd> control(
        CreateDialogControl(parent.m_hWnd, &record, nullptr, runMode, nullptr));
    SGuiCtrl* built = dynamic_cast<SGuiCtrl*>(control.get());
    ASSERT_NE(nullptr, built);
    EXPECT_EQ(ControlKinds::KIND_GUI, built->m_kind);
    EXPECT_EQ(runMode ? 0 : 4, built->m_bars.GetCount());
  }
}
