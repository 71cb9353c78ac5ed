// A laser bolt's flight, its hit tests, its explosion and the turns that
// mirrors give it.
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxParticle.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"

#include <math.h>
#include <initializer_list>

namespace {

const float kCircleSpeed = 3.926991f;  // 5 pi / 4 radians a second
const float kSpeed = 10000.0f;
const float kDeflectedSpeed = 4000.0f;
const float kAimedSpeed = 5000.0f;  // an aimed shot of anything but the craft
const float kFallBackSpeed = 7500.0f;
const float kFallAcceleration = 6000.0f;
const float kFallSpeedLimit = 1000.0f;
const float kWallRadius = 950.0f;
const float kTubeRadius = 1000.0f;
const float kRange = 15000.0f;  // along z from the craft
const float kCraftTimeOut = 2.0f;
const float kDeflectedTimeOut = 4.0f;
const float kOtherTimeOut = 3.0f;
const float kTurnPause = 0.25f;  // a turned bolt meets mirrors again after it
const float kBackOff = 20.0f;
const float kBossBackOff = 60.0f;
const float kFlyReach = 110.0f;
const float kCraftReach = 100.0f;
const float kFinishMargin = 5.0f;  // a bolt past the finish explodes this far before its row's end

// What a shooter gives its bolts; other owner kinds fly forward in white.
const struct {
  int owner;
  D3DXCOLOR color, trailColor;
  float directionZ;
  int motion;
  SDxTexture* PGame::*texture;  // of the second bolt mesh
  uint32_t passA, passB;
  float depthScale;  // of both bolt meshes; 0 keeps their scale
} kShooters[] = {
    {PGame::ITEM_CRAFT, D3DXCOLOR(0.8f, 0.8f, 0, 1), D3DXCOLOR(0.8f, 0, 0, 0), 1.0f,
     PLaserEntity::MOTION_FORWARD, &PGame::texLaserShip, 1, 1, 0.5f},
    {PGame::ITEM_ENEMY, D3DXCOLOR(0.8f, 0, 0, 1), D3DXCOLOR(0.8f, 0, 0, 0), -1.0f,
     PLaserEntity::MOTION_BACKWARD, &PGame::texLaserEnemy, 1, 2, 0},
    {PGame::ITEM_BOSS_FLY, D3DXCOLOR(0.8f, 0, 0, 1), D3DXCOLOR(0.8f, 0, 0, 0), -1.0f,
     PLaserEntity::MOTION_BACKWARD, &PGame::texLaserEnemy, 1, 2, 0.25f},
};

decltype(&kShooters[0]) FindShooter(int owner) {
  for (const auto& row : kShooters) {
    if (row.owner == owner) return &row;
  }
  return nullptr;
}

// A hidden, depth-sorted instance of a bolt mesh of the game.
SDxMesh* BoltMesh(SDxMesh* source, SDxLayer* layer) {
  SDxMesh* mesh = source ? SDxMesh::CreateInstance(source, layer) : nullptr;
  if (!mesh) return nullptr;
  mesh->SetDepthSorted(true);
  mesh->m_targetMask = 1;
  mesh->SetVisible(false);
  return mesh;
}

}  // namespace

PLaserEntity::PLaserEntity(SDxLayer* layer, SDxObject* object, int owner, const D3DXVECTOR3* from,
                           const int* motion, const D3DXVECTOR3* toward)
    : PGameEntity(PGame::ITEM_LASER, PLaser_Default::Instance(), PLaser_Global::Instance(), layer,
                  object),
      explosion(nullptr),
      trail(nullptr),
      light(nullptr),
      boltA(nullptr),
      boltB(nullptr),
      ownerKind(owner),
      active(false),
      deflected(false),
      color(1, 1, 1, 1),
      trailColor(1, 1, 1, 0),
      motionKind(MOTION_FORWARD),
      direction(0, 0, 0),
      deflectionTime(0),
      angle(0),
      radius(0),
      radialSpeed(0) {
  D3DXVECTOR3 origin = from ? *from : D3DXVECTOR3(0, 0, 0);
  radius = sqrtf(origin.x * origin.x + origin.y * origin.y);
  angle = ArcTangent2(origin.x, origin.y);
  SetVisible(false);
  if (object) object->ScaleToWidth(20);
  SetPosition(origin);

  const auto* shooter = FindShooter(owner);
  if (shooter) {
    color = shooter->color;
    trailColor = shooter->trailColor;
    direction.z = shooter->directionZ;
    motionKind = shooter->motion;
  } else {
    direction.z = 1.0f;
  }
  if (motion) motionKind = *motion;
  if (toward) {
    D3DXVec3Normalize(&direction, toward);
    motionKind = MOTION_AIMED;
  }

  explosion = AddExplosion(layer, 400);
  SDxLayer* meshLayer = object ? object->GetLayer() : layer;
  boltA = BoltMesh(g_game ? g_game->laserBoltMeshA : nullptr, meshLayer);
  boltB = BoltMesh(g_game ? g_game->laserBoltMeshB : nullptr, meshLayer);
  for (SDxMesh* bolt : {boltA, boltB}) {
    if (bolt) bolt->SetPosition(origin);
  }
  if (boltB && shooter) {
    boltB->SetMaterialTexture(0, g_game->*shooter->texture);
    boltB->m_targetMask = shooter->passB;
  }
  if (shooter && shooter->depthScale != 0) {
    for (SDxMesh* bolt : {boltA, boltB}) {
      if (bolt) bolt->SetScale(1, 1, shooter->depthScale);
    }
  }
}

