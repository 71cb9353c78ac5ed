#include "core/Platform.h"
#include "core/SClipboard.h"
#include "tests/editors/GraphTestSupport.h"

#include "tests/support/GdiTestSupport.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace {

class GraphBoardTest : public GraphWindowTest {
protected:
  // Three boxes: a (outputs 2 and 4) linked to b (inputs 1 and 3), b's
  // output linked to c's input; odd names and flags on the way.
  void BuildChain() {
    m_a = AddTestBox(m_board, "a & <one>", 16, 24, {2, 4, 0});
    m_b = AddTestBox(m_board, "b \"quoted\"", 160, 24, {1, 3, 2});
    m_c = AddTestBox(m_board, "c", 320, 48, {1, 5});
    ASSERT_TRUE(PlugOf(m_a, 0)->Link(PlugOf(m_b, 0), false));
    ASSERT_TRUE(PlugOf(m_a, 1)->Link(PlugOf(m_b, 1), false));
    ASSERT_TRUE(PlugOf(m_b, 2)->Link(PlugOf(m_c, 0), false));
    PlugOf(m_c, 1)->m_visible = false;
    PlugOf(m_a, 0)->m_enabled = false;
    PlugOf(m_b, 2)->m_data = -7;
    m_b->m_expanded = false;
    m_b->m_data = 42;
    m_board->m_data = 5;
    m_board->m_originX = -3;
    m_board->m_originY = 11;
  }
  void SetClipboardText(const char* text) {
    SClipboard clipboard(m_ctrl->m_hWnd);
    ASSERT_TRUE(clipboard.SetText(text));
  }

  SGraphBox* m_a = nullptr;
  SGraphBox* m_b = nullptr;
  SGraphBox* m_c = nullptr;
};

TEST_F(GraphBoardTest, SavedGraphLoadsBackToTheSameXml) {
  BuildChain();
  std::string saved = SaveText(m_ctrl);
  ASSERT_TRUE(LoadText(m_ctrl, saved));
  EXPECT_EQ(saved, SaveText(m_ctrl));

  SGraphBoard* board = m_ctrl->m_board;
  ASSERT_EQ(3, board->m_boxes.GetCount());
  SGraphBox* b = board->m_boxes.GetAt(1);
  EXPECT_STREQ("b \"quoted\"", b->m_name.GetText());
  EXPECT_FALSE(b->m_expanded);
  EXPECT_EQ(42, b->m_data);
  EXPECT_EQ(160, b->m_x);
  EXPECT_EQ(-3, board->m_originX);
  EXPECT_EQ(12, board->m_nextId);
  EXPECT_FALSE(board->m_boxes.GetAt(2)->m_plugs.GetAt(1)->m_visible);
  EXPECT_FALSE(board->m_boxes.GetAt(0)->m_plugs.GetAt(0)->m_enabled);
  SGraphPlug* output = board->FindPlug(PlugOf(board->m_boxes.GetAt(1), 2)->m_id);
  ASSERT_EQ(1, output->m_outgoing.GetCount());
  EXPECT_EQ(board->m_boxes.GetAt(2), output->m_outgoing.GetAt(0)->m_box);
  // Each link once, at its source.
  EXPECT_EQ(3, CountOf(saved, "<trg "));
  EXPECT_EQ(0, CountOf(saved, "<src "));
}

struct LoadCase {
  const char* what;
  const char* body;  // inside <xml>...</xml>
  bool loads;
  int boxes;
  int links;
  int nextId;
};

