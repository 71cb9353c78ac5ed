// A turning obstacle on the tube axis in the middle of its row: a humming
// fan (subtype 0) or a blocker piece of two sizes, filling the disc of
// radius 600 around the axis (the craft's contact test meets it there).
// Four lights circle it a quarter turn apart at 800 from the axis. On
// world 3, level 3 the lights are off and every blocker keeps facing the
// craft's side of the tube.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxLight;

class PBlockerEntity : public PItemEntity<PBlockerEntity> {
public:
  enum { LIGHTS = 4 };

  PBlockerEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The lights leave the scene.
  ~PBlockerEntity() override;

  // The turn (a fan by -8 rad/s, a piece by 1 rad/s) and the circling
  // lights (a fan's by 10 rad/s, a piece's by -2 rad/s).
  void Step();
  // The disc around the axis that it fills.
  float GetRadius() const { return radius; }
  // Touching it crashes the craft.
  bool IsDeadly() const { return deadly; }

  SDxLight* lights[LIGHTS];
  bool fan;  // subtype 0
  float radius;
  bool deadly;
};
P_STATE(PBlocker_Global, PBlockerEntity, "");
P_STATE(PBlocker_Default, PBlockerEntity, "Default");
