// A file whose bytes live in one growable memory buffer.
//
// The capacity is always the first of 256, 512, 1024, ... that holds the
// size; a size change that wants another capacity reallocates, shrinking
// included. Only a closed file (no buffer) has capacity 0. The file opens
// when it first gets a buffer (writing, loading, allocating).
#pragma once

#include "core/Platform.h"
#include "core/SFile.h"

#include <stdint.h>

class SFileMem : public SFile {
public:
  enum { MIN_CAPACITY = 256 };

  // An empty, closed file.
  SFileMem();
  // Loads the resource of that type and numeric id from the program's own
  // module; stays empty when it is missing.
  SFileMem(const char* type, WORD id);
  // The text's bytes (without the NUL), rewound; an empty or null text
  // leaves the file closed.
  explicit SFileMem(const char* text);
  ~SFileMem() override;

  // Size n (negative counts as 0) in a buffer of the matching capacity, the
  // old bytes dropped; position 0. Allocate(0) empties an open file.
  void Allocate(int n);
  // Size n (negative counts as 0), keeping the first min(old size, n) bytes.
  void Resize(int n);
  // The whole disk file; false (and the file unchanged) when it cannot be
  // opened.
  bool LoadFile(const char* name);
  // The resource of that type and numeric id (module null: the program's own
  // module); false, with the file left open and empty, when it is missing.
  bool LoadResource(const char* type, WORD id, HMODULE module = nullptr);

  // Straight access to the bytes (null while closed).
  uint8_t* GetBuffer() { return m_buffer; }
  const uint8_t* GetBuffer() const { return m_buffer; }
  int GetCapacity() const { return m_capacity; }

  bool IsOpen() const override { return m_buffer != nullptr; }
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

  int Seek(int pos) override;
  int Tell() const override { return m_position; }
  // Always true; a position beyond the new size is pulled back to it.
  bool SetSize(int n) override;
  int GetSize() const override { return m_size; }
  int GetRemaining() const override { return m_size - m_position; }
  bool IsEOF() const override { return m_position == m_size; }

  int Find(const void* pattern, int n, bool returnEnd) override;

  // The capacity that holds n bytes.
  static int CapacityFor(int n);

private:
  // Makes room for n more bytes at the position; false when that would
  // overflow the size.
  bool GrowFor(int n);

  uint8_t* m_buffer;
  int m_size;
  int m_capacity;
  int m_position;
};
