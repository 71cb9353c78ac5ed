#include "core/Platform.h"
#include "core/SString.h"

#include "core/SArray.h"
#include "core/SStringPool.h"

#include <new>

namespace {

inline bool IsBlank(char c, bool spacesOnly) { return c == ' ' || (!spacesOnly && c == '\t'); }

// How many characters a trim takes from one end: n, at most the length, or
// for n < 0 the blanks there.
int TrimCount(const char* text, int length, int n, bool spacesOnly, bool fromLeft) {
  if (n == 0 || !text) return 0;
  if (n > 0) return n < length ? n : length;
  int count = 0;
  while (count < length && IsBlank(text[fromLeft ? count : length - 1 - count], spacesOnly))
    ++count;
  return count;
}

// A substring as a new string.
SString MakeString(const char* p, int n) {
  SString r;
  r.SetLength(n, false);
  if (n > 0) memcpy(const_cast<char*>(r.GetText()), p, n);
  return r;
}

}  // namespace

// --- storage -----------------------------------------------------------------

int SString::CapacityFor(int length) {
  // Lengths beyond 2^30 - 1 ask for more than the address space holds; the
  // allocation then fails with the runtime's out-of-memory exception.
  if (length >= 0x40000000) return 0x7FFFFFFF;
  int c = 8;
  while (c <= length) c *= 2;
  return c;
}

void SString::Allocate(int n, bool keep) {
  if (n < 0) n = 0;
  int capacity = CapacityFor(n);
  if (!m_text || capacity != m_capacity) {
    char* p = SStringPool::NewBuffer(this, capacity);
    if (keep && m_text) memcpy(p, m_text, n < m_length ? n : m_length);
    SStringPool::FreeBuffer(this, m_text, m_capacity);
    m_text = p;
    m_capacity = capacity;
  }
  m_length = n;
  m_text[n] = 0;
}

void SString::SetLength(int n, bool keep) { Allocate(n, keep); }

// --- construction, release and tracking -------------------------------------

SString::SString()
    : m_tracked(false), m_text(nullptr), m_length(0), m_capacity(0), m_user1(0), m_user2(0) {}

SString::SString(const SString& source) : SString() { Assign(source, true); }

SString::SString(const char* text) : SString() { Set(text); }

SString::SString(const wchar_t* text) : SString() {
  int size = text ? ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr) : 0;
  if (size <= 0) {
    Set(nullptr);
    return;
  }
  Allocate(size - 1, false);
  if (::WideCharToMultiByte(CP_ACP, 0, text, -1, m_text, size, nullptr, nullptr) <= 0) {
    Set(nullptr);
    return;
  }
  m_text[size - 1] = 0;
}

void* SString::operator new(size_t size) { return SStringPool::NewObject(size); }

void SString::operator delete(void* p, size_t size) { SStringPool::DeleteObject(p, size); }

SString::~SString() {
  SStringPool::FreeBuffer(this, m_text, m_capacity);
  m_text = nullptr;
  m_length = 0;
  m_capacity = 0;
  m_user1 = 0;
  m_user2 = 0;
  if (m_tracked) SetTracked(false);
}

void SString::Empty() {
  SStringPool::FreeBuffer(this, m_text, m_capacity);
  m_text = nullptr;
  m_length = 0;
  m_capacity = 0;
}

void SString::Free() { Empty(); }

SArray<SString*>& SString::GetTrackedStrings() {
  // Built on first use and never destroyed, so that strings constructed or
  // destroyed during static initialisation or exit can always reach it.
  alignas(SArray<SString*>) static unsigned char storage[sizeof(SArray<SString*>)];
  static SArray<SString*>* list = new (storage) SArray<SString*>();
  return *list;
}

void SString::SetTracked(bool tracked) {
  m_tracked = tracked;
  SArray<SString*>& list = GetTrackedStrings();
  SString* self = this;
  int i = list.FindSorted(self);
  if (tracked) {
    if (i < 0) list.InsertSorted(self);
  } else if (i >= 0) {
    list.RemoveAt(i, 1);
  }
}

void SString::ReleaseTrackedStrings() {
  SArray<SString*>& list = GetTrackedStrings();
  while (list.GetCount() > 0) {
    SString* s = list.GetLast();
    s->Empty();
    s->SetTracked(false);
  }
  list.FreeBuffer();
}

// --- assignment --------------------------------------------------------------

void SString::Store(const char* bytes, int n) {
  int capacity = CapacityFor(n);
  if (m_text && capacity == m_capacity) {
    // The bytes may lie in this buffer: memmove reads them before they are overwritten.
    if (n > 0) memmove(m_text, bytes, n);
  } else {
    char* p = SStringPool::NewBuffer(this, capacity);
    if (n > 0) memcpy(p, bytes, n);
    SStringPool::FreeBuffer(this, m_text, m_capacity);
    m_text = p;
    m_capacity = capacity;
  }
  m_length = n;
  m_text[n] = 0;
}

SString& SString::Set(const char* text) {
  Store(text, text ? (int)strlen(text) : 0);
  return *this;
}

SString& SString::operator=(const char* text) { return Set(text); }

