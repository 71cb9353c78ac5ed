#include "core/Platform.h"
#include "core/SFileMem.h"

#include "core/SDigest.h"

#include <limits.h>
#include <string.h>
#include <wchar.h>

SFileMem::SFileMem()
    : SFile(true), m_buffer(nullptr), m_size(0), m_capacity(0), m_position(0) {}

SFileMem::SFileMem(const char* type, WORD id) : SFileMem() {
  LoadResource(type, id);
}

SFileMem::SFileMem(const char* text) : SFileMem() {
  if (text && *text) {
    WriteData(text, int(strlen(text)));
    Rewind();
  }
}

SFileMem::~SFileMem() {
  delete[] m_buffer;
}

int SFileMem::CapacityFor(int n) {
  int capacity = MIN_CAPACITY;
  while (capacity < n) {
    if (capacity > INT_MAX / 2) return n;
    capacity *= 2;
  }
  return capacity;
}

void SFileMem::Allocate(int n) {
  if (n < 0) n = 0;
  int capacity = CapacityFor(n);
  if (!m_buffer || capacity != m_capacity) {
    delete[] m_buffer;
    m_buffer = new uint8_t[capacity];
    m_capacity = capacity;
  }
  m_size = n;
  m_position = 0;
}

void SFileMem::Resize(int n) {
  if (n < 0) n = 0;
  int capacity = CapacityFor(n);
  if (!m_buffer || capacity != m_capacity) {
    uint8_t* buffer = new uint8_t[capacity];
    if (m_buffer) memcpy(buffer, m_buffer, m_size < n ? m_size : n);
    delete[] m_buffer;
    m_buffer = buffer;
    m_capacity = capacity;
  }
  m_size = n;
  if (m_position > m_size) m_position = m_size;
}

bool SFileMem::LoadFile(const char* name) {
  if (!name || !*name) return false;
  FILE* file = nullptr;
  if (fopen_s(&file, name, "rb") != 0 || !file) return false;
  long length = -1;
  if (fseek(file, 0, SEEK_END) == 0) length = ftell(file);
  if (length < 0 || length > INT_MAX || fseek(file, 0, SEEK_SET) != 0) {
    fclose(file);
    return false;
  }
  Allocate(int(length));
  int got = length > 0 ? int(fread(m_buffer, 1, size_t(length), file)) : 0;
  fclose(file);
  if (got < m_size) Resize(got);
  m_position = 0;
  return true;
}

bool SFileMem::LoadResource(const char* type, WORD id, HMODULE module) {
  Allocate(0);
  if (!module) module = ::GetModuleHandleA(nullptr);
  HRSRC info = ::FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!info) return false;
  HGLOBAL handle = ::LoadResource(module, info);
  if (!handle) return false;
  const void* data = ::LockResource(handle);
  if (!data) {
    ::FreeResource(handle);
    return false;
  }
  WriteData(data, int(::SizeofResource(module, info)));
  ::FreeResource(handle);
  Rewind();
  return true;
}

void SFileMem::Close() {
  delete[] m_buffer;
  m_buffer = nullptr;
  m_size = m_capacity = m_position = 0;
}

bool SFileMem::Crc32(uint32_t& crc) {
  if (!IsOpen()) return false;
  crc = SDigest::Crc32(m_buffer, m_size);
  return true;
}

SString SFileMem::Md5() {
  return IsOpen() ? SDigest::Md5(m_buffer, m_size) : SString("");
}

SString SFileMem::Sha1() {
  return IsOpen() ? SDigest::Sha1(m_buffer, m_size) : SString("");
}

bool SFileMem::GrowFor(int n) {
  if (n > INT_MAX - m_position) return false;
  if (m_position + n > m_size) SetSize(m_position + n);
  return true;
}

int SFileMem::WriteText(const char* text, int n) {
  if (!text) return 0;
  if (n < 0) n = int(strlen(text));
  return WriteData(text, n);
}

int SFileMem::WriteData(const void* data, int n) {
  if (!data || n < 1) return 0;
  // The data may lie in this file's own buffer, which growing can move.
  const uint8_t* source = static_cast<const uint8_t*>(data);
  ptrdiff_t inside = -1;
  if (m_buffer && source >= m_buffer && source < m_buffer + m_capacity) inside = source - m_buffer;
  if (!GrowFor(n)) return 0;
  if (inside >= 0) source = m_buffer + inside;
  memmove(m_buffer + m_position, source, n);
  m_position += n;
  return n;
}

