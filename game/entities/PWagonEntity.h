// A wagon standing in a cell of the tube ('W'). The craft that drives into
// its front holding a dynamite stick loads the stick onto it: the wagon
// rolls off at the craft's speed (losing 1000 a second) with the stick on
// it and its fuse smoking, and the stick blows up the first enemies or
// fixed box it comes within 250 of, taking the wagon with it. As a platform
// the craft rides on it and bounces off its faces.
//
// The wagon acts only on the stick it carries (the craft's held stick whose
// carrier it is); when that stick is gone (the craft crashed and let go of
// it) the wagon stops where it is. A wagon struck while the stick rides
// another one rolls off at the craft's speed with nothing on it.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PDynamiteEntity;
class SDxLight;

class PWagonEntity : public PGameEntity<PWagonEntity, PPlatformEntity> {
public:
  // 300 wide, standing, with a white light.
  PWagonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // Its sound stops, the craft lets go of a stick this wagon carries, the
  // light leaves the scene.
  ~PWagonEntity() override;

  // The roll and what it reaches.
  void Step();
  // Hit at its front by the craft: false when the craft holds no stick.
  // Otherwise it takes the craft's speed and, when the stick has no
  // carrier yet, the stick (on top of it, its fuse shown) and starts to
  // roll (PWagon_Move).
  bool Strike();
  // Blown up with the stick it carries (once): hidden, dark and silent.
  void Explode();
  // The stick it carries; null when none.
  PDynamiteEntity* GetStick() const;
  bool IsExploded() const { return exploded; }
  float GetSpeed() const { return speed; }

  SDxLight* light;
  bool exploded;
  float speed;  // along +z; 0 standing

private:
  // Every object of the stick turned as the wagon is.
  void CopyOrientation(PDynamiteEntity* stick);
};
P_STATE(PWagon_Global, PWagonEntity, "");
P_STATE(PWagon_Default, PWagonEntity, "Default");
P_STATE(PWagon_Move, PWagonEntity, "Move");
