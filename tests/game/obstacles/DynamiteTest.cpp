// Dynamite on the real engine with a stepped clock: the fuse by kind and
// difficulty, the ticking and the explosion in the craft's hold, a stick
// carried off by a wagon, and who owns a stick (the dynamite array, the
// craft, a wagon) whatever happens in whatever order.
#include "core/Platform.h"

#include "engine/SDxBlob.h"
#include "engine/SDxLight.h"
#include "engine/SDxParticle.h"
#include "engine/SDxSprite.h"
#include "tests/game/obstacles/ObstacleSupport.h"

#include <random>
#include <vector>

namespace {

class Dynamite : public ObstacleSuite {
protected:
  // The craft on the wall right by the stick (40 from it).
  static void Reach(PDynamiteEntity* stick) { Place(stick->GetZ(), stick->item->angle); }
  static bool HudShown() { return Game().hudDynamite->IsVisible(); }
  // Who owns each stick, checked after every event: a held stick is alive,
  // out of the array and the only one counting down, its carrier (if any) a
  // live wagon; every stick of the array is alive and lying; the indicator
  // shows exactly while a stick counts down in the hold.
  static void CheckOwnership(const char* event, int step) {
    PGame& game = Game();
    PShipEntity* ship = game.GetShip();
    PDynamiteEntity* held = ship->GetHeldDynamite();
    SCOPED_TRACE(testing::Message() << event << " at event " << step);
    if (held) {
      ASSERT_TRUE(IsLive(held));
      EXPECT_LT(game.dynamites.Find(held), 0);
      if (PWagonEntity* wagon = held->GetCarrier()) {
        EXPECT_TRUE(IsLive(wagon));
        EXPECT_GE(game.wagons.Find(wagon), 0);
        EXPECT_FALSE(held->IsExploded());
      }
    }
    for (int i = 0; i < game.dynamites.GetCount(); ++i) {
      PDynamiteEntity* lying = game.dynamites[i];
      ASSERT_TRUE(IsLive(lying));
      EXPECT_EQ(PDynamite_Default::Instance(), lying->GetCurrentState());
      EXPECT_NE(held, lying);
    }
    SDxManager* manager = ship->GetLayer()->m_manager;
    int counting = 0;
    for (int i = 0; i < manager->GetCount(); ++i) {
      SDxEntity* entity = manager->GetEntity(i);
      if (entity->GetType() != PGame::ITEM_DYNAMITE || entity->IsRemoved()) continue;
      auto* stick = static_cast<PDynamiteEntity*>(entity);
      if (stick->IsCountingDown()) {
        ++counting;
        EXPECT_EQ(held, stick);
      }
    }
    EXPECT_LE(counting, 1);
    EXPECT_EQ(counting == 1, game.hudDynamite->IsVisible());
  }
};

TEST_F(Dynamite, FusesByKindAndDifficulty) {
  const struct {
    int difficulty;
    float small, large;  // 'd' and 'D'
  } cases[] = {{0, 20, 30}, {1, 15, 25}, {2, 13, 23}};
  for (const auto& c : cases) {
    PlayLesson(Rows(3) + Cell(3, 'd') + Cell(3, 'D') + Rows(40), c.difficulty);
    Step();
    auto* small = EntityAt<PDynamiteEntity>(3, 3);
    auto* large = EntityAt<PDynamiteEntity>(3, 4);
    ASSERT_NE(nullptr, small);
    ASSERT_NE(nullptr, large);
    EXPECT_FLOAT_EQ(c.small, small->fuseTime) << c.difficulty;
    EXPECT_FLOAT_EQ(c.large, large->fuseTime) << c.difficulty;
    // Never taken: the whole fuse left, no countdown, no ticking.
    Step(64);
    EXPECT_FLOAT_EQ(c.small, small->GetTimeLeft());
    EXPECT_EQ(0, small->countdownStart);
    EXPECT_EQ(PDynamite_Default::Instance(), small->GetCurrentState());
    EXPECT_TRUE(small->IsVisible());
  }
}

TEST_F(Dynamite, AHeldStickTicksItsLastSixSecondsThenCrashesTheCraft) {
  PlayLesson(Rows(3) + Cell(3, 'd') + Rows(40), 2);
  Step();
  auto* stick = EntityAt<PDynamiteEntity>(3, 3);
  ASSERT_NE(nullptr, stick);
  ASSERT_EQ(1, Game().dynamites.GetCount());
  Silence(PGame::SOUND_CATCH_DYNAMITE);
  Reach(stick);
  Step();
  // Taken: out of the array, hidden, beeping, the indicator on.
  ASSERT_EQ(stick, Ship()->GetHeldDynamite());
  float taken = Dx().GetTime();
  EXPECT_FLOAT_EQ(taken, stick->countdownStart);
  EXPECT_EQ(0, Game().dynamites.GetCount());
  EXPECT_FALSE(stick->IsVisible());
  EXPECT_TRUE(Playing(PGame::SOUND_CATCH_DYNAMITE));
  EXPECT_TRUE(Playing(PGame::SOUND_BIP_DYNAMITE));
  EXPECT_TRUE(HudShown());
  // 13 s on difficulty 2; the ticking starts below 6.0 s, not at 6.0.
  Place(2000, Angle(8));
  Step((int)(7 / kStep));
  EXPECT_FLOAT_EQ(6.0f, stick->GetTimeLeft());
  EXPECT_FALSE(Playing(PGame::SOUND_DYNAMITE));
  Step();
  EXPECT_TRUE(Playing(PGame::SOUND_DYNAMITE));
  EXPECT_TRUE(Ship()->IsAlive());
  Step((int)(6 / kStep) - 2);
  EXPECT_FALSE(stick->IsExploded());
  Silence(PGame::SOUND_EXPLOSION_DYNAMITE);
  Step();
  EXPECT_FLOAT_EQ(13, Dx().GetTime() - taken);
  EXPECT_TRUE(Playing(PGame::SOUND_EXPLOSION_DYNAMITE));
  EXPECT_FALSE(Ship()->IsAlive());
  EXPECT_EQ(PGame::ITEM_DYNAMITE, Ship()->GetDeathKind());
  EXPECT_EQ(nullptr, Ship()->GetHeldDynamite());
  EXPECT_FALSE(HudShown());
  EXPECT_FALSE(Playing(PGame::SOUND_BIP_DYNAMITE));
  EXPECT_FALSE(Playing(PGame::SOUND_DYNAMITE));
  // The explosion plays out (in drawn frames) before the stick goes.
  EXPECT_TRUE(stick->explosion->IsPlaying());
  Draw(true);
  Step(10);
  EXPECT_TRUE(IsLive(stick));
  ASSERT_TRUE(StepUntil([&] { return !IsLive(stick); }, 200));
  Draw(false);
}

TEST_F(Dynamite, TheCraftTakesASecondStickOnlyWhenTheFirstIsGone) {
  PlayLesson(Rows(3) + Cell(3, 'd') + Cell(3, 'd') + Rows(40));
  Step();
  auto* first = EntityAt<PDynamiteEntity>(3, 3);
  auto* second = EntityAt<PDynamiteEntity>(3, 4);
  Reach(first);
  Step();
  ASSERT_EQ(first, Ship()->GetHeldDynamite());
  // Refused, the second keeps lying there and asks again every frame.
  Reach(second);
  Step(10);
  EXPECT_EQ(first, Ship()->GetHeldDynamite());
  EXPECT_EQ(PDynamite_Default::Instance(), second->GetCurrentState());
  EXPECT_EQ(1, Game().dynamites.GetCount());
  // Dropped (as a crash does): the first goes, the second is taken.
  Ship()->DropDynamite();
  EXPECT_TRUE(first->IsRemoved());
  Step();
  EXPECT_EQ(second, Ship()->GetHeldDynamite());
  EXPECT_EQ(PDynamite_CountingDown::Instance(), second->GetCurrentState());
}

TEST_F(Dynamite, AShotOnAHeldStickBlowsItUpOnce) {
  PlayLesson(Rows(3) + Cell(3, 'd') + Rows(40), 1, 2);
  Step();
  auto* stick = EntityAt<PDynamiteEntity>(3, 3);
  Reach(stick);
  Step();
  ASSERT_EQ(stick, Ship()->GetHeldDynamite());
  Ship()->HitByShot(PGame::ITEM_ENEMY);
  EXPECT_TRUE(stick->IsExploded());
  EXPECT_EQ(PGame::ITEM_DYNAMITE, Ship()->GetDeathKind());
  EXPECT_EQ(2, Game().lives);
  EXPECT_TRUE(stick->explosion->IsPlaying());
  EXPECT_TRUE(stick->particles->IsEmitting());
  EXPECT_FALSE(stick->light->IsEnabled());
  // Later calls change nothing.
  Silence(PGame::SOUND_EXPLOSION_DYNAMITE);
  stick->Explode();
  EXPECT_FALSE(Playing(PGame::SOUND_EXPLOSION_DYNAMITE));
}

TEST_F(Dynamite, AStickOnAWagonBlowsUpTheWagonNotTheCraft) {
  PlayLesson(Rows(3) + Cell(3, 'd') + Cell(5, 'W') + Rows(40));
  Step();
  auto* stick = EntityAt<PDynamiteEntity>(3, 3);
  auto* wagon = EntityAt<PWagonEntity>(5, 4);
  ASSERT_NE(nullptr, stick);
  ASSERT_NE(nullptr, wagon);
  Reach(stick);
  Step();
  ASSERT_EQ(stick, Ship()->GetHeldDynamite());
  // The wagon takes it over as its strike does: the stick rides on it with
  // a smoking fuse.
  stick->SetCarrier(wagon);
  stick->SetVisible(true);
  stick->ShowFuse();
  Place(1000, Angle(8));
  Step();
  D3DXVECTOR3 onWagon, fuse;
  const D3DXVECTOR3 kOnWagon(0, 25, 0), kFuse(1.64f, 1.99f, -0.75f);
  D3DXVec3TransformCoord(&onWagon, &kOnWagon, wagon->GetWorldMatrix());
  EXPECT_NEAR(0, GetDistance(onWagon, *stick->GetPosition()), 0.01f);
  D3DXVec3TransformCoord(&fuse, &kFuse, stick->GetWorldMatrix());
  EXPECT_NEAR(0, GetDistance(fuse, stick->fuseSmoke->m_position), 0.01f);
  EXPECT_TRUE(stick->fuseSmoke->IsEmitting());
  // A shot on the craft no longer reaches the stick: it costs a life.
  int lives = Game().lives;
  Ship()->HitByShot(PGame::ITEM_ENEMY);
  EXPECT_FALSE(stick->IsExploded());
  EXPECT_EQ(lives - 1, Game().lives);
  Ship()->speed = 0;
  stick->Explode();
  EXPECT_TRUE(wagon->exploded);
  EXPECT_FALSE(wagon->IsVisible());
  EXPECT_TRUE(Ship()->IsAlive());
  EXPECT_EQ(nullptr, stick->GetCarrier());
  EXPECT_FALSE(stick->fuseSmoke->IsVisible());
  EXPECT_FALSE(HudShown());
  // The spent stick shields the craft from no shot.
  Ship()->HitByShot(PGame::ITEM_ENEMY);
  EXPECT_EQ(lives - 2, Game().lives);
  Ship()->speed = 0;
  // Once its explosion is over (drawn frames play it) the stick is gone
  // and the craft's hold with it.
  Draw(true);
  ASSERT_TRUE(StepUntil([&] { return Ship()->GetHeldDynamite() == nullptr; }, 200));
  Draw(false);
  EXPECT_TRUE(Ship()->IsAlive());
}

TEST_F(Dynamite, PassingAStickLeftLyingKeepsTheOneHeld) {
  PlayLesson(Rows(3) + Cell(3, 'd') + Cell(3, 'D') + Rows(60));
  Step();
  auto* held = EntityAt<PDynamiteEntity>(3, 3);
  Reach(held);
  Step();
  ASSERT_EQ(held, Ship()->GetHeldDynamite());
  ASSERT_EQ(1, Game().dynamites.GetCount());
  // Far ahead: the stick left lying is removed behind the craft.
  Place(25000, Angle(8));
  Step(2);
  EXPECT_EQ(0, Game().dynamites.GetCount());
  EXPECT_EQ(held, Ship()->GetHeldDynamite());
  EXPECT_TRUE(HudShown());
  EXPECT_TRUE(Playing(PGame::SOUND_BIP_DYNAMITE));
  // It still goes off in the hold.
  ASSERT_TRUE(StepUntil([&] { return !Ship()->IsAlive(); }, (int)(16 / kStep)));
  EXPECT_EQ(PGame::ITEM_DYNAMITE, Ship()->GetDeathKind());
}

TEST_F(Dynamite, OwnershipHoldsInAnyOrderOfEvents) {
  // Sticks in column 3 and wagons in column 5, every 8 rows.
  std::string rows = Rows(2);
  for (int i = 0; i < 20; ++i) rows += Cell(3, i % 3 == 2 ? 'D' : 'd') + Cell(5, 'W') + Rows(6);
  rows += Rows(20);
  // The events, pickups and carries drawn more often.
  enum { PICKUP, DROP, CRASH, CULL, EXPLOSION, SHOT, CARRY, TIME, RESTART, RELOAD };
  const char* kEvents[] = {"pickup", "drop",  "crash", "cull",    "explosion",
                           "shot",   "carry", "time",  "restart", "reload"};
  const int kDraws[] = {PICKUP, PICKUP, PICKUP, CARRY, CARRY,     CULL,    CULL,  TIME,
                        DROP,   CRASH,  SHOT,   TIME,  EXPLOSION, RESTART, RELOAD};
  for (unsigned seed : {1u, 2u, 3u}) {
    Forget();
    PlayLesson(rows);
    std::mt19937 random(seed);
    for (int step = 0; step < 40; ++step) {
      PGame& game = Game();
      PShipEntity* ship = game.GetShip();
      PDynamiteEntity* held = ship->GetHeldDynamite();
      int event = kDraws[random() % (sizeof(kDraws) / sizeof(kDraws[0]))];
      switch (event) {
        case PICKUP:  // the craft by a lying stick
          if (game.dynamites.GetCount() > 0)
            Reach(game.dynamites[(int)(random() % game.dynamites.GetCount())]);
          Step();
          break;
        case DROP:
          ship->DropDynamite();
          Step();
          break;
        case CRASH:
          ship->Crash((int)(random() % 24), (random() % 2) ? 1.0f : 0.0f);
          Step();
          break;
        case CULL:  // far ahead: what lies behind goes
          if (ship->GetTrackPosition() > 140000) {
            Game().Restart();
            Step(2);
          }
          Place(ship->GetTrackPosition() + 12000 + (float)(random() % 16000), Angle(8));
          Step();
          break;
        case EXPLOSION:
          if (held) held->Explode();
          Step();
          break;
        case SHOT:
          ship->HitByShot(PGame::ITEM_ARROW);
          Step();
          break;
        case CARRY:  // the first wagon takes the held stick over
          if (held && !held->GetCarrier() && !held->IsExploded() && game.wagons.GetCount() > 0) {
            held->SetCarrier(game.wagons[0]);
            held->ShowFuse();
          }
          Step();
          break;
        case TIME:  // time passes: fuses run out, explosions play
          Draw(random() % 2 == 0);
          Step(1 + (int)(random() % 150));
          Draw(false);
          break;
        case RESTART:
          Game().Restart();
          Step(2);
          break;
        case RELOAD:
          if (random() % 2 == 0) {
            Forget();
            PlayLesson(rows);
          }
          Step();
          break;
      }
      CheckOwnership(kEvents[event], step);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
