// Lookups in an INI-style text: "[section]" lines open sections, "key=value"
// lines inside them hold values. Lines end with CR LF; section and key names
// compare without regard to case; there is no comment syntax. Every lookup
// scans the text from its start.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SString.h"

class SIni {
public:
  SIni();
  virtual ~SIni();

  // Copies everything of the source from its position to its end; false for
  // a null source.
  bool Load(SFile* source);
  // The value after the key's first "="; empty when the section or the key
  // is missing (or nothing was loaded).
  SString GetValue(const char* section, const char* key);

private:
  enum { MODE_NONE = 0, MODE_MEMORY = 2 };

  // Leaves the text after the header line of the section; false when there
  // is none.
  bool FindSection(const char* section);

  int m_mode;
  SString m_path;
  SFileMem m_text;
};
