#include "core/Platform.h"
#include "engine/SDxShader.h"

#include "EngineTestSupport.h"
#include "engine/SDxShaderDeferred.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxTexture.h"

#include <algorithm>
#include <math.h>

namespace {

const int kWidth = 800, kHeight = 450;
const float kGauss[7] = {0.199471f, 0.176033f, 0.120985f, 0.064759f,
                         0.026995f, 0.008764f, 0.002216f};

// A quad over the whole target in clip space at depth 0.5 (world = view =
// projection = identity puts the camera at the origin looking along +z),
// facing the camera: normal (0, 0, -1), binormal (0, 1, 0), tangent (1, 0, 0).
void DrawClipQuad(SDx* engine) {
  SDxVertex corners[4];
  const float xy[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
  for (int i = 0; i < 4; ++i) {
    corners[i].position = D3DXVECTOR3(xy[i][0], xy[i][1], 0.5f);
    corners[i].uv = D3DXVECTOR2((xy[i][0] + 1) / 2, (1 - xy[i][1]) / 2);
    corners[i].normal = D3DXVECTOR3(0, 0, -1);
    corners[i].binormal = D3DXVECTOR3(0, 1, 0);
    corners[i].tangent = D3DXVECTOR3(1, 0, 0);
  }
  IDirect3DDevice9* device = engine->m_device;
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetVertexDeclaration(engine->m_vertexDeclaration);
  device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, corners, sizeof(SDxVertex));
  engine->SetDefaultRenderStates();
}

void DrawWithEffect(SDx* engine, SDxEffect* effect) {
  UINT passes = 0;
  ASSERT_TRUE(effect->Begin(&passes));
  for (UINT p = 0; p < passes; ++p) {
    effect->BeginPass(p);
    DrawClipQuad(engine);
    effect->EndPass();
  }
  effect->End();
}

void SetVector(SDxEffect* effect, const char* name, float x, float y, float z, float w) {
  D3DXVECTOR4 v(x, y, z, w);
  ASSERT_TRUE(effect->SetVector(effect->GetParameterByName(name), &v)) << name;
}

// A 4 x 4 texture of one colour.
IDirect3DTexture9* MakeTexture(IDirect3DDevice9* device, D3DCOLOR color) {
  IDirect3DTexture9* texture = nullptr;
  if (FAILED(
          device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr)))
    return nullptr;
  D3DLOCKED_RECT locked;
  if (SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0))) {
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x)
        ((D3DCOLOR*)((uint8_t*)locked.pBits + y * locked.Pitch))[x] = color;
    }
    texture->UnlockRect(0);
  }
  return texture;
}

D3DMATERIAL9 MakeMaterial(const D3DCOLORVALUE& ambient, const D3DCOLORVALUE& diffuse,
                          const D3DCOLORVALUE& specular) {
  D3DMATERIAL9 material;
  memset(&material, 0, sizeof(material));
  material.Ambient = ambient;
  material.Diffuse = diffuse;
  material.Specular = specular;
  return material;
}

class SDxShaderTest : public EngineSuite {
protected:
  SDx* dx() { return s_engine; }
  IDirect3DDevice9* device() { return s_engine->m_device; }

  // The G-buffer effect over the whole screen into its four targets.
  void DrawGBuffer() {
    SDxEffect* effect = dx()->m_shaderGBuffer->m_effect;
    device()->BeginScene();
    device()->SetRenderTarget(0, dx()->m_colorRT.surface);
    device()->SetRenderTarget(1, dx()->m_normalRT.surface);
    device()->SetRenderTarget(2, dx()->m_infoRT.surface);
    device()->SetRenderTarget(3, dx()->m_mainA.surface);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    DrawWithEffect(dx(), effect);
    for (DWORD i = 3; i >= 1; --i) device()->SetRenderTarget(i, nullptr);
    device()->EndScene();
  }

