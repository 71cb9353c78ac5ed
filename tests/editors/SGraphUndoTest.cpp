#include "core/Platform.h"
#include "tests/editors/GraphTestSupport.h"

namespace {

class GraphUndoTest : public GraphWindowTest {
public:
  void SetUp() override {
    GraphWindowTest::SetUp();
    m_a = AddTestBox(m_board, "a", 16, 16, {2});
    m_b = AddTestBox(m_board, "b", 160, 16, {1, 2});
    m_c = AddTestBox(m_board, "c", 320, 16, {1});
    ASSERT_TRUE(PlugOf(m_a, 0)->Link(PlugOf(m_b, 0), false));
    ASSERT_TRUE(PlugOf(m_b, 1)->Link(PlugOf(m_c, 0), false));
  }
  int Records() { return m_ctrl->GetUndoIndex() + 1; }

  SGraphBox* m_a = nullptr;
  SGraphBox* m_b = nullptr;
  SGraphBox* m_c = nullptr;
};

TEST_F(GraphUndoTest, TheStackKeepsTheLast128StepsAndDropsTheRedoTailOnANewEdit) {
  SGraphBox* boxes[2] = {m_a, m_b};
  for (int i = 0; i < 129; ++i) m_board->SelectOnly(boxes[i % 2]);
  EXPECT_EQ(128, Records());
  EXPECT_EQ(m_a, m_board->m_current);
  for (int i = 0; i < 128; ++i) ASSERT_TRUE(m_ctrl->UndoStep()) << i;
  EXPECT_FALSE(m_ctrl->UndoStep());
  // The oldest record (nothing selected before the first step) was dropped.
  EXPECT_EQ(m_a, m_board->m_current);
  EXPECT_EQ(1, m_board->m_selection.GetCount());

  ASSERT_TRUE(m_ctrl->RedoStep());
  ASSERT_TRUE(m_ctrl->RedoStep());
  m_board->SelectOnly(m_c);
  EXPECT_EQ(3, Records());
  EXPECT_FALSE(m_ctrl->RedoStep());
  EXPECT_EQ(m_c, m_board->m_current);
}

TEST_F(GraphUndoTest, UndoingADeletionRestoresLinksInBothDirectionsAndRedoDeletesAgain) {
  int id = m_b->m_id;
  m_board->SelectOnly(m_b);
  Key(VK_DELETE);
  ASSERT_EQ(2, m_board->m_boxes.GetCount());
  EXPECT_EQ(0, PlugOf(m_a, 0)->m_outgoing.GetCount());
  EXPECT_EQ(0, m_board->m_selection.GetCount());

  Key('Z', true);
  ASSERT_EQ(3, m_board->m_boxes.GetCount());
  SGraphBox* b = m_board->FindBox(id);
  ASSERT_NE(nullptr, b);
  EXPECT_STREQ("b", b->m_name.GetText());
  EXPECT_TRUE(PlugOf(m_a, 0)->IsLinkedTo(PlugOf(b, 0)));
  EXPECT_TRUE(PlugOf(b, 1)->IsLinkedTo(PlugOf(m_c, 0)));
  EXPECT_EQ(b, m_board->m_current);

  Key('Y', true);
  EXPECT_EQ(2, m_board->m_boxes.GetCount());
  EXPECT_EQ(0, m_board->m_selection.GetCount());
  EXPECT_EQ(0, PlugOf(m_c, 0)->m_incoming.GetCount());
}

TEST_F(GraphUndoTest, UndoingAPasteRemovesTheBoxesAndRedoBringsThemBackWithTheirIds) {
  m_board->SelectOnly(m_a);
  Key('A', true);
  Key('C', true);
  m_board->SelectOnly(m_c);
  Key('V', true);
  ASSERT_EQ(6, m_board->m_boxes.GetCount());
  int pastedId = m_board->m_boxes.GetAt(3)->m_id;
  Key('Z', true);
  EXPECT_EQ(3, m_board->m_boxes.GetCount());
  EXPECT_EQ(m_c, m_board->m_current);
  EXPECT_EQ(1, m_board->m_selection.GetCount());
  Key('Y', true);
  ASSERT_EQ(6, m_board->m_boxes.GetCount());
  SGraphBox* pasted = m_board->m_boxes.GetAt(3);
  EXPECT_EQ(pastedId, pasted->m_id);
  EXPECT_TRUE(PlugOf(pasted, 0)->IsLinkedTo(PlugOf(m_board->m_boxes.GetAt(4), 0)));
  EXPECT_EQ(pasted, m_board->m_current);
}

TEST_F(GraphUndoTest, EveryRecordedMenuEditIsUndoneAndRedone) {
  m_ctrl->m_flags |= SGraphCtrl::FLAG_ENABLE;
  SGraphPlug* output = PlugOf(m_b, 1);
  SGraphPlug* input = PlugOf(m_c, 0);
  struct Case {
    const char* what;
    void (*act)(GraphUndoTest* t);
    bool (*changed)(GraphUndoTest* t);
  };
  const Case cases[] = {
      {"plug break",
       [](GraphUndoTest* t) {
         t->m_ctrl->m_menuPlugId = PlugOf(t->m_b, 1)->m_id;
         t->Command(SGraphCtrl::MENU_PLUG, SGraphCtrl::CMD_PLUG_BREAK);
       },
       [](GraphUndoTest* t) { return PlugOf(t->m_c, 0)->m_incoming.GetCount() == 0; }},
      {"plug disable",
       [](GraphUndoTest* t) {
         t->m_ctrl->m_menuPlugId = PlugOf(t->m_b, 1)->m_id;
         t->Command(SGraphCtrl::MENU_PLUG, SGraphCtrl::CMD_PLUG_DISABLE);
       },
       [](GraphUndoTest* t) { return !PlugOf(t->m_b, 1)->m_enabled; }},
      {"box break",
       [](GraphUndoTest* t) {
         t->m_board->SelectOnly(t->m_b);
         t->Command(SGraphCtrl::MENU_BOX, SGraphCtrl::CMD_BOX_BREAK);
       },
       [](GraphUndoTest* t) {
         return PlugOf(t->m_a, 0)->m_outgoing.GetCount() == 0 &&
                PlugOf(t->m_c, 0)->m_incoming.GetCount() == 0;
       }},
      {"hide unused",
       [](GraphUndoTest* t) {
         t->m_board->SelectOnly(t->m_c);
         PlugOf(t->m_b, 1)->Unlink(PlugOf(t->m_c, 0));
         t->Command(SGraphCtrl::MENU_BOX, SGraphCtrl::CMD_BOX_HIDE_UNUSED);
       },
       [](GraphUndoTest* t) { return !PlugOf(t->m_c, 0)->m_visible; }},
      {"link delete",
       [](GraphUndoTest* t) {
         t->m_ctrl->m_menuLinkSourceId = PlugOf(t->m_a, 0)->m_id;
         t->m_ctrl->m_menuLinkTargetId = PlugOf(t->m_b, 0)->m_id;
         t->Command(SGraphCtrl::MENU_LINK, SGraphCtrl::CMD_LINK_DELETE);
       },
       [](GraphUndoTest* t) { return PlugOf(t->m_a, 0)->m_outgoing.GetCount() == 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(PlugOf(m_a, 0)->IsLinkedTo(PlugOf(m_b, 0)) ||
                PlugOf(m_a, 0)->Link(PlugOf(m_b, 0), false));
    output->Link(input, false);
    input->m_visible = true;
    int before = Records();
    c.act(this);
    ASSERT_TRUE(c.changed(this));
    EXPECT_GT(Records(), before);
    ASSERT_TRUE(m_ctrl->UndoStep());
    while (Records() > before) ASSERT_TRUE(m_ctrl->UndoStep());
    EXPECT_FALSE(c.changed(this));
    ASSERT_TRUE(m_ctrl->RedoStep());
    while (m_ctrl->GetUndoRecord(Records())) ASSERT_TRUE(m_ctrl->RedoStep());
    EXPECT_TRUE(c.changed(this));
    while (Records() > before) m_ctrl->UndoStep();
    output->m_enabled = true;
  }
}

TEST_F(GraphUndoTest, InTreeModeOneUndoTakesBackAMoveTogetherWithItsArrangement) {
  m_ctrl->m_flags |= SGraphCtrl::FLAG_TREE;
  m_board->ArrangeTree(nullptr, false, false);
  POINT oldA = {m_a->m_x, m_a->m_y};
  POINT oldC = {m_c->m_x, m_c->m_y};
  POINT from = BodyOf(m_a);
  Drag(from, {{from.x + 40, from.y + 60}});
  EXPECT_EQ(oldA.x + 40, m_a->m_x);
  EXPECT_EQ(oldA.y + 56, m_a->m_y);
  // The children followed their root.
  EXPECT_EQ(m_a->m_y, m_b->m_y);
  ASSERT_TRUE(m_ctrl->GetUndoRecord(m_ctrl->GetUndoIndex())->m_chained);
  Key('Z', true);
  EXPECT_EQ(oldA.x, m_a->m_x);
  EXPECT_EQ(oldC.y, m_c->m_y);
  EXPECT_EQ(oldC.x, m_c->m_x);
  Key('Y', true);
  EXPECT_EQ(oldA.y + 56, m_a->m_y);
  EXPECT_EQ(m_a->m_y, m_c->m_y);

  // The expand button in the title collapses the tree below the box.
  POINT button = {m_a->m_inner.right - 4 + m_board->m_originX, m_a->m_rect.top + 4};
  Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(button.x, button.y));
  Send(WM_LBUTTONUP, 0, Point(button.x, button.y));
  EXPECT_FALSE(m_a->m_expanded);
  EXPECT_TRUE(m_c->IsHidden());
  SGraphHit hit;
  m_ctrl->HitTest(BodyOf(m_b).x, BodyOf(m_b).y, &hit);
  EXPECT_EQ(SGraphHit::NONE, hit.kind);
  Key('Z', true);
  EXPECT_TRUE(m_a->m_expanded);
  EXPECT_FALSE(m_c->IsHidden());
}

TEST_F(GraphUndoTest, WithRecordingOffNothingIsRecordedAndUndoDoesNothing) {
  m_ctrl->m_flags &= ~SGraphCtrl::FLAG_UNDO;
  m_board->SelectOnly(m_b);
  Key(VK_DELETE);
  EXPECT_EQ(0, Records());
  EXPECT_FALSE(m_ctrl->UndoStep());
  EXPECT_EQ(2, m_board->m_boxes.GetCount());
}

}  // namespace

// An application's board that keeps boxes named "keep" and allows no links
// into plugs named "closed".
class GuardedBoard : public SGraphBoard {
public:
  explicit GuardedBoard(SGraphCtrl* control) : SGraphBoard(control) {}
  bool CanDestroyBox(SGraphBox* box) override { return !(box->m_name == "keep"); }
  bool CanLink(SGraphPlug*, SGraphPlug* target) override { return !(target->m_name == "closed"); }
};

class GuardedCtrl : public SGraphCtrl {
public:
  SGraphBoard* CreateBoard() override { return new GuardedBoard(this); }
};

TEST(GraphHooksTest, RefusedDeletionsAndLinksLeaveTheGraphAndItsUndoExact) {
  SWnd parent;
  RECT rect = {0, 0, 400, 300};
  ASSERT_TRUE(parent.Create("hooks", WS_POPUP | WS_VISIBLE, 0, &rect));
  GuardedCtrl ctrl;
  ASSERT_TRUE(ctrl.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd, nullptr));
  ASSERT_TRUE(LoadText(&ctrl, "<xml><graph><board/></graph></xml>"));
  SGraphBoard* board = ctrl.m_board;
  SGraphBox* keep = AddTestBox(board, "keep", 16, 16, {2});
  SGraphBox* go = AddTestBox(board, "go", 160, 16, {1, 1});
  PlugOf(go, 1)->m_name = "closed";
  ASSERT_TRUE(PlugOf(keep, 0)->Link(PlugOf(go, 0), false));

  SGraphPlug* closed = PlugOf(go, 1);
  RECT from = PlugOf(keep, 0)->GetSquare(), to = closed->GetSquare();
  ::SendMessageA(ctrl.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(from.left + 5, from.top + 5));
  ::SendMessageA(ctrl.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, Point(to.left + 5, to.top + 5));
  EXPECT_EQ(nullptr, ctrl.m_linkCandidate);
  ::SendMessageA(ctrl.m_hWnd, WM_LBUTTONUP, 0, Point(to.left + 5, to.top + 5));
  EXPECT_EQ(0, closed->m_incoming.GetCount());

  board->SetSelection(board->m_boxes, nullptr, false);
  ::SendMessageA(ctrl.m_hWnd, WM_KEYDOWN, VK_DELETE, 0);
  ASSERT_EQ(1, board->m_boxes.GetCount());
  EXPECT_EQ(keep, board->m_boxes.GetAt(0));
  // The record holds only the box that went: its undo brings it back.
  ASSERT_TRUE(ctrl.UndoStep());
  ASSERT_EQ(2, board->m_boxes.GetCount());
  EXPECT_TRUE(PlugOf(keep, 0)->IsLinkedTo(PlugOf(board->m_boxes.GetAt(1), 0)));
}
