#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxObject.h"
#include "game/PGame.h"
#include "game/entities/PDoorEntity.h"
#include "game/entities/PEntityEffects.h"

#include <math.h>
#include <initializer_list>

const float PDoorEntity::kLeafOpen = 1.2780973f;      // 3 pi / 8 + 0.1
const float PDoorEntity::kOpeningLimit = 1.1780972f;  // 3 pi / 8

namespace {

const float kSwingSpeed = DX_PI / 4;

}  // namespace

PDoorEntity::PDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* doorLeaf, MAPITEM* item)
    : PItemEntity(0, PDoor_Default::Instance(), PDoor_Global::Instance(), layer, object, item),
      leaf(doorLeaf) {
  for (SDxObject* o : {object, doorLeaf}) {
    CullByPosition(o);
    if (o) o->SetDecalsEnabled(true);
  }
  PDoorEntity::Reset();
}

PDoorEntity::~PDoorEntity() { RemoveFromLayer(leaf); }

void PDoorEntity::Reset() {
  open = false;
  leafAngle = openingAngle = 0;
}

void PDoorEntity::Open() {
  if (open) return;
  open = true;
  GetEngine()->PlaySound(PGame::SOUND_DOOR, false, 1.0f, 0);
  ChangeState(PDoor_Open::Instance(), 0);
}

void PDoorEntity::Swing() {
  float s = GetEngine()->GetElapsedTime() * kSwingSpeed;
  openingAngle = fminf(openingAngle + s, kOpeningLimit);
  if (leafAngle + s >= kLeafOpen) {
    if (leaf) leaf->RotateLocal(0, 0, -(kLeafOpen - leafAngle));
    leafAngle = kLeafOpen;
    ChangeState(PDoor_Default::Instance(), 0);
    return;
  }
  if (leaf) leaf->RotateLocal(0, 0, -s);
  leafAngle += s;
}

float PDoorEntity::GetOpeningStart() const {
  return (item ? item->angle : 0.0f) - DX_PI / 8 - DX_PI / 16 + 0.04f;
}

float PDoorEntity::GetOpeningEnd() const {
  return (item ? item->angle : 0.0f) + openingAngle - DX_PI / 4 + 0.17f;
}
