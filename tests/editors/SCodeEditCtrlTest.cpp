#include "core/Platform.h"
#include "editors/SCodeEditCtrl.h"

#include "core/SFileMem.h"
#include "tests/editors/CodeEditTestSupport.h"
#include "window/Framework.h"

#include <string>

// --- text model ---------------------------------------------------------------

TEST_F(CodeEditTest, InsertAndDeleteAtTheEdgesPlaceTheCaret) {
  ASSERT_TRUE(Build("abc"));
  Caret(0, 1);
  EXPECT_TRUE(edit->InsertText("x\r\ny"));
  EXPECT_EQ("ax\r\nybc", Text());
  ExpectCaret(1, 1);
  // A single piece ending in CR moves the caret by the bytes inserted.
  Caret(0, 0);
  EXPECT_TRUE(edit->InsertText("q\r"));
  ExpectCaret(0, 1);
  ASSERT_TRUE(Build("l0\r\nl1\r\nl2\r\nl3"));
  Caret(3, 0);
  EXPECT_TRUE(edit->Backspace());
  EXPECT_EQ("l0\r\nl1\r\nl2l3", Text());
  ExpectCaret(2, 2);
  Caret(2, 4);
  EXPECT_FALSE(edit->DeleteAtCaret());
  Caret(0, 0);
  EXPECT_FALSE(edit->Backspace());
  edit->SetSelection(0, 1, 2, 1, -1);
  EXPECT_TRUE(edit->DeleteSelection());
  EXPECT_EQ("l2l3", Text());
}

TEST_F(CodeEditTest, SetSelectionOrdersAndClamps) {
  ASSERT_TRUE(Build("one\r\ntwo\r\nabc"));
  struct Row {
    int in[4];
    int out[4];
    bool atEnd;
  } rows[] = {
      {{2, 5, 0, 0}, {0, 0, 2, 3}, false},   // swapped, column clamped
      {{1, 1, 1, 1}, {1, 1, 1, 1}, true},    // equal ends: no selection
      {{0, 9, -1, -1}, {0, 3, 0, 3}, true},  // caret clamped to the line
      {{7, 0, 0, 1}, {0, 1, 2, 0}, false},   // line past the end: the last
  };
  for (const Row& row : rows) {
    edit->SetSelection(row.in[0], row.in[1], row.in[2], row.in[3], -1);
    bool atEnd;
    EXPECT_EQ(std::vector<int>(row.out, row.out + 4), Selection(&atEnd)) << row.in[0] << row.in[1];
    EXPECT_EQ(row.atEnd, atEnd);
  }
}

TEST_F(CodeEditTest, LoadFileAndWindowTextTakeEveryLineBreakWithinTheBuffer) {
  ASSERT_TRUE(Build(""));
  struct Row {
    const char* file;
    int lines;
    const char* joined;
  } rows[] = {
      {"", 1, ""},
      {"a\r\n", 2, "a\r\n"},
      {"a\rb\nc\r\nd", 4, "a\r\nb\r\nc\r\nd"},
      {"\t x \n\n", 3, "\t x \r\n\r\n"},
  };
  for (const Row& row : rows) {
    SFileMem file(row.file);
    EXPECT_TRUE(edit->LoadFile(&file));
    EXPECT_EQ(row.lines, edit->GetLineCount()) << row.file;
    EXPECT_EQ(row.joined, Text());
  }
  EXPECT_FALSE(edit->LoadFile(nullptr));
  ASSERT_TRUE(Build(""));
  ::SetWindowTextA(edit->m_hWnd, "abc\ndef");
  EXPECT_EQ(8, ::GetWindowTextLengthA(edit->m_hWnd));
  char buffer[16];
  memset(buffer, '#', sizeof(buffer));
  EXPECT_EQ(8, edit->SendMessage(WM_GETTEXT, sizeof(buffer), LPARAM(buffer)));
  EXPECT_STREQ("abc\r\ndef", buffer);
  memset(buffer, '#', sizeof(buffer));
  EXPECT_EQ(3, edit->SendMessage(WM_GETTEXT, 4, LPARAM(buffer)));
  EXPECT_STREQ("abc", buffer);
  EXPECT_EQ('#', buffer[4]);
  memset(buffer, '#', sizeof(buffer));
  EXPECT_EQ(0, edit->SendMessage(WM_GETTEXT, 0, LPARAM(buffer)));
  EXPECT_EQ('#', buffer[0]);
}

