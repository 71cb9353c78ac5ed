// A grid of pane windows separated by raised bars. Dragging a bar moves space
// between the two neighbouring columns (or rows) only; their sum stays.
// Growing the splitter gives the extra space to the last column and row,
// shrinking it cuts columns and rows from the end. Every message of a pane
// passes OnChildMessage first. Mouse button events reach the parent as
// SWM_SPLITTERMOUSE records.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "window/SWnd.h"

class SSplitterCtrl : public SWnd {
public:
  // A pane: its messages go to the splitter's OnChildMessage first. Windows
  // shown in a pane belong to the caller: when the pane goes they are hidden
  // and taken out of it, not destroyed.
  class _SWnd : public SWnd {
  public:
    explicit _SWnd(SSplitterCtrl* owner) : m_owner(owner), m_self(this) {}
    ~_SWnd() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SSplitterCtrl* m_owner;
    _SWnd* m_self;
  };

  SSplitterCtrl();
  ~SSplitterCtrl() override;

  // columns x rows new panes of equal size; false (the old grid kept) unless
  // both are 1 to 32 and the splitter has a window.
  bool SetGrid(int columns, int rows);
  void FreePanes();
  // The pane of column c and row r; null outside the grid.
  _SWnd* GetPane(int column, int row);
  RECT PaneRect(int column, int row);
  // Cuts or extends the sizes to the usable client size, then places the
  // panes.
  void FitSizes();
  void PlacePanes();
  // The bar under the point: column bars first (0 to columns - 2), then row
  // bars (columns - 1 onwards); -1 for none.
  int HitBar(POINT point);
  RECT BarRect(int bar);
  // Moves the bar by d pixels from the sizes a and b of its neighbours at
  // the press; the panes are placed again.
  void DragBar(int bar, int a, int b, int d);
  // The sizes of the two neighbours after a drag of d from a and b: d past
  // the next bar gives (a + b, 0), past the previous one (0, a + b).
  static void DragSizes(int a, int b, int d, int* first, int* second);

  // Every message of a pane; false ends it with *result.
  virtual bool OnChildMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* result);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  COLORREF m_paneColor;
  int m_barWidth, m_barHeight;
  SArray<_SWnd*> m_panes;  // row by row
  SArray<int> m_widths;
  SArray<int> m_heights;
  int m_columns, m_rows;

private:
  void GetUsableSize(int* width, int* height);
  void PaintBars(HDC dc);
  // The press on a bar: the drag runs until the left button is released.
  void TrackBar(int bar, POINT press);
  void UpdateCursor();
};
