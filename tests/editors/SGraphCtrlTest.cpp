#include "core/Platform.h"
#include "core/SResource.h"
#include "editors/EditorControls.h"
#include "tests/editors/GraphTestSupport.h"
#include "window/ControlFactory.h"
#include "window/SWndApp.h"

#include "tests/support/GdiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace {

// Closes the popup menu that is showing (a timer procedure, run by the
// menu's own loop).
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::EndMenu();
}

class GraphCtrlTest : public GraphWindowTest {
protected:
  uint32_t PixelAt(int x, int y) {
    m_canvas.Fill(0xFF00FF);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_canvas.GetDC()), PRF_CLIENT);
    return m_canvas.Rgb(x, y);
  }
  Dib32 m_canvas{600, 400};
};

TEST_F(GraphCtrlTest, ANewBoxMeasures50By46AndMovesOnlyPastFourPixelsOntoTheGrid) {
  SGraphBox* plain = AddTestBox(m_board, "", 24, 32, {});
  const RECT& r = plain->m_rect;
  EXPECT_EQ((std::vector<LONG>{24, 32, 50, 46}),
            (std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}));
  EXPECT_EQ(16, plain->m_inner.top - plain->m_rect.top);

  SGraphBox* named = AddTestBox(m_board, "a rather long box name", 0, 0, {});
  EXPECT_GT(named->m_rect.right - named->m_rect.left, 50);

  SGraphBox* plugs = AddTestBox(m_board, "", 100, 100, {1, 2, 3});
  // Left and right squares stick out of the body, the bottom row below it.
  EXPECT_EQ(100, plugs->m_rect.left);
  EXPECT_EQ(plugs->m_inner.left - 10, plugs->m_rect.left);
  EXPECT_EQ(plugs->m_inner.right + 10, plugs->m_rect.right);
  EXPECT_EQ(plugs->m_inner.bottom + 10, plugs->m_rect.bottom);
  RECT right = PlugOf(plugs, 1)->GetSquare();
  EXPECT_EQ(plugs->m_inner.right, right.left);
  POINT anchor = PlugOf(plugs, 2)->GetAnchor();
  EXPECT_EQ(plugs->m_rect.bottom, anchor.y);
  struct Case {
    int dx, dy;
    int x, y;  // where the box at 40, 40 lands
  };
  const Case cases[] = {{4, -4, 40, 40},  {0, 4, 40, 40},    {5, 0, 40, 40},  {6, 9, 40, 48},
                        {-27, -43, 8, 0}, {-53, -43, -8, 0}, {13, 17, 48, 56}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy);
    SGraphBox* box = AddTestBox(m_board, "", 40, 40, {});
    POINT from = BodyOf(box);
    Drag(from, {{from.x + c.dx, from.y + c.dy}});
    EXPECT_TRUE(box->m_x == c.x && box->m_y == c.y) << box->m_x << ", " << box->m_y;
    EXPECT_EQ(SGraphCtrl::DRAG_NONE, m_ctrl->m_dragMode);
    m_board->DeleteBox(box);
  }
}

