#include "core/Platform.h"
#include "engine/SDxParticle.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxTexture.h"

#include <stdlib.h>

namespace {

const int kDefaultCapacity = 100;

// A value between a and b from the C runtime's generator.
float RandomBetween(float a, float b) {
  if (a == b) return a;
  float lo = a < b ? a : b, hi = a < b ? b : a;
  return (hi - lo) * ((float)rand() / 32767.0f) + lo;
}

DWORD ColorByte(float c) {
  if (c >= 1.0f) return 255;
  if (c <= 0.0f) return 0;
  return (DWORD)(c * 255.0f + 0.5f);
}

DWORD FloatBits(float f) {
  DWORD bits;
  memcpy(&bits, &f, sizeof(bits));
  return bits;
}

}  // namespace

// --- the emitter ------------------------------------------------------------------------

SDxParticle::SDxParticle(SDxLayer* layer, int kind)
    : SDxLayerItem(nullptr, layer, kind),
      m_capacity(0),
      m_alphaFactor(1.0f),
      m_depthTest(true),
      m_fallSpeed(0.0f),
      m_directionMin(-1.0f, -1.0f, -1.0f),
      m_directionMax(1.0f, 1.0f, 1.0f),
      m_speed(100.0f),
      m_rateMin(50.0f),
      m_rateMax(100.0f),
      m_lifetime(1.0f),
      m_position(0.0f, 0.0f, 0.0f),
      m_pendingStart(0.0f),
      m_activeEmission(false),
      m_runTime(0.0f),
      m_startTime(0.0f),
      m_overlay(false) {
  m_hidden = true;
}

SDxParticle::~SDxParticle() {}

bool SDxParticle::Render(SDxShader*) { return !m_hidden; }

void SDxParticle::SetRenderStates(bool on) {
  if (m_device) {
    m_device->SetRenderState(D3DRS_ZENABLE, on && !m_depthTest ? D3DZB_FALSE : D3DZB_USEW);
  }
}

bool SDxParticle::GetOrderPosition(D3DXVECTOR3* position) const {
  *position = m_position;
  return true;
}

void SDxParticle::Start(const D3DXVECTOR3* position, float runTime, float delay) {
  if (m_layer) m_layer->m_orderDirty = true;
  if (position) m_position = *position;
  m_runTime = runTime;
  m_activeEmission = true;
  if (delay == 0.0f) {
    m_pendingStart = 0.0f;
    m_startTime = m_engine ? m_engine->GetTime() : 0.0f;
    m_hidden = false;
  } else {
    m_pendingStart = (m_engine ? m_engine->GetTime() : 0.0f) + delay;
  }
}

void SDxParticle::SetPosition(const D3DXVECTOR3& position) {
  m_position = position;
  if (m_layer) m_layer->m_orderDirty = true;
}

void SDxParticle::SetPositionXYZ(float x, float y, float z) { SetPosition(D3DXVECTOR3(x, y, z)); }

void SDxParticle::SetVectorRange(const D3DXVECTOR3* minimum, const D3DXVECTOR3* maximum) {
  m_directionMin = minimum ? *minimum : D3DXVECTOR3(-1.0f, -1.0f, -1.0f);
  m_directionMax = maximum ? *maximum : D3DXVECTOR3(1.0f, 1.0f, 1.0f);
}

void SDxParticle::SetEmissionRate(float minimum, float maximum) {
  m_rateMin = minimum;
  m_rateMax = maximum;
}

// --- point sprites ------------------------------------------------------------------------

SDxParticlePoint::SDxParticlePoint(SDxLayer* layer)
    : SDxParticle(layer, KIND_PARTICLE_POINT),
      m_texture(nullptr),
      m_vertexBuffer(nullptr),
      m_pointSize(1.0f),
      m_colorA(1.0f, 1.0f, 1.0f, 1.0f),
      m_colorB(1.0f, 1.0f, 1.0f, 1.0f),
      m_randomColor(true),
      m_fadeColor(true),
      m_remainder(0.0f),
      m_written(0) {
  float caps = m_engine ? m_engine->m_maxPointSize : 0.0f;
  m_maxPointSize = caps > 0.0f && caps < 8192.0f ? caps : 8192.0f;
}

SDxParticlePoint::~SDxParticlePoint() {
  m_pool.DeleteAndRemoveAll();
  m_pool.FreeBuffer();
  m_live.FreeBuffer();
  if (m_vertexBuffer) m_vertexBuffer->Release();
  m_vertexBuffer = nullptr;
}

