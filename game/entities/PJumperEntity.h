// A ramp in one cell of the tube. The craft rides up its top; a launcher
// (subtype 0) throws a fast craft into the air at the end of the ramp. All
// of that is the craft's contact test (PShipEntityContact.cpp): the ramp
// itself only stands there.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PJumperEntity : public PGameEntity<PJumperEntity, PPlatformEntity> {
public:
  // The corner table of the jumper's shape.
  PJumperEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  bool IsLauncher() const { return launcher; }

  bool launcher;  // subtype 0
};
P_STATE(PJumper_Global, PJumperEntity, "");
P_STATE(PJumper_Default, PJumperEntity, "Default");
