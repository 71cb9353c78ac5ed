#include "core/Platform.h"
#include "SurfaceTestSupport.h"

namespace {

typedef std::vector<std::string> Lines;

// Buttons A (caption, font) and B, an edit, a scroll bar, a list, a tree, a
// label, two level meters and an external control; the dialog's focus names
// no control.
std::string Controls() {
  return DialogText(
      Section("BUTTON", 1, "A", 10, 10, 50, 20, "WS_VISIBLE BS_CENTER ",
              "HALIGN=9\r\nVALIGN=144\r\nTOOLTIP=tip\r\n") +
          Section("BUTTON", 2, "B", 70, 10, 50, 20, "WS_VISIBLE BS_LEFT ", "HALIGN=3\r\n") +
          Section("EDIT", 3, "E", 10, 40, 80, 20) + Section("SCROLL", 4, "S", 10, 70, 80, 16) +
          Section("LIST", 5, "L", 10, 90, 80, 40, "WS_VISIBLE LBS_MULTIPLESEL LBS_NOSEL ",
                  "LIST_SELBACKCOLOR=#FF0000\r\n") +
          Section("TREE", 6, "T", 100, 90, 80, 40, "WS_VISIBLE ") +
          Section("LABEL", 7, "LBL", 100, 40, 80, 20, "WS_VISIBLE ", "LABEL_HALIGN=_center\r\n") +
          Section("LEVEL", 8, "M1", 200, 10, 20, 60) + Section("LEVEL", 9, "M2", 230, 10, 20, 60) +
          Section("EXTERN", 10, "X", 200, 90, 60, 40, "WS_VISIBLE ", "EXTERN_NAME=Gauge\r\n"),
      400, 300, "DIALOG_FOCUS=77\r\n");
}

// The keys of the grid's rows, "group:key" (with "*" when mixed).
Lines Keys(const Lines& rows) {
  Lines keys;
  for (const std::string& row : rows) keys.push_back(row.substr(0, row.find('=')));
  return keys;
}

std::string Find(const Lines& rows, const std::string& key) {
  for (const std::string& row : rows) {
    if (row.compare(0, key.size() + 1, key + "=") == 0) return row.substr(key.size() + 1);
  }
  return "(absent)";
}

void CALLBACK PressOkInMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = ::FindWindowA("#32770", nullptr);
  if (!box) return;
  ::KillTimer(nullptr, timer);
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

class PropertyFillTest : public AttachedDesignerTest {
public:
  void SetUp() override {
    AttachedDesignerTest::SetUp();
    ASSERT_TRUE(Load(Controls()));
    Named("A")->m_fontName = "Arial";
    Named("A")->m_fontSize = 9;
    Named("A")->m_fontStyle = 1;
  }
  // Opens the row's edit box, types the text and presses Enter.
  void TypeInto(const char* group, const char* key, const char* text) {
    int g, i;
    ASSERT_NE(nullptr, Row(group, key, &g, &i)) << key;
    int row = m_grid.RowFromItem(g, i);
    m_grid.SetScrollPos(row > 3 ? row - 3 : 0);
    m_grid.SetSelectedRow(row, false);
    m_grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_NE(nullptr, m_grid.m_edit.m_hWnd) << key;
    for (const char* c = text; *c; ++c) m_grid.m_edit.SendMessage(WM_CHAR, WPARAM(*c), 0);
    m_grid.m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  }
  // Presses button n of the row.
  void PressButton(const char* group, const char* key, int n) {
    int g, i;
    ASSERT_NE(nullptr, Row(group, key, &g, &i)) << key;
    int row = m_grid.RowFromItem(g, i);
    m_grid.SetScrollPos(row > 3 ? row - 3 : 0);
    m_grid.SetSelectedRow(row, false);
    RECT r;
    ASSERT_TRUE(m_grid.GetButtonRect(row, n, &r));
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(r.left + 3, r.top + 3));
  }
};

}  // namespace

