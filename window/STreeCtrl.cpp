// STreeCtrl: the kind row and dialog class, items, checks, the tree file and
// the window procedure.
#include "core/Platform.h"
#include "window/STreeCtrl.h"

#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SResource.h"
#include "core/SXml.h"
#include "window/ControlFactory.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <windowsx.h>

#include <algorithm>
#include <stdlib.h>
#include <vector>

namespace {

typedef SDialogRecords::_SCtrl Record;

const int kTextSize = 1024;
const UINT kUnchecked = 1;
const UINT kChecked = 2;

HTREEITEM Relative(HWND tree, UINT relation, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void SetState(HWND tree, HTREEITEM item, UINT mask, UINT state) {
  if (!item || !tree) return;
  TVITEMA record;
  memset(&record, 0, sizeof(record));
  record.mask = TVIF_STATE;
  record.hItem = item;
  record.stateMask = mask;
  record.state = state;
  ::SendMessageA(tree, TVM_SETITEMA, 0, ToLParam(&record));
}

// The tree's notifications at its parent.
bool TreeNotify(SWnd* parent, SWnd* tree, NMHDR* header, LRESULT* result) {
  WPARAM control = ToWParam(tree);
  HWND hTree = header->hwndFrom;
  HTREEITEM selected = Relative(hTree, TVGN_CARET, nullptr);
  uint32_t mouse = NotifyMouseFlags(header->code);
  if (mouse) {
    MOUSERECORD record = CursorRecord(hTree, mouse);
    parent->SendMessage(SWM_TREEMOUSE, control, ToLParam(&record));
    if (header->code == NM_DBLCLK && selected) {
      RECT rect;
      memcpy(&rect, &selected, sizeof(selected));
      POINT cursor = {record.x, record.y};
      if (::SendMessageA(hTree, TVM_GETITEMRECT, TRUE, ToLParam(&rect)) &&
          ::PtInRect(&rect, cursor)) {
        parent->SendMessage(SWM_TREEITEMDBLCLK, control, ToLParam(selected));
        tree->m_focusReturn = true;
      }
    }
    return true;
  }
  switch (header->code) {
    case TVN_SELCHANGEDA:
      parent->SendMessage(SWM_TREESELCHANGED, control, ToLParam(selected));
      return true;
    case TVN_DELETEITEMA: {
      // Deleting the last root item leaves the tree without selection.
      HTREEITEM root = Relative(hTree, TVGN_ROOT, nullptr);
      if (selected && !Relative(hTree, TVGN_PARENT, selected) && root &&
          !Relative(hTree, TVGN_NEXT, root)) {
        parent->SendMessage(SWM_TREESELCHANGED, control, 0);
      }
      return true;
    }
    case TVN_ITEMEXPANDEDA: {
      TVITEMA& item = reinterpret_cast<NMTREEVIEWA*>(header)->itemNew;
      STreeCtrl* browser = dynamic_cast<STreeCtrl*>(tree);
      if (browser && browser->m_browsing) {
        browser->OnItemExpanded(item.hItem, (item.state & TVIS_EXPANDED) != 0);
      }
      parent->SendMessage(SWM_TREEEXPANDED, control, ToLParam(item.hItem));
      return true;
    }
    case TVN_BEGINLABELEDITA:
      if (parent->SendMessage(SWM_TREEEDITBEGIN, control,
                              ToLParam(&reinterpret_cast<NMTVDISPINFOA*>(header)->item)) != 0) {
        *result = 1;
        return false;
      }
      return true;
    case TVN_ENDLABELEDITA: {
      TVITEMA* item = &reinterpret_cast<NMTVDISPINFOA*>(header)->item;
      if (item->pszText) {
        if (parent->SendMessage(SWM_TREEEDITEND, control, ToLParam(item)) == 0) {
          *result = 1;
          return false;
        }
        return true;
      }
      parent->SendMessage(SWM_TREEEDITCANCEL, control, ToLParam(item));
      return true;
    }
  }
  return true;
}

const SControlKind kTreeKind = {ControlKinds::KIND_TREE, CUT_CLIP, nullptr, TreeNotify};
const bool kTreeKindRegistered = RegisterControlKind(&kTreeKind);

SWnd* ConstructTree() { return new STreeCtrl; }

// The window always has TVS_DISABLEDRAGDROP; the record's style says whether
// the tree drags by itself.
void ConfigureTree(SWnd* control, const Record* record, SResource* archive, bool) {
  STreeCtrl* tree = static_cast<STreeCtrl*>(control);
  tree->m_dragDrop = !(record->m_style & TVS_DISABLEDRAGDROP);
  SString name = SDialogRecords::GetProperty(record, "TREE_FILE");
  SFileMem file;
  if (archive && name.GetLength() > 0 && archive->Load(&file, name.GetText(), true)) {
    tree->Load(&file);
  }
}

const SDialogControlClass kTreeClass = {ConstructTree, ConfigureTree, nullptr};

// Item attributes of the tree file.
struct Attributes {
  SString text;
  int image = -1, selectedImage = -1;
  LPARAM data = 0;
  bool checked = false, bold = false, expanded = false;
};

int Number(const SXmlItem* element, const char* name, int absent) {
  SString value = element->GetAttribute(name);
  return value.GetLength() > 0 ? atoi(value.GetText()) : absent;
}

Attributes ReadAttributes(const SXmlItem* element) {
  Attributes a;
  a.text = element->GetAttribute("text");
  a.image = Number(element, "image", -1);
  a.selectedImage = Number(element, "imageSel", -1);
  a.data = Number(element, "data", 0);
  a.checked = Number(element, "checked", 0) != 0;
  a.bold = Number(element, "bold", 0) != 0;
  a.expanded = Number(element, "expanded", 0) != 0;
  return a;
}

// The first line, ended by CR, LF or CR LF, of at most max bytes.
bool ReadMagicLine(SFile* file, SString* line) {
  char text[32];
  int n = 0;
  char c = 0;
  while (file->Read(&c, 1) == 1) {
    if (c == '\r' || c == '\n') break;
    if (n == int(sizeof(text)) - 1) return false;
    text[n++] = c;
  }
  if (c == '\r') {
    int position = file->Tell();
    if (file->Read(&c, 1) != 1 || c != '\n') file->Seek(position);
  }
  text[n] = 0;
  line->Set(text);
  return true;
}

}  // namespace

bool STreeCtrl::Register() {
  return RegisterDialogControlClass(ControlKinds::TYPE_TREE, &kTreeClass);
}

const char* const STreeCtrl::kMagic = "VANDRO TREE 1.0.0.0";

STreeCtrl::STreeCtrl()
    : m_checkPropagation(true),
      m_dragDrop(false),
      m_browsing(false),
      m_showFiles(true),
      m_filter("*.*") {
  m_kind = ControlKinds::KIND_TREE;
}

STreeCtrl::~STreeCtrl() {
  m_images.Destroy();
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool STreeCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  return CreateControl(WC_TREEVIEWA, "", style | TVS_DISABLEDRAGDROP, exStyle, rect, parent,
                       reinterpret_cast<HMENU>(INT_PTR(id)));
}

void STreeCtrl::SetBackColor(COLORREF color) {
  SWnd::SetBackColor(color);
  if (m_hWnd) SendMessage(TVM_SETBKCOLOR, 0, color < 0xFF000000u ? LPARAM(color) : -1);
}

COLORREF STreeCtrl::GetBackColor() {
  return m_hWnd ? COLORREF(SendMessage(TVM_GETBKCOLOR)) : SWnd::GetBackColor();
}

// --- items ----------------------------------------------------------------------

HTREEITEM STreeCtrl::InsertItem(HTREEITEM parent, LPARAM data, const char* text, int image,
                                int selectedImage, HTREEITEM after) {
  if (!m_hWnd) return nullptr;
  TVINSERTSTRUCTA insert;
  memset(&insert, 0, sizeof(insert));
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text ? text : "");
  insert.item.lParam = data;
  if (image != -1) {
    insert.item.mask |= TVIF_IMAGE;
    insert.item.iImage = image;
  }
  if (selectedImage != -1) {
    insert.item.mask |= TVIF_SELECTEDIMAGE;
    insert.item.iSelectedImage = selectedImage;
  }
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, ToLParam(&insert)));
}

