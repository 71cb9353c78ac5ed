#include "core/Platform.h"
#include "engine/SDxEffect.h"

#include "EngineTestSupport.h"

#include <string>

namespace {

// A screen effect that writes one register of a matrix parameter: which
// register holds what shows the packing.
const char* const kMatrixText = R"(
float4x4 g_m : register(ps, c0);
technique Default {
  pass p0 {
    PixelShader = asm {
      ps_3_0
      mov oC0, c1
    };
  }
}
)";

std::string WithBody(const char* declarations, const char* pass) {
  return std::string(declarations) + "\ntechnique Default { pass p0 { " + pass + " } }\n";
}

const char* const kPixelShader = "PixelShader = asm { ps_3_0\n def c0, 1, 0, 0, 1\n mov oC0, c0 };";

// Every effect text of the engine and the game assembles on a device of its
// own (so that a broken text shows its assembler message here, not only as
// "Cannot create Shaders" from the engine).
TEST(SDxEffectTextTest, EveryTextAssembles) {
  std::unique_ptr<SWnd> window = MakeEngineWindow();
  IDirect3D9* d3d = ::Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(nullptr, d3d);
  D3DPRESENT_PARAMETERS pp = {};
  pp.BackBufferWidth = 64;
  pp.BackBufferHeight = 64;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = window->m_hWnd;
  pp.Windowed = TRUE;
  IDirect3DDevice9* device = nullptr;
  ASSERT_TRUE(SUCCEEDED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window->m_hWnd,
                                          D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device)));
  const struct {
    const char* name;
    const char* text;
  } texts[] = {
      {"Default", SDxShader::TEXT_DEFAULT},
      {"G-buffer", SDxShader::TEXT_GBUFFER},
      {"deferred light", SDxShader::TEXT_DEFERRED},
      {"fog", SDxShader::TEXT_FOG},
      {"down-sample", SDxShader::TEXT_DOWNSAMPLE},
      {"horizontal blur", SDxShader::TEXT_BLUR_HORIZONTAL},
      {"vertical blur", SDxShader::TEXT_BLUR_VERTICAL},
      {"fade", SDxShader::TEXT_FADE},
      {"grey", SDxShader::TEXT_GREY},
      {"speed blur", SDxShader::TEXT_SPEED_BLUR},
  };
  for (const auto& t : texts) {
    SDxEffect effect(device);
    EXPECT_TRUE(effect.Create(t.text, (int)strlen(t.text), D3DXSHADER_PACKMATRIX_COLUMNMAJOR))
        << t.name << ": " << effect.GetErrors().GetText();
    EXPECT_NE(nullptr, effect.GetTechniqueByName("Default")) << t.name;
    EXPECT_NE(nullptr, effect.GetParameterByName("dx_width")) << t.name;
  }
  device->Release();
  d3d->Release();
}

class SDxEffectTest : public EngineSuite {
protected:
  bool CreateEffect(SDxEffect* effect, const std::string& text, DWORD flags = D3DXSHADER_PACKMATRIX_COLUMNMAJOR) {
    return effect->Create(text.c_str(), (int)text.size(), flags);
  }
};

