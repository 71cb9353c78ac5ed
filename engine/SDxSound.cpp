#include "core/Platform.h"
#include "engine/SDxSound.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "window/Framework.h"

#include <string.h>

namespace {

const float kMaxFrequencyRatio = 2.0f;
const int kFormatRecordSize = 18;  // WAVEFORMATEX as stored in a file
const int kExtensibleSize = 40;    // WAVEFORMATEXTENSIBLE
const int kSubFormatOffset = 24;   // its sub-format GUID, whose first word is the tag

// The sample formats a voice is made for: integer PCM of 8 to 32 bits or
// 32-bit float, 1 to 64 channels (the audio engine's own limit), 1000 to
// 200000 frames a second, with a block of one frame. Anything else is
// refused before the audio engine sees it: a damaged header with hundreds
// of channels crashes the engine inside voice creation.
struct SampleFormat {
  WORD tag;
  WORD bits;
};

const SampleFormat kSampleFormats[] = {
    {WAVE_FORMAT_PCM, 8},  {WAVE_FORMAT_PCM, 16},        {WAVE_FORMAT_PCM, 24},
    {WAVE_FORMAT_PCM, 32}, {WAVE_FORMAT_IEEE_FLOAT, 32},
};

bool IsPlayable(const WAVEFORMATEX& format) {
  bool known = false;
  for (const SampleFormat& sample : kSampleFormats) {
    known = known || (sample.tag == format.wFormatTag && sample.bits == format.wBitsPerSample);
  }
  return known && format.nChannels >= 1 && format.nChannels <= XAUDIO2_MAX_AUDIO_CHANNELS &&
         format.nSamplesPerSec >= XAUDIO2_MIN_SAMPLE_RATE &&
         format.nSamplesPerSec <= XAUDIO2_MAX_SAMPLE_RATE &&
         format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8;
}

bool ReadTag(SFile* file, const char* tag) {
  char bytes[4];
  return file->ReadData(bytes, 4) == 4 && memcmp(bytes, tag, 4) == 0;
}

bool ReadWord(SFile* file, uint32_t* value) {
  uint8_t bytes[4];
  if (file->ReadData(bytes, 4) != 4) return false;
  *value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | ((uint32_t)bytes[3] << 24);
  return true;
}

}  // namespace

SDxSound::SDxSound(SDx* engine)
    : m_engine(engine),
      m_loaded(false),
      m_voice(nullptr),
      m_next(nullptr),
      m_reservation(0),
      m_loop(false),
      m_paused(false),
      m_volume(1.0f),
      m_pan(0.0f),
      m_fadeStart(0.0f),
      m_fadeDuration(0.0f),
      m_fadeBase(0.0f),
      m_samplesPlayed(0),
      m_samplesSinceStart(0),
      m_flushed(false) {
  memset(&m_format, 0, sizeof(m_format));
  memset(&m_buffer, 0, sizeof(m_buffer));
  Reset();
}

SDxSound::~SDxSound() {
  Reset();
  m_data.Close();
}

void SDxSound::Reset() {
  Stop(0.0f);
  if (m_voice) m_voice->DestroyVoice();
  m_voice = nullptr;
  m_loaded = false;
  memset(&m_format, 0, sizeof(m_format));
  memset(&m_buffer, 0, sizeof(m_buffer));
  if (m_data.GetCapacity() == SFileMem::MIN_CAPACITY) {
    m_data.SetSize(0);
    m_data.Seek(0);
  } else {
    m_data.Allocate(0);
  }
  m_volume = 1.0f;
  m_loop = false;
  m_paused = false;
  m_pan = 0.0f;
  m_fadeStart = m_fadeDuration = m_fadeBase = 0.0f;
  m_samplesPlayed = 0;
  m_samplesSinceStart = 0;
  m_flushed = false;
}

