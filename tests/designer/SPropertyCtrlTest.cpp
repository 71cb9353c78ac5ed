#include "core/Platform.h"
#include "SurfaceTestSupport.h"

#include "designer/SSelector.h"
#include "tests/support/GdiTestSupport.h"

namespace {

typedef SPropertyCtrl::_SItem Item;

// A grid that can refuse changes.
class TestGrid : public SPropertyCtrl {
public:
  bool CanChangeItem(int group, _SItem* item) override {
    asked.push_back(group);
    return accept && SPropertyCtrl::CanChangeItem(group, item);
  }
  bool accept = true;
  std::vector<int> asked;
};

class GridTest : public HostedTest {
public:
  void SetUp() override { Open(0); }
  // The grid at (10, 10) of a host whose top is at the screen y given.
  void Open(int hostTop) {
    if (m_host.m_hWnd) ::DestroyWindow(m_host.m_hWnd);
    OpenHost(0, hostTop, 400, 360);
    RECT rect = {10, 10, 260, 330};
    ASSERT_TRUE(m_grid.Create("", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, &rect, m_host.m_hWnd));
    m_grid.SetFocus();
  }
  // Two groups: A with TEXT (text), NUMBER (integer), REAL (decimal),
  // FLAG (yes/no), COLOR, FONT and CHOICE (options); B with NAME.
  void Fill() {
    ASSERT_EQ(0, m_grid.AddGroup("A", "Group A"));
    m_grid.SetItem(0, "TEXT", "Text", SPropertyCtrl::ITEM_TEXT, "hello", nullptr);
    m_grid.SetItem(0, "NUMBER", "Number", SPropertyCtrl::ITEM_INT, "7", nullptr);
    m_grid.SetItem(0, "REAL", "Real", SPropertyCtrl::ITEM_DECIMAL, "2.5", nullptr);
    m_grid.SetItem(0, "FLAG", "Flag", SPropertyCtrl::ITEM_BOOL, "0", nullptr);
    m_grid.SetItem(0, "COLOR", "Color", SPropertyCtrl::ITEM_COLOR, "255", nullptr);
    m_grid.SetItem(0, "FONT", "Font", SPropertyCtrl::ITEM_FONT, "Arial, 9, 3", nullptr);
    SStringArray options;
    for (const char* o : {"_LEFT|Left", "_CENTER|Center", "_RIGHT|Right"}) options.Add(o);
    m_grid.SetItem(0, "CHOICE", "Choice", SPropertyCtrl::ITEM_OPTION, "_CENTER", &options);
    ASSERT_EQ(1, m_grid.AddGroup("B", "Group B"));
    m_grid.SetItem(1, "NAME", "Name", SPropertyCtrl::ITEM_TEXT, "b", nullptr);
  }
  Item* RowOf(int group, const char* key) { return m_grid.FindItem(group, key); }
  // Selects the item's row and opens its editor as Enter does.
  void Edit(int group, const char* key) {
    int index = m_grid.GetGroup(group)->FindItem(key);
    m_grid.SetSelectedRow(m_grid.RowFromItem(group, index), false);
    m_grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  }
  void Type(SWnd* target, const char* text) {
    for (const char* c = text; *c; ++c) target->SendMessage(WM_CHAR, WPARAM(*c), 0);
  }
  // The client point at the middle of button n of a row.
  LPARAM ButtonPoint(int row, int n) {
    RECT r;
    EXPECT_TRUE(m_grid.GetButtonRect(row, n, &r));
    return At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  TestGrid m_grid;
};

// Answers the colour dialog with a fixed colour.
BOOL WINAPI ChooseGreen(CHOOSECOLORA* request) {
  request->rgbResult = RGB(0, 255, 0);
  return TRUE;
}

}  // namespace

TEST_F(GridTest, SetItemStoresEachKindInItsFormAndMarksDisagreementAsMixed) {
  EXPECT_EQ(-1, m_grid.SetItem(-1, "K", "K", SPropertyCtrl::ITEM_TEXT, "x", nullptr));
  ASSERT_EQ(0, m_grid.AddGroup("G", "G"));
  EXPECT_EQ(-1, m_grid.AddGroup("G", "again"));
  // A group index that names no group is refused, not followed.
  EXPECT_EQ(-1, m_grid.SetItem(3, "K", "K", SPropertyCtrl::ITEM_TEXT, "x", nullptr));
  struct Case {
    int kind;
    const char* text;
    const char* shown;
  } cases[] = {
      {SPropertyCtrl::ITEM_DECIMAL, "1.5", "1.500000"},
      {SPropertyCtrl::ITEM_INT, "12abc", "12"},
      {SPropertyCtrl::ITEM_COLOR, "", "Default"},
      {SPropertyCtrl::ITEM_COLOR, "255", "255, 0, 0"},
      {SPropertyCtrl::ITEM_COLOR, "-16777216", "Default"},
      {SPropertyCtrl::ITEM_COLOR, "4278190080", "Default"},
      {SPropertyCtrl::ITEM_COLOR, "4261412869", "Window"},             // 0xFE000005
      {SPropertyCtrl::ITEM_COLOR, "99999999999999999999", "Default"},  // saturated: 0xFFFFFFFF
      {SPropertyCtrl::ITEM_BOOL, "2", "Yes"},
      {SPropertyCtrl::ITEM_BOOL, "abc", "No"},
      {SPropertyCtrl::ITEM_FONT, "Arial, 9, 3", "Arial, 9 B.I."},
      {SPropertyCtrl::ITEM_FONT, ",0,0", "Default"},
      {SPropertyCtrl::ITEM_READONLY, " as is ", " as is "},
  };
  int n = 0;
  for (const Case& c : cases) {
    SString key = SString::FromInt(n++);
    int index = m_grid.SetItem(0, key.GetText(), "caption", c.kind, c.text, nullptr);
    ASSERT_GE(index, 0);
    EXPECT_EQ(SString(c.shown), m_grid.GetDisplayText(m_grid.GetItem(0, index))) << c.text;
  }
  EXPECT_EQ(0xFF000000u, RowOf(0, "4")->m_color);
  EXPECT_EQ(0xFFFFFFFFu, RowOf(0, "7")->m_color);

  // The same value again keeps a row clean; the signed and unsigned forms of
  // one colour are one value; a different value makes it mixed for good.
  m_grid.SetItem(0, "4", "", SPropertyCtrl::ITEM_COLOR, "4278190080", nullptr);
  m_grid.SetItem(0, "1", "", SPropertyCtrl::ITEM_INT, "12", nullptr);
  EXPECT_FALSE(RowOf(0, "4")->m_mixed);
  EXPECT_FALSE(RowOf(0, "1")->m_mixed);
  m_grid.SetItem(0, "1", "", SPropertyCtrl::ITEM_INT, "13", nullptr);
  m_grid.SetItem(0, "1", "", SPropertyCtrl::ITEM_INT, "12", nullptr);
  EXPECT_TRUE(RowOf(0, "1")->m_mixed);
  EXPECT_EQ(SString("[...]"), m_grid.GetDisplayText(RowOf(0, "1")));
  // A font row compares name, size and style.
  m_grid.SetItem(0, "10", "", SPropertyCtrl::ITEM_FONT, "Arial,9,1", nullptr);
  EXPECT_TRUE(RowOf(0, "10")->m_mixed);

  // An option row keeps its first list; a value outside it shows nothing.
  SStringArray first, second;
  first.Add("a|Alpha");
  second.Add("b|Beta");
  int option = m_grid.SetItem(0, "OPT", "", SPropertyCtrl::ITEM_OPTION, "a", &first);
  m_grid.SetItem(0, "OPT", "", SPropertyCtrl::ITEM_OPTION, "b", &second);
  Item* item = m_grid.GetItem(0, option);
  ASSERT_EQ(1, item->m_options.GetCount());
  EXPECT_EQ(SString("a|Alpha"), *item->m_options[0]);
  item->m_mixed = false;
  EXPECT_EQ(SString(""), m_grid.GetDisplayText(item));
  item->m_text = "a";
  EXPECT_EQ(SString("Alpha"), m_grid.GetDisplayText(item));
  // Group -1 appends to the last group, even under an existing key.
  EXPECT_EQ(option + 1, m_grid.SetItem(-1, "OPT", "", SPropertyCtrl::ITEM_TEXT, "", nullptr));
  m_grid.AddGroup("EMPTY", "");
  m_grid.RemoveEmptyGroups();
  EXPECT_EQ(1, m_grid.m_groups.GetCount());
}

TEST_F(GridTest, RowsCountGroupsAndItemsAndTheKeysSkipGroupRows) {
  Fill();
  EXPECT_EQ(10, m_grid.GetRowCount());
  EXPECT_EQ(10, m_grid.GetVisibleRowCount());
  // Visible rows: group A, its seven items, group B, its item.
  int groups[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, -1};
  int items[] = {-1, 0, 1, 2, 3, 4, 5, 6, -1, 0, -1};
  for (int row = 0; row <= 10; ++row) {
    EXPECT_EQ(groups[row], m_grid.GroupFromRow(row)) << row;
    EXPECT_EQ(items[row], m_grid.ItemFromRow(row)) << row;
  }
  m_grid.SetSelectedRow(42, false);
  EXPECT_EQ(9, m_grid.GetSelectedRow());
  m_grid.SetSelectedRow(-5, false);
  EXPECT_EQ(-1, m_grid.GetSelectedItemIndex());

  // Down from the last item of A skips B's group row; Up skips it back.
  m_grid.SetSelectedRow(7, false);
  m_grid.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(9, m_grid.GetSelectedRow());
  m_grid.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(9, m_grid.GetSelectedRow());
  m_grid.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(7, m_grid.GetSelectedRow());
  m_grid.SetSelectedRow(1, false);
  m_grid.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(1, m_grid.GetSelectedRow());

  // Collapsing another group keeps the selected row; collapsing the one
  // that holds it clears it. The toggle is the group row's right end.
  RECT client;
  ::GetClientRect(m_grid.m_hWnd, &client);
  int h = m_grid.m_rowHeight;
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(client.right - 5, 8 * h + 2));
  m_grid.SendMessage(WM_LBUTTONUP, 0, At(client.right - 5, 8 * h + 2));
  EXPECT_FALSE(m_grid.m_groups[1]->m_expanded);
  EXPECT_EQ(1, m_grid.GetSelectedRow());
  EXPECT_EQ(9, m_grid.GetVisibleRowCount());
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(client.right - 5, 2));
  EXPECT_EQ(-1, m_grid.GetSelectedRow());
  EXPECT_EQ(2, m_grid.GetVisibleRowCount());
  EXPECT_EQ(-1, m_grid.RowFromItem(0, 0));
  // The mouse reached the parent: presses, the release and its click.
  EXPECT_EQ(m_host.gridMouse, (std::vector<uint32_t>{0x09, 0x21, 0x11, 0x09}));
  // The wheel scrolls and says so.
  m_grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  EXPECT_EQ(1, m_host.scrolled);
}

