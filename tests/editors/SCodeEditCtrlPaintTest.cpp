#include "core/Platform.h"
#include "editors/SCodeEditCtrl.h"

#include "tests/editors/CodeEditTestSupport.h"
#include "tests/support/GdiTestSupport.h"

#include <string>

namespace {

typedef SCodeEditCtrl::Run Run;

// "kind:text" of each run.
std::string Describe(SCodeEditCtrl* edit, int line) {
  static const char* const kinds[] = {"plain", "string", "comment", "keyword"};
  SArray<Run> runs;
  edit->ScanLine(line, &runs);
  SString text = *edit->GetLine(line);
  std::string out;
  for (int i = 0; i < runs.GetCount(); ++i) {
    SString part = text.Mid(runs[i].start, runs[i].end - runs[i].start);
    out += std::string(kinds[runs[i].kind]) + ":" + (part.GetText() ? part.GetText() : "") + "|";
  }
  return out;
}

uint32_t Rgb(COLORREF color) {
  return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

}  // namespace

TEST_F(CodeEditTest, ScannerSplitsLinesIntoRuns) {
  ASSERT_TRUE(Build("x = \"a//b\"\r\na // b\r\n\"open\r\nint n; // c"));
  edit->AddKeyword("int", 0xFF0000, true);
  edit->m_commentColoring = true;
  EXPECT_EQ("plain:x|plain: = |string:\"a//b\"|", Describe(edit, 0));
  EXPECT_EQ("plain:a|plain: |comment:// b|", Describe(edit, 1));
  EXPECT_EQ("string:\"open|", Describe(edit, 2));
  EXPECT_EQ("keyword:int|plain: |plain:n|plain:; |comment:// c|", Describe(edit, 3));
  edit->m_commentColoring = false;
  EXPECT_EQ("plain:a|plain: |plain:/|plain:/ |plain:b|", Describe(edit, 1));
}

TEST_F(CodeEditTest, PaintsRowBackgroundsBarAndSelection) {
  ASSERT_TRUE(Build("ab\r\ncd\r\n   z\r\nMAX_2    Max _2"));
  edit->m_upperWordColoring = true;
  edit->m_highlightedLine = 1;
  RECT client;
  ::GetClientRect(edit->m_hWnd, &client);
  Dib32 canvas(client.right, client.bottom);
  int h = edit->m_lineHeight, w = edit->m_charWidth;
  int left = edit->GetBarWidth() + edit->m_gap;
  auto paint = [&]() {
    canvas.Fill(0x123456);
    edit->SendMessage(WM_PRINTCLIENT, WPARAM(canvas.GetDC()), PRF_CLIENT);
  };

  Caret(0, 0);
  paint();
  int right = client.right - 2;
  EXPECT_EQ(Rgb(edit->m_caretLineColor), canvas.Rgb(right, h / 2));
  EXPECT_EQ(Rgb(edit->m_highlightColor), canvas.Rgb(right, h + h / 2));
  EXPECT_EQ(Rgb(edit->m_backColorText), canvas.Rgb(right, 2 * h + h / 2));
  EXPECT_EQ(Rgb(edit->m_barColor), canvas.Rgb(2, h / 2));
  EXPECT_EQ(Rgb(edit->m_barBeyondColor), canvas.Rgb(2, 4 * h + h / 2));
  int upper = 0, upperInMax = 0;
  for (int y = 3 * h; y < 4 * h; ++y) {
    for (int x = left; x < left + 5 * w; ++x) upper += canvas.Rgb(x, y) == Rgb(0x800080);
    for (int x = left + 9 * w; x < left + 15 * w; ++x)
      upperInMax += canvas.Rgb(x, y) == Rgb(0x800080);
  }
  EXPECT_GT(upper, 0);
  EXPECT_EQ(0, upperInMax);

  // A selection from (0, 1) to (2, 0): line 0 from column 1 with half a
  // character for its line break, nothing on line 2.
  edit->m_highlightedLine = -1;
  edit->SetSelection(0, 1, 2, 0, -1);
  paint();
  EXPECT_EQ(0xFFFFFFu ^ Rgb(edit->m_backColorText), canvas.Rgb(left + 2 * w + w / 4, h / 2));
  EXPECT_EQ(Rgb(edit->m_backColorText), canvas.Rgb(left + 2 * w + 3 * w / 4, h / 2));
  EXPECT_EQ(Rgb(edit->m_backColorText), canvas.Rgb(left + 1, 2 * h + h / 2));
}

TEST_F(CodeEditTest, ScrolledTabShowsTheRestOfItsBlanks) {
  ASSERT_TRUE(Build(("\tx" + std::string(100, ' ')).c_str()));
  edit->SetHScrollPos(2);
  ASSERT_EQ(2, ::GetScrollPos(edit->m_hWnd, SB_HORZ));
  edit->m_textColor = 0x0000FF;
  RECT client;
  ::GetClientRect(edit->m_hWnd, &client);
  Dib32 canvas(client.right, client.bottom);
  PrintAt(&canvas, 0, 0);
  int h = edit->m_lineHeight, w = edit->m_charWidth;
  int left = edit->GetBarWidth() + edit->m_gap;
  int inBlanks = 0, inX = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = left; x < left + 2 * w; ++x) inBlanks += canvas.Rgb(x, y) == 0xFF0000;
    for (int x = left + 2 * w; x < left + 3 * w; ++x) inX += canvas.Rgb(x, y) == 0xFF0000;
  }
  EXPECT_EQ(0, inBlanks);
  EXPECT_GT(inX, 0);
}

