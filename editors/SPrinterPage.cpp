#include "core/Platform.h"
#include "editors/SPrinterPage.h"

#include "core/SString.h"
#include "core/Utility.h"
#include "editors/SPrinter.h"

SPrinterPage::SPrinterPage(SPrinter* printer) : m_printer(printer) {
  m_x = int(printer->m_margins[0] * printer->m_pixelsPerMm[0]);
  m_y = int(printer->m_margins[1] * printer->m_pixelsPerMm[1]);
}

SPrinterPage::~SPrinterPage() {}

int SPrinterPage::UnitToDeviceX(double length) const { return m_printer->UnitToDeviceX(length); }

void SPrinterPage::PrintAt(double x, double y, const char* text) {
  if (!text) return;
  ::TextOutA(m_printer->m_dc, m_printer->UnitToDeviceX(x), m_printer->UnitToDeviceY(y), text,
             int(strlen(text)));
}

int SPrinterPage::DrawTextBlock(const char* text) {
  if (!text) text = "";
  HDC dc = m_printer->m_dc;
  SString s("");
  for (const char* p = text; *p; ++p) {
    if (*p == '\t') {
      s += "    ";
    } else {
      s += *p;
    }
  }
  if (s.GetLength() == 0) s = " ";
  RECT area;
  m_printer->GetPrintableRect(&area);
  int leftMargin = int(m_printer->m_margins[0] * m_printer->m_pixelsPerMm[0]);

  COLORREF oldColor = ::SetTextColor(dc, m_printer->m_textColor);
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  HFONT font = ::CreateFontA(PointsToFontHeight(m_printer->m_fontSize, dc), 0, 0, 0, 0, 0, 0, 0, 0,
                             0, 0, 0, 0, m_printer->m_fontName.GetText());
  HGDIOBJ oldFont = ::SelectObject(dc, font);

  SString line("");
  int pos = 0;
  SIZE m = {0, 0};
  ::GetTextExtentPoint32A(dc, "M", 1, &m);
  while (pos < s.GetLength()) {
    int next = pos;
    SString token = s.GetWord(pos, &next, true);
    SString candidate = line + token;
    SIZE e = {0, 0};
    ::GetTextExtentPoint32A(dc, candidate.GetText(), candidate.GetLength(), &e);
    int h = e.cy > m.cy ? e.cy : m.cy;
    if (m_y + h > area.bottom) break;
    if (m_x + e.cx > area.right && line.GetLength() > 0) {
      ::TextOutA(dc, m_x, m_y, line.GetText(), line.GetLength());
      m_x = leftMargin;
      m_y += h;
      line = "";
      if (token == " ") pos = next;
      continue;
    }
    line = candidate;
    pos = next;
    if (pos >= s.GetLength()) {
      ::TextOutA(dc, m_x, m_y, line.GetText(), line.GetLength());
      m_x = leftMargin;
      m_y += h;
    }
  }

  ::SelectObject(dc, oldFont);
  if (font) ::DeleteObject(font);
  ::SetBkMode(dc, oldMode);
  ::SetTextColor(dc, oldColor);

  // Back to characters of the text: a tab stands for four spaces of s.
  if (pos >= s.GetLength()) return int(strlen(text));
  int consumed = 0;
  for (int expanded = 0; text[consumed] && expanded < pos; ++consumed) {
    expanded += text[consumed] == '\t' ? 4 : 1;
  }
  return consumed;
}