bool STreeCtrl::DeleteItem(HTREEITEM item, bool notify) {
  if (!item || !m_hWnd) return false;
  if (!notify) return SendMessage(TVM_DELETEITEM, 0, ToLParam(item)) != 0;
  for (HTREEITEM child; (child = GetNextItem(item, TVGN_CHILD)) != nullptr;) {
    if (!DeleteItem(child, true)) return false;
  }
  _SDeleted deleted = {item, GetItemData(item)};
  if (!SendMessage(TVM_DELETEITEM, 0, ToLParam(item))) return false;
  NotifyParent(SWM_TREEDELETED, ToWParam(this), ToLParam(&deleted));
  return true;
}

void STreeCtrl::DeleteAllItems() {
  if (m_hWnd) SendMessage(TVM_DELETEITEM, 0, ToLParam(TVI_ROOT));
}

SString STreeCtrl::GetItemText(HTREEITEM item) {
  char text[kTextSize] = {};
  TVITEMA record;
  memset(&record, 0, sizeof(record));
  record.mask = TVIF_TEXT;
  record.hItem = item;
  record.pszText = text;
  record.cchTextMax = kTextSize;
  if (!item || !m_hWnd || !SendMessage(TVM_GETITEMA, 0, ToLParam(&record))) return SString();
  return SString(record.pszText);
}

