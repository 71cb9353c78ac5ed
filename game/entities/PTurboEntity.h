// A boost pad in one cell of the map: the first time the craft rides over
// its cell (not above it) it starts the craft's turbo.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PTurboEntity : public PItemEntity<PTurboEntity> {
public:
  PTurboEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);

  void Step();

  bool used;
};
P_STATE(PTurbo_Global, PTurboEntity, "");
P_STATE(PTurbo_Default, PTurboEntity, "Default");
