#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxParticle.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PGuardDoorEntity.h"
#include "game/entities/PLaserEntity.h"
#include "game/entities/PShipEntity.h"

#include <math.h>
#include <initializer_list>

namespace {

const float kGuardSpeed = 1.5f;  // radians a second
const float kOpenDelay = 0.5f;
const float kGuardReach = 250.0f;
const float kShotInterval = 1.0f;
const float kShotReach = 5000.0f;
const float kBackOff = 20.0f;
const float kDeathInset = 100.0f;  // a dying guard's explosion, toward the axis
const float kDarkStart = 1000.0f;  // past the door
const float kDarkLength = 8000.0f;

// The guards by theme: width, the swing a and inset b of their distance
// from the axis, their place before the door, their light, and what the
// theme adds (rocking, the explosion toward the axis, blood, fire).
const struct {
  float width;
  float a, b, zOffset;
  bool lightOn;
  D3DXCOLOR lightColor;
  bool rocks, inward, blood, fires;
} kThemes[] = {
    {400, 50, 0, -50, true, D3DXCOLOR(0.25f, 1, 0.25f, 1), true, true, false, false},    // egypt
    {350, 25, 125, -50, false, D3DXCOLOR(0.25f, 1, 0.25f, 1), true, true, true, false},  // medieval
    {650, 15, 140, -150, true, D3DXCOLOR(1, 0.25f, 0.25f, 1), false, false, false, true},  // hitech
    {400, 50, 0, -50, true, D3DXCOLOR(0.25f, 1, 0.25f, 1), true, true, false, false},      // bonus
};
static_assert(sizeof(kThemes) / sizeof(kThemes[0]) == PGame::THEME_COUNT, "a row per theme");

decltype(kThemes[0])& Theme() {
  int theme = g_game ? g_game->GetTheme() : 0;
  return kThemes[theme >= 0 && theme < PGame::THEME_COUNT ? theme : 0];
}

}  // namespace

PGuardDoorEntity::PGuardDoorEntity(SDxLayer* layer, SDxObject* object, SDxObject* doorLeaf,
                                   MAPITEM* item)
    : PDoorEntity(layer, object, doorLeaf, item),
      guardMachine(nullptr),
      explosion(nullptr),
      burst(nullptr),
      guardSpacing(0),
      guardAngle(0),
      allDeadTime(0),
      lastShotTime(0),
      nextShooter(0),
      darkDoor(false),
      darkeningStarted(false),
      darkeningDone(false) {
  SetType(PGame::ITEM_GUARD_DOOR);
  guardMachine = new SDxStateMachine<PGuardDoorEntity>(GetEngine(), this);
  guardMachine->SetCurrentState(PGuardDoor_Default::Instance());
  guardMachine->SetGlobalState(PGuardDoor_Global::Instance());

  // A later plain door (-1) has no guards and is not dark.
  int count = item ? item->subtype : 0;
  if (count == 0) {
    darkDoor = true;
    bool alone = g_game && g_game->world == 4 && g_game->level == 2;
    if (!alone) {
      count = 1;
      if (item) item->subtype = 1;
    }
  }
  if (count < 0) count = 0;

  explosion = AddExplosion(layer, 1200);
  PEmitterLook puff = PuffLook(25, 600);
  puff.from[3] = 0.5f;
  burst = AddEmitter(layer, puff);
  const auto& theme = Theme();
  SDxMesh* source = g_game ? g_game->GetGuardMesh() : nullptr;
  for (int i = 0; i < count && source; ++i) {
    SDxMesh* guard = SDxMesh::CreateInstance(source, layer);
    if (!guard) break;
    guard->SetCulling(true, false);
    guard->SetVisible(true);
    guard->ScaleToWidth(theme.width);
    SDxLight* light =
        AddPointLight(layer, theme.lightColor.r, theme.lightColor.g, theme.lightColor.b, 1.0f, 500);
    if (light) {
      light->SetEnabled(theme.lightOn);
      light->AttachTo(guard);
    }
    guards.Add(guard);
    lights.Add(light);
  }
  guardSpacing = guards.GetCount() > 0 ? 2 * DX_PI / guards.GetCount() : 0;
  Reset();
  // With no guard the door opens half a second after it is made.
  if (guards.GetCount() == 0) allDeadTime = GetEngine()->GetTime();
}

PGuardDoorEntity::~PGuardDoorEntity() {
  for (int i = 0; i < guards.GetCount(); ++i) RemoveFromLayer(guards[i], lights[i]);
  RemoveFromLayer(explosion, burst);
  delete guardMachine;
}

bool PGuardDoorEntity::HandleMessage(DXMSG* message) {
  return guardMachine->HandleMessage(message);
}

void PGuardDoorEntity::Update() {
  PDoorEntity::Update();
  guardMachine->Update();
  Step();
}

void PGuardDoorEntity::Reset() {
  PDoorEntity::Reset();
  guardAngle = allDeadTime = lastShotTime = 0;
  nextShooter = 0;
  darkeningStarted = darkeningDone = false;
}

