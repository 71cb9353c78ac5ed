#include "core/Platform.h"
#include "editors/SBinaryCtrl.h"

#include "core/SResource.h"
#include "core/Utility.h"
#include "editors/EditorWindow.h"
#include "window/ControlFactory.h"
#include "window/FrameworkMessages.h"
#include "window/SDialogEditor.h"

#include <string.h>

namespace {

const double kFontPoints = 10.0;
// Scroll steps: horizontally in characters, vertically in rows (a wheel
// notch moves one vertical page step).
const int kHorzLineStep = 1;
const int kHorzPageStep = 10;
const int kVertLineStep = 1;
const int kVertPageStep = 16;
const int kScrollUnit = 1;
const UINT kRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
const char kHexDigits[] = "0123456789ABCDEF";

void SetRangeAndPage(HWND hWnd, int bar, int maximum, int page) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = 0;
  info.nMax = maximum;
  info.nPage = page < 0 ? 0 : UINT(page);
  ::SetScrollInfo(hWnd, bar, &info, TRUE);
}

int ClientSize(HWND hWnd, bool height) {
  RECT client = {0, 0, 0, 0};
  if (hWnd) ::GetClientRect(hWnd, &client);
  return height ? client.bottom : client.right;
}

}  // namespace

SBinaryCtrl::SBinaryCtrl()
    : m_font(nullptr),
      m_charWidth(0),
      m_lineHeight(0),
      m_rowCount(0),
      m_rowBuffer(nullptr),
      m_rowBufferSize(0) {
  m_kind = KIND;
  m_font = ::CreateFontA(PointsToFontHeight(kFontPoints), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         "courier new");
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ previous = ::SelectObject(screen, m_font);
  TEXTMETRICA metrics;
  if (::GetTextMetricsA(screen, &metrics)) {
    m_charWidth = metrics.tmAveCharWidth;
    m_lineHeight = metrics.tmHeight;
  }
  ::SelectObject(screen, previous);
  ::ReleaseDC(nullptr, screen);
}

SBinaryCtrl::~SBinaryCtrl() {
  delete[] m_rowBuffer;
  m_rowBuffer = nullptr;
  if (m_font) ::DeleteObject(m_font);
  m_content.Close();
}

bool SBinaryCtrl::LoadFile(SFile* file) {
  if (!file || !m_content.OpenTemp()) return false;
  SFile::Copy(file, &m_content, -1);
  m_rowCount = m_content.GetSize() / ROW_BYTES;
  ResetScroll();
  LoadVisibleRows();
  Redraw(nullptr, kRepaint);
  return true;
}

// --- scrolling and rows -------------------------------------------------------

void SBinaryCtrl::ResetScroll() {
  if (!m_hWnd) return;
  m_hLineStep = kHorzLineStep;
  m_hPageStep = kHorzPageStep;
  m_hScrollUnit = kScrollUnit;
  m_vLineStep = kVertLineStep;
  m_vPageStep = kVertPageStep;
  m_vScrollUnit = kScrollUnit;
  UpdateScrollBars();
  SetScrollPos(0);
  SetHScrollPos(0);
}

void SBinaryCtrl::UpdateScrollBars() {
  if (!m_hWnd) return;
  int rows = m_lineHeight < 1 ? 0 : ClientSize(m_hWnd, true) / m_lineHeight;
  SetRangeAndPage(m_hWnd, SB_VERT, m_rowCount, rows);
  int chars = m_charWidth < 1 ? 0 : ClientSize(m_hWnd, false) / m_charWidth;
  SetRangeAndPage(m_hWnd, SB_HORZ, ROW_CHARS - 1, chars);
}

int SBinaryCtrl::GetVisibleRowCount() {
  if (m_lineHeight < 1) return 0;
  int height = ClientSize(m_hWnd, true);
  return (height + m_lineHeight - 1) / m_lineHeight;
}

void SBinaryCtrl::LoadVisibleRows() {
  if (!m_content.IsOpen()) return;
  int first = m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
  int n = GetVisibleRowCount() * ROW_BYTES;
  if (n <= 0) {
    delete[] m_rowBuffer;
    m_rowBuffer = nullptr;
    m_rowBufferSize = 0;
    return;
  }
  if (n != m_rowBufferSize) {
    delete[] m_rowBuffer;
    m_rowBuffer = new uint8_t[n];
    m_rowBufferSize = n;
  }
  memset(m_rowBuffer, 0, n);
  if (first < 0 || first > m_rowCount) return;
  m_content.Seek(first * ROW_BYTES);
  m_content.ReadData(m_rowBuffer, n);
}

