// The game's entity classes as the entity factory makes them: each with its
// type code, its state classes (P<Kind>_Global, P<Kind>_Default and the
// named states), the fields it is made with and where it stands. Their
// per-frame behaviour is their step; a class without one stands where its
// creator put it.
#pragma once

#include "core/Platform.h"
#include "game/PGame.h"
#include "game/PGameEntity.h"
#include "game/entities/PFinishEntity.h"
#include "game/entities/PGemEntity.h"
#include "game/entities/PShipEntity.h"
#include "game/entities/PBossEntity.h"
#include "game/entities/PBossFlyEntity.h"
#include "game/entities/PBoxEntity.h"
#include "game/entities/PDoorEntity.h"
#include "game/entities/PEnemyEntity.h"
#include "game/entities/PForwardEntity.h"
#include "game/entities/PGuardDoorEntity.h"
#include "game/entities/PLaserEntity.h"
#include "game/entities/PMirrorEntity.h"
#include "game/entities/PTurboEntity.h"

class SDxLight;
class SDxMesh;


// --- entities on the wall or the axis -------------------------------------------------

class PArrowEntity : public PItemEntity<PArrowEntity> {
public:
  PArrowEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The start z of every flight: the current z.
  void StoreStartZ() { startZ = GetZ(); }
  int direction;  // the item's subtype: 0 toward higher z
  float startZ;
};
P_STATE(PArrow_Global, PArrowEntity, "");
P_STATE(PArrow_Default, PArrowEntity, "Default");

class PBlockerEntity : public PItemEntity<PBlockerEntity> {
public:
  PBlockerEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The disc around the axis that it fills.
  float GetRadius() const { return radius; }
  // Touching it crashes the craft.
  bool IsDeadly() const { return deadly; }
  bool fan;  // subtype 0
  float radius;
  bool deadly;
};
P_STATE(PBlocker_Global, PBlockerEntity, "");
P_STATE(PBlocker_Default, PBlockerEntity, "Default");

// The boulder trigger: hidden, armed until the craft passes it.
class PBoulderEntity : public PItemEntity<PBoulderEntity> {
public:
  PBoulderEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  bool armed;
};
P_STATE(PBoulder_Global, PBoulderEntity, "");
P_STATE(PBoulder_Default, PBoulderEntity, "Default");

class PWagonEntity;

// A stick of dynamite: the craft takes it, its fuse runs down and it
// explodes (crashing the craft that still holds it).
class PDynamiteEntity : public PItemEntity<PDynamiteEntity> {
public:
  PDynamiteEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The fuse starts (once, and not after the explosion).
  void StartCountdown();
  // Once: hidden and exploded; without a carrier the craft crashes.
  void Explode();
  // The fuse time left from the countdown start, never below 0.
  float GetTimeLeft() const;
  PWagonEntity* GetCarrier() const { return carrier; }
  bool exploded;
  float fuseTime;
  float countdownStart;
  PWagonEntity* carrier;
};
P_STATE(PDynamite_Global, PDynamiteEntity, "");
P_STATE(PDynamite_Default, PDynamiteEntity, "Default");
P_STATE(PDynamite_CountingDown, PDynamiteEntity, "CountingDown");
P_STATE(PDynamite_Exploded, PDynamiteEntity, "Exploded");

class PFireEntity : public PItemEntity<PFireEntity> {
public:
  PFireEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  int fireKind;
  bool exploded;
  float angleOffset;
};
P_STATE(PFire_Global, PFireEntity, "");
P_STATE(PFire_Default, PFireEntity, "Default");

class PLightEntity : public PItemEntity<PLightEntity> {
public:
  // A light of the next colour of the game's light cycle, intensity 1.0,
  // range 750; removed with the entity.
  PLightEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  ~PLightEntity() override;
  // The light to the entity's position.
  void PlaceLight();
  SDxLight* light;
};
P_STATE(PLight_Global, PLightEntity, "");
P_STATE(PLight_Default, PLightEntity, "Default");

class PMineEntity : public PItemEntity<PMineEntity> {
public:
  PMineEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  bool exploded;
};
P_STATE(PMine_Global, PMineEntity, "");
P_STATE(PMine_Default, PMineEntity, "Default");

// --- platforms ---------------------------------------------------------------------

class PJumperEntity : public PGameEntity<PJumperEntity, PPlatformEntity> {
public:
  PJumperEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  bool IsLauncher() const { return launcher; }
  bool launcher;  // subtype 0
};
P_STATE(PJumper_Global, PJumperEntity, "");
P_STATE(PJumper_Default, PJumperEntity, "Default");

class PPistonEntity : public PGameEntity<PPistonEntity, PPlatformEntity> {
public:
  // At rest 995 past its row's start; shoots out to 940 before that.
  PPistonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  bool IsIdle() const;
  bool IsActive() const;
  float speed;
  float extendedZ;
  float restZ;
};
P_STATE(PPiston_Global, PPistonEntity, "");
P_STATE(PPiston_Default, PPistonEntity, "Default");
P_STATE(PPiston_Activate, PPistonEntity, "Activate");
P_STATE(PPiston_PullBack, PPistonEntity, "PullBack");

class PWagonEntity : public PGameEntity<PWagonEntity, PPlatformEntity> {
public:
  PWagonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // Struck at its front by the craft; false when the craft holds no stick.
  bool Strike();
  bool exploded;
  float speed;
};
P_STATE(PWagon_Global, PWagonEntity, "");
P_STATE(PWagon_Default, PWagonEntity, "Default");
P_STATE(PWagon_Move, PWagonEntity, "Move");

class PWallEntity : public PGameEntity<PWallEntity, PPlatformEntity> {
public:
  PWallEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  // Hit at its front fast: starts moving while pushes remain.
  void Push();
  int kind;  // the item's subtype, 0..6
  int pushesAllowed;
  int pushesDone;
  bool moving;
  float moveTime;
};
P_STATE(PWall_Global, PWallEntity, "");
P_STATE(PWall_Default, PWallEntity, "Default");
