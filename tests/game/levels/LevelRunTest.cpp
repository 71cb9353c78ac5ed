// Every level of the data set driven to its finish on the real application
// object, engine and archives, one fixed step a frame: a scripted driver
// steers along a route planned on the level's map (LevelPlan), holds the
// accelerator, brakes for closed doors, circling fire balls and gems still
// in the air, shoots the guards of doors, the shooters in its way, the
// mirrors that turn its bolts into target enemies and, on the boss level,
// the boss's flies. Frames are only drawn while an explosion of a fly or
// of the boss plays, which ends only when its sprite has played.
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxMesh.h"
#include "tests/game/levels/LevelPlan.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>
#include <stdio.h>

#include <set>
#include <vector>

namespace {

const float kPi = 3.14159265f;
const float kBrake = 3000.0f;    // the deceleration the driver plans with (4000 at most)
const float kDoorStop = 700.0f;  // before a closed door
const float kShotInterval = 0.52f;
// The steering aims at the route this far ahead (seconds at the craft's
// speed), and turns at the rate the route asks for a little further on:
// the craft's turn rate takes time to build up.
const float kAimAhead = 0.15f;
const float kFeedAhead = 0.3f;
// The turn rate the route may ask for (pi / 2 at most).
const float kTurnRate = 1.1f;
const int kMostFrames = 64 * 400;  // 400 s of game time

struct Level {
  int world, level;
};

class LevelRuns : public RunSuite, public ::testing::WithParamInterface<Level> {
protected:
  // One run of the driver: the route, what has been shot and when.
  struct Drive {
    const LevelPlan* plan;
    float lastShot = 0;
    bool fireHeld = false;
    float fireHeldSince = 0;
    std::vector<float> targetShotTime;  // 0: not fired yet
    std::vector<bool> targetDone;
    float bossZ = 0;      // the boss's z in the last frame
    float bossSpeed = 0;  // along z, measured
  };

  static void SetKey(int key, bool down) {
    if (down != (Dx().IsKeyDown(key) != 0)) down ? Press(key) : Release(key);
  }
  static float CraftAngle() { return Ship()->GetAngle(); }
  static float AngleOf(const D3DXVECTOR3& p) { return ArcTangent2(p.x, p.y); }

  // The steering along the route: the turn rate the route's slope asks
  // for at this speed, corrected by four times the angle off the route;
  // the arrow keys hold the craft's rate near it.
  static void Steer(const LevelPlan& plan, float override) {
    PShipEntity* ship = Ship();
    float z = ship->GetTrackPosition(), v = ship->GetSpeed();
    float target = override != 0 ? override : plan.PathAngle(z + v * kAimAhead);
    float feed = override != 0 ? 0 : plan.PathSlope(z + v * kFeedAhead) * v;
    float error = AngleDifference(CraftAngle(), target);
    float wanted = ClampFloat(feed + 4 * error, -kPi / 2, kPi / 2);
    float rate = ship->angularSpeed;
    SetKey(VK_LEFT, rate < wanted - 0.05f);
    SetKey(VK_RIGHT, rate > wanted + 0.05f);
  }
  static void Throttle(float wanted) {
    float speed = Ship()->GetSpeed();
    SetKey(VK_UP, speed < wanted - 50);
    SetKey(VK_DOWN, speed > wanted + 150);
  }
  // The time the craft takes to cover the distance at full throttle from
  // its speed (4000 a second more each second, 4500 at most).
  static float TimeToCover(float distance, float speed) {
    if (distance <= 0) return 0;
    float v = fmaxf(speed, 0), a = 4000, top = 4500;
    float accelerating = (top - v) / a, covered = (v + top) / 2 * accelerating;
    if (covered >= distance) return (-v + sqrtf(v * v + 2 * a * distance)) / a;
    return accelerating + (distance - covered) / top;
  }
  // The speed from which the craft stops within the distance.
  static float StoppingSpeed(float distance) { return sqrtf(2 * kBrake * fmaxf(distance, 0)); }

  // A shot when the last is 0.52 s old: the fire key down this frame, up
  // the next.
  static bool CanFire(const Drive& d) { return Dx().GetTime() - d.lastShot > kShotInterval; }
  static void Fire(Drive& d) {
    if (!CanFire(d) || d.fireHeld) return;
    Press(VK_CONTROL);
    d.fireHeld = true;
    d.fireHeldSince = Dx().GetTime();
    d.lastShot = Dx().GetTime();
  }

