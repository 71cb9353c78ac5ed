// SDialogDesigner: construction, the window procedure, coordinates, the
// selection, hit testing, tab pages and the designer's texts.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

#include "window/SBrowserCtrl.h"
#include "window/SCursor.h"
#include "window/SMenu.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>

SDialogDesigner::KeyStateFunction SDialogDesigner::s_keyState = ::GetAsyncKeyState;
SDialogDesigner::CursorPosFunction SDialogDesigner::s_cursorPos = ::GetCursorPos;

namespace {

typedef SDialogDesigner::_SCtrl Record;

// Framework cursor kinds.
const int kCrossCursor = 2;

// The ActiveX letter submenus: names by their first letter, three to a menu.
const char* const kOleLetterCaptions[SDialogDesigner::OLE_LETTER_MENUS] = {
    "[A-B-C]", "[D-E-F]", "[G-H-I]", "[J-K-L]", "[M-N-O]",
    "[P-Q-R]", "[S-T-U]", "[V-W-X]", "[Y-Z]"};

// Scroll settings: line steps, page steps and rounding units of both axes.
const int kLineStep = 5;
const int kPageStep = 50;
const int kScrollUnit = 5;

// The blank-separated integers of a text.
std::vector<int> ReadIntegers(const SString& text) {
  std::vector<int> values;
  const char* p = text.GetText();
  if (!p) return values;
  while (*p) {
    char* end = nullptr;
    long value = strtol(p, &end, 10);
    if (end == p) {
      ++p;  // not a number: skip the character
      continue;
    }
    values.push_back(int(value));
    p = end;
  }
  return values;
}

bool Contains(const SArray<Record*>& list, const Record* record) {
  return const_cast<SArray<Record*>&>(list).Find(const_cast<Record*>(record)) >= 0;
}

}  // namespace

// --- construction -------------------------------------------------------------

SDialogDesigner::SDialogDesigner()
    : m_client{0, 0, 0, 0},
      m_area{0, 0, 0, 0},
      m_topRuler{0, 0, 0, 0},
      m_leftRuler{0, 0, 0, 0},
      m_rulers(true),
      m_pointerX(-1),
      m_pointerY(-1),
      m_notifyParent(true),
      m_undoEnabled(true),
      m_externDraw(nullptr),
      m_externDrawData(nullptr),
      m_menuPoint{0, 0},
      m_panel(nullptr),
      m_propertyGrid(nullptr),
      m_propertyGroup(-1) {}

SDialogDesigner::~SDialogDesigner() {
  m_undo.DeleteAndRemoveAll();
  m_contextMenu.RemoveAll();
  m_pageMenus.DeleteAndRemoveAll();
}

bool SDialogDesigner::Init() {
  SDialogEditor::Init();
  if (m_hWnd) ::GetClientRect(m_hWnd, &m_client);
  m_rulers = true;
  UpdateLayout();
  if (m_panel) {
    m_panel->SetButtonCheck(PANEL_MISC, MISC_GRID, true);
    m_panel->SetButtonCheck(PANEL_MISC, MISC_SNAP, true);
  }
  FillOleMenus();
  return true;
}

void SDialogDesigner::Reset() {
  SDialogEditor::Reset();
  m_undo.DeleteAndRemoveAll();
  // The document is cleared: the selection tool again, the panel's states.
  ResetPanelTool();
  RefreshPanel();
}

void SDialogDesigner::ResetPanelTool() {
  if (m_panel) m_panel->CheckRadioButton(PANEL_CONTROLS, 0);
}

bool SDialogDesigner::SetInsertType(int type) {
  if (!SDialogEditor::SetInsertType(type)) return false;
  if (m_insertType != -1) {
    SetCursor(GetFrameworkCursor(kCrossCursor));
  } else if (m_cursor) {
    SetCursor(nullptr);
    POINT point;
    if (::GetCursorPos(&point)) ::SetCursorPos(point.x, point.y);
  }
  return true;
}

void SDialogDesigner::OnControlDoubleClick(_SCtrl*) {}

int SDialogDesigner::TestHook(const char*) { return 0; }

void SDialogDesigner::NotifyChanged() {
  if (m_notifyParent && m_hWnd && GetParent()) {
    NotifyParent(SWM_CONTROLCHANGED, reinterpret_cast<WPARAM>(this), 0);
  }
}

