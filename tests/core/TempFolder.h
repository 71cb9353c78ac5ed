// A folder of its own under the temporary folder for tests that write
// files; it is removed with its files when the object goes.
#pragma once

#include "core/Platform.h"

#include <string>

class TempFolder {
public:
  TempFolder() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    ::GetTempFileNameA(base, "tst", 0, name);
    ::DeleteFileA(name);
    ::CreateDirectoryA(name, nullptr);
    m_path = name;
  }

  ~TempFolder() {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((m_path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          ::DeleteFileA(File(data.cFileName).c_str());
      } while (::FindNextFileA(find, &data));
      ::FindClose(find);
    }
    ::RemoveDirectoryA(m_path.c_str());
  }

  const std::string& Path() const { return m_path; }
  std::string File(const char* name) const { return m_path + "\\" + name; }

private:
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string m_path;
};
