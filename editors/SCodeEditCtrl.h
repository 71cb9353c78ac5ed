// The source-text editor control (kind 8, dialog type CODEEDIT).
//
// The text is an array of lines without their line breaks, never empty once
// a text was set (the has-text flag; before that almost every operation does
// nothing). A position is (line, column): column is a byte index into the
// line, 0 to its length. A cell is a screen column: a tab reaches the next
// multiple of the tab size, any other byte takes one cell. Scrolling and
// mouse hits work in cells, the text operations in columns.
//
// Selection: with none, the caret is (start line, start column) and the end
// is (-1, -1). With one, start < end in (line, column) order and
// m_caretAtEnd says which end holds the caret; the other end is the anchor.
//
// The text operations (InsertText, DeleteSelection, DeleteAtCaret,
// Backspace) neither record undo nor notify: the commands that call them do.
// After every change the user made, the control sends SWM_CODEEDITCHANGED
// and then, while m_notifyParent is on, SWM_CONTROLCHANGED to its parent
// (wParam = the control, lParam 0). A read-only editor refuses every edit
// that reaches it through keys, menu, commands, find and replace; the
// window text (WM_SETTEXT) still replaces its text.
//
// Undo keeps snapshots of the changed lines (at most 64, no redo). The find
// state is the control's own, or one shared by every code editor whose
// local-find flag is off.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SClipboard.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "window/SButtonCtrl.h"
#include "window/SEditCtrl.h"
#include "window/SMenu.h"
#include "editors/EditorMessages.h"
#include "window/SWnd.h"

class SFile;

class SCodeEditCtrl : public SWnd {
public:
  enum { KIND = 8 };
  enum { UNDO_LIMIT = 64, FIND_TEXT_SIZE = 257 };
  // Commands of the context menu.
  enum { MENU_UNDO = 1000, MENU_CUT, MENU_COPY, MENU_PASTE, MENU_DELETE, MENU_SELECTALL };
  // Scroll requests, carried out at the next paint.
  enum { SCROLL_NONE = 0, SCROLL_SHOW = 1, SCROLL_CENTRE = 3 };

  // How a key's state is read (negative = down).
  typedef SHORT(WINAPI* KeyStateFunction)(int key);
  // The millisecond clock of the drag's automatic scrolling.
  typedef DWORD(WINAPI* ClockFunction)();

  // One undo snapshot: the saved lines first .. first + count - 1 became the
  // lines first .. first + added; undo puts the saved lines back and the
  // caret at the saved anchor.
  class _SUndo : public SStringArray {
  public:
    int m_first = 0;
    int m_count = 0;
    int m_added = 0;
    int m_caretLine = -1;
    int m_caretColumn = -1;
  };

  // A find state: the control's own or the shared one.
  struct _SFindState {
    char findText[FIND_TEXT_SIZE];
    char replaceText[FIND_TEXT_SIZE];
    bool searchDown;
    bool matchCase;
  };

  // The modal go-to-line window.
  class _SWndGoto : public SWnd {
  public:
    explicit _SWndGoto(SCodeEditCtrl* owner);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SCodeEditCtrl* m_owner;
    SEditCtrl m_edit;
    SButtonCtrl m_ok;
    SButtonCtrl m_cancel;
  };

  SCodeEditCtrl();
  ~SCodeEditCtrl() override;

  // Registers the class with the dialog control factory.
  static bool Register();
  // The process-wide find state (shared by editors without local find).
  static _SFindState& GetSharedFindState();

  // --- edit commands (SWnd slots) ---------------------------------------------
  void Undo() override;
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void Delete() override;
  void SelectAll() override;
  void Find() override;
  void Replace() override;
  void GoTo() override;
  void Print() override;
  void Cancel() override;
  bool OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // --- hooks and overridable operations --------------------------------------
  virtual void SetSelectionAndRedraw(int startLine, int startColumn, int endLine, int endColumn,
                                     int mode, bool centre);
  // Replaces the selection by the text (null: empty) as one undoable edit;
  // the target of Paste.
  virtual bool ReplaceSelection(const char* text);
  virtual void CommentSelection();
  virtual void UncommentSelection();
  // False makes the key handler ignore the key / drops the typed character.
  virtual bool AcceptKey(int key, bool shift, bool control);
  virtual void OnKeyHandled(int key, bool shift, bool control);
  virtual bool AcceptChar(int character);
  // After a typed character or line break was inserted.
  virtual void OnCharTyped(int character);
  // After the selection changed while the control has a text.
  virtual void OnSelectionChanged();
  virtual void UpdateMenuTexts();
  // False suppresses the context menu at that screen point.
  virtual bool AcceptContextMenu(int x, int y);
  // True paints keyword `index`, found at (line, column), as plain text.
  virtual bool SkipKeyword(int index, int line, int column);

