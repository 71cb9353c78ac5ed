#include "core/PlatformGdiplus.h"
#include "core/SImage.h"

#include "core/SFileMem.h"
#include "tests/support/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using Gdiplus::Rect;

namespace {

// A distinct opaque ARGB colour for every pixel of a small image.
uint32_t Pattern(int x, int y) {
  return 0xFF000000u | (uint32_t)(x * 20) << 16 | (y * 20) << 8 | 0x40;
}

template <class F>
void MakeImage(SImage* image, int w, int h, F colour) {
  std::vector<uint32_t> pixels(w * h);
  for (int i = 0; i < w * h; ++i) pixels[i] = colour(i % w, i / w);
  ASSERT_TRUE(image->CreateFromPixels(pixels.data(), w, h));
}

uint32_t PixelOf(const SImage& image, int x, int y) {
  Gdiplus::Color c;
  image.GetBitmap()->GetPixel(x, y, &c);
  return c.GetValue();
}

void Draw(SImage* image, Dib32* dib, const Rect* dest, const Rect* source = nullptr) {
  Gdiplus::Graphics graphics(dib->GetDC());
  image->DrawInRect(&graphics, dest, source);
}

bool Inside(const Rect& r, int x, int y) {
  return x >= r.X && y >= r.Y && x < r.X + r.Width && y < r.Y + r.Height;
}

TEST(SImageTest, ConstructionCopiesAndRectangles) {
  SImage empty;
  EXPECT_EQ(nullptr, empty.CreateRegion(0));
  EXPECT_FALSE(empty.Rotate(1) || empty.Resize(2, 2) || empty.ConvertTo16Bit());

  SImage sized(6, 3);
  EXPECT_EQ(0u, PixelOf(sized, 5, 2) >> 24);  // fully transparent

  SImage image, copy;
  MakeImage(&image, 4, 3, Pattern);
  EXPECT_EQ(SImage::DRAW_CENTER, image.m_drawMode);
  EXPECT_TRUE(copy.Copy(image));
  EXPECT_NE(image.GetBitmap(), copy.GetBitmap());
  EXPECT_EQ(Pattern(2, 1), PixelOf(copy, 2, 1));
  EXPECT_FALSE(copy.Copy(empty));
  // A negative size means the source's full width or height.
  EXPECT_TRUE(copy.CopyRect(image, 0, 1, -1, 2));
  EXPECT_TRUE(copy.GetWidth() == 4 && copy.GetHeight() == 2);
  EXPECT_TRUE(copy.CopyRect(image, 1, 1, 2, 2));
  // Cutting a rectangle out of the image's own bitmap.
  EXPECT_TRUE(copy.CopyRect(copy.GetBitmap(), 1, 0, 1, 1));
  EXPECT_EQ(Pattern(2, 1), PixelOf(copy, 0, 0));

  image.Clear(RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(0xFF102030u, PixelOf(image, 3, 2));
  EXPECT_TRUE(image.ConvertTo16Bit());
  EXPECT_EQ(16, image.GetBitsPerPixel());
}

TEST(SImageTest, SaveAndLoadEveryFormat) {
  SImage image;
  MakeImage(&image, 5, 4, Pattern);
  const struct {
    int format;
    const char* magic;
    bool exact;
  } formats[] = {{SImage::FORMAT_PNG, "\x89PNG", true},
                 {7, "BM", true},
                 {SImage::FORMAT_BMP, "BM", true},
                 {SImage::FORMAT_JPEG, "\xFF\xD8", false}};
  for (const auto& f : formats) {
    SFileMem file;
    file.WriteText("head");
    ASSERT_TRUE(image.Save(&file, f.format)) << f.format;
    EXPECT_EQ(0, memcmp(file.GetBuffer() + 4, f.magic, strlen(f.magic))) << f.format;
    file.Seek(4);
    SImage loaded;
    ASSERT_TRUE(loaded.Load(&file)) << f.format;
    EXPECT_TRUE(file.IsEOF());
    EXPECT_EQ(5, loaded.GetWidth());
    uint32_t c = PixelOf(loaded, 3, 2);
    if (f.exact) { EXPECT_EQ(Pattern(3, 2), c) << f.format; }
    for (int shift = 0; !f.exact && shift < 24; shift += 8)
      EXPECT_NEAR(int(Pattern(3, 2) >> shift & 0xFF), int(c >> shift & 0xFF), 12);
  }

  // Bytes that are no image leave the image empty.
  SFileMem garbage("this is not an image at all");
  EXPECT_FALSE(image.Load(&garbage));
  EXPECT_EQ(nullptr, image.GetBitmap());
}

TEST(SImageTest, UnscaledModesArePixelExact) {
  SImage image;
  MakeImage(&image, 10, 10, Pattern);
  // Top-left corner of the image for each mode in a 20 x 20 destination at
  // (4, 6), and for a 4 x 4 destination at the origin.
  const int origins[9][2] = {{4, 6},  {9, 6},   {14, 6},  {4, 11}, {14, 11},
                             {4, 16}, {9, 16},  {14, 16}, {9, 11}};
  const int cuts[9][2] = {{0, 0}, {-3, 0}, {-6, 0}, {0, -3}, {-6, -3},
                          {0, -6}, {-3, -6}, {-6, -6}, {-3, -3}};
  for (int mode = 0; mode <= 8; ++mode) {
    image.m_drawMode = mode;
    for (int small = 0; small < 2; ++small) {
      Dib32 dib(30, 30);
      Rect dest = small ? Rect(0, 0, 4, 4) : Rect(4, 6, 20, 20);
      Draw(&image, &dib, &dest);
      int ox = small ? cuts[mode][0] : origins[mode][0];
      int oy = small ? cuts[mode][1] : origins[mode][1];
      for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
          bool on = Inside(dest, x, y) && x >= ox && x < ox + 10 && y >= oy && y < oy + 10;
          uint32_t expected = on ? Pattern(x - ox, y - oy) & 0xFFFFFF : 0xFFFFFF;
          ASSERT_EQ(expected, dib.Rgb(x, y)) << mode << " " << small << " " << x << "," << y;
        }
      }
    }
  }