void PGuardDoorEntity::PlaceGuards(float angle) {
  guardAngle = angle;
  const auto& theme = Theme();
  float z = GetZ() + theme.zOffset;
  float rock = cosf(GetEngine()->GetTime()) / 2 * DX_PI / 4;
  for (int i = 0; i < guards.GetCount(); ++i) {
    float t = i * guardSpacing + angle;
    float r = 1000 - (theme.a * cosf(1.5f * t) + theme.a) - theme.b;
    SDxMesh* guard = guards[i];
    guard->SetPositionXYZ(sinf(t) * r, cosf(t) * r, z);
    if (lights[i]) lights[i]->SetPosition(guard->GetPosition());
    guard->SetRotation(0, 0, DX_PI - t);
    guard->RotateLocal(DX_PI, 0, 0);
    if (theme.rocks) guard->RotateLocal(rock, 0, 0);
  }
}

bool PGuardDoorEntity::AnyGuardVisible() const {
  for (int i = 0; i < guards.GetCount(); ++i)
    if (guards[i]->IsVisible()) return true;
  return false;
}

void PGuardDoorEntity::Step() {
  SDx* dx = GetEngine();
  PGame* game = g_game;
  if (!game) return;
  float craftZ = game->GetShipTrackPosition();
  if (IsOpen()) {
    if (!darkDoor || darkeningDone || craftZ <= GetZ() + kDarkStart) return;
    float f = ClampFloat(craftZ - (GetZ() + kDarkStart), 0, kDarkLength) / kDarkLength;
    darkeningStarted = true;
    dx->SetSceneTint((1 - f) * 0.5f);
    dx->SetSceneAmbient((1 - f) * 0.4f);
    if (f >= 1) {
      darkeningDone = true;
      game->SetNightVision(true);
    }
    return;
  }
  if (allDeadTime != 0 && dx->GetTimeSince(allDeadTime) > kOpenDelay) Open();
  PlaceGuards(guardAngle + dx->GetElapsedTime() * kGuardSpeed);

  PShipEntity* ship = game->GetShip();
  for (int i = 0; i < guards.GetCount() && ship; ++i) {
    if (guards[i]->IsVisible() && GetDistanceSq(guards[i]->GetPosition(), ship->GetPositionRef()) <
                                      kGuardReach * kGuardReach) {
      ship->Crash(PGame::ITEM_GUARD_DOOR, 0.0f);
      return;
    }
  }

  float d = GetZ() - craftZ;
  if (!Theme().fires || !game->IsRunning() || guards.GetCount() == 0 || d <= 0 || d >= kShotReach ||
      dx->GetTimeSince(lastShotTime) <= kShotInterval)
    return;
  nextShooter = (nextShooter + 1) % guards.GetCount();
  SDxMesh* shooter = guards[nextShooter];
  if (!shooter->IsVisible()) return;
  lastShotTime = dx->GetTime();
  D3DXVECTOR3 origin = shooter->GetPosition();
  origin.z -= shooter->GetScaledDepth();
  game->FireLaser(PGame::ITEM_ENEMY, &origin, nullptr, nullptr);
}

bool PGuardDoorEntity::TestLaserHit(PLaserEntity* laser, const SDxPickQuery& base) {
  for (int i = 0; i < guards.GetCount(); ++i) {
    SDxMesh* guard = guards[i];
    SDxPickQuery query = base;
    if (!guard->IsVisible() || !guard->Pick(&query) || !query.hitObject) continue;
    D3DXVECTOR3 at = query.origin + query.direction * (query.hitParameter - kBackOff);
    laser->Explode(&at);
    KillGuard(i);
    return true;
  }
  return false;
}

void PGuardDoorEntity::KillGuard(int i) {
  if (i < 0 || i >= guards.GetCount()) return;
  SDx* dx = GetEngine();
  const auto& theme = Theme();
  SDxMesh* guard = guards[i];
  D3DXVECTOR3 q = guard->GetPosition();
  if (theme.inward) {
    D3DXVECTOR3 toAxis(-q.x, -q.y, 0);
    D3DXVec3Normalize(&toAxis, &toAxis);
    q += toAxis * kDeathInset;
  }
  guard->SetVisible(false);
  if (lights[i]) lights[i]->SetEnabled(false);
  SetOff(explosion, q);
  if (burst) burst->Start(&q, 0.5f, 0);
  if (theme.blood && g_game) {
    SDxPickQuery ray;
    ray.origin = q;
    ray.direction = D3DXVECTOR3(0, 0, 1);
    SDxObject* hit = nullptr;
    for (SDxObject* part : {GetMainObject(), leaf}) {
      if (part && part->Pick(&ray) && ray.hitObject) {
        hit = part;
        break;
      }
    }
    if (hit) {
      D3DXVECTOR3 at = ray.origin + ray.direction * ray.hitParameter;
      hit->AddDecal(ray.hitFace, at, 1000, 1000, g_game->texBlood, RandomFloat(0, 2 * DX_PI), 0,
                    2.0f);
    }
  }
  dx->PlaySound(PGame::SOUND_EXPLOSION_ENEMY, true, 1.0f, 0);
  if (theme.blood) dx->PlaySound(PGame::SOUND_BLOOD, false, 1.0f, 0);
  if (!AnyGuardVisible()) allDeadTime = dx->GetTime();
}
