// SSpreadCtrl: construction, layout, hit testing, cells, selection, mouse,
// keys, scroll bars and the message procedure.
#include "core/Platform.h"
#include "editors/SSpreadCtrl.h"

#include "core/SKeyboard.h"
#include "core/Utility.h"
#include "editors/EditorWindow.h"
#include "window/FrameworkMessages.h"

#include <limits.h>

namespace {

const int kWheelStep = 5;
const int kMaxSize = 0x7FFF;
const UINT kRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
const int kShift = 1;
const int kControl = 2;

// A width or height value: below 1 (also from an empty or absent
// attribute) the default.
int SizeOrDefault(int value, int fallback) {
  if (value < 1) return fallback;
  return value > kMaxSize ? kMaxSize : value;
}

struct ArrowKey {
  WPARAM key;
  int dx, dy;
};
const ArrowKey kArrowKeys[] = {{VK_LEFT, -1, 0}, {VK_UP, 0, -1}, {VK_RIGHT, 1, 0}, {VK_DOWN, 0, 1}};

bool Inside(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x < right && y >= top && y < bottom;
}

}  // namespace

SSpreadCtrl::SSpreadCtrl()
    : m_headerTextColor(::GetSysColor(COLOR_BTNTEXT)),
      m_windowColor(::GetSysColor(COLOR_WINDOW)),
      m_highlightColor(::GetSysColor(COLOR_HIGHLIGHT)),
      m_cellTextColor(::GetSysColor(COLOR_BTNTEXT)),
      m_highlightTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_headerBrush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))),
      m_windowBrush(::CreateSolidBrush(m_windowColor)),
      m_highlightBrush(::CreateSolidBrush(m_highlightColor)),
      m_current(0),
      m_notifyParent(true),
      m_modifierKeys(&GetModifierKeys) {
  m_kind = KIND;
}

SSpreadCtrl::~SSpreadCtrl() {
  // An open editor goes without storing into a table that is going away.
  m_editor.m_closed = true;
  if (m_editor.m_hWnd) ::DestroyWindow(m_editor.m_hWnd);
  ::DeleteObject(m_headerBrush);
  ::DeleteObject(m_windowBrush);
  ::DeleteObject(m_highlightBrush);
}

void SSpreadCtrl::Repaint() { Redraw(nullptr, kRepaint); }

// --- layout -------------------------------------------------------------------

int SSpreadCtrl::GetRowHeaderWidth() {
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  SIZE size = MeasureText(font, SString::FromInt(m_table.GetRowCount()).GetText());
  int width = size.cx + 10;
  return width < MIN_ROW_HEADER_WIDTH ? MIN_ROW_HEADER_WIDTH : width;
}

int SSpreadCtrl::GetColumnWidthValue(int column) const {
  STable::_SField* field = m_table.GetField(column);
  if (!field) return 0;
  return STable::ReadNumber(STable::GetAttribute(field->Attributes.GetText(), "width").GetText());
}

int SSpreadCtrl::GetColumnWidth(int column) const {
  return SizeOrDefault(GetColumnWidthValue(column), DEFAULT_WIDTH);
}

int SSpreadCtrl::GetRowHeight(int row) const {
  return SizeOrDefault(STable::ReadNumber(m_table.GetRowHeight(row).GetText()), DEFAULT_HEIGHT);
}

void SSpreadCtrl::GetVisibleSpans(SArray<POINT>* columns, SArray<POINT>* rows) {
  columns->RemoveAll();
  rows->RemoveAll();
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  int x = GetRowHeaderWidth();
  for (int c = FirstVisibleColumn(); c < m_table.GetFieldCount() && x < client.right; ++c) {
    POINT span = {x, GetColumnWidth(c)};
    columns->Add(span);
    x += span.y;
  }
  int y = HEADER_HEIGHT;
  for (int r = FirstVisibleRow(); r < m_table.GetRowCount() && y < client.bottom; ++r) {
    POINT span = {y, GetRowHeight(r)};
    rows->Add(span);
    y += span.y;
  }
}

