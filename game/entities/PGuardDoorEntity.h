// A guard door (0xB0, 0xB9, 0xB2, 0xB3): a door with guards circling the
// axis in front of it. Touching a guard crashes the craft; the craft's
// laser kills them; half a second after the last one died the door swings
// open. In the high-tech theme the guards take turns firing at the craft.
//
// Guard count = the item's subtype. 0xB0 written first in a level
// (subtype 0) is a dark door: it has one guard (none in world 4, level 2)
// and, once open and passed, darkens the tube behind it and switches night
// vision on. A later 0xB0 (subtype -1) is a plain door without guards,
// which opens by itself; so is any door whose guards cannot be made.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "game/entities/PDoorEntity.h"

class SDxBlob;
class SDxLight;
class SDxMesh;
class SDxParticlePoint;

class PGuardDoorEntity;
P_STATE(PGuardDoor_Global, PGuardDoorEntity, "");
P_STATE(PGuardDoor_Default, PGuardDoorEntity, "Default");

class PGuardDoorEntity : public PDoorEntity {
public:
  // Its guards (instances of the game's guard mesh, each with a light),
  // the explosion of a dying guard; type 13.
  PGuardDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* leaf, MAPITEM* item);
  // Guards, lights and the explosion leave the scene.
  ~PGuardDoorEntity() override;

  bool HandleMessage(DXMSG* message) override;
  // The door's update and machine, the guard machine, then the step.
  void Update() override;
  void Reset() override;
  // The first visible guard that the step's pick meets dies and the bolt
  // explodes 20 before the hit point.
  bool TestLaserHit(PLaserEntity* laser, const SDxPickQuery& query) override;
  // Open: the darkening behind a dark door. Closed: opening 0.5 s after
  // the last guard died, the guards circling, their contact and, in
  // high-tech, their fire.
  void Step();
  // Every guard (and its light) in place for guard 0 at the angle.
  void PlaceGuards(float angle);
  // Guard i dies: hidden, dark, exploding (bloody in medieval).
  void KillGuard(int i);
  int GetGuardCount() const { return guards.GetCount(); }
  SDxMesh* GetGuard(int i) const { return guards[i]; }
  bool IsDark() const { return darkDoor; }

  SArray<SDxMesh*> guards;
  SArray<SDxLight*> lights;
  SDxStateMachine<PGuardDoorEntity>* guardMachine;
  SDxBlob* explosion;
  SDxParticlePoint* burst;
  float guardSpacing;
  float guardAngle;
  float allDeadTime;  // game clock; 0 while a guard lives
  float lastShotTime;
  int nextShooter;
  bool darkDoor;
  bool darkeningStarted;
  bool darkeningDone;

private:
  bool AnyGuardVisible() const;
};
