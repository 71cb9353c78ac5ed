#include "core/PlatformGdiplus.h"
#include "core/Utility.h"

#include "core/SStringArray.h"
#include "core/SUniString.h"
#include "tests/support/GdiTestSupport.h"

#include <d3dx9math.h>
#include <gtest/gtest.h>
#include <math.h>

namespace {

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

TEST(UtilityTest, ColourTextBothWays) {
  EXPECT_STREQ("#563412", ColorToText(0x00123456).GetText());
  EXPECT_STREQ("#FF0000", ColorToText(0x000000FF).GetText());
  EXPECT_STREQ("#000000", ColorToText(0).GetText());
  EXPECT_STREQ("#80FF0000", ColorToText(0x80FF0000).GetText());
  EXPECT_STREQ("#FF000000", ColorToText(0xFF000000).GetText());
  EXPECT_STREQ("#01000000", ColorToText(0x01000000).GetText());

  EXPECT_EQ(0x00123456u, TextToColor("#563412"));
  EXPECT_EQ(0x000000FFu, TextToColor("#ff0000"));
  EXPECT_EQ(0x80123456u, TextToColor("#80123456"));
  EXPECT_EQ(0u, TextToColor("#12345"));
  EXPECT_EQ(0u, TextToColor(""));
  EXPECT_EQ(0u, TextToColor(nullptr));
  // The first character is not examined; a malformed pair reads as 0.
  EXPECT_EQ(0x00123456u, TextToColor("x563412"));
  EXPECT_EQ(0x00120056u, TextToColor("#56zz12"));

  const uint32_t values[] = {0x00ABCDEF, 0x00000001, 0x00FFFFFF, 0xFE000005, 0x12345678};
  for (uint32_t v : values) EXPECT_EQ(v, TextToColor(ColorToText(v).GetText())) << v;
}

TEST(UtilityTest, LettersAndNames) {
  EXPECT_TRUE(IsLetter('a'));
  EXPECT_TRUE(IsLetter('Z'));
  EXPECT_TRUE(IsLetter(0xE9));  // e acute
  EXPECT_TRUE(IsLetter(0x8C));
  EXPECT_TRUE(IsLetter(0xC7));
  EXPECT_TRUE(IsLetter(0xFC));
  EXPECT_FALSE(IsLetter(0xD7));  // multiplication sign
  EXPECT_FALSE(IsLetter(0xF7));  // division sign
  EXPECT_FALSE(IsLetter(0xC5));
  EXPECT_FALSE(IsLetter('1'));
  EXPECT_FALSE(IsLetter('_'));
  int accented = 0;
  for (int c = 0x80; c <= 0xFF; ++c) accented += IsLetter((unsigned char)c) ? 1 : 0;
  EXPECT_EQ(50, accented);

  EXPECT_TRUE(IsIdentifier("a_b1"));
  EXPECT_TRUE(IsIdentifier("_a"));
  EXPECT_TRUE(IsIdentifier("x"));
  EXPECT_FALSE(IsIdentifier("a_"));
  EXPECT_FALSE(IsIdentifier("___"));
  EXPECT_FALSE(IsIdentifier("1a"));
  EXPECT_FALSE(IsIdentifier(""));
  EXPECT_FALSE(IsIdentifier(nullptr));
  EXPECT_FALSE(IsIdentifier("a-b"));
  EXPECT_FALSE(IsIdentifier("a b"));

  EXPECT_TRUE(IsConstantName("MAX_2"));
  EXPECT_TRUE(IsConstantName("_A"));
  EXPECT_FALSE(IsConstantName("_2"));
  EXPECT_FALSE(IsConstantName("Max"));
  EXPECT_FALSE(IsConstantName("MAX_"));
  EXPECT_FALSE(IsConstantName("2MAX"));
}

TEST(UtilityTest, SplitCommaListStaysInsideItsTable) {
  SNameCell cells[5];
  memset(cells, '#', sizeof(cells));
  EXPECT_EQ(3, SplitCommaList(cells, 4, "Spring,Summer,Autumn"));
  EXPECT_STREQ("Spring", cells[0]);
  EXPECT_STREQ("Summer", cells[1]);
  EXPECT_STREQ("Autumn", cells[2]);
  EXPECT_EQ('#', cells[3][0]);

  // A long token is cut to 15 characters; surplus tokens are ignored.
  memset(cells, '#', sizeof(cells));
  EXPECT_EQ(2, SplitCommaList(cells, 2, "Abcdefghijklmnopqrstuvwxyz,b,c,d"));
  EXPECT_STREQ("Abcdefghijklmno", cells[0]);
  EXPECT_STREQ("b", cells[1]);
  for (int i = 2; i < 5; ++i) {
    for (int j = 0; j < NAME_CELL_SIZE; ++j) EXPECT_EQ('#', cells[i][j]);
  }

  // Empty tokens stay empty cells.
  EXPECT_EQ(3, SplitCommaList(cells, 5, "a,,c"));
  EXPECT_STREQ("", cells[1]);
  EXPECT_EQ(0, SplitCommaList(cells, 5, ""));
  EXPECT_EQ(0, SplitCommaList(cells, 0, "a"));
}

TEST(UtilityTest, IntegerHelpers) {
  EXPECT_EQ(4, CountDigits(-1000));
  EXPECT_EQ(1, CountDigits(0));
  EXPECT_EQ(1, CountDigits(9));
  EXPECT_EQ(2, CountDigits(10));
  EXPECT_EQ(10, CountDigits(INT_MAX));
  EXPECT_EQ(10, CountDigits(INT_MIN));

  EXPECT_EQ(-2, CyclicDelta(1, 9, 10));
  EXPECT_EQ(2, CyclicDelta(9, 1, 10));
  EXPECT_EQ(5, CyclicDelta(0, 5, 10));
  EXPECT_EQ(5, CyclicDelta(5, 0, 10));
  EXPECT_EQ(3, CyclicDelta(-20, 3, 10));
  EXPECT_EQ(0, CyclicDelta(4, 14, 10));
  EXPECT_EQ(-1, CyclicDelta(0, -1, 16));
  // Outside the contract, without a division by zero.
  EXPECT_EQ(0, CyclicDelta(3, 5, 0));

  EXPECT_EQ(23, SumOfProducts(2, 5, 3, 4));
  EXPECT_EQ(7, SumOfProducts(1, 7));
  EXPECT_EQ(-1, SumOfProducts(0));
  // Two factors: base + f1 * v1 + f2 * v2.
  EXPECT_EQ(1 + 2 * 5 + 3 * 7, SumOfProducts(3, 2, 3, 1, 5, 7));

  EXPECT_EQ(5, ClampInt(5, 0, 10));
  EXPECT_EQ(0, ClampInt(-5, 0, 10));
  EXPECT_EQ(10, ClampInt(50, 0, 10));
  // The lower bound is tested first.
  EXPECT_EQ(10, ClampInt(5, 10, 0));
  EXPECT_FLOAT_EQ(0.0f, ClampToUnit(-0.5f));
  EXPECT_FLOAT_EQ(1.0f, ClampToUnit(2.0f));
  EXPECT_FLOAT_EQ(0.25f, ClampToUnit(0.25f));
  EXPECT_FLOAT_EQ(2.5f, ClampFloat(2.5f, 1.0f, 3.0f));

  EXPECT_EQ(3.0, RoundToNearest(2.5));
  EXPECT_EQ(-2.0, RoundToNearest(-2.5));
  EXPECT_EQ(2.0, RoundToNearest(2.49));
  EXPECT_EQ(-3.0, RoundToNearest(-2.51));
}

TEST(UtilityTest, RandomNumbersStayInTheirRange) {
  srand(12345);
  EXPECT_FLOAT_EQ(3.0f, RandomFloat(3.0f, 3.0f));
  bool low = false, high = false;
  for (int i = 0; i < 2000; ++i) {
    float f = RandomFloat(5.0f, 1.0f);
    ASSERT_GE(f, 1.0f);
    ASSERT_LE(f, 5.0f);
    low |= f < 2.0f;
    high |= f > 4.0f;
    int n = RandomInt(7);
    ASSERT_GE(n, 0);
    ASSERT_LT(n, 7);
  }
  EXPECT_TRUE(low && high);
  EXPECT_EQ(0, RandomInt(1));
  EXPECT_EQ(0, RandomInt(0));
}

TEST(UtilityTest, FormatRatio) {
  EXPECT_STREQ("16/9", FormatRatio(1920, 1080).GetText());
  EXPECT_STREQ("683/384", FormatRatio(1366, 768).GetText());
  EXPECT_STREQ("5/4", FormatRatio(1280, 1024).GetText());
  EXPECT_STREQ("16/9", FormatRatio(800, 450).GetText());
  EXPECT_STREQ("4/3", FormatRatio(1024, 768).GetText());
  EXPECT_EQ(0, FormatRatio(1023, 601).GetLength());
  EXPECT_EQ(0, FormatRatio(0, 9).GetLength());
  // The first argument is written first: the height-first call reads 9/16.
  EXPECT_STREQ("9/16", FormatRatio(1080, 1920).GetText());
}

TEST(UtilityTest, ColourSpace) {
  uint8_t y, cr, cb, r, g, b;
  RgbToYCrCb(255, 255, 255, &y, &cr, &cb);
  EXPECT_EQ(254, y);
  EXPECT_EQ(129, cr);
  EXPECT_EQ(128, cb);
  RgbToYCrCb(255, 0, 0, &y, &cr, &cb);
  EXPECT_EQ(76, y);
  EXPECT_EQ(255, cr);  // clamped
  EXPECT_EQ(85, cb);
  RgbToYCrCb(10, 200, 30, &y, &cr, &cb);
  EXPECT_EQ(122, y);
  EXPECT_EQ(48, cr);
  EXPECT_EQ(76, cb);

  YCrCbToRgb(122, 48, 76, &r, &g, &b);
  EXPECT_EQ(9, r);
  EXPECT_EQ(196, g);
  EXPECT_EQ(30, b);
  YCrCbToRgb(0, 255, 0, &r, &g, &b);
  EXPECT_EQ(178, r);
  EXPECT_EQ(0, g);  // clamped from below
  EXPECT_EQ(0, b);
}

TEST(UtilityTest, FitRectToAspect) {
  RECT dest = {10, 20, 410, 420};
  RECT r = FitRectToAspect(100, 50, dest, true);
  EXPECT_EQ(10, r.left);
  EXPECT_EQ(120, r.top);
  EXPECT_EQ(410, r.right);
  EXPECT_EQ(320, r.bottom);
  r = FitRectToAspect(100, 50, dest, false);
  EXPECT_EQ(160, r.left);
  EXPECT_EQ(195, r.top);
  EXPECT_EQ(260, r.right);
  EXPECT_EQ(245, r.bottom);

  // A tall image spans the full height, centred on x.
  RECT wide = {0, 0, 300, 100};
  r = FitRectToAspect(50, 100, wide, true);
  EXPECT_EQ(125, r.left);
  EXPECT_EQ(0, r.top);
  EXPECT_EQ(175, r.right);
  EXPECT_EQ(100, r.bottom);
  // Not enlarged: first cut to the image height, then fitted.
  RECT tall = {0, 0, 300, 400};
  r = FitRectToAspect(50, 100, tall, false);
  EXPECT_EQ(125, r.left);
  EXPECT_EQ(150, r.top);
  EXPECT_EQ(175, r.right);
  EXPECT_EQ(250, r.bottom);
  // A zero height counts as a square image.
  r = FitRectToAspect(30, 0, wide, true);
  EXPECT_EQ(100, r.left);
  EXPECT_EQ(200, r.right);

  // An image without width leaves the rectangle as it is.
  for (int width : {0, -5}) {
    for (bool enlarge : {true, false}) {
      r = FitRectToAspect(width, 50, dest, enlarge);
      EXPECT_TRUE(::EqualRect(&r, &dest)) << width << " " << enlarge;
    }
  }
  // A needle-thin image fits as a line in the middle, without overflow.
  r = FitRectToAspect(1, 2000000000, wide, true);
  EXPECT_EQ(150, r.left);
  EXPECT_EQ(0, r.top);
  EXPECT_EQ(150, r.right);
  EXPECT_EQ(100, r.bottom);
}

TEST(UtilityTest, Vectors) {
  D3DXVECTOR3 v(1.0f, 2.0f, 3.0f);
  EXPECT_FALSE(IsZeroVector3(&v));
  ZeroVector3(&v);
  EXPECT_TRUE(IsZeroVector3(&v));
  SetVector3(&v, 0.0f, -0.0f, 1e-30f);
  EXPECT_FALSE(IsZeroVector3(&v));
  SetVector3(&v, 4.0f, 5.0f, 6.0f);
  EXPECT_EQ(5.0f, v.y);
  D3DXVECTOR2 w;
  SetVector2(&w, 7.0f, 8.0f);
  EXPECT_EQ(7.0f, w.x);
  EXPECT_EQ(8.0f, w.y);
  EXPECT_FLOAT_EQ((float)(M_PI / 2), ArcTangent2(1.0f, 0.0f));
  EXPECT_FLOAT_EQ((float)M_PI, ArcTangent2(0.0f, -1.0f));
}

TEST(UtilityTest, FontHeightsFromPoints) {
  int dpi = ScreenDpi();
  if (dpi == 96) {
    EXPECT_EQ(-12, PointsToFontHeight(9));
    EXPECT_EQ(-11, PointsToFontHeight(8));
    EXPECT_EQ(-13, PointsToFontHeight(10));
    // Halves round up: -0.5 gives 0, -1.5 gives -1.
    EXPECT_EQ(0, PointsToFontHeight(0.375));
    EXPECT_EQ(-1, PointsToFontHeight(1.125));
  }
  EXPECT_EQ((int)RoundToNearest(-(dpi * 12 / 72.0)), PointsToFontHeight(12));

  // The height of a given DC: a printer-like 300 dpi DC is not at hand, so
  // the screen's DC itself is passed.
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(PointsToFontHeight(9), PointsToFontHeight(9, screen));
  ::ReleaseDC(nullptr, screen);
}

TEST(UtilityTest, LogFontFromStyleBits) {
  LOGFONTA font;
  memset(&font, 0x55, sizeof(font));
  FillLogFont(&font, "A face name that is longer than thirty-one characters", 9,
              FONT_BOLD | FONT_UNDERLINE);
  EXPECT_EQ(31u, strlen(font.lfFaceName));
  EXPECT_EQ(0, strncmp(font.lfFaceName, "A face name that is longer than", 31));
  EXPECT_EQ(PointsToFontHeight(9), font.lfHeight);
  EXPECT_EQ(700, font.lfWeight);
  EXPECT_EQ(0, font.lfItalic);
  EXPECT_EQ(1, font.lfUnderline);
  EXPECT_EQ(0, font.lfStrikeOut);
  EXPECT_EQ(0, font.lfWidth);
  EXPECT_EQ(0, font.lfEscapement);
  EXPECT_EQ(0, font.lfCharSet);
  EXPECT_EQ(0, font.lfQuality);
  EXPECT_EQ(FONT_BOLD | FONT_UNDERLINE, FontStyleFromLogFont(font));

  FillLogFont(&font, "Arial", 10, FONT_ITALIC | FONT_STRIKEOUT);
  EXPECT_EQ(0, font.lfWeight);
  EXPECT_EQ(FONT_ITALIC | FONT_STRIKEOUT, FontStyleFromLogFont(font));
  // Only weight 700 counts as bold.
  font.lfWeight = 800;
  EXPECT_EQ(FONT_ITALIC | FONT_STRIKEOUT, FontStyleFromLogFont(font));

  for (int style = 0; style < 16; ++style) {
    HFONT handle = CreateFontByStyle("Arial", 11, style);
    ASSERT_NE(nullptr, handle);
    LOGFONTA made;
    ASSERT_NE(0, ::GetObjectA(handle, sizeof(made), &made));
    EXPECT_EQ(style, FontStyleFromLogFont(made)) << style;
    EXPECT_EQ(PointsToFontHeight(11), made.lfHeight);
    EXPECT_STREQ("Arial", made.lfFaceName);
    ::DeleteObject(handle);
  }
}

TEST(UtilityTest, MeasureText) {
  HFONT font = CreateFontByStyle("Arial", 10, 0);
  ASSERT_NE(nullptr, font);
  SIZE one = MeasureText(font, "Wide text");
  SIZE two = MeasureText(font, "Wide text\r\nWide text");
  SIZE empty = MeasureText(font, "");
  SIZE amp = MeasureText(font, "&&&&");

  // A single line measures as GetTextExtentPoint32 does.
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, font);
  SIZE extent;
  ::GetTextExtentPoint32A(dc, "Wide text", 9, &extent);
  SIZE ampExtent;
  ::GetTextExtentPoint32A(dc, "&&&&", 4, &ampExtent);
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);

  EXPECT_EQ(extent.cx, one.cx);
  EXPECT_EQ(extent.cy, one.cy);
  EXPECT_EQ(one.cx, two.cx);
  EXPECT_EQ(2 * one.cy, two.cy);
  EXPECT_EQ(0, empty.cx);
  // No prefix processing: every "&" is measured.
  EXPECT_EQ(ampExtent.cx, amp.cx);
  ::DeleteObject(font);
}