  // The G-buffer pass over the whole screen with an object id; colour 0.5
  // grey (or the grey given), lit from the front by white light.
  void FillGBuffer(int objectId, float grey = 0.5f) {
    SDxEffect* effect = dx()->m_shaderGBuffer->m_effect;
    const D3DXMATRIX& identity = dx()->m_identity;
    effect->SetMatrix(effect->GetParameterByName("g_world"), &identity);
    effect->SetMatrix(effect->GetParameterByName("g_worldViewProj"), &identity);
    effect->SetMatrix(effect->GetParameterByName("g_view"), &identity);
    SetVector(effect, "g_ambientColor", grey, grey, grey, 1.0f);
    SetVector(effect, "g_worldAmbientColor", 1, 1, 1, 1);
    SetVector(effect, "g_diffuseColor", 1, 1, 1, 1);
    SetVector(effect, "g_specularColor", 0, 0, 0, 0);
    SetVector(effect, "g_lightDirection", 0, 0, 1, 0);
    SetVector(effect, "g_lightColor", 1, 1, 1, 1);
    effect->SetInt(effect->GetParameterByName("g_idObj"), objectId);
    DrawGBuffer();
  }

  // The deferred light alone into main B (cleared black).
  void DrawLight(const D3DXVECTOR3& position, float range, int skippedId) {
    SDxShaderDeferred* shader = dx()->m_shaderDeferred;
    SDxEffect* effect = shader->m_effect;
    const D3DXMATRIX& identity = dx()->m_identity;
    effect->SetMatrix(shader->m_world, &identity);
    effect->SetMatrix(shader->m_worldViewProj, &identity);
    effect->SetMatrix(shader->m_view, &identity);
    effect->SetTexture(shader->m_colorTexture, dx()->m_colorRT.texture);
    effect->SetTexture(shader->m_normalTexture, dx()->m_normalRT.texture);
    effect->SetTexture(shader->m_infoTexture, dx()->m_infoRT.texture);
    SetVector(effect, "g_lightPosition", position.x, position.y, position.z, 1);
    SetVector(effect, "g_lightColor", 1, 1, 1, 1);
    effect->SetFloat(shader->m_lightRange, range);
    effect->SetInt(shader->m_idObjSkipped, skippedId);
    device()->BeginScene();
    device()->SetRenderTarget(0, dx()->m_mainB.surface);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    DrawWithEffect(dx(), effect);
    device()->EndScene();
    for (DWORD stage = 0; stage < 3; ++stage) device()->SetTexture(stage, nullptr);
  }
};

TEST_F(SDxShaderTest, BuiltInEffectsAreCompiled) {
  SDxShader* shaders[] = {dx()->m_shaderDefault, dx()->m_shaderGBuffer, dx()->m_shaderDeferred,
                          dx()->m_shaderFog,     dx()->m_shaderDownSample, dx()->m_shaderBlurH,
                          dx()->m_shaderBlurV};
  for (SDxShader* shader : shaders) {
    ASSERT_TRUE(shader && shader->m_technique);
    float width = 0;
    shader->m_effect->GetFloat(shader->GetParameter("dx_width"), &width);
    EXPECT_EQ(800.0f, width);
  }
  float glossiness = 0;
  dx()->m_shaderGBuffer->m_effect->GetFloat(dx()->m_shaderGBuffer->m_glossiness, &glossiness);
  EXPECT_EQ(32.0f, glossiness);
}