TEST_F(GraphCtrlTest, TheRubberBandAndLinkDrags) {
  SGraphBox* inside = AddTestBox(m_board, "", 40, 40, {});
  SGraphBox* partly = AddTestBox(m_board, "", 120, 40, {});
  Drag({30, 30}, {{100, 100}, {140, 110}});
  EXPECT_TRUE(m_board->IsSelected(inside));
  EXPECT_FALSE(m_board->IsSelected(partly));
  EXPECT_EQ(inside, m_board->m_current);
  // A click on empty space clears the selection; with Ctrl it does not.
  Drag({500, 300}, {}, MK_CONTROL);
  EXPECT_TRUE(m_board->IsSelected(inside));
  Drag({500, 300}, {});
  EXPECT_EQ(0, m_board->m_selection.GetCount());
  Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, Point(BodyOf(partly).x, BodyOf(partly).y));
  Send(WM_LBUTTONUP, MK_CONTROL, Point(BodyOf(partly).x, BodyOf(partly).y));
  EXPECT_TRUE(m_board->IsSelected(partly));
  SGraphBox* a = AddTestBox(m_board, "", 40, 40, {1, 2});
  SGraphBox* b = AddTestBox(m_board, "", 200, 40, {1, 2});
  // From b's input to a's output: the link runs a -> b.
  Drag(SquareOf(PlugOf(b, 0)), {{150, 100}, SquareOf(PlugOf(a, 1))});
  EXPECT_TRUE(PlugOf(a, 1)->IsLinkedTo(PlugOf(b, 0)));
  EXPECT_EQ(1, m_ctrl->GetUndoRecord(m_ctrl->GetUndoIndex())->Kind() == SGraphUndo::KIND_LINK);
  // Onto a plug of the same direction, or one already linked: nothing.
  Drag(SquareOf(PlugOf(a, 1)), {{150, 100}, SquareOf(PlugOf(b, 1))});
  Drag(SquareOf(PlugOf(a, 1)), {{150, 100}, SquareOf(PlugOf(b, 0))});
  Drag(SquareOf(PlugOf(a, 0)), {{150, 100}, SquareOf(PlugOf(b, 0))});
  EXPECT_EQ(1, PlugOf(a, 1)->m_outgoing.GetCount());
  EXPECT_EQ(0, PlugOf(b, 1)->m_outgoing.GetCount());
  EXPECT_EQ(0, PlugOf(a, 0)->m_incoming.GetCount());
  Drag(SquareOf(PlugOf(b, 1)), {{150, 100}, SquareOf(PlugOf(a, 0))});
  EXPECT_TRUE(PlugOf(b, 1)->IsLinkedTo(PlugOf(a, 0)));
}

TEST_F(GraphCtrlTest, ShiftPansTheViewAndAnOutsidePointerScrollsItEveryTick) {
  SGraphBox* box = AddTestBox(m_board, "", 40, 40, {});
  Drag({300, 300}, {{310, 280}, {320, 290}}, MK_SHIFT);
  EXPECT_EQ(20, m_board->m_originX);
  EXPECT_EQ(-10, m_board->m_originY);
  EXPECT_EQ(0, m_board->m_selection.GetCount());

  // A rubber band held left of and below the window.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(300, 300));
  Send(WM_MOUSEMOVE, MK_LBUTTON, Point(-5, 450));
  Send(WM_TIMER, SGraphCtrl::TIMER_EDGE, 0);
  Send(WM_TIMER, SGraphCtrl::TIMER_EDGE, 0);
  EXPECT_EQ(40, m_board->m_originX);
  EXPECT_EQ(-30, m_board->m_originY);
  // The band's corner stays under the pointer.
  EXPECT_EQ(-5 - 40, m_ctrl->m_bandEnd.x);
  Send(WM_LBUTTONUP, 0, Point(-5, 450));

  // A moved box stays under the pointer while the view scrolls.
  POINT from = BodyOf(box);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(from.x, from.y));
  Send(WM_MOUSEMOVE, MK_LBUTTON, Point(from.x, 420));
  int y = box->m_y;
  Send(WM_TIMER, SGraphCtrl::TIMER_EDGE, 0);
  EXPECT_EQ(y + 10, box->m_y);
  Send(SWM_CAPTURECANCEL, 1, 0);
  EXPECT_EQ(SGraphCtrl::DRAG_NONE, m_ctrl->m_dragMode);
}

