// A gem: the collectable target of a level. It spins in place with a light
// of the theme's colour and a star emitter; the craft collects it by coming
// close; once the craft is 8000 past it, it counts as missed (until it is
// collected after all). A laser knocks it loose: it flies toward the axis,
// falls back and bounces on the wall until it rests; the boss can destroy
// it.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxLight;
class SDxParticlePoint;

class PGemEntity : public PItemEntity<PGemEntity> {
public:
  // The radius is the distance from the axis it stands at (the wall is at
  // 940).
  PGemEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, float radius);
  // The emitter and the light go with it.
  ~PGemEntity() override;

  void Step();
  bool IsActive() const { return active; }
  bool IsCollected() const { return collected; }
  bool IsMissed() const { return missed; }
  // Taken by the craft (only while active); withdraws a missed count.
  void Collect();
  // Counts the gem as missed.
  void SetMissed();
  // Hit by a laser: the star trail and a throw toward the axis.
  void Knock();
  // A bounce from rest (only while active and not already bouncing).
  void StartBounce();
  // Blown up by the boss: no longer collectable, counted as missed.
  void Destroy();

  SDxParticlePoint* emitter;
  SDxLight* light;
  bool active;
  bool knocked;
  bool collected;
  bool missed;
  bool moving;
  int bounceCount;
  float radius;
  float radialSpeed;  // toward the axis
};
P_STATE(PGem_Global, PGemEntity, "");
P_STATE(PGem_Default, PGemEntity, "Default");
