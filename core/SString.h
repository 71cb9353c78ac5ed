// The framework's 8-bit text string, held by value.
//
// The buffer capacity is always the first of 8, 16, 32, ... that holds the
// length plus the terminating NUL; a length change that wants another
// capacity (larger or smaller) reallocates. A default-constructed string has
// no buffer ("never set") and behaves as the empty string, except that
// GetText and ToWide return null and GetMd5 returns the empty string.
// Indexes and counts are signed; out-of-range values are clamped or ignored.
#pragma once

#include "core/Platform.h"

#include <stdarg.h>
#include <stdint.h>

template <class T>
class SArray;

class SString {
public:
  // Construction, release and tracking.
  SString();
  // Copies the text only: user values 0, not tracked.
  SString(const SString& source);
  // A null pointer gives the empty string.
  SString(const char* text);
  // UTF-16 text converted to the ANSI code page; null or a failed conversion
  // gives the empty string.
  SString(const wchar_t* text);
  virtual ~SString();
  // Strings made with new while an SStringPool scope is open live in that
  // pool (see SStringPool); any other is made on the heap.
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size);

  // Both free the buffer and return to the never-set state; the tracked flag
  // and the user values stay.
  void Empty();
  void Free();

  // A tracked string is entered (once) in a global list sorted by address,
  // whose texts ReleaseTrackedStrings frees at framework shutdown. A tracked
  // string must not move in memory.
  void SetTracked(bool tracked);
  bool IsTracked() const { return m_tracked; }
  static SArray<SString*>& GetTrackedStrings();
  // Empties and untracks the list's strings from the last to the first, then
  // frees the list's buffer.
  static void ReleaseTrackedStrings();

  // Assignment. Set(null) gives the empty string with an 8-byte buffer; the
  // text may point into this string's own buffer.
  SString& Set(const char* text);
  SString& operator=(const char* text);
  // Text only (Assign with textOnly true).
  SString& operator=(const SString& source);
  // Copies the text; with textOnly false also the two user values.
  SString& Assign(const SString& source, bool textOnly);

  // Access.
  const char* GetText() const { return m_text; }
  int GetLength() const { return m_length; }
  int GetCapacity() const { return m_capacity; }
  // 0 when i is out of range or there is no buffer.
  char GetAt(int i) const;
  unsigned char GetByteAt(int i) const;
  // Writes c when 0 <= i < length; writing NUL cuts the length to i.
  void SetAt(int i, char c);

  uint32_t GetUserValue1() const { return m_user1; }
  uint32_t GetUserValue2() const { return m_user2; }
  void SetUserValue1(uint32_t value) { m_user1 = value; }
  void SetUserValue2(uint32_t value) { m_user2 = value; }

  // Comparison: byte-wise equality; CompareNoCase gives -1, 0 or 1 (_stricmp).
  // A null pointer compares as the empty string.
  bool operator==(const char* text) const;
  bool operator!=(const char* text) const { return !(*this == text); }
  bool operator==(const SString& other) const { return *this == other.m_text; }
  bool operator!=(const SString& other) const { return !(*this == other.m_text); }
  int CompareNoCase(const char* text) const;

  // Concatenation.
  SString Concat(const char* text) const;
  SString operator+(const char* text) const { return Concat(text); }
  SString operator+(const SString& other) const { return Concat(other.m_text); }
  SString& operator+=(const char* text);
  SString& operator+=(const SString& other) { return *this += other.m_text; }
  // Written into the buffer while the length still wants its capacity.
  SString& operator+=(char c) {
    if (c == 0 || !KeepsCapacity(m_length + 1)) return AppendChar(c);
    m_text[m_length] = c;
    m_text[++m_length] = 0;
    return *this;
  }

  // Editing in place (user values and tracked flag are kept).
  // Sets the length (n < 0 counts as 0) with a NUL at n; with keep, the first
  // min(n, old length) characters survive a reallocation. Characters past the
  // kept text are not initialised: the caller writes them.
  void SetLength(int n, bool keep = true);
  // index > length: nothing; index < 0: append.
  void Insert(const char* text, int index);
  void InsertChars(char c, int index, int count);
  // Returns the number of characters removed.
  int Delete(int index, int count);
  // Replaces count characters at index by text (count < 0: to the end).
  void Replace(int index, int count, const char* text);
  // Returns the number of replacements; the inserted text is not searched.
  int ReplaceAll(const char* find, const char* replacement);
  // Returns the number of occurrences of from before the call.
  int ReplaceChar(char from, char to);
  // n > 0 removes n characters; n < 0 removes blanks (spaces, and tabs unless
  // spacesOnly); n = 0 does nothing.
  void TrimLeft(int n = -1, bool spacesOnly = false);
  void TrimRight(int n = -1, bool spacesOnly = false);
  void Trim(int left = -1, int right = -1, bool spacesOnly = false);

  // Substrings.
  SString Left(int n) const;
  SString Right(int n) const;
  SString Mid(int index, int count = -1) const;
  // Text before the first "|"; the whole text when there is none.
  SString BeforeBar() const;
  // Text before / after the first c; empty when c does not occur.
  SString BeforeChar(char c) const;
  SString AfterChar(char c) const;

  // Searching: indexes, -1 when not found. The match of Find lies wholly
  // inside [start, start + range) (range < 0: to the end).
  int Find(const char* text, int start = 0, int range = -1) const;
  int FindNoCase(const char* text, int start = 0, int range = -1) const;
  int FindChar(char c, int start = 0) const;
  // The last c at or before start (-1: from the last character).
  int ReverseFindChar(char c, int start = -1) const;
  // count characters (passed as int) follow; the result is ReverseFindChar of
  // the first of them, in argument order, that occurs.
  int ReverseFindAny(int start, int count, ...) const;

  // Case.
  SString& MakeLower();
  SString ToLower() const;
  SString ToUpper() const;

  // Wide text. ToWide returns a new[] buffer (null for a never-set string)
  // that the caller frees with delete[]. FromWide converts into one shared
  // string and returns it; every call overwrites the previous result.
  wchar_t* ToWide() const;
  static const SString& FromWide(const wchar_t* text);

  // Formatting and numbers (printf conventions of the C runtime, with "I64"
  // and "ll" as the 64-bit integer size prefixes).
  SString& Format(const char* format, ...);
  SString& FormatV(const char* format, va_list args);
  SString& FormatInt(int value);
  SString& FormatUInt(uint32_t value);
  static SString FromInt(int value);
  static SString FromUInt(uint32_t value);
  // "%d", zero-padded on the left to minDigits characters.
  SString& SetInt(int value, int minDigits = 0);
  static SString FromIntPadded(int value, int minDigits);
  // "%f" without trailing zeros (and without a trailing ".").
  SString& SetDouble(double value);
  static SString FromDouble(double value);
  // Upper-case hexadecimal, at least minDigits (at most 16) digits.
  SString& SetHex(uint64_t value, int minDigits = 0);
  // "#FF", "0xff" or "FF"; 0 on any error.
  uint64_t ParseHex() const;
  bool IsNumber() const;
  bool IsInteger() const;
  // Upper-case MD5 text of the text; empty for a never-set string.
  SString GetMd5() const;

  // Quoting.
  bool IsQuoted(char quote = '"') const;
  SString Unquoted() const;

  // Words, lines and layout. next (when not null) receives the index after
  // what was read; start < 0 gives the empty string and leaves next alone.
  SString GetWord(int start, int* next = nullptr, bool returnBlanks = false) const;
  SString GetLine(int start, int* next = nullptr) const;
  int GetMaxLineLength() const;
  // Mode 1 centre, 2 right, 3 justify, other left; width <= 0: the longest
  // line.
  void AlignLines(int mode, int width = 0);

  // XML tokens: a tag (up to its ">" outside quotes) or the text up to the
  // next "<". Every out pointer may be null.
  SString GetXmlToken(int start, int* next = nullptr, bool* isTag = nullptr,
                      bool* isOpening = nullptr, bool* isClosing = nullptr) const;
  void SqueezeTagBlanks();

  // Encoders: standard alphabet, no line breaks, exactly one "=" at the end.
  void EncodeBase64();
  void DecodeBase64();
  // Hex digit pairs, each byte minus a cyclic 8-byte key.
  void DecodeKeyedHex();

protected:
  // Capacity wanted for a length: the first of 8, 16, 32, ... above it.
  static int CapacityFor(int length);
  // True when a buffer exists and length n wants exactly its capacity
  // (CapacityFor(n) == capacity without its loop: 8 for 0..7, else c for
  // c / 2 <= n < c).
  bool KeepsCapacity(int n) const {
    return m_text && n >= 0 && n < m_capacity && (m_capacity == 8 || n >= m_capacity / 2);
  }
  // operator+=(char) when the capacity changes (or c is NUL).
  SString& AppendChar(char c);
  // Gives the string a buffer for length n (capacity rule) and sets the
  // length and the NUL; keeps the old bytes only when keep is true.
  void Allocate(int n, bool keep);
  // Makes the string the n bytes at bytes (which may lie in its own buffer).
  void Store(const char* bytes, int n);
  // True when p points into this string's buffer.
  bool PointsIntoBuffer(const char* p) const;

  bool m_tracked;
  char* m_text;
  int m_length;
  int m_capacity;
  uint32_t m_user1;
  uint32_t m_user2;
};