TEST_F(SDxShaderTest, DownSampleAveragesBlocksOfFourByFour) {
  FillTarget(dx(), &dx()->m_mainA, D3DCOLOR_XRGB(128, 128, 128));
  RunScreenPass(dx()->m_shaderDownSample, &dx()->m_mainA, &dx()->m_quarterA);
  Pixels grey = ReadTarget(dx(), dx()->m_quarterA);
  ASSERT_EQ(200, grey.width);
  ASSERT_EQ(112, grey.height);
  for (int x : {0, 100, 199}) EXPECT_NEAR(128, grey.Red(x, x / 2), 1);

  // A white block of four columns lands in exactly one quarter-size column.
  FillTarget(dx(), &dx()->m_mainA, 0);
  RECT block = {8, 0, 12, kHeight};
  FillTarget(dx(), &dx()->m_mainA, D3DCOLOR_XRGB(255, 255, 255), &block);
  RunScreenPass(dx()->m_shaderDownSample, &dx()->m_mainA, &dx()->m_quarterA);
  Pixels blocks = ReadTarget(dx(), dx()->m_quarterA);
  EXPECT_NEAR(255, blocks.Red(2, 50), 1);
  EXPECT_NEAR(0, blocks.Red(1, 50), 1);
  EXPECT_NEAR(0, blocks.Red(3, 50), 1);
}

TEST_F(SDxShaderTest, BlursSpreadALineWithTheGaussianWeights) {
  // A white column blurred across, a white row blurred down.
  struct Case {
    SDxShader* blur;
    SDxEffect::Handle size;
    float value;
    RECT line;
    int dx, dy;
  } cases[] = {
      {dx()->m_shaderBlurH, dx()->m_blurHWidth, (float)kWidth, {400, 0, 401, kHeight}, 1, 0},
      {dx()->m_shaderBlurV, dx()->m_blurVHeight, (float)kHeight, {0, 200, kWidth, 201}, 0, 1},
  };
  for (const Case& c : cases) {
    FillTarget(dx(), &dx()->m_mainA, 0);
    FillTarget(dx(), &dx()->m_mainA, D3DCOLOR_XRGB(255, 255, 255), &c.line);
    c.blur->m_effect->SetFloat(c.size, c.value);
    RunScreenPass(c.blur, &dx()->m_mainA, &dx()->m_mainB);
    Pixels out = ReadTarget(dx(), dx()->m_mainB);
    for (int k = -8; k <= 8; ++k) {
      double expected = abs(k) <= 6 ? kGauss[abs(k)] * 255.0 : 0.0;
      int x = c.dx ? 400 + k : 300, y = c.dy ? 200 + k : 100;
      EXPECT_NEAR(expected, out.Green(x, y), 2.0) << "offset " << k;
    }
  }
}

TEST_F(SDxShaderTest, FogDarkensWithTheEyeDistance) {
  FillTarget(dx(), &dx()->m_mainA, D3DCOLOR_XRGB(255, 255, 255));
  // Eye distance (NormalRT w) 0.5 on the left, 1.0 in the middle, 0 right.
  FillTarget(dx(), &dx()->m_normalRT, D3DCOLOR_ARGB(0x80, 0, 0, 0));
  RECT farBand = {300, 0, 500, kHeight}, nearBand = {500, 0, kWidth, kHeight};
  FillTarget(dx(), &dx()->m_normalRT, D3DCOLOR_ARGB(0xFF, 0, 0, 0), &farBand);
  FillTarget(dx(), &dx()->m_normalRT, D3DCOLOR_ARGB(0, 0, 0, 0), &nearBand);
  dx()->SetFog(0.0f, 1.0f);
  SDxShader* fog = dx()->m_shaderFog;
  fog->m_effect->SetTexture(fog->m_normalTexture, dx()->m_normalRT.texture);
  RunScreenPass(fog, &dx()->m_mainA, &dx()->m_mainB);
  Pixels out = ReadTarget(dx(), dx()->m_mainB);
  EXPECT_NEAR(255 * (1 - 128 / 255.0), out.Red(100, 100), 2.0);
  EXPECT_NEAR(0, out.Red(400, 100), 1.0);
  EXPECT_NEAR(255, out.Red(700, 100), 1.0);
  dx()->SetFog(0.0f, 10000.0f);
  fog->m_effect->SetTexture(fog->m_normalTexture, nullptr);
}

