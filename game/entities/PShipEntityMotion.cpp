// The craft's per-frame step: the start sequence of a run, steering,
// thrust, height and pitch, the contact tests, the fire control, the
// camera, the engine sounds and the streaming of the track.
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxShape.h"
#include "engine/SDxSound.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/entities/PShipEntity.h"

#include <math.h>

namespace {

const float kSteerLimit = DX_HALF_PI;
const float kSteerSnap = 0.03f;
const float kThrust = 4000.0f;
const float kReverseLimit = -1125.0f;
const float kCoastDeceleration = 1000.0f;
const float kGravity = 3000.0f;
const float kRecovery = 1000.0f;  // back down to the ground off a platform
const float kOnAxis = 0.001f;     // nearer the axis point the camera has no way toward it
const float kRampPitch = -0.39269909f;
const float kTurboSeconds = 9.0f;
const float kLockDelay = 0.75f;

// The channel of each thrust mode's sound.
const int kThrustSounds[] = {PGame::SOUND_ACCELERATE, PGame::SOUND_BRAKE, PGame::SOUND_DECELERATE};
static_assert(sizeof(kThrustSounds) / sizeof(kThrustSounds[0]) == PShipEntity::THRUST_COAST + 1,
              "one sound per thrust mode");

bool IsWall(const PGame* game, int column, int row) {
  return game->GetItemTypeAt((column + 16) % 16, row) == PGame::ITEM_WALL;
}

D3DXVECTOR3 Lerp(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float t) { return a + (b - a) * t; }

}  // namespace

void PShipEntity::UpdatePosition() {
  SetPositionXYZ(radius * sinf(angle), radius * cosf(angle), trackPosition);
}

void PShipEntity::UpdateOrientation() {
  SetRotation(0, 0, DX_PI - angle);
  float t = ((angularSpeed / DX_HALF_PI + 1) / 2) * 1.15f;
  RotateLocal(InterpolateEased(t, -0.12f, 0.12f, true, true), pitch, 0);
}

int PShipEntity::SamplePoints(D3DXVECTOR3* points) {
  const D3DXVECTOR3 from = *GetLastPosition(), to = GetPositionRef();
  D3DXVECTOR3 d = to - from;
  return SampleSegment(points, SAMPLE_POINTS, from, to, D3DXVec3Length(&d) / (SAMPLE_POINTS - 1));
}

