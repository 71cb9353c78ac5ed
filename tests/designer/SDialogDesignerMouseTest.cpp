#include "core/Platform.h"
#include "DesignerTestSupport.h"

namespace {

// Client point of a design point (no scrolling, rulers on).
POINT C(int x, int y) { return {x + 22, y + 22}; }

std::string Controls() {
  return DialogText(Section("BUTTON", 1, "A", 23, 40, 50, 20) +
                    Section("BUTTON", 2, "B", 100, 100, 50, 40) +
                    Section("BUTTON", 3, "L", 200, 40, 50, 20, "WS_VISIBLE ") +
                    Section("BUTTON", 4, "LAST", 300, 200, 10, 10));
}

}  // namespace

TEST_F(DesignerTest, MovesSnapToTheGridAndStopAtTheDesignOrigin) {
  struct Case {
    bool snap, ctrl;
    int x;
  } cases[] = {{true, false, 30}, {true, true, 32}, {false, false, 32}, {false, true, 30}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(Controls()));
    m_parent.changes = 0;
    m_designer.m_snap = c.snap;
    g_mouse.ctrl = c.ctrl;
    Press(C(30, 50), {C(34, 52), C(39, 50)});
    EXPECT_EQ(c.x, Named("A")->m_left) << c.snap << c.ctrl;
    EXPECT_EQ(40, Named("A")->m_top);
    EXPECT_EQ(1, m_designer.GetUndoCount());
    EXPECT_EQ(1, m_parent.changes);
    EXPECT_EQ((std::vector<std::string>{"A"}), Selected());
  }
  // No control goes left of or above the design's origin.
  ASSERT_TRUE(Load(Controls()));
  m_designer.m_snap = true;
  g_mouse.ctrl = false;
  m_designer.SetSelection(Named("B"));
  m_designer.AddToSelection(Named("A"));
  Press(C(30, 50), {C(-40, 20), C(-70, 5)});
  EXPECT_EQ((std::vector<int>{0, 0, 50, 20}), Box(Named("A")));
  EXPECT_EQ((std::vector<int>{0, 55, 50, 40}), Box(Named("B")));

  // With the view scrolled every selected control moves by the drag, also
  // those that lie out of sight, left of or above the visible area.
  const struct {
    int dx, dy;
    std::vector<int> a, b, l, last;  // left and top after the drop
  } scrolled[] = {
      {10, 5, {30, 45}, {110, 105}, {210, 45}, {310, 205}},
      {-30, -45, {0, 0}, {70, 55}, {170, 0}, {270, 155}},
  };
  for (const auto& c : scrolled) {
    ASSERT_TRUE(Load(Controls()));
    ::SetScrollPos(m_designer.m_hWnd, SB_HORZ, 150, TRUE);
    ::SetScrollPos(m_designer.m_hWnd, SB_VERT, 30, TRUE);
    m_designer.SelectAll();
    // On "L" (design 200, 40), in sight at client 72, 32.
    POINT start = {80, 40};
    Press(start, {{start.x + c.dx / 2, start.y}, {start.x + c.dx, start.y + c.dy}});
    const std::pair<const char*, const std::vector<int>*> expected[] = {
        {"A", &c.a}, {"B", &c.b}, {"L", &c.l}, {"LAST", &c.last}};
    for (const auto& e : expected) {
      const Ctrl* r = Named(e.first);
      EXPECT_EQ(*e.second, (std::vector<int>{r->m_left, r->m_top})) << e.first << c.dx;
    }
    EXPECT_EQ(4u, Selected().size());
    EXPECT_EQ(1, m_designer.GetUndoCount());
  }
  ::SetScrollPos(m_designer.m_hWnd, SB_HORZ, 0, TRUE);
  ::SetScrollPos(m_designer.m_hWnd, SB_VERT, 0, TRUE);
}

TEST_F(DesignerTest, EscapeNoMovementAndLockedControlsLeaveTheRecords) {
  ASSERT_TRUE(Load(Controls()));
  std::string before = Save();
  g_mouse.escapeFrom = 2;
  Press(C(30, 50), {C(60, 80), C(90, 90), C(120, 120)});
  EXPECT_EQ(before, Save());
  g_mouse.escapeFrom = size_t(-1);
  Press(C(30, 50), {C(60, 80), C(30, 50)});
  EXPECT_EQ(before, Save());
  // Resizing and the rubber band too.
  m_designer.SetSelection(Named("B"));
  g_mouse.escapeFrom = 1;
  Press(C(150 + 2, 140 + 2), {C(200, 200), C(220, 220)});
  EXPECT_EQ(before, Save());
  Press(C(5, 5), {C(200, 200), C(210, 210)});
  EXPECT_EQ(m_designer.m_dialog, m_designer.GetPrimary());
  EXPECT_EQ(0, m_designer.GetUndoCount());
  EXPECT_EQ(0, m_parent.changes);
  ASSERT_TRUE(Load(Controls()));
  Named("A")->m_locked = true;
  Press(C(30, 50), {C(60, 80), C(90, 90)});
  m_designer.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  g_mouse.shift = true;
  m_designer.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ((std::vector<int>{23, 40, 50, 20}), Box(Named("A")));
  EXPECT_EQ(0, m_designer.GetUndoCount());
}