namespace {

// The split drag's mouse: the button is down for three cursor reads, the
// cursor at a fixed screen x.
int g_dragX, g_dragReads;
SHORT WINAPI DragKeyState(int key) {
  return key == VK_LBUTTON && g_dragReads < 3 ? SHORT(0x8000) : 0;
}
BOOL WINAPI DragCursor(POINT* p) {
  ++g_dragReads;
  *p = {g_dragX, 0};
  return TRUE;
}

}  // namespace

TEST_F(GridTest, TheSplitFollowsADragDownTo25AndOnlyWithRows) {
  SPropertyCtrl::s_keyState = DragKeyState;
  SPropertyCtrl::s_cursorPos = DragCursor;
  int& s_x = g_dragX;
  int& s_reads = g_dragReads;
  POINT origin = {0, 0};
  ::ClientToScreen(m_grid.m_hWnd, &origin);
  s_x = origin.x + 10;
  s_reads = 0;
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 5));
  EXPECT_EQ(100, m_grid.m_split);  // no rows: no drag
  EXPECT_EQ(0, s_reads);
  Fill();
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(101, 5));
  EXPECT_EQ(SPropertyCtrl::SPLIT_MIN, m_grid.m_split);
  s_x = origin.x + 160;
  s_reads = 0;
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(27, 5));
  EXPECT_EQ(25 + 160 - 27, m_grid.m_split);
  SPropertyCtrl::s_keyState = ::GetAsyncKeyState;
  SPropertyCtrl::s_cursorPos = ::GetCursorPos;
}

