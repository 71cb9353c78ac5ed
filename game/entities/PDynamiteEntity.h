// A stick of dynamite lying on the tube wall. The craft takes it when it
// comes within 250: the stick leaves the game object's dynamite array and
// the craft's hold has it (PShipEntity::TakeDynamite), it hides, its fuse
// runs (the HUD shows the seconds, ticking in the last 6) and at zero it
// explodes, crashing the craft that still holds it. A wagon struck by the
// craft may carry the held stick on (its carrier): the stick then rides on
// the wagon with a smoking fuse and blows up with it, without crashing the
// craft.
//
// Ownership: a lying stick belongs to the dynamite array, a taken one to
// the craft's hold until the craft lets go of it (DropDynamite flags it
// for removal) or it is deleted (its destructor clears the hold when the
// craft holds this stick). A carrier is only ever the wagon of the stick
// the craft holds; leaving the countdown forgets it. An exploded stick
// removes itself once its explosion is over.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PWagonEntity;
class SDxBlob;
class SDxLight;
class SDxParticlePoint;

class PDynamiteEntity : public PItemEntity<PDynamiteEntity> {
public:
  // The fuse by kind and the game's difficulty: 'd' 20, 15 or 13 s and 'D'
  // 30, 25 or 23 s on difficulties 0, 1, 2.
  PDynamiteEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The countdown's sounds stop when this stick was counting down; the
  // craft's hold is cleared when it held this stick; the light, explosion
  // and both emitters leave the scene.
  ~PDynamiteEntity() override;

  void Step();
  // The fuse starts: once, and never after the explosion.
  void StartCountdown();
  // Once: the stick hides and blows up. On a wagon the wagon goes with it;
  // otherwise the craft holding it crashes (kind 7).
  void Explode();
  // The fuse left, never below 0; the whole fuse before the countdown.
  float GetTimeLeft() const;
  // The explosion's picture has played and its particles are gone.
  bool IsExplosionOver() const;
  // The wagon that carries the stick (null: none).
  void SetCarrier(PWagonEntity* wagon) { carrier = wagon; }
  PWagonEntity* GetCarrier() const { return carrier; }
  // The fuse smokes while the stick rides on a wagon.
  void ShowFuse();
  bool IsExploded() const { return exploded; }
  bool IsCountingDown() const;

  SDxBlob* explosion;
  SDxParticlePoint* particles;
  SDxParticlePoint* fuseSmoke;
  SDxLight* light;
  bool exploded;
  float fuseTime;
  float countdownStart;  // game clock; 0 until the craft takes the stick
  PWagonEntity* carrier;
};

P_STATE(PDynamite_Global, PDynamiteEntity, "");
P_STATE(PDynamite_Exploded, PDynamiteEntity, "Exploded");

// Lying on the wall: the craft within 250 is offered the stick every frame
// (it refuses while it holds another).
class PDynamite_Default : public PState<PDynamiteEntity> {
public:
  PDynamite_Default() : PState<PDynamiteEntity>("Default") {}
  static PDynamite_Default* Instance() { return StateInstance<PDynamite_Default>(); }
  void Execute(PDynamiteEntity* stick) override;
};

// Held: the indicator on, the stick hidden; ticking below 6 s; at 0 the
// explosion. Leaving it turns the indicator off, forgets the carrier and
// silences the countdown.
class PDynamite_CountingDown : public PState<PDynamiteEntity> {
public:
  PDynamite_CountingDown() : PState<PDynamiteEntity>("CountingDown") {}
  static PDynamite_CountingDown* Instance() { return StateInstance<PDynamite_CountingDown>(); }
  void Enter(PDynamiteEntity* stick, SDxState<PDynamiteEntity>*, int32_t) override;
  void Execute(PDynamiteEntity* stick) override;
  void Exit(PDynamiteEntity* stick, SDxState<PDynamiteEntity>*) override;
};
