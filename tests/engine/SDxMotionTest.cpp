#include "core/Platform.h"
#include "engine/SDxMotion.h"

#include "EngineTestSupport.h"
#include "WaveTestSupport.h"
#include "core/TimeBase.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShape.h"
#include "engine/SDxSound.h"
#include "window/Framework.h"

#include <stdlib.h>

namespace {

TEST(SDxMotionTest, ScalesFollowTheBox) {
  SDxMotion item(nullptr, nullptr);
  item.SetPositionXYZ(1, 2, 3);
  EXPECT_EQ(1.0f, item.GetX());
  EXPECT_EQ(2.0f, item.GetY());
  item.ScaleToWidth(10.0f);
  EXPECT_EQ(1.0f, item.m_scaling._11) << "an empty box keeps its scale";
  item.m_box.Grow(D3DXVECTOR3(-2, -1, 0));
  item.m_box.Grow(D3DXVECTOR3(-2, 1, 4));
  item.ScaleToWidth(10.0f);
  EXPECT_EQ(1.0f, item.m_scaling._11) << "so does a box without width";
  item.m_box.Grow(D3DXVECTOR3(3, 0, 0));
  item.ScaleToWidth(10.0f);
  EXPECT_FLOAT_EQ(2.0f, item.m_scaling._11);
  EXPECT_FLOAT_EQ(2.0f, item.m_scaling._22);
  EXPECT_FLOAT_EQ(8.0f, item.GetScaledDepth());
  EXPECT_FLOAT_EQ(2.0f, item.m_world._33) << "the world matrix follows";
  item.SetUniformScale(0.5f);
  EXPECT_FLOAT_EQ(2.0f, item.GetScaledDepth());
}

float g_now = 0.0f;
float FakeClock() { return g_now; }

// Items with sound emitters on a layer of their own, the engine's current
// camera at the origin looking along +z, and a looping five-second channel
// of two voices; frames run on a clock stepped by 0.02 s.
class SDxEmitterTest : public EngineSuite {
protected:
  void SetUp() override {
    EngineSuite::SetUp();
    ASSERT_NE(g_xaudio2, nullptr) << "XAudio2 with the null sound device";
    layer = s_engine->CreateLayer();
    s_engine->GetCamera(-1)->SetPositionXYZ(0, 0, 0);
    s_engine->GetCamera(-1)->SetRotation(0, 0, 0);
    g_engine = s_engine;
    s_engine->m_clock = FakeClock;
    g_now = 1000.0f;
    s_engine->m_lastFrameTime = g_now;
    channel = s_engine->m_sounds.GetCount();
    SFileMem file;
    ASSERT_NE(nullptr, s_engine->LoadSound(Open(file, LongWave()), true, false, 2));
  }
  void TearDown() override {
    if (layer) {
      s_engine->m_layers.RemoveValue(layer);
      delete layer;
    }
    s_engine->DeleteSounds();
    s_engine->m_soundOn = true;
    s_engine->m_clock = GetTimeSeconds;
    g_engine = nullptr;
  }
  void Frame() {
    g_now += 0.02f;
    SDx::Frame();
  }
  SDxShape* AddShape(float z, float nearDistance, float farDistance, float minimum, float maximum) {
    SDxShape* shape = layer->AddShape();
    shape->SetPositionXYZ(0, 0, z);
    shape->AttachSound(channel);
    shape->SetSoundRange(nearDistance, farDistance, minimum, maximum);
    return shape;
  }
  SDxSound* Head() { return s_engine->GetSound(channel); }
  SDxSound* Extra() { return Head()->m_next; }
  static float Volume(SDxSound* voice) {
    float volume = -1.0f;
    voice->m_voice->GetVolume(&volume);
    return volume;
  }

