// SExListCtrl: creation, colours, the list view's notifications at the
// parent.
#include "core/Platform.h"
#include "window/SExListCtrl.h"

#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/WindowPrivate.h"

#include <string.h>

namespace {

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

const SControlKind kExListKind = {ControlKinds::KIND_EXTENDEDLIST, CUT_CLIP, nullptr,
                                  ListViewNotify};
const bool kExListKindRegistered = RegisterControlKind(&kExListKind);

}  // namespace

SExListCtrl::SExListCtrl() : m_brush(nullptr) { m_kind = ControlKinds::KIND_EXTENDEDLIST; }

SExListCtrl::~SExListCtrl() {
  if (m_brush) ::DeleteObject(m_brush);
  m_brush = nullptr;
}

bool SExListCtrl::Create(const RECT* rect, DWORD style, DWORD exStyle, HWND parent, int id) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  return CreateControl(WC_LISTVIEWA, "", style, exStyle, rect, parent,
                       reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, GetInstanceHandle());
}

void SExListCtrl::SetBackColor(COLORREF color) {
  if (color == SImage::COLOR_NONE || !m_hWnd) return;
  SendMessage(LVM_SETBKCOLOR, 0, LPARAM(color));
  SendMessage(LVM_SETTEXTBKCOLOR, 0, LPARAM(color));
}

COLORREF SExListCtrl::GetBackColor() {
  return m_hWnd ? COLORREF(SendMessage(LVM_GETBKCOLOR)) : SImage::COLOR_NONE;
}

LRESULT SExListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) &&
      !ForwardMouse(this, SWM_LISTMOUSE, message, lParam)) {
    return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
