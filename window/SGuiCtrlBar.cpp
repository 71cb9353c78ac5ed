// SGuiCtrl: the bar window's frame, hit codes, edge drags and close box.
#include "core/Platform.h"
#include "window/SGuiCtrl.h"

#include "window/DragInput.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"

#include <windowsx.h>

namespace {

const int kBorder = 2;
const int kBand = 12, kThinBand = 8;
const int kBox = 8, kThinBox = 4;
const int kGripDepth = 4;
const int kCursorSizeNS = 9, kCursorSizeWE = 11;

int BandOf(uint32_t flags) { return (flags & SGuiCtrl::BAR_THIN) ? kThinBand : kBand; }
int BoxOf(uint32_t flags) { return (flags & SGuiCtrl::BAR_THIN) ? kThinBox : kBox; }
bool HasCloseBox(uint32_t flags) {
  return !(flags & (SGuiCtrl::BAR_NO_CLOSE | SGuiCtrl::BAR_THIN));
}

void Grip(HDC dc, int left, int top, int right, int bottom, UINT sides) {
  RECT rect = {left, top, right, bottom};
  ::DrawEdge(dc, &rect, BDR_SUNKENOUTER | BDR_RAISEDINNER, sides);
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  ::MoveToEx(dc, x1, y1, nullptr);
  ::LineTo(dc, x2, y2);
}

}  // namespace

void SGuiCtrl::_SWndBar::PaintFrame(HDC dc) {
  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  int w = window.right - window.left, h = window.bottom - window.top;
  RECT all = {0, 0, w, h};
  HBRUSH face = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
  ::FillRect(dc, &all, face);
  ::DeleteObject(face);
  ::DrawEdge(dc, &all, BDR_RAISEDINNER, BF_RECT);
  uint32_t flags = m_bar->m_flags;
  int c = BoxOf(flags);
  bool box = HasCloseBox(flags);
  bool second = !(flags & BAR_THIN);
  RECT close = m_bar->IsVertical() ? RECT{w - c - 2, 2, w - 2, c + 2} : RECT{2, 2, c + 2, c + 2};
  if (box) {
    ::InflateRect(&close, -1, -1);
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, pen);
    Line(dc, close.left, close.top, close.right, close.bottom);
    Line(dc, close.right - 1, close.top, close.left - 1, close.bottom);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
  }
  if (m_bar->IsVertical()) {
    int right = box ? w - c - 3 : w - 2;
    Grip(dc, 2, 2, right, 6, BF_TOP | BF_BOTTOM);
    if (second) Grip(dc, 2, 2 + kGripDepth, right, 6 + kGripDepth, BF_TOP | BF_BOTTOM);
  } else {
    int top = box ? c + 3 : 2;
    Grip(dc, 2, top, 6, h - 2, BF_LEFT | BF_RIGHT);
    if (second) Grip(dc, 2 + kGripDepth, top, 6 + kGripDepth, h - 2, BF_LEFT | BF_RIGHT);
  }
}

int SGuiCtrl::_SWndBar::HitTest(int x, int y) {
  RECT client;
  if (!m_owner || !m_bar || !GetClientRectInWindow(&client)) return HIT_NONE;
  uint32_t flags = m_bar->m_flags;
  int c = BoxOf(flags);
  int index = m_owner->GetBarIndex(m_bar);
  bool outermost = m_owner->IsInOutermostStrip(index);
  int next = m_owner->NextBarOnSide(index);
  bool nextShares = next >= 0 && !(m_owner->m_bars[next]->m_flags & BAR_NEW_STRIP);
  bool farSide = m_bar->IsFar();
  if (m_bar->IsVertical()) {
    bool sizable = !(flags & BAR_FIXED_WIDTH);
    if (y <= client.top) {
      if (y <= kBorder) return HIT_NONE;
      if (y <= client.top - 2 && x >= client.right - c && HasCloseBox(flags)) return HIT_CLOSE;
      return HIT_CAPTION;
    }
    if (x <= client.left) return sizable && (farSide || !outermost) ? HIT_LEFT : HIT_NONE;
    if (y >= client.bottom) return nextShares ? HIT_BOTTOM : HIT_NONE;
    if (x >= client.right) return sizable && (!farSide || !outermost) ? HIT_RIGHT : HIT_NONE;
    return HIT_NONE;
  }
  bool sizable = !(flags & BAR_FIXED_HEIGHT);
  if (x <= client.left) {
    if (x <= kBorder) return HIT_NONE;
    if (x <= client.left - 2 && y < c + 2 && HasCloseBox(flags)) return HIT_CLOSE;
    return HIT_CAPTION;
  }
  if (y <= client.top) return sizable && (farSide || !outermost) ? HIT_TOP : HIT_NONE;
  if (y >= client.bottom) return sizable && (!farSide || !outermost) ? HIT_BOTTOM : HIT_NONE;
  if (x >= client.right) return nextShares ? HIT_RIGHT : HIT_NONE;
  return HIT_NONE;
}

