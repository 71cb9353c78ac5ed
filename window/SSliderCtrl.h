// A slider ("msctls_trackbar32"). A move reaches the parent as
// SWM_SLIDERMOVED, mouse button events as SWM_SLIDERMOUSE records. While it
// has the focus, its focus rectangle is painted over in the background
// colour; a hollow background lets the parent's background show.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SSliderCtrl : public SWnd {
public:
  SSliderCtrl();
  ~SSliderCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  HBRUSH OnCtlColorStatic(HDC dc) override;

  HBRUSH m_brush;
};
