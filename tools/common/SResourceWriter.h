// Writer of data archives that SResource reads: magic "SRES", the flags
// word, the entries and the terminator. Each entry is compressed in the
// block format of SFile::Compress when the archive is compressed, then
// enciphered with the keyed encode (key index 0 at the entry's first byte)
// when a key is set.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"

class SResourceWriter {
public:
  SResourceWriter();
  virtual ~SResourceWriter();

  // The key's bytes are the text without its NUL; an empty text means none.
  bool SetKey(const char* text);
  // Starts an archive at the destination's position.
  bool Begin(SFile* destination, bool compressed);
  // Adds n bytes of the source from its position (n < 0: the rest) as the
  // entry name. False when no archive is begun or the destination does not
  // take the bytes.
  bool Add(const char* name, SFile* source, int n = -1);
  // Writes the terminator; the writer is then idle.
  bool End();

private:
  SResourceWriter(const SResourceWriter&) = delete;
  SResourceWriter& operator=(const SResourceWriter&) = delete;

  SFileMem m_key;
  SFile* m_destination;
  bool m_compressed;
};
