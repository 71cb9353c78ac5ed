#include "core/Platform.h"
#include "engine/SDxParticle.h"

#include "EngineTestSupport.h"
#include "engine/SDxLayer.h"
#include "engine/SDxPreset.h"

#include <math.h>
#include <stdlib.h>

namespace {

class SDxParticleTest : public LayerSuite {
protected:
  void SetUp() override {
    LayerSuite::SetUp();
    white = Sheet(1, 1, 8, 8);
    ASSERT_TRUE(white);
    srand(7);
  }
  // The game clock moved on by dt, then the layer's update.
  void Step(float dt) {
    s_engine->m_time += dt;
    s_engine->m_dt = dt;
    layer->Update();
  }
  SDxParticlePoint* AddStill(int capacity, float rate, float lifetime) {
    SDxParticlePoint* p = layer->AddParticle(white, capacity);
    const D3DXVECTOR3 none(0, 0, 0);
    p->SetVectorRange(&none, &none);
    p->SetEmissionRate(rate, rate);
    p->SetLifetime(lifetime);
    return p;
  }

  SDxTexture* white = nullptr;
};

TEST_F(SDxParticleTest, EmissionFollowsTheLongRunRateWithinTheCapacity) {
  SDxParticlePoint* fast = layer->AddParticle(white, 2000);
  SDxParticlePoint* full = layer->AddParticle(white, 100);
  SDxParticlePoint* fallback = layer->AddParticle(white, -5);
  EXPECT_EQ(100, fallback->m_capacity);
  EXPECT_EQ(3, layer->m_particleCount);
  for (SDxParticlePoint* p : {fast, full}) {
    p->SetLifetime(100.0f);
    p->Start(nullptr, 0.0f, 0.0f);
  }
  int most = 0;
  for (int frame = 0; frame < 600; ++frame) {
    Step(1.0f / 60.0f);
    most = full->GetAtomCount() > most ? full->GetAtomCount() : most;
    ASSERT_EQ(fast->GetAtomCount(), fast->GetWrittenCount());
  }
  // 50 to 100 atoms a second over 10 s: about 750, the fractions carried.
  EXPECT_NEAR(750, fast->GetAtomCount(), 75);
  EXPECT_EQ(100, most);
  EXPECT_EQ(100, full->GetAtomCount());
}

TEST_F(SDxParticleTest, AtomsDieAtTheirLifetimeAndLeaveInBirthOrder) {
  SDxParticlePoint* p = AddStill(10, 4.0f, 0.5f);
  p->Start(nullptr, 0.0f, 0.0f);
  Step(0.25f);  // one atom born at 100.25
  p->Stop();
  Step(0.25f);
  EXPECT_EQ(1, p->GetAtomCount());
  Step(0.25f);  // age equal to the lifetime: dead
  EXPECT_EQ(0, p->GetAtomCount());
  EXPECT_EQ(0, p->GetWrittenCount());
  EXPECT_FALSE(p->Render(nullptr));
  // Dead atoms are reused from the pool.
  p->Start(nullptr, 0.0f, 0.0f);
  Step(0.25f);
  EXPECT_EQ(1, p->GetAtomCount());
  EXPECT_EQ(1, p->m_pool.GetCount());
  // A run time ends the emission by itself.
  p->Start(nullptr, 0.3f, 0.0f);
  for (int i = 0; i < 5; ++i) Step(0.1f);
  EXPECT_FALSE(p->IsEmitting());
  p->Reset();
  EXPECT_EQ(0, p->GetAtomCount());
  EXPECT_FALSE(p->IsVisible());
}

TEST_F(SDxParticleTest, DelayedStartsEmitNothingBeforeTheirTimeAndKeepAtomsCurrent) {
  SDxParticlePoint* p = AddStill(50, 10.0f, 5.0f);
  const D3DXVECTOR3 right(1, 0, 0);
  p->SetVectorRange(&right, &right);
  p->SetSpeed(100.0f);
  EXPECT_FALSE(p->IsVisible());  // new systems are hidden until started
  p->Start(nullptr, 0.0f, 0.0f);
  Step(0.1f);
  ASSERT_EQ(1, p->GetAtomCount());
  const D3DXVECTOR3 there(0, 0, 0);
  p->Start(&there, 0.0f, 1.0f);
  for (int i = 0; i < 9; ++i) {
    Step(0.1f);
    EXPECT_EQ(1, p->GetAtomCount());
    EXPECT_EQ(1, p->GetWrittenCount());  // the moving atom is written every frame
  }
  EXPECT_NEAR(90.0f, p->GetAtom(0)->position.x, 0.01f);
  Step(0.15f);
  EXPECT_EQ(2, p->GetAtomCount());  // started: one atom, half of one carried
  // Colours: random between A and B per channel, fading to alpha 0.
  EXPECT_FLOAT_EQ(0.0f, p->GetAtom(1)->endColor.a);
}

TEST_F(SDxParticleTest, PointSpritesLeavePixelsWhereTheAtomsAre) {
  SDxParticlePoint* p = AddStill(10, 50.0f, 5.0f);
  p->SetPointSize(16.0f);
  p->SetPositionXYZ(0.0f, 0.0f, 100.0f);
  p->SetParameters(1, 1, 1, 1, 1, 1, 1, 1, false, false);
  Pixels before = DrawIntoMainA(s_engine, [&] { layer->RenderOrdered(); });
  EXPECT_EQ(0, CountLit(before));
  p->Start(nullptr, 0.0f, 0.0f);
  Step(0.1f);
  ASSERT_GT(p->GetAtomCount(), 0);
  Pixels out = DrawIntoMainA(s_engine, [&] { layer->RenderOrdered(); });
  EXPECT_GT(out.Green(400, 225), 200);
  EXPECT_EQ(0u, out.At(20, 20) & 0xFFFFFF);
  // The overlay pass draws only systems with the overlay flag.
  EXPECT_EQ(0, CountLit(DrawIntoMainA(s_engine, [&] { layer->RenderOverlayParticles(); })));
  p->SetOverlay(true);
  EXPECT_EQ(0, CountLit(DrawIntoMainA(s_engine, [&] { layer->RenderOrdered(); })));
  EXPECT_GT(CountLit(DrawIntoMainA(s_engine, [&] { layer->RenderOverlayParticles(); })), 0);
}

class SDxPresetTest : public SDxParticleTest {};

TEST_F(SDxPresetTest, RingsHaveWholeSegmentsAndRefuseFewerThanFour) {
  const struct {
    int asked, vertices, segments;
  } cases[] = {{0, 96, 16}, {-1, 96, 16}, {100, 96, 16}, {24, 24, 4}, {23, 0, 0}};
  for (const auto& c : cases) {
    SDxPresetShockwave* wave =
        static_cast<SDxPresetShockwave*>(layer->AddPreset(white, 10.0f, 2.0f, c.asked));
    ASSERT_TRUE(wave);
    EXPECT_EQ(SDxLayerItem::KIND_SHOCKWAVE, wave->GetKind());
    EXPECT_EQ(c.vertices, wave->m_vertexCount) << c.asked;
    EXPECT_EQ(c.segments, wave->m_segments) << c.asked;
    EXPECT_EQ(c.vertices > 0, wave->SetAlpha(10));
    EXPECT_EQ(c.vertices == 0, wave->m_vertexBuffer == nullptr);
  }
  EXPECT_EQ(5, layer->GetCount(SDxLayer::LIST_PRESETS));
}

TEST_F(SDxPresetTest, AWaveGrowsFadesAndIsDrawnOnlyWhileItRuns) {
  SDxPresetShockwave* wave =
      static_cast<SDxPresetShockwave*>(layer->AddPreset(white, 20.0f, 10.0f, 0));
  D3DXMATRIX upright;
  D3DXMatrixRotationX(&upright, -1.5707964f);  // the ring faces the camera
  wave->SetMatrix(upright);
  auto draw = [&] { return CountLit(DrawIntoMainA(s_engine, [&] { layer->RenderPresets(); })); };
  EXPECT_EQ(0, draw());  // idle
  const D3DXVECTOR3 ahead(0, 0, 60);
  wave->SetPosition(&ahead, -1.0f);
  EXPECT_FLOAT_EQ(3.0f, wave->m_duration);
  Step(1.5f);
  EXPECT_FLOAT_EQ(0.5f, wave->m_progress);
  EXPECT_EQ(128, wave->m_alpha);
  EXPECT_GT(draw(), 0);
  Step(1.5f);  // elapsed equal to the duration: still running
  EXPECT_TRUE(wave->IsRunning());
  EXPECT_EQ(0, wave->m_alpha);
  Step(0.02f);
  EXPECT_FALSE(wave->IsRunning());
  EXPECT_EQ(0, draw());
  // A duration of 0 ends the run at the next update.
  wave->SetPosition(nullptr, 0.0f);
  Step(0.02f);
  EXPECT_FALSE(wave->IsRunning());
  EXPECT_FLOAT_EQ(60.0f, wave->m_position.z);
}

}  // namespace
