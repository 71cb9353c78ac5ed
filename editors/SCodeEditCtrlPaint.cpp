// SCodeEditCtrl: painting (bar, line numbers, row backgrounds, coloured
// runs, the selection) and the scanner that splits a line into runs.
#include "core/Platform.h"
#include "editors/SCodeEditCtrl.h"

#include "core/SImage.h"
#include "core/Utility.h"

#include <ctype.h>

namespace {

// DT_CENTER | DT_VCENTER | DT_SINGLELINE.
const UINT kNumberFormat = 0x25;

bool IsWordByte(unsigned char c) { return isalpha(c) || isdigit(c) || c == '_'; }

}  // namespace

void SCodeEditCtrl::ScanLine(int line, SArray<Run>* runs) {
  runs->RemoveAll();
  if (line < 0 || line >= m_lines.GetCount()) return;
  const SString& text = *m_lines[line];
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.GetText());
  int length = text.GetLength();
  int start = 0;
  bool inWord = false, inString = false, inComment = false;

  auto emit = [&](int end, RunKind kind, int keyword) {
    if (end > start) runs->Add(Run{start, end, kind, keyword});
    start = end;
  };
  // A finished word: a keyword unless the table or the hook says otherwise.
  auto emitWord = [&](int end) {
    SString word = text.Mid(start, end - start);
    int index = m_keywords.Find(word.GetText());
    if (index >= 0 && !SkipKeyword(index, line, start)) {
      emit(end, RUN_KEYWORD, index);
    } else {
      emit(end, RUN_PLAIN, -1);
    }
  };

  for (int i = 0; i < length; ++i) {
    unsigned char c = p[i];
    if (inComment) continue;
    if (inString) {
      if (c == '"') {
        emit(i + 1, RUN_STRING, -1);
        inString = false;
      }
      continue;
    }
    if (IsWordByte(c)) {
      if (!inWord) {
        emit(i, RUN_PLAIN, -1);
        inWord = true;
      }
      continue;
    }
    if (inWord) {
      emitWord(i);
      inWord = false;
    }
    if (c == '"') {
      emit(i, RUN_PLAIN, -1);
      inString = true;
    } else if (c == '/') {
      emit(i, RUN_PLAIN, -1);
      if (m_commentColoring && i + 1 < length && p[i + 1] == '/') {
        inComment = true;
        ++i;
      }
    }
  }
  if (inComment) {
    emit(length, RUN_COMMENT, -1);
  } else if (inString) {
    emit(length, RUN_STRING, -1);
  } else if (inWord) {
    emitWord(length);
  } else {
    emit(length, RUN_PLAIN, -1);
  }
}

void SCodeEditCtrl::Paint(HDC dc, const RECT* area) {
  if (!m_hasText) {
    if (m_caretCreated) PlaceCaret(-182, -182);
    return;
  }
  PrepareView();
  NotePainted();
  int rows = (m_textRect.bottom - m_textRect.top + m_lineHeight - 1) / m_lineHeight;
  for (int row = 0; row < rows; ++row) {
    if (area && (row * m_lineHeight >= area->bottom || (row + 1) * m_lineHeight <= area->top)) {
      continue;
    }
    PaintLine(dc, row);
  }
}

void SCodeEditCtrl::PrepareView() {
  if (m_rangeLines != m_lines.GetCount() || m_rangeCells != GetWidestCells()) UpdateScrollBars();
  ApplyScrollRequest();
}

void SCodeEditCtrl::NotePainted() {
  PlaceCaretAtText();
  SelectedLines(&m_paintedFirst, &m_paintedLast);
}

bool SCodeEditCtrl::CanPaintRowsNow() const {
  if (!m_hWnd || !::IsWindowVisible(m_hWnd) || m_backColor == SImage::COLOR_HOLLOW) return false;
  HWND parent = ::GetAncestor(m_hWnd, GA_PARENT);
  return !parent || !(::GetWindowLongA(parent, GWL_EXSTYLE) & WS_EX_LAYERED);
}