  // The speed the route allows now, and the shots it asks for.
  static float Plan(Drive& d) {
    PGame& game = Game();
    PShipEntity* ship = Ship();
    float z = ship->GetTrackPosition(), speed = ship->GetSpeed();
    float wanted = ship->HasTurbo() ? 6000 : 4500;
    float angle = CraftAngle();
    // The route's turns at a speed the steering keeps up with.
    wanted = fminf(wanted, d.plan->SafeSpeed(z, kTurnRate, 1200, kBrake, 8000));
    // Full speed onto a launcher the route jumps from.
    float launch = d.plan->NextLaunch(z);
    if (launch >= 0 && launch - z < 3000) wanted = 4500;

    // Doors: a stop before a closed one; the guards of the nearest shot as
    // they pass over the craft (a bolt meant for a door behind it would
    // only meet its leaf).
    PGuardDoorEntity* nearest = nullptr;
    for (int i = 0; i < game.GetDoorCount(); ++i) {
      auto* door = static_cast<PGuardDoorEntity*>(game.GetDoor(i));
      float ahead = door->GetZ() - z;
      if (ahead < 0 || ahead > 8000) continue;
      if (door->IsOpen() && door->openingAngle > 0.75f) continue;
      wanted = fminf(wanted, StoppingSpeed(ahead - kDoorStop));
      if (!door->IsOpen() && (!nearest || door->GetZ() < nearest->GetZ())) nearest = door;
    }
    if (nearest && nearest->GetZ() - z < 6000) {
      for (int g = 0; g < nearest->GetGuardCount(); ++g) {
        SDxMesh* guard = nearest->GetGuard(g);
        if (!guard->IsVisible()) continue;
        float travel = (guard->GetZ() - z) / 10000 + 2 * kStep;
        float at = AngleOf(guard->GetPosition()) + 1.5f * travel;
        if (fabsf(AngleDifference(at, angle)) < 0.1f) Fire(d);
      }
    }

    // Shots through mirrors into target enemies: stand in the shot's
    // column before the mirrors and fire (again after 4 s without a hit).
    const auto& shots = d.plan->GetTargetShots();
    for (size_t i = 0; i < shots.size(); ++i) {
      if (d.targetDone[i]) continue;
      const LevelPlan::TargetShot& s = shots[i];
      MAPITEM* target = game.GetMapItem(s.targetColumn, s.targetRow);
      // Taken once the target has turned into its gem, which the route
      // passes over (a bouncing gem is caught as well).
      if (target && target->type == PGame::ITEM_GEM) {
        d.targetDone[i] = true;
        continue;
      }
      float stop = (s.mirrorRow - 2) * 1000.0f + 500;
      if (z > stop + 600) continue;
      wanted = fminf(wanted, StoppingSpeed(stop - z));
      bool aligned = fabsf(AngleDifference(angle, LevelPlan::ColumnAngle(s.fireColumn))) < 0.05f &&
                     fabsf(ship->angularSpeed) < 0.1f;
      bool waiting = d.targetShotTime[i] != 0 && Dx().GetTime() - d.targetShotTime[i] < 4;
      if (!waiting && aligned && fabsf(speed) < 100 && z > stop - 600) {
        Fire(d);
        d.targetShotTime[i] = Dx().GetTime();
      }
    }

    // Gems still in the air ahead: the craft waits for them to come down.
    for (int i = 0; i < game.GetGemCount(); ++i) {
      PGemEntity* gem = game.GetGem(i);
      float ahead = gem->GetZ() - z;
      if (!gem->IsActive() || !gem->moving || ahead < 0 || ahead > 3000) continue;
      wanted = fminf(wanted, StoppingSpeed(ahead - 1200));
    }

    // Fire balls circling the tube: the craft crosses their row at full
    // throttle when they are elsewhere then, and waits 800 before it
    // otherwise.
    for (int i = 0; i < game.fires.GetCount(); ++i) {
      PFireEntity* fire = game.fires[i];
      float ahead = fire->GetZ() - z;
      if (fire->exploded || fire->fireKind == 2 || ahead < -350 || ahead > 5000) continue;
      float spin = fire->fireKind == 0 ? 3.0f : -3.0f;
      float a0 = AngleOf(*fire->GetPosition());
      float mine = d.plan->PathAngle(fire->GetZ());
      bool danger = false;
      for (float t = TimeToCover(ahead - 350, speed); t <= TimeToCover(ahead + 350, speed);
           t += 0.01f)
        if (fabsf(AngleDifference(a0 + spin * t, mine)) < 0.5f) danger = true;
      if (danger && ahead > 800) wanted = fminf(wanted, StoppingSpeed(ahead - 800));
    }

    // The boss: the craft keeps 3000 behind it until it stands after its
    // brake; then it is passed beside it.
    PBossEntity* boss = game.GetBoss();
    if (boss && !boss->IsExploded()) {
      float behind = boss->GetZ() - z;
      bool standing = boss->GetPhase() >= 4 && boss->GetCurrentState() == PBoss_Default::Instance();
      if (!standing && behind > -1000)
        wanted = fminf(wanted, fmaxf(d.bossSpeed, 0) + StoppingSpeed(behind - 3000));
    }

    // A jump through gems in the air keeps its speed to its end: the gems
    // lie on the arc of a full-speed jump.
    if (ship->airborne && d.plan->IsJumpRow(ship->GetRow())) wanted = fmaxf(wanted, 4500);

    // Shooters ahead in the craft's column are shot down.
    int column = ship->GetColumn();
    for (int i = 0; i < game.enemies.GetCount(); ++i) {
      PEnemyEntity* enemy = game.enemies[i];
      if (enemy->IsDestroyed() || !enemy->shooter || enemy->IsTarget() || !enemy->mapItem) continue;
      float ahead = enemy->GetZ() - z;
      if (enemy->mapItem->column == column && ahead > 0 && ahead < 8000) Fire(d);
    }
    return wanted;
  }