SString STreeCtrl::GetItemPath(HTREEITEM item) {
  SString joined;
  for (HTREEITEM step = item; step; step = GetNextItem(step, TVGN_PARENT)) {
    SString label = GetItemText(step);
    label += "\\";
    label += joined;
    joined = label;
  }
  if (!m_browsing) {
    if (!item || joined.GetLength() < 2) return SString();
    return joined.Left(joined.GetLength() - 1);
  }
  SString path = m_rootFolder;
  if (joined.GetLength() == 0) return path;
  path += joined.Left(joined.GetLength() - 1);
  if (m_disk.Exists(path.GetText())) path += "\\";
  return path;
}

LPARAM STreeCtrl::GetItemData(HTREEITEM item) {
  TVITEMA record;
  memset(&record, 0, sizeof(record));
  record.mask = TVIF_PARAM;
  record.hItem = item;
  if (!item || !m_hWnd || !SendMessage(TVM_GETITEMA, 0, ToLParam(&record))) return 0;
  return record.lParam;
}

HTREEITEM STreeCtrl::GetSelection() { return GetNextItem(nullptr, TVGN_CARET); }

HTREEITEM STreeCtrl::GetNextItem(HTREEITEM item, UINT relation) {
  return m_hWnd ? Relative(m_hWnd, relation, item) : nullptr;
}

int STreeCtrl::GetCount() { return m_hWnd ? int(SendMessage(TVM_GETCOUNT)) : 0; }

bool STreeCtrl::GetCheck(HTREEITEM item) {
  if (!item || !m_hWnd) return false;
  UINT state = UINT(SendMessage(TVM_GETITEMSTATE, ToWParam(item), TVIS_STATEIMAGEMASK));
  return (state >> 12) == kChecked;
}

void STreeCtrl::SetCheck(HTREEITEM item, bool checked) {
  SetState(m_hWnd, item, TVIS_STATEIMAGEMASK,
           INDEXTOSTATEIMAGEMASK(checked ? kChecked : kUnchecked));
}

void STreeCtrl::SetBold(HTREEITEM item, bool bold) {
  SetState(m_hWnd, item, TVIS_BOLD, bold ? TVIS_BOLD : 0);
}

bool STreeCtrl::IsBold(HTREEITEM item) {
  return item && m_hWnd && (SendMessage(TVM_GETITEMSTATE, ToWParam(item), TVIS_BOLD) & TVIS_BOLD);
}

void STreeCtrl::SetSubtreeChecks(HTREEITEM item, bool checked) {
  SArray<HTREEITEM> items;
  CollectItems(&items, item);
  for (int i = 0; i < items.GetCount(); ++i) SetCheck(items[i], checked);
}

