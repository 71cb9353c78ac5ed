// A standard push button ("BUTTON") that reports every mouse button event to
// its parent window as SWM_BUTTONMOUSE with a MOUSERECORD (given straight to
// the parent's framework window procedure) and paints its background with
// its own colour. Its click reaches the parent as SWM_BUTTONCLICKED, made by
// the parent's own message handling from BN_CLICKED.
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"
#include "window/SWnd.h"

class SButtonCtrl : public SWnd {
public:
  SButtonCtrl();
  ~SButtonCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // 0 (default painting) without a colour, the stock NULL_BRUSH when hollow,
  // else a solid brush of the colour kept until the next call.
  HBRUSH OnCtlColorBtn(HDC dc) override;

  HBRUSH m_backBrush;
};
