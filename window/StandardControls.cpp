// The rows of the standard system controls whose kinds have no class of
// their own in the window toolkit (the tree control): what their
// notifications become at the parent, and how they are cut out of its
// background. A class made for one of these kinds later takes its row into
// its own file. Also the mouse records of common-control notifications.
#include "core/Platform.h"
#include "window/StandardControls.h"

#include "window/ControlKinds.h"
#include "window/SWnd.h"
#include "window/WindowPrivate.h"

MOUSERECORD CursorRecord(HWND control, uint32_t flags) {
  MOUSERECORD record = {flags, 0, 0, 0, 0};
  POINT point;
  if (::GetCursorPos(&point)) {
    record.screenX = point.x;
    record.screenY = point.y;
    ::ScreenToClient(control, &point);
    record.x = point.x;
    record.y = point.y;
  }
  return record;
}

uint32_t NotifyMouseFlags(UINT code) {
  switch (code) {
    case NM_CLICK:
      return MOUSE_LEFT | MOUSE_CLICK;
    case NM_DBLCLK:
      return MOUSE_LEFT | MOUSE_DOUBLE;
    case NM_RCLICK:
      return MOUSE_RIGHT | MOUSE_CLICK;
    case NM_RDBLCLK:
      return MOUSE_RIGHT | MOUSE_DOUBLE;
  }
  return 0;
}

namespace {

typedef ControlKinds K;

// --- notifications ----------------------------------------------------------------

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool TreeNotify(SWnd* parent, SWnd* tree, NMHDR* header, LRESULT* result) {
  WPARAM control = ToWParam(tree);
  HWND hTree = header->hwndFrom;
  HTREEITEM selected = TreeItem(hTree, TVGN_CARET, nullptr);
  uint32_t mouse = NotifyMouseFlags(header->code);
  if (mouse) {
    MOUSERECORD record = CursorRecord(hTree, mouse);
    parent->SendMessage(SWM_TREEMOUSE, control, ToLParam(&record));
    if (header->code == NM_DBLCLK && selected) {
      RECT rect;
      memcpy(&rect, &selected, sizeof(selected));
      POINT cursor = {record.x, record.y};
      if (::SendMessageA(hTree, TVM_GETITEMRECT, FALSE, ToLParam(&rect)) &&
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
      HTREEITEM root = TreeItem(hTree, TVGN_ROOT, nullptr);
      if (selected && !TreeItem(hTree, TVGN_PARENT, selected) && root &&
          !TreeItem(hTree, TVGN_NEXT, root)) {
        parent->SendMessage(SWM_TREESELCHANGED, control, 0);
      }
      return true;
    }
    case TVN_ITEMEXPANDEDA:
      // The tree class browsing the file system fills the expanded item here.
      parent->SendMessage(SWM_TREEEXPANDED, control,
                          ToLParam(reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem));
      return true;
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

// kind, cut-out, command, notify, scroll.
const SControlKind kRows[] = {
    {K::KIND_TREE, CUT_CLIP, nullptr, TreeNotify},
};

}  // namespace

void RegisterStandardControlKinds() {
  for (const SControlKind& row : kRows) RegisterControlKind(&row);
}
