// SLcdCtrl: geometry, the glyph font, text preparation and scrolling.
#include "core/Platform.h"
#include "window/SLcdCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <math.h>

namespace {

const COLORREF kCellColor = 0x00D1A24B;
const COLORREF kDotColor = 0x000A0A0A;
const COLORREF kBackColor = 0x00E2BE6C;
const double kDefaultSpeed = 5.0;
const UINT_PTR kScrollTimer = 1;
const UINT kScrollPeriod = 20;  // milliseconds
// A cell advances 6 x 8 dots; its lit part is 5 x 7.
const int kCellColumns = 6, kCellRows = 8, kGlyphColumns = 5, kGlyphRows = 7;
// Sizes from dialog texts are kept within these.
const int kMaxDot = 256, kMaxChars = 1024, kMaxLines = 256;

int Bounded(int value, int maximum) { return value < 1 ? 1 : value > maximum ? maximum : value; }

// Five columns per glyph, left to right; bit 7 is the top dot, bit 1 the
// bottom one. The printable codes from the space to "~".
const unsigned char kFont[][kGlyphColumns] = {
    {0x00, 0x00, 0x00, 0x00, 0x00},  // space
    {0x00, 0x00, 0xFA, 0x00, 0x00},  // !
    {0x00, 0xE0, 0x00, 0xE0, 0x00},  // "
    {0x28, 0xFE, 0x28, 0xFE, 0x28},  // #
    {0x24, 0x54, 0xFE, 0x54, 0x48},  // $
    {0xC4, 0xC8, 0x10, 0x26, 0x46},  // %
    {0x6C, 0x92, 0xAA, 0x44, 0x0A},  // &
    {0x00, 0xA0, 0xC0, 0x00, 0x00},  // quote
    {0x00, 0x38, 0x44, 0x82, 0x00},  // (
    {0x00, 0x82, 0x44, 0x38, 0x00},  // )
    {0x28, 0x10, 0x7C, 0x10, 0x28},  // *
    {0x10, 0x10, 0x7C, 0x10, 0x10},  // +
    {0x00, 0x0A, 0x0C, 0x00, 0x00},  // ,
    {0x10, 0x10, 0x10, 0x10, 0x10},  // -
    {0x00, 0x06, 0x06, 0x00, 0x00},  // .
    {0x04, 0x08, 0x10, 0x20, 0x40},  // /
    {0x7C, 0x8A, 0x92, 0xA2, 0x7C},  // 0
    {0x00, 0x42, 0xFE, 0x02, 0x00},  // 1
    {0x42, 0x86, 0x8A, 0x92, 0x62},  // 2
    {0x84, 0x82, 0xA2, 0xD2, 0x8C},  // 3
    {0x18, 0x28, 0x48, 0xFE, 0x08},  // 4
    {0xE4, 0xA2, 0xA2, 0xA2, 0x9C},  // 5
    {0x3C, 0x52, 0x92, 0x92, 0x0C},  // 6
    {0x80, 0x8E, 0x90, 0xA0, 0xC0},  // 7
    {0x6C, 0x92, 0x92, 0x92, 0x6C},  // 8
    {0x60, 0x92, 0x92, 0x94, 0x78},  // 9
    {0x00, 0x6C, 0x6C, 0x00, 0x00},  // :
    {0x00, 0x6A, 0x6C, 0x00, 0x00},  // ;
    {0x10, 0x28, 0x44, 0x82, 0x00},  // <
    {0x28, 0x28, 0x28, 0x28, 0x28},  // =
    {0x00, 0x82, 0x44, 0x28, 0x10},  // >
    {0x40, 0x80, 0x8A, 0x90, 0x60},  // ?
    {0x4C, 0x92, 0x9E, 0x82, 0x7C},  // @
    {0x7E, 0x88, 0x88, 0x88, 0x7E},  // A
    {0xFE, 0x92, 0x92, 0x92, 0x6C},  // B
    {0x7C, 0x82, 0x82, 0x82, 0x44},  // C
    {0xFE, 0x82, 0x82, 0x44, 0x38},  // D
    {0xFE, 0x92, 0x92, 0x92, 0x82},  // E
    {0xFE, 0x90, 0x90, 0x80, 0x80},  // F
    {0x7C, 0x82, 0x82, 0x8A, 0x4C},  // G
    {0xFE, 0x10, 0x10, 0x10, 0xFE},  // H
    {0x00, 0x82, 0xFE, 0x82, 0x00},  // I
    {0x04, 0x02, 0x82, 0xFC, 0x80},  // J
    {0xFE, 0x10, 0x28, 0x44, 0x82},  // K
    {0xFE, 0x02, 0x02, 0x02, 0x02},  // L
    {0xFE, 0x40, 0x20, 0x40, 0xFE},  // M
    {0xFE, 0x20, 0x10, 0x08, 0xFE},  // N
    {0x7C, 0x82, 0x82, 0x82, 0x7C},  // O
    {0xFE, 0x90, 0x90, 0x90, 0x60},  // P
    {0x7C, 0x82, 0x8A, 0x84, 0x7A},  // Q
    {0xFE, 0x90, 0x98, 0x94, 0x62},  // R
    {0x62, 0x92, 0x92, 0x92, 0x8C},  // S
    {0x80, 0x80, 0xFE, 0x80, 0x80},  // T
    {0xFC, 0x02, 0x02, 0x02, 0xFC},  // U
    {0xF8, 0x04, 0x02, 0x04, 0xF8},  // V
    {0xFE, 0x04, 0x18, 0x04, 0xFE},  // W
    {0xC6, 0x28, 0x10, 0x28, 0xC6},  // X
    {0xC0, 0x20, 0x1E, 0x20, 0xC0},  // Y
    {0x86, 0x8A, 0x92, 0xA2, 0xC2},  // Z
    {0x00, 0xFE, 0x82, 0x82, 0x00},  // [
    {0x40, 0x20, 0x10, 0x08, 0x04},  // backslash
    {0x00, 0x82, 0x82, 0xFE, 0x00},  // ]
    {0x20, 0x40, 0x80, 0x40, 0x20},  // ^
    {0x02, 0x02, 0x02, 0x02, 0x02},  // _
    {0x00, 0x80, 0x40, 0x20, 0x00},  // `
    {0x04, 0x2A, 0x2A, 0x2A, 0x1E},  // a
    {0xFE, 0x12, 0x22, 0x22, 0x1C},  // b
    {0x1C, 0x22, 0x22, 0x22, 0x04},  // c
    {0x1C, 0x22, 0x22, 0x12, 0xFE},  // d
    {0x1C, 0x2A, 0x2A, 0x2A, 0x18},  // e
    {0x10, 0x7E, 0x90, 0x80, 0x40},  // f
    {0x30, 0x4A, 0x4A, 0x4A, 0x7C},  // g
    {0xFE, 0x10, 0x20, 0x20, 0x1E},  // h
    {0x00, 0x22, 0xBE, 0x02, 0x00},  // i
    {0x04, 0x02, 0x22, 0xBC, 0x00},  // j
    {0xFE, 0x08, 0x14, 0x22, 0x00},  // k
    {0x00, 0x82, 0xFE, 0x02, 0x00},  // l
    {0x3E, 0x20, 0x18, 0x20, 0x1E},  // m
    {0x3E, 0x10, 0x20, 0x20, 0x1E},  // n
    {0x1C, 0x22, 0x22, 0x22, 0x1C},  // o
    {0x3E, 0x28, 0x28, 0x28, 0x10},  // p
    {0x10, 0x28, 0x28, 0x18, 0x3E},  // q
    {0x3E, 0x10, 0x20, 0x20, 0x10},  // r
    {0x12, 0x2A, 0x2A, 0x2A, 0x04},  // s
    {0x20, 0xFC, 0x22, 0x02, 0x04},  // t
    {0x3C, 0x02, 0x02, 0x04, 0x3E},  // u
    {0x38, 0x04, 0x02, 0x04, 0x38},  // v
    {0x3C, 0x02, 0x0C, 0x02, 0x3C},  // w
    {0x22, 0x14, 0x08, 0x14, 0x22},  // x
    {0x30, 0x0A, 0x0A, 0x0A, 0x3C},  // y
    {0x22, 0x26, 0x2A, 0x32, 0x22},  // z
    {0x00, 0x10, 0x6C, 0x82, 0x00},  // {
    {0x00, 0x00, 0xFE, 0x00, 0x00},  // |
    {0x00, 0x82, 0x6C, 0x10, 0x00},  // }
    {0x40, 0x80, 0x80, 0x40, 0x80},  // ~
};
const unsigned char kFirstPrintable = 0x20, kLastPrintable = 0x7E;

// The other codes with a glyph.
struct ExtraGlyph {
  unsigned char code;
  unsigned char columns[kGlyphColumns];
};
const ExtraGlyph kExtraGlyphs[] = {
    {'\t', {0x00, 0x00, 0x00, 0x00, 0x00}},
    {0x80, {0x10, 0x38, 0x54, 0x44, 0x28}},
    {0xA5, {0xA8, 0x68, 0x3E, 0x68, 0xA8}},
    {0xAF, {0x80, 0x80, 0x80, 0x80, 0x80}},
};
const unsigned char kBlock[kGlyphColumns] = {0xFE, 0xFE, 0xFE, 0xFE, 0xFE};

const unsigned char* GlyphOf(unsigned char code) {
  if (code >= kFirstPrintable && code <= kLastPrintable) return kFont[code - kFirstPrintable];
  for (const ExtraGlyph& glyph : kExtraGlyphs) {
    if (glyph.code == code) return glyph.columns;
  }
  return kBlock;
}

// The end of the line that starts at start, and where the next one starts
// (CR, LF or CR LF end a line).
int LineEnd(const char* text, int length, int start, int* next) {
  int end = start;
  while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
  *next = end;
  if (*next < length && text[*next] == '\r') ++*next;
  if (*next < length && text[*next] == '\n') ++*next;
  return end;
}

const SControlKind kLcdKind = {ControlKinds::KIND_LCD};
const bool kLcdKindRegistered = RegisterControlKind(&kLcdKind);

}  // namespace