TEST_F(CodeEditTest, BarWidthAndTabCellsFollowTheText) {
  std::string text;
  for (int i = 1; i < 99; ++i) text += "\r\n";
  ASSERT_TRUE(Build(text.c_str(), {"CODEEDIT_SHOWNUMBER=1"}));
  EXPECT_EQ(99, edit->GetLineCount());
  EXPECT_EQ(20, edit->GetBarWidth());
  Caret(98, 0);
  Char(13);
  EXPECT_EQ(24, edit->GetBarWidth());
  ASSERT_TRUE(Build("\tab\r\nx\ty"));
  int row, cell;
  edit->TextToCell(0, 1, &row, &cell);
  EXPECT_EQ(4, cell);
  edit->TextToCell(1, 2, &row, &cell);
  EXPECT_EQ(4, cell);
  EXPECT_EQ(6, edit->LineCellWidth(0, false));
  EXPECT_EQ(3, edit->LineCellWidth(0, true));
  int line, column;
  edit->CellToText(0, 3, &line, &column);
  EXPECT_EQ(0, column);
  edit->CellToText(0, 4, &line, &column);
  EXPECT_EQ(1, column);
}

TEST_F(CodeEditTest, CommentKeysAndRulesAndBuilderKeys) {
  ASSERT_TRUE(Build("first\r\nsecond", {"CODEEDIT_TABSIZE=1", "CODEEDIT_SELECTALL=1",
                                        "CODEEDIT_BACKCOLOR=255", "CODEEDIT_READONLY=1"}));
  EXPECT_EQ(SCodeEditCtrl::KIND, edit->m_kind);
  EXPECT_EQ(2, edit->m_tabSize);
  EXPECT_EQ(COLORREF(255), edit->m_backColorText);
  EXPECT_EQ(COLORREF(0xF5F5F5), edit->m_caretLineColor);  // left out: kept
  EXPECT_TRUE(edit->m_readOnly);
  EXPECT_EQ("first\r\nsecond", Text());
  bool atEnd;
  EXPECT_EQ((std::vector<int>{0, 0, 1, 6}), Selection(&atEnd));
  EXPECT_FALSE(atEnd);

  ASSERT_TRUE(Build("one\r\ntwo", {"CODEEDIT_SINGLELINE=1"}));
  EXPECT_EQ("one", Text());
  Caret(0, 3);
  EXPECT_FALSE(edit->InsertText("a\nb"));
  Char(13);
  EXPECT_EQ("one", Text());
  ASSERT_TRUE(Build("\t\tx\r\n  \t\r\n  //y"));
  edit->SetSelection(0, 0, 2, 5, -1);
  Key('Y', false, true);
  EXPECT_EQ("\t\t//x\r\n  \t\r\n//  //y", Text());
  Key('U', false, true);
  Key('U', false, true);
  EXPECT_EQ("\t\tx\r\n  \t\r\n  y", Text());
}

// --- keys -----------------------------------------------------------------------

TEST_F(CodeEditTest, HomeEnterAndShiftTabFollowTheIndent) {
  ASSERT_TRUE(Build("\t\tx"));
  Caret(0, 3);
  Key(VK_HOME);  // past the tabs, then to column 0
  ExpectCaret(0, 2);
  Key(VK_HOME);
  ExpectCaret(0, 0);
  ASSERT_TRUE(Build("\t\tab", {"CODEEDIT_INDENT=1"}));
  Caret(0, 3);
  Char(13);  // indented like the caret line
  EXPECT_EQ("\t\ta\r\n\t\tb", Text());
  ExpectCaret(1, 2);
  ASSERT_TRUE(Build("\ta\r\n\tb\r\n\tc\r\n\td"));
  edit->SetSelection(1, 0, 3, 0, -1);
  Key(VK_TAB, true);
  EXPECT_EQ("\ta\r\nb\r\nc\r\n\td", Text());
  edit->Undo();
  EXPECT_EQ("\ta\r\n\tb\r\n\tc\r\n\td", Text());
  EXPECT_EQ(4, edit->GetLineCount());
}

