#include "core/PlatformGdiplus.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"
#include "tests/data/TestDevice.h"
#include "tests/support/TextureImage.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <math.h>

#include <algorithm>
#include <string>
#include <utility>
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
  if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
      Gdiplus::Ok)
    return pixels;
  pixels.resize((size_t)w * h);
  for (int y = 0; y < h; ++y) {
    memcpy(&pixels[(size_t)y * w], (const uint8_t*)data.Scan0 + y * data.Stride, w * 4);
  }
  bitmap->UnlockBits(&data);
  return pixels;
}

// The entry decoded as the engine decodes it.
bool LoadImage(IDirect3DDevice9* device, SResource& archive, const std::string& name,
               SImage& image) {
  SFileMem data;
  return GameArchives::Load(archive, name, data) && DecodeAsTexture(device, data, &image);
}

// Counts the pixels of frame (column, row) of a sheet cut into columns x
// rows frames for which test holds.
template <typename Test>
int CountInFrame(const SImage& image, const std::vector<uint32_t>& pixels, int columns, int rows,
                 int column, int row, Test test) {
  int fw = image.GetWidth() / columns, fh = image.GetHeight() / rows;
  int count = 0;
  for (int y = row * fh; y < (row + 1) * fh; ++y) {
    for (int x = column * fw; x < (column + 1) * fw; ++x)
      count += test(pixels[(size_t)y * image.GetWidth() + x]);
  }
  return count;
}

// A connected patch of pixels (8 neighbours), in frame coordinates.
struct Blob {
  int pixels = 0;
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
  double CentreX() const { return (left + right) / 2.0; }
  double CentreY() const { return (top + bottom) / 2.0; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

// The patches of frame (column, row) for whose pixels test holds, top to
// bottom in the order they are met.
template <typename Test>
std::vector<Blob> BlobsInFrame(const SImage& image, const std::vector<uint32_t>& pixels,
                               int columns, int rows, int column, int row, Test test) {
  int fw = image.GetWidth() / columns, fh = image.GetHeight() / rows;
  auto inked = [&](int x, int y) {
    return test(pixels[(size_t)(row * fh + y) * image.GetWidth() + column * fw + x]) != 0;
  };
  std::vector<char> seen((size_t)fw * fh, 0);
  std::vector<Blob> blobs;
  for (int y = 0; y < fh; ++y) {
    for (int x = 0; x < fw; ++x) {
      if (seen[(size_t)y * fw + x] || !inked(x, y)) continue;
      Blob blob;
      std::vector<std::pair<int, int>> stack = {{x, y}};
      seen[(size_t)y * fw + x] = 1;
      while (!stack.empty()) {
        auto [px, py] = stack.back();
        stack.pop_back();
        ++blob.pixels;
        blob.left = std::min(blob.left, px);
        blob.right = std::max(blob.right, px);
        blob.top = std::min(blob.top, py);
        blob.bottom = std::max(blob.bottom, py);
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            int nx = px + dx, ny = py + dy;
            if (nx < 0 || ny < 0 || nx >= fw || ny >= fh || seen[(size_t)ny * fw + nx] ||
                !inked(nx, ny))
              continue;
            seen[(size_t)ny * fw + nx] = 1;
            stack.push_back({nx, ny});
          }
        }
      }
      blobs.push_back(blob);
    }
  }
  return blobs;
}

uint32_t Brightest(uint32_t argb) {
  uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return r > g ? (r > b ? r : b) : (g > b ? g : b);
}

const char* const kDigitSheets[] = {"digits_green.png", "digits_orange.png", "digits_red.png",
                                    "digits_white.png"};

}  // namespace

class Images : public DeviceSuite {};

TEST_F(Images, EveryImageIsATextureFileOfTheKindItsNameSays) {
  // One level of 32-bit pixels: opaque for a ".jpg" name, with alpha for
  // a ".png" name.
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "img"));
  for (const std::string& name : RequiredNames::Images()) {
    SFileMem data;
    D3DXIMAGE_INFO info;
    if (!GameArchives::Load(archive, name, data) ||
        FAILED(D3DXGetImageInfoFromFileInMemory(data.GetBuffer(), (UINT)data.GetSize(), &info))) {
      ADD_FAILURE() << name << " does not load";
      continue;
    }
    EXPECT_GT(info.Width, 0u) << name;
    EXPECT_GT(info.Height, 0u) << name;
    bool jpeg = GameArchives::Lower(name).rfind(".jpg") == name.size() - 4;
    EXPECT_EQ(D3DXIFF_DDS, info.ImageFileFormat) << name;
    EXPECT_EQ(1u, info.MipLevels) << name;
    EXPECT_EQ(jpeg ? D3DFMT_X8R8G8B8 : D3DFMT_A8R8G8B8, info.Format)
        << name << " is not of the kind its extension says";
  }
}