int SSpreadCtrl::FirstVisibleColumn() const {
  int first = m_hWnd ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0;
  return first < 0 ? 0 : first;
}

int SSpreadCtrl::FirstVisibleRow() const {
  int first = m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
  return first < 0 ? 0 : first;
}

void SSpreadCtrl::GetVisibleCellRects(SArray<RECT>* rects, int* columns, int* rows) {
  SArray<POINT> xs, ys;
  GetVisibleSpans(&xs, &ys);
  rects->RemoveAll();
  for (int r = 0; r < ys.GetCount(); ++r) {
    for (int c = 0; c < xs.GetCount(); ++c) {
      RECT rect = {xs[c].x, ys[r].x, xs[c].x + xs[c].y - 1, ys[r].x + ys[r].y - 1};
      rects->Add(rect);
    }
  }
  if (columns) *columns = xs.GetCount();
  if (rows) *rows = ys.GetCount();
}

bool SSpreadCtrl::GetCellRect(int column, int row, RECT* rect) {
  SArray<RECT> rects;
  int columns = 0, rows = 0;
  GetVisibleCellRects(&rects, &columns, &rows);
  int c = column - FirstVisibleColumn();
  int r = row - FirstVisibleRow();
  if (c < 0 || c >= columns || r < 0 || r >= rows) return false;
  if (rect) *rect = rects[r * columns + c];
  return true;
}

int SSpreadCtrl::HitTest(int x, int y, int* column, int* row) {
  *column = -1;
  *row = -1;
  int header = GetRowHeaderWidth();
  if (x > 0 && x < header && y >= 1 && y <= HEADER_HEIGHT - 1) return HIT_CORNER;
  SArray<POINT> xs, ys;
  GetVisibleSpans(&xs, &ys);
  int firstColumn = FirstVisibleColumn();
  int firstRow = FirstVisibleRow();
  for (int c = 0; c < xs.GetCount(); ++c) {
    if (Inside(x, y, xs[c].x, 0, xs[c].x + xs[c].y, HEADER_HEIGHT)) {
      *column = firstColumn + c;
      return HIT_COLUMN_HEADER;
    }
  }
  for (int r = 0; r < ys.GetCount(); ++r) {
    int top = ys[r].x, bottom = ys[r].x + ys[r].y;
    if (Inside(x, y, 0, top, header, bottom)) {
      *row = firstRow + r;
      return HIT_ROW_HEADER;
    }
    for (int c = 0; c < xs.GetCount(); ++c) {
      if (Inside(x, y, xs[c].x, top, xs[c].x + xs[c].y, bottom)) {
        *column = firstColumn + c;
        *row = firstRow + r;
        return HIT_CELL;
      }
    }
  }
  return HIT_NOTHING;
}

// --- cells ----------------------------------------------------------------------

bool SSpreadCtrl::CellExists(int column, int row) const {
  return column >= 0 && column < m_table.GetFieldCount() && row >= 0 && row < m_table.GetRowCount();
}

SString SSpreadCtrl::GetCellText(int column, int row) const {
  if (!CellExists(column, row)) return SString("");
  return m_table.GetField(column)->Values.Get(row);
}

void SSpreadCtrl::SetCellText(int column, int row, const char* text) {
  if (!CellExists(column, row)) return;
  m_table.GetField(column)->Values[row]->Set(text);
  Repaint();
}

// --- selection ------------------------------------------------------------------

int SSpreadCtrl::GetCurrentColumn() const {
  return m_selection.GetCount() > 0 ? KeyColumn(m_current) : -1;
}

int SSpreadCtrl::GetCurrentRow() const {
  return m_selection.GetCount() > 0 ? KeyRow(m_current) : -1;
}

bool SSpreadCtrl::IsSelected(int column, int row) {
  return m_selection.FindSorted(MakeKey(column, row)) >= 0;
}

