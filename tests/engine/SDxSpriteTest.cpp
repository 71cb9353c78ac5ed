#include "core/Platform.h"
#include "engine/SDxSprite.h"

#include "EngineTestSupport.h"
#include "engine/SDxLayer.h"
#include "engine/SDxText.h"

#include <stdlib.h>

#include <utility>
#include <vector>

namespace {

class SDxSpriteTest : public LayerSuite {
protected:
  void SetUp() override {
    LayerSuite::SetUp();
    sheet = Sheet(4, 4, 16, 16);
    ASSERT_TRUE(sheet);
  }
  // The game clock moved on by dt, then one screen pass into main A.
  Pixels Frame(float dt) {
    s_engine->m_time += dt;
    s_engine->m_dt = dt;
    return DrawIntoMainA(s_engine, [this] { layer->RenderScreenItems(); });
  }
  // Draws frames of dt (not read back) until the clock moved by seconds.
  void Run(float seconds, float dt = 0.02f) {
    IDirect3DDevice9* device = s_engine->m_device;
    for (float t = 0.0f; t < seconds - 1e-4f; t += dt) {
      s_engine->m_time += dt;
      s_engine->m_dt = dt;
      device->BeginScene();
      layer->RenderScreenItems();
      device->EndScene();
    }
  }
  // The cell colour's red byte found at the pixel, or -1 for black.
  static int CellAt(const Pixels& pixels, int x, int y) {
    if ((pixels.At(x, y) & 0xFFFFFF) == 0) return -1;
    return (pixels.Red(x, y) - 8 + 6) / 12;
  }