TEST_F(CodeEditTest, TypedCharactersAndTheirNotifications) {
  ASSERT_TRUE(Build(""));
  Char(' ', true);  // Ctrl+Space
  Char(0x1E);
  Char(0x1F);
  Char('a');
  Key(VK_RETURN, false, true);  // Ctrl+Enter without the line-break mark
  Char(13, true);
  EXPECT_EQ(
      "\x1F"
      "a",
      Text());
  ASSERT_TRUE(Build("x"));
  Caret(0, 1);
  Char('y');
  EXPECT_EQ((std::vector<UINT>{SWM_CODEEDITCHANGED, SWM_CONTROLCHANGED}), parent.seen);
  parent.seen.clear();
  edit->m_notifyParent = false;
  Key(VK_BACK);
  EXPECT_EQ((std::vector<UINT>{SWM_CODEEDITCHANGED}), parent.seen);
  parent.seen.clear();
  Key(VK_LEFT);
  EXPECT_TRUE(parent.seen.empty());
}

namespace {

void SendFind(SCodeEditCtrl* edit, DWORD flags, const char* find, const char* replace = "") {
  FINDREPLACEA record = {};
  record.lStructSize = sizeof(record);
  record.Flags = flags;
  record.lpstrFindWhat = const_cast<char*>(find);
  record.lpstrReplaceWith = const_cast<char*>(replace);
  edit->SendMessage(g_findReplaceMessage, 0, LPARAM(&record));
}

}  // namespace

TEST_F(CodeEditTest, ReadOnlyRefusesEveryEditPath) {
  ASSERT_TRUE(Build("abc", {"CODEEDIT_READONLY=1"}));
  edit->SetSelection(0, 0, 0, 3, -1);
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::CloseClipboard();
  edit->Copy();
  Char('z');
  Char(13);
  Key(VK_TAB);
  Key(VK_BACK);
  Key('Y', false, true);
  Key(VK_DELETE, true);
  edit->Cut();
  edit->Paste();
  edit->Delete();
  edit->Undo();
  EXPECT_FALSE(edit->ReplaceSelection("q"));
  for (int id = SCodeEditCtrl::MENU_UNDO; id <= SCodeEditCtrl::MENU_DELETE; ++id) {
    edit->SendMessage(SWM_MENUCOMMAND, 0, id);
  }
  strcpy(edit->GetFindState().replaceText, "Q");
  for (DWORD flag : {DWORD(FR_REPLACE), DWORD(FR_REPLACEALL)})
    SendFind(edit, flag | FR_DOWN, "b", "Q");
  EXPECT_EQ("abc", Text());
  EXPECT_TRUE(parent.seen.empty());
  EXPECT_EQ(0, edit->GetUndoCount());
}

// --- undo -----------------------------------------------------------------------

TEST_F(CodeEditTest, UndoKeepsTheLast64ChangesAndRestoresTextAndCaretExactly) {
  ASSERT_TRUE(Build(""));
  for (int i = 0; i < 65; ++i) Char('a' + i % 26);
  EXPECT_EQ(64, edit->GetUndoCount());
  for (int i = 0; i < 70; ++i) edit->Undo();
  EXPECT_EQ("a", Text());
  ASSERT_TRUE(Build("abcd"));
  Caret(0, 2);
  Char(13);
  EXPECT_EQ(2, edit->GetLineCount());
  edit->Undo();
  EXPECT_EQ("abcd", Text());
  ExpectCaret(0, 2);
  for (const char* text : {"1\n2\n3", "1\r\n2\r\n3\r\n", "x\ny\r\n"}) {
    ASSERT_TRUE(Build("head\r\ntail"));
    edit->SetSelection(0, 2, 1, 2, -1);
    EXPECT_TRUE(edit->ReplaceSelection(text));
    edit->Undo();
    EXPECT_EQ("head\r\ntail", Text()) << text;
  }
}

// --- find, replace, go-to --------------------------------------------------------

