// SWnd: geometry, alignment, caret, cursor, focus, zones, tooltip and the
// small wrappers on the window handle.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "window/Framework.h"
#include "window/WindowPrivate.h"

namespace {

const UINT kMoveFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
const UINT kSizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
const UINT kAlignFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

}  // namespace

bool RectInClientOf(HWND hWnd, HWND other, RECT* rect) {
  if (!::GetWindowRect(hWnd, rect)) return false;
  ::MapWindowPoints(nullptr, other, reinterpret_cast<POINT*>(rect), 2);
  return true;
}


int SWnd::GetWidth() {
  RECT rect;
  if (!m_hWnd || !::GetWindowRect(m_hWnd, &rect)) return 0;
  return abs(rect.right - rect.left);
}

int SWnd::GetHeight() {
  RECT rect;
  if (!m_hWnd || !::GetWindowRect(m_hWnd, &rect)) return 0;
  return abs(rect.bottom - rect.top);
}

int SWnd::GetClientHeight() {
  RECT rect;
  if (!m_hWnd || !::GetClientRect(m_hWnd, &rect)) return 0;
  return rect.bottom;
}

bool SWnd::GetClientRectInWindow(RECT* rect) {
  RECT window, client;
  if (!m_hWnd || !rect || !::GetWindowRect(m_hWnd, &window) || !::GetClientRect(m_hWnd, &client)) {
    return false;
  }
  POINT corner = {0, 0};
  if (!::ClientToScreen(m_hWnd, &corner)) return false;
  ::OffsetRect(&client, corner.x - window.left, corner.y - window.top);
  *rect = client;
  return true;
}

bool SWnd::GetActualFrameMargins(int* left, int* top, int* right, int* bottom) {
  RECT client;
  if (!GetClientRectInWindow(&client)) return false;
  int width = GetWidth(), height = GetHeight();
  int r = width - client.right, b = height - client.bottom;
  if (left) *left = client.left;
  if (top) *top = client.top;
  if (right) *right = r < 0 ? 0 : r;
  if (bottom) *bottom = b < 0 ? 0 : b;
  return true;
}

bool SWnd::GetFrameMargins(int* left, int* top, int* right, int* bottom) {
  if (!m_hWnd) return false;
  DWORD style = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
  bool menu = m_kind == 0 && ::IsMenu(::GetMenu(m_hWnd));
  RECT rect = {0, 0, 1000, 1000};
  if (!::AdjustWindowRectEx(&rect, style, menu, exStyle)) return false;
  int l = -rect.left, t = -rect.top, r = rect.right - 1000, b = rect.bottom - 1000;
  if (style & WS_HSCROLL) b += ::GetSystemMetrics(SM_CYHSCROLL);
  if (style & WS_VSCROLL) {
    if (exStyle & WS_EX_LEFTSCROLLBAR) {
      l += ::GetSystemMetrics(SM_CXVSCROLL);
    } else {
      r += ::GetSystemMetrics(SM_CXVSCROLL);
    }
  }
  if (left) *left = l;
  if (top) *top = t;
  if (right) *right = r;
  if (bottom) *bottom = b;
  return true;
}

bool SWnd::SetClientSize(int width, int height) {
  int l, t, r, b;
  if (!GetFrameMargins(&l, &t, &r, &b)) return false;
  return ::SetWindowPos(m_hWnd, nullptr, 0, 0, width + l + r, height + t + b, kSizeFlags) != 0;
}

bool SWnd::SetClientHeight(int height) {
  int l, t, r, b;
  if (!GetFrameMargins(&l, &t, &r, &b)) return false;
  return ::SetWindowPos(m_hWnd, nullptr, 0, 0, GetWidth(), height + t + b, kSizeFlags) != 0;
}

bool SWnd::Center(bool onParent) {
  if (!m_hWnd) return false;
  HWND parent = ::GetParent(m_hWnd);
  RECT reference = m_workArea;
  if (onParent && parent && !::GetWindowRect(parent, &reference)) return false;
  POINT point = {(reference.left + reference.right) / 2 - GetWidth() / 2,
                 (reference.top + reference.bottom) / 2 - GetHeight() / 2};
  if (parent && !(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_POPUP)) {
    if (!::ScreenToClient(parent, &point)) return false;
  }
  return ::SetWindowPos(m_hWnd, nullptr, point.x, point.y, 0, 0, kMoveFlags) != 0;
}

bool SWnd::Move(int x, int y) {
  if (!m_hWnd) return false;
  return ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, kMoveFlags) != 0;
}

