// The player's craft: an invisible sphere that carries the camera through
// the tube. Its place is a track position (z), an angle around the tube
// axis (pi is the floor) and a distance from the axis (960 on the ground,
// smaller in the air; a high jump carries it through the axis, below 0).
// Its step reads the keys and the pad, runs the start sequence of a run,
// integrates speed, steering and jumps, meets the solid things of the level
// (PShipEntityContact.cpp), moves the camera, plays the engine sounds and
// drives the game object's streaming with its position.
//
// A run ends for the craft once: by a crash (Crash) or at the finish
// (StopAtFinish); from then on input, fire, turbo display and engine
// sounds are off, while motion, contacts, camera and streaming go on. The
// game object's restart brings it back (Reset).
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

#include <d3dx9.h>

class PDynamiteEntity;
class PPlatformEntity;
class SDxCamera;
class SDxShape;

class PShipEntity : public PGameEntity<PShipEntity, SDxEntityObj> {
public:
  enum { THRUST_ACCELERATE = 0, THRUST_BRAKE = 1, THRUST_COAST = 2 };
  enum { SAMPLE_POINTS = 32 };
  // Top speeds, speed ratio base and the ground.
  static const float kTopSpeed;
  static const float kTurboTopSpeed;
  static const float kGroundRadius;
  // The radius of each sample sphere of the contact tests.
  static const float kSampleRadius;

  // The shape gets the craft's sphere; the camera is the engine's current.
  PShipEntity(SDxLayer* layer, SDxShape* shape);
  // Reset (which deletes a held stick).
  ~PShipEntity() override;

  // Start values: on the floor at z 0 and angle pi, standing, coasting,
  // nothing held; hidden.
  void Reset();
  // The per-frame step after the state machine (PShipEntityMotion.cpp).
  void Step();

  // --- queries -------------------------------------------------------------------
  bool IsAlive() const { return !stopped; }
  float GetTrackPosition() const { return trackPosition; }
  float GetAngle() const { return angle; }
  float GetRadius() const { return radius; }
  float GetSpeed() const { return speed; }
  float GetAbsSpeed() const { return speed < 0 ? -speed : speed; }
  // |speed| / 4500 held to 0..1.
  float GetSpeedRatio() const;
  int GetRow() const { return (int)(trackPosition / 1000.0f); }
  // The map column under the craft: 16 - floor(angle / (pi / 8)) of the
  // wrapped angle, 16 being 0.
  int GetColumn() const;
  int GetDeathKind() const { return deathKind; }
  bool HasTurbo() const { return turboTime != 0.0f; }
  // 9 - seconds since the turbo started, held to 0..9.
  float GetTurboSecondsLeft() const;
  const D3DXVECTOR3& GetPositionRef() const { return *GetPosition(); }
  PDynamiteEntity* GetHeldDynamite() const { return heldDynamite; }
  SDxEntityObj* GetLockTarget() const { return lockTarget; }
  // The attempt's map item at the craft's column and row.
  struct MAPITEM* GetMapItemUnder() const;

  // --- motion (PShipEntityMotion.cpp) -----------------------------------------------
  void UpdatePosition();
  // Turned to its angle about the axis, banked by the steering (at most
  // 0.12) and pitched.
  void UpdateOrientation();
  // Airborne with that speed toward the axis; false below 100. Unless
  // silent the jump sound plays and the jump time is taken.
  bool Jump(float strength, bool silent);
  // Thrown back: speed = -strength held to +-4000, a pitch kick, the sound
  // and a rumble in proportion.
  void Rebound(float strength, int sound);
  // 9 s of turbo from now (a running turbo is extended).
  void StartTurbo();
  // Takes the stick (or, null, lets go of it); false when refused: another
  // stick is held, or the same one offered again.
  bool TakeDynamite(PDynamiteEntity* stick);
  // The craft lets go of its stick: one that has not gone off is put out
  // and removed; one that has removes itself after its explosion.
  void DropDynamite();
  // A shot (at most one every 0.5 s): a laser from the craft, at the lock
  // target when one is locked and still alive.
  void Fire();
  // The end of the run at an open finish: stopped with death kind -1 and
  // the engine sounds off.
  void StopAtFinish();

  // --- contact (PShipEntityContact.cpp) ------------------------------------------------
  // Platform tops and faces; onRamp is set while riding a jumper.
  void Collide(D3DXVECTOR3* points, int* count, float sampleRadius, bool* onRamp);
  void CollideDoors(D3DXVECTOR3* points, int* count, float sampleRadius);
  void CollideBlockers(D3DXVECTOR3* points, int* count, float sampleRadius);
  // Ends the run (once): kind is the culprit's type code; a non-zero
  // impact throws the craft back (666: forward at 4000).
  void Crash(int kind, float impact);
  // A hit by a shooter of that type code: a held stick explodes instead,
  // otherwise a rebound and one life less.
  void HitByShot(int kind);
  // Whether the target is still one of the boss's flies.
  bool IsTargetInBoss(SDxEntityObj* target) const;

  SDxCamera* camera;
  bool introRolling;
  bool introTurning;
  D3DXVECTOR3 introStartDirection;
  D3DXVECTOR3 introMiddleDirection;
  float introHalfProgress;
  int deathKind;
  bool stopped;
  float groundRadius;
  float previousRadius;
  float radius;
  float previousAngle;
  float angle;
  float angularSpeed;
  float trackPosition;
  float previousTrackPosition;
  float speed;
  bool pitchActive;
  float pitch;
  float pitchTarget;
  float pitchSpeed;
  float pitchAcceleration;
  float turboTime;
  bool airborne;
  float jumpTime;
  float verticalSpeed;
  float jumpFactor;
  SDxEntityObj* lockTarget;
  float firePressTime;
  float lastShotTime;
  float rampTime;
  PDynamiteEntity* heldDynamite;
  D3DXVECTOR3 cameraAnchor;
  int thrustMode;
  bool thrustModeChanged;
  bool gameOverVoicePlayed;
  bool landingToggle;
  bool pitchFromAbove;  // the pitch animation ends when it comes down to its target

private:
  // The steps of the per-frame step (PShipEntityMotion.cpp).
  void RunStartSequence();
  void Steer(bool left, bool right, float factor);
  void Thrust(bool brake, bool accelerate);
  void StepPitch();
  void StepHeight(bool wasAirborne);
  void StepFireControl();
  void PlaceCamera();
  void PlayEngineSounds(int previousMode);
  void PlayPassingSound(int previousRow, int previousColumn);
  // The pitch animation toward the target.
  void StartPitch(float startSpeed, float acceleration, float target);
  // The 32 sample points from the last position to the current one.
  int SamplePoints(D3DXVECTOR3* points);
  // A front or back contact: back to the last z, then thrown back.
  void HitFace(D3DXVECTOR3* points, int* count, float strength);
  // A side contact: back to the last angle, the steering reversed at half.
  void HitSide(D3DXVECTOR3* points, int* count);
  // Riding on a platform top; whether it was a jumper.
  bool RideTop(const D3DXVECTOR3& point, float sampleRadius);
  // The faces of one platform; stopAll after a contact that ends the test.
  void TestFaces(PPlatformEntity* platform, D3DXVECTOR3* points, int* count, float sampleRadius,
                 bool* stopAll);
  void PlaySideSound();
  // The run's end for the craft: turbo over, engine sounds off, the music
  // fading (but in the lesson).
  void EndRun();
};
P_STATE(PShip_Global, PShipEntity, "");
P_STATE(PShip_Default, PShipEntity, "Default");
