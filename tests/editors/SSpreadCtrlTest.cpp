#include "core/Platform.h"
#include "editors/SSpreadCtrl.h"

#include "editors/EditorMessages.h"
#include "tests/support/GdiTestSupport.h"
#include "window/ControlFactory.h"

#include "TableTestSupport.h"

#include <gtest/gtest.h>

#include <limits.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The parent: the mouse records and change notifications of its controls.
class SpreadParent : public SWnd {
public:
  std::vector<MOUSERECORD> mouse;
  std::vector<WPARAM> changed;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_SPREADMOUSE && lParam) {
      mouse.push_back(*reinterpret_cast<MOUSERECORD*>(lParam));
    }
    if (message == SWM_CONTROLCHANGED) changed.push_back(wParam);
    return SWnd::WindowProc(message, wParam, lParam);
  }
};

int g_modifiers = 0;
int HeldModifiers() { return g_modifiers; }

bool g_menuClosed = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
  g_menuClosed = true;
  ::EndMenu();
}

void DrainMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

class SSpreadCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    CreateInHost(&parent, &spread);
    if (HasFatalFailure()) return;
    spread.m_modifierKeys = &HeldModifiers;
    g_modifiers = 0;
  }
  void TearDown() override { DrainMessages(); }

  bool Load(const TableDescription& table) {
    SFileMem file;
    WriteBytes(&file, JoinRecords(table.Records()));
    return spread.LoadFile(&file);
  }

  POINT Centre(int column, int row) {
    RECT r = {0, 0, 0, 0};
    EXPECT_TRUE(spread.GetCellRect(column, row, &r)) << column << ", " << row;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Press(UINT message, POINT at, int modifiers = 0) {
    g_modifiers = modifiers;
    spread.SendMessage(message, 0, MAKELPARAM(at.x, at.y));
    g_modifiers = 0;
  }
  void Key(WPARAM key, int modifiers = 0) {
    g_modifiers = modifiers;
    spread.SendMessage(WM_KEYDOWN, key, 0);
    g_modifiers = 0;
  }
  std::vector<std::pair<int, int>> Selection() {
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < spread.m_selection.GetCount(); ++i) {
      cells.push_back({SSpreadCtrl::KeyColumn(spread.m_selection[i]),
                       SSpreadCtrl::KeyRow(spread.m_selection[i])});
    }
    return cells;
  }
  std::pair<int, int> Current() { return {spread.GetCurrentColumn(), spread.GetCurrentRow()}; }

  SpreadParent parent;
  SSpreadCtrl spread;
};

typedef std::vector<std::pair<int, int>> Cells;

TEST_F(SSpreadCtrlTest, TheDesignerAndTheBuilderMakeTheControl) {
  SDialogEditor::_SCtrl record;
  record.m_type = SDialogEditor::TYPE_SPREAD;
  record.m_width = 300;
  record.m_height = 200;
  record.m_style = WS_VISIBLE;
  std::unique_ptr<SWnd> control(
      CreateDialogControl(parent.m_hWnd, &record, nullptr, false, nullptr));
  SSpreadCtrl* designed = dynamic_cast<SSpreadCtrl*>(control.get());
  ASSERT_NE(nullptr, designed);
  EXPECT_EQ(SSpreadCtrl::KIND, designed->m_kind);
  ASSERT_EQ(3, designed->m_table.GetFieldCount());
  EXPECT_EQ(3, designed->m_table.GetRowCount());
  for (int c = 0; c < 3; ++c)
    EXPECT_EQ("title=;width=0", Text(designed->m_table.Fields[c]->Attributes));
  EXPECT_EQ(30, designed->GetRowHeaderWidth());
  RECT cell;
  ASSERT_TRUE(designed->GetCellRect(1, 2, &cell));
  EXPECT_EQ((std::vector<LONG>{110, 60, 189, 79}), Edges(cell));
  EXPECT_EQ(0, designed->m_selection.GetCount());
  EXPECT_EQ(0x7C20u, designed->m_commandMask);

  // Built at run time it has no cells, or those of its SPREAD_FILE entry.
  std::unique_ptr<SWnd> running(
      CreateDialogControl(parent.m_hWnd, &record, nullptr, true, nullptr));
  ASSERT_NE(nullptr, dynamic_cast<SSpreadCtrl*>(running.get()));
  EXPECT_EQ(0, static_cast<SSpreadCtrl*>(running.get())->m_table.GetFieldCount());
  TempFolder folder;
  SResource archive;
  WriteArchive(folder, "prices.tbl", JoinRecords(GridTable(2, 4).Records()), &archive);
  ASSERT_TRUE(SDialogEditor::SetProperty(&record, "SPREAD_FILE", "prices.tbl"));
  std::unique_ptr<SWnd> built(CreateDialogControl(parent.m_hWnd, &record, &archive, true, nullptr));
  SSpreadCtrl* loaded = dynamic_cast<SSpreadCtrl*>(built.get());
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(2, loaded->m_table.GetFieldCount());
  EXPECT_EQ(4, loaded->m_table.GetRowCount());
  EXPECT_EQ("1:3", Text(loaded->GetCellText(1, 3)));
  EXPECT_EQ(1, loaded->m_selection.GetCount());
  EXPECT_EQ(std::make_pair(0, 0),
            std::make_pair(loaded->GetCurrentColumn(), loaded->GetCurrentRow()));
}

