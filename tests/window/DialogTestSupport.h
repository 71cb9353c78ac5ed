// Dialog texts written by tests, modal runs with a way out, and buttons that
// count their destructions or refuse their creation.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "window/FrameworkMessages.h"
#include "window/SButtonCtrl.h"
#include "window/SDialog.h"
#include "window/SWnd.h"
#include "tests/window/DialogTextCorpus.h"
#include "tests/window/RecordingWnd.h"

#include <initializer_list>
#include <string>

// One section: the header, the id, name and position, then further lines.
inline std::string Section(const std::string& type, int id, const std::string& name,
                           const std::string& position,
                           std::initializer_list<std::string> lines = {}) {
  std::string text = "[" + type + "]\r\nID=" + std::to_string(id) + "\r\nNAME=" + name +
                     "\r\nPOSITION=" + position + "\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The magic line, the line after it, and the sections, each ended by an
// empty line.
inline std::string DialogText(std::initializer_list<std::string> sections) {
  std::string text = "VANDRO DIALOG 1.0.0.0\r\n\r\n";
  for (const std::string& section : sections) text += section + "\r\n";
  return text;
}

// A visible captioned dialog record of the size with further lines.
inline std::string DialogSection(const std::string& size,
                                 std::initializer_list<std::string> lines = {}) {
  std::string text = Section("DIALOG", 0, "Dialog", "0 0 " + size,
                             {"CAPTION=Test", "STYLE=WS_VISIBLE WS_CAPTION WS_SYSMENU "});
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A visible button record captioned with its name, with further lines.
inline std::string ButtonSection(int id, const std::string& name, const std::string& position,
                                 std::initializer_list<std::string> lines = {}) {
  std::string text =
      Section("BUTTON", id, name, position, {"CAPTION=" + name, "STYLE=WS_VISIBLE "});
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Builds the dialog from the text, hidden: a popup, or a child of the parent.
inline bool BuildDialog(SDialog& dialog, const std::string& text, SResource* archive = nullptr,
                        HWND parent = nullptr) {
  SFileMem file;
  FillFile(file, text);
  return dialog.Create(&file, parent, parent == nullptr, nullptr, nullptr, nullptr, nullptr, true,
                       archive, nullptr);
}

// The top left corner of a window in the parent's client coordinates.
inline POINT PositionIn(HWND window, HWND parent) {
  RECT rect = RectIn(window, parent);
  return POINT{rect.left, rect.top};
}

// A window whose modal run is ended by a timer when nothing else ends it.
class ModalGuard {
public:
  enum { TIMED_OUT = -99 };

  explicit ModalGuard(SWnd* wnd) {
    s_wnd = wnd;
    m_timer = ::SetTimer(nullptr, 0, 5000, &ModalGuard::OnTimer);
  }
  ~ModalGuard() {
    ::KillTimer(nullptr, m_timer);
    s_wnd = nullptr;
  }
  ModalGuard(const ModalGuard&) = delete;
  ModalGuard& operator=(const ModalGuard&) = delete;

private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (s_wnd) s_wnd->SetModalResult(TIMED_OUT);
  }

  static inline SWnd* s_wnd = nullptr;
  UINT_PTR m_timer;
};

// A button that counts the objects of its class destroyed.
class CountedButton : public SButtonCtrl {
public:
  ~CountedButton() override { ++s_destroyed; }
  static inline int s_destroyed = 0;
};

// A button whose creation is refused by its own after-create answer.
class RefusingButton : public SButtonCtrl {
public:
  ~RefusingButton() override { ++s_destroyed; }
  bool OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override {
    if (message != SWM_AFTERCREATE) return SWnd::OnMessage(message, wParam, lParam, result);
    result = 1;
    return false;
  }
  static inline int s_destroyed = 0;
};