SLcdCtrl::SLcdCtrl()
    : m_cellColor(kCellColor),
      m_dotColor(kDotColor),
      m_pixelWidth(2),
      m_pixelHeight(2),
      m_charCount(16),
      m_lineCount(1),
      m_alignment(0),
      m_scrolling(false),
      m_lastPaint(0),
      m_clock(::timeGetTime) {
  m_kind = ControlKinds::KIND_LCD;
  SetLineCount(1);
}

SLcdCtrl::~SLcdCtrl() {}

void SLcdCtrl::SetPixelSize(int width, int height) {
  if (width == m_pixelWidth && height == m_pixelHeight) return;
  m_pixelWidth = Bounded(width, kMaxDot);
  m_pixelHeight = Bounded(height, kMaxDot);
  if (m_hWnd) Redraw();
}

void SLcdCtrl::SetCharCount(int count) { m_charCount = Bounded(count, kMaxChars); }

void SLcdCtrl::SetLineCount(int count) {
  m_lineCount = Bounded(count, kMaxLines);
  m_speeds.RemoveAll();
  m_positions.RemoveAll();
  for (int i = 0; i < m_lineCount; ++i) {
    m_speeds.Add(kDefaultSpeed);
    m_positions.Add(0.0);
  }
}

void SLcdCtrl::SetAlignment(int value) {
  int alignment = (value & 3) == 3 ? 3 : (value & 2) ? 2 : (value & 1) ? 1 : 0;
  if (alignment == m_alignment) return;
  m_alignment = alignment;
  if (m_hWnd) Redraw();
}

