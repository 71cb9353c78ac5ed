#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxObject.h"
#include "engine/SDxPreset.h"
#include "game/PGame.h"
#include "game/entities/PBossEntity.h"
#include "game/entities/PBossFlyEntity.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PShipEntity.h"

#include <math.h>

namespace {

// The fire interval by the spawn count mod 4.
const float kFireIntervals[4] = {2.0f, 1.75f, 2.25f, 1.5f};
const float kSpeedAhead = 5000.0f;  // while ahead of the boss
const float kSpeed = 500.0f;
const float kBehindLimit = 2000.0f;  // behind the boss at most
const float kTubeRadius = 700.0f;
const float kRiseSpeed = 500.0f;  // off the boss's box
const float kQueueDistance = 150.0f;

}  // namespace

PBossFlyEntity::PBossFlyEntity(SDxLayer* layer, SDxObject* object)
    : PGameEntity(PGame::ITEM_BOSS_FLY, PBossFly_Default::Instance(), PBossFly_Global::Instance(),
                  layer, object),
      explosion(nullptr),
      shockWave(nullptr),
      boss(g_game ? g_game->GetBoss() : nullptr),
      destroyed(false),
      reported(false),
      fireInterval(kFireIntervals[(boss ? boss->GetSpawnCount() : 0) % 4]),
      lastFireTime(0) {
  CullByPosition(object);
  if (object) object->ScaleToWidth(300);
  explosion = AddExplosion(layer, 300);
  shockWave = AddShockwave(layer, 2000, 2000);
}

PBossFlyEntity::~PBossFlyEntity() { RemoveFromLayer(explosion, shockWave); }

void PBossFlyEntity::Launch() {
  if (GetCurrentState() == PBossFly_Default::Instance()) ChangeState(PBossFly_Move::Instance(), 0);
}

void PBossFlyEntity::Fly() {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!ship || !boss) return;
  SDx* dx = GetEngine();
  float dt = dx->GetElapsedTime();
  const D3DXVECTOR3 here = *GetPosition();
  const D3DXVECTOR3 craft = ship->GetPositionRef();
  D3DXVECTOR3 dir;
  D3DXVECTOR3 toCraft = craft - here;
  D3DXVec3Normalize(&dir, &toCraft);
  float speed = boss->GetZ() < here.z ? kSpeedAhead : kSpeed;
  D3DXVECTOR3 p = here + dir * (speed * dt);

  float limit = boss->GetZ() - kBehindLimit;
  bool limited = p.z < limit;
  if (limited) p.z = limit;

  D3DXVECTOR3 axis(0, 0, p.z);
  D3DXVECTOR3 out = p - axis;
  if (D3DXVec3LengthSq(&out) > kTubeRadius * kTubeRadius) {
    D3DXVec3Normalize(&out, &out);
    p = axis + out * kTubeRadius;
  }

  SDxObject* bossBody = boss->GetMainObject();
  SDxObject* body = GetMainObject();
  if (bossBody && body) {
    SDxOrientedBox a, b;
    bossBody->GetOrientedBox(&a);
    body->GetOrientedBox(&b);
    if (BoxesOverlap(a, b)) p.y += dt * kRiseSpeed;
  }

  // A fly near another that is nearer the craft waits for it.
  bool waits = false;
  float mine = GetDistanceSq(here, craft);
  for (int i = 0; i < boss->GetFlyCount() && !waits; ++i) {
    PBossFlyEntity* other = boss->GetFly(i);
    if (other == this) continue;
    const D3DXVECTOR3& there = *other->GetPosition();
    if (GetDistanceSq(there, here) < kQueueDistance * kQueueDistance &&
        GetDistanceSq(there, craft) < mine)
      waits = true;
  }
  if (!waits) {
    SetPosition(p);
  } else if (boss->GetPhase() == 3 && limited) {
    SetZ(limit);
  }

  SetRotation(DX_PI, 0, 0);
  RotateLocal(0, 0, ship->GetAngle() + DX_PI);

  if (ship->IsAlive() && boss->GetZ() > GetZ() && dx->GetTimeSince(lastFireTime) > fireInterval)
    Fire();
}

void PBossFlyEntity::Fire() {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!ship) return;
  D3DXVECTOR3 toward = ship->GetPositionRef() - *GetPosition();
  lastFireTime = GetEngine()->GetTime();
  g_game->FireLaser(PGame::ITEM_BOSS_FLY, GetPosition(), nullptr, &toward);
}

void PBossFlyEntity::Destroy() {
  if (destroyed) return;
  ChangeState(PBossFly_Default::Instance(), 0);
  destroyed = true;
  SetVisible(false);
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (shockWave) {
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, DX_PI - (ship ? ship->GetAngle() : 0.0f));
    shockWave->SetMatrix(turn);
    shockWave->SetPosition(GetPosition(), -1);
  }
  if (explosion) {
    explosion->SetPosition(*GetPosition());
    explosion->ResetAnimation();
  }
  GetEngine()->PlaySound(PGame::SOUND_EXPLOSION_ENEMY, false, 1.0f, 0);
}

void PBossFlyEntity::Step() {
  if (!destroyed || reported || (explosion && explosion->IsPlaying())) return;
  reported = true;
  if (boss) boss->OnFlyDestroyed(this);
}
