// Writes 16-bit PCM WAVE files: "RIFF", "WAVE", a 16-byte "fmt " chunk and
// the "data" chunk right after it, nothing else.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

class WaveFile {
public:
  // Interleaved samples in [-1, 1] (clipped), channels 1 or 2. False when the
  // file cannot be written.
  static bool Write(const char* path, const SArray<float>& samples, int channels, int sampleRate);
};