// --- window procedure -----------------------------------------------------------

LRESULT SDialogDesigner::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
  switch (message) {
    case WM_SIZE:
      if (m_hWnd) {
        ::GetClientRect(m_hWnd, &m_client);
        UpdateScrollBars();
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case SWM_HSCROLLED:
    case SWM_VSCROLLED:
    case SWM_BROWSERCOMPLETE:  // a live browser control finished a page
      Redraw();
      break;
    case WM_ERASEBKGND: {
      // lParam: the memory DC of the window's double buffer.
      HDC dc = reinterpret_cast<HDC>(lParam ? lParam : wParam);
      if (wParam && dc && m_loaded && m_hWnd) {
        UpdateLayout();
        PaintDesignArea(dc);
        if (m_rulers) PaintRulers(dc);
      }
      break;
    }
    case WM_KEYDOWN:
      OnKeyDown(int(wParam));
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(x, y);
      break;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(x, y);
      break;
    case WM_LBUTTONDBLCLK:
      OnLeftDoubleClick(x, y);
      break;
    case WM_RBUTTONDOWN:
      OnRightButtonDown(x, y);
      break;
    case WM_MOUSEWHEEL:
      if (short(HIWORD(wParam)) < 0)
        ScrollLineDown();
      else
        ScrollLineUp();
      Redraw();
      break;
    case SWM_AFTERCREATE:
      m_commandMask = COMMAND_MASK;
      SetBackColor(COLOR_NONE);
      m_hLineStep = m_vLineStep = kLineStep;
      m_hPageStep = m_vPageStep = kPageStep;
      m_hScrollUnit = m_vScrollUnit = kScrollUnit;
      m_externMenu.CreatePopup(m_hWnd);
      m_contextMenu.CreatePopup(m_hWnd);
      m_oleMenu.CreatePopup(m_hWnd);
      for (SMenu& letters : m_oleLetterMenus) letters.CreatePopup(m_hWnd);
      for (int i = 0; i < OLE_LETTER_MENUS; ++i) {
        m_oleMenu.AddSubMenu(0, &m_oleLetterMenus[i], kOleLetterCaptions[i]);
      }
      Init();
      break;
    case SWM_MOUSEENTER:
    case SWM_MOUSELEAVE:
      OnMouseMove(-1, -1);
      break;
    case SWM_MENUCOMMAND:
      OnMenuCommand(reinterpret_cast<void*>(wParam), int(lParam));
      break;
  }
  return SDialogEditor::WindowProc(message, wParam, lParam);
}

void SDialogDesigner::OnMenuCommand(void* menu, int id) {
  switch (id) {
    case CMD_CUT:
      Cut();
      return;
    case CMD_COPY:
      Copy();
      return;
    case CMD_PASTE:
      Paste();
      return;
    case CMD_SELECTALL:
      SelectAll();
      return;
    case CMD_DELETE:
      Delete();
      return;
    case CMD_TEST:
      Test();
      return;
  }
  if (id >= CMD_EXTERN && id <= CMD_EXTERN_END) PlaceExtern(id);
  if (id >= PAGE_COMMAND && id <= PAGE_COMMAND_END) OnPageCommand(menu, id);
}

void SDialogDesigner::PlaceExtern(int id) {
  _SCtrl record;
  record.m_type = TYPE_EXTERN;
  POINT design = ClientToDesignPoint(m_menuPoint);
  record.m_left = int16_t(m_snap ? design.x - design.x % m_gridX : design.x);
  record.m_top = int16_t(m_snap ? design.y - design.y % m_gridY : design.y);
  SetProperty(&record, "EXTERN_NAME", m_externMenu.GetItemText(id).GetText());
  SetProperty(&record, "EXTERN_FILENAME", m_externMenu.GetItemData(id).GetText());
  PushUndo();
  if (!AddControl(this, true, &record, false, false)) {
    DropLastUndo();
    return;
  }
  Redraw();
  NotifyChanged();
}

void SDialogDesigner::OnPageCommand(void* menu, int id) {
  Record* tab = GetPrimary();
  if (!tab) return;
  int page = id / PAGE_COMMAND - 1;
  int k = id % PAGE_COMMAND;
  if (k == PAGE_SHOW) {
    SetPropertyInt(tab, "TAB_SELECTION", page);
    OnSelectionChanged(tab, tab);
  } else if (k >= PAGE_TOGGLE) {
    SMenu* source = static_cast<SMenu*>(menu);
    bool checked = source && source->IsItemChecked(id);
    SetTabPageMember(page, GetCtrl(k - PAGE_TOGGLE), !checked);
  }
  RecreateControl(this, tab);
  Redraw();
  NotifyChanged();
}

