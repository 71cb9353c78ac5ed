// SWnd: the modal run, which disables the other windows and runs the modal
// message loop.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "window/MessageLoop.h"
#include "window/WindowPrivate.h"

int SWnd::RunModal(WPARAM wParam, LPARAM lParam, bool disableAll, SArray<SWnd*>* keepEnabled,
                   bool hideAfter) {
  if (!m_hWnd || (StyleOf(m_hWnd) & WS_CHILD)) return 0;

  SArray<SWnd*> candidates;
  SArray<SWnd*> exclude;
  exclude.Add(this);
  HWND previous = nullptr;
  if (disableAll) {
    HWND foreground = ::GetForegroundWindow();
    if (FromHandle(foreground)) previous = foreground;
    GetTopLevelPopups(&candidates);
    for (int i = candidates.GetCount() - 1; i >= 0; --i) {
      SWnd* wnd = candidates[i];
      bool kept = keepEnabled && keepEnabled->Find(wnd) >= 0 && (StyleOf(wnd->m_hWnd) & WS_POPUP);
      if (wnd == this || wnd->m_modalExempt || kept) candidates.RemoveAt(i);
    }
    int tops = candidates.GetCount();
    for (int i = 0; i < tops; ++i) {
      SWnd* top = candidates[i];
      top->GetChildren(&candidates, &exclude, true, -1);
    }
  } else {
    SWnd* ancestor = FromHandle(GetPopupAncestor());
    if (ancestor) {
      previous = ancestor->m_hWnd;
      candidates.Add(ancestor);
      ancestor->GetChildren(&candidates, &exclude, true, -1);
    }
  }

  // Handles, so that a window destroyed during the run is simply skipped.
  SArray<HWND__*> disabled;
  for (int i = 0; i < candidates.GetCount(); ++i) {
    SWnd* wnd = candidates[i];
    HWND hWnd = wnd->m_hWnd;
    if (!hWnd || wnd->m_modalExempt || (StyleOf(hWnd) & WS_CHILD)) continue;
    if (!::IsWindowEnabled(hWnd) || disabled.Find(hWnd) >= 0) continue;
    ::EnableWindow(hWnd, FALSE);
    disabled.Add(hWnd);
  }

  m_modalResult = 0;
  m_modalRunning = true;
  if (Deliver(m_hWnd, SWM_MODALSTART, wParam, lParam) != 0) {
    m_modalRunning = false;
  } else {
    if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
    bool blocking = true;
    RunModalLoop(this, &blocking);
    // A run left by WM_QUIT is over as well.
    m_modalRunning = false;
    if (hideAfter && m_hWnd && ::IsWindowVisible(m_hWnd)) {
      if (previous) ::EnableWindow(previous, TRUE);
      ::ShowWindow(m_hWnd, SW_HIDE);
    }
  }

  for (int i = 0; i < disabled.GetCount(); ++i) ::EnableWindow(disabled[i], TRUE);
  SWnd* active = FromHandle(previous);
  if (active) active->BringToFront();
  return m_modalResult;
}
