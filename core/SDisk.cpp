#include "core/Platform.h"
#include "core/SDisk.h"

#include "core/SPath.h"
#include "core/SStringArray.h"

#include <direct.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>

namespace {

const int kTempPathSize = 260;
const int kLongPathSize = 1024;
const int kUniqueTries = 1000;
const int kUniqueRange = 1000000;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The last "\" or "/" of the text, or -1.
int LastSeparator(const SString& text) {
  int backslash = text.ReverseFindChar('\\');
  int slash = text.ReverseFindChar('/');
  return backslash > slash ? backslash : slash;
}

bool IsDots(const char* name) {
  return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

// "." and ".." are never listed; hidden entries not when asked.
bool Skipped(const WIN32_FIND_DATAA& data, bool noHidden) {
  if (IsDots(data.cFileName)) return true;
  return noHidden && (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
}

bool IsDirectory(const WIN32_FIND_DATAA& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Calls fn for every entry that FindFirstFileA/FindNextFileA give for path.
template <class Fn>
void Enumerate(const char* path, Fn fn) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA(path, &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    fn(data);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
}

}  // namespace

SDisk::SDisk() : m_trailingSeparator(true) { m_path[0] = 0; }

SDisk::~SDisk() {}

SString SDisk::GetSpecialFolder() {
  m_path[0] = 0;
  LPITEMIDLIST list = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list)) || !list)
    return SString("");
  // The shell writes at most MAX_PATH characters.
  BOOL found = ::SHGetPathFromIDListA(list, m_path);
  ::CoTaskMemFree(list);
  if (!found || !m_path[0]) {
    m_path[0] = 0;
    return SString("");
  }
  // The shell may give the folder with or without its separator.
  size_t n = strlen(m_path);
  if (m_trailingSeparator && m_path[n - 1] != '\\' && n + 1 < sizeof(m_path)) {
    m_path[n] = '\\';
    m_path[n + 1] = 0;
  } else if (!m_trailingSeparator && n > 3 && m_path[n - 1] == '\\') {
    m_path[n - 1] = 0;
  }
  return SString(m_path);
}

SString SDisk::GetTempFolder() {
  m_path[0] = 0;
  DWORD n = ::GetTempPathA(kTempPathSize, m_path);
  if (n == 0 || n >= DWORD(kTempPathSize)) {
    m_path[0] = 0;
    return SString("");
  }
  // In place; on failure the short form stays.
  char longPath[kLongPathSize];
  DWORD m = ::GetLongPathNameA(m_path, longPath, kLongPathSize);
  if (m > 0 && m < DWORD(kLongPathSize)) memcpy(m_path, longPath, m + 1);
  size_t length = strlen(m_path);
  if (!m_trailingSeparator && length > 0 && m_path[length - 1] == '\\') m_path[length - 1] = 0;
  return SString(m_path);
}

SString SDisk::GetTempFileName() {
  bool trailing = m_trailingSeparator;
  m_trailingSeparator = false;
  SString folder = GetTempFolder();
  m_trailingSeparator = trailing;
  m_path[0] = 0;
  if (folder.GetLength() == 0) return SString("");
  // The system writes at most MAX_PATH characters.
  if (!::GetTempFileNameA(folder.GetText(), "tmp", 0, m_path)) {
    m_path[0] = 0;
    return SString("");
  }
  return SString(m_path);
}

bool SDisk::SearchFile(const char* name) {
  m_path[0] = 0;
  if (!name || !*name) return false;
  if (_searchenv_s(name, "", m_path, PATH_SIZE) != 0) {
    m_path[0] = 0;
    return false;
  }
  return m_path[0] != 0;
}

bool SDisk::Exists(const char* folder) {
  if (!SearchFile(folder)) return false;
  SString name(folder);
  int n = name.GetLength();
  if (n > 0 && IsSeparator(name.GetAt(n - 1))) name.SetLength(n - 1);
  if (name.GetLength() == 0) return false;
  return ListFolder(nullptr, name.GetText(), LIST_FOLDERS) == 1;
}

bool SDisk::DeleteFile(const char* path) { return path && ::DeleteFileA(path) != 0; }

bool SDisk::CreateFolder(const char* path, bool createParents) {
  if (!path || !*path) return false;
  SPath normalised;
  if (normalised.Normalize(path) == SPath::KIND_UNSET) return false;
  if (Exists(path)) return true;

  // The folder without a trailing separator, so that its parent is the text
  // before the last separator.
  SString folder = normalised.GetPath();
  int n = folder.GetLength();
  if (n > 0 && IsSeparator(folder.GetAt(n - 1))) folder.SetLength(n - 1);
  if (folder.GetLength() == 0) return false;

  if (_mkdir(folder.GetText()) == 0) return true;
  if (errno != ENOENT || !createParents) return false;

  // The root itself cannot be made.
  int last = LastSeparator(folder);
  if (last < normalised.GetRoot().GetLength()) return false;
  SString parent = folder.Left(last);
  if (!CreateFolder(parent.GetText(), true)) return false;
  return _mkdir(folder.GetText()) == 0;
}

