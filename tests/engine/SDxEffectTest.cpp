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

class SDxEffectTest : public EngineSuite {
protected:
  bool CreateEffect(SDxEffect* effect, const std::string& text,
                    DWORD flags = D3DXSHADER_PACKMATRIX_COLUMNMAJOR) {
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
      {std::string("float g_a;\ntechnique Default { pass p0 { ") + kPixelShader + " }",
       "unbalanced"},
      {WithBody("float g_a;", "PixelShader = asm { ps_3_0\n mov oC0, q7 };"), "assembler"},
      {WithBody("float g_a;", "VertexShader = asm { ps_3_0\n mov oC0, c0 };"), "no vertex shader"},
      {"float g_a : register(ps, c0);\n", "no technique"},
      {WithBody("float4 g_a : register(ps, c3);\nfloat4x4 g_b : register(ps, c0);", kPixelShader),
       "register c3 of the pixel shader is used by \"g_a\" and \"g_b\""},
      {WithBody("float2 g_a = {1, 2, 3};", kPixelShader), "needs 2 initial values, not 3"},
      {WithBody("texture t;\nsampler2D s : register(s0) = sampler_state { Filter = Linear; };",
                kPixelShader),
       "unknown sampler state"},
      {WithBody("float g_a;", "PixelShader = compile ps_3_0 main();"), "only assembly"},
      {WithBody("float g_a /* open", kPixelShader), "unterminated comment"},
      {WithBody("float g_a;", "PixelShader = asm { ps_3_0 /* } };"), "unterminated comment"},
      // Numbers are read whole: no tail is dropped.
      {WithBody("float g_a = 1.2.3;", kPixelShader), "malformed \"1.2.3\""},
      {WithBody("float g_a = 2px;", kPixelShader), "malformed \"2px\""},
      {WithBody("float g_a[1e1];", kPixelShader), "bad array size"},
      // Register numbers beyond any register are refused, not wrapped.
      {WithBody("float g_a : register(ps, c4294967296);", kPixelShader),
       "bad register \"c4294967296\""},
      {WithBody("float g_a;\ntexture t;\nsampler2D s : register(s4294967296);", kPixelShader),
       "register(sN)"},
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
  EXPECT_EQ(0x00FF00u, ReadTarget(s_engine, s_engine->m_mainB).At(10, 10) & 0xFFFFFF);
}

TEST_F(SDxEffectTest, ShaderNeedsTheDefaultTechniqueWithTheStandardFlag) {
  std::string text =
      std::string("float g_alpha : register(ps, c0) = 0.5;\ntechnique Other { pass p0 { ") +
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
      "float4 g_n : register(ps, c3) = {1.5f, .5, 2e-1, 3.};\n"
      "float g_e : register(ps, c200) = -4E+1h;\n"
      "float2 g_a[2] = {{1, 2}, {3, 4}};\n"
      "texture g_t;",
      kPixelShader);
  ASSERT_TRUE(CreateEffect(&effect, text)) << effect.GetErrors().GetText();
  EXPECT_EQ(nullptr, effect.GetTechniqueByName("Other"));
  EXPECT_EQ(nullptr, effect.GetParameterByName("g_missing"));

  SDxEffect::Handle f = effect.GetParameterByName("g_f");
  SDxEffect::Handle i = effect.GetParameterByName("g_i");
  SDxEffect::Handle b = effect.GetParameterByName("g_b");
  SDxEffect::Handle v = effect.GetParameterByName("g_v");
  // An int set on a float, a float on an int (truncated), on a bool (true).
  float values[3] = {0, 0, 0};
  EXPECT_TRUE(effect.SetInt(f, 7) && effect.SetFloat(i, 2.75f) && effect.SetFloat(b, 0.25f));
  effect.GetFloat(f, &values[0]);
  effect.GetFloat(i, &values[1]);
  effect.GetFloat(b, &values[2]);
  EXPECT_EQ(D3DXVECTOR3(7.0f, 2.0f, 1.0f), D3DXVECTOR3(values));
  D3DXVECTOR4 vector(9, 8, 7, 6);
  EXPECT_TRUE(effect.SetVector(v, &vector));
  D3DXVECTOR4 back;
  ASSERT_TRUE(effect.GetVector(v, &back));
  EXPECT_EQ(D3DXVECTOR4(9, 8, 7, 0), back);
  // Well-formed numbers keep their values.
  ASSERT_TRUE(effect.GetVector(effect.GetParameterByName("g_n"), &back));
  EXPECT_EQ(D3DXVECTOR4(1.5f, 0.5f, 0.2f, 3.0f), back);
  ASSERT_TRUE(effect.GetFloat(effect.GetParameterByName("g_e"), &values[0]));
  EXPECT_EQ(-40.0f, values[0]);

  // A null handle, a handle of another effect and a parameter of another
  // kind are ignored.
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  EXPECT_FALSE(effect.SetFloat(nullptr, 1.0f));
  EXPECT_FALSE(effect.SetMatrix(f, &m));
  EXPECT_FALSE(effect.SetTexture(f, nullptr));
  SDxEffect other(s_engine->m_device);
  ASSERT_TRUE(CreateEffect(&other, text));
  EXPECT_FALSE(effect.SetFloat(other.GetParameterByName("g_f"), 1.0f));

  // The effect holds a reference to its texture until it lets it go.
  IDirect3DTexture9* texture = nullptr;
  ASSERT_TRUE(SUCCEEDED(s_engine->m_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8,
                                                          D3DPOOL_MANAGED, &texture, nullptr)));
  EXPECT_TRUE(effect.SetTexture(effect.GetParameterByName("g_t"), texture));
  EXPECT_EQ(texture, effect.GetTexture(effect.GetParameterByName("g_t")));
  texture->AddRef();
  EXPECT_EQ(3u, texture->Release() + 1);
  effect.Release();
  EXPECT_EQ(0u, texture->Release());
  EXPECT_EQ(nullptr, effect.GetParameterByName("g_f"));
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
    // The target has no alpha: red, green and blue tell the register.
    for (int channel = 0; channel < 3; ++channel) {
      EXPECT_NEAR(c.expected[channel] * 255, out.Channel(10, 10, 2 - channel), 1.0) << c.prefix;
    }
  }
}

}  // namespace