TEST_F(SSpreadCtrlTest, TheHitTestAndAttributesPlaceCells) {
  ASSERT_TRUE(Load(GridTable(3, 3)));
  struct Case {
    int x, y, hit, column, row;
  } cases[] = {
      {5, 5, SSpreadCtrl::HIT_CORNER, -1, -1},
      {0, 5, SSpreadCtrl::HIT_NOTHING, -1, -1},
      {30, 0, SSpreadCtrl::HIT_COLUMN_HEADER, 0, -1},
      {189, 19, SSpreadCtrl::HIT_COLUMN_HEADER, 1, -1},
      {0, 20, SSpreadCtrl::HIT_ROW_HEADER, -1, 0},
      {29, 79, SSpreadCtrl::HIT_ROW_HEADER, -1, 2},
      {109, 39, SSpreadCtrl::HIT_CELL, 0, 0},
      {110, 40, SSpreadCtrl::HIT_CELL, 1, 1},
      {269, 79, SSpreadCtrl::HIT_CELL, 2, 2},
      {270, 50, SSpreadCtrl::HIT_NOTHING, -1, -1},
      {50, 80, SSpreadCtrl::HIT_NOTHING, -1, -1},
  };
  for (const Case& c : cases) {
    int column, row;
    EXPECT_EQ(c.hit, spread.HitTest(c.x, c.y, &column, &row)) << c.x << ", " << c.y;
    EXPECT_EQ(c.column, column) << c.x << ", " << c.y;
    EXPECT_EQ(c.row, row) << c.x << ", " << c.y;
  }
  TableDescription t = GridTable(3, 3);
  t.fields[0].attributes = "WIDTH=120";
  t.fields[1].attributes = "width=-5";
  // A quote left open in a stored attribute text keeps the items after it.
  t.fields[2].attributes = "title=\"Price;width=50";
  t.rows[0].attributes = "height=30";
  ASSERT_TRUE(Load(t));
  RECT cell;
  ASSERT_TRUE(spread.GetCellRect(1, 1, &cell));
  EXPECT_EQ((std::vector<LONG>{150, 50, 229, 69}), Edges(cell));
  EXPECT_EQ(-5, spread.GetColumnWidthValue(1));
  EXPECT_EQ(50, spread.GetColumnWidth(2));
}

TEST_F(SSpreadCtrlTest, PaintingShowsHeadersSelectionAndCellColours) {
  TableDescription t = GridTable(3, 3);
  t.rows[1].cells[2].attributes = "backcolor=#FF0000";
  ASSERT_TRUE(Load(t));
  spread.SelectCell(1, 1);
  Dib32 canvas(400, 300, 0x123456);
  spread.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
  EXPECT_EQ(SystemRgb(COLOR_BTNFACE), canvas.Rgb(31, 1));          // column header A
  EXPECT_EQ(SystemRgb(COLOR_BTNFACE), canvas.Rgb(1, 21));          // row header 0
  EXPECT_EQ(SystemRgb(COLOR_APPWORKSPACE), canvas.Rgb(109, 30));   // between two cells
  EXPECT_EQ(SystemRgb(COLOR_APPWORKSPACE), canvas.Rgb(350, 200));  // past the last cell
  // Right of the cells' texts, inside the focus rectangle's frame.
  EXPECT_EQ(SystemRgb(COLOR_WINDOW), canvas.Rgb(100, 22));     // cell (0, 0)
  EXPECT_EQ(SystemRgb(COLOR_HIGHLIGHT), canvas.Rgb(180, 42));  // selected cell (1, 1)
  EXPECT_EQ(0xFF0000u, canvas.Rgb(260, 42));                   // cell (2, 1), backcolor
}

