// The game's entity classes as the entity factory makes them: each with its
// type code, its state classes (P<Kind>_Global, P<Kind>_Default and the
// named states), the fields it is made with and where it stands. Their
// per-frame behaviour is their step; a class without one stands where its
// creator put it.
#pragma once

#include "core/Platform.h"
#include "game/PGame.h"
#include "game/PGameEntity.h"
#include "game/entities/PArrowEntity.h"
#include "game/entities/PBlockerEntity.h"
#include "game/entities/PBoulderEntity.h"
#include "game/entities/PDynamiteEntity.h"
#include "game/entities/PFinishEntity.h"
#include "game/entities/PFireEntity.h"
#include "game/entities/PGemEntity.h"
#include "game/entities/PJumperEntity.h"
#include "game/entities/PLightEntity.h"
#include "game/entities/PMineEntity.h"
#include "game/entities/PPistonEntity.h"
#include "game/entities/PShipEntity.h"
#include "game/entities/PTurboEntity.h"
#include "game/entities/PWallEntity.h"

class SDxLight;
class SDxMesh;


// --- entities on the wall or the axis -------------------------------------------------

class PForwardEntity : public PItemEntity<PForwardEntity> {
public:
  PForwardEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
};
P_STATE(PForward_Global, PForwardEntity, "");
P_STATE(PForward_Default, PForwardEntity, "Default");

// --- doors -------------------------------------------------------------------------

// A door: its main object and a leaf (a second object of the layer, removed
// with the door). No type code of its own.
class PDoorEntity : public PItemEntity<PDoorEntity> {
public:
  PDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* leaf, MAPITEM* item);
  ~PDoorEntity() override;
  bool IsOpen() const { return open; }
  void Reset();
  // The arc of the opening, in the craft's angle convention.
  float GetOpeningStart() const;
  float GetOpeningEnd() const;
  SDxObject* GetGuardObject() const { return leaf; }
  SDxObject* leaf;
  bool open;
  float leafAngle;
  float openingAngle;
};
P_STATE(PDoor_Global, PDoorEntity, "");
P_STATE(PDoor_Default, PDoorEntity, "Default");
P_STATE(PDoor_Open, PDoorEntity, "Open");

class PGuardDoorEntity;
P_STATE(PGuardDoor_Global, PGuardDoorEntity, "");
P_STATE(PGuardDoor_Default, PGuardDoorEntity, "Default");

// A door that opens when its guards are gone. Guard count = the item's
// subtype; subtype 0 is a dark door with one guard (none on world 4,
// level 2); the -1 of a later plain guard door counts as no guard.
class PGuardDoorEntity : public PDoorEntity {
public:
  PGuardDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* leaf, MAPITEM* item);
  ~PGuardDoorEntity() override;
  bool HandleMessage(DXMSG* message) override;
  void Update() override;
  void PlaceGuards(float angle) { guardAngle = angle; }
  SDxStateMachine<PGuardDoorEntity>* guardMachine;
  int guardCount;
  float guardAngle;
};

// --- platforms ---------------------------------------------------------------------

class PBoxEntity : public PGameEntity<PBoxEntity, PPlatformEntity> {
public:
  // On the wall at the start of its row, turned by pi - the item's angle.
  PBoxEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  int boxKind;
  bool raised;
};
P_STATE(PBox_Global, PBoxEntity, "");
P_STATE(PBox_Default, PBoxEntity, "Default");
P_STATE(PBox_MoveUp, PBoxEntity, "MoveUp");

class PEnemyEntity : public PGameEntity<PEnemyEntity, PPlatformEntity> {
public:
  // Corners from the object's box turned by pi about y.
  PEnemyEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  bool shooter;  // odd subtypes
  bool destroyed;
  bool counted;
  float lastShot;
};
P_STATE(PEnemy_Global, PEnemyEntity, "");
P_STATE(PEnemy_Default, PEnemyEntity, "Default");

class PMirrorEntity : public PGameEntity<PMirrorEntity, PPlatformEntity> {
public:
  PMirrorEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  int mirrorKind;
};
P_STATE(PMirror_Global, PMirrorEntity, "");
P_STATE(PMirror_Default, PMirrorEntity, "Default");

class PWagonEntity : public PGameEntity<PWagonEntity, PPlatformEntity> {
public:
  PWagonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The craft lets go of the stick this wagon carries.
  ~PWagonEntity() override;
  // Struck at its front by the craft; false when the craft holds no stick.
  bool Strike();
  // Blown up with the stick it carries (once): hidden and silent.
  void Explode();
  bool exploded;
  float speed;
};
P_STATE(PWagon_Global, PWagonEntity, "");
P_STATE(PWagon_Default, PWagonEntity, "Default");
P_STATE(PWagon_Move, PWagonEntity, "Move");

// --- made by the program itself --------------------------------------------------------

class PBossFlyEntity;

class PBossEntity : public PGameEntity<PBossEntity, PPlatformEntity> {
public:
  PBossEntity(SDxLayer* layer, SDxObject* object);
  void NextPhase() { ++phase; }
  // The visible fly at least 100 ahead of the craft nearest to it; none
  // while the boss runs away (phase 2).
  PBossFlyEntity* FindNearestFly() const;
  bool HasFly(const SDxEntity* entity) const;
  // Every fly deleted.
  void DeleteFlies();
  int phase;
  SArray<PBossFlyEntity*> flies;
};
P_STATE(PBoss_Global, PBossEntity, "");
P_STATE(PBoss_Default, PBossEntity, "Default");
P_STATE(PBoss_Move, PBossEntity, "Move");
P_STATE(PBoss_Brake, PBossEntity, "Brake");

class PBossFlyEntity : public PGameEntity<PBossFlyEntity, SDxEntityObj> {
public:
  PBossFlyEntity(SDxLayer* layer, SDxObject* object);
};
P_STATE(PBossFly_Global, PBossFlyEntity, "");
P_STATE(PBossFly_Default, PBossFlyEntity, "Default");
P_STATE(PBossFly_Move, PBossFlyEntity, "Move");

// A bolt of the owner kind (the type code of what fired it) from the origin;
// the motion kind and direction when given.
class PLaserEntity : public PGameEntity<PLaserEntity, SDxEntityObj> {
public:
  PLaserEntity(SDxLayer* layer, SDxObject* object, int ownerKind, const D3DXVECTOR3* origin,
               const int* motionKind, const D3DXVECTOR3* direction);
  int ownerKind;
  int motionKind;
  D3DXVECTOR3 origin;
  D3DXVECTOR3 direction;
};
P_STATE(PLaser_Global, PLaserEntity, "");
P_STATE(PLaser_Default, PLaserEntity, "");
P_STATE(PLaser_Launch, PLaserEntity, "");

