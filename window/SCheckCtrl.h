// A check box: a subclassed system "BUTTON" with BS_CHECKBOX. A click toggles
// it (an indeterminate box becomes checked) and reaches the parent as
// SWM_CHECKCHANGED with the new state; every mouse button event as
// SWM_CHECKMOUSE with a MOUSERECORD.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SCheckCtrl : public SWnd {
public:
  SCheckCtrl();
  ~SCheckCtrl() override;

  // 0 unchecked, 1 checked, any other value indeterminate.
  void SetCheck(int state);
  // 0, 1, or 2 for any other answer of the control.
  int GetCheck();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // No colour: not handled; hollow: no brush; else a solid brush kept until
  // the next request.
  HBRUSH OnCtlColorStatic(HDC dc) override;

  HBRUSH m_brush;
};
