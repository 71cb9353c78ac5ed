// STabDocCtrl: the messages, clicks, the context menu and tab drags, and the
// page windows.
#include "core/Platform.h"
#include "window/STabDocCtrl.h"

#include "core/PlatformGdiplus.h"
#include "window/DragInput.h"
#include "window/FrameworkMessages.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"

#include <windowsx.h>

namespace {

const int kBoldWeight = 700;
const int kCursorArrow = 0, kCursorNo = 6, kCursorDrop = 14;
// A control's change notice, passed on by a page to the control.

LPARAM Pair(int low, int high) { return LPARAM(MAKELONG(WORD(low), WORD(high))); }

}  // namespace

bool STabDocCtrl::Refused(UINT message, LPARAM lParam) {
  return GetParent() && NotifyParent(message, ToWParam(this), lParam) != 0;
}

int STabDocCtrl::FindTab(int x, int y) {
  POINT point = {x, y};
  for (int i = m_firstVisible; i >= 0 && i < m_tabRects.GetCount(); ++i) {
    if (::PtInRect(&m_tabRects[i], point)) return i;
  }
  return -1;
}

void STabDocCtrl::OnClick(int x, int y) {
  POINT point = {x, y};
  if (m_showClose && m_current >= 0 && ::PtInRect(&m_closeButton, point)) {
    int closing = m_current;
    if (!Refused(SWM_TABDOCCLOSE, closing) && m_hWnd) RemoveAt(closing);
    RedrawStrip();
    return;
  }
  if (::PtInRect(&m_leftButton, point) && m_firstVisible > 0) {
    --m_firstVisible;
  } else if (::PtInRect(&m_rightButton, point) &&
             m_firstVisible + m_visibleCount < m_items.GetCount()) {
    ++m_firstVisible;
  }
  MeasureTabs();
  RedrawStrip();
}

void STabDocCtrl::TrackMenuOrDrag(int x, int y, bool left) {
  int tab = FindTab(x, y);
  if (tab < 0) return;
  if (tab != m_current) {
    if (Refused(SWM_TABDOCSELECT, Pair(m_current, tab)) || !m_hWnd) return;
    SetCurrent(tab);
  }
  if (!left) {
    if (::GetMenuItemCount(m_menu.m_hMenu) > 0) {
      POINT screen = {x, y};
      ::ClientToScreen(m_hWnd, &screen);
      m_menu.Track(screen.x, screen.y);
    }
    return;
  }
  if (!m_moveTabs) return;
  int dragged = tab;
  HWND target = nullptr;
  for (;;) {
    DragInput input;
    g_readDragInput(&input);
    if (!input.buttonDown || !m_hWnd) break;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    target = nullptr;
    if (!::PtInRect(&window, input.cursor)) {
      for (int i = 0; i < m_dropTargets.GetCount() && !target; ++i) {
        RECT other;
        if (::GetWindowRect(m_dropTargets[i], &other) && ::PtInRect(&other, input.cursor)) {
          target = m_dropTargets[i];
        }
      }
      ::SetCursor(GetFrameworkCursor(target ? kCursorDrop : kCursorNo));
    } else {
      POINT point = input.cursor;
      ::ScreenToClient(m_hWnd, &point);
      ::SetCursor(
          GetFrameworkCursor(point.y < m_stripHeight - m_margin ? kCursorArrow : kCursorNo));
      int over = FindTab(point.x, point.y);
      if (over >= 0 && over != dragged) {
        if (Refused(SWM_TABDOCMOVE, Pair(dragged, over)) || !m_hWnd) return;
        _SItem* current = GetItem(m_current);
        m_items.Move(dragged, over);
        for (int i = 0; i < m_items.GetCount(); ++i) {
          if (m_items[i] == current) m_current = i;
        }
        dragged = over;
        MeasureTabs();
        ShowPages();
      }
    }
    ::Sleep(kDragPollPause);
  }
  STabDocCtrl* adopter = target ? dynamic_cast<STabDocCtrl*>(FromHandle(target)) : nullptr;
  if (!adopter || adopter == this || !m_hWnd) return;
  _SItem* item = Detach(dragged);
  MeasureTabs();
  ShowPages();
  adopter->AttachDocument(item);
}

LRESULT STabDocCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (message) {
    case SWM_AFTERCREATE: {
      m_menu.CreatePopup(m_hWnd);
      SetBackColor(::GetSysColor(COLOR_APPWORKSPACE));
      HFONT windowFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
      if (!windowFont) windowFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
      HDC dc = ::GetDC(m_hWnd);
      DeleteFonts();
      m_font = new Gdiplus::Font(dc, windowFont);
      {
        Gdiplus::Graphics graphics(dc);
        if (m_font->IsAvailable()) m_textHeight = int(m_font->GetHeight(&graphics));
      }
      LOGFONTA bold;
      if (::GetObjectA(windowFont, sizeof(bold), &bold)) {
        bold.lfWeight = kBoldWeight;
        m_currentFont = new Gdiplus::Font(dc, &bold);
      }
      ::ReleaseDC(m_hWnd, dc);
      m_stripHeight = m_textHeight + 2 * m_inset + m_margin;
      Layout();
      break;
    }
    case WM_SIZE:
      Layout();
      break;
    case WM_DESTROY:
      RemoveAll();
      DeleteFonts();
      break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
      break;
    case SWM_LCLICK:
    case WM_LBUTTONDBLCLK:
      OnClick(x, y);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      TrackMenuOrDrag(x, y, message == WM_LBUTTONDOWN);
      break;
    case WM_MBUTTONDOWN: {
      int tab = FindTab(x, y);
      if (tab >= 0 && tab != m_current && !Refused(SWM_TABDOCSELECT, Pair(m_current, tab)) &&
          m_hWnd) {
        SetCurrent(tab);
      }
      RedrawStrip();
      break;
    }
    case WM_MBUTTONUP: {
      int tab = FindTab(x, y);
      if (tab >= 0 && tab == m_current && !Refused(SWM_TABDOCCLOSE, tab) && m_hWnd) RemoveAt(tab);
      RedrawStrip();
      break;
    }
    case WM_MOUSEMOVE:
    case SWM_MOUSEENTER:
    case SWM_MOUSELEAVE:
      RedrawStrip();
      break;
    case SWM_MENUCOMMAND:
      if (m_current >= 0) NotifyParent(SWM_TABDOCCOMMAND, ToWParam(this), lParam);
      return 0;
  }
  if (!m_hWnd) return 0;
  MOUSERECORD record;
  HWND parent = GetParent();
  if (parent && GetMouseRecordFlags(message) && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
    SWnd::StaticWndProc(parent, SWM_TABDOCMOUSE, ToWParam(this), ToLParam(&record));
    if (!m_hWnd) return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

LRESULT STabDocCtrl::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_CONTROLCHANGED && m_notifyParent && m_owner && m_owner->m_hWnd) {
    SWnd* source = wParam ? reinterpret_cast<SWnd*>(wParam) : this;
    m_owner->SendMessage(SWM_CONTROLCHANGED, ToWParam(source), LPARAM(m_owner->m_current));
  }
  LRESULT result = 0;
  if (m_owner && !m_owner->OnChildMessage(m_item, message, wParam, lParam, &result)) return result;
  return SWnd::WindowProc(message, wParam, lParam);
}
