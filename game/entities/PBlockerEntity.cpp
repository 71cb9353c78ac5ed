#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "game/PGame.h"
#include "game/entities/PBlockerEntity.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PShipEntity.h"

#include <math.h>

namespace {

const float kPi = 3.14159265f;
const float kRadius = 600.0f;
const float kLightsOutside = 200.0f;

// Turn and light speeds (radians per second) of a fan and of a piece.
const struct { float turn, lights; } kSpins[2] = {{1.0f, -2.0f}, {-8.0f, 10.0f}};

}  // namespace

PBlockerEntity::PBlockerEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_BLOCKER, PBlocker_Default::Instance(), PBlocker_Global::Instance(),
                  layer, object, mapItem),
      fan(mapItem && mapItem->subtype == 0),
      radius(kRadius),
      deadly(false) {
  CullByPosition(object);
  if (object && fan) {
    object->ScaleToWidth(2 * radius);
    object->AttachSound(PGame::SOUND_FAN);
    object->SetSoundRange(100.0f, 4000.0f, 0.0f, 0.75f);
  } else if (object) {
    object->SetDecalsEnabled(true);
  }
  bool dark = g_game && g_game->IsLevel33();
  for (SDxLight*& light : lights) {
    light = AddPointLight(layer, 1, 1, 1, 2.0f, 500.0f);
    if (light && dark) light->SetEnabled(false);
  }
}

PBlockerEntity::~PBlockerEntity() {
  for (SDxLight* light : lights) RemoveFromLayer(light);
}

void PBlockerEntity::Step() {
  float t = GetEngine()->GetTime();
  const auto& spin = kSpins[fan ? 1 : 0];
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (g_game && g_game->IsLevel33() && ship) {
    SetRotation(0, 0, kPi - ship->GetAngle());
  } else {
    SetRotation(0, 0, spin.turn * t);
  }
  float around = radius + kLightsOutside;
  float start = (item ? item->angle : 0.0f) + spin.lights * t;
  for (int i = 0; i < LIGHTS; ++i) {
    if (!lights[i]) continue;
    float a = start + i * kPi / 2;
    lights[i]->SetPositionXYZ(sinf(a) * around, cosf(a) * around, GetZ());
  }
}
