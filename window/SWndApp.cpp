#include "core/Platform.h"
#include "window/SWndApp.h"

#include <windowsx.h>

SWndApp::SoundUpdateHook SWndApp::s_updateSound = nullptr;

SWndApp::SWndApp() : m_dragTarget(nullptr), m_dragButton(0) {}

SWndApp::~SWndApp() {
  m_sounds.FreeBuffer();
}

bool SWndApp::BeginCapture(HWND target) {
  if (!target || !m_hWnd || ::GetCapture() == m_hWnd) return false;
  int button;
  if (::GetAsyncKeyState(VK_LBUTTON) < 0) {
    button = 1;
  } else if (::GetAsyncKeyState(VK_RBUTTON) < 0) {
    button = 4;
  } else {
    return false;
  }
  m_dragTarget = target;
  m_dragButton = button;
  ::SetCapture(m_hWnd);
  return true;
}

LPARAM SWndApp::ToTarget(HWND from, HWND target, POINT point) {
  if (from) ::ClientToScreen(from, &point);
  ::ScreenToClient(target, &point);
  return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

LRESULT SWndApp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (m_dragTarget) {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::SendMessageA(m_dragTarget, SWM_CAPTUREMOVE, m_dragButton,
                       ToTarget(m_hWnd, m_dragTarget, point));
      }
      break;

    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      if (m_dragButton != (message == WM_LBUTTONUP ? 1 : 4)) break;
      // Cleared before the release, so that the capture change it causes is
      // no cancel.
      HWND target = m_dragTarget;
      m_dragTarget = nullptr;
      ::ReleaseCapture();
      if (target) {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        LPARAM position = ToTarget(m_hWnd, target, point);
        ::SendMessageA(target, SWM_CAPTUREMOVE, m_dragButton, position);
        ::SendMessageA(target, SWM_CAPTUREDROP, m_dragButton, position);
      }
      break;
    }

    case WM_CAPTURECHANGED: {
      HWND target = m_dragTarget;
      m_dragTarget = nullptr;
      if (target) {
        POINT point = {0, 0};
        ::GetCursorPos(&point);
        ::SendMessageA(target, SWM_CAPTURECANCEL, m_dragButton, ToTarget(nullptr, target, point));
      }
      break;
    }

    case WM_TIMER:
      if (s_updateSound) {
        // A tick may take its sound out of the list; the next one then moves
        // into its place.
        for (int i = 0; i < m_sounds.GetCount();) {
          SWave* sound = m_sounds[i];
          s_updateSound(sound);
          if (i < m_sounds.GetCount() && m_sounds[i] == sound) ++i;
        }
      }
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
