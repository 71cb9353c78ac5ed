// SWnd: mouse buttons and their owners, clicks, entering and leaving,
// moving with the mouse, dragging onto targets and the zones of the frame.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "window/WindowPrivate.h"

namespace {

// The windows that last saw a button pressed: left, middle, right; one set
// for the client area and one for the frame. Shared by all windows.
SWnd* g_clientOwners[3];
SWnd* g_frameOwners[3];

struct ButtonMessages {
  UINT down, up, click;
  WPARAM keyFlag;  // MK_ flag of WM_MOUSEMOVE
  int virtualKey;
};

const ButtonMessages kClientButtons[3] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, SWM_LCLICK, MK_LBUTTON, VK_LBUTTON},
    {WM_MBUTTONDOWN, WM_MBUTTONUP, SWM_MCLICK, MK_MBUTTON, VK_MBUTTON},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, SWM_RCLICK, MK_RBUTTON, VK_RBUTTON},
};

const ButtonMessages kFrameButtons[3] = {
    {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, SWM_NCLCLICK, 0, VK_LBUTTON},
    {WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, SWM_NCMCLICK, 0, VK_MBUTTON},
    {WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, SWM_NCRCLICK, 0, VK_RBUTTON},
};


// A press makes the window the button's owner; the release on the owner is
// a click, a release anywhere else ends the ownership. True when the message
// was one of the table's.
bool TrackButton(SWnd& wnd, UINT message, LPARAM lParam, const ButtonMessages* table,
                 SWnd** owners) {
  for (int i = 0; i < 3; ++i) {
    if (message == table[i].down) {
      owners[i] = &wnd;
      return true;
    }
    if (message == table[i].up) {
      if (owners[i] == &wnd) {
        wnd.SendMessage(table[i].click, 0, lParam);
      } else {
        owners[i] = nullptr;
      }
      return true;
    }
  }
  return false;
}

// The drag target under the cursor and the cursor in its client
// coordinates (x low word, y high word); null and 0 when none.
SWnd* FindDragTarget(SWnd& wnd, LPARAM* point) {
  *point = 0;
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return nullptr;
  HWND under = ::WindowFromPoint(cursor);
  SWnd* target = SWnd::FromHandle(under);
  if (!target || wnd.m_dragTargets.Find(under) < 0) return nullptr;
  ::ScreenToClient(under, &cursor);
  *point = MAKELPARAM(cursor.x, cursor.y);
  return target;
}

// Zones are tracked in window coordinates.
POINT ToWindowPoint(HWND hWnd, POINT screen) {
  RECT rect;
  if (::GetWindowRect(hWnd, &rect)) {
    screen.x -= rect.left;
    screen.y -= rect.top;
  }
  return screen;
}

const RECT* ZoneRect(SWnd& wnd, int index) {
  return wnd.m_zones.ElementAt(index);
}

}  // namespace

namespace WindowPrivate {

void ClearOwnersOf(SWnd* wnd) {
  for (int i = 0; i < 3; ++i) {
    if (g_clientOwners[i] == wnd) g_clientOwners[i] = nullptr;
    if (g_frameOwners[i] == wnd) g_frameOwners[i] = nullptr;
  }
}

void TrackClientButton(SWnd& wnd, UINT message, LPARAM lParam) {
  TrackButton(wnd, message, lParam, kClientButtons, g_clientOwners);
}

void TrackFrameButton(SWnd& wnd, UINT message, LPARAM lParam) {
  TrackButton(wnd, message, lParam, kFrameButtons, g_frameOwners);
}

void OnMouseMove(SWnd& wnd, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < 3; ++i) {
    if (!(wParam & kClientButtons[i].keyFlag)) g_clientOwners[i] = nullptr;
  }

  if (::GetCapture() != wnd.m_hWnd) {
    TRACKMOUSEEVENT query = {sizeof(query), TME_QUERY, nullptr, 0};
    bool tracking = ::TrackMouseEvent(&query) && (query.dwFlags & TME_LEAVE) &&
                    query.hwndTrack == wnd.m_hWnd;
    if (!tracking) {
      wnd.SendMessage(SWM_MOUSEENTER, wParam, lParam);
      if (!wnd.m_hWnd) return;
      TRACKMOUSEEVENT leave = {sizeof(leave), TME_LEAVE, wnd.m_hWnd, 0};
      ::TrackMouseEvent(&leave);
    }
  }

