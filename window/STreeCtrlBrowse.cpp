// STreeCtrl: the file-system browsing mode.
#include "core/Platform.h"
#include "window/STreeCtrl.h"

#include "core/SPath.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"

namespace {

const char kPlaceholder[] = "*";
const int kWaitCursor = 13;
const int kIconSide = 16;

SString WithSeparator(const char* folder) {
  SString path(folder);
  if (path.GetLength() > 0 && path.GetText()[path.GetLength() - 1] != '\\') path += "\\";
  return path;
}

// A listed entry as a path in the folder (listings give names or paths).
SString InFolder(const SString& folder, const SString& entry) {
  const char* text = entry.GetText() ? entry.GetText() : "";
  if (strchr(text, '\\') && strchr(text, '\\') != text + entry.GetLength() - 1) return entry;
  return folder + entry;
}

}  // namespace

bool STreeCtrl::Browse(const char* rootFolder, const char* filter, bool showFiles) {
  if (!m_hWnd || !rootFolder || !m_disk.Exists(rootFolder)) return false;
  m_browsing = true;
  m_rootFolder = WithSeparator(rootFolder);
  m_filter = filter && *filter ? filter : "*.*";
  m_showFiles = showFiles;
  if (!m_images.GetHandle() && m_images.Create(kIconSide, kIconSide)) {
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images.GetHandle()));
  }
  DeleteAllItems();
  FillFolder(nullptr, m_rootFolder.GetText());
  return true;
}

// The shell's small icon of the path, one per lower-case extension.
int STreeCtrl::IconOf(const char* path) {
  SString extension = SPath(path).GetExtension(true, true);
  int known = m_extensions.Find(extension.GetText() ? extension.GetText() : "");
  if (known >= 0) return known;
  SHFILEINFOA info;
  memset(&info, 0, sizeof(info));
  if (!m_images.GetHandle() ||
      !::SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) ||
      !info.hIcon) {
    return -1;
  }
  int index = ::ImageList_AddIcon(m_images.GetHandle(), info.hIcon);
  ::DestroyIcon(info.hIcon);
  if (index < 0) return -1;
  // Entry i of the name table is icon i of the list.
  while (m_extensions.GetCount() < index) m_extensions.Add("");
  m_extensions.Add(extension.GetText(), index);
  return index;
}

void STreeCtrl::FillFolder(HTREEITEM parent, const char* folder) {
  if (!m_hWnd || !folder) return;
  SString base = WithSeparator(folder);
  SStringArray folders, files;
  m_disk.ListFolder(&folders, (base + "*.*").GetText(), SDisk::LIST_FOLDERS);
  if (m_showFiles) m_disk.ListFolder(&files, (base + m_filter).GetText(), SDisk::LIST_FILES);
  folders.Sort();
  files.Sort();

  bool redraw = SetRedraw(false);
  SetCursor(GetFrameworkCursor(kWaitCursor));
  for (int i = 0; i < folders.GetCount(); ++i) {
    SString path = InFolder(base, folders.Get(i));
    SString name = SPath(path.Left(path.GetLength() - 1).GetText()).GetFileName();
    int icon = IconOf(path.GetText());
    HTREEITEM item = InsertItem(parent, 0, name.GetText(), icon, icon);
    if (!item) continue;
    bool hasContent =
        m_disk.ListFolder(nullptr, (path + "*.*").GetText(), SDisk::LIST_FOLDERS) > 0 ||
        (m_showFiles &&
         m_disk.ListFolder(nullptr, (path + m_filter).GetText(), SDisk::LIST_FILES) > 0);
    if (hasContent) InsertItem(item, 0, kPlaceholder);
  }
  for (int i = 0; i < files.GetCount(); ++i) {
    SString path = InFolder(base, files.Get(i));
    SString name = SPath(path.GetText()).GetFileName();
    int icon = IconOf(path.GetText());
    InsertItem(parent, 0, name.GetText(), icon, icon);
  }
  SetCursor(nullptr);
  POINT cursor;
  if (::GetCursorPos(&cursor)) ::SetCursorPos(cursor.x, cursor.y);
  if (redraw) {
    SetRedraw(true);
    Redraw();
  }
}

void STreeCtrl::OnItemExpanded(HTREEITEM item, bool expanded) {
  if (!m_browsing || !expanded || !item) return;
  HTREEITEM first = GetNextItem(item, TVGN_CHILD);
  if (!first || !(GetItemText(first) == kPlaceholder)) return;
  DeleteItem(first, true);
  FillFolder(item, GetItemPath(item).GetText());
  if (m_checkPropagation && (StyleOf(m_hWnd) & TVS_CHECKBOXES) && GetCheck(item)) {
    SetSubtreeChecks(item, true);
  }
}
