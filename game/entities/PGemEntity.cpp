// A gem's spin, bounce, pickup and the miss once the craft has passed it.
#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "engine/SDxParticle.h"
#include "game/PGame.h"
#include "game/entities/PGemEntity.h"
#include "game/entities/PShipEntity.h"

#include <math.h>

namespace {

const float kWallRadius = 940.0f;
const float kFallAcceleration = 1500.0f;
const float kKnockSpeed = 1363.6364f;  // rises about 620 before it falls back
const float kRestSpeed = 10.0f;
const float kMissedBehind = 8000.0f;

// The emitter's second colour and the light's colour (0..255) by theme;
// other themes take the first row.
const struct {
  float emitter[4];
  int light[3];
} kThemeColors[] = {
    {{0, 0, 1, 0}, {70, 152, 185}},  // egypt
    {{1, 0, 0, 0}, {243, 80, 30}},   // medieval
    {{0, 1, 0, 0}, {70, 71, 152}},   // hitech
};

}  // namespace

PGemEntity::PGemEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem, float gemRadius)
    : PItemEntity(PGame::ITEM_GEM, PGem_Default::Instance(), PGem_Global::Instance(), layer, object,
                  mapItem),
      emitter(nullptr),
      light(nullptr),
      active(true),
      knocked(false),
      collected(false),
      missed(false),
      moving(false),
      bounceCount(0),
      radius(gemRadius),
      radialSpeed(0) {
  if (object) object->ScaleToWidth(120);
  CullByPosition(object);
  int theme = g_game ? g_game->GetTheme() : 0;
  const auto& colors = kThemeColors[theme >= 0 && theme < 3 ? theme : 0];
  emitter = layer ? layer->AddParticle(g_game ? g_game->GetStarTexture() : nullptr, 100) : nullptr;
  if (emitter) {
    emitter->SetPointSize(30);
    emitter->SetLifetime(2.0f);
    emitter->SetEmissionRate(50, 50);
    D3DXVECTOR3 from(-1, -1, -1), to(1, 1, 1);
    emitter->SetVectorRange(&from, &to);
    emitter->SetSpeed(50);
    const float* c = colors.emitter;
    emitter->SetParameters(1, 1, 1, 1, c[0], c[1], c[2], c[3], false, true);
  }
  light = layer ? layer->AddLight() : nullptr;
  if (light) {
    if (GetMainObject()) light->SetPosition(*GetPosition());
    light->SetIntensity(2.0f);
    light->SetRange(500, -1);
    light->AttachTo(object);
    light->SetColor(colors.light[0] / 255.0f, colors.light[1] / 255.0f, colors.light[2] / 255.0f);
  }
}

PGemEntity::~PGemEntity() {
  if (!GetLayer()) return;
  if (emitter) GetLayer()->RemoveItem(emitter);
  if (light) GetLayer()->RemoveItem(light);
}

void PGemEntity::Step() {
  SDx* dx = GetEngine();
  float dt = dx->GetElapsedTime();
  RotateLocal(-dt, 0, 0);
  float angle = item ? item->angle : 0.0f;
  if (moving) {
    radialSpeed -= kFallAcceleration * dt;
    float next = radius - radialSpeed * dt;
    if (next > kWallRadius) {
      ++bounceCount;
      radialSpeed = -radialSpeed / 2;
      if (fabsf(radialSpeed) < kRestSpeed) {
        radius = kWallRadius;
        radialSpeed = 0;
        moving = false;
      }
      if (knocked && bounceCount > 1) {
        if (emitter) emitter->Stop();
        knocked = false;
      }
      if (bounceCount < 3) dx->PlaySound(PGame::SOUND_BOUNCE_GEM, false, 1.0f, 0);
    } else {
      radius = next;
    }
    SetPositionXYZ(sinf(angle) * radius, cosf(angle) * radius, GetZ());
  }
  if (knocked && emitter) emitter->SetPosition(*GetPosition());

  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!ship) return;
  if (active && ship->IsAlive()) {
    float reach = g_game->GetDifficulty() == 0 ? 300.0f : 250.0f;
    if (GetDistanceSq(ship->GetPositionRef(), *GetPosition()) < reach * reach) {
      Collect();
    } else if (moving && fabsf(ship->GetRadius() - radius) < 400) {
      // A bouncing gem is caught when the craft passes under or over it.
      float r = ship->GetRadius();
      D3DXVECTOR3 under(sinf(angle) * r, cosf(angle) * r, GetZ());
      if (GetDistanceSq(ship->GetPositionRef(), under) < reach * reach) Collect();
    }
  }
  if (!collected && !missed && ship->GetTrackPosition() > GetZ() + kMissedBehind) SetMissed();
  if (light && GetMainObject()) light->SetPosition(*GetPosition());
}

void PGemEntity::Collect() {
  if (!active) return;
  active = knocked = moving = false;
  collected = true;
  SetVisible(false);
  if (emitter) emitter->Stop();
  if (light) light->FadeOut(0.5f);
  GetEngine()->PlaySound(PGame::SOUND_BIP_GEM, false, 1.0f, 0);
  if (!g_game) return;
  g_game->OnTargetCollected();
  if (missed) {
    missed = false;
    g_game->ChangeMissedCount(true);
  }
}

void PGemEntity::SetMissed() {
  missed = true;
  if (g_game) g_game->ChangeMissedCount(false);
}

void PGemEntity::StartBounce() {
  if (!active || moving) return;
  moving = true;
  radialSpeed = 0;
  bounceCount = 0;
}

void PGemEntity::Knock() {
  knocked = true;
  if (emitter) {
    D3DXVECTOR3 at(0, 0, GetZ());
    emitter->Start(&at, 0.0f, 0.0f);
  }
  StartBounce();
  radialSpeed = kKnockSpeed;
}

void PGemEntity::Destroy() {
  active = false;
  SetVisible(false);
  if (light) light->SetEnabled(false);
  GetEngine()->PlaySound(PGame::SOUND_EXPLOSION_GEM, false, 0.5f, 0);
  SetMissed();
}
