// A dot-matrix character display: lines of character cells, each 5 x 7 dots
// of a built-in font, drawn in the dot colour over the cell colour. Its text
// can scroll through the cells like a marquee, every line at its own speed.
// Mouse button events reach the parent as SWM_LCDMOUSE records.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "window/SWnd.h"

class SLcdCtrl : public SWnd {
public:
  SLcdCtrl();
  ~SLcdCtrl() override;

  // Sizes and counts are kept from 1 to 256 dots, 1024 characters and 256
  // lines.
  // The dot size; redraws when either changed.
  void SetPixelSize(int width, int height);
  // The characters per line.
  void SetCharCount(int count);
  // Every line's speed becomes 5 and its position 0.
  void SetLineCount(int count);
  // 3 when both low bits are set, else 2 for bit 1, 1 for bit 0, 0; redraws
  // when changed. 0 leaves the text as it is, 1 centres, 2 right-aligns and
  // 3 fills out every line to the width.
  void SetAlignment(int value);
  // Characters per second of a line; -1 sets every line, other lines
  // outside the line count are ignored.
  void SetScrollSpeed(int line, double speed);
  // Every line starts empty and enters from the right; a 20 ms timer
  // redraws until the window goes.
  void StartScrolling();

  // Paints cells and text into the DC (the window's client origin at 0, 0).
  void Paint(HDC dc);
  // The text as drawn this paint: aligned, or each line shifted by its
  // scroll position (which advances by the time since the last paint).
  SString PrepareText();
  // One glyph at (x, y) in the dot colour; codes without a glyph draw a
  // full block.
  void DrawGlyph(HDC dc, int x, int y, unsigned char code, HBRUSH dots);

  // A scrolling line's whole-character offset changed during painting.
  virtual void OnScrollStep(int line, int offset);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  COLORREF m_cellColor;
  COLORREF m_dotColor;
  int m_pixelWidth, m_pixelHeight;
  int m_charCount;
  int m_lineCount;
  int m_alignment;
  bool m_scrolling;
  DWORD m_lastPaint;           // milliseconds of the clock
  SArray<double> m_speeds;     // characters per second, one per line
  SArray<double> m_positions;  // characters, one per line
  DWORD(WINAPI* m_clock)();    // the millisecond clock; timeGetTime
};