TEST_F(CodeEditTest, FindDownUpAndAroundAndReplaceAll) {
  ASSERT_TRUE(Build("ab ab\r\nxx AB"));
  struct Row {
    DWORD flags;
    int line, start;
  } rows[] = {
      {FR_DOWN, 0, 0},  // from the caret at (0, 0)
      {FR_DOWN, 0, 3},
      {FR_DOWN, 1, 3},  // case ignored
      {FR_DOWN, 0, 0},  // wraps around
      {FR_DOWN | FR_MATCHCASE, 0, 3},
      {FR_DOWN | FR_MATCHCASE, 0, 0},  // "AB" never matches with case
      {0, 1, 3},                       // up, around to the last line
      {0, 0, 3},                       // up: the nearest match first
      {0, 0, 0},
  };
  for (const Row& row : rows) {
    SendFind(edit, FR_FINDNEXT | row.flags, "ab");
    EXPECT_EQ((std::vector<int>{row.line, row.start, row.line, row.start + 2}), Selection())
        << row.flags;
  }
  Caret(0, 1);
  SendFind(edit, FR_FINDNEXT | FR_DOWN, "none");
  ExpectCaret(0, 1);
  ASSERT_TRUE(Build("aaa"));
  SendFind(edit, FR_REPLACEALL | FR_DOWN, "a", "aa");
  EXPECT_EQ("aaaaaa", Text());
  EXPECT_EQ(3, edit->GetUndoCount());
  EXPECT_EQ((std::vector<UINT>{SWM_CODEEDITCHANGED, SWM_CONTROLCHANGED}), parent.seen);
  SendFind(edit, FR_REPLACE | FR_DOWN, "aa", "b");
  EXPECT_EQ("baaaa", Text());
}

TEST_F(CodeEditTest, SharedFindStateIsSeenByEveryNonLocalEditor) {
  ASSERT_TRUE(Build("one", {"CODEEDIT_FINDREPLACELOCAL=1"}));
  SCodeEditCtrl* local = edit;
  edit = nullptr;
  ASSERT_TRUE(Build("two"));
  SCodeEditCtrl* first = edit;
  edit = nullptr;
  ASSERT_TRUE(Build("three"));
  SendFind(first, FR_FINDNEXT | FR_DOWN, "shared");
  EXPECT_STREQ("shared", edit->GetFindState().findText);
  EXPECT_STREQ("", local->GetFindState().findText);
  delete first;
  delete local;
}

namespace {

SCodeEditCtrl* g_gotoEditor = nullptr;
const char* g_gotoEntry = "";

// Types the entry into the running go-to window and presses Enter.
void CALLBACK TypeGotoLine(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  SCodeEditCtrl::_SWndGoto* window = g_gotoEditor->m_goto;
  if (!window) return;
  window->m_edit.SetText(g_gotoEntry);
  SWnd::StaticWndProc(window->m_hWnd, SWM_MODALRETURN, 0, 1);
}

}  // namespace

TEST_F(CodeEditTest, TheFindDialogIsSeededAndGoToMovesOnlyInRange) {
  std::string long300(300, 'q');
  ASSERT_TRUE(Build(("abc " + long300).c_str()));
  edit->SetSelection(0, 0, 0, 3, -1);
  edit->Find();
  ASSERT_NE(nullptr, edit->m_findDialog);
  EXPECT_STREQ("abc", edit->GetFindState().findText);
  edit->CloseFindDialog();
  edit->SetSelection(0, 4, 0, 304, -1);
  edit->Find();
  EXPECT_EQ(256u, strlen(edit->GetFindState().findText));
  edit->CloseFindDialog();
  EXPECT_EQ(nullptr, edit->m_findDialog);
  ASSERT_TRUE(Build("a\r\nb\r\nc\r\nd"));
  g_gotoEditor = edit;
  struct Row {
    const char* entry;
    int line, column;  // the caret after the run, from (2, 1)
  } rows[] = {{"3", 2, 0}, {"1", 0, 0}, {"0", 2, 1}, {"5", 2, 1}, {"x", 2, 1}};
  for (const Row& row : rows) {
    Caret(2, 1);
    g_gotoEntry = row.entry;
    ::SetTimer(nullptr, 0, 10, TypeGotoLine);
    edit->GoTo();
    ExpectCaret(row.line, row.column);
  }
  EXPECT_EQ(nullptr, edit->m_goto);
}

