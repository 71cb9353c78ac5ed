#include "core/Platform.h"
#include "editors/SWave.h"

#include "core/SFilePath.h"
#include "window/SLevelCtrl.h"
#include "window/Framework.h"
#include "window/SWndApp.h"

#include <dsound.h>
#include <math.h>

namespace {

// The sub-format of integer PCM in an extensible format record.
const GUID kSubtypePcm = {
    0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// Play buffer: DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
// DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2.
const DWORD kBufferFlags = 0x180E0;
// Frames copied into the play buffer at a time.
const int kFillFrames = 1000;
// Period of the application window's tick while waves play, milliseconds.
const UINT kTickPeriod = 25;
const UINT_PTR kTickTimer = 1;

bool ReadTag(SFile* file, const char* tag) {
  char bytes[4];
  return file->ReadData(bytes, 4) == 4 && memcmp(bytes, tag, 4) == 0;
}

bool ReadU32(SFile* file, uint32_t* value) {
  uint8_t b[4];
  if (file->ReadData(b, 4) != 4) return false;
  *value = b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24);
  return true;
}

void TickWave(SWave* wave) { wave->Update(); }

}  // namespace

SWave::SWave() : m_data(new SFilePath), m_buffer(nullptr), m_levelMeter(nullptr) {
  m_loaded = false;
  m_silence = 0;
  memset(&m_format, 0, sizeof(m_format));
  m_formatSize = 0;
  m_dataSize = 0;
  m_repeat = m_paused = false;
  m_playStart = m_playEnd = 0;
  ClearOperation();
}

SWave::~SWave() {
  Clear();
  LeaveTicks();
  delete m_data;
}

void SWave::OnPlayProgress() {}
void SWave::OnPlayStopped() {}

void SWave::ClearOperation() {
  m_operation.start = 0;
  m_operation.count = 0;
  m_operation.channel = -1;
  m_operation.stepIndex = 0;
  m_operation.stepCount = 1;
  m_operation.callback = nullptr;
  m_operation.callbackData = nullptr;
  m_operation.written = false;
}

void SWave::Clear() {
  Stop();
  m_loaded = false;
  memset(&m_format, 0, sizeof(m_format));
  m_formatSize = 0;
  m_dataSize = 0;
  m_repeat = m_paused = false;
  m_playStart = m_playEnd = 0;
  m_muted.SetSize(0, false);
  ClearOperation();
  if (m_buffer) m_buffer->Release();
  m_buffer = nullptr;
  m_data->Close();
}

uint32_t SWave::GetFrames() const {
  int align = GetBlockAlign();
  return m_loaded && align > 0 ? m_dataSize / uint32_t(align) : 0;
}

bool SWave::Create(int channels) {
  Clear();
  if (channels != 1 && channels != 2 && channels != 6) return false;
  WAVEFORMATEX& f = m_format.Format;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = WORD(channels);
  f.nSamplesPerSec = 44100;
  f.wBitsPerSample = 16;
  f.nBlockAlign = WORD(channels * 2);
  f.nAvgBytesPerSec = f.nBlockAlign * 44100;
  m_formatSize = 16;
  if (channels == 6) {
    f.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    f.cbSize = 22;
    m_format.Samples.wValidBitsPerSample = 16;
    m_format.dwChannelMask = 0x3F;
    m_format.SubFormat = kSubtypePcm;
    m_formatSize = FORMAT_SIZE;
  }
  m_silence = 0;
  m_dataSize = 0;
  if (!m_data->OpenTemp()) {
    Clear();
    return false;
  }
  m_loaded = true;
  if (m_levelMeter) m_levelMeter->SetChannelCount(channels);
  return true;
}

bool SWave::LoadWav(SFile* file) {
  if (!file) return false;
  Clear();
  uint32_t riffSize = 0, formatSize = 0, dataSize = 0;
  if (!ReadTag(file, "RIFF") || !ReadU32(file, &riffSize) || !ReadTag(file, "WAVE")) return false;
  if (!ReadTag(file, "fmt ") || !ReadU32(file, &formatSize)) return false;
  if (formatSize < FORMAT_MIN_SIZE || formatSize > FORMAT_SIZE) return false;
  WAVEFORMATEXTENSIBLE format;
  memset(&format, 0, sizeof(format));
  if (file->ReadData(&format, int(formatSize)) != int(formatSize)) return false;
  const WAVEFORMATEX& f = format.Format;
  int bits = f.wBitsPerSample;
  if (bits != 8 && bits != 16 && bits != 32) return false;
  if (f.nChannels == 0 || f.nSamplesPerSec == 0) return false;
  if (f.nBlockAlign != f.nChannels * (bits / 8)) return false;
  if (!ReadTag(file, "data") || !ReadU32(file, &dataSize)) return false;
  if (dataSize > uint32_t(file->GetRemaining())) return false;
  if (!m_data->OpenTemp()) return false;
  if (SFile::Copy(file, m_data, int(dataSize)) != int(dataSize)) {
    Clear();
    return false;
  }
  m_format = format;
  m_formatSize = formatSize;
  m_silence = bits == 8 ? 128 : 0;
  m_dataSize = dataSize;
  m_loaded = true;
  PrepareBuffer();
  if (m_levelMeter) m_levelMeter->SetChannelCount(GetChannels());
  return true;
}