TEST_F(SDxEffectTest, MalformedTextsFailWithAMessage) {
  struct Case {
    std::string text;
    const char* message;  // a part of the expected message
  } cases[] = {
      {WithBody("floot g_a;", kPixelShader), "unknown type \"floot\""},
      {WithBody("float g_a : register(ps, c0);", kPixelShader).substr(0, 80), "unbalanced"},
      {std::string("float g_a;\ntechnique Default { pass p0 { ") + kPixelShader + " }", "unbalanced"},
      {WithBody("float g_a;", "PixelShader = asm { ps_3_0\n mov oC0, q7 };"), "assembler"},
      {WithBody("float g_a;", "VertexShader = asm { ps_3_0\n mov oC0, c0 };"), "no vertex shader"},
      {"float g_a : register(ps, c0);\n", "no technique"},
      {WithBody("float4 g_a : register(ps, c3);\nfloat4x4 g_b : register(ps, c0);", kPixelShader),
       "register c3 of the pixel shader is used by \"g_a\" and \"g_b\""},
      {WithBody("float2 g_a = {1, 2, 3};", kPixelShader), "needs 2 initial values, not 3"},
      {WithBody("texture t;\nsampler2D s : register(s0) = sampler_state { Filter = Linear; };", kPixelShader),
       "unknown sampler state"},
      {WithBody("float g_a;", "PixelShader = compile ps_3_0 main();"), "only assembly"},
      {WithBody("float g_a /* open", kPixelShader), "unterminated comment"},
      // Numbers are read whole: no tail is dropped.
      {WithBody("float g_a = 1.2.3;", kPixelShader), "malformed \"1.2.3\""},
      {WithBody("float g_a = 0x;", kPixelShader), "malformed \"0x\""},
      {WithBody("float g_a = 1e;", kPixelShader), "malformed \"1e\""},
      {WithBody("float g_a = 2px;", kPixelShader), "malformed \"2px\""},
      {WithBody("float2 g_a = float2(1, 2.5.1);", kPixelShader), "malformed \"2.5.1\""},
      {WithBody("float g_a[1e1];", kPixelShader), "bad array size"},
      // Register numbers beyond any register are refused, not wrapped.
      {WithBody("float g_a : register(ps, c4294967296);", kPixelShader), "bad register \"c4294967296\""},
      {WithBody("float g_a : register(ps, c4294967297);", kPixelShader), "bad register"},
      {WithBody("float g_a : register(c-1);", kPixelShader), "bad register"},
      {WithBody("float g_a;\ntexture t;\nsampler2D s : register(s4294967296);", kPixelShader), "register(sN)"},
  };
  for (const Case& c : cases) {
    SDxEffect effect(s_engine->m_device);
    EXPECT_FALSE(CreateEffect(&effect, c.text)) << c.text;
    EXPECT_FALSE(effect.IsCreated());
    EXPECT_NE(std::string(effect.GetErrors().GetText()).find(c.message), std::string::npos)
        << "text: " << c.text << "\nmessage: " << effect.GetErrors().GetText();
    EXPECT_EQ(nullptr, effect.GetParameterByName("g_a"));
  }
}

TEST_F(SDxEffectTest, WellFormedNumbersKeepTheirValues) {
  SDxEffect effect(s_engine->m_device);
  std::string text = WithBody(
      "float4 g_a : register(ps, c0) = {1.5f, .5, 2e-1, 3.};\n"
      "float g_b : register(ps, c200) = -4E+1h;\n"
      "float g_c[2] = {1, 2};",
      kPixelShader);
  ASSERT_TRUE(CreateEffect(&effect, text)) << effect.GetErrors().GetText();
  D3DXVECTOR4 a;
  ASSERT_TRUE(effect.GetVector(effect.GetParameterByName("g_a"), &a));
  EXPECT_EQ(D3DXVECTOR4(1.5f, 0.5f, 0.2f, 3.0f), a);
  float b = 0;
  ASSERT_TRUE(effect.GetFloat(effect.GetParameterByName("g_b"), &b));
  EXPECT_EQ(-40.0f, b);
}

// A "}" inside a comment of an asm block does not end the block.
TEST_F(SDxEffectTest, BracesInAsmCommentsDoNotEndTheBlock) {
  const char* text = R"(
technique Default {
  pass p0 {
    PixelShader = asm {
      ps_3_0
      // the block ends at the last }, not this one
      def c0, 0, 1, 0, 1   ; nor at this }
      /* nor at
         this } */
      mov oC0, c0
    };
  }
}
)";
  SDxEffect* effect = new SDxEffect(s_engine->m_device);
  ASSERT_TRUE(CreateEffect(effect, text)) << effect->GetErrors().GetText();
  SDxShader shader(s_engine);
  shader.m_effect = effect;
  RunScreenPass(&shader, &s_engine->m_mainA, &s_engine->m_mainB);
  shader.m_effect = nullptr;
  delete effect;
  Pixels out = ReadTarget(s_engine, s_engine->m_mainB);
  ASSERT_EQ(800, out.width);
  EXPECT_EQ(0x00FF00u, out.At(10, 10) & 0xFFFFFF);

  // A block comment left open inside the block is reported as such.
  SDxEffect open(s_engine->m_device);
  EXPECT_FALSE(CreateEffect(&open, WithBody("float g_a;", "PixelShader = asm { ps_3_0 /* } };")));
  EXPECT_NE(std::string(open.GetErrors().GetText()).find("unterminated comment"), std::string::npos)
      << open.GetErrors().GetText();
}