namespace {

// What the window shows, read back from its client area.
void Capture(SWnd* wnd, Dib32* canvas) {
  HDC dc = ::GetDC(wnd->m_hWnd);
  ::BitBlt(canvas->GetDC(), 0, 0, canvas->Width(), canvas->Height(), dc, 0, 0, SRCCOPY);
  ::ReleaseDC(wnd->m_hWnd, dc);
}

// The first pixel where the two differ, as "x,y"; empty when none.
std::string FirstDifference(const Dib32& a, const Dib32& b) {
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Rgb(x, y) != b.Rgb(x, y)) return std::to_string(x) + "," + std::to_string(y);
    }
  }
  return "";
}

// Forty lines of coloured text, line numbers shown.
std::string NumberedText() {
  std::string text;
  for (int i = 0; i < 40; ++i) {
    text += "\tline " + std::to_string(i) + " = call(\"s\", " + std::to_string(i * 7) +
            "); // note\r\n";
  }
  return text;
}

// One keystroke at a place of the text.
struct KeyStep {
  const char* name;
  int line, column;  // column -1: the line's end
  bool key;          // a key press, else a typed character
  int code;
};

}  // namespace

// Each run of a line starts on its character cell whatever the colours of
// the runs around it, in a proportional font too: the line in many colours
// inks the same pixels (those not of the background) as in one colour,
// scrolled or not.
TEST_F(CodeEditTest, ColouredRunsKeepTheLinesGlyphsOnTheirCells) {
  const char* lines[] = {
      "\tint value = call(\"a // b\", MAX_2); // done",
      "x=int\t\"s\"  MAX  //",
  };
  for (const char* line : lines) {
    for (int scroll : {0, 3}) {
      std::string inks[2];
      for (int coloured = 0; coloured < 2; ++coloured) {
        ASSERT_TRUE(Build((std::string(line) + std::string(80, ' ') + "\r\nz").c_str()));
        edit->m_textColor = edit->m_commentColor = 0x204060;
        edit->m_commentColoring = true;
        if (coloured) {
          edit->m_stringColoring = edit->m_upperWordColoring = true;
          edit->m_commentColor = 0x008000;
          edit->m_stringColor = 0x800000;
          edit->m_upperWordColor = 0x800080;
          edit->AddKeyword("int", 0x0000FF, false);
          edit->AddKeyword("call", 0x00A0A0, false);
        }
        edit->SetHScrollPos(scroll);
        RECT client;
        ::GetClientRect(edit->m_hWnd, &client);
        Dib32 canvas(client.right, client.bottom);
        PrintAt(&canvas, 1, 0);
        uint32_t back = Rgb(edit->m_backColorText);
        for (int y = 0; y < edit->m_lineHeight; ++y) {
          for (int x = 0; x < client.right; ++x)
            inks[coloured] += canvas.Rgb(x, y) == back ? '.' : '#';
        }
      }
      EXPECT_EQ(inks[0], inks[1]) << line << " scrolled by " << scroll;
    }
  }
}

