// Gems on the real engine: the pickup distance by difficulty, the miss once
// the craft is far past, a collect after the miss, the knock, its bounces
// and their sounds, the rest on the wall, and the boss's destruction.
#include "core/Platform.h"

#include "engine/SDxParticle.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

namespace {

class Gems : public RunSuite {
protected:
  // The gem of the map's cell, when it is made.
  static PGemEntity* GemAt(int column, int row) {
    MAPITEM* item = Game().GetMapItem(column, row);
    return item && item->entity ? static_cast<PGemEntity*>((SDxEntity*)item->entity) : nullptr;
  }
};

TEST_F(Gems, PickedUpWithinThreeHundredOnEasyAndTwoHundredFiftyAbove) {
  const struct {
    int difficulty;
    float distance;
    bool collected;
  } cases[] = {{0, 299, true}, {0, 301, false}, {2, 251, false}, {2, 249, true}, {1, 249, true}};
  for (const auto& c : cases) {
    PlayLesson(Rows(3) + Cell(8, '*') + Rows(20), c.difficulty);
    PGemEntity* gem = GemAt(8, 3);
    ASSERT_NE(nullptr, gem);
    EXPECT_FLOAT_EQ(940, gem->radius);
    // Head on at the gem's angle: 20 apart across, the rest along z.
    PlaceMoving(3500 - sqrtf(c.distance * c.distance - 20 * 20), 0);
    Silence(PGame::SOUND_BIP_GEM);
    Step();
    EXPECT_EQ(c.collected, gem->IsCollected()) << c.difficulty << " at " << c.distance;
    EXPECT_EQ(c.collected, !gem->IsVisible());
    EXPECT_EQ(c.collected, Started(PGame::SOUND_BIP_GEM));
    EXPECT_EQ(c.collected ? 1 : 0, Game().targetsTaken);
    if (c.collected) {
      EXPECT_FALSE(gem->emitter->IsEmitting());
      EXPECT_TRUE(Game().hudGemFlash->IsVisible());
    }
  }
}

TEST_F(Gems, MissedOnceFarBehindAndWithdrawnWhenCollected) {
  // A gem in column 0, beside the craft's way.
  PlayLesson(Rows(3) + Cell(0, '*') + Rows(40));
  PGemEntity* gem = GemAt(0, 3);
  ASSERT_NE(nullptr, gem);
  PlaceMoving(11000, 2000);
  // More than 8000 beyond the gem's z (3500).
  ASSERT_TRUE(StepUntil([&] { return gem->IsMissed(); }, 64));
  EXPECT_GT(Ship()->GetTrackPosition(), 11500);
  EXPECT_LE(Ship()->GetTrackPosition(), 11500 + 2000 * kStep);
  EXPECT_EQ(1, Game().missedGems);
  Step(30);
  EXPECT_EQ(1, Game().missedGems) << "counted once";
  EXPECT_EQ(Game().texMsgMissedGems, Game().messageSprite->m_texture);
  EXPECT_TRUE(Game().messageSprite->IsVisible());
  // Collected after all: one missed gem fewer, the warning gone.
  gem->Collect();
  EXPECT_FALSE(gem->IsMissed());
  EXPECT_EQ(0, Game().missedGems);
  EXPECT_EQ(1, Game().targetsTaken);
  EXPECT_FALSE(Game().messageSprite->IsVisible());
  // A restart brings the gem back.
  PlayLesson(Rows(3) + Cell(0, '*') + Rows(40));
  gem = GemAt(0, 3);
  ASSERT_NE(nullptr, gem);
  EXPECT_TRUE(gem->IsActive());
  EXPECT_EQ(0, Game().targetsTaken);
}

TEST_F(Gems, KnockedGemsBounceTwiceAudiblyAndRestOnTheWall) {
  PlayLesson(Rows(10) + Cell(8, '*') + Rows(20));
  PGemEntity* gem = GemAt(8, 10);
  ASSERT_NE(nullptr, gem);
  gem->Knock();
  EXPECT_TRUE(gem->emitter->IsEmitting());
  float highest = gem->radius;
  int contacts = 0;
  for (int i = 0; i < 640 && gem->moving; ++i) {
    Silence(PGame::SOUND_BOUNCE_GEM);
    Step();
    highest = fminf(highest, gem->radius);
    if (gem->bounceCount == contacts) continue;
    contacts = gem->bounceCount;
    EXPECT_EQ(contacts <= 2, Started(PGame::SOUND_BOUNCE_GEM)) << "contact " << contacts;
    // The trail ends with the second contact.
    EXPECT_EQ(contacts < 2, gem->emitter->IsEmitting()) << "contact " << contacts;
  }
  EXPECT_FALSE(gem->moving);
  EXPECT_GT(contacts, 3);
  EXPECT_FLOAT_EQ(940, gem->radius);
  EXPECT_EQ(0, gem->radialSpeed);
  // Thrown at 1363.6 against 1500 a second squared: about 620 high.
  EXPECT_NEAR(940 - 620, highest, 15);
  const D3DXVECTOR3& p = *gem->GetPosition();
  EXPECT_NEAR(940, sqrtf(p.x * p.x + p.y * p.y), 0.01f);
}

TEST_F(Gems, ABouncingGemIsCaughtPassingUnderIt) {
  PlayLesson(Rows(10) + Cell(8, '*') + Rows(20));
  PGemEntity* gem = GemAt(8, 10);
  ASSERT_NE(nullptr, gem);
  gem->Knock();
  ASSERT_TRUE(StepUntil([&] { return gem->radius < 640; }, 64));
  // 320 or more apart, but within 250 of the point above the craft.
  PlaceMoving(10500 - 200, 0);
  Step();
  EXPECT_TRUE(gem->IsCollected());
}

TEST_F(Gems, DestroyedGemsAreMissedForGood) {
  PlayLesson(Rows(3) + Cell(8, '*') + Rows(20));
  PGemEntity* gem = GemAt(8, 3);
  ASSERT_NE(nullptr, gem);
  Silence(PGame::SOUND_EXPLOSION_GEM);
  gem->Destroy();
  EXPECT_TRUE(Started(PGame::SOUND_EXPLOSION_GEM));
  EXPECT_FALSE(gem->IsActive());
  EXPECT_EQ(1, Game().missedGems);
  PlaceMoving(3400, 0);
  Step();
  EXPECT_FALSE(gem->IsCollected());
  EXPECT_FALSE(Game().AllTargetsCollected());
}

}  // namespace
