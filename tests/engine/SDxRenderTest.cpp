// The frame's passes, judged by the pixels they leave.
#include "core/Platform.h"
#include "EngineTestSupport.h"

#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxShape.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"

#include <algorithm>

namespace {

const bool kAllFaces[6] = {true, true, true, true, true, true};

int g_presents = 0;
HRESULT CountPresents(int call, HRESULT result, void*) {
  if (call == SDx::D3DCALL_PRESENT) ++g_presents;
  return result;
}

class SDxRenderTest : public EngineSuite {
protected:
  void SetUp() override {
    EngineSuite::SetUp();
    dx()->Clear(true);
    SDxCamera* camera = dx()->GetCamera(-1);
    camera->SetPositionXYZ(0, 0, 0);
    camera->SetRotation(0, 0, 0);
    camera->Apply();
    dx()->m_worldAmbient = D3DXCOLOR(0.25f, 0.25f, 0.25f, 1.0f);
    dx()->m_lighting = true;
  }
  void TearDown() override { SDx::s_direct3DSeam = nullptr; }
  static SDx* dx() { return s_engine; }

  static SDxShape* AddBox(float x, float y, float z, float w, float h, float d) {
    SDxShape* box = dx()->GetMainLayer()->AddShape();
    box->AddBox(nullptr, nullptr, w, h, d, false, 1.0f, kAllFaces);
    box->SetPositionXYZ(x, y, z);
    return box;
  }
  // The pixel of a world point in the frame.
  static POINT ToPixel(float x, float y, float z) {
    D3DXVECTOR3 p(x, y, z), out;
    D3DXVec3TransformCoord(&out, &p, &dx()->m_viewProjection);
    POINT pixel = {(LONG)((out.x + 1.0f) * 0.5f * dx()->m_backBufferWidth),
                   (LONG)((1.0f - out.y) * 0.5f * dx()->m_backBufferHeight)};
    return pixel;
  }
  // One frame (the beam counters set to 0 first, as the frame step does);
  // the picture of the record that the final copy showed.
  static Pixels Frame() {
    dx()->m_beamUseCount[0] = dx()->m_beamUseCount[1] = 0;
    EXPECT_TRUE(dx()->Render());
    return ReadTarget(dx(), *dx()->m_currentTarget);
  }
  // One frame; the back buffer as it is presented.
  static Pixels Presented() {
    static Pixels s_shown;
    s_shown = Pixels();
    dx()->m_renderPassHook = [](SDx* engine, int pass) {
      if (pass != SDx::RENDER_PASS_COPY) return;
      IDirect3DSurface9* surface = nullptr;
      engine->m_device->GetRenderTarget(0, &surface);
      s_shown = ReadTarget(engine->m_device, surface);
      if (surface) surface->Release();
    };
    dx()->m_beamUseCount[0] = dx()->m_beamUseCount[1] = 0;
    EXPECT_TRUE(dx()->Render());
    dx()->m_renderPassHook = nullptr;
    return s_shown;
  }
};

// A hidden scene clears the back buffer and presents it; no pass runs.
TEST_F(SDxRenderTest, HiddenSceneRunsNoPass) {
  AddBox(0, 0, 5, 4, 4, 2);
  Pixels shown = Presented();
  EXPECT_GT(shown.Red(400, 225), 40);
  static int s_passes;
  s_passes = 0;
  dx()->m_renderPassHook = [](SDx*, int) { ++s_passes; };
  g_presents = 0;
  SDx::s_direct3DSeam = CountPresents;
  dx()->m_sceneVisible = false;
  EXPECT_TRUE(dx()->Render());
  dx()->m_renderPassHook = nullptr;
  EXPECT_EQ(0, s_passes);
  EXPECT_EQ(1, g_presents);
}

TEST_F(SDxRenderTest, PointLightBrightensTheSideFacingItOnlyWithLighting) {
  AddBox(0, 0, 5, 6, 2, 2);
  SDxLight* light = dx()->GetMainLayer()->AddLight();
  light->SetPositionXYZ(2.0f, 0.0f, 3.0f);
  light->SetColor(1.0f, 1.0f, 1.0f);
  light->SetRange(6.0f, 6.0f);
  POINT left = ToPixel(-2.0f, 0.0f, 4.0f), right = ToPixel(2.0f, 0.0f, 4.0f);
  Pixels lit = Frame();
  EXPECT_GT(lit.Red(right.x, right.y), lit.Red(left.x, left.y) + 60);
  EXPECT_GT(lit.Red(left.x, left.y), 70);  // ambient 64 plus a little light

  dx()->m_lighting = false;
  Pixels plain = Frame();
  EXPECT_NEAR(plain.Red(right.x, right.y), plain.Red(left.x, left.y), 1);
  EXPECT_EQ(255, plain.Red(left.x, left.y));  // the unlit surface colour
}

// The frame looks through the current camera as it stands: a camera
// turned round since it was last applied sees what lies behind the origin.
TEST_F(SDxRenderTest, TheFrameLooksThroughTheCurrentCamera) {
  AddBox(0, 0, -5, 6, 6, 2);
  EXPECT_EQ(0, Frame().Red(400, 225));
  dx()->GetCamera(-1)->SetRotation(3.14159265f, 0, 0);
  EXPECT_EQ(64, Frame().Red(400, 225));  // the ambient 0.25 of the surface
}

TEST_F(SDxRenderTest, FogDarkensOnlyWithLighting) {
  AddBox(0, 0, 5, 6, 6, 2);
  dx()->EnableFog(true);
  dx()->SetFog(0.0f, 1.0f);  // everything beyond one unit is black
  EXPECT_EQ(0, Frame().Red(400, 225));
  dx()->m_lighting = false;
  EXPECT_EQ(255, Frame().Red(400, 225));
}

// An item drawn only into a beam target: glow is blurred at a quarter of
// the size (a wide halo), beams at full size (a narrow streak); with
// lighting off the target is added unblurred.
TEST_F(SDxRenderTest, GlowAndBeamItemsAreBlurredAndAdded) {
  struct Case {
    uint32_t mask;
    bool lighting;
    int at3, at16;  // least red 3 and 16 pixels beside the item (-1: exactly 0)
  };
  const Case cases[] = {
      {2, true, 20, 4},
      {1, true, 20, -1},
      {2, false, -1, -1},
      {1, false, -1, -1},
  };
  for (const Case& c : cases) {
    SetUp();
    SDxShape* item = AddBox(0, 0, 5, 1, 1, 1);
    item->SetDepthSorted(true);
    item->m_targetMask = c.mask;
    dx()->m_lighting = c.lighting;
    POINT edge = ToPixel(0.5f, 0.0f, 4.5f);
    Pixels out = Frame();
    SCOPED_TRACE(testing::Message() << "mask " << c.mask << " lighting " << c.lighting);
    EXPECT_GT(out.Red(400, 225), 100);
    int red3 = out.Red(edge.x + 3, edge.y), red16 = out.Red(edge.x + 16, edge.y);
    if (c.at3 < 0)
      EXPECT_EQ(0, red3);
    else
      EXPECT_GE(red3, c.at3);
    if (c.at16 < 0)
      EXPECT_EQ(0, red16);
    else
      EXPECT_GE(red16, c.at16);
  }
}

TEST_F(SDxRenderTest, ScreenEffectsRunInTheirListOrderSkippingDisabledOnes) {
  dx()->m_lighting = false;
  AddBox(0, 0, 5, 6, 6, 2);
  SDxShader* half1 = dx()->CreateShader(SDxShader::TEXT_FADE);
  SDxShader* half2 = dx()->CreateShader(SDxShader::TEXT_FADE);
  SDxShader* black = dx()->CreateShader(SDxShader::TEXT_FADE);  // created, never listed
  ASSERT_TRUE(half1 && half2 && black);
  half1->SetFloat("g_alpha", 0.5f);
  half2->SetFloat("g_alpha", 0.5f);
  black->SetFloat("g_alpha", 0.0f);
  SArray<SDxShader*> list;
  list.Add(half1);
  list.Add(half2);
  ASSERT_TRUE(dx()->SetScreenEffects(&list));
  EXPECT_NEAR(64, Frame().Red(400, 225), 2);
  EXPECT_EQ(&dx()->m_mainA, dx()->m_currentTarget);  // two ping-pongs
  half1->SetEnabled(false);
  EXPECT_NEAR(128, Frame().Red(400, 225), 2);
  EXPECT_EQ(&dx()->m_mainB, dx()->m_currentTarget);  // one
  dx()->m_screenEffectsEnabled = false;
  EXPECT_EQ(255, Frame().Red(400, 225));
}

TEST_F(SDxRenderTest, EffectsAfterTheOverlayChangeTexts) {
  SDxText* text = dx()->GetMainLayer()->AddText("arial", 20.0f, 0,
                                                DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0xFFFFFFFF);
  ASSERT_TRUE(text);
  text->SetRect(0, 0, 100, 100);
  text->SetText("HHHH", false);
  SDxShader* black = dx()->CreateShader(SDxShader::TEXT_FADE);
  ASSERT_TRUE(black);
  black->SetFloat("g_alpha", 0.0f);
  SArray<SDxShader*> list;
  list.Add(black);
  dx()->SetScreenEffects(&list);
  auto brightest = [](const Pixels& p) {
    int most = 0;
    for (int y = 150; y < 300; ++y) {
      for (int x = 200; x < 600; ++x) most = std::max(most, p.Red(x, y));
    }
    return most;
  };
  EXPECT_GT(brightest(Frame()), 200);
  dx()->m_effectsAfterOverlay = true;
  EXPECT_EQ(0, brightest(Frame()));
}

TEST_F(SDxRenderTest, FourByThreeClientGetsBarsAboveAndBelow) {
  AddBox(0, 0, 5, 20, 20, 2);
  dx()->m_lighting = false;
  ASSERT_TRUE(s_window->SetClientSize(400, 300));
  dx()->OnSize();
  Pixels out = Presented();
  s_window->SetClientSize(800, 450);
  dx()->OnSize();
  // 400 x 300 shows 400 x 225 from row 38: rows 57 to 393 of the back buffer.
  EXPECT_EQ(0u, out.At(400, 40) & 0xFFFFFF);
  EXPECT_EQ(0u, out.At(400, 410) & 0xFFFFFF);
  EXPECT_EQ(255, out.Red(400, 70));
  EXPECT_EQ(255, out.Red(400, 380));
}

// Decals show on plain and on depth-sorted objects, in the lit and in the
// plain frame; the sprite overlay lands on top of the picture.
TEST_F(SDxRenderTest, DecalsOfBothListsAndSpritesShowInTheFrame) {
  SDxTexture* green = MakeSheetTexture(dx(), 1, 1, 8, 8);  // CellColor (0)
  ASSERT_TRUE(green);
  SDxShape* boxes[2] = {AddBox(-3, 0, 10, 4, 4, 2), AddBox(3, 0, 10, 4, 4, 2)};
  boxes[1]->SetDepthSorted(true);
  for (SDxShape* box : boxes) {
    box->SetDecalsEnabled(true);
    SDxPickQuery query;
    query.origin = box->GetPosition() - D3DXVECTOR3(0, 0, 10);
    query.direction = D3DXVECTOR3(0, 0, 1);
    ASSERT_TRUE(box->Pick(&query));
    ASSERT_TRUE(box->AddDecal(query.hitFace, box->GetPosition() - D3DXVECTOR3(0, 0, 1), 2, 2, green,
                              0, 0, 0.05f));
  }
  SDxSprite* sprite = dx()->GetMainLayer()->AddSprite(green, 1, nullptr, 1, 1, 0);
  ASSERT_TRUE(sprite);
  sprite->SetPivot(0, 0);
  sprite->SetPositionXY(0, 90);
  sprite->SetSize(10, 10);
  for (bool lighting : {true, false}) {
    dx()->m_lighting = lighting;
    Pixels out = Frame();
    for (SDxShape* box : boxes) {
      POINT centre = ToPixel(box->GetPosition().x, 0, 9);
      EXPECT_GT(out.Green(centre.x, centre.y), 200) << lighting << " " << box->GetPosition().x;
      EXPECT_LT(out.Red(centre.x, centre.y), 40) << lighting << " " << box->GetPosition().x;
    }
    EXPECT_EQ(255, out.Green(10, 440)) << lighting;
    EXPECT_EQ(0u, out.At(200, 440) & 0xFFFFFF) << lighting;
  }
  dx()->RemoveTexture(green);
}

TEST_F(SDxRenderTest, SlowFrameWarningBarSpansTheTopOfTheScreen) {
  dx()->m_config.slowWarning = 1;
  dx()->m_slowWarningEnabled = true;
  dx()->m_inTime = false;
  dx()->m_lateSince = 1.0f;
  dx()->m_lastFrameTime = 3.0f;
  Pixels out = Presented();
  dx()->m_inTime = true;
  for (int x : {0, 1, 20, 780, 798, 799}) {
    EXPECT_GT(out.Red(x, 1), 150) << x;
    EXPECT_GT(out.Red(x, 9), 150) << x;
  }
  EXPECT_EQ(0u, out.At(400, 20) & 0xFFFFFF);
  EXPECT_FALSE(dx()->m_slowWarningText->m_active);
}

TEST_F(SDxRenderTest, NoFrameIsDrawnWithoutTargets) {
  g_presents = 0;
  SDx::s_direct3DSeam = CountPresents;
  EXPECT_TRUE(dx()->Render());
  EXPECT_EQ(1, g_presents);
  dx()->ReleaseRenderTargets();
  EXPECT_TRUE(dx()->Render());
  EXPECT_EQ(1, g_presents);
  ASSERT_TRUE(dx()->CreateRenderTargets(nullptr));
  dx()->Clear(true);
  EXPECT_TRUE(dx()->Render());
  EXPECT_EQ(2, g_presents);
}

TEST_F(SDxRenderTest, FlashFadesOutAndClearEndsIt) {
  float base = dx()->m_effectiveBrightness;
  dx()->FlashBrightness(0.5f, 1.0f);
  EXPECT_FLOAT_EQ(base + 0.5f, dx()->m_effectiveBrightness);
  dx()->m_time += 2.0f;
  dx()->Render();
  EXPECT_FLOAT_EQ(base, dx()->m_effectiveBrightness);
  EXPECT_EQ(0.0f, dx()->m_flashStart);
  dx()->FlashBrightness(0.5f, 1.0f);
  dx()->Clear(true);
  EXPECT_FLOAT_EQ(base, dx()->m_effectiveBrightness);
  EXPECT_EQ(0.0f, dx()->m_flashStart);
}

// An effect's pass sets its samplers; End gives the device back the
// textures and sampler states it had, so that later fixed-function copies
// are not changed.
TEST_F(SDxRenderTest, EffectEndRestoresTexturesAndSamplerStates) {
  IDirect3DDevice9* device = dx()->m_device;
  SDxShaderGBuffer* gbuffer = dx()->m_shaderGBuffer;
  device->SetTexture(1, nullptr);
  device->SetTexture(0, dx()->m_mainB.texture);
  for (DWORD stage : {0u, 1u}) {
    device->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  }
  gbuffer->m_effect->SetTexture(gbuffer->m_colorTexture, dx()->m_colorRT.texture);
  gbuffer->m_effect->SetTexture(gbuffer->m_normalTexture, dx()->m_normalRT.texture);
  UINT passes = 0;
  ASSERT_TRUE(gbuffer->m_effect->Begin(&passes, 0));
  ASSERT_TRUE(gbuffer->m_effect->BeginPass(0));
  DWORD value = 0;
  device->GetSamplerState(1, D3DSAMP_MAGFILTER, &value);
  EXPECT_EQ((DWORD)D3DTEXF_LINEAR, value);
  gbuffer->m_effect->EndPass();
  gbuffer->m_effect->End();
  for (DWORD stage : {0u, 1u}) {
    device->GetSamplerState(stage, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ((DWORD)D3DTEXF_POINT, value) << stage;
    device->GetSamplerState(stage, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ((DWORD)D3DTADDRESS_CLAMP, value) << stage;
  }
  IDirect3DBaseTexture9* texture = nullptr;
  device->GetTexture(0, &texture);
  EXPECT_EQ(static_cast<IDirect3DBaseTexture9*>(dx()->m_mainB.texture), texture);
  if (texture) texture->Release();
  device->GetTexture(1, &texture);
  EXPECT_EQ(nullptr, texture);
  if (texture) texture->Release();
  gbuffer->m_effect->SetTexture(gbuffer->m_colorTexture, nullptr);
  gbuffer->m_effect->SetTexture(gbuffer->m_normalTexture, nullptr);
  device->SetTexture(0, nullptr);
}

}  // namespace

namespace {

// A mesh that draws like SDxMesh but is of another class: the layer draws
// it on its own, never in an instanced draw.
class OneByOneMesh : public SDxMesh {
public:
  using SDxMesh::SDxMesh;
};

// The G-buffer targets and the picture after one frame.
struct FrameTargets {
  Pixels color, normal, info, picture;
};

}  // namespace

// Instances of one mesh are drawn in one instanced draw: every G-buffer
// target and the picture are the same, bit for bit, as when each is drawn
// on its own; a hidden instance and one behind the camera stay out.
TEST_F(SDxRenderTest, InstancedMeshesDrawExactlyAsOneByOne) {
  auto frame = [](bool oneByOne, int* culled) {
    SDxLayer* layer = dx()->GetMainLayer();
    layer->Clear();
    SDxShape* shape = layer->AddShape();
    shape->AddBox(nullptr, nullptr, 1.0f, 1.0f, 1.0f, false, 1.0f, kAllFaces);
    SDxMesh* master = shape->CreateMesh(layer);
    layer->RemoveItem(shape);
    for (int i = 0; i < 40; ++i) {
      SDxMesh* mesh = master;
      if (i > 0 && oneByOne) {
        mesh = new OneByOneMesh(layer);
        EXPECT_TRUE(mesh->CopyFrom(master));
        EXPECT_TRUE(layer->FileItem(mesh));
      } else if (i > 0) {
        mesh = SDxMesh::CreateInstance(master, layer);
      }
      if (!mesh) return FrameTargets();
      mesh->SetCulling(true, false);
      // Rows of boxes behind one another, overlapping on the screen.
      mesh->SetPositionXYZ(0.7f * (float)(i % 8 - 4), 0.3f * (float)(i % 3), 4.0f + (float)(i / 8));
      mesh->SetRotation(0.3f * (float)i, 0.2f * (float)i, 0.0f);
      if (i == 17) mesh->SetVisible(false);
      if (i == 23) mesh->SetPositionXYZ(0.0f, 0.0f, -6.0f);
    }
    FrameTargets out;
    out.picture = Frame();
    *culled = layer->m_culledCount;
    out.color = ReadTarget(dx(), dx()->m_colorRT);
    out.normal = ReadTarget(dx(), dx()->m_normalRT);
    out.info = ReadTarget(dx(), dx()->m_infoRT);
    return out;
  };
  int culledTogether = -1, culledAlone = -2;
  FrameTargets together = frame(false, &culledTogether);
  FrameTargets alone = frame(true, &culledAlone);
  ASSERT_FALSE(together.picture.colors.empty());
  EXPECT_EQ(culledAlone, culledTogether);
  EXPECT_EQ(1, culledTogether);
  EXPECT_TRUE(alone.color.colors == together.color.colors);
  EXPECT_TRUE(alone.normal.floats == together.normal.floats);
  EXPECT_TRUE(alone.info.colors == together.info.colors);
  EXPECT_TRUE(alone.picture.colors == together.picture.colors);
  // The boxes are there: the picture is not empty.
  EXPECT_GT(together.picture.Red(400, 225), 0);
}

// Depth-sorted items of the two beam targets drawn far to near: the draws
// into one target are grouped only where the screen areas allow it. The
// near item of beam target 1 covers the middle item of beam target 2, so it
// must not be drawn before it: the middle item stays whole in its target.
TEST_F(SDxRenderTest, BeamItemsKeepTheirOrderWhereTheyOverlap) {
  SDxShape* back = AddBox(-3.0f, 0.0f, 14.0f, 1.0f, 1.0f, 1.0f);
  SDxShape* middle = AddBox(0.0f, 0.0f, 10.0f, 2.0f, 2.0f, 0.5f);
  SDxShape* front = AddBox(0.0f, 0.0f, 6.0f, 0.5f, 0.5f, 0.5f);
  SDxShape* apart = AddBox(3.0f, 0.0f, 8.0f, 0.5f, 0.5f, 0.5f);
  const uint32_t masks[] = {1, 2, 1, 2};
  SDxShape* items[] = {back, middle, front, apart};
  for (int i = 0; i < 4; ++i) {
    items[i]->SetDepthSorted(true);
    items[i]->m_targetMask = masks[i];
  }
  Frame();
  // Beam target 2 keeps the items as drawn (only its copies are blurred).
  Pixels glow = ReadTarget(dx(), dx()->m_beamRT2);
  POINT centre = ToPixel(0.0f, 0.0f, 9.75f), side = ToPixel(3.0f, 0.0f, 7.75f);
  EXPECT_GT(glow.Red(centre.x, centre.y), 100);
  EXPECT_GT(glow.Red(side.x, side.y), 100);
  POINT elsewhere = ToPixel(-3.0f, 0.0f, 13.5f);
  EXPECT_EQ(0, glow.Red(elsewhere.x, elsewhere.y));
}

// A built-in screen effect at the value that leaves the picture as it is
// is skipped (the picture stays in its target); at any other value it runs.
TEST_F(SDxRenderTest, ScreenEffectsThatChangeNothingAreSkipped) {
  dx()->m_lighting = false;
  AddBox(0, 0, 5, 6, 6, 2);
  Pixels plain = Frame();
  struct Case {
    const char* text;
    const char* parameter;
    float value;
    bool skipped;
  };
  const Case cases[] = {
      {SDxShader::TEXT_FADE, "g_alpha", 1.0f, true},
      {SDxShader::TEXT_FADE, "g_alpha", 0.5f, false},
      {SDxShader::TEXT_GREY, "g_alpha", 0.0f, true},
      {SDxShader::TEXT_GREY, "g_alpha", 0.3f, false},
      {SDxShader::TEXT_SPEED_BLUR, "g_speed", 0.0f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.parameter << " " << c.value);
    SDxShader* effect = dx()->CreateShader(c.text);
    ASSERT_TRUE(effect);
    effect->SetFloat(c.parameter, c.value);
    EXPECT_EQ(c.skipped, effect->LeavesPictureUnchanged());
    SArray<SDxShader*> list;
    list.Add(effect);
    ASSERT_TRUE(dx()->SetScreenEffects(&list));
    Pixels out = Frame();
    EXPECT_EQ(c.skipped ? &dx()->m_mainA : &dx()->m_mainB, dx()->m_currentTarget);
    if (c.skipped) {
      EXPECT_TRUE(out.colors == plain.colors);
    }
    dx()->SetScreenEffects(nullptr);
  }
}

// A screen quad drawn over black with blendMode 0 gives the effect's
// picture of its input wherever it draws, whatever the target held and
// whatever blending was on; outside the scissor area the target keeps its
// pixels.
TEST_F(SDxRenderTest, ScreenQuadOverBlackIgnoresWhatTheTargetHeld) {
  SDxShader* fade = dx()->CreateShader(SDxShader::TEXT_FADE);
  ASSERT_TRUE(fade);
  fade->SetFloat("g_alpha", 0.5f);
  FillTarget(dx(), &dx()->m_mainA, D3DCOLOR_XRGB(200, 100, 40));
  FillTarget(dx(), &dx()->m_mainB, D3DCOLOR_XRGB(0, 0, 250));
  IDirect3DDevice9* device = dx()->m_device;
  ASSERT_TRUE(SUCCEEDED(device->BeginScene()));
  dx()->m_currentTarget = &dx()->m_mainA;
  dx()->SetRenderTarget(&dx()->m_mainB);  // main A's texture on stage 0
  RECT area = {100, 50, 300, 150};
  dx()->SetScissorArea(&area);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  dx()->DrawScreenQuad(fade, 0, true);
  dx()->SetScissorArea(nullptr);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->EndScene();
  dx()->m_currentTarget = &dx()->m_mainA;
  Pixels out = ReadTarget(dx(), dx()->m_mainB);
  ASSERT_FALSE(out.colors.empty());
  const struct {
    int x, y;
    uint32_t rgb;
  } points[] = {
      {100, 50, 0x643214},  // half of the input, nothing of the old blue
      {299, 149, 0x643214},
      {200, 100, 0x643214},
      {99, 100, 0x0000FA},  // outside the area: as it was
      {300, 100, 0x0000FA},
      {200, 150, 0x0000FA},
  };
  for (const auto& p : points) {
    EXPECT_EQ(p.rgb, out.At(p.x, p.y) & 0xFFFFFF) << p.x << ", " << p.y;
  }
}
