// SPropertyCtrl: the in-place editors and the change protocol.
#include "core/Platform.h"
#include "designer/SPropertyCtrl.h"

#include "core/SKeyboard.h"
#include "core/Utility.h"
#include "designer/SSelector.h"

#include <stdlib.h>

namespace {

const UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

// The value fields of a row, kept while a change is asked about.
struct SavedValue {
  explicit SavedValue(const SPropertyCtrl::_SItem* item)
      : yes(item->m_yes),
        text(item->m_text),
        color(item->m_color),
        fontName(item->m_fontName),
        fontSize(item->m_fontSize),
        fontStyle(item->m_fontStyle) {}
  void RestoreTo(SPropertyCtrl::_SItem* item) const {
    item->m_yes = yes;
    item->m_text = text;
    item->m_color = color;
    item->m_fontName = fontName;
    item->m_fontSize = fontSize;
    item->m_fontStyle = fontStyle;
  }

  bool yes;
  SString text;
  uint32_t color;
  SString fontName;
  int fontSize, fontStyle;
};

void DestroyEditorWindow(SWnd* wnd) {
  if (!wnd->m_hWnd) return;
  ::ShowWindow(wnd->m_hWnd, SW_HIDE);
  ::DestroyWindow(wnd->m_hWnd);
}

}  // namespace

// --- change protocol -------------------------------------------------------------------

bool SPropertyCtrl::ChangeItem(_SItem* item, int group, int index,
                               const std::function<void(_SItem*)>& store) {
  if (!item) return false;
  SavedValue old(item);
  store(item);
  bool accepted = CanChangeItem(group, item);
  if (accepted) {
    // The flag goes first: the parent may rebuild the rows while it hears
    // of the change.
    item->m_mixed = false;
    if (group >= 0 && index >= 0) {
      NotifyParent(SWM_PROPERTYCHANGED, reinterpret_cast<WPARAM>(this), MAKELONG(group, index));
    }
  } else {
    old.RestoreTo(item);
  }
  if (m_hWnd) Redraw(nullptr, kRedrawFlags);
  return accepted;
}

// --- opening ---------------------------------------------------------------------------

void SPropertyCtrl::BeginEdit(_SItem* item, int group, int index, int flag) {
  if (!item || GetItem(group, index) != item) return;
  RECT cell;
  if (!GetRowRect(RowFromItem(group, index), &cell)) return;
  ::InflateRect(&cell, -CELL_INSET, -CELL_INSET);
  switch (item->m_kind) {
    case ITEM_BOOL:
      ChangeItem(item, group, index, [](_SItem* it) { it->m_yes = it->m_mixed || !it->m_yes; });
      break;
    case ITEM_COLOR: {
      SSelector selector(m_hWnd);
      bool chosen = flag == 1 ? selector.ChooseSystemColor(item->m_caption.GetText())
                              : selector.ChooseColor(item->m_color, false);
      if (chosen) {
        uint32_t color = selector.m_color;
        ChangeItem(item, group, index, [color](_SItem* it) { it->m_color = color; });
      }
      SetFocus();
      break;
    }
    case ITEM_TEXT:
    case ITEM_INT:
    case ITEM_DECIMAL:
      OpenEdit(item, group, cell);
      break;
    case ITEM_FONT: {
      SSelector selector(m_hWnd);
      LOGFONTA font;
      FillLogFont(&font, item->m_fontName.GetText(), item->m_fontSize, item->m_fontStyle);
      int points = item->m_fontSize;
      if (selector.ChooseFont(&font, &points)) {
        ChangeItem(item, group, index, [&font, points](_SItem* it) {
          it->m_fontName = font.lfFaceName;
          it->m_fontSize = points;
          it->m_fontStyle = FontStyleFromLogFont(font);
        });
      }
      SetFocus();
      break;
    }
    case ITEM_OPTION:
      OpenList(item, group, cell);
      break;
  }
}

void SPropertyCtrl::OpenEdit(_SItem* item, int group, const RECT& cell) {
  if (m_edit.m_hWnd) return;
  RECT rect = cell;
  rect.right -= BUTTON_WIDTH;
  m_edit.m_owner = this;
  m_edit.m_closed = false;
  if (!m_edit.Create(ES_AUTOHSCROLL, item->m_mixed ? "" : item->m_text.GetText(), 0, &rect, m_hWnd,
                     0)) {
    m_edit.m_closed = true;
    return;
  }
  m_edit.m_group = group;
  m_edit.m_item = item;
  m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_editorFont), FALSE);
  m_edit.SendMessage(EM_SETSEL, 0, -1);
  m_edit.SetFocus();
  m_edit.Show(SW_SHOW);
}