  // DrawAt: natural size at a point, whatever the mode; a source rectangle.
  Dib32 dib(16, 16);
  {
    Gdiplus::Graphics graphics(dib.GetDC());
    image.DrawAt(&graphics, 3, 2);
  }
  EXPECT_EQ(Pattern(9, 9) & 0xFFFFFF, dib.Rgb(12, 11));
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(13, 12));
  dib.Fill(0xFFFFFF);
  image.m_drawMode = SImage::DRAW_TOPLEFT;
  Rect source(5, 6, 3, 2), target(1, 1, 10, 10);
  Draw(&image, &dib, &target, &source);
  EXPECT_EQ(Pattern(7, 7) & 0xFFFFFF, dib.Rgb(3, 2));
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(4, 1));
}

TEST(SImageTest, BackgroundAndTransparentColour) {
  // The image has a transparent hole: the background is not painted under it.
  SImage image;
  MakeImage(&image, 10, 10, [](int x, int y) { return x == 4 && y == 4 ? 0u : Pattern(x, y); });
  image.m_drawMode = SImage::DRAW_BOTTOMRIGHT;
  const COLORREF backs[] = {RGB(0, 0, 255), SImage::COLOR_HOLLOW, SImage::COLOR_NONE};
  for (COLORREF back : backs) {
    image.m_backColor = back;
    Dib32 dib(24, 24);
    Rect dest(0, 0, 20, 20);
    Draw(&image, &dib, &dest);
    uint32_t around = back == RGB(0, 0, 255) ? 0x0000FF : 0xFFFFFF;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        uint32_t expected = x >= 20 || y >= 20 ? 0xFFFFFF : around;
        if (x >= 10 && y >= 10 && x < 20 && y < 20)
          expected = x == 14 && y == 14 ? 0xFFFFFF : Pattern(x - 10, y - 10) & 0xFFFFFF;
        ASSERT_EQ(expected, dib.Rgb(x, y)) << back << " " << x << "," << y;
      }
    }
  }

  // The colour key is left undrawn, also when scaled; without a key it is drawn.
  SImage keyed;
  MakeImage(&keyed, 8, 8, [](int x, int y) { return x < 4 ? 0xFFFF00FFu : Pattern(x, y); });
  keyed.m_transparentColor = RGB(255, 0, 255);
  for (int mode : {int(SImage::DRAW_TOPLEFT), int(SImage::DRAW_STRETCH), -1}) {
    keyed.m_drawMode = mode < 0 ? SImage::DRAW_TOPLEFT : mode;
    if (mode < 0) keyed.m_transparentColor = SImage::COLOR_NONE;
    Dib32 dib(32, 32, 0x123456);
    Rect dest(0, 0, 32, 32);
    Draw(&keyed, &dib, &dest);
    bool stretched = mode == SImage::DRAW_STRETCH;
    EXPECT_EQ(mode < 0 ? 0xFF00FFu : 0x123456u, dib.Rgb(stretched ? 6 : 2, stretched ? 16 : 2));
    EXPECT_NE(0x123456u, dib.Rgb(stretched ? 24 : 5, 2)) << mode;
  }
}

