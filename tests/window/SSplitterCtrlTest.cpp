#include "core/Platform.h"
#include "window/SSplitterCtrl.h"

#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Sizes(const SArray<int>& sizes) {
  std::vector<int> out;
  for (int i = 0; i < sizes.GetCount(); ++i) out.push_back(sizes[i]);
  return out;
}

RECT PaneIn(SSplitterCtrl& splitter, int column, int row) {
  return RectIn(splitter.GetPane(column, row)->m_hWnd, splitter.m_hWnd);
}

class SSplitterCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
    RECT child = {0, 0, 308, 204};  // 3 columns of 100, 2 rows of 100
    ASSERT_TRUE(splitter.Create("", WS_CHILD | WS_VISIBLE, 0, &child, parent.m_hWnd));
    ASSERT_TRUE(splitter.SetGrid(3, 2));
  }
  SWnd parent;
  SSplitterCtrl splitter;
};

}  // namespace

TEST_F(SSplitterCtrlTest, GridPanesAndBars) {
  EXPECT_EQ((std::vector<int>{100, 100, 100}), Sizes(splitter.m_widths));
  RECT pane = PaneIn(splitter, 2, 1);
  EXPECT_EQ(208, pane.left);
  EXPECT_EQ(104, pane.top);
  EXPECT_EQ(308, pane.right);
  EXPECT_EQ(0, splitter.HitBar(POINT{101, 50}));
  EXPECT_EQ(1, splitter.HitBar(POINT{205, 50}));
  EXPECT_EQ(2, splitter.HitBar(POINT{50, 102})) << "the row bar";
  EXPECT_EQ(-1, splitter.HitBar(POINT{50, 50}));
  EXPECT_FALSE(splitter.SetGrid(0, 2));
  EXPECT_EQ(3, splitter.m_columns) << "the old grid stays";

  // Bars are drawn raised over the background colour.
  Dib32 canvas(308, 204, 0xFF00FF);
  splitter.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
  EXPECT_NE(0xFF00FFu, canvas.Rgb(101, 50));
  EXPECT_NE(0xFF00FFu, canvas.Rgb(50, 101));
}

TEST_F(SSplitterCtrlTest, DraggingMovesSpaceBetweenNeighboursOnly) {
  const struct {
    int d, first, second;
  } cases[] = {{30, 130, 70}, {-40, 60, 140}, {150, 200, 0}, {-150, 0, 200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.d);
    splitter.DragBar(0, 100, 100, c.d);
    EXPECT_EQ((std::vector<int>{c.first, c.second, 100}), Sizes(splitter.m_widths));
  }
  splitter.DragBar(2, 100, 100, 20);  // the row bar
  EXPECT_EQ((std::vector<int>{120, 80}), Sizes(splitter.m_heights));
  RECT pane = PaneIn(splitter, 0, 1);
  EXPECT_EQ(124, pane.top);
}

TEST_F(SSplitterCtrlTest, ResizingGivesOrTakesAtTheEnd) {
  ::SetWindowPos(splitter.m_hWnd, nullptr, 0, 0, 358, 204, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ((std::vector<int>{100, 100, 150}), Sizes(splitter.m_widths));
  ::SetWindowPos(splitter.m_hWnd, nullptr, 0, 0, 158, 204, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ((std::vector<int>{100, 50, 0}), Sizes(splitter.m_widths));
}

TEST_F(SSplitterCtrlTest, WindowsInAPaneSurviveIt) {
  SWnd shown;
  RECT rect = {0, 0, 20, 20};
  ASSERT_TRUE(shown.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, splitter.GetPane(0, 0)->m_hWnd));
  splitter.FreePanes();
  ASSERT_NE(nullptr, shown.m_hWnd);
  EXPECT_TRUE(::IsWindow(shown.m_hWnd));
  EXPECT_FALSE(::IsWindowVisible(shown.m_hWnd));
  EXPECT_EQ(0, splitter.m_columns);
}
