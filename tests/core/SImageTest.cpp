#include "core/PlatformGdiplus.h"
#include "core/SImage.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "tests/support/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using Gdiplus::Rect;

namespace {

// A distinct opaque ARGB colour for every pixel of a small image.
uint32_t Pattern(int x, int y) { return 0xFF000000u | (uint32_t)(x * 20) << 16 | (y * 20) << 8 | 0x40; }

// An image of w x h pixels from a function of the position.
template <class F>
void MakeImage(SImage* image, int w, int h, F colour) {
  std::vector<uint32_t> pixels(w * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) pixels[y * w + x] = colour(x, y);
  }
  ASSERT_TRUE(image->CreateFromPixels(pixels.data(), w, h));
}

uint32_t PixelOf(const SImage& image, int x, int y) {
  Gdiplus::Color c;
  image.GetBitmap()->GetPixel(x, y, &c);
  return c.GetValue();
}

// Draws the image into the DIB with a GDI+ graphics on its DC.
void Draw(SImage* image, Dib32* dib, const Rect* dest, const Rect* source = nullptr) {
  Gdiplus::Graphics graphics(dib->GetDC());
  image->DrawInRect(&graphics, dest, source);
}

bool Inside(const Rect& r, int x, int y) {
  return x >= r.X && y >= r.Y && x < r.X + r.Width && y < r.Y + r.Height;
}

TEST(SImageTest, ConstructionAndContents) {
  SImage empty;
  EXPECT_EQ(nullptr, empty.GetBitmap());
  EXPECT_EQ(SImage::COLOR_NONE, empty.m_backColor);
  EXPECT_EQ(SImage::COLOR_NONE, empty.m_transparentColor);
  EXPECT_EQ(0, empty.m_drawMode);
  EXPECT_EQ(0, empty.GetBitsPerPixel());
  EXPECT_EQ(0, empty.GetName().GetLength());
  EXPECT_EQ(nullptr, empty.GetHBITMAP());
  EXPECT_EQ(nullptr, empty.CreateRegion(0));
  EXPECT_FALSE(empty.Rotate(1));
  EXPECT_FALSE(empty.Resize(2, 2));
  EXPECT_FALSE(empty.ConvertTo16Bit());

  SImage sized(6, 3);
  ASSERT_NE(nullptr, sized.GetBitmap());
  EXPECT_EQ(6, sized.GetWidth());
  EXPECT_EQ(3, sized.GetHeight());
  EXPECT_EQ(32, sized.GetBitsPerPixel());
  EXPECT_EQ((Gdiplus::PixelFormat)0x26200A, sized.GetBitmap()->GetPixelFormat());
  EXPECT_EQ(0u, PixelOf(sized, 5, 2) >> 24);  // fully transparent

  SImage image;
  MakeImage(&image, 4, 3, Pattern);
  EXPECT_EQ(SImage::DRAW_CENTER, image.m_drawMode);
  EXPECT_EQ(Pattern(3, 2), PixelOf(image, 3, 2));
  EXPECT_EQ(Pattern(1, 0), PixelOf(image, 1, 0));

  SImage copy;
  EXPECT_TRUE(copy.Copy(image));
  EXPECT_NE(image.GetBitmap(), copy.GetBitmap());
  EXPECT_EQ(Pattern(2, 1), PixelOf(copy, 2, 1));
  EXPECT_FALSE(copy.Copy(empty));
  EXPECT_EQ(nullptr, copy.GetBitmap());

  // A negative size means the source's full width or height.
  EXPECT_TRUE(copy.CopyRect(image, 0, 1, -1, 2));
  EXPECT_EQ(4, copy.GetWidth());
  EXPECT_EQ(2, copy.GetHeight());
  EXPECT_TRUE(copy.CopyRect(image, 1, 1, 2, 2));
  EXPECT_EQ(Pattern(2, 2), PixelOf(copy, 1, 1));
  // Cutting a rectangle out of the image's own bitmap.
  EXPECT_TRUE(copy.CopyRect(copy.GetBitmap(), 1, 0, 1, 1));
  EXPECT_EQ(Pattern(2, 1), PixelOf(copy, 0, 0));
  EXPECT_FALSE(copy.CopyRect(empty, 0, 0, 1, 1));

  Gdiplus::Bitmap* clone = image.CloneBitmap(PixelFormat24bppRGB);
  ASSERT_NE(nullptr, clone);
  EXPECT_EQ(PixelFormat24bppRGB, clone->GetPixelFormat());
  delete clone;
  EXPECT_EQ(nullptr, empty.CloneBitmap(PixelFormat32bppARGB));

  image.SetName("picture.png");
  EXPECT_STREQ("picture.png", image.GetName().GetText());
  image.FreeBitmap();
  EXPECT_EQ(nullptr, image.GetBitmap());
}