bool SSpreadCtrl::RangeKeys(int column1, int row1, int column2, int row2, SArray<CellKey>* keys) {
  if (!CellExists(column1, row1)) return false;
  int columns = m_table.GetFieldCount(), rows = m_table.GetRowCount();
  if (column2 < 0 || column2 >= columns) column2 = columns - 1;
  if (row2 < 0 || row2 >= rows) row2 = rows - 1;
  int left = column1 < column2 ? column1 : column2, right = column1 < column2 ? column2 : column1;
  int top = row1 < row2 ? row1 : row2, bottom = row1 < row2 ? row2 : row1;
  int64_t count = int64_t(right - left + 1) * (bottom - top + 1);
  if (count > INT_MAX / int(sizeof(CellKey))) return false;
  keys->SetSize(int(count), false);
  int i = 0;
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) (*keys)[i++] = MakeKey(c, r);
  }
  return true;
}

void SSpreadCtrl::SelectCell(int column, int row) {
  if (!CellExists(column, row)) return;
  m_selection.RemoveAll();
  m_current = MakeKey(column, row);
  m_selection.Add(m_current);
  Repaint();
}

void SSpreadCtrl::SelectRange(int column1, int row1, int column2, int row2) {
  SArray<CellKey> keys;
  if (!RangeKeys(column1, row1, column2, row2, &keys)) return;
  m_selection = keys;
  m_current = keys[0];
  Repaint();
}

void SSpreadCtrl::AddCellToSelection(int column, int row) {
  if (!CellExists(column, row) || IsSelected(column, row)) return;
  m_current = MakeKey(column, row);
  m_selection.InsertSorted(m_current);
  Repaint();
}

void SSpreadCtrl::AddRangeToSelection(int column1, int row1, int column2, int row2) {
  SArray<CellKey> keys;
  if (!RangeKeys(column1, row1, column2, row2, &keys)) return;
  // Both lists are sorted: one merge pass, each key once.
  SArray<CellKey> merged;
  merged.SetSize(m_selection.GetCount() + keys.GetCount(), false);
  int n = 0, i = 0, j = 0;
  while (i < m_selection.GetCount() || j < keys.GetCount()) {
    CellKey next;
    if (j >= keys.GetCount() || (i < m_selection.GetCount() && m_selection[i] < keys[j])) {
      next = m_selection[i++];
    } else {
      next = keys[j++];
    }
    if (n == 0 || merged[n - 1] != next) merged[n++] = next;
  }
  merged.SetSize(n, true);
  m_selection = merged;
  m_current = keys[0];
  Repaint();
}

void SSpreadCtrl::RemoveCellFromSelection(int column, int row) {
  int index = m_selection.FindSorted(MakeKey(column, row));
  if (m_selection.GetCount() < 2 || index < 0) return;
  m_selection.RemoveAt(index);
  if (m_current == MakeKey(column, row)) m_current = m_selection[0];
  Repaint();
}

void SSpreadCtrl::SelectAll() {
  if (m_table.GetFieldCount() < 1 || m_table.GetRowCount() < 1) return;
  SelectRange(0, 0, -1, -1);
}

void SSpreadCtrl::ClearSelectedCells() {
  for (int i = 0; i < m_selection.GetCount(); ++i) {
    int column = KeyColumn(m_selection[i]), row = KeyRow(m_selection[i]);
    if (CellExists(column, row)) m_table.GetField(column)->Values[row]->Set("");
  }
  Repaint();
}

// --- mouse and keys ---------------------------------------------------------------

void SSpreadCtrl::OnMouse(int x, int y, bool press, bool doubleClick) {
  int modifiers = m_modifierKeys();
  int column, row;
  switch (HitTest(x, y, &column, &row)) {
    case HIT_CORNER:
      if (!doubleClick) SelectRange(0, 0, -1, -1);
      break;
    case HIT_COLUMN_HEADER:
      if (!doubleClick) SelectRange(column, 0, column, -1);
      break;
    case HIT_ROW_HEADER:
      if (!doubleClick) SelectRange(0, row, -1, row);
      break;
    case HIT_CELL:
      if (modifiers == kShift) {
        AddRangeToSelection(column, row, GetCurrentColumn(), GetCurrentRow());
      } else if (modifiers == kControl) {
        if (IsSelected(column, row)) {
          RemoveCellFromSelection(column, row);
        } else {
          AddCellToSelection(column, row);
        }
      } else {
        SelectCell(column, row);
        if (doubleClick) BeginEdit(column, row);
      }
      break;
  }
  if (!press && !doubleClick && m_hWnd) {
    POINT point;
    ::GetCursorPos(&point);
    m_menu.Track(point.x, point.y);
  }
}