const LoadCase kLoadCases[] = {
    {"graph without board", "<graph><box><box id=\"1\"/></box></graph>", false, 0, 0, 0},
    {"board without boxes", "<graph><board nextid=\"17\" data=\"3\"/></graph>", true, 0, 0, 17},
    {"no graph element", "<other/>", false, 0, 0, 0},
    {"trg naming no plug",
     "<graph><board nextid=\"3\"/><box><box id=\"1\"/><plug><plug id=\"2\" type=\"2\"/>"
     "<trg id=\"9\"/></plug></box></graph>",
     false, 0, 0, 0},
    {"trg from an output to an output loads without the link",
     "<graph><board nextid=\"5\"/><box><box id=\"1\"/><plug><plug id=\"2\" type=\"2\"/>"
     "<trg id=\"4\"/></plug></box><box><box id=\"3\"/><plug><plug id=\"4\" type=\"4\"/></plug>"
     "</box></graph>",
     true, 2, 0, 5},
    {"forward reference to a later box",
     "<graph><board nextid=\"5\"/><box><box id=\"1\"/><plug><plug id=\"2\" type=\"2\"/>"
     "<trg id=\"4\"/></plug></box><box><box id=\"3\"/><plug><plug id=\"4\" type=\"1\"/></plug>"
     "</box></graph>",
     true, 2, 1, 5},
    {"duplicate box id",
     "<graph><board nextid=\"5\"/><box><box id=\"1\"/></box><box><box id=\"1\"/></box></graph>",
     false, 0, 0, 0},
    {"plug id repeating a box id",
     "<graph><board nextid=\"5\"/><box><box id=\"1\"/><plug><plug id=\"1\"/></plug></box>"
     "</graph>",
     false, 0, 0, 0},
    {"box without id", "<graph><board/><box><box name=\"x\"/></box></graph>", false, 0, 0, 0},
    {"negative id", "<graph><board/><box><box id=\"-4\"/></box></graph>", false, 0, 0, 0},
    {"huge id", "<graph><board/><box><box id=\"99999999999\"/></box></graph>", false, 0, 0, 0},
    {"next id below the ids is raised",
     "<graph><board nextid=\"2\"/><box><box id=\"7\"/><plug><plug id=\"30\"/></plug></box>"
     "</graph>",
     true, 1, 0, 31},
    {"wrapper without inner box", "<graph><board/><box><plug><plug id=\"2\"/></plug></box></graph>",
     false, 0, 0, 0},
    {"plug wrapper without inner plug",
     "<graph><board/><box><box id=\"1\"/><plug><trg id=\"1\"/></plug></box></graph>", false, 0, 0,
     0},
    {"box type the factory does not know",
     "<graph><board/><box><box id=\"1\" type=\"5\"/></box></graph>", false, 0, 0, 0},
};

TEST_F(GraphBoardTest, LoadingRefusesBadIdsAndLinksAndKeepsTheCounterAboveEveryId) {
  for (const LoadCase& c : kLoadCases) {
    SCOPED_TRACE(c.what);
    std::string text = std::string("<xml>") + c.body + "</xml>";
    EXPECT_EQ(c.loads, LoadText(m_ctrl, text));
    SGraphBoard* board = m_ctrl->m_board;
    if (!c.loads) {
      EXPECT_EQ(nullptr, board);
      continue;
    }
    ASSERT_NE(nullptr, board);
    EXPECT_EQ(c.boxes, board->m_boxes.GetCount());
    int links = 0;
    for (int i = 0; i < board->m_boxes.GetCount(); ++i) {
      SGraphBox* box = board->m_boxes.GetAt(i);
      for (int j = 0; j < box->m_plugs.GetCount(); ++j) {
        links += box->m_plugs.GetAt(j)->m_outgoing.GetCount();
      }
    }
    EXPECT_EQ(c.links, links);
    EXPECT_EQ(c.nextId, board->m_nextId);
  }
  EXPECT_FALSE(LoadText(m_ctrl, "not xml at all"));
  // Positions far outside any screen are kept within bounds.
  ASSERT_TRUE(LoadText(m_ctrl,
                       "<xml><graph><board x=\"-99999999999\"/><box><box id=\"1\" "
                       "x=\"99999999999\"/></box></graph></xml>"));
  EXPECT_EQ(1 << 28, m_ctrl->m_board->m_boxes.GetAt(0)->m_x);
  EXPECT_EQ(-(1 << 28), m_ctrl->m_board->m_originX);
}

TEST_F(GraphBoardTest, LinksRunFromOutputsToAnythingButOutputsOnce) {
  struct Case {
    int source, target;
    bool links;
  };
  const Case cases[] = {{2, 1, true},  {4, 3, true},  {2, 0, true},  {4, 5, true}, {2, 2, false},
                        {2, 4, false}, {1, 1, false}, {3, 2, false}, {0, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.source << " to " << c.target);
    SGraphBox* box = AddTestBox(m_board, "x", 0, 0, {c.source, c.target});
    SGraphPlug* source = PlugOf(box, 0);
    SGraphPlug* target = PlugOf(box, 1);
    EXPECT_EQ(c.links, source->Link(target, false));
    EXPECT_FALSE(source->Link(target, false));
    EXPECT_EQ(c.links ? 1 : 0, target->m_incoming.GetCount());
    EXPECT_FALSE(source->Link(nullptr, false));
  }
  SGraphBox* box = AddTestBox(m_board, "y", 0, 0, {2, 1});
  ASSERT_TRUE(PlugOf(box, 0)->Link(PlugOf(box, 1), false));
  EXPECT_FALSE(PlugOf(box, 1)->SetVisible(false, true));
  EXPECT_TRUE(PlugOf(box, 1)->m_visible);
  EXPECT_TRUE(PlugOf(box, 1)->SetVisible(false, false));
  EXPECT_FALSE(PlugOf(box, 1)->m_visible);
  EXPECT_TRUE(PlugOf(box, 0)->Unlink(PlugOf(box, 1)));
  EXPECT_FALSE(PlugOf(box, 0)->Unlink(PlugOf(box, 1)));
  EXPECT_EQ(0, PlugOf(box, 1)->m_incoming.GetCount());
}

