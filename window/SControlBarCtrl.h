// The control bar: a system rebar ("ReBarWindow32") whose bands each hold
// one child window, typically a tool bar. Created with RBS_VARHEIGHT and
// RBS_AUTOSIZE, so that a change of its height reaches the parent as
// RBN_AUTOSIZE (and from there as SWM_BARAUTOSIZE). Its bands keep their
// ideal width when the parent is resized, and the commands of its tool bars
// (SWM_TOOLBARCOMMAND) are passed on to its parent unchanged.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SControlBarCtrl : public SWnd {
public:

  SControlBarCtrl();
  ~SControlBarCtrl() override;

  // A band at the end of the bar that starts a new row, with an edge around
  // the child and no gripper; the child keeps at least width x height.
  // True when the bar accepted the band.
  bool AddBand(HWND child, int width, int height);
  // Deletes every band (their child windows stay).
  void DeleteBands();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