bool SDxParticlePoint::SetCapacity(int n) {
  if (m_vertexBuffer || !m_device || n <= 0) return false;
  IDirect3DVertexBuffer9* buffer = nullptr;
  if (FAILED(m_device->CreateVertexBuffer((UINT)n * sizeof(_SVertex),
                                          D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC | D3DUSAGE_POINTS,
                                          FVF, D3DPOOL_DEFAULT, &buffer, nullptr)) ||
      !buffer) {
    return false;
  }
  m_vertexBuffer = buffer;
  m_capacity = n;
  m_pool.Reserve(n);
  m_live.Reserve(n);
  return true;
}

void SDxParticlePoint::SetParameters(float r1, float g1, float b1, float a1, float r2, float g2,
                                     float b2, float a2, bool randomColor, bool fadeColor) {
  m_colorA = D3DXCOLOR(r1, g1, b1, a1);
  m_colorB = D3DXCOLOR(r2, g2, b2, a2);
  m_randomColor = randomColor;
  m_fadeColor = fadeColor;
}

void SDxParticlePoint::Update() {
  if (!m_engine) return;
  float now = m_engine->GetTime(), dt = m_engine->GetElapsedTime();
  // Age and move the living atoms; the dead leave the live list in runs.
  int kept = 0;
  for (int i = 0; i < m_live.GetCount(); ++i) {
    _SAtom* atom = m_live[i];
    float age = now - atom->birth;
    if (age >= atom->lifetime) {
      atom->alive = false;
      continue;
    }
    atom->position += atom->direction * (atom->speed * dt);
    if (m_fallSpeed != 0.0f) atom->position.y -= dt * m_fallSpeed;
    if (!m_randomColor || m_fadeColor) {
      D3DXColorLerp(&atom->color, &atom->startColor, &atom->endColor, age / atom->lifetime);
    }
    m_live[kept++] = atom;
  }
  if (kept < m_live.GetCount()) m_live.RemoveAt(kept, m_live.GetCount() - kept);

  // Emission: a delayed start that is not yet due, or a run that has just
  // ended, emits nothing; the living atoms are still written below, so
  // that none is drawn where it was in an earlier frame.
  bool emit = m_activeEmission;
  if (emit && m_pendingStart != 0.0f) {
    if (now < m_pendingStart) {
      emit = false;
    } else {
      Start(nullptr, m_runTime, 0.0f);
    }
  }
  if (emit && m_runTime > 0.0f && now - m_startTime > m_runTime) {
    m_activeEmission = false;
    emit = false;
  }
  if (emit) {
    float rate = RandomBetween(m_rateMin, m_rateMax);
    int k = (int)(rate * dt);
    m_remainder += rate * dt - (float)k;
    if (m_remainder > 1.0f) {
      int whole = (int)m_remainder;
      k += whole;
      m_remainder -= (float)whole;
    }
    if (m_live.GetCount() + k > m_capacity) k = m_capacity - m_live.GetCount();
    Emit(k);
  }
  WriteVertices();
}

void SDxParticlePoint::Emit(int k) {
  float now = m_engine->GetTime();
  int free = 0;
  for (int n = 0; n < k; ++n) {
    _SAtom* atom = nullptr;
    while (free < m_pool.GetCount() && m_pool[free]->alive) ++free;
    if (free < m_pool.GetCount()) {
      atom = m_pool[free];
    } else {
      atom = new _SAtom();
      atom->owner = this;
      if (m_pool.Add(atom) < 0) {
        delete atom;
        return;
      }
    }
    if (m_live.Add(atom) < 0) return;
    atom->alive = true;
    atom->birth = now;
    atom->lifetime = m_lifetime;
    atom->speed = m_speed;
    atom->direction = D3DXVECTOR3(RandomBetween(m_directionMin.x, m_directionMax.x),
                                  RandomBetween(m_directionMin.y, m_directionMax.y),
                                  RandomBetween(m_directionMin.z, m_directionMax.z));
    atom->position = m_position;
    if (!m_randomColor) {
      atom->startColor = atom->color = m_colorA;
      atom->endColor = m_colorB;
    } else {
      D3DXCOLOR c(RandomBetween(m_colorA.r, m_colorB.r), RandomBetween(m_colorA.g, m_colorB.g),
                  RandomBetween(m_colorA.b, m_colorB.b), RandomBetween(m_colorA.a, m_colorB.a));
      atom->startColor = atom->color = c;
      atom->endColor = D3DXCOLOR(c.r, c.g, c.b, 0.0f);
    }
  }
}

