#include "core/Platform.h"
#include "editors/EditorWindow.h"

#include "window/FrameworkMessages.h"
#include "window/SWnd.h"

bool TrackScrollThumb(SWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message != WM_HSCROLL && message != WM_VSCROLL) || lParam || !wnd.m_hWnd) return false;
  int request = LOWORD(wParam);
  if (request != SB_THUMBTRACK && request != SB_THUMBPOSITION) return false;
  bool vertical = message == WM_VSCROLL;
  int bar = vertical ? SB_VERT : SB_HORZ;
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_POS | SIF_TRACKPOS;
  if (!::GetScrollInfo(wnd.m_hWnd, bar, &info)) return false;

  int position = int(HIWORD(wParam));
  if ((info.nTrackPos & 0xFFFF) == position) position = info.nTrackPos;
  int unit = vertical ? wnd.m_vScrollUnit : wnd.m_hScrollUnit;
  if (unit > 0) position -= position % unit;
  if (position > info.nMax) position = info.nMax;
  if (position < info.nMin) position = info.nMin;
  int old = info.nPos;
  if (vertical) {
    wnd.SetScrollPos(position);
  } else {
    wnd.SetHScrollPos(position);
  }
  int now = ::GetScrollPos(wnd.m_hWnd, bar);
  if (now != old) {
    wnd.SendMessage(vertical ? SWM_VSCROLLED : SWM_HSCROLLED, MAKEWPARAM(old, now), 0);
  }
  return true;
}
