// Writes 16-bit PCM WAVE files: "RIFF", "WAVE", a 16-byte "fmt " chunk and
// the "data" chunk right after it, nothing else; reads 16-bit PCM WAVE files
// with other chunks between.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

class WaveFile {
public:
  // Interleaved samples in [-1, 1] (clipped), channels 1 or 2. False when the
  // file cannot be written.
  static bool Write(const char* path, const SArray<float>& samples, int channels, int sampleRate);
  // The first channel of a 16-bit PCM file, in [-1, 1], and its rate. False
  // for a file that cannot be read or is not such a file.
  static bool Read(const char* path, SArray<double>& samples, int& sampleRate);
};