void SDxParticlePoint::WriteVertices() {
  m_written = 0;
  if (m_live.GetCount() == 0 || !m_vertexBuffer) return;
  _SVertex* vertices = nullptr;
  if (FAILED(m_vertexBuffer->Lock(0, 0, (void**)&vertices, 0)) || !vertices) return;
  for (int i = 0; i < m_live.GetCount(); ++i) {
    const _SAtom* atom = m_live[i];
    _SVertex& v = vertices[i];
    v.x = atom->position.x;
    v.y = atom->position.y;
    v.z = atom->position.z;
    v.color = ColorByte(atom->color.a * m_alphaFactor) << 24 | ColorByte(atom->color.r) << 16 |
              ColorByte(atom->color.g) << 8 | ColorByte(atom->color.b);
  }
  m_vertexBuffer->Unlock();
  m_written = m_live.GetCount();
}

bool SDxParticlePoint::Render(SDxShader*) {
  // Only what the last update wrote is drawn.
  if (m_written == 0 || !m_texture || !m_texture->m_texture || !m_vertexBuffer || m_hidden) {
    return false;
  }
  m_device->SetTexture(0, m_texture->m_texture);
  m_device->SetStreamSource(0, m_vertexBuffer, 0, sizeof(_SVertex));
  m_device->SetFVF(FVF);
  m_device->SetTransform(D3DTS_WORLD, &m_engine->m_identity);
  m_device->DrawPrimitive(D3DPT_POINTLIST, 0, (UINT)m_written);
  return true;
}

void SDxParticlePoint::SetRenderStates(bool on) {
  if (!m_device || !m_engine) return;
  if (on) {
    m_engine->SetBlendMode(m_texture);
    m_device->SetRenderState(D3DRS_ZENABLE, m_depthTest ? D3DZB_USEW : D3DZB_FALSE);
    m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    m_device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
    m_device->SetRenderState(D3DRS_POINTSCALEENABLE, TRUE);
    m_device->SetRenderState(D3DRS_POINTSCALE_A, FloatBits(0.0f));
    m_device->SetRenderState(D3DRS_POINTSCALE_B, FloatBits(0.0f));
    m_device->SetRenderState(D3DRS_POINTSCALE_C, FloatBits(1.0f));
    m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    m_device->SetRenderState(D3DRS_POINTSIZE, FloatBits(m_pointSize));
    m_device->SetRenderState(D3DRS_POINTSIZE_MAX, FloatBits(m_maxPointSize));
  } else {
    m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    m_device->SetRenderState(D3DRS_POINTSPRITEENABLE, FALSE);
    m_device->SetRenderState(D3DRS_POINTSCALEENABLE, FALSE);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
    m_engine->ResetBlendMode();
  }
}

void SDxParticlePoint::Reset() {
  m_activeEmission = false;
  for (int i = 0; i < m_pool.GetCount(); ++i) m_pool[i]->alive = false;
  m_live.RemoveAll();
  m_remainder = 0.0f;
  m_written = 0;
  m_hidden = true;
}

void SDxParticlePoint::ForgetTexture(SDxTexture* texture) {
  if (texture == m_texture) m_texture = nullptr;
}

// --- the layer's factory and passes ---------------------------------------------------

SDxParticlePoint* SDxLayer::AddParticle(SDxTexture* texture, int capacity) {
  SDxParticlePoint* particle = new SDxParticlePoint(this);
  particle->SetTexture(texture);
  particle->SetCapacity(capacity > 0 ? capacity : kDefaultCapacity);
  return FileItem(particle) ? particle : nullptr;
}

void SDxLayer::RenderParticle(SDxParticle* particle) {
  if (!particle->IsVisible()) return;
  particle->SetRenderStates(true);
  particle->Render(nullptr);
  particle->SetRenderStates(false);
}

void SDxLayer::RenderOverlayParticles() {
  if (!m_active || !m_device) return;
  D3DXMATRIX projection, view;
  D3DXMatrixPerspectiveFovLH(&projection, 1.0f, 1.7777778f, 1.0f, 10000.0f);
  D3DXMatrixTranslation(&view, 0.0f, 0.0f, 1000.0f);
  m_device->SetTransform(D3DTS_PROJECTION, &projection);
  m_device->SetTransform(D3DTS_VIEW, &view);
  for (int i = 0; i < m_ordered.GetCount(); ++i) {
    SDxLayerItem* item = m_ordered[i];
    if (item->m_kind != SDxLayerItem::KIND_PARTICLE_POINT) continue;
    SDxParticle* particle = static_cast<SDxParticle*>(item);
    if (particle->m_overlay) RenderParticle(particle);
  }
}
