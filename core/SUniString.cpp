#include "core/Platform.h"
#include "core/SUniString.h"

namespace {

// The first of 8, 16, 32, ... characters that holds the length and its NUL.
int CapacityFor(int length) {
  if (length >= 0x20000000) return 0x3FFFFFFF;
  int c = 8;
  while (c <= length) c *= 2;
  return c;
}

}  // namespace

SUniString::SUniString(const char* text)
    : m_text(nullptr), m_length(0), m_capacity(0), m_user1(0), m_user2(0) {
  int bytes = text ? (int)strlen(text) : 0;
  Allocate(bytes, false);
  if (bytes == 0) return;
  // A double-byte text gives fewer characters than bytes, a failed
  // conversion none: the length is what the converter wrote.
  int n = ::MultiByteToWideChar(CP_ACP, 0, text, bytes, m_text, bytes);
  if (n < 0) n = 0;
  if (n != bytes) Allocate(n, true);
}

SUniString::SUniString(const SUniString& source)
    : m_text(nullptr), m_length(0), m_capacity(0), m_user1(0), m_user2(0) {
  Assign(source);
}

SUniString::~SUniString() {
  wchar_t* text = m_text;
  m_text = nullptr;
  m_length = 0;
  m_capacity = 0;
  m_user1 = 0;
  m_user2 = 0;
  delete[] text;
}

void SUniString::Allocate(int n, bool keep) {
  if (n < 0) n = 0;
  int capacity = CapacityFor(n);
  if (!m_text || capacity != m_capacity) {
    wchar_t* p = new wchar_t[capacity];
    if (keep && m_text) memcpy(p, m_text, (n < m_length ? n : m_length) * sizeof(wchar_t));
    delete[] m_text;
    m_text = p;
    m_capacity = capacity;
  }
  m_length = n;
  m_text[n] = 0;
}

SUniString& SUniString::Assign(const SUniString& source) {
  if (&source == this) return *this;
  int n = source.m_length;
  Allocate(n, false);
  if (n > 0) memcpy(m_text, source.m_text, n * sizeof(wchar_t));
  return *this;
}

void SUniString::SetLength(int n, bool keep) { Allocate(n, keep); }

void SUniString::SetEmpty() { Allocate(0, false); }
