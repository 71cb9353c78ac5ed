// SCodeEditCtrl: construction, defaults, the dialog builder's keys and the
// text model (lines, selection, editing operations, window text).
#include "core/Platform.h"
#include "editors/SCodeEditCtrl.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "core/Utility.h"
#include "window/ControlFactory.h"
#include "window/SDialogEditor.h"

namespace {

const COLORREF kKeep = 0xFF000000;
// Widths in cells below this are counted in a table, wider ones listed.
const int kWidthTableSize = 4096;

// The text table, in this order.
const char* const kDefaultTexts[] = {
    "#GENERAL=General",
    "#CODE=Code",
    "#FIND=Find...",
    "#REPLACE=Replace...",
    "#GOTO=Go To...",
    "#PRINT=Print...",
    "#CANCEL=Cancel",
    "@UNDO=Undo",
    "@CUT=Cut",
    "@COPY=Copy",
    "@PASTE=Paste",
    "@DELETE=Delete",
    "@SELECTALL=Select All",
};

// The context menu: command, text key, shortcut, separator after it.
struct MenuRow {
  int id;
  const char* key;
  const char* shortcut;
  bool separator;
};
const MenuRow kMenuRows[] = {
    {SCodeEditCtrl::MENU_UNDO, "@UNDO", "\tCtrl+Z", true},
    {SCodeEditCtrl::MENU_CUT, "@CUT", "\tCtrl+X", false},
    {SCodeEditCtrl::MENU_COPY, "@COPY", "\tCtrl+C", false},
    {SCodeEditCtrl::MENU_PASTE, "@PASTE", "\tCtrl+V", false},
    {SCodeEditCtrl::MENU_DELETE, "@DELETE", "\tDel", true},
    {SCodeEditCtrl::MENU_SELECTALL, "@SELECTALL", "\tCtrl+A", false},
};

SCodeEditCtrl::_SFindState g_sharedFind;
bool g_sharedFindReady = false;

void ResetFindState(SCodeEditCtrl::_SFindState* state) {
  state->findText[0] = 0;
  state->replaceText[0] = 0;
  state->searchDown = true;
  state->matchCase = false;
}

COLORREF Pick(COLORREF value, COLORREF current) { return value == kKeep ? current : value; }

// --- the dialog builder's keys ------------------------------------------------

typedef SDialogEditor::_SCtrl Record;
typedef SDialogEditor E;

bool Flag(const Record* r, const char* key) { return E::GetPropertyBool(r, key); }
COLORREF Color(const Record* r, const char* key) { return E::GetPropertyColor(r, key); }

// The boolean keys, applied in this order before the colours.
struct FlagKey {
  const char* key;
  bool SCodeEditCtrl::*option;
};
const FlagKey kFlagKeys[] = {
    {"CODEEDIT_BR", &SCodeEditCtrl::m_lineBreakMark},
    {"CODEEDIT_COMMENT", &SCodeEditCtrl::m_commentColoring},
    {"CODEEDIT_FINDREPLACELOCAL", &SCodeEditCtrl::m_localFind},
    {"CODEEDIT_INDENT", &SCodeEditCtrl::m_indent},
    {"CODEEDIT_SINGLELINE", &SCodeEditCtrl::m_singleLine},
    {"CODEEDIT_STRINGS", &SCodeEditCtrl::m_stringColoring},
    {"CODEEDIT_UPPERWORDS", &SCodeEditCtrl::m_upperWordColoring},
    {"CODEEDIT_SHOWNUMBER", &SCodeEditCtrl::m_showLineNumbers},
    {"CODEEDIT_READONLY", &SCodeEditCtrl::m_readOnly},
};

void ConfigureCodeEdit(SWnd* control, const Record* r, SResource* archive, bool) {
  SCodeEditCtrl* edit = static_cast<SCodeEditCtrl*>(control);
  for (const FlagKey& row : kFlagKeys) {
    edit->*row.option = Flag(r, row.key);
    if (row.option == &SCodeEditCtrl::m_singleLine && edit->m_singleLine) edit->MakeSingleLine();
  }
  edit->SetBackColors(Color(r, "CODEEDIT_BACKCOLOR"), Color(r, "CODEEDIT_BACKFOCUSCOLOR"),
                      Color(r, "CODEEDIT_HIGHLIGHTCOLOR"));
  edit->SetBarColors(Color(r, "CODEEDIT_BARCOLOR"), Color(r, "CODEEDIT_BARGRAYCOLOR"),
                     Color(r, "CODEEDIT_BARCHECKCOLOR"), Color(r, "CODEEDIT_BARMARKCOLOR"));
  edit->SetTextColors(Color(r, "CODEEDIT_TEXTCOLOR"), Color(r, "CODEEDIT_TEXTKEYCOLOR"),
                      Color(r, "CODEEDIT_TEXTSTRCOLOR"), Color(r, "CODEEDIT_TEXTUPCOLOR"),
                      Color(r, "CODEEDIT_TEXTCOMMENTCOLOR"));
  if (E::GetProperty(r, "CODEEDIT_BARWIDTH").GetLength() > 0) {
    edit->m_barWidth = E::GetPropertyInt(r, "CODEEDIT_BARWIDTH");
    edit->UpdateLayout();
  }
  if (E::GetProperty(r, "CODEEDIT_TABSIZE").GetLength() > 0) {
    int size = E::GetPropertyInt(r, "CODEEDIT_TABSIZE");
    edit->m_tabSize = size < 2 ? 2 : size;
  }
  SString name = E::GetProperty(r, "CODEEDIT_FILE");
  if (archive && name.GetLength() > 0) {
    SFileMem file;
    if (archive->Load(&file, name.GetText(), true)) edit->LoadFile(&file);
  }
  if (!edit->HasText()) {
    edit->NewText();
    edit->SetText(r->m_caption.GetText() ? r->m_caption.GetText() : "");
  }
  if (Flag(r, "CODEEDIT_SELECTALL")) edit->SelectWholeText();
}

SWnd* ConstructCodeEdit() { return new SCodeEditCtrl; }

const SDialogControlClass kCodeEditClass = {ConstructCodeEdit, ConfigureCodeEdit, nullptr};

// The lines of a text: bytes up to CR, LF or CR LF each; a break at the end
// leaves an empty last line.
template <class F>
void ForEachLine(const char* text, int length, F add) {
  int start = 0;
  for (int i = 0; i < length; ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    add(text + start, i - start);
    if (c == '\r' && i + 1 < length && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  add(text + start, length - start);
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction

SCodeEditCtrl::_SFindState& SCodeEditCtrl::GetSharedFindState() { return g_sharedFind; }

bool SCodeEditCtrl::Register() {
  return RegisterDialogControlClass(SDialogEditor::TYPE_CODEEDIT, &kCodeEditClass);
}

SCodeEditCtrl::SCodeEditCtrl() {
  m_kind = KIND;
  memset(&m_clientRect, 0, sizeof(m_clientRect));
  m_textRect = m_barRect = m_clientRect;
  memset(&m_findRecord, 0, sizeof(m_findRecord));
  m_numberFont = CreateFontByStyle("verdana", 7, 0);
  ResetFindState(&m_find);
  if (!g_sharedFindReady) {
    ResetFindState(&g_sharedFind);
    g_sharedFindReady = true;
  }
}

SCodeEditCtrl::~SCodeEditCtrl() {
  CloseFindDialog();
  delete m_goto;
  m_goto = nullptr;
  ResetDefaults();
  FreeFonts();
  FreeRowBuffer();
  if (m_numberFont) ::DeleteObject(m_numberFont);
  for (HBRUSH& brush : m_brushes) {
    if (brush) ::DeleteObject(brush);
    brush = nullptr;
  }
  m_undo.DeleteAndRemoveAll();
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void SCodeEditCtrl::FreeFonts() {
  // The row buffers keep the fonts selected between paints.
  for (HDC dc : {m_rowDC, m_rowBoldDC}) {
    if (dc) ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
  }
  if (m_font) ::DeleteObject(m_font);
  if (m_boldFont) ::DeleteObject(m_boldFont);
  m_font = m_boldFont = nullptr;
  m_advancesFont = nullptr;
}

void SCodeEditCtrl::SetDefaultFont() {
  FreeFonts();
  m_fontFace = "courier new";
  m_fontSize = 10;
  m_font = CreateFontByStyle(m_fontFace.GetText(), m_fontSize, 0);
  m_boldFont = CreateFontByStyle(m_fontFace.GetText(), m_fontSize, FONT_BOLD);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, m_font);
  TEXTMETRICA metrics;
  if (::GetTextMetricsA(dc, &metrics)) {
    m_charWidth = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    m_lineHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  if (m_hWnd) CreateCaret(m_lineHeight);
}

void SCodeEditCtrl::SetBrush(int index, COLORREF color) {
  if (m_brushes[index]) ::DeleteObject(m_brushes[index]);
  m_brushes[index] = ::CreateSolidBrush(color);
}

void SCodeEditCtrl::ResetDefaults() {
  ClearText(false);
  ResetScroll();
  SetDefaultFont();
  m_backColorText = 0xFFFFFF;
  m_caretLineColor = 0xF5F5F5;
  m_highlightColor = 0x00FFFF;
  m_barColor = 0xEDE4D7;
  m_barBeyondColor = 0xD0D0D0;
  m_barCheckColor = 0x0000FF;
  m_barMarkColor = 0x00C000;
  SetBackColors(m_backColorText, m_caretLineColor, m_highlightColor);
  SetBarColors(m_barColor, m_barBeyondColor, m_barCheckColor, m_barMarkColor);
  SetTextColors(0x000000, 0xFF0000, 0x808080, 0x800080, 0x008000);
  SetDefaultTexts();
  m_tabSize = 4;
  m_barWidth = 20;
  m_gap = 2;
  m_indent = true;
  m_showLineNumbers = m_commentColoring = m_stringColoring = m_upperWordColoring = false;
  m_lineBreakMark = m_readOnly = false;
  m_singleLine = false;
  m_showVScroll = m_showHScroll = true;
  m_keywords.DeleteAndRemoveAll();
  m_keywordColors.RemoveAll();
  m_keywordBold.RemoveAll();
  ResetFindState(&m_find);
  m_wrapAround = true;
  CloseFindDialog();
  if (m_goto) m_goto->CancelModal();
  UpdateLayout();
}

void SCodeEditCtrl::SetBackColors(COLORREF background, COLORREF caretLine, COLORREF highlight) {
  m_backColorText = Pick(background, m_backColorText);
  m_caretLineColor = Pick(caretLine, m_caretLineColor);
  m_highlightColor = Pick(highlight, m_highlightColor);
  SetBrush(BRUSH_BACK, m_backColorText);
  SetBrush(BRUSH_CARETLINE, m_caretLineColor);
  SetBrush(BRUSH_HIGHLIGHT, m_highlightColor);
}

void SCodeEditCtrl::SetBarColors(COLORREF bar, COLORREF beyond, COLORREF check, COLORREF mark) {
  m_barColor = Pick(bar, m_barColor);
  m_barBeyondColor = Pick(beyond, m_barBeyondColor);
  m_barCheckColor = Pick(check, m_barCheckColor);
  m_barMarkColor = Pick(mark, m_barMarkColor);
  SetBrush(BRUSH_BAR, m_barColor);
  SetBrush(BRUSH_BEYOND, m_barBeyondColor);
  SetBrush(BRUSH_CHECK, m_barCheckColor);
  SetBrush(BRUSH_MARK, m_barMarkColor);
}

void SCodeEditCtrl::SetTextColors(COLORREF text, COLORREF keyword, COLORREF string,
                                  COLORREF upperWord, COLORREF comment) {
  m_textColor = Pick(text, m_textColor);
  m_keywordColor = Pick(keyword, m_keywordColor);
  m_stringColor = Pick(string, m_stringColor);
  m_upperWordColor = Pick(upperWord, m_upperWordColor);
  m_commentColor = Pick(comment, m_commentColor);
  m_lineNumberColor = 0x85673B;
  m_flaggedNumberColor = 0xFFFFFF;
}

int SCodeEditCtrl::GetBarWidth() const {
  if (!m_showLineNumbers) return m_barWidth;
  int digits = CountDigits(m_lines.GetCount());
  return m_barWidth > 8 * digits ? m_barWidth : 8 * digits;
}

void SCodeEditCtrl::UpdateLayout() {
  if (m_hWnd) ::GetClientRect(m_hWnd, &m_clientRect);
  int bar = GetBarWidth();
  m_barRect = {0, 0, bar, m_clientRect.bottom};
  m_textRect = {bar + m_gap, 0, m_clientRect.right, m_clientRect.bottom};
}

void SCodeEditCtrl::MakeSingleLine() {
  if (m_lines.GetCount() > 1) RemoveLines(1, m_lines.GetCount() - 1);
  Redraw();
}

void SCodeEditCtrl::SetDefaultTexts() {
  m_texts.DeleteAndRemoveAll();
  for (const char* line : kDefaultTexts) m_texts.Add(line);
  if (m_hWnd && !m_menu.m_hMenu) {
    m_menu.CreatePopup(m_hWnd);
    for (const MenuRow& row : kMenuRows) {
      m_menu.AddItem(row.id, "");
      if (row.separator) m_menu.AddSeparator(0);
    }
  }
  for (const MenuRow& row : kMenuRows) {
    m_menu.SetItemText(row.id, (GetDefaultText(row.key) + row.shortcut).GetText());
  }
}

SString SCodeEditCtrl::GetDefaultText(const char* key) const {
  size_t length = strlen(key);
  for (int i = 0; i < m_texts.GetCount(); ++i) {
    const char* line = m_texts[i]->GetText();
    if (line && strncmp(line, key, length) == 0 && line[length] == '=') return line + length + 1;
  }
  return SString("");
}

void SCodeEditCtrl::AddKeyword(const char* word, COLORREF color, bool bold) {
  m_keywords.Add(word);
  m_keywordColors.Add(color);
  m_keywordBold.Add(bold);
}

// ---------------------------------------------------------------------------
// Lines

SString* SCodeEditCtrl::GetLine(int index) {
  return index >= 0 && index < m_lines.GetCount() ? m_lines[index] : nullptr;
}

void SCodeEditCtrl::InsertLines(int index, int count) {
  if (count < 1) return;
  if (index < 0 || index > m_lines.GetCount()) index = m_lines.GetCount();
  m_lines.Add("", index, count);
  m_checkFlags.InsertAt(false, index, count);
  m_markFlags.InsertAt(false, index, count);
  LinesInserted(index, count);
}

void SCodeEditCtrl::RemoveLines(int index, int count) {
  if (index < 0 || count < 1 || index >= m_lines.GetCount()) return;
  if (count > m_lines.GetCount() - index) count = m_lines.GetCount() - index;
  m_lines.RemoveAndDelete(index, count);
  m_checkFlags.RemoveAt(index, count);
  m_markFlags.RemoveAt(index, count);
  LinesRemoved(index, count);
}

SString* SCodeEditCtrl::InsertLine(int index) {
  if (m_singleLine && m_lines.GetCount() >= 1) return m_lines[0];
  if (index < 0 || index > m_lines.GetCount()) index = m_lines.GetCount();
  InsertLines(index, 1);
  return m_lines[index];
}

void SCodeEditCtrl::RemoveLine(int index) {
  if (index < 0 || index >= m_lines.GetCount()) return;
  if (m_lines.GetCount() == 1) {
    m_lines[0]->Set("");
    LineEdited(0);
    return;
  }
  RemoveLines(index, 1);
}

// The widest line. Every line's width in cells is kept with a count of the
// lines of each width (narrow widths in a table, the few very wide ones in
// a sorted list), so that an edit updates the widest width in a few steps.
// A width of -1 means everything is measured again at the next request.
void SCodeEditCtrl::CountWidth(int cells, int delta) {
  if (cells >= kWidthTableSize) {
    if (delta > 0) {
      m_wideLines.InsertSorted(cells);
    } else {
      int index = m_wideLines.FindSorted(cells);
      if (index >= 0) m_wideLines.RemoveAt(index);
    }
  } else {
    if (m_widthCounts.GetCount() <= cells) {
      int old = m_widthCounts.GetCount();
      m_widthCounts.Resize(cells + 1);
      for (int i = old; i <= cells; ++i) m_widthCounts[i] = 0;
    }
    m_widthCounts[cells] += delta;
  }
  if (delta > 0 && cells > m_widest) m_widest = cells;
  if (delta > 0 || cells != m_widest) return;
  if (m_wideLines.GetCount() > 0) {
    m_widest = m_wideLines.GetLast();
    return;
  }
  int top = m_widthCounts.GetCount() - 1;
  while (top > 0 && m_widthCounts[top] == 0) --top;
  m_widest = top > 0 ? top : 0;
}

void SCodeEditCtrl::LineEdited(int line) {
  if (m_widest < 0 || line < 0 || line >= m_lineCells.GetCount()) return;
  int cells = LineCellWidth(line, false);
  int old = m_lineCells[line];
  if (cells == old) return;
  m_lineCells[line] = cells;
  CountWidth(cells, 1);
  CountWidth(old, -1);
}

void SCodeEditCtrl::LinesInserted(int index, int count) {
  if (m_widest < 0) return;
  m_lineCells.InsertAt(0, index, count);
  for (int i = 0; i < count; ++i) CountWidth(0, 1);
}

void SCodeEditCtrl::LinesRemoved(int index, int count) {
  if (m_widest < 0) return;
  for (int i = index; i < index + count; ++i) CountWidth(m_lineCells[i], -1);
  m_lineCells.RemoveAt(index, count);
}

int SCodeEditCtrl::GetWidestCells() {
  if (m_widest >= 0 && m_cellsTabSize == m_tabSize) return m_widest;
  m_cellsTabSize = m_tabSize;
  m_widest = 0;
  m_widthCounts.RemoveAll();
  m_wideLines.RemoveAll();
  m_lineCells.SetSize(m_lines.GetCount(), false);
  for (int i = 0; i < m_lines.GetCount(); ++i) {
    m_lineCells[i] = LineCellWidth(i, false);
    CountWidth(m_lineCells[i], 1);
  }
  return m_widest;
}

int SCodeEditCtrl::LineCellWidth(int line, bool raw) const {
  if (line < 0 || line >= m_lines.GetCount()) return 0;
  const SString& text = *m_lines[line];
  return raw ? text.GetLength() : CellOf(text, text.GetLength());
}

int SCodeEditCtrl::CellOf(const SString& line, int column) const {
  const char* p = line.GetText();
  if (column > line.GetLength()) column = line.GetLength();
  int cell = 0;
  for (int i = 0; i < column; ++i)
    cell = p[i] == '\t' ? (cell / m_tabSize + 1) * m_tabSize : cell + 1;
  return cell;
}

// The first column whose running cell position passes the cell. With
// nearest the cell is counted in half cells, and one in the right half of a
// byte's span takes the column after it.
int SCodeEditCtrl::ColumnOfCell(const SString& line, int cell, bool nearest) const {
  const char* p = line.GetText();
  int position = 0;
  for (int i = 0; i < line.GetLength(); ++i) {
    int next = p[i] == '\t' ? (position / m_tabSize + 1) * m_tabSize : position + 1;
    if (nearest ? cell < position + next : cell < next) return i;
    position = next;
  }
  return line.GetLength();
}

int SCodeEditCtrl::GetTextLength() const {
  if (!m_hasText) return 0;
  int length = 2 * (m_lines.GetCount() - 1);
  for (int i = 0; i < m_lines.GetCount(); ++i) length += m_lines[i]->GetLength();
  return length;
}

SString SCodeEditCtrl::GetWholeText() const {
  SString text("");
  if (!m_hasText) return text;
  text.SetLength(GetTextLength(), false);
  char* out = const_cast<char*>(text.GetText());
  for (int i = 0; i < m_lines.GetCount(); ++i) {
    if (i > 0) {
      *out++ = '\r';
      *out++ = '\n';
    }
    memcpy(out, m_lines[i]->GetText(), m_lines[i]->GetLength());
    out += m_lines[i]->GetLength();
  }
  return text;
}

// ---------------------------------------------------------------------------
// Whole texts

void SCodeEditCtrl::ClearText(bool redraw) {
  if (!m_hasText) return;
  CloseFindDialog();
  m_documentName = "";
  m_highlightedLine = -1;
  ResetScroll();
  m_selStartLine = m_selStartColumn = m_selEndLine = m_selEndColumn = -1;
  m_caretAtEnd = true;
  m_lines.DeleteAndRemoveAll();
  m_checkFlags.RemoveAll();
  m_markFlags.RemoveAll();
  if (m_goto) m_goto->CancelModal();
  m_undo.DeleteAndRemoveAll();
  m_widest = -1;
  if (redraw) Redraw();
}

void SCodeEditCtrl::NewText() {
  ClearText(false);
  InsertLines(0, 1);
  m_hasText = true;
  m_widest = -1;
  SetSelection(0, 0, -1, -1, 0);
  UpdateLayout();
  Redraw();
}

bool SCodeEditCtrl::LoadFile(SFile* file) {
  if (!file) return false;
  ClearText(false);
  SString text = file->ReadString(-1);
  const char* bytes = text.GetText() ? text.GetText() : "";
  int count = 0;
  ForEachLine(bytes, text.GetLength(), [&count](const char*, int) { ++count; });
  m_lines.Add("", -1, count);
  int index = 0;
  ForEachLine(bytes, text.GetLength(), [this, &index](const char* start, int length) {
    SString* line = m_lines[index++];
    line->SetLength(length, false);
    memcpy(const_cast<char*>(line->GetText()), start, length);
  });
  m_checkFlags.InsertAt(false, 0, m_lines.GetCount());
  m_markFlags.InsertAt(false, 0, m_lines.GetCount());
  m_widest = -1;
  // A single-line editor keeps the first line.
  if (m_singleLine) RemoveLines(1, m_lines.GetCount() - 1);
  m_hasText = true;
  m_selStartLine = m_selStartColumn = m_selEndLine = m_selEndColumn = -1;
  SetSelection(0, 0, -1, -1, 0);
  UpdateLayout();
  Redraw();
  return true;
}

bool SCodeEditCtrl::SaveToFile(SFile* file, const char* name) {
  if (!file) return false;
  int count = m_lines.GetCount();
  for (int i = 0; i + 1 < count; ++i)
    file->WriteLine(m_lines[i]->GetText() ? m_lines[i]->GetText() : "");
  if (count > 0)
    file->WriteText(m_lines[count - 1]->GetText() ? m_lines[count - 1]->GetText() : "");
  m_documentName = name ? name : "";
  return true;
}

// ---------------------------------------------------------------------------
// Selection

void SCodeEditCtrl::SetSelection(int startLine, int startColumn, int endLine, int endColumn,
                                 int mode) {
  int v[4] = {startLine, startColumn, endLine, endColumn};
  int count = m_lines.GetCount();
  for (int i = 0; i < 4; ++i) {
    if (v[i] < 0) v[i] = -1;
    if ((i == 0 || i == 2) && v[i] >= count) v[i] = count - 1;
  }
  bool atEnd = true;
  if (v[0] == -1 || v[1] == -1 || v[2] == -1 || v[3] == -1) {
    v[2] = v[3] = -1;
  } else if (v[0] > v[2] || (v[0] == v[2] && v[1] > v[3])) {
    int line = v[0], column = v[1];
    v[0] = v[2];
    v[1] = v[3];
    v[2] = line;
    v[3] = column;
    atEnd = false;
  } else if (v[0] == v[2] && v[1] == v[3]) {
    v[2] = v[3] = -1;
  }
  if (mode == 0) atEnd = true;
  if (mode == 1) atEnd = false;
  for (int i = 0; i < 4; i += 2) {
    if (v[i] >= 0 && v[i + 1] > m_lines[v[i]]->GetLength()) v[i + 1] = m_lines[v[i]]->GetLength();
  }
  bool changed = v[0] != m_selStartLine || v[1] != m_selStartColumn || v[2] != m_selEndLine ||
                 v[3] != m_selEndColumn || atEnd != m_caretAtEnd;
  m_selStartLine = v[0];
  m_selStartColumn = v[1];
  m_selEndLine = v[2];
  m_selEndColumn = v[3];
  m_caretAtEnd = atEnd;
  if (changed && m_hasText) OnSelectionChanged();
}

void SCodeEditCtrl::GetSelection(int* startLine, int* startColumn, int* endLine, int* endColumn,
                                 bool* caretAtEnd) const {
  bool unset = m_selStartLine < 0 || m_selStartColumn < 0;
  bool none = unset || !HasSelection();
  *startLine = unset ? -1 : m_selStartLine;
  *startColumn = unset ? -1 : m_selStartColumn;
  *endLine = none ? *startLine : m_selEndLine;
  *endColumn = none ? *startColumn : m_selEndColumn;
  if (caretAtEnd) *caretAtEnd = unset ? true : m_caretAtEnd;
}

bool SCodeEditCtrl::HasSelection() const {
  return m_selStartLine != -1 && m_selStartColumn != -1 && m_selEndLine != -1 &&
         m_selEndColumn != -1;
}

bool SCodeEditCtrl::GetCaret(int* line, int* column) const {
  if (m_selStartLine < 0 || m_selStartColumn < 0) return false;
  bool end = HasSelection() && m_caretAtEnd;
  *line = end ? m_selEndLine : m_selStartLine;
  *column = end ? m_selEndColumn : m_selStartColumn;
  return true;
}

void SCodeEditCtrl::SelectWholeText() {
  if (!m_hasText) return;
  int last = m_lines.GetCount() - 1;
  SetSelection(0, 0, last, m_lines[last]->GetLength(), 1);
}

SString SCodeEditCtrl::GetSelectedText() const {
  SString text("");
  if (!HasSelection()) return text;
  for (int line = m_selStartLine; line <= m_selEndLine; ++line) {
    const SString& s = *m_lines[line];
    int from = line == m_selStartLine ? m_selStartColumn : 0;
    int to = line == m_selEndLine ? m_selEndColumn : s.GetLength();
    if (line > m_selStartLine) text += "\r\n";
    text += s.Mid(from, to - from);
  }
  return text;
}

// ---------------------------------------------------------------------------
// Editing

void SCodeEditCtrl::CheckDigits(int oldCount) {
  if (m_showLineNumbers && CountDigits(oldCount) != CountDigits(m_lines.GetCount())) UpdateLayout();
}

bool SCodeEditCtrl::InsertText(const char* text) {
  if (!text) text = "";
  if (m_singleLine && strchr(text, '\n')) return false;
  DeleteSelection();
  int line, column;
  if (!GetCaret(&line, &column)) return false;
  int oldCount = m_lines.GetCount();

  // Pieces between "\n"s, each without a CR just before its "\n".
  int pieces = 1;
  for (const char* p = text; *p; ++p) pieces += *p == '\n';
  SString tail;
  if (pieces > 1) {
    tail = m_lines[line]->Mid(column);
    m_lines[line]->SetLength(column, true);
    InsertLines(line + 1, pieces - 1);
  }
  int lastLength = 0;
  const char* start = text;
  for (int i = 0; i < pieces; ++i) {
    const char* end = strchr(start, '\n');
    if (!end) end = start + strlen(start);
    int length = int(end - start);
    if (length > 0 && start[length - 1] == '\r') --length;
    SString piece;
    piece.SetLength(length, false);
    memcpy(const_cast<char*>(piece.GetText()), start, length);
    SString* target = m_lines[line + i];
    target->Insert(piece.GetText(), i == 0 ? column : 0);
    lastLength = length;
    start = *end ? end + 1 : end;
  }
  if (pieces > 1) *m_lines[line + pieces - 1] += tail;
  for (int i = 0; i < pieces; ++i) LineEdited(line + i);
  if (pieces == 1) {
    SetSelection(line, column + lastLength, -1, -1, 0);
  } else {
    SetSelection(line + pieces - 1, lastLength, -1, -1, 0);
  }
  CheckDigits(oldCount);
  return true;
}

bool SCodeEditCtrl::DeleteSelection() {
  if (!HasSelection()) return false;
  int oldCount = m_lines.GetCount();
  int startLine = m_selStartLine, startColumn = m_selStartColumn;
  int endLine = m_selEndLine, endColumn = m_selEndColumn;
  SString* first = m_lines[startLine];
  if (startLine == endLine) {
    first->Delete(startColumn, endColumn - startColumn);
  } else {
    SString rest = m_lines[endLine]->Mid(endColumn);
    first->SetLength(startColumn, true);
    *first += rest;
    RemoveLines(startLine + 1, endLine - startLine);
  }
  LineEdited(startLine);
  SetSelection(startLine, startColumn, -1, -1, 0);
  CheckDigits(oldCount);
  return true;
}

bool SCodeEditCtrl::DeleteAtCaret() {
  if (HasSelection()) return DeleteSelection();
  int line, column;
  if (!GetCaret(&line, &column)) return false;
  SString* text = m_lines[line];
  if (column < text->GetLength()) {
    text->Delete(column, 1);
    LineEdited(line);
    return true;
  }
  if (line + 1 >= m_lines.GetCount()) return false;
  int oldCount = m_lines.GetCount();
  *text += *m_lines[line + 1];
  RemoveLines(line + 1, 1);
  LineEdited(line);
  SetSelection(line, column, -1, -1, 0);
  CheckDigits(oldCount);
  return true;
}

bool SCodeEditCtrl::Backspace() {
  if (HasSelection()) return DeleteSelection();
  int line, column;
  if (!GetCaret(&line, &column)) return false;
  if (column > 0) {
    m_lines[line]->Delete(column - 1, 1);
    LineEdited(line);
    SetSelection(line, column - 1, -1, -1, 0);
    return true;
  }
  if (line == 0) return false;
  int oldCount = m_lines.GetCount();
  SString* previous = m_lines[line - 1];
  int end = previous->GetLength();
  *previous += *m_lines[line];
  RemoveLines(line, 1);
  LineEdited(line - 1);
  SetSelection(line - 1, end, -1, -1, 0);
  CheckDigits(oldCount);
  return true;
}

bool SCodeEditCtrl::ReplaceSelection(const char* text) {
  if (!m_hasText || m_readOnly) return false;
  if (!text) text = "";
  // The inserted text breaks lines at every LF, so its line count does too.
  int added = 0;
  for (const char* p = text; *p; ++p) added += *p == '\n';
  PushSelectionUndo(added);
  if (!InsertText(text)) {
    DropLastUndo();
    return false;
  }
  Changed();
  return true;
}

// ---------------------------------------------------------------------------
// Notifications and small shared steps

void SCodeEditCtrl::NotifyChange() {
  NotifyParent(SWM_CODEEDITCHANGED, reinterpret_cast<WPARAM>(this), 0);
  if (m_notifyParent) NotifyParent(SWM_CONTROLCHANGED, reinterpret_cast<WPARAM>(this), 0);
}

void SCodeEditCtrl::RequestAndRedraw(int request) {
  m_scrollRequest = request;
  Redraw();
}

void SCodeEditCtrl::Changed() {
  NotifyChange();
  RequestAndRedraw(SCROLL_SHOW);
}

void SCodeEditCtrl::SelectedLines(int* first, int* last) const {
  int line, column;
  if (!GetCaret(&line, &column)) {
    *first = *last = -1;
    return;
  }
  *first = m_selStartLine;
  *last = HasSelection() ? m_selEndLine : m_selStartLine;
}

void SCodeEditCtrl::PushSelectionUndo(int added) {
  int first, last;
  SelectedLines(&first, &last);
  PushUndo(first, last - first + 1, added);
}

// ---------------------------------------------------------------------------
// Hooks (the class's own behaviour)

void SCodeEditCtrl::SetSelectionAndRedraw(int startLine, int startColumn, int endLine,
                                          int endColumn, int mode, bool centre) {
  SetSelection(startLine, startColumn, endLine, endColumn, mode);
  RequestAndRedraw(centre ? SCROLL_CENTRE : SCROLL_SHOW);
}

bool SCodeEditCtrl::AcceptKey(int, bool, bool) { return true; }
void SCodeEditCtrl::OnKeyHandled(int, bool, bool) {}
bool SCodeEditCtrl::AcceptChar(int) { return true; }
void SCodeEditCtrl::OnCharTyped(int) {}
void SCodeEditCtrl::OnSelectionChanged() {}
// No tool panel is attached to the control, so there are no panel texts to set.
void SCodeEditCtrl::UpdateMenuTexts() {}
bool SCodeEditCtrl::AcceptContextMenu(int, int) { return true; }
bool SCodeEditCtrl::SkipKeyword(int, int, int) { return false; }
