// A laser bolt: fired by the craft (owner kind 20), an enemy or a guard (8)
// or a boss fly (4) through PGame::FireLaser, the only maker of bolts. It
// flies by its motion kind, tests the step it made in each frame against
// the level (craft's shots: platforms, doors, blockers, enemies, mirrors,
// the finish, the boss and its flies; other shots: the same solid things
// and the craft by distance) and ends in a small explosion, a time-out or
// when it leaves the range around the craft. A mirror turns a craft's
// bolt: from then on it is deflected, slower and seen only as a blue
// trail.
//
// Motion kinds: 0 and 1 circle the axis at the launch radius (angle
// growing, shrinking), 2 flies along +z, 3 along -z, 4 along the line from
// a mirror to the axis, 5 falls back along -z while moving out to the wall,
// 6 along an aimed direction.
//
// States: PLaser_Launch while it flies (light on, meshes or trail shown),
// then PLaser_Default until its explosion and trail are over, when it
// leaves the game's laser array and is removed.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

#include <d3dx9.h>

class PMirrorEntity;
class SDxBlob;
class SDxLight;
class SDxMesh;
class SDxParticlePoint;
struct SDxPickQuery;

class PLaserEntity : public PGameEntity<PLaserEntity, SDxEntityObj> {
public:
  enum {
    MOTION_ANGLE_UP,
    MOTION_ANGLE_DOWN,
    MOTION_FORWARD,
    MOTION_BACKWARD,
    MOTION_INWARD,
    MOTION_FALLING,
    MOTION_AIMED
  };

  // From the origin; the shooter's colours, direction and motion kind, the
  // given motion kind in place of the shooter's, and with a direction the
  // aimed motion along it (normalised). Inactive and hidden until launched.
  PLaserEntity(SDxLayer* layer, SDxObject* object, int ownerKind, const D3DXVECTOR3* origin,
               const int* motionKind, const D3DXVECTOR3* direction);
  // Every scene item of the bolt leaves the scene.
  ~PLaserEntity() override;

  // The hit tests of the step just made (only while active).
  void Step();
  // One step of the flight by the motion kind, with the trail, meshes and
  // light following.
  void Move();
  // The explosion at the point (null: the middle of the last step), its
  // sound, and the end of the flight.
  void Explode(const D3DXVECTOR3* point);
  // Whether the object's pick meets the step: then the bolt explodes
  // backOff before the hit point and leaves a hole decal on an object that
  // takes decals.
  bool HitObject(const SDxPickQuery& query, SDxObject* object, float backOff);

  // The mirror turns (called by PMirrorEntity::Reflect after its pick hit):
  // each starts the trail on the first turn, sets the motion and notes the
  // turn's time.
  void ReflectInward(const PMirrorEntity* mirror);
  void ReflectForward(const SDxPickQuery& query);
  void ReflectBackward(const SDxPickQuery& query);
  void ReflectAngleUp(const SDxPickQuery& query);
  void ReflectAngleDown(const SDxPickQuery& query);

  // The launch (PLaser_Launch::Enter): light, meshes or trail.
  void Launch();
  // The end of the flight (PLaser_Launch::Exit): light gone, trail stops,
  // meshes hidden.
  void StopBeam();
  // Not flying, no live trail atom and the explosion over.
  bool IsFinished() const;

  int GetOwnerKind() const { return ownerKind; }
  int GetMotionKind() const { return motionKind; }
  bool IsDeflected() const { return deflected; }
  bool IsActive() const { return active; }
  float GetTimeInState() const { return machine->GetTimeInState(); }
  // Seconds since the last turn; the time in state before the first.
  float GetTimeSinceDeflection() const;
  // The step's pick query: from the last position along the step, its
  // squared length as the range; false before a last position exists.
  bool GetStepQuery(SDxPickQuery* query) const;

  SDxBlob* explosion;
  SDxParticlePoint* trail;
  SDxLight* light;
  SDxMesh* boltA;
  SDxMesh* boltB;
  int ownerKind;
  bool active;
  bool deflected;
  D3DXCOLOR color;
  D3DXCOLOR trailColor;
  int motionKind;
  D3DXVECTOR3 direction;
  float deflectionTime;
  float angle;
  float radius;
  float radialSpeed;

private:
  // The blue trail and light of the first turn (once).
  void BeginTrail();
  // The particle trail in the bolt's colours, started at its position.
  void StartTrail();
  // The turn's motion, its time and sound.
  void Turn(int motion);
  // The step tests by the kind of shooter; true when the bolt stopped.
  bool HitSolid(const SDxPickQuery& query);
  bool HitTargets(const SDxPickQuery& query);
  void HitCraft();
};

// The laser's states keep the empty name.
P_STATE(PLaser_Global, PLaserEntity, "");

class PLaser_Default : public PState<PLaserEntity> {
public:
  // Once finished: out of the game's laser array and removed.
  void Execute(PLaserEntity* laser) override;
  static PLaser_Default* Instance() { return StateInstance<PLaser_Default>(); }
};

class PLaser_Launch : public PState<PLaserEntity> {
public:
  void Enter(PLaserEntity* laser, SDxState<PLaserEntity>* previous, int32_t parameter) override;
  // The move, then the end of the flight: out of range, out of the tube
  // once deflected, or timed out.
  void Execute(PLaserEntity* laser) override;
  void Exit(PLaserEntity* laser, SDxState<PLaserEntity>* next) override;
  static PLaser_Launch* Instance() { return StateInstance<PLaser_Launch>(); }
};
