#include "core/Platform.h"
#include "tools/common/SResourceWriter.h"

#include "core/SResource.h"

#include <string.h>

SResourceWriter::SResourceWriter() : m_destination(nullptr), m_compressed(false) {}

SResourceWriter::~SResourceWriter() {}

bool SResourceWriter::SetKey(const char* text) {
  m_key.Allocate(0);
  if (text) m_key.WriteText(text);
  return true;
}

bool SResourceWriter::Begin(SFile* destination, bool compressed) {
  m_destination = nullptr;
  if (!destination) return false;
  if (destination->WriteInt32(SResource::MAGIC) != 4 ||
      destination->WriteInt32(compressed ? 1 : 0) != 4)
    return false;
  m_destination = destination;
  m_compressed = compressed;
  return true;
}

bool SResourceWriter::Add(const char* name, SFile* source, int n) {
  if (!m_destination || !name || !source) return false;
  int remaining = source->GetRemaining();
  if (n < 0 || n > remaining) n = remaining;

  SFileMem data;
  data.Allocate(0);
  if (m_compressed) {
    if (n > 0 && SFile::Compress(source, &data, n) <= 0) return false;
  } else if (SFile::Copy(source, &data, n) != n) {
    return false;
  }
  if (m_key.GetSize() > 0 && data.GetSize() > 0) {
    data.Rewind();
    if (!SFile::KeyedEncode(&m_key, &data)) return false;
  }

  int size = data.GetSize();
  int nameSize = int(strlen(name)) + 1;
  data.Rewind();
  return m_destination->WriteInt32(uint32_t(size)) == 4 &&
         m_destination->WriteText(name, nameSize) == nameSize &&
         SFile::Copy(&data, m_destination) == size;
}

bool SResourceWriter::End() {
  if (!m_destination) return false;
  bool written = m_destination->WriteInt32(SResource::END_MARK) == 4;
  m_destination = nullptr;
  return written;
}
