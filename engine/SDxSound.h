// One sound voice: an XAudio2 2.7 source voice with the samples it plays,
// its volume, stereo pan and an optional fade-out on the game clock.
//
// The engine keeps its sounds as numbered channels (SDx::LoadSound); a
// channel is a head voice, which owns the sample bytes, followed through
// m_next by extra voices that play the head's bytes so that an effect can
// overlap itself. Every operation but loading does nothing until a load
// succeeded.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"

#include <mmreg.h>
#include <stdint.h>
#include <xaudio2.h>

class SDx;

class SDxSound {
public:
  explicit SDxSound(SDx* engine);
  // Reset, then the sample bytes.
  virtual ~SDxSound();
  // The per-frame step: counts the samples played and runs the fade.
  virtual void Update();

  // Stops the voice, destroys it and forgets the samples and the settings.
  void Reset();
  // A PCM WAVE file: "RIFF" size "WAVE", then at once the "fmt " chunk and
  // the "data" chunk. A format chunk longer than the record has its surplus
  // skipped; a data chunk that claims more bytes than the file holds plays
  // only the whole sample frames present.
  bool ParseWave(SFile* file);
  // Compressed audio (MPEG layer 3, 44100 Hz, stereo) decoded once to PCM.
  bool LoadCompressed(SFile* file);
  // 16-bit stereo PCM at 44100 Hz: the rest of the source is copied and
  // bytes of it are played (at most what was copied).
  bool CreateFromPcm(SFile* source, uint32_t bytes);
  // An extra voice playing the source's samples (shared, not copied).
  bool CreateVoiceLike(SDxSound* source);
  // A new voice of the same engine made by CreateVoiceLike; null on failure.
  SDxSound* Clone();

  void SetVolume(float volume);
  // Stereo sources only: -1 left .. 1 right.
  void SetPan(float pan);
  // Starts from the beginning (looping forever with the loop flag).
  bool Play();
  // fade 0, or a silent voice: stops at once (a fade in progress is
  // cancelled and the volume restored); otherwise starts a fade-out of fade
  // seconds unless one runs.
  void Stop(float fade);
  bool IsPlaying();
  bool IsFading() const { return m_fadeStart != 0.0f; }
  // Seconds played since the last start.
  float GetPlayTime() const;
  // Seconds of the samples loaded (one pass of a loop); 0 when nothing is.
  float GetDuration() const;
  void SetReserved(uint32_t value) { m_reservation = value; }
  uint32_t IsReserved() const { return m_reservation; }

  // The decoded size of compressed audio of that duration (100-nanosecond
  // units): 16-bit stereo at 44100 Hz, truncated, plus the part of a 4-byte
  // block that completes it (a whole block when already complete).
  static uint32_t ComputePcmSize(uint64_t duration);

  SDx* m_engine;
  bool m_loaded;
  WAVEFORMATEX m_format;
  IXAudio27SourceVoice* m_voice;
  SFileMem m_data;  // the head's samples; empty for the extra voices
  XAUDIO2_BUFFER m_buffer;
  SDxSound* m_next;  // the next voice of the channel
  uint32_t m_reservation;
  bool m_loop;
  bool m_paused;
  float m_volume;
  float m_pan;
  float m_fadeStart;  // game clock; 0 = no fade
  float m_fadeDuration;
  float m_fadeBase;
  uint64_t m_samplesPlayed;  // the voice's last report
  uint32_t m_samplesSinceStart;
  bool m_flushed;  // stopped and flushed since the last play

private:
  SDxSound(const SDxSound&) = delete;
  SDxSound& operator=(const SDxSound&) = delete;

  // A source voice of the format; false when the engine has no XAudio2.
  bool CreateVoice();
  // True while the voice has buffers queued.
  bool HasQueuedBuffers();
};
