// A scripted driver of a run: it steers along a route planned on the
// level's map (LevelPlan), holds the accelerator, brakes for closed doors,
// circling fire balls and gems still in the air, shoots the guards of
// doors, the shooters in its way, the mirrors that turn its bolts into
// target enemies and, on the boss level, the boss's flies (circling the
// tube behind the boss while their first wave comes). It only decides
// the keys of each frame; the caller sends them (its key function) and
// steps the frame.
#pragma once

#include "core/Platform.h"

#include "tests/game/levels/LevelPlan.h"

#include <functional>
#include <vector>

class PGame;
class SDx;

class LevelDriver {
public:
  // A key pressed (down) or released: the driver asks only for changes.
  using KeyFunction = std::function<void(int key, bool down)>;

  // The run of the game on the engine, along the plan (which must outlive
  // the driver), each frame step seconds of game time.
  LevelDriver(PGame& game, SDx& engine, const LevelPlan& plan, KeyFunction key, float step);

  // The keys of the next frame.
  void Frame();
  // Every key the driver may hold, released.
  void ReleaseAll();
  // Whether an explosion of a fly or of the boss plays: it ends only once
  // its sprite has played, so frames must be drawn while it does.
  bool IsExplosionPlaying() const;

private:
  void SetKey(int key, bool down);
  void Steer(float override);
  void Throttle(float wanted);
  bool CanFire() const;
  void Fire();
  // The speed the route allows now, and the shots it asks for.
  float Plan();
  // The boss's flies: a charged shot at the nearest once one has come
  // behind the boss, where it slows down.
  void FightFlies();

  PGame& game;
  SDx& dx;
  const LevelPlan& plan;
  KeyFunction key;
  float step;
  float lastShot = 0;
  bool fireHeld = false;
  float fireHeldSince = 0;
  std::vector<float> targetShotTime;  // 0: not fired yet
  std::vector<bool> targetDone;
  float bossZ = 0;      // the boss's z in the last frame
  float bossSpeed = 0;  // along z, measured
};