TEST_F(DesignerTest, ResizingByAGripStopsTenPixelsFromTheOppositeEdgesAndKeepsOnlyThePrimary) {
  ASSERT_TRUE(Load(Controls()));
  m_designer.SetSelection(Named("B"));
  // Grip 0 (top left) dragged far to the bottom right.
  Press(C(100 - 3, 100 - 3), {C(150, 150), C(300, 300)});
  Ctrl* b = Named("B");
  EXPECT_EQ((std::vector<int>{140, 130, 10, 10}), Box(b));
  RECT live;
  ::GetClientRect(b->m_window->m_hWnd, &live);
  EXPECT_EQ(10, live.right);
  // Grip 7 (bottom right) snaps its edges down to the grid.
  Press(C(150 + 3, 140 + 3), {C(163, 168), C(177, 178)});
  EXPECT_EQ((std::vector<int>{140, 130, 30, 45}), Box(b));
  EXPECT_EQ(2, m_designer.GetUndoCount());
  EXPECT_EQ(nullptr, m_designer.m_cursor);
  ASSERT_TRUE(Load(Controls()));
  m_designer.SetSelection(Named("B"));
  m_designer.AddToSelection(Named("A"));
  m_designer.AddToSelection(Named("L"));
  // Grip 4 (middle right) of B.
  Press(C(150 + 3, 120), {C(160, 120), C(172, 121)});
  EXPECT_EQ((std::vector<std::string>{"B"}), Selected());
  EXPECT_EQ((std::vector<int>{100, 100, 65, 40}), Box(Named("B")));
}

TEST_F(DesignerTest, TheRubberBandAndCtrlClicksSelect) {
  ASSERT_TRUE(Load(Controls()));
  // From empty dialog space over A whole and B partly.
  Press(C(10, 30), {C(100, 80), C(130, 110)});
  EXPECT_EQ((std::vector<std::string>{"A"}), Selected());
  // A band whose right edge is the control's right edge does not catch it.
  Press(C(10, 30), {C(73, 70)});
  EXPECT_EQ((std::vector<std::string>{"DLG"}), Selected());
  // A click without movement selects the dialog record.
  m_designer.SetSelection(Named("B"));
  Press(C(5, 5), {C(5, 5)});
  EXPECT_EQ(m_designer.m_dialog, m_designer.GetPrimary());
  EXPECT_EQ(0, m_designer.GetUndoCount());
  ASSERT_TRUE(Load(Controls()));
  g_mouse.ctrl = true;
  Press(C(110, 110));  // replaces the dialog record
  EXPECT_EQ((std::vector<std::string>{"B"}), Selected());
  Press(C(30, 50));
  EXPECT_EQ((std::vector<std::string>{"A", "B"}), Selected());
  Press(C(30, 50), {C(60, 60)});  // deselects; no drag
  EXPECT_EQ((std::vector<std::string>{"B"}), Selected());
  Press(C(110, 110));
  EXPECT_EQ(0, m_designer.m_selection.GetCount());
  EXPECT_EQ(0, m_designer.GetUndoCount());
  EXPECT_EQ(100, Named("B")->m_left);
}

