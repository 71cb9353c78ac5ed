#include "core/Platform.h"
#include "engine/SDxLight.h"

#include "engine/SDx.h"
#include "engine/SDxShaderDeferred.h"

#include <math.h>

namespace {

// Triangles of the engine's light volume, a box.
const int kVolumeTriangles = 12;

}  // namespace

SDxLight::SDxLight(SDxLayer* layer)
    : SDxMotion(nullptr, layer, KIND_LIGHT),
      m_switchedOff(false),
      m_type(2),
      m_color(1.0f, 1.0f, 1.0f),
      m_intensity(1.0f),
      m_attached(nullptr),
      m_fadeStart(0.0f),
      m_fadeDuration(0.0f),
      m_fadeLoops(false),
      m_fadeFrom(0.0f),
      m_fadeTo(0.0f),
      m_fadeForward(true),
      m_sequenceLoops(true),
      m_sequencePlaying(false),
      m_sequenceIndex(-1),
      m_stepLit(false),
      m_stepStart(0.0f) {
  m_range[0] = m_range[1] = 100.0f;
}

SDxLight::~SDxLight() { m_sequence.FreeBuffer(); }

void SDxLight::SetColor(float r, float g, float b) { m_color = D3DXVECTOR3(r, g, b); }

void SDxLight::SetRange(float first, float second) {
  m_range[0] = first;
  m_range[1] = second < 0.0f ? first : second;
}

void SDxLight::AttachTo(SDxLayerItem* item) {
  if (item && item->m_layer != m_layer) return;
  m_attached = item;
}

void SDxLight::FadeTo(float from, float to, float duration, bool loops) {
  m_fadeFrom = from;
  m_fadeTo = to;
  m_fadeDuration = duration;
  m_fadeLoops = loops;
  m_fadeForward = true;
  m_switchedOff = false;
  m_fadeStart = m_engine ? m_engine->GetTime() : 0.0f;
}

void SDxLight::FadeOut(float duration) {
  m_fadeFrom = m_intensity;
  m_fadeTo = 0.0f;
  m_fadeDuration = duration;
  m_fadeLoops = false;
  m_fadeForward = true;
  m_fadeStart = m_engine ? m_engine->GetTime() : 0.0f;
}

float SDxLight::GetCurrentIntensity() const {
  if (m_fadeStart == 0.0f || !m_engine) return m_intensity;
  float p = m_engine->GetProgress(m_fadeStart, m_fadeDuration);
  if (!m_fadeForward) p = 1.0f - p;
  return m_fadeFrom + p * (m_fadeTo - m_fadeFrom);
}

void SDxLight::SetSequence(const SArray<float>& steps) {
  m_sequence.RemoveAll();
  for (int i = 0; i < steps.GetCount(); ++i) m_sequence.Add(steps[i]);
  m_sequencePlaying = false;
  m_sequenceIndex = -1;
  m_stepLit = false;
  m_stepStart = 0.0f;
}

void SDxLight::PlaySequence(bool play) {
  if (m_sequence.GetCount() == 0) return;
  m_sequencePlaying = play;
  if (play && m_sequenceIndex == -1) {
    m_sequenceIndex = 0;
    m_stepLit = m_sequence[0] > 0.0f;
    m_stepStart = m_engine ? m_engine->GetTime() : 0.0f;
  }
}

void SDxLight::Step() {
  if (!m_engine) return;
  if (m_attached && (m_attached->m_kind & 0xFF00) == KIND_MOTION) {
    SetPosition(static_cast<SDxMotion*>(m_attached)->GetPosition());
  }
  // No draw pass steps a light's sound emitter: its own step does.
  UpdateSound();
  float now = m_engine->GetTime();
  if (m_fadeStart != 0.0f && now - m_fadeStart >= m_fadeDuration) {
    if (m_fadeLoops) {
      m_fadeStart = now;
      m_fadeForward = !m_fadeForward;
    } else {
      // The fade ends at its target: a fade to nothing switches the light
      // off, any other keeps it on with the target as its intensity.
      m_fadeStart = 0.0f;
      if (m_fadeTo == 0.0f) {
        m_switchedOff = true;
      } else {
        m_intensity = m_fadeTo;
      }
    }
  }
  if (!m_sequencePlaying || m_sequenceIndex < 0) return;
  // Each step ends exactly one step length after it began, so that the
  // blinking keeps its period however the frames fall.
  float overrun = (now - m_stepStart) - fabsf(m_sequence[m_sequenceIndex]);
  if (overrun < 0.0f) return;
  if (++m_sequenceIndex >= m_sequence.GetCount()) {
    if (!m_sequenceLoops) {
      m_sequencePlaying = false;
      m_stepStart = 0.0f;
      m_sequenceIndex = -1;
      m_stepLit = false;
      return;
    }
    m_sequenceIndex = 0;
  }
  m_stepStart = now - overrun;
  m_stepLit = m_sequence[m_sequenceIndex] > 0.0f;
}

bool SDxLight::IsLit() const {
  return !m_switchedOff && !(m_sequencePlaying && !m_stepLit) && m_type == 2;
}

void SDxLight::Render(SDxShader* shader) {
  if (m_switchedOff) return;
  SDxShaderDeferred* deferred = m_engine ? m_engine->GetDeferredShader() : nullptr;
  if (IsLit() && deferred) {
    deferred->DrawLight(m_position, m_range[0], m_color * GetCurrentIntensity(), m_range[1],
                        m_attached ? m_attached->m_sequence : 0, kVolumeTriangles);
  }
  SDxMotion::Render(shader);
}