  // --- set-up -------------------------------------------------------------------
  // Defaults of font, colours, texts, options and find state; clears the text.
  void ResetDefaults();
  // 0xFF000000 keeps a colour.
  void SetBackColors(COLORREF background, COLORREF caretLine, COLORREF highlight);
  void SetBarColors(COLORREF bar, COLORREF beyond, COLORREF check, COLORREF mark);
  void SetTextColors(COLORREF text, COLORREF keyword, COLORREF string, COLORREF upperWord,
                     COLORREF comment);
  void UpdateLayout();
  int GetBarWidth() const;
  void MakeSingleLine();
  void SetDefaultTexts();
  // The text of the table line with exactly that key; empty when none.
  SString GetDefaultText(const char* key) const;
  // Appends a word to the keyword table.
  void AddKeyword(const char* word, COLORREF color, bool bold);

  // --- text ---------------------------------------------------------------------
  void NewText();
  // Lines end at CR, LF or CR LF (a single-line editor keeps the first).
  // False without a file.
  bool LoadFile(SFile* file);
  // Every line but the last followed by CR LF; the name becomes the
  // document name. False without a file.
  bool SaveToFile(SFile* file, const char* name);
  void ClearText(bool redraw);
  bool HasText() const { return m_hasText; }
  int GetLineCount() const { return m_lines.GetCount(); }
  SString* GetLine(int index);
  // An empty line at the index (outside the lines: appended).
  SString* InsertLine(int index);
  void RemoveLine(int index);
  // Sum of the line lengths plus 2 per line break; 0 without a text.
  int GetTextLength() const;
  // The lines joined with CR LF.
  SString GetWholeText() const;
  int LineCellWidth(int line, bool raw) const;

  // --- selection and editing -----------------------------------------------------
  // Mode 0 puts the caret at the end, 1 at the start, -1 keeps the order's.
  void SetSelection(int startLine, int startColumn, int endLine, int endColumn, int mode);
  void GetSelection(int* startLine, int* startColumn, int* endLine, int* endColumn,
                    bool* caretAtEnd) const;
  bool HasSelection() const;
  // False without a caret.
  bool GetCaret(int* line, int* column) const;
  void SelectWholeText();
  SString GetSelectedText() const;
  bool InsertText(const char* text);
  bool DeleteSelection();
  bool DeleteAtCaret();
  bool Backspace();

  // --- cells and points -------------------------------------------------------------
  void TextToCell(int line, int column, int* row, int* cell) const;
  void CellToText(int row, int cell, int* line, int* column) const;
  void PointToText(int x, int y, int* line, int* column) const;
  void TextToPoint(int line, int column, int* x, int* y) const;

  // --- input -------------------------------------------------------------------------
  void OnKeyDown(int key);
  void OnChar(int character);
  // Moves the caret by n bytes (a line break is one); with extend the anchor stays.
  void MoveByChars(int n, bool extend);
  // The run of word bytes, blanks or one other byte around the column.
  void GetWordBounds(int line, int column, int* start, int* end) const;
  void ResetScroll();
  void UpdateScrollBars();

  // --- painting ------------------------------------------------------------------------
  // One coloured run of a line: bytes [start, end), its kind and the keyword
  // index for a keyword.
  enum RunKind { RUN_PLAIN, RUN_STRING, RUN_COMMENT, RUN_KEYWORD };
  struct Run {
    int start, end;
    RunKind kind;
    int keyword;
  };
  // The runs of a line as painting colours them.
  void ScanLine(int line, SArray<Run>* runs);
  // Every row, or the rows that meet the area.
  void Paint(HDC dc, const RECT* area = nullptr);
  // withBar false leaves the row's bar cell as it is.
  void PaintLine(HDC dc, int row, bool withBar = true);

  // --- undo, comments, find, go-to, print -------------------------------------------
  void PushUndo(int first, int count, int added);
  void DropLastUndo();
  int GetUndoCount() const { return m_undo.GetCount(); }
  bool UndoLast();
  bool CommentLines(bool add, int from, int to);
  bool FindNext(bool fromSelectionStart);
  bool ReplaceCurrent();
  bool ReplaceAll();
  // False when nothing was printed.
  bool PrintText();
  _SFindState& GetFindState();
  void CloseFindDialog();

