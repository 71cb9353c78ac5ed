// Wave files made by the tests: a RIFF WAVE image with chosen header fields
// and sample words, and ways to load it and read a wave's samples back.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "editors/SWave.h"

#include <stdint.h>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace WaveTest {

struct Header {
  uint16_t tag = 1;
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
  int blockAlign = -1;  // -1: channels x bits / 8
  uint32_t formatSize = 16;
  int dataSize = -1;         // -1: the samples' bytes
  std::string beforeFormat;  // a chunk between "WAVE" and "fmt "
};

inline void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char(v >> (8 * i));
}
inline void Put16(std::string& s, uint16_t v) {
  s += char(v);
  s += char(v >> 8);
}

// The file's bytes: samples in frame order, each stored in bits / 8 bytes.
inline std::string Bytes(const Header& h, const std::vector<int32_t>& samples) {
  int b = h.bits / 8;
  std::string data;
  for (int32_t v : samples) {
    uint32_t word = uint32_t(b == 1 ? v + 128 : v);
    for (int i = 0; i < b; ++i) data += char(word >> (8 * i));
  }
  std::string format;
  Put16(format, h.tag);
  Put16(format, h.channels);
  Put32(format, h.rate);
  int align = h.blockAlign >= 0 ? h.blockAlign : h.channels * b;
  Put32(format, h.rate * uint32_t(align));
  Put16(format, uint16_t(align));
  Put16(format, h.bits);
  format.resize(h.formatSize, '\0');
  std::string s = "RIFF";
  Put32(s, uint32_t(4 + h.beforeFormat.size() + 8 + format.size() + 8 + data.size()));
  s += "WAVE" + h.beforeFormat + "fmt ";
  Put32(s, h.formatSize);
  s += format + "data";
  Put32(s, h.dataSize >= 0 ? uint32_t(h.dataSize) : uint32_t(data.size()));
  return s + data;
}

inline void Fill(SFileMem& file, const std::string& bytes) {
  file.Allocate(int(bytes.size()));
  if (!bytes.empty()) memcpy(file.GetBuffer(), bytes.data(), bytes.size());
  file.Rewind();
}

inline bool Load(SWave& wave, const std::string& bytes) {
  SFileMem file;
  Fill(file, bytes);
  return wave.LoadWav(&file);
}

// A stereo 16-bit ramp: frame i holds i on the left and -i on the right.
inline std::vector<int32_t> Ramp(int frames) {
  std::vector<int32_t> samples;
  for (int i = 0; i < frames; ++i) {
    samples.push_back(i);
    samples.push_back(-i);
  }
  return samples;
}

inline std::string RampFile(int frames) { return Bytes(Header(), Ramp(frames)); }

typedef std::vector<int64_t> V;

// The samples at the given (channel, frame) places.
inline V Samples(SWave& wave, std::initializer_list<std::pair<int, uint32_t>> places) {
  V values;
  for (const auto& p : places) values.push_back(wave.GetSample(p.first, nullptr, p.second));
  return values;
}

// The whole content of a file.
inline std::string Content(SFile& file) {
  file.Rewind();
  SString s = file.ReadString(-1);
  return std::string(s.GetText() ? s.GetText() : "", size_t(s.GetLength()));
}

}  // namespace WaveTest