TEST_F(CodeEditTest, KeystrokesRepaintTheirRowsAsAWholeRepaintWould) {
  ASSERT_TRUE(Build(NumberedText().c_str(),
                    {"CODEEDIT_SHOWNUMBER=1", "CODEEDIT_COMMENT=1", "CODEEDIT_STRINGS=1"}));
  edit->AddKeyword("call", 0xC00000, true);
  edit->m_checkFlags[15] = true;
  edit->m_markFlags[16] = true;
  edit->m_highlightedLine = 12;
  // No caret blinks in the pictures: the parent keeps the focus.
  ::SetFocus(parent.m_hWnd);
  edit->SetScrollPos(4);
  RECT client;
  ::GetClientRect(edit->m_hWnd, &client);
  Dib32 after(client.right, client.bottom), whole(client.right, client.bottom);

  const KeyStep steps[] = {
      {"typed character", 6, 3, false, 'Q'},
      {"Enter inside a line", 7, 5, false, 13},
      {"Enter at a line's end", 9, -1, false, 13},
      {"Enter at a line's start", 13, 0, false, 13},
      {"Backspace joining two lines", 11, 0, true, VK_BACK},
      {"Backspace joining below the highlight", 14, 0, true, VK_BACK},
  };
  for (const KeyStep& step : steps) {
    Caret(step.line, step.column < 0 ? edit->GetLine(step.line)->GetLength() : step.column);
    edit->Redraw();
    Press(step.key, step.code);
    EXPECT_EQ(4, ::GetScrollPos(edit->m_hWnd, SB_VERT)) << step.name;
    RECT pending;
    EXPECT_FALSE(::GetUpdateRect(edit->m_hWnd, &pending, FALSE)) << step.name << ": left to paint";
    Capture(edit, &after);
    edit->Redraw();
    Capture(edit, &whole);
    EXPECT_EQ("", FirstDifference(after, whole)) << step.name;
  }
  EXPECT_TRUE(edit->m_checkFlags[16]);  // three breaks above it, two joins
}

// With the editor focused, a keystroke's rows and the caret stay in step:
// the window shows what a whole repaint shows, caret included, and hiding
// the caret then leaves exactly a whole repaint without it.
TEST_F(CodeEditTest, KeystrokesKeepTheCaretInStepWithTheirRows) {
  ASSERT_TRUE(Build(NumberedText().c_str(),
                    {"CODEEDIT_SHOWNUMBER=1", "CODEEDIT_COMMENT=1", "CODEEDIT_STRINGS=1"}));
  edit->AddKeyword("call", 0xC00000, true);
  edit->m_highlightedLine = 12;
  // Flags on split lines: their rows' bar cells change.
  edit->m_checkFlags[7] = true;
  edit->m_markFlags[13] = true;
  ::SetFocus(edit->m_hWnd);
  ASSERT_EQ(edit->m_hWnd, ::GetFocus());
  edit->SetScrollPos(4);
  RECT client;
  ::GetClientRect(edit->m_hWnd, &client);
  Dib32 after(client.right, client.bottom), afterHidden(client.right, client.bottom);
  Dib32 whole(client.right, client.bottom), wholeHidden(client.right, client.bottom);

  const KeyStep steps[] = {
      {"typed character", 6, 3, false, 'Q'},
      {"typed character at a line's start", 8, 0, false, 'x'},
      {"Enter inside a line", 7, 5, false, 13},
      {"Enter at a line's start", 13, 0, false, 13},
      {"Backspace inside a line", 9, 4, true, VK_BACK},
      {"Backspace joining two lines", 11, 0, true, VK_BACK},
      {"caret down", 10, 2, true, VK_DOWN},
      {"caret right", 10, 2, true, VK_RIGHT},
  };
  for (const KeyStep& step : steps) {
    Caret(step.line, step.column);
    edit->Redraw();
    Press(step.key, step.code);
    ASSERT_EQ(4, ::GetScrollPos(edit->m_hWnd, SB_VERT)) << step.name;
    Capture(edit, &after);
    ::HideCaret(edit->m_hWnd);
    Capture(edit, &afterHidden);
    ::ShowCaret(edit->m_hWnd);
    edit->Redraw();
    Capture(edit, &whole);
    ::HideCaret(edit->m_hWnd);
    Capture(edit, &wholeHidden);
    ::ShowCaret(edit->m_hWnd);
    EXPECT_EQ("", FirstDifference(afterHidden, wholeHidden)) << step.name;
    EXPECT_EQ("", FirstDifference(after, whole)) << step.name;
    EXPECT_NE("", FirstDifference(after, afterHidden)) << step.name << ": no caret shown";
  }
}