TEST(SImageTest, ScaledModesFillTheirRectangles) {
  const uint32_t colour = 0xFF20A040;
  SImage image;
  MakeImage(&image, 20, 10, [&](int, int) { return colour; });
  image.m_backColor = RGB(0, 0, 255);
  const struct {
    int mode;
    Rect covered;
    bool background;
  } cases[] = {{SImage::DRAW_STRETCH, Rect(0, 0, 40, 40), false},
               {SImage::DRAW_FIT, Rect(10, 15, 20, 10), true},
               {SImage::DRAW_FITZOOM, Rect(0, 10, 40, 20), true}};
  for (const auto& c : cases) {
    Dib32 dib(44, 44);
    image.m_drawMode = c.mode;
    Rect dest(0, 0, 40, 40);
    Draw(&image, &dib, &dest);
    // Scaling blends the edge pixels: a band along the border is not checked.
    const Rect& r = c.covered;
    Rect inner(r.X + 3, r.Y + 3, r.Width - 6, r.Height - 6);
    Rect outer(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2);
    for (int y = 0; y < 44; ++y) {
      for (int x = 0; x < 44; ++x) {
        if (Inside(inner, x, y)) {
          ASSERT_EQ(colour & 0xFFFFFF, dib.Rgb(x, y)) << c.mode << " at " << x << "," << y;
        } else if (!Inside(outer, x, y)) {
          uint32_t expected = Inside(dest, x, y) && c.background ? 0x0000FF : 0xFFFFFF;
          ASSERT_EQ(expected, dib.Rgb(x, y)) << c.mode << " at " << x << "," << y;
        }
      }
    }
  }

  // Tiles repeat from the top-left corner.
  SImage tile;
  MakeImage(&tile, 6, 6, Pattern);
  tile.m_drawMode = SImage::DRAW_TILE;
  Dib32 dib(16, 16);
  Rect dest(2, 3, 11, 9), source(1, 2, 4, 3);
  Draw(&tile, &dib, &dest, &source);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      uint32_t expected = 0xFFFFFF;
      if (Inside(dest, x, y)) expected = Pattern(1 + (x - 2) % 4, 2 + (y - 3) % 3) & 0xFFFFFF;
      ASSERT_EQ(expected, dib.Rgb(x, y)) << x << "," << y;
    }
  }
}

TEST(SImageTest, RegionOfThePixelsOutsideTheKey) {
  const COLORREF key = RGB(0, 255, 0);
  // A checkerboard holds more runs than one batch (5000); a key-only image
  // gives an empty region.
  for (int keyOnly = 0; keyOnly < 2; ++keyOnly) {
    SImage board;
    MakeImage(&board, 100, 100, [&](int x, int y) {
      return keyOnly || (x + y) % 2 ? 0xFF00FF00u : 0xFFFFFFFFu;
    });
    HRGN region = board.CreateRegion(key);
    ASSERT_NE(nullptr, region);
    int inside = 0;
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 100; ++x) {
        bool in = ::PtInRegion(region, x, y) != FALSE;
        ASSERT_EQ(!keyOnly && (x + y) % 2 == 0, in) << x << "," << y;
        inside += in ? 1 : 0;
      }
    }
    EXPECT_EQ(keyOnly ? 0 : 5000, inside);
    ::DeleteObject(region);
  }
}

