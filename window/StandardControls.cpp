// The rows of the standard system controls whose kinds have no class of
// their own in the window toolkit: what their commands, notifications and
// scroll requests become at the parent, and how they are cut out of its
// background. A class made for one of these kinds later takes its row into
// its own file.
#include "core/Platform.h"
#include "window/StandardControls.h"

#include "window/ControlKinds.h"
#include "window/SWnd.h"
#include "window/WindowPrivate.h"

namespace {

typedef ControlKinds K;

// --- commands -------------------------------------------------------------------

void CheckCommand(SWnd* parent, SWnd* control, UINT code) {
  if (code != BN_CLICKED) return;
  bool checked = control->SendMessage(BM_GETCHECK) == BST_CHECKED;
  control->SendMessage(BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED);
  parent->SendMessage(SWM_CHECKCHANGED, ToWParam(control), control->SendMessage(BM_GETCHECK));
}

void RadioCommand(SWnd* parent, SWnd* control, UINT code) {
  if (code != BN_CLICKED) return;
  // The radio class checks itself and clears its group here.
  bool checked = control->SendMessage(BM_GETCHECK) == BST_CHECKED;
  parent->SendMessage(SWM_RADIOCLICKED, ToWParam(control), checked ? 1 : 0);
}

void RichEditCommand(SWnd* parent, SWnd* control, UINT code) {
  if (code == EN_CHANGE) parent->SendMessage(SWM_RICHEDITCHANGED, ToWParam(control), 0);
}

// --- notifications ----------------------------------------------------------------

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

bool ListViewNotify(SWnd* parent, SWnd* list, NMHDR* header, LRESULT* result) {
  WPARAM control = ToWParam(list);
  HWND hList = header->hwndFrom;
  uint32_t mouse = NotifyMouseFlags(header->code);
  if (mouse) {
    MOUSERECORD record = CursorRecord(hList, mouse);
    parent->SendMessage(SWM_LISTMOUSE, control, ToLParam(&record));
    if (header->code == NM_DBLCLK) {
      LVHITTESTINFO hit;
      memset(&hit, 0, sizeof(hit));
      hit.pt.x = record.x;
      hit.pt.y = record.y;
      int item = static_cast<int>(::SendMessageA(hList, LVM_HITTEST, 0, ToLParam(&hit)));
      if (item != -1) parent->SendMessage(SWM_LISTITEMDBLCLK, control, item);
    }
    return true;
  }
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
      int item = change->iItem;
      // A focused item that is not selected loses the focus and counts as no
      // selection.
      if (item != -1 && (change->uNewState & LVIS_FOCUSED) &&
          !(change->uNewState & LVIS_SELECTED)) {
        LVITEMA state;
        memset(&state, 0, sizeof(state));
        state.stateMask = LVIS_FOCUSED;
        ::SendMessageA(hList, LVM_SETITEMSTATE, item, ToLParam(&state));
        item = -1;
      }
      parent->SendMessage(SWM_LISTSELCHANGED, control, item);
      return true;
    }
    case LVN_COLUMNCLICK:
      parent->SendMessage(SWM_LISTCOLUMNCLICK, control,
                          reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_BEGINLABELEDITA:
      if (parent->SendMessage(SWM_LISTEDITBEGIN, control,
                              reinterpret_cast<NMLVDISPINFOA*>(header)->item.iItem) != 0) {
        *result = 1;
        return false;
      }
      return true;
    case LVN_ENDLABELEDITA: {
      LVITEMA* item = &reinterpret_cast<NMLVDISPINFOA*>(header)->item;
      if (item->mask & LVIF_TEXT) {
        *result = parent->SendMessage(SWM_LISTEDITEND, control, ToLParam(item)) == 0 ? 1 : 0;
        return false;
      }
      parent->SendMessage(SWM_LISTEDITCANCEL, control, ToLParam(item));
      return true;
    }
    case LVN_KEYDOWN:
      parent->SendMessage(SWM_LISTKEYDOWN, control, reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      return true;
  }
  return true;
}

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

bool TabNotify(SWnd* parent, SWnd* tab, NMHDR* header, LRESULT*) {
  if (header->code == TCN_SELCHANGE) {
    // The tab class shows the windows of the selected page here.
    LRESULT page = ::SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0);
    parent->SendMessage(SWM_TABSELCHANGED, ToWParam(tab), page);
  }
  return true;
}

// --- scrolling ----------------------------------------------------------------------

// The parent's steps move the bar; the parent hears of a move.
bool ScrollBarScroll(SWnd* parent, SWnd* bar, UINT message, WPARAM request) {
  bool vertical = message == WM_VSCROLL;
  int line = vertical ? parent->m_vLineStep : parent->m_hLineStep;
  int page = vertical ? parent->m_vPageStep : parent->m_hPageStep;
  int unit = vertical ? parent->m_vScrollUnit : parent->m_hScrollUnit;
  int position = static_cast<int>(bar->SendMessage(SBM_GETPOS));
  int minimum = 0, maximum = 0;
  bar->SendMessage(SBM_GETRANGE, ToWParam(&minimum), ToLParam(&maximum));
  int target = ScrollTarget(position, minimum, maximum, request, line, page, unit);
  if (target != position) {
    bar->SendMessage(SBM_SETPOS, target, TRUE);
    parent->SendMessage(SWM_SCROLLCTRLMOVED, ToWParam(bar), 0);
  }
  return true;
}

// Before the default processing.
bool SliderScroll(SWnd* parent, SWnd* slider, UINT, WPARAM) {
  parent->SendMessage(SWM_SLIDERMOVED, ToWParam(slider), 0);
  return false;
}

// kind, cut-out, command, notify, scroll.
const SControlKind kRows[] = {
    {K::KIND_CHECK, CUT_CLIP, CheckCommand},
    {K::KIND_EXTENDEDLIST, CUT_CLIP, nullptr, ListViewNotify},
    {K::KIND_PROGRESS, CUT_CLIP_WHILE_SIZING},
    {K::KIND_RADIO, CUT_PAINT, RadioCommand},
    {K::KIND_RICHEDIT, CUT_CLIP, RichEditCommand},
    {K::KIND_SCROLL, CUT_CLIP, nullptr, nullptr, ScrollBarScroll},
    {K::KIND_SLIDER, CUT_CLIP, nullptr, nullptr, SliderScroll},
    {K::KIND_STATIC, CUT_PAINT},
    {K::KIND_TAB, CUT_PAINT, nullptr, TabNotify},
    {K::KIND_TREE, CUT_CLIP, nullptr, TreeNotify},
};

}  // namespace

void RegisterStandardControlKinds() {
  for (const SControlKind& row : kRows) RegisterControlKind(&row);
}
