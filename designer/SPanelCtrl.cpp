// SPanelCtrl: groups and buttons, layout, hit test and the window procedure.
#include "core/Platform.h"
#include "designer/SPanelCtrl.h"

#include "window/ControlFactory.h"

namespace {

// Button rectangles and the flags the redraws pass.
const UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

SWnd* ConstructPanel() { return new SPanelCtrl; }

const SDialogControlClass kPanelClass = {ConstructPanel, nullptr, nullptr};

}  // namespace

// --- groups -----------------------------------------------------------------------

int SPanelCtrl::_SGroup::FindButton(int command) const {
  for (int i = 0; i < m_buttons.GetCount(); ++i) {
    if (!m_buttons[i]->m_separator && m_buttons[i]->m_command == command) return i;
  }
  return -1;
}

int SPanelCtrl::_SGroup::FirstOfRun(int command) const {
  int index = FindButton(command);
  if (index < 0) return -1;
  while (index > 0 && !m_buttons[index - 1]->m_separator) --index;
  return index;
}

int SPanelCtrl::_SGroup::LastOfRun(int command) const {
  int index = FindButton(command);
  if (index < 0) return -1;
  while (index + 1 < m_buttons.GetCount() && !m_buttons[index + 1]->m_separator) ++index;
  return index;
}

// --- panel ------------------------------------------------------------------------

SPanelCtrl::SPanelCtrl()
    : m_highlightTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_highlightColor(::GetSysColor(COLOR_HIGHLIGHT)),
      m_faceColor(::GetSysColor(COLOR_BTNFACE)),
      m_windowColor(::GetSysColor(COLOR_WINDOW)),
      m_shadowColor(::GetSysColor(COLOR_BTNSHADOW)),
      m_titleFont(nullptr),
      m_titleHeight(MIN_TITLE_HEIGHT),
      m_hotGroup(-1),
      m_hotCommand(-1),
      m_pressedGroup(-1),
      m_pressedCommand(-1) {
  m_kind = KIND;
}

SPanelCtrl::~SPanelCtrl() {
  // The window goes first: its last messages still find the groups.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  m_groups.DeleteAndRemoveAll();
  if (m_titleFont) ::DeleteObject(m_titleFont);
}

bool SPanelCtrl::Register() {
  return RegisterDialogControlClass(ControlKinds::TYPE_PANEL, &kPanelClass);
}

SPanelCtrl::_SGroup* SPanelCtrl::AddGroup(int id, const char* caption) {
  if (FindGroup(id)) return nullptr;
  _SGroup* group = new _SGroup;
  group->m_id = id;
  group->m_caption = caption ? caption : "";
  m_groups.Add(group);
  Layout();
  return group;
}

bool SPanelCtrl::AddButton(int command, const char* caption) {
  if (m_groups.GetCount() == 0) return false;
  _SGroup* group = m_groups.GetLast();
  _SButton* button = new _SButton{group,
                                  false,
                                  command == -1 ? 0 : command,
                                  SString(caption ? caption : ""),
                                  {0, 0, 0, 0},
                                  0,
                                  true,
                                  false,
                                  NO_SWATCH};
  group->m_buttons.Add(button);
  Layout();
  return true;
}

bool SPanelCtrl::AddSeparator() {
  if (m_groups.GetCount() == 0) return false;
  _SGroup* group = m_groups.GetLast();
  group->m_buttons.Add(
      new _SButton{group, true, 0, SString(""), {0, 0, 0, 0}, 0, true, false, NO_SWATCH});
  Layout();
  return true;
}

SPanelCtrl::_SGroup* SPanelCtrl::FindGroup(int id) {
  for (int i = 0; i < m_groups.GetCount(); ++i) {
    if (m_groups[i]->m_id == id) return m_groups[i];
  }
  return nullptr;
}

SPanelCtrl::_SButton* SPanelCtrl::FindButton(int group, int command) {
  _SGroup* g = FindGroup(group);
  int index = g ? g->FindButton(command) : -1;
  return index >= 0 ? g->m_buttons[index] : nullptr;
}

bool SPanelCtrl::CheckRadioButton(int group, int command) {
  _SGroup* g = FindGroup(group);
  _SButton* button = FindButton(group, command);
  if (!button || button->m_checked) return false;
  int last = g->LastOfRun(command);
  for (int i = g->FirstOfRun(command); i <= last; ++i) {
    g->m_buttons[i]->m_checked = g->m_buttons[i]->m_command == command;
  }
  RedrawGroup(group);
  return true;
}

bool SPanelCtrl::SetButtonCheck(int group, int command, bool checked) {
  _SButton* button = FindButton(group, command);
  if (!button || button->m_checked == checked) return false;
  button->m_checked = checked;
  RedrawGroup(group);
  return true;
}

bool SPanelCtrl::DisableGroup(int group) {
  _SGroup* g = FindGroup(group);
  if (!g || !g->m_enabled) return false;
  for (int i = 0; i < g->m_buttons.GetCount(); ++i) g->m_buttons[i]->m_enabled = false;
  RedrawGroup(group);
  return true;
}