bool SDxSound::CreateVoice() {
  if (!g_xaudio2) return false;
  IXAudio27SourceVoice* voice = nullptr;
  // The 2.7 engine hands out its own voice interface through the declared
  // parameter type.
  HRESULT hr =
      g_xaudio2->CreateSourceVoice(reinterpret_cast<IXAudio2SourceVoice**>(&voice), &m_format, 0,
                                   kMaxFrequencyRatio, nullptr, nullptr, nullptr);
  if (FAILED(hr) || !voice) return false;
  m_voice = voice;
  return true;
}

bool SDxSound::ParseWave(SFile* file) {
  if (!g_xaudio2 || !file) return false;
  Reset();
  uint32_t riffSize = 0, formatSize = 0, dataSize = 0;
  if (!ReadTag(file, "RIFF") || !ReadWord(file, &riffSize) || !ReadTag(file, "WAVE") ||
      !ReadTag(file, "fmt ") || !ReadWord(file, &formatSize)) {
    return false;
  }
  // The record keeps the first 18 bytes; a longer chunk (an extensible
  // format) is skipped past, and its sub-format names the sample tag.
  if (formatSize < 16 || formatSize > (uint32_t)file->GetRemaining()) return false;
  uint8_t chunk[kExtensibleSize];
  memset(chunk, 0, sizeof(chunk));
  int kept = formatSize < sizeof(chunk) ? (int)formatSize : (int)sizeof(chunk);
  if (file->ReadData(chunk, kept) != kept) return false;
  file->Seek(file->Tell() + (int)formatSize - kept);
  memcpy(&m_format, chunk, kFormatRecordSize);
  if (m_format.wFormatTag == WAVE_FORMAT_EXTENSIBLE && formatSize >= kExtensibleSize) {
    m_format.wFormatTag = (WORD)(chunk[kSubFormatOffset] | (chunk[kSubFormatOffset + 1] << 8));
  }
  m_format.cbSize = 0;
  if (!IsPlayable(m_format)) return false;
  if (!ReadTag(file, "data") || !ReadWord(file, &dataSize)) return false;
  if (!CreateVoice()) return false;
  int copied = SFile::Copy(file, &m_data);
  // Only whole sample frames of what the file really holds are played.
  uint32_t bytes = dataSize < (uint32_t)copied ? dataSize : (uint32_t)copied;
  bytes -= bytes % m_format.nBlockAlign;
  if (bytes == 0) {
    Reset();
    return false;
  }
  m_buffer.AudioBytes = bytes;
  m_buffer.pAudioData = m_data.GetBuffer();
  m_loaded = true;
  return true;
}

bool SDxSound::CreateFromPcm(SFile* source, uint32_t bytes) {
  if (!g_xaudio2 || !source) return false;
  Reset();
  m_format.wFormatTag = WAVE_FORMAT_PCM;
  m_format.nChannels = 2;
  m_format.nSamplesPerSec = 44100;
  m_format.nAvgBytesPerSec = 176400;
  m_format.nBlockAlign = 4;
  m_format.wBitsPerSample = 16;
  m_format.cbSize = 0;  // PCM carries no extra bytes
  if (!CreateVoice()) return false;
  int copied = SFile::Copy(source, &m_data);
  if (bytes > (uint32_t)copied) bytes = (uint32_t)copied;
  bytes -= bytes % m_format.nBlockAlign;
  m_buffer.AudioBytes = bytes;
  m_buffer.pAudioData = m_data.GetBuffer();
  m_loaded = true;
  return true;
}

bool SDxSound::CreateVoiceLike(SDxSound* source) {
  if (!source || !source->m_loaded) return false;
  Reset();
  m_format = source->m_format;
  if (!CreateVoice()) return false;
  m_buffer.Flags = source->m_buffer.Flags;
  m_buffer.AudioBytes = source->m_buffer.AudioBytes;
  m_buffer.pAudioData = source->m_buffer.pAudioData;
  m_loaded = true;
  return true;
}

