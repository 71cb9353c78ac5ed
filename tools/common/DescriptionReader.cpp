#include "core/Platform.h"
#include "tools/common/DescriptionReader.h"

#include "core/SFileMem.h"

#include <stdarg.h>

DescriptionReader::DescriptionReader() : m_position(0), m_lineNumber(0) {}

DescriptionReader::~DescriptionReader() { ClearFields(); }

void DescriptionReader::ClearFields() {
  for (int i = 0; i < m_fields.GetCount(); ++i) delete m_fields[i];
  m_fields.RemoveAll();
}

bool DescriptionReader::Load(const char* path) {
  m_path = path;
  m_position = 0;
  m_lineNumber = 0;
  ClearFields();
  SFileMem file;
  if (!file.LoadFile(path)) return Fail("cannot be read");
  int size = file.GetSize();
  file.Rewind();
  m_text = file.ReadString();
  if (m_text.GetLength() != size || (int)strlen(m_text.GetText()) != size) return Fail("holds a NUL byte");
  return true;
}

bool DescriptionReader::Next() {
  const char* text = m_text.GetText();
  int length = m_text.GetLength();
  while (m_position < length) {
    ClearFields();
    ++m_lineNumber;
    int end = m_position;
    while (end < length && text[end] != '\n') ++end;
    int i = m_position;
    m_position = end < length ? end + 1 : end;
    while (i < end) {
      while (i < end && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
      if (i >= end || text[i] == '#') break;
      int start = i;
      while (i < end && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') ++i;
      m_fields.Add(new SString(m_text.Mid(start, i - start)));
    }
    if (m_fields.GetCount() > 0) return true;
  }
  ClearFields();
  return false;
}

SString DescriptionReader::Get(int i) const {
  if (i < 0 || i >= m_fields.GetCount()) return SString("");
  return *m_fields[i];
}

bool DescriptionReader::ParseNumber(const char* text, double& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  value = strtod(text, &end);
  return end && *end == 0;
}

bool DescriptionReader::GetNumber(int i, double& value) {
  if (i >= m_fields.GetCount()) return Fail("field %d is missing", i + 1);
  if (!ParseNumber(m_fields[i]->GetText(), value))
    return Fail("\"%s\" is not a number", m_fields[i]->GetText());
  return true;
}

bool DescriptionReader::GetInt(int i, int& value) {
  double d = 0;
  if (!GetNumber(i, d)) return false;
  if (d != (double)(int)d) return Fail("\"%s\" is not a whole number", m_fields[i]->GetText());
  value = (int)d;
  return true;
}

bool DescriptionReader::HasOption(const char* key, int from) const {
  int n = (int)strlen(key);
  for (int i = from; i < m_fields.GetCount(); ++i) {
    const char* field = m_fields[i]->GetText();
    if (strncmp(field, key, n) == 0 && field[n] == '=') return true;
  }
  return false;
}

SString DescriptionReader::GetOption(const char* key, int from) const {
  int n = (int)strlen(key);
  for (int i = from; i < m_fields.GetCount(); ++i) {
    const char* field = m_fields[i]->GetText();
    if (strncmp(field, key, n) == 0 && field[n] == '=') return SString(field + n + 1);
  }
  return SString("");
}

bool DescriptionReader::Fail(const char* format, ...) {
  char message[512];
  va_list args;
  va_start(args, format);
  vsnprintf(message, sizeof(message), format, args);
  va_end(args);
  if (m_lineNumber > 0)
    m_error.Format("%s:%d: %s", m_path.GetText(), m_lineNumber, message);
  else
    m_error.Format("%s: %s", m_path.GetText(), message);
  return false;
}