// --- painting -----------------------------------------------------------------

SString SBinaryCtrl::DrawRow(int row, const uint8_t* bytes) {
  SString offset;
  offset.SetHex(uint64_t(uint32_t(row)) * ROW_BYTES, 8);
  char text[ROW_CHARS + 1];
  int n = 0;
  for (int i = 0; i < offset.GetLength() && n < 8; ++i) text[n++] = offset.GetAt(i);
  text[n++] = ' ';
  text[n++] = ' ';
  for (int i = 0; i < ROW_BYTES; ++i) {
    text[n++] = kHexDigits[bytes[i] >> 4];
    text[n++] = kHexDigits[bytes[i] & 15];
    text[n++] = ' ';
    if (i == 8) text[n++] = ' ';
  }
  text[n++] = ' ';
  text[n++] = ' ';
  for (int i = 0; i < ROW_BYTES; ++i) {
    text[n++] = bytes[i] >= 0x21 && bytes[i] <= 0x7E ? char(bytes[i]) : '.';
  }
  text[n] = 0;
  return SString(text);
}

void SBinaryCtrl::Paint(HDC dc) {
  if (!dc || !m_content.IsOpen() || !m_rowBuffer) return;
  int first = m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
  int visible = GetVisibleRowCount();
  if (visible > m_rowBufferSize / ROW_BYTES) visible = m_rowBufferSize / ROW_BYTES;
  int last = first + visible < m_rowCount ? first + visible : m_rowCount;
  int x = m_hWnd ? -::GetScrollPos(m_hWnd, SB_HORZ) * m_charWidth : 0;
  HGDIOBJ previous = ::SelectObject(dc, m_font);
  for (int r = first; r < last; ++r) {
    SString text = DrawRow(r, m_rowBuffer + (r - first) * ROW_BYTES);
    ::TextOutA(dc, x, (r - first) * m_lineHeight, text.GetText(), text.GetLength());
  }
  ::SelectObject(dc, previous);
}

// --- messages -----------------------------------------------------------------

LRESULT SBinaryCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (TrackScrollThumb(*this, message, wParam, lParam)) return 0;
  if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(::GetSysColor(COLOR_WINDOW));
      ResetScroll();
      break;

    case WM_SIZE:
      UpdateScrollBars();
      LoadVisibleRows();
      break;

    case WM_LBUTTONDOWN:
      SetFocus();
      break;

    case WM_MOUSEWHEEL: {
      // A notch moves one vertical page step.
      int step = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? m_vPageStep : -m_vPageStep;
      SetScrollPos(::GetScrollPos(m_hWnd, SB_VERT) + step);
      LoadVisibleRows();
      Redraw(nullptr, kRepaint);
      break;
    }

    case SWM_HSCROLLED:
      Redraw(nullptr, kRepaint);
      break;

    case SWM_VSCROLLED:
      LoadVisibleRows();
      Redraw(nullptr, kRepaint);
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

// --- the dialog builder -------------------------------------------------------

namespace {

SWnd* ConstructBinary() { return new SBinaryCtrl; }

// The BINARY_FILE entry goes through a temporary file rather than memory,
// so that a large entry is never held whole.
void ConfigureBinary(SWnd* control, const SDialogEditor::_SCtrl* record, SResource* archive, bool) {
  SBinaryCtrl* binary = dynamic_cast<SBinaryCtrl*>(control);
  if (!binary || !archive) return;
  SString name = SDialogEditor::GetProperty(record, "BINARY_FILE");
  SFilePath entry;
  if (entry.OpenTemp() && archive->Load(&entry, name.GetText(), true)) binary->LoadFile(&entry);
}

const SDialogControlClass kBinaryClass = {&ConstructBinary, &ConfigureBinary, nullptr};

}  // namespace

bool SBinaryCtrl::Register() {
  return RegisterDialogControlClass(SDialogEditor::TYPE_BINARY, &kBinaryClass);
}
