#include "core/Platform.h"
#include "tools/soundgen/WaveFile.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include <math.h>
#include <string.h>

bool WaveFile::Write(const char* path, const SArray<float>& samples, int channels, int sampleRate) {
  if (channels < 1 || channels > 2 || sampleRate <= 0) return false;
  int frames = samples.GetCount() / channels;
  uint32_t dataSize = (uint32_t)frames * channels * 2;
  SFileMem out;
  out.Allocate(0);
  out.WriteData("RIFF", 4);
  out.WriteInt32(4 + 8 + 16 + 8 + dataSize);
  out.WriteData("WAVE", 4);
  out.WriteData("fmt ", 4);
  out.WriteInt32(16);
  uint16_t format[2] = {1, (uint16_t)channels};  // PCM
  out.WriteData(format, 4);
  out.WriteInt32((uint32_t)sampleRate);
  out.WriteInt32((uint32_t)sampleRate * channels * 2);
  uint16_t block[2] = {(uint16_t)(channels * 2), 16};
  out.WriteData(block, 4);
  out.WriteData("data", 4);
  out.WriteInt32(dataSize);
  for (int i = 0; i < frames * channels; ++i) {
    double v = samples[i];
    if (v > 1.0) v = 1.0;
    if (v < -1.0) v = -1.0;
    int16_t s = (int16_t)lround(v * 32767.0);
    out.WriteData(&s, 2);
  }
  SFilePath file;
  if (!file.Open(path, true, true, false, false)) return false;
  int size = out.GetSize();
  bool ok = file.WriteData(out.GetBuffer(), size) == size;
  file.Close();
  return ok;
}

bool WaveFile::Read(const char* path, SArray<double>& samples, int& sampleRate) {
  SFileMem file;
  if (!file.LoadFile(path)) return false;
  const uint8_t* p = file.GetBuffer();
  const uint32_t size = (uint32_t)file.GetSize();
  if (size < 12 || memcmp(p, "RIFF", 4) != 0 || memcmp(p + 8, "WAVE", 4) != 0) return false;
  auto word = [p](uint32_t at) {
    return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | ((uint32_t)p[at + 3] << 24);
  };
  auto half = [p](uint32_t at) { return (uint32_t)(p[at] | (p[at + 1] << 8)); };
  uint32_t channels = 0, bits = 0;
  sampleRate = 0;
  for (uint32_t at = 12; at + 8 <= size;) {
    uint32_t chunk = word(at + 4);
    if (chunk > size - at - 8) return false;
    if (memcmp(p + at, "fmt ", 4) == 0 && chunk >= 16) {
      if (half(at + 8) != 1) return false;  // PCM only
      channels = half(at + 10);
      sampleRate = (int)word(at + 12);
      bits = half(at + 22);
    } else if (memcmp(p + at, "data", 4) == 0) {
      if (channels < 1 || channels > 2 || bits != 16 || sampleRate <= 0) return false;
      uint32_t frames = chunk / (2 * channels);
      samples.SetSize((int)frames, false);
      for (uint32_t i = 0; i < frames; ++i)
        samples[(int)i] = (int16_t)half(at + 8 + i * 2 * channels) / 32768.0;
      return frames > 0;
    }
    at += 8 + chunk + (chunk & 1);
  }
  return false;
}
