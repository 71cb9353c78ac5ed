// File-system services beyond file contents: special and temporary folders,
// temporary and unique file names, folder creation and tests, folder
// listings, and handing a file or URL to the shell.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class SStringArray;

class SDisk {
public:
  // Flags of ListFolder.
  enum {
    LIST_RECURSE = 0x01,          // descend into subfolders (wildcard patterns only)
    LIST_FOLDERS = 0x02,          // list folders, each ending with "\"
    LIST_FILES = 0x04,            // list files
    LIST_NO_HIDDEN = 0x08,        // leave out hidden entries
    LIST_IF_NO_FILE = 0x10,       // a folder only when it holds no file
    LIST_IF_FILE = 0x20,          // a folder only when it holds a file
    LIST_IF_NO_SUBFOLDER = 0x40,  // a folder only when it holds no subfolder
    LIST_IF_SUBFOLDER = 0x80,     // a folder only when it holds a subfolder
  };

  SDisk();
  virtual ~SDisk();

  // The user's documents folder; empty when the shell has none.
  SString GetSpecialFolder();
  // The temporary folder, long form.
  SString GetTempFolder();
  // Creates an empty file "tmp....tmp" in the temporary folder and returns its
  // full path; empty on failure.
  SString GetTempFileName();

  // Looks the name up (relative to the current folder, or absolute); on
  // success its full path is in the path buffer (GetFoundPath).
  bool SearchFile(const char* name);
  // True when a folder (not a file) of that name exists.
  bool Exists(const char* folder);
  bool DeleteFile(const char* path);
  bool CreateFolder(const char* path, bool createParents = true);
  // folder + prefix + extension, or with a random number after the prefix
  // when that file exists; empty when the folder does not exist or no free
  // name was found.
  SString MakeUniqueFileName(const char* folder, const char* prefix = nullptr,
                             const char* extension = nullptr);
  // Lists "folder\pattern" by the LIST_ flags; returns the number of entries.
  int ListFolder(SStringArray* output, const char* path, int flags, int* fileCount = nullptr,
                 int* folderCount = nullptr);
  // ShellExecute "open"; true when the shell accepted it.
  bool ShellOpen(const char* file);

  // The last path found by a search or made by a folder query.
  const char* GetFoundPath() const { return m_path; }
  bool GetTrailingSeparator() const { return m_trailingSeparator; }
  void SetTrailingSeparator(bool on) { m_trailingSeparator = on; }

private:
  enum { PATH_SIZE = 1025 };

  int ListInto(SStringArray* output, const char* path, int flags, int* fileCount,
               int* folderCount);
  bool PassesFolderFilters(const char* folder, int flags);
  void CountContents(const char* folder, bool noHidden, int* files, int* folders);

  char m_path[PATH_SIZE];
  bool m_trailingSeparator;
};