TEST_F(GraphBoardTest, PasteGivesFreshIdsAndKeepsOnlyLinksInsideTheCopy) {
  BuildChain();
  SArray<SGraphBox*> copied;
  copied.Add(m_a);
  copied.Add(m_b);
  m_board->SetSelection(copied, m_a, false);
  ASSERT_TRUE(m_board->Copy());
  m_board->ClearSelection(false);
  int first = m_board->m_nextId;

  ASSERT_TRUE(m_board->Paste(nullptr));
  ASSERT_EQ(5, m_board->m_boxes.GetCount());
  SGraphBox* a2 = m_board->m_boxes.GetAt(3);
  SGraphBox* b2 = m_board->m_boxes.GetAt(4);
  // Boxes before their plugs, from the board's counter.
  EXPECT_EQ(first, a2->m_id);
  EXPECT_EQ(first + 1, PlugOf(a2, 0)->m_id);
  EXPECT_EQ(first + 4, b2->m_id);
  EXPECT_EQ(first + 8, m_board->m_nextId);
  EXPECT_TRUE(PlugOf(a2, 0)->IsLinkedTo(PlugOf(b2, 0)));
  EXPECT_TRUE(PlugOf(a2, 1)->IsLinkedTo(PlugOf(b2, 1)));
  EXPECT_EQ(0, PlugOf(b2, 2)->m_outgoing.GetCount());
  // Nothing selected before and no button down: where they were copied from.
  EXPECT_EQ(m_a->m_x, a2->m_x);
  EXPECT_EQ(m_b->m_y, b2->m_y);
  EXPECT_EQ(2, m_board->m_selection.GetCount());
  EXPECT_EQ(a2, m_board->m_current);

  // With a current box the copy lands four grid steps right of and below it.
  ASSERT_TRUE(m_board->Paste(nullptr));
  EXPECT_EQ(a2->m_x + 32, m_board->m_boxes.GetAt(5)->m_x);
  EXPECT_EQ(a2->m_y + 32, m_board->m_boxes.GetAt(5)->m_y);
  POINT at = {200, 300};
  ASSERT_TRUE(m_board->Paste(&at));
  EXPECT_EQ(200, m_board->m_boxes.GetAt(7)->m_rect.left);
  EXPECT_EQ(300, m_board->m_boxes.GetAt(7)->m_rect.top);
}

TEST_F(GraphBoardTest, PasteWithTheButtonDownLandsUnderThePointerInClientCoordinates) {
  ::SetWindowPos(m_parent.m_hWnd, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SGraphBox* box = AddTestBox(m_board, "", 16, 16, {});
  m_board->SelectOnly(box, false);
  ASSERT_TRUE(m_board->Copy());
  m_board->m_originX = 10;
  POINT screen = {300, 200};
  ::ClientToScreen(m_ctrl->m_hWnd, &screen);
  ::SetCursorPos(screen.x, screen.y);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  ::SendInput(1, &input, sizeof(input));
  bool down = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
  bool pasted = m_board->Paste(nullptr);
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &input, sizeof(input));
  if (!down) GTEST_SKIP() << "the injected button press is not seen here";
  ASSERT_TRUE(pasted);
  EXPECT_EQ(290, m_board->m_boxes.GetLast()->m_x);
  EXPECT_EQ(200, m_board->m_boxes.GetLast()->m_y);
}

TEST_F(GraphBoardTest, PasteRefusesForeignOrBrokenClipboardTextAndChangesNothing) {
  BuildChain();
  const char* texts[] = {
      "<clipboard signature=\"OTHER\"><box><box id=\"1\"/></box></clipboard>",
      "<clipboard signature=\"graph\"><box><box id=\"1\"/></box></clipboard>",
      "<clipboard><box><box id=\"1\"/></box></clipboard>",
      "<clipboard signature=\"GRAPH\"><box><box id=\"1\"/><plug><plug id=\"2\" type=\"2\"/>"
      "<trg id=\"77\"/></plug></box></clipboard>",
      "<clipboard signature=\"GRAPH\"><box><box",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    SetClipboardText(text);
    int next = m_board->m_nextId;
    EXPECT_FALSE(m_board->Paste(nullptr));
    EXPECT_EQ(3, m_board->m_boxes.GetCount());
    EXPECT_EQ(next, m_board->m_nextId);
  }
  SetClipboardText("<clipboard signature=\"GRAPH\"><box><box id=\"1\"/></box></clipboard>");
  EXPECT_TRUE(m_board->Paste(nullptr));
  EXPECT_EQ(4, m_board->m_boxes.GetCount());
}

