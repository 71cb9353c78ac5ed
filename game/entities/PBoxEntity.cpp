#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxObject.h"
#include "game/PEntities.h"
#include "game/PGame.h"

#include <math.h>

namespace {

const float kWallRadius = 1000.0f;
const float kRise = 200.0f;
const float kRiseSeconds = 1.0f;

}  // namespace

PBoxEntity::PBoxEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item,
                       const D3DXVECTOR3* corners)
    : PGameEntity(PGame::ITEM_BOX, PBox_Default::Instance(), PBox_Global::Instance(), layer, object,
                  item, corners),
      boxKind(item ? item->subtype : 0),
      raised(false) {
  if (object) object->SetDecalsEnabled(true);
  if (!item) return;
  PlaceAtRadius(kWallRadius);
  SetRotation(0, 0, DX_PI - item->angle);
}

void PBoxEntity::PlaceAtRadius(float r) {
  float t = mapItem ? mapItem->angle : 0.0f;
  SetPositionXYZ(sinf(t) * r, cosf(t) * r, GetZ());
}

void PBoxEntity::HitByLaser(PLaserEntity* bolt) {
  if (GetState() != PBox_Default::Instance() || raised || boxKind == 0) return;
  if (IsBossBox() && !(bolt && bolt->IsDeflected())) return;
  raised = true;
  ChangeState(PBox_MoveUp::Instance(), 0);
}

void PBoxEntity::Step() {
  PBossEntity* boss = g_game ? g_game->GetBoss() : nullptr;
  if (!IsBossBox() || raised || !boss || GetZ() >= boss->GetZ()) return;
  raised = true;
  ChangeState(PBox_MoveUp::Instance(), 0);
}

void PBox_MoveUp::Enter(PBoxEntity* box, SDxState<PBoxEntity>*, int32_t) {
  box->GetEngine()->PlaySound(PGame::SOUND_BOX, false, 1.0f, 0);
}

void PBox_MoveUp::Execute(PBoxEntity* box) {
  float p = box->GetStateProgress(kRiseSeconds);
  box->PlaceAtRadius(kWallRadius - kRise * p);
  if (p >= 1.0f) box->ChangeState(PBox_Default::Instance(), 0);
}