SString& SString::operator=(const SString& source) { return Assign(source, true); }

SString& SString::Assign(const SString& source, bool textOnly) {
  if (&source != this || !m_text) Store(source.m_text, source.m_length);
  if (!textOnly) {
    m_user1 = source.m_user1;
    m_user2 = source.m_user2;
  }
  return *this;
}

// --- access and comparison ---------------------------------------------------

char SString::GetAt(int i) const {
  if (!m_text || i < 0 || i >= m_length) return 0;
  return m_text[i];
}

unsigned char SString::GetByteAt(int i) const { return (unsigned char)GetAt(i); }

void SString::SetAt(int i, char c) {
  if (!m_text || i < 0 || i >= m_length) return;
  m_text[i] = c;
  if (c == 0) m_length = i;
}

bool SString::operator==(const char* text) const {
  return strcmp(m_text ? m_text : "", text ? text : "") == 0;
}

int SString::CompareNoCase(const char* text) const {
  int r = _stricmp(m_text ? m_text : "", text ? text : "");
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// --- concatenation -----------------------------------------------------------

SString SString::Concat(const char* text) const {
  int n = text ? (int)strlen(text) : 0;
  SString r;
  r.Allocate(m_length + n, false);
  if (m_length > 0) memcpy(r.m_text, m_text, m_length);
  if (n > 0) memcpy(r.m_text + m_length, text, n);
  return r;
}

// Appends in place: the capacity rule makes growth amortised, so building a
// text piece by piece stays linear. While the new length wants the current
// capacity the text is written straight into the buffer.
SString& SString::operator+=(const char* text) {
  int n = text ? (int)strlen(text) : 0;
  if (n == 0) {
    if (!m_text) Allocate(0, false);
    return *this;
  }
  int old = m_length;
  if (KeepsCapacity(old + n)) {
    // A text from this buffer may overlap where it goes: memmove.
    memmove(m_text + old, text, n);
    m_length = old + n;
    m_text[m_length] = 0;
    return *this;
  }
  SString copy;
  if (PointsIntoBuffer(text)) {
    copy.Set(text);
    text = copy.m_text;
  }
  Allocate(old + n, true);
  memcpy(m_text + old, text, n);
  return *this;
}

SString& SString::AppendChar(char c) {
  if (c == 0) {
    if (!m_text) Allocate(0, false);
    return *this;
  }
  int old = m_length;
  Allocate(old + 1, true);
  m_text[old] = c;
  return *this;
}

// --- editing -----------------------------------------------------------------

void SString::Insert(const char* text, int index) {
  if (index > m_length) return;
  if (index < 0) index = m_length;
  int k = text ? (int)strlen(text) : 0;
  if (k == 0) return;
  SString copy;
  if (PointsIntoBuffer(text)) {
    copy.Set(text);
    text = copy.m_text;
  }
  int old = m_length;
  Allocate(old + k, true);
  memmove(m_text + index + k, m_text + index, old - index);
  memcpy(m_text + index, text, k);
}

void SString::InsertChars(char c, int index, int count) {
  if (index > m_length) return;
  if (index < 0) index = m_length;
  // NUL characters cannot stand inside the text.
  if (count <= 0 || c == 0) return;
  int old = m_length;
  Allocate(old + count, true);
  memmove(m_text + index + count, m_text + index, old - index);
  memset(m_text + index, c, count);
}

int SString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (index >= m_length) return 0;
  if (count < 0 || count > m_length - index) count = m_length - index;
  if (count == 0) return 0;
  int n = m_length - count;
  memmove(m_text + index, m_text + index + count, n - index);
  m_text[n] = 0;
  Allocate(n, true);
  return count;
}

void SString::Replace(int index, int count, const char* text) {
  if (index > m_length) return;
  if (index < 0) index = 0;
  if (count < 0 || count > m_length - index) count = m_length - index;
  SString copy;
  if (PointsIntoBuffer(text)) {
    copy.Set(text);
    text = copy.m_text;
  }
  int n = text ? (int)strlen(text) : 0;
  if (n < count) {
    Delete(index, count - n);
  } else if (n > count) {
    InsertChars('#', index, n - count);
  }
  if (n > 0) memcpy(m_text + index, text, n);
}

int SString::ReplaceAll(const char* find, const char* replacement) {
  if (!find || !*find || m_length == 0) return 0;
  SString findCopy, replacementCopy;
  if (PointsIntoBuffer(find)) {
    findCopy.Set(find);
    find = findCopy.m_text;
  }
  if (PointsIntoBuffer(replacement)) {
    replacementCopy.Set(replacement);
    replacement = replacementCopy.m_text;
  }
  int findLength = (int)strlen(find);
  int replacementLength = replacement ? (int)strlen(replacement) : 0;
  int count = 0;
  int i = 0;
  while ((i = Find(find, i, -1)) >= 0) {
    Replace(i, findLength, replacement);
    i += replacementLength;
    ++count;
  }
  return count;
}