  SDxLayer* layer = nullptr;
  int channel = 0;
};

// Two items fly from 1500 in front of the camera through it to 1500 behind
// it, 50 units a frame; their volumes follow the eased curve between 100
// and 1000, one from 0 to 0.75, the other from 0.2 to 0.8.
TEST_F(SDxEmitterTest, VolumesFollowTheEasedCurveOfTheCameraDistance) {
  SDxShape* silent = AddShape(1500, 100, 1000, 0.0f, 0.75f);
  SDxShape* murmur = AddShape(1500, 100, 1000, 0.2f, 0.8f);
  ASSERT_EQ(Head(), silent->m_soundVoice);
  ASSERT_EQ(Extra(), murmur->m_soundVoice);
  const struct {
    float distance, silent, murmur;
  } rows[] = {{1500, 0.0f, 0.2f},        {1000, 0.0f, 0.2f},        {900, 0.06612f, 0.2529f},
              {800, 0.21922f, 0.37538f}, {700, 0.39284f, 0.51427f}, {550, 0.59973f, 0.67978f},
              {400, 0.70831f, 0.76665f}, {300, 0.73798f, 0.79038f}, {200, 0.7483f, 0.79864f},
              {100, 0.75f, 0.8f},        {0, 0.75f, 0.8f}};
  int checked = 0;
  for (int z = 1500; z >= -1500; z -= 50) {
    silent->SetZ((float)z);
    murmur->SetZ((float)z);
    Frame();
    for (const auto& row : rows) {
      if (row.distance != (float)abs(z)) continue;
      ++checked;
      EXPECT_NEAR(row.silent, Volume(Head()), 2e-4f) << z;
      EXPECT_NEAR(row.murmur, Volume(Extra()), 2e-4f) << z;
      EXPECT_EQ(row.silent > 0.0f, Head()->IsPlaying()) << "silent at the minimum 0: " << z;
      EXPECT_TRUE(Extra()->IsPlaying()) << z;
    }
  }
  EXPECT_EQ(21, checked);
}

TEST_F(SDxEmitterTest, VoicesAreReservedOnceAndReleasedWithTheirItems) {
  SDxShape* first = AddShape(0, 100, 1000, 0.0f, 1.0f);
  SDxMesh* second = layer->AddMesh();
  EXPECT_EQ(Extra(), second->AttachSound(channel));
  SDxShape* third = layer->AddShape();
  EXPECT_EQ(nullptr, third->AttachSound(channel)) << "both voices are taken";
  EXPECT_EQ(-1, third->m_soundChannel);
  EXPECT_EQ(nullptr, third->AttachSound(channel + 1));
  EXPECT_EQ(nullptr, third->AttachSound(-1));
  Frame();
  EXPECT_TRUE(Head()->IsPlaying());
  EXPECT_TRUE(Extra()->IsPlaying());

  // Released by a new attachment, by removal and with the layer.
  EXPECT_EQ(nullptr, first->AttachSound(-1));
  EXPECT_FALSE(Head()->IsPlaying());
  EXPECT_EQ(0u, Head()->IsReserved());
  EXPECT_EQ(Head(), third->AttachSound(channel));
  EXPECT_TRUE(layer->RemoveItem(second));
  EXPECT_FALSE(Extra()->IsPlaying());
  EXPECT_EQ(0u, Extra()->IsReserved());
  Frame();
  EXPECT_TRUE(Head()->IsPlaying());
  s_engine->m_layers.RemoveValue(layer);
  delete layer;
  layer = nullptr;
  EXPECT_FALSE(Head()->IsPlaying());
  EXPECT_EQ(0u, Head()->IsReserved());
}

// The opaque pass (also for a culled object), the ordered pass (also for a
// hidden object drawn into both beam targets) and the light's own step
// follow the camera each frame.
TEST_F(SDxEmitterTest, EveryPathStepsItsEmittersEachFrame) {
  SFileMem file;
  ASSERT_NE(nullptr, s_engine->LoadSound(Open(file, LongWave()), true, false, 2));
  SDxShape* culled = AddShape(-550, 100, 1000, 0.0f, 1.0f);
  culled->m_box.Grow(D3DXVECTOR3(-1, -1, -1));
  culled->m_box.Grow(D3DXVECTOR3(1, 1, 1));
  culled->SetCulling(true, false);
  SDxMesh* sorted = layer->AddMesh();
  sorted->SetDepthSorted(true);
  sorted->SetVisible(false);
  sorted->m_targetMask = 3;
  sorted->AttachSound(channel);
  SDxLight* light = layer->AddLight();
  light->AttachSound(channel + 1);
  const struct { float z, volume; } frames[] = {{550, 0.79964f}, {300, 0.98397f}, {150, 0.99961f}};
  for (const auto& frame : frames) {
    for (SDxMotion* item : {(SDxMotion*)sorted, (SDxMotion*)light}) {
      item->SetPositionXYZ(0, 0, frame.z);
      item->SetSoundRange(100, 1000, 0.0f, 1.0f);
    }
    Frame();
    EXPECT_EQ(1, layer->m_culledCount);
    EXPECT_NEAR(0.79964f, Volume(culled->m_soundVoice), 2e-4f);
    EXPECT_NEAR(frame.volume, Volume(sorted->m_soundVoice), 2e-4f) << frame.z;
    EXPECT_NEAR(frame.volume, Volume(light->m_soundVoice), 2e-4f) << frame.z;
    for (SDxMotion* item : {(SDxMotion*)culled, (SDxMotion*)sorted, (SDxMotion*)light})
      EXPECT_TRUE(item->m_soundVoice->IsPlaying()) << frame.z;
  }
}

// A voice that the engine paused with its sounds is neither stopped nor
// started by its emitter until the sounds resume; with the audio off no
// emitter starts.
TEST_F(SDxEmitterTest, PausedSoundsAndTheAudioOptionHoldEmitters) {
  SDxShape* shape = AddShape(0, 100, 1000, 0.0f, 1.0f);
  Frame();
  ASSERT_TRUE(Head()->IsPlaying());
  s_engine->PauseSounds(true);
  shape->SetZ(2000);
  Frame();
  EXPECT_EQ(0.0f, Volume(Head()));
  EXPECT_TRUE(Head()->m_paused);
  EXPECT_TRUE(Head()->IsPlaying()) << "still queued where it stopped";
  s_engine->ResumeSounds(true);
  Frame();
  EXPECT_FALSE(Head()->IsPlaying());

  s_engine->m_soundOn = false;
  shape->SetZ(0);
  Frame();
  EXPECT_EQ(1.0f, Volume(Head()));
  EXPECT_FALSE(Head()->IsPlaying());
  s_engine->m_soundOn = true;
  Frame();
  EXPECT_TRUE(Head()->IsPlaying());
}

}  // namespace
