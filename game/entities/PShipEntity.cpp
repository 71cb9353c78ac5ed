// The craft's life and the actions others ask of it: reset, jumps,
// rebounds, the turbo, the dynamite it carries, shots and the stop at the
// finish.
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxShape.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/entities/PShipEntity.h"

#include <math.h>
#include <initializer_list>

const float PShipEntity::kTopSpeed = 4500.0f;
const float PShipEntity::kTurboTopSpeed = 6000.0f;
const float PShipEntity::kGroundRadius = 960.0f;
const float PShipEntity::kSampleRadius = 40.0f;

namespace {

const float kTurboSeconds = 9.0f;
const float kShotInterval = 0.5f;
const float kReboundLimit = 4000.0f;

}  // namespace

PShipEntity::PShipEntity(SDxLayer* layer, SDxShape* shape)
    : PGameEntity(PGame::ITEM_CRAFT, PShip_Default::Instance(), PShip_Global::Instance(), layer,
                  shape),
      camera(GetEngine()->GetCamera(-1)),
      heldDynamite(nullptr) {
  if (shape) shape->AddSphere(nullptr, nullptr, 80.0f, -1.0f, -1.0f, true, true, false, 6, 6);
  Reset();
}

PShipEntity::~PShipEntity() { Reset(); }

void PShipEntity::Reset() {
  delete heldDynamite;
  heldDynamite = nullptr;
  introRolling = introTurning = false;
  introStartDirection = introMiddleDirection = D3DXVECTOR3(0, 0, 0);
  introHalfProgress = 0;
  deathKind = 0;
  stopped = false;
  groundRadius = previousRadius = radius = kGroundRadius;
  previousAngle = angle = DX_PI;
  angularSpeed = 0;
  trackPosition = previousTrackPosition = 0;
  speed = 0;
  pitchActive = false;
  pitch = pitchTarget = pitchSpeed = pitchAcceleration = 0;
  pitchFromAbove = false;
  turboTime = 0;
  airborne = false;
  jumpTime = verticalSpeed = jumpFactor = 0;
  lockTarget = nullptr;
  firePressTime = lastShotTime = rampTime = 0;
  cameraAnchor = D3DXVECTOR3(0, 0, 0);
  thrustMode = THRUST_COAST;
  thrustModeChanged = false;
  gameOverVoicePlayed = false;
  landingToggle = true;
  UpdatePosition();
  UpdateOrientation();
  SetVisible(false);
}

float PShipEntity::GetSpeedRatio() const { return ClampFloat(GetAbsSpeed() / kTopSpeed, 0, 1); }

int PShipEntity::GetColumn() const {
  int column = 16 - (int)floorf(WrapAngle(angle) / (DX_PI / 8));
  return column >= 16 ? column - 16 : column;
}

float PShipEntity::GetTurboSecondsLeft() const {
  if (turboTime == 0) return 0;
  return ClampFloat(kTurboSeconds - GetEngine()->GetTimeSince(turboTime), 0, kTurboSeconds);
}

MAPITEM* PShipEntity::GetMapItemUnder() const {
  return g_game ? g_game->GetMapItem(GetColumn(), GetRow()) : nullptr;
}

bool PShipEntity::Jump(float strength, bool silent) {
  if (strength < 100) return false;
  airborne = true;
  verticalSpeed = strength;
  jumpFactor = strength / 2500;
  if (!silent) {
    jumpTime = GetEngine()->GetTime();
    GetEngine()->PlaySound(PGame::SOUND_JUMP, false, jumpFactor / 2, 0);
  }
  return true;
}

void PShipEntity::Rebound(float strength, int sound) {
  float s = ClampFloat(strength, -kReboundLimit, kReboundLimit);
  speed = -s;
  float kick = s / kReboundLimit * DX_HALF_PI;
  // A pitch that starts exactly at its target with a downward kick starts
  // just below it, so that it ends on its way back up.
  if (pitch == 0 && kick < 0) pitch = -0.00001f;
  StartPitch(kick, DX_PI, 0);
  float level = fabsf(s) / kReboundLimit;
  GetEngine()->PlaySound(sound, false, level, 0);
  GetEngine()->SetRumble(level, level, level * 0.3f + 0.2f);
}

