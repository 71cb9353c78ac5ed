#include "core/Platform.h"
#include "core/SIni.h"

#include <string.h>

namespace {

// A header line: "[" ... "]", at least 2 characters.
bool IsHeader(const SString& line) {
  int n = line.GetLength();
  return n >= 2 && line.GetAt(0) == '[' && line.GetAt(n - 1) == ']';
}

}  // namespace

SIni::SIni() : m_mode(MODE_NONE) {}

SIni::~SIni() {}

bool SIni::Load(SFile* source) {
  if (!source) return false;
  m_mode = MODE_MEMORY;
  m_path.Empty();
  m_text.Allocate(0);
  SFile::Copy(source, &m_text);
  return true;
}

bool SIni::FindSection(const char* section) {
  m_text.Rewind();
  while (!m_text.IsEOF()) {
    SString line = m_text.ReadLine(false);
    if (IsHeader(line) && line.Mid(1, line.GetLength() - 2).CompareNoCase(section) == 0)
      return true;
  }
  return false;
}

SString SIni::GetValue(const char* section, const char* key) {
  if (m_mode != MODE_MEMORY || !section || !key) return SString("");
  if (!FindSection(section)) return SString("");

  while (!m_text.IsEOF()) {
    SString line = m_text.ReadLine(true);
    if (line.GetLength() < 2) continue;
    // A header ends the section, also when blanks surround it.
    SString trimmed(line);
    trimmed.Trim();
    if (IsHeader(trimmed)) break;
    int equals = line.FindChar('=');
    if (equals < 0) continue;
    if (line.Left(equals).CompareNoCase(key) == 0) return line.Mid(equals + 1);
  }
  return SString("");
}
