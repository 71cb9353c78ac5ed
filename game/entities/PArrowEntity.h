// A spinning dart flying along the tube wall at 3000 a second, forward
// (subtype 0) or backward. It breaks with a puff and starts again from its
// start z when it has flown 12000, when it is 200 into a wall row or when
// it hits the craft, which takes it as a shot (one life); after a hit that
// ends the run it hides and stays still.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxParticlePoint;

class PArrowEntity : public PItemEntity<PArrowEntity> {
public:
  PArrowEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The puff leaves the scene.
  ~PArrowEntity() override;

  void Step();
  // The start z of every flight: the current z.
  void StoreStartZ() { startZ = GetZ(); }
  // The puff at the arrow's x and y and the z; its sound, fading to nothing
  // 2000 from the craft, while the run is on and the craft is within 2000
  // along the track.
  void Burst(float z);

  SDxParticlePoint* burst;
  int direction;  // the item's subtype: 0 toward higher z
  float startZ;

private:
  // The puff at z and back to the start of the flight.
  void Break(float z);
};
P_STATE(PArrow_Global, PArrowEntity, "");
P_STATE(PArrow_Default, PArrowEntity, "Default");
