// Mouse records and background brushes shared by the control classes.
#include "core/Platform.h"
#include "window/WindowPrivate.h"

#include "window/SWnd.h"

bool ForwardMouse(SWnd* control, UINT notification, UINT message, LPARAM lParam) {
  if (!control || !control->m_hWnd) return true;
  HWND parent = control->GetParent();
  MOUSERECORD record;
  if (!parent || !MakeMouseRecord(control->m_hWnd, message, lParam, &record)) return true;
  SWnd::StaticWndProc(parent, notification, ToWParam(control), ToLParam(&record));
  return control->m_hWnd != nullptr;
}

HBRUSH MakeBackBrush(SWnd* control, HBRUSH* cache, HDC dc, bool setDcMode) {
  HBRUSH stock = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  if (*cache && *cache != stock) ::DeleteObject(*cache);
  *cache = nullptr;
  COLORREF back = control->GetBackColor();
  if (back == SImage::COLOR_NONE) return nullptr;
  if (back == SImage::COLOR_HOLLOW) {
    if (setDcMode && dc) ::SetBkMode(dc, TRANSPARENT);
    return stock;
  }
  *cache = ::CreateSolidBrush(back);
  if (setDcMode && dc) ::SetBkColor(dc, back);
  return *cache;
}

MOUSERECORD CursorRecord(HWND control, uint32_t flags) {
  MOUSERECORD record = {flags, 0, 0, 0, 0};
  POINT point;
  if (::GetCursorPos(&point)) {
    record.screenX = point.x;
    record.screenY = point.y;
    ::ScreenToClient(control, &point);
    record.x = point.x;
    record.y = point.y;
  }
  return record;
}

uint32_t NotifyMouseFlags(UINT code) {
  switch (code) {
    case NM_CLICK:
      return MOUSE_LEFT | MOUSE_CLICK;
    case NM_DBLCLK:
      return MOUSE_LEFT | MOUSE_DOUBLE;
    case NM_RCLICK:
      return MOUSE_RIGHT | MOUSE_CLICK;
    case NM_RDBLCLK:
      return MOUSE_RIGHT | MOUSE_DOUBLE;
  }
  return 0;
}