void SPanelCtrl::RedrawGroup(int group) {
  _SGroup* g = FindGroup(group);
  if (g && m_hWnd) Redraw(&g->m_rect, kRedrawFlags);
}

SPanelCtrl::_SButton* SPanelCtrl::HitTest(int x, int y, int* group, int* command,
                                          bool includeDisabled) {
  POINT point = {x, y};
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    _SGroup* entry = m_groups[g];
    for (int i = 0; i < entry->m_buttons.GetCount(); ++i) {
      _SButton* button = entry->m_buttons[i];
      if (button->m_separator || (!button->m_enabled && !includeDisabled)) continue;
      if (!::PtInRect(&button->m_rect, point)) continue;
      if (group) *group = entry->m_id;
      if (command) *command = button->m_command;
      return button;
    }
  }
  if (group) *group = -1;
  if (command) *command = -1;
  return nullptr;
}

void SPanelCtrl::Layout() {
  RECT client = {0, 0, 0, 0};
  int width = m_hWnd && ::GetClientRect(m_hWnd, &client) ? client.right : 0;
  int y = 0;
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    _SGroup* group = m_groups[g];
    group->m_title = {0, y, width, y + m_titleHeight};
    int top = y;
    y += m_titleHeight + 1;
    int x = ROW_START;
    int image = 0;
    for (int i = 0; i < group->m_buttons.GetCount(); ++i) {
      _SButton* button = group->m_buttons[i];
      int w = button->m_separator ? SEPARATOR_WIDTH : BUTTON_SIZE;
      if (x + w > width) {
        x = ROW_START;
        y += BUTTON_SIZE;
      }
      button->m_rect = {x, y, x + w, y + BUTTON_SIZE};
      x += w;
      if (!button->m_separator) button->m_image = image++;
    }
    if (x != ROW_START) y += BUTTON_SIZE;
    group->m_rect = {0, top, width, y};
    y += 1;
  }
}

void SPanelCtrl::OnButton(int, int, _SButton*) {}

// --- window procedure ---------------------------------------------------------------

void SPanelCtrl::OnAfterCreate() {
  HDC dc = ::GetDC(m_hWnd);
  TEXTMETRICA metrics;
  if (dc && ::GetTextMetricsA(dc, &metrics)) {
    m_titleHeight = metrics.tmHeight + 2;
    if (m_titleHeight < MIN_TITLE_HEIGHT) m_titleHeight = MIN_TITLE_HEIGHT;
  }
  if (dc) ::ReleaseDC(m_hWnd, dc);
  LOGFONTA font;
  if (::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font)) {
    font.lfWeight = FW_BOLD;
    if (m_titleFont) ::DeleteObject(m_titleFont);
    m_titleFont = ::CreateFontIndirectA(&font);
  }
  SetBackColor(m_faceColor);
}

void SPanelCtrl::OnMouseMove(int x, int y) {
  int previous = m_hotGroup;
  HitTest(x, y, &m_hotGroup, &m_hotCommand, true);
  if (previous != -1) RedrawGroup(previous);
  if (m_hotGroup != -1 && m_hotGroup != previous) RedrawGroup(m_hotGroup);
}

void SPanelCtrl::NotifyMouse(UINT message, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (!m_hWnd || !parent || !MakeMouseRecord(m_hWnd, message, lParam, &record)) return;
  StaticWndProc(parent, SWM_PANELMOUSE, reinterpret_cast<WPARAM>(this),
                reinterpret_cast<LPARAM>(&record));
}

LRESULT SPanelCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
  switch (message) {
    case WM_SIZE:
      Layout();
      break;
    case WM_SHOWWINDOW:
      if (wParam) Layout();
      break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
      break;
    case SWM_AFTERCREATE:
      OnAfterCreate();
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(x, y);
      break;
    case WM_LBUTTONDOWN:
      HitTest(x, y, &m_pressedGroup, &m_pressedCommand, false);
      Redraw(nullptr, kRedrawFlags);
      NotifyMouse(message, lParam);
      break;
    case WM_LBUTTONUP: {
      bool pressed = m_pressedGroup != -1 || m_pressedCommand != -1;
      m_pressedGroup = m_pressedCommand = -1;
      if (pressed) Redraw(nullptr, kRedrawFlags);
      NotifyMouse(message, lParam);
      break;
    }
    case SWM_LCLICK: {
      int group, command;
      if (_SButton* button = HitTest(x, y, &group, &command, false)) {
        SendMessage(SWM_PANELCOMMAND, reinterpret_cast<WPARAM>(this),
                    LPARAM((group & 0xFFFF) | (uint32_t(command) << 16)));
        OnButton(group, command, button);
      }
      NotifyMouse(message, lParam);
      break;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case SWM_MCLICK:
    case SWM_RCLICK:
      NotifyMouse(message, lParam);
      break;
    case SWM_MOUSELEAVE: {
      bool any =
          m_hotGroup != -1 || m_hotCommand != -1 || m_pressedGroup != -1 || m_pressedCommand != -1;
      m_hotGroup = m_hotCommand = m_pressedGroup = m_pressedCommand = -1;
      if (any) Redraw(nullptr, kRedrawFlags);
      break;
    }
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
