#include "core/Platform.h"
#include "engine/SDxBlob.h"

#include "EngineTestSupport.h"
#include "engine/SDxLayer.h"

namespace {

class SDxBlobTest : public LayerSuite {
protected:
  // Frames of dt through the layer's ordered pass, not read back.
  void Run(int frames, float dt) {
    for (int i = 0; i < frames; ++i) {
      s_engine->m_time += dt;
      s_engine->m_dt = dt;
      s_engine->m_device->BeginScene();
      layer->RenderOrdered();
      s_engine->m_device->EndScene();
    }
  }
};

TEST_F(SDxBlobTest, FrameSizesComeFromTheTextureAndTheSheet) {
  SDxTexture* square = Sheet(1, 1, 256, 256);
  const struct {
    int columns, rows, count;
    int frames, width, height;
  } cases[] = {
      {3, 6, -1, 18, 85, 43},  // 85.33 rounds down, 42.67 up
      {4, 2, -1, 8, 64, 128},
      {0, 1, 1, 1, 256, 256},  // columns 0 gives one; one frame is the whole texture
      {2, 2, 0, 0, 256, 256},
  };
  for (const auto& c : cases) {
    SDxBlob* blob = layer->AddBlob(square, c.columns, c.rows, c.count);
    EXPECT_EQ(c.frames, blob->m_frameCount);
    EXPECT_EQ(c.width, blob->m_frameWidth);
    EXPECT_EQ(c.height, blob->m_frameHeight);
    EXPECT_EQ(c.frames >= 2, blob->m_frames != nullptr);
  }
  SDxBlob* blob = layer->AddBlob(square, 2, 2, -1);
  blob->SetSize(-3.0f, 2.0f);
  EXPECT_EQ(0.0f, blob->m_width);
  EXPECT_EQ(2.0f, blob->m_height);
  EXPECT_FLOAT_EQ(2.0f / 128.0f, blob->m_scaleY);
  // A forgotten texture leaves one empty frame and the size.
  s_engine->RemoveTexture(square);
  made.clear();
  EXPECT_EQ(nullptr, blob->m_texture);
  EXPECT_EQ(1, blob->m_frameCount);
  EXPECT_EQ(0, blob->m_frameWidth);
  EXPECT_EQ(2.0f, blob->m_height);
}

TEST_F(SDxBlobTest, OneShotAnimationsHideOnTimeAndLoopsWrap) {
  SDxBlob* once = layer->AddBlob(Sheet(4, 2, 16, 16), 4, 2, -1);
  SDxBlob* loop = layer->AddBlob(Sheet(4, 2, 16, 16), 4, 2, -1);
  for (SDxBlob* b : {once, loop}) {
    b->SetSize(1.0f, 1.0f);
    b->SetPositionXYZ(0, 0, 50);
    b->ResetAnimation();
  }
  loop->SetLooping(true);
  EXPECT_TRUE(once->IsPlaying());
  Run(39, 0.02f);  // 0.78 s at 10 frames a second
  EXPECT_TRUE(once->IsVisible());
  EXPECT_EQ(7, once->m_frame);
  Run(2, 0.02f);
  EXPECT_FALSE(once->IsVisible());
  EXPECT_FALSE(once->IsPlaying());
  EXPECT_EQ(8, once->m_frame);
  once->ResetAnimation();
  EXPECT_TRUE(once->IsVisible());
  EXPECT_EQ(0, once->m_frame);
  // A jump past twice the frame count restarts at frame 0.
  loop->m_frameTime = 0.0f;
  Run(1, 1.7f);
  EXPECT_EQ(0, loop->m_frame);
  EXPECT_TRUE(loop->IsPlaying());
}

TEST_F(SDxBlobTest, ABlobIsDrawnFacingTheCamera) {
  SDxBlob* blob = layer->AddBlob(Sheet(1, 1, 16, 16), 1, 1, 1);
  blob->SetSize(10.0f, 10.0f);
  blob->SetPositionXYZ(0, 0, 50);
  Pixels out = DrawIntoMainA(s_engine, [&] { layer->RenderOrdered(); });
  EXPECT_GT(out.Green(400, 225), 200);
  EXPECT_EQ(0u, out.At(20, 20) & 0xFFFFFF);
  blob->SetVisible(false);
  EXPECT_EQ(0, CountLit(DrawIntoMainA(s_engine, [&] { layer->RenderOrdered(); })));
}

TEST_F(SDxBlobTest, RayPicksKeepTheNearestHit) {
  SDxBlob* closer = layer->AddBlob(nullptr, 1, 1, 1);
  SDxBlob* farther = layer->AddBlob(nullptr, 1, 1, 1);
  closer->SetSize(4.0f, 4.0f);
  farther->SetSize(4.0f, 4.0f);
  closer->SetPositionXYZ(0, 0, 10);
  farther->SetPositionXYZ(0, 0, 20);
  for (int order = 0; order < 2; ++order) {
    SDxPickQuery query;
    query.origin = D3DXVECTOR3(0.5f, 0.5f, 0);
    query.direction = D3DXVECTOR3(0, 0, 2);
    SDxBlob* blobs[2] = {order ? closer : farther, order ? farther : closer};
    for (SDxBlob* b : blobs) b->Pick(&query);
    EXPECT_EQ(closer, query.hitObject);
    EXPECT_NEAR(10.0f, query.hitParameter, 1e-4f);
    EXPECT_NEAR(100.0f, query.hitSquaredDistance, 1e-3f);
    EXPECT_TRUE(query.hitFace == 0 || query.hitFace == 1);
  }
  SDxPickQuery limited;
  limited.direction = D3DXVECTOR3(0, 0, 1);
  limited.maxDistance = 99.0f;
  closer->Pick(&limited);
  EXPECT_EQ(nullptr, limited.hitObject);
  SDxPickQuery aside;
  aside.origin = D3DXVECTOR3(3, 0, 0);
  aside.direction = D3DXVECTOR3(0, 0, 1);
  EXPECT_FALSE(closer->Pick(&aside));
}

}  // namespace
