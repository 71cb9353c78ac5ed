// SListCtrl: items, selection, drawing and mouse handling.
#include "core/Platform.h"
#include "window/SListCtrl.h"

#include "core/SKeyboard.h"
#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/WindowPrivate.h"

namespace {


int Larger(int a, int b) {
  return a > b ? a : b;
}

int Smaller(int a, int b) {
  return a < b ? a : b;
}

SListCtrl* ListOf(HWND hWnd) {
  return dynamic_cast<SListCtrl*>(SWnd::FromHandle(hWnd));
}

// The list control of the window that an item being measured belongs to:
// the one list child with the id, or, when several share it, the item
// record's own list among them. Null for any other list box.
SListCtrl* ListOfItem(HWND parent, UINT id, ULONG_PTR data) {
  SArray<SListCtrl*> lists;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    SListCtrl* list = static_cast<UINT>(::GetDlgCtrlID(child)) == id ? ListOf(child) : nullptr;
    if (list) lists.Add(list);
  }
  if (lists.GetCount() <= 1) return lists.GetCount() ? lists[0] : nullptr;
  SListCtrl* owner = reinterpret_cast<SListCtrl::_SItem*>(data)->m_owner;
  return lists.Find(owner) >= 0 ? owner : nullptr;
}

bool MeasureListItem(SWnd* parent, MEASUREITEMSTRUCT* measure) {
  if (measure->CtlType != ODT_LISTBOX || !measure->itemData) return false;
  SListCtrl* list = ListOfItem(parent->m_hWnd, measure->CtlID, measure->itemData);
  if (!list) return false;
  measure->itemHeight = list->GetItemHeight();
  return true;
}

bool DrawListItem(SWnd*, DRAWITEMSTRUCT* draw) {
  if (draw->CtlType != ODT_LISTBOX || draw->itemID == static_cast<UINT>(-1)) return false;
  SListCtrl* list = ListOf(draw->hwndItem);
  return list && list->DrawItem(draw);
}

const SControlKind kListKind = {ControlKinds::KIND_LIST, CUT_CLIP, nullptr, nullptr, nullptr,
                                MeasureListItem, DrawListItem};
const bool kListKindRegistered = RegisterControlKind(&kListKind);

}  // namespace

SListCtrl::SListCtrl()
    : m_backBrush(nullptr),
      m_textColor(::GetSysColor(COLOR_WINDOWTEXT)),
      m_selBackColor(::GetSysColor(COLOR_HIGHLIGHT)),
      m_selTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_margin(1),
      m_leftImages(nullptr),
      m_rightImages(nullptr),
      m_leftImageWidth(0),
      m_leftImageHeight(0),
      m_rightImageWidth(0),
      m_rightImageHeight(0) {
  m_kind = ControlKinds::KIND_LIST;
}

SListCtrl::~SListCtrl() {
  RemoveAll();
  if (m_backBrush) ::DeleteObject(m_backBrush);
  m_backBrush = nullptr;
}

bool SListCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id) {
  DWORD scrollBars = style & (WS_HSCROLL | WS_VSCROLL);
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  style &= ~static_cast<DWORD>(LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_SORT);
  style |= LBS_OWNERDRAWVARIABLE;
  if (!CreateControl("LISTBOX", "", style, exStyle, rect, parent,
                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                     GetInstanceHandle())) {
    return false;
  }
  if (scrollBars && m_hWnd) {
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | scrollBars);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Items

int SListCtrl::AddItem(const char* text) {
  if (!m_hWnd) return -1;
  _SItem* item = new _SItem;
  item->m_text = text;
  item->m_leftImage = -1;
  item->m_rightImage = -1;
  item->m_data = 0;
  item->m_owner = this;
  int index = static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item)));
  if (index < 0) {
    delete item;
    return -1;
  }
  return index;
}

SListCtrl::_SItem* SListCtrl::ItemAt(int index) {
  if (index < 0 || index >= GetCount()) return nullptr;
  LRESULT data = SendMessage(LB_GETITEMDATA, index, 0);
  if (data == LB_ERR) return nullptr;
  return reinterpret_cast<_SItem*>(data);
}

SString SListCtrl::GetItemText(int index) {
  _SItem* item = ItemAt(index);
  return item ? item->m_text : SString("");
}

int SListCtrl::GetCount() {
  if (!m_hWnd) return 0;
  int count = static_cast<int>(SendMessage(LB_GETCOUNT, 0, 0));
  return count > 0 ? count : 0;
}

void SListCtrl::RemoveAll() {
  int count = GetCount();
  if (count == 0) return;
  SArray<_SItem*> items;
  for (int i = 0; i < count; ++i) items.Add(ItemAt(i));
  // The list box forgets the records before they are freed.
  SendMessage(LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items.GetCount(); ++i) delete items[i];
}

// ---------------------------------------------------------------------------
// Selection

bool SListCtrl::IsMulti() {
  return m_hWnd && (::GetWindowLongA(m_hWnd, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL));
}

