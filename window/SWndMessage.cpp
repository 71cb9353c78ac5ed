// SWnd: the base versions of OnMessage and WindowProc.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "window/Framework.h"

bool SWnd::OnMessage(UINT message, WPARAM& wParam, LPARAM&, LRESULT& result) {
  switch (message) {
    case WM_DESTROY:
      CancelModal();
      DestroyCaret();
      SetMenu(nullptr);
      break;

    case WM_CLOSE: {
      if (!m_modalRunning) break;
      StaticWndProc(m_hWnd, SWM_MODALESCAPE, 0, 0);
      // The outermost popup above the window gets its input back before the
      // window hides, so that it becomes the active window again.
      HWND outermost = nullptr;
      for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
        if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_POPUP) outermost = hWnd;
      }
      if (FromHandle(outermost)) ::EnableWindow(outermost, TRUE);
      ::ShowWindow(m_hWnd, SW_HIDE);
      result = 0;
      return false;
    }

    case WM_SETFONT:
      m_font = reinterpret_cast<HFONT>(wParam);
      break;

    case WM_STYLECHANGED:
      UpdateFrameFlags(static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)),
                       static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
      break;

    case SWM_AFTERCREATE:
      OnAfterCreate();
      break;
  }
  return true;
}

void SWnd::OnAfterCreate() {
  m_eraseDepth = 0;
  if (m_kind == 0) SetBackColor(::GetSysColor(COLOR_BTNFACE));
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(g_defaultFont), TRUE);
  m_cursorVisible = true;
  m_cursor = nullptr;
  m_normalState = !::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd);
  m_focusReturn = false;
}

LRESULT SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY: {
      SetMenu(nullptr);
      LRESULT result = CallDefaultProc(message, wParam, lParam);
      m_hWnd = nullptr;
      return result;
    }

    case SWM_AFTERCREATE:
      if (m_previousProc) return CallDefaultProc(message, wParam, lParam);
      return 0;

    case SWM_MODALSTART:
      return 0;

    case SWM_MODALRETURN:
      EndModal();
      break;

    case SWM_MODALESCAPE:
      CancelModal();
      break;
  }
  return CallDefaultProc(message, wParam, lParam);
}
