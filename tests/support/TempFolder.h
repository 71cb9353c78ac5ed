// A folder of its own under the temporary folder for tests that write files
// or build folder trees; it is removed with everything below it when the
// object goes.
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
  // The folder of that name under the temporary folder, emptied first: the
  // same folder for every process that asks for it by name.
  explicit TempFolder(const std::string& name) {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    m_path = std::string(base) + name;
    Remove(m_path);
    ::CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~TempFolder() { Remove(m_path); }

  // The folder, without a trailing separator.
  const std::string& Path() const { return m_path; }
  // A path below the folder.
  std::string File(const std::string& relative) const { return m_path + "\\" + relative; }

  // Writes a file (its folders must exist).
  void Write(const std::string& relative, const std::string& bytes) const {
    HANDLE file = ::CreateFileA(File(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
  }
  void MakeFolder(const std::string& relative) const {
    ::CreateDirectoryA(File(relative).c_str(), nullptr);
  }

private:
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  static void Remove(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(path);
        else ::DeleteFileA(path.c_str());
      } while (::FindNextFileA(find, &data));
      ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
  }

  std::string m_path;
};
