// Construction of the game's entities: the common pattern, the fields each
// class starts with and the places that the classes set themselves.
#include "core/Platform.h"

#include "engine/SDxGeometry.h"
#include "engine/SDxLayer.h"
#include "engine/SDxObject.h"
#include "game/PEntities.h"

#include <math.h>

namespace {

const float kPi = 3.14159265f;

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