TEST_F(SDxShaderTest, GBufferWritesColourNormalDepthIdAndTheLitPicture) {
  FillGBuffer(300);
  Pixels info = ReadTarget(dx(), dx()->m_infoRT);
  // Object id 300: x = 2 / 127, y = 44 / 127 in 8-bit channels.
  EXPECT_EQ(4, info.Red(10, 10));
  EXPECT_EQ(88, info.Green(790, 440));
  Pixels color = ReadTarget(dx(), dx()->m_colorRT);
  EXPECT_NEAR(128, color.Red(400, 225), 1);
  Pixels normal = ReadTarget(dx(), dx()->m_normalRT);
  EXPECT_NEAR(0.0f, normal.Float(400, 225, 0), 0.01f);
  EXPECT_NEAR(-1.0f, normal.Float(400, 225, 2), 0.01f);
  // Every corner lies sqrt(1 + 1 + 0.25) = 1.5 from the camera.
  EXPECT_NEAR(1.5f, normal.Float(400, 225, 3), 0.01f);
  Pixels lit = ReadTarget(dx(), dx()->m_mainA);
  // Ambient 0.5 x 0.5 plus diffuse 0.5 x (n . l = 1).
  EXPECT_NEAR(0.75 * 255, lit.Red(400, 225), 2.0);
}

TEST_F(SDxShaderTest, DefaultEffectTintsWithAmbientContrastAndBrightness) {
  SDxShaderDefault* shader = dx()->m_shaderDefault;
  SDxEffect* effect = shader->m_effect;
  const D3DXMATRIX& identity = dx()->m_identity;
  effect->SetMatrix(shader->m_worldViewProj, &identity);
  SetVector(effect, "g_worldAmbientColor", 0.5f, 0.5f, 0.5f, 1);
  IDirect3DTexture9* green = MakeTexture(device(), D3DCOLOR_XRGB(0, 255, 0));
  ASSERT_NE(nullptr, green);
  auto draw = [&]() {
    device()->BeginScene();
    device()->SetRenderTarget(0, dx()->m_mainA.surface);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    DrawWithEffect(dx(), effect);
    device()->EndScene();
    return ReadTarget(dx(), dx()->m_mainA);
  };
  D3DMATERIAL9 material = MakeMaterial({1.0f, 0.5f, 0.25f, 1.0f}, {0, 0, 0, 1}, {0, 0, 0, 1});

  // The texture of an earlier object is let go: white tinted by the world
  // ambient and the material's ambient colour, (1 - 0.1) x 1.5 = 1.35.
  effect->SetTexture(shader->m_colorTexture, green);
  effect->SetBool(shader->m_hasColorMap, true);
  shader->SetMaterial(nullptr, material);
  EXPECT_EQ(nullptr, effect->GetTexture(shader->m_colorTexture));
  dx()->SetContrast(0.1f);
  dx()->SetBrightness(0.5f);
  Pixels plain = draw();
  EXPECT_NEAR(1.35 * 0.5 * 1.0 * 255, plain.Red(400, 225), 2.0);
  EXPECT_NEAR(1.35 * 0.5 * 0.5 * 255, plain.Green(400, 225), 2.0);
  EXPECT_NEAR(1.35 * 0.5 * 0.25 * 255, plain.Blue(400, 225), 2.0);
  dx()->SetContrast(0.0f);
  dx()->SetBrightness(0.0f);

  // With a texture object: its texture tinted the same way.
  SetVector(effect, "g_worldAmbientColor", 1, 1, 1, 1);
  SDxTexture texture(dx());
  texture.m_texture = green;
  shader->SetMaterial(&texture, material);
  Pixels textured = draw();
  EXPECT_NEAR(0, textured.Red(400, 225), 2.0);
  EXPECT_NEAR(128, textured.Green(400, 225), 2.0);
  shader->SetMaterial(nullptr, MakeMaterial({1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}));
}

