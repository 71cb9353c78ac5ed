#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "engine/SDxParticle.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/entities/PDynamiteEntity.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PShipEntity.h"

namespace {

const float kPickupDistanceSq = 250.0f * 250.0f;
const float kTickingBelow = 6.0f;
// Where the stick lies on its wagon, and its fuse on the stick, in their
// model spaces.
const D3DXVECTOR3 kOnWagon(0, 25, 0);
const D3DXVECTOR3 kFuse(1.64f, 1.99f, -0.75f);

// The fuse by subtype ('d' 0, 'D' any other) and the change by difficulty.
const float kFuseSeconds[2] = {15.0f, 25.0f};
const float kFuseByDifficulty[3] = {5.0f, 0.0f, -2.0f};

PShipEntity* Ship() { return g_game ? g_game->GetShip() : nullptr; }

}  // namespace

PDynamiteEntity::PDynamiteEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_DYNAMITE, PDynamite_Default::Instance(), PDynamite_Global::Instance(),
                  layer, object, mapItem),
      exploded(false),
      fuseTime(kFuseSeconds[mapItem && mapItem->subtype != 0 ? 1 : 0]),
      countdownStart(0),
      carrier(nullptr) {
  CullByPosition(object);
  if (object) object->ScaleToWidth(200);
  int difficulty = g_game ? g_game->GetDifficulty() : 1;
  if (difficulty >= 0 && difficulty < 3) fuseTime += kFuseByDifficulty[difficulty];
  light = AddPointLight(layer, 1, 1, 1, 1.0f, 750.0f);
  if (light) light->AttachTo(object);
  explosion = AddExplosion(layer, 2000.0f);
  particles = AddEmitter(layer, PuffLook(25, 500.0f));
  fuseSmoke = AddEmitter(layer, RisingLook(150, 20.0f, 4.0f, 30.0f, 125.0f));
}

PDynamiteEntity::~PDynamiteEntity() {
  if (IsCountingDown()) {
    GetEngine()->StopSound(PGame::SOUND_BIP_DYNAMITE, 0);
    GetEngine()->StopSound(PGame::SOUND_DYNAMITE, 0);
  }
  PShipEntity* ship = Ship();
  if (ship && ship->GetHeldDynamite() == this) ship->TakeDynamite(nullptr);
  RemoveFromLayer(light, explosion, particles, fuseSmoke);
}

bool PDynamiteEntity::IsCountingDown() const {
  return GetCurrentState() == PDynamite_CountingDown::Instance();
}

void PDynamiteEntity::StartCountdown() {
  if (countdownStart != 0.0f || exploded) return;
  if (light) light->FadeOut(0.5f);
  countdownStart = GetEngine()->GetTime();
  ChangeState(PDynamite_CountingDown::Instance(), 0);
}

float PDynamiteEntity::GetTimeLeft() const {
  if (countdownStart == 0.0f) return fuseTime;
  float left = fuseTime - GetEngine()->GetTimeSince(countdownStart);
  return left > 0.0f ? left : 0.0f;
}

bool PDynamiteEntity::IsExplosionOver() const {
  return !(explosion && explosion->IsPlaying()) && !(particles && particles->GetAtomCount() > 0);
}

void PDynamiteEntity::ShowFuse() {
  if (fuseSmoke) fuseSmoke->Start(nullptr, -1.0f, 0);
}

void PDynamiteEntity::Explode() {
  if (exploded) return;
  exploded = true;
  SetVisible(false);
  if (light) light->SetEnabled(false);
  if (fuseSmoke) {
    fuseSmoke->Stop();
    fuseSmoke->SetVisible(false);
  }
  if (GetMainObject()) {
    SetOff(explosion, *GetPosition());
    if (particles) particles->Start(GetPosition(), 0.5f, 0);
  }
  GetEngine()->PlaySound(PGame::SOUND_EXPLOSION_DYNAMITE, false, 1.0f, 0);
  if (carrier) {
    carrier->Explode();
    ChangeState(PDynamite_Exploded::Instance(), 0);
    return;
  }
  ChangeState(PDynamite_Exploded::Instance(), 0);
  // Only the craft holding the stick is in the blast.
  PShipEntity* ship = Ship();
  if (ship && ship->GetHeldDynamite() == this) ship->Crash(PGame::ITEM_DYNAMITE, 1.0f);
}

void PDynamiteEntity::Step() {
  if (exploded) {
    if (IsExplosionOver()) Remove();
    return;
  }
  if (!GetMainObject()) return;
  if (light) light->SetPosition(*GetPosition());
  if (!carrier) return;
  D3DXVECTOR3 at;
  D3DXVec3TransformCoord(&at, &kOnWagon, carrier->GetWorldMatrix());
  SetPosition(at);
  if (fuseSmoke && fuseSmoke->IsVisible()) {
    D3DXVec3TransformCoord(&at, &kFuse, GetWorldMatrix());
    fuseSmoke->SetPosition(at);
  }
}

void PDynamite_Default::Execute(PDynamiteEntity* stick) {
  PShipEntity* ship = Ship();
  if (ship && stick->GetMainObject() &&
      GetDistanceSq(ship->GetPositionRef(), *stick->GetPosition()) < kPickupDistanceSq)
    ship->TakeDynamite(stick);
}

void PDynamite_CountingDown::Enter(PDynamiteEntity* stick, SDxState<PDynamiteEntity>*, int32_t) {
  if (g_game) g_game->ShowDynamiteHud(true);
  stick->SetVisible(false);
  stick->GetEngine()->PlaySound(PGame::SOUND_BIP_DYNAMITE, false, 1.0f, 0);
}

void PDynamite_CountingDown::Execute(PDynamiteEntity* stick) {
  if (g_game) g_game->ShowDynamiteHud(true);
  float left = stick->GetTimeLeft();
  if (left < kTickingBelow) stick->GetEngine()->PlaySound(PGame::SOUND_DYNAMITE, true, 1.0f, 0);
  if (left == 0.0f) stick->Explode();
}

void PDynamite_CountingDown::Exit(PDynamiteEntity* stick, SDxState<PDynamiteEntity>*) {
  if (g_game) g_game->ShowDynamiteHud(false);
  stick->carrier = nullptr;
  stick->GetEngine()->StopSound(PGame::SOUND_BIP_DYNAMITE, 0);
  stick->GetEngine()->StopSound(PGame::SOUND_DYNAMITE, 0);
}