void PShipEntity::StartPitch(float startSpeed, float acceleration, float target) {
  pitchActive = true;
  pitchSpeed = startSpeed;
  pitchAcceleration = acceleration;
  pitchTarget = target;
  pitchFromAbove = pitch >= target;
}

void PShipEntity::StartTurbo() {
  SDx* dx = GetEngine();
  if (turboTime == 0) {
    dx->PlaySound(PGame::SOUND_TURBO, false, GetSpeedRatio(), 0);
    if (g_game) g_game->ShowTurboHud(true, false);
    dx->FlashBrightness(8.0f, 0.5f);
  }
  turboTime = dx->GetTime();
}

bool PShipEntity::TakeDynamite(PDynamiteEntity* stick) {
  if ((heldDynamite && stick && stick != heldDynamite) || stick == heldDynamite) return false;
  if (stick) {
    GetEngine()->PlaySound(PGame::SOUND_CATCH_DYNAMITE, false, 0.75f, 0);
    if (g_game) g_game->RemoveDynamite(stick);
    stick->StartCountdown();
  }
  heldDynamite = stick;
  return true;
}

void PShipEntity::DropDynamite() {
  if (!heldDynamite) return;
  // A stick that went off removes itself once its explosion has played.
  if (!heldDynamite->IsExploded()) {
    heldDynamite->ChangeState(PDynamite_Exploded::Instance(), 0);
    heldDynamite->Remove();
  }
  heldDynamite = nullptr;
}

bool PShipEntity::IsTargetInBoss(SDxEntityObj* target) const {
  PBossEntity* boss = g_game ? g_game->GetBoss() : nullptr;
  return boss && target && boss->HasFly(target);
}

void PShipEntity::Fire() {
  SDx* dx = GetEngine();
  if (dx->GetTimeSince(lastShotTime) < kShotInterval || !g_game) return;
  lastShotTime = dx->GetTime();
  const D3DXVECTOR3& p = GetPositionRef();
  float d = sqrtf(p.x * p.x + p.y * p.y) - 140;
  D3DXVECTOR3 origin(d * sinf(angle), d * cosf(angle), p.z);
  if (!lockTarget) {
    g_game->FireLaser(PGame::ITEM_CRAFT, &origin, nullptr, nullptr);
  } else {
    SDxEntityObj* target = lockTarget;
    lockTarget = nullptr;
    if (!IsTargetInBoss(target)) return;
    D3DXVECTOR3 direction = *target->GetPosition() - origin;
    D3DXVec3Normalize(&direction, &direction);
    g_game->FireLaser(PGame::ITEM_CRAFT, &origin, nullptr, &direction);
  }
  if (!pitchActive) StartPitch(DX_PI / 8, DX_PI, 0);
  dx->SetRumble(0, 0.5f, 0.2f);
}

void PShipEntity::StopAtFinish() {
  if (stopped) return;
  stopped = true;
  deathKind = -1;
  EndRun();
}

void PShipEntity::EndRun() {
  SDx* dx = GetEngine();
  // The turbo's blur and top speed end with the run.
  turboTime = 0;
  dx->SetSoundVolume(PGame::SOUND_BOULDER, 0);
  dx->SetSoundVolume(PGame::SOUND_MOVE, 0);
  for (int sound : {PGame::SOUND_BIP_TARGET, PGame::SOUND_ALARM, PGame::SOUND_ACCELERATE,
                    PGame::SOUND_BRAKE, PGame::SOUND_DECELERATE})
    dx->StopSound(sound, 0);
  if (g_game && !g_game->IsLessonLevel()) dx->StopSound(PGame::MUSIC_CHANNEL, 1.0f);
}
