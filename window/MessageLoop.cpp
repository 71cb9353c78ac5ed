#include "core/Platform.h"
#include "window/MessageLoop.h"

#include "window/SWnd.h"

SArray<HWND__*> g_modelessDialogs;

namespace {

// Offers the message to the modeless dialogs, else translates and
// dispatches it. The list is read again after each dialog, which may leave
// it while handling the message.
void HandOver(MSG* msg) {
  for (int i = 0; i < g_modelessDialogs.GetCount(); ++i) {
    HWND dialog = g_modelessDialogs[i];
    if (dialog && ::IsDialogMessageA(dialog, msg)) return;
  }
  ::TranslateMessage(msg);
  ::DispatchMessageA(msg);
}

}  // namespace

void RunMessageLoop(bool* blocking, IdleCallback idle, void* argument) {
  MSG msg;
  memset(&msg, 0, sizeof(msg));
  while (msg.message != WM_QUIT) {
    if (blocking && *blocking) {
      while (*blocking) {
        if (::GetMessageA(&msg, nullptr, 0, 0) == 0) break;
        HandOver(&msg);
      }
    } else if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      HandOver(&msg);
    } else if (idle) {
      idle(argument);
    }
  }
}

void RunModalLoop(SWnd* window, bool*) {
  MSG msg;
  memset(&msg, 0, sizeof(msg));
  while (window && window->m_hWnd && window->m_modalRunning && msg.message != WM_QUIT) {
    if (::GetMessageA(&msg, nullptr, 0, 0) == 0) break;
    if (g_modelessDialogs.GetCount() > 0) {
      HandOver(&msg);
      continue;
    }
    if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_RETURN && window->IsModalKeyEnabled(true)) {
        SWnd::StaticWndProc(window->m_hWnd, SWM_MODALRETURN, 0, 1);
      } else if (msg.wParam == VK_ESCAPE && window->IsModalKeyEnabled(false)) {
        SWnd::StaticWndProc(window->m_hWnd, SWM_MODALESCAPE, 0, 1);
      }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
}

void AddModelessDialog(HWND dialog) {
  if (g_modelessDialogs.Find(dialog) < 0) g_modelessDialogs.Add(dialog);
}

void RemoveModelessDialogAt(int index) {
  if (index < 0 || index >= g_modelessDialogs.GetCount()) return;
  g_modelessDialogs.RemoveAt(index);
}

void FlushInputMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
         ::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
}