// Where the ink of a cell's text lies: the leftmost and rightmost columns of
// pixels inside the cell that are not the window colour.
std::pair<int, int> InkSpan(const Dib32& canvas, const RECT& cell) {
  uint32_t back = SystemRgb(COLOR_WINDOW);
  int left = INT_MAX, right = -1;
  for (int y = cell.top + 1; y < cell.bottom - 1; ++y) {
    for (int x = cell.left + 1; x < cell.right - 1; ++x) {
      if (canvas.Rgb(x, y) == back) continue;
      if (x < left) left = x;
      if (x > right) right = x;
    }
  }
  return {left, right};
}

TEST_F(SSpreadCtrlTest, CellTextAlignsByValueAndAttribute) {
  TableDescription t;
  t.fields = {{"A", "", ""}};
  const char* values[] = {"12.5", "12a", "ab", "ab", "ab"};
  const char* attributes[] = {"", "", "halign=Center", "HALIGN=center", "halign=right"};
  enum { LEFT, RIGHT, CENTRE };
  const int expected[] = {RIGHT, LEFT, LEFT, CENTRE, RIGHT};
  for (int i = 0; i < 5; ++i) t.rows.push_back({"", "", {{values[i], "", attributes[i]}}});
  ASSERT_TRUE(Load(t));
  spread.m_selection.RemoveAll();
  Dib32 canvas(400, 300);
  spread.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
  for (int i = 0; i < 5; ++i) {
    RECT cell;
    ASSERT_TRUE(spread.GetCellRect(0, i, &cell));
    std::pair<int, int> ink = InkSpan(canvas, cell);
    ASSERT_LE(ink.first, ink.second) << values[i];
    int leftGap = ink.first - cell.left, rightGap = cell.right - ink.second;
    switch (expected[i]) {
      case LEFT:
        EXPECT_LT(leftGap, 6) << i;
        EXPECT_GT(rightGap, 20) << i;
        break;
      case RIGHT:
        EXPECT_LT(rightGap, 6) << i;
        EXPECT_GT(leftGap, 20) << i;
        break;
      case CENTRE:
        EXPECT_NEAR(leftGap, rightGap, 3) << i;
        break;
    }
  }
}