TEST(SImageTest, SaveAndDecodeFromMemory) {
  SImage image;
  MakeImage(&image, 5, 4, Pattern);
  const struct {
    int format;
    const char* magic;
    int magicLength;
    bool exact;
  } formats[] = {
      {SImage::FORMAT_PNG, "\x89PNG", 4, true},
      {7, "BM", 2, true},
      {SImage::FORMAT_BMP, "BM", 2, true},
      {SImage::FORMAT_JPEG, "\xFF\xD8", 2, false},
  };
  for (const auto& f : formats) {
    SFileMem file;
    file.WriteText("head");
    ASSERT_TRUE(image.Save(&file, f.format)) << f.format;
    EXPECT_EQ(file.GetSize(), file.Tell());
    ASSERT_GT(file.GetSize(), 4 + f.magicLength);
    EXPECT_EQ(0, memcmp(file.GetBuffer() + 4, f.magic, f.magicLength)) << f.format;

    file.Seek(4);
    SImage loaded;
    ASSERT_TRUE(loaded.Load(&file)) << f.format;
    EXPECT_TRUE(file.IsEOF());
    EXPECT_EQ(5, loaded.GetWidth());
    EXPECT_EQ(4, loaded.GetHeight());
    if (f.exact) {
      for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(Pattern(x, y), PixelOf(loaded, x, y)) << f.format;
      }
    }
  }

  // JPEG is lossy: a flat image comes back close to its colour.
  SImage flat;
  MakeImage(&flat, 16, 16, [](int, int) { return 0xFF3080C0u; });
  SFileMem jpeg;
  ASSERT_TRUE(flat.Save(&jpeg, SImage::FORMAT_JPEG));
  jpeg.Rewind();
  SImage decoded;
  ASSERT_TRUE(decoded.Load(&jpeg));
  uint32_t c = PixelOf(decoded, 8, 8);
  EXPECT_NEAR(0x30, (int)((c >> 16) & 0xFF), 8);
  EXPECT_NEAR(0x80, (int)((c >> 8) & 0xFF), 8);
  EXPECT_NEAR(0xC0, (int)(c & 0xFF), 8);
}

TEST(SImageTest, ReadBitmapFromFiles) {
  SImage image;
  MakeImage(&image, 3, 2, Pattern);
  SFileMem png;
  ASSERT_TRUE(image.Save(&png, SImage::FORMAT_PNG));

  // At the end: nothing to decode.
  EXPECT_EQ(nullptr, SImage::ReadBitmap(&png));
  EXPECT_EQ(nullptr, SImage::ReadBitmap(nullptr));
  png.Rewind();
  Gdiplus::Bitmap* bitmap = SImage::ReadBitmap(&png);
  ASSERT_NE(nullptr, bitmap);
  EXPECT_EQ(3u, bitmap->GetWidth());
  EXPECT_TRUE(png.IsEOF());
  delete bitmap;

  // A disk file goes through its read operation.
  SFilePath disk;
  ASSERT_TRUE(disk.OpenTemp());
  ASSERT_TRUE(image.Save(&disk, SImage::FORMAT_PNG));
  disk.Rewind();
  SImage fromDisk;
  ASSERT_TRUE(fromDisk.Load(&disk));
  EXPECT_EQ(Pattern(2, 1), PixelOf(fromDisk, 2, 1));
  disk.Close();

  // Bytes that are no image leave the image empty.
  SFileMem garbage("this is not an image at all");
  EXPECT_FALSE(fromDisk.Load(&garbage));
  EXPECT_EQ(nullptr, fromDisk.GetBitmap());
  EXPECT_FALSE(fromDisk.Load(nullptr));

  EXPECT_FALSE(SImage().Save(&png, SImage::FORMAT_PNG));
  EXPECT_FALSE(image.Save(nullptr, SImage::FORMAT_PNG));
}

