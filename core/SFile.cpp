#include "core/Platform.h"
#include "core/SFile.h"

#include <string.h>

namespace {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

SFile::SFile(bool memory) : m_memory(memory) {
  for (int i = 0; i < PROGRESS_COUNT; ++i) m_progress[i] = nullptr;
}

SFile::~SFile() {}

SFileProgress SFile::GetProgressHandler(int kind) const {
  return kind >= 0 && kind < PROGRESS_COUNT ? m_progress[kind] : nullptr;
}

void SFile::SetProgressHandler(int kind, SFileProgress handler) {
  if (kind >= 0 && kind < PROGRESS_COUNT) m_progress[kind] = handler;
}

int SFile::WriteInt32(uint32_t value) {
  uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                      uint8_t(value >> 24)};
  return Write(bytes, 4);
}

uint32_t SFile::ReadInt32() {
  uint8_t bytes[4] = {0, 0, 0, 0};
  Read(bytes, 4);
  return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) |
         (uint32_t(bytes[3]) << 24);
}

SString SFile::ReadLineWithBreak(bool keepBlanks, int max) {
  bool lineBreak = false;
  SString line = ReadLine(keepBlanks, max, &lineBreak);
  if (lineBreak) line += "\r\n";
  return line;
}

int SFile::FindText(const char* text, bool returnEnd) {
  return Find(text, text ? int(strlen(text)) : 0, returnEnd);
}

int SFile::WriteByte(uint8_t value) {
  return Write(&value, 1);
}

int SFile::ReadByte() {
  if (IsEOF()) return -1;
  uint8_t value = 0;
  if (Read(&value, 1) != 1) return -1;
  return value;
}

int SFile::WriteStringZ(const char* text) {
  if (!text) text = "";
  return WriteText(text, int(strlen(text)) + 1);
}

int SFile::ClampToRemaining(int n) const {
  int remaining = GetRemaining();
  return n < 0 || n > remaining ? remaining : n;
}

SString SFile::MakeString(const void* p, int n) {
  SString text("");
  if (n > 0) {
    text.SetLength(n, false);
    memcpy(const_cast<char*>(text.GetText()), p, n);
  }
  return text;
}

SString SFile::MakeLine(const void* p, int n, bool keepBlanks) {
  const char* start = static_cast<const char*>(p);
  const char* end = start + (n > 0 ? n : 0);
  if (!keepBlanks) {
    while (start < end && IsBlank(*start)) ++start;
    while (end > start && IsBlank(end[-1])) --end;
  }
  return MakeString(start, int(end - start));
}
