// What flies, turns, burns, blows up and shines on the track, on the real
// engine with a stepped clock: arrows, blockers, fire balls, mines and
// lamps.
#include "core/Platform.h"

#include "engine/SDxBlob.h"
#include "engine/SDxLight.h"
#include "engine/SDxParticle.h"
#include "engine/SDxSound.h"
#include "tests/game/obstacles/ObstacleSupport.h"

namespace {

class Hazards : public ObstacleSuite {
protected:
  // The angle about the axis at which a point stands, in the map's sense.
  static float AngleOf(const D3DXVECTOR3& p) { return atan2f(p.x, p.y); }
  static float Radius(const D3DXVECTOR3& p) { return sqrtf(p.x * p.x + p.y * p.y); }
  // The difference of two angles, in (-pi, pi].
  static float Turn(float from, float to) {
    float d = fmodf(to - from, 2 * kPi);
    if (d > kPi) d -= 2 * kPi;
    if (d <= -kPi) d += 2 * kPi;
    return d;
  }
};

TEST_F(Hazards, ArrowsFlyTwelveThousandAndBreakIntoWalls) {
  // Column 3: a forward arrow in row 2 with a wall in row 6. Column 4: a
  // backward arrow in row 8 (it starts at 9000) with a wall in row 4.
  // Column 5: a forward arrow with nothing in its way.
  std::string rows = Rows(2) + Row("...\xBB.\xBB") + Rows(1) + Cell(4, '|') + Rows(1) +
                     Cell(3, '|') + Rows(1) + Cell(4, '\xAB') + Rows(40);
  PlayLesson(rows);
  Place(0, Angle(8));
  Step();
  auto* blocked = EntityAt<PArrowEntity>(3, 2);
  auto* free = EntityAt<PArrowEntity>(5, 2);
  auto* backward = EntityAt<PArrowEntity>(4, 8);
  ASSERT_NE(nullptr, blocked);
  ASSERT_NE(nullptr, free);
  ASSERT_NE(nullptr, backward);
  EXPECT_FLOAT_EQ(2000, free->startZ);
  EXPECT_FLOAT_EQ(9000, backward->startZ);
  // Within a frame: the forward arrow is 200 into row 6, the backward one
  // 200 into row 4 from its end.
  bool blockedBroke = false, backwardBroke = false;
  float lastBlocked = blocked->GetZ(), lastBackward = backward->GetZ();
  for (int i = 0; i < 100; ++i) {
    Step();
    if (!blockedBroke && blocked->GetZ() < lastBlocked) {
      blockedBroke = true;
      EXPECT_GT(lastBlocked + 3000 * kStep, 6200);
      EXPECT_LE(lastBlocked, 6200);
      EXPECT_FLOAT_EQ(2000, blocked->GetZ());
      EXPECT_FLOAT_EQ(5995, blocked->burst->m_position.z);
      EXPECT_TRUE(blocked->burst->IsEmitting());
    }
    if (!backwardBroke && backward->GetZ() > lastBackward) {
      backwardBroke = true;
      EXPECT_LT(lastBackward - 3000 * kStep, 4800);
      EXPECT_GE(lastBackward, 4800);
      EXPECT_FLOAT_EQ(9000, backward->GetZ());
      EXPECT_FLOAT_EQ(5005, backward->burst->m_position.z);
    }
    lastBlocked = blocked->GetZ();
    lastBackward = backward->GetZ();
  }
  EXPECT_TRUE(blockedBroke);
  EXPECT_TRUE(backwardBroke);
  // The free arrow restarts after 12000 units: 4 s (256 steps of 46.875),
  // breaking in the step that takes it past.
  while (free->GetZ() != 2000) Step();
  Step(256);
  EXPECT_FLOAT_EQ(14000, free->GetZ());
  Step();
  EXPECT_FLOAT_EQ(2000, free->GetZ());
  EXPECT_FLOAT_EQ(14000, free->burst->m_position.z);
}

TEST_F(Hazards, ArrowBurstsAreHeardWithinTwoThousand) {
  // The arrow breaks at z 6200 in column 3, 5 before row 6.
  const struct {
    float craftZ;
    bool heard;
  } cases[] = {{5800, true}, {4000, false}};
  for (const auto& c : cases) {
    PlayLesson(Rows(2) + Cell(3, '\xBB') + Rows(3) + Cell(3, '|') + Rows(40));
    Place(c.craftZ, Angle(8));
    Step();
    auto* arrow = EntityAt<PArrowEntity>(3, 2);
    ASSERT_NE(nullptr, arrow);
    Silence(PGame::SOUND_EXPLOSION_ARROW);
    // Stepped until it breaks (and flies again from its start).
    D3DXVECTOR3 before = *arrow->GetPosition();
    for (int i = 0; i < 100 && arrow->GetZ() >= before.z; ++i) {
      before = *arrow->GetPosition();
      Step();
    }
    ASSERT_LT(arrow->GetZ(), before.z);
    EXPECT_EQ(c.heard, Playing(PGame::SOUND_EXPLOSION_ARROW)) << c.craftZ;
    if (c.heard) {
      // Linear to nothing at 2000, from where it was when it broke.
      D3DXVECTOR3 broke(before.x, before.y, before.z + 3000 * kStep);
      float d = GetDistance(broke, Ship()->GetPositionRef());
      EXPECT_NEAR(1 - d / 2000, Dx().GetSound(PGame::SOUND_EXPLOSION_ARROW)->m_volume, 0.001f);
    }
  }
}

TEST_F(Hazards, AnArrowHitIsAShotAndAFatalOneStopsTheArrow) {
  for (int lives : {1, 0}) {
    PlayLesson(Rows(2) + Cell(8, '\xBB') + Rows(40), 1, lives);
    Place(5000, Angle(8));
    Step();
    auto* arrow = EntityAt<PArrowEntity>(8, 2);
    ASSERT_NE(nullptr, arrow);
    ASSERT_TRUE(StepUntil([&] { return Ship()->GetSpeed() != 0 || !Ship()->IsAlive(); }, 200));
    if (lives > 0) {
      // One life less, thrown back; the arrow flies again from its start.
      EXPECT_TRUE(Ship()->IsAlive());
      EXPECT_EQ(lives - 1, Game().lives);
      EXPECT_FLOAT_EQ(-4000, Ship()->GetSpeed());
      EXPECT_NEAR(2000, arrow->GetZ(), 3000 * kStep);
      EXPECT_TRUE(arrow->IsVisible());
    } else {
      EXPECT_FALSE(Ship()->IsAlive());
      EXPECT_EQ(PGame::ITEM_ARROW, Ship()->GetDeathKind());
      EXPECT_FALSE(arrow->IsVisible());
      float z = arrow->GetZ();
      Step(30);
      EXPECT_FLOAT_EQ(z, arrow->GetZ());
    }
  }
}

TEST_F(Hazards, BlockersTurnAndTheirLightsCircle) {
  const struct {
    const char* name;
    char blocker;
    int world, level;
    float turn, lights;  // radians per second, of the blocker by the clock
    bool lit;
  } cases[] = {
      {"fan", 'X', 1, 1, -8, 10, true},
      {"piece", '\xA9', 1, 1, 1, -2, true},
      {"piece on level (3, 3), facing the craft", '\xAE', 3, 3, 0, -2, false},
  };
  for (const auto& c : cases) {
    std::string rows = Rows(4) + Cell(3, c.blocker) + Rows(40);
    PlayCell(rows, c.world, c.level);
    Place(1000, Angle(8));
    Step();
    auto* blocker = EntityAt<PBlockerEntity>(3, 4);
    ASSERT_NE(nullptr, blocker) << c.name;
    EXPECT_FLOAT_EQ(600, blocker->GetRadius());
    EXPECT_FLOAT_EQ(4500, blocker->GetZ());
    auto* object = blocker->GetMainObject();
    if (c.blocker == 'X') {
      EXPECT_EQ(PGame::SOUND_FAN, object->m_soundChannel) << c.name;
      EXPECT_FLOAT_EQ(4000 * 4000, object->m_soundFar);
      EXPECT_FLOAT_EQ(0.75f, object->m_soundMaxVolume);
    } else {
      EXPECT_EQ(-1, object->m_soundChannel) << c.name;
    }
    // A quarter of a second apart: the lights a quarter turn apart at 800
    // on the blocker's plane, circling; the blocker turned as its kind
    // turns (compared with the turn set again by hand).
    float lightAngle[2];
    for (int frame = 0; frame < 2; ++frame) {
      if (frame == 1 && !c.lit) Place(1000, Angle(8) + 0.7f);  // the craft moves round
      Step(frame * 16);
      lightAngle[frame] = AngleOf(blocker->lights[0]->GetPosition());
      for (int i = 0; i < 4; ++i) {
        const D3DXVECTOR3& p = blocker->lights[i]->GetPosition();
        EXPECT_NEAR(800, Radius(p), 0.01f) << c.name;
        EXPECT_FLOAT_EQ(4500, p.z);
        EXPECT_NEAR(0, Turn(lightAngle[frame] + i * kPi / 2, AngleOf(p)), 1e-3f) << c.name;
        EXPECT_EQ(c.lit, blocker->lights[i]->IsEnabled()) << c.name;
      }
      D3DXMATRIX turned = object->m_world;
      float expected = c.lit ? c.turn * Dx().GetTime() : kPi - Ship()->GetAngle();
      blocker->SetRotation(0, 0, expected);
      for (int k = 0; k < 16; ++k) EXPECT_NEAR(object->m_world[k], turned[k], 1e-3f) << c.name;
    }
    EXPECT_NEAR(c.lights / 4, Turn(lightAngle[0], lightAngle[1]), 1e-3f) << c.name;
  }
}

TEST_F(Hazards, FireBallsCircleOrBob) {
  PlayLesson(Rows(4) + Row("...<>^") + Rows(40));
  Place(1000, Angle(8));
  Step();
  auto* left = EntityAt<PFireEntity>(3, 4);
  auto* right = EntityAt<PFireEntity>(4, 4);
  auto* bob = EntityAt<PFireEntity>(5, 4);
  ASSERT_NE(nullptr, left);
  ASSERT_NE(nullptr, right);
  ASSERT_NE(nullptr, bob);
  // The circling kinds have their light and sound; the bobbing one neither.
  for (auto* fire : {left, right}) {
    ASSERT_NE(nullptr, fire->light);
    EXPECT_TRUE(fire->light->m_fadeLoops);
    EXPECT_EQ(PGame::SOUND_FIRE, fire->GetMainObject()->m_soundChannel);
  }
  EXPECT_EQ(nullptr, bob->light);
  EXPECT_EQ(-1, bob->GetMainObject()->m_soundChannel);
  // 3 rad/s each way at 915 on the wall.
  float t3 = Angle(3), t4 = Angle(4), t5 = Angle(5);
  float sinceLeft = left->angleOffset, sinceRight = right->angleOffset;
  Step(32);
  EXPECT_NEAR(1.5f, left->angleOffset - sinceLeft, 1e-4f);
  EXPECT_NEAR(-1.5f, right->angleOffset - sinceRight, 1e-4f);
  EXPECT_NEAR(0, Turn(t3 + left->angleOffset, AngleOf(*left->GetPosition())), 1e-4f);
  EXPECT_NEAR(0, Turn(t4 + right->angleOffset, AngleOf(*right->GetPosition())), 1e-4f);
  EXPECT_NEAR(915, Radius(*left->GetPosition()), 0.01f);
  EXPECT_FLOAT_EQ(4500, left->GetZ());
  // The bobbing one: from 607.5 (its start), 300 a quarter pi later, the
  // wall at three quarters, every pi seconds.
  for (int i = 0; i < 250; ++i) {
    Step();
    float s = (sinf(2 * Dx().GetTimeSince(bob->GetCreationTime())) + 1) / 2;
    ASSERT_NEAR(915 - 615 * s, Radius(*bob->GetPosition()), 0.01f);
    ASSERT_NEAR(0, Turn(t5, AngleOf(*bob->GetPosition())), 1e-4f);
  }
}

TEST_F(Hazards, FireFlamesFadeWithDistance) {
  const struct {
    float craftZ;  // the fire stands at 20500
    float alpha;
  } cases[] = {{6000, 0}, {11500, 0.5f}, {17500, 1}, {23500, 1}};
  PlayLesson(Rows(20) + Cell(3, '<') + Rows(60));
  Place(6000, Angle(8));
  Step();
  auto* fire = EntityAt<PFireEntity>(3, 20);
  ASSERT_NE(nullptr, fire);
  for (const auto& c : cases) {
    Place(c.craftZ, Angle(8));
    Step();
    EXPECT_NEAR(c.alpha, fire->flame->m_alphaFactor, 1e-4f) << c.craftZ;
    EXPECT_NEAR(c.alpha, fire->flameCore->m_alphaFactor, 1e-4f) << c.craftZ;
  }
}

TEST_F(Hazards, TouchingAFireBallBurstsItAndCrashesTheCraft) {
  // The craft this far behind the ball's next place; the bobbing ball
  // burns 275 around it, the circling ones 300.
  const struct {
    const char* name;
    char fire;
    float behind;
    bool crashes;
  } cases[] = {
      {"circling at 290", '<', 290, true},
      {"bobbing at 290", '^', 290, false},
      {"bobbing at 260", '^', 260, true},
  };
  for (const auto& c : cases) {
    PlayLesson(Rows(4) + Cell(3, c.fire) + Rows(40));
    Place(1000, Angle(8));
    Step(3);
    auto* fire = EntityAt<PFireEntity>(3, 4);
    ASSERT_NE(nullptr, fire);
    // Where the ball will be after the next step; the craft rises toward
    // the ground by 1000 a second.
    float t = Angle(3), angle = t, radius = 915;
    if (c.fire == '^') {
      float T = Dx().GetTimeSince(fire->GetCreationTime()) + kStep;
      radius = 915 - 615 * (sinf(2 * T) + 1) / 2;
    } else {
      angle = t + fire->angleOffset + 3 * kStep;
    }
    Place(4500 - c.behind, angle, radius - 1000 * kStep);
    Step();
    EXPECT_NEAR(c.behind, GetDistance(*fire->GetPosition(), Ship()->GetPositionRef()), 0.5f)
        << c.name;
    EXPECT_EQ(c.crashes, !Ship()->IsAlive()) << c.name;
    EXPECT_EQ(c.crashes, fire->exploded) << c.name;
    if (!c.crashes) continue;
    EXPECT_EQ(PGame::ITEM_FIRE, Ship()->GetDeathKind()) << c.name;
    EXPECT_FALSE(fire->IsVisible());
    if (fire->light) {
      EXPECT_FALSE(fire->light->IsEnabled());
    }
    EXPECT_FALSE(fire->flame->IsEmitting());
    EXPECT_FALSE(fire->flame->IsVisible());
    EXPECT_TRUE(fire->explosion->IsPlaying());
    EXPECT_TRUE(fire->smoke->IsEmitting());
    EXPECT_EQ(-1, fire->GetMainObject()->m_soundChannel);
  }
}

TEST_F(Hazards, MinesByThemeGoOffWithinOneFiftyOrTheCentreLevelsWiderReach) {
  const struct {
    const char* name;
    int world, level;
    float distance;
    bool crashes;
    float width;
    D3DXVECTOR3 color;
  } cases[] = {
      {"egypt at 160", 1, 1, 160, false, 180, {1, 1, 0.25f}},
      {"egypt at 140", 1, 1, 140, true, 180, {1, 1, 0.25f}},
      {"centre at 160", 2, 2, 160, true, 240, {1, 1, 0.25f}},
      {"centre at 220", 2, 2, 220, false, 240, {1, 1, 0.25f}},
      {"medieval at 140", 0, 1, 140, true, 150, {0.25f, 1, 0.25f}},
      {"hitech at 140", 0, 2, 140, true, 200, {1, 0.25f, 0.25f}},
  };

  for (const auto& c : cases) {
    std::string rows = Rows(4) + Cell(3, '\xA4') + Rows(40);
    PlayCell(rows, c.world, c.level);
    Place(1000, Angle(8));
    Step();
    auto* mine = EntityAt<PMineEntity>(3, 4);
    ASSERT_NE(nullptr, mine) << c.name;
    SDxObject* object = mine->GetMainObject();
    EXPECT_NEAR(c.width, (object->GetBox().max.x - object->GetBox().min.x) * mine->GetScale(),
                0.01f)
        << c.name;
    EXPECT_EQ(c.color, mine->light->m_color) << c.name;
    EXPECT_EQ(object, mine->light->m_attached) << c.name;
    // Straight along the track from the mine (995 from the axis) with the
    // craft on the ground.
    float along = sqrtf(c.distance * c.distance - 35 * 35);
    Silence(PGame::SOUND_EXPLOSION_MINE);
    Place(4500 - along, Angle(3));
    Step();
    EXPECT_EQ(c.crashes, !Ship()->IsAlive()) << c.name;
    EXPECT_EQ(c.crashes, mine->exploded) << c.name;
    EXPECT_EQ(c.crashes, Playing(PGame::SOUND_EXPLOSION_MINE)) << c.name;
    EXPECT_EQ(!c.crashes, mine->light->IsEnabled()) << c.name;
    if (c.crashes) {
      EXPECT_EQ(PGame::ITEM_MINE, Ship()->GetDeathKind()) << c.name;
    }
  }
}

TEST_F(Hazards, LampsTakeTheNextColourOfTheCycle) {
  // Ten lamps in reading order: steady, flickering, pulsing, white, ...
  const char kLamps[] = "o\xD8\xF4Oo\xD8\xF4Ooo";
  std::string rows = Rows(2);
  for (int i = 0; kLamps[i]; ++i) rows += Cell(3, kLamps[i]);
  rows += Rows(40);
  for (int attempt = 0; attempt < 2; ++attempt) {
    PlayLesson(rows);  // the second time only restarted
    Step();
    for (int i = 0; kLamps[i]; ++i) {
      auto* lamp = EntityAt<PLightEntity>(3, 2 + i);
      ASSERT_NE(nullptr, lamp) << i;
      EXPECT_FALSE(lamp->IsVisible());
      SDxLight* light = lamp->light;
      const D3DXCOLOR& cycled = Game().lightColors[i % 8];
      D3DXVECTOR3 expected =
          kLamps[i] == 'O' ? D3DXVECTOR3(1, 1, 1) : D3DXVECTOR3(cycled.r, cycled.g, cycled.b);
      EXPECT_EQ(expected, light->m_color) << i;
      EXPECT_FLOAT_EQ(750, light->m_range[0]);
      EXPECT_EQ(*lamp->GetPosition(), light->GetPosition());
      bool flickers = kLamps[i] == '\xD8';
      EXPECT_EQ(flickers, light->m_sequencePlaying) << i;
      EXPECT_EQ(flickers ? 8 : 0, light->m_sequence.GetCount()) << i;
      EXPECT_EQ(flickers ? PGame::SOUND_ELECTRICITY : -1, light->m_soundChannel) << i;
      bool pulses = kLamps[i] == '\xF4';
      EXPECT_EQ(pulses, light->m_fadeLoops) << i;
      if (pulses) {
        EXPECT_FLOAT_EQ(0, light->m_fadeFrom);
        EXPECT_FLOAT_EQ(1, light->m_fadeTo);
        EXPECT_FLOAT_EQ(0.5f, light->m_fadeDuration);
      }
    }
  }
}

}  // namespace