bool SWnd::ClientToScreen(RECT* rect) {
  if (!m_hWnd || !rect) return false;
  POINT a = {rect->left, rect->top}, b = {rect->right, rect->bottom};
  if (!::ClientToScreen(m_hWnd, &a) || !::ClientToScreen(m_hWnd, &b)) return false;
  ::SetRect(rect, a.x, a.y, b.x, b.y);
  return true;
}

bool SWnd::ScreenToClient(RECT* rect) {
  if (!m_hWnd || !rect) return false;
  POINT a = {rect->left, rect->top}, b = {rect->right, rect->bottom};
  if (!::ScreenToClient(m_hWnd, &a) || !::ScreenToClient(m_hWnd, &b)) return false;
  ::SetRect(rect, a.x, a.y, b.x, b.y);
  return true;
}

bool SWnd::BringToFront() {
  if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return false;
  bool topmost = (::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  // Leaving the band and coming back lifts the window to the top of it.
  ::SetWindowPos(m_hWnd, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE);
  ::SetWindowPos(m_hWnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE);
  ::ShowWindow(m_hWnd, SW_SHOW);
  ::SetFocus(m_hWnd);
  ::SetForegroundWindow(m_hWnd);
  return true;
}

bool SWnd::SetMenu(HMENU menu) {
  if (!m_hWnd) return false;
  RECT client;
  int height = ::GetClientRect(m_hWnd, &client) ? client.bottom : 0;
  if (!::SetMenu(m_hWnd, menu)) return false;
  SetClientHeight(height);
  return true;
}

void SWnd::SetAutoAlign(unsigned int mask) {
  HWND parent = GetParent();
  RECT client;
  if (!parent || !::GetClientRect(parent, &client) ||
      !RectInClientOf(m_hWnd, parent, &m_alignRect)) {
    m_alignMask = 0;
    return;
  }
  m_alignMask = mask;
  m_alignParentWidth = client.right;
  m_alignParentHeight = client.bottom;
}

HWND SWnd::ApplyAutoAlign() {
  HWND parent = GetParent();
  RECT client;
  if (m_alignMask == 0 || !parent || !::GetClientRect(parent, &client)) return nullptr;
  int dx = client.right - m_alignParentWidth;
  int dy = client.bottom - m_alignParentHeight;
  int x = m_alignRect.left, y = m_alignRect.top;
  int width = m_alignRect.right - m_alignRect.left;
  int height = m_alignRect.bottom - m_alignRect.top;
  unsigned int mask = m_alignMask;
  bool halfX = (mask & 0x08) != 0, halfY = (mask & 0x80) != 0;
  if (mask & 0x01) x += halfX ? dx / 4 : dx / 2;
  if (mask & 0x02) x += halfX ? dx / 2 : dx;
  if (mask & 0x04) width += halfX ? dx / 2 : dx;
  if (mask & 0x10) y += halfY ? dy / 4 : dy / 2;
  if (mask & 0x20) y += halfY ? dy / 2 : dy;
  if (mask & 0x40) height += halfY ? dy / 2 : dy;
  ::SetWindowPos(m_hWnd, nullptr, x, y, width, height, kAlignFlags);
  return parent;
}

// ---------------------------------------------------------------------------
// Caret, cursor, focus, zones, tooltip

bool SWnd::CreateCaret(int height) {
  if (!m_hWnd) return false;
  if (m_caretCreated && m_caretShown) {
    if (!::DestroyCaret()) return false;
    m_caretShown = false;
  }
  m_caretCreated = true;
  m_caretWidth = 1;
  m_caretHeight = height;
  m_caretPosValid = true;
  m_caretX = 0;
  m_caretY = 0;
  if (::GetFocus() == m_hWnd) {
    if (!::CreateCaret(m_hWnd, nullptr, m_caretWidth, m_caretHeight)) {
      m_caretCreated = false;
      return false;
    }
    ::SetCaretPos(m_caretX, m_caretY);
    ::ShowCaret(m_hWnd);
    m_caretShown = true;
  }
  return true;
}

bool SWnd::DestroyCaret() {
  if (!m_caretCreated) return false;
  // Only a shown caret is this window's system caret.
  if (m_caretShown && !::DestroyCaret()) return false;
  m_caretCreated = false;
  m_caretShown = false;
  m_caretWidth = 1;
  m_caretHeight = 0;
  m_caretPosValid = false;
  m_caretX = 0;
  m_caretY = 0;
  return true;
}

void SWnd::ForceCursorRefresh() {
  POINT point;
  if (::GetCursorPos(&point)) ::SetCursorPos(point.x, point.y);
}

void SWnd::ShowCursor(bool visible) {
  if (m_cursorVisible == visible) return;
  m_cursorVisible = visible;
  ForceCursorRefresh();
}

void SWnd::SetCursor(HCURSOR cursor) {
  if (cursor == m_cursor) return;
  m_cursor = cursor;
  if (!cursor) {
    ForceCursorRefresh();
    return;
  }
  POINT point;
  RECT rect;
  if (m_hWnd && ::GetCursorPos(&point) && ::GetWindowRect(m_hWnd, &rect) &&
      ::PtInRect(&rect, point)) {
    ::SetCursor(cursor);
  }
}

bool SWnd::GetCursorPos(POINT* point) {
  if (!m_hWnd || !point) return false;
  return ::GetCursorPos(point) && ::ScreenToClient(m_hWnd, point);
}

HWND SWnd::SetFocus() {
  return m_hWnd ? ::SetFocus(m_hWnd) : nullptr;
}

int SWnd::FindZone(int x, int y) {
  POINT point = {x, y};
  for (int i = 0; i < m_zones.GetCount(); ++i) {
    if (::PtInRect(&m_zones[i], point)) return i;
  }
  return -1;
}

bool SWnd::CreateToolTip() {
  if (!m_hWnd) return false;
  if (m_toolTip && ::IsWindow(m_toolTip)) ::DestroyWindow(m_toolTip);
  m_toolTip = nullptr;
  // The tooltip class lives in the common controls.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  HWND tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                               GetInstanceHandle(), nullptr);
  if (!tip) return false;
  ::SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOOLINFOA tool;
  memset(&tool, 0, sizeof(tool));
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
  tool.hwnd = m_hWnd;
  tool.uId = 0;
  ::GetClientRect(m_hWnd, &tool.rect);
  tool.hinst = GetInstanceHandle();
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  m_toolTip = tip;
  return true;
}

// ---------------------------------------------------------------------------
// Small wrappers

int SWnd::GetId() {
  return m_hWnd ? static_cast<int>(::GetWindowLongA(m_hWnd, GWL_ID)) : 0;
}

int SWnd::MessageBox(const char* text, const char* caption, UINT flags) {
  return ::MessageBoxA(m_hWnd, text, caption, flags);
}

LRESULT SWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd ? ::SendMessageA(m_hWnd, message, wParam, lParam) : 0;
}