// --- coordinates ------------------------------------------------------------------

void SDialogDesigner::UpdateLayout() {
  RECT c = m_client;
  RECT none = {0, 0, 0, 0};
  if (!m_rulers) {
    m_area = c;
    m_topRuler = none;
    m_leftRuler = none;
    return;
  }
  m_area = {c.left + RULER_SIZE, c.top + RULER_SIZE, c.right, c.bottom};
  m_topRuler = {c.left + RULER_SIZE, c.top, c.right, c.top + RULER_SIZE};
  m_leftRuler = {c.left, c.top + RULER_SIZE, c.left + RULER_SIZE, c.bottom};
}

RECT SDialogDesigner::DesignToClient(const RECT& rect) {
  UpdateLayout();
  int dx = m_area.left - (m_hWnd ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0);
  int dy = m_area.top - (m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0);
  RECT out = rect;
  ::OffsetRect(&out, dx, dy);
  return out;
}

RECT SDialogDesigner::ClientToDesign(const RECT& rect) {
  UpdateLayout();
  int dx = m_area.left - (m_hWnd ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0);
  int dy = m_area.top - (m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0);
  RECT out = rect;
  ::OffsetRect(&out, -dx, -dy);
  return out;
}

POINT SDialogDesigner::ClientToDesignPoint(POINT point) {
  RECT r = {point.x, point.y, point.x, point.y};
  r = ClientToDesign(r);
  return {r.left, r.top};
}

RECT SDialogDesigner::RecordRect(const _SCtrl* r) {
  return {r->m_left, r->m_top, int16_t(r->m_left + r->m_width), int16_t(r->m_top + r->m_height)};
}

int SDialogDesigner::GetSnapStepX(bool invert) const { return (m_snap != invert) ? m_gridX : 1; }

int SDialogDesigner::GetSnapStepY(bool invert) const { return (m_snap != invert) ? m_gridY : 1; }

RECT SDialogDesigner::GetResizeGrip(const RECT& r, int grip) {
  int mx = r.left + abs(r.right - r.left) / 2;
  int my = r.top + abs(r.bottom - r.top) / 2;
  const int g = GRIP_SIZE, h = GRIP_SIZE / 2;
  switch (grip) {
    case 0:
      return {r.left - g, r.top - g, r.left, r.top};
    case 1:
      return {mx - h, r.top - g, mx + h, r.top};
    case 2:
      return {r.right, r.top - g, r.right + g, r.top};
    case 3:
      return {r.left - g, my - h, r.left, my + h};
    case 4:
      return {r.right, my - h, r.right + g, my + h};
    case 5:
      return {r.left - g, r.bottom, r.left, r.bottom + g};
    case 6:
      return {mx - h, r.bottom, mx + h, r.bottom + g};
    case 7:
      return {r.right, r.bottom, r.right + g, r.bottom + g};
  }
  return {0, 0, 0, 0};
}

// --- selection ----------------------------------------------------------------------

SDialogDesigner::_SCtrl* SDialogDesigner::GetCtrl(int index) const {
  return index >= 0 && index < m_controls.GetCount() ? m_controls[index] : nullptr;
}

SDialogDesigner::_SCtrl* SDialogDesigner::GetSelectedCtrl(int index) const {
  return index >= 0 && index < m_selection.GetCount() ? m_selection[index] : nullptr;
}

bool SDialogDesigner::RemoveFromSelection(_SCtrl* record) {
  if (!record || !Contains(m_selection, record)) return false;
  m_selection.RemoveValue(record);
  return true;
}

bool SDialogDesigner::MakePrimary(_SCtrl* record) {
  if (!record || record == m_dialog) return false;
  int index = m_selection.Find(record);
  if (index < 0) return false;
  if (index > 0) m_selection.Swap(0, index);
  return true;
}

bool SDialogDesigner::IsSelectionLocked() const {
  for (int i = 0; i < m_selection.GetCount(); ++i) {
    if (m_selection[i]->m_locked) return true;
  }
  return false;
}

