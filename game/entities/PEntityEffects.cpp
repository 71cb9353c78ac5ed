#include "core/Platform.h"

#include "engine/SDxBlob.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxParticle.h"
#include "engine/SDxPreset.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"

namespace {

const int kSheetColumns = 4, kSheetRows = 8, kSheetFrames = 32;
const float kSheetSpeed = 24.0f;
const float kShockwaveSeconds = 0.5f;

}  // namespace

SDxBlob* AddExplosionBlob(SDxLayer* layer, float size) {
  SDxBlob* blob = layer ? layer->AddBlob(g_game ? g_game->GetExplosionTexture() : nullptr,
                                         kSheetColumns, kSheetRows, kSheetFrames)
                        : nullptr;
  if (!blob) return nullptr;
  blob->SetSize(size, size);
  blob->SetSpeed(kSheetSpeed);
  blob->SetBillboard(false, false);
  blob->SetVisible(false);
  return blob;
}

void PlayExplosion(SDxBlob* blob, const D3DXVECTOR3& at, float towardCamera) {
  if (!blob) return;
  blob->SetPosition(at);
  if (towardCamera != 0) blob->MoveTowardCamera(towardCamera);
  blob->ResetAnimation();
}

SDxParticlePoint* AddExplosionSmoke(SDxLayer* layer, float pointSize, float alpha) {
  SDxParticlePoint* smoke =
      layer ? layer->AddParticle(g_game ? g_game->GetCloudAlphaTexture() : nullptr, 25) : nullptr;
  if (!smoke) return nullptr;
  smoke->SetParameters(1, 1, 1, alpha, 0, 0, 0, 0, false, true);
  smoke->SetPointSize(pointSize);
  smoke->SetLifetime(1.0f);
  smoke->SetEmissionRate(25, 25);
  smoke->SetVectorRange(nullptr, nullptr);
  smoke->SetSpeed(50);
  return smoke;
}

SDxPresetShockwave* AddShockwave(SDxLayer* layer, float outerRadius, float width) {
  SDxPreset* preset = layer ? layer->AddPreset(g_game ? g_game->GetShockwaveTexture(0) : nullptr,
                                               outerRadius, width, -1)
                            : nullptr;
  if (!preset) return nullptr;
  SDxPresetShockwave* ring = static_cast<SDxPresetShockwave*>(preset);
  ring->m_targetMask = 2;
  ring->m_duration = kShockwaveSeconds;
  return ring;
}

SDxLight* AddPointLight(SDxLayer* layer, float r, float g, float b, float intensity, float range) {
  SDxLight* light = layer ? layer->AddLight() : nullptr;
  if (!light) return nullptr;
  light->SetColor(r, g, b);
  light->SetIntensity(intensity);
  light->SetRange(range, -1);
  return light;
}
