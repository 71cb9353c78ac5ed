// SDialogRecords::_SWnd: the plain child window of WINDOW records.
#include "core/Platform.h"
#include "window/SDialogRecords.h"

LRESULT SDialogRecords::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PRINTCLIENT && wParam) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    PaintBackground(dc, dc);
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
