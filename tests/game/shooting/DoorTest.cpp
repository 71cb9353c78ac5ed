// Guard doors on the real engine: guards circling by theme, their contact
// and fire, killing them, the door swinging open, dark doors with night
// vision and the doors that have no guards.
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShape.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

namespace {

const float kPi = 3.14159265f;

class Doors : public RunSuite {
protected:
  static PGuardDoorEntity* Door(int i = 0) {
    return static_cast<PGuardDoorEntity*>(Game().GetDoor(i));
  }
  static float Radius(const D3DXVECTOR3& p) { return sqrtf(p.x * p.x + p.y * p.y); }
  // A query along +z at the middle of guard i's box from 300 before it.
  static SDxPickQuery AtGuard(PGuardDoorEntity* door, int i) {
    SDxPickQuery q;
    SDxBox box;
    door->GetGuard(i)->GetWorldBox(&box);
    q.origin = box.GetCenter() - D3DXVECTOR3(0, 0, 300);
    q.direction = D3DXVECTOR3(0, 0, 1);
    return q;
  }
};

TEST_F(Doors, GuardsCircleAtTheirThemesDistances) {
  const struct {
    int world, level;
    float width, inner, outer, zOffset;
  } themes[] = {
      {0, 0, 400, 900, 1000, -50},  // egypt
      {0, 1, 350, 825, 875, -50},   // medieval
      {0, 2, 650, 830, 860, -150},  // hitech
  };
  for (const auto& t : themes) {
    Play(Rows(12) + Cell(8, '\xB3') + Rows(30), 1, t.world, t.level);
    StartRun();
    Place(0);
    PGuardDoorEntity* door = Door();
    ASSERT_EQ(3, door->GetGuardCount());
    EXPECT_FLOAT_EQ(2 * kPi / 3, door->guardSpacing);
    SDxMesh* guard = door->GetGuard(0);
    EXPECT_NEAR(t.width, guard->GetBox().GetWidth() * guard->m_scaling._11, 0.01f);
    float low = 2000, high = 0;
    Hold(0, 280, 17 * kPi / 16, 960, [&] {
      float r = Radius(guard->GetPosition());
      low = fminf(low, r);
      high = fmaxf(high, r);
      EXPECT_FLOAT_EQ(12000 + t.zOffset, guard->GetZ());
    });
    EXPECT_NEAR(t.inner, low, 1) << t.world << t.level;
    EXPECT_NEAR(t.outer, high, 1) << t.world << t.level;
    // Guard 1 runs a third of a turn ahead of guard 0.
    float a0 = ArcTangent2(guard->GetX(), guard->GetY());
    SDxMesh* next = door->GetGuard(1);
    float a1 = ArcTangent2(next->GetX(), next->GetY());
    EXPECT_NEAR(2 * kPi / 3, WrapAngle(a1 - a0), 1e-4f);
  }
}

TEST_F(Doors, GuardsCrashTheCraftWhileTheyLive) {
  PlayLesson(Rows(12) + Cell(8, '\xB2') + Rows(30));
  PGuardDoorEntity* door = Door();
  ASSERT_EQ(2, door->GetGuardCount());
  // A dead guard is harmless.
  door->KillGuard(0);
  const D3DXVECTOR3 dead = door->GetGuard(0)->GetPosition();
  Place(dead.z, ArcTangent2(dead.x, dead.y), Radius(dead));
  Step();
  EXPECT_TRUE(Ship()->IsAlive());
  EXPECT_FALSE(door->IsOpen()) << "one guard lives";
  // A living one crashes the craft within 250.
  const D3DXVECTOR3 p = door->GetGuard(1)->GetPosition();
  Place(p.z - 240, ArcTangent2(p.x, p.y), Radius(p));
  Step();
  EXPECT_FALSE(Ship()->IsAlive());
  EXPECT_EQ(PGame::ITEM_GUARD_DOOR, Ship()->GetDeathKind());
}

TEST_F(Doors, TheLastGuardsDeathOpensTheDoor) {
  PlayLesson(Rows(12) + Cell(8, '\xB9') + Rows(30));
  PGuardDoorEntity* door = Door();
  ASSERT_EQ(1, door->GetGuardCount());
  // A bolt that misses every guard is not the door's.
  SDxPickQuery miss = AtGuard(door, 0);
  miss.origin.x += 2000;
  PLaserEntity* bolt = Game().FireLaser(PGame::ITEM_CRAFT, &miss.origin, nullptr, nullptr);
  EXPECT_FALSE(door->TestLaserHit(bolt, miss));
  EXPECT_TRUE(bolt->IsActive());
  // A hit: the bolt explodes 20 before the hit point, the guard dies.
  SDxPickQuery hit = AtGuard(door, 0);
  SDxPickQuery line = hit;
  ASSERT_TRUE(door->GetGuard(0)->Pick(&line));
  EXPECT_TRUE(door->TestLaserHit(bolt, hit));
  EXPECT_FALSE(bolt->IsActive());
  D3DXVECTOR3 before = line.origin + line.direction * (line.hitParameter - 20);
  EXPECT_LT(GetDistance(before, bolt->explosion->GetPosition()), 0.01f);
  EXPECT_FALSE(door->GetGuard(0)->IsVisible());
  EXPECT_FALSE(door->lights[0]->IsEnabled());
  EXPECT_EQ(Dx().GetTime(), door->allDeadTime);
  EXPECT_TRUE(Playing(PGame::SOUND_EXPLOSION_ENEMY));
  // It opens 0.5 s later; the leaf stops at 3 pi / 8 + 0.1.
  Silence(PGame::SOUND_DOOR);
  Step(32);
  EXPECT_FALSE(door->IsOpen());
  Step();
  EXPECT_TRUE(door->IsOpen());
  EXPECT_TRUE(Playing(PGame::SOUND_DOOR));
  EXPECT_EQ(PDoor_Open::Instance(), door->GetCurrentState());
  float opened = Dx().GetTime();
  ASSERT_TRUE(StepUntil([&] { return door->GetCurrentState() == PDoor_Default::Instance(); }, 200));
  EXPECT_NEAR(1.2780973f / (kPi / 4), Dx().GetTime() - opened, kStep);
  EXPECT_FLOAT_EQ(1.2780973f, door->leafAngle);
  EXPECT_FLOAT_EQ(1.1780972f, door->openingAngle);
  EXPECT_TRUE(door->IsOpen());
}

TEST_F(Doors, HitechGuardsFireInTurnOncePerSecond) {
  Play(Rows(12) + Cell(8, '\xB2') + Rows(30), 1, 0, 2);
  StartRun();
  PGuardDoorEntity* door = Door();
  ASSERT_EQ(2, door->GetGuardCount());
  // The craft high over the floor, out of the guards' line of fire.
  auto hover = [](float z, int frames) { Hold(z, frames, kPi, 300); };
  hover(12000 - 5000, 70);
  EXPECT_EQ(0, door->lastShotTime) << "not from 5000 before the door";
  hover(12000 - 4999, 1);
  float first = door->lastShotTime;
  EXPECT_EQ(Dx().GetTime(), first);
  EXPECT_EQ(1, door->nextShooter);
  PLaserEntity* shot = Game().lasers.GetLast();
  EXPECT_EQ(PGame::ITEM_ENEMY, shot->GetOwnerKind());
  EXPECT_EQ(3, shot->GetMotionKind());
  hover(12000 - 4999, 64);
  EXPECT_EQ(first, door->lastShotTime);
  hover(12000 - 4999, 1);
  EXPECT_FLOAT_EQ(first + 65 * kStep, door->lastShotTime);
  EXPECT_EQ(0, door->nextShooter);
  // A dead guard's turn passes without a shot; the other shoots next.
  door->KillGuard(1);
  hover(12000 - 4999, 65);
  EXPECT_EQ(1, door->nextShooter);
  EXPECT_FLOAT_EQ(first + 65 * kStep, door->lastShotTime);
  hover(12000 - 4999, 1);
  EXPECT_EQ(0, door->nextShooter);
  EXPECT_FLOAT_EQ(Dx().GetTime(), door->lastShotTime);
  // Past the door no guard shoots.
  float last = door->lastShotTime;
  hover(12100, 200);
  EXPECT_EQ(last, door->lastShotTime);
}

TEST_F(Doors, DarkDoorsAndDoorsWithoutGuards) {
  // The first 0xB0 is dark with one guard; a later one (subtype -1) has no
  // guard and opens half a second after it is made; neither darkens by
  // itself before it is open.
  PlayLesson(Rows(5) + Cell(8, '\xB0') + Rows(20) + Cell(8, '\xB0') + Rows(5) + Cell(8, 'e') +
             Rows(30));
  PGuardDoorEntity* dark = Door();
  EXPECT_TRUE(dark->IsDark());
  EXPECT_EQ(1, dark->GetGuardCount());
  EXPECT_EQ(1, dark->item->subtype);
  dark->KillGuard(0);
  Step(40);
  ASSERT_TRUE(dark->IsOpen());
  // Behind the door the scene darkens over 8000 from 1000 past it; then
  // night vision lights it again.
  const struct {
    float past;
    float tint;
    bool nightVision;
  } fade[] = {{1500, 0.46875f, false},
              {5000, 0.25f, false},
              {9000 - 1, 0.0000625f, false},
              {9000, 0.5f, true}};
  for (const auto& f : fade) {
    Place(5000 + f.past);
    Step();
    EXPECT_NEAR(f.tint, Dx().m_worldAmbient.r, 1e-5f) << f.past;
    EXPECT_NEAR(f.tint * 0.8f, Dx().m_lightColor.r, 1e-5f) << f.past;
    EXPECT_EQ(f.nightVision, Game().IsNightVisionOn()) << f.past;
  }
  EXPECT_TRUE(dark->darkeningDone);
  // The later plain door was made when row 26 came within 16 rows.
  Step(33);
  ASSERT_EQ(2, Game().GetDoorCount());
  PGuardDoorEntity* plain = Door(1);
  EXPECT_FALSE(plain->IsDark());
  EXPECT_EQ(0, plain->GetGuardCount());
  EXPECT_TRUE(plain->IsOpen());
  // An enemy blown up in the dark flashes the screen by its distance.
  Place(20000);
  Step();
  ASSERT_EQ(1, Game().enemies.GetCount());
  PEnemyEntity* enemy = Game().enemies[0];
  Place(enemy->GetZ() - 1000);
  Step();
  enemy->Destroy(false);
  EXPECT_FLOAT_EQ(16, Dx().m_flashAmount);
  EXPECT_EQ(Dx().GetTime(), Dx().m_flashStart);

  // Without night vision no flash.
  Forget();
  PlayLesson(Rows(5) + Cell(8, 'e') + Rows(30));
  Dx().FlashBrightness(0, 0);
  Game().enemies[0]->Destroy(false);
  EXPECT_EQ(0, Dx().m_flashStart);
}

TEST_F(Doors, TheDarkDoorOfTheLastHitechLevelHasNoGuard) {
  Play(Rows(5) + Cell(8, '\xB0') + Rows(30), 1, 4, 2);
  StartRun();
  Hold(0, 1);
  PGuardDoorEntity* door = Door();
  EXPECT_TRUE(door->IsDark());
  EXPECT_EQ(0, door->GetGuardCount());
  EXPECT_EQ(0, door->item->subtype);
  EXPECT_FALSE(door->IsOpen());
  Hold(0, 33);
  EXPECT_TRUE(door->IsOpen()) << "opened half a second after it was made";
}

TEST_F(Doors, TheCraftsShotKillsAGuard) {
  PlayLesson(Rows(8) + Cell(8, '\xB9') + Rows(30));
  PGuardDoorEntity* door = Door();
  SDxMesh* guard = door->GetGuard(0);
  Place(6000);
  // The shot leaves two frames after the press and meets the guard's z
  // 0.195 s later: it goes when the guard will be over the craft by then.
  ASSERT_TRUE(StepUntil(
      [&] {
        float a = ArcTangent2(guard->GetX(), guard->GetY()) + 1.5f * (0.195f + 2 * kStep);
        return fabsf(AngleDifference(a, Ship()->GetAngle())) < 0.03f;
      },
      300));
  Tap(VK_CONTROL);
  Step(20);
  EXPECT_FALSE(guard->IsVisible());
  Step(40);
  EXPECT_TRUE(door->IsOpen());
}

}  // namespace
