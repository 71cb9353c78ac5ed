#include "core/Platform.h"
#include "core/SRegistry.h"

SRegistry::SRegistry() {}

SRegistry::~SRegistry() {}

bool SRegistry::SetValue(HKEY root, const char* subkey, const char* name, DWORD type,
                         const void* data, DWORD size) {
  if (!subkey || !*subkey) return false;
  HKEY key = nullptr;
  char emptyClass[] = "";
  if (RegCreateKeyExA(root, subkey, 0, emptyClass, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG result = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool SRegistry::SetString(HKEY root, const char* subkey, const char* name, const char* text) {
  if (!text) text = "";
  return SetValue(root, subkey, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

bool SRegistry::SetNumber(HKEY root, const char* subkey, const char* name, DWORD number) {
  return SetValue(root, subkey, name, REG_DWORD, &number, sizeof(number));
}

bool SRegistry::SetBool(HKEY root, const char* subkey, const char* name, bool value) {
  return SetNumber(root, subkey, name, value ? 1 : 0);
}

SString SRegistry::GetString(HKEY root, const char* subkey, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey ? subkey : "", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return SString("");
  // One byte more than the registry may fill, so that the text can always be
  // terminated at the size it reports, even when the stored bytes lack a NUL.
  char buffer[TEXT_BUFFER + 1];
  buffer[0] = 0;
  DWORD type = REG_NONE;
  DWORD size = TEXT_BUFFER;
  LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size > TEXT_BUFFER)
    return SString("");
  buffer[size] = 0;
  return SString(buffer);
}

DWORD SRegistry::GetNumber(HKEY root, const char* subkey, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey ? subkey : "", 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD value = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof(value);
  LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return 0;
  return value;
}
