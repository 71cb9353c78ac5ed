#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "game/PGame.h"
#include "game/entities/PBoxEntity.h"
#include "game/entities/PDynamiteEntity.h"
#include "game/entities/PEnemyEntity.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PShipEntity.h"
#include "game/entities/PWagonEntity.h"

#include <math.h>

namespace {

const float kSlowing = 1000.0f;  // a second
const float kReach = 250.0f;
const float kFullVolumeSpeed = 4000.0f;
const float kStickWidth = 200.0f;

}  // namespace

PWagonEntity::PWagonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item)
    : PGameEntity(PGame::ITEM_WAGON, PWagon_Default::Instance(), PWagon_Global::Instance(), layer,
                  object, item, nullptr),
      light(nullptr),
      exploded(false),
      speed(0) {
  if (object) object->ScaleToWidth(300);
  light = AddPointLight(layer, 1, 1, 1, 1.0f, 750);
  if (light) light->AttachTo(object);
}

PWagonEntity::~PWagonEntity() {
  GetEngine()->StopSound(PGame::SOUND_WAGON, 0);
  if (GetStick()) g_game->GetShip()->DropDynamite();
  RemoveFromLayer(light);
}

PDynamiteEntity* PWagonEntity::GetStick() const {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  PDynamiteEntity* stick = ship ? ship->GetHeldDynamite() : nullptr;
  return stick && stick->GetCarrier() == this ? stick : nullptr;
}

bool PWagonEntity::Strike() {
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  PDynamiteEntity* stick = ship ? ship->GetHeldDynamite() : nullptr;
  if (!stick) return false;
  speed = ship->GetAbsSpeed();
  if (stick->GetCarrier()) return true;
  stick->SetCarrier(this);
  if (SDxObject* body = stick->GetMainObject()) body->ScaleToWidth(kStickWidth);
  CopyOrientation(stick);
  stick->SetVisible(true);
  stick->ShowFuse();
  GetEngine()->PlaySound(PGame::SOUND_WAGON, false, ClampFloat(speed / kFullVolumeSpeed, 0, 1), 0);
  ChangeState(PWagon_Move::Instance(), 0);
  return true;
}

void PWagonEntity::CopyOrientation(PDynamiteEntity* stick) {
  SDxObject* body = GetMainObject();
  if (!body) return;
  for (int i = 0; i < stick->m_objects.GetCount(); ++i)
    stick->m_objects[i]->SetOrientation(body->m_rotation);
}

void PWagonEntity::Explode() {
  if (exploded) return;
  exploded = true;
  SetVisible(false);
  if (light) light->SetEnabled(false);
  GetEngine()->StopSound(PGame::SOUND_WAGON, 0);
}

void PWagonEntity::Step() {
  if (exploded || !g_game) return;
  SDx* dx = GetEngine();
  if (light) light->SetPosition(*GetPosition());
  if (speed == 0) return;
  PDynamiteEntity* stick = GetStick();
  if (!stick && GetCurrentState() == PWagon_Move::Instance()) {
    // The stick it carried went with the craft's crash: it stops where it
    // is, and so does its sound.
    speed = 0;
    dx->StopSound(PGame::SOUND_WAGON, 0);
    ChangeState(PWagon_Default::Instance(), 0);
    return;
  }
  float dt = dx->GetElapsedTime();
  OffsetZ(dt * speed);
  speed = fmaxf(speed - dt * kSlowing, 0);
  // Struck while the stick rode another wagon, it only rolls: what is
  // reached and the sound belong to the wagon that carries the stick.
  if (!stick) return;
  const D3DXVECTOR3& here = *GetPosition();
  for (int i = 0; i < g_game->enemies.GetCount(); ++i) {
    PEnemyEntity* enemy = g_game->enemies[i];
    if (!enemy->IsVisible() || GetDistanceSq(*enemy->GetPosition(), here) >= kReach * kReach)
      continue;
    enemy->Destroy(false);
    stick->Explode();
  }
  for (int i = 0; i < g_game->GetPlatformCount(); ++i) {
    PPlatformEntity* platform = g_game->GetPlatform(i);
    if (platform->GetType() != PGame::ITEM_BOX || static_cast<PBoxEntity*>(platform)->IsMovable() ||
        GetDistanceSq(*platform->GetPosition(), here) >= kReach * kReach)
      continue;
    stick->Explode();
    platform->SetVisible(false);
    break;
  }
  dx->SetSoundVolume(PGame::SOUND_WAGON, ClampFloat(speed / kFullVolumeSpeed, 0, 1));
}
