// SProgressCtrl: range, background colour, mouse records.
#include "core/Platform.h"
#include "window/SProgressCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

const SControlKind kProgressKind = {ControlKinds::KIND_PROGRESS, CUT_CLIP_WHILE_SIZING};
const bool kProgressKindRegistered = RegisterControlKind(&kProgressKind);

}  // namespace

SProgressCtrl::SProgressCtrl() { m_kind = ControlKinds::KIND_PROGRESS; }

SProgressCtrl::~SProgressCtrl() {}

void SProgressCtrl::SetBackColor(COLORREF color) {
  if (m_hWnd) SendMessage(PBM_SETBKCOLOR, 0, LPARAM(color));
}

COLORREF SProgressCtrl::GetBackColor() { return SImage::COLOR_NONE; }

LRESULT SProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_AFTERCREATE) SendMessage(PBM_SETRANGE32, 0, 100);
  if (!ForwardMouse(this, SWM_PROGRESSMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}
