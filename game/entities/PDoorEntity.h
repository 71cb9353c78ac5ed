// A door across the whole tube: its main object and a leaf (a second object
// of the layer, removed with the door) that swings open at pi/4 radians a
// second until it stands 3 pi/8 + 0.1 open. The door has no type code of
// its own; PGuardDoorEntity is the one concrete door.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PLaserEntity;
struct SDxPickQuery;

class PDoorEntity : public PItemEntity<PDoorEntity> {
public:
  // How far the leaf turns, and the opening's turn (without the last
  // step) at most.
  static const float kLeafOpen;
  static const float kOpeningLimit;

  // Both objects culled by position and taking decals; closed.
  PDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* leaf, MAPITEM* item);
  // The leaf leaves the scene.
  ~PDoorEntity() override;

  bool IsOpen() const { return open; }
  // Once: the door's sound and the leaf starts to swing (PDoor_Open).
  void Open();
  // Closed, the leaf's turn forgotten.
  virtual void Reset();
  // Whether the bolt whose last step the query holds met something of the
  // door that takes it (then the bolt is spent).
  virtual bool TestLaserHit(PLaserEntity* laser, const SDxPickQuery& query) = 0;
  // One frame of the swing: the leaf turns by dt x pi/4 and stops exactly
  // at kLeafOpen.
  void Swing();
  // The arc of the opening, in the craft's angle convention.
  float GetOpeningStart() const;
  float GetOpeningEnd() const;
  // The leaf.
  SDxObject* GetGuardObject() const { return leaf; }

  SDxObject* leaf;
  bool open;
  float leafAngle;
  float openingAngle;
};
P_STATE(PDoor_Global, PDoorEntity, "");
P_STATE(PDoor_Default, PDoorEntity, "Default");

P_STATE_STEP(PDoor_Open, PDoorEntity, "Open", Swing);
