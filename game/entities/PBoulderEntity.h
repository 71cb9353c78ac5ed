// A trigger of the rolling boulder: hidden on the axis at the start of its
// row. The first time the craft is past it while the run is on, it brings
// the boulder up to 5000 behind itself (the game object moves the boulder
// only forward).
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PBoulderEntity : public PItemEntity<PBoulderEntity> {
public:
  PBoulderEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);

  void Step();

  bool armed;  // until the trigger fires
};
P_STATE(PBoulder_Global, PBoulderEntity, "");
P_STATE(PBoulder_Default, PBoulderEntity, "Default");