bool SWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd && ::PostMessageA(m_hWnd, message, wParam, lParam);
}

bool SWnd::SetText(const char* text) {
  return m_hWnd && ::SetWindowTextA(m_hWnd, text);
}

SString SWnd::GetText() {
  int length = m_hWnd ? ::GetWindowTextLengthA(m_hWnd) : 0;
  if (length <= 0) return SString();
  char* buffer = new char[length + 1];
  int got = ::GetWindowTextA(m_hWnd, buffer, length + 1);
  buffer[got < 0 ? 0 : (got > length ? length : got)] = 0;
  SString text(buffer);
  delete[] buffer;
  return text;
}

bool SWnd::Show(int command) {
  return m_hWnd && ::ShowWindow(m_hWnd, command);
}

bool SWnd::SetRedraw(bool redraw) {
  bool previous = m_redraw;
  if (!m_hWnd) return previous;
  ::SendMessageA(m_hWnd, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  m_redraw = redraw;
  if (redraw) Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return previous;
}

LRESULT SWnd::CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_previousProc) return ::CallWindowProcA(m_previousProc, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void SWnd::SetScrollPos(int position) {
  if (!m_hWnd) return;
  if (m_vScrollUnit > 0) position -= position % m_vScrollUnit;
  ::SetScrollPos(m_hWnd, SB_VERT, position, TRUE);
}

void SWnd::SetHScrollPos(int position) {
  if (!m_hWnd) return;
  if (m_hScrollUnit > 0) position -= position % m_hScrollUnit;
  ::SetScrollPos(m_hWnd, SB_HORZ, position, TRUE);
}

void SWnd::ScrollLineUp() {
  if (m_hWnd) SetScrollPos(::GetScrollPos(m_hWnd, SB_VERT) - m_vLineStep);
}

void SWnd::ScrollLineDown() {
  if (m_hWnd) SetScrollPos(::GetScrollPos(m_hWnd, SB_VERT) + m_vLineStep);
}
