// Test support for the graph control: a visible control in a parent window,
// graphs built through the model's own operations, XML text in and out, and
// the thread's Ctrl key state.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SXml.h"
#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphCtrl.h"
#include "editors/SGraphPlug.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

// A box with plugs of the given types named "p0", "p1", ...; the box and
// then its plugs take the board's next ids.
inline SGraphBox* AddTestBox(SGraphBoard* board, const char* name, int x, int y,
                             std::initializer_list<int> plugTypes) {
  SGraphBox* box = new SGraphBox;
  box->m_id = board->m_nextId++;
  box->m_name = name;
  box->m_x = x;
  box->m_y = y;
  board->AddBox(box);
  int n = 0;
  for (int type : plugTypes) {
    SGraphPlug* plug = new SGraphPlug(box);
    plug->m_id = board->m_nextId++;
    plug->m_type = type;
    plug->m_name = SString("p") + SString::FromInt(n++);
    box->AddPlug(plug);
  }
  return box;
}

inline SGraphPlug* PlugOf(SGraphBox* box, int index) { return box->m_plugs.GetAt(index); }

// The control's graph as XML text; empty when it has no board.
inline std::string SaveText(SGraphCtrl* ctrl) {
  SXml document;
  if (!ctrl->SaveXml(document.GetRoot())) return std::string();
  SString text = document.WriteText();
  return text.GetText() ? text.GetText() : "";
}

inline bool LoadText(SGraphCtrl* ctrl, const std::string& text) {
  SFileMem file(text.c_str());
  return ctrl->LoadFile(&file);
}

inline int CountOf(const std::string& text, const char* what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Sets or clears the Ctrl key in the thread's key state (GetKeyState).
inline void SetControlKey(bool down) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  keys[VK_LCONTROL] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

inline LPARAM Point(int x, int y) { return MAKELPARAM(WORD(short(x)), WORD(short(y))); }

// A 640 x 480 parent with a 600 x 400 graph control at 0, 0 holding an empty
// board (next id 1).
class GraphWindowTest : public ::testing::Test {
public:
  void SetUp() override {
    RECT outer = {0, 0, 640, 480};
    ASSERT_TRUE(m_parent.Create("graph", WS_POPUP | WS_VISIBLE, 0, &outer));
    m_ctrl = new SGraphCtrl;
    RECT inner = {0, 0, 600, 400};
    ASSERT_TRUE(m_ctrl->Create("", WS_CHILD | WS_VISIBLE, 0, &inner, m_parent.m_hWnd,
                               reinterpret_cast<HMENU>(1)));
    ASSERT_TRUE(LoadText(m_ctrl, "<xml><graph><board nextid=\"1\"/></graph></xml>"));
    m_board = m_ctrl->m_board;
  }
  void TearDown() override {
    SetControlKey(false);
    delete m_ctrl;
  }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(m_ctrl->m_hWnd, message, wParam, lParam);
  }
  // A left drag by messages: press, the moves, release at the last point.
  void Drag(POINT from, std::initializer_list<POINT> moves, WPARAM keys = 0) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON | keys, Point(from.x, from.y));
    POINT last = from;
    for (POINT p : moves) {
      Send(WM_MOUSEMOVE, MK_LBUTTON | keys, Point(p.x, p.y));
      last = p;
    }
    Send(WM_LBUTTONUP, keys, Point(last.x, last.y));
  }
  void Key(WPARAM key, bool control = false) {
    SetControlKey(control);
    Send(WM_KEYDOWN, key, 0);
    SetControlKey(false);
  }
  // A command from the menu, as the menu delivers it.
  void Command(int menu, int id) {
    Send(SWM_MENUCOMMAND, reinterpret_cast<WPARAM>(m_ctrl->GetMenu(menu)), id);
  }
  // The point in the middle of the box's body, in client coordinates.
  POINT BodyOf(SGraphBox* box) {
    POINT p = {(box->m_inner.left + box->m_inner.right) / 2 + m_board->m_originX,
               (box->m_inner.top + box->m_inner.bottom) / 2 + m_board->m_originY};
    return p;
  }
  POINT SquareOf(SGraphPlug* plug) {
    RECT s = plug->GetSquare();
    POINT p = {(s.left + s.right) / 2 + m_board->m_originX,
               (s.top + s.bottom) / 2 + m_board->m_originY};
    return p;
  }

  SWnd m_parent;
  SGraphCtrl* m_ctrl = nullptr;
  SGraphBoard* m_board = nullptr;
};