TEST(SImageTest, EncoderLookup) {
  CLSID png, bmp;
  EXPECT_GE(SImage::GetEncoderClsid(L"image/png", &png), 0);
  EXPECT_GE(SImage::GetEncoderClsid(L"image/bmp", &bmp), 0);
  EXPECT_FALSE(IsEqualGUID(png, bmp));
  EXPECT_EQ(-1, SImage::GetEncoderClsid(L"image/none", &png));
  EXPECT_EQ(-1, SImage::GetEncoderClsid(L"IMAGE/PNG", &png));
}

TEST(SImageTest, PlaceInRect) {
  Rect source(0, 0, 10, 10), dest, part;
  SImage::PlaceInRect(Rect(0, 0, 4, 4), SImage::DRAW_CENTER, source, &dest, &part);
  EXPECT_TRUE(dest.Equals(Rect(0, 0, 4, 4)));
  EXPECT_TRUE(part.Equals(Rect(3, 3, 4, 4)));
  SImage::PlaceInRect(Rect(0, 0, 20, 20), SImage::DRAW_BOTTOMRIGHT, source, &dest, &part);
  EXPECT_TRUE(dest.Equals(Rect(10, 10, 10, 10)));
  EXPECT_TRUE(part.Equals(Rect(0, 0, 10, 10)));
  // The source origin moves by the cut; a source offset is kept.
  SImage::PlaceInRect(Rect(5, 5, 6, 20), SImage::DRAW_MIDDLERIGHT, Rect(2, 1, 10, 10), &dest,
                      &part);
  EXPECT_TRUE(dest.Equals(Rect(5, 10, 6, 10)));
  EXPECT_TRUE(part.Equals(Rect(6, 1, 6, 10)));
}

TEST(SImageTest, UnscaledModesArePixelExact) {
  SImage image;
  MakeImage(&image, 10, 10, Pattern);
  // Top-left corner of the image for each mode in a 20 x 20 destination at
  // (4, 6).
  const int origins[9][2] = {{4, 6},   {9, 6},   {14, 6},  {4, 11}, {14, 11},
                             {4, 16},  {9, 16},  {14, 16}, {9, 11}};
  Rect dest(4, 6, 20, 20);
  for (int mode = 0; mode <= 8; ++mode) {
    Dib32 dib(30, 30);
    image.m_drawMode = mode;
    Draw(&image, &dib, &dest);
    int ox = origins[mode][0], oy = origins[mode][1];
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 30; ++x) {
        bool onImage = x >= ox && x < ox + 10 && y >= oy && y < oy + 10;
        uint32_t expected = onImage ? Pattern(x - ox, y - oy) & 0xFFFFFF : 0xFFFFFF;
        ASSERT_EQ(expected, dib.Rgb(x, y)) << "mode " << mode << " at " << x << "," << y;
      }
    }
  }

  // A destination smaller than the image shows the part the mode selects.
  const struct {
    int mode, sx, sy;
  } cuts[] = {{SImage::DRAW_CENTER, 3, 3}, {SImage::DRAW_TOPLEFT, 0, 0},
              {SImage::DRAW_BOTTOMRIGHT, 6, 6}, {SImage::DRAW_MIDDLELEFT, 0, 3}};
  for (const auto& cut : cuts) {
    Dib32 dib(8, 8);
    image.m_drawMode = cut.mode;
    Rect small(0, 0, 4, 4);
    Draw(&image, &dib, &small);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        uint32_t expected =
            x < 4 && y < 4 ? Pattern(cut.sx + x, cut.sy + y) & 0xFFFFFF : 0xFFFFFF;
        ASSERT_EQ(expected, dib.Rgb(x, y)) << "mode " << cut.mode << " at " << x << "," << y;
      }
    }
  }

  // DrawAt: natural size at a point, whatever the mode; a source rectangle.
  Dib32 dib(16, 16);
  image.m_drawMode = SImage::DRAW_BOTTOMRIGHT;
  {
    Gdiplus::Graphics graphics(dib.GetDC());
    image.DrawAt(&graphics, 3, 2);
  }
  EXPECT_EQ(Pattern(0, 0) & 0xFFFFFF, dib.Rgb(3, 2));
  EXPECT_EQ(Pattern(9, 9) & 0xFFFFFF, dib.Rgb(12, 11));
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(13, 12));
  dib.Fill(0xFFFFFF);
  image.m_drawMode = SImage::DRAW_TOPLEFT;
  Rect source(5, 6, 3, 2), target(1, 1, 10, 10);
  Draw(&image, &dib, &target, &source);
  EXPECT_EQ(Pattern(5, 6) & 0xFFFFFF, dib.Rgb(1, 1));
  EXPECT_EQ(Pattern(7, 7) & 0xFFFFFF, dib.Rgb(3, 2));
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(4, 1));
  EXPECT_EQ(0xFFFFFFu, dib.Rgb(1, 3));
}

