// The page being printed by SPrinter: a text cursor in device pixels of the
// printer's context (origin at the printable area's top-left corner) and
// the word-wrapping line layout.
#pragma once

#include "core/Platform.h"

class SPrinter;

class SPrinterPage {
public:
  // The cursor at the left and top margins.
  explicit SPrinterPage(SPrinter* printer);
  virtual ~SPrinterPage();

  // Prints one paragraph from the cursor on: tabs as four spaces, wrapped at
  // the separator runs (a single space at a wrap is dropped; a word wider
  // than the line runs past the right edge). Returns how many characters
  // of the text were printed (a tab counts one): all of them, or fewer when
  // the page filled up.
  int DrawTextBlock(const char* text);
  // The whole string at a position given in the printer's unit.
  void PrintAt(double x, double y, const char* text);
  int UnitToDeviceX(double length) const;

  SPrinter* m_printer;
  int m_x, m_y;
};
