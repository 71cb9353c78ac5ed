#include "core/Platform.h"
#include "core/SFilePath.h"

#include "core/SDigest.h"
#include "core/SDisk.h"

#include <io.h>
#include <limits.h>
#include <share.h>
#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace {

// Bytes per read when a whole file is digested.
const int kDigestChunk = 100;
// Bytes per read when a file is searched.
const int kFindChunk = 4096;

}  // namespace

SFilePath::SFilePath()
    : SFile(false), m_stream(nullptr), m_temporary(false), m_readOnly(false) {}

SFilePath::SFilePath(const char* name, bool write, bool create, bool read, bool shared)
    : SFilePath() {
  Open(name, write, create, read, shared);
}

SFilePath::~SFilePath() {
  Close();
}

bool SFilePath::Open(const char* name, bool write, bool create, bool read, bool shared) {
  Close();
  if (!name || !*name) return false;
  const char* mode;
  if (read && write) mode = create ? "w+b" : "r+b";
  else if (read) mode = "rb";
  else if (write) mode = create ? "wb" : "ab";
  else return false;
  FILE* stream = nullptr;
  if (shared) stream = _fsopen(name, mode, _SH_DENYNO);
  else if (fopen_s(&stream, name, mode) != 0) stream = nullptr;
  if (!stream) return false;
  m_stream = stream;
  m_name = name;
  m_temporary = false;
  m_readOnly = read && !write;
  return true;
}

bool SFilePath::OpenTemp() {
  Close();
  SDisk disk;
  SString name = disk.GetTempFileName();
  if (name.GetLength() == 0) return false;
  FILE* stream = nullptr;
  if (fopen_s(&stream, name.GetText(), "w+b") != 0 || !stream) {
    ::DeleteFileA(name.GetText());
    return false;
  }
  m_stream = stream;
  m_tempName = name;
  m_temporary = true;
  m_readOnly = false;
  return true;
}

void SFilePath::Close() {
  if (!m_stream) return;
  fclose(m_stream);
  m_stream = nullptr;
  if (m_tempName.GetLength() > 0) ::DeleteFileA(m_tempName.GetText());
  m_name.Empty();
  m_tempName.Empty();
  m_temporary = false;
}

template <class Fn>
bool SFilePath::ReadAll(Fn fn) {
  if (!IsOpen()) return false;
  int saved = Tell();
  Rewind();
  int size = GetSize();
  uint8_t chunk[kDigestChunk];
  for (int done = 0; done < size;) {
    int got = ReadData(chunk, kDigestChunk);
    if (got == 0) return false;
    fn(chunk, got);
    done += got;
  }
  Seek(saved);
  return true;
}

bool SFilePath::Crc32(uint32_t& crc) {
  uint32_t reg = SDigest::CRC32_START;
  if (!ReadAll([&reg](const uint8_t* p, int n) { reg = SDigest::Crc32Update(reg, p, n); }))
    return false;
  crc = ~reg;
  return true;
}

SString SFilePath::Md5() {
  SDigest::_SMd5 md5;
  md5.Init();
  if (!ReadAll([&md5](const uint8_t* p, int n) { md5.Update(p, n); })) return SString("");
  uint8_t digest[SDigest::MD5_SIZE];
  md5.Final(digest);
  return SDigest::ToHex(digest, SDigest::MD5_SIZE);
}

SString SFilePath::Sha1() {
  SDigest::_SSha1 sha1;
  sha1.Init();
  if (!ReadAll([&sha1](const uint8_t* p, int n) { sha1.Update(p, n); })) return SString("");
  uint8_t digest[SDigest::SHA1_SIZE];
  sha1.Final(digest);
  return SDigest::ToHex(digest, SDigest::SHA1_SIZE);
}

int SFilePath::WriteText(const char* text, int n) {
  if (!text) return 0;
  if (n < 0) n = int(strlen(text));
  return WriteData(text, n);
}

int SFilePath::WriteData(const void* data, int n) {
  if (!m_stream || !data || n < 1) return 0;
  return int(fwrite(data, 1, size_t(n), m_stream));
}

int SFilePath::WriteWide(const wchar_t* text, int n) {
  if (!m_stream || !text) return 0;
  if (n < 0) n = int(wcslen(text));
  if (n < 1 || n > INT_MAX / 2) return 0;
  return 2 * int(fwrite(text, 2, size_t(n), m_stream));
}

int SFilePath::WriteLine(const char* text) {
  if (!m_stream) return 0;
  int written = 0;
  size_t length = text ? strlen(text) : 0;
  if (length > 0) written += int(fwrite(text, 1, length, m_stream));
  written += int(fwrite("\r\n", 1, 2, m_stream));
  return written;
}

SString SFilePath::ReadString(int n) {
  n = ClampToRemaining(n);
  if (n <= 0) return SString("");
  SString text("");
  text.SetLength(n, false);
  int got = int(fread(const_cast<char*>(text.GetText()), 1, size_t(n), m_stream));
  text.SetLength(got, true);
  return text;
}