TEST(UtilityTest, StringFormatAlignment) {
  Gdiplus::StringFormat format;
  SetStringFormatAlignment(&format, 0x21, true);
  EXPECT_EQ(0x800, format.GetFormatFlags());
  EXPECT_EQ(Gdiplus::StringAlignmentCenter, format.GetAlignment());
  EXPECT_EQ(Gdiplus::StringAlignmentFar, format.GetLineAlignment());
  SetStringFormatAlignment(&format, 0x12, false);
  EXPECT_EQ(0x1800, format.GetFormatFlags());
  EXPECT_EQ(Gdiplus::StringAlignmentFar, format.GetAlignment());
  EXPECT_EQ(Gdiplus::StringAlignmentCenter, format.GetLineAlignment());
  SetStringFormatAlignment(&format, 0x33, false);
  EXPECT_EQ(Gdiplus::StringAlignmentNear, format.GetAlignment());
  EXPECT_EQ(Gdiplus::StringAlignmentNear, format.GetLineAlignment());
  SetStringFormatAlignment(nullptr, 0x11, true);
}

// The bounding box of the pixels that are not white.
RECT InkBox(const Dib32& dib) {
  RECT box = {dib.Width(), dib.Height(), -1, -1};
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) {
      if (dib.Rgb(x, y) == 0xFFFFFF) continue;
      if (x < box.left) box.left = x;
      if (y < box.top) box.top = y;
      if (x > box.right) box.right = x;
      if (y > box.bottom) box.bottom = y;
    }
  }
  return box;
}

