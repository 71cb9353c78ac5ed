#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "engine/SDxParticle.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PFireEntity.h"
#include "game/entities/PShipEntity.h"

#include <math.h>
#include <initializer_list>

namespace {

const float kWallRadius = 915.0f;
const float kInnerRadius = 300.0f;
const float kCircling = 3.0f;
const float kFullFlamesWithin = 4000.0f;
const float kNoFlamesFrom = 14000.0f;

// By kind ('<', '>', '^'): the circling sense, the flame core's lifetime
// and point size, the flame's point size, the contact distance.
const struct {
  float sense;
  float coreLifetime, corePointSize, flamePointSize;
  float contact;
} kKinds[3] = {
    {1.0f, 2.0f, 250.0f, 100.0f, 300.0f},
    {-1.0f, 2.0f, 250.0f, 100.0f, 300.0f},
    {0.0f, 1.0f, 150.0f, 75.0f, 275.0f},
};

}  // namespace

PFireEntity::PFireEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_FIRE, PFire_Default::Instance(), PFire_Global::Instance(), layer,
                  object, mapItem),
      light(nullptr),
      fireKind(mapItem && mapItem->subtype >= 0 && mapItem->subtype < 3 ? mapItem->subtype : 0),
      exploded(false),
      angleOffset(0) {
  CullByPosition(object);
  if (object) object->ScaleToWidth(150);
  const auto& kind = kKinds[fireKind];
  bool circling = fireKind != 2;
  if (circling) {
    light = AddPointLight(layer, 1, 0.75f, 1, 1.0f, 500.0f);
    if (light) {
      light->AttachTo(object);
      light->FadeTo(0.5f, 1.5f, 0.25f, true);
    }
  }
  explosion = AddExplosion(layer, 2000.0f);
  smoke = AddEmitter(layer, PuffLook(30, 500.0f));
  flameCore = AddEmitter(layer, RisingLook(125, kind.corePointSize, kind.coreLifetime, 50, 125));
  PEmitterLook flameLook = RisingLook(100, kind.flamePointSize, 0.5f, 100, 150);
  flameLook.alphaCloud = false;
  const float orange[4] = {0.8f, 0.6f, 0, 1}, red[4] = {0.9f, 0, 0, 0};
  for (int i = 0; i < 4; ++i) {
    flameLook.from[i] = orange[i];
    flameLook.to[i] = red[i];
  }
  flame = AddEmitter(layer, flameLook);
  for (SDxParticlePoint* emitter : {flameCore, flame})
    if (emitter) emitter->Start(nullptr, -1.0f, 0);
  if (object && circling) {
    object->AttachSound(PGame::SOUND_FIRE);
    object->SetSoundRange(100.0f, 4000.0f, 0.0f, 0.75f);
  }
}

PFireEntity::~PFireEntity() { RemoveFromLayer(light, explosion, smoke, flameCore, flame); }

void PFireEntity::Step() {
  if (exploded || !GetMainObject()) return;
  SDx* dx = GetEngine();
  float dt = dx->GetElapsedTime();
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  float z = GetZ();
  if (ship) {
    float d = fminf(fmaxf(fabsf(z - ship->GetTrackPosition()), kFullFlamesWithin), kNoFlamesFrom);
    float k = 1 - (d - kFullFlamesWithin) / (kNoFlamesFrom - kFullFlamesWithin);
    for (SDxParticlePoint* emitter : {flameCore, flame})
      if (emitter) emitter->SetAlpha(k);
  }
  float t = item ? item->angle : 0.0f;
  if (fireKind == 2) {
    float s = (sinf(2 * dx->GetTimeSince(GetCreationTime())) + 1) / 2;
    float r = kWallRadius - (kWallRadius - kInnerRadius) * s;
    SetPositionXYZ(sinf(t) * r, cosf(t) * r, z);
  } else {
    angleOffset += kKinds[fireKind].sense * kCircling * dt;
    SetPositionXYZ(sinf(t + angleOffset) * kWallRadius, cosf(t + angleOffset) * kWallRadius, z);
  }
  RotateLocal(0, 2 * dt, 0);
  const D3DXVECTOR3& at = *GetPosition();
  if (light) light->SetPosition(at);
  for (SDxParticlePoint* emitter : {flameCore, flame})
    if (emitter) emitter->SetPosition(at);
  float contact = kKinds[fireKind].contact;
  if (ship && GetDistanceSq(ship->GetPositionRef(), at) < contact * contact) {
    Explode();
    ship->Crash(PGame::ITEM_FIRE, 1.0f);
  }
}

void PFireEntity::Explode() {
  if (exploded) return;
  exploded = true;
  SetVisible(false);
  if (light) light->SetEnabled(false);
  for (SDxParticlePoint* emitter : {flameCore, flame}) {
    if (!emitter) continue;
    emitter->Stop();
    emitter->SetVisible(false);
  }
  if (SDxObject* object = GetMainObject()) {
    SetOff(explosion, *GetPosition());
    if (smoke) smoke->Start(GetPosition(), 0.5f, 0);
    object->AttachSound(-1);
  }
}
