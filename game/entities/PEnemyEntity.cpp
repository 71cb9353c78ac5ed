#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "engine/SDxParticle.h"
#include "engine/SDxPreset.h"
#include "game/PGame.h"
#include "game/entities/PEnemyEntity.h"
#include "game/entities/PEntityEffects.h"

#include <math.h>

namespace {

const float kShotInterval = 2.0f;
const float kShotReach = 5000.0f;  // the craft this far before it at most
const float kWallRadius = 950.0f;
const float kMedievalInset = 175.0f;  // medieval shots leave nearer the axis and fall to the wall
const float kMissedBehind = 8000.0f;
const float kBlastRadius = 900.0f;  // the explosion stands on the wall in front of it
const float kFlashReach = 2000.0f;

}  // namespace

PEnemyEntity::PEnemyEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PGameEntity(PGame::ITEM_ENEMY, PEnemy_Default::Instance(), PEnemy_Global::Instance(), layer,
                  object, item, nullptr),
      shockWave(nullptr),
      explosion(nullptr),
      smoke(nullptr),
      light(nullptr),
      destroyed(false),
      counted(false),
      shooter(item && item->subtype % 2 == 1),
      target(item && item->subtype >= 2),
      lastShot(0) {
  D3DXMATRIX turn;
  D3DXMatrixRotationY(&turn, DX_PI);
  for (D3DXVECTOR3& corner : corners) D3DXVec3TransformCoord(&corner, &corner, &turn);
  if (object) object->ScaleToWidth(290);

  shockWave = AddShockwave(layer, 1500, 1000);
  if (shockWave) {
    D3DXMATRIX across;
    D3DXMatrixRotationX(&across, DX_PI / 2);
    shockWave->SetMatrix(across);
  }
  explosion = AddExplosion(layer, 870);
  smoke = AddEmitter(layer, PuffLook(25, 290));
  light = AddPointLight(layer, 1, 0.25f, 0.25f, 1.0f, 500);
  if (light) light->AttachTo(object);
}

PEnemyEntity::~PEnemyEntity() { RemoveFromLayer(shockWave, explosion, smoke, light); }

void PEnemyEntity::Step() {
  if (destroyed || !g_game) return;
  SDx* dx = GetEngine();
  float craftZ = g_game->GetShipTrackPosition();
  float d = GetZ() - craftZ;
  if (shooter && g_game->IsRunning() && d > 0 && d < kShotReach &&
      dx->GetTimeSince(lastShot) > kShotInterval) {
    lastShot = dx->GetTime();
    bool medieval = g_game->GetTheme() == PGame::THEME_MEDIEVAL;
    float r = medieval ? kWallRadius - kMedievalInset : kWallRadius;
    float t = mapItem ? mapItem->angle : 0.0f;
    SDxObject* body = GetMainObject();
    float depth = body ? body->GetScaledDepth() : 0.0f;
    D3DXVECTOR3 origin(sinf(t) * r, cosf(t) * r, GetZ() - depth / 2);
    const int falling = 5;
    g_game->FireLaser(PGame::ITEM_ENEMY, &origin, medieval ? &falling : nullptr, nullptr);
  }
  if (target && !counted && craftZ > GetZ() + kMissedBehind) CountMissed();
  if (light) light->SetPosition(*GetPosition());
}

void PEnemyEntity::CountMissed() {
  counted = true;
  if (g_game) g_game->ChangeMissedCount(false);
}

void PEnemyEntity::Destroy(bool byDeflected) {
  if (destroyed) return;
  destroyed = true;
  SDx* dx = GetEngine();
  SetVisible(false);
  if (light) light->SetEnabled(false);
  float t = mapItem ? mapItem->angle : 0.0f;
  D3DXVECTOR3 p(sinf(t) * kBlastRadius, cosf(t) * kBlastRadius, GetZ());
  if (shockWave) shockWave->SetPosition(&p, -1);
  SetOff(explosion, p);
  if (smoke) smoke->Start(&p, 0.5f, 0);
  dx->PlaySound(PGame::SOUND_EXPLOSION_ENEMY, false, 1.0f, 0);
  if (g_game && g_game->IsNightVisionOn()) {
    float d = ClampFloat(fabsf(g_game->GetShipTrackPosition() - GetZ()), 0, kFlashReach);
    float k = ClampFloat(1 - d / kFlashReach, 0.1f, 1);
    dx->FlashBrightness(32 * k, 0.25f);
  }
  if (!byDeflected && target && !counted) CountMissed();
}
