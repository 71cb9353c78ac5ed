#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "engine/SDxParticle.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PMineEntity.h"
#include "game/entities/PShipEntity.h"

namespace {

const float kTriggerDistanceSq = 150.0f * 150.0f;

// By theme: the mine's width (0 keeps 200; the centre level's egypt mine
// is wider) and its light's colour.
const struct {
  float width, centreWidth;
  float color[3];
} kThemes[3] = {
    {180.0f, 240.0f, {1.0f, 1.0f, 0.25f}},   // egypt
    {150.0f, 150.0f, {0.25f, 1.0f, 0.25f}},  // medieval
    {0.0f, 0.0f, {1.0f, 0.25f, 0.25f}},      // hitech
};

}  // namespace

PMineEntity::PMineEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_MINE, PMine_Default::Instance(), PMine_Global::Instance(), layer,
                  object, mapItem),
      exploded(false) {
  CullByPosition(object);
  if (object) object->ScaleToWidth(200);
  light = AddPointLight(layer, 1, 1, 1, 1.0f, 500.0f);
  int theme = g_game ? g_game->GetTheme() : PGame::THEME_HITECH;
  if (theme >= 0 && theme < 3) {
    const auto& look = kThemes[theme];
    float width = g_game && g_game->IsCentreLevel() ? look.centreWidth : look.width;
    if (object && width > 0) object->ScaleToWidth(width);
    if (light) light->SetColor(look.color[0], look.color[1], look.color[2]);
  }
  if (light) light->AttachTo(object);
  explosion = AddExplosion(layer, 1000.0f);
  smoke = AddEmitter(layer, PuffLook(25, 400.0f));
}

PMineEntity::~PMineEntity() { RemoveFromLayer(light, explosion, smoke); }

void PMineEntity::Step() {
  if (exploded || !GetMainObject()) return;
  const D3DXVECTOR3& at = *GetPosition();
  if (light) light->SetPosition(at);
  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!ship) return;
  float d = GetDistanceSq(ship->GetPositionRef(), at);
  if (g_game->IsCentreLevel()) d /= 2;
  if (d < kTriggerDistanceSq) {
    Explode();
    ship->Crash(PGame::ITEM_MINE, 0.5f);
  }
}

void PMineEntity::Explode() {
  if (exploded) return;
  exploded = true;
  SetVisible(false);
  if (light) light->SetEnabled(false);
  if (GetMainObject()) {
    SetOff(explosion, *GetPosition());
    if (smoke) smoke->Start(GetPosition(), 0.5f, 0);
  }
  GetEngine()->PlaySound(PGame::SOUND_EXPLOSION_MINE, false, 1.0f, 0);
}
