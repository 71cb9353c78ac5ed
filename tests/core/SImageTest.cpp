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

// Draws the image into the DIB with a GDI+ graphics on its DC.
void Draw(SImage* image, Dib32* dib, const Rect& dest, const Rect* source = nullptr) {
  Gdiplus::Graphics graphics(dib->GetDC());
  image->DrawInRect(&graphics, &dest, source);
}

bool Inside(const Rect& r, int x, int y) {
  return x >= r.X && y >= r.Y && x < r.X + r.Width && y < r.Y + r.Height;
}

// Every pixel of the DIB against the 0xRRGGBB the function expects; a
// negative answer leaves the pixel unchecked.
template <class F>
void ExpectPixels(const Dib32& dib, F expected, int trace) {
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) {
      int64_t want = expected(x, y);
      if (want < 0) continue;
      ASSERT_EQ(uint32_t(want), dib.Rgb(x, y)) << trace << " at " << x << "," << y;
    }
  }
}

TEST(SImageTest, ConstructionCopiesAndFormats) {
  SImage empty, sized(6, 3), image, copy;
  EXPECT_EQ(nullptr, empty.CreateRegion(0));
  EXPECT_FALSE(empty.Rotate(1) || empty.Resize(2, 2) || empty.ConvertTo16Bit());
  EXPECT_EQ(0u, PixelOf(sized, 5, 2) >> 24);  // fully transparent
  MakeImage(&image, 5, 4, Pattern);
  EXPECT_EQ(SImage::DRAW_CENTER, image.m_drawMode);
  EXPECT_TRUE(copy.Copy(image));
  EXPECT_NE(image.GetBitmap(), copy.GetBitmap());
  EXPECT_FALSE(copy.Copy(empty));
  // A negative size means the source's full width; a rectangle of the own bitmap.
  EXPECT_TRUE(copy.CopyRect(image, 0, 1, -1, 2));
  EXPECT_TRUE(copy.GetWidth() == 5 && copy.GetHeight() == 2);
  EXPECT_TRUE(copy.CopyRect(copy.GetBitmap(), 2, 0, 1, 1));
  EXPECT_EQ(Pattern(2, 1), PixelOf(copy, 0, 0));

  const struct {
    int format;
    const char* magic;
  } formats[] = {{SImage::FORMAT_PNG, "\x89PNG"},
                 {7, "BM"},
                 {SImage::FORMAT_BMP, "BM"},
                 {SImage::FORMAT_JPEG, "\xFF\xD8"}};
  for (const auto& f : formats) {
    SFileMem file;
    file.WriteText("head");
    ASSERT_TRUE(image.Save(&file, f.format)) << f.format;
    EXPECT_EQ(0, memcmp(file.GetBuffer() + 4, f.magic, strlen(f.magic))) << f.format;
    file.Seek(4);
    ASSERT_TRUE(copy.Load(&file)) << f.format;
    EXPECT_TRUE(file.IsEOF());
    uint32_t c = PixelOf(copy, 3, 2);
    for (int shift = 0; shift < 32; shift += 8) {
      int tolerance = f.format == SImage::FORMAT_JPEG ? 12 : 0;  // JPEG is lossy
      EXPECT_NEAR(int(Pattern(3, 2) >> shift & 0xFF), int(c >> shift & 0xFF), tolerance);
    }
  }
  SFileMem garbage("this is not an image at all");
  EXPECT_FALSE(copy.Load(&garbage));
  EXPECT_EQ(nullptr, copy.GetBitmap());

  image.Clear(RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(0xFF102030u, PixelOf(image, 3, 2));
  EXPECT_TRUE(image.ConvertTo16Bit());
  EXPECT_EQ(16, image.GetBitsPerPixel());
}

TEST(SImageTest, UnscaledModesArePixelExact) {
  SImage image;
  MakeImage(&image, 10, 10, Pattern);
  // Top-left corner of the image for each mode in a 20 x 20 destination at
  // (4, 6), and for a 4 x 4 destination at the origin.
  const int origins[9][2] = {{4, 6},  {9, 6},  {14, 6},  {4, 11}, {14, 11},
                             {4, 16}, {9, 16}, {14, 16}, {9, 11}};
  const int cuts[9][2] = {{0, 0},  {-3, 0},  {-6, 0},  {0, -3}, {-6, -3},
                          {0, -6}, {-3, -6}, {-6, -6}, {-3, -3}};
  for (int mode = 0; mode <= 8; ++mode) {
    image.m_drawMode = mode;
    for (int small = 0; small < 2; ++small) {
      Dib32 dib(30, 30);
      Rect dest = small ? Rect(0, 0, 4, 4) : Rect(4, 6, 20, 20);
      Draw(&image, &dib, dest);
      int ox = small ? cuts[mode][0] : origins[mode][0];
      int oy = small ? cuts[mode][1] : origins[mode][1];
      ExpectPixels(
          dib,
          [&](int x, int y) -> int64_t {
            bool on = Inside(dest, x, y) && Inside(Rect(ox, oy, 10, 10), x, y);
            return on ? Pattern(x - ox, y - oy) & 0xFFFFFF : 0xFFFFFF;
          },
          mode);
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
  Rect source(5, 6, 3, 2);
  Draw(&image, &dib, Rect(1, 1, 10, 10), &source);
  EXPECT_EQ(Pattern(7, 7) & 0xFFFFFF, dib.Rgb(3, 2));
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(4, 1));
}

TEST(SImageTest, BackgroundTransparencyScalingAndTiles) {
  // The image has a transparent hole: the background is not painted under it.
  SImage image;
  MakeImage(&image, 10, 10, [](int x, int y) { return x == 4 && y == 4 ? 0u : Pattern(x, y); });
  image.m_drawMode = SImage::DRAW_BOTTOMRIGHT;
  for (COLORREF back : {RGB(0, 0, 255), SImage::COLOR_HOLLOW, SImage::COLOR_NONE}) {
    image.m_backColor = back;
    Dib32 dib(24, 24);
    Draw(&image, &dib, Rect(0, 0, 20, 20));
    ExpectPixels(
        dib,
        [&](int x, int y) -> int64_t {
          if (x >= 20 || y >= 20 || (x == 14 && y == 14)) return 0xFFFFFF;
          if (x >= 10 && y >= 10) return Pattern(x - 10, y - 10) & 0xFFFFFF;
          return back == RGB(0, 0, 255) ? 0x0000FF : 0xFFFFFF;
        },
        back);
  }
  // The colour key is left undrawn, also when scaled; without a key it is drawn.
  SImage keyed;
  MakeImage(&keyed, 8, 8, [](int x, int y) { return x < 4 ? 0xFFFF00FFu : Pattern(x, y); });
  keyed.m_transparentColor = RGB(255, 0, 255);
  for (int mode : {int(SImage::DRAW_TOPLEFT), int(SImage::DRAW_STRETCH), -1}) {
    keyed.m_drawMode = mode < 0 ? SImage::DRAW_TOPLEFT : mode;
    if (mode < 0) keyed.m_transparentColor = SImage::COLOR_NONE;
    Dib32 dib(32, 32, 0x123456);
    Draw(&keyed, &dib, Rect(0, 0, 32, 32));
    bool stretched = mode == SImage::DRAW_STRETCH;
    EXPECT_EQ(mode < 0 ? 0xFF00FFu : 0x123456u, dib.Rgb(stretched ? 6 : 2, stretched ? 16 : 2));
    EXPECT_NE(0x123456u, dib.Rgb(stretched ? 24 : 5, 2)) << mode;
  }
  // Scaled and tiled modes fill their rectangles.
  const uint32_t colour = 0x20A040;
  MakeImage(&image, 20, 10, [&](int, int) { return 0xFF000000u | colour; });
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
    Draw(&image, &dib, dest);
    // Scaling blends the edge pixels: a band along the border is not checked.
    const Rect& r = c.covered;
    ExpectPixels(
        dib,
        [&](int x, int y) -> int64_t {
          if (Inside(Rect(r.X + 3, r.Y + 3, r.Width - 6, r.Height - 6), x, y)) return colour;
          if (Inside(Rect(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2), x, y)) return -1;
          return Inside(dest, x, y) && c.background ? 0x0000FF : 0xFFFFFF;
        },
        c.mode);
  }
  // Tiles repeat from the top-left corner.
  SImage tile;
  MakeImage(&tile, 6, 6, Pattern);
  tile.m_drawMode = SImage::DRAW_TILE;
  Dib32 dib(16, 16);
  Rect dest(2, 3, 11, 9), source(1, 2, 4, 3);
  Draw(&tile, &dib, dest, &source);
  ExpectPixels(
      dib,
      [&](int x, int y) -> int64_t {
        return Inside(dest, x, y) ? Pattern(1 + (x - 2) % 4, 2 + (y - 3) % 3) & 0xFFFFFF : 0xFFFFFF;
      },
      SImage::DRAW_TILE);
}

TEST(SImageTest, RegionRotateAndResize) {
  // A checkerboard holds more runs than one batch (5000); a key-only image
  // gives an empty region.
  for (int keyOnly = 0; keyOnly < 2; ++keyOnly) {
    SImage board;
    MakeImage(&board, 100, 100,
              [&](int x, int y) { return keyOnly || (x + y) % 2 ? 0xFF00FF00u : 0xFFFFFFFFu; });
    HRGN region = board.CreateRegion(RGB(0, 255, 0));
    ASSERT_NE(nullptr, region);
    for (int i = 0; i < 10000; ++i) {
      int x = i % 100, y = i / 100;
      ASSERT_EQ(!keyOnly && (x + y) % 2 == 0, ::PtInRegion(region, x, y) != FALSE) << x << "," << y;
    }
    ::DeleteObject(region);
  }
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
  Gdiplus::Bitmap indexed(4, 4, PixelFormat8bppIndexed);  // resized too
  ASSERT_TRUE(image.CopyRect(&indexed, 0, 0, -1, -1));
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
  Dib32 dib(5, 3, 0x80123456);
  SImage from;
  ASSERT_TRUE(from.FromHBITMAP(dib.GetBitmap()));
  EXPECT_EQ(0x80123456u, PixelOf(from, 4, 2));
  EXPECT_FALSE(from.FromHBITMAP(nullptr));
  ASSERT_TRUE(from.CaptureDC(dib.GetDC(), 4, 2));
  EXPECT_EQ(0x123456u, PixelOf(from, 3, 1) & 0xFFFFFF);
  EXPECT_FALSE(from.CaptureDC(dib.GetDC(), 0, 2));
  // Image lists: one image by index.
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 0, 2);
  Dib32 first(4, 4, 0xFF112233), second(4, 4, 0xFF445566);
  ASSERT_EQ(0, ImageList_Add(list, first.GetBitmap(), nullptr));
  ASSERT_EQ(1, ImageList_Add(list, second.GetBitmap(), nullptr));
  ASSERT_TRUE(from.FromImageList(1, list));
  EXPECT_EQ(0x445566u, PixelOf(from, 2, 2) & 0xFFFFFF);
  EXPECT_FALSE(from.FromImageList(2, list));
  ImageList_Destroy(list);
}

}  // namespace
