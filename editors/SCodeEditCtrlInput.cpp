// SCodeEditCtrl: the window procedure, keys, typed characters, the mouse,
// scrolling and the edit commands of the context menu.
#include "core/Platform.h"
#include "editors/SCodeEditCtrl.h"

#include "core/SFileMem.h"
#include "core/Utility.h"
#include "window/Framework.h"
#include "window/SCursor.h"

#include <ctype.h>
#include <string.h>

namespace {

// Where the caret goes while the text has no caret to show.
const int kCaretAway = -182;

bool IsWordByte(unsigned char c) { return IsLetter(c) || isdigit(c) || c == '_'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int RowsIn(int height, int lineHeight) { return (height + lineHeight - 1) / lineHeight; }

// Sets a scroll bar's range and page, repainting the bar only when its look
// (thumb, arrows, size) changes: a repaint of a scroll bar takes milliseconds,
// and an edit of a long text rarely moves the thumb by a pixel.
void SetBarRange(HWND hWnd, int bar, const SCROLLINFO& info) {
  // A bar that has this range and page already, and is shown exactly when
  // the range needs it, stays as it is.
  SCROLLINFO now = {sizeof(now), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  DWORD style = DWORD(::GetWindowLongA(hWnd, GWL_STYLE));
  bool shown = (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
  if (::GetScrollInfo(hWnd, bar, &now) && now.nMin == info.nMin && now.nMax == info.nMax &&
      now.nPage == info.nPage && shown == (info.nMax - info.nMin + 1 > int(info.nPage))) {
    return;
  }
  LONG object = bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL;
  SCROLLBARINFO before = {}, after = {};
  before.cbSize = after.cbSize = sizeof(SCROLLBARINFO);
  bool known = ::GetScrollBarInfo(hWnd, object, &before) != 0;
  SCROLLINFO set = info;
  ::SetScrollInfo(hWnd, bar, &set, FALSE);
  if (!known || !::GetScrollBarInfo(hWnd, object, &after) ||
      memcmp(&before, &after, sizeof(before)) != 0) {
    ::SetScrollInfo(hWnd, bar, &set, TRUE);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Messages

bool SCodeEditCtrl::OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
  // Tab indents here: it does not move the focus to the next control.
  if (message == WM_KEYDOWN && wParam == VK_TAB) return true;
  return SWnd::OnMessage(message, wParam, lParam, result);
}

LRESULT SCodeEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_findReplaceMessage && g_findReplaceMessage) {
    return OnFindMessage(reinterpret_cast<FINDREPLACEA*>(lParam));
  }
  switch (message) {
    case SWM_AFTERCREATE: {
      LRESULT result = SWnd::WindowProc(message, wParam, lParam);
      SetBackColor(::GetSysColor(COLOR_APPWORKSPACE));
      m_commandMask = 0x7FF;
      SetDefaultTexts();
      ResetDefaults();
      UpdateScrollBars();
      return result;
    }
    case WM_DESTROY:
      CloseFindDialog();
      break;
    case WM_SIZE:
      UpdateScrollBars();
      break;
    case WM_SETTEXT: {
      SFileMem file(lParam ? reinterpret_cast<const char*>(lParam) : "");
      LoadFile(&file);
      Redraw();
      break;
    }
    case WM_GETTEXT: {
      // At most size - 1 bytes and a NUL; the count copied.
      char* buffer = reinterpret_cast<char*>(lParam);
      int size = static_cast<int>(wParam);
      if (!buffer || size <= 0) return 0;
      SString text = GetWholeText();
      int count = text.GetLength() < size - 1 ? text.GetLength() : size - 1;
      if (count > 0) memcpy(buffer, text.GetText(), count);
      buffer[count] = 0;
      return count;
    }
    case WM_GETTEXTLENGTH:
      return GetTextLength();
    case WM_ERASEBKGND:
      if (lParam) {
        // Only the rows inside the area being repainted reach the screen.
        RECT area;
        bool clipped = ::GetClipBox(reinterpret_cast<HDC>(wParam), &area) > NULLREGION;
        Paint(reinterpret_cast<HDC>(lParam), clipped ? &area : nullptr);
      }
      break;
    case WM_PRINTCLIENT:
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
      break;
    case WM_NCMOUSEMOVE:
      SetCursor(nullptr);
      break;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<int>(wParam));
      return 0;
    case WM_CHAR:
      if (!(wParam == 13 && Control())) OnChar(static_cast<int>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      UpdateCursor();
      break;
    case WM_LBUTTONDOWN:
      TrackMouseSelection(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      break;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      break;
    case WM_RBUTTONDOWN:
      OnRightButton(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), false);
      break;
    case SWM_RCLICK:
      OnRightButton(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), true);
      break;
    case WM_MOUSEWHEEL:
      if (GET_WHEEL_DELTA_WPARAM(wParam) < 0) {
        ScrollLineDown();
      } else {
        ScrollLineUp();
      }
      Redraw();
      break;
    case SWM_HSCROLLED:
    case SWM_VSCROLLED:
      Redraw();
      break;
    case SWM_MENUCOMMAND:
      switch (static_cast<int>(lParam)) {
        case MENU_UNDO:
          Undo();
          break;
        case MENU_CUT:
          Cut();
          break;
        case MENU_COPY:
          Copy();
          break;
        case MENU_PASTE:
          Paste();
          break;
        case MENU_DELETE:
          Delete();
          break;
        case MENU_SELECTALL:
          SelectAll();
          break;
      }
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Edit commands

void SCodeEditCtrl::Cut() {
  if (!m_hasText || m_readOnly || !HasSelection()) return;
  PushSelectionUndo(0);
  m_clipboard.SetOwner(m_hWnd);
  m_clipboard.SetText(GetSelectedText().GetText());
  if (!DeleteSelection()) {
    DropLastUndo();
    return;
  }
  Changed();
}

void SCodeEditCtrl::Copy() {
  if (!HasSelection()) return;
  m_clipboard.SetOwner(m_hWnd);
  m_clipboard.SetText(GetSelectedText().GetText());
}

void SCodeEditCtrl::Paste() {
  if (!m_hasText || m_readOnly) return;
  m_clipboard.SetOwner(m_hWnd);
  SString text = m_clipboard.GetText();
  if (text.GetLength() > 0) ReplaceSelection(text.GetText());
}

void SCodeEditCtrl::Delete() {
  int line, column;
  if (!m_hasText || m_readOnly || !GetCaret(&line, &column)) return;
  bool done;
  if (Shift() && !HasSelection()) {
    bool next = line + 1 < m_lines.GetCount();
    PushUndo(line, next ? 2 : 1, 0);
    SetSelection(line, 0, line + 1, 0, 0);
    done = DeleteAtCaret();
  } else {
    bool join =
        !HasSelection() && column == m_lines[line]->GetLength() && line + 1 < m_lines.GetCount();
    if (join) {
      PushUndo(line, 2, 0);
    } else {
      PushSelectionUndo(0);
    }
    done = DeleteAtCaret();
  }
  if (!done) {
    DropLastUndo();
    return;
  }
  Changed();
}

void SCodeEditCtrl::SelectAll() {
  if (!m_hasText) return;
  SelectWholeText();
  RequestAndRedraw(SCROLL_SHOW);
}

void SCodeEditCtrl::Cancel() {
  int line, column;
  if (!HasSelection() || !GetCaret(&line, &column)) return;
  SetSelection(line, column, -1, -1, 0);
  RequestAndRedraw(SCROLL_SHOW);
}

// ---------------------------------------------------------------------------
// Keys

void SCodeEditCtrl::MoveCaretTo(int line, int column, bool extend) {
  int caretLine, caretColumn;
  if (!GetCaret(&caretLine, &caretColumn)) return;
  if (extend) {
    bool end = HasSelection() && m_caretAtEnd;
    int anchorLine = !HasSelection() ? caretLine : end ? m_selStartLine : m_selEndLine;
    int anchorColumn = !HasSelection() ? caretColumn : end ? m_selStartColumn : m_selEndColumn;
    SetSelection(anchorLine, anchorColumn, line, column, -1);
  } else {
    SetSelection(line, column, -1, -1, 0);
  }
}

void SCodeEditCtrl::MoveByChars(int n, bool extend) {
  int line, column;
  if (!GetCaret(&line, &column)) return;
  for (; n < 0; ++n) {
    if (column > 0) {
      --column;
    } else if (line > 0) {
      column = m_lines[--line]->GetLength();
    }
  }
  for (; n > 0; --n) {
    if (column < m_lines[line]->GetLength()) {
      ++column;
    } else if (line + 1 < m_lines.GetCount()) {
      ++line;
      column = 0;
    }
  }
  MoveCaretTo(line, column, extend);
}

void SCodeEditCtrl::MoveVertical(int lines, bool extend) {
  int line, column;
  if (!GetCaret(&line, &column)) return;
  int cell = CellOf(*m_lines[line], column);
  int target = line + lines;
  if (target < 0) target = 0;
  if (target >= m_lines.GetCount()) target = m_lines.GetCount() - 1;
  MoveCaretTo(target, ColumnOfCell(*m_lines[target], cell, false), extend);
}

void SCodeEditCtrl::GetWordBounds(int line, int column, int* start, int* end) const {
  *start = *end = 0;
  if (line < 0 || line >= m_lines.GetCount()) return;
  const SString& text = *m_lines[line];
  int length = text.GetLength();
  if (length == 0) return;
  if (column >= length) column = length - 1;
  if (column < 0) column = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.GetText());
  // 0 blank, 1 word byte, 2 any other byte (a word of its own).
  auto kind = [p](int i) { return IsBlank(char(p[i])) ? 0 : IsWordByte(p[i]) ? 1 : 2; };
  int k = kind(column);
  *start = column;
  *end = column + 1;
  if (k == 2) return;
  while (*start > 0 && kind(*start - 1) == k) --*start;
  while (*end < length && kind(*end) == k) ++*end;
}

void SCodeEditCtrl::OnKeyDown(int key) {
  if (!m_hasText) return;
  bool shift = Shift(), control = Control();
  if (!AcceptKey(key, shift, control)) return;
  int line, column;
  if (!GetCaret(&line, &column)) return;
  int before[4] = {m_selStartLine, m_selStartColumn, m_selEndLine, m_selEndColumn};
  int page = (m_textRect.bottom - m_textRect.top) / m_lineHeight;
  if (page < 1) page = 1;
  bool edited = false;
  // The line that Backspace joins to the one above.
  int joinedAt = -1, oldCount = m_lines.GetCount();

  switch (key) {
    case VK_BACK:
      if (m_readOnly) break;
      if (!HasSelection() && column == 0 && line > 0) {
        joinedAt = line;
        PushUndo(line - 1, 2, 0);
      } else {
        PushSelectionUndo(0);
      }
      if (Backspace()) {
        NotifyChange();
        m_scrollRequest = SCROLL_SHOW;
        edited = true;
      } else {
        DropLastUndo();
      }
      break;
    case VK_TAB:
      if (m_readOnly) break;
      InsertTab(shift);
      edited = true;
      break;
    case VK_RETURN:
      if (control && m_lineBreakMark && !shift && !m_readOnly) {
        PushSelectionUndo(0);
        if (!InsertText("<br>")) {
          DropLastUndo();
          break;
        }
        InsertLineBreak();
        edited = true;
      }
      break;
    case VK_UP:
    case VK_PRIOR:
    case VK_DOWN:
    case VK_NEXT: {
      bool up = key == VK_UP || key == VK_PRIOR;
      bool single = key == VK_UP || key == VK_DOWN;
      if (control) {
        if (!single) break;
        if (up) {
          SetScrollPos(::GetScrollPos(m_hWnd, SB_VERT) - m_vLineStep);
        } else {
          SetScrollPos(::GetScrollPos(m_hWnd, SB_VERT) + m_vLineStep);
        }
        Redraw();
        break;
      }
      MoveVertical((single ? 1 : page) * (up ? -1 : 1), shift);
      m_scrollRequest = SCROLL_SHOW;
      break;
    }
    case VK_HOME: {
      if (control) {
        MoveCaretTo(0, 0, shift);
      } else {
        const SString& text = *m_lines[line];
        int first = 0;
        while (first < text.GetLength() && text.GetAt(first) == '\t') ++first;
        bool multi = HasSelection() && m_selStartLine != m_selEndLine;
        MoveCaretTo(line, column == first || multi ? 0 : first, shift);
      }
      m_scrollRequest = SCROLL_SHOW;
      break;
    }
    case VK_END: {
      int target = control ? m_lines.GetCount() - 1 : line;
      MoveCaretTo(target, m_lines[target]->GetLength(), shift);
      m_scrollRequest = SCROLL_SHOW;
      break;
    }
    case VK_LEFT:
    case VK_RIGHT: {
      bool left = key == VK_LEFT;
      if (!shift && HasSelection()) {
        int l = left ? m_selStartLine : m_selEndLine;
        int c = left ? m_selStartColumn : m_selEndColumn;
        SetSelection(l, c, -1, -1, 0);
      } else if (control) {
        int start, end;
        GetWordBounds(line, column, &start, &end);
        int target = left ? start : end;
        if ((left && target < column) || (!left && target > column)) {
          MoveCaretTo(line, target, shift);
        } else {
          MoveByChars(left ? -1 : 1, shift);
        }
      } else {
        MoveByChars(left ? -1 : 1, shift);
      }
      m_scrollRequest = SCROLL_SHOW;
      break;
    }
    case VK_DELETE:
      // The toolkit's command keys fire Delete without modifiers only.
      if (shift) Delete();
      break;
    case 'U':
    case 'Y':
      if (control && !shift && !m_readOnly) {
        if (key == 'U') {
          UncommentSelection();
        } else {
          CommentSelection();
        }
      }
      break;
    case VK_F3:
      if (FindNext(false)) m_scrollRequest = SCROLL_CENTRE;
      break;
  }

  OnKeyHandled(key, shift, control);
  bool moved = before[0] != m_selStartLine || before[1] != m_selStartColumn ||
               before[2] != m_selEndLine || before[3] != m_selEndColumn;
  if (edited && joinedAt > 0 && m_lines.GetCount() == oldCount - 1) {
    RedrawLines(joinedAt - 1, joinedAt - 1, joinedAt, -1);
  } else if (moved || edited) {
    RedrawLines(line, line);
  }
}

void SCodeEditCtrl::InsertTab(bool outdent) {
  if (!HasSelection() || m_selStartLine == m_selEndLine) {
    PushSelectionUndo(0);
    if (!InsertText("\t")) {
      DropLastUndo();
      return;
    }
  } else {
    PushSelectionUndo(m_selEndLine - m_selStartLine);
    int first = m_selStartLine;
    int last = m_selEndColumn == 0 ? m_selEndLine - 1 : m_selEndLine;
    for (int i = first; i <= last; ++i) {
      SString* text = m_lines[i];
      if (!outdent) {
        text->Insert("\t", 0);
      } else if (text->GetAt(0) == '\t') {
        text->Delete(0, 1);
      }
      LineEdited(i);
    }
    if (last + 1 < m_lines.GetCount()) {
      SetSelection(first, 0, last + 1, 0, -1);
    } else {
      SetSelection(first, 0, last, m_lines[last]->GetLength(), -1);
    }
  }
  NotifyChange();
  m_scrollRequest = SCROLL_SHOW;
}

void SCodeEditCtrl::InsertLineBreak() {
  if (m_singleLine) return;
  int line, column;
  if (!GetCaret(&line, &column)) return;
  PushSelectionUndo(1);
  bool replaces = HasSelection();
  int oldCount = m_lines.GetCount();
  SString text("\r\n");
  if (m_indent) {
    // The caret line's leading tabs before the caret (the selection start
    // when one is replaced).
    int start = HasSelection() ? m_selStartColumn : column;
    const SString& current = *m_lines[HasSelection() ? m_selStartLine : line];
    for (int i = 0; i < start && current.GetAt(i) == '\t'; ++i) text += '\t';
  }
  if (!InsertText(text.GetText())) {
    DropLastUndo();
    return;
  }
  OnCharTyped(13);
  NotifyChange();
  m_scrollRequest = SCROLL_SHOW;
  // A break without a selection splits the caret's line: the lines below
  // move down one row.
  int caretLine, caretColumn;
  if (!replaces && m_lines.GetCount() == oldCount + 1 && GetCaret(&caretLine, &caretColumn) &&
      caretLine > 0) {
    RedrawLines(caretLine - 1, caretLine, caretLine, 1);
  } else {
    Redraw();
  }
}

void SCodeEditCtrl::OnChar(int character) {
  if (!m_hasText || !AcceptChar(character) || m_readOnly) return;
  if (character == 13) {
    InsertLineBreak();
    return;
  }
  if (character < 0x1F || (character == ' ' && Control())) return;
  char text[2] = {static_cast<char>(character), 0};
  PushSelectionUndo(0);
  if (!InsertText(text)) {
    DropLastUndo();
    return;
  }
  OnCharTyped(character);
  NotifyChange();
  m_scrollRequest = SCROLL_SHOW;
  int line, column;
  if (GetCaret(&line, &column)) RedrawLines(line, line);
}

// ---------------------------------------------------------------------------
// Mouse

bool SCodeEditCtrl::InTextRect(int x, int y) const {
  POINT point = {x, y};
  return ::PtInRect(&m_textRect, point) != 0;
}

void SCodeEditCtrl::UpdateCursor() {
  if (!m_hasText) return;
  POINT point;
  if (!GetCursorPos(&point)) return;
  SetCursor(GetFrameworkCursor(InTextRect(point.x, point.y) ? CURSOR_IBEAM : CURSOR_ARROW));
}

void SCodeEditCtrl::TrackMouseSelection(int x, int y) {
  if (!m_hasText) return;
  SetFocus();
  if (x < GetBarWidth()) {
    TrackBar(y);
  } else if (InTextRect(x, y)) {
    ClickText(x, y, true);
  }
}

// The column of a point on a line: a point in the right half of a byte's
// cells takes the column after it.
void SCodeEditCtrl::PointToText(int x, int y, int* line, int* column) const {
  *line = *column = -1;
  if (!InTextRect(x, y)) return;
  CellToText(y / m_lineHeight, (x - (GetBarWidth() + m_gap)) / m_charWidth, line, column);
}

void SCodeEditCtrl::CellToText(int row, int cell, int* line, int* column) const {
  int first = m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
  int left = m_hWnd ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0;
  *line = first + row;
  if (*line < 0) *line = 0;
  if (*line >= m_lines.GetCount()) {
    *line = m_lines.GetCount() - 1;
    *column = *line >= 0 ? m_lines[*line]->GetLength() : -1;
    return;
  }
  *column = ColumnOfCell(*m_lines[*line], cell + left, false);
}

void SCodeEditCtrl::TextToCell(int line, int column, int* row, int* cell) const {
  int first = m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
  int left = m_hWnd ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0;
  *row = line - first;
  *cell = line >= 0 && line < m_lines.GetCount() ? CellOf(*m_lines[line], column) - left : -left;
}

void SCodeEditCtrl::TextToPoint(int line, int column, int* x, int* y) const {
  int row, cell;
  TextToCell(line, column, &row, &cell);
  *x = m_charWidth * cell + GetBarWidth() + m_gap;
  *y = m_lineHeight * row;
}

void SCodeEditCtrl::ClickText(int x, int y, bool drag) {
  int first = ::GetScrollPos(m_hWnd, SB_VERT);
  int line = first + y / m_lineHeight;
  if (line >= m_lines.GetCount()) line = m_lines.GetCount() - 1;
  if (line < 0) line = 0;
  // Half cells, so that the right half of a cell takes the next column.
  int left = ::GetScrollPos(m_hWnd, SB_HORZ);
  int textLeft = GetBarWidth() + m_gap;
  int twice = (2 * (x - textLeft)) / m_charWidth + 2 * left;
  int column = y / m_lineHeight + first >= m_lines.GetCount()
                   ? m_lines[line]->GetLength()
                   : ColumnOfCell(*m_lines[line], twice, true);
  int caretLine, caretColumn;
  MoveCaretTo(line, column, Shift() && GetCaret(&caretLine, &caretColumn));
  RequestAndRedraw(SCROLL_SHOW);
  if (!drag) return;

  _SDrag state = {float(::GetScrollPos(m_hWnd, SB_VERT)), float(::GetScrollPos(m_hWnd, SB_HORZ)),
                  m_clock(), true};
  POINT point;
  while (DragStep(&state, &point)) {
    int endLine, endColumn;
    PointToText(point.x, point.y, &endLine, &endColumn);
    if (endLine >= 0) MoveCaretTo(endLine, endColumn, true);
    Redraw();
  }
}

void SCodeEditCtrl::TrackBar(int y) {
  int first = ::GetScrollPos(m_hWnd, SB_VERT);
  int start = first + y / m_lineHeight;
  if (start >= m_lines.GetCount()) start = m_lines.GetCount() - 1;
  SetSelection(start, 0, start, m_lines[start]->GetLength(), 0);
  RequestAndRedraw(SCROLL_SHOW);
  _SDrag drag = {float(first), 0.0f, m_clock(), false};
  POINT point;
  while (DragStep(&drag, &point)) {
    int line = ::GetScrollPos(m_hWnd, SB_VERT) + point.y / m_lineHeight;
    if (line >= m_lines.GetCount()) line = m_lines.GetCount() - 1;
    int from = line < start ? line : start, to = line < start ? start : line;
    SetSelection(from, 0, to, m_lines[to]->GetLength(), line < start ? 1 : 0);
    Redraw();
  }
}

// One pass of a drag: false once the button is up. Otherwise the pending
// input is dropped, the view scrolls while the pointer is outside the text
// (by the time since the last pass) and the pointer comes back clamped to
// the text's edges.
bool SCodeEditCtrl::DragStep(_SDrag* drag, POINT* point) {
  if (!m_hWnd || m_asyncKeyState(VK_LBUTTON) >= 0) return false;
  MSG msg;
  while (::PeekMessageA(&msg, m_hWnd, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
  while (::PeekMessageA(&msg, m_hWnd, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
  ::Sleep(10);
  if (!GetCursorPos(point)) return false;
  DWORD now = m_clock();
  float t = float(now - drag->last);
  drag->last = now;
  const RECT& r = m_textRect;
  int visible = (r.bottom - r.top) / m_lineHeight;
  float lastPage = float(m_lines.GetCount() - visible > 0 ? m_lines.GetCount() - visible : 0);
  if (point->y < r.top) drag->vertical -= t / 1000.0f;
  if (point->y >= r.bottom) drag->vertical += t / 1000.0f;
  drag->vertical = drag->vertical < 0 ? 0 : drag->vertical > lastPage ? lastPage : drag->vertical;
  SetScrollPos(int(drag->vertical));
  if (drag->horizontal) {
    int visibleCells = (r.right - r.left) / m_charWidth;
    int cells = GetWidestCells();
    float lastCell = float(cells - visibleCells > 0 ? cells - visibleCells : 0);
    if (point->x < r.left) drag->cells -= t / 1000.0f;
    if (point->x >= r.right) drag->cells += t * 0.1f;
    drag->cells = drag->cells < 0 ? 0 : drag->cells > lastCell ? lastCell : drag->cells;
    SetHScrollPos(int(drag->cells));
  }
  point->x = point->x < r.left ? r.left : point->x >= r.right ? r.right - 1 : point->x;
  point->y = point->y < r.top ? r.top : point->y >= r.bottom ? r.bottom - 1 : point->y;
  return true;
}

void SCodeEditCtrl::OnDoubleClick(int x, int y) {
  int line, column;
  if (!InTextRect(x, y) || !GetCaret(&line, &column)) return;
  int start, end;
  GetWordBounds(line, column, &start, &end);
  if (end <= start) return;
  SetSelection(line, start, line, end, 0);
  Redraw();
}

void SCodeEditCtrl::OnRightButton(int x, int y, bool menu) {
  SetFocus();
  if (!m_hasText || !InTextRect(x, y)) return;
  if (!menu) {
    int line, column;
    PointToText(x, y, &line, &column);
    bool inside =
        HasSelection() &&
        (line > m_selStartLine || (line == m_selStartLine && column >= m_selStartColumn)) &&
        (line < m_selEndLine || (line == m_selEndLine && column <= m_selEndColumn));
    if (!inside) ClickText(x, y, false);
    return;
  }
  POINT point = {x, y};
  ::ClientToScreen(m_hWnd, &point);
  if (AcceptContextMenu(point.x, point.y)) m_menu.Track(point.x, point.y);
}

// ---------------------------------------------------------------------------
// Scrolling

void SCodeEditCtrl::ResetScroll() {
  m_hLineStep = m_vLineStep = 1;
  m_hScrollUnit = m_vScrollUnit = 1;
  m_hPageStep = m_vPageStep = 5;
  m_rangeLines = m_rangeCells = -1;
  if (!m_hWnd) return;
  SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, FALSE);
  ::SetScrollInfo(m_hWnd, SB_HORZ, &info, FALSE);
  ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
}

void SCodeEditCtrl::UpdateScrollBars() {
  if (!m_hWnd || m_updatingScroll) return;
  m_updatingScroll = true;
  UpdateLayout();
  int lines = m_lines.GetCount();
  int cells = GetWidestCells();
  m_rangeLines = lines;
  m_rangeCells = cells;
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  info.nMax = lines;
  info.nPage = UINT(RowsIn(m_textRect.bottom - m_textRect.top, m_lineHeight));
  SetBarRange(m_hWnd, SB_VERT, info);
  if (!m_showVScroll) ::ShowScrollBar(m_hWnd, SB_VERT, FALSE);
  UpdateLayout();
  info.nMax = cells;
  info.nPage = UINT(RowsIn(m_textRect.right - m_textRect.left, m_charWidth));
  SetBarRange(m_hWnd, SB_HORZ, info);
  if (!m_showHScroll) ::ShowScrollBar(m_hWnd, SB_HORZ, FALSE);
  UpdateLayout();
  m_updatingScroll = false;
}

void SCodeEditCtrl::ScrollTarget(int* first, int* left) {
  *first = ::GetScrollPos(m_hWnd, SB_VERT);
  *left = ::GetScrollPos(m_hWnd, SB_HORZ);
  int line, column;
  if (m_scrollRequest == SCROLL_NONE || !GetCaret(&line, &column)) return;
  int visible = (m_textRect.bottom - m_textRect.top) / m_lineHeight;
  if (visible < 1) visible = 1;
  if (m_scrollRequest == SCROLL_CENTRE) {
    *first = line - visible / 2 > 0 ? line - visible / 2 : 0;
  } else if (line < *first) {
    *first = line;
  } else if (line >= *first + visible) {
    *first = line - visible + 1;
  }
  int visibleCells = (m_textRect.right - m_textRect.left) / m_charWidth;
  if (visibleCells < 1) visibleCells = 1;
  int cell = CellOf(*m_lines[line], column);
  if (cell < *left) {
    *left = cell;
  } else if (cell >= *left + visibleCells) {
    *left = cell - visibleCells + 1;
  }
  // Where the scroll bars will really stand.
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  int bars[2] = {SB_VERT, SB_HORZ};
  int* positions[2] = {first, left};
  for (int i = 0; i < 2; ++i) {
    if (!::GetScrollInfo(m_hWnd, bars[i], &info)) continue;
    int last = info.nMax - int(info.nPage > 0 ? info.nPage - 1 : 0);
    if (*positions[i] > last) *positions[i] = last;
    if (*positions[i] < info.nMin) *positions[i] = info.nMin;
  }
}

void SCodeEditCtrl::ApplyScrollRequest() {
  int first, left;
  ScrollTarget(&first, &left);
  // A scroll bar is repainted only when its position really moves.
  if (m_scrollRequest != SCROLL_NONE && first != ::GetScrollPos(m_hWnd, SB_VERT)) {
    SetScrollPos(first);
  }
  if (m_scrollRequest != SCROLL_NONE && left != ::GetScrollPos(m_hWnd, SB_HORZ)) {
    SetHScrollPos(left);
  }
  m_scrollRequest = SCROLL_NONE;
}

void SCodeEditCtrl::RedrawLines(int first, int last, int at, int delta) {
  int selectionFirst, selectionLast;
  SelectedLines(&selectionFirst, &selectionLast);
  int count = m_lines.GetCount();
  // The last paint showed the text as it was before this edit; a wider range
  // keeps the view, a narrower one may move it.
  bool whole = !m_hWnd || !m_hasText || m_paintedFirst < 0 || selectionFirst < 0 ||
               m_rangeLines != count - delta || m_rangeCells > GetWidestCells() ||
               m_textRect.left != GetBarWidth() + m_gap;
  int top = 0, left = 0;
  if (!whole) {
    ScrollTarget(&top, &left);
    whole = top != ::GetScrollPos(m_hWnd, SB_VERT) || left != ::GetScrollPos(m_hWnd, SB_HORZ) ||
            (delta != 0 && at < top);
  }
  // Old line numbers in new ones (-1 for a removed line).
  auto moved = [at, delta](int line) {
    return line < at ? line : delta < 0 && line < at - delta ? -1 : line + delta;
  };
  int from = first, to = last;
  for (int line : {selectionFirst, moved(m_paintedFirst)})
    from = line >= 0 && line < from ? line : from;
  for (int line : {selectionLast, moved(m_paintedLast)}) to = line > to ? line : to;
  bool now = !whole && CanPaintRowsNow();
  if (!now) {
    RECT rows = {0, (from - top) * m_lineHeight, m_clientRect.right, (to - top + 1) * m_lineHeight};
    if (rows.top < 0) rows.top = 0;
    if (whole || delta != 0) {
      Redraw();
    } else if (rows.bottom > rows.top) {
      Redraw(&rows);
    }
    return;
  }

  RECT text = m_textRect, client = m_clientRect;
  PrepareView();
  // The scroll bars changed the layout or the view after all.
  if (!::EqualRect(&text, &m_textRect) || !::EqualRect(&client, &m_clientRect) ||
      top != ::GetScrollPos(m_hWnd, SB_VERT) || left != ::GetScrollPos(m_hWnd, SB_HORZ)) {
    Redraw();
    return;
  }
  int visible = RowsIn(m_textRect.bottom - m_textRect.top, m_lineHeight);
  if (visible < 1) return;
  SArray<uint8_t> rows;
  rows.SetSize(visible, false);
  for (int r = 0; r < visible; ++r) rows[r] = 0;
  auto mark = [&](int line, uint8_t what) {
    int r = line - top;
    if (r >= 0 && r < visible) rows[r] |= what;
  };
  for (int line = from < top ? top : from; line <= to && line - top < visible; ++line) {
    mark(line, ROW_WHOLE);
  }
  // Whether the bar cell of a row shows what it showed before the edit: the
  // same line number (the view stays), existence and flags.
  auto sameBar = [&](int r) {
    int line = top + r;
    bool existed = line < count - delta, exists = line < count;
    int was = existed ? moved(line) : -1;
    return existed == exists &&
           (!exists || (was >= 0 && was < count && m_checkFlags[was] == m_checkFlags[line] &&
                        m_markFlags[was] == m_markFlags[line]));
  };
  RECT shifted = {GetBarWidth(), (at - top) * m_lineHeight, m_clientRect.right,
                  m_clientRect.bottom};
  if (delta != 0) {
    // The rows from the first moved line down shift by delta rows (done by
    // PaintRowsNow); the bar cells stay, since the line numbers belong to
    // the rows.
    // Uncovered rows: the inserted lines, or the last rows (and the partly
    // shown last row, whose hidden part was never painted).
    if (delta > 0) {
      for (int line = at; line < at + delta; ++line) mark(line, ROW_WHOLE);
    } else {
      for (int r = visible + delta - 1; r < visible; ++r) {
        if (r >= 0) rows[r] |= ROW_WHOLE;
      }
    }
    // The highlight belongs to a line number: its old and new rows.
    if (m_highlightedLine >= at) {
      mark(m_highlightedLine, ROW_WHOLE);
      mark(m_highlightedLine + delta, ROW_WHOLE);
    }
    // A bar cell of a shifted row still shows the line that was there.
    for (int r = at - top + (delta > 0 ? delta : 0); r < visible; ++r) {
      if (r < 0 || rows[r]) continue;
      if (!sameBar(r)) rows[r] |= ROW_BAR;
    }
  }
  // A row repainted whole whose bar cell has not changed repaints its text
  // part alone.
  for (int r = 0; r < visible; ++r) {
    if (rows[r] == ROW_WHOLE && sameBar(r)) rows[r] = ROW_TEXT;
  }
  PaintRowsNow(rows, delta != 0 ? &shifted : nullptr, delta * m_lineHeight);
}

void SCodeEditCtrl::PlaceCaret(int x, int y) {
  m_caretX = x;
  m_caretY = y;
  m_caretPosValid = true;
  if (m_caretShown) ::SetCaretPos(x, y);
}

void SCodeEditCtrl::PlaceCaretAtText() {
  int line, column, x, y;
  if (!m_hasText || !GetCaret(&line, &column)) {
    PlaceCaret(kCaretAway, kCaretAway);
    return;
  }
  TextToPoint(line, column, &x, &y);
  if (x < m_textRect.left) x = kCaretAway;
  PlaceCaret(x, y);
}
