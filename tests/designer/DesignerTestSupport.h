// Test support for the dialog designer: a visible designer window in a
// parent that counts its change notifications, dialog texts made of
// sections, and a scripted mouse for the drags (the designer polls the key
// state and the cursor through its seams).
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "designer/SDialogDesigner.h"
#include "tests/window/DialogTextCorpus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

typedef SDialogDesigner::_SCtrl Ctrl;

// One section of a dialog text with the lines of the fixed keys.
inline std::string Section(const char* keyword, int id, const char* name, int x, int y, int w,
                           int h, const char* style = "WS_VISIBLE ", const char* extra = "") {
  char position[64];
  snprintf(position, sizeof(position), "%d %d %d %d", x, y, w, h);
  return std::string("[") + keyword + "]\r\nID=" + std::to_string(id) + "\r\nNAME=" + name +
         "\r\nCAPTION=" + name + "\r\nFONT=, 0, 0\r\nPOSITION=" + position + "\r\nSTYLE=" + style +
         "\r\nEXSTYLE=\r\nBACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\n"
         "ISLOCKED=0\r\n" +
         extra + "\r\n";
}

inline std::string DialogText(const std::string& controls, int width = 400, int height = 300,
                              const char* extra = "") {
  return std::string("VANDRO DIALOG 1.0.0.0\r\n\r\n") +
         Section("DIALOG", 0, "DLG", 0, 0, width, height, "WS_VISIBLE WS_CAPTION ", extra) +
         controls;
}

// The scripted mouse: the left button is down while points remain; each
// cursor read takes the next point (client coordinates of the designer).
struct MouseScript {
  std::vector<POINT> points;
  size_t next = 0;
  bool ctrl = false, shift = false;
  size_t escapeFrom = size_t(-1);  // Escape reads as down once this many points were read
  HWND window = nullptr;
};

inline MouseScript g_mouse;

inline SHORT WINAPI ScriptedKeyState(int key) {
  bool down = false;
  switch (key) {
    case VK_LBUTTON:
      down = g_mouse.next < g_mouse.points.size();
      break;
    case VK_CONTROL:
      down = g_mouse.ctrl;
      break;
    case VK_SHIFT:
      down = g_mouse.shift;
      break;
    case VK_ESCAPE:
      down = g_mouse.next >= g_mouse.escapeFrom;
      break;
  }
  return down ? SHORT(0x8000) : 0;
}

inline BOOL WINAPI ScriptedCursor(POINT* point) {
  if (g_mouse.points.empty()) return FALSE;
  size_t at = g_mouse.next < g_mouse.points.size() ? g_mouse.next : g_mouse.points.size() - 1;
  *point = g_mouse.points[at];
  ++g_mouse.next;
  ::ClientToScreen(g_mouse.window, point);
  return TRUE;
}

// A designer that writes down its selection hook and can refuse records.
class HostDesigner : public SDialogDesigner {
public:
  void OnSelectionChanged(_SCtrl* previous, _SCtrl* current) override {
    changes.push_back({previous, current});
  }
  bool OnControlAdded(_SCtrl*) override { return acceptAdd; }
  bool OnControlRemoving(_SCtrl* record) override { return record->m_name != keep; }

  std::vector<std::pair<_SCtrl*, _SCtrl*>> changes;
  bool acceptAdd = true;
  SString keep = "";
};

// Counts the designer's change notifications.
class NotifiedParent : public SWnd {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_CONTROLCHANGED) ++changes;
    return SWnd::WindowProc(message, wParam, lParam);
  }
  int changes = 0;
};

inline LPARAM At(int x, int y) { return MAKELPARAM(WORD(short(x)), WORD(short(y))); }

// A 640 x 480 designer (rulers on: the design area starts at 22, 22) in a
// visible parent, scripted input installed.
class DesignerTest : public ::testing::Test {
public:
  void SetUp() override {
    RECT outer = {0, 0, 700, 540};
    ASSERT_TRUE(m_parent.Create("designer", WS_POPUP | WS_VISIBLE, 0, &outer));
    RECT inner = {0, 0, 640, 480};
    ASSERT_TRUE(m_designer.Create("", WS_CHILD | WS_VISIBLE, 0, &inner, m_parent.m_hWnd));
    g_mouse = MouseScript();
    g_mouse.window = m_designer.m_hWnd;
    SDialogDesigner::s_keyState = ScriptedKeyState;
    SDialogDesigner::s_cursorPos = ScriptedCursor;
  }
  void TearDown() override {
    SDialogDesigner::s_keyState = ::GetAsyncKeyState;
    SDialogDesigner::s_cursorPos = ::GetCursorPos;
    m_designer.Clear();
  }

  bool Load(const std::string& text) {
    SFileMem file;
    FillFile(file, text);
    bool loaded = SDialogDesigner::LoadText(&file, &m_designer);
    m_designer.changes.clear();
    return loaded;
  }
  std::string Save() {
    SFileMem file;
    m_designer.SaveText(&file);
    return FileText(file);
  }
  Ctrl* Named(const char* name) { return m_designer.FindControlByName(name); }
  // A record's place and size as {left, top, width, height}.
  static std::vector<int> Box(const Ctrl* r) {
    return {r->m_left, r->m_top, r->m_width, r->m_height};
  }
  // A press at a client point with the script's points following it.
  void Press(POINT at, std::vector<POINT> drag = {}) {
    g_mouse.points = drag;
    g_mouse.next = 0;
    m_designer.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(at.x, at.y));
  }
  std::vector<std::string> Selected() {
    std::vector<std::string> names;
    for (int i = 0; i < m_designer.m_selection.GetCount(); ++i) {
      names.push_back(m_designer.m_selection[i]->m_name.GetText());
    }
    return names;
  }

  NotifiedParent m_parent;
  HostDesigner m_designer;
};
