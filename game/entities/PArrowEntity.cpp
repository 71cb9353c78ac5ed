#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxObject.h"
#include "engine/SDxParticle.h"
#include "game/PGame.h"
#include "game/entities/PArrowEntity.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PShipEntity.h"

#include <math.h>

namespace {

const float kSpeed = 3000.0f;
const float kSpin = 4.0f;
const float kRange = 12000.0f;
// How far into a wall row an arrow breaks, and where its puff shows from
// the wall row's face.
const float kIntoWall = 200.0f;
const float kBeforeFace = 5.0f;
const float kHitDistanceSq = 100.0f * 100.0f;
const float kHearing = 2000.0f;

}  // namespace

PArrowEntity::PArrowEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_ARROW, PArrow_Default::Instance(), PArrow_Global::Instance(), layer,
                  object, mapItem),
      burst(AddEmitter(layer, PuffLook(25, 200.0f))),
      direction(mapItem ? mapItem->subtype : 0),
      startZ(0) {
  CullByPosition(object);
  if (object) object->ScaleToWidth(50);
}

PArrowEntity::~PArrowEntity() { RemoveFromLayer(burst); }

void PArrowEntity::Step() {
  if (!IsVisible() || !item) return;
  float dt = GetEngine()->GetElapsedTime();
  float z0 = GetZ();
  OffsetZ(direction == 0 ? dt * kSpeed : -dt * kSpeed);
  RotateLocal(0, 0, dt * kSpin);
  float z = GetZ();
  if (fabsf(startZ - z) > kRange) {
    Break(z0);
    return;
  }
  int row = (int)(z / PGame::kRowLength);
  if (g_game && g_game->GetItemTypeAt(item->column, row) == PGame::ITEM_WALL) {
    float rowStart = row * PGame::kRowLength;
    if (row < item->row) {
      if (rowStart + PGame::kRowLength - z > kIntoWall) {
        Break(rowStart + PGame::kRowLength + kBeforeFace);
        return;
      }
    } else if (z - rowStart > kIntoWall) {
      Break(rowStart - kBeforeFace);
      return;
    }
  }
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (ship && GetDistanceSq(*GetPosition(), ship->GetPositionRef()) < kHitDistanceSq) {
    Burst(z0);
    ship->HitByShot(PGame::ITEM_ARROW);
    if (ship->IsAlive()) {
      SetZ(startZ);
    } else {
      SetVisible(false);
    }
  }
}

void PArrowEntity::Break(float z) {
  Burst(z);
  SetZ(startZ);
}

void PArrowEntity::Burst(float z) {
  D3DXVECTOR3 at(GetX(), GetY(), z);
  if (burst) burst->Start(&at, 0.2f, 0);
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!ship || !g_game->IsRunning() || fabsf(ship->GetTrackPosition() - GetZ()) >= kHearing) return;
  float volume = 1 - ClampToUnit(GetDistance(ship->GetPositionRef(), *GetPosition()) / kHearing);
  if (volume != 0) GetEngine()->PlaySound(PGame::SOUND_EXPLOSION_ARROW, true, volume, 0);
}