TEST(SImageTest, BackgroundColourAroundTheImage) {
  // The image has a transparent hole: the background is not painted under it.
  SImage image;
  MakeImage(&image, 10, 10,
            [](int x, int y) { return x == 4 && y == 4 ? 0u : Pattern(x, y); });
  image.m_drawMode = SImage::DRAW_BOTTOMRIGHT;
  image.m_backColor = RGB(0, 0, 255);
  Dib32 dib(24, 24);
  Rect dest(0, 0, 20, 20);
  Draw(&image, &dib, &dest);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      uint32_t expected;
      if (x >= 20 || y >= 20) {
        expected = 0xFFFFFF;
      } else if (x >= 10 && y >= 10) {
        expected = x == 14 && y == 14 ? 0xFFFFFF : Pattern(x - 10, y - 10) & 0xFFFFFF;
      } else {
        expected = 0x0000FF;
      }
      ASSERT_EQ(expected, dib.Rgb(x, y)) << x << "," << y;
    }
  }

  // The graphics' clip is restored afterwards.
  {
    dib.Fill(0xFFFFFF);
    Gdiplus::Graphics graphics(dib.GetDC());
    image.DrawInRect(&graphics, &dest);
    Gdiplus::SolidBrush green(Gdiplus::Color(255, 0, 255, 0));
    graphics.FillRectangle(&green, 0, 0, 24, 24);
  }
  EXPECT_EQ(0x00FF00u, dib.Rgb(15, 15));

  // Hollow and none paint no background.
  const COLORREF unpainted[] = {SImage::COLOR_HOLLOW, SImage::COLOR_NONE};
  for (COLORREF back : unpainted) {
    dib.Fill(0xFFFFFF);
    image.m_backColor = back;
    Draw(&image, &dib, &dest);
    EXPECT_EQ(0xFFFFFFu, dib.Rgb(2, 2));
    EXPECT_EQ(Pattern(0, 0) & 0xFFFFFF, dib.Rgb(10, 10));
  }
}