void SLcdCtrl::SetScrollSpeed(int line, double speed) {
  if (!std::isfinite(speed)) return;
  for (int i = 0; i < m_speeds.GetCount(); ++i) {
    if (line == -1 || line == i) m_speeds[i] = speed;
  }
}

void SLcdCtrl::StartScrolling() {
  m_scrolling = true;
  for (int i = 0; i < m_positions.GetCount(); ++i) m_positions[i] = -double(m_charCount);
  m_lastPaint = m_clock();
  if (m_hWnd) ::SetTimer(m_hWnd, kScrollTimer, kScrollPeriod, nullptr);
}

void SLcdCtrl::OnScrollStep(int, int) {}

SString SLcdCtrl::PrepareText() {
  SString text = GetText();
  if (!m_scrolling) {
    // Alignment 3 lays out left-aligned lines filled out to the width.
    static const int kModes[] = {0, 1, 2, 0};
    if (m_alignment != 0) text.AlignLines(kModes[m_alignment], m_charCount);
    return text;
  }
  // One elapsed time for every line of this paint.
  DWORD now = m_clock();
  DWORD elapsed = now - m_lastPaint;
  m_lastPaint = now;
  SString result;
  const char* chars = text.GetText() ? text.GetText() : "";
  int length = text.GetLength();
  int start = 0;
  for (int line = 0; line < m_lineCount && (start < length || line == 0); ++line) {
    int next;
    int end = LineEnd(chars, length, start, &next);
    SString content = text.Mid(start, end - start);
    double speed = m_speeds[line];
    if (speed != 0.0) {
      double& position = m_positions[line];
      int oldOffset = int(floor(position));
      position += double(elapsed) * speed / 1000.0;
      int offset = int(floor(position));
      SString shifted;
      if (offset < 0) {
        for (int i = 0; i < -offset && i < m_charCount; ++i) shifted += " ";
        shifted += content;
      } else if (offset > content.GetLength()) {
        for (int i = 0; i < m_charCount; ++i) shifted += " ";
        position = -double(m_charCount);
        offset = -m_charCount;
      } else {
        shifted = content.Mid(offset, content.GetLength() - offset);
      }
      content = shifted;
      if (offset != oldOffset) OnScrollStep(line, offset);
    }
    if (line > 0) result += "\r\n";
    result += content;
    if (next >= length) break;
    start = next;
  }
  return result;
}

