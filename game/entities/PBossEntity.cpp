#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxCamera.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxParticle.h"
#include "engine/SDxShape.h"
#include "game/PGame.h"
#include "game/entities/PBossEntity.h"
#include "game/entities/PBossFlyEntity.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PGemEntity.h"
#include "game/entities/PShipEntity.h"

#include <math.h>
#include <initializer_list>

namespace {

const float kStartZ = 10500.0f;
const float kFloorRadius = 950.0f;
const float kBob = 15.0f;
const float kSpeed = 2250.0f;
const float kBrakeSeconds = 5.0f;
const float kFirstWaveInterval = 2.0f;
const float kSecondWaveInterval = 4.0f;
const float kSecondWaveZ = 70000.0f;
const float kSpawnAhead = 15000.0f;
const float kBoulderBehind = 15000.0f;
const float kBoulderReach = 990.0f;
const float kCrashAngle = 0.46f;
const float kCrashWindow = 40.0f;
const float kFlyAhead = 100.0f;  // of the craft, for the lock-on

// Where a fly starts across the tube, by the spawn count mod 5.
const float kSpawnPlaces[5][2] = {{0, 1000}, {1000, 0}, {1000, 1000}, {-1000, 0}, {0, -1000}};

// The flames at the boss's two rear corners (the smoke beside them rises
// as from any fire).
const PEmitterLook kFlames = {100, false, {0.8f, 0.6f, 0, 1}, {0.9f, 0, 0, 0}, 100, 1.0f,
                              50,  100,   {-0.2f, 0, -0.2f},  {0.2f, 1, 0.2f}};

// A trail made hidden and not emitting.
SDxParticlePoint* AddTrail(SDxLayer* layer, const PEmitterLook& look) {
  SDxParticlePoint* trail = AddEmitter(layer, look);
  if (trail) trail->SetVisible(false);
  return trail;
}

}  // namespace

PBossEntity::PBossEntity(SDxLayer* layer, SDxObject* object)
    : PGameEntity(PGame::ITEM_BOSS, PBoss_Default::Instance(), PBoss_Global::Instance(), layer,
                  object, nullptr, nullptr),
      explosion(nullptr),
      burst(nullptr),
      smoke{},
      fire{},
      light(nullptr),
      exploded(false),
      explosionOver(false),
      lastSpawnTime(0),
      spawnCount(0),
      phase(0) {
  if (object) object->ScaleToWidth(800);
  light = AddPointLight(layer, 1, 0, 0, 1.0f, 1500);
  if (light) {
    light->AttachTo(object);
    light->SetEnabled(false);
  }
  explosion = AddExplosion(layer, 3000);
  burst = AddEmitter(layer, PuffLook(25, 1000));
  for (int i = 0; i < 2; ++i) {
    smoke[i] = AddTrail(layer, RisingLook(200, 100, 4.0f, 50, 150));
    fire[i] = AddTrail(layer, kFlames);
  }
  SetPositionXYZ(kFloorRadius * sinf(DX_PI), kFloorRadius * cosf(DX_PI), kStartZ);
}

PBossEntity::~PBossEntity() {
  RemoveFromLayer(light, explosion, burst, smoke[0], smoke[1], fire[0], fire[1]);
}

void PBossEntity::Step() {
  SDx* dx = GetEngine();
  if (exploded) {
    if (!explosionOver && !(explosion && explosion->IsPlaying()) &&
        !(burst && burst->GetAtomCount() > 0)) {
      explosionOver = true;
      NextPhase();
    }
    return;
  }
  SDxObject* body = GetMainObject();
  switch (phase) {
    case 1:
      if (spawnCount < FIRST_WAVE && dx->GetTimeSince(lastSpawnTime) > kFirstWaveInterval) {
        lastSpawnTime = dx->GetTime();
        SpawnFly();
      }
      break;
    case 2:
      if (GetZ() > kSecondWaveZ) NextPhase();
      break;
    case 3:
      if (spawnCount < ALL_FLIES && dx->GetTimeSince(lastSpawnTime) > kSecondWaveInterval) {
        lastSpawnTime = dx->GetTime();
        SpawnFly();
      }
      break;
    case 4:
      if (g_game && GetZ() < g_game->GetShipTrackPosition()) {
        NextPhase();
        if (SDxCamera* camera = dx->GetCamera(-1)) camera->RotateLocal(DX_PI, 0, 0);
      }
      break;
    case 5: {
      SDxShape* boulder = g_game ? g_game->GetBoulderShape() : nullptr;
      float depth = body ? body->GetScaledDepth() : 0.0f;
      if (boulder && GetZ() - depth < boulder->GetZ() + kBoulderReach) {
        Explode();
        return;
      }
      break;
    }
  }
  if (light) light->SetPosition(*GetPosition());
}

PBossFlyEntity* PBossEntity::SpawnFly() {
  SDxMesh* source = g_game ? g_game->GetBossFlyMesh() : nullptr;
  SDxMesh* mesh = source ? SDxMesh::CreateInstance(source, GetLayer()) : nullptr;
  if (!mesh) return nullptr;
  mesh->SetVisible(true);
  PBossFlyEntity* fly = new PBossFlyEntity(GetLayer(), mesh);
  const float* place = kSpawnPlaces[spawnCount % 5];
  fly->SetPositionXYZ(place[0], place[1], GetZ() + kSpawnAhead);
  flies.InsertSorted(fly);
  ++spawnCount;
  fly->Launch();
  return fly;
}

