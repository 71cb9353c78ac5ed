#include "core/PlatformGdiplus.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace {

// The image's pixels as 0xAARRGGBB words in row order; empty when it has
// no bitmap.
std::vector<uint32_t> Pixels(const SImage& image) {
  std::vector<uint32_t> pixels;
  Gdiplus::Bitmap* bitmap = image.GetBitmap();
  if (!bitmap) return pixels;
  int w = image.GetWidth(), h = image.GetHeight();
  Gdiplus::Rect all(0, 0, w, h);
  Gdiplus::BitmapData data;
  if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
    return pixels;
  pixels.resize((size_t)w * h);
  for (int y = 0; y < h; ++y) {
    memcpy(&pixels[(size_t)y * w], (const uint8_t*)data.Scan0 + y * data.Stride, w * 4);
  }
  bitmap->UnlockBits(&data);
  return pixels;
}

bool LoadImage(SResource& archive, const std::string& name, SImage& image) {
  SFileMem data;
  return GameArchives::Load(archive, name, data) && image.Load(&data);
}

// Counts the pixels of frame (column, row) of a sheet cut into columns x
// rows frames for which test holds.
template <typename Test>
int CountInFrame(const SImage& image, const std::vector<uint32_t>& pixels, int columns, int rows,
                 int column, int row, Test test) {
  int fw = image.GetWidth() / columns, fh = image.GetHeight() / rows;
  int count = 0;
  for (int y = row * fh; y < (row + 1) * fh; ++y) {
    for (int x = column * fw; x < (column + 1) * fw; ++x) count += test(pixels[(size_t)y * image.GetWidth() + x]);
  }
  return count;
}

uint32_t Brightest(uint32_t argb) {
  uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return r > g ? (r > b ? r : b) : (g > b ? g : b);
}

const char* const kDigitSheets[] = {"digits_green.png", "digits_orange.png", "digits_red.png",
                                    "digits_white.png"};

}  // namespace

TEST(Images, EveryImageDecodesInTheFormatItsNameSays) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "img"));
  for (const std::string& name : RequiredNames::Images()) {
    SImage image;
    if (!LoadImage(archive, name, image)) {
      ADD_FAILURE() << name << " does not load";
      continue;
    }
    EXPECT_GT(image.GetWidth(), 0) << name;
    EXPECT_GT(image.GetHeight(), 0) << name;
    GUID format;
    ASSERT_EQ(Gdiplus::Ok, image.GetBitmap()->GetRawFormat(&format)) << name;
    bool jpeg = GameArchives::Lower(name).rfind(".jpg") == name.size() - 4;
    EXPECT_TRUE(IsEqualGUID(format, jpeg ? Gdiplus::ImageFormatJPEG : Gdiplus::ImageFormatPNG))
        << name << " is not stored as its extension says";
  }
}

TEST(Images, DigitSheetsHoldTheDigitsAndSeparatorsInTheirFrames) {
  // 4 x 4 frames in row order: 0-9 the digits, 10 the minus sign, 11 the
  // separator before hundredths, 12 the one after minutes, 13-15 unused.
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "img"));
  auto opaque = [](uint32_t argb) { return (argb >> 24) > 128 ? 1 : 0; };
  for (const char* name : kDigitSheets) {
    SImage image;
    ASSERT_TRUE(LoadImage(archive, name, image)) << name;
    ASSERT_EQ(0, image.GetWidth() % 4) << name;
    ASSERT_EQ(0, image.GetHeight() % 4) << name;
    std::vector<uint32_t> pixels = Pixels(image);
    ASSERT_FALSE(pixels.empty());
    for (int frame = 0; frame < 16; ++frame) {
      int drawn = CountInFrame(image, pixels, 4, 4, frame % 4, frame / 4, opaque);
      if (frame <= 12) {
        EXPECT_GT(drawn, 0) << name << " frame " << frame << " is empty";
      } else {
        EXPECT_EQ(0, drawn) << name << " frame " << frame << " should be empty";
      }
    }
  }
}

TEST(Images, ExplosionIsASheetOfThirtyTwoVisibleChangingFrames) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "img"));
  SImage image;
  ASSERT_TRUE(LoadImage(archive, "explosion.jpg", image));
  ASSERT_EQ(0, image.GetWidth() % 4);
  ASSERT_EQ(0, image.GetHeight() % 8);
  std::vector<uint32_t> pixels = Pixels(image);
  ASSERT_FALSE(pixels.empty());
  auto bright = [](uint32_t argb) { return Brightest(argb) > 24 ? 1 : 0; };
  std::vector<int> light;
  for (int frame = 0; frame < 32; ++frame) {
    EXPECT_GT(CountInFrame(image, pixels, 4, 8, frame % 4, frame / 4, bright), 0)
        << "frame " << frame << " is black";
    light.push_back(CountInFrame(image, pixels, 4, 8, frame % 4, frame / 4, Brightest));
  }
  // The fireball grows, then fades.
  EXPECT_LT(light[0], light[8]);
  EXPECT_GT(light[8], light[31]);
}
