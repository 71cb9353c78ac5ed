// The data set's texture files against the JPEG and PNG files they stand
// for: Direct3D's image library makes the same texture of both, at every
// level of its mip chain.
#include "core/PlatformGdiplus.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "tests/data/TestDevice.h"
#include "tools/common/TextureFile.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

namespace {

IDirect3DTexture9* MakeTexture(IDirect3DDevice9* device, SFileMem& bytes) {
  IDirect3DTexture9* texture = nullptr;
  if (FAILED(D3DXCreateTextureFromFileInMemory(device, bytes.GetBuffer(), (UINT)bytes.GetSize(),
                                               &texture)))
    return nullptr;
  return texture;
}

// The pixels of one level in row order; the unused byte of X8R8G8B8 is
// cleared.
std::vector<uint32_t> LevelPixels(IDirect3DTexture9* texture, UINT level) {
  D3DSURFACE_DESC desc;
  D3DLOCKED_RECT locked;
  std::vector<uint32_t> pixels;
  if (FAILED(texture->GetLevelDesc(level, &desc)) ||
      FAILED(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY)))
    return pixels;
  uint32_t mask = desc.Format == D3DFMT_X8R8G8B8 ? 0x00FFFFFF : 0xFFFFFFFF;
  for (UINT y = 0; y < desc.Height; ++y) {
    const uint32_t* row = (const uint32_t*)((const uint8_t*)locked.pBits + y * locked.Pitch);
    for (UINT x = 0; x < desc.Width; ++x) pixels.push_back(row[x] & mask);
  }
  texture->UnlockRect(level);
  return pixels;
}

// Pictures with fine detail, soft edges and partial alpha, at sizes that
// are not powers of two and at the smallest.
uint32_t Noise(int x, int y) {
  uint32_t h = (uint32_t)x * 73856093u ^ (uint32_t)y * 19349663u;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  return h ^ (h >> 15);
}
uint32_t Gradient(int x, int y) {
  uint32_t a = (uint32_t)(x * 255 / 63) & 0xFF, r = (uint32_t)(y * 8) & 0xFF;
  return a << 24 | r << 16 | (uint32_t)(x * 4 & 0xFF) << 8 | 0x40;
}
uint32_t Rings(int x, int y) {
  int d = (x - 50) * (x - 50) + (y - 20) * (y - 20);
  return d % 300 < 150 ? 0xFFE0A020 : 0x80102030;
}

}  // namespace

class TextureFiles : public DeviceSuite {};

TEST_F(TextureFiles, MakeTheTextureOfTheJpegOrPngTheyStandFor) {
  struct Case {
    const char* name;
    int width, height;
    uint32_t (*pixel)(int, int);
    bool jpeg;
  } cases[] = {
      {"noise as JPEG", 37, 19, Noise, true},        {"noise as PNG", 37, 19, Noise, false},
      {"gradient as JPEG", 64, 64, Gradient, true},  {"gradient as PNG", 64, 64, Gradient, false},
      {"rings as JPEG", 100, 40, Rings, true},       {"rings as PNG", 100, 40, Rings, false},
      {"one pixel as JPEG", 1, 1, Gradient, true},   {"one pixel as PNG", 1, 1, Rings, false},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) pixels.push_back(c.pixel(x, y));
    SImage picture;
    ASSERT_TRUE(picture.CreateFromPixels(pixels.data(), c.width, c.height)) << c.name;
    SFileMem encoded, stored;
    ASSERT_TRUE(picture.Save(&encoded, c.jpeg ? SImage::FORMAT_JPEG : SImage::FORMAT_PNG));
    ASSERT_TRUE(texture_file::Write(picture, c.jpeg, &stored)) << c.name;

    IDirect3DTexture9* expected = MakeTexture(s_device, encoded);
    IDirect3DTexture9* actual = MakeTexture(s_device, stored);
    ASSERT_NE(expected, nullptr) << c.name;
    ASSERT_NE(actual, nullptr) << c.name;
    D3DSURFACE_DESC want, got;
    expected->GetLevelDesc(0, &want);
    actual->GetLevelDesc(0, &got);
    EXPECT_EQ(want.Format, got.Format) << c.name;
    EXPECT_EQ(want.Width, got.Width) << c.name;
    EXPECT_EQ(want.Height, got.Height) << c.name;
    ASSERT_EQ(expected->GetLevelCount(), actual->GetLevelCount()) << c.name;
    for (UINT level = 0; level < expected->GetLevelCount(); ++level) {
      std::vector<uint32_t> a = LevelPixels(expected, level), b = LevelPixels(actual, level);
      ASSERT_FALSE(a.empty()) << c.name;
      EXPECT_TRUE(a == b) << c.name << ": level " << level << " differs";
    }
    expected->Release();
    actual->Release();
  }
}
