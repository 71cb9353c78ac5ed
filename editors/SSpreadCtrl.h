// The spreadsheet control of dialog type SPREAD: an STable shown as cells
// under a header row of column titles and beside a header column of row
// numbers, with per-cell colours and alignment from the table's attribute
// texts, a multi-cell selection with a current cell, an in-place cell
// editor, a popup menu of row and column commands, and mouse notifications
// to the parent. It has no clipboard and no undo.
//
// Layout, in client pixels: the header row is HEADER_HEIGHT high; the row
// header column is as wide as the row count's decimal text plus 10, at least
// 30. Column widths come from the column's "width" attribute and row heights
// from the row's "height" attribute (decimal; a value below 1, an empty one
// or none means DEFAULT_WIDTH / DEFAULT_HEIGHT). The horizontal scroll
// position is the first visible column, the vertical one the first visible
// row. A cell's drawn rectangle is one pixel narrower and lower than its
// slot, so the background shows between cells.
//
// Cells are addressed (column, row). The selection is a sorted list of cell
// keys, (row << 32) | column: every cell of a table of any size has its own
// key. Inserting or deleting rows and columns and loading keep the keys as
// they are; keys of cells that no longer exist are skipped.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "editors/EditorMessages.h"
#include "editors/STable.h"
#include "window/SEditCtrl.h"
#include "window/SMenu.h"
#include "window/SWnd.h"

#include <stdint.h>

class SFile;

class SSpreadCtrl : public SWnd {
public:
  enum { KIND = 38 };
  enum {
    HEADER_HEIGHT = 20,
    DEFAULT_WIDTH = 80,
    DEFAULT_HEIGHT = 20,
    MIN_ROW_HEADER_WIDTH = 30,
  };
  // The parent hears of each mouse button message through SWM_SPREADMOUSE
  // (the record valid during the call) and of changed cells (a stored edit,
  // the Delete command) through SWM_CONTROLCHANGED.
  // Popup menu command ids; 1000 (no item) is Undo.
  enum {
    CMD_UNDO = 1000,
    CMD_CUT,
    CMD_COPY,
    CMD_PASTE,
    CMD_DELETE,
    CMD_SELECTALL,
    CMD_INSERTROW,
    CMD_INSERTCOLUMN,
    CMD_DELETEROW,
    CMD_DELETECOLUMN,
  };
  // HitTest results.
  enum { HIT_NOTHING, HIT_CORNER, HIT_COLUMN_HEADER, HIT_ROW_HEADER, HIT_CELL };

  // The in-place editor: an EDIT child over one cell while it is edited.
  // Enter or the loss of the focus stores its text into the cell, Escape
  // closes it without storing; it closes once.
  class _SEditCtrl : public SEditCtrl {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Stores the text (when asked) and the grid tells its parent; then the
    // window goes. Nothing once closed.
    void EndEdit(bool store);

    SSpreadCtrl* m_owner = nullptr;
    int m_column = -1;
    int m_row = -1;
    bool m_closed = false;
  };

  typedef uint64_t CellKey;
  static CellKey MakeKey(int column, int row) {
    return (uint64_t(uint32_t(row)) << 32) | uint32_t(column);
  }
  static int KeyColumn(CellKey key) { return int(uint32_t(key)); }
  static int KeyRow(CellKey key) { return int(uint32_t(key >> 32)); }

  SSpreadCtrl();
  ~SSpreadCtrl() override;

  // Registers the class with the dialog control factory for type SPREAD.
  static bool Register();

  // Edit commands: Delete clears the selected cells and tells the parent;
  // SelectAll selects every cell. The others do nothing.
  void Delete() override;
  void SelectAll() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Layout.
  int GetRowHeaderWidth();
  // The column's "width" attribute as a decimal number (0 when absent).
  int GetColumnWidthValue(int column) const;
  int GetColumnWidth(int column) const;
  int GetRowHeight(int row) const;
  // The drawn rectangles of the visible cells, row by row, left to right,
  // and how many columns and rows are visible.
  void GetVisibleCellRects(SArray<RECT>* rects, int* columns, int* rows);
  // False unless the cell is visible.
  bool GetCellRect(int column, int row, RECT* rect);
  // One of the HIT_ values, with the column and row hit (-1 where none).
  int HitTest(int x, int y, int* column, int* row);

  // Painting into a context (the background is the toolkit's).
  void PaintCells(HDC dc);
  void PaintCell(HDC dc, const RECT& rect, int row, int column, const SStringArray& items);
  // The value of a key among a cell's attribute items (STable's lookup).
  static SString GetCellAttribute(const SStringArray& items, const char* key) {
    return STable::FindAttribute(items, key);
  }

  // Cells.
  bool CellExists(int column, int row) const;
  // Empty for a missing cell.
  SString GetCellText(int column, int row) const;
  // Ignored unless the cell exists; repaints.
  void SetCellText(int column, int row, const char* text);

  // Selection; each repaints when it changes something.
  void SelectCell(int column, int row);
  // The first corner must exist; a second coordinate below 0 or past the end
  // means the last column or row.
  void SelectRange(int column1, int row1, int column2, int row2);
  void AddCellToSelection(int column, int row);
  void AddRangeToSelection(int column1, int row1, int column2, int row2);
  void RemoveCellFromSelection(int column, int row);
  void ClearSelectedCells();
  bool IsSelected(int column, int row);
  // The current cell's column and row; -1 while nothing is selected.
  int GetCurrentColumn() const;
  int GetCurrentRow() const;

  // Input.
  void OnMouse(int x, int y, bool press, bool doubleClick);
  void UpdateHorzScrollBar();
  void UpdateVertScrollBar();

  // Editing, commands and loading.
  void BeginEdit(int column, int row);
  int InsertColumn(int index);
  int InsertRow(int index);
  void DeleteColumn(int index);
  // The column's "title" becomes empty and its "width" "0".
  void ResetColumnWidth(const char* column);
  // On success the first cell becomes the selection when there is one.
  bool LoadFile(SFile* file);

  COLORREF m_headerTextColor;
  COLORREF m_windowColor;
  COLORREF m_highlightColor;
  COLORREF m_cellTextColor;
  COLORREF m_highlightTextColor;
  HBRUSH m_headerBrush;
  HBRUSH m_windowBrush;
  HBRUSH m_highlightBrush;
  SMenu m_menu;
  STable m_table;
  SArray<CellKey> m_selection;  // sorted ascending, no duplicates
  CellKey m_current;            // meaningful while the selection is not empty
  _SEditCtrl m_editor;
  // The parent hears of changes (SWM_CONTROLCHANGED) while this is set.
  bool m_notifyParent;
  // The modifier keys held now: 1 Shift, 2 Control (GetModifierKeys).
  int (*m_modifierKeys)();

private:
  // After creation: command mask, popup menu, background, scroll steps and
  // bars.
  void SetUp();
  // The visible columns and rows from the first visible ones: start and size
  // of each, in pixels (x, y of the points).
  void GetVisibleSpans(SArray<POINT>* columns, SArray<POINT>* rows);
  int FirstVisibleColumn() const;
  int FirstVisibleRow() const;
  void Repaint();
  void UpdateScrollBars();
  void NotifyChanged();
  void OnCommand(int id);
  void OnKeyDown(WPARAM key);
  // The keys of the rectangle, sorted, into keys.
  bool RangeKeys(int column1, int row1, int column2, int row2, SArray<CellKey>* keys);
};