TEST_F(SSpreadCtrlTest, MouseSelectsAndReachesTheParent) {
  ASSERT_TRUE(Load(GridTable(3, 4)));
  // Corner: everything, current (0, 0); a double click there does nothing.
  spread.m_selection.RemoveAll();
  Press(WM_LBUTTONDBLCLK, {5, 5});
  EXPECT_EQ(0, spread.m_selection.GetCount());
  Press(WM_LBUTTONDOWN, {5, 5});
  EXPECT_EQ(12, spread.m_selection.GetCount());
  EXPECT_EQ(std::make_pair(0, 0), Current());
  // Headers select a column or a row.
  Press(WM_LBUTTONDOWN, {150, 5});
  EXPECT_EQ((Cells{{1, 0}, {1, 1}, {1, 2}, {1, 3}}), Selection());
  Press(WM_LBUTTONDOWN, {5, 65});
  EXPECT_EQ((Cells{{0, 2}, {1, 2}, {2, 2}}), Selection());
  EXPECT_EQ(std::make_pair(0, 2), Current());
  // Shift with nothing selected: from the cell to the last column and row.
  spread.m_selection.RemoveAll();
  Press(WM_LBUTTONDOWN, Centre(1, 2), 1);
  EXPECT_EQ((Cells{{1, 2}, {2, 2}, {1, 3}, {2, 3}}), Selection());
  EXPECT_EQ(std::make_pair(1, 2), Current());
  // Shift from the current cell adds the rectangle to the selection.
  Press(WM_LBUTTONDOWN, Centre(0, 0), 1);
  EXPECT_EQ(9, spread.m_selection.GetCount());
  EXPECT_EQ(std::make_pair(0, 0), Current());
  // Control toggles; the only selected cell stays; the current cell moves to
  // the first selected one when it is taken out.
  Press(WM_LBUTTONDOWN, Centre(2, 1));
  Press(WM_LBUTTONDOWN, Centre(2, 1), 2);
  EXPECT_EQ((Cells{{2, 1}}), Selection());
  Press(WM_LBUTTONDOWN, Centre(0, 3), 2);
  EXPECT_EQ(std::make_pair(0, 3), Current());
  Press(WM_LBUTTONDOWN, Centre(0, 3), 2);
  EXPECT_EQ((Cells{{2, 1}}), Selection());
  EXPECT_EQ(std::make_pair(2, 1), Current());
  // Both modifiers: a plain click.
  Press(WM_LBUTTONDOWN, Centre(1, 1), 3);
  EXPECT_EQ((Cells{{1, 1}}), Selection());
  ASSERT_TRUE(Load(GridTable(3, 3)));
  parent.mouse.clear();
  // Away from the cells, so that nothing else happens; the toolkit adds the
  // click of a release over the window that saw the press.
  const UINT messages[] = {WM_MBUTTONDBLCLK, WM_RBUTTONUP,     WM_LBUTTONDBLCLK, SWM_MCLICK,
                           SWM_RCLICK,       WM_RBUTTONDBLCLK, WM_LBUTTONDOWN,   WM_LBUTTONUP,
                           WM_MBUTTONDOWN,   WM_MBUTTONUP};
  for (UINT message : messages) Press(message, {300, 250});
  std::vector<uint32_t> codes;
  for (const MOUSERECORD& record : parent.mouse) codes.push_back(record.flags);
  EXPECT_EQ((std::vector<uint32_t>{0x42, 0x14, 0x41, 0x22, 0x24, 0x44, 0x09, 0x21, 0x11, 0x0A, 0x22,
                                   0x12}),
            codes);
  POINT screen = {300, 250};
  ::ClientToScreen(spread.m_hWnd, &screen);
  const MOUSERECORD& first = parent.mouse[0];
  EXPECT_EQ((std::vector<LONG>{300, 250, screen.x, screen.y}),
            (std::vector<LONG>{first.x, first.y, first.screenX, first.screenY}));
}

TEST_F(SSpreadCtrlTest, RightClickSelectsTheCellAndOpensTheMenu) {
  ASSERT_TRUE(Load(GridTable(3, 3)));
  EXPECT_EQ(11, ::GetMenuItemCount(spread.m_menu.m_hMenu));
  EXPECT_EQ("Delete\tCtrl+Del", Text(spread.m_menu.GetItemText(SSpreadCtrl::CMD_DELETE)));
  spread.SelectAll();
  g_menuClosed = false;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 300, &CloseMenu);
  Press(WM_RBUTTONDOWN, Centre(2, 1));
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(g_menuClosed) << "the menu's own loop ran until the timer closed it";
  EXPECT_EQ((Cells{{2, 1}}), Selection());
}

TEST_F(SSpreadCtrlTest, KeysMoveTheCurrentCellAndClear) {
  ASSERT_TRUE(Load(GridTable(3, 20)));
  spread.m_selection.RemoveAll();
  Key(VK_DOWN);
  EXPECT_EQ(0, spread.m_selection.GetCount());
  spread.SelectCell(2, 0);
  Key(VK_RIGHT);
  Key(VK_UP);
  EXPECT_EQ(std::make_pair(2, 0), Current());
  Key(VK_LEFT);
  for (int i = 0; i < 18; ++i) Key(VK_DOWN);
  EXPECT_EQ(std::make_pair(1, 18), Current());
  EXPECT_EQ(0, ::GetScrollPos(spread.m_hWnd, SB_VERT)) << "the current cell may leave the view";

  spread.SelectRange(0, 0, 1, 0);
  Key(VK_DELETE, 1);
  EXPECT_EQ("0:0", Text(spread.GetCellText(0, 0)));
  Key(VK_DELETE, 2);
  EXPECT_EQ("", Text(spread.GetCellText(0, 0)));
  EXPECT_EQ("", Text(spread.GetCellText(1, 0)));
  EXPECT_EQ("2:0", Text(spread.GetCellText(2, 0)));
  EXPECT_TRUE(parent.changed.empty()) << "the Delete key tells nobody";
  spread.SelectCell(2, 0);
  Key(VK_DELETE);
  EXPECT_EQ("", Text(spread.GetCellText(2, 0)));
  // The Delete command does tell the parent.
  spread.SelectCell(0, 1);
  spread.SendMessage(SWM_MENUCOMMAND, 0, SSpreadCtrl::CMD_DELETE);
  EXPECT_EQ("", Text(spread.GetCellText(0, 1)));
  EXPECT_EQ((std::vector<WPARAM>{reinterpret_cast<WPARAM>(&spread)}), parent.changed);
}