// A sibling window over the middle of the editor: Enter above it moves rows
// out from under it, whose pixels are the sibling's. Once the paint still
// due is done, the editor shows what a whole repaint shows.
TEST_F(CodeEditTest, RowsMovedFromUnderASiblingAreRepainted) {
  ASSERT_TRUE(Build(NumberedText().c_str(), {"CODEEDIT_SHOWNUMBER=1"}));
  ::SetWindowLongA(edit->m_hWnd, GWL_STYLE,
                   ::GetWindowLongA(edit->m_hWnd, GWL_STYLE) | WS_CLIPSIBLINGS);
  ::SetFocus(parent.m_hWnd);
  int h = edit->m_lineHeight;
  RECT over = {0, 5 * h, 300, 8 * h};
  SWnd cover;
  ASSERT_TRUE(cover.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, &over, parent.m_hWnd));
  cover.SetBackColor(0x00FF00);
  ::SetWindowPos(cover.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::UpdateWindow(parent.m_hWnd);
  RECT client;
  ::GetClientRect(edit->m_hWnd, &client);
  Dib32 after(client.right, client.bottom), whole(client.right, client.bottom);
  for (int line : {2, 3}) {
    Caret(line, 3);
    edit->Redraw();
    ::UpdateWindow(cover.m_hWnd);
    Char(13);
    ::UpdateWindow(edit->m_hWnd);
    Capture(edit, &after);
    edit->Redraw();
    Capture(edit, &whole);
    EXPECT_EQ("", FirstDifference(after, whole)) << "Enter on line " << line;
  }
  ::DestroyWindow(cover.m_hWnd);
}

// A row still waiting for its paint when Enter above it moves it down: the
// paint due moves along with it.
TEST_F(CodeEditTest, RowsWaitingForTheirPaintMoveWithTheText) {
  ASSERT_TRUE(Build(NumberedText().c_str(), {"CODEEDIT_SHOWNUMBER=1"}));
  ::SetFocus(parent.m_hWnd);
  Caret(3, 3);
  edit->Redraw();
  RECT client;
  ::GetClientRect(edit->m_hWnd, &client);
  // Line 6 changes (same length) and is only marked for repainting.
  SString* changed = edit->GetLine(6);
  changed->Delete(1, 4);
  changed->Insert("LINE", 1);
  RECT row = {0, 6 * edit->m_lineHeight, client.right, 7 * edit->m_lineHeight};
  ::InvalidateRect(edit->m_hWnd, &row, TRUE);
  Char(13);
  ::UpdateWindow(edit->m_hWnd);
  Dib32 after(client.right, client.bottom), whole(client.right, client.bottom);
  Capture(edit, &after);
  edit->Redraw();
  Capture(edit, &whole);
  EXPECT_EQ("", FirstDifference(after, whole));
}

// The scroll bars follow the text and the options: shown while the text
// needs them, hidden by an option or when the text fits, shown again when a
// longer text comes.
TEST_F(CodeEditTest, ScrollBarsFollowTheTextAndTheirOptions) {
  std::string longText = NumberedText() + std::string(200, 'w');
  ASSERT_TRUE(Build(longText.c_str()));
  auto shown = [&](DWORD bar) { return (::GetWindowLongA(edit->m_hWnd, GWL_STYLE) & bar) != 0; };
  struct Case {
    bool showV, showH;
    const char* text;  // null: the text stays
    bool v, h;         // the bars expected
  } cases[] = {
      {true, true, nullptr, true, true},          {true, true, nullptr, true, true},
      {false, true, nullptr, false, true},        {false, true, "short", false, false},
      {true, true, longText.c_str(), true, true}, {true, false, nullptr, true, false},
      {true, true, "short", false, false},        {true, true, nullptr, false, false},
  };
  int step = 0;
  for (const Case& c : cases) {
    edit->m_showVScroll = c.showV;
    edit->m_showHScroll = c.showH;
    if (c.text) ::SetWindowTextA(edit->m_hWnd, c.text);
    edit->UpdateScrollBars();
    EXPECT_EQ(c.v, shown(WS_VSCROLL)) << "step " << step;
    EXPECT_EQ(c.h, shown(WS_HSCROLL)) << "step " << step;
    ++step;
  }
}