bool SWave::IsMuted(int channel) const {
  for (int i = 0; i < m_muted.GetCount(); ++i)
    if (m_muted[i] == channel) return true;
  return false;
}

bool SWave::CreateBuffer() {
  if (m_buffer) m_buffer->Release();
  m_buffer = nullptr;
  if (m_dataSize == 0 || !g_directSound) return false;
  int audible = GetChannels();
  for (int c = 0; c < GetChannels(); ++c) audible -= IsMuted(c);
  if (audible < 1) return false;
  DSBUFFERDESC desc;
  memset(&desc, 0, sizeof(desc));
  desc.dwSize = 36;
  desc.dwFlags = kBufferFlags;
  desc.dwBufferBytes = m_dataSize;
  desc.lpwfxFormat = &m_format.Format;
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(g_directSound->CreateSoundBuffer(&desc, &buffer, nullptr)) || !buffer) return false;
  m_buffer = buffer;
  return true;
}

bool SWave::FillBuffer() {
  if (!m_buffer) return false;
  void* memory = nullptr;
  DWORD bytes = 0;
  HRESULT result = m_buffer->Lock(0, 0, &memory, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
  if (result == DSERR_BUFFERLOST) {
    m_buffer->Restore();
    result = m_buffer->Lock(0, 0, &memory, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
  }
  if (FAILED(result) || !memory) {
    m_buffer->Restore();
    return false;
  }
  int chunk = GetBlockAlign() * kFillFrames;
  uint8_t* block = new uint8_t[chunk];
  m_data->Seek(0);
  uint32_t limit = bytes < m_dataSize ? bytes : m_dataSize;
  for (uint32_t offset = 0; offset < limit;) {
    int n = m_data->ReadData(block, int(limit - offset < uint32_t(chunk) ? limit - offset : chunk));
    if (n <= 0) break;
    uint32_t frames = uint32_t(n / GetBlockAlign());
    for (int i = 0; i < m_muted.GetCount(); ++i)
      for (uint32_t frame = 0; frame < frames; ++frame) SetSample(m_muted[i], block, frame, 0);
    memcpy(static_cast<uint8_t*>(memory) + offset, block, size_t(n));
    offset += uint32_t(n);
  }
  delete[] block;
  return SUCCEEDED(m_buffer->Unlock(memory, bytes, nullptr, 0));
}

bool SWave::PrepareBuffer() { return CreateBuffer() && FillBuffer(); }

bool SWave::Play(uint32_t start, uint32_t end) {
  if (!m_buffer) return false;
  Stop();
  if (end != 0 && end <= start) return false;
  DWORD align = DWORD(GetBlockAlign());
  m_buffer->SetCurrentPosition(start * align);
  m_playStart = start;
  m_playEnd = end != 0 ? end : GetFrames();
  DWORD flags = m_repeat ? DSBPLAY_LOOPING : 0;
  HRESULT result = m_buffer->Play(0, 0, flags);
  if (result == DSERR_BUFFERLOST) {
    if (!FillBuffer()) return false;
    m_buffer->SetCurrentPosition(start * align);
    result = m_buffer->Play(0, 0, flags);
  }
  if (FAILED(result)) return false;
  JoinTicks();
  return true;
}

void SWave::Stop() {
  if (!m_buffer) return;
  m_paused = false;
  m_buffer->Stop();
  m_buffer->SetCurrentPosition(0);
  ResetLevelMeter();
  LeaveTicks();
}

bool SWave::Pause() {
  if (!m_buffer || m_paused || !IsPlaying()) return false;
  m_buffer->Stop();
  m_paused = true;
  ResetLevelMeter();
  return true;
}

bool SWave::IsPlaying() {
  DWORD status = 0;
  return m_buffer && SUCCEEDED(m_buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

uint32_t SWave::GetPlayPosition() {
  DWORD play = 0, write = 0;
  if (!m_buffer || GetBlockAlign() == 0 || FAILED(m_buffer->GetCurrentPosition(&play, &write)))
    return 0;
  return play / DWORD(GetBlockAlign());
}

void SWave::SetPlayPosition(uint32_t frame) {
  if (m_buffer) m_buffer->SetCurrentPosition(frame * DWORD(GetBlockAlign()));
}

int SWave::GetFrequency() {
  DWORD frequency = 0;
  if (!m_buffer || FAILED(m_buffer->GetFrequency(&frequency))) return 0;
  return int(frequency);
}

void SWave::Update() {
  if (!m_buffer) {
    LeaveTicks();
    return;
  }
  if (m_playEnd < GetFrames() && IsPlaying() && GetPlayPosition() >= m_playEnd) {
    if (m_repeat) {
      SetPlayPosition(m_playStart);
    } else {
      OnPlayStopped();
      Stop();
      ResetLevelMeter();
    }
  }
  if (IsPlaying()) {
    FeedLevelMeter();
    OnPlayProgress();
    return;
  }
  OnPlayStopped();
  ResetLevelMeter();
  LeaveTicks();
}

void SWave::ResetLevelMeter() {
  if (m_levelMeter) m_levelMeter->SetValue(-1, 0, true);
}

void SWave::FeedLevelMeter() {
  if (!m_levelMeter) return;
  uint32_t window = uint32_t(lround(GetFrequency() / 200.0));
  uint32_t position = GetPlayPosition();
  uint32_t first = position > window / 2 ? position - window / 2 : 0;
  uint32_t frames = GetFrames();
  uint32_t end = position + window < frames ? position + window : frames;
  double full = double(int64_t(1) << GetBits());
  int minimum = m_levelMeter->m_minimum, maximum = m_levelMeter->m_maximum;
  for (int c = 0; c < GetChannels(); ++c) {
    double peak = 0;
    if (!IsMuted(c)) {
      for (uint32_t frame = first; frame < end; ++frame) {
        double v = fabs(2.0 * double(GetSample(c, nullptr, frame)) / full);
        if (v > peak) peak = v;
      }
    }
    m_levelMeter->SetValue(c, minimum + int((maximum - minimum) * peak), true);
  }
}

void SWave::JoinTicks() {
  if (!g_appWindow) return;
  SWndApp::s_updateSound = TickWave;
  SArray<SWave*>& list = g_appWindow->m_sounds;
  if (list.FindSorted(this) >= 0) return;
  list.InsertSorted(this);
  if (g_appWindow->m_hWnd) ::SetTimer(g_appWindow->m_hWnd, kTickTimer, kTickPeriod, nullptr);
}

void SWave::LeaveTicks() {
  if (!g_appWindow) return;
  SArray<SWave*>& list = g_appWindow->m_sounds;
  int index = list.FindSorted(this);
  if (index < 0) return;
  list.RemoveAt(index);
  if (list.GetCount() == 0 && g_appWindow->m_hWnd) ::KillTimer(g_appWindow->m_hWnd, kTickTimer);
}

int64_t SWave::GetSample(int channel, const uint8_t* buffer, uint32_t frame) {
  int channels = GetChannels(), b = BytesPerSample();
  if (channels == 0 || b == 0) return 0;
  if (channel < 0) {
    int64_t sum = 0;
    for (int c = 0; c < channels; ++c) sum += GetSample(c, buffer, frame);
    return sum / channels;
  }
  uint8_t bytes[4] = {0, 0, 0, 0};
  int64_t offset = int64_t(frame) * GetBlockAlign() + int64_t(channel) * b;
  if (buffer) {
    memcpy(bytes, buffer + offset, size_t(b));
  } else if (offset + b > int64_t(m_dataSize) || m_data->Seek(int(offset)) != int(offset) ||
             m_data->ReadData(bytes, b) != b) {
    return 0;
  }
  if (b == 1) return int64_t(bytes[0]) - 128;
  if (b == 2) return int16_t(bytes[0] | (bytes[1] << 8));
  return int32_t(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t(bytes[3]) << 24));
}

void SWave::SetSample(int channel, uint8_t* buffer, uint32_t frame, int64_t value) {
  int channels = GetChannels(), b = BytesPerSample();
  if (channels == 0 || b == 0) return;
  if (channel < 0) {
    for (int c = 0; c < channels; ++c) SetSample(c, buffer, frame, value);
    return;
  }
  int64_t low = b == 1 ? -128 : (b == 2 ? -32768 : INT32_MIN);
  int64_t high = b == 1 ? 127 : (b == 2 ? 32767 : INT32_MAX);
  value = value < low ? low : (value > high ? high : value);
  uint32_t word = uint32_t(b == 1 ? value + 128 : value);
  uint8_t bytes[4] = {uint8_t(word), uint8_t(word >> 8), uint8_t(word >> 16), uint8_t(word >> 24)};
  int64_t offset = int64_t(frame) * GetBlockAlign() + int64_t(channel) * b;
  if (buffer) {
    memcpy(buffer + offset, bytes, size_t(b));
  } else if (m_data->Seek(int(offset)) == int(offset)) {
    m_data->WriteData(bytes, b);
  }
}
