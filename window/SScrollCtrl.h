// A scroll bar ("SCROLLBAR") whose requests move it by the parent's scroll
// steps; a move reaches the parent as SWM_SCROLLCTRLMOVED, mouse button
// events as SWM_SCROLLCTRLMOUSE records. A hollow background lets the
// parent's background show.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SScrollCtrl : public SWnd {
public:
  SScrollCtrl();
  ~SScrollCtrl() override;

  int GetRangeMin();
  int GetRangeMax();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  HBRUSH OnCtlColorScrollBar(HDC dc) override;

  HBRUSH m_brush;
};
