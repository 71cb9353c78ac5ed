// A file on disk, through the C runtime's buffered streams, opened in one of
// the modes "rb", "wb", "ab", "w+b" and "r+b", or as an anonymous temporary
// file that is deleted when it is closed.
//
// A stream open for reading and writing keeps the C runtime's rule: between
// a write and a following read (or the reverse) the caller seeks.
#pragma once

#include "core/Platform.h"
#include "core/SFile.h"

#include <stdio.h>

class SFilePath : public SFile {
public:
  // Closed, both names empty.
  SFilePath();
  // The same, then Open with the same arguments; test the result with IsOpen.
  SFilePath(const char* name, bool write, bool create, bool read, bool shared);
  ~SFilePath() override;

  // Mode from the flags: read+write+create "w+b", read+write "r+b", read
  // "rb", write+create "wb", write "ab"; neither read nor write fails.
  // shared lets other streams and processes read and write the file
  // meanwhile. False leaves the file closed with empty names.
  bool Open(const char* name, bool write, bool create, bool read, bool shared);
  // A new temporary file ("w+b"), deleted by Close.
  bool OpenTemp();

  // The name the file was opened under (empty for a temporary file) and the
  // temporary file's name (empty otherwise).
  const SString& GetName() const { return m_name; }
  const SString& GetTempName() const { return m_tempName; }
  bool IsTemporary() const { return m_temporary; }

  bool IsOpen() const override { return m_stream != nullptr; }
  // Closes the stream and deletes a temporary file.
  void Close() override;

  bool Crc32(uint32_t& crc) override;
  SString Md5() override;
  SString Sha1() override;

  int Write(const void* data, int n) override { return WriteData(data, n); }
  int WriteText(const char* text, int n = -1) override;
  int WriteData(const void* data, int n) override;
  int WriteWide(const wchar_t* text, int n = -1) override;
  int WriteLine(const char* text) override;

  SString ReadString(int n = -1) override;
  int Read(void* buffer, int n) override { return ReadData(buffer, n); }
  int ReadData(void* buffer, int n) override;
  SUniString ReadWide(int n = -1) override;
  SString ReadLine(bool keepBlanks, int max = -1, bool* lineBreak = nullptr) override;
  SString ReadStringZ(bool keep) override;

  // 0 when closed.
  int Seek(int pos) override;
  int Tell() const override;
  // False when closed or n < 0; the position is n afterwards.
  bool SetSize(int n) override;
  int GetSize() const override;
  int GetRemaining() const override;
  bool IsEOF() const override;

  int Find(const void* pattern, int n, bool returnEnd) override;

private:
  // Feeds the whole file, in 100-byte reads, to fn(data, n); restores the
  // position. False when closed or when a read stops early.
  template <class Fn>
  bool ReadAll(Fn fn);

  FILE* m_stream;
  SString m_name;
  SString m_tempName;
  bool m_temporary;
  bool m_readOnly;  // opened "rb": no buffered writes can pend
};
