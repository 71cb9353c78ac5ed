// The boss of the centre level: a machine on the floor of the tube ahead of
// the craft, made by the level's restart (never from the map). Its phase
// counter runs through its fight:
//   0 standing, waiting for the run;
//   1 the first wave: 15 flies, one every 2.0 s;
//   2 the last fly of wave 1 destroyed: it runs away at 2250 a second;
//   3 past z 70000: the second wave, up to 25 flies, one every 4.0 s;
//   4 the last fly of wave 2 destroyed: the boulder put 15000 behind it,
//     it brakes to a stop over 5.0 s;
//   5 the craft has passed it: the camera looks back at it;
//   6 its explosion under the boulder is over.
// It crashes the craft that meets its far end near the floor. It keeps the
// flies it spawned (they are entities of its layer, not owned).
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "game/PGameEntity.h"

class PBossFlyEntity;
class SDxBlob;
class SDxLight;
class SDxParticlePoint;

class PBossEntity : public PGameEntity<PBossEntity, PPlatformEntity> {
public:
  enum { FIRST_WAVE = 15, ALL_FLIES = 25 };

  // On the floor 10500 down the track, 800 wide; light, explosion and the
  // smoke and fire emitters made hidden.
  PBossEntity(SDxLayer* layer, SDxObject* object);
  // Its scene items leave the scene; the flies stay.
  ~PBossEntity() override;

  // The phase's work, after the state machine.
  void Step();
  void NextPhase() { ++phase; }
  int GetPhase() const { return phase; }
  // A new fly 15000 ahead, at one of five places by the spawn count,
  // launched; null when it cannot be made.
  PBossFlyEntity* SpawnFly();
  // A fly whose explosion ended: out of the array and removed; the last
  // fly of a fully spawned wave advances the phase.
  void OnFlyDestroyed(PBossFlyEntity* fly);
  // From standing only: emitters, sounds and light on, moving.
  void StartMoving();
  // The run and the brake (PBoss_Move, PBoss_Brake): bobbing along +z,
  // emitters at its rear corners, gems in its box destroyed, the craft
  // crashed at its far end.
  void Move();
  // Once: hidden, exploding under the boulder; the last target.
  void Explode();
  // The visible fly at least 100 ahead of the craft nearest to it; none
  // while the boss runs away (phase 2).
  PBossFlyEntity* FindNearestFly() const;
  PBossFlyEntity* GetFly(int i) const { return flies[i]; }
  int GetFlyCount() const { return flies.GetCount(); }
  int GetSpawnCount() const { return spawnCount; }
  bool HasFly(const SDxEntity* entity) const;
  bool IsExploded() const { return exploded; }
  // Every fly deleted (the restart's clearing).
  void DeleteFlies();

  SDxBlob* explosion;
  SDxParticlePoint* burst;
  SDxParticlePoint* smoke[2];
  SDxParticlePoint* fire[2];
  SDxLight* light;
  bool exploded;
  bool explosionOver;
  SArray<PBossFlyEntity*> flies;  // sorted by pointer value
  float lastSpawnTime;
  int spawnCount;
  int phase;
};
P_STATE(PBoss_Global, PBossEntity, "");
P_STATE(PBoss_Default, PBossEntity, "Default");

P_STATE_STEP(PBoss_Move, PBossEntity, "Move", Move);
// The brake runs the same step, which tells the two apart by the state.
P_STATE_STEP(PBoss_Brake, PBossEntity, "Brake", Move);