TEST_F(GridTest, TheSelectedCaptionAndColourSwatchesArePainted) {
  Fill();
  m_grid.SetSelectedRow(5, false);  // COLOR
  RECT client;
  ::GetClientRect(m_grid.m_hWnd, &client);
  Dib32 dib(client.right, client.bottom);
  m_grid.Paint(dib.GetDC());
  int h = m_grid.m_rowHeight, split = m_grid.m_split;
  auto rgb = [](COLORREF c) {
    return uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
  };
  EXPECT_EQ(rgb(::GetSysColor(COLOR_HIGHLIGHT)), dib.Rgb(split - 3, 5 * h + 1));
  EXPECT_EQ(rgb(::GetSysColor(COLOR_WINDOW)), dib.Rgb(split - 3, 4 * h + 1));
  EXPECT_EQ(0xFF0000u, dib.Rgb(split + 4, 5 * h + h / 2));  // the red swatch
  // A mixed colour row draws no swatch.
  RowOf(0, "COLOR")->m_mixed = true;
  Dib32 mixed(client.right, client.bottom);
  m_grid.Paint(mixed.GetDC());
  EXPECT_NE(0xFF0000u, mixed.Rgb(split + 4, 5 * h + h / 2));
}

TEST_F(GridTest, TheEditBoxCommitsOnEnterAndFocusLossInTheRowsForm) {
  Fill();
  struct Case {
    const char* key;
    const char* typed;
    const char* stored;
  } cases[] = {{"NUMBER", "abc", "0"}, {"REAL", "abc", "0.000000"}, {"TEXT", "new", "new"}};
  for (const Case& c : cases) {
    m_host.changes.clear();
    Edit(0, c.key);
    ASSERT_NE(nullptr, m_grid.m_edit.m_hWnd) << c.key;
    m_grid.m_edit.SetText("");
    Type(&m_grid.m_edit, c.typed);
    m_grid.m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(nullptr, m_grid.m_edit.m_hWnd);
    EXPECT_EQ(SString(c.stored), RowOf(0, c.key)->m_text);
    int index = m_grid.GetGroup(0)->FindItem(c.key);
    EXPECT_EQ(m_host.changes, (std::vector<std::pair<int, int>>{{0, index}})) << c.key;
  }
  // Escape keeps the value; the unchanged text sends nothing; focus loss
  // commits.
  m_host.changes.clear();
  Edit(0, "TEXT");
  Type(&m_grid.m_edit, "zz");
  m_grid.m_edit.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  Edit(0, "TEXT");
  m_grid.m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(SString("new"), RowOf(0, "TEXT")->m_text);
  EXPECT_TRUE(m_host.changes.empty());
  Edit(0, "TEXT");
  m_grid.m_edit.SetText("lost");
  m_grid.SetFocus();
  EXPECT_EQ(nullptr, m_grid.m_edit.m_hWnd);
  EXPECT_EQ(SString("lost"), RowOf(0, "TEXT")->m_text);
  EXPECT_EQ(1u, m_host.changes.size());

  // A refused change puts the old value back, sends nothing, stays mixed.
  m_host.changes.clear();
  m_grid.asked.clear();
  m_grid.accept = false;
  RowOf(0, "NUMBER")->m_mixed = true;
  Edit(0, "NUMBER");
  Type(&m_grid.m_edit, "5");
  m_grid.m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(SString("0"), RowOf(0, "NUMBER")->m_text);
  EXPECT_TRUE(RowOf(0, "NUMBER")->m_mixed);
  EXPECT_TRUE(m_host.changes.empty());
  EXPECT_EQ(m_grid.asked, (std::vector<int>{0}));
}