int SListCtrl::GetSelection() {
  if (!m_hWnd) return -1;
  if (!IsMulti()) {
    int index = static_cast<int>(SendMessage(LB_GETCURSEL, 0, 0));
    return index < 0 ? -1 : index;
  }
  int first = -1;
  if (SendMessage(LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) <= 0) return -1;
  return first;
}

void SListCtrl::SetSelection(int index) {
  if (!m_hWnd) return;
  if (!IsMulti()) {
    SendMessage(LB_SETCURSEL, index, 0);
    return;
  }
  SendMessage(LB_SETSEL, FALSE, -1);
  if (index != -1) SendMessage(LB_SETSEL, TRUE, index);
}

void SListCtrl::SelectItem(int index, bool select) {
  if (index < 0 || index >= GetCount()) return;
  if (!IsMulti()) {
    SendMessage(LB_SETCURSEL, select ? index : -1, 0);
  } else {
    SendMessage(LB_SETSEL, select ? TRUE : FALSE, index);
  }
}

void SListCtrl::SelectRange(int first, int last) {
  if (!m_hWnd || first < 0 || last < 0) return;
  SendMessage(LB_SELITEMRANGE, TRUE, MAKELPARAM(first, last));
}

bool SListCtrl::IsSelected(int index) {
  if (!m_hWnd || index < 0) return false;
  if (!IsMulti()) return SendMessage(LB_GETCURSEL, 0, 0) == index;
  return SendMessage(LB_GETSEL, index, 0) > 0;
}

bool SListCtrl::ToggleSelection(int index) {
  SelectItem(index, !IsSelected(index));
  return IsSelected(index);
}

int SListCtrl::GetSelectedCount() {
  if (!m_hWnd) return 0;
  if (!IsMulti()) return GetSelection() != -1 ? 1 : 0;
  int count = static_cast<int>(SendMessage(LB_GETSELCOUNT, 0, 0));
  return count > 0 ? count : 0;
}

int SListCtrl::ItemFromPoint(int x, int y) {
  if (!m_hWnd) return -1;
  LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
  if (HIWORD(hit)) return -1;
  int index = LOWORD(hit);
  int count = GetCount();
  if (index >= count) return -1;
  if (index == count - 1) {
    RECT rect;
    POINT point = {x, y};
    if (SendMessage(LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) == LB_ERR ||
        !::PtInRect(&rect, point)) {
      return -1;
    }
  }
  return index;
}

// ---------------------------------------------------------------------------
// Drawing

int SListCtrl::GetItemHeight() {
  if (!m_hWnd) return 0;
  int text = 0;
  HDC dc = ::GetDC(m_hWnd);
  if (dc) {
    TEXTMETRICA metrics;
    if (::GetTextMetricsA(dc, &metrics)) text = metrics.tmHeight;
    ::ReleaseDC(m_hWnd, dc);
  }
  return Larger(text, Larger(m_leftImageHeight, m_rightImageHeight)) + 2 * m_margin;
}

