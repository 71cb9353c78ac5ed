#include "core/Platform.h"

#include "core/SArray.h"
#include "engine/SDxLight.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"
#include "game/entities/PLightEntity.h"

namespace {

// The flicker: seconds lit (positive) and dark (negative), repeated.
const float kFlicker[] = {0.1f, -0.2f, 0.05f, -0.2f, 0.2f, -0.05f, 0.1f, -0.3f};
const float kPulseSeconds = 0.5f;

enum { STEADY, FLICKERING, PULSING, WHITE };

}  // namespace

PLightEntity::PLightEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_LIGHT, PLight_Default::Instance(), PLight_Global::Instance(), layer,
                  object, mapItem) {
  D3DXCOLOR color = g_game ? g_game->GetNextLightColor() : D3DXCOLOR(1, 1, 1, 1);
  light = AddPointLight(layer, color.r, color.g, color.b, 1.0f, 750.0f);
  if (light) {
    switch (mapItem ? mapItem->subtype : STEADY) {
      case FLICKERING: {
        SArray<float> steps;
        for (float step : kFlicker) steps.Add(step);
        light->SetSequence(steps);
        light->PlaySequence(true);
        light->AttachSound(PGame::SOUND_ELECTRICITY);
        light->SetSoundRange(100.0f, 4000.0f, 0.0f, 0.5f);
        break;
      }
      case PULSING:
        light->FadeTo(0.0f, 1.0f, kPulseSeconds, true);
        break;
      case WHITE:
        light->SetColor(1, 1, 1);
        break;
    }
  }
  SetVisible(false);
}

PLightEntity::~PLightEntity() { RemoveFromLayer(light); }

void PLightEntity::PlaceLight() {
  if (light && GetMainObject()) light->SetPosition(*GetPosition());
}