TEST_F(SDxShaderTest, MaterialColoursAndTexturesReachTheGBufferEffect) {
  SDxShaderGBuffer* shader = dx()->m_shaderGBuffer;
  SDxEffect* effect = shader->m_effect;
  const D3DXMATRIX& identity = dx()->m_identity;
  effect->SetMatrix(shader->m_world, &identity);
  effect->SetMatrix(shader->m_worldViewProj, &identity);
  effect->SetMatrix(shader->m_view, &identity);
  SetVector(effect, "g_worldAmbientColor", 1, 1, 1, 1);
  SetVector(effect, "g_lightDirection", 0, 0, 1, 0);
  SetVector(effect, "g_lightColor", 1, 1, 1, 1);
  IDirect3DTexture9* green = MakeTexture(device(), D3DCOLOR_XRGB(0, 255, 0));
  IDirect3DTexture9* flat = MakeTexture(device(), D3DCOLOR_XRGB(128, 128, 255));
  ASSERT_TRUE(green && flat);
  D3DMATERIAL9 material =
      MakeMaterial({0.5f, 0.5f, 0.25f, 1.0f}, {0.5f, 0.0f, 0.0f, 1.0f}, {0, 0, 0.5f, 1});

  // Without a texture the surface colour is the ambient colour.
  shader->SetMaterial(nullptr, material);
  DrawGBuffer();
  Pixels color = ReadTarget(dx(), dx()->m_colorRT);
  EXPECT_NEAR(64, color.Blue(400, 225), 2.0);
  // Lit and seen from the front: ambient colour x colour, diffuse colour
  // (0.5, 0, 0) x colour, and the whole specular colour (0, 0, 0.5).
  Pixels lit = ReadTarget(dx(), dx()->m_mainA);
  EXPECT_NEAR((0.25 + 0.25) * 255, lit.Red(400, 225), 3.0);
  EXPECT_NEAR(0.25 * 255, lit.Green(400, 225), 3.0);
  EXPECT_NEAR((0.0625 + 0.5) * 255, lit.Blue(400, 225), 3.0);

  // A texture object with its normal map: both textures and both flags.
  SDxTexture texture(dx());
  texture.m_texture = green;
  texture.m_normalMap = new SDxTexture(dx());
  texture.m_normalMap->m_texture = flat;
  shader->SetMaterial(&texture, material);
  EXPECT_EQ(flat, effect->GetTexture(shader->m_normalTexture));
  DrawGBuffer();
  color = ReadTarget(dx(), dx()->m_colorRT);
  EXPECT_NEAR(0, color.Red(400, 225), 2.0);
  EXPECT_NEAR(255, color.Green(400, 225), 2.0);

  shader->SetMaterial(nullptr, MakeMaterial({1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}));
}

TEST_F(SDxShaderTest, DeferredLightAddsHalfLambertWithLinearFallOffBesideItsObject) {
  FillGBuffer(300);
  D3DXVECTOR3 light(0.5f, 0.25f, 1.0f);
  // The id is decoded exactly: only the light's own object stays dark.
  DrawLight(light, 4.0f, 300);
  EXPECT_EQ(0u, ReadTarget(dx(), dx()->m_mainB).At(400, 225) & 0xFFFFFF);
  for (int other : {299, 301, 428}) {
    DrawLight(light, 4.0f, other);
    EXPECT_GT(ReadTarget(dx(), dx()->m_mainB).Red(400, 225), 50) << "skipped id " << other;
  }

  const float range = 4.0f;
  DrawLight(light, range, 0);  // no object
  Pixels out = ReadTarget(dx(), dx()->m_mainB);
  const float colour = 128 / 255.0f;  // ColorRT
  for (int px : {200, 400, 600}) {
    int py = 225;
    // The pixel's view ray from the camera at the origin, the surface at the
    // eye distance 1.5 along it, the normal (0, 0, -1).
    D3DXVECTOR3 ray(2.0f * px / kWidth - 1.0f, 1.0f - 2.0f * py / kHeight, 0.5f);
    D3DXVec3Normalize(&ray, &ray);
    D3DXVECTOR3 surface = ray * 1.5f;
    D3DXVECTOR3 toLight = light - surface;
    float distance = D3DXVec3Length(&toLight);
    float lambert = -toLight.z / distance * 0.5f + 0.5f;
    float falloff = 1.0f - distance / range;
    double expected = colour * lambert * falloff * 255.0;
    EXPECT_NEAR(expected, out.Red(px, py), 3.0) << "pixel " << px;
    EXPECT_EQ(out.Red(px, py), out.Blue(px, py));
  }
}