SDxSound* SDxSound::Clone() {
  SDxSound* sound = new SDxSound(m_engine);
  if (sound->CreateVoiceLike(this)) return sound;
  delete sound;
  return nullptr;
}

void SDxSound::SetVolume(float volume) {
  volume = ClampFloat(volume, 0.0f, 1.0f);
  if (volume == m_volume) return;
  m_volume = volume;
  if (m_voice) m_voice->SetVolume(volume);
}

void SDxSound::SetPan(float pan) {
  if (m_format.nChannels != 2) return;
  pan = ClampFloat(pan, -1.0f, 1.0f);
  if (pan == m_pan) return;
  m_pan = pan;
  float levels[2] = {(pan > 0.0f ? 1.0f - pan : 1.0f) * m_volume,
                     (pan < 0.0f ? 1.0f + pan : 1.0f) * m_volume};
  if (m_voice) m_voice->SetChannelVolumes(2, levels);
}

bool SDxSound::HasQueuedBuffers() {
  // A flush takes effect on the audio engine's next pass: until then the
  // voice still reports the buffer it dropped.
  if (!m_voice || m_flushed) return false;
  XAUDIO2_VOICE_STATE state;
  m_voice->GetState(&state);
  return state.BuffersQueued > 0;
}

bool SDxSound::Play() {
  if (!m_loaded) return false;
  Stop(0.0f);
  m_buffer.LoopCount = m_loop ? XAUDIO2_LOOP_INFINITE : 0;
  XAUDIO2_VOICE_STATE state;
  m_voice->GetState(&state);
  // The count since the start begins here, whatever the voice reported.
  m_samplesPlayed = state.SamplesPlayed;
  m_samplesSinceStart = 0;
  m_flushed = false;
  return SUCCEEDED(m_voice->SubmitSourceBuffer(&m_buffer)) && SUCCEEDED(m_voice->Start(0));
}

void SDxSound::Stop(float fade) {
  if (!m_loaded) return;
  if (fade == 0.0f || !HasQueuedBuffers()) {
    bool fading = IsFading();
    m_paused = false;
    m_fadeStart = 0.0f;
    m_voice->Stop(0);
    m_voice->FlushSourceBuffers();
    m_flushed = true;
    m_samplesSinceStart = 0;
    if (fading) SetVolume(m_fadeBase);
    return;
  }
  if (IsFading()) return;
  m_fadeStart = m_engine ? m_engine->GetTime() : 0.0f;
  m_fadeDuration = fade;
  m_fadeBase = m_volume;
}

bool SDxSound::IsPlaying() { return m_loaded && HasQueuedBuffers(); }

float SDxSound::GetPlayTime() const {
  if (!m_loaded || m_format.nSamplesPerSec == 0) return 0.0f;
  return (float)m_samplesSinceStart / (float)m_format.nSamplesPerSec;
}

float SDxSound::GetDuration() const {
  if (!m_loaded || m_format.nSamplesPerSec == 0 || m_format.nBlockAlign == 0) return 0.0f;
  uint32_t frames = m_buffer.AudioBytes / m_format.nBlockAlign;
  return (float)((double)frames / m_format.nSamplesPerSec);
}

void SDxSound::Update() {
  if (!m_loaded || !m_voice || m_flushed) return;
  XAUDIO2_VOICE_STATE state;
  m_voice->GetState(&state);
  if (state.BuffersQueued == 0) return;
  m_samplesSinceStart += (uint32_t)(state.SamplesPlayed - m_samplesPlayed);
  m_samplesPlayed = state.SamplesPlayed;
  if (!IsFading()) return;
  float elapsed = m_engine ? m_engine->GetTimeSince(m_fadeStart) : m_fadeDuration;
  float progress =
      m_fadeDuration > 0.0f && elapsed < m_fadeDuration ? elapsed / m_fadeDuration : 1.0f;
  if (progress >= 1.0f) {
    Stop(0.0f);
  } else {
    SetVolume((1.0f - progress) * m_fadeBase);
  }
}
