// Construction of the game's entities: the common pattern, the fields each
// class starts with and the places that the classes set themselves.
#include "core/Platform.h"

#include "engine/SDxGeometry.h"
#include "engine/SDxLayer.h"
#include "engine/SDxObject.h"
#include "game/PEntities.h"

#include <math.h>
#include <initializer_list>

namespace {

const float kPi = 3.14159265f;

void AllowDecals(SDxObject* object) {
  if (object) object->SetDecalsEnabled(true);
}

}  // namespace

void CullByPosition(SDxObject* object) {
  if (object) object->SetCulling(true, false);
}

void LinkMapItem(MAPITEM* item, SDxEntity* entity) {
  if (item) item->entity = entity;
}

// --- platform base -----------------------------------------------------------------------

PPlatformEntity::PPlatformEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item,
                                 const D3DXVECTOR3* table)
    : SDxEntityObj(layer, object), mapItem(item), turnAngle(0), sectorEnd(0), sectorStart(0) {
  LinkMapItem(item, this);
  if (table) {
    for (int i = 0; i < 8; ++i) corners[i] = table[i];
  } else {
    SDxBox box;
    box.min = box.max = D3DXVECTOR3(0, 0, 0);
    if (object) box = object->GetBox();
    for (int i = 0; i < 8; ++i) {
      corners[i] = D3DXVECTOR3(i % 2 ? box.max.x : box.min.x, i >= 4 ? box.max.y : box.min.y,
                               (i % 4) < 2 ? box.max.z : box.min.z);
    }
  }
  CullByPosition(object);
  if (item) {
    float turn = item->column / 16.0f * 2 * kPi;
    SetPositionXYZ(0, 0, item->row * 1000.0f);
    SetRotation(0, 0, turn);
    SetSectorAngle(turn);
  }
}

void PPlatformEntity::Update() { SDxEntityObj::Update(); }

void PPlatformEntity::SetSectorAngle(float a) {
  turnAngle = a;
  sectorEnd = -a + 0.39269909f;
  sectorStart = -a;
}

bool PPlatformEntity::IsRowWall() const {
  return GetType() == PGame::ITEM_WALL && mapItem && mapItem->subtype >= 0 && mapItem->subtype <= 2;
}

float PPlatformEntity::GetSlideOffset() const {
  if (GetType() != PGame::ITEM_WALL || !mapItem || (mapItem->subtype != 4 && mapItem->subtype != 5))
    return 0.0f;
  return GetZ() - mapItem->row * 1000.0f;
}

// --- entities on the wall or the axis ----------------------------------------------------

PForwardEntity::PForwardEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_FORWARD, PForward_Default::Instance(), PForward_Global::Instance(),
                  layer, object, item) {
  CullByPosition(object);
}

// --- doors -------------------------------------------------------------------------------

PDoorEntity::PDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* doorLeaf, MAPITEM* item)
    : PItemEntity(0, PDoor_Default::Instance(), PDoor_Global::Instance(), layer, object, item),
      leaf(doorLeaf) {
  for (SDxObject* o : {object, doorLeaf}) {
    CullByPosition(o);
    AllowDecals(o);
  }
  Reset();
}

PDoorEntity::~PDoorEntity() {
  if (leaf && GetLayer()) GetLayer()->RemoveItem(leaf);
}

void PDoorEntity::Reset() {
  open = false;
  leafAngle = openingAngle = 0;
}

float PDoorEntity::GetOpeningStart() const {
  return (item ? item->angle : 0.0f) - kPi / 8 - kPi / 16 + 0.04f;
}

float PDoorEntity::GetOpeningEnd() const {
  return (item ? item->angle : 0.0f) + openingAngle - kPi / 4 + 0.17f;
}

PGuardDoorEntity::PGuardDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* doorLeaf,
                                   MAPITEM* item)
    : PDoorEntity(layer, object, doorLeaf, item), guardCount(0), guardAngle(0) {
  SetType(PGame::ITEM_GUARD_DOOR);
  guardMachine = new SDxStateMachine<PGuardDoorEntity>(GetEngine(), this);
  guardMachine->SetCurrentState(PGuardDoor_Default::Instance());
  guardMachine->SetGlobalState(PGuardDoor_Global::Instance());
  int subtype = item ? item->subtype : 0;
  guardCount = subtype > 0 ? subtype : 0;
  if (subtype == 0 && !(g_game && g_game->world == 4 && g_game->level == 2)) {
    guardCount = 1;
    if (item) item->subtype = 1;
  }
}

PGuardDoorEntity::~PGuardDoorEntity() { delete guardMachine; }

bool PGuardDoorEntity::HandleMessage(DXMSG* message) {
  return guardMachine->HandleMessage(message);
}