TEST_F(PropertyFillTest, TheDialogAloneShowsItsOwnGroupsWithoutControlRows) {
  Select({""});
  Lines keys = Keys(Rows());
  Lines head(keys.begin(), keys.begin() + 7);
  EXPECT_EQ(head,
            (Lines{"$GENERAL:TYPE", "$GENERAL:CAPTION", "$GENERAL:VISIBLE", "$GENERAL:ENABLED",
                   "$GENERAL:FONT", "$POSITION:WIDTH", "$POSITION:HEIGHT"}));
  std::vector<std::string> groups;
  for (int g = 0; g < m_grid.m_groups.GetCount(); ++g)
    groups.push_back(m_grid.m_groups[g]->m_name.GetText());
  EXPECT_EQ(groups, (Lines{"$GENERAL", "$POSITION", "$SKIN", "$STYLE", "$VALUE", "$BORDER",
                           "$COLOR", "$RESOURCE"}));
  EXPECT_EQ(size_t(7 + 2 + 16 + 2 + 3 + 1 + 5), keys.size());
  Lines rows = Rows();
  EXPECT_EQ("Dialog", Find(rows, "$GENERAL:TYPE"));
  // The focus list: an empty entry first, then every control; a focus
  // naming no control shows the empty entry.
  SPropertyCtrl::_SItem* focus = Row("$VALUE", "DIALOG_FOCUS");
  ASSERT_NE(nullptr, focus);
  EXPECT_EQ(SString(""), focus->m_text);
  ASSERT_EQ(11, focus->m_options.GetCount());
  EXPECT_EQ(SString("|\x97\x97"), *focus->m_options[0]);
  EXPECT_EQ(SString("1|A"), *focus->m_options[1]);
  EXPECT_EQ(SString("10|X"), *focus->m_options[10]);
  // No background colour reaches the grid as the unsigned none, "Default".
  EXPECT_EQ("4278190080", Find(rows, "$COLOR:BACKCOLOR"));
  EXPECT_EQ(SString("Default"), m_grid.GetDisplayText(Row("$COLOR", "BACKCOLOR")));
}

TEST_F(PropertyFillTest, RowValuesComeFromFieldsStyleBitsRulesAndExtendedLines) {
  struct Case {
    const char* control;
    const char* row;
    const char* value;
  } cases[] = {
      {"A", "$GENERAL:TYPE", "Button"},
      {"A", "$GENERAL:ID", "1"},
      {"A", "$GENERAL:FONT", "Arial,9,1"},
      {"A", "$POSITION:HALIGN", "_AUTOCENTERHALF"},
      {"A", "$POSITION:VALIGN", "_AUTOMIDDLEHALF"},
      {"B", "$POSITION:HALIGN", "_AUTOLEFT"},
      {"A", "$STYLE:BUTTON_HALIGN", "_CENTER"},
      {"B", "$STYLE:BUTTON_HALIGN", "_LEFT"},
      {"A", "$VALUE:TOOLTIP", "tip"},
      {"L", "$STYLE:LIST_SELECTION", "_MULTIPLE"},
      {"L", "$COLOR:LIST_SELBACKCOLOR", "255"},  // "#FF0000" read as the reader reads it
      {"T", "$STYLE:TREE_DRAGDROP", "1"},
      {"T", "$GENERAL:ENABLED", "1"},
      {"LBL", "$STYLE:LABEL_HALIGN", "_LEFT"},  // "_center" is no option
      {"E", "$BORDER:CLIENTEDGE", "0"},
  };
  for (const Case& c : cases) {
    Select({c.control});
    EXPECT_EQ(c.value, Find(Rows(), c.row)) << c.control << " " << c.row;
  }
  // The level link lists the two meters after the empty entry.
  Ctrl wave;
  wave.m_type = SDialogDesigner::TYPE_WAVEEDITOR;
  ASSERT_NE(nullptr, SDialogDesigner::AddControl(&m_designer, true, &wave, false, false));
  m_designer.SetSelection(m_designer.m_controls.GetLast());
  SPropertyCtrl::_SItem* level = Row("$LINK", "WAVEEDITOR_LEVEL");
  ASSERT_NE(nullptr, level);
  ASSERT_EQ(3, level->m_options.GetCount());
  EXPECT_EQ(SString("9|M2"), *level->m_options[2]);
}

