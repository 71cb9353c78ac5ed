// SFlashCtrl: a framework window hosting the Flash object. It loads no
// movie; where the object is not installed the window cannot be created.
#pragma once

#include "core/Platform.h"
#include "core/SDll.h"
#include "window/ActiveXHost.h"
#include "window/SWnd.h"

class SFlashCtrl : public SWnd {
public:
  // Registers the class with the control factory (framework start-up does).
  static bool Register();

  SFlashCtrl();
  ~SFlashCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool CreateControl();
  void DestroyControl();

  SDll m_library;
  AtlAxAttachControlProc m_attach;
  IDispatch* m_flash;
};