TEST_F(SSpreadCtrlTest, EditorStoresOnEnterAndFocusLossNotOnEscape) {
  ASSERT_TRUE(Load(GridTable(2, 30)));
  // Scrolled two rows down, the editor lies exactly over the current cell.
  spread.SetScrollPos(2);
  spread.SelectCell(1, 3);
  Key(VK_RETURN);
  ASSERT_NE(nullptr, spread.m_editor.m_hWnd);
  RECT cell, editor;
  ASSERT_TRUE(spread.GetCellRect(1, 3, &cell));
  ::GetWindowRect(spread.m_editor.m_hWnd, &editor);
  ::MapWindowPoints(nullptr, spread.m_hWnd, reinterpret_cast<POINT*>(&editor), 2);
  EXPECT_EQ(Edges(cell), Edges(editor));
  EXPECT_EQ("1:3", Text(spread.m_editor.GetText()));

  // Escape: the old value, nobody told.
  spread.m_editor.SetText("gone");
  spread.m_editor.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(nullptr, spread.m_editor.m_hWnd);
  EXPECT_EQ("1:3", Text(spread.GetCellText(1, 3)));
  EXPECT_TRUE(parent.changed.empty());

  // Enter stores, also an unchanged text, and tells the parent once.
  Key(VK_RETURN);
  spread.m_editor.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(nullptr, spread.m_editor.m_hWnd);
  EXPECT_EQ(1u, parent.changed.size());
  Key(VK_RETURN);
  spread.m_editor.SetText("new");
  spread.m_editor.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ("new", Text(spread.GetCellText(1, 3)));
  EXPECT_EQ(2u, parent.changed.size());

  // A double click edits; a press elsewhere on the grid stores first.
  Press(WM_LBUTTONDBLCLK, Centre(0, 4));
  ASSERT_NE(nullptr, spread.m_editor.m_hWnd);
  EXPECT_EQ(::GetFocus(), spread.m_editor.m_hWnd);
  spread.m_editor.SetText("typed");
  Press(WM_LBUTTONDOWN, Centre(1, 5));
  EXPECT_EQ(nullptr, spread.m_editor.m_hWnd);
  EXPECT_EQ("typed", Text(spread.GetCellText(0, 4)));
  EXPECT_EQ(3u, parent.changed.size());
  EXPECT_EQ(std::make_pair(1, 5), Current());

  // A cell out of view is not edited.
  spread.BeginEdit(0, 0);
  EXPECT_EQ(nullptr, spread.m_editor.m_hWnd);
}

TEST_F(SSpreadCtrlTest, RowAndColumnCommands) {
  ASSERT_TRUE(Load(GridTable(2, 3)));
  spread.m_selection.RemoveAll();
  spread.SendMessage(SWM_MENUCOMMAND, 0, SSpreadCtrl::CMD_INSERTROW);
  EXPECT_EQ(4, spread.m_table.GetRowCount());
  EXPECT_EQ("", Text(spread.GetCellText(0, 3)));
  spread.SelectCell(1, 2);
  spread.SendMessage(SWM_MENUCOMMAND, 0, SSpreadCtrl::CMD_INSERTROW);
  EXPECT_EQ("", Text(spread.GetCellText(0, 2)));
  EXPECT_EQ("0:2", Text(spread.GetCellText(0, 3)));
  spread.SendMessage(SWM_MENUCOMMAND, 0, SSpreadCtrl::CMD_INSERTCOLUMN);
  ASSERT_EQ(3, spread.m_table.GetFieldCount());
  EXPECT_EQ("title=;width=0", Text(spread.m_table.Fields[1]->Attributes));
  EXPECT_EQ("F1", Text(spread.m_table.Fields[2]->Name));
  spread.SendMessage(SWM_MENUCOMMAND, 0, SSpreadCtrl::CMD_DELETEROW);
  EXPECT_EQ(4, spread.m_table.GetRowCount());
  EXPECT_EQ("0:2", Text(spread.GetCellText(0, 2)));
  // Deleting the last column leaves no rows; the selection's keys stay and
  // are skipped.
  for (int i = 0; i < 3; ++i) spread.DeleteColumn(0);
  EXPECT_EQ(0, spread.m_table.GetFieldCount());
  EXPECT_EQ(0, spread.m_table.GetRowCount());
  EXPECT_EQ(1, spread.m_selection.GetCount());
  spread.SendMessage(SWM_MENUCOMMAND, 0, SSpreadCtrl::CMD_DELETE);
  spread.SendMessage(SWM_MENUCOMMAND, 0, SSpreadCtrl::CMD_DELETECOLUMN);
  Dib32 canvas(400, 300);
  spread.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
}

