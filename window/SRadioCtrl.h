// A radio button: a subclassed system "BUTTON" with BS_RADIOBUTTON in a
// group. Checking it unchecks the radios of the same group under the same
// parent; a radio of group -1 unchecks nothing. A click checks it and reaches
// the parent as SWM_RADIOCLICKED; every mouse button event as SWM_RADIOMOUSE.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SRadioCtrl : public SWnd {
public:
  SRadioCtrl();
  ~SRadioCtrl() override;

  // Checks this radio, then unchecks the other radios of its group among the
  // framework windows of the thread under the same parent.
  void SetCheck();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  HBRUSH OnCtlColorStatic(HDC dc) override;

  HBRUSH m_brush;
  int m_group;  // -1: no group
};