TEST_F(SDxShaderTest, DeferredValueFloorsTheColourThatPointLightsLight) {
  SDxShaderDeferred* shader = dx()->m_shaderDeferred;
  const D3DXVECTOR3 light(0.0f, 0.0f, 1.0f);
  const float range = 4.0f;
  // The centre pixel: the surface 1.5 ahead facing the light 0.5 before
  // it (half-Lambert 1), at an eighth of the range.
  const double lit = 255 * (1.0 - 0.5 / range);
  const struct {
    float value, grey;
    double expected;  // red at the centre
  } cases[] = {
      {0.0f, 0.0f, 0.0},  // a black surface takes nothing
      {0.1f, 0.0f, 0.1 * lit},
      {0.1f, 0.05f, 0.1 * lit},         // a dark one is lit as if it were 0.1
      {0.1f, 0.5f, 128 / 255.0 * lit},  // a brighter one as it is
  };
  for (const auto& c : cases) {
    dx()->SetDeferredValue(c.value);
    float stored = -1.0f;
    ASSERT_TRUE(shader->m_effect->GetFloat(shader->m_lightAmbientMin, &stored));
    EXPECT_FLOAT_EQ(c.value, stored);
    FillGBuffer(300, c.grey);
    DrawLight(light, range, 0);
    EXPECT_NEAR(c.expected, ReadTarget(dx(), dx()->m_mainB).Red(400, 225), 3.0)
        << c.value << " over " << c.grey;
  }
  dx()->SetDeferredValue(0.0f);
}

TEST_F(SDxShaderTest, GameScreenEffects) {
  SDxShader fade(dx()), grey(dx()), speed(dx());
  ASSERT_TRUE(fade.Create(SDxShader::TEXT_FADE, true)) << fade.GetErrors().GetText();
  ASSERT_TRUE(grey.Create(SDxShader::TEXT_GREY, true)) << grey.GetErrors().GetText();
  ASSERT_TRUE(speed.Create(SDxShader::TEXT_SPEED_BLUR, true)) << speed.GetErrors().GetText();

  FillTarget(dx(), &dx()->m_mainA, D3DCOLOR_XRGB(200, 100, 50));
  fade.m_effect->SetFloat(fade.m_alpha, 0.5f);
  RunScreenPass(&fade, &dx()->m_mainA, &dx()->m_mainB);
  Pixels faded = ReadTarget(dx(), dx()->m_mainB);
  EXPECT_NEAR(100, faded.Red(10, 10), 1);
  EXPECT_NEAR(25, faded.Blue(10, 10), 1);

  FillTarget(dx(), &dx()->m_mainA, D3DCOLOR_XRGB(255, 0, 0));
  RunScreenPass(&grey, &dx()->m_mainA, &dx()->m_mainB);
  Pixels grey1 = ReadTarget(dx(), dx()->m_mainB);
  EXPECT_NEAR(0.2125 * 255, grey1.Red(10, 10), 1.5);
  EXPECT_NEAR(0.2125 * 255, grey1.Green(10, 10), 1.5);
}

}  // namespace
