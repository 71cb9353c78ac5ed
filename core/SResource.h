// Reader of a data archive ("SRES"): a file of named entries, each stored
// whole, optionally enciphered with the keyed byte transform and optionally
// compressed in the block format of SFile::Compress.
//
// Layout (u32 little-endian; offsets relative to the archive's start, which
// may lie inside a larger file): magic "SRES"; flags (a non-zero low byte
// means every entry is compressed); entries, each a size S, the name with its
// NUL and S bytes of data; 0xFFFFFFFF where the next size would be.
//
// Opening reads only the directory; every load opens the file again.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SFileMem.h"
#include "core/SPath.h"
#include "core/SStringArray.h"

#include <stdint.h>

class SResource {
public:
  enum : uint32_t { MAGIC = 0x53455253, END_MARK = 0xFFFFFFFF };

  SResource();
  virtual ~SResource();

  // The key's bytes are the text without its NUL; an empty text leaves no
  // key. Always true.
  bool SetKey(const char* text);
  // Reads the directory of the archive that begins at startOffset. False for
  // a bad path, a file that cannot be opened, a wrong magic, or an archive
  // that ends (or holds an entry that runs past the file's end) before the
  // terminator; the entries read up to there stay loadable.
  bool Open(const char* path, int startOffset = 0);
  // Writes the entry's bytes (deciphered, inflated) into output at its
  // position; the first entry whose name equals name without regard to case
  // is taken. With rewind the output is rewound afterwards. False for a null
  // output, an unopened archive, an unknown name, an archive that can no
  // longer be read, or a compressed entry that does not inflate.
  bool Load(SFile* output, const char* name, bool rewind);
  // Forgets the path and the directory; the key stays.
  void Close();

  // The directory.
  const SPath& GetPath() const { return m_path; }
  bool IsCompressed() const { return m_compressed; }
  int GetCount() const { return m_names.GetCount(); }
  SString GetName(int i) const { return m_names.Get(i); }
  // Absolute position of the entry's first data byte in the file, and its
  // stored size; -1 for a bad index.
  int GetOffset(int i) const { return i >= 0 && i < m_offsets.GetCount() ? m_offsets[i] : -1; }
  int GetStoredSize(int i) const { return i >= 0 && i < m_sizes.GetCount() ? m_sizes[i] : -1; }
  // Index of the entry, or -1.
  int Find(const char* name);

private:
  SResource(const SResource&) = delete;
  SResource& operator=(const SResource&) = delete;

  SFileMem m_key;
  SPath m_path;
  bool m_compressed;
  SStringArray m_names;
  SArray<int> m_offsets;
  SArray<int> m_sizes;
};
