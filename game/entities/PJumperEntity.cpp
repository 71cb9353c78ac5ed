#include "core/Platform.h"

#include "engine/SDxObject.h"
#include "game/PGame.h"
#include "game/entities/PJumperEntity.h"

PJumperEntity::PJumperEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem,
                             const D3DXVECTOR3* table)
    : PGameEntity(PGame::ITEM_JUMPER, PJumper_Default::Instance(), PJumper_Global::Instance(),
                  layer, object, mapItem, table),
      launcher(mapItem && mapItem->subtype == 0) {
  if (object) object->SetDecalsEnabled(true);
}