  // Options and state; read and set by owners and the dialog builder.
  int m_tabSize = 4;
  int m_barWidth = 20;
  int m_gap = 2;
  bool m_indent = true;
  bool m_showLineNumbers = false;
  bool m_commentColoring = false;
  bool m_stringColoring = false;
  bool m_upperWordColoring = false;
  bool m_lineBreakMark = false;
  bool m_readOnly = false;
  bool m_singleLine = false;
  bool m_showVScroll = true;
  bool m_showHScroll = true;
  bool m_notifyParent = true;  // SWM_CONTROLCHANGED after changes
  bool m_localFind = true;
  bool m_wrapAround = true;
  int m_highlightedLine = -1;  // -1 none
  int m_scrollRequest = SCROLL_NONE;
  SString m_documentName;
  SArray<bool> m_checkFlags;  // one per line
  SArray<bool> m_markFlags;
  SStringArray m_keywords;
  SArray<unsigned long> m_keywordColors;
  SArray<bool> m_keywordBold;
  SStringArray m_texts;  // "key=text" lines
  SMenu m_menu;
  _SWndGoto* m_goto = nullptr;  // during the go-to window's run
  HWND m_findDialog = nullptr;
  KeyStateFunction m_keyState = ::GetKeyState;            // Shift and Control
  KeyStateFunction m_asyncKeyState = ::GetAsyncKeyState;  // the button of a drag
  ClockFunction m_clock = ::timeGetTime;
  int m_charWidth = 8, m_lineHeight = 16;

  // Colours (COLORREF).
  COLORREF m_backColorText = 0xFFFFFF, m_caretLineColor = 0xF5F5F5, m_highlightColor = 0x00FFFF;
  COLORREF m_barColor = 0xEDE4D7, m_barBeyondColor = 0xD0D0D0;
  COLORREF m_barCheckColor = 0x0000FF, m_barMarkColor = 0x00C000;
  COLORREF m_textColor = 0x000000, m_keywordColor = 0xFF0000, m_stringColor = 0x808080;
  COLORREF m_upperWordColor = 0x800080, m_commentColor = 0x008000;
  COLORREF m_lineNumberColor = 0x85673B, m_flaggedNumberColor = 0xFFFFFF;

private:
  enum {
    BRUSH_BACK,
    BRUSH_CARETLINE,
    BRUSH_BAR,
    BRUSH_BEYOND,
    BRUSH_CHECK,
    BRUSH_MARK,
    BRUSH_HIGHLIGHT,
    BRUSH_COUNT
  };