void PBossEntity::OnFlyDestroyed(PBossFlyEntity* fly) {
  flies.RemoveSortedValue(fly);
  fly->Remove();
  if (flies.GetCount() > 0) return;
  if (phase == 1 && spawnCount == FIRST_WAVE) {
    NextPhase();
    StartMoving();
  } else if (phase == 3 && spawnCount == ALL_FLIES) {
    NextPhase();
    for (int i = 0; i < 2; ++i) {
      if (smoke[i]) smoke[i]->Stop();
      if (fire[i]) fire[i]->Stop();
    }
    SDxShape* boulder = g_game ? g_game->GetBoulderShape() : nullptr;
    if (boulder) boulder->SetZ(GetZ() - kBoulderBehind);
    ChangeState(PBoss_Brake::Instance(), 0);
  }
}

void PBossEntity::StartMoving() {
  if (GetCurrentState() != PBoss_Default::Instance()) return;
  for (int i = 0; i < 2; ++i) {
    for (SDxParticlePoint* emitter : {smoke[i], fire[i]}) {
      if (!emitter) continue;
      emitter->SetVisible(true);
      emitter->Start(nullptr, -1.0f, 0);
    }
  }
  SDx* dx = GetEngine();
  dx->PlaySound(PGame::SOUND_BOSS_MOVE, false, 1.0f, 0);
  if (SDxObject* body = GetMainObject()) {
    body->AttachSound(PGame::SOUND_FIRE);
    body->SetSoundRange(100, 8000, 0, 1);
  }
  if (light) light->SetEnabled(true);
  ChangeState(PBoss_Move::Instance(), 0);
}

void PBossEntity::Move() {
  SDx* dx = GetEngine();
  bool braking = GetCurrentState() == PBoss_Brake::Instance();
  float speed = kSpeed;
  if (braking) speed = kSpeed * (1 - machine->GetProgress(kBrakeSeconds));
  float r = kBob * cosf(8 * dx->GetTime()) + kFloorRadius - kBob;
  SetPosition(D3DXVECTOR3(sinf(DX_PI) * r, cosf(DX_PI) * r, GetZ() + dx->GetElapsedTime() * speed));

  SDxObject* body = GetMainObject();
  if (!body) return;
  SDxBox world;
  body->GetWorldBox(&world);
  const SDxBox& local = body->GetBox();
  float w = local.GetWidth(), d = local.GetDepth();
  const float sides[2] = {-w / 2 + 1, w / 2 - 1};
  for (int i = 0; i < 2; ++i) {
    if (!smoke[i] || !smoke[i]->IsVisible()) continue;
    D3DXVECTOR3 corner(sides[i], 1, -d / 2 + 1), at;
    D3DXVec3TransformCoord(&at, &corner, GetWorldMatrix());
    smoke[i]->SetPosition(at);
    if (fire[i]) fire[i]->SetPosition(at);
  }

  if (g_game) {
    for (int i = 0; i < g_game->GetGemCount(); ++i) {
      PGemEntity* gem = g_game->GetGem(i);
      if (gem->IsActive() && world.Contains(*gem->GetPosition())) gem->Destroy();
    }
  }
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  float craftZ = ship ? ship->GetTrackPosition() : 0.0f;
  if (ship && fabsf(AngleDifference(ship->GetAngle(), DX_PI)) < kCrashAngle &&
      craftZ - kCrashWindow < world.max.z && world.max.z < craftZ + kCrashWindow) {
    ChangeState(PBoss_Default::Instance(), 0);
    ship->Crash(PGame::ITEM_BOSS, 666.0f);
  } else if (speed == 0) {
    ChangeState(PBoss_Default::Instance(), 0);
  }
}

void PBossEntity::Explode() {
  if (exploded) return;
  SDx* dx = GetEngine();
  ChangeState(PBoss_Default::Instance(), 0);
  exploded = true;
  SetVisible(false);
  if (light) light->SetEnabled(false);
  for (int i = 0; i < 2; ++i) {
    if (smoke[i]) smoke[i]->Stop();
    if (fire[i]) fire[i]->Stop();
  }
  if (explosion) {
    explosion->SetPosition(*GetPosition());
    explosion->OffsetZ(100);
    explosion->ResetAnimation();
    if (burst) burst->Start(&explosion->GetPosition(), 0.5f, 0);
  }
  dx->FlashBrightness(16.0f, 0.5f);
  dx->PlaySound(PGame::SOUND_EXPLOSION_BOSS, false, 1.0f, 0);
  if (g_game) g_game->OnTargetCollected();
  dx->SetRumble(0.75f, 0.75f, 0.5f);
  if (SDxCamera* camera = dx->GetCamera(-1)) camera->StartShake(2.0f, 2.0f, 0.0f, false);
}

PBossFlyEntity* PBossEntity::FindNearestFly() const {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (phase == 2 || !ship) return nullptr;
  PBossFlyEntity* nearest = nullptr;
  float best = 0;
  for (int i = 0; i < flies.GetCount(); ++i) {
    PBossFlyEntity* fly = flies[i];
    if (!fly->IsVisible() || fly->GetZ() < ship->GetTrackPosition() + kFlyAhead) continue;
    float distance = GetDistanceSq(*fly->GetPosition(), ship->GetPositionRef());
    if (!nearest || distance < best) {
      nearest = fly;
      best = distance;
    }
  }
  return nearest;
}

bool PBossEntity::HasFly(const SDxEntity* entity) const {
  for (int i = 0; i < flies.GetCount(); ++i)
    if ((const SDxEntity*)flies[i] == entity) return true;
  return false;
}

void PBossEntity::DeleteFlies() {
  for (int i = 0; i < flies.GetCount(); ++i) delete flies[i];
  flies.RemoveAll();
}