void SPropertyCtrl::OpenList(_SItem* item, int group, const RECT& cell) {
  if (m_listHost.m_hWnd) return;
  int width = cell.right - cell.left;
  POINT corner = {cell.left, cell.top + m_rowHeight};
  ::ClientToScreen(m_hWnd, &corner);
  RECT rect = {corner.x, corner.y, corner.x + width, corner.y + LIST_HEIGHT};
  if (!m_listHost.Create("", WS_POPUP, WS_EX_TOOLWINDOW, &rect, m_hWnd)) return;
  m_listHost.SetBackColor(NO_COLOR);
  _SListCtrl& list = m_listHost.m_list;
  RECT inner = {0, 0, width, LIST_HEIGHT};
  list.m_closed = false;
  if (!list.Create(WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, &inner,
                   m_listHost.m_hWnd, 0)) {
    list.m_closed = true;
    ::DestroyWindow(m_listHost.m_hWnd);
    return;
  }
  list.m_host = &m_listHost;
  list.m_owner = this;
  list.m_group = group;
  list.m_item = item;
  list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_editorFont), FALSE);
  for (int i = 0; i < item->m_options.GetCount(); ++i) {
    list.AddItem(GetOptionText(item, i).GetText());
  }
  if (!item->m_mixed) list.SetSelection(FindOption(item, item->m_text.GetText()));
  list.SetClientSize(width, LIST_LINES * list.GetItemHeight());
  int listWidth = list.GetWidth(), listHeight = list.GetHeight();
  ::MoveWindow(list.m_hWnd, 0, 0, listWidth, listHeight, TRUE);
  // Under the row, or above it where the work area ends first.
  RECT work;
  GetWorkArea(&work);
  int top = rect.top;
  if (top + listHeight > work.bottom) {
    POINT cellTop = {cell.left, cell.top};
    ::ClientToScreen(m_hWnd, &cellTop);
    top = cellTop.y - listHeight;
  }
  ::MoveWindow(m_listHost.m_hWnd, rect.left, top, listWidth, listHeight, TRUE);
  m_listHost.Show(SW_SHOW);
  list.SetFocus();
}

void SPropertyCtrl::CloseEditors(bool redraw) {
  m_edit.Close(false, false);
  _SListCtrl& list = m_listHost.m_list;
  if (!list.m_closed) {
    list.m_closed = true;
    DestroyEditorWindow(&list);
    DestroyEditorWindow(&m_listHost);
  }
  if (redraw && m_hWnd) Redraw(nullptr, kRedrawFlags);
}

// --- the edit box ------------------------------------------------------------------------

void SPropertyCtrl::_SEditCtrl::Close(bool commit, bool redraw) {
  if (m_closed) return;
  m_closed = true;
  if (commit && m_owner && m_item && m_hWnd) {
    // A mixed row opened empty: only what the user typed is a new value,
    // and then it is one even when it matches the last control's.
    bool typed = SendMessage(EM_GETMODIFY) != 0;
    SString text = GetText();
    SString value;
    switch (m_item->m_kind) {
      case ITEM_INT:
        value = SString::FromInt(atoi(text.GetText()));
        break;
      case ITEM_DECIMAL:
        value.Format("%f", atof(text.GetText()));
        break;
      default:
        value = text;
        break;
    }
    bool change = m_item->m_mixed ? typed : value != m_item->m_text;
    if (change) {
      int group = m_group, index = -1;
      m_owner->LocateItem(m_item, &group, &index);
      m_owner->ChangeItem(m_item, group, index, [&value](_SItem* it) { it->m_text = value; });
    }
  }
  DestroyEditorWindow(this);
  if (redraw && m_owner && m_owner->m_hWnd) m_owner->Redraw(nullptr, kRedrawFlags);
}

LRESULT SPropertyCtrl::_SEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        Close(true, true);
        if (m_owner) m_owner->SetFocus();
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        Close(false, true);
        if (m_owner) m_owner->SetFocus();
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      if (!m_closed) Close(true, true);
      if (!m_hWnd) return 0;
      break;
  }
  return SEditCtrl::WindowProc(message, wParam, lParam);
}

// --- the drop-down list ----------------------------------------------------------------------

SPropertyCtrl::_SWndList::~_SWndList() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void SPropertyCtrl::_SListCtrl::Close(bool commit, bool redraw) {
  if (m_closed) return;
  m_closed = true;
  int selected = m_hWnd ? GetSelection() : -1;
  if (commit && m_owner && m_item && selected >= 0) {
    SString value = GetOptionValue(m_item, selected);
    int group = m_group, index = -1;
    m_owner->LocateItem(m_item, &group, &index);
    m_owner->ChangeItem(m_item, group, index,
                        [&value](SPropertyCtrl::_SItem* it) { it->m_text = value; });
  }
  DestroyEditorWindow(this);
  if (m_host) DestroyEditorWindow(m_host);
  if (redraw && m_owner && m_owner->m_hWnd) m_owner->Redraw(nullptr, kRedrawFlags);
}

LRESULT SPropertyCtrl::_SListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONUP:
      Close(true, true);
      if (m_owner) m_owner->SetFocus();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        Close(wParam == VK_RETURN, true);
        if (m_owner) m_owner->SetFocus();
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      if (!m_closed) Close(false, true);
      if (!m_hWnd) return 0;
      break;
  }
  return SListCtrl::WindowProc(message, wParam, lParam);
}