int SFilePath::ReadData(void* buffer, int n) {
  if (!m_stream || !buffer || n < 1) return 0;
  // fread stops at the end of the file by itself.
  return int(fread(buffer, 1, size_t(n), m_stream));
}

SUniString SFilePath::ReadWide(int n) {
  int units = GetRemaining() / 2;
  if (n >= 0 && n < units) units = n;
  SUniString text;
  if (units <= 0) return text;
  text.SetLength(units, false);
  int got = int(fread(text.GetBuffer(), 2, size_t(units), m_stream));
  text.SetLength(got, true);
  return text;
}

SString SFilePath::ReadLine(bool keepBlanks, int max, bool* lineBreak) {
  if (lineBreak) *lineBreak = false;
  if (max == 0 || !m_stream) return SString("");
  std::string text;
  bool afterCr = false;
  for (;;) {
    int c = fgetc(m_stream);
    if (c == EOF) break;
    if (c == '\n' && afterCr) {
      if (lineBreak) *lineBreak = true;
      break;
    }
    afterCr = c == '\r';
    if (c == '\r' || c == '\n') continue;
    text.push_back(char(c));
    if (max > 0 && int(text.size()) >= max) break;
  }
  return MakeLine(text.data(), int(text.size()), keepBlanks);
}

SString SFilePath::ReadStringZ(bool keep) {
  if (!m_stream) return SString("");
  std::string text;
  for (;;) {
    int c = fgetc(m_stream);
    if (c == EOF || c == 0) break;
    if (keep) text.push_back(char(c));
  }
  return MakeString(text.data(), int(text.size()));
}

int SFilePath::Seek(int pos) {
  if (!m_stream) return 0;
  int size = GetSize();
  if (pos < 0 || pos > size) pos = size;
  if (fseek(m_stream, pos, SEEK_SET) != 0) return Tell();
  return pos;
}

int SFilePath::Tell() const {
  if (!m_stream) return 0;
  long pos = ftell(m_stream);
  return pos < 0 ? GetSize() : int(pos);
}

bool SFilePath::SetSize(int n) {
  if (!m_stream || n < 0) return false;
  if (fseek(m_stream, n, SEEK_SET) != 0) return false;
  if (_chsize(_fileno(m_stream), n) != 0) return false;
  fseek(m_stream, n, SEEK_SET);
  return true;
}

int SFilePath::GetSize() const {
  if (!m_stream) return 0;
  // A read-only stream has nothing buffered to write: the length on disk is
  // its size, and asking for it leaves the stream's read buffer alone.
  if (m_readOnly) {
    long length = _filelength(_fileno(m_stream));
    return length < 0 ? 0 : int(length);
  }
  long pos = ftell(m_stream);
  if (pos < 0 || fseek(m_stream, 0, SEEK_END) != 0) return 0;
  long size = ftell(m_stream);
  fseek(m_stream, pos, SEEK_SET);
  return size < 0 ? 0 : int(size);
}

int SFilePath::GetRemaining() const {
  if (!m_stream) return 0;
  int remaining = GetSize() - Tell();
  return remaining < 0 ? 0 : remaining;
}

bool SFilePath::IsEOF() const {
  return !m_stream || Tell() >= GetSize();
}

int SFilePath::Find(const void* pattern, int n, bool returnEnd) {
  if (!m_stream || !pattern || n < 1) return -1;
  const uint8_t* bytes = static_cast<const uint8_t*>(pattern);
  int size = GetSize();
  int start = Tell();
  if (size - start < n) return -1;
  // A window of the file [windowStart, windowStart + windowLength), read
  // forward; the stream stays at its end until the final seek.
  std::vector<uint8_t> window(size_t(n) + kFindChunk);
  int windowStart = start;
  int windowLength = 0;
  while (size - start >= n) {
    if (start + n > windowStart + windowLength) {
      int keep = windowStart + windowLength - start;
      if (keep < 0) keep = 0;
      memmove(window.data(), window.data() + (start - windowStart), keep);
      windowStart = start;
      windowLength = keep;
      int want = int(window.size()) - windowLength;
      if (want > size - (windowStart + windowLength)) want = size - (windowStart + windowLength);
      int got = want > 0 ? int(fread(window.data() + windowLength, 1, size_t(want), m_stream)) : 0;
      if (got <= 0) break;
      windowLength += got;
      if (start + n > windowStart + windowLength) continue;
    }
    int last = windowStart + windowLength - n;  // the last start inside the window
    const uint8_t* data = window.data();
    while (start <= last) {
      const uint8_t* hit = static_cast<const uint8_t*>(
          memchr(data + (start - windowStart), bytes[0], last - start + 1));
      if (!hit) {
        start = last + 1;
        break;
      }
      start = windowStart + int(hit - data);
      if (memcmp(hit, bytes, n) == 0) {
        fseek(m_stream, start + n, SEEK_SET);
        return returnEnd ? start + n : start;
      }
      ++start;
    }
  }
  fseek(m_stream, start, SEEK_SET);
  return -1;
}
