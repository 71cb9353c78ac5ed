#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxObject.h"
#include "game/PGame.h"
#include "game/entities/PPistonEntity.h"
#include "game/entities/PShipEntity.h"

namespace {

const float kRestPastRowStart = 1000.0f - 5.0f;
const float kStroke = 940.0f;
const float kTopSpeed = 3000.0f;
const float kWaitSeconds = 1.0f;
const float kActivateAcceleration = 7000.0f;
const float kPullBackAcceleration = 400.0f;
const float kActivateReach = 4000.0f;
const float kPullBackReach = 8000.0f;

}  // namespace

PPistonEntity::PPistonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem,
                             const D3DXVECTOR3* table)
    : PGameEntity(PGame::ITEM_PISTON, PPiston_Default::Instance(), PPiston_Global::Instance(),
                  layer, object, mapItem, table),
      speed(0) {
  if (object) object->SetDecalsEnabled(true);
  restZ = GetZ() + kRestPastRowStart;
  extendedZ = restZ - kStroke;
  SetZ(restZ);
}

bool PPistonEntity::IsIdle() const {
  return GetCurrentState() != PPiston_Activate::Instance() &&
         GetCurrentState() != PPiston_PullBack::Instance();
}

bool PPistonEntity::IsActive() const { return GetCurrentState() == PPiston_Activate::Instance(); }

void PPistonEntity::TryActivate() {
  if (IsIdle() && g_game && g_game->IsRunning()) ChangeState(PPiston_Activate::Instance(), 0);
}

bool PPistonEntity::MoveToward(float end, float acceleration) {
  float dt = GetEngine()->GetElapsedTime();
  float direction = end < GetZ() ? -1.0f : 1.0f;
  float next = GetZ() + direction * dt * speed;
  speed = fminf(speed + dt * acceleration, kTopSpeed);
  if (direction * (next - end) >= 0) {
    SetZ(end);
    return true;
  }
  SetZ(next);
  return false;
}

float PPistonEntity::VolumeWithin(float reach) const {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!ship || !GetMainObject()) return 0;
  float volume = 1 - fminf(GetDistance(*GetPosition(), ship->GetPositionRef()) / reach, 1);
  return volume > 0 ? volume : 0;
}

void PPiston_Default::Execute(PPistonEntity* piston) {
  if (g_game && g_game->IsRunning() && piston->GetMachine()->GetTimeInState() >= kWaitSeconds)
    piston->TryActivate();
}

void PPiston_Activate::Enter(PPistonEntity* piston, SDxState<PPistonEntity>*, int32_t) {
  float volume = piston->VolumeWithin(kActivateReach);
  if (volume > 0) piston->GetEngine()->PlaySound(PGame::SOUND_PISTON_ACTIVATE, false, volume, 0);
  piston->speed = 0;
}

void PPiston_Activate::Execute(PPistonEntity* piston) {
  if (piston->MoveToward(piston->extendedZ, kActivateAcceleration))
    piston->ChangeState(PPiston_PullBack::Instance(), 0);
}

void PPiston_PullBack::Enter(PPistonEntity* piston, SDxState<PPistonEntity>*, int32_t) {
  float volume = piston->VolumeWithin(kPullBackReach);
  if (volume > 0) piston->GetEngine()->PlaySound(PGame::SOUND_PISTON_PULL_BACK, false, volume, 0);
  piston->speed = 0;
}

void PPiston_PullBack::Execute(PPistonEntity* piston) {
  if (piston->MoveToward(piston->restZ, kPullBackAcceleration))
    piston->ChangeState(PPiston_Default::Instance(), 0);
}
