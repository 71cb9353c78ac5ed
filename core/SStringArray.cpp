#include "core/Platform.h"
#include "core/SStringArray.h"

#include <string.h>

namespace {

const char* TextOf(const SString* s) {
  const char* text = s ? s->GetText() : nullptr;
  return text ? text : "";
}

// Pattern byte 1 matches any run (also empty), byte 2 one character. On a
// mismatch after a run byte the run is lengthened by one character and the
// rest matched again; consecutive run bytes act as one.
bool MatchesWildcard(const char* text, const char* pattern) {
  const char* runPattern = nullptr;
  const char* runText = nullptr;
  while (*text) {
    if (*pattern == '\x01') {
      while (*pattern == '\x01') ++pattern;
      if (!*pattern) return true;
      runPattern = pattern;
      runText = text;
    } else if (*pattern == '\x02' || *pattern == *text) {
      ++pattern;
      ++text;
    } else if (runPattern) {
      pattern = runPattern;
      text = ++runText;
    } else {
      return false;
    }
  }
  while (*pattern == '\x01') ++pattern;
  return *pattern == 0;
}

}  // namespace

SStringArray::~SStringArray() {
  DeleteAll();
  SArray<SString*>::FreeBuffer();
}

SArray<SString*>& SStringArray::operator=(const SArray<SString*>& source) {
  if (this == &source) return *this;
  DeleteAndRemoveAll();
  m_flags = source.GetFlags();
  for (int i = 0; i < source.GetCount(); ++i) {
    if (InsertAt(source[i]) < 0) break;
  }
  return *this;
}

SStringArray& SStringArray::operator=(const SStringArray& source) {
  operator=(static_cast<const SArray<SString*>&>(source));
  return *this;
}

void SStringArray::FreeBuffer() {
  DeleteAll();
  SArray<SString*>::FreeBuffer();
}

void SStringArray::CopyElement(SString** dest, SString* const* source, int, int) {
  SString* s = new SString;
  if (*source) s->Assign(**source, false);
  *dest = s;
}

int SStringArray::CompareElements(SString* const* a, SString* const* b, uint32_t flags, int) {
  const char* x = TextOf(*a);
  const char* y = TextOf(*b);
  if (flags & 1) {
    const char* t = x;
    x = y;
    y = t;
  }
  int r = (flags & 2) ? _stricmp(x, y) : strcmp(x, y);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

void SStringArray::ElementFromString(SString** dest, const char* text, int, int) {
  SString* s = new SString(text);
  s->DecodeBase64();
  *dest = s;
}

SString SStringArray::ElementToString(SString* const& element, int, int) {
  SString s(TextOf(element));
  s.EncodeBase64();
  return s;
}

void SStringArray::Copy(const SStringArray& source) {
  if (this == &source) return;
  DeleteAndRemoveAll();
  for (int i = 0; i < source.GetCount(); ++i) {
    if (Add(TextOf(source[i])) < 0) break;
  }
}

int SStringArray::Add(const char* text, int index, int count) {
  SString s(text);
  return InsertAt(&s, index, count);
}

SString SStringArray::Get(int i) const {
  if (i < 0 || i >= m_count || !m_data[i]) return SString();
  return SString(*m_data[i]);
}

int SStringArray::Find(const char* text, int start, int end) {
  SString s(text);
  return SArray<SString*>::Find(&s, start, end, 0);
}

int SStringArray::FindSorted(const char* text) {
  SString s(text);
  return SArray<SString*>::FindSorted(&s, 0, -1, 0);
}

int SStringArray::InsertSorted(const char* text) {
  SString s(text);
  return SArray<SString*>::InsertSorted(&s, 0, -1, 0);
}

int SStringArray::MatchWildcard(const char* pattern, SArray<int>* out) {
  if (!pattern) pattern = "";
  int matched = 0;
  for (int i = 0; i < m_count; ++i) {
    if (!MatchesWildcard(TextOf(m_data[i]), pattern)) continue;
    ++matched;
    if (out) out->Add(i);
  }
  return matched;
}