bool SCodeEditCtrl::ShiftRows(HDC dc, const RECT& shifted, int dy) {
  int height = shifted.bottom - shifted.top - (dy < 0 ? -dy : dy);
  RECT box;
  // The copy reads the window's own pixels: only when every one of them is
  // shown (no other window over a part of it) and none waits for a paint
  // (whose area would have to move along).
  bool exact = dc && height > 0 && ::GetClipBox(dc, &box) == SIMPLEREGION &&
               ::EqualRect(&box, &m_clientRect) && !::GetUpdateRect(m_hWnd, nullptr, FALSE);
  if (!exact) {
    ::ScrollWindowEx(m_hWnd, 0, dy, &shifted, &shifted, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    return false;
  }
  int from = dy > 0 ? shifted.top : shifted.top - dy;
  ::BitBlt(dc, shifted.left, from + dy, shifted.right - shifted.left, height, dc, shifted.left,
           from, SRCCOPY);
  return true;
}

void SCodeEditCtrl::PaintRowsNow(const SArray<uint8_t>& rows, const RECT* shifted, int dy) {
  // A shown caret that moves is drawn at its new place at once (and taken
  // from the old one): the rows painted show it there too. Else it is
  // hidden while they are painted. The shift goes first, while the caret
  // stands outside it, or else with the caret hidden.
  RECT was = {m_caretX, m_caretY, m_caretX + m_caretWidth, m_caretY + m_caretHeight}, meet;
  bool shift = shifted && dy != 0;
  bool caretKnown =
      m_caretShown && m_caretPosValid && !(shift && ::IntersectRect(&meet, &was, shifted));
  HDC dc = ::GetDC(m_hWnd);
  bool validate = false;
  if (shift && caretKnown) validate = !ShiftRows(dc, *shifted, dy);
  NotePainted();
  bool caretDrawn = caretKnown && (m_caretX != was.left || m_caretY != was.top);
  bool caretHidden = !caretDrawn && m_caretShown && ::HideCaret(m_hWnd) != 0;
  if (shift && !caretKnown) validate = !ShiftRows(dc, *shifted, dy);
  RECT caret = {m_caretX, m_caretY, m_caretX + m_caretWidth, m_caretY + m_caretHeight};
  HDC buffer = dc ? RowBuffer(dc) : nullptr;
  if (buffer && ::GetCurrentObject(buffer, OBJ_FONT) != m_font) ::SelectObject(buffer, m_font);
  if (buffer && m_rowBoldDC && ::GetCurrentObject(m_rowBoldDC, OBJ_FONT) != m_boldFont) {
    ::SelectObject(m_rowBoldDC, m_boldFont);
  }
  if (buffer) {
    int first = ::GetScrollPos(m_hWnd, SB_VERT);
    for (int r = 0; r < rows.GetCount(); ++r) {
      if (!rows[r]) continue;
      int top = r * m_lineHeight;
      // The buffer holds this row: it is painted in client coordinates.
      ::SetWindowOrgEx(buffer, 0, top, nullptr);
      if (m_rowBoldDC) ::SetWindowOrgEx(m_rowBoldDC, 0, top, nullptr);
      RECT done = {0, top, m_clientRect.right, top + m_lineHeight};
      if (rows[r] & ROW_WHOLE) {
        PaintLine(buffer, r);
      } else if (rows[r] & ROW_TEXT) {
        PaintLine(buffer, r, false);
        done.left = GetBarWidth();
      } else {
        PaintBar(buffer, r, first + r);
        done.right = GetBarWidth();
      }
      if (caretDrawn) ::InvertRect(buffer, &caret);
      ::BitBlt(dc, done.left, done.top, done.right - done.left, m_lineHeight, buffer, done.left,
               done.top, SRCCOPY);
      if (validate) ::ValidateRect(m_hWnd, &done);
    }
  } else {
    // Without a buffer the rows go through the window's own paint.
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
  }
  if (dc) ::ReleaseDC(m_hWnd, dc);
  if (caretHidden) ::ShowCaret(m_hWnd);
}

void SCodeEditCtrl::PaintBar(HDC dc, int row, int line) {
  int top = row * m_lineHeight, bottom = top + m_lineHeight;
  bool exists = line < m_lines.GetCount();
  RECT cell = {0, top, GetBarWidth(), bottom};
  ::FillRect(dc, &cell, m_brushes[exists ? BRUSH_BAR : BRUSH_BEYOND]);
  if (!exists) return;
  bool flagged = m_checkFlags[line] || m_markFlags[line];
  if (m_checkFlags[line]) ::FillRect(dc, &cell, m_brushes[BRUSH_CHECK]);
  if (m_markFlags[line]) {
    RECT inner = {cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    ::FillRect(dc, &inner, m_brushes[BRUSH_MARK]);
  }
  if (m_showLineNumbers) {
    HGDIOBJ oldFont = ::SelectObject(dc, m_numberFont);
    COLORREF oldColor = ::SetTextColor(dc, flagged ? m_flaggedNumberColor : m_lineNumberColor);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    SString number = SString::FromInt(line + 1);
    ::DrawTextA(dc, number.GetText(), -1, &cell, kNumberFormat);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
    ::SelectObject(dc, oldFont);
  }
}

void SCodeEditCtrl::PaintLine(HDC dc, int row, bool withBar) {
  int rows = (m_textRect.bottom - m_textRect.top + m_lineHeight - 1) / m_lineHeight;
  if (row < 0 || row >= rows) row = 0;
  // A context that holds the font already (the row buffer) keeps it.
  HGDIOBJ oldFont = ::GetCurrentObject(dc, OBJ_FONT);
  if (oldFont != m_font) ::SelectObject(dc, m_font);
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = ::GetTextColor(dc);

  int line = ::GetScrollPos(m_hWnd, SB_VERT) + row;
  int top = row * m_lineHeight, bottom = top + m_lineHeight;
  int barWidth = GetBarWidth();
  int caretLine, caretColumn;
  bool hasCaret = GetCaret(&caretLine, &caretColumn);
  bool caretRow =
      hasCaret && line == caretLine && (!HasSelection() || m_selStartLine == m_selEndLine);
  bool highlighted = line == m_highlightedLine;
  bool exists = line < m_lines.GetCount();

  RECT rowRect = {m_textRect.left, top, m_clientRect.right, bottom};
  int rowBrush = highlighted ? BRUSH_HIGHLIGHT : caretRow ? BRUSH_CARETLINE : BRUSH_BACK;
  ::FillRect(dc, &rowRect, m_brushes[rowBrush]);
  RECT gap = {barWidth, top, barWidth + m_gap, bottom};
  ::FillRect(dc, &gap, m_brushes[BRUSH_BACK]);
  if (withBar) PaintBar(dc, row, line);

  if (exists) {
    const SString& text = *m_lines[line];
    int lineX = m_textRect.left - m_charWidth * ::GetScrollPos(m_hWnd, SB_HORZ);
    if (caretRow && !highlighted) {
      // The caret-row colour starts at the first byte that is not a tab.
      int tabs = 0;
      while (tabs < text.GetLength() && text.GetAt(tabs) == '\t') ++tabs;
      int x = lineX + m_charWidth * CellOf(text, tabs);
      if (x > m_textRect.left) {
        RECT lead = {m_textRect.left, top, x, bottom};
        ::FillRect(dc, &lead, m_brushes[BRUSH_BACK]);
      }
    }
    SArray<Run> runs;
    ScanLine(line, &runs);
    int cells = 0;
    if (m_advancesFont != m_font) {
      m_advancesFont = m_font;
      if (!::GetCharWidth32A(dc, 0, 255, m_advances)) {
        for (INT& advance : m_advances) advance = m_charWidth;
      }
    }
    Stroke stroke;
    stroke.x = stroke.lastX = lineX;
    stroke.color = m_textColor;
    stroke.advances = m_advances;
    for (int i = 0; i < runs.GetCount(); ++i) {
      PaintRun(dc, text, runs[i], lineX, top, &cells, &stroke);
    }
    DrawStroke(dc, top, &stroke);

    if (HasSelection() && line >= m_selStartLine && line <= m_selEndLine) {
      int from = line == m_selStartLine ? lineX + m_charWidth * CellOf(text, m_selStartColumn)
                                        : m_textRect.left;
      int to = lineX +
               m_charWidth * CellOf(text, line == m_selEndLine ? m_selEndColumn : text.GetLength());
      if (from < m_textRect.left) from = m_textRect.left;
      bool scrolled = ::GetScrollPos(m_hWnd, SB_HORZ) > 0;
      if (line < m_selEndLine && (to > from || !scrolled)) to += m_charWidth / 2;
      if (to > from) {
        RECT part = {from, top, to, bottom};
        ::InvertRect(dc, &part);
      }
    }
  }

  ::SetTextColor(dc, oldColor);
  ::SetBkMode(dc, oldMode);
  if (oldFont != m_font) ::SelectObject(dc, oldFont);
}

void SCodeEditCtrl::PaintRun(HDC dc, const SString& line, const Run& run, int lineStartX, int y,
                             int* cells, Stroke* stroke) {
  const char* p = line.GetText();
  int x = lineStartX + m_charWidth * *cells;
  SString expanded;
  expanded.SetLength(0, false);
  bool blank = true;
  for (int i = run.start; i < run.end; ++i) {
    if (p[i] == '\t') {
      int next = (*cells / m_tabSize + 1) * m_tabSize;
      for (; *cells < next; ++*cells) expanded += ' ';
    } else {
      expanded += p[i];
      blank = blank && p[i] == ' ';
      ++*cells;
    }
  }
  int skip = 0;
  if (x < m_textRect.left) {
    skip = (m_textRect.left - x) / m_charWidth;
    x = m_textRect.left;
  }
  // Blanks draw nothing in any colour.
  if (blank || skip >= expanded.GetLength()) return;
  COLORREF color = m_textColor;
  bool bold = false;
  switch (run.kind) {
    case RUN_COMMENT:
      color = m_commentColor;
      break;
    case RUN_STRING:
      color = m_stringColoring ? m_stringColor : m_textColor;
      break;
    case RUN_KEYWORD:
      color = m_keywordColors[run.keyword];
      bold = m_keywordBold[run.keyword];
      break;
    case RUN_PLAIN:
      if (m_upperWordColoring && IsConstantName(expanded.GetText())) color = m_upperWordColor;
      break;
  }
  const char* visible = expanded.GetText() + skip;
  int length = expanded.GetLength() - skip;
  if (stroke->text.GetLength() > 0 && (bold || stroke->color != color)) DrawStroke(dc, y, stroke);
  if (bold && dc == m_rowDC && m_rowBoldDC) {
    ::SetTextColor(m_rowBoldDC, color);
    ::TextOutA(m_rowBoldDC, x, y, visible, length);
    return;
  }
  if (bold) {
    ::SetTextColor(dc, color);
    ::SelectObject(dc, m_boldFont);
    ::TextOutA(dc, x, y, visible, length);
    ::SelectObject(dc, m_font);
    return;
  }
  int count = stroke->dx.GetCount();
  if (count == 0) {
    stroke->x = x;
    stroke->color = color;
  } else {
    // The stroke's last character reaches to this run's cell.
    stroke->dx[count - 1] = x - stroke->lastX;
  }
  stroke->text += visible;
  for (int i = 0; i < length; ++i) {
    stroke->lastX = x;
    int advance = stroke->advances[static_cast<unsigned char>(visible[i])];
    stroke->dx.Add(advance);
    x += advance;
  }
}

void SCodeEditCtrl::DrawStroke(HDC dc, int y, Stroke* stroke) {
  int length = stroke->text.GetLength();
  if (length > 0) {
    ::SetTextColor(dc, stroke->color);
    ::ExtTextOutA(dc, stroke->x, y, 0, nullptr, stroke->text.GetText(), length, &stroke->dx[0]);
  }
  stroke->text.SetLength(0, false);
  stroke->dx.RemoveAll();
}

HDC SCodeEditCtrl::RowBuffer(HDC compatible) {
  int width = m_clientRect.right - m_clientRect.left;
  if (m_rowDC && m_rowWidth == width && m_rowHeight == m_lineHeight) return m_rowDC;
  FreeRowBuffer();
  if (width <= 0 || m_lineHeight <= 0) return nullptr;
  // Two contexts over the same pixels, one for each font, so that a bold run
  // needs no change of font. Without the shared pixels, one context alone.
  BITMAPINFO info = TopDownBitmapInfo32(width, m_lineHeight);
  m_rowSection = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      DWORD(width) * DWORD(m_lineHeight) * 4, nullptr);
  void* bits = nullptr;
  for (int i = 0; i < 2 && m_rowSection; ++i) {
    m_rowBitmaps[i] = ::CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits, m_rowSection, 0);
    HDC dc = m_rowBitmaps[i] ? ::CreateCompatibleDC(compatible) : nullptr;
    if (dc) ::SelectObject(dc, m_rowBitmaps[i]);
    (i == 0 ? m_rowDC : m_rowBoldDC) = dc;
  }
  if (!m_rowDC || !m_rowBoldDC) {
    FreeRowBuffer();
    m_rowDC = ::CreateCompatibleDC(compatible);
    m_rowBitmaps[0] = m_rowDC ? ::CreateCompatibleBitmap(compatible, width, m_lineHeight) : nullptr;
    if (!m_rowBitmaps[0]) {
      FreeRowBuffer();
      return nullptr;
    }
    ::SelectObject(m_rowDC, m_rowBitmaps[0]);
  }
  if (m_rowBoldDC) ::SetBkMode(m_rowBoldDC, TRANSPARENT);
  m_rowWidth = width;
  m_rowHeight = m_lineHeight;
  return m_rowDC;
}

void SCodeEditCtrl::FreeRowBuffer() {
  for (HDC* dc : {&m_rowDC, &m_rowBoldDC}) {
    if (*dc) ::DeleteDC(*dc);
    *dc = nullptr;
  }
  for (HBITMAP& bitmap : m_rowBitmaps) {
    if (bitmap) ::DeleteObject(bitmap);
    bitmap = nullptr;
  }
  if (m_rowSection) ::CloseHandle(m_rowSection);
  m_rowSection = nullptr;
  m_rowWidth = m_rowHeight = 0;
}