SString SDisk::MakeUniqueFileName(const char* folder, const char* prefix, const char* extension) {
  if (!Exists(folder)) return SString("");

  SString extensionPart;
  if (extension && *extension) {
    extensionPart = ".";
    extensionPart += extension;
  } else {
    extensionPart = "";
  }
  SString base(folder);
  // One separator between the folder and the name, whether or not the
  // caller gave one.
  if (!IsSeparator(base.GetAt(base.GetLength() - 1))) base += '\\';
  if (prefix) base += prefix;

  SString candidate = base + extensionPart;
  if (!SearchFile(candidate.GetText())) return candidate;

  for (int i = 0; i < kUniqueTries; ++i) {
    char number[16];
    snprintf(number, sizeof(number), "%u", unsigned(rand() % kUniqueRange));
    candidate = base + number + extensionPart;
    if (!SearchFile(candidate.GetText())) return candidate;
  }
  return SString("");
}

int SDisk::ListFolder(SStringArray* output, const char* path, int flags, int* fileCount,
                      int* folderCount) {
  if (!path || !*path) return 0;
  if (flags & LIST_FOLDERS) {
    if ((flags & (LIST_IF_NO_FILE | LIST_IF_FILE)) == (LIST_IF_NO_FILE | LIST_IF_FILE) ||
        (flags & (LIST_IF_NO_SUBFOLDER | LIST_IF_SUBFOLDER)) ==
            (LIST_IF_NO_SUBFOLDER | LIST_IF_SUBFOLDER))
      flags &= ~LIST_FOLDERS;
  }
  if (!(flags & LIST_FOLDERS)) {
    flags &= ~(LIST_IF_NO_FILE | LIST_IF_FILE | LIST_IF_NO_SUBFOLDER | LIST_IF_SUBFOLDER);
  }
  if (!(flags & (LIST_FOLDERS | LIST_FILES))) return 0;
  return ListInto(output, path, flags, fileCount, folderCount);
}

void SDisk::CountContents(const char* folder, bool noHidden, int* files, int* folders) {
  *files = 0;
  *folders = 0;
  SString pattern(folder);
  pattern += "*.*";
  Enumerate(pattern.GetText(), [&](const WIN32_FIND_DATAA& data) {
    if (Skipped(data, noHidden)) return;
    if (IsDirectory(data)) ++*folders;
    else ++*files;
  });
}

bool SDisk::PassesFolderFilters(const char* folder, int flags) {
  if (!(flags & (LIST_IF_NO_FILE | LIST_IF_FILE | LIST_IF_NO_SUBFOLDER | LIST_IF_SUBFOLDER)))
    return true;
  int files, folders;
  CountContents(folder, (flags & LIST_NO_HIDDEN) != 0, &files, &folders);
  if ((flags & LIST_IF_NO_FILE) && files != 0) return false;
  if ((flags & LIST_IF_FILE) && files == 0) return false;
  if ((flags & LIST_IF_NO_SUBFOLDER) && folders != 0) return false;
  if ((flags & LIST_IF_SUBFOLDER) && folders == 0) return false;
  return true;
}

int SDisk::ListInto(SStringArray* output, const char* path, int flags, int* fileCount,
                    int* folderCount) {
  SString whole(path);
  int split = LastSeparator(whole);
  SString folderPart = whole.Left(split + 1);
  SString pattern = whole.Mid(split + 1);
  bool wildcard = pattern.FindChar('*') >= 0;
  bool noHidden = (flags & LIST_NO_HIDDEN) != 0;
  int listed = 0;

  auto list = [&](const SString& entry, bool isFolder) {
    if (output) output->Add(entry.GetText());
    ++listed;
    int* counter = isFolder ? folderCount : fileCount;
    if (counter) ++*counter;
  };

  if (!wildcard) {
    Enumerate(path, [&](const WIN32_FIND_DATAA& data) {
      if (Skipped(data, noHidden)) return;
      if (!IsDirectory(data)) {
        if (flags & LIST_FILES) list(SString(data.cFileName), false);
      } else if (flags & LIST_FOLDERS) {
        SString folder = folderPart + data.cFileName + "\\";
        if (PassesFolderFilters(folder.GetText(), flags))
          list(SString(data.cFileName) + "\\", true);
      }
    });
    return listed;
  }

  // The names that match the pattern, sorted for lookup.
  SStringArray matching;
  Enumerate(path, [&](const WIN32_FIND_DATAA& data) {
    if (Skipped(data, noHidden)) return;
    if (matching.FindSorted(data.cFileName) < 0) matching.InsertSorted(data.cFileName);
  });

  SString all = folderPart + "*.*";
  Enumerate(all.GetText(), [&](const WIN32_FIND_DATAA& data) {
    if (Skipped(data, noHidden)) return;
    bool isFolder = IsDirectory(data);
    int match = matching.GetCount() ? matching.FindSorted(data.cFileName) : -1;
    if (match >= 0) {
      matching.RemoveAndDelete(match);
      if (!isFolder) {
        if (flags & LIST_FILES) list(folderPart + data.cFileName, false);
      } else if (flags & LIST_FOLDERS) {
        SString folder = folderPart + data.cFileName + "\\";
        if (PassesFolderFilters(folder.GetText(), flags)) list(folder, true);
      }
    }
    if (isFolder && (flags & LIST_RECURSE)) {
      SString below = folderPart + data.cFileName + "\\" + pattern;
      listed += ListInto(output, below.GetText(), flags, nullptr, nullptr);
    }
  });
  return listed;
}

bool SDisk::ShellOpen(const char* file) {
  if (!file || !*file) return false;
  HINSTANCE result = ::ShellExecuteA(nullptr, "open", file, "", "", SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}