TEST_F(PropertyFillTest, SeveralRecordsMergeTheirRowsAndDropWhatTheyDoNotShare) {
  Select({"A"});
  size_t single = Rows().size();
  Select({"A", "B"});
  Lines rows = Rows();
  EXPECT_EQ(single - 3, rows.size());  // no TYPE, ID, NAME
  EXPECT_EQ("(absent)", Find(rows, "$GENERAL:NAME"));
  EXPECT_EQ("70", Find(rows, "$POSITION:X*"));  // the last record's value
  EXPECT_EQ("50", Find(rows, "$POSITION:WIDTH"));
  EXPECT_EQ("_LEFT", Find(rows, "$STYLE:BUTTON_HALIGN*"));

  Select({"A", "E"});
  EXPECT_EQ(Keys(Rows()),
            (Lines{"$GENERAL:CAPTION*", "$GENERAL:VISIBLE", "$GENERAL:ENABLED",
                   "$GENERAL:TABENABLED", "$GENERAL:TABGROUP", "$GENERAL:TABINDEX", "$POSITION:X",
                   "$POSITION:Y*", "$POSITION:WIDTH*", "$POSITION:HEIGHT", "$POSITION:HALIGN*",
                   "$POSITION:VALIGN*", "$COLOR:BACKCOLOR", "$COLOR:TEXTCOLOR"}));
  Select({"A", "S"});
  EXPECT_EQ("(absent)", Find(Rows(), "$GENERAL:CAPTION*"));

  // The declared rows of external controls, for their control only.
  m_designer.m_externProperties.Add(
      "Gauge\x01SPEED\x01Speed\x01"
      "edit_int");
  m_designer.m_externProperties.Add(
      "Dial\x01TURN\x01Turn\x01"
      "bool");
  m_designer.m_externProperties.Add(
      "Gauge\x01TOO\x01"
      "few");
  SDialogDesigner::SetProperty(Named("X"), "SPEED", "12");
  Select({"X"});
  SPropertyCtrl::_SItem* speed = Row("$EXTRA", "SPEED");
  ASSERT_NE(nullptr, speed);
  EXPECT_EQ(SPropertyCtrl::ITEM_INT, speed->m_kind);
  EXPECT_EQ(SString("Speed"), speed->m_caption);
  EXPECT_EQ(SString("12"), speed->m_text);
  EXPECT_EQ(1, m_grid.GetGroup(m_grid.FindGroup("$EXTRA"))->m_items.GetCount());
  SDialogDesigner::SetProperty(Named("X"), "EXTERN_NAME", "Other");
  Select({"X"});
  EXPECT_EQ(-1, m_grid.FindGroup("$EXTRA"));

  // The same record twice: the same rows, scrolled where it was left.
  m_designer.SetSelection(Named("E"));
  m_grid.SetScrollPos(3);
  Lines first = Rows();
  m_designer.SetSelection(Named("A"));
  EXPECT_EQ(0, m_grid.GetFirstVisibleRow());
  m_designer.SetSelection(Named("E"));
  EXPECT_EQ(first, Rows());
  EXPECT_EQ(3, m_grid.GetFirstVisibleRow());
}

