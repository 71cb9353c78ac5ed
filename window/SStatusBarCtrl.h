// The status bar: a system status bar ("msctls_statusbar32") split into
// parts, which follows its parent's size. Mouse button events reach the
// parent as SWM_STATUSBARMOUSE records.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SStatusBarCtrl : public SWnd {
public:

  SStatusBarCtrl();
  ~SStatusBarCtrl() override;

  // n parts of equal width: part i (0 to n - 2) ends at (i + 1) x w, w being
  // the parent's client width divided by n, the last part at the right end.
  // False for n < 1 or without a window.
  bool SetParts(int n);
  // Moves the right end of one of the current parts; false when the bar has
  // no parts or the part is not one of them.
  bool SetPartRight(int part, int right);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
