#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PWallEntity.h"

#include <math.h>

namespace {

const float kPushSeconds = 1.0f;
const float kLightRadius = 800.0f;
const float kLightBeforeFront = 500.0f;

// The light of a pushable wall while pushes remain, and once none is left.
const struct {
  float color[3];
  float intensity;
} kPushLights[2] = {
    {{0.25f, 1.0f, 0.25f}, 0.5f},  // green
    {{1.0f, 0.25f, 0.25f}, 1.0f},  // red
};

// Pushes allowed by kind: kinds 1 and 2 move once and twice.
const int kPushes[7] = {0, 1, 2, 0, 0, 0, 0};

}  // namespace

PWallEntity::PWallEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem,
                         const D3DXVECTOR3* table)
    : PGameEntity(PGame::ITEM_WALL, PWall_Default::Instance(), PWall_Global::Instance(), layer,
                  object, mapItem, table),
      light(nullptr),
      kind(mapItem ? mapItem->subtype : 0),
      pushesAllowed(kind >= 0 && kind <= 6 ? kPushes[kind] : 0),
      pushesDone(0),
      moving(false),
      moveTime(0) {
  if (object) object->SetDecalsEnabled(true);
  if (pushesAllowed == 0) return;
  const auto& green = kPushLights[0];
  light =
      AddPointLight(layer, green.color[0], green.color[1], green.color[2], green.intensity, 750.0f);
  if (!light) return;
  if (g_game && g_game->GetTheme() == PGame::THEME_MEDIEVAL) light->SetEnabled(false);
  PlaceLight();
}

PWallEntity::~PWallEntity() { RemoveFromLayer(light); }

float PWallEntity::GetAge() const { return GetEngine()->GetTimeSince(GetCreationTime()); }

void PWallEntity::Push() {
  if (pushesDone >= pushesAllowed || moving) return;
  moving = true;
  moveTime = GetEngine()->GetTime();
  GetEngine()->PlaySound(PGame::SOUND_PUSH_WALL, false, 1.0f, 0.0f);
}

void PWallEntity::Step() {
  if (!g_game || !g_game->IsRunning() || !mapItem) return;
  float rowStart = mapItem->row * PGame::kRowLength;
  if (moving) {
    float p = GetEngine()->GetProgress(moveTime, kPushSeconds);
    float eased = InterpolateEased(p, 0, 1, false, true);
    SetZ(rowStart + (pushesDone + eased) * PGame::kRowLength);
    if (p >= 1.0f) {
      moveTime = 0;
      moving = false;
      if (++pushesDone == pushesAllowed) {
        SDxObject* object = GetMainObject();
        if (object && object->GetKind() == SDxLayerItem::KIND_MESH)
          static_cast<SDxMesh*>(object)->SetMaterialTexture(0, g_game->texWallOff);
        if (light) {
          const auto& red = kPushLights[1];
          light->SetColor(red.color[0], red.color[1], red.color[2]);
          light->SetIntensity(red.intensity);
          light->SetEnabled(true);
        }
      }
    }
  }
  if (kind == 4 || kind == 5) {
    // Swings between 0 and 1 once every pi seconds.
    float c = 1 - (cosf(2 * GetAge()) + 1) / 2;
    SetZ(kind == 4 ? rowStart + c * PGame::kRowLength
                   : rowStart + PGame::kRowLength - c * PGame::kRowLength);
  }
  PlaceLight();
}

void PWallEntity::PlaceLight() {
  if (!light || !mapItem || !GetMainObject()) return;
  float a = mapItem->angle;
  light->SetPositionXYZ(kLightRadius * sinf(a), kLightRadius * cosf(a), GetZ() - kLightBeforeFront);
}
