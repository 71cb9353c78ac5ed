#include "core/Platform.h"
#include "core/SResource.h"

#include "core/SFilePath.h"

#include <limits.h>
#include <string.h>

namespace {

// Flags of the names list: compare without regard to case.
const uint32_t kNamesNoCase = 2;

// An entry name and its NUL lie within this many bytes.
const int kMaxNameBytes = 1024;

}  // namespace

SResource::SResource() : m_compressed(false) { m_names.m_flags = kNamesNoCase; }

SResource::~SResource() { m_names.DeleteAndRemoveAll(); }

bool SResource::SetKey(const char* text) {
  m_key.Allocate(0);
  if (text) m_key.WriteText(text);
  return true;
}

void SResource::Close() {
  m_path = SPath();
  m_compressed = false;
  m_names.DeleteAndRemoveAll();
  m_names.m_flags = kNamesNoCase;
  m_offsets.RemoveAll();
  m_sizes.RemoveAll();
}

bool SResource::Open(const char* path, int startOffset) {
  Close();
  m_path.Normalize(path);
  if (m_path.GetKind() == SPath::KIND_UNSET || !m_path.HasFileName()) return false;

  SFilePath file;
  if (!file.Open(m_path.GetPath().GetText(), false, false, true, true)) {
    Close();
    return false;
  }
  int fileSize = file.GetSize();
  if (startOffset > 0) file.Seek(startOffset);
  if (file.ReadInt32() != MAGIC) return false;
  m_compressed = (file.ReadInt32() & 0xFF) != 0;

  for (;;) {
    int at = file.Tell();
    if (fileSize - at < 4) return false;
    uint32_t size = file.ReadInt32();
    if (size == END_MARK) return true;
    // A name without its NUL in the next kMaxNameBytes bytes, or data that
    // would run past the end of the file, ends the directory.
    char name[kMaxNameBytes];
    int window = fileSize - (at + 4);
    if (window > kMaxNameBytes) window = kMaxNameBytes;
    if (window <= 0 || file.Read(name, window) != window) return false;
    const char* end = static_cast<const char*>(memchr(name, 0, window));
    if (!end) return false;
    int data = at + 4 + int(end - name) + 1;
    if (size > uint32_t(fileSize - data)) return false;
    m_names.Add(name);
    m_offsets.Add(data);
    m_sizes.Add(int(size));
    file.Seek(data + int(size));
  }
}

int SResource::Find(const char* name) {
  if (!name) return -1;
  return m_names.Find(name);
}

bool SResource::Load(SFile* output, const char* name, bool rewind) {
  if (!output || m_path.GetKind() == SPath::KIND_UNSET) return false;
  int entry = Find(name);
  if (entry < 0) return false;

  SFilePath file;
  if (!file.Open(m_path.GetPath().GetText(), false, false, true, true)) return false;
  int offset = m_offsets[entry];
  int size = m_sizes[entry];
  // The archive may have been replaced since it was opened.
  if (int64_t(offset) + size > file.GetSize() || file.Seek(offset) != offset) return false;

  int startPosition = output->Tell();
  int startSize = output->GetSize();
  bool keyed = m_key.GetSize() > 0;
  bool done;
  if (!m_compressed && output->IsMemoryFile()) {
    // Straight into the output's buffer, deciphered there.
    SFileMem* memory = static_cast<SFileMem*>(output);
    done = size <= INT_MAX - startPosition;
    if (done && size > 0) {
      if (startPosition + size > startSize) memory->SetSize(startPosition + size);
      done = file.Read(memory->GetBuffer() + startPosition, size) == size;
      if (done && keyed) done = SFile::KeyedDecode(&m_key, memory, size);
      memory->Seek(startPosition + size);
    }
  } else if (!keyed && !m_compressed) {
    done = SFile::Copy(&file, output, size) == size;
  } else {
    // The stored bytes in one read, deciphered in place.
    SFileMem stream;
    stream.Allocate(size);
    done = file.Read(stream.GetBuffer(), size) == size;
    if (done && keyed) done = SFile::KeyedDecode(&m_key, &stream, size);
    stream.Rewind();
    if (done && m_compressed) {
      if (size > 0) done = SFile::Inflate(&stream, output) > 0;
    } else if (done) {
      done = SFile::Copy(&stream, output) == size;
    }
  }

  if (!done) {
    // Nothing of a failed entry stays beyond what the output held.
    if (output->GetSize() > startSize) output->SetSize(startSize);
    output->Seek(startPosition);
    return false;
  }
  if (rewind) output->Rewind();
  return true;
}
