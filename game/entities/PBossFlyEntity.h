// A boss fly: a drone the boss sends against the craft. It starts far
// ahead, flies back toward the craft, keeps within 2000 behind the boss
// and within the tube, waits behind flies nearer the craft, faces the craft
// and fires at it at its own interval while behind the boss. The craft's
// laser destroys it; when its explosion is over it reports to the boss,
// which removes it.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PBossEntity;
class SDxBlob;
class SDxPresetShockwave;

class PBossFlyEntity : public PGameEntity<PBossFlyEntity, SDxEntityObj> {
public:
  // 300 wide; the fire interval by the boss's spawn count so far (2.0,
  // 1.75, 2.25, 1.5 s in turn); explosion and shock wave made.
  PBossFlyEntity(SDxLayer* layer, SDxObject* object);
  // The explosion and shock wave leave the scene.
  ~PBossFlyEntity() override;

  // A destroyed fly reports to its boss once its explosion is over.
  void Step();
  // From standing only: it starts to fly (PBossFly_Move).
  void Launch();
  // One frame of the flight, the facing and the fire.
  void Fly();
  // A shot along the line to the craft.
  void Fire();
  // Once: standing, hidden, exploding.
  void Destroy();
  bool IsDestroyed() const { return destroyed; }
  PBossEntity* GetBoss() const { return boss; }
  SDxState<PBossFlyEntity>* GetState() const { return GetCurrentState(); }
  float GetFireInterval() const { return fireInterval; }

  SDxBlob* explosion;
  SDxPresetShockwave* shockWave;
  PBossEntity* boss;
  bool destroyed;
  bool reported;  // it told its boss that its explosion is over
  float fireInterval;
  float lastFireTime;
};
P_STATE(PBossFly_Global, PBossFlyEntity, "");
P_STATE(PBossFly_Default, PBossFlyEntity, "Default");

P_STATE_STEP(PBossFly_Move, PBossFlyEntity, "Move", Fly);
