#include "core/Platform.h"

#include "tests/game/levels/LevelDriver.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxMesh.h"
#include "game/PEntities.h"
#include "game/PGame.h"

#include <math.h>

namespace {

const float kPi = 3.14159265f;
const float kBrake = 3000.0f;    // the deceleration the driver plans with (4000 at most)
const float kDoorStop = 700.0f;  // before a closed door
const float kShotInterval = 0.52f;
// The steering aims at the route this far ahead (seconds at the craft's
// speed), and turns at the rate the route asks for a little further on:
// the craft's turn rate takes time to build up.
const float kAimAhead = 0.15f;
// The turn rate the route may ask for (pi / 2 at most).
const float kTurnRate = 1.1f;
const float kFeedAhead = 0.3f;

float AngleOf(const D3DXVECTOR3& p) { return ArcTangent2(p.x, p.y); }

// The time the craft takes to cover the distance at full throttle from
// its speed (4000 a second more each second, 4500 at most).
float TimeToCover(float distance, float speed) {
  if (distance <= 0) return 0;
  float v = fmaxf(speed, 0), a = 4000, top = 4500;
  float accelerating = (top - v) / a, covered = (v + top) / 2 * accelerating;
  if (covered >= distance) return (-v + sqrtf(v * v + 2 * a * distance)) / a;
  return accelerating + (distance - covered) / top;
}
// The speed from which the craft stops within the distance.
float StoppingSpeed(float distance) { return sqrtf(2 * kBrake * fmaxf(distance, 0)); }

}  // namespace

LevelDriver::LevelDriver(PGame& game, SDx& engine, const LevelPlan& plan, KeyFunction key,
                         float step)
    : game(game), dx(engine), plan(plan), key(key), step(step) {
  targetShotTime.assign(plan.GetTargetShots().size(), 0);
  targetDone.assign(plan.GetTargetShots().size(), false);
}

void LevelDriver::SetKey(int k, bool down) {
  if (down != dx.IsKeyDown(k)) key(k, down);
}

void LevelDriver::ReleaseAll() {
  for (int k : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL}) SetKey(k, false);
  fireHeld = false;
}

// The steering along the route: the turn rate the route's slope asks for
// at this speed, corrected by four times the angle off the route; the
// arrow keys hold the craft's rate near it.
void LevelDriver::Steer(float override) {
  PShipEntity* ship = game.GetShip();
  float z = ship->GetTrackPosition(), v = ship->GetSpeed();
  float target = override != 0 ? override : plan.PathAngle(z + v * kAimAhead);
  float feed = override != 0 ? 0 : plan.PathSlope(z + v * kFeedAhead) * v;
  float error = AngleDifference(ship->GetAngle(), target);
  float wanted = ClampFloat(feed + 4 * error, -kPi / 2, kPi / 2);
  float rate = ship->angularSpeed;
  SetKey(VK_LEFT, rate < wanted - 0.05f);
  SetKey(VK_RIGHT, rate > wanted + 0.05f);
}

void LevelDriver::Throttle(float wanted) {
  float speed = game.GetShip()->GetSpeed();
  SetKey(VK_UP, speed < wanted - 50);
  SetKey(VK_DOWN, speed > wanted + 150);
}

// A shot when the last is 0.52 s old: the fire key down this frame, up the
// next.
bool LevelDriver::CanFire() const { return dx.GetTime() - lastShot > kShotInterval; }

void LevelDriver::Fire() {
  if (!CanFire() || fireHeld) return;
  key(VK_CONTROL, true);
  fireHeld = true;
  fireHeldSince = dx.GetTime();
  lastShot = dx.GetTime();
}

