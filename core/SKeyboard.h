// Names of the Windows virtual-key codes, the modifier keys held now, and two
// system queries (a Windows version code and the desktop work area).
//
// The key-name table is one process-wide list of 256 names indexed by
// virtual-key code ("" for a code without a name). The first SKeyboard built
// fills it; the framework's shutdown frees it with FreeKeyNames.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

#include <stdint.h>

class SStringArray;

class SKeyboard {
public:
  enum { KEY_COUNT = 256 };

  // Builds the key-name table when it is still empty; clears both per-key
  // tables.
  SKeyboard();
  virtual ~SKeyboard();

  // Fills an empty table with 256 names; a filled table is left alone.
  static void BuildKeyNames();
  // Deletes every name and frees the table's storage.
  static void FreeKeyNames();
  static const SStringArray& GetKeyNames();
  // The name of a code; empty for a code without a name, outside 0-255, or
  // before the table is built.
  static SString GetKeyName(int code);
  // The code of a name (exact, case-sensitive); -1 when no code has it.
  static int FindKeyCode(const char* name);

private:
  uint32_t m_keyWords[KEY_COUNT];
  uint16_t m_keyHalfWords[KEY_COUNT];
};

// 1 when Shift is down, plus 2 when Control is down, read now.
int GetModifierKeys();

// A version code of the running system: 1 Windows 95, 3 98, 4 ME (the 9x
// platform 4.0, 4.10, 4.90); 2 NT 4.0, 5 NT 5.0, 6 NT 5.1 and 5.2, 7 NT 6.0,
// 8 NT 7.0; 255 for any other version (6.1 and every later one included);
// 0 when the query fails. Codes of 7 and more mean Vista or later.
int GetWindowsVersionCode();
// The code of a platform id (VER_PLATFORM_*) and version.
int WindowsVersionCodeOf(DWORD platform, DWORD major, DWORD minor);

// The desktop work area; the empty rectangle when the query fails.
void GetWorkArea(RECT* out);