  // The boss's flies: a charged shot at the nearest once one has come
  // behind the boss, where it slows down.
  static void FightFlies(Drive& d) {
    PBossEntity* boss = Game().GetBoss();
    if (!boss || !boss->FindNearestFly()) return;
    bool behindBoss = false;
    for (int i = 0; i < boss->GetFlyCount(); ++i) {
      PBossFlyEntity* fly = boss->GetFly(i);
      behindBoss |= fly->IsVisible() && fly->GetZ() < boss->GetZ();
    }
    if (behindBoss && !d.fireHeld && CanFire(d)) {
      Press(VK_CONTROL);
      d.fireHeld = true;
      d.fireHeldSince = Dx().GetTime();
    }
  }
  // Frames are drawn only while an explosion of a fly or of the boss plays:
  // they report their end once their sprites have played.
  static bool ExplosionPlaying() {
    PBossEntity* boss = Game().GetBoss();
    if (!boss) return false;
    if (boss->IsExploded()) return !boss->explosionOver;
    for (int i = 0; i < boss->GetFlyCount(); ++i)
      if (boss->GetFly(i)->IsDestroyed()) return true;
    return false;
  }

  static void DriveFrame(Drive& d) {
    PShipEntity* ship = Ship();
    float z = ship->GetTrackPosition();
    // A shot's key goes up one frame after it went down, or, charged, once
    // the lock is on (or has waited long enough).
    if (d.fireHeld) {
      bool charged = Game().GetBoss() != nullptr;
      float held = Dx().GetTime() - d.fireHeldSince;
      if (!charged || ship->GetLockTarget() || held > 1.5f) {
        Release(VK_CONTROL);
        d.fireHeld = false;
        d.lastShot = Dx().GetTime();
      }
    }
    float override = 0;
    // The standing boss is passed two columns and more from the floor.
    if (PBossEntity* boss = Game().GetBoss()) {
      d.bossSpeed = (boss->GetZ() - d.bossZ) / kStep;
      d.bossZ = boss->GetZ();
      float behind = boss->GetZ() - z;
      if (boss->GetPhase() >= 4 && behind > -1500 && behind < 5000 &&
          fabsf(AngleDifference(d.plan->PathAngle(z), kPi)) < 1.0f)
        override = LevelPlan::ColumnAngle(11);
    }
    // While the first wave comes, the craft waits behind the boss circling
    // the tube, so that the flies' aimed shots miss it.
    PBossEntity* boss = Game().GetBoss();
    if (boss && boss->GetPhase() <= 1) {
      SetKey(VK_LEFT, true);
      SetKey(VK_RIGHT, false);
    } else {
      Steer(*d.plan, override);
    }
    float wanted = Plan(d);
    FightFlies(d);
    Throttle(wanted);
    Step();
  }
};

TEST_P(LevelRuns, TheDriverFinishesTheLevel) {
  const Level cell = GetParam();
  Forget();
  App().levels.clear();
  // A racing cell is driven on Easy, whose qualifying time the data set
  // fits for a craft at four fifths of its top speed; the others on Normal.
  int difficulty = App().levelMode[cell.world][cell.level] == 2 ? 0 : 1;
  App().EnterGame(difficulty, cell.world, cell.level);
  ASSERT_EQ(PWnd::MODE_GAME, App().GetMode());
  bool lesson = cell.world == 1 && cell.level == 1;
  if (lesson) {
    Step();
  } else {
    StartRun();
  }
  LevelPlan plan(Game());
  EXPECT_TRUE(plan.IsComplete()) << "no route through the level's map from row "
                                 << plan.GetFailedRow();
  Drive d;
  d.plan = &plan;
  d.targetShotTime.assign(plan.GetTargetShots().size(), 0);
  d.targetDone.assign(plan.GetTargetShots().size(), false);
  // A line every ten rows and at each missed gem, shown when the run fails.
  std::string trace;
  int lastRow = -1, lastMissed = 0, lastLives = Game().lives;
  std::set<const MAPITEM*> reported;
  for (int frame = 0; frame < kMostFrames && Game().GetState() == 2; ++frame) {
    Draw(ExplosionPlaying());
    DriveFrame(d);
    PShipEntity* s = Ship();
    if (Game().missedGems != lastMissed || Game().lives != lastLives ||
        s->GetRow() / 10 != lastRow / 10) {
      lastMissed = Game().missedGems;
      lastLives = Game().lives;
      lastRow = s->GetRow();
      char line[192];
      sprintf(line,
              "%7.2f s row %d column %d (route %d) speed %.0f radius %.0f taken %d missed %d "
              "lives %d\n",
              Game().GetRunTime(), lastRow, s->GetColumn(), plan.GetColumn(lastRow), s->GetSpeed(),
              s->GetRadius(), Game().targetsTaken, Game().missedGems, Game().lives);
      trace += line;
    }
    // Gems and target enemies counted as missed, each once.
    for (int i = 0; i < Game().GetGemCount(); ++i) {
      PGemEntity* gem = Game().GetGem(i);
      if (!gem->IsMissed() || !reported.insert(gem->item).second) continue;
      char line[96];
      sprintf(line, "missed gem of kind %d at row %d column %d\n", gem->item->subtype,
              gem->item->row, gem->item->column);
      trace += line;
    }
    for (int i = 0; i < Game().enemies.GetCount(); ++i) {
      PEnemyEntity* enemy = Game().enemies[i];
      if (!enemy->IsCounted() || !reported.insert(enemy->mapItem).second) continue;
      char line[96];
      sprintf(line, "missed target enemy at row %d column %d\n", enemy->mapItem->row,
              enemy->mapItem->column);
      trace += line;
    }
  }
  for (int key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL}) Release(key);
  Draw(false);
  PShipEntity* ship = Ship();
  if (Game().GetState() != 4 || !Game().success) {
    printf("%s", trace.c_str());
    // The map around the craft: items by type, the route's column a row.
    for (int r = ship->GetRow() + 4; r >= ship->GetRow() - 4 && r >= 0; --r) {
      printf("map %3d ", r);
      for (int c = 0; c < LevelPlan::COLUMNS; ++c) {
        const MAPITEM* item = Game().GetMapItem(c, r);
        static const char kTypes[] = ".aX?!@$deZ<f*D/.omMP?TW|";
        char ch = item ? kTypes[item->type] : '.';
        if (item && item->type == PGame::ITEM_WALL && item->subtype >= 3)
          ch = item->subtype == 6 ? 'z' : '-';
        if (item && item->type == PGame::ITEM_JUMPER && item->subtype == 0) ch = '\\';
        printf("%c", ch);
      }
      printf("  route %d\n", plan.GetColumn(r));
    }
  }
  EXPECT_EQ(4, Game().GetState()) << "state at z " << ship->GetTrackPosition() << ", row "
                                  << ship->GetRow() << ", column " << ship->GetColumn()
                                  << ", death kind " << ship->GetDeathKind();
  EXPECT_TRUE(Game().success) << Game().targetsTaken << " of " << Game().targetCount << " targets";
  printf("level %d%d %s (%s): %s in %.2f s, %d of %d targets, %d lives left\n", cell.world,
         cell.level, App().levelNames[cell.world][cell.level].GetText(),
         difficulty == 0 ? "Easy" : "Normal", Game().success ? "finished" : "not finished",
         Game().GetRunTime(), Game().targetsTaken, Game().targetCount, Game().lives);
}

// The levels of the data set (the lesson is (1, 1), the boss's level (2, 2)).
const Level kLevels[] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 0}, {1, 1}, {1, 2},
                         {1, 4}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {3, 0}, {3, 2},
                         {3, 3}, {3, 4}, {4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}};

INSTANTIATE_TEST_SUITE_P(DataSet, LevelRuns, ::testing::ValuesIn(kLevels),
                         [](const ::testing::TestParamInfo<Level>& info) {
                           return "Level" + std::to_string(info.param.world) +
                                  std::to_string(info.param.level);
                         });

}  // namespace