TEST_F(GraphBoardTest, CyclesInTreeModeAreArrangedPaintedAndHitTestedInBoundedTime) {
  m_ctrl->m_flags |= SGraphCtrl::FLAG_TREE;
  SGraphBox* a = AddTestBox(m_board, "a", 0, 0, {1, 2});
  SGraphBox* b = AddTestBox(m_board, "b", 100, 0, {1, 2});
  SGraphBox* c = AddTestBox(m_board, "c", 200, 0, {1, 2});
  ASSERT_TRUE(PlugOf(a, 1)->Link(PlugOf(b, 0), false));
  ASSERT_TRUE(PlugOf(b, 1)->Link(PlugOf(c, 0), false));
  ASSERT_TRUE(PlugOf(c, 1)->Link(PlugOf(a, 0), false));
  ASSERT_TRUE(PlugOf(b, 1)->Link(PlugOf(a, 0), false));
  a->Expand(false, true, true, true);
  EXPECT_FALSE(c->m_expanded);
  EXPECT_TRUE(a->IsHidden());
  b->m_expanded = true;
  m_board->ArrangeTree(nullptr, true, false);
  m_board->ArrangeTree(c, true, false);
  Dib32 canvas(600, 400);
  ::SendMessageA(m_ctrl->m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()),
                 PRF_CLIENT);
  SGraphHit hit;
  m_ctrl->HitTest(5, 5, &hit);
  std::string saved = SaveText(m_ctrl);
  ASSERT_TRUE(LoadText(m_ctrl, saved));
  EXPECT_EQ(saved, SaveText(m_ctrl));
}

// A graph of boxes, plugs and links as text: the seed of the mutations.
std::string SampleGraph() {
  SGraphCtrl ctrl;
  ctrl.m_board = ctrl.CreateBoard();
  SGraphBox* boxes[6];
  for (int i = 0; i < 6; ++i) {
    boxes[i] = AddTestBox(ctrl.m_board, "box", i * 90, (i % 3) * 70, {1, 2, 3, 4});
  }
  for (int i = 0; i < 5; ++i) {
    PlugOf(boxes[i], 1)->Link(PlugOf(boxes[i + 1], 0), false);
    PlugOf(boxes[i], 3)->Link(PlugOf(boxes[(i + 2) % 6], 2), false);
  }
  PlugOf(boxes[5], 1)->Link(PlugOf(boxes[0], 0), false);
  return SaveText(&ctrl);
}

TEST_F(GraphBoardTest, MutatedGraphFilesLoadOrFailWithoutHarm) {
  std::string seed = SampleGraph();
  ASSERT_TRUE(LoadText(m_ctrl, seed));
  const char alphabet[] = "<>/\"= 0123456789-boxplugtrgsrcidnextgraph";
  uint32_t state = 20261207;
  auto next = [&state]() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  Dib32 canvas(600, 400);
  int loaded = 0;
  m_ctrl->m_flags |= SGraphCtrl::FLAG_TREE;
  for (int round = 0; round < 3000; ++round) {
    std::string text = seed;
    int edits = 1 + next() % 6;
    for (int e = 0; e < edits && !text.empty(); ++e) {
      size_t at = next() % text.size();
      switch (next() % 4) {
        case 0:
          text[at] = alphabet[next() % (sizeof(alphabet) - 1)];
          break;
        case 1:
          text.erase(at, 1 + next() % 40);
          break;
        case 2:
          text.insert(at, text.substr(next() % text.size(), 1 + next() % 60));
          break;
        case 3:
          text[at] = char(next());
          break;
      }
    }
    // Text that does not parse leaves the graph as it was; a graph that does
    // not load leaves none.
    if (!LoadText(m_ctrl, text)) continue;
    ++loaded;
    SGraphBoard* board = m_ctrl->m_board;
    board->ArrangeTree(nullptr, true, false);
    m_ctrl->Paint(canvas.GetDC(), RECT{0, 0, 600, 400});
    board->SetSelection(board->m_boxes, nullptr, true);
    board->DeleteSelection();
    m_ctrl->UndoStep();
    std::string saved = SaveText(m_ctrl);
    ASSERT_TRUE(LoadText(m_ctrl, saved));
    ASSERT_EQ(saved, SaveText(m_ctrl));
  }
  EXPECT_GT(loaded, 100);
}

}  // namespace
