#include "core/PlatformGdiplus.h"
#include "core/Utility.h"

#include "tests/core/CoreTestSupport.h"
#include "tests/support/GdiTestSupport.h"

#include <d3dx9math.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(UtilityTest, ColourTextAndColourSpace) {
  const struct {
    uint32_t colour;
    const char* text;
  } rows[] = {{0x00123456, "#563412"},
              {0x000000FF, "#FF0000"},
              {0, "#000000"},
              {0x80FF0000, "#80FF0000"},
              {0x01000000, "#01000000"}};
  for (const auto& row : rows) {
    EXPECT_STREQ(row.text, ColorToText(row.colour).GetText());
    EXPECT_EQ(row.colour, TextToColor(row.text));
  }
  EXPECT_EQ(0x000000FFu, TextToColor("#ff0000"));
  EXPECT_EQ(0u, TextToColor("#12345"));
  EXPECT_EQ(0u, TextToColor(nullptr));
  // The first character is not examined; a malformed pair reads as 0.
  EXPECT_EQ(0x00123456u, TextToColor("x563412"));
  EXPECT_EQ(0x00120056u, TextToColor("#56zz12"));
  const uint8_t spaces[][6] = {{255, 255, 255, 254, 129, 128},
                               {255, 0, 0, 76, 255, 85},  // cr clamped
                               {10, 200, 30, 122, 48, 76}};
  for (const auto& r : spaces) {
    uint8_t y, cr, cb;
    RgbToYCrCb(r[0], r[1], r[2], &y, &cr, &cb);
    EXPECT_EQ(r[3], y);
    EXPECT_EQ(r[4], cr);
    EXPECT_EQ(r[5], cb);
  }
  uint8_t r, g, b;
  YCrCbToRgb(122, 48, 76, &r, &g, &b);
  EXPECT_TRUE(r == 9 && g == 196 && b == 30);
  YCrCbToRgb(0, 255, 0, &r, &g, &b);
  EXPECT_TRUE(r == 178 && g == 0 && b == 0);  // clamped from below
}

TEST(UtilityTest, LettersNamesAndCommaLists) {
  int accented = 0;
  for (int c = 0x80; c <= 0xFF; ++c) accented += IsLetter((unsigned char)c) ? 1 : 0;
  EXPECT_EQ(50, accented);
  EXPECT_TRUE(IsLetter(0xE9) && IsLetter('Z'));
  EXPECT_FALSE(IsLetter(0xD7) || IsLetter(0xF7) || IsLetter('1') || IsLetter('_'));

  const struct {
    const char* text;
    bool identifier, constant;
  } rows[] = {{"a_b1", true, false}, {"_a", true, false},   {"a_", false, false},
              {"___", false, false}, {"1a", false, false},  {"", false, false},
              {"a-b", false, false}, {"MAX_2", true, true}, {"_A", true, true},
              {"_2", true, false},   {"MAX_", false, false}};
  for (const auto& row : rows) {
    EXPECT_EQ(row.identifier, IsIdentifier(row.text)) << row.text;
    EXPECT_EQ(row.constant, IsConstantName(row.text)) << row.text;
  }
  EXPECT_FALSE(IsIdentifier(nullptr));
  SNameCell cells[5];
  memset(cells, '#', sizeof(cells));
  // A long token is cut to 15 characters; surplus tokens are ignored.
  EXPECT_EQ(2, SplitCommaList(cells, 2, "Abcdefghijklmnopqrstuvwxyz,b,c,d"));
  EXPECT_STREQ("Abcdefghijklmno", cells[0]);
  EXPECT_STREQ("b", cells[1]);
  const char* rest = reinterpret_cast<const char*>(cells) + 2 * NAME_CELL_SIZE;
  EXPECT_EQ(std::string(3 * NAME_CELL_SIZE, '#'), std::string(rest, 3 * NAME_CELL_SIZE));
  EXPECT_EQ(3, SplitCommaList(cells, 5, "a,,c"));  // empty tokens stay empty cells
  EXPECT_STREQ("", cells[1]);
  EXPECT_EQ(0, SplitCommaList(cells, 5, ""));
}

