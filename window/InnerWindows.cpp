// The end of a container's inner window.
#include "core/Platform.h"
#include "window/WindowPrivate.h"

#include "window/SWnd.h"

void ReleaseInnerWindow(HWND window) {
  for (bool found = window != nullptr; found;) {
    found = false;
    for (HWND child = ::GetWindow(window, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (!SWnd::FromHandle(child)) continue;
      ::ShowWindow(child, SW_HIDE);
      ::SetParent(child, nullptr);
      found = true;
      break;
    }
  }
  if (!window) return;
  ::ShowWindow(window, SW_HIDE);
  ::DestroyWindow(window);
}
