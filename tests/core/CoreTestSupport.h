// Small conversions shared by the core library's tests.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SString.h"

#include <stdint.h>
#include <zlib.h>

#include <string>

// The string's bytes; "" for a string that was never set.
inline std::string Text(const SString& s) {
  return s.GetText() ? std::string(s.GetText(), s.GetLength()) : std::string();
}

// The bytes a memory file holds.
inline std::string Bytes(const SFileMem& file) {
  if (!file.GetBuffer()) return std::string();
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize());
}

// The bytes of a disk file; "<missing>" when it cannot be read.
inline std::string FileBytes(const std::string& name) {
  SFileMem file;
  return file.LoadFile(name.c_str()) ? Bytes(file) : "<missing>";
}

// A 32-bit value as it is stored: four bytes, least significant first.
inline std::string U32(uint32_t v) {
  return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// n bytes that zlib cannot shrink much, from a fixed seed.
inline std::string Noise(size_t n, uint32_t seed) {
  std::string out(n, '\0');
  for (char& c : out) {
    seed = seed * 1103515245u + 12345u;
    c = char(seed >> 16);
  }
  return out;
}

// One block of the compressed-stream format: the size it declares, the size
// of its zlib data, the zlib data of the text.
inline std::string ZlibBlock(uint32_t size, const std::string& text) {
  std::string zlib(64 + text.size() * 2, '\0');
  uLongf length = uLongf(zlib.size());
  compress((Bytef*)&zlib[0], &length, (const Bytef*)text.data(), uLong(text.size()));
  return U32(size) + U32(uint32_t(length)) + zlib.substr(0, length);
}
