// The read-only hex viewer of dialog type BINARY: the bytes of a file as
// rows of 16, each the offset, the bytes in hexadecimal and their
// characters, in a fixed-pitch font.
//
// The loaded content is copied into a temporary file of the control's own;
// only the bytes of the visible rows are held in memory, read again whenever
// the vertical position or the window's height changes. Only whole rows are
// shown: the bytes of a final partial row are not. Scrolling is in rows
// vertically and in characters horizontally (a row is ROW_CHARS characters).
#pragma once

#include "core/Platform.h"
#include "core/SFilePath.h"
#include "core/SString.h"
#include "window/SWnd.h"

#include <stdint.h>

class SBinaryCtrl : public SWnd {
public:
  enum { KIND = 2 };
  enum { ROW_BYTES = 16, ROW_CHARS = 77 };

  // The font "courier new" at 10 points for the screen and its metrics.
  SBinaryCtrl();
  // Frees the row buffer, deletes the font, closes (and so deletes) the
  // content file.
  ~SBinaryCtrl() override;

  // Registers the class with the dialog control factory for type BINARY.
  static bool Register();

  // Copies everything from the file's position to its end into a new
  // temporary content file (the previous one is deleted), back at the top.
  // False for a null file or when no temporary file can be made.
  bool LoadFile(SFile* file);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Scroll steps, ranges and positions back to the top.
  void ResetScroll();
  void UpdateScrollBars();
  // Reads the rows from the vertical position on that fit the client height.
  void LoadVisibleRows();
  // Draws the visible rows into the context.
  void Paint(HDC dc);
  // The text of row r (its offset is r x 16) from its 16 bytes: the offset in
  // 8 hexadecimal digits, two blanks, each byte in two digits and a blank
  // (one more after the ninth), two blanks and the bytes as characters
  // (0x21 to 0x7E as themselves, every other byte as '.').
  static SString DrawRow(int row, const uint8_t* bytes);

  // Rows that fit the client height, the last one possibly cut.
  int GetVisibleRowCount();

  HFONT m_font;
  int m_charWidth;
  int m_lineHeight;
  SFilePath m_content;
  int m_rowCount;
  uint8_t* m_rowBuffer;
  int m_rowBufferSize;
};