TEST_F(SDxEffectTest, ShaderNeedsTheDefaultTechniqueWithTheStandardFlag) {
  std::string text = std::string("float g_alpha : register(ps, c0) = 0.5;\ntechnique Other { pass p0 { ") +
                     kPixelShader + " } }";
  SDxShader shader(s_engine);
  EXPECT_FALSE(shader.Create(text.c_str(), true));
  EXPECT_EQ(nullptr, shader.GetEffect());
  EXPECT_NE(std::string(shader.GetErrors().GetText()).find("Default"), std::string::npos);
  EXPECT_TRUE(shader.Create(text.c_str(), false));
  // An empty text fails before anything is released.
  EXPECT_FALSE(shader.Create("", true));
  EXPECT_NE(nullptr, shader.GetEffect());
}

TEST_F(SDxEffectTest, LookUpAndConversionsFollowTheParameterType) {
  SDxEffect effect(s_engine->m_device);
  std::string text = WithBody(
      "float g_f : register(ps, c0) = 0.5;\n"
      "int g_i : register(ps, c1) = 3;\n"
      "bool g_b : register(ps, b0) = true;\n"
      "float3 g_v : register(ps, c2) = float3(1, 2, 3);\n"
      "float2 g_a[2] = {{1, 2}, {3, 4}};\n"
      "texture g_t;",
      kPixelShader);
  ASSERT_TRUE(CreateEffect(&effect, text)) << effect.GetErrors().GetText();
  EXPECT_NE(nullptr, effect.GetTechniqueByName("Default"));
  EXPECT_EQ(nullptr, effect.GetTechniqueByName("Other"));
  EXPECT_EQ(nullptr, effect.GetParameterByName("g_missing"));

  SDxEffect::Handle f = effect.GetParameterByName("g_f");
  SDxEffect::Handle i = effect.GetParameterByName("g_i");
  SDxEffect::Handle b = effect.GetParameterByName("g_b");
  SDxEffect::Handle v = effect.GetParameterByName("g_v");
  float value = 0;
  ASSERT_TRUE(effect.GetFloat(f, &value));
  EXPECT_FLOAT_EQ(0.5f, value);
  EXPECT_TRUE(effect.SetInt(f, 7));
  effect.GetFloat(f, &value);
  EXPECT_FLOAT_EQ(7.0f, value);
  EXPECT_TRUE(effect.SetFloat(i, 2.75f));
  effect.GetFloat(i, &value);
  EXPECT_FLOAT_EQ(2.0f, value);
  EXPECT_TRUE(effect.SetFloat(b, 0.25f));
  effect.GetFloat(b, &value);
  EXPECT_FLOAT_EQ(1.0f, value);
  D3DXVECTOR4 vector(9, 8, 7, 6);
  EXPECT_TRUE(effect.SetVector(v, &vector));
  D3DXVECTOR4 back;
  ASSERT_TRUE(effect.GetVector(v, &back));
  EXPECT_EQ(D3DXVECTOR4(9, 8, 7, 0), back);
  float values[4] = {5, 6, 7, 8};
  EXPECT_TRUE(effect.SetFloatArray(effect.GetParameterByName("g_a"), values, 4));

  // A null handle, a handle of another effect and a parameter of another
  // kind are ignored.
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  EXPECT_FALSE(effect.SetFloat(nullptr, 1.0f));
  EXPECT_FALSE(effect.SetMatrix(f, &m));
  EXPECT_FALSE(effect.SetTexture(f, nullptr));
  EXPECT_FALSE(effect.SetFloat(effect.GetParameterByName("g_t"), 1.0f));
  SDxEffect other(s_engine->m_device);
  ASSERT_TRUE(CreateEffect(&other, text));
  EXPECT_FALSE(effect.SetFloat(other.GetParameterByName("g_f"), 1.0f));
  EXPECT_FALSE(effect.SetTechnique(other.GetTechniqueByName("Default")));

  // The effect holds a reference to its texture until it lets it go.
  IDirect3DTexture9* texture = nullptr;
  ASSERT_TRUE(SUCCEEDED(s_engine->m_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                                          nullptr)));
  EXPECT_TRUE(effect.SetTexture(effect.GetParameterByName("g_t"), texture));
  EXPECT_EQ(texture, effect.GetTexture(effect.GetParameterByName("g_t")));
  texture->AddRef();
  EXPECT_EQ(3u, texture->Release() + 1);
  effect.Release();
  EXPECT_EQ(0u, texture->Release());
  EXPECT_EQ(nullptr, effect.GetParameterByName("g_f"));
}

