#include "core/Platform.h"
#include "editors/SPrinter.h"

#include "core/SFile.h"
#include "editors/SPrinterPage.h"

namespace {

// PD_USEDEVMODECOPIESANDCOLLATE | PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION.
const DWORD kDialogFlags = 0x4010C;
const double kDefaultMargin = 25.0;

const int kCapsIndexes[SPrinter::CAPS_COUNT] = {
    HORZRES,        VERTRES,         HORZSIZE,        VERTSIZE,   PHYSICALWIDTH,
    PHYSICALHEIGHT, PHYSICALOFFSETX, PHYSICALOFFSETY, LOGPIXELSX, LOGPIXELSY,
};

// One line of the file from its position; the break (CR, LF or CR LF) is
// consumed, not returned.
SString ReadTextLine(SFile* file) {
  SString line("");
  for (;;) {
    int c = file->ReadByte();
    if (c < 0 || c == '\n') break;
    if (c == '\r') {
      int position = file->Tell();
      if (file->ReadByte() != '\n') file->Seek(position);
      break;
    }
    line += char(c);
  }
  return line;
}

}  // namespace

const SPrinter::_SDevice SPrinter::SYSTEM_DEVICE = {
    ::PrintDlgA, ::StartDocA, ::StartPage, ::EndPage, ::EndDoc, ::GetDeviceCaps,
};
SPrinter::_SDevice SPrinter::s_device = SPrinter::SYSTEM_DEVICE;

SPrinter::SPrinter()
    : m_owner(nullptr),
      m_unit(0),
      m_defaultFontName("arial"),
      m_defaultFontSize(11),
      m_fontSize(11),
      m_textColor(0),
      m_dc(nullptr),
      m_dialog(nullptr) {
  memset(m_deviceSizes, 0, sizeof(m_deviceSizes));
  m_pixelsPerMm[0] = m_pixelsPerMm[1] = 1.0;
  Reset();
}

SPrinter::~SPrinter() { Reset(); }

void SPrinter::FreeRecord() {
  if (!m_dialog) return;
  if (m_dialog->hDevMode) ::GlobalFree(m_dialog->hDevMode);
  if (m_dialog->hDevNames) ::GlobalFree(m_dialog->hDevNames);
  delete m_dialog;
  m_dialog = nullptr;
}

void SPrinter::Reset() {
  FreeRecord();
  m_unit = 0;
  m_fontName = m_defaultFontName;
  m_fontSize = m_defaultFontSize;
  for (double& margin : m_margins) margin = kDefaultMargin;
  m_textColor = 0;
  m_dc = nullptr;
}

bool SPrinter::Begin() {
  FreeRecord();
  m_dialog = new PRINTDLGA;
  memset(m_dialog, 0, sizeof(*m_dialog));
  m_dialog->lStructSize = sizeof(*m_dialog);
  m_dialog->hwndOwner = m_owner;
  m_dialog->Flags = kDialogFlags;
  m_dialog->nFromPage = 0xFFFF;
  m_dialog->nToPage = 0xFFFF;
  m_dialog->nMinPage = 1;
  m_dialog->nMaxPage = 0xFFFF;
  m_dialog->nCopies = 1;
  if (s_device.printDialog(m_dialog) != 1 || !m_dialog->hDC) {
    FreeRecord();
    return false;
  }
  HDC dc = m_dialog->hDC;
  DOCINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.lpszDocName = "VANDRO";
  if (s_device.startDoc(dc, &info) <= 0) {
    ::DeleteDC(dc);
    FreeRecord();
    return false;
  }
  for (int i = 0; i < CAPS_COUNT; ++i) m_deviceSizes[i] = s_device.deviceCaps(dc, kCapsIndexes[i]);
  // A device without a physical size cannot be laid out.
  if (m_deviceSizes[CAPS_HORZSIZE] <= 0 || m_deviceSizes[CAPS_VERTSIZE] <= 0) {
    ::AbortDoc(dc);
    ::DeleteDC(dc);
    FreeRecord();
    return false;
  }
  if (m_owner) ::EnableWindow(m_owner, FALSE);
  m_dc = dc;
  m_pixelsPerMm[0] = double(m_deviceSizes[CAPS_HORZRES]) / m_deviceSizes[CAPS_HORZSIZE];
  m_pixelsPerMm[1] = double(m_deviceSizes[CAPS_VERTRES]) / m_deviceSizes[CAPS_VERTSIZE];
  return true;
}

