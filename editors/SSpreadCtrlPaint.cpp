// SSpreadCtrl: painting of the headers and cells.
#include "core/Platform.h"
#include "editors/SSpreadCtrl.h"

#include "core/SStringArray.h"
#include "core/Utility.h"

namespace {

// Header texts: centred on one line, cut with an ellipsis.
const UINT kHeaderFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
const UINT kCellFormat = DT_SINGLELINE | DT_END_ELLIPSIS;

// Alignment words of the cell attributes (compared exactly) and their
// drawing flags; any other non-empty word gives the fallback.
struct AlignWord {
  const char* word;
  UINT flag;
};
const AlignWord kHorizontalWords[] = {{"center", DT_CENTER}, {"right", DT_RIGHT}};
const AlignWord kVerticalWords[] = {{"middle", DT_VCENTER}, {"bottom", DT_BOTTOM}};

template <size_t N>
UINT AlignFlag(const SString& word, const AlignWord (&words)[N], UINT empty, UINT other) {
  if (word.GetLength() == 0) return empty;
  for (const AlignWord& row : words) {
    if (word == row.word) return row.flag;
  }
  return other;
}

// A colour attribute as a COLORREF; false when the item is absent or empty.
bool AttributeColor(const SStringArray& items, const char* key, COLORREF* color) {
  SString text = SSpreadCtrl::GetCellAttribute(items, key);
  if (text.GetLength() == 0) return false;
  *color = TextToColor(text.GetText()) & 0x00FFFFFF;
  return true;
}

void DrawLabel(HDC dc, const SString& text, RECT rect, UINT format) {
  ::DrawTextA(dc, text.GetText() ? text.GetText() : "", -1, &rect, format);
}

}  // namespace

void SSpreadCtrl::PaintCells(HDC dc) {
  if (!dc) return;
  SArray<POINT> xs, ys;
  GetVisibleSpans(&xs, &ys);
  int firstColumn = FirstVisibleColumn();
  int firstRow = FirstVisibleRow();
  int header = GetRowHeaderWidth();
  HGDIOBJ previousFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
  int previousMode = ::SetBkMode(dc, TRANSPARENT);

  ::SetTextColor(dc, m_headerTextColor);
  for (int c = 0; c < xs.GetCount(); ++c) {
    int column = firstColumn + c;
    RECT rect = {xs[c].x, 0, xs[c].x + xs[c].y - 1, HEADER_HEIGHT - 1};
    ::FillRect(dc, &rect, m_headerBrush);
    SString title = STable::GetAttribute(m_table.GetField(column)->Attributes.GetText(), "title");
    if (title.GetLength() == 0) {
      char letter[2] = {char(65 + column), 0};
      title.Set(letter);
    }
    DrawLabel(dc, title, rect, kHeaderFormat);
  }

  SStringArray items;
  for (int r = 0; r < ys.GetCount(); ++r) {
    int row = firstRow + r;
    int top = ys[r].x, bottom = ys[r].x + ys[r].y - 1;
    RECT rect = {0, top, header - 1, bottom};
    ::FillRect(dc, &rect, m_headerBrush);
    ::SetTextColor(dc, m_headerTextColor);
    DrawLabel(dc, SString::FromInt(row), rect, kHeaderFormat);
    for (int c = 0; c < xs.GetCount(); ++c) {
      int column = firstColumn + c;
      STable::SplitAttributes(m_table.GetField(column)->CellAttributes.Get(row).GetText(), &items);
      RECT cell = {xs[c].x, top, xs[c].x + xs[c].y - 1, bottom};
      PaintCell(dc, cell, row, column, items);
    }
  }

  ::SetBkMode(dc, previousMode);
  ::SelectObject(dc, previousFont);
}

void SSpreadCtrl::PaintCell(HDC dc, const RECT& rect, int row, int column,
                            const SStringArray& items) {
  bool selected = IsSelected(column, row);
  COLORREF color;
  if (selected) {
    ::FillRect(dc, &rect, m_highlightBrush);
  } else if (AttributeColor(items, "backcolor", &color)) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
  } else {
    ::FillRect(dc, &rect, m_windowBrush);
  }

  STable::_SField* field = m_table.GetField(column);
  if (!field || row < 0 || row >= field->Values.GetCount()) return;
  const SString& value = *field->Values[row];
  RECT text = {rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  UINT format = kCellFormat;
  format |= AlignFlag(GetCellAttribute(items, "valign"), kVerticalWords, DT_VCENTER, DT_TOP);
  format |= AlignFlag(GetCellAttribute(items, "halign"), kHorizontalWords,
                      value.IsNumber() ? DT_RIGHT : DT_LEFT, DT_LEFT);
  if (selected) {
    color = m_highlightTextColor;
  } else if (!AttributeColor(items, "textcolor", &color)) {
    color = m_cellTextColor;
  }
  ::SetTextColor(dc, color);
  DrawLabel(dc, value, text, format);

  if (m_selection.GetCount() > 0 && m_current == MakeKey(column, row)) ::DrawFocusRect(dc, &rect);
}