TEST_F(Images, DigitSheetsHoldTheDigitsAndSeparatorsInTheirFrames) {
  // 4 x 4 frames in row order: 0-9 the digits, 10 the minus sign, 11 the
  // separator before hundredths, 12 the one after minutes, 13-15 unused.
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "img"));
  auto opaque = [](uint32_t argb) { return (argb >> 24) > 128 ? 1 : 0; };
  for (const char* name : kDigitSheets) {
    SImage image;
    ASSERT_TRUE(LoadImage(s_device, archive, name, image)) << name;
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

    // The signs told apart by their shapes: the minus one patch wider than
    // tall, the point one patch in the lower half, the colon two patches
    // one above the other, the lower one level with the point.
    double middle = image.GetHeight() / 4 / 2.0;
    std::vector<Blob> minus = BlobsInFrame(image, pixels, 4, 4, 10 % 4, 10 / 4, opaque);
    ASSERT_EQ(1u, minus.size()) << name << ": the minus sign is not one patch";
    EXPECT_GT(minus[0].Width(), minus[0].Height()) << name << ": the minus sign is not a bar";
    std::vector<Blob> point = BlobsInFrame(image, pixels, 4, 4, 11 % 4, 11 / 4, opaque);
    ASSERT_EQ(1u, point.size()) << name << ": frame 11 is not one patch (a point)";
    EXPECT_GT(point[0].CentreY(), middle) << name << ": the point is not low";
    std::vector<Blob> colon = BlobsInFrame(image, pixels, 4, 4, 12 % 4, 12 / 4, opaque);
    ASSERT_EQ(2u, colon.size()) << name << ": frame 12 is not two patches (a colon)";
    const Blob& upper = colon[0].top < colon[1].top ? colon[0] : colon[1];
    const Blob& lower = colon[0].top < colon[1].top ? colon[1] : colon[0];
    EXPECT_LT(upper.bottom, lower.top)
        << name << ": the colon's points are not one above the other";
    EXPECT_LE(fabs(upper.CentreX() - lower.CentreX()), 1.0)
        << name << ": the colon's points are not aligned";
    EXPECT_LT(upper.CentreY(), middle) << name << ": the colon's upper point is not high";
    EXPECT_NEAR(lower.CentreY(), point[0].CentreY(), 2.0)
        << name << ": the colon's lower point is not on the line";
  }
}

TEST_F(Images, ExplosionIsASheetOfThirtyTwoVisibleChangingFrames) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "img"));
  SImage image;
  ASSERT_TRUE(LoadImage(s_device, archive, "explosion.jpg", image));
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

TEST_F(Images, NormalMapsFollowTheReliefOfTheirTextures) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "img"));
  auto luminance = [](uint32_t argb) {
    return 0.3 * ((argb >> 16) & 0xFF) + 0.59 * ((argb >> 8) & 0xFF) + 0.11 * (argb & 0xFF);
  };
  for (const auto& pair : RequiredNames::NormalMaps()) {
    SImage texture, normal;
    ASSERT_TRUE(LoadImage(s_device, archive, pair.first, texture)) << pair.first;
    ASSERT_TRUE(LoadImage(s_device, archive, pair.second, normal)) << pair.second;
    ASSERT_EQ(texture.GetWidth(), normal.GetWidth()) << pair.second;
    ASSERT_EQ(texture.GetHeight(), normal.GetHeight()) << pair.second;
    std::vector<uint32_t> colours = Pixels(texture), normals = Pixels(normal);
    const int w = texture.GetWidth(), h = texture.GetHeight();
    // Unit vectors facing out of the surface (within what JPEG keeps),
    // tilted over a fair share of the picture; the texture is brighter where
    // its normal faces the light (from the upper left) than where it faces
    // away: the two come from the same height.
    const double light[3] = {-0.503, -0.604, 0.618};
    double lengthError = 0, litSum = 0, shadowSum = 0;
    int tilted = 0, inward = 0, lit = 0, shadow = 0;
    for (int i = 0; i < w * h; ++i) {
      uint32_t n = normals[i];
      double v[3] = {((n >> 16) & 0xFF) / 127.5 - 1, -(((n >> 8) & 0xFF) / 127.5 - 1),
                     (n & 0xFF) / 127.5 - 1};
      lengthError += fabs(sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) - 1);
      inward += v[2] <= 0;
      tilted += v[2] < 0.95;
      double facing = v[0] * light[0] + v[1] * light[1] + v[2] * light[2] - light[2];
      if (facing > 0.02) {
        ++lit;
        litSum += luminance(colours[i]);
      } else if (facing < -0.02) {
        ++shadow;
        shadowSum += luminance(colours[i]);
      }
    }
    EXPECT_LT(lengthError / (w * h), 0.08) << pair.second;
    EXPECT_EQ(0, inward) << pair.second << " has normals facing into the surface";
    EXPECT_GT(tilted, w * h / 50) << pair.second << " is nearly flat";
    ASSERT_GT(lit, 0) << pair.second;
    ASSERT_GT(shadow, 0) << pair.second;
    EXPECT_GT(litSum / lit, 1.1 * shadowSum / shadow) << pair.second;
  }
}