TEST(SImageTest, TransparentColourIsNotDrawn) {
  const uint32_t magenta = 0xFFFF00FF;
  SImage image;
  MakeImage(&image, 8, 8, [&](int x, int y) { return x < 4 ? magenta : Pattern(x, y); });
  image.m_drawMode = SImage::DRAW_TOPLEFT;
  image.m_transparentColor = RGB(255, 0, 255);
  Dib32 dib(8, 8, 0x123456);
  Rect dest(0, 0, 8, 8);
  Draw(&image, &dib, &dest);
  EXPECT_EQ(0x123456u, dib.Rgb(0, 0));
  EXPECT_EQ(0x123456u, dib.Rgb(3, 7));
  EXPECT_EQ(Pattern(4, 0) & 0xFFFFFF, dib.Rgb(4, 0));
  EXPECT_EQ(Pattern(7, 7) & 0xFFFFFF, dib.Rgb(7, 7));

  // Scaled: the middle of the keyed half stays undrawn.
  dib.Fill(0x123456);
  image.m_drawMode = SImage::DRAW_STRETCH;
  Dib32 big(32, 32, 0x123456);
  Rect large(0, 0, 32, 32);
  Draw(&image, &big, &large);
  EXPECT_EQ(0x123456u, big.Rgb(6, 16));
  EXPECT_NE(0x123456u, big.Rgb(24, 16));

  // No key: the magenta pixels are drawn.
  image.m_drawMode = SImage::DRAW_TOPLEFT;
  image.m_transparentColor = SImage::COLOR_NONE;
  Draw(&image, &dib, &dest);
  EXPECT_EQ(0xFF00FFu, dib.Rgb(0, 0));
}

TEST(SImageTest, ScaledModesFillTheirRectangles) {
  const uint32_t colour = 0xFF20A040;
  SImage image;
  MakeImage(&image, 20, 10, [&](int, int) { return colour; });
  image.m_backColor = RGB(0, 0, 255);

  // The rectangle each mode covers in a (0, 0, 40, 40) destination, and
  // whether the rest is painted with the background.
  const struct {
    int mode;
    Rect covered;
    bool background;
  } cases[] = {
      {SImage::DRAW_STRETCH, Rect(0, 0, 40, 40), false},
      {SImage::DRAW_FIT, Rect(10, 15, 20, 10), true},
      {SImage::DRAW_FITZOOM, Rect(0, 10, 40, 20), true},
  };
  for (const auto& c : cases) {
    Dib32 dib(44, 44);
    image.m_drawMode = c.mode;
    Rect dest(0, 0, 40, 40);
    Draw(&image, &dib, &dest);
    const Rect& r = c.covered;
    // Scaling blends the edge pixels: only the inside and the outside of a
    // band along the border are checked.
    Rect inner(r.X + 3, r.Y + 3, r.Width - 6, r.Height - 6);
    Rect outer(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2);
    for (int y = 0; y < 44; ++y) {
      for (int x = 0; x < 44; ++x) {
        uint32_t pixel = dib.Rgb(x, y);
        if (Inside(inner, x, y)) {
          ASSERT_EQ(colour & 0xFFFFFF, pixel) << c.mode << " at " << x << "," << y;
        } else if (!Inside(outer, x, y)) {
          uint32_t expected = Inside(dest, x, y) && c.background ? 0x0000FF : 0xFFFFFF;
          ASSERT_EQ(expected, pixel) << c.mode << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(SImageTest, TileRepeatsFromTheTopLeftCorner) {
  SImage image;
  MakeImage(&image, 6, 6, Pattern);
  image.m_drawMode = SImage::DRAW_TILE;
  image.m_backColor = RGB(0, 0, 255);
  Dib32 dib(16, 16);
  Rect dest(2, 3, 11, 9), source(1, 2, 4, 3);
  Draw(&image, &dib, &dest, &source);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      uint32_t expected = 0xFFFFFF;
      if (Inside(dest, x, y)) {
        expected = Pattern(1 + (x - 2) % 4, 2 + (y - 3) % 3) & 0xFFFFFF;
      }
      ASSERT_EQ(expected, dib.Rgb(x, y)) << x << "," << y;
    }
  }
}

TEST(SImageTest, RegionOfThePixelsOutsideTheKey) {
  const COLORREF key = RGB(0, 255, 0);
  SImage image;
  // A 9 x 5 image: the key on the left third and in one pixel of the rest.
  MakeImage(&image, 9, 5, [](int x, int y) {
    return x < 3 || (x == 6 && y == 2) ? 0xFF00FF00u : 0xFF800000u;
  });
  HRGN region = image.CreateRegion(key);
  ASSERT_NE(nullptr, region);
  RECT box;
  EXPECT_EQ(COMPLEXREGION, ::GetRgnBox(region, &box));
  EXPECT_EQ(3, box.left);
  EXPECT_EQ(0, box.top);
  EXPECT_EQ(9, box.right);
  EXPECT_EQ(5, box.bottom);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 9; ++x) {
      bool keyed = x < 3 || (x == 6 && y == 2);
      EXPECT_EQ(!keyed, ::PtInRegion(region, x, y) != FALSE) << x << "," << y;
    }
  }
  ::DeleteObject(region);

  // An image of nothing but the key gives an empty region.
  SImage keyed;
  MakeImage(&keyed, 4, 4, [](int, int) { return 0xFF00FF00u; });
  region = keyed.CreateRegion(key);
  ASSERT_NE(nullptr, region);
  EXPECT_EQ(NULLREGION, ::GetRgnBox(region, &box));
  ::DeleteObject(region);

  // More runs than one batch holds: a 100 x 100 checkerboard (5000 runs).
  SImage board;
  MakeImage(&board, 100, 100,
            [](int x, int y) { return (x + y) % 2 ? 0xFF00FF00u : 0xFFFFFFFFu; });
  region = board.CreateRegion(key);
  ASSERT_NE(nullptr, region);
  int inside = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      bool in = ::PtInRegion(region, x, y) != FALSE;
      ASSERT_EQ((x + y) % 2 == 0, in) << x << "," << y;
      inside += in ? 1 : 0;
    }
  }
  EXPECT_EQ(5000, inside);
  ::DeleteObject(region);
}