PLaserEntity::~PLaserEntity() { RemoveFromLayer(trail, explosion, light, boltA, boltB); }

float PLaserEntity::GetTimeSinceDeflection() const {
  return deflectionTime == 0 ? GetTimeInState() : GetEngine()->GetTimeSince(deflectionTime);
}

bool PLaserEntity::IsFinished() const {
  return !active && (!trail || trail->GetAtomCount() == 0) &&
         !(explosion && explosion->IsPlaying());
}

// --- flight -------------------------------------------------------------------------------

void PLaserEntity::Launch() {
  const D3DXVECTOR3 at = *GetPosition();
  light = AddPointLight(GetLayer(), color.r, color.g, color.b, 1.5f, 2000);
  if (light) {
    light->SetRange(2000, 1000);
    light->SetPosition(at);
  }
  for (SDxMesh* bolt : {boltA, boltB}) {
    if (!bolt) continue;
    bolt->SetPosition(at);
    if (ownerKind == PGame::ITEM_ENEMY) bolt->SetRotation(DX_PI, 0, 0);
    bolt->SetVisible(motionKind != MOTION_FALLING);
  }
  if (motionKind == MOTION_FALLING) StartTrail();
  active = true;
}

void PLaserEntity::StartTrail() {
  RemoveFromLayer(trail);
  trail = GetLayer() ? GetLayer()->AddParticle(g_game ? g_game->GetSpotTexture() : nullptr, 150)
                     : nullptr;
  if (!trail) return;
  trail->SetParameters(color.r, color.g, color.b, color.a, trailColor.r, trailColor.g, trailColor.b,
                       trailColor.a, false, true);
  const D3DXVECTOR3 low(0, 0.1f, 0), high(0, 1, 0);
  trail->SetVectorRange(&low, &high);
  trail->SetEmissionRate(575, 575);
  trail->SetPointSize(50);
  trail->SetLifetime(0.25f);
  trail->SetSpeed(0);
  trail->Start(GetPosition(), -1.0f, 0);
}

void PLaserEntity::StopBeam() {
  RemoveFromLayer(light);
  light = nullptr;
  if (trail) trail->Stop();
  for (SDxMesh* bolt : {boltA, boltB}) {
    if (bolt) bolt->SetVisible(false);
  }
  active = false;
}

void PLaserEntity::Move() {
  float dt = GetEngine()->GetElapsedTime();
  const D3DXVECTOR3 p = *GetPosition();
  switch (motionKind) {
    case MOTION_ANGLE_UP:
    case MOTION_ANGLE_DOWN:
      angle += (motionKind == MOTION_ANGLE_UP ? dt : -dt) * kCircleSpeed;
      SetPositionXYZ(sinf(angle) * radius, cosf(angle) * radius, p.z);
      break;
    case MOTION_FORWARD:
    case MOTION_BACKWARD:
    case MOTION_INWARD:
      MoveAlong(dt * (deflected ? kDeflectedSpeed : kSpeed), &direction);
      break;
    case MOTION_FALLING:
      radialSpeed = fminf(radialSpeed + dt * kFallAcceleration, kFallSpeedLimit);
      radius = fminf(radius + dt * radialSpeed, kWallRadius);
      SetPositionXYZ(sinf(angle) * radius, cosf(angle) * radius, p.z - dt * kFallBackSpeed);
      break;
    case MOTION_AIMED: {
      float speed = ownerKind == PGame::ITEM_CRAFT ? kSpeed : kAimedSpeed;
      D3DXVECTOR3 next = p + direction * (dt * speed);
      if (next.x * next.x + next.y * next.y > kTubeRadius * kTubeRadius) {
        Explode(nullptr);
        return;
      }
      SetPosition(next);
      break;
    }
  }
  const D3DXVECTOR3 at = *GetPosition();
  if (trail) trail->SetPosition(at);
  for (SDxMesh* bolt : {boltA, boltB}) {
    if (!bolt) continue;
    bolt->SetPosition(at);
    if (motionKind == MOTION_AIMED) bolt->TurnTowards(at + direction);
  }
  if (light) light->SetPosition(at);
}

