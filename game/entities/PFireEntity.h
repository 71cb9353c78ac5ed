// A burning ball near the tube wall: kinds 0 ('<') and 1 ('>') circle the
// axis at 3 rad/s on the wall in opposite senses, with a flickering light
// and a crackling sound; kind 2 ('^') bobs from the wall to 300 from the
// axis and back once every pi seconds, silent and unlit. Its flames fade
// from full at 4000 from the craft to nothing at 14000. A craft within 300
// of it (275 of a bobbing one) makes it burst and crashes (kind 10).
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxBlob;
class SDxLight;
class SDxParticlePoint;

class PFireEntity : public PItemEntity<PFireEntity> {
public:
  PFireEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The light, explosion, smoke and both flame emitters leave the scene.
  ~PFireEntity() override;

  void Step();
  // Once: hidden, dark and silent; the explosion and its smoke play where
  // it was.
  void Explode();

  SDxBlob* explosion;
  SDxParticlePoint* smoke;
  SDxParticlePoint* flameCore;
  SDxParticlePoint* flame;
  SDxLight* light;  // kinds 0 and 1
  int fireKind;     // the item's subtype, 0..2
  bool exploded;
  float angleOffset;  // added to the item's angle by the circling kinds
};
P_STATE(PFire_Global, PFireEntity, "");
P_STATE(PFire_Default, PFireEntity, "Default");
