// The solid pieces of the track on the real engine with a stepped clock:
// walls pushed and sliding, jumpers, pistons and the boulder's triggers.
#include "core/Platform.h"

#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "tests/game/obstacles/ObstacleSupport.h"

namespace {

class TrackPieces : public ObstacleSuite {};

TEST_F(TrackPieces, PushableWallsMoveOneRowAPushAndTurnTheirLightRed) {
  const struct {
    const char* name;
    char wall;
    int world, level;  // (1, 1): the lesson, egypt; (0, 1) medieval
    int pushes;
    bool lightAtFirst;
  } cases[] = {
      {"plain", '|', 1, 1, 0, false},
      {"once", '\'', 1, 1, 1, true},
      {"twice", '"', 1, 1, 2, true},
      {"medieval, twice", '"', 0, 1, 2, false},
  };
  for (const auto& c : cases) {
    std::string rows = Rows(5) + Cell(3, c.wall) + Rows(40);
    PlayCell(rows, c.world, c.level);
    Step();
    auto* wall = EntityAt<PWallEntity>(3, 5);
    ASSERT_NE(nullptr, wall) << c.name;
    EXPECT_EQ(c.pushes, wall->pushesAllowed) << c.name;
    ASSERT_EQ(c.pushes > 0, wall->light != nullptr) << c.name;
    if (wall->light) {
      EXPECT_EQ(c.lightAtFirst, wall->light->IsEnabled()) << c.name;
      EXPECT_FLOAT_EQ(0.5f, wall->light->m_intensity) << c.name;
      EXPECT_EQ(D3DXVECTOR3(0.25f, 1, 0.25f), wall->light->m_color) << c.name;
      // Before the wall's front, over its column.
      float a = Angle(3);
      D3DXVECTOR3 at = wall->light->GetPosition();
      EXPECT_NEAR(800 * sinf(a), at.x, 0.01f) << c.name;
      EXPECT_NEAR(800 * cosf(a), at.y, 0.01f) << c.name;
      EXPECT_FLOAT_EQ(4500, at.z) << c.name;
    }
    auto* mesh = static_cast<SDxMesh*>(wall->GetMainObject());
    SDxTexture* face = mesh->m_textures[0];
    for (int push = 0; push < c.pushes; ++push) {
      Silence(PGame::SOUND_PUSH_WALL);
      wall->Push();
      wall->Push();  // a hit during the push queues nothing
      EXPECT_TRUE(Playing(PGame::SOUND_PUSH_WALL)) << c.name;
      Step(63);
      EXPECT_TRUE(wall->moving) << c.name;
      EXPECT_LT(wall->GetZ(), 6000 + push * 1000) << c.name;
      Step();
      EXPECT_FALSE(wall->moving) << c.name;
      EXPECT_FLOAT_EQ(6000 + push * 1000, wall->GetZ()) << c.name;
      EXPECT_EQ(push + 1, wall->pushesDone) << c.name;
      bool last = push + 1 == c.pushes;
      EXPECT_EQ(last ? Game().texWallOff : face, mesh->m_textures[0]) << c.name;
      EXPECT_EQ(last || c.lightAtFirst, wall->light->IsEnabled()) << c.name;
      EXPECT_FLOAT_EQ(wall->GetZ() - 500, wall->light->GetPosition().z) << c.name;
    }
    if (wall->light) {
      EXPECT_EQ(D3DXVECTOR3(1, 0.25f, 0.25f), wall->light->m_color) << c.name;
      EXPECT_FLOAT_EQ(1.0f, wall->light->m_intensity) << c.name;
    }
    // No push is left: a further hit moves nothing.
    float z = wall->GetZ();
    wall->Push();
    Step(80);
    EXPECT_FALSE(wall->moving) << c.name;
    EXPECT_FLOAT_EQ(z, wall->GetZ()) << c.name;
  }
}

TEST_F(TrackPieces, SlidingWallsSwingAlongTheirRowEveryPiSeconds) {
  PlayLesson(Rows(5) + Cell(3, '}') + Cell(3, '{') + Rows(40));
  Step();
  auto* forward = EntityAt<PWallEntity>(3, 5);
  auto* backward = EntityAt<PWallEntity>(3, 6);
  ASSERT_NE(nullptr, forward);
  ASSERT_NE(nullptr, backward);
  // Made in the last frame: at the start and at the end of their rows.
  EXPECT_NEAR(5000, forward->GetZ(), 1);
  EXPECT_NEAR(7000, backward->GetZ(), 1);
  // At the middle of the row after a quarter of pi seconds (within a frame
  // of it, at up to 1000 a second).
  Step((int)(kPi / 4 / kStep + 0.5f) - 1);
  EXPECT_NEAR(kPi / 4, forward->GetAge(), kStep);
  EXPECT_NEAR(5500, forward->GetZ(), 1000 * kStep);
  EXPECT_NEAR(6500, backward->GetZ(), 1000 * kStep);
  // Through a whole swing: c = 1 - (cos 2t + 1) / 2 of the row.
  for (int i = 0; i < 210; ++i) {
    Step();
    float c = 1 - (cosf(2 * forward->GetAge()) + 1) / 2;
    ASSERT_NEAR(5000 + c * 1000, forward->GetZ(), 0.01f) << i;
    ASSERT_NEAR(7000 - c * 1000, backward->GetZ(), 0.01f) << i;
    ASSERT_FLOAT_EQ(forward->GetZ() - 5000, forward->GetSlideOffset());
  }
}

TEST_F(TrackPieces, OnlyALauncherThrowsAFastCraft) {
  const struct {
    const char* name;
    char jumper;
    float speed;
    bool launches;
  } cases[] = {
      {"launcher, fast", '\\', 3000, true},
      {"launcher at 1000", '\\', 1000, false},
      {"plain ramp, fast", '/', 3000, false},
  };
  for (const auto& c : cases) {
    PlayLesson(Rows(5) + Cell(8, c.jumper) + Rows(40));
    PShipEntity* ship = Ship();
    Place(4000, Angle(8));
    Silence(PGame::SOUND_JUMP_SLIDE);
    bool slid = false, launched = false;
    float thrown = 0;
    for (int i = 0; i < 200 && ship->GetTrackPosition() < 7000 && !launched; ++i) {
      ship->speed = c.speed;
      Step();
      slid = slid || Playing(PGame::SOUND_JUMP_SLIDE);
      if (ship->airborne && ship->verticalSpeed > 0) {
        launched = true;
        thrown = ship->verticalSpeed;
      }
    }
    EXPECT_TRUE(slid) << c.name;
    EXPECT_EQ(c.launches, launched) << c.name;
    if (launched) {
      // The speed of that frame, after coasting.
      EXPECT_FLOAT_EQ((c.speed - 1000 * kStep) / 4000 * 2500, thrown) << c.name;
      EXPECT_TRUE(EntityAt<PJumperEntity>(8, 5)->IsLauncher());
    }
    EXPECT_GT(ship->GetTrackPosition(), 5500) << c.name;
  }
}

TEST_F(TrackPieces, PistonsWaitShootOutAndPullBack) {
  PlayLesson(Rows(5) + Cell(3, 'P') + Rows(40));
  Step();
  auto* piston = EntityAt<PPistonEntity>(3, 5);
  ASSERT_NE(nullptr, piston);
  EXPECT_FLOAT_EQ(5995, piston->restZ);
  EXPECT_FLOAT_EQ(5055, piston->extendedZ);
  EXPECT_TRUE(piston->IsIdle());
  // Three strokes: each after 1.0 s at rest, out in about 0.53 s, back in
  // about 2.2 s.
  for (int stroke = 0; stroke < 3; ++stroke) {
    float rest = Dx().GetTime();
    ASSERT_TRUE(StepUntil([&] { return piston->IsActive(); }, 200));
    EXPECT_FLOAT_EQ(5995, piston->GetZ());
    if (stroke > 0) {
      EXPECT_NEAR(1.0f, Dx().GetTime() - rest, 1.5f * kStep);
    }
    float out = Dx().GetTime();
    ASSERT_TRUE(StepUntil([&] { return !piston->IsActive(); }, 200));
    EXPECT_EQ(PPiston_PullBack::Instance(), piston->GetCurrentState());
    EXPECT_FLOAT_EQ(5055, piston->GetZ());
    EXPECT_NEAR(0.53f, Dx().GetTime() - out, 0.025f);
    float back = Dx().GetTime();
    ASSERT_TRUE(StepUntil([&] { return piston->IsIdle(); }, 300));
    EXPECT_FLOAT_EQ(5995, piston->GetZ());
    EXPECT_NEAR(2.18f, Dx().GetTime() - back, 0.03f);
  }
  // Stopped in the middle of a stroke, it shoots out again from there.
  ASSERT_TRUE(StepUntil([&] { return piston->IsActive(); }, 200));
  Step(10);
  float z = piston->GetZ();
  piston->ChangeState(PPiston_Default::Instance(), 0);
  Step(63);
  EXPECT_TRUE(piston->IsIdle());
  EXPECT_FLOAT_EQ(z, piston->GetZ());
  Step();
  EXPECT_TRUE(piston->IsActive());
  Step(2);
  EXPECT_LT(piston->GetZ(), z);
}

TEST_F(TrackPieces, PistonSoundsCarryFourAndEightThousand) {
  PlayLesson(Rows(5) + Cell(3, 'P') + Rows(40));
  Step();
  auto* piston = EntityAt<PPistonEntity>(3, 5);
  ASSERT_NE(nullptr, piston);
  // Distances from the rest place on the axis; the ram pulls back from 940
  // nearer the craft.
  const struct {
    float distance;
    bool activation, pullBack;
  } cases[] = {{3000, true, true}, {4500, false, true}, {8500, false, false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(StepUntil([&] { return piston->IsActive(); }, 400));
    ASSERT_TRUE(StepUntil([&] { return piston->IsIdle(); }, 400));
    float ahead = sqrtf(c.distance * c.distance - 960 * 960);
    Place(5995 + ahead, Angle(8));
    Silence(PGame::SOUND_PISTON_ACTIVATE);
    Silence(PGame::SOUND_PISTON_PULL_BACK);
    ASSERT_TRUE(StepUntil([&] { return piston->IsActive(); }, 200));
    EXPECT_EQ(c.activation, Playing(PGame::SOUND_PISTON_ACTIVATE)) << c.distance;
    if (c.activation) {
      EXPECT_NEAR(1 - c.distance / 4000, Dx().GetSound(PGame::SOUND_PISTON_ACTIVATE)->m_volume,
                  0.001f);
    }
    ASSERT_TRUE(StepUntil([&] { return !piston->IsActive(); }, 200));
    EXPECT_EQ(c.pullBack, Playing(PGame::SOUND_PISTON_PULL_BACK)) << c.distance;
    if (c.pullBack) {
      float d = sqrtf((ahead + 940) * (ahead + 940) + 960 * 960);
      EXPECT_NEAR(1 - d / 8000, Dx().GetSound(PGame::SOUND_PISTON_PULL_BACK)->m_volume, 0.001f);
    }
  }
}

TEST_F(TrackPieces, AShootingPistonThrowsTheCraftBackAndCrashesIt) {
  PlayLesson(Rows(5) + Cell(8, 'P') + Cell(3, 'P') + Rows(40));
  Place(5300, Angle(8));
  Step();
  auto* piston = EntityAt<PPistonEntity>(8, 5);
  auto* other = EntityAt<PPistonEntity>(3, 6);
  ASSERT_NE(nullptr, piston);
  ASSERT_NE(nullptr, other);
  ASSERT_TRUE(StepUntil([&] { return !Ship()->IsAlive(); }, 200));
  EXPECT_EQ(PGame::ITEM_PISTON, Ship()->GetDeathKind());
  EXPECT_EQ(3, Game().GetState());
  EXPECT_FLOAT_EQ(-2000, Ship()->GetSpeed());
  // Back to waiting where it stopped; outside the run it stays there, while
  // a stroke under way elsewhere ends and starts no new one.
  EXPECT_TRUE(piston->IsIdle());
  float z = piston->GetZ();
  EXPECT_GT(z, 5055);
  EXPECT_LT(z, 5995);
  Step(5 * 64);
  EXPECT_TRUE(piston->IsIdle());
  EXPECT_FLOAT_EQ(z, piston->GetZ());
  EXPECT_TRUE(other->IsIdle());
  EXPECT_FLOAT_EQ(6995, other->GetZ());
}

TEST_F(TrackPieces, BoulderTriggersFireOnceAndOnlyMoveTheBoulderForward) {
  PlayLesson(Rows(10) + Cell(0, '@') + Cell(0, '@') + Rows(40));
  PGame& game = Game();
  SDxShape* boulder = game.GetBoulderShape();
  Place(9990, Angle(8));
  Step();
  auto* first = EntityAt<PBoulderEntity>(0, 10);
  auto* second = EntityAt<PBoulderEntity>(0, 11);
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  EXPECT_FALSE(first->IsVisible());
  EXPECT_TRUE(first->armed);
  Place(10010, Angle(8));
  Step();
  EXPECT_FALSE(first->armed);
  EXPECT_TRUE(second->armed);
  EXPECT_FLOAT_EQ(5000, game.boulderToZ);
  Step(70);
  EXPECT_FLOAT_EQ(5000, boulder->GetZ());
  // Passing it again does nothing.
  Place(9000, Angle(8));
  Step();
  Place(10500, Angle(8));
  Step();
  EXPECT_EQ(0, game.boulderMoveTime);
  // The second trigger's target (6000) lies behind the boulder now.
  boulder->SetZ(8000);
  Place(11100, Angle(8));
  Step();
  EXPECT_FALSE(second->armed);
  EXPECT_EQ(0, game.boulderMoveTime);
  EXPECT_FLOAT_EQ(8000, boulder->GetZ());
}

TEST_F(TrackPieces, ATriggerPassedBeforeTheRunFiresWhenItStarts) {
  Play(Rows(5) + Cell(0, '@') + Rows(40), 1, 0, 0);
  ASSERT_EQ(1, Game().GetState());
  Place(6500, Angle(8));
  StartRun();
  Step();
  auto* trigger = EntityAt<PBoulderEntity>(0, 5);
  ASSERT_NE(nullptr, trigger);
  EXPECT_FALSE(trigger->armed);
  EXPECT_FLOAT_EQ(0, Game().boulderToZ);
}

}  // namespace
