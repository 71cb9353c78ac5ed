#include "core/Platform.h"
#include "tools/soundgen/WaveFile.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include <math.h>

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
