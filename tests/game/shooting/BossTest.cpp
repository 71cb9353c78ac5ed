// The boss of the centre level on the real engine: its phases with both
// waves of flies, the run away, the brake, the explosion under the boulder;
// the flies' flight, queueing and fire; the boss's crash window, the gems
// it destroys and the boxes it lifts.
#include "core/Platform.h"

#include "engine/SDxCamera.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxParticle.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

namespace {

const float kPi = 3.14159265f;
// Off the floor, where the boss never meets the craft.
const float kAside = kPi + 1.2f;

class Boss : public RunSuite {
protected:
  // The centre level's run, started.
  static PBossEntity* StartBossRun(const std::string& rows = Rows(250)) {
    Play(rows, 1, 2, 2);
    StartRun();
    return Game().GetBoss();
  }
  // Every fly hit, then frames drawn until their explosions are over and
  // they have reported to the boss.
  static void DestroyFlies(PBossEntity* boss, float craftZ) {
    for (int i = 0; i < boss->GetFlyCount(); ++i) boss->GetFly(i)->Destroy();
    Draw(true);
    for (int i = 0; i < 200 && boss->GetFlyCount() > 0; ++i) Hold(craftZ, 1, kAside);
    Draw(false);
  }
};

TEST_F(Boss, TwoWavesOfFliesThenItRunsBrakesAndExplodesUnderTheBoulder) {
  PBossEntity* boss = StartBossRun();
  ASSERT_NE(nullptr, boss);
  EXPECT_EQ(1, boss->GetPhase());
  EXPECT_EQ(1, boss->GetSpawnCount()) << "the first fly at the run's start";
  EXPECT_EQ(Game().stateTime, boss->lastSpawnTime);
  // One fly every 2.0 s.
  float first = boss->lastSpawnTime;
  Hold(0, 128, kAside);
  EXPECT_EQ(1, boss->GetSpawnCount());
  Hold(0, 1, kAside);
  EXPECT_EQ(2, boss->GetSpawnCount());
  EXPECT_FLOAT_EQ(first + 2 + kStep, boss->lastSpawnTime);
  // The rest of the wave without the waits: 15 flies, no more.
  while (boss->GetSpawnCount() < 15) {
    boss->lastSpawnTime = 0;
    Hold(0, 1, kAside);
  }
  boss->lastSpawnTime = 0;
  Hold(0, 1, kAside);
  EXPECT_EQ(15, boss->GetFlyCount());
  // A fly destroyed while others live changes nothing.
  boss->GetFly(0)->Destroy();
  Draw(true);
  Hold(0, 100, kAside);
  Draw(false);
  EXPECT_EQ(14, boss->GetFlyCount());
  EXPECT_EQ(1, boss->GetPhase());
  DestroyFlies(boss, 0);
  // Running away: emitters, light and its sound emitter on. The craft
  // follows 3000 behind it.
  ASSERT_EQ(2, boss->GetPhase());
  EXPECT_EQ(PBoss_Move::Instance(), boss->GetCurrentState());
  EXPECT_TRUE(boss->smoke[0]->IsEmitting() && boss->fire[1]->IsVisible());
  EXPECT_TRUE(boss->light->IsEnabled());
  EXPECT_NE(nullptr, boss->GetMainObject()->m_soundVoice);
  auto follow = [&](int frames) {
    for (int i = 0; i < frames; ++i) Hold(boss->GetZ() - 3000, 1, kAside);
  };
  float z = boss->GetZ();
  follow(1);
  EXPECT_NEAR(2250 * kStep, boss->GetZ() - z, 1e-3f);
  EXPECT_NEAR(935, sqrtf(boss->GetX() * boss->GetX() + boss->GetY() * boss->GetY()), 15.01f);
  // Past z 70000 the second wave: one fly every 4.0 s up to 25; fly 16
  // starts at the place of fly 1 and fires every 1.5 s.
  boss->SetPositionXYZ(0, -950, 69990);
  follow(1);
  ASSERT_EQ(3, boss->GetPhase());
  follow(1);
  ASSERT_EQ(16, boss->GetSpawnCount());
  PBossFlyEntity* sixteenth = boss->GetFly(0);
  EXPECT_FLOAT_EQ(1.5f, sixteenth->GetFireInterval());
  EXPECT_NEAR(0, sixteenth->GetX(), 80);
  EXPECT_NEAR(700, sixteenth->GetY(), 80) << "(0, 1000) held to the tube";
  float wave2 = boss->lastSpawnTime;
  follow(256);
  EXPECT_EQ(16, boss->GetSpawnCount());
  follow(1);
  EXPECT_EQ(17, boss->GetSpawnCount());
  EXPECT_FLOAT_EQ(wave2 + 4 + kStep, boss->lastSpawnTime);
  while (boss->GetSpawnCount() < 25) {
    boss->lastSpawnTime = 0;
    follow(1);
  }
  boss->lastSpawnTime = 0;
  follow(1);
  EXPECT_EQ(25, boss->GetSpawnCount());
  for (int i = 0; i < boss->GetFlyCount(); ++i) boss->GetFly(i)->Destroy();
  // The last fly's report: emitters stop, the boulder 15000 behind, the
  // brake.
  Draw(true);
  for (int i = 0; i < 200 && boss->GetPhase() != 4; ++i) follow(1);
  Draw(false);
  ASSERT_EQ(4, boss->GetPhase());
  EXPECT_EQ(PBoss_Brake::Instance(), boss->GetCurrentState());
  EXPECT_FALSE(boss->smoke[0]->IsEmitting() || boss->fire[1]->IsEmitting());
  EXPECT_NEAR(boss->GetZ() - 15000, Game().GetBoulderShape()->GetZ(), 100);
  float braking = boss->GetMachine()->GetEnterTime();
  // Half way the speed is 1125; after 5.0 s it stands. The craft waits
  // beside it.
  auto wait = [&](int frames) {
    for (int i = 0; i < frames; ++i) {
      Place(boss->GetZ() - 1000, kAside);
      Step();
    }
  };
  wait((int)((braking + 2.5f - Dx().GetTime()) / kStep + 0.5f) - 1);
  z = boss->GetZ();
  wait(1);
  EXPECT_NEAR(1125 * kStep, boss->GetZ() - z, 0.01f);
  for (int i = 0; i < 200 && boss->GetCurrentState() != PBoss_Default::Instance(); ++i) wait(1);
  EXPECT_NEAR(5.0f, Dx().GetTime() - braking, 1.5f * kStep);
  // The craft passes it: the camera looks back.
  z = boss->GetZ();
  Place(z + 10000, kAside);
  Step();
  EXPECT_EQ(5, boss->GetPhase());
  D3DXVECTOR3 forward, up, right;
  Game().camera->GetAxes(&forward, &up, &right, nullptr);
  EXPECT_LT(forward.z, -0.9f);
  // The boulder reaches it: hidden, the last target, then phase 6 when its
  // explosion is over.
  int taken = Game().targetsTaken;
  ASSERT_TRUE(StepUntil([&] { return boss->IsExploded(); }, 1000));
  EXPECT_FALSE(boss->IsVisible());
  EXPECT_EQ(taken + 1, Game().targetsTaken);
  EXPECT_TRUE(Playing(PGame::SOUND_EXPLOSION_BOSS));
  EXPECT_LT(boss->GetZ() - boss->GetMainObject()->GetScaledDepth(),
            Game().GetBoulderShape()->GetZ() + 990);
  Draw(true);
  ASSERT_TRUE(StepUntil([&] { return boss->GetPhase() == 6; }, 300));
  Draw(false);
  EXPECT_TRUE(boss->explosionOver);
  EXPECT_TRUE(Ship()->IsAlive());
}

TEST_F(Boss, FliesCloseInKeepTheirPlaceAndFire) {
  PBossEntity* boss = StartBossRun();
  Hold(0, 1, kPi);
  // One fly only: the boss stands waiting.
  boss->phase = 0;
  Game().lives = 1000;
  ASSERT_EQ(1, boss->GetFlyCount());
  PBossFlyEntity* fly = boss->GetFly(0);
  EXPECT_FLOAT_EQ(2.0f, fly->GetFireInterval());
  // Far ahead of the boss it closes in at 5000 a second, within 700 of
  // the axis; no shot while it is ahead.
  Hold(0, 2, kPi);
  D3DXVECTOR3 before = *fly->GetPosition();
  Hold(0, 1, kPi);
  EXPECT_NEAR(5000 * kStep, GetDistance(before, *fly->GetPosition()), 0.01f);
  for (int i = 0; i < 300 && fly->GetZ() >= boss->GetZ(); ++i) {
    EXPECT_EQ(0, fly->lastFireTime);
    const D3DXVECTOR3& p = *fly->GetPosition();
    EXPECT_LE(p.x * p.x + p.y * p.y, 700 * 700 + 1);
    Hold(0, 1, kPi);
  }
  ASSERT_LT(fly->GetZ(), boss->GetZ());
  // Behind the boss: 500 a second, never more than 2000 behind it, and a
  // shot at the craft every 2.0 s.
  before = *fly->GetPosition();
  Hold(0, 1, kPi);
  float moved = GetDistance(before, *fly->GetPosition());
  EXPECT_TRUE(fabsf(moved - 500 * kStep) < 0.01f || fly->GetZ() == boss->GetZ() - 2000) << moved;
  Hold(0, 200, kPi, 960, [&] { EXPECT_GE(fly->GetZ(), boss->GetZ() - 2000); });
  EXPECT_NE(0, fly->lastFireTime);
  float shot = fly->lastFireTime;
  for (int i = 0; i < 200 && fly->lastFireTime == shot; ++i) Hold(0, 1, kPi);
  shot = fly->lastFireTime;
  PLaserEntity* bolt = Game().lasers.GetLast();
  EXPECT_EQ(PGame::ITEM_BOSS_FLY, bolt->GetOwnerKind());
  EXPECT_EQ(6, bolt->GetMotionKind());
  Hold(0, 128, kPi);
  EXPECT_EQ(shot, fly->lastFireTime);
  Hold(0, 1, kPi);
  EXPECT_FLOAT_EQ(shot + 2 + kStep, fly->lastFireTime);
  // Intervals by the spawn count: 1.75, 2.25, 1.5, then 2.0 again.
  const float intervals[] = {1.75f, 2.25f, 1.5f, 2.0f};
  for (float interval : intervals) EXPECT_FLOAT_EQ(interval, boss->SpawnFly()->GetFireInterval());
  // Two flies within 150: the one nearer the craft moves, the other waits.
  boss->DeleteFlies();
  PBossFlyEntity* front = boss->SpawnFly();
  PBossFlyEntity* back = boss->SpawnFly();
  front->SetPositionXYZ(0, -300, boss->GetZ() - 1000);
  back->SetPositionXYZ(0, -300, boss->GetZ() - 900);
  D3DXVECTOR3 frontAt = *front->GetPosition(), backAt = *back->GetPosition();
  Hold(0, 1, kPi);
  EXPECT_GT(GetDistance(frontAt, *front->GetPosition()), 1);
  EXPECT_EQ(backAt, *back->GetPosition());
  // Once the craft has crashed no fly fires.
  Ship()->Crash(PGame::ITEM_BOSS_FLY, 0);
  float lastFront = front->lastFireTime, lastBack = back->lastFireTime;
  Step(300);
  EXPECT_EQ(lastFront, front->lastFireTime);
  EXPECT_EQ(lastBack, back->lastFireTime);
  boss->DeleteFlies();
}

TEST_F(Boss, ItCrashesTheCraftAtItsFarEndNearTheFloor) {
  const struct {
    float turn;  // of the craft from the floor
    float dz;    // of the craft from the boss's far end
    bool crash;
  } cases[] = {{0, 0, true},      {0.45f, 30, true}, {-0.45f, -30, true},
               {0.47f, 0, false}, {0, 50, false},    {0, -50, false}};
  for (const auto& c : cases) {
    PBossEntity* boss = StartBossRun();
    boss->DeleteFlies();
    boss->phase = 0;
    // Moving: it does not start again while it moves; no fly is found
    // while it runs away.
    boss->StartMoving();
    ASSERT_EQ(PBoss_Move::Instance(), boss->GetCurrentState());
    boss->StartMoving();
    boss->phase = 2;
    EXPECT_EQ(nullptr, boss->FindNearestFly());
    Hold(0, 1, kAside);
    boss->DeleteFlies();
    SDxBox box;
    boss->GetMainObject()->GetWorldBox(&box);
    // The box's far end in the next frame.
    float end = box.max.z + 2250 * kStep;
    Place(end + c.dz, kPi + c.turn);
    Ship()->speed = 0;
    Step();
    EXPECT_EQ(c.crash, !Ship()->IsAlive()) << c.turn << " " << c.dz;
    if (!c.crash) continue;
    EXPECT_EQ(PGame::ITEM_BOSS, Ship()->GetDeathKind());
    EXPECT_FLOAT_EQ(4000, Ship()->GetSpeed());
    EXPECT_EQ(PBoss_Default::Instance(), boss->GetCurrentState());
  }
}

TEST_F(Boss, ItDestroysGemsInItsWayAndLiftsTheBoxesItPasses) {
  PBossEntity* boss = StartBossRun(Rows(20) + Cell(8, '\xA3') + Rows(4) + Cell(8, '*') + Rows(30));
  boss->DeleteFlies();
  boss->phase = 0;
  Hold(12000, 1, kAside);
  auto* box = static_cast<PBoxEntity*>(Game().GetPlatform(Game().GetPlatformCount() - 1));
  ASSERT_EQ(PGame::ITEM_BOX, box->GetType());
  ASSERT_EQ(1, Game().GetGemCount());
  PGemEntity* gem = Game().GetGem(0);
  boss->SetPositionXYZ(0, -950, 19900);
  boss->StartMoving();
  Hold(12000, 2, kAside);
  EXPECT_FALSE(box->IsRaised());
  for (int i = 0; i < 20 && !box->IsRaised(); ++i) Hold(12000, 1, kAside);
  ASSERT_TRUE(box->IsRaised());
  EXPECT_GT(boss->GetZ(), box->GetZ());
  EXPECT_LT(boss->GetZ() - 2250 * kStep, box->GetZ());
  EXPECT_EQ(0, Game().missedGems);
  for (int i = 0; i < 400 && gem->IsActive(); ++i) Hold(12000, 1, kAside);
  ASSERT_FALSE(gem->IsActive());
  SDxBox world;
  boss->GetMainObject()->GetWorldBox(&world);
  EXPECT_TRUE(world.Contains(*gem->GetPosition()));
  EXPECT_EQ(1, Game().missedGems);
}

}  // namespace
