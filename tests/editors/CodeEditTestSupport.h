// A code editor built by the dialog builder inside a parent window that
// writes down the change notifications, with the modifier keys and the mouse
// button read from values the test sets.
#pragma once

#include "core/Platform.h"
#include "editors/EditorControls.h"
#include "editors/SCodeEditCtrl.h"
#include "window/ControlFactory.h"
#include "window/SDialogEditor.h"
#include "tests/support/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class NotifiedParent : public SWnd {
public:
  std::vector<UINT> seen;  // the change notifications, in order
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_CODEEDITCHANGED || message == SWM_CONTROLCHANGED) seen.push_back(message);
    return SWnd::WindowProc(message, wParam, lParam);
  }
};

// The keys a test holds down.
inline bool g_shiftDown = false;
inline bool g_controlDown = false;
inline SHORT WINAPI FakeKeyState(int key) {
  bool down = (key == VK_SHIFT && g_shiftDown) || (key == VK_CONTROL && g_controlDown);
  return down ? SHORT(0x8000) : 0;
}

class CodeEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterEditorControls();
    g_shiftDown = g_controlDown = false;
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("", WS_POPUP | WS_VISIBLE, 0, &rect));
  }
  void TearDown() override {
    delete edit;
    if (parent.m_hWnd) ::DestroyWindow(parent.m_hWnd);
  }

  // The editor of a CODEEDIT record with the caption as its text and the
  // given KEY=VALUE lines.
  SCodeEditCtrl* Build(const char* text, const std::vector<std::string>& keys = {}) {
    SDialogEditor::_SCtrl record;
    record.m_type = SDialogEditor::TYPE_CODEEDIT;
    record.m_style = WS_CHILD | WS_VISIBLE;
    record.m_left = record.m_top = 0;
    record.m_width = 300;
    record.m_height = 200;
    record.m_caption = text;
    for (const std::string& key : keys) record.m_properties += (key + "\r\n").c_str();
    delete edit;
    edit = static_cast<SCodeEditCtrl*>(
        CreateDialogControl(parent.m_hWnd, &record, nullptr, true, nullptr));
    if (edit) {
      edit->m_keyState = FakeKeyState;
      edit->m_asyncKeyState = FakeKeyState;
    }
    parent.seen.clear();
    return edit;
  }

  std::string Text() {
    SString text = edit->GetWholeText();
    return text.GetText() ? text.GetText() : "";
  }
  void Key(int key, bool shift = false, bool control = false) {
    g_shiftDown = shift;
    g_controlDown = control;
    edit->SendMessage(WM_KEYDOWN, key, 0);
    g_shiftDown = g_controlDown = false;
  }
  void Char(int c, bool control = false) {
    g_controlDown = control;
    edit->SendMessage(WM_CHAR, c, 0);
    g_controlDown = false;
  }
  // A key press (virtual-key code) or a typed character.
  void Press(bool key, int code) {
    if (key) {
      Key(code);
    } else {
      Char(code);
    }
  }
  void Caret(int line, int column) { edit->SetSelection(line, column, -1, -1, 0); }
  // The view printed into the canvas (the client area's size), the caret at
  // (line, column) and no scroll asked for.
  void PrintAt(Dib32* canvas, int line, int column) {
    Caret(line, column);
    edit->m_scrollRequest = SCodeEditCtrl::SCROLL_NONE;
    edit->SendMessage(WM_PRINTCLIENT, WPARAM(canvas->GetDC()), PRF_CLIENT);
  }
  // The selection as {start line, start column, end line, end column}.
  std::vector<int> Selection(bool* atEnd = nullptr) {
    std::vector<int> v(4);
    edit->GetSelection(&v[0], &v[1], &v[2], &v[3], atEnd);
    return v;
  }
  void ExpectCaret(int line, int column) {
    int l = -1, c = -1;
    EXPECT_TRUE(edit->GetCaret(&l, &c));
    EXPECT_EQ(line, l);
    EXPECT_EQ(column, c);
  }

  NotifiedParent parent;
  SCodeEditCtrl* edit = nullptr;
};