TEST_F(SDxEffectTest, PassesRunInOrderOnly) {
  SDxEffect effect(s_engine->m_device);
  ASSERT_TRUE(CreateEffect(&effect, WithBody("float g_a;", kPixelShader)));
  UINT passes = 0;
  EXPECT_FALSE(effect.BeginPass(0));
  EXPECT_FALSE(effect.CommitChanges());
  ASSERT_TRUE(effect.Begin(&passes));
  EXPECT_EQ(1u, passes);
  EXPECT_FALSE(effect.Begin(&passes));
  EXPECT_FALSE(effect.BeginPass(1));
  EXPECT_TRUE(effect.BeginPass(0));
  EXPECT_TRUE(effect.CommitChanges());
  EXPECT_TRUE(effect.EndPass());
  EXPECT_FALSE(effect.EndPass());
  EXPECT_TRUE(effect.End());
  EXPECT_FALSE(effect.End());
}

TEST_F(SDxEffectTest, MatricesArePackedByColumnsOrByRows) {
  D3DXMATRIX m(0.1f, 0.2f, 0.3f, 0.4f,   // row 0
               0.5f, 0.6f, 0.7f, 0.8f,   // row 1
               0.9f, 1.0f, 0.0f, 0.25f,  // row 2
               0.0f, 0.75f, 0.5f, 1.0f);
  struct Case {
    DWORD flags;
    const char* prefix;
    float expected[4];  // register c1 as red, green, blue, alpha
  } cases[] = {
      {D3DXSHADER_PACKMATRIX_COLUMNMAJOR, "", {0.2f, 0.6f, 1.0f, 0.75f}},
      {D3DXSHADER_PACKMATRIX_ROWMAJOR, "", {0.5f, 0.6f, 0.7f, 0.8f}},
      {D3DXSHADER_PACKMATRIX_COLUMNMAJOR, "row_major ", {0.5f, 0.6f, 0.7f, 0.8f}},
  };
  SDxShader shader(s_engine);
  for (const Case& c : cases) {
    std::string text = std::string(c.prefix) + kMatrixText;
    SDxEffect* effect = new SDxEffect(s_engine->m_device);
    ASSERT_TRUE(CreateEffect(effect, text, c.flags)) << effect->GetErrors().GetText();
    ASSERT_TRUE(effect->SetMatrix(effect->GetParameterByName("g_m"), &m));
    shader.m_effect = effect;
    RunScreenPass(&shader, &s_engine->m_mainA, &s_engine->m_mainB);
    shader.m_effect = nullptr;
    delete effect;
    Pixels out = ReadTarget(s_engine, s_engine->m_mainB);
    ASSERT_EQ(800, out.width);
    // The target has no alpha: red, green and blue tell the register.
    EXPECT_NEAR(c.expected[0] * 255, out.Red(10, 10), 1.0) << c.prefix << c.flags;
    EXPECT_NEAR(c.expected[1] * 255, out.Green(10, 10), 1.0) << c.prefix << c.flags;
    EXPECT_NEAR(c.expected[2] * 255, out.Blue(10, 10), 1.0) << c.prefix << c.flags;
  }
}

}  // namespace