void PLaserEntity::Explode(const D3DXVECTOR3* point) {
  D3DXVECTOR3 at = point ? *point : (*GetLastPosition() + *GetPosition()) / 2;
  if (explosion) {
    explosion->SetPosition(at);
    explosion->ResetAnimation();
  }
  GetEngine()->PlaySound(PGame::SOUND_EXPLOSION_LASER, true, 1.0f, 0);
  ChangeState(PLaser_Default::Instance(), 0);
}

// --- hit tests ----------------------------------------------------------------------------

bool PLaserEntity::GetStepQuery(SDxPickQuery* query) const {
  const D3DXVECTOR3 from = *GetLastPosition();
  if (from.x == 0 && from.y == 0 && from.z == 0) return false;
  D3DXVECTOR3 step = *GetPosition() - from;
  query->origin = from;
  D3DXVec3Normalize(&query->direction, &step);
  // The engine compares the range with the squared hit distance.
  query->maxDistance = D3DXVec3LengthSq(&step);
  return true;
}

bool PLaserEntity::HitObject(const SDxPickQuery& base, SDxObject* object, float backOff) {
  if (!object || !object->IsVisible()) return false;
  SDxPickQuery query = base;
  if (!object->Pick(&query) || !query.hitObject) return false;
  D3DXVECTOR3 at = query.origin + query.direction * (query.hitParameter - backOff);
  Explode(&at);
  if (object->m_decalsEnabled && g_game) {
    D3DXVECTOR3 hit = query.origin + query.direction * query.hitParameter;
    object->AddDecal(query.hitFace, hit, 150, 150, g_game->texHole, 0, 50, 2.0f);
  }
  return true;
}

void PLaserEntity::Step() {
  SDxPickQuery query;
  if (!active || !g_game || !GetStepQuery(&query)) return;
  if (HitSolid(query)) return;
  if (ownerKind == PGame::ITEM_CRAFT) {
    HitTargets(query);
  } else {
    HitCraft();
  }
}

bool PLaserEntity::HitSolid(const SDxPickQuery& query) {
  PGame* game = g_game;
  for (int i = 0; i < game->GetPlatformCount(); ++i) {
    PPlatformEntity* platform = game->GetPlatform(i);
    int type = platform->GetType();
    if (type != PGame::ITEM_WALL && type != PGame::ITEM_JUMPER && type != PGame::ITEM_BOX &&
        type != PGame::ITEM_PISTON)
      continue;
    if (!HitObject(query, platform->GetMainObject(), kBackOff)) continue;
    if (type == PGame::ITEM_BOX) static_cast<PBoxEntity*>(platform)->HitByLaser(this);
    return true;
  }
  for (int i = 0; i < game->GetDoorCount(); ++i) {
    PDoorEntity* door = game->GetDoor(i);
    if (door->TestLaserHit(this, query) || HitObject(query, door->GetMainObject(), kBackOff) ||
        HitObject(query, door->GetGuardObject(), kBackOff))
      return true;
  }
  for (int i = 0; i < game->blockers.GetCount(); ++i) {
    if (HitObject(query, game->blockers[i]->GetMainObject(), kBackOff)) return true;
  }
  return false;
}

bool PLaserEntity::HitTargets(const SDxPickQuery& query) {
  PGame* game = g_game;
  SDx* dx = GetEngine();
  for (int i = 0; i < game->enemies.GetCount(); ++i) {
    PEnemyEntity* enemy = game->enemies[i];
    if (!HitObject(query, enemy->GetMainObject(), kBackOff)) continue;
    enemy->Destroy(deflected);
    MAPITEM* item = enemy->mapItem;
    if (deflected && enemy->IsTarget() && item) {
      // The target leaves a gem in its place.
      item->type = PGame::ITEM_GEM;
      item->subtype = 0;
      PGemEntity* gem = game->CreateGem(item);
      if (gem) gem->Knock();
      dx->PlaySound(PGame::SOUND_NEW_GEM, false, 0.5f, 0);
    }
    return true;
  }
  if (dx->GetTimeSince(deflectionTime) > kTurnPause) {
    for (int i = 0; i < game->mirrors.GetCount(); ++i) {
      if (game->mirrors[i]->Reflect(this, query)) return true;
    }
  }
  if (game->finishes.GetCount() > 0) {
    float end = game->finishes[0]->GetZ() + PGame::kRowLength;
    if (GetZ() > end) {
      D3DXVECTOR3 at(GetX(), GetY(), end - kFinishMargin);
      Explode(&at);
      return true;
    }
  }
  PBossEntity* boss = game->GetBoss();
  if (!boss) return false;
  if (HitObject(query, boss->GetMainObject(), kBossBackOff)) return true;
  for (int i = 0; i < boss->GetFlyCount(); ++i) {
    PBossFlyEntity* fly = boss->GetFly(i);
    if (!fly->IsVisible() ||
        GetDistanceSq(*fly->GetPosition(), *GetPosition()) >= kFlyReach * kFlyReach)
      continue;
    Explode(nullptr);
    fly->Destroy();
    return true;
  }
  return false;
}

