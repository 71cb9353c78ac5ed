#include "core/Platform.h"

#include "engine/SDxBlob.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxParticle.h"
#include "engine/SDxPreset.h"
#include "game/PGame.h"
#include "game/entities/PEntityEffects.h"

SDxLight* AddPointLight(SDxLayer* layer, float r, float g, float b, float intensity, float range) {
  SDxLight* light = layer ? layer->AddLight() : nullptr;
  if (!light) return nullptr;
  light->SetColor(r, g, b);
  light->SetIntensity(intensity);
  light->SetRange(range, -1.0f);
  return light;
}

SDxBlob* AddExplosion(SDxLayer* layer, float size) {
  SDxTexture* sheet = g_game ? g_game->GetExplosionTexture() : nullptr;
  SDxBlob* explosion = layer ? layer->AddBlob(sheet, 4, 8, 32) : nullptr;
  if (!explosion) return nullptr;
  explosion->SetSize(size, size);
  explosion->SetSpeed(24.0f);
  explosion->SetBillboard(false, false);
  explosion->SetVisible(false);
  return explosion;
}

void SetOff(SDxBlob* explosion, const D3DXVECTOR3& at) {
  if (!explosion) return;
  explosion->SetPosition(at);
  explosion->MoveTowardCamera(1.0f);
  explosion->ResetAnimation();
}

SDxParticlePoint* AddEmitter(SDxLayer* layer, const PEmitterLook& look) {
  SDxTexture* texture = nullptr;
  if (g_game)
    texture = look.alphaCloud ? g_game->GetCloudAlphaTexture() : g_game->GetCloudTexture();
  SDxParticlePoint* emitter = layer ? layer->AddParticle(texture, look.atoms) : nullptr;
  if (!emitter) return nullptr;
  const float* a = look.from;
  const float* b = look.to;
  emitter->SetParameters(a[0], a[1], a[2], a[3], b[0], b[1], b[2], b[3], false, true);
  emitter->SetPointSize(look.pointSize);
  emitter->SetLifetime(look.lifetime);
  emitter->SetEmissionRate(look.rate, look.rate);
  emitter->SetVectorRange(&look.rangeMin, &look.rangeMax);
  emitter->SetSpeed(look.speed);
  return emitter;
}

PEmitterLook PuffLook(int atoms, float pointSize) {
  return {atoms, true,  {1, 1, 1, 1}, {0, 0, 0, 0}, pointSize,
          1.0f,  25.0f, 50.0f,        {-1, -1, -1}, {1, 1, 1}};
}

PEmitterLook RisingLook(int atoms, float pointSize, float lifetime, float rate, float speed) {
  return {atoms,    true, {1, 1, 1, 1}, {0, 0, 0, 0},      pointSize,
          lifetime, rate, speed,        {-0.1f, 0, -0.2f}, {0.1f, 0.5f, 0.2f}};
}

void RemoveFromLayer(SDxLayerItem* item) {
  if (item && item->GetLayer()) item->GetLayer()->RemoveItem(item);
}

SDxPresetShockwave* AddShockwave(SDxLayer* layer, float outerRadius, float width) {
  SDxTexture* texture = g_game ? g_game->GetShockwaveTexture(0) : nullptr;
  SDxPreset* preset = layer ? layer->AddPreset(texture, outerRadius, width, -1) : nullptr;
  if (!preset) return nullptr;
  SDxPresetShockwave* ring = static_cast<SDxPresetShockwave*>(preset);
  ring->m_targetMask = 2;
  ring->m_duration = 0.5f;
  return ring;
}