void PShipEntity::Step() {
  SDx* dx = GetEngine();
  PGame* game = g_game;
  previousTrackPosition = trackPosition;
  previousAngle = angle;
  previousRadius = radius;
  int previousColumn = GetColumn(), previousRow = GetRow();
  if (dx->IsPaused() || !game) return;
  float dt = dx->GetElapsedTime();

  if (game->GetState() == 3 && !gameOverVoicePlayed && dx->GetTimeSince(game->stateTime) > 0.75f) {
    gameOverVoicePlayed = true;
    dx->PlaySound(PGame::SOUND_VOICE_GAME_OVER + RandomInt(5), false, 0.5f, 0);
  }
  if (game->GetState() == 1) {
    RunStartSequence();
    return;
  }

  // Input, unless the run is over for the craft or it has passed the boss.
  PBossEntity* boss = game->GetBoss();
  bool input = !stopped && !(boss && boss->phase == 5);
  const SDxPadState& pad = dx->m_pad;
  bool left = false, right = false, brake = false, accelerate = false;
  if (input) {
    left = pad.IsLeft() || dx->IsKeyDown(VK_LEFT);
    right = pad.IsRight() || dx->IsKeyDown(VK_RIGHT);
    brake = pad.y > 0 || pad.leftTrigger > 0 || dx->IsKeyDown(VK_DOWN);
    accelerate = pad.y < 0 || pad.rightTrigger > 0 || dx->IsKeyDown(VK_UP);
    MAPITEM* under = brake ? GetMapItemUnder() : nullptr;
    if (under && under->type == PGame::ITEM_FORWARD) brake = false;
  }
  float factor = pad.leftX != 0 ? pad.leftX * pad.leftX : pad.rightX != 0 ? pad.rightX * pad.rightX
                                                                          : 1.0f;
  Steer(left, right, factor);
  int previousMode = thrustMode;
  Thrust(brake, accelerate);

  trackPosition += dt * speed;
  float first = game->GetFirstPieceZ();
  if (trackPosition < first) trackPosition = first;
  if (game->IsLessonLevel() && trackPosition < 0) trackPosition = 0;

  StepPitch();
  StepHeight(airborne);

  UpdatePosition();
  D3DXVECTOR3 points[SAMPLE_POINTS];
  int count = SamplePoints(points);
  bool onRamp = false;
  Collide(points, &count, kSampleRadius, &onRamp);
  CollideDoors(points, &count, kSampleRadius);
  CollideBlockers(points, &count, kSampleRadius);

  if (onRamp) {
    pitchTarget = kRampPitch;
    if (fabsf(pitch - pitchTarget) > 0.001f) {
      float step = dt * DX_HALF_PI;
      pitch = pitch > pitchTarget ? fmaxf(pitch - step, pitchTarget) : fminf(pitch + step, pitchTarget);
    }
  } else if (pitchTarget != 0) {
    StartPitch(0, airborne ? (2 * (1 - jumpFactor) + 1) * DX_PI / 8 : DX_PI, 0);
  }
  UpdateOrientation();

  if (!stopped) {
    StepFireControl();
    if (turboTime != 0) {
      if (dx->GetTimeSince(turboTime) <= kTurboSeconds) {
        game->ShowTurboHud(true, false);
      } else {
        turboTime = 0;
        game->ShowTurboHud(false, false);
      }
    }
  }

  PlaceCamera();
  if (heldDynamite) {
    SDxEntityObj* carrier = heldDynamite->GetCarrier();
    heldDynamite->SetPosition(carrier ? *carrier->GetPosition() : GetPositionRef());
  }
  game->Update(trackPosition);
  if (!stopped) PlayEngineSounds(previousMode);
  PlayPassingSound(previousRow, previousColumn);
}

void PShipEntity::Steer(bool left, bool right, float factor) {
  float dt = GetEngine()->GetElapsedTime();
  if (left) {
    angularSpeed = fminf(angularSpeed + dt * DX_PI * factor, kSteerLimit);
  } else if (right) {
    angularSpeed = fmaxf(angularSpeed - dt * DX_PI * factor, -kSteerLimit);
  } else {
    if (fabsf(angularSpeed) >= kSteerSnap) {
      float step = dt * DX_HALF_PI;
      angularSpeed += angularSpeed > 0 ? -step : step;
    }
    if (fabsf(angularSpeed) < kSteerSnap) angularSpeed = 0;
  }
  angle += dt * angularSpeed;
}

void PShipEntity::Thrust(bool brake, bool accelerate) {
  SDx* dx = GetEngine();
  float dt = dx->GetElapsedTime();
  const SDxPadState& pad = dx->m_pad;
  int previous = thrustMode;
  if (brake) {
    thrustMode = THRUST_BRAKE;
    float f = pad.leftTrigger > 0 ? pad.leftTrigger : 1.0f;
    speed = fmaxf(speed - dt * kThrust * f, kReverseLimit);
    dx->SetRumble(0.1f, 0, 0.25f);
  } else if (accelerate && !(turboTime == 0 && speed > kTopSpeed)) {
    thrustMode = THRUST_ACCELERATE;
    float f = pad.rightTrigger > 0 ? pad.rightTrigger : 1.0f;
    speed = fminf(speed + dt * kThrust * f, turboTime != 0 ? kTurboTopSpeed : kTopSpeed);
  } else {
    thrustMode = THRUST_COAST;
    float step = dt * kCoastDeceleration;
    speed = fabsf(speed) <= step ? 0 : speed - (speed > 0 ? step : -step);
  }
  thrustModeChanged = thrustMode != previous;
}

