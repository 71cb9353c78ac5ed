// A window that records what reaches it, for the window tests.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

#include <functional>
#include <map>
#include <vector>

class ProbeWnd : public SWnd {
public:
  struct Seen {
    char stage;  // 'O' OnMessage, 'W' WindowProc
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  // Messages below WM_USER that are recorded besides the framework's and
  // the user range.
  std::vector<UINT> watched = {WM_CREATE, WM_NCCREATE, WM_DESTROY, WM_KEYDOWN, WM_CLOSE,
                               WM_SETTEXT};
  std::vector<Seen> seen;
  // Answers of WindowProc by message (the base runs for the others).
  std::map<UINT, LRESULT> answers;
  // Messages OnMessage consumes, with their results.
  std::map<UINT, LRESULT> consumed;
  // Run by WindowProc for a message before it answers.
  std::map<UINT, std::function<void()>> actions;
  bool visibleAtAfterCreate = false;

  bool OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override {
    Record('O', message, wParam, lParam);
    if (message == SWM_AFTERCREATE) visibleAtAfterCreate = ::IsWindowVisible(m_hWnd) != 0;
    auto it = consumed.find(message);
    if (it != consumed.end()) {
      result = it->second;
      return false;
    }
    return SWnd::OnMessage(message, wParam, lParam, result);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    Record('W', message, wParam, lParam);
    auto action = actions.find(message);
    if (action != actions.end()) action->second();
    auto it = answers.find(message);
    if (it != answers.end()) return it->second;
    return SWnd::WindowProc(message, wParam, lParam);
  }

  int Count(char stage, UINT message) const {
    int n = 0;
    for (const Seen& s : seen) n += s.stage == stage && s.message == message;
    return n;
  }

private:
  void Record(char stage, UINT message, WPARAM wParam, LPARAM lParam) {
    bool wanted = message >= WM_USER;
    for (UINT m : watched) wanted = wanted || m == message;
    if (wanted) seen.push_back({stage, message, wParam, lParam});
  }
};

// Empties the thread's message queue.
inline void DrainMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
  }
}

inline RECT MakeRect(int x, int y, int width, int height) {
  RECT r = {x, y, x + width, y + height};
  return r;
}