void SSpreadCtrl::OnKeyDown(WPARAM key) {
  if (key == VK_RETURN) {
    if (m_selection.GetCount() > 0) BeginEdit(GetCurrentColumn(), GetCurrentRow());
    return;
  }
  if (key == VK_DELETE) {
    if (m_modifierKeys() != kShift) ClearSelectedCells();
    return;
  }
  for (const ArrowKey& arrow : kArrowKeys) {
    if (arrow.key != key) continue;
    if (m_selection.GetCount() == 0) return;
    int column = GetCurrentColumn() + arrow.dx, row = GetCurrentRow() + arrow.dy;
    if (CellExists(column, row)) SelectCell(column, row);
    return;
  }
}

// --- scroll bars ------------------------------------------------------------------

namespace {

// Fewer than two positions hide the bar; else the range 0 .. count - 1.
void SetCountRange(HWND hWnd, int bar, int count) {
  if (!hWnd) return;
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE;
  info.nMin = 0;
  info.nMax = count < 2 ? 0 : count - 1;
  ::SetScrollInfo(hWnd, bar, &info, TRUE);
  ::ShowScrollBar(hWnd, bar, count >= 2);
}

}  // namespace

void SSpreadCtrl::UpdateHorzScrollBar() { SetCountRange(m_hWnd, SB_HORZ, m_table.GetFieldCount()); }

void SSpreadCtrl::UpdateVertScrollBar() { SetCountRange(m_hWnd, SB_VERT, m_table.GetRowCount()); }

void SSpreadCtrl::UpdateScrollBars() {
  UpdateHorzScrollBar();
  UpdateVertScrollBar();
}

// --- messages -----------------------------------------------------------------------

LRESULT SSpreadCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  int x = static_cast<short>(LOWORD(lParam));
  int y = static_cast<short>(HIWORD(lParam));
  if (TrackScrollThumb(*this, message, wParam, lParam)) return 0;
  if (HDC dc = ContentPaintDC(message, wParam, lParam)) PaintCells(dc);
  switch (message) {
    case SWM_AFTERCREATE:
      SetUp();
      break;

    case WM_LBUTTONDOWN:
      SetFocus();
      OnMouse(x, y, true, false);
      break;

    case WM_LBUTTONDBLCLK:
      OnMouse(x, y, true, true);
      break;

    case WM_RBUTTONDOWN:
      SetFocus();
      OnMouse(x, y, false, false);
      break;

    case WM_MOUSEWHEEL: {
      int step = GET_WHEEL_DELTA_WPARAM(wParam) >= 0 ? -kWheelStep : kWheelStep;
      SetScrollPos(::GetScrollPos(m_hWnd, SB_VERT) + step);
      UpdateVertScrollBar();
      Repaint();
      break;
    }

    case WM_KEYDOWN:
      OnKeyDown(wParam);
      break;

    case WM_SIZE:
      UpdateScrollBars();
      Repaint();
      break;

    case SWM_HSCROLLED:
      UpdateHorzScrollBar();
      Repaint();
      break;

    case SWM_VSCROLLED:
      UpdateVertScrollBar();
      Repaint();
      break;

    case SWM_MENUCOMMAND:
      OnCommand(static_cast<int>(lParam));
      break;
  }

  MOUSERECORD record;
  HWND parent = GetParent();
  if (parent && m_hWnd && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
    StaticWndProc(parent, SWM_SPREADMOUSE, reinterpret_cast<WPARAM>(this),
                  reinterpret_cast<LPARAM>(&record));
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