void SLcdCtrl::DrawGlyph(HDC dc, int x, int y, unsigned char code, HBRUSH dots) {
  const unsigned char* columns = GlyphOf(code);
  for (int column = 0; column < kGlyphColumns; ++column) {
    for (int row = 0; row < kGlyphRows; ++row) {
      if (!(columns[column] & (0x80 >> row))) continue;
      RECT dot = {x + column * m_pixelWidth, y + row * m_pixelHeight,
                  x + (column + 1) * m_pixelWidth, y + (row + 1) * m_pixelHeight};
      ::FillRect(dc, &dot, dots);
    }
  }
}

void SLcdCtrl::Paint(HDC dc) {
  if (!m_hWnd || !dc) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int pw = m_pixelWidth, ph = m_pixelHeight;
  int cellWidth = kCellColumns * pw, cellHeight = kCellRows * ph;
  int width = m_charCount * cellWidth, height = m_lineCount * cellHeight;
  int left = width - pw < client.right ? (client.right - width + pw) / 2 : 0;
  int top = height - ph < client.bottom ? (client.bottom - height + ph) / 2 : 0;

  HBRUSH cells = ::CreateSolidBrush(m_cellColor);
  for (int line = 0; line < m_lineCount; ++line) {
    for (int cell = 0; cell < m_charCount; ++cell) {
      int x = left + cell * cellWidth, y = top + line * cellHeight;
      RECT rect = {x, y, x + kGlyphColumns * pw, y + kGlyphRows * ph};
      ::FillRect(dc, &rect, cells);
    }
  }
  ::DeleteObject(cells);

  SString text = PrepareText();
  const char* chars = text.GetText() ? text.GetText() : "";
  HBRUSH dots = ::CreateSolidBrush(m_dotColor);
  int column = 0, line = 0;
  for (int i = 0; i < text.GetLength() && line < m_lineCount; ++i) {
    char c = chars[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.GetLength() && chars[i + 1] == '\n') ++i;
      ++line;
      column = 0;
      continue;
    }
    if (column >= m_charCount) continue;
    DrawGlyph(dc, left + column * cellWidth, top + line * cellHeight, static_cast<unsigned char>(c),
              dots);
    ++column;
  }
  ::DeleteObject(dots);
}

LRESULT SLcdCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(kBackColor);
      m_scrolling = false;
      break;
    case WM_SETTEXT: {
      LRESULT result = SWnd::WindowProc(message, wParam, lParam);
      Redraw();
      return result;
    }
    case WM_TIMER:
      if (wParam == kScrollTimer) Redraw();
      break;
    default:
      if (!ForwardMouse(this, SWM_LCDMOUSE, message, lParam)) return 0;
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
