#include "core/Platform.h"

#include "game/PGame.h"
#include "game/entities/PBoulderEntity.h"

namespace {

const float kBoulderBehind = 5000.0f;

}  // namespace

PBoulderEntity::PBoulderEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_BOULDER, PBoulder_Default::Instance(), PBoulder_Global::Instance(),
                  layer, object, mapItem),
      armed(true) {
  SetVisible(false);
}

void PBoulderEntity::Step() {
  if (!armed || !g_game || !g_game->IsRunning() || !GetMainObject()) return;
  if (GetZ() < g_game->GetShipTrackPosition()) {
    armed = false;
    g_game->SetBoulderTarget(GetZ() - kBoulderBehind);
  }
}
