// The archives the build made, found from the test program's own folder and
// opened with the key they were made with.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace GameArchives {

inline std::string PathOf(const char* file) {
  char module[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string path(module, n);
  path.erase(path.find_last_of("\\/") + 1);
  std::string folder = DATA_ARCHIVE_FOLDER;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return path + folder + "\\" + file;
}

// Opens "gravrun2." + extension with the given key (the data key by default).
inline bool Open(SResource& archive, const char* extension, const char* key = DATA_ARCHIVE_KEY) {
  archive.SetKey(key);
  return archive.Open(PathOf((std::string("gravrun2.") + extension).c_str()).c_str());
}

inline std::vector<std::string> Names(const SResource& archive) {
  std::vector<std::string> names;
  for (int i = 0; i < archive.GetCount(); ++i) names.push_back(archive.GetName(i).GetText());
  return names;
}

// The entry's bytes in a memory file; false when it cannot be read.
inline bool Load(SResource& archive, const std::string& name, SFileMem& data) {
  data.Allocate(0);
  return archive.Load(&data, name.c_str(), true);
}

inline std::string Lower(std::string text) {
  for (char& c : text) c = (char)tolower((unsigned char)c);
  return text;
}

}  // namespace GameArchives
