// The night-vision effect file, taken from the effect archive with the
// game's key, is read by the engine's effect runtime and, drawn over a grey
// picture, shows it green inside the opening of radius g_radius and black
// outside.
#include "core/Platform.h"

#include "core/SFileMem.h"
#include "engine/SDxEffect.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/TestDevice.h"

#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>

namespace {

const int kWidth = 64;
const int kHeight = 32;

class EffectDataTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { s_device = TestDevice::Create(kWidth, kHeight); }
  static void TearDownTestSuite() {
    TestDevice::Destroy();
    s_device = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(s_device, nullptr) << "no Direct3D device";
    SResource archive;
    ASSERT_TRUE(GameArchives::Open(archive, "fx"));
    ASSERT_TRUE(GameArchives::Load(archive, "pp_nightvision.fx", m_file));
  }

  // Draws the effect over a solid picture of the given colour into a
  // kWidth x kHeight target and reads the result back; false on a device
  // failure.
  bool Draw(SDxEffect& effect, D3DCOLOR input, uint32_t* pixels) {
    IDirect3DTexture9* picture = nullptr;
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* copy = nullptr;
    IDirect3DSurface9* previous = nullptr;
    bool ok = SUCCEEDED(s_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &picture, nullptr)) &&
              SUCCEEDED(s_device->CreateRenderTarget(kWidth, kHeight, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                                     &target, nullptr)) &&
              SUCCEEDED(s_device->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                              &copy, nullptr));
    D3DLOCKED_RECT locked;
    if (ok && SUCCEEDED(picture->LockRect(0, &locked, nullptr, 0))) {
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ((D3DCOLOR*)((uint8_t*)locked.pBits + y * locked.Pitch))[x] = input;
      picture->UnlockRect(0);
    }
    struct Vertex {
      float x, y, z, rhw, u, v;
    };
    // Pixel centres sample the picture at (x + 0.5) / width.
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                            {kWidth - 0.5f, -0.5f, 0, 1, 1, 0},
                            {-0.5f, kHeight - 0.5f, 0, 1, 0, 1},
                            {kWidth - 0.5f, kHeight - 0.5f, 0, 1, 1, 1}};
    if (ok) {
      s_device->GetRenderTarget(0, &previous);
      s_device->SetRenderTarget(0, target);
      s_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
      s_device->SetTexture(0, picture);
      s_device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
      UINT passes = 0;
      ok = SUCCEEDED(s_device->BeginScene()) && effect.Begin(&passes) && passes == 1 && effect.BeginPass(0);
      if (ok) {
        ok = SUCCEEDED(s_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)));
        effect.EndPass();
        effect.End();
      }
      s_device->EndScene();
      s_device->SetTexture(0, nullptr);
      s_device->SetRenderTarget(0, previous);
      ok = ok && SUCCEEDED(s_device->GetRenderTargetData(target, copy)) &&
           SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY));
      if (ok) {
        for (int y = 0; y < kHeight; ++y)
          memcpy(pixels + y * kWidth, (uint8_t*)locked.pBits + y * locked.Pitch, kWidth * 4);
        copy->UnlockRect();
      }
    }
    if (previous) previous->Release();
    if (copy) copy->Release();
    if (target) target->Release();
    if (picture) picture->Release();
    return ok;
  }

  static int Red(uint32_t c) { return (c >> 16) & 0xFF; }
  static int Green(uint32_t c) { return (c >> 8) & 0xFF; }
  static int Blue(uint32_t c) { return c & 0xFF; }

  static IDirect3DDevice9* s_device;
  SFileMem m_file;
};

IDirect3DDevice9* EffectDataTest::s_device = nullptr;

TEST_F(EffectDataTest, ReadsWithDefaultTechniqueAndRadius) {
  SDxEffect effect(s_device);
  ASSERT_TRUE(effect.Create((const char*)m_file.GetBuffer(), m_file.GetSize(),
                            D3DXSHADER_OPTIMIZATION_LEVEL3 | D3DXSHADER_PACKMATRIX_COLUMNMAJOR))
      << effect.GetErrors().GetText();
  EXPECT_NE(effect.GetTechniqueByName("Default"), nullptr);
  SDxEffect::Handle radius = effect.GetParameterByName("g_radius");
  ASSERT_NE(radius, nullptr);
  float value = 0;
  EXPECT_TRUE(effect.GetFloat(radius, &value));
  EXPECT_FLOAT_EQ(value, 1.0f);
  EXPECT_NE(effect.GetParameterByName("dx_width"), nullptr);
  EXPECT_NE(effect.GetParameterByName("dx_height"), nullptr);
}

TEST_F(EffectDataTest, GreenInsideTheOpeningBlackOutside) {
  SDxEffect effect(s_device);
  ASSERT_TRUE(effect.Create((const char*)m_file.GetBuffer(), m_file.GetSize(),
                            D3DXSHADER_OPTIMIZATION_LEVEL3 | D3DXSHADER_PACKMATRIX_COLUMNMAJOR))
      << effect.GetErrors().GetText();
  effect.SetFloat(effect.GetParameterByName("dx_width"), (float)kWidth);
  effect.SetFloat(effect.GetParameterByName("dx_height"), (float)kHeight);
  SDxEffect::Handle radius = effect.GetParameterByName("g_radius");
  static uint32_t pixels[kWidth * kHeight];

  // Fully open: the middle of a grey picture is bright green, a pixel
  // two thirds of the way to the side still lit.
  effect.SetFloat(radius, 1.0f);
  ASSERT_TRUE(Draw(effect, 0xFF808080, pixels));
  uint32_t centre = pixels[16 * kWidth + 32];
  EXPECT_GE(Green(centre), 200);
  EXPECT_LT(Red(centre), Green(centre) / 2);
  EXPECT_LT(Blue(centre), Green(centre) / 2);
  uint32_t side = pixels[16 * kWidth + 8];
  EXPECT_GE(Green(side), 150);
  // Scan lines: the next row is darker by a fifth.
  uint32_t below = pixels[17 * kWidth + 32];
  EXPECT_NEAR(Green(below), Green(centre) * 0.8, 3.0);

  // Half closed: the middle stays, the side pixel is outside the opening.
  effect.SetFloat(radius, 0.5f);
  ASSERT_TRUE(Draw(effect, 0xFF808080, pixels));
  EXPECT_EQ(pixels[16 * kWidth + 32] & 0xFFFFFF, centre & 0xFFFFFF);
  EXPECT_EQ(pixels[16 * kWidth + 8] & 0xFFFFFF, 0u);

  // Closed to the smallest radius the game sets: all black.
  effect.SetFloat(radius, 1.1920929e-07f);
  ASSERT_TRUE(Draw(effect, 0xFF808080, pixels));
  uint32_t brightest = 0;
  for (uint32_t p : pixels) brightest = Green(p) > (int)brightest ? Green(p) : brightest;
  EXPECT_EQ(brightest, 0u);
}

}  // namespace
