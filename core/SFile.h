// The framework's byte-stream interface, implemented by the memory file
// (SFileMem) and the disk file (SFilePath).
//
// Reading and writing share one position; writing past the size grows the
// file. Positions and sizes are signed 32-bit byte counts; multi-byte
// integers are little-endian; wide text is 16-bit units, low byte first.
// Results are byte counts, positions, bools, or -1 for "not found" / "nothing
// left"; a closed file reads nothing and counts as being at its end.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "core/SUniString.h"

#include <stdint.h>

// Progress of a long transform in per mille; false cancels it.
typedef bool (*SFileProgress)(int perMille, void* userData);

class SFile {
public:
  // Transform kinds, indexes of the progress handlers.
  enum {
    PROGRESS_KEYED_ENCODE = 0,
    PROGRESS_KEYED_DECODE,
    PROGRESS_COMPRESS,
    PROGRESS_INFLATE,
    PROGRESS_BASE64_ENCODE,
    PROGRESS_BASE64_DECODE,
    PROGRESS_COUNT
  };

  // Compressed stream: blocks of at most BLOCK_SIZE input bytes, each packed
  // into at most PACKED_SIZE bytes.
  enum { BLOCK_SIZE = 100000, PACKED_SIZE = 110012 };

  virtual ~SFile();

  // True while the file holds storage (a buffer, an open stream).
  virtual bool IsOpen() const = 0;
  // Releases the storage.
  virtual void Close() = 0;

  // Checksums of the whole content, whatever the position. Crc32 is false
  // and the digests are empty when the file is not open (or a disk read
  // stops early).
  virtual bool Crc32(uint32_t& crc) = 0;
  virtual SString Md5() = 0;
  virtual SString Sha1() = 0;

  // Writing at the position; each returns the bytes written.
  virtual int Write(const void* data, int n) = 0;  // same as WriteData
  // n < 0: the text's length up to its NUL (the NUL is not written).
  virtual int WriteText(const char* text, int n = -1) = 0;
  // n < 1 writes nothing and returns 0.
  virtual int WriteData(const void* data, int n) = 0;
  // 4 bytes, low byte first, through Write.
  virtual int WriteInt32(uint32_t value);
  // n 16-bit units (n < 0: up to the terminating 0), each low byte first;
  // returns twice the units written.
  virtual int WriteWide(const wchar_t* text, int n = -1) = 0;
  // The text, then CR LF; returns the bytes including the 2.
  virtual int WriteLine(const char* text) = 0;

  // Reading from the position.
  // The next n bytes (n < 0: all that remain; clamped), NUL bytes included.
  virtual SString ReadString(int n = -1) = 0;
  virtual int Read(void* buffer, int n) = 0;  // same as ReadData
  // Up to n bytes; returns the count (0 for n < 1 or at the end).
  virtual int ReadData(void* buffer, int n) = 0;
  // Up to 4 bytes into a value preset to 0, low byte first.
  virtual uint32_t ReadInt32();
  // n units of 2 bytes (n < 0: all that remain); an odd last byte stays.
  virtual SUniString ReadWide(int n = -1) = 0;
  // One line: only CR LF ends it (consumed, not part of the text, sets
  // *lineBreak); so do the end of the data and, with max > 0, max bytes
  // taken. Leading and trailing spaces and tabs are removed unless
  // keepBlanks. A memory file keeps a lone CR or LF in the text, a disk file
  // drops it.
  virtual SString ReadLine(bool keepBlanks, int max = -1, bool* lineBreak = nullptr) = 0;
  // ReadLine, then "\r\n" appended when a line break ended the line.
  virtual SString ReadLineWithBreak(bool keepBlanks, int max = -1);
  // Up to a NUL byte (consumed) or the end; keep false skips the text and
  // returns the empty string.
  virtual SString ReadStringZ(bool keep) = 0;

