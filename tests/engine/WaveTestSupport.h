// WAVE files made in memory for the sound tests: chunks of any order and
// size, PCM format records and square-wave samples.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"

#include <mmreg.h>
#include <string.h>

#include <string>

inline void PutWord(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += (char)((v >> (8 * i)) & 0xFF);
}
inline void PutHalf(std::string& s, uint16_t v) {
  s += (char)(v & 0xFF);
  s += (char)(v >> 8);
}

// The 16 bytes of a PCM format chunk.
inline std::string PcmFormat(int channels, int rate) {
  std::string f;
  PutHalf(f, WAVE_FORMAT_PCM);
  PutHalf(f, (uint16_t)channels);
  PutWord(f, (uint32_t)rate);
  PutWord(f, (uint32_t)(rate * channels * 2));
  PutHalf(f, (uint16_t)(channels * 2));
  PutHalf(f, 16);
  return f;
}

inline std::string Chunk(const char* tag, const std::string& body, uint32_t claimed = 0xFFFFFFFF) {
  std::string c(tag, 4);
  PutWord(c, claimed == 0xFFFFFFFF ? (uint32_t)body.size() : claimed);
  return c + body;
}

// A square wave of 16-bit samples.
inline std::string Samples(int channels, int frames) {
  std::string s;
  for (int i = 0; i < frames * channels; ++i) PutHalf(s, (i / 64) % 2 ? 0x2000 : 0xE000);
  return s;
}

inline std::string Riff(const std::string& chunks) { return Chunk("RIFF", "WAVE" + chunks); }

inline std::string Wave(int channels, int rate, int frames) {
  return Riff(Chunk("fmt ", PcmFormat(channels, rate)) + Chunk("data", Samples(channels, frames)));
}

// Five seconds of stereo sound: it plays through every step of a test.
inline std::string LongWave() { return Wave(2, 44100, 5 * 44100); }

inline SFileMem* Open(SFileMem& file, const std::string& bytes) {
  file.Allocate((int)bytes.size());
  memcpy(file.GetBuffer(), bytes.data(), bytes.size());
  file.Rewind();
  return &file;
}
