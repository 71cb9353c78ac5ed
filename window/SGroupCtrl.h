// The framework's group box: a subclassed "BUTTON" control with
// BS_GROUPBOX, drawn in its own text and background colours, that reports
// every mouse button event to its parent (SWM_GROUPMOUSE with a MOUSERECORD,
// given straight to the parent's framework procedure; wParam the control).
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"
#include "window/SWnd.h"

#include <stdint.h>

class SGroupCtrl : public SWnd {
public:
  SGroupCtrl();
  ~SGroupCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The background colour's brush (none: null; hollow: transparent; else
  // solid) and always the text colour.
  HBRUSH OnCtlColorStatic(HDC dc) override;

  uint32_t m_textColor;  // ARGB; COLOR_BTNTEXT at construction
  HBRUSH m_brush;        // handed out by the last colour query; owned
};