TEST(SImageTest, Rotate) {
  SImage image;
  MakeImage(&image, 4, 2, Pattern);
  EXPECT_TRUE(image.Rotate(4));
  EXPECT_TRUE(image.Rotate(-1));
  EXPECT_TRUE(image.Rotate(0));
  EXPECT_EQ(4, image.GetWidth());
  EXPECT_EQ(Pattern(3, 1), PixelOf(image, 3, 1));

  // 5 is one clockwise quarter turn: the bottom-left corner comes to the
  // top left.
  EXPECT_TRUE(image.Rotate(5));
  EXPECT_EQ(2, image.GetWidth());
  EXPECT_EQ(4, image.GetHeight());
  EXPECT_EQ(Pattern(0, 1), PixelOf(image, 0, 0));
  EXPECT_EQ(Pattern(0, 0), PixelOf(image, 1, 0));
  EXPECT_EQ(Pattern(3, 0), PixelOf(image, 1, 3));

  // Three more quarter turns bring it back.
  EXPECT_TRUE(image.Rotate(3));
  EXPECT_EQ(4, image.GetWidth());
  EXPECT_EQ(Pattern(0, 0), PixelOf(image, 0, 0));
  EXPECT_TRUE(image.Rotate(2));
  EXPECT_EQ(Pattern(3, 1), PixelOf(image, 0, 0));
}

TEST(SImageTest, Resize) {
  SImage image;
  MakeImage(&image, 4, 2, [](int, int) { return 0xFF336699u; });
  image.m_drawMode = SImage::DRAW_MIDDLELEFT;
  Gdiplus::Bitmap* before = image.GetBitmap();
  EXPECT_FALSE(image.Resize(4, 2));
  EXPECT_EQ(before, image.GetBitmap());

  EXPECT_TRUE(image.Resize(8, 4));
  EXPECT_EQ(8, image.GetWidth());
  EXPECT_EQ(4, image.GetHeight());
  EXPECT_EQ(PixelFormat32bppARGB, image.GetBitmap()->GetPixelFormat());
  EXPECT_EQ(SImage::DRAW_MIDDLELEFT, image.m_drawMode);
  EXPECT_EQ(0xFF336699u, PixelOf(image, 4, 2));

  // Another pixel format is kept; a mode out of range comes back as 0.
  SImage rgb;
  Gdiplus::Bitmap source(4, 4, PixelFormat24bppRGB);
  ASSERT_TRUE(rgb.CopyRect(&source, 0, 0, -1, -1));
  EXPECT_EQ(24, rgb.GetBitsPerPixel());
  rgb.m_drawMode = 40;
  EXPECT_TRUE(rgb.Resize(2, 6));
  EXPECT_EQ(24, rgb.GetBitsPerPixel());
  EXPECT_EQ(6, rgb.GetHeight());
  EXPECT_EQ(0, rgb.m_drawMode);

  // An indexed image is resized too (in 32-bit ARGB where GDI+ gives no
  // graphics on an indexed bitmap).
  SImage indexed;
  Gdiplus::Bitmap palette(4, 4, PixelFormat8bppIndexed);
  ASSERT_TRUE(indexed.CopyRect(&palette, 0, 0, -1, -1));
  EXPECT_EQ(8, indexed.GetBitsPerPixel());
  EXPECT_TRUE(indexed.Resize(8, 8));
  EXPECT_EQ(8, indexed.GetWidth());
  EXPECT_EQ(8, indexed.GetHeight());

  // Negative sizes count as 0: no bitmap can be made, the image stays.
  EXPECT_FALSE(image.Resize(-3, 4));
  EXPECT_EQ(8, image.GetWidth());
}