bool SPrinter::End() {
  if (!m_dialog) return false;
  int ended = m_dc ? s_device.endDoc(m_dc) : 0;
  if (m_dc) ::DeleteDC(m_dc);
  m_dc = nullptr;
  FreeRecord();
  if (m_owner) ::EnableWindow(m_owner, TRUE);
  return ended > 0;
}

bool SPrinter::PrintText(SFile* file) {
  if (!file || file->IsEOF()) return false;
  if (!Begin()) return false;
  while (!file->IsEOF()) {
    s_device.startPage(m_dc);
    SPrinterPage page(this);
    bool progress = false;
    while (!file->IsEOF()) {
      int position = file->Tell();
      SString line = ReadTextLine(file);
      int y = page.m_y;
      int n = page.DrawTextBlock(line.GetText() ? line.GetText() : "");
      bool fitted = n > 0 || page.m_y != y;
      progress = progress || fitted;
      // An empty line that did not fit at the bottom is dropped; the page is full.
      if (!fitted && line.GetLength() == 0) break;
      if (n < line.GetLength()) {
        file->Seek(position + n);
        break;
      }
    }
    s_device.endPage(m_dc);
    // A fresh page that takes nothing never will: the text cannot be printed.
    if (!progress) return false;
  }
  return true;
}

double SPrinter::ToUnit(double mm) const {
  if (m_unit == 1) return mm * 0.254;
  if (m_unit == 2) return mm / 10.0;
  return mm;
}

double SPrinter::FromUnit(double length) const {
  if (m_unit == 1) return length / 0.254;
  if (m_unit == 2) return length * 10.0;
  return length;
}

void SPrinter::GetPrintableArea(double* left, double* top, double* right, double* bottom) const {
  const int* d = m_deviceSizes;
  double px = m_pixelsPerMm[0], py = m_pixelsPerMm[1];
  double paperWidth = d[CAPS_PHYSICALWIDTH] / px, paperHeight = d[CAPS_PHYSICALHEIGHT] / py;
  double offsetX = d[CAPS_PHYSICALOFFSETX] / px, offsetY = d[CAPS_PHYSICALOFFSETY] / py;
  double width = d[CAPS_HORZRES] / px, height = d[CAPS_VERTRES] / py;
  // The unprintable strip of each side: left, top, right, bottom.
  double strips[4] = {offsetX, offsetY, paperWidth - (width + offsetX),
                      paperHeight - (height + offsetY)};
  double insets[4];
  for (int i = 0; i < 4; ++i) {
    insets[i] = m_margins[i] >= strips[i] ? m_margins[i] - strips[i] : strips[i];
  }
  *left = ToUnit(insets[0]);
  *top = ToUnit(insets[1]);
  *right = ToUnit(width - insets[2]);
  *bottom = ToUnit(height - insets[3]);
}

void SPrinter::GetPrintableRect(RECT* rect) const {
  double left, top, right, bottom;
  GetPrintableArea(&left, &top, &right, &bottom);
  rect->left = UnitToDeviceX(left);
  rect->top = UnitToDeviceY(top);
  rect->right = UnitToDeviceX(right);
  rect->bottom = UnitToDeviceY(bottom);
}

int SPrinter::UnitToDeviceX(double length) const {
  return int(FromUnit(length) * m_pixelsPerMm[0]);
}

int SPrinter::UnitToDeviceY(double length) const {
  return int(FromUnit(length) * m_pixelsPerMm[1]);
}
