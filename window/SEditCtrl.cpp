// SEditCtrl: keys, mouse records, colours and printing of the edit control.
#include "core/Platform.h"
#include "window/SEditCtrl.h"

#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/WindowPrivate.h"

namespace {


// A change the user typed (the edit has the focus).
void EditCommand(SWnd* parent, SWnd* edit, UINT code) {
  if (code == EN_CHANGE && ::GetFocus() == edit->m_hWnd) {
    parent->SendMessage(SWM_EDITCHANGED, ToWParam(edit), 0);
  }
}

const SControlKind kEditKind = {ControlKinds::KIND_EDIT, CUT_CLIP_WHILE_SIZING, EditCommand};
const bool kEditKindRegistered = RegisterControlKind(&kEditKind);

bool IsKeyDown(int key) {
  return (::GetAsyncKeyState(key) & 0x8000) != 0;
}

// Control characters that still reach the edit: the keys of cut, copy,
// paste and undo.
const int kControlKeys[] = {'X', 'C', 'V', 'Z'};

bool IsControlKeyAllowed() {
  if (IsKeyDown(VK_MENU)) return true;  // AltGr and Control+Alt characters
  for (int key : kControlKeys) {
    if (IsKeyDown(key)) return true;
  }
  return false;
}

}  // namespace

SEditCtrl::SEditCtrl() : m_popupMenu(true), m_textColor(SImage::COLOR_NONE), m_brush(nullptr) {
  m_kind = ControlKinds::KIND_EDIT;
}

SEditCtrl::~SEditCtrl() {
  FreeBrush();
}

bool SEditCtrl::Create(DWORD style, const char* caption, DWORD exStyle, const RECT* rect,
                       HWND parent, int id) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  return CreateControl("EDIT", caption, style, exStyle, rect, parent,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                       GetInstanceHandle());
}

void SEditCtrl::MoveCaretToEnd() {
  if (!m_hWnd) return;
  int length = ::GetWindowTextLengthA(m_hWnd);
  SendMessage(EM_SETSEL, static_cast<WPARAM>(length), -1);
}

void SEditCtrl::NotifyMouse(UINT message, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (!m_hWnd || !parent || !MakeMouseRecord(m_hWnd, message, lParam, &record)) return;
  StaticWndProc(parent, SWM_EDITMOUSE, reinterpret_cast<WPARAM>(this),
                reinterpret_cast<LPARAM>(&record));
}

LRESULT SEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_RBUTTONDOWN:
      NotifyMouse(message, lParam);
      if (!m_hWnd) return 0;
      if (!m_popupMenu) return 0;
      break;

    case WM_CONTEXTMENU:
      // The menu opens from the release of the right button; without the
      // popup menu it must not open at all.
      if (!m_popupMenu) return 0;
      break;

    case WM_CHAR:
      // Tab moves the focus (the key's own handling); it types nothing.
      if (wParam == VK_TAB) return 0;
      if (wParam == VK_RETURN && !(::GetWindowLongA(m_hWnd, GWL_STYLE) & ES_MULTILINE)) return 0;
      if (IsKeyDown(VK_CONTROL) && !IsControlKeyAllowed()) return 0;
      break;

    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        NotifyParent(SWM_EDITRETURN, reinterpret_cast<WPARAM>(this), 0);
        if (!m_hWnd) return 0;
      } else if (wParam == 'A' && IsKeyDown(VK_CONTROL)) {
        SendMessage(EM_SETSEL, 0, -1);
      }
      break;

    case WM_PRINTCLIENT:
      PrintClient(reinterpret_cast<HDC>(wParam), lParam);
      return 0;

    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case SWM_LCLICK:
    case SWM_MCLICK:
    case SWM_RCLICK:
      NotifyMouse(message, lParam);
      if (!m_hWnd) return 0;
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

void SEditCtrl::PrintClient(HDC dc, LPARAM flags) {
  if (!dc || !m_hWnd) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  HBRUSH window = ::GetSysColorBrush(COLOR_WINDOW);
  ::FillRect(dc, &client, window);
  // The system edit paints its own text (in the colours of its colour
  // query) when asked to print its client area.
  SWnd::WindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
}

void SEditCtrl::FreeBrush() {
  FreeBackgroundBrush(&m_brush);
}

HBRUSH SEditCtrl::OnCtlColor(HDC dc) {
  HBRUSH brush = BackgroundBrush(GetBackColor(), dc, &m_brush);
  if (m_textColor != SImage::COLOR_NONE) {
    ::SetTextColor(dc, m_textColor);
    // The text colour holds only when the query answers with a brush.
    if (!brush) brush = BackgroundBrush(::GetSysColor(COLOR_WINDOW), dc, &m_brush);
  }
  return brush;
}

HBRUSH SEditCtrl::OnCtlColorEdit(HDC dc) {
  return OnCtlColor(dc);
}

HBRUSH SEditCtrl::OnCtlColorStatic(HDC dc) {
  return OnCtlColor(dc);
}