TEST_F(PropertyFillTest, AnEditedRowChangesTheControlAndItsTextAndUndoRestoresIt) {
  Select({"A"});
  TypeInto("$GENERAL", "CAPTION", "Go");
  Ctrl* a = Named("A");
  EXPECT_EQ(SString("Go"), a->m_caption);
  ASSERT_NE(nullptr, a->m_window);
  EXPECT_EQ(SString("Go"), a->m_window->GetText());
  EXPECT_NE(std::string::npos, Save().find("NAME=A\r\nCAPTION=Go\r\n"));
  EXPECT_EQ(1, m_host.controlChanges);
  PressButton("$STYLE", "BUTTON_FLAT", 0);
  EXPECT_EQ(uint32_t(BS_FLAT), a->m_style & BS_FLAT);
  EXPECT_EQ(2, m_designer.GetUndoCount());
  // Undo goes back one change at a time, rows included.
  m_designer.Undo();
  a = Named("A");
  EXPECT_EQ(0u, a->m_style & BS_FLAT);
  EXPECT_EQ(SString("Go"), a->m_caption);
  m_designer.Undo();
  a = Named("A");
  EXPECT_EQ(SString("A"), a->m_caption);
  EXPECT_NE(std::string::npos, Save().find("NAME=A\r\nCAPTION=A\r\n"));
  EXPECT_EQ(SString("A"), Row("$GENERAL", "CAPTION")->m_text);
  // The anchoring options write their numbers.
  m_designer.SetSelection(Named("B"));
  SPropertyCtrl::_SItem* halign = Row("$POSITION", "HALIGN");
  int g, i;
  Row("$POSITION", "HALIGN", &g, &i);
  m_grid.ChangeItem(halign, g, i, [](SPropertyCtrl::_SItem* it) { it->m_text = "_AUTORIGHTHALF"; });
  EXPECT_EQ(10, SDialogDesigner::GetPropertyInt(Named("B"), "HALIGN"));
  // The arrow keys write the new place into the position rows.
  m_designer.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SString::FromInt(Named("B")->m_left), Row("$POSITION", "X")->m_text);
}

TEST_F(PropertyFillTest, AMixedValueCommittedOverSeveralControlsKeepsWhatWasNotChanged) {
  Ctrl* a = Named("A");
  Ctrl* e = Named("E");
  e->m_fontName = "Courier";
  e->m_fontSize = 12;
  a->m_textColor = RGB(1, 2, 3);
  e->m_textColor = RGB(4, 5, 6);
  Select({"A", "E"});
  // An untouched edit box on a mixed row changes nobody.
  int undo = m_designer.GetUndoCount();
  TypeInto("$POSITION", "Y", "");
  EXPECT_EQ(10, a->m_top);
  EXPECT_EQ(40, e->m_top);
  EXPECT_EQ(undo, m_designer.GetUndoCount());
  // A typed value goes to both; the row they disagreed on only.
  TypeInto("$POSITION", "Y", "33");
  EXPECT_EQ(33, a->m_top);
  EXPECT_EQ(33, e->m_top);
  EXPECT_EQ(10, a->m_left);
  EXPECT_EQ(50, a->m_width);
  EXPECT_EQ(80, e->m_width);
  // The text colour row came from the edit alone: the button keeps its own.
  PressButton("$COLOR", "TEXTCOLOR", 0);
  EXPECT_EQ(COLORREF(0xFF000000), e->m_textColor);
  EXPECT_EQ(RGB(1, 2, 3), a->m_textColor);
  // The default font over two fonts keeps each control's size and style.
  Named("B")->m_fontName = "Tahoma";
  Named("B")->m_fontSize = 14;
  Select({"A", "B"});
  PressButton("$GENERAL", "FONT", 0);
  EXPECT_EQ(SString(""), Named("A")->m_fontName);
  EXPECT_EQ(9, Named("A")->m_fontSize);
  EXPECT_EQ(1u, Named("A")->m_fontStyle);
  EXPECT_EQ(14, Named("B")->m_fontSize);
}

TEST_F(PropertyFillTest, ANameOtherControlsBearIsRefusedWithTheDesignersMessage) {
  Select({"E"});
  int undo = m_designer.GetUndoCount();
  ::SetTimer(nullptr, 0, 20, PressOkInMessageBox);
  TypeInto("$GENERAL", "NAME", "A");
  EXPECT_EQ(SString("E"), Named("E") ? Named("E")->m_name : SString("gone"));
  EXPECT_EQ(SString("E"), Row("$GENERAL", "NAME")->m_text);
  EXPECT_EQ(undo, m_designer.GetUndoCount());
  // An identifier nobody bears is taken.
  TypeInto("$GENERAL", "NAME", "EDIT_NAME");
  ASSERT_NE(nullptr, Named("EDIT_NAME"));
  EXPECT_EQ(undo + 1, m_designer.GetUndoCount());
}