TEST(UtilityTest, NumberHelpersAndFitRectToAspect) {
  const int digits[][2] = {{-1000, 4}, {0, 1}, {10, 2}, {INT_MAX, 10}, {INT_MIN, 10}};
  for (const auto& d : digits) EXPECT_EQ(d[1], CountDigits(d[0])) << d[0];
  const int deltas[][4] = {{1, 9, 10, -2},  {9, 1, 10, 2},  {0, 5, 10, 5}, {5, 0, 10, 5},
                           {-20, 3, 10, 3}, {4, 14, 10, 0}, {3, 5, 0, 0}};
  for (const auto& d : deltas) EXPECT_EQ(d[3], CyclicDelta(d[0], d[1], d[2])) << d[0] << d[1];
  EXPECT_EQ(23, SumOfProducts(2, 5, 3, 4));
  EXPECT_EQ(-1, SumOfProducts(0));
  EXPECT_EQ(1 + 2 * 5 + 3 * 7, SumOfProducts(3, 2, 3, 1, 5, 7));
  EXPECT_EQ(0, ClampInt(-5, 0, 10));
  EXPECT_EQ(10, ClampInt(50, 0, 10));
  EXPECT_EQ(10, ClampInt(5, 10, 0));  // the lower bound is tested first
  EXPECT_FLOAT_EQ(1.0f, ClampToUnit(2.0f));
  EXPECT_FLOAT_EQ(3.0f, ClampFloat(4.5f, 1.0f, 3.0f));
  const double rounded[][2] = {{2.5, 3}, {-2.5, -2}, {2.49, 2}, {-2.51, -3}};
  for (const auto& r : rounded) EXPECT_EQ(r[1], RoundToNearest(r[0])) << r[0];

  srand(12345);
  bool low = false, high = false;
  for (int i = 0; i < 2000; ++i) {
    float f = RandomFloat(5.0f, 1.0f);
    ASSERT_TRUE(f >= 1.0f && f <= 5.0f);
    low |= f < 2.0f;
    high |= f > 4.0f;
    int n = RandomInt(7);
    ASSERT_TRUE(n >= 0 && n < 7);
  }
  EXPECT_TRUE(low && high);
  EXPECT_EQ(0, RandomInt(0));

  const struct {
    int a, b;
    const char* ratio;
  } ratios[] = {{1920, 1080, "16/9"}, {1366, 768, "683/384"}, {1280, 1024, "5/4"},
                {1024, 768, "4/3"},   {1023, 601, ""},        {0, 9, ""},
                {1080, 1920, "9/16"}};
  for (const auto& r : ratios) EXPECT_EQ(r.ratio, Text(FormatRatio(r.a, r.b)));

  D3DXVECTOR3 v(1.0f, 2.0f, 3.0f);
  ZeroVector3(&v);
  EXPECT_TRUE(IsZeroVector3(&v));
  SetVector3(&v, 0.0f, -0.0f, 1e-30f);  // only exact zeros count
  EXPECT_FALSE(IsZeroVector3(&v));
  EXPECT_FLOAT_EQ((float)M_PI, ArcTangent2(0.0f, -1.0f));
  const RECT dest = {10, 20, 410, 420}, wide = {0, 0, 300, 100}, tall = {0, 0, 300, 400};
  const struct {
    int width, height;
    RECT dest;
    bool enlarge;
    RECT expected;
  } rows[] = {
      {100, 50, dest, true, {10, 120, 410, 320}},
      {100, 50, dest, false, {160, 195, 260, 245}},
      {50, 100, wide, true, {125, 0, 175, 100}},     // spans the full height, centred on x
      {50, 100, tall, false, {125, 150, 175, 250}},  // cut to the image height, then fitted
      {30, 0, wide, true, {100, 0, 200, 100}},       // a zero height counts as square
      {0, 50, dest, true, dest},                     // no width: unchanged
      {-5, 50, dest, false, dest},
      {1, 2000000000, wide, true, {150, 0, 150, 100}},  // a line, without overflow
  };
  for (const auto& row : rows) {
    RECT r = FitRectToAspect(row.width, row.height, row.dest, row.enlarge);
    EXPECT_TRUE(::EqualRect(&r, &row.expected))
        << row.width << "x" << row.height << ": " << r.left << "," << r.top << "," << r.right << ","
        << r.bottom;
  }
}

