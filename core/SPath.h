// One path and its parts: a local path (made absolute), a UNC path
// (\\server\share...) or a URL (scheme://host/...).
//
// A path that names a folder ends with a separator, one that names a file
// does not. The separator is "/" for a URL and "\" otherwise. Every query of
// an unset path returns the empty string or false.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class SPath {
public:
  enum { KIND_UNSET = 0, KIND_LOCAL = 1, KIND_UNC = 2, KIND_URL = 3 };

  SPath();
  explicit SPath(const char* text);
  SPath(const SPath& other);
  SPath& operator=(const SPath& other);
  virtual ~SPath();

  // Sets the path; returns its kind, 0 (unset) for an empty or refused text.
  int Normalize(const char* text);
  // The same for a folder: a "\" is appended when the text ends in neither
  // "\" nor "/".
  int Set(const char* text);

  int GetKind() const { return m_kind; }
  const SString& GetText() const { return m_text; }
  SString GetPath() const;
  bool HasFileName() const;
  bool IsFolder() const;
  // C:\, \\server\ or scheme://host/.
  SString GetRoot() const;
  // The folders between the root and the file name (a\b\ for C:\a\b\c.txt).
  SString GetRelative() const;
  // The innermost folder with its separator (b\ for C:\a\b\c.txt).
  SString GetFolder() const;
  SString GetFileName() const;
  // The file name up to its last ".".
  SString GetTitle() const;
  // The file name from its last "." on; empty when it has none.
  SString GetExtension(bool withDot, bool lowerCase) const;
  // Root and relative part: the folder of a file, or the folder itself.
  SString GetFolderPath() const;
  // The folder of a file; for a folder the one above it (empty for a root).
  SString GetParent() const;

  // "://" at an index above 0.
  static bool IsUrl(const char* text);
  // Begins with two backslashes.
  static bool IsUnc(const char* text);

private:
  void Unset();
  char Separator() const { return m_kind == KIND_URL ? '/' : '\\'; }
  // Length of the root within the normalised path (it may exceed the path
  // when the root gets a separator appended).
  int RootLength() const;
  // Index just after the last separator, never inside the root.
  int FileNameStart() const;

  SString m_text;
  SString m_path;
  int m_kind;
};
