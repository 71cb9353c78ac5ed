// A glowing mine fixed on the tube wall, its size and light by theme. A
// craft within 150 of it (within 150 x sqrt 2 on the centre level) sets it
// off and crashes (kind 17) in the same frame; it goes off once.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxBlob;
class SDxLight;
class SDxParticlePoint;

class PMineEntity : public PItemEntity<PMineEntity> {
public:
  PMineEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The light, explosion and smoke leave the scene.
  ~PMineEntity() override;

  void Step();
  // Once: hidden and dark; the explosion, its smoke and sound where it was.
  void Explode();

  SDxBlob* explosion;
  SDxParticlePoint* smoke;
  SDxLight* light;
  bool exploded;
};
P_STATE(PMine_Global, PMineEntity, "");
P_STATE(PMine_Default, PMineEntity, "Default");
