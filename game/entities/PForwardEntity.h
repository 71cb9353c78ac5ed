// A forward pad (0x95): a patch of track on which the craft cannot brake.
// The entity is only the visible piece, with no behaviour and no contact;
// the craft's control ignores the brake over a map item of its type.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PForwardEntity : public PItemEntity<PForwardEntity> {
public:
  PForwardEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
};
P_STATE(PForward_Global, PForwardEntity, "");
P_STATE(PForward_Default, PForwardEntity, "Default");
