// Printing of a plain text on the printer the user picks in the print
// dialog: one document, each line of the text word-wrapped between margins
// in one font and one colour, as many pages as it needs.
//
// Calling order: construct; set the owner window and, when wanted, the
// font, margins and colour; PrintText; End (also after a failed PrintText);
// destroy. The owner window is disabled while the document is open.
//
// Lengths are in the unit of m_unit (0 millimetres; 1 millimetres x 0.254;
// 2 millimetres / 10), converted back to millimetres before device pixels
// are computed. Margins are millimetres. The left and top margins are
// measured from the printable area's origin, the right and bottom ones from
// the paper's edges.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class SFile;

class SPrinter {
public:
  // GetDeviceCaps indexes kept at the start of a document, in this order.
  enum {
    CAPS_HORZRES,
    CAPS_VERTRES,
    CAPS_HORZSIZE,
    CAPS_VERTSIZE,
    CAPS_PHYSICALWIDTH,
    CAPS_PHYSICALHEIGHT,
    CAPS_PHYSICALOFFSETX,
    CAPS_PHYSICALOFFSETY,
    CAPS_LOGPIXELSX,
    CAPS_LOGPIXELSY,
    CAPS_COUNT
  };

  // The calls that reach the printer: the print dialog, the document and
  // page brackets and the device queries; the system's by default.
  struct _SDevice {
    BOOL(WINAPI* printDialog)(LPPRINTDLGA record);
    int(WINAPI* startDoc)(HDC dc, const DOCINFOA* info);
    int(WINAPI* startPage)(HDC dc);
    int(WINAPI* endPage)(HDC dc);
    int(WINAPI* endDoc)(HDC dc);
    int(WINAPI* deviceCaps)(HDC dc, int index);
  };
  static _SDevice s_device;
  static const _SDevice SYSTEM_DEVICE;

  SPrinter();
  virtual ~SPrinter();

  // The print dialog and the start of the document; false when the user
  // cancelled, the dialog failed or the document could not be started.
  bool Begin();
  // Prints the rest of the file (lines end at CR, LF or CR LF). False for
  // no file or nothing left (no dialog then), when Begin failed, or when a
  // fresh page could take nothing of the text.
  bool PrintText(SFile* file);
  // Ends the document; false without one or when the system reports a
  // failure (the device is released and the owner enabled in any case).
  bool End();

  // The text area of a page, relative to the printable area's origin: in
  // the unit, and in device pixels.
  void GetPrintableArea(double* left, double* top, double* right, double* bottom) const;
  void GetPrintableRect(RECT* rect) const;
  // A length in the unit as device pixels (truncated).
  int UnitToDeviceX(double length) const;
  int UnitToDeviceY(double length) const;

  HWND m_owner;
  int m_unit;
  SString m_defaultFontName;
  int m_defaultFontSize;
  SString m_fontName;
  int m_fontSize;  // points
  COLORREF m_textColor;
  double m_margins[4];  // left, top, right, bottom
  HDC m_dc;             // while a document is open
  int m_deviceSizes[CAPS_COUNT];
  double m_pixelsPerMm[2];  // horizontal, vertical

private:
  SPrinter(const SPrinter&) = delete;
  SPrinter& operator=(const SPrinter&) = delete;

  // Frees the dialog record and sets the job's settings back.
  void Reset();
  void FreeRecord();
  double ToUnit(double mm) const;
  double FromUnit(double length) const;

  PRINTDLGA* m_dialog;  // while a document is open
};