  SDxTexture* sheet = nullptr;
};

TEST_F(SDxSpriteTest, SheetsAreCutIntoFramesRowByRow) {
  SDxSprite* all = layer->AddSprite(sheet, 4, nullptr, 4, -1, 0);
  SDxSprite* ten = layer->AddSprite(sheet, 4, nullptr, 4, 10, 1);
  ASSERT_TRUE(all && ten);
  EXPECT_EQ(16, all->m_frameCount);
  EXPECT_EQ(10, ten->m_frameCount);
  RECT r;
  ASSERT_TRUE(ten->GetFrameRect(9, &r));  // column 1 of row 2, shrunk by the inset
  EXPECT_EQ(17, r.left);
  EXPECT_EQ(33, r.top);
  EXPECT_EQ(31, r.right);
  EXPECT_EQ(47, r.bottom);
  EXPECT_FALSE(ten->GetFrameRect(10, &r));
  // Refusals change nothing.
  EXPECT_FALSE(all->SetTexture(sheet, 4, nullptr, 4, -1, 0));  // the same texture
  EXPECT_FALSE(ten->SetTexture(nullptr, 0, nullptr, 1, 1, 0));
  EXPECT_FALSE(ten->SetTexture(nullptr, 1, sheet, 1, 1, 0));  // second without a first
  EXPECT_EQ(10, ten->m_frameCount);
  EXPECT_TRUE(ten->SetFrame(10));  // the frame after the last
  EXPECT_FALSE(ten->SetFrame(11));
}

TEST_F(SDxSpriteTest, ASpriteIsDrawnWherePositionAndSizeSay) {
  SDxSprite* sprite = layer->AddSprite(sheet, 4, nullptr, 4, -1, 0);
  sprite->SetSize(10.0f, 10.0f);
  sprite->SetPositionXY(50.0f, 50.0f);
  sprite->SetFrame(5);
  Pixels out = Frame(0.0f);
  EXPECT_EQ(5, CellAt(out, 400, 225));  // 80 x 45 pixels centred on the display
  EXPECT_EQ(5, CellAt(out, 365, 207));
  EXPECT_EQ(-1, CellAt(out, 345, 225));
  EXPECT_EQ(-1, CellAt(out, 400, 195));

  // One side -1 keeps the picture's aspect: a 2:1 picture 10 % tall.
  SDxTexture* wide = MakeSheetTexture(s_engine, 2, 1, 32, 32);
  SDxSprite* keep = layer->AddSprite(wide, 1, nullptr, 1, 1, 0);
  keep->SetSize(-1.0f, 10.0f);
  EXPECT_NEAR(90.0f, keep->m_transform._11 * keep->m_frameWidth, 0.01f);
  EXPECT_NEAR(45.0f, keep->m_transform._22 * keep->m_frameHeight, 0.01f);
  // Forgetting the texture leaves the sprite with none.
  s_engine->RemoveTexture(wide);
  EXPECT_EQ(nullptr, keep->m_texture);
}

TEST_F(SDxSpriteTest, NumbersAreDrawnDigitByDigitWithinTheSheet) {
  struct Case {
    int columns, rows, value, digits;
    bool sign;
    int cells[4];  // the frame seen in each slot; -1: nothing drawn
  } cases[] = {
      {4, 4, 7, 3, false, {0, 0, 7, -1}},
      {4, 4, -5, 3, true, {10, 0, 5, -1}},
      {4, 4, 42, 1, true, {-1, 4, 2, -1}},
      {4, 4, 1234, 2, false, {1, 2, 3, 4}},
      // A sheet of four frames: digits beyond it are skipped, the slots kept.
      {2, 2, 307, 1, false, {3, 0, -1, -1}},
  };
  for (const Case& c : cases) {
    SDxTexture* texture = MakeSheetTexture(s_engine, c.columns, c.rows, 16, 16);
    SDxSprite* sprite = layer->AddSprite(texture, c.rows, nullptr, c.columns, -1, 0);
    sprite->SetPivot(0.0f, 0.0f);
    sprite->SetPositionXY(10.0f, 40.0f);
    sprite->SetSize(10.0f, 10.0f);
    sprite->SetNumberDisplay(true, c.digits, c.sign, 0.0f, 0.0f);
    sprite->SetNumber(c.value, true);
    Pixels out = Frame(0.0f);
    for (int slot = 0; slot < 4; ++slot) {
      EXPECT_EQ(c.cells[slot], CellAt(out, 120 + 80 * slot, 202)) << c.value << " slot " << slot;
    }
    layer->RemoveItem(sprite);
    s_engine->RemoveTexture(texture);
  }
}

TEST_F(SDxSpriteTest, CountUpsEaseTowardTheNewValueAndChangesKeepTheirInterval) {
  SDxSprite* sprite = layer->AddSprite(sheet, 4, nullptr, 4, -1, 0);
  sprite->SetNumberDisplay(true, 1, false, 2.0f, 0.5f);
  s_engine->m_time = 101.0f;
  sprite->SetNumber(1000, false);
  EXPECT_EQ(0, sprite->GetShownNumber());
  s_engine->m_time = 102.0f;  // e(0.5) = 0.9
  EXPECT_NEAR(899, sprite->GetShownNumber(), 1);
  sprite->SetNumber(5, true);  // more than 0.5 s after the last change
  EXPECT_EQ(5, sprite->GetNumber());
  s_engine->m_time = 102.2f;
  sprite->SetNumber(9, true);  // within the interval: ignored
  EXPECT_EQ(5, sprite->GetNumber());
  s_engine->m_time = 104.5f;
  EXPECT_EQ(5, sprite->GetShownNumber());
}

TEST_F(SDxSpriteTest, FadesPingPongTheirRepeatsAndHideAtTheEnd) {
  SDxSprite* sprite = layer->AddSprite(sheet, 4, nullptr, 4, -1, 0);
  EXPECT_FALSE(sprite->FadeAlpha(-1, 255, 0, 1.0f, true, 0.0f));  // from equals to
  EXPECT_FALSE(sprite->FadeAlpha(255, 0, 0, 0.0f, true, 0.0f));
  sprite->SetVisible(false);
  ASSERT_TRUE(sprite->FadeAlpha(255, 0, 2, 1.0f, true, 0.5f));
  EXPECT_TRUE(sprite->IsVisible());
  Run(0.5f);
  EXPECT_EQ(255, sprite->GetAlpha());  // the delay
  Run(0.5f);
  EXPECT_NEAR(127, sprite->GetAlpha(), 3);
  Run(0.52f);
  EXPECT_EQ(0, sprite->GetAlpha());  // there; every leg waits for the delay
  Run(2.5f);
  EXPECT_NEAR(130, sprite->GetAlpha(), 8);  // back up, and on the way there again
  EXPECT_TRUE(sprite->IsFading());
  Run(0.6f);  // the third leg ends the fade
  EXPECT_FALSE(sprite->IsFading());
  EXPECT_EQ(0, sprite->GetAlpha());
  EXPECT_FALSE(sprite->IsVisible());

  ASSERT_TRUE(sprite->FadeAlpha(0, 255, -1, 0.25f, false, 0.0f));
  Run(5.0f);
  EXPECT_TRUE(sprite->IsFading());
  EXPECT_TRUE(sprite->IsVisible());
}

TEST_F(SDxSpriteTest, BlinksAndOneShotAnimationsLeaveNothingDrawn) {
  SDxSprite* sprite = layer->AddSprite(sheet, 4, nullptr, 4, 4, 0);
  sprite->SetSize(10.0f, 10.0f);
  sprite->SetBlink(100, 50);
  s_engine->m_time = 100.25f;
  EXPECT_EQ(-1, CellAt(Frame(0.0f), 400, 225));
  s_engine->m_time = 100.75f;
  EXPECT_EQ(0, CellAt(Frame(0.0f), 400, 225));
  sprite->SetBlink(0, 50);  // no period: never hidden
  s_engine->m_time = 100.25f;
  EXPECT_EQ(0, CellAt(Frame(0.0f), 400, 225));

  sprite->SetAnimation(10.0f, false, false);
  EXPECT_EQ(2, CellAt(Frame(0.25f), 400, 225));
  EXPECT_EQ(3, CellAt(Frame(0.1f), 400, 225));
  EXPECT_EQ(-1, CellAt(Frame(0.1f), 400, 225));
  EXPECT_FALSE(sprite->IsPlaying());
  EXPECT_EQ(4, sprite->GetFrame());
  sprite->SetFrame(0);
  sprite->SetAnimation(10.0f, true, true);  // looping backwards
  EXPECT_EQ(2, CellAt(Frame(0.15f), 400, 225));
  EXPECT_TRUE(sprite->IsPlaying());
}

TEST_F(SDxSpriteTest, TextUsesTheCharacterSheetAndSkipsUnmappedBytes) {
  SDxSprite* sprite = layer->AddSprite(sheet, 4, nullptr, 4, -1, 0);
  sprite->SetPivot(0.0f, 0.0f);
  sprite->SetPositionXY(10.0f, 40.0f);
  sprite->SetSize(10.0f, 10.0f);
  // '#' is frame 1, '/' frame 13; control codes and bytes above '~' leave
  // no gap; '!' and ' ' are beyond this sheet and draw nothing.
  sprite->SetTextDisplay(true, "#\x01/\xC8!#");
  Pixels out = Frame(0.0f);
  EXPECT_EQ(1, CellAt(out, 120, 202));
  EXPECT_EQ(13, CellAt(out, 200, 202));
  EXPECT_EQ(-1, CellAt(out, 280, 202));
  EXPECT_EQ(1, CellAt(out, 360, 202));
}

TEST_F(SDxSpriteTest, TheEnginesSlowWarningBarCoversTheTopOfTheScreen) {
  SDxSprite* bar = s_engine->m_slowWarningSprite;
  ASSERT_TRUE(bar);
  Pixels out = DrawIntoMainA(s_engine, [&] {
    s_engine->m_sprite->Begin(0);
    bar->Draw();
    s_engine->m_sprite->End();
  });
  EXPECT_GT(out.Red(5, 2), 150);
  EXPECT_GT(out.Red(795, 9), 150);
  EXPECT_EQ(0u, out.At(400, 20) & 0xFFFFFF);
}

TEST_F(SDxSpriteTest, TextsLandOverTheSpritesWithAlphaBlendingWhateverTheSpritesBlend) {
  SDxText* text = layer->AddText("arial", 10.0f, 0, DT_LEFT | DT_TOP | DT_SINGLELINE, 0xFFFF0000);
  ASSERT_TRUE(text);
  text->SetRect(25.0f, 25.0f, 100.0f, 100.0f);
  text->SetText("HHHH", false);
  // The glyphs' solid pixels, drawn over black with no sprite.
  Pixels alone = Frame(0.0f);
  std::vector<std::pair<int, int>> solid;
  for (int y = 90; y < 360; ++y) {
    for (int x = 160; x < 640; ++x) {
      if ((alone.At(x, y) & 0xFFFFFF) == 0xFF0000) solid.push_back({x, y});
    }
  }
  ASSERT_GT(solid.size(), 50u);

  // A sprite under the whole text, 480 x 270 pixels from (160, 90).
  SDxSprite* sprite = layer->AddSprite(sheet, 4, nullptr, 4, -1, 0);
  sprite->SetSize(60.0f, 60.0f);
  sprite->SetPositionXY(50.0f, 50.0f);
  sprite->SetFrame(6);
  const int kinds[] = {SDxTexture::BLEND_NONE, SDxTexture::BLEND_ALPHA,
                       SDxTexture::BLEND_ADDITIVE};
  IDirect3DDevice9* device = s_engine->m_device;
  for (int kind : kinds) {
    SCOPED_TRACE(kind);
    sheet->m_blendKind = kind;
    Pixels out = Frame(0.0f);
    // Drawn after the sprite and blended by alpha, the text's solid pixels
    // are its own colour (under the sprite, or added to it, they would not).
    int kept = 0;
    for (const auto& p : solid) kept += (out.At(p.first, p.second) & 0xFFFFFF) == 0xFF0000;
    EXPECT_EQ((int)solid.size(), kept);
    EXPECT_EQ(6, CellAt(out, 170, 100));  // the sprite, beside the text
    // The overlay leaves blending as the scene expects it.
    DWORD blend = TRUE, destination = 0;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    device->GetRenderState(D3DRS_DESTBLEND, &destination);
    EXPECT_EQ((DWORD)FALSE, blend);
    EXPECT_EQ((DWORD)D3DBLEND_INVSRCALPHA, destination);
  }
  sheet->m_blendKind = SDxTexture::BLEND_NONE;
}

}  // namespace
