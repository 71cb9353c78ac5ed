#include "core/Platform.h"
#include "core/SPath.h"

#include <string.h>

namespace {

const int kFullPathSize = 1024;

// Characters that no path may hold (besides control characters).
const char kRefused[] = "\"*<>?";

bool HasRefusedCharacter(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x20 || strchr(kRefused, *p)) return true;
  }
  return false;
}

}  // namespace

SPath::SPath() : m_kind(KIND_UNSET) {}

SPath::SPath(const char* text) : m_kind(KIND_UNSET) { Normalize(text); }

SPath::SPath(const SPath& other)
    : m_text(other.m_text), m_path(other.m_path), m_kind(other.m_kind) {}

SPath& SPath::operator=(const SPath& other) {
  m_text = other.m_text;
  m_path = other.m_path;
  m_kind = other.m_kind;
  return *this;
}

SPath::~SPath() {}

void SPath::Unset() {
  m_text.Empty();
  m_path.Empty();
  m_kind = KIND_UNSET;
}

int SPath::Normalize(const char* text) {
  Unset();
  if (!text || !*text || HasRefusedCharacter(text)) return KIND_UNSET;

  if (IsUrl(text)) {
    SString path(text);
    path.ReplaceChar('\\', '/');
    // The scheme ends at the first ":", which "//" must follow at once.
    int colon = path.FindChar(':');
    if (colon < 0 || strncmp(path.GetText() + colon + 1, "//", 2) != 0) return KIND_UNSET;
    m_text = text;
    m_path = path;
    m_kind = KIND_URL;
    return m_kind;
  }

  if (IsUnc(text)) {
    m_text = text;
    m_path = text;
    m_path.ReplaceChar('/', '\\');
    m_kind = KIND_UNC;
    return m_kind;
  }

  char full[kFullPathSize];
  DWORD n = ::GetFullPathNameA(text, kFullPathSize, full, nullptr);
  if (n == 0 || n >= DWORD(kFullPathSize)) return KIND_UNSET;
  SString path(full);
  path.ReplaceChar('/', '\\');
  if ((strcmp(text, ".") == 0 || strcmp(text, "..") == 0) &&
      path.GetAt(path.GetLength() - 1) != '\\')
    path += '\\';
  m_text = text;
  m_path = path;
  // A local text such as //server/share resolves to a UNC path.
  m_kind = IsUnc(m_path.GetText()) ? KIND_UNC : KIND_LOCAL;
  return m_kind;
}

int SPath::Set(const char* text) {
  if (!text || !*text) return Normalize(text);
  size_t n = strlen(text);
  if (text[n - 1] == '\\' || text[n - 1] == '/') return Normalize(text);
  SString folder(text);
  folder += '\\';
  return Normalize(folder.GetText());
}

SString SPath::GetPath() const { return m_kind == KIND_UNSET ? SString("") : m_path; }

int SPath::RootLength() const {
  int length = m_path.GetLength();
  switch (m_kind) {
    case KIND_LOCAL:
      return length < 3 ? length : 3;
    case KIND_UNC: {
      int i = m_path.FindChar('\\', 2);
      return i < 0 ? length + 1 : i + 1;
    }
    case KIND_URL: {
      int i = m_path.FindChar('/', m_path.Find("://") + 3);
      return i < 0 ? length + 1 : i + 1;
    }
    default:
      return 0;
  }
}

int SPath::FileNameStart() const {
  int length = m_path.GetLength();
  int start = m_path.ReverseFindChar(Separator()) + 1;
  int root = RootLength();
  if (start < root) start = root < length ? root : length;
  return start;
}

SString SPath::GetRoot() const {
  if (m_kind == KIND_UNSET) return SString("");
  int root = RootLength();
  if (root <= m_path.GetLength()) return m_path.Left(root);
  SString result(m_path);
  result += Separator();
  return result;
}

SString SPath::GetRelative() const {
  if (m_kind == KIND_UNSET) return SString("");
  int root = RootLength();
  int start = FileNameStart();
  return start > root ? m_path.Mid(root, start - root) : SString("");
}

SString SPath::GetFolder() const {
  SString relative = GetRelative();
  int n = relative.GetLength();
  if (n == 0) return relative;
  int i = n >= 2 ? relative.ReverseFindChar(Separator(), n - 2) : -1;
  return relative.Mid(i + 1);
}

SString SPath::GetFileName() const {
  if (m_kind == KIND_UNSET) return SString("");
  return m_path.Mid(FileNameStart());
}

bool SPath::HasFileName() const { return GetFileName().GetLength() > 0; }

bool SPath::IsFolder() const {
  return GetRelative().GetLength() > 0 && GetFileName().GetLength() == 0;
}

SString SPath::GetTitle() const {
  SString name = GetFileName();
  int dot = name.ReverseFindChar('.');
  return dot < 0 ? name : name.Left(dot);
}

SString SPath::GetExtension(bool withDot, bool lowerCase) const {
  SString name = GetFileName();
  int dot = name.ReverseFindChar('.');
  if (dot < 0) return SString("");
  SString extension = name.Mid(withDot ? dot : dot + 1);
  if (lowerCase) extension.MakeLower();
  return extension;
}

SString SPath::GetFolderPath() const {
  if (m_kind == KIND_UNSET) return SString("");
  return GetRoot() + GetRelative();
}

SString SPath::GetParent() const {
  if (m_kind == KIND_UNSET) return SString("");
  if (HasFileName()) return GetFolderPath();
  SString relative = GetRelative();
  int n = relative.GetLength();
  if (n == 0) return SString("");
  int i = n >= 2 ? relative.ReverseFindChar(Separator(), n - 2) : -1;
  return GetRoot() + relative.Left(i + 1);
}

bool SPath::IsUrl(const char* text) {
  if (!text) return false;
  const char* p = strstr(text, "://");
  return p && p > text;
}

bool SPath::IsUnc(const char* text) { return text && text[0] == '\\' && text[1] == '\\'; }