TEST(UtilityTest, FontsFromPointsAndStyles) {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  EXPECT_EQ((int)RoundToNearest(-(dpi * 12 / 72.0)), PointsToFontHeight(12));
  EXPECT_EQ(PointsToFontHeight(9), PointsToFontHeight(9, screen));
  ::ReleaseDC(nullptr, screen);
  if (dpi == 96) {
    EXPECT_EQ(-12, PointsToFontHeight(9));
    EXPECT_EQ(0, PointsToFontHeight(0.375));  // halves round up
    EXPECT_EQ(-1, PointsToFontHeight(1.125));
  }

  LOGFONTA font;
  memset(&font, 0x55, sizeof(font));
  FillLogFont(&font, "A face name that is longer than thirty-one characters", 9,
              FONT_BOLD | FONT_UNDERLINE);
  EXPECT_EQ(0, strcmp(font.lfFaceName, "A face name that is longer than"));
  EXPECT_EQ(700, font.lfWeight);
  EXPECT_EQ(0, font.lfItalic | font.lfStrikeOut | font.lfWidth | font.lfCharSet);
  EXPECT_EQ(FONT_BOLD | FONT_UNDERLINE, FontStyleFromLogFont(font));
  font.lfWeight = 800;  // only weight 700 counts as bold
  EXPECT_EQ(FONT_UNDERLINE, FontStyleFromLogFont(font));
  for (int style = 0; style < 16; ++style) {
    HFONT handle = CreateFontByStyle("Arial", 11, style);
    LOGFONTA made;
    ASSERT_NE(0, ::GetObjectA(handle, sizeof(made), &made));
    EXPECT_EQ(style, FontStyleFromLogFont(made)) << style;
    EXPECT_EQ(PointsToFontHeight(11), made.lfHeight);
    ::DeleteObject(handle);
  }

  // Lines measured separately; no prefix processing ("&" is measured).
  HFONT arial = CreateFontByStyle("Arial", 10, 0);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, arial);
  for (const char* text : {"Wide text", "&&&&"}) {
    SIZE extent, one = MeasureText(arial, text);
    ::GetTextExtentPoint32A(dc, text, (int)strlen(text), &extent);
    EXPECT_TRUE(extent.cx == one.cx && extent.cy == one.cy) << text;
    SIZE two = MeasureText(arial, (std::string(text) + "\r\n" + text).c_str());
    EXPECT_TRUE(two.cx == one.cx && two.cy == 2 * one.cy) << text;
  }
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(arial);
}

// The bounding box of the pixels whose 0xRRGGBB the test picks.
template <class F>
RECT InkBox(const Dib32& dib, F picked) {
  RECT box = {dib.Width(), dib.Height(), -1, -1};
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) {
      if (!picked(dib.Rgb(x, y))) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
             std::max<LONG>(box.bottom, y)};
    }
  }
  return box;
}