TEST(SImageTest, ConversionsAndClear) {
  SImage image;
  MakeImage(&image, 4, 4, Pattern);
  image.Clear(RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(0xFF102030u, PixelOf(image, 3, 3));

  EXPECT_TRUE(image.ConvertTo16Bit());
  EXPECT_EQ(16, image.GetBitsPerPixel());
  EXPECT_EQ(PixelFormat16bppRGB565, image.GetBitmap()->GetPixelFormat());
  EXPECT_FALSE(image.ConvertTo16Bit());
}

TEST(SImageTest, GdiHandles) {
  SImage image;
  MakeImage(&image, 6, 4, [](int x, int y) {
    return (x < 3 ? 0xFF000000u : 0x40000000u) | (uint32_t)(x * 40) << 16 | y * 40;
  });

  HBITMAP plain = image.GetHBITMAP();
  ASSERT_NE(nullptr, plain);
  BITMAP info;
  ASSERT_NE(0, ::GetObjectA(plain, sizeof(info), &info));
  EXPECT_EQ(6, info.bmWidth);
  EXPECT_EQ(4, info.bmHeight);
  ::DeleteObject(plain);

  // 32-bit: the ARGB words as they are.
  HBITMAP argb = image.GetHBITMAP32();
  ASSERT_NE(nullptr, argb);
  ASSERT_NE(0, ::GetObjectA(argb, sizeof(info), &info));
  EXPECT_EQ(32, info.bmBitsPixel);
  uint32_t words[24];
  ASSERT_EQ((LONG)sizeof(words), ::GetBitmapBits(argb, sizeof(words), words));
  EXPECT_EQ(PixelOf(image, 0, 0), words[0]);
  EXPECT_EQ(PixelOf(image, 5, 3), words[23]);
  ::DeleteObject(argb);

  HBITMAP sixteen = image.GetHBITMAP16();
  ASSERT_NE(nullptr, sixteen);
  ASSERT_NE(0, ::GetObjectA(sixteen, sizeof(info), &info));
  EXPECT_EQ(6, info.bmWidth);
  ::DeleteObject(sixteen);

  // Mask: black where alpha > 128, white elsewhere.
  HBITMAP mask = image.CreateMaskHBITMAP();
  ASSERT_NE(nullptr, mask);
  ASSERT_NE(0, ::GetObjectA(mask, sizeof(info), &info));
  EXPECT_EQ(1, info.bmBitsPixel);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, mask);
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(dc, 0, 0));
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(dc, 2, 3));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(dc, 3, 0));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(dc, 5, 3));
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(mask);

  SImage rgb;
  Gdiplus::Bitmap source(4, 4, PixelFormat24bppRGB);
  ASSERT_TRUE(rgb.CopyRect(&source, 0, 0, -1, -1));
  EXPECT_EQ(nullptr, rgb.CreateMaskHBITMAP());
  HBITMAP converted = rgb.GetHBITMAP32();
  ASSERT_NE(nullptr, converted);
  ::DeleteObject(converted);

  HICON icon = image.CreateIcon();
  ASSERT_NE(nullptr, icon);
  ICONINFO iconInfo;
  ASSERT_TRUE(::GetIconInfo(icon, &iconInfo));
  EXPECT_TRUE(iconInfo.fIcon);
  if (iconInfo.hbmColor) ::DeleteObject(iconInfo.hbmColor);
  if (iconInfo.hbmMask) ::DeleteObject(iconInfo.hbmMask);
  ::DestroyIcon(icon);
}

