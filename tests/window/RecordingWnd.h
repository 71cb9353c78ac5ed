// A framework window that writes down the messages reaching its OnMessage and
// WindowProc (with copies of what their pointers show during the send) and
// the edit commands fired on it, and answers or consumes messages as told;
// helpers for the message queue and injected keys.
#pragma once

#include "core/Platform.h"
#include "core/SStringArray.h"
#include "window/FrameworkMessages.h"
#include "window/MessageLoop.h"
#include "window/SWnd.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class RecordingWnd : public SWnd {
public:
  struct Seen {
    char stage;  // 'O' OnMessage, 'W' WindowProc
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    MOUSERECORD mouse;  // for the mouse notifications
  };

  // Recorded: messages from WM_USER on, plus the watched ones.
  std::vector<UINT> watched = {WM_CREATE, WM_NCCREATE, WM_DESTROY,  WM_KEYDOWN,
                               WM_CLOSE,  WM_SETTEXT,  WM_DROPFILES};
  std::vector<Seen> seen;
  std::map<UINT, LRESULT> answers;                // WindowProc answers by message
  std::map<UINT, LRESULT> consumed;               // messages OnMessage consumes, with their results
  std::map<UINT, std::function<void()>> actions;  // run by WindowProc before it answers
  bool visibleAtAfterCreate = false;
  std::vector<int> commands;          // edit commands fired, by mask bit
  std::vector<unsigned char> record;  // the last SWM_RECORD block, header included
  std::vector<std::string> dropped;   // the last SWM_DROPFILES list

  void Undo() override { commands.push_back(0); }
  void Cut() override { commands.push_back(1); }
  void Copy() override { commands.push_back(2); }
  void Paste() override { commands.push_back(3); }
  void Delete() override { commands.push_back(4); }
  void SelectAll() override { commands.push_back(5); }
  void Find() override { commands.push_back(6); }
  void Replace() override { commands.push_back(7); }
  void GoTo() override { commands.push_back(8); }
  void Print() override { commands.push_back(9); }
  void Cancel() override { commands.push_back(10); }
  void New() override { commands.push_back(11); }
  void Open() override { commands.push_back(12); }
  void Save() override { commands.push_back(13); }
  void SaveAs() override { commands.push_back(14); }

  bool OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override {
    Note('O', message, wParam, lParam);
    if (message == SWM_AFTERCREATE) visibleAtAfterCreate = ::IsWindowVisible(m_hWnd) != 0;
    auto it = consumed.find(message);
    if (it != consumed.end()) {
      result = it->second;
      return false;
    }
    return SWnd::OnMessage(message, wParam, lParam, result);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    Note('W', message, wParam, lParam);
    if (message == SWM_RECORD && lParam) {
      const unsigned char* block = reinterpret_cast<const unsigned char*>(lParam);
      uint32_t size;
      memcpy(&size, block, 4);
      int bytes = 16 + static_cast<int>(size & ~3u) + 4;
      record.assign(block, block + bytes);
    }
    if (message == SWM_DROPFILES && wParam) {
      SStringArray* list = reinterpret_cast<SStringArray*>(wParam);
      dropped.clear();
      for (int i = 0; i < list->GetCount(); ++i) dropped.push_back(list->Get(i).GetText());
    }
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
  // The counts and sightings below are those of WindowProc.
  int Count(UINT message) const { return Count('W', message); }

  // The n-th (from 0; -1 the last) sighting of the message; a zeroed entry
  // when there is none.
  Seen Nth(UINT message, int n = -1, char stage = 'W') const {
    std::vector<const Seen*> found;
    for (const Seen& s : seen) {
      if (s.stage == stage && s.message == message) found.push_back(&s);
    }
    if (n < 0) n += static_cast<int>(found.size());
    if (n < 0 || n >= static_cast<int>(found.size())) return Seen{0, 0, 0, 0, {0, 0, 0, 0, 0}};
    return *found[n];
  }

  // The messages seen, in order, of those listed.
  std::vector<UINT> Sequence(std::vector<UINT> of) const {
    std::vector<UINT> out;
    for (const Seen& s : seen) {
      for (UINT m : of) {
        if (s.stage == 'W' && s.message == m) out.push_back(m);
      }
    }
    return out;
  }

  // The flags of the mouse records seen with the message, in order.
  std::vector<uint32_t> MouseFlags(UINT message) const {
    std::vector<uint32_t> out;
    for (const Seen& s : seen) {
      if (s.stage == 'W' && s.message == message) out.push_back(s.mouse.flags);
    }
    return out;
  }

private:
  void Note(char stage, UINT message, WPARAM wParam, LPARAM lParam) {
    bool wanted = message >= WM_USER;
    for (UINT m : watched) wanted = wanted || m == message;
    if (!wanted) return;
    Seen s = {stage, message, wParam, lParam, {0, 0, 0, 0, 0}};
    for (UINT m :
         {SWM_LISTBOXMOUSE, SWM_BUTTONMOUSE, SWM_LISTMOUSE, SWM_TREEMOUSE, SWM_EDITMOUSE,
          SWM_GROUPMOUSE, SWM_MEDIAMOUSE, SWM_CHECKMOUSE, SWM_RADIOMOUSE, SWM_TABMOUSE,
          SWM_LABELMOUSE, SWM_LCDMOUSE, SWM_LEVELMOUSE, SWM_SPLITTERMOUSE, SWM_STATUSBARMOUSE}) {
      if (m == message && lParam) s.mouse = *reinterpret_cast<MOUSERECORD*>(lParam);
    }
    seen.push_back(s);
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

// A window's rectangle in the client coordinates of another window (by
// default its parent).
inline RECT RectIn(HWND window, HWND other = nullptr) {
  RECT r = {};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(nullptr, other ? other : ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The text of a combo box item.
inline std::string ComboText(SWnd* combo, int index) {
  char text[64] = {};
  combo->SendMessage(CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text));
  return text;
}

// A window's style (or extended style) and class name.
inline DWORD StyleOf(HWND hWnd, int index = GWL_STYLE) {
  return DWORD(::GetWindowLongA(hWnd, index));
}
inline std::string ClassOf(HWND hWnd) {
  char name[64] = {};
  ::GetClassNameA(hWnd, name, sizeof(name));
  return name;
}

// Holds modifier keys down through SendInput (the code under test polls
// GetAsyncKeyState) and releases them, dropping the key messages the
// injection queued. A focus change still on its way resets the key state
// when it arrives, so the thread's queue is pumped for a moment before the
// keys go down; then until every key reads as wanted (the keys are sent
// again now and then), for at most a second.
class HeldKeys {
public:
  explicit HeldKeys(std::vector<WORD> keys) : m_keys(keys) {
    PumpKeys(100);
    SendAll(true);
    WaitUntil(true);
  }
  ~HeldKeys() {
    SendAll(false);
    WaitUntil(false);
    FlushInputMessages();
  }
  // True when every key reads as down.
  bool AllDown() const { return AllAre(true); }

private:
  bool AllAre(bool down) const {
    for (WORD key : m_keys) {
      if (((::GetAsyncKeyState(key) & 0x8000) != 0) != down) return false;
    }
    return true;
  }
  void SendAll(bool down) const {
    if (down) {
      for (WORD key : m_keys) Send(key, true);
    } else {
      for (auto it = m_keys.rbegin(); it != m_keys.rend(); ++it) Send(*it, false);
    }
  }
  // Takes the key messages from the queue (which also lets the system's
  // pending input events in) for the time given.
  static void PumpKeys(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    do {
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      }
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < milliseconds);
  }
  void WaitUntil(bool down) const {
    for (int attempt = 0; attempt < 10 && !AllAre(down); ++attempt) {
      if (attempt > 0) SendAll(down);
      DWORD start = ::GetTickCount();
      while (!AllAre(down) && ::GetTickCount() - start < 100) PumpKeys(0);
    }
  }
  static void Send(WORD key, bool down) {
    INPUT input;
    memset(&input, 0, sizeof(input));
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
  }
  std::vector<WORD> m_keys;
};
