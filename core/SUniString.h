// The framework's UTF-16 string, for the interfaces that want wide text.
// Its capacity, counted in characters, is the first of 8, 16, 32, ... that
// holds the length plus the terminating NUL; a length change that wants
// another capacity reallocates.
#pragma once

#include "core/Platform.h"

#include <stdint.h>

class SUniString {
public:
  // ANSI text converted from the ANSI code page; null gives the empty string.
  // The length is the number of UTF-16 characters produced (0 when the
  // conversion fails).
  SUniString(const char* text = nullptr);
  SUniString(const SUniString& source);
  virtual ~SUniString();

  SUniString& operator=(const SUniString& source) { return Assign(source); }
  SUniString& Assign(const SUniString& source);
  // Sets the length (n < 0 counts as 0) with a NUL at n; with keep, the first
  // min(n, old length) characters survive a reallocation. Characters past the
  // kept ones are not initialised: the caller writes them.
  void SetLength(int n, bool keep = true);
  // Length 0, capacity 8.
  void SetEmpty();

  const wchar_t* GetText() const { return m_text; }
  wchar_t* GetBuffer() { return m_text; }
  int GetLength() const { return m_length; }
  int GetCapacity() const { return m_capacity; }

private:
  void Allocate(int n, bool keep);

  wchar_t* m_text;
  int m_length;
  int m_capacity;
  uint32_t m_user1;
  uint32_t m_user2;
};