int STreeCtrl::CollectItems(SArray<HTREEITEM>* items, HTREEITEM start) {
  if (!items || !m_hWnd) return 0;
  int before = items->GetCount();
  // Pre-order walk without recursion: down to the first child, else to the
  // next sibling of the nearest level that has one, never above start.
  HTREEITEM item = start ? GetNextItem(start, TVGN_CHILD) : GetNextItem(nullptr, TVGN_ROOT);
  while (item) {
    items->Add(item);
    HTREEITEM next = GetNextItem(item, TVGN_CHILD);
    while (!next && item) {
      next = GetNextItem(item, TVGN_NEXT);
      if (!next) {
        item = GetNextItem(item, TVGN_PARENT);
        if (item == start) item = nullptr;
      }
    }
    item = next;
  }
  return items->GetCount() - before;
}

HTREEITEM STreeCtrl::HitTest(POINT point, UINT* flags) {
  TVHITTESTINFO hit;
  memset(&hit, 0, sizeof(hit));
  hit.pt = point;
  HTREEITEM item =
      m_hWnd ? reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, ToLParam(&hit))) : nullptr;
  if (flags) *flags = hit.flags;
  return item;
}

bool STreeCtrl::IsDescendant(HTREEITEM item, HTREEITEM ancestor) {
  if (!item || !ancestor) return false;
  for (HTREEITEM step = GetNextItem(item, TVGN_PARENT); step;
       step = GetNextItem(step, TVGN_PARENT)) {
    if (step == ancestor) return true;
  }
  return false;
}

// --- checks ---------------------------------------------------------------------

void STreeCtrl::OnItemChecked(HTREEITEM item, bool checked) {
  SetSubtreeChecks(item, checked);
  for (HTREEITEM parent = GetNextItem(item, TVGN_PARENT); parent;
       parent = GetNextItem(parent, TVGN_PARENT)) {
    if (checked) {
      if (!GetCheck(parent)) SetCheck(parent, true);
      continue;
    }
    for (HTREEITEM child = GetNextItem(parent, TVGN_CHILD); child;
         child = GetNextItem(child, TVGN_NEXT)) {
      if (GetCheck(child)) return;
    }
    SetCheck(parent, false);
  }
}

// --- the tree file ----------------------------------------------------------------

bool STreeCtrl::Load(SFile* file) {
  if (!file || !m_hWnd) return false;
  SString magic;
  if (!ReadMagicLine(file, &magic) || !(magic == kMagic)) return false;
  SXml document("xml");
  if (!document.Parse(file)) return false;

  DeleteAllItems();
  // Depth-first over the elements with an explicit stack; an item is
  // expanded once all its children are in.
  struct Step {
    const SXmlItem* element;
    HTREEITEM item;
    int next;
    bool expand;
  };
  std::vector<Step> stack;
  stack.push_back({document.GetRoot(), nullptr, 0, false});
  bool failed = false;
  while (!stack.empty() && !failed) {
    Step& top = stack.back();
    const SArray<SXmlItem*>& children = top.element->GetChildren();
    if (top.next >= children.GetCount()) {
      if (top.expand) SendMessage(TVM_EXPAND, TVE_EXPAND, ToLParam(top.item));
      stack.pop_back();
      continue;
    }
    const SXmlItem* child = children[top.next++];
    Attributes a = ReadAttributes(child);
    HTREEITEM item = InsertItem(top.item, a.data, a.text.GetText(), a.image, a.selectedImage);
    if (!item) {
      failed = true;
      break;
    }
    if (a.checked) SetCheck(item, true);
    if (a.bold) SetBold(item, true);
    stack.push_back({child, item, 0, a.expanded});
  }
  if (failed) DeleteAllItems();
  return !failed;
}

