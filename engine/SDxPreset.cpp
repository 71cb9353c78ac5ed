#include "core/Platform.h"
#include "engine/SDxPreset.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxTexture.h"

#include <math.h>

namespace {

const int kDefaultVertexCount = 96;
const int kMinimumSegments = 4;
const float kDefaultDuration = 3.0f;

}  // namespace

SDxPreset::SDxPreset(SDxLayer* layer, int kind)
    : SDxLayerItem(nullptr, layer, kind),
      m_texture(nullptr),
      m_vertexCount(0),
      m_vertexBuffer(nullptr),
      m_position(0.0f, 0.0f, 0.0f),
      m_targetMask(0) {
  D3DXMatrixIdentity(&m_orientation);
  D3DXMatrixIdentity(&m_translation);
}

SDxPreset::~SDxPreset() {
  if (m_vertexBuffer) m_vertexBuffer->Release();
  m_vertexBuffer = nullptr;
  m_vertexCount = 0;
}

bool SDxPreset::Render(SDxShader*) { return !m_hidden; }

void SDxPreset::ForgetTexture(SDxTexture* texture) {
  if (texture == m_texture) m_texture = nullptr;
}

void SDxPreset::SetPositionVector(const D3DXVECTOR3& position) {
  m_position = position;
  D3DXMatrixTranslation(&m_translation, position.x, position.y, position.z);
}

void SDxPreset::SetPosition(const D3DXVECTOR3* position, float) {
  if (position) SetPositionVector(*position);
}

// --- shock wave ---------------------------------------------------------------------------

SDxPresetShockwave::SDxPresetShockwave(SDxLayer* layer)
    : SDxPreset(layer, KIND_SHOCKWAVE),
      m_segments(0),
      m_outerRadius(0.0f),
      m_width(0.0f),
      m_duration(kDefaultDuration),
      m_running(false),
      m_elapsed(0.0f),
      m_progress(0.0f),
      m_alpha(255) {}

bool SDxPresetShockwave::BuildRing(int vertexCount, float outerRadius, float width) {
  int segments = vertexCount / 6;
  if (segments < kMinimumSegments || !m_device) return false;
  // Only whole segments are written, and only they are drawn.
  int count = segments * 6;
  IDirect3DVertexBuffer9* buffer = nullptr;
  if (FAILED(m_device->CreateVertexBuffer((UINT)count * sizeof(_SVertex),
                                          D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, FVF,
                                          D3DPOOL_DEFAULT, &buffer, nullptr)) ||
      !buffer) {
    return false;
  }
  if (m_vertexBuffer) m_vertexBuffer->Release();
  m_vertexBuffer = buffer;
  m_outerRadius = outerRadius;
  m_width = width;
  m_vertexCount = count;
  m_segments = segments;
  _SVertex* v = nullptr;
  if (FAILED(buffer->Lock(0, 0, (void**)&v, 0)) || !v) return false;
  const float step = 6.2831854820251465f / (float)segments;
  const float inner = outerRadius - width;
  for (int k = 0; k < segments; ++k) {
    float a = (float)k * step, b = a + step;
    // Inner and outer points of the segment's two edges with their uvs.
    const struct {
      float angle, radius, u, v;
    } corners[6] = {{a, inner, 0, 1},       {a, outerRadius, 0, 0}, {b, inner, 1, 1},
                    {a, outerRadius, 0, 0}, {b, outerRadius, 1, 0}, {b, inner, 1, 1}};
    for (const auto& c : corners) {
      *v++ = {c.radius * cosf(c.angle), 0.0f, c.radius * sinf(c.angle), 0xFFFFFFFF, c.u, c.v};
    }
  }
  buffer->Unlock();
  m_alpha = 255;
  return true;
}

void SDxPresetShockwave::SetPosition(const D3DXVECTOR3* position, float duration) {
  SDxPreset::SetPosition(position, duration);
  if (duration >= 0.0f) m_duration = duration;
  m_elapsed = 0.0f;
  m_running = true;
  m_progress = 0.0f;
}

void SDxPresetShockwave::Update() {
  if (!m_running || !m_engine) return;
  m_elapsed += m_engine->GetElapsedTime();
  if (m_duration < m_elapsed) m_running = false;
  m_progress = m_duration > 0.0f ? m_elapsed / m_duration : 1.0f;
  SetAlpha(255 - (int)(m_progress * 255.0f));
}

bool SDxPresetShockwave::SetAlpha(int alpha) {
  if (!m_vertexBuffer) return false;
  _SVertex* v = nullptr;
  if (FAILED(m_vertexBuffer->Lock(0, 0, (void**)&v, 0)) || !v) return false;
  D3DCOLOR color = ((D3DCOLOR)(alpha & 0xFF) << 24) | 0xFFFFFF;
  for (int i = 0; i < m_vertexCount; ++i) v[i].color = color;
  m_vertexBuffer->Unlock();
  m_alpha = alpha;
  return true;
}

bool SDxPresetShockwave::Render(SDxShader*) {
  if (m_hidden || !m_running || !m_vertexBuffer || !m_texture || !m_engine) return false;
  D3DXMATRIX world;
  D3DXMatrixScaling(&world, m_progress, 1.0f, m_progress);
  world *= m_orientation;
  world *= m_translation;
  m_device->SetTransform(D3DTS_WORLD, &world);
  m_engine->SetBlendMode(m_texture);
  m_device->SetTexture(0, m_texture->m_texture);
  m_device->SetFVF(FVF);
  m_device->SetStreamSource(0, m_vertexBuffer, 0, sizeof(_SVertex));
  m_device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, (UINT)m_vertexCount / 3);
  m_engine->ResetBlendMode();
  return true;
}

// --- the layer's factory and pass ------------------------------------------------------

SDxPreset* SDxLayer::AddPreset(SDxTexture* texture, float outerRadius, float width,
                               int vertexCount) {
  SDxPresetShockwave* preset = new SDxPresetShockwave(this);
  preset->SetTexture(texture);
  preset->BuildRing(vertexCount > 0 ? vertexCount : kDefaultVertexCount, outerRadius, width);
  return FileItem(preset) ? preset : nullptr;
}

void SDxLayer::RenderPresets() {
  if (!m_active || !m_device || !m_engine) return;
  m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  SDxRenderTarget* beams[2] = {&m_engine->m_beamRT, &m_engine->m_beamRT2};
  SArray<SDxLayerItem*>& presets = m_lists[LIST_PRESETS];
  for (int i = 0; i < presets.GetCount(); ++i) {
    SDxPreset* preset = static_cast<SDxPreset*>(presets[i]);
    if (preset->m_targetMask == 0) {
      preset->Render(nullptr);
      continue;
    }
    for (int beam = 0; beam < 2; ++beam) {
      if (!(preset->m_targetMask & (1u << beam))) continue;
      SDxRenderTarget* previous = m_engine->SetRenderTarget(beams[beam]);
      m_engine->AddBeamArea(nullptr, nullptr);
      preset->Render(nullptr);
      m_engine->SetRenderTarget(previous);
    }
  }
  m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
}
