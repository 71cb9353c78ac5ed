// Single registry values, read and written one at a time: every call opens
// (or creates) the key, does its one transfer and closes the key again.
// Texts are REG_SZ, numbers and flags REG_DWORD.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class SRegistry {
public:
  SRegistry();
  virtual ~SRegistry();

  // The writers create the key path as needed and fail at once for a null or
  // empty path. True only when the key opened and the value was written.
  bool SetString(HKEY root, const char* subkey, const char* name, const char* text);
  bool SetNumber(HKEY root, const char* subkey, const char* name, DWORD number);
  // A REG_DWORD of 1 or 0.
  bool SetBool(HKEY root, const char* subkey, const char* name, bool value);

  // The readers accept an empty path (the root key itself). A missing value,
  // a value of another type and a text of 256 bytes or more (its NUL
  // included) read as the empty string or 0.
  SString GetString(HKEY root, const char* subkey, const char* name);
  DWORD GetNumber(HKEY root, const char* subkey, const char* name);

private:
  enum { TEXT_BUFFER = 256 };  // 255 characters and the NUL

  bool SetValue(HKEY root, const char* subkey, const char* name, DWORD type,
                const void* data, DWORD size);
};