TEST(SImageTest, FromHandlesAndDevices) {
  // A 32-bit DIB keeps its bytes, alpha included.
  Dib32 dib(5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) dib.Set(x, y, 0x80000000u | (x * 50) << 16 | (y * 80));
  }
  SImage image;
  ASSERT_TRUE(image.FromHBITMAP(dib.GetBitmap()));
  EXPECT_EQ(5, image.GetWidth());
  EXPECT_EQ(3, image.GetHeight());
  EXPECT_EQ(PixelFormat32bppARGB, image.GetBitmap()->GetPixelFormat());
  EXPECT_EQ(dib.Word(4, 2), PixelOf(image, 4, 2));
  EXPECT_FALSE(image.FromHBITMAP(nullptr));

  // A 24-bit bitmap stays 24-bit.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 4;
  info.bmiHeader.biHeight = 4;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP rgb = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(nullptr, rgb);
  memset(bits, 0x7F, 4 * 12);
  ASSERT_TRUE(image.FromHBITMAP(rgb));
  EXPECT_EQ(24, image.GetBitsPerPixel());
  EXPECT_EQ(0xFF7F7F7Fu, PixelOf(image, 1, 1));
  ::DeleteObject(rgb);

  // Captured from a DC's origin.
  SImage captured;
  ASSERT_TRUE(captured.CaptureDC(dib.GetDC(), 4, 2));
  EXPECT_EQ(4, captured.GetWidth());
  EXPECT_EQ(2, captured.GetHeight());
  EXPECT_EQ(dib.Rgb(3, 1), PixelOf(captured, 3, 1) & 0xFFFFFF);
  EXPECT_FALSE(captured.CaptureDC(dib.GetDC(), 0, 2));
  // From the screen: a device bitmap has no alpha, the pixels are opaque.
  ASSERT_TRUE(captured.CaptureDC(nullptr, 3, 3));
  EXPECT_EQ(3, captured.GetWidth());
  EXPECT_EQ(0xFFu, PixelOf(captured, 2, 2) >> 24);

  // Image lists: one image by index, or the whole strip.
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 0, 2);
  ASSERT_NE(nullptr, list);
  Dib32 first(4, 4, 0x112233), second(4, 4, 0x445566);
  for (int i = 0; i < 16; ++i) {
    first.Set(i % 4, i / 4, 0xFF112233u);
    second.Set(i % 4, i / 4, 0xFF445566u);
  }
  ASSERT_EQ(0, ImageList_Add(list, first.GetBitmap(), nullptr));
  ASSERT_EQ(1, ImageList_Add(list, second.GetBitmap(), nullptr));
  SImage item;
  ASSERT_TRUE(item.FromImageList(1, list));
  EXPECT_EQ(4, item.GetWidth());
  EXPECT_EQ(4, item.GetHeight());
  EXPECT_EQ(0x445566u, PixelOf(item, 2, 2) & 0xFFFFFF);
  ASSERT_TRUE(item.FromImageList(0, list));
  EXPECT_EQ(0x112233u, PixelOf(item, 0, 3) & 0xFFFFFF);
  SImage strip;
  ASSERT_TRUE(strip.FromImageList(-1, list));
  EXPECT_GE(strip.GetWidth() * strip.GetHeight(), 32);
  EXPECT_FALSE(item.FromImageList(2, list));
  EXPECT_FALSE(item.FromImageList(-2, list));
  EXPECT_FALSE(item.FromImageList(0, nullptr));
  ImageList_Destroy(list);
}

}  // namespace