void PGuardDoorEntity::Update() {
  PDoorEntity::Update();
  guardMachine->Update();
}

// --- platforms ---------------------------------------------------------------------------

PBoxEntity::PBoxEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item,
                       const D3DXVECTOR3* corners)
    : PGameEntity(PGame::ITEM_BOX, PBox_Default::Instance(), PBox_Global::Instance(), layer, object,
                  item, corners),
      boxKind(item ? item->subtype : 0),
      raised(false) {
  AllowDecals(object);
  if (!item) return;
  float t = item->angle;
  SetPositionXYZ(sinf(t) * 1000, cosf(t) * 1000, item->row * 1000.0f);
  SetRotation(0, 0, kPi - t);
}

PEnemyEntity::PEnemyEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PGameEntity(PGame::ITEM_ENEMY, PEnemy_Default::Instance(), PEnemy_Global::Instance(), layer,
                  object, item, nullptr),
      shooter(item && item->subtype % 2 == 1),
      destroyed(false),
      counted(false),
      lastShot(0) {
  D3DXMATRIX turn;
  D3DXMatrixRotationY(&turn, kPi);
  for (D3DXVECTOR3& corner : corners) D3DXVec3TransformCoord(&corner, &corner, &turn);
  object->ScaleToWidth(290);
}

PMirrorEntity::PMirrorEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PGameEntity(PGame::ITEM_MIRROR, PMirror_Default::Instance(), PMirror_Global::Instance(),
                  layer, object, item, nullptr),
      mirrorKind(item ? item->subtype : 0) {}

PWagonEntity::PWagonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PGameEntity(PGame::ITEM_WAGON, PWagon_Default::Instance(), PWagon_Global::Instance(), layer,
                  object, item, nullptr),
      exploded(false),
      speed(0) {
  object->ScaleToWidth(300);
}

bool PWagonEntity::Strike() {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  return ship && ship->GetHeldDynamite();
}

PWagonEntity::~PWagonEntity() {
  GetEngine()->StopSound(PGame::SOUND_WAGON, 0);
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  PDynamiteEntity* stick = ship ? ship->GetHeldDynamite() : nullptr;
  if (stick && stick->GetCarrier() == this) ship->DropDynamite();
}

void PWagonEntity::Explode() {
  if (exploded) return;
  exploded = true;
  SetVisible(false);
  GetEngine()->StopSound(PGame::SOUND_WAGON, 0);
}

// --- made by the program itself ----------------------------------------------------------

PBossEntity::PBossEntity(SDxLayer* layer, SDxObject* object)
    : PGameEntity(PGame::ITEM_BOSS, PBoss_Default::Instance(), PBoss_Global::Instance(), layer,
                  object, nullptr, nullptr),
      phase(0) {
  object->ScaleToWidth(800);
}

PBossFlyEntity* PBossEntity::FindNearestFly() const {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (phase == 2 || !ship) return nullptr;
  PBossFlyEntity* nearest = nullptr;
  float best = 0;
  for (int i = 0; i < flies.GetCount(); ++i) {
    PBossFlyEntity* fly = flies[i];
    if (!fly->IsVisible() || fly->GetZ() < ship->GetTrackPosition() + 100) continue;
    float distance = GetDistanceSq(*fly->GetPosition(), ship->GetPositionRef());
    if (!nearest || distance < best) {
      nearest = fly;
      best = distance;
    }
  }
  return nearest;
}

bool PBossEntity::HasFly(const SDxEntity* entity) const {
  for (int i = 0; i < flies.GetCount(); ++i)
    if ((const SDxEntity*)flies[i] == entity) return true;
  return false;
}

void PBossEntity::DeleteFlies() {
  for (int i = 0; i < flies.GetCount(); ++i) delete flies[i];
  flies.RemoveAll();
}

PBossFlyEntity::PBossFlyEntity(SDxLayer* layer, SDxObject* object)
    : PGameEntity(PGame::ITEM_BOSS_FLY, PBossFly_Default::Instance(), PBossFly_Global::Instance(),
                  layer, object) {
  CullByPosition(object);
}

PLaserEntity::PLaserEntity(SDxLayer* layer, SDxObject* object, int owner, const D3DXVECTOR3* from,
                           const int* motion, const D3DXVECTOR3* toward)
    : PGameEntity(PGame::ITEM_LASER, PLaser_Default::Instance(), PLaser_Global::Instance(), layer,
                  object),
      ownerKind(owner),
      motionKind(motion ? *motion : 0),
      origin(from ? *from : D3DXVECTOR3(0, 0, 0)),
      direction(toward ? *toward : D3DXVECTOR3(0, 0, 1)) {
  if (from) SetPosition(*from);
}