float LevelDriver::Plan() {
  PShipEntity* ship = game.GetShip();
  float z = ship->GetTrackPosition(), speed = ship->GetSpeed();
  float wanted = ship->HasTurbo() ? 6000 : 4500;
  float angle = ship->GetAngle();
  // The route's turns at a speed the steering keeps up with.
  wanted = fminf(wanted, plan.SafeSpeed(z, kTurnRate, 1200, kBrake, 8000));
  // Full speed onto a launcher the route jumps from.
  float launch = plan.NextLaunch(z);
  if (launch >= 0 && launch - z < 3000) wanted = 4500;

  // Doors: a stop before a closed one; the guards of the nearest shot as
  // they pass over the craft (a bolt meant for a door behind it would only
  // meet its leaf).
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
      float travel = (guard->GetZ() - z) / 10000 + 2 * step;
      float at = AngleOf(guard->GetPosition()) + 1.5f * travel;
      if (fabsf(AngleDifference(at, angle)) < 0.1f) Fire();
    }
  }

  // Shots through mirrors into target enemies: stand in the shot's column
  // before the mirrors and fire (again after 4 s without a hit).
  const auto& shots = plan.GetTargetShots();
  for (size_t i = 0; i < shots.size(); ++i) {
    if (targetDone[i]) continue;
    const LevelPlan::TargetShot& s = shots[i];
    MAPITEM* target = game.GetMapItem(s.targetColumn, s.targetRow);
    // Taken once the target has turned into its gem, which the route
    // passes over (a bouncing gem is caught as well).
    if (target && target->type == PGame::ITEM_GEM) {
      targetDone[i] = true;
      continue;
    }
    float stop = (s.mirrorRow - 2) * 1000.0f + 500;
    if (z > stop + 600) continue;
    wanted = fminf(wanted, StoppingSpeed(stop - z));
    bool aligned = fabsf(AngleDifference(angle, LevelPlan::ColumnAngle(s.fireColumn))) < 0.05f &&
                   fabsf(ship->angularSpeed) < 0.1f;
    bool waiting = targetShotTime[i] != 0 && dx.GetTime() - targetShotTime[i] < 4;
    if (!waiting && aligned && fabsf(speed) < 100 && z > stop - 600) {
      Fire();
      targetShotTime[i] = dx.GetTime();
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
    float mine = plan.PathAngle(fire->GetZ());
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
      wanted = fminf(wanted, fmaxf(bossSpeed, 0) + StoppingSpeed(behind - 3000));
  }

  // A jump through gems in the air keeps the top speed to its end, also
  // with a turbo: the gems lie on the arc of a jump at 4500.
  if (ship->airborne && plan.IsJumpRow(ship->GetRow())) wanted = 4500;

  // Shooters ahead in the craft's column are shot down.
  int column = ship->GetColumn();
  for (int i = 0; i < game.enemies.GetCount(); ++i) {
    PEnemyEntity* enemy = game.enemies[i];
    if (enemy->IsDestroyed() || !enemy->shooter || enemy->IsTarget() || !enemy->mapItem) continue;
    float ahead = enemy->GetZ() - z;
    if (enemy->mapItem->column == column && ahead > 0 && ahead < 8000) Fire();
  }
  return wanted;
}

void LevelDriver::FightFlies() {
  PBossEntity* boss = game.GetBoss();
  if (!boss || !boss->FindNearestFly()) return;
  bool behindBoss = false;
  for (int i = 0; i < boss->GetFlyCount(); ++i) {
    PBossFlyEntity* fly = boss->GetFly(i);
    behindBoss |= fly->IsVisible() && fly->GetZ() < boss->GetZ();
  }
  if (behindBoss && !fireHeld && CanFire()) {
    key(VK_CONTROL, true);
    fireHeld = true;
    fireHeldSince = dx.GetTime();
  }
}

bool LevelDriver::IsExplosionPlaying() const {
  PBossEntity* boss = game.GetBoss();
  if (!boss) return false;
  if (boss->IsExploded()) return !boss->explosionOver;
  for (int i = 0; i < boss->GetFlyCount(); ++i)
    if (boss->GetFly(i)->IsDestroyed()) return true;
  return false;
}

void LevelDriver::Frame() {
  PShipEntity* ship = game.GetShip();
  float z = ship->GetTrackPosition();
  // A shot's key goes up one frame after it went down, or, charged, once
  // the lock is on (or has waited long enough).
  if (fireHeld) {
    bool charged = game.GetBoss() != nullptr;
    float held = dx.GetTime() - fireHeldSince;
    if (!charged || ship->GetLockTarget() || held > 1.5f) {
      key(VK_CONTROL, false);
      fireHeld = false;
      lastShot = dx.GetTime();
    }
  }
  float override = 0;
  // The standing boss is passed two columns and more from the floor.
  if (PBossEntity* boss = game.GetBoss()) {
    bossSpeed = (boss->GetZ() - bossZ) / step;
    bossZ = boss->GetZ();
    float behind = boss->GetZ() - z;
    if (boss->GetPhase() >= 4 && behind > -1500 && behind < 5000 &&
        fabsf(AngleDifference(plan.PathAngle(z), kPi)) < 1.0f)
      override = LevelPlan::ColumnAngle(11);
  }
  // While the first wave comes, the craft waits behind the boss circling
  // the tube, so that the flies' aimed shots miss it.
  PBossEntity* boss = game.GetBoss();
  if (boss && boss->GetPhase() <= 1) {
    SetKey(VK_LEFT, true);
    SetKey(VK_RIGHT, false);
  } else {
    Steer(override);
  }
  float wanted = Plan();
  FightFlies();
  Throttle(wanted);
}
