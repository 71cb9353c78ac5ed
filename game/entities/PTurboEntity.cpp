#include "core/Platform.h"

#include "game/PGame.h"
#include "game/entities/PShipEntity.h"
#include "game/entities/PTurboEntity.h"

PTurboEntity::PTurboEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_TURBO, PTurbo_Default::Instance(), PTurbo_Global::Instance(), layer,
                  object, mapItem),
      used(false) {
  CullByPosition(object);
}

void PTurboEntity::Step() {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (used || !ship || !item) return;
  // Riding over the pad's cell; a craft in the air above it passes.
  if (ship->GetColumn() == item->column && ship->GetRow() == item->row && ship->GetRadius() > 900) {
    used = true;
    ship->StartTurbo();
  }
}