void PLaserEntity::HitCraft() {
  PShipEntity* ship = g_game->GetShip();
  if (!ship || GetDistanceSq(ship->GetPositionRef(), *GetPosition()) >= kCraftReach * kCraftReach)
    return;
  Explode(nullptr);
  ship->HitByShot(ownerKind);
}

// --- mirror turns -------------------------------------------------------------------------

void PLaserEntity::BeginTrail() {
  if (deflected) return;
  for (SDxMesh* bolt : {boltA, boltB}) {
    if (bolt) bolt->SetVisible(false);
  }
  deflected = true;
  color = D3DXCOLOR(0, 0, 1, 1);
  trailColor = D3DXCOLOR(0, 0.5f, 1, 0);
  StartTrail();
  if (light) light->SetColor(color.r, color.g, color.b);
}

void PLaserEntity::Turn(int motion) {
  motionKind = motion;
  deflectionTime = GetEngine()->GetTime();
  GetEngine()->PlaySound(PGame::SOUND_MIRROR, false, 0.25f, 0);
}

void PLaserEntity::ReflectInward(const PMirrorEntity* mirror) {
  BeginTrail();
  float t = mirror && mirror->mapItem ? mirror->mapItem->angle : 0.0f;
  D3DXVECTOR3 inward(cosf(-t - DX_HALF_PI), sinf(-t - DX_HALF_PI), 0);
  D3DXVec3Normalize(&direction, &inward);
  Turn(MOTION_INWARD);
}

void PLaserEntity::ReflectForward(const SDxPickQuery& query) {
  BeginTrail();
  direction = D3DXVECTOR3(0, 0, 1);
  SetPosition(query.origin + query.direction * query.hitParameter);
  Turn(MOTION_FORWARD);
}

void PLaserEntity::ReflectBackward(const SDxPickQuery& query) {
  BeginTrail();
  direction = D3DXVECTOR3(0, 0, -1);
  SetPosition(query.origin + query.direction * query.hitParameter);
  Turn(MOTION_BACKWARD);
}

void PLaserEntity::ReflectAngleUp(const SDxPickQuery& query) {
  BeginTrail();
  angle = ArcTangent2(GetX(), GetY());
  SetPosition(query.origin + query.direction * query.hitParameter);
  Turn(MOTION_ANGLE_UP);
}

void PLaserEntity::ReflectAngleDown(const SDxPickQuery& query) {
  BeginTrail();
  angle = ArcTangent2(GetX(), GetY());
  SetPosition(query.origin + query.direction * query.hitParameter);
  Turn(MOTION_ANGLE_DOWN);
}

// --- states -------------------------------------------------------------------------------

void PLaser_Default::Execute(PLaserEntity* laser) {
  if (!laser->IsFinished()) return;
  if (g_game) g_game->RemoveLaser(laser);
  laser->Remove();
}

void PLaser_Launch::Enter(PLaserEntity* laser, SDxState<PLaserEntity>*, int32_t) {
  laser->Launch();
}

void PLaser_Launch::Execute(PLaserEntity* laser) {
  laser->Move();
  if (!laser->IsActive()) return;
  float craftZ = g_game ? g_game->GetShipTrackPosition() : 0.0f;
  if (fabsf(laser->GetZ() - craftZ) > kRange) {
    laser->ChangeState(PLaser_Default::Instance(), 0);
    return;
  }
  float x = laser->GetX(), y = laser->GetY();
  if (laser->IsDeflected() && x * x + y * y > kTubeRadius * kTubeRadius) {
    laser->Explode(nullptr);
    return;
  }
  bool timedOut;
  if (laser->GetOwnerKind() == PGame::ITEM_CRAFT) {
    timedOut = laser->IsDeflected() ? laser->GetTimeSinceDeflection() > kDeflectedTimeOut
                                    : laser->GetTimeInState() > kCraftTimeOut;
  } else {
    timedOut = laser->GetTimeInState() > kOtherTimeOut;
  }
  if (timedOut) laser->ChangeState(PLaser_Default::Instance(), 0);
}

void PLaser_Launch::Exit(PLaserEntity* laser, SDxState<PLaserEntity>*) { laser->StopBeam(); }