void SGuiCtrl::_SWndBar::TrackSizing(int x, int y) {
  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  int code = HitTest(x - window.left, y - window.top);
  if (code < HIT_TOP) return;
  bool heights = code == HIT_TOP || code == HIT_BOTTOM;
  // The edge of the strip further out belongs to the previous bar.
  bool previous = (code == HIT_TOP && !m_bar->IsFar()) ||
                  (code == HIT_BOTTOM && m_bar->IsFar() && !m_bar->IsVertical()) ||
                  (code == HIT_LEFT && !m_bar->IsFar()) ||
                  (code == HIT_RIGHT && m_bar->IsFar() && m_bar->IsVertical());
  _SBar* target = previous ? m_owner->GetPreviousBar(m_bar) : m_bar;
  if (!target) return;
  bool reversed = !(heights && target->IsVertical()) && target->IsFar();
  int start = heights ? target->m_height : target->m_width;
  for (;;) {
    DragInput input;
    g_readDragInput(&input);
    if (!input.buttonDown || !m_owner->m_hWnd) break;
    int moved = heights ? input.cursor.y - y : input.cursor.x - x;
    int value = start + (reversed ? -moved : moved);
    int present = heights ? target->m_height : target->m_width;
    if (value != present) {
      target->SetSize(heights ? target->m_width : value, heights ? value : target->m_height, false);
      m_owner->ApplyLayout();
    }
    ::Sleep(kDragPollPause);
  }
}

void SGuiCtrl::_SWndBar::OnFrameClick(POINT screen) {
  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  if (HitTest(screen.x - window.left, screen.y - window.top) != HIT_CLOSE) return;
  if (m_owner->GetParent() &&
      m_owner->NotifyParent(SWM_GUIBARCLOSE, ToWParam(m_owner), LPARAM(m_bar->m_id)) != 0) {
    return;
  }
  m_bar->m_flags |= BAR_HIDDEN;
  m_owner->ApplyLayout();
}

void SGuiCtrl::_SWndBar::OnZoneEnter(const RECT*, int x, int y, int) {
  int code = HitTest(x, y);
  if (code == HIT_TOP || code == HIT_BOTTOM) {
    SetCursor(GetFrameworkCursor(kCursorSizeNS));
  } else if (code == HIT_LEFT || code == HIT_RIGHT) {
    SetCursor(GetFrameworkCursor(kCursorSizeWE));
  } else {
    OnZoneLeave(nullptr, x, y, -1);
  }
}

void SGuiCtrl::_SWndBar::OnZoneMove(const RECT* zone, int x, int y, int index) {
  OnZoneEnter(zone, x, y, index);
}

void SGuiCtrl::_SWndBar::OnZoneLeave(const RECT*, int, int, int) {
  if (!m_cursor) return;
  SetCursor(nullptr);
  POINT cursor;
  if (::GetCursorPos(&cursor)) ::SetCursorPos(cursor.x, cursor.y);
}

LRESULT SGuiCtrl::_SWndBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE:
      if (!wParam || !m_bar) break;
      {
        RECT& rect = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
        int band = BandOf(m_bar->m_flags);
        if (m_bar->IsVertical()) {
          rect = RECT{rect.left + 2, rect.top + band, rect.right - 2, rect.bottom - 2};
        } else {
          rect = RECT{rect.left + band, rect.top + 2, rect.right - 2, rect.bottom - 2};
        }
        if (rect.right < rect.left) rect.right = rect.left;
        if (rect.bottom < rect.top) rect.bottom = rect.top;
      }
      return 0;
    case WM_NCHITTEST: {
      RECT client;
      ::GetClientRect(m_hWnd, &client);
      ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
      POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      return ::PtInRect(&client, point) ? HTCLIENT : HTBORDER;
    }
    case WM_NCPAINT: {
      HDC dc = ::GetWindowDC(m_hWnd);
      RECT client;
      GetClientRectInWindow(&client);
      ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
      PaintFrame(dc);
      ::ReleaseDC(m_hWnd, dc);
      return 0;
    }
    case WM_PRINT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client;
      GetClientRectInWindow(&client);
      int saved = ::SaveDC(dc);
      ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
      PaintFrame(dc);
      ::RestoreDC(dc, saved);
      break;
    }
    case WM_NCLBUTTONDOWN:
      TrackSizing(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case SWM_AFTERCREATE:
      SetBackColor(::GetSysColor(COLOR_WINDOW));
      m_zonesEnabled = true;
      m_currentZone = -2;
      break;
    case SWM_NCLCLICK:
      OnFrameClick(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      break;
  }
  if (!m_hWnd) return 0;
  LRESULT result = 0;
  if (m_owner && !m_owner->OnChildMessage(m_bar, message, wParam, lParam, &result)) return result;
  return SWnd::WindowProc(message, wParam, lParam);
}