TEST_F(GridTest, AMixedRowChangesOnlyWhenTheUserTypedInIt) {
  Fill();
  Item* text = RowOf(0, "TEXT");
  text->m_mixed = true;
  Edit(0, "TEXT");
  EXPECT_EQ(SString(""), m_grid.m_edit.GetText());
  // Opened and left untouched: nothing is committed over the controls.
  m_grid.SetFocus();
  EXPECT_EQ(SString("hello"), text->m_text);
  EXPECT_TRUE(text->m_mixed);
  Edit(0, "TEXT");
  m_grid.m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(text->m_mixed);
  EXPECT_TRUE(m_host.changes.empty());
  // Typed, even the value the last control had: every control takes it.
  Edit(0, "TEXT");
  Type(&m_grid.m_edit, "hello");
  m_grid.m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(text->m_mixed);
  EXPECT_EQ(1u, m_host.changes.size());
  // A mixed yes/no row toggles to yes.
  RowOf(0, "FLAG")->m_yes = true;
  RowOf(0, "FLAG")->m_mixed = true;
  Edit(0, "FLAG");
  EXPECT_TRUE(RowOf(0, "FLAG")->m_yes);
  EXPECT_FALSE(RowOf(0, "FLAG")->m_mixed);
}

TEST_F(GridTest, TheDropDownListChoosesOnReleaseAndDropsOnFocusLoss) {
  Fill();
  Item* choice = RowOf(0, "CHOICE");
  Edit(0, "CHOICE");  // Enter steps to the next option
  EXPECT_EQ(SString("_RIGHT"), choice->m_text);
  int row = m_grid.RowFromItem(0, 6);
  m_grid.SetSelectedRow(row, false);
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(row, 0));
  SPropertyCtrl::_SListCtrl& list = m_grid.m_listHost.m_list;
  ASSERT_NE(nullptr, list.m_hWnd);
  EXPECT_EQ(3, list.GetCount());
  EXPECT_EQ(2, list.GetSelection());
  RECT inner;
  ::GetClientRect(list.m_hWnd, &inner);
  EXPECT_EQ(SPropertyCtrl::LIST_LINES * list.GetItemHeight(), inner.bottom);
  // The list opens under its row.
  RECT cell, popup;
  ASSERT_TRUE(m_grid.GetRowRect(row, &cell));
  ::MapWindowPoints(m_grid.m_hWnd, nullptr, reinterpret_cast<POINT*>(&cell), 2);
  ::GetWindowRect(m_grid.m_listHost.m_hWnd, &popup);
  EXPECT_EQ(cell.top + 2 + m_grid.m_rowHeight, popup.top);
  // Focus loss drops it; the value stays.
  m_host.changes.clear();
  list.SetSelection(0);
  m_grid.SetFocus();
  EXPECT_EQ(nullptr, list.m_hWnd);
  EXPECT_EQ(nullptr, m_grid.m_listHost.m_hWnd);
  EXPECT_EQ(SString("_RIGHT"), choice->m_text);
  // A release chooses, also the option already chosen.
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(row, 0));
  ASSERT_NE(nullptr, list.m_hWnd);
  list.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(SString("_RIGHT"), choice->m_text);
  EXPECT_EQ(1u, m_host.changes.size());
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(row, 0));
  list.SetSelection(0);
  list.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(SString("_LEFT"), choice->m_text);
  EXPECT_EQ(2u, m_host.changes.size());
}