int SFileMem::WriteWide(const wchar_t* text, int n) {
  if (!text) return 0;
  if (n < 0) n = int(wcslen(text));
  if (n < 1 || n > INT_MAX / 2) return 0;
  if (!GrowFor(2 * n)) return 0;
  uint8_t* out = m_buffer + m_position;
  for (int i = 0; i < n; ++i) {
    out[2 * i] = uint8_t(text[i]);
    out[2 * i + 1] = uint8_t(uint16_t(text[i]) >> 8);
  }
  m_position += 2 * n;
  return 2 * n;
}

int SFileMem::WriteLine(const char* text) {
  int length = text ? int(strlen(text)) : 0;
  if (length > INT_MAX - 2 || !GrowFor(length + 2)) return 0;
  uint8_t* out = m_buffer + m_position;
  if (length > 0) memcpy(out, text, length);
  out[length] = '\r';
  out[length + 1] = '\n';
  m_position += length + 2;
  return length + 2;
}

SString SFileMem::ReadString(int n) {
  n = ClampToRemaining(n);
  if (n <= 0) return SString("");
  SString text = MakeString(m_buffer + m_position, n);
  m_position += n;
  return text;
}

int SFileMem::ReadData(void* buffer, int n) {
  if (!buffer || n < 1) return 0;
  n = ClampToRemaining(n);
  if (n <= 0) return 0;
  memcpy(buffer, m_buffer + m_position, n);
  m_position += n;
  return n;
}

SUniString SFileMem::ReadWide(int n) {
  int units = GetRemaining() / 2;
  if (n >= 0 && n < units) units = n;
  SUniString text;
  if (units <= 0) return text;
  text.SetLength(units, false);
  wchar_t* out = text.GetBuffer();
  const uint8_t* in = m_buffer + m_position;
  for (int i = 0; i < units; ++i) out[i] = wchar_t(in[2 * i] | (in[2 * i + 1] << 8));
  m_position += 2 * units;
  return text;
}

SString SFileMem::ReadLine(bool keepBlanks, int max, bool* lineBreak) {
  if (lineBreak) *lineBreak = false;
  if (max == 0) return SString("");
  int start = m_position;
  int end = -1;  // end of the text when a line break was found
  while (m_position < m_size) {
    if (m_position < m_size - 1 && m_buffer[m_position] == '\r' &&
        m_buffer[m_position + 1] == '\n') {
      end = m_position;
      m_position += 2;
      if (lineBreak) *lineBreak = true;
      break;
    }
    ++m_position;
    if (max > 0 && m_position - start >= max) break;
  }
  if (end < 0) end = m_position;
  return MakeLine(m_buffer + start, end - start, keepBlanks);
}

SString SFileMem::ReadStringZ(bool keep) {
  int remaining = GetRemaining();
  if (remaining <= 0) return SString("");
  const uint8_t* start = m_buffer + m_position;
  const uint8_t* nul = static_cast<const uint8_t*>(memchr(start, 0, remaining));
  int length = nul ? int(nul - start) : remaining;
  m_position += nul ? length + 1 : length;
  return keep ? MakeString(start, length) : SString("");
}

int SFileMem::Seek(int pos) {
  m_position = pos < 0 || pos > m_size ? m_size : pos;
  return m_position;
}

bool SFileMem::SetSize(int n) {
  Resize(n);
  return true;
}

int SFileMem::Find(const void* pattern, int n, bool returnEnd) {
  if (!pattern || n < 1) return -1;
  const uint8_t* bytes = static_cast<const uint8_t*>(pattern);
  int last = m_size - n;  // the last start with n bytes after it
  int start = m_position;
  while (start <= last) {
    const uint8_t* hit =
        static_cast<const uint8_t*>(memchr(m_buffer + start, bytes[0], last - start + 1));
    if (!hit) {
      start = last + 1;
      break;
    }
    start = int(hit - m_buffer);
    if (memcmp(hit, bytes, n) == 0) {
      m_position = start + n;
      return returnEnd ? m_position : start;
    }
    ++start;
  }
  m_position = start;
  return -1;
}