TEST_F(GraphCtrlTest, TheRightButtonPicksTheMenuAndGreysWhatCannotBeDone) {
  m_ctrl->m_flags |= SGraphCtrl::FLAG_ENABLE;
  SGraphBox* a = AddTestBox(m_board, "", 40, 40, {1, 2});
  SGraphBox* b = AddTestBox(m_board, "", 200, 40, {1});
  PlugOf(a, 1)->Link(PlugOf(b, 0), false);
  // Marked as showing, the menus are prepared without being opened.
  m_ctrl->m_menuShown = true;
  auto greyed = [this](int id) {
    UINT state = ::GetMenuState(m_ctrl->GetMenu(SGraphCtrl::MENU_PLUG)->m_hMenu, id, MF_BYCOMMAND);
    return (state & MF_GRAYED) != 0;
  };
  POINT output = SquareOf(PlugOf(a, 1));
  Send(WM_RBUTTONDOWN, MK_RBUTTON, Point(output.x, output.y));
  Send(WM_RBUTTONUP, 0, Point(output.x, output.y));
  EXPECT_EQ(PlugOf(a, 1)->m_id, m_ctrl->m_menuPlugId);
  EXPECT_TRUE(greyed(SGraphCtrl::CMD_PLUG_ENABLE));
  EXPECT_FALSE(greyed(SGraphCtrl::CMD_PLUG_DISABLE));
  EXPECT_TRUE(greyed(SGraphCtrl::CMD_PLUG_HIDE));
  POINT input = SquareOf(PlugOf(a, 0));
  Send(WM_RBUTTONUP, 0, Point(input.x, input.y));
  EXPECT_TRUE(greyed(SGraphCtrl::CMD_PLUG_DISABLE));
  EXPECT_FALSE(greyed(SGraphCtrl::CMD_PLUG_HIDE));
  Command(SGraphCtrl::MENU_PLUG, SGraphCtrl::CMD_PLUG_HIDE);
  EXPECT_FALSE(PlugOf(a, 0)->m_visible);

  // Right button on an unselected box selects it; Delete from its menu.
  Send(WM_RBUTTONDOWN, MK_RBUTTON, Point(BodyOf(b).x, BodyOf(b).y));
  EXPECT_EQ(b, m_board->m_current);
  Command(SGraphCtrl::MENU_BOX, SGraphCtrl::CMD_BOX_DELETE);
  EXPECT_EQ(1, m_board->m_boxes.GetCount());
  EXPECT_EQ(0, PlugOf(a, 1)->m_outgoing.GetCount());

  // A real popup, closed by a timer from inside its own loop.
  m_ctrl->m_menuShown = false;
  ::SetTimer(nullptr, 0, 10, CloseMenu);
  Send(WM_RBUTTONUP, 0, Point(500, 300));
  EXPECT_FALSE(m_ctrl->m_menuShown);
  EXPECT_EQ(500, m_ctrl->m_menuPoint.x);
}

TEST_F(GraphCtrlTest, ClipboardCommandsNeedTheirFlagAndPasteLandsAtTheRightClick) {
  SGraphBox* a = AddTestBox(m_board, "", 40, 40, {2});
  m_board->SelectOnly(a);
  Command(SGraphCtrl::MENU_BOX, SGraphCtrl::CMD_BOX_COPY);
  m_ctrl->m_menuShown = true;
  Send(WM_RBUTTONUP, 0, Point(300, 200));
  m_ctrl->m_menuShown = false;
  Command(SGraphCtrl::MENU_BACKGROUND, SGraphCtrl::CMD_PASTE);
  ASSERT_EQ(2, m_board->m_boxes.GetCount());
  EXPECT_EQ(300, m_board->m_boxes.GetAt(1)->m_x);
  Command(SGraphCtrl::MENU_BOX, SGraphCtrl::CMD_BOX_CUT);
  EXPECT_EQ(1, m_board->m_boxes.GetCount());

  m_ctrl->m_flags &= ~SGraphCtrl::FLAG_CLIPBOARD;
  m_ctrl->BuildMenus();
  UINT state = ::GetMenuState(m_ctrl->GetMenu(SGraphCtrl::MENU_BACKGROUND)->m_hMenu,
                              SGraphCtrl::CMD_PASTE, MF_BYCOMMAND);
  EXPECT_TRUE(state & MF_GRAYED);
  Command(SGraphCtrl::MENU_BACKGROUND, SGraphCtrl::CMD_PASTE);
  Key('V', true);
  EXPECT_EQ(1, m_board->m_boxes.GetCount());
}