bool STreeCtrl::Save(SFile* file) {
  if (!file || !m_hWnd) return false;
  SXml document("xml");
  struct Step {
    HTREEITEM item;
    SXmlItem* element;
  };
  std::vector<Step> stack;
  for (HTREEITEM item = GetNextItem(nullptr, TVGN_ROOT); item;
       item = GetNextItem(item, TVGN_NEXT)) {
    stack.push_back({item, document.GetRoot()});
  }
  std::reverse(stack.begin(), stack.end());
  while (!stack.empty()) {
    Step step = stack.back();
    stack.pop_back();
    char text[kTextSize] = {};
    TVITEMA record;
    memset(&record, 0, sizeof(record));
    record.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    record.hItem = step.item;
    record.pszText = text;
    record.cchTextMax = kTextSize;
    record.stateMask = TVIS_STATEIMAGEMASK | TVIS_BOLD | TVIS_EXPANDED;
    if (!SendMessage(TVM_GETITEMA, 0, ToLParam(&record))) return false;
    SXmlItem* element = step.element->AddChild("item");
    if (text[0]) element->AddAttribute("text", text);
    // Image 0 and no image look alike in the control: both are left out.
    if (record.iImage > 0)
      element->AddAttribute("image", SString::FromInt(record.iImage).GetText());
    if (record.iSelectedImage > 0) {
      element->AddAttribute("imageSel", SString::FromInt(record.iSelectedImage).GetText());
    }
    if (record.lParam != 0) {
      element->AddAttribute("data", SString::FromInt(int(record.lParam)).GetText());
    }
    if ((record.state >> 12) == kChecked) element->AddAttribute("checked", "1");
    if (record.state & TVIS_BOLD) element->AddAttribute("bold", "1");
    HTREEITEM first = GetNextItem(step.item, TVGN_CHILD);
    if (first && (record.state & TVIS_EXPANDED)) element->AddAttribute("expanded", "1");
    std::vector<Step> children;
    for (HTREEITEM child = first; child; child = GetNextItem(child, TVGN_NEXT)) {
      children.push_back({child, element});
    }
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  SString magic(kMagic);
  magic += "\r\n";
  return file->Write(magic.GetText(), magic.GetLength()) == magic.GetLength() &&
         document.Write(file);
}

// --- messages -----------------------------------------------------------------------

void STreeCtrl::AddDropTarget(HWND tree) {
  if (tree && tree != m_hWnd && m_dropTargets.Find(tree) < 0) m_dropTargets.Add(tree);
}

void STreeCtrl::OnLeftButtonDown(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  UINT flags = 0;
  HTREEITEM item = HitTest(point, &flags);
  if ((StyleOf(m_hWnd) & TVS_CHECKBOXES) && item && (flags & TVHT_ONITEMSTATEICON)) {
    bool before = GetCheck(item);
    *result = SWnd::WindowProc(WM_LBUTTONDOWN, wParam, lParam);
    bool after = GetCheck(item);
    if (m_hWnd && after != before) {
      if (m_checkPropagation) OnItemChecked(item, after);
      NotifyParent(SWM_TREECHECKED, ToWParam(this), ToLParam(item));
    }
    return;
  }
  MOUSERECORD record;
  HWND parent = GetParent();
  if (parent && MakeMouseRecord(m_hWnd, WM_LBUTTONDOWN, lParam, &record)) {
    SWnd::StaticWndProc(parent, SWM_TREEMOUSE, ToWParam(this), ToLParam(&record));
  }
  if (!m_hWnd) return;
  *result = SWnd::WindowProc(WM_LBUTTONDOWN, wParam, lParam);
  if (m_hWnd && m_dragDrop && item && (flags & TVHT_ONITEMLABEL)) TrackDrag(item);
}

LRESULT STreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_AFTERCREATE:
      m_dropTargets.RemoveAll();
      break;
    case WM_KEYDOWN:
      if (wParam == VK_F2) {
        HTREEITEM selected = GetSelection();
        if (selected) SendMessage(TVM_EDITLABELA, 0, ToLParam(selected));
      }
      NotifyParent(SWM_TREEKEYDOWN, ToWParam(this), LPARAM(wParam));
      if (!m_hWnd) return 0;
      break;
    case WM_LBUTTONDOWN: {
      LRESULT result = 0;
      OnLeftButtonDown(wParam, lParam, &result);
      return result;
    }
    case WM_RBUTTONDOWN: {
      POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      HTREEITEM item = HitTest(point);
      if (item && item != GetSelection()) SendMessage(TVM_SELECTITEM, TVGN_CARET, ToLParam(item));
      break;
    }
  }
  if (GetMouseRecordFlags(message)) {
    MOUSERECORD record;
    HWND parent = GetParent();
    if (parent && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
      SWnd::StaticWndProc(parent, SWM_TREEMOUSE, ToWParam(this), ToLParam(&record));
    }
    if (!m_hWnd) return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
