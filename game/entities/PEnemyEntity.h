// A creature on the tube wall ('e', 0xEA, 'E', 0xCA: subtypes 0 to 3). Odd
// subtypes shoot back at the approaching craft; subtypes 2 and 3 are
// targets of the level, which only a bolt turned by a mirror takes (the
// bolt leaves a gem in its place). A target destroyed any other way, or
// passed by the craft, counts once as missed. As a platform it is solid to
// the craft. Alive (shown, shooting, lit) until destroyed, for good.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxBlob;
class SDxLight;
class SDxParticlePoint;
class SDxPresetShockwave;

class PEnemyEntity : public PGameEntity<PEnemyEntity, PPlatformEntity> {
public:
  // Corners from the object's box turned by pi about y; the shock wave,
  // explosion, smoke and a red light made.
  PEnemyEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The effects and the light leave the scene.
  ~PEnemyEntity() override;

  // Shooting every 2.0 s while the craft is within 5000 before it; counted
  // as missed once the craft is 8000 past a living target.
  void Step();
  // Once: hidden, dark, exploding; a target destroyed but by a turned bolt
  // counts as missed.
  void Destroy(bool byDeflected);
  bool IsTarget() const { return target; }
  bool IsCounted() const { return counted; }
  bool IsDestroyed() const { return destroyed; }
  // Counted as missed.
  void CountMissed();

  SDxPresetShockwave* shockWave;
  SDxBlob* explosion;
  SDxParticlePoint* smoke;
  SDxLight* light;
  bool destroyed;
  bool counted;
  bool shooter;  // odd subtypes
  bool target;   // subtypes 2 and 3, as made (a taken target's item becomes a gem)
  float lastShot;
};
P_STATE(PEnemy_Global, PEnemyEntity, "");
P_STATE(PEnemy_Default, PEnemyEntity, "Default");