TEST(UtilityTest, DrawStringStaysInItsRectangle) {
  Dib32 dib(200, 80);
  Gdiplus::FontFamily family(L"Arial");
  Gdiplus::Font font(&family, 16, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  ASSERT_EQ(Gdiplus::Ok, font.GetLastStatus());
  {
    Gdiplus::Graphics graphics(dib.GetDC());
    Gdiplus::StringFormat format;
    SetStringFormatAlignment(&format, 0x11, false);
    DrawStringGdiplus(&graphics, 20, 10, 160, 60, "HHHH", &font, &format);
    EXPECT_EQ(Gdiplus::Ok, graphics.GetLastStatus());
  }
  // Centred on both axes inside (20, 10, 160, 60), in the default black.
  RECT box = InkBox(dib);
  ASSERT_LT(box.left, box.right);
  EXPECT_GE(box.left, 20);
  EXPECT_LE(box.right, 180);
  EXPECT_GE(box.top, 10);
  EXPECT_LE(box.bottom, 70);
  EXPECT_NEAR(100, (box.left + box.right) / 2, 4);
  EXPECT_NEAR(40, (box.top + box.bottom) / 2, 6);
  uint32_t darkest = 0xFFFFFF;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) {
      uint32_t c = dib.Rgb(x, y);
      if ((c & 0xFF) < (darkest & 0xFF)) darkest = c;
    }
  }
  EXPECT_LT(darkest & 0xFF, 0x40u);

  // A given brush is used; no format gives the default near alignment.
  dib.Fill(0xFFFFFF);
  {
    Gdiplus::Graphics graphics(dib.GetDC());
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
    DrawStringGdiplus(&graphics, 30, 20, 160, 60, "HHHH", &font, nullptr, &red);
  }
  box = InkBox(dib);
  ASSERT_LT(box.left, box.right);
  EXPECT_GE(box.left, 30);
  EXPECT_LT(box.left, 40);
  EXPECT_GE(box.top, 20);
  EXPECT_LT(box.top, 35);
  bool red = false;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) {
      uint32_t c = dib.Rgb(x, y);
      red |= (c >> 16) > 0xC0 && (c & 0xFF) < 0x40 && ((c >> 8) & 0xFF) < 0x40;
    }
  }
  EXPECT_TRUE(red);
}