int SString::ReplaceChar(char from, char to) {
  // The text as it was: a NUL written cuts the length, not the buffer.
  int n = m_length;
  int count = 0;
  for (int i = 0; i < n; ++i) {
    if (m_text[i] == from) {
      ++count;
      SetAt(i, to);
    }
  }
  return count;
}

void SString::TrimLeft(int n, bool spacesOnly) {
  int count = TrimCount(m_text, m_length, n, spacesOnly, true);
  if (count > 0) *this = Mid(count, -1);
}

void SString::TrimRight(int n, bool spacesOnly) {
  int count = TrimCount(m_text, m_length, n, spacesOnly, false);
  if (count > 0) *this = Left(m_length - count);
}

void SString::Trim(int left, int right, bool spacesOnly) {
  TrimRight(right, spacesOnly);
  TrimLeft(left, spacesOnly);
}

// --- substrings --------------------------------------------------------------

SString SString::Left(int n) const {
  if (n <= 0) return MakeString(nullptr, 0);
  if (n > m_length) n = m_length;
  return MakeString(m_text, n);
}

SString SString::Right(int n) const {
  if (n <= 0) return MakeString(nullptr, 0);
  if (n > m_length) n = m_length;
  return MakeString(m_text + m_length - n, n);
}

SString SString::Mid(int index, int count) const {
  if (index < 0) index = 0;
  if (index >= m_length) return MakeString(nullptr, 0);
  if (count < 0 || count > m_length - index) count = m_length - index;
  return MakeString(m_text + index, count);
}

SString SString::BeforeBar() const {
  int i = FindChar('|', 0);
  return i < 0 ? MakeString(m_text, m_length) : Left(i);
}

SString SString::BeforeChar(char c) const {
  int i = FindChar(c, 0);
  return i < 0 ? MakeString(nullptr, 0) : Left(i);
}

SString SString::AfterChar(char c) const {
  int i = FindChar(c, 0);
  return i < 0 ? MakeString(nullptr, 0) : Mid(i + 1, -1);
}

// --- searching ---------------------------------------------------------------

int SString::Find(const char* text, int start, int range) const {
  if (!text || !*text) return -1;
  if (start < 0) start = 0;
  if (start >= m_length) return -1;
  int end = (range < 0 || range > m_length - start) ? m_length : start + range;
  int n = (int)strlen(text);
  int last = end - n;  // the last index where a match still ends inside the range
  if (last < start) return -1;
  const char first = text[0];
  const char* p = m_text + start;
  const char* stop = m_text + last;
  while (p <= stop) {
    p = (const char*)memchr(p, first, stop - p + 1);
    if (!p) return -1;
    if (memcmp(p + 1, text + 1, n - 1) == 0) return (int)(p - m_text);
    ++p;
  }
  return -1;
}

int SString::FindNoCase(const char* text, int start, int range) const {
  if (!text || !*text) return -1;
  if (start < 0) start = 0;
  if (start >= m_length) return -1;
  int end = (range < 0 || range > m_length - start) ? m_length : start + range;
  int n = (int)strlen(text);
  for (int i = start; i <= end - n; ++i) {
    if (_strnicmp(m_text + i, text, n) == 0) return i;
  }
  return -1;
}

int SString::FindChar(char c, int start) const {
  if (start < 0) start = 0;
  if (start >= m_length) return -1;
  const char* p = (const char*)memchr(m_text + start, c, m_length - start);
  return p ? (int)(p - m_text) : -1;
}

int SString::ReverseFindChar(char c, int start) const {
  if (start == -1) start = m_length - 1;
  if (start < 0 || start >= m_length || c == 0) return -1;
  for (int i = start; i >= 0; --i) {
    if (m_text[i] == c) return i;
  }
  return -1;
}

int SString::ReverseFindAny(int start, int count, ...) const {
  va_list args;
  va_start(args, count);
  int result = -1;
  for (int k = 0; k < count && result < 0; ++k) {
    char c = (char)va_arg(args, int);
    result = ReverseFindChar(c, start);
  }
  va_end(args);
  return result;
}

// --- case --------------------------------------------------------------------

SString& SString::MakeLower() {
  if (m_length > 0) _strlwr_s(m_text, m_length + 1);
  return *this;
}

SString SString::ToLower() const {
  SString r = MakeString(m_text, m_length);
  if (r.m_length > 0) _strlwr_s(r.m_text, r.m_length + 1);
  return r;
}

SString SString::ToUpper() const {
  SString r = MakeString(m_text, m_length);
  if (r.m_length > 0) _strupr_s(r.m_text, r.m_length + 1);
  return r;
}

// --- wide text ---------------------------------------------------------------

wchar_t* SString::ToWide() const {
  if (!m_text) return nullptr;
  wchar_t* w = new wchar_t[m_length + 1];
  // A double-byte or failed conversion writes fewer characters: the text ends
  // where the converter stopped.
  int n = m_length > 0 ? ::MultiByteToWideChar(CP_ACP, 0, m_text, m_length, w, m_length) : 0;
  if (n < 0) n = 0;
  w[n] = 0;
  return w;
}

const SString& SString::FromWide(const wchar_t* text) {
  static SString shared;
  shared = SString(text);
  return shared;
}
