#include "core/Platform.h"
#include "engine/SDxMotion.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxSound.h"

namespace {

// The value a voice carries while an item holds it as its emitter.
const uint32_t kEmitterReservation = 1;

}  // namespace

SDxSound* SDxMotion::AttachSound(int channel) {
  ReleaseSound();
  SDxSound* voice = m_engine ? m_engine->GetSound(channel) : nullptr;
  while (voice && voice->IsReserved()) voice = voice->m_next;
  // A channel whose file failed to load has nothing to emit.
  if (!voice || !voice->m_loaded) return nullptr;
  voice->SetReserved(kEmitterReservation);
  m_soundChannel = channel;
  m_soundVoice = voice;
  return voice;
}

void SDxMotion::ReleaseSound() {
  if (m_soundVoice) {
    m_soundVoice->Stop(0.0f);
    m_soundVoice->SetReserved(0);
  }
  m_soundVoice = nullptr;
  m_soundChannel = -1;
}

void SDxMotion::SetSoundRange(float nearDistance, float farDistance, float minimumVolume,
                              float maximumVolume) {
  m_soundNear = nearDistance * nearDistance;
  m_soundFar = farDistance * farDistance;
  m_soundMinVolume = minimumVolume;
  m_soundMaxVolume = maximumVolume;
}

void SDxMotion::UpdateSound() {
  SDxCamera* camera = m_engine ? m_engine->m_currentCamera : nullptr;
  if (!m_soundVoice || !camera) return;
  float d = GetDistanceSq(m_position, camera->m_position);
  float range = m_soundFar - m_soundNear;
  // A range without depth is a step: the maximum up to near, the minimum
  // beyond.
  float t = range > 0.0f ? 1.0f - (ClampFloat(d, m_soundNear, m_soundFar) - m_soundNear) / range
                         : (d <= m_soundNear ? 1.0f : 0.0f);
  float volume = ClampFloat(
      m_soundMinVolume + (m_soundMaxVolume - m_soundMinVolume) * CosineEase(t), 0.0f, 1.0f);
  m_soundVoice->SetVolume(volume);
  // A voice that the engine paused with its sounds waits for their resume.
  if (m_soundVoice->m_paused) return;
  bool sounding = m_soundVoice->IsPlaying();
  if (volume == 0.0f && sounding) {
    m_soundVoice->Stop(0.0f);
  } else if (volume > 0.0f && !sounding && m_engine->m_soundOn) {
    m_soundVoice->Play();
  }
}