TEST_F(GraphCtrlTest, KeysSelectAllDeleteAndDoubleClickHidesAPlugButAFailedLoadIgnoresInput) {
  SGraphBox* a = AddTestBox(m_board, "", 40, 40, {1, 2});
  AddTestBox(m_board, "", 200, 40, {});
  Key('A');
  EXPECT_EQ(0, m_board->m_selection.GetCount());
  Key('A', true);
  EXPECT_EQ(2, m_board->m_selection.GetCount());
  EXPECT_EQ(a, m_board->m_current);
  POINT plug = SquareOf(PlugOf(a, 0));
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(plug.x, plug.y));
  EXPECT_FALSE(PlugOf(a, 0)->m_visible);
  Key(VK_DELETE);
  EXPECT_EQ(0, m_board->m_boxes.GetCount());
  Key('Z', true);
  EXPECT_EQ(2, m_board->m_boxes.GetCount());
  EXPECT_FALSE(LoadText(m_ctrl, "<xml><graph/></xml>"));
  EXPECT_EQ(nullptr, m_ctrl->m_board);
  Drag({100, 100}, {{200, 200}});
  Key('A', true);
  Send(WM_RBUTTONUP, 0, Point(10, 10));
  EXPECT_EQ(0x404040u, PixelAt(100, 100));
  EXPECT_EQ("", SaveText(m_ctrl));
}

TEST_F(GraphCtrlTest, PaintingShowsBackgroundBoxesSelectionAndLinks) {
  SGraphBox* a = AddTestBox(m_board, "", 40, 40, {2});
  SGraphBox* b = AddTestBox(m_board, "", 240, 40, {1});
  PlugOf(a, 0)->Link(PlugOf(b, 0), false);
  POINT from = PlugOf(a, 0)->GetAnchor(), to = PlugOf(b, 0)->GetAnchor();
  int middle = (from.x + to.x) / 2;
  EXPECT_EQ(0x404040u, PixelAt(500, 350));
  EXPECT_EQ(0x394980u, PixelAt(a->m_inner.left + 4, a->m_inner.bottom - 4)) << "body colour";
  EXPECT_EQ(0x273157u, PixelAt(a->m_inner.left + 4, a->m_rect.top + 2)) << "title colour";
  EXPECT_EQ(0xC0C0C0u, PixelAt(middle, from.y));
  m_board->SelectOnly(a);
  EXPECT_EQ(0xFFFF00u, PixelAt(a->m_inner.left, a->m_inner.bottom - 4)) << "current border";
  EXPECT_EQ(0xFFFF00u, PixelAt(middle, from.y));
  PlugOf(b, 0)->m_enabled = false;
  EXPECT_EQ(0xE00000u, PixelAt(middle, from.y));
  m_board->m_originX = 100;
  EXPECT_EQ(0x404040u, PixelAt(a->m_inner.left + 4, a->m_inner.bottom - 4));
}

TEST_F(GraphCtrlTest, TheDialogFactoryBuildsAGraphFromItsArchiveEntry) {
  RegisterEditorControls();
  std::string graph =
      "<xml><graph><board nextid=\"3\"/><box><box id=\"1\" name=\"n\" x=\"8\"/>"
      "<plug><plug id=\"2\" type=\"1\"/></plug></box></graph></xml>";
  // An archive of one entry: magic, flags, size, name, bytes, end mark.
  std::string archive("SRES\0\0\0\0", 8);
  uint32_t size = uint32_t(graph.size());
  archive.append(reinterpret_cast<const char*>(&size), 4);
  archive.append("graph.xml", 10);
  archive += graph;
  archive.append("\xFF\xFF\xFF\xFF", 4);
  TempFolder folder;
  folder.Write("test.dat", archive);
  SResource resource;
  ASSERT_TRUE(resource.Open(folder.File("test.dat").c_str()));

  SDialogEditor::_SCtrl record;
  record.m_type = SDialogEditor::TYPE_GRAPH;
  record.m_id = 7;
  record.m_left = record.m_top = 0;
  record.m_width = 200;
  record.m_height = 100;
  record.m_style = WS_CHILD | WS_VISIBLE;
  SDialogEditor::SetProperty(&record, "GRAPH_FILE", "graph.xml");
  SWnd* control = CreateDialogControl(m_parent.m_hWnd, &record, &resource, true, nullptr);
  ASSERT_NE(nullptr, control);
  EXPECT_EQ(SGraphCtrl::KIND, control->m_kind);
  SGraphCtrl* built = static_cast<SGraphCtrl*>(control);
  ASSERT_NE(nullptr, built->m_board);
  EXPECT_EQ(1, built->m_board->m_boxes.GetCount());
  EXPECT_EQ(8, built->m_board->m_boxes.GetAt(0)->m_x);
  delete control;
}

}  // namespace