void PShipEntity::StepPitch() {
  if (!pitchActive) return;
  float dt = GetEngine()->GetElapsedTime();
  pitchSpeed += pitch < 0 ? dt * pitchAcceleration : -dt * pitchAcceleration;
  pitchSpeed = ClampFloat(pitchSpeed, -DX_HALF_PI, DX_HALF_PI);
  pitch += dt * pitchSpeed;
  if (pitchFromAbove ? pitch <= pitchTarget : pitch >= pitchTarget) {
    pitch = pitchTarget;
    pitchActive = false;
  }
}

void PShipEntity::StepHeight(bool wasAirborne) {
  SDx* dx = GetEngine();
  float dt = dx->GetElapsedTime();
  if (airborne) {
    radius -= dt * verticalSpeed;
    verticalSpeed -= dt * kGravity;
    if (radius > groundRadius) {
      dx->SetRumble(0.5f, 0.5f, 0.2f);
      dx->PlaySound(landingToggle ? PGame::SOUND_BOUNCE_GROUND : PGame::SOUND_BOUNCE_GROUND2, false,
                    0.5f, 0);
      landingToggle = !landingToggle;
      radius = groundRadius;
      if (!Jump(fabsf(verticalSpeed) / 4, true)) airborne = false;
    }
  }
  if (!wasAirborne) radius = fminf(radius + dt * kRecovery, groundRadius);
}

void PShipEntity::StepFireControl() {
  SDx* dx = GetEngine();
  PGame* game = g_game;
  bool pressed = dx->IsButtonPressed(0) || dx->IsButtonPressed(4) || dx->IsButtonPressed(5) ||
                 dx->IsKeyPressedNoRepeat(VK_CONTROL) || dx->IsKeyPressedNoRepeat(VK_SPACE);
  bool released = dx->IsButtonReleased(0) || dx->IsButtonReleased(4) ||
                  dx->IsButtonReleased(5) || dx->IsKeyReleased(VK_CONTROL) ||
                  dx->IsKeyReleased(VK_SPACE);
  if (pressed) {
    game->PulseTarget(true);
    dx->PlaySound(PGame::SOUND_PRE_LASER, false, 0.25f, 0);
    firePressTime = dx->GetTime();
  }
  if (released) {
    game->PulseTarget(false);
    dx->StopSound(PGame::SOUND_PRE_LASER, 0.25f);
    firePressTime = 0;
    if (lockTarget) dx->StopSound(PGame::SOUND_BIP_TARGET, 0);
    Fire();
    return;
  }
  PBossEntity* boss = game->GetBoss();
  if (!boss) return;
  lockTarget = nullptr;
  SDxObject* body = boss->GetMainObject();
  float bossFront = boss->GetZ() - (body ? body->GetScaledDepth() / 2 : 0);
  if (firePressTime != 0 && dx->GetTimeSince(firePressTime) > kLockDelay &&
      trackPosition > 5000 && trackPosition < bossFront) {
    SDxEntityObj* fly = boss->FindNearestFly();
    if (fly && fly->GetZ() > trackPosition) lockTarget = fly;
  }
  game->ShowTargetIndicator(lockTarget);
  if (lockTarget) {
    dx->PlaySound(PGame::SOUND_BIP_TARGET, true, 0.5f, 0);
  } else {
    dx->StopSound(PGame::SOUND_BIP_TARGET, 0);
  }
}

void PShipEntity::PlaceCamera() {
  cameraAnchor = D3DXVECTOR3((radius - 15) * sinf(angle), (radius - 15) * cosf(angle),
                             trackPosition);
  if (!camera) return;
  const D3DXVECTOR3& p = GetPositionRef();
  // Toward the axis point; a craft on the axis itself (a high jump goes
  // through it) looks from where the axis lies seen from the floor under it.
  D3DXVECTOR3 inward = D3DXVECTOR3(0, 0, trackPosition) - p;
  float length = D3DXVec3Length(&inward);
  inward = length > kOnAxis ? inward / length : D3DXVECTOR3(-sinf(angle), -cosf(angle), 0);
  D3DXVECTOR3 eye = p + inward * 30;
  eye.z -= 40;
  camera->SetPosition(eye);
  PBossEntity* boss = g_game->GetBoss();
  SDxObject* body = GetMainObject();
  if (g_game->GetState() != 3 && !(boss && boss->phase == 5) && body)
    camera->SetOrientation(body->m_rotation);
}