  bool Shift() const { return m_keyState(VK_SHIFT) < 0; }
  bool Control() const { return m_keyState(VK_CONTROL) < 0; }
  void SetBrush(int index, COLORREF color);
  void SetDefaultFont();
  void FreeFonts();
  // Both notifications to the parent.
  void NotifyChange();
  // The lines the selection touches (the caret line without one).
  void SelectedLines(int* first, int* last) const;
  // An undo snapshot of the selected lines.
  void PushSelectionUndo(int added);
  // The change notification, scroll request 1 and a redraw.
  void Changed();
  void RequestAndRedraw(int request);
  // Layout again when the digit count of the line count changed.
  void CheckDigits(int oldCount);
  // The widest line in cells, kept up to date by the edits.
  void CountWidth(int cells, int delta);
  void LineEdited(int line);
  void LinesInserted(int index, int count);
  void LinesRemoved(int index, int count);
  int GetWidestCells();
  void InsertLines(int index, int count);
  void RemoveLines(int index, int count);
  int CellOf(const SString& line, int column) const;
  int ColumnOfCell(const SString& line, int cell, bool nearest) const;
  // Keys.
  void MoveCaretTo(int line, int column, bool extend);
  void MoveVertical(int lines, bool extend);
  void InsertTab(bool outdent);
  void InsertLineBreak();
  // Mouse.
  struct _SDrag {
    float vertical, cells;  // the scroll positions, kept as fractions
    DWORD last;             // the clock at the last pass
    bool horizontal;        // the drag scrolls sideways too
  };
  bool DragStep(_SDrag* drag, POINT* point);
  void TrackMouseSelection(int x, int y);
  void ClickText(int x, int y, bool drag);
  void TrackBar(int y);
  void OnDoubleClick(int x, int y);
  void OnRightButton(int x, int y, bool menu);
  void UpdateCursor();
  bool InTextRect(int x, int y) const;
  // Painting.
  // The first line and cell the scroll request would show.
  void ScrollTarget(int* first, int* left);
  void ApplyScrollRequest();
  // Repaints after an edit of lines first .. last (new numbering) that also
  // moved the lines from `at` on (old numbering) by delta lines (inserted
  // when positive, removed when negative). When the view stays where it is,
  // the moved rows are shifted with one blit and only the rows of the edited
  // lines, of the caret and selection before and now and of the highlighted
  // line are painted, straight into the window; else the whole window is
  // repainted.
  void RedrawLines(int first, int last, int at = 0, int delta = 0);
  // Whether rows may be painted straight into the window: it is shown, it
  // draws its own background and no layered parent composes it.
  bool CanPaintRowsNow() const;
  // The view before painting: the scroll bars when the line count or the
  // widest line changed, the scroll request carried out.
  void PrepareView();
  // The caret at its text position and the caret and selection lines noted
  // as painted.
  void NotePainted();
  // Paints the marked rows (0 = the first visible line; a bar mark paints
  // only the row's bar cell, a text mark all but the bar cell) through a
  // one-row buffer into the window (validated when a shift through
  // ScrollWindowEx left them to paint; otherwise a paint still due meets
  // them anyway and paints them alike). With `shifted`, the
  // window's content in that rectangle moves down by dy pixels (up when
  // negative) first, as ScrollWindowEx would move it; the rows it uncovers
  // must be among the marked ones.
  enum { ROW_WHOLE = 1, ROW_BAR = 2, ROW_TEXT = 4 };
  void PaintRowsNow(const SArray<uint8_t>& rows, const RECT* shifted = nullptr, int dy = 0);
  // Moves the window content in the rectangle by dy pixels with one copy
  // inside the window's device context, when that context shows the whole
  // client area and nothing waits to be painted (true); else through
  // ScrollWindowEx, which leaves the uncovered rows to paint (false).
  bool ShiftRows(HDC dc, const RECT& shifted, int dy);
  // Paints the bar cell of a row: bar colour, flags and line number.
  void PaintBar(HDC dc, int row, int line);
  void PlaceCaret(int x, int y);
  // The caret at its text position (parked off the window without one).
  void PlaceCaretAtText();
  // Regular-weight text of one colour not drawn yet: the runs that follow it
  // in that colour join it, so that a line takes one text call per change of
  // colour. Each run still starts on its character cell and its characters
  // follow by the font's advances: dx holds the distance from each character
  // to the next, as separate calls for the runs would place them.
  struct Stroke {
    SString text;
    SArray<INT> dx;
    int x, lastX;  // where the first and the last character stand
    COLORREF color;
    const INT* advances;  // the regular font's advance of each byte
  };
  // Adds a run to the stroke, drawing the stroke first when the run cannot
  // join it (bold runs are drawn alone); DrawStroke draws and empties it.
  void PaintRun(HDC dc, const SString& line, const Run& run, int lineStartX, int y, int* cells,
                Stroke* stroke);
  void DrawStroke(HDC dc, int y, Stroke* stroke);
  // A one-row buffer for PaintRowsNow, made for the current width and line
  // height; null when it cannot be made. PaintRowsNow keeps the text font
  // selected in it and the bold font in its bold twin, which draws bold runs.
  HDC RowBuffer(HDC compatible);
  void FreeRowBuffer();
  // Comments on the selected lines, as one undoable edit.
  void CommentSelected(bool add);
  // Find dialog.
  void OpenFindDialog(bool replace);
  LRESULT OnFindMessage(FINDREPLACEA* record);
  bool SearchLine(int line, int from, int to, bool lastMatch, int* found);

  SClipboard m_clipboard;
  RECT m_clientRect, m_textRect, m_barRect;
  SString m_fontFace = "courier new";
  int m_fontSize = 10;
  HFONT m_font = nullptr, m_boldFont = nullptr, m_numberFont = nullptr;
  // The advance of each byte in m_font, measured when m_advancesFont differs from it.
  HFONT m_advancesFont = nullptr;
  INT m_advances[256] = {};
  HDC m_rowDC = nullptr, m_rowBoldDC = nullptr;  // the bold one over the same pixels
  HANDLE m_rowSection = nullptr;                 // the pixels the two share
  HBITMAP m_rowBitmaps[2] = {};
  int m_rowWidth = 0, m_rowHeight = 0;
  HBRUSH m_brushes[BRUSH_COUNT] = {};
  bool m_hasText = false;
  int m_selStartLine = -1, m_selStartColumn = -1, m_selEndLine = -1, m_selEndColumn = -1;
  bool m_caretAtEnd = true;
  SStringArray m_lines;
  _SFindState m_find;
  FINDREPLACEA m_findRecord;
  SArray<_SUndo*> m_undo;
  int m_undoLimit = UNDO_LIMIT;
  int m_widest = -1;                         // cells of the widest line; -1 = to be measured
  int m_cellsTabSize = 0;                    // the tab size the widths were measured with
  SArray<int> m_lineCells;                   // each line's width in cells
  SArray<int> m_widthCounts;                 // lines per width, for the narrower widths
  SArray<int> m_wideLines;                   // the widths of the very wide lines, sorted
  int m_rangeLines = -1, m_rangeCells = -1;  // what the scroll bars were last set to
  bool m_updatingScroll = false;
  int m_paintedFirst = -1, m_paintedLast = -1;  // caret and selection lines at the last paint
};
