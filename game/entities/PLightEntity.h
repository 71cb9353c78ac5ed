// A lamp hanging in the tube: an invisible entity owning one point light
// in the next colour of the game's light cycle (which every lamp made
// advances, and a restart starts again). Subtype 0 shines steady, 1
// flickers on and off and buzzes, 2 pulses from dark to full and back
// every second, 3 shines steady white.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxLight;

class PLightEntity : public PItemEntity<PLightEntity> {
public:
  PLightEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The light leaves the scene.
  ~PLightEntity() override;
  // The light to the entity's position.
  void PlaceLight();

  SDxLight* light;
};
P_STATE(PLight_Global, PLightEntity, "");
P_STATE(PLight_Default, PLightEntity, "Default");
