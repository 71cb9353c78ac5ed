// Construction of the game's entities: the common pattern, the fields each
// class starts with and the places that the classes set themselves.
#include "core/Platform.h"

#include "engine/SDxGeometry.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
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

PArrowEntity::PArrowEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_ARROW, PArrow_Default::Instance(), PArrow_Global::Instance(), layer,
                  object, item),
      direction(item ? item->subtype : 0),
      startZ(0) {
  CullByPosition(object);
  object->ScaleToWidth(50);
}

PBlockerEntity::PBlockerEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_BLOCKER, PBlocker_Default::Instance(), PBlocker_Global::Instance(),
                  layer, object, item),
      fan(item && item->subtype == 0),
      radius(600),
      deadly(false) {
  CullByPosition(object);
  if (fan) object->ScaleToWidth(2 * radius);
  if (!fan) AllowDecals(object);
}

PBoulderEntity::PBoulderEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_BOULDER, PBoulder_Default::Instance(), PBoulder_Global::Instance(),
                  layer, object, item),
      armed(true) {
  SetVisible(false);
}

PDynamiteEntity::PDynamiteEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_DYNAMITE, PDynamite_Default::Instance(), PDynamite_Global::Instance(),
                  layer, object, item),
      exploded(false),
      fuseTime(item && item->subtype != 0 ? 25.0f : 15.0f),
      countdownStart(0),
      carrier(nullptr) {
  CullByPosition(object);
  int difficulty = g_game ? g_game->GetDifficulty() : 1;
  fuseTime += difficulty == 0 ? 5.0f : difficulty == 2 ? -2.0f : 0.0f;
}

void PDynamiteEntity::StartCountdown() {
  if (countdownStart != 0.0f || exploded) return;
  countdownStart = GetEngine()->GetTime();
  ChangeState(PDynamite_CountingDown::Instance(), 0);
}

void PDynamiteEntity::Explode() {
  if (exploded) return;
  exploded = true;
  SetVisible(false);
  ChangeState(PDynamite_Exploded::Instance(), 0);
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!carrier && ship) ship->Crash(PGame::ITEM_DYNAMITE, 1.0f);
}

float PDynamiteEntity::GetTimeLeft() const {
  float left = fuseTime - GetEngine()->GetTimeSince(countdownStart);
  return left > 0.0f ? left : 0.0f;
}

PFireEntity::PFireEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_FIRE, PFire_Default::Instance(), PFire_Global::Instance(), layer,
                  object, item),
      fireKind(item ? item->subtype : 0),
      exploded(false),
      angleOffset(0) {
  CullByPosition(object);
  object->ScaleToWidth(150);
}

PLightEntity::PLightEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_LIGHT, PLight_Default::Instance(), PLight_Global::Instance(), layer,
                  object, item),
      light(layer ? layer->AddLight() : nullptr) {
  if (!light) return;
  D3DXCOLOR color = g_game ? g_game->GetNextLightColor() : D3DXCOLOR(1, 1, 1, 1);
  light->SetColor(color.r, color.g, color.b);
  light->SetIntensity(1.0f);
  light->SetRange(750.0f, -1.0f);
}

PLightEntity::~PLightEntity() {
  if (light && GetLayer()) GetLayer()->RemoveItem(light);
}

void PLightEntity::PlaceLight() {
  if (light && GetMainObject()) light->SetPosition(*GetPosition());
}

PMineEntity::PMineEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_MINE, PMine_Default::Instance(), PMine_Global::Instance(), layer,
                  object, item),
      exploded(false) {
  CullByPosition(object);
  object->ScaleToWidth(200);
}

// --- platforms ---------------------------------------------------------------------------

PJumperEntity::PJumperEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item,
                             const D3DXVECTOR3* corners)
    : PGameEntity(PGame::ITEM_JUMPER, PJumper_Default::Instance(), PJumper_Global::Instance(),
                  layer, object, item, corners),
      launcher(item && item->subtype == 0) {
  AllowDecals(object);
}

PPistonEntity::PPistonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item,
                             const D3DXVECTOR3* corners)
    : PGameEntity(PGame::ITEM_PISTON, PPiston_Default::Instance(), PPiston_Global::Instance(),
                  layer, object, item, corners),
      speed(0) {
  AllowDecals(object);
  restZ = GetZ() + 1000 - 5;
  extendedZ = restZ - 940;
  SetZ(restZ);
}

bool PPistonEntity::IsIdle() const {
  return GetCurrentState() != PPiston_Activate::Instance() &&
         GetCurrentState() != PPiston_PullBack::Instance();
}

bool PPistonEntity::IsActive() const { return GetCurrentState() == PPiston_Activate::Instance(); }

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

PWallEntity::PWallEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item,
                         const D3DXVECTOR3* corners)
    : PGameEntity(PGame::ITEM_WALL, PWall_Default::Instance(), PWall_Global::Instance(), layer,
                  object, item, corners),
      kind(item ? item->subtype : 0),
      pushesAllowed(kind == 1   ? 1
                    : kind == 2 ? 2
                                : 0),
      pushesDone(0),
      moving(false),
      moveTime(0) {
  AllowDecals(object);
}

void PWallEntity::Push() {
  if (pushesDone >= pushesAllowed || moving) return;
  moving = true;
  moveTime = GetEngine()->GetTime();
  GetEngine()->PlaySound(PGame::SOUND_PUSH_WALL, false, 1.0f, 0.0f);
}
