#include "core/Platform.h"

#include "engine/SDxObject.h"
#include "game/PGame.h"
#include "game/entities/PLaserEntity.h"
#include "game/entities/PMirrorEntity.h"

namespace {

// The turn a mirror gives a bolt: none (the bolt explodes on the mirror) or
// the builder of the new motion.
enum Turn { STOP, INWARD, FORWARD, BACKWARD, ANGLE_UP, ANGLE_DOWN };

// By mirror kind ('7', '9', '1', '3', 'l', 'r', 'f', 'b') and the bolt's
// motion kind 0..4 (circling up, circling down, forward, backward,
// inward); bolts falling back or aimed are never turned.
const Turn kTurns[][5] = {
    {BACKWARD, STOP, ANGLE_DOWN, STOP, STOP},  // '7'
    {STOP, BACKWARD, ANGLE_UP, STOP, STOP},    // '9'
    {FORWARD, STOP, STOP, ANGLE_DOWN, STOP},   // '1'
    {STOP, FORWARD, STOP, ANGLE_UP, STOP},     // '3'
    {STOP, INWARD, STOP, STOP, ANGLE_UP},      // 'l'
    {INWARD, STOP, STOP, STOP, ANGLE_DOWN},    // 'r'
    {STOP, STOP, STOP, INWARD, FORWARD},       // 'f'
    {STOP, STOP, INWARD, STOP, BACKWARD},      // 'b'
};
static_assert(sizeof(kTurns) / sizeof(kTurns[0]) == PGame::MIRROR_KINDS, "a row per mirror kind");

const float kBackOff = 20.0f;

}  // namespace

PMirrorEntity::PMirrorEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PGameEntity(PGame::ITEM_MIRROR, PMirror_Default::Instance(), PMirror_Global::Instance(),
                  layer, object, item, nullptr),
      mirrorKind(item ? item->subtype : 0) {}

bool PMirrorEntity::Reflect(PLaserEntity* bolt, const SDxPickQuery& base) {
  bool first = !bolt->IsDeflected();
  SDxObject* object = GetMainObject();
  SDxPickQuery query = base;
  if (!object || !object->Pick(&query) || !query.hitObject) return false;
  int motion = bolt->GetMotionKind();
  Turn turn = STOP;
  if (mirrorKind >= 0 && mirrorKind < PGame::MIRROR_KINDS && motion >= 0 && motion < 5)
    turn = kTurns[mirrorKind][motion];
  switch (turn) {
    case STOP: {
      D3DXVECTOR3 at = query.origin + query.direction * (query.hitParameter - kBackOff);
      bolt->Explode(&at);
      return true;
    }
    case INWARD:
      bolt->ReflectInward(this);
      break;
    case FORWARD:
      bolt->ReflectForward(query);
      break;
    case BACKWARD:
      bolt->ReflectBackward(query);
      break;
    case ANGLE_UP:
      bolt->ReflectAngleUp(query);
      break;
    case ANGLE_DOWN:
      bolt->ReflectAngleDown(query);
      break;
  }
  if (first) bolt->SetPosition(*GetPosition());
  return true;
}