bool SListCtrl::DrawItem(const DRAWITEMSTRUCT* draw) {
  if (!m_hWnd || !draw) return false;
  _SItem* item = reinterpret_cast<_SItem*>(draw->itemData);
  if (!item || item->m_owner != this) return false;
  if (!(draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return true;

  HDC dc = draw->hDC;
  RECT whole = draw->rcItem;
  RECT text = whole;
  bool leftColumn = m_leftImageWidth > 0;
  bool rightColumn = m_rightImageWidth > 0;
  if (leftColumn) text.left += m_leftImageWidth + 4 * m_margin;
  if (rightColumn) text.right -= 4 * m_margin + m_rightImageWidth;

  COLORREF back = GetBackColor();
  if (back == SImage::COLOR_NONE || back == SImage::COLOR_HOLLOW)
    back = ::GetSysColor(COLOR_WINDOW);
  HBRUSH brush = ::CreateSolidBrush(back);
  ::FillRect(dc, &whole, brush);
  ::DeleteObject(brush);
  bool selected = (draw->itemState & ODS_SELECTED) != 0;
  if (selected) {
    brush = ::CreateSolidBrush(m_selBackColor);
    ::FillRect(dc, &text, brush);
    ::DeleteObject(brush);
  }

  int height = whole.bottom - whole.top;
  if (item->m_leftImage != -1 && leftColumn && m_leftImages) {
    ::ImageList_Draw(m_leftImages, item->m_leftImage, dc, 2 * m_margin,
                     whole.top + (height - m_leftImageHeight) / 2, ILD_NORMAL);
  }
  if (item->m_rightImage != -1 && rightColumn && m_rightImages) {
    ::ImageList_Draw(m_rightImages, item->m_rightImage, dc, text.right,
                     whole.top + (height - m_rightImageHeight) / 2, ILD_NORMAL);
  }

  if (item->m_text.GetLength() > 0) {
    text.left += 2 * m_margin;
    text.right -= 2 * m_margin;
    int mode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF color = ::SetTextColor(dc, selected ? m_selTextColor : m_textColor);
    ::DrawTextA(dc, item->m_text.GetText(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, mode);
  }
  return true;
}

HBRUSH SListCtrl::OnCtlColorListBox(HDC) {
  // The list paints no hollow background.
  COLORREF back = GetBackColor();
  return BackgroundBrush(back == SImage::COLOR_HOLLOW ? SImage::COLOR_NONE : back, nullptr,
                         &m_backBrush);
}

// ---------------------------------------------------------------------------
// Messages

void SListCtrl::SendMouseRecord(UINT message, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (!parent || !MakeMouseRecord(m_hWnd, message, lParam, &record)) return;
  StaticWndProc(parent, SWM_LISTBOXMOUSE, reinterpret_cast<WPARAM>(this),
                reinterpret_cast<LPARAM>(&record));
}

void SListCtrl::SelectOnPress(UINT message, int index) {
  WPARAM self = reinterpret_cast<WPARAM>(this);
  DWORD style = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));

  if (style & LBS_EXTENDEDSEL) {
    int modifiers = GetModifierKeys();
    int current = GetSelection();
    int anchor = static_cast<int>(SendMessage(LB_GETANCHORINDEX, 0, 0));
    if (anchor < 0 || anchor >= GetCount()) anchor = -1;
    int count = GetSelectedCount();
    switch (modifiers) {
      case 1:  // Shift: the range from the anchor replaces the selection
        if (current == -1 || anchor == -1 || index == -1) {
          SetSelection(index);
        } else {
          SetSelection(-1);
          SelectRange(Smaller(anchor, index), Larger(anchor, index));
          SendMessage(LB_SETANCHORINDEX, anchor, 0);
        }
        break;
      case 2:  // Ctrl: the item flips; the anchor follows
        if (index == -1) return;
        if (ToggleSelection(index)) {
          SendMessage(LB_SETANCHORINDEX, index, 0);
        } else {
          SendMessage(LB_SETANCHORINDEX, GetSelection(), 0);
        }
        break;
      case 3:  // Ctrl and Shift: the range from the anchor is added
        if (current == -1 || anchor == -1) {
          SetSelection(index);
        } else if (index != -1) {
          SelectRange(Smaller(anchor, index), Larger(anchor, index));
          SendMessage(LB_SETANCHORINDEX, anchor, 0);
        }
        break;
      default:
        // A right click on a selected item keeps the selection for a menu.
        if (message == WM_RBUTTONDOWN && index != -1 && IsSelected(index)) return;
        SetSelection(index);
        if (index == current && count <= 1) return;
        break;
    }
    NotifyParent(SWM_LISTBOXSELCHANGED, self, 0);
    return;
  }

  if (style & LBS_MULTIPLESEL) {
    if (message == WM_RBUTTONDOWN) return;
    if (index == -1) {
      SetSelection(-1);
    } else {
      ToggleSelection(index);
    }
    NotifyParent(SWM_LISTBOXSELCHANGED, self, 0);
    return;
  }

  if (index != GetSelection()) {
    SetSelection(index);
    NotifyParent(SWM_LISTBOXSELCHANGED, self, 0);
  }
}

LRESULT SListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  WPARAM self = reinterpret_cast<WPARAM>(this);
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(::GetSysColor(COLOR_WINDOW));
      break;

    case WM_DESTROY:
      RemoveAll();
      break;

    case WM_KEYDOWN: {
      int before = GetSelection();
      LRESULT result = SWnd::WindowProc(message, wParam, lParam);
      if (!m_hWnd) return result;
      if (GetSelection() != before) NotifyParent(SWM_LISTBOXSELCHANGED, self, 0);
      NotifyParent(SWM_LISTBOXKEYDOWN, self, static_cast<LPARAM>(wParam));
      return result;
    }

    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SelectOnPress(message, ItemFromPoint(static_cast<short>(LOWORD(lParam)),
                                           static_cast<short>(HIWORD(lParam))));
      if (!m_hWnd) return 0;
      if (message == WM_LBUTTONDOWN) {
        // The list box's own left-button selection never runs.
        SetFocus();
        SendMouseRecord(message, lParam);
        return 0;
      }
      break;

    case WM_LBUTTONDBLCLK:
      if (GetSelection() != -1) {
        NotifyParent(SWM_LISTBOXDBLCLK, self, 0);
        if (!m_hWnd) return 0;
        LRESULT result = SWnd::WindowProc(message, wParam, lParam);
        SendMouseRecord(message, lParam);
        return result;
      }
      break;

    case SWM_MCLICK:
    case SWM_RCLICK:
      SetFocus();
      break;
  }
  if (m_hWnd && GetMouseRecordFlags(message)) SendMouseRecord(message, lParam);
  return SWnd::WindowProc(message, wParam, lParam);
}