TEST(UtilityTest, GradientFills) {
  Dib32 dib(256, 64);
  RECT rect = {0, 0, 256, 32};
  ASSERT_TRUE(FillGradient(dib.GetDC(), rect, RGB(0, 0, 0), RGB(255, 128, 0), false));
  // Horizontal: the left column has colour 1, the right one nearly colour 2,
  // and every row is the same.
  EXPECT_EQ(0x000000u, dib.Rgb(0, 0));
  uint32_t right = dib.Rgb(255, 31);
  EXPECT_NEAR(255, (int)(right >> 16), 2);
  EXPECT_NEAR(128, (int)((right >> 8) & 0xFF), 2);
  EXPECT_EQ(0u, right & 0xFF);
  EXPECT_EQ(dib.Rgb(100, 0), dib.Rgb(100, 31));
  EXPECT_NEAR(100, (int)(dib.Rgb(100, 0) >> 16), 2);
  // Nothing outside the rectangle.
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(100, 32));

  RECT lower = {0, 32, 256, 64};
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
  EXPECT_EQ(0xFF0000u, dib.Rgb(0, 0));
  EXPECT_EQ(0xFF0000u, dib.Rgb(0, 15));
  uint32_t end = dib.Rgb(255, 0);
  EXPECT_LT(end >> 16, 4u);
  EXPECT_GT(end & 0xFF, 0xFBu);
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(0, 16));
}

TEST(UtilityTest, ListOleControlsReturnsConsistentLists) {
  HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  SStringArray texts, names;
  SArray<GUID> ids;
  texts.Add("stale");
  ListOleControls(&texts, &ids, &names);
  EXPECT_EQ(texts.GetCount(), ids.GetCount());
  EXPECT_EQ(texts.GetCount(), names.GetCount());
  EXPECT_EQ(-1, texts.Find("stale"));
  for (int i = 0; i < texts.GetCount(); ++i) {
    SString text = texts.Get(i);
    EXPECT_EQ('{', text.GetAt(0));
    CLSID parsed;
    ASSERT_EQ(NOERROR, ::CLSIDFromString(SUniString(text.GetText()).GetText(), &parsed));
    EXPECT_TRUE(IsEqualGUID(parsed, ids[i]));
    if (i > 0) {
      EXPECT_LE(_stricmp(names[i - 1]->GetText(), names[i]->GetText()), 0);
    }
  }
  // Lists may be left out.
  ListOleControls(nullptr, nullptr, &names);
  ListOleControls(&texts, nullptr, nullptr);
  EXPECT_EQ(texts.GetCount(), names.GetCount());
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace
