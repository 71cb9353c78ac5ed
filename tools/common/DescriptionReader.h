// Reads the line-based description files of the data generators: one record
// per line, fields separated by blanks or tabs, a field that begins with "#"
// starts a comment that runs to the end of the line, blank lines are
// skipped. Fields of the form
// key=value are options; Option looks them up by key.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class DescriptionReader {
public:
  DescriptionReader();
  ~DescriptionReader();
  DescriptionReader(const DescriptionReader&) = delete;
  DescriptionReader& operator=(const DescriptionReader&) = delete;

  // Reads the whole file; false when it cannot be read.
  bool Load(const char* path);
  // Moves to the next record; false at the end of the file.
  bool Next();

  int GetLineNumber() const { return m_lineNumber; }
  const SString& GetPath() const { return m_path; }
  int GetCount() const { return m_fields.GetCount(); }
  // Field i of the current record; empty beyond the last.
  SString Get(int i) const;
  // Field i as a number; false (with the message set) when it is missing or
  // not entirely a number.
  bool GetNumber(int i, double& value);
  bool GetInt(int i, int& value);
  // The value of the first option "key=..." from field "from" on; empty
  // when there is none.
  bool HasOption(const char* key, int from) const;
  SString GetOption(const char* key, int from) const;
  // "path:line: " followed by the formatted message, kept for GetError.
  bool Fail(const char* format, ...);
  const SString& GetError() const { return m_error; }

  // A whole string as a number; false unless all of it was read.
  static bool ParseNumber(const char* text, double& value);

private:
  void ClearFields();

  SString m_path;
  SString m_text;
  int m_position;
  int m_lineNumber;
  SArray<SString*> m_fields;
  SString m_error;
};
