// SWnd: what the parent makes of its controls' commands, notifications and
// scroll requests, its own scroll bars, and dropped files.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "core/SDisk.h"
#include "core/SStringArray.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

const SControlKind* KindOf(SWnd* control) {
  return control ? FindControlKind(control->m_kind) : nullptr;
}

}  // namespace

// The position after a scroll request, rounded down to the unit and kept in
// the range.
int ScrollTarget(int position, int minimum, int maximum, WPARAM request, int line, int page,
                 int unit) {
  switch (LOWORD(request)) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = HIWORD(request); break;
    case SB_TOP: position = minimum; break;
    case SB_BOTTOM: position = maximum; break;
  }
  if (unit > 0) position -= position % unit;
  if (position > maximum) position = maximum;
  if (position < minimum) position = minimum;
  return position;
}

namespace WindowPrivate {

bool OnNotify(SWnd& wnd, NMHDR* header, LRESULT& result) {
  if (!header) return true;
  // The window's own tooltip; a tool bar's tips are its own business.
  if (header->code == TTN_GETDISPINFOA && header->hwndFrom && header->hwndFrom == wnd.m_toolTip) {
    ::SendMessageA(header->hwndFrom, TTM_SETMAXTIPWIDTH, 0, 300);
    const char* text = wnd.m_toolTipText.GetText();
    reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(text ? text : "");
    result = 0;
    return false;
  }
  SWnd* control = SWnd::FromHandle(header->hwndFrom);
  const SControlKind* kind = KindOf(control);
  if (!kind || !kind->notify) return true;
  return kind->notify(&wnd, control, header, &result);
}

void OnCommand(SWnd& wnd, WPARAM wParam, LPARAM lParam) {
  SWnd* control = SWnd::FromHandle(reinterpret_cast<HWND>(lParam));
  if (!control || !control->m_hWnd) return;
  const SControlKind* kind = KindOf(control);
  if (kind && kind->command) kind->command(&wnd, control, HIWORD(wParam));
}

// False when the message is left to the default processing.
bool OnScroll(SWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  bool vertical = message == WM_VSCROLL;
  int line = vertical ? wnd.m_vLineStep : wnd.m_hLineStep;
  int page = vertical ? wnd.m_vPageStep : wnd.m_hPageStep;
  int unit = vertical ? wnd.m_vScrollUnit : wnd.m_hScrollUnit;
  HWND hControl = reinterpret_cast<HWND>(lParam);
  SWnd* control = SWnd::FromHandle(hControl);
  const SControlKind* kind = KindOf(control);
  if (kind && kind->scroll) return kind->scroll(&wnd, control, message, wParam);
  if (!hControl && !wnd.m_previousProc) {
    int bar = vertical ? SB_VERT : SB_HORZ;
    int position = ::GetScrollPos(wnd.m_hWnd, bar);
    int minimum = 0, maximum = 0;
    ::GetScrollRange(wnd.m_hWnd, bar, &minimum, &maximum);
    int target = ScrollTarget(position, minimum, maximum, wParam, line, page, unit);
    if (target != position) {
      if (vertical) {
        wnd.SetScrollPos(target);
      } else {
        wnd.SetHScrollPos(target);
      }
      wnd.SendMessage(vertical ? SWM_VSCROLLED : SWM_HSCROLLED,
                      MAKEWPARAM(position, target), 0);
    }
    return true;
  }
  return false;
}

void OnDropFiles(SWnd& wnd, HDROP drop) {
  SStringArray paths;
  SDisk disk;
  UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char path[261];
    path[0] = 0;
    UINT length = ::DragQueryFileA(drop, i, path, sizeof(path));
    path[length < sizeof(path) ? length : sizeof(path) - 1] = 0;
    if (disk.Exists(path)) {
      paths.Add(SString(path).Concat("\\").GetText());
    } else {
      paths.Add(path);
    }
  }
  ::DragFinish(drop);
  wnd.SendMessage(SWM_DROPFILES, ToWParam(&paths), 0);
}

}  // namespace WindowPrivate