void SDialogDesigner::SelectOnly(_SCtrl* record) {
  m_selection.RemoveAll();
  if (record) m_selection.Add(record);
}

void SDialogDesigner::TellWhenChanged(_SCtrl* previous, int previousCount) {
  if (GetPrimary() != previous || m_selection.GetCount() != previousCount) {
    OnSelectionChanged(previous, GetPrimary());
  }
}

SDialogDesigner::_SCtrl* SDialogDesigner::HitTest(POINT point) {
  SArray<_SCtrl*> hidden;
  CollectHiddenControls(&hidden);
  for (int i = m_controls.GetCount() - 1; i >= 0; --i) {
    _SCtrl* r = m_controls[i];
    RECT rect = DesignToClient(RecordRect(r));
    bool hit;
    if (r->m_type == TYPE_COMBO && (r->m_style & CBS_DROPDOWN)) {
      rect.bottom = std::min<LONG>(rect.bottom, rect.top + COMBO_HIT_HEIGHT);
      hit = ::PtInRect(&rect, point) != 0;
    } else if (r->m_type == TYPE_GROUP) {
      RECT inner = {rect.left + 10, rect.top + 20, rect.right - 10, rect.bottom - 10};
      inner.right = std::max(inner.right, inner.left);
      inner.bottom = std::max(inner.bottom, inner.top);
      hit = ::PtInRect(&rect, point) && !::PtInRect(&inner, point);
    } else {
      hit = ::PtInRect(&rect, point) != 0;
    }
    if (hit && !Contains(hidden, r)) return r;
  }
  if (m_dialog) {
    RECT rect = DesignToClient(RecordRect(m_dialog));
    if (::PtInRect(&rect, point)) return m_dialog;
  }
  return nullptr;
}

void SDialogDesigner::CollectHiddenControls(SArray<_SCtrl*>* hidden) const {
  if (!hidden) return;
  // Per TAB record: the page it shows and its (page, id) pairs.
  struct Tab {
    const _SCtrl* record;
    int shown;
    std::vector<int> pairs;
  };
  std::vector<Tab> tabs;
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    const _SCtrl* r = m_controls[i];
    if (r->m_type != TYPE_TAB) continue;
    tabs.push_back({r, GetPropertyInt(r, "TAB_SELECTION"),
                    ReadIntegers(GetProperty(r, "TAB_CHILDREN_PRIVATE"))});
  }
  if (tabs.empty()) return;
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    _SCtrl* r = m_controls[i];
    bool named = false, shown = false;
    for (const Tab& tab : tabs) {
      if (tab.record == r) continue;
      for (size_t k = 0; k + 1 < tab.pairs.size(); k += 2) {
        if (uint16_t(tab.pairs[k + 1]) != r->m_id) continue;
        named = true;
        if (tab.pairs[k] == tab.shown) shown = true;
      }
    }
    if (named && !shown) hidden->Add(r);
  }
}

void SDialogDesigner::SetTabPageMember(int page, _SCtrl* record, bool add) {
  _SCtrl* tab = GetPrimary();
  if (!tab || tab->m_type != TYPE_TAB || !record) return;
  SString content = GetProperty(tab, "TAB_CONTENT");
  int pages = content.GetLength() > 0 ? 1 : 0;
  for (const char* p = content.GetText(); p && *p; ++p) pages += *p == '|';
  std::vector<int> pairs = ReadIntegers(GetProperty(tab, "TAB_CHILDREN_PRIVATE"));
  size_t found = pairs.size();
  for (size_t k = 0; k + 1 < pairs.size(); k += 2) {
    if (pairs[k] == page && uint16_t(pairs[k + 1]) == record->m_id) {
      found = k;
      break;
    }
  }
  SString text("");
  for (size_t k = 0; k + 1 < pairs.size(); k += 2) {
    int p = pairs[k], id = pairs[k + 1];
    if (!add && k == found) continue;
    if (p < 0 || p >= pages || !FindControlById(int16_t(id))) continue;
    text += SString::FromInt(p) + " " + SString::FromInt(id) + " ";
  }
  if (add && found == pairs.size() && page >= 0 && page < pages) {
    text += SString::FromInt(page) + " " + SString::FromInt(record->m_id) + " ";
  }
  SetProperty(tab, "TAB_CHILDREN_PRIVATE", text.GetText());
  NotifyChanged();
}
