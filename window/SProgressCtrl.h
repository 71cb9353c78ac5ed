// A progress bar ("msctls_progress32"), range 0 to 100 after creation. Mouse
// button events reach the parent as SWM_PROGRESSMOUSE records.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SProgressCtrl : public SWnd {
public:
  SProgressCtrl();
  ~SProgressCtrl() override;

  // PBM_SETBKCOLOR; the colour is kept by the bar only.
  void SetBackColor(COLORREF color) override;
  // Always 0xFF000000.
  COLORREF GetBackColor() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