TEST_F(SSpreadCtrlTest, ScrollBarsFollowTheCountsAndRowsPast65535KeepTheirKeys) {
  ASSERT_TRUE(Load(GridTable(1, 40)));
  auto visible = [&](DWORD bar) { return (::GetWindowLongA(spread.m_hWnd, GWL_STYLE) & bar) != 0; };
  EXPECT_FALSE(visible(WS_HSCROLL));
  EXPECT_TRUE(visible(WS_VSCROLL));
  spread.InsertColumn(-1);
  EXPECT_TRUE(visible(WS_HSCROLL));
  int low = -1, high = -1;
  ::GetScrollRange(spread.m_hWnd, SB_HORZ, &low, &high);
  EXPECT_EQ(0, low);
  EXPECT_EQ(1, high);

  // The wheel moves five rows.
  spread.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  spread.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(10, ::GetScrollPos(spread.m_hWnd, SB_VERT));
  spread.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(5, ::GetScrollPos(spread.m_hWnd, SB_VERT));
  int column, row;
  EXPECT_EQ(SSpreadCtrl::HIT_ROW_HEADER, spread.HitTest(5, 25, &column, &row));
  EXPECT_EQ(5, row);
  // A page of the scroll bar is five rows.
  spread.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(10, ::GetScrollPos(spread.m_hWnd, SB_VERT));
  // A table taller than 16-bit cell keys can tell apart keeps every cell.
  ASSERT_TRUE(Load(GridTable(1, 70000)));
  low = high = -1;
  ::GetScrollRange(spread.m_hWnd, SB_VERT, &low, &high);
  EXPECT_EQ(69999, high);
  spread.SelectCell(0, 65537);
  Key(VK_UP);
  EXPECT_EQ(std::make_pair(0, 65536), Current());
  EXPECT_FALSE(spread.IsSelected(0, 0));
  spread.AddCellToSelection(0, 0);
  EXPECT_EQ((Cells{{0, 0}, {0, 65536}}), Selection());
  spread.SelectAll();
  EXPECT_EQ(70000, spread.m_selection.GetCount());
  // The thumb position of a scroll message has 16 bits; those the bar's
  // track position agrees with still work.
  spread.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 300), 0);
  EXPECT_EQ(300, ::GetScrollPos(spread.m_hWnd, SB_VERT));
  EXPECT_EQ(SSpreadCtrl::HIT_ROW_HEADER, spread.HitTest(5, 25, &column, &row));
  EXPECT_EQ(300, row);
}

TEST_F(SSpreadCtrlTest, FailedLoadLeavesAnEmptyTableAndTheSelection) {
  ASSERT_TRUE(Load(GridTable(2, 2)));
  spread.SelectCell(1, 1);
  SFileMem bad;
  WriteBytes(&bad, JoinRecords({"VANDRO TABLE 1.0.0.0", "1", "999999", "", ""}));
  EXPECT_FALSE(spread.LoadFile(&bad));
  EXPECT_EQ(0, spread.m_table.GetFieldCount());
  EXPECT_EQ((Cells{{1, 1}}), Selection());
  EXPECT_EQ("", Text(spread.GetCellText(1, 1)));
  spread.ClearSelectedCells();
  EXPECT_FALSE(spread.LoadFile(nullptr));
}

}  // namespace
