#include "core/Platform.h"
#include "window/SLcdCtrl.h"

#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DWORD g_now = 1000;
DWORD WINAPI TestClock() { return g_now; }

// An LCD whose scroll steps are written down.
class StepLcd : public SLcdCtrl {
public:
  void OnScrollStep(int line, int offset) override { steps.push_back({line, offset}); }
  std::vector<std::pair<int, int>> steps;
};

const int kLeft = 1, kTop = 1;

class SLcdCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 300, 100};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
    RECT child = {0, 0, 192, 16};
    lcd.m_clock = TestClock;
    ASSERT_TRUE(lcd.Create("", WS_CHILD | WS_VISIBLE, 0, &child, parent.m_hWnd));
  }
  // The cell of column c, line l: is dot (x, y) of it lit? The 192 x 16
  // display in a client of the same size is centred with its spacing: one
  // pixel right and down.
  bool Dot(Dib32& canvas, int c, int l, int x, int y) {
    int px = kLeft + c * 6 * lcd.m_pixelWidth + x * lcd.m_pixelWidth;
    int py = kTop + l * 8 * lcd.m_pixelHeight + y * lcd.m_pixelHeight;
    return canvas.Rgb(px, py) == RgbOf(lcd.m_dotColor);
  }
  std::vector<int> Columns(Dib32& canvas, int c) {
    std::vector<int> out;
    for (int x = 0; x < 5; ++x) {
      int bits = 0;
      for (int y = 0; y < 7; ++y) bits |= Dot(canvas, c, 0, x, y) ? 0x80 >> y : 0;
      out.push_back(bits);
    }
    return out;
  }

  RecordingWnd parent;
  StepLcd lcd;
};

}  // namespace

TEST_F(SLcdCtrlTest, DefaultCellsGlyphsAndCutText) {
  lcd.SetText("AO1\x81 and text beyond sixteen");
  Dib32 canvas(192, 16, 0xFF00FF);
  lcd.Paint(canvas.GetDC());
  // 16 cells of 12 x 16 pixels, each 10 x 14 lit with the cell colour where
  // no dot is.
  uint32_t cell = RgbOf(lcd.m_cellColor);
  EXPECT_EQ(0xFF00FFu, canvas.Rgb(kLeft + 10, kTop + 3)) << "the spacing column";
  EXPECT_EQ(0xFF00FFu, canvas.Rgb(kLeft + 3, kTop + 14)) << "the spacing row";
  EXPECT_EQ(cell, canvas.Rgb(kLeft + 4 * 12 + 2, kTop + 2)) << "a blank cell";
  EXPECT_EQ(cell, canvas.Rgb(kLeft + 15 * 12 + 9, kTop + 13)) << "the last cell's corner";
  EXPECT_EQ((std::vector<int>{0x7E, 0x88, 0x88, 0x88, 0x7E}), Columns(canvas, 0));
  EXPECT_EQ((std::vector<int>{0x7C, 0x82, 0x82, 0x82, 0x7C}), Columns(canvas, 1));
  EXPECT_EQ((std::vector<int>{0x00, 0x42, 0xFE, 0x02, 0x00}), Columns(canvas, 2));
  EXPECT_EQ((std::vector<int>{0xFE, 0xFE, 0xFE, 0xFE, 0xFE}), Columns(canvas, 3))
      << "a code without a glyph is a full block";
  // "sixteen" is cut: cell 15 shows "e" of "beyond", nothing beyond it.
  EXPECT_EQ((std::vector<int>{0x1C, 0x2A, 0x2A, 0x2A, 0x18}), Columns(canvas, 15));

  // Two lines on a one-line display: the second is not drawn.
  lcd.SetText("\r\nX");
  Dib32 empty(192, 16, 0xFF00FF);
  lcd.Paint(empty.GetDC());
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), Columns(empty, 0));
}

TEST_F(SLcdCtrlTest, EveryLineScrollsAtItsOwnSpeed) {
  lcd.SetLineCount(3);
  lcd.SetScrollSpeed(1, 10.0);
  lcd.SetScrollSpeed(2, 0.0);
  lcd.SetScrollSpeed(7, 99.0);  // ignored
  lcd.SetText("abc\r\nabc\nabc");
  lcd.StartScrolling();
  // Lines start empty and enter from the right: 16 spaces before the text.
  g_now += 200;  // line 0 moves 1 character, line 1 two, line 2 none
  SString text = lcd.PrepareText();
  EXPECT_STREQ((std::string(15, ' ') + "abc\r\n" + std::string(14, ' ') + "abc\r\nabc").c_str(),
               text.GetText());
  EXPECT_EQ((std::vector<std::pair<int, int>>{{0, -15}, {1, -14}}), lcd.steps);

  // Line 1 runs through the text and starts again.
  g_now += 1000 * 18 / 10;  // 18 more characters for line 1: offset 4 > 3
  text = lcd.PrepareText();
  EXPECT_STREQ((std::string(6, ' ') + "abc\r\n" + std::string(16, ' ') + "\r\nabc").c_str(),
               text.GetText());
  EXPECT_DOUBLE_EQ(-16.0, lcd.m_positions[1]);
  EXPECT_DOUBLE_EQ(-16.0, lcd.m_positions[2]) << "speed 0: never moved";
}

TEST_F(SLcdCtrlTest, AlignmentSizesAndMouseRecords) {
  lcd.SetAlignment(2);
  lcd.SetText("ab");
  EXPECT_STREQ("              ab", lcd.PrepareText().GetText());
  lcd.SetPixelSize(0, -3);
  EXPECT_EQ(1, lcd.m_pixelWidth);
  EXPECT_EQ(1, lcd.m_pixelHeight);
  lcd.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(4, 5));
  ASSERT_EQ(1, parent.Count(SWM_LCDMOUSE));
  EXPECT_EQ(MOUSE_RIGHT | MOUSE_UP, parent.Nth(SWM_LCDMOUSE).mouse.flags);
  EXPECT_EQ(4, parent.Nth(SWM_LCDMOUSE).mouse.x);
}
