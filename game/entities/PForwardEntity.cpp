#include "core/Platform.h"

#include "game/PGame.h"
#include "game/entities/PForwardEntity.h"

PForwardEntity::PForwardEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PItemEntity(PGame::ITEM_FORWARD, PForward_Default::Instance(), PForward_Global::Instance(),
                  layer, object, item) {
  CullByPosition(object);
}
