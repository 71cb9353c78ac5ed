// A label: the window text in one line, aligned in the client area shrunk by
// 2 pixels, in its text colour over the framework's background painting.
// Mouse button events reach the parent as SWM_LABELMOUSE records.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SLabelCtrl : public SWnd {
public:
  enum : int {
    ALIGN_LEFT = 0,
    ALIGN_CENTER = 1,
    ALIGN_RIGHT = 2,
    ALIGN_JUSTIFY = 3,  // drawn like left
    ALIGN_TOP = 0x00,
    ALIGN_MIDDLE = 0x10,
    ALIGN_BOTTOM = 0x20,
  };

  SLabelCtrl();
  ~SLabelCtrl() override;

  // Low bits horizontal (both set 3, else bit 1: 2, else bit 0: 1), bits 4
  // and 5 vertical (bit 5: bottom, else bit 4: middle, else top); redraws
  // when the alignment changed.
  void SetAlignment(int value);
  // Draws the text into the DC.
  void Paint(HDC dc);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  COLORREF m_textColor;
  int m_alignment;
};