  // pos < 0 or pos > size moves to the end; returns the new position.
  virtual int Seek(int pos) = 0;
  virtual int Tell() const = 0;
  // Keeps the first min(old size, n) bytes.
  virtual bool SetSize(int n) = 0;
  virtual int GetSize() const = 0;
  virtual int GetRemaining() const = 0;
  virtual bool IsEOF() const = 0;

  // Find with the text up to its NUL.
  virtual int FindText(const char* text, bool returnEnd);
  // Forward search from the position. On a match the position is left after
  // the matched bytes and the result is the match's start (or its end with
  // returnEnd); otherwise -1, with the position at the first start from which
  // fewer than n bytes remain. n < 1 gives -1 and leaves the position.
  virtual int Find(const void* pattern, int n, bool returnEnd) = 0;

  // The file itself when it is open, else null.
  operator void*() { return IsOpen() ? this : nullptr; }
  int WriteByte(uint8_t value);
  // -1 at the end, else 0 to 255.
  int ReadByte();
  // The text and its NUL.
  int WriteStringZ(const char* text);
  void Rewind() { Seek(0); }
  void SeekToEnd() { Seek(GetSize()); }
  // n limited to the bytes from the position to the end; n < 0 means all of
  // them.
  int ClampToRemaining(int n) const;

  bool IsMemoryFile() const { return m_memory; }
  SFileProgress GetProgressHandler(int kind) const;
  void SetProgressHandler(int kind, SFileProgress handler);

  // Transforms between files. Each starts at the source's position, leaves
  // it after what it consumed, and writes at the destination's position.

  // n bytes (n < 0 or more than remain: the rest); returns the bytes the
  // destination accepted.
  static int Copy(SFile* source, SFile* destination, int n = -1);
  // n bytes of value; stops at the first block not accepted in full and
  // returns the bytes written.
  static int WriteFill(SFile* destination, uint8_t value, int n);
  // Adds (encode) or subtracts (decode) the key's bytes, cyclically, to the
  // n bytes from the source's position (n < 0: to the end). The key is the
  // key file's whole content (an empty one leaves the data unchanged).
  // Without a destination the source is changed in place.
  static bool KeyedEncode(SFile* key, SFile* source, int n = -1, SFile* destination = nullptr,
                          void* userData = nullptr);
  static bool KeyedDecode(SFile* key, SFile* source, int n = -1, SFile* destination = nullptr,
                          void* userData = nullptr);
  // Block-wise zlib: u32 block count, then per block u32 U, u32 C and C
  // bytes of zlib data. Returns the bytes written, 0 on failure or when there
  // is nothing to do.
  static int Compress(SFile* source, SFile* destination, int n = -1, void* userData = nullptr);
  // The inverse of Compress; returns the bytes written. A stream with a
  // block count, sizes or zlib data that do not hold gives 0; the blocks
  // before the failing one stay written, nothing of that one does.
  static int Inflate(SFile* source, SFile* destination, void* userData = nullptr);
  // Standard: A-Z a-z 0-9 + /, lines of lineLength characters (rounded up to
  // a multiple of 4; below 4 fails) each followed by CR LF, terminator "=".
  // URL-safe: - _ in place of + /, one line, terminator "@". No padding.
  static bool Base64Encode(SFile* source, SFile* destination, int lineLength, bool urlSafe);
  static SString ToBase64(SFile* source, int lineLength, bool urlSafe);
  // Accepts both alphabets; stops at "=" or "@" or at the end of the source.
  static bool Base64Decode(SFile* source, SFile* destination, void* userData = nullptr);

protected:
  explicit SFile(bool memory);

  // A string of the n bytes at p, NUL bytes included.
  static SString MakeString(const void* p, int n);
  // The same without leading and trailing spaces and tabs unless keepBlanks:
  // the text of a line that ReadLine returns.
  static SString MakeLine(const void* p, int n, bool keepBlanks);

  SFileProgress m_progress[PROGRESS_COUNT];
  bool m_memory;

private:
  SFile(const SFile&) = delete;
  SFile& operator=(const SFile&) = delete;
};