TEST_F(DesignerTest, ArrowKeysMoveAndSizeBySnapStepsAndTabCycles) {
  ASSERT_TRUE(Load(Controls()));
  Ctrl* last = Named("LAST");
  m_designer.SetSelection(last);
  struct Case {
    bool snap, ctrl, shift;
    int key;
    int x, y, w, h;
  } cases[] = {
      {true, false, false, VK_RIGHT, 305, 200, 10, 10},
      {true, true, false, VK_DOWN, 305, 201, 10, 10},
      {false, true, false, VK_LEFT, 300, 201, 10, 10},
      {false, false, false, VK_UP, 300, 200, 10, 10},
      {true, false, true, VK_UP, 300, 200, 10, 10},  // not below 10 pixels
      {true, false, true, VK_RIGHT, 300, 200, 15, 10},
      {true, true, true, VK_DOWN, 300, 200, 15, 11},
  };
  int pushed = 0;
  for (const Case& c : cases) {
    m_designer.m_snap = c.snap;
    g_mouse.ctrl = c.ctrl;
    g_mouse.shift = c.shift;
    m_designer.SendMessage(WM_KEYDOWN, c.key, 0);
    EXPECT_EQ((std::vector<int>{c.x, c.y, c.w, c.h}), Box(last)) << c.key;
    EXPECT_EQ(++pushed, m_designer.GetUndoCount());
  }
  // The dialog record is never moved by the keys, but it can be sized.
  g_mouse.shift = false;
  m_designer.SetSelection(m_designer.m_dialog);
  m_designer.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(0, m_designer.m_dialog->m_left);
  g_mouse.shift = true;
  g_mouse.ctrl = false;
  m_designer.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(405, m_designer.m_dialog->m_width);
  ASSERT_TRUE(Load(Controls()));
  std::vector<std::string> seen;
  for (int i = 0; i < 5; ++i) {
    m_designer.SendMessage(WM_KEYDOWN, VK_TAB, 0);
    seen.push_back(Selected().at(0));
  }
  EXPECT_EQ((std::vector<std::string>{"A", "B", "L", "LAST", "A"}), seen);
}

namespace {

// Ends the tracked menu or the message box of the thread from a timer.
void CALLBACK EndModalUi(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  ::EndMenu();
  HWND box = ::FindWindowA("#32770", nullptr);
  if (box) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST_F(DesignerTest, AnArmedTypeOrExternalControlIsPlacedOnTheGridOnce) {
  ASSERT_TRUE(Load(Controls()));
  ASSERT_TRUE(m_designer.SetInsertType(SDialogDesigner::TYPE_BUTTON));
  Press(C(33, 147));
  ASSERT_EQ(5, m_designer.m_controls.GetCount());
  Ctrl* placed = m_designer.m_controls[4];
  EXPECT_TRUE(placed->m_left == 30 && placed->m_top == 145);
  EXPECT_STREQ("BUTTON1", placed->m_name.GetText());
  EXPECT_NE(nullptr, placed->m_window);
  EXPECT_EQ(-1, m_designer.m_insertType);
  EXPECT_EQ(m_designer.m_dialog, m_designer.GetPrimary());  // not selected
  EXPECT_EQ(1, m_designer.GetUndoCount());
  EXPECT_EQ(1, m_parent.changes);
  // Refused by the host: the snapshot goes and the type stays armed.
  m_designer.acceptAdd = false;
  m_designer.SetInsertType(SDialogDesigner::TYPE_BUTTON);
  Press(C(33, 200));
  EXPECT_EQ(5, m_designer.m_controls.GetCount());
  EXPECT_EQ(1, m_designer.GetUndoCount());
  EXPECT_EQ(SDialogDesigner::TYPE_BUTTON, m_designer.m_insertType);
  ASSERT_TRUE(Load(Controls()));
  m_designer.acceptAdd = true;
  // No external control registered: an error box, nothing placed.
  m_designer.SetInsertType(SDialogDesigner::TYPE_EXTERN);
  ::SetTimer(nullptr, 0, 100, EndModalUi);
  Press(C(33, 147));
  EXPECT_EQ(-1, m_designer.m_insertType);
  EXPECT_EQ(4, m_designer.m_controls.GetCount());
  // The menu opens at the click; its command places the control there.
  SMenu& menu = m_designer.m_externMenu;
  ASSERT_TRUE(menu.AddItem(SDialogDesigner::CMD_EXTERN, "Clock"));
  SMenu::GetItemRecord(menu.m_hMenu, 0)->dataText = "clock.ocx";
  m_designer.SetInsertType(SDialogDesigner::TYPE_EXTERN);
  ::SetTimer(nullptr, 0, 100, EndModalUi);
  Press(C(33, 147));
  m_designer.SendMessage(SWM_MENUCOMMAND, reinterpret_cast<WPARAM>(&menu),
                         SDialogDesigner::CMD_EXTERN);
  ASSERT_EQ(5, m_designer.m_controls.GetCount());
  placed = m_designer.m_controls[4];
  EXPECT_EQ(SDialogDesigner::TYPE_EXTERN, placed->m_type);
  EXPECT_TRUE(placed->m_left == 30 && placed->m_top == 145);
  EXPECT_EQ(SString("Clock"), SDialogDesigner::GetProperty(placed, "EXTERN_NAME"));
  EXPECT_EQ(SString("clock.ocx"), SDialogDesigner::GetProperty(placed, "EXTERN_FILENAME"));
  EXPECT_EQ(1, m_designer.GetUndoCount());
}
