#include "core/Platform.h"
#include "engine/SDx.h"

#include "core/Utility.h"
#include "engine/SDxSound.h"

namespace {

// Two starts of one effect closer than this much playing time are merged.
const float kRetriggerWindow = 0.05f;

// A voice that may start: not sounding and not fading out.
bool IsFree(SDxSound* voice) { return !voice->IsPlaying() && !voice->IsFading(); }

void ApplyVolumeAndPan(SDxSound* voice, float volume, float pan) {
  if (volume >= 0.0f) voice->SetVolume(ClampFloat(volume, 0.0f, 1.0f));
  if (pan >= -1.0f) voice->SetPan(pan);
}

// Every head voice in channel order, then every extra voice.
template <class Action>
void ForEachVoice(SDx* dx, Action action) {
  for (int i = 0; i < dx->m_sounds.GetCount(); ++i) action(dx->m_sounds[i]);
  for (int i = 0; i < dx->m_extraVoices.GetCount(); ++i) action(dx->m_extraVoices[i]);
}

}  // namespace

SDxSound* SDx::LoadSound(SFile* file, bool loop, bool compressed, int voices) {
  if (voices <= 0) return nullptr;
  SDxSound* head = new SDxSound(this);
  bool loaded = compressed ? head->LoadCompressed(file) : head->ParseWave(file);
  head->m_loop = loop;
  // A failed load keeps its place (an empty channel): the game numbers its
  // channels by the order of its loads.
  m_sounds.Add(head);
  if (!loaded) return nullptr;
  SDxSound* previous = head;
  for (int i = 1; i < voices; ++i) {
    SDxSound* voice = head->Clone();
    if (!voice) break;
    voice->m_loop = loop;
    previous->m_next = voice;
    previous = voice;
    m_extraVoices.Add(voice);
  }
  return head;
}

SDxSound* SDx::GetSound(int n) const {
  return n >= 0 && n < m_sounds.GetCount() ? m_sounds[n] : nullptr;
}

SDxSound* SDx::PlaySound(int n, bool noRetrigger, float volume, float pan) {
  SDxSound* head = GetSound(n);
  if (!m_soundOn || !head || !head->m_loaded) return nullptr;
  if (!head->m_next) {
    if (noRetrigger && head->IsPlaying() && !head->IsFading()) return nullptr;
    ApplyVolumeAndPan(head, volume, pan);
    head->Play();
    return head;
  }
  SDxSound* chosen = nullptr;
  for (SDxSound* voice = head; voice && !chosen; voice = voice->m_next) {
    if (IsFree(voice)) chosen = voice;
  }
  if (!chosen) return nullptr;
  if (noRetrigger) {
    for (SDxSound* voice = head; voice; voice = voice->m_next) {
      if (voice != chosen && voice->IsPlaying() && voice->GetPlayTime() < kRetriggerWindow)
        return nullptr;
    }
  }
  ApplyVolumeAndPan(chosen, volume, pan);
  chosen->Play();
  return chosen;
}

void SDx::StopSound(int n, float fade) {
  for (SDxSound* voice = GetSound(n); voice; voice = voice->m_next) voice->Stop(fade);
}

void SDx::StopAllSounds(SArray<int>* except, float fade) {
  for (int n = 0; n < m_sounds.GetCount(); ++n) {
    if (except && except->Find(n) >= 0) continue;
    StopSound(n, fade);
  }
}

bool SDx::IsSoundPlaying(int n) {
  SDxSound* head = GetSound(n);
  return head && head->IsPlaying();
}

void SDx::SetSoundVolume(int n, float volume) {
  volume = ClampFloat(volume, 0.0f, 1.0f);
  for (SDxSound* voice = GetSound(n); voice; voice = voice->m_next) {
    if (voice->m_loaded) voice->SetVolume(volume);
  }
}

void SDx::PauseSounds(bool sounds) {
  m_paused = true;
  if (!sounds) return;
  ForEachVoice(this, [](SDxSound* voice) {
    if (!voice->m_loaded || voice->m_paused || !voice->IsPlaying()) return;
    // Stopped without a flush: the queued buffer keeps its position.
    voice->m_voice->Stop(0);
    voice->m_paused = true;
  });
}

void SDx::ResumeSounds(bool sounds) {
  m_paused = false;
  if (!sounds) return;
  ForEachVoice(this, [](SDxSound* voice) {
    if (voice->m_loaded && voice->m_paused && SUCCEEDED(voice->m_voice->Start(0)))
      voice->m_paused = false;
  });
}

void SDx::UpdateSounds() {
  ForEachVoice(this, [](SDxSound* voice) { voice->Update(); });
}

void SDx::DeleteSounds() {
  // The extra voices play their heads' samples: they go first.
  for (int i = 0; i < m_extraVoices.GetCount(); ++i) delete m_extraVoices[i];
  m_extraVoices.RemoveAll();
  for (int i = 0; i < m_sounds.GetCount(); ++i) delete m_sounds[i];
  m_sounds.RemoveAll();
}