TEST(SImageTest, RotateAndResize) {
  SImage image;
  MakeImage(&image, 4, 2, Pattern);
  EXPECT_TRUE(image.Rotate(4));  // no turn
  EXPECT_EQ(Pattern(3, 1), PixelOf(image, 3, 1));
  // 5 is one clockwise quarter turn: the bottom-left corner comes to the top left.
  EXPECT_TRUE(image.Rotate(5));
  EXPECT_EQ(2, image.GetWidth());
  EXPECT_EQ(Pattern(0, 1), PixelOf(image, 0, 0));
  EXPECT_EQ(Pattern(3, 0), PixelOf(image, 1, 3));
  EXPECT_TRUE(image.Rotate(3));  // three more quarter turns bring it back
  EXPECT_EQ(Pattern(0, 0), PixelOf(image, 0, 0));
  EXPECT_TRUE(image.Rotate(2));
  EXPECT_EQ(Pattern(3, 1), PixelOf(image, 0, 0));

  image.m_drawMode = SImage::DRAW_MIDDLELEFT;
  EXPECT_FALSE(image.Resize(4, 2));  // the same size
  EXPECT_FALSE(image.Resize(-3, 4));
  EXPECT_TRUE(image.Resize(8, 4));
  EXPECT_EQ(8, image.GetWidth());
  EXPECT_EQ(SImage::DRAW_MIDDLELEFT, image.m_drawMode);
  // An indexed image is resized too.
  Gdiplus::Bitmap source(4, 4, PixelFormat8bppIndexed);
  ASSERT_TRUE(image.CopyRect(&source, 0, 0, -1, -1));
  EXPECT_TRUE(image.Resize(2, 6));
}

TEST(SImageTest, GdiHandlesBothWays) {
  SImage image;
  MakeImage(&image, 6, 4, [](int x, int y) {
    return (x < 3 ? 0xFF000000u : 0x40000000u) | (uint32_t)(x * 40) << 16 | y * 40;
  });
  HBITMAP argb = image.GetHBITMAP32();
  uint32_t words[24];
  ASSERT_EQ((LONG)sizeof(words), ::GetBitmapBits(argb, sizeof(words), words));
  EXPECT_EQ(PixelOf(image, 5, 3), words[23]);  // the ARGB words as they are
  ::DeleteObject(argb);

  // Mask: black where alpha > 128, white elsewhere.
  HBITMAP mask = image.CreateMaskHBITMAP();
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, mask);
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(dc, 2, 3));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(dc, 3, 0));
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(mask);

  // A 32-bit DIB keeps its bytes, alpha included; capture from a DC's origin.
  Dib32 dib(5, 3);
  for (int i = 0; i < 15; ++i) dib.Set(i % 5, i / 5, 0x80000000u | (i % 5 * 50) << 16 | i / 5 * 80);
  SImage from;
  ASSERT_TRUE(from.FromHBITMAP(dib.GetBitmap()));
  EXPECT_EQ(dib.Word(4, 2), PixelOf(from, 4, 2));
  EXPECT_FALSE(from.FromHBITMAP(nullptr));
  ASSERT_TRUE(from.CaptureDC(dib.GetDC(), 4, 2));
  EXPECT_EQ(dib.Rgb(3, 1), PixelOf(from, 3, 1) & 0xFFFFFF);
  EXPECT_FALSE(from.CaptureDC(dib.GetDC(), 0, 2));

  // Image lists: one image by index, or the whole strip.
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 0, 2);
  Dib32 first(4, 4, 0xFF112233), second(4, 4, 0xFF445566);
  ASSERT_EQ(0, ImageList_Add(list, first.GetBitmap(), nullptr));
  ASSERT_EQ(1, ImageList_Add(list, second.GetBitmap(), nullptr));
  ASSERT_TRUE(from.FromImageList(1, list));
  EXPECT_EQ(4, from.GetWidth());
  EXPECT_EQ(0x445566u, PixelOf(from, 2, 2) & 0xFFFFFF);
  EXPECT_FALSE(from.FromImageList(2, list));
  ImageList_Destroy(list);
}

}  // namespace