TEST(UtilityTest, DrawStringStaysInItsRectangle) {
  Gdiplus::StringFormat format;
  SetStringFormatAlignment(&format, 0x12, false);
  EXPECT_EQ(0x1800, format.GetFormatFlags());
  EXPECT_EQ(Gdiplus::StringAlignmentFar, format.GetAlignment());
  EXPECT_EQ(Gdiplus::StringAlignmentCenter, format.GetLineAlignment());
  SetStringFormatAlignment(&format, 0x21, true);
  EXPECT_EQ(0x800, format.GetFormatFlags());
  EXPECT_EQ(Gdiplus::StringAlignmentFar, format.GetLineAlignment());

  // Centred on both axes inside (20, 10, 160, 60), in the default black.
  Dib32 dib(200, 80);
  Gdiplus::FontFamily family(L"Arial");
  Gdiplus::Font font(&family, 16, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  {
    Gdiplus::Graphics graphics(dib.GetDC());
    Gdiplus::StringFormat centred;
    SetStringFormatAlignment(&centred, 0x11, false);
    DrawStringGdiplus(&graphics, 20, 10, 160, 60, "HHHH", &font, &centred);
  }
  RECT box = InkBox(dib, [](uint32_t c) { return (c & 0xFF) < 0x40; });
  ASSERT_LT(box.left, box.right);
  EXPECT_TRUE(box.left >= 20 && box.right <= 180 && box.top >= 10 && box.bottom <= 70);
  EXPECT_NEAR(100, (box.left + box.right) / 2, 4);
  EXPECT_NEAR(40, (box.top + box.bottom) / 2, 6);

  // A given brush is used; no format gives the default near alignment.
  dib.Fill(0xFFFFFF);
  {
    Gdiplus::Graphics graphics(dib.GetDC());
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
    DrawStringGdiplus(&graphics, 30, 20, 160, 60, "HHHH", &font, nullptr, &red);
  }
  box = InkBox(dib, [](uint32_t c) {
    return (c >> 16) > 0xC0 && ((c >> 8) & 0xFF) < 0x40 && (c & 0xFF) < 0x40;
  });
  EXPECT_TRUE(box.left >= 30 && box.left < 40 && box.top >= 20 && box.top < 35);
}

TEST(UtilityTest, GradientFills) {
  Dib32 dib(256, 64);
  RECT rect = {0, 0, 256, 32}, lower = {0, 32, 256, 64};
  ASSERT_TRUE(FillGradient(dib.GetDC(), rect, RGB(0, 0, 0), RGB(255, 128, 0), false));
  // Horizontal: colour 1 on the left, nearly colour 2 on the right, every
  // row the same, nothing outside.
  EXPECT_EQ(0x000000u, dib.Rgb(0, 0));
  EXPECT_NEAR(255, (int)(dib.Rgb(255, 31) >> 16), 2);
  EXPECT_NEAR(128, (int)((dib.Rgb(255, 31) >> 8) & 0xFF), 2);
  EXPECT_EQ(dib.Rgb(100, 0), dib.Rgb(100, 31));
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(100, 32));
  ASSERT_TRUE(FillGradient(dib.GetDC(), lower, RGB(0, 0, 255), RGB(0, 0, 0), true));
  EXPECT_EQ(0x0000FFu, dib.Rgb(10, 32));
  EXPECT_EQ(dib.Rgb(10, 40), dib.Rgb(200, 40));
  EXPECT_LT(dib.Rgb(10, 63) & 0xFF, 0x10u);

  // GDI+: colours are 0xRRGGBB and the fill is horizontal.
  dib.Fill(0xFFFFFF);
  {
    Gdiplus::Graphics graphics(dib.GetDC());
    EXPECT_TRUE(FillGradientGdiplus(&graphics, 0, 0, 256, 16, 0xFF0000, 0x0000FF));
  }
  EXPECT_EQ(0xFF0000u, dib.Rgb(0, 15));
  EXPECT_LT(dib.Rgb(255, 0) >> 16, 4u);
  EXPECT_GT(dib.Rgb(255, 0) & 0xFF, 0xFBu);
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(0, 16));
}

}  // namespace