// --- mouse and caret keys ------------------------------------------------------------

TEST_F(CodeEditTest, MouseClicksAndCaretKeys) {
  ASSERT_TRUE(Build("alpha beta\r\n\tgamma"));
  int h = edit->m_lineHeight, w = edit->m_charWidth;
  int left = edit->GetBarWidth() + edit->m_gap;
  auto at = [&](int cellTimesTwo, int row) {
    return MAKELPARAM(left + cellTimesTwo * w / 2 + 1, row * h + h / 2);
  };
  edit->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(2 * 2 + 1, 0));  // right half of cell 2
  ExpectCaret(0, 3);
  g_shiftDown = true;
  edit->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(2 * 2 + 1, 1));  // right of the tab's middle
  g_shiftDown = false;
  EXPECT_EQ((std::vector<int>{0, 3, 1, 1}), Selection());
  // A right press inside the selection keeps it.
  edit->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at(2 * 6, 0));
  EXPECT_TRUE(edit->HasSelection());
  edit->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(2 * 7, 0));
  edit->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at(2 * 7, 0));
  EXPECT_EQ((std::vector<int>{0, 6, 0, 10}), Selection());
  edit->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, h + h / 2));  // the bar
  EXPECT_EQ((std::vector<int>{1, 0, 1, 6}), Selection());
  ASSERT_TRUE(Build("abcdefghij\r\n\tab\r\nx y_z"));
  Caret(0, 9);
  Key(VK_DOWN);  // cell 9 is past a tab and two letters
  ExpectCaret(1, 3);
  Caret(0, 0);
  Key(VK_LEFT);
  ExpectCaret(0, 0);
  Key(VK_END, false, true);
  ExpectCaret(2, 5);
  Key(VK_RIGHT);
  ExpectCaret(2, 5);
  Caret(2, 2);
  Key(VK_RIGHT, false, true);  // to the end of the word "y_z"
  ExpectCaret(2, 5);
  Key(VK_LEFT, true, true);  // back to the start of the word
  EXPECT_EQ((std::vector<int>{2, 2, 2, 5}), Selection());
}

// --- seeded random edits ----------------------------------------------------------------

namespace {

// The widest line in cells, measured line by line.
int WidestCells(SCodeEditCtrl* edit) {
  int widest = 0;
  for (int i = 0; i < edit->GetLineCount(); ++i) {
    int cells = edit->LineCellWidth(i, false);
    widest = cells > widest ? cells : widest;
  }
  return widest;
}

}  // namespace

TEST_F(CodeEditTest, RandomEditsUndoBackToTheStartAndKeepTheWidestLine) {
  const char* const pieces[] = {"a", "\t", "\n", "\r\n", "xy\nz", "//", " ", "long line text"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    srand(seed);
    ASSERT_TRUE(Build("first line\r\n\tsecond\r\n\r\n  // third\r\nlast"));
    edit->SetRedraw(false);
    std::string start = Text();
    for (int step = 0; step < 40; ++step) {
      int lines = edit->GetLineCount();
      int a = rand() % lines, b = rand() % lines;
      edit->SetSelection(a, rand() % 12, rand() % 3 ? -1 : b, rand() % 12, -1);
      switch (rand() % 7) {
        case 0:
          Char('a' + rand() % 26);
          break;
        case 1:
          Char(13);
          break;
        case 2:
          Key(VK_BACK);
          break;
        case 3:
          Key(VK_TAB, rand() % 2 == 0);
          break;
        case 4:
          edit->Delete();
          break;
        case 5:
          edit->ReplaceSelection(pieces[rand() % 8]);
          break;
        case 6:
          if (rand() % 2)
            edit->CommentSelection();
          else
            edit->UncommentSelection();
          break;
      }
      edit->UpdateScrollBars();
      SCROLLINFO info = {sizeof(info), SIF_RANGE, 0, 0, 0, 0, 0};
      ::GetScrollInfo(edit->m_hWnd, SB_HORZ, &info);
      ASSERT_EQ(WidestCells(edit), info.nMax) << "seed " << seed << " step " << step;
    }
    while (edit->GetUndoCount() > 0) edit->Undo();
    EXPECT_EQ(start, Text()) << "seed " << seed;
  }
}
