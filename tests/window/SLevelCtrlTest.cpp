#include "core/Platform.h"
#include "window/SLevelCtrl.h"

#include "tests/window/PaintSupport.h"

#include <gtest/gtest.h>

namespace {

DWORD g_now = 5000;
DWORD WINAPI TestClock() { return g_now; }

const int kWidth = 100, kHeight = 100;

class SLevelCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 200, 200};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
    level.m_clock = TestClock;
    RECT child = {0, 0, kWidth, kHeight};
    ASSERT_TRUE(level.Create("", WS_CHILD, 0, &child, parent.m_hWnd));
    ::KillTimer(level.m_hWnd, 1);  // the test paints by itself
  }
  // Paints after the given milliseconds; pixel (x, y).
  uint32_t PaintAfter(DWORD ms, int x, int y) {
    g_now += ms;
    level.Paint(canvas.GetDC());
    return canvas.Rgb(x, y);
  }
  uint32_t Back() { return RgbOf(level.m_backColorLevel); }

  SWnd parent;
  SLevelCtrl level;
  Dib32 canvas{kWidth, kHeight, 0xFF00FF};
};

}  // namespace

TEST_F(SLevelCtrlTest, LevelsUncoverTheRampAndFallInTwoSeconds) {
  level.SetValue(-1, 1000, false);
  EXPECT_EQ(RgbOf(level.m_lowColor), PaintAfter(0, 10, 50));
  EXPECT_NE(Back(), PaintAfter(0, 95, 50)) << "the whole ramp is uncovered";
  level.SetValue(-1, 0, false);
  EXPECT_NE(Back(), PaintAfter(500, 70, 50)) << "a quarter fallen: 75 % shown";
  EXPECT_EQ(Back(), PaintAfter(0, 80, 50));
  EXPECT_DOUBLE_EQ(750.0, level.m_levels[0]);
  PaintAfter(1500, 0, 0);
  EXPECT_DOUBLE_EQ(0.0, level.m_levels[0]) << "the full range fell in 2 s";
  EXPECT_EQ(Back(), PaintAfter(0, 1, 50)) << "the minimum covers the channel";
}

TEST_F(SLevelCtrlTest, PeakLineStaysForHalfASecond) {
  level.SetValue(-1, 600, false);
  level.SetValue(-1, 200, false);  // lower: the peak stays at 600
  uint32_t low = RgbOf(level.m_lowColor);
  EXPECT_EQ(low, PaintAfter(0, 60, 50));
  level.m_fallRate = 0.0;
  level.m_levels[0] = 200;
  EXPECT_EQ(low, PaintAfter(500, 60, 50)) << "still held at 500 ms";
  EXPECT_EQ(Back(), PaintAfter(1, 60, 50)) << "gone after the hold time";
  EXPECT_EQ(0u, level.m_peaks[0]);
}

TEST_F(SLevelCtrlTest, ChannelsShareTheHeightWithSeparators) {
  level.SetChannelCount(7);
  level.SetValue(-1, 1000, false);
  level.SetValue(3, 5000, true);
  level.SetValue(7, 1, true);  // beyond the count: ignored
  EXPECT_EQ(5000, level.m_values[3]);
  PaintAfter(0, 0, 0);
  // Rows 15, 30, 44, 58, 72, 86 start channels 1 to 6: 15, 15, 14, ...
  for (int y : {15, 30, 44, 58, 72, 86}) EXPECT_EQ(Back(), canvas.Rgb(10, y)) << y;
  for (int y : {14, 29, 43, 45, 99}) EXPECT_NE(Back(), canvas.Rgb(10, y)) << y;
}

TEST_F(SLevelCtrlTest, EmptyRangeDrawsNoLevel) {
  level.SetRange(100, 100);
  level.SetValue(-1, 100, false);
  for (int x : {0, 50, 99}) EXPECT_EQ(Back(), PaintAfter(10, x, 50)) << x;
  level.SetRange(10, -10);
  level.SetValue(-1, 5, false);
  for (int x : {0, 99}) EXPECT_EQ(Back(), PaintAfter(10, x, 50)) << x;
  // Vertical bars: a full level shows the high colour at the top.
  level.SetRange(0, 10);
  level.m_vertical = true;
  level.SetValue(-1, 10, false);
  EXPECT_EQ(RgbOf(level.m_lowColor), PaintAfter(0, 50, 0)) << "the peak line";
  EXPECT_GT(canvas.Rgb(50, 2) >> 16, 0xC0u) << "red, the high colour, at the top";
  EXPECT_EQ(RgbOf(level.m_lowColor), PaintAfter(0, 50, 90));
}