  if (wnd.m_moving) {
    POINT cursor;
    if (::GetCursorPos(&cursor)) {
      HWND parent = ::GetParent(wnd.m_hWnd);
      if ((StyleOf(wnd.m_hWnd) & WS_CHILD) && parent) ::ScreenToClient(parent, &cursor);
      wnd.Move(cursor.x - wnd.m_grabX, cursor.y - wnd.m_grabY);
    }
  }

  if (wnd.m_dragging) {
    LPARAM point;
    SWnd* target = FindDragTarget(wnd, &point);
    if (wnd.SendMessage(SWM_DRAGOVER, ToWParam(target), point) != 0) {
      ::ReleaseCapture();
      wnd.m_dragging = false;
    }
  }
}

void OnLeftButtonDown(SWnd& wnd, LPARAM lParam) {
  if (wnd.m_moveWithMouse && !wnd.m_moving && !::IsZoomed(wnd.m_hWnd) &&
      wnd.SendMessage(SWM_MOVESTART, 0, lParam) == 0 && wnd.m_hWnd) {
    int left = 0, top = 0;
    wnd.GetActualFrameMargins(&left, &top, nullptr, nullptr);
    wnd.m_moving = true;
    wnd.m_grabX = static_cast<short>(LOWORD(lParam)) + left;
    wnd.m_grabY = static_cast<short>(HIWORD(lParam)) + top;
    ::SetCapture(wnd.m_hWnd);
  }
  g_clientOwners[0] = &wnd;
  if (wnd.m_stateImagesOn) {
    wnd.m_pressed = true;
    wnd.Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void OnLeftButtonUp(SWnd& wnd, LPARAM lParam) {
  TrackClientButton(wnd, WM_LBUTTONUP, lParam);
  if (!wnd.m_hWnd) return;
  if (wnd.m_moving) {
    ::ReleaseCapture();
    wnd.m_moving = false;
    wnd.SendMessage(SWM_MOVEEND, 0, 0);
  }
  if (wnd.m_dragging) {
    ::ReleaseCapture();
    wnd.m_dragging = false;
    LPARAM point;
    SWnd* target = FindDragTarget(wnd, &point);
    wnd.SendMessage(SWM_DROP, ToWParam(target), point);
  }
  if (wnd.m_stateImagesOn && wnd.m_hWnd) {
    wnd.m_pressed = false;
    wnd.Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void OnFrameMouseMove(SWnd& wnd, LPARAM lParam) {
  for (int i = 0; i < 3; ++i) {
    if (!(::GetAsyncKeyState(kFrameButtons[i].virtualKey) & 0x8000)) g_frameOwners[i] = nullptr;
  }
  if (!wnd.m_zonesEnabled) return;
  POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  POINT point = ToWindowPoint(wnd.m_hWnd, screen);
  int zone = wnd.FindZone(point.x, point.y);
  int current = wnd.m_currentZone;
  if (current != -2 && zone == current) {
    wnd.OnZoneMove(ZoneRect(wnd, zone), point.x, point.y, zone);
  } else {
    if (current != -2) {
      const RECT* old = ZoneRect(wnd, current);
      wnd.OnZoneLeave(old, point.x, point.y, old ? current : -1);
    }
    wnd.OnZoneEnter(ZoneRect(wnd, zone), point.x, point.y, zone);
    wnd.m_currentZone = zone;
  }
  if (!wnd.m_hWnd) return;
  TRACKMOUSEEVENT leave = {sizeof(leave), TME_LEAVE | TME_NONCLIENT, wnd.m_hWnd, 0};
  ::TrackMouseEvent(&leave);
}

void OnFrameMouseLeave(SWnd& wnd) {
  if (!wnd.m_zonesEnabled) return;
  POINT point = {0, 0};
  ::GetCursorPos(&point);
  point = ToWindowPoint(wnd.m_hWnd, point);
  const RECT* zone = ZoneRect(wnd, wnd.m_currentZone);
  wnd.OnZoneLeave(zone, point.x, point.y, zone ? wnd.m_currentZone : -1);
  wnd.m_currentZone = -2;
}

}  // namespace WindowPrivate

void SWnd::ClearButtonOwners() {
  for (int i = 0; i < 3; ++i) {
    g_clientOwners[i] = nullptr;
    g_frameOwners[i] = nullptr;
  }
}

void SWnd::ClearButtonOwners(SWnd* wnd) {
  WindowPrivate::ClearOwnersOf(wnd);
}

