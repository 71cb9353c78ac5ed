// A solid block on the tube wall ('$', '#', 0xA3: kinds 0 to 2). Kind 0
// never moves; kind 1 rises when any laser bolt hits it, kind 2 when a bolt
// turned by a mirror hits it or the boss passes it. A box rises once: 200
// toward the axis in 1.0 s (PBox_MoveUp), then stays there. Laser hits
// leave holes on it.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PLaserEntity;

class PBoxEntity : public PGameEntity<PBoxEntity, PPlatformEntity> {
public:
  // On the wall at the start of its row, turned by pi - the item's angle.
  PBoxEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  // A kind 2 box rises when the boss's z passes its own.
  void Step();
  // The reaction to a bolt that stopped on the box.
  void HitByLaser(PLaserEntity* bolt);
  bool IsMovable() const { return boxKind != 0; }
  bool IsBossBox() const { return boxKind == 2; }
  bool IsRaised() const { return raised; }
  SDxState<PBoxEntity>* GetState() const { return GetCurrentState(); }
  // The time in the current state over the duration, at most 1.
  float GetStateProgress(float duration) const { return machine->GetProgress(duration); }
  // At that distance from the axis in its column (1000 down, 800 up),
  // its z kept.
  void PlaceAtRadius(float r);

  int boxKind;
  bool raised;
};
P_STATE(PBox_Global, PBoxEntity, "");
P_STATE(PBox_Default, PBoxEntity, "Default");

class PBox_MoveUp : public PState<PBoxEntity> {
public:
  PBox_MoveUp() : PState<PBoxEntity>("MoveUp") {}
  // The box's sound.
  void Enter(PBoxEntity* box, SDxState<PBoxEntity>* previous, int32_t parameter) override;
  // From radius 1000 to 800 over 1.0 s, then back to the default state.
  void Execute(PBoxEntity* box) override;
  static PBox_MoveUp* Instance() { return StateInstance<PBox_MoveUp>(); }
};