TEST_F(GridTest, ADropDownListNearTheScreenBottomOpensAboveItsRow) {
  int screen = ::GetSystemMetrics(SM_CYSCREEN);
  Open(screen - 80);
  Fill();
  int row = m_grid.RowFromItem(0, 6);
  m_grid.SetSelectedRow(row, false);
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(row, 0));
  ASSERT_NE(nullptr, m_grid.m_listHost.m_hWnd);
  RECT cell, popup;
  ASSERT_TRUE(m_grid.GetRowRect(row, &cell));
  ::MapWindowPoints(m_grid.m_hWnd, nullptr, reinterpret_cast<POINT*>(&cell), 2);
  ::GetWindowRect(m_grid.m_listHost.m_hWnd, &popup);
  EXPECT_EQ(cell.top + 2, popup.bottom);
  m_grid.CloseEditors(true);
  EXPECT_EQ(nullptr, m_grid.m_listHost.m_hWnd);
}

TEST_F(GridTest, TheRowButtonsResetToggleAndChoose) {
  Fill();
  int colorRow = m_grid.RowFromItem(0, 4);
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                     At(m_grid.m_split + 5, colorRow * m_grid.m_rowHeight + 3));
  EXPECT_EQ(colorRow, m_grid.GetSelectedRow());
  // Reset, then the colour dialog (answered by the test).
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(colorRow, 0));
  EXPECT_EQ(SPropertyCtrl::NO_COLOR, RowOf(0, "COLOR")->m_color);
  SSelector::s_chooseColor = ChooseGreen;
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(colorRow, 2));
  SSelector::s_chooseColor = ::ChooseColorA;
  EXPECT_EQ(uint32_t(RGB(0, 255, 0)), RowOf(0, "COLOR")->m_color);
  // The font's reset empties the name only.
  int fontRow = m_grid.RowFromItem(0, 5);
  m_grid.SetSelectedRow(fontRow, false);
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(fontRow, 0));
  Item* font = RowOf(0, "FONT");
  EXPECT_EQ(SString(""), font->m_fontName);
  EXPECT_EQ(9, font->m_fontSize);
  EXPECT_EQ(3, font->m_fontStyle);
  // The toggle, and a double click on the value.
  int flagRow = m_grid.RowFromItem(0, 3);
  m_grid.SetSelectedRow(flagRow, false);
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint(flagRow, 0));
  EXPECT_TRUE(RowOf(0, "FLAG")->m_yes);
  m_grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON,
                     At(m_grid.m_split + 5, flagRow * m_grid.m_rowHeight + 3));
  EXPECT_FALSE(RowOf(0, "FLAG")->m_yes);
  EXPECT_EQ(5u, m_host.changes.size());
}