void PShipEntity::PlayEngineSounds(int previousMode) {
  SDx* dx = GetEngine();
  float r = GetSpeedRatio();
  dx->SetSoundVolume(PGame::SOUND_MOVE, CosineEase(r) / 4);
  if (!thrustModeChanged) return;
  dx->StopSound(kThrustSounds[previousMode], 0.5f);
  if (thrustMode == THRUST_ACCELERATE) {
    dx->PlaySound(PGame::SOUND_ACCELERATE, false, (1 - r) * 0.4f, 0);
  } else if (thrustMode == THRUST_BRAKE && speed > 0) {
    dx->PlaySound(PGame::SOUND_BRAKE, false, r * 0.6f, 0);
  } else if (thrustMode == THRUST_COAST && previousMode == THRUST_ACCELERATE) {
    dx->PlaySound(PGame::SOUND_DECELERATE, false, r * 0.25f, 0);
  }
}

void PShipEntity::PlayPassingSound(int previousRow, int previousColumn) {
  int row = GetRow(), column = GetColumn();
  if (GetAbsSpeed() <= 2250 || previousRow + 1 != row || column != previousColumn) return;
  const PGame* game = g_game;
  int l = column - 1, r = column + 1;
  bool leftFree = !IsWall(game, l, row), rightFree = !IsWall(game, r, row);
  if (!IsWall(game, l, previousRow) || !IsWall(game, r, previousRow) ||
      !IsWall(game, l, row + 1) || !IsWall(game, r, row + 1) || !(leftFree || rightFree))
    return;
  float pan = leftFree && rightFree ? 0.0f : leftFree ? -0.8f : 0.8f;
  float volume = ClampFloat((GetAbsSpeed() - 2250) / 2250, 0, 1) * 0.9f;
  GetEngine()->PlaySound(PGame::SOUND_WIND, false, volume, pan);
}

void PShipEntity::RunStartSequence() {
  SDx* dx = GetEngine();
  PGame* game = g_game;
  dx->SetSceneFlag(true);
  SDxShape* boulder = game->GetBoulderShape();
  if (game->IsLessonLevel()) {
    game->SetState(2);
    if (boulder) boulder->SetZ(-16000);
    return;
  }
  if (dx->GetTimeSince(game->stateTime) > 1.0f &&
      (dx->IsButtonReleased(0) || dx->IsKeyReleased(VK_CONTROL))) {
    game->SetState(2);
    if (boulder) boulder->SetZ(-4000);
    return;
  }
  float b = boulder ? boulder->GetZ() : 0;
  float p = b >= -7000 ? fminf((b + 7000) / 3000, 1) : 0;
  if (camera) {
    camera->SetPositionXYZ(930 * sinf(angle), 930 * cosf(angle), -40);
    if (b >= -7000) {
      if (!introTurning) {
        introTurning = true;
        camera->StopShake();
        camera->GetAxes(&introStartDirection, nullptr, nullptr, nullptr);
      }
      D3DXVECTOR3 direction;
      if (p <= 0.5f) {
        direction = introMiddleDirection = Lerp(introStartDirection, D3DXVECTOR3(-1, 0, 0), p / 0.5f);
        introHalfProgress = p;
      } else {
        float t = (p - introHalfProgress) / (1 - introHalfProgress);
        direction = Lerp(introMiddleDirection, D3DXVECTOR3(0, 0, 1), t);
      }
      camera->TurnTowards(camera->GetPosition() + direction);
    }
    if (b > -15000 && !introRolling) {
      introRolling = true;
      camera->StartShake(0, 5.0f, 1.5f, false);
    }
  }
  dx->SetRumble(fmaxf((b + 13000) / 6000 * 0.25f, 0), 0, 0);
  SDxSound* voice = dx->GetSound(PGame::SOUND_VOICE_START);
  if (p > 0.1f && voice && !voice->IsReserved()) {
    voice->SetReserved(1);
    dx->PlaySound(PGame::SOUND_VOICE_START, false, 0.5f, 0);
  }
  if (p >= 1) game->SetState(2);
}
