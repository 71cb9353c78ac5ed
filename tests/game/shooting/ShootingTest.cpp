// Laser bolts on the real engine: their motions, speeds and time-outs,
// what stops them, the mirrors' turns, boxes that rise, and the enemies
// that shoot back and leave gems when a turned bolt takes them.
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxMesh.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

namespace {

const float kPi = 3.14159265f;

class Shooting : public RunSuite {
protected:
  // A point at a distance from the axis over the centre of a column.
  static D3DXVECTOR3 At(int column, float radius, float z, float turn = 0) {
    float a = PGame::ColumnAngle(column) + turn;
    return D3DXVECTOR3(radius * sinf(a), radius * cosf(a), z);
  }
  static PLaserEntity* Fire(int owner, const D3DXVECTOR3& origin, const int* motion = nullptr,
                            const D3DXVECTOR3* direction = nullptr) {
    return Game().FireLaser(owner, &origin, motion, direction);
  }
  static bool Exploded(PLaserEntity* bolt) {
    return !bolt->IsActive() && bolt->explosion->IsPlaying();
  }
  // Ends a bolt's flight where it is.
  static void End(PLaserEntity* bolt) {
    if (bolt->IsActive()) bolt->ChangeState(PLaser_Default::Instance(), 0);
  }
  static float Radius(const D3DXVECTOR3& p) { return sqrtf(p.x * p.x + p.y * p.y); }
  static PPlatformEntity* PlatformAt(int type, int row) {
    for (int i = 0; i < Game().GetPlatformCount(); ++i) {
      PPlatformEntity* p = Game().GetPlatform(i);
      if (p->GetType() == type && p->mapItem && p->mapItem->row == row) return p;
    }
    return nullptr;
  }
};

TEST_F(Shooting, BoltsFlyByTheirKindsAndTimeOut) {
  PlayLesson(Rows(60));
  const int up = 0, down = 1, falling = 5;
  const D3DXVECTOR3 ahead(0, 0, 1);
  const struct {
    int owner;
    const int* motion;
    const D3DXVECTOR3* direction;
    float z;       // of the origin, 800 from the axis over column 8
    int kind;      // the motion it takes
    float dz;      // along z in a step
    float turn;    // around the axis in a step
    float flight;  // seconds until it stops, without an explosion
  } cases[] = {
      {PGame::ITEM_CRAFT, nullptr, nullptr, -8000, 2, 156.25f, 0, 2.0f},
      {PGame::ITEM_CRAFT, nullptr, nullptr, 0, 2, 156.25f, 0, 1.5f},  // 15000 ahead
      {PGame::ITEM_CRAFT, &up, nullptr, 0, 0, 0, 3.926991f / 64, 2.0f},
      {PGame::ITEM_ENEMY, &down, nullptr, 0, 1, 0, -3.926991f / 64, 3.0f},
      {PGame::ITEM_ENEMY, nullptr, nullptr, 0, 3, -156.25f, 0, 1.5f},  // 15000 behind
      {PGame::ITEM_BOSS_FLY, nullptr, nullptr, 5000, 3, -156.25f, 0, 2.0f},
      {PGame::ITEM_ENEMY, &falling, nullptr, 10000, 5, -117.1875f, 0, 3.0f},
      {PGame::ITEM_CRAFT, nullptr, &ahead, -8000, 6, 156.25f, 0, 2.0f},
      {PGame::ITEM_BOSS_FLY, nullptr, &ahead, -5000, 6, 78.125f, 0, 3.0f},
  };
  for (const auto& c : cases) {
    D3DXVECTOR3 origin = At(8, 800, c.z);
    PLaserEntity* bolt = Fire(c.owner, origin, c.motion, c.direction);
    ASSERT_NE(nullptr, bolt);
    float start = Dx().GetTime();
    Step();
    EXPECT_EQ(c.kind, bolt->GetMotionKind()) << c.owner << " " << c.kind;
    EXPECT_NEAR(c.dz, bolt->GetZ() - origin.z, 0.01f) << c.kind;
    float a = ArcTangent2(bolt->GetX(), bolt->GetY());
    EXPECT_NEAR(c.turn, AngleDifference(PGame::ColumnAngle(8), a), 1e-4f) << c.kind;
    ASSERT_TRUE(StepUntil([&] { return !bolt->IsActive(); }, 400)) << c.kind;
    EXPECT_NEAR(c.flight, Dx().GetTime() - start, 1.5f * kStep) << c.kind;
    EXPECT_FALSE(bolt->explosion->IsPlaying()) << c.kind;
    EXPECT_EQ(nullptr, bolt->light);
    // A bolt falling back has moved out to the wall.
    if (c.kind == 5) {
      EXPECT_FLOAT_EQ(950, Radius(*bolt->GetPosition()));
    }
  }
  // An aimed bolt whose next step leaves the tube explodes where it is.
  D3DXVECTOR3 origin = At(8, 950, 100), out = At(8, 1, 0);
  PLaserEntity* bolt = Fire(PGame::ITEM_CRAFT, origin, nullptr, &out);
  Step();
  EXPECT_TRUE(Exploded(bolt));
  EXPECT_LT(GetDistance(origin, bolt->explosion->GetPosition()), 0.01f);
}

TEST_F(Shooting, SolidThingsStopBoltsBeforeTheirFaces) {
  // A craft's bolt fired over column 8 into a wall, boxes of each kind, an
  // enemy; an enemy's bolt that comes within 100 of the craft.
  PlayLesson(Rows(2) + Cell(8, '|') + Row() + Cell(8, '$') + Row() + Cell(8, '#') + Row() +
             Cell(8, '\xA3') + Row() + Cell(8, 'e') + Rows(40));
  const struct {
    int type;
    int row;
    bool rises;
  } cases[] = {{PGame::ITEM_WALL, 2, false},
               {PGame::ITEM_BOX, 4, false},
               {PGame::ITEM_BOX, 6, true},
               {PGame::ITEM_BOX, 8, false},
               {PGame::ITEM_ENEMY, 10, false}};
  for (const auto& c : cases) {
    PPlatformEntity* target = PlatformAt(c.type, c.row);
    ASSERT_NE(nullptr, target) << c.row;
    D3DXVECTOR3 origin = At(8, 820, c.row * 1000.0f - 600);
    // Where the bolt's line meets the thing.
    SDxPickQuery line;
    line.origin = origin;
    line.direction = D3DXVECTOR3(0, 0, 1);
    ASSERT_TRUE(target->GetMainObject()->Pick(&line)) << c.row;
    PLaserEntity* bolt = Fire(PGame::ITEM_CRAFT, origin);
    ASSERT_TRUE(StepUntil([&] { return !bolt->IsActive(); }, 20)) << c.row;
    ASSERT_TRUE(Exploded(bolt)) << c.row;
    if (c.type == PGame::ITEM_ENEMY) {
      EXPECT_TRUE(static_cast<PEnemyEntity*>(target)->IsDestroyed());
      EXPECT_FALSE(target->IsVisible());
      continue;
    }
    EXPECT_NEAR(origin.z + line.hitParameter - 20, bolt->explosion->GetPosition().z, 0.5f) << c.row;
    EXPECT_LT(0, target->GetMainObject()->GetDecalCount()) << "a hole where it hit";
    if (c.type != PGame::ITEM_BOX) continue;
    // A box that rises: 200 in exactly 1.0 s, once.
    auto* box6 = static_cast<PBoxEntity*>(target);
    float r0 = Radius(*box6->GetPosition());
    EXPECT_FLOAT_EQ(1000, r0);
    EXPECT_EQ(c.rises, box6->IsRaised()) << c.row;
    Step(63);
    Fire(PGame::ITEM_CRAFT, At(8, 820, c.row * 1000.0f - 600));
    Step();
    EXPECT_FLOAT_EQ(c.rises ? 800 : 1000, Radius(*box6->GetPosition())) << c.row;
    Step(64);
    EXPECT_FLOAT_EQ(c.rises ? 800 : 1000, Radius(*box6->GetPosition())) << c.row;
    EXPECT_EQ(PBox_Default::Instance(), box6->GetState());
  }
  // An enemy's bolt passing 99 from the craft hits it; 101 does not (it
  // reaches the craft's z at its sixth step).
  const struct {
    float offset;
    bool hits;
  } passes[] = {{101, false}, {99, true}};
  for (const auto& p : passes) {
    Place(20000, kPi);
    Ship()->speed = 0;
    int lives = Game().lives;
    PLaserEntity* bolt = Fire(PGame::ITEM_ENEMY, D3DXVECTOR3(p.offset, -960, 20937.5f));
    StepSeconds(0.25f);
    EXPECT_EQ(p.hits, Exploded(bolt)) << p.offset;
    EXPECT_EQ(lives - (p.hits ? 1 : 0), Game().lives) << p.offset;
    End(bolt);
  }
}

TEST_F(Shooting, MirrorsTurnBoltsByTheirTable) {
  // Mirror kind k stands in row 2 + k, column 2k.
  const char kMirrors[] = "7913lrfb";
  std::string rows = Rows(2);
  for (int k = 0; k < 8; ++k) rows += Cell(2 * k, kMirrors[k]);
  PlayLesson(rows + Rows(40));
  // The new motion by mirror kind and incoming motion; -1: it explodes.
  const int kTurned[8][5] = {
      {3, -1, 1, -1, -1}, {-1, 3, 0, -1, -1}, {2, -1, -1, 1, -1}, {-1, 2, -1, 0, -1},
      {-1, 4, -1, -1, 0}, {4, -1, -1, -1, 1}, {-1, -1, -1, 4, 2}, {-1, -1, 4, -1, 3},
  };
  // Lines at a mirror's centre from 300 away: one of them meets its pane.
  const D3DXVECTOR3 kLines[] = {D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(1, 0, 0),
                                D3DXVECTOR3(0, 1, 0)};
  for (int k = 0; k < 8; ++k) {
    auto* mirror = static_cast<PMirrorEntity*>(PlatformAt(PGame::ITEM_MIRROR, 2 + k));
    ASSERT_NE(nullptr, mirror);
    ASSERT_EQ(k, mirror->mirrorKind);
    const D3DXVECTOR3 centre = *mirror->GetPosition();
    SDxPickQuery line;
    for (const D3DXVECTOR3& d : kLines) {
      line = SDxPickQuery();
      line.origin = centre - d * 300;
      line.direction = d;
      if (mirror->GetMainObject()->Pick(&line)) break;
    }
    ASSERT_NE(nullptr, line.hitObject) << k;
    SDxPickQuery query;
    query.origin = line.origin;
    query.direction = line.direction;
    for (int motion = 0; motion < 5; ++motion) {
      PLaserEntity* bolt = Fire(PGame::ITEM_CRAFT, line.origin, &motion);
      ASSERT_TRUE(mirror->Reflect(bolt, query));
      int expected = kTurned[k][motion];
      if (expected < 0) {
        EXPECT_TRUE(Exploded(bolt)) << k << " " << motion;
        EXPECT_FALSE(bolt->IsDeflected()) << k << " " << motion;
        D3DXVECTOR3 before = line.origin + line.direction * (line.hitParameter - 20);
        EXPECT_LT(GetDistance(before, bolt->explosion->GetPosition()), 0.01f);
      } else {
        EXPECT_TRUE(bolt->IsActive()) << k << " " << motion;
        EXPECT_TRUE(bolt->IsDeflected()) << k << " " << motion;
        EXPECT_EQ(expected, bolt->GetMotionKind()) << k << " " << motion;
        // The first turn puts the bolt at the mirror's centre.
        EXPECT_LT(GetDistance(centre, *bolt->GetPosition()), 0.01f);
      }
      End(bolt);
    }
  }
  // Flying forward over a mirror's column: '7' turns it to circle with a
  // shrinking angle, '9' with a growing one, '1' and '3' stop it 20 before
  // the pane.
  const int kForward[4] = {1, 0, -1, -1};
  for (int k = 0; k < 4; ++k) {
    float z = (2 + k) * 1000.0f + 350;
    PLaserEntity* bolt = Fire(PGame::ITEM_CRAFT, At(2 * k, 820, z - 400));
    ASSERT_TRUE(StepUntil([&] { return bolt->IsDeflected() || !bolt->IsActive(); }, 20));
    EXPECT_EQ(kForward[k] >= 0, bolt->IsActive()) << k;
    if (kForward[k] >= 0) {
      EXPECT_EQ(kForward[k], bolt->GetMotionKind()) << k;
      EXPECT_TRUE(Playing(PGame::SOUND_MIRROR));
    }
    End(bolt);
  }
  // An enemy's bolt passes through a mirror.
  PLaserEntity* bolt = Fire(PGame::ITEM_ENEMY, At(0, 820, 2750));
  Step(6);
  EXPECT_TRUE(bolt->IsActive());
  EXPECT_LT(bolt->GetZ(), 2000);
  End(bolt);
}

TEST_F(Shooting, TurnedBoltsTakeTargetsAndLiftBossBoxes) {
  // A bolt fired over column 8 meets a '9' in row 3, circles up to the '1'
  // of column 5 in the same row, which sends it on over column 5.
  const std::string turns = Row(".....1..9");
  const struct {
    char thing;  // in row 6 of column 5
    bool gem;
  } cases[] = {{'E', true}, {'\xA3', false}};
  for (const auto& c : cases) {
    Forget();
    PlayLesson(Rows(3) + turns + Rows(2) + Cell(5, c.thing) + Rows(40));
    Place(0);
    int gems = Game().GetGemCount();
    Tap(VK_CONTROL);
    ASSERT_EQ(1, Game().lasers.GetCount());
    PLaserEntity* bolt = Game().lasers[0];
    ASSERT_TRUE(StepUntil([&] { return bolt->GetMotionKind() == 0; }, 30));
    EXPECT_TRUE(bolt->IsDeflected());
    PPlatformEntity* second = Game().GetPlatform(0);
    ASSERT_EQ(2, static_cast<PMirrorEntity*>(second)->mirrorKind);
    ASSERT_TRUE(StepUntil([&] { return bolt->GetMotionKind() == 2; }, 40));
    // A later turn leaves it where it met the mirror.
    EXPECT_GT(GetDistance(*second->GetPosition(), *bolt->GetPosition()), 1);
    EXPECT_NEAR(3350, bolt->GetZ(), 12);
    ASSERT_TRUE(StepUntil([&] { return !bolt->IsActive(); }, 100));
    EXPECT_TRUE(Exploded(bolt));
    if (c.gem) {
      // The target's place holds a knocked gem; nothing was missed.
      ASSERT_EQ(gems + 1, Game().GetGemCount());
      MAPITEM* item = Game().GetMapItem(5, 6);
      EXPECT_EQ(PGame::ITEM_GEM, item->type);
      EXPECT_EQ(Game().GetGem(gems), item->entity);
      EXPECT_TRUE(Game().GetGem(gems)->knocked);
      EXPECT_TRUE(Playing(PGame::SOUND_NEW_GEM));
      EXPECT_EQ(0, Game().missedGems);
    } else {
      auto* box = static_cast<PBoxEntity*>(PlatformAt(PGame::ITEM_BOX, 6));
      EXPECT_TRUE(box->IsRaised());
      EXPECT_EQ(PBox_MoveUp::Instance(), box->GetState());
    }
  }
  // Straight from the craft a target is lost: missed at once, no gem.
  Forget();
  PlayLesson(Rows(3) + Cell(8, 'E') + Rows(40));
  Place(0);
  Tap(VK_CONTROL);
  StepSeconds(0.5f);
  auto* enemy = static_cast<PEnemyEntity*>(PlatformAt(PGame::ITEM_ENEMY, 3));
  EXPECT_TRUE(enemy->IsDestroyed());
  EXPECT_EQ(1, Game().missedGems);
  EXPECT_EQ(0, Game().GetGemCount());
  enemy->Destroy(false);
  EXPECT_EQ(1, Game().missedGems) << "destroyed once";
}

TEST_F(Shooting, EnemiesFireEveryTwoSecondsAndCountMissedTargets) {
  // A shooter in row 10 of column 8, one that does not shoot in row 20, a
  // target in row 30 and a shooting target in row 40. The craft keeps out
  // of the line of fire.
  const float aside = kPi + 1.5f;
  PlayLesson(Rows(10) + Cell(8, '\xEA') + Rows(9) + Cell(8, 'e') + Rows(9) + Cell(8, 'E') +
             Rows(9) + Cell(8, '\xCA') + Rows(40));
  auto* shooter = static_cast<PEnemyEntity*>(PlatformAt(PGame::ITEM_ENEMY, 10));
  ASSERT_NE(nullptr, shooter);
  // Not at 5000 before it; the first shot as soon as the craft is nearer,
  // then one every 2.0 s.
  Place(5500, aside);
  Step(10);
  EXPECT_EQ(0, shooter->lastShot);
  Place(5501, aside);
  Step();
  float first = shooter->lastShot;
  EXPECT_EQ(Dx().GetTime(), first);
  PLaserEntity* bolt = Game().lasers.GetLast();
  EXPECT_EQ(3, bolt->GetMotionKind());
  float front = shooter->GetZ() - shooter->GetMainObject()->GetScaledDepth() / 2;
  EXPECT_LE(bolt->GetZ(), front) << "from the enemy's front";
  EXPECT_GT(bolt->GetZ(), front - 157);
  Step(128);
  EXPECT_EQ(first, shooter->lastShot);
  Step();
  EXPECT_FLOAT_EQ(first + 129 * kStep, shooter->lastShot);
  // Passed: it stops; 'e' never shoots.
  Place(10600, aside);
  Step(300);
  EXPECT_FLOAT_EQ(first + 129 * kStep, shooter->lastShot);
  Place(17000, aside);
  auto* idle = static_cast<PEnemyEntity*>(PlatformAt(PGame::ITEM_ENEMY, 20));
  ASSERT_NE(nullptr, idle);
  Step(300);
  EXPECT_EQ(0, idle->lastShot);
  // The target of row 30 is missed once the craft is 8000 past it, once.
  Place(38500, aside);
  Step();
  EXPECT_EQ(0, Game().missedGems);
  Place(38501, aside);
  Step(10);
  EXPECT_EQ(1, Game().missedGems);
  auto* target = static_cast<PEnemyEntity*>(PlatformAt(PGame::ITEM_ENEMY, 40));
  EXPECT_TRUE(target->IsTarget());
  EXPECT_FALSE(target->IsCounted());
}

TEST_F(Shooting, MedievalEnemiesShootFallingBolts) {
  Forget();
  Play(Rows(20) + Cell(8, '\xEA') + Rows(40), 1, 0, 1);
  StartRun();
  Place(17000, kPi + 1.5f);
  Step();
  ASSERT_EQ(1, Game().lasers.GetCount());
  PLaserEntity* bolt = Game().lasers[0];
  EXPECT_EQ(5, bolt->GetMotionKind());
  EXPECT_GE(Radius(*bolt->GetPosition()), 775);
  EXPECT_LT(Radius(*bolt->GetPosition()), 800);
  EXPECT_NE(nullptr, bolt->trail);
  EXPECT_FALSE(bolt->boltA->IsVisible());
}

}  // namespace
