// SButtonCtrl: mouse records to the parent and the background brush.
#include "core/Platform.h"
#include "window/SButtonCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

// A click of the push button.
void ButtonCommand(SWnd* parent, SWnd* button, UINT code) {
  if (code == BN_CLICKED) parent->SendMessage(SWM_BUTTONCLICKED, ToWParam(button), 0);
}

const SControlKind kButtonKind = {ControlKinds::KIND_BUTTON, CUT_CLIP_WHILE_SIZING, ButtonCommand};
const bool kButtonKindRegistered = RegisterControlKind(&kButtonKind);

}  // namespace

SButtonCtrl::SButtonCtrl() : m_backBrush(nullptr) {
  m_kind = ControlKinds::KIND_BUTTON;
}

SButtonCtrl::~SButtonCtrl() {
  FreeBackgroundBrush(&m_backBrush);
}

LRESULT SButtonCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (parent && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
    StaticWndProc(parent, SWM_BUTTONMOUSE, reinterpret_cast<WPARAM>(this),
                  reinterpret_cast<LPARAM>(&record));
    if (!m_hWnd) return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

HBRUSH SButtonCtrl::OnCtlColorBtn(HDC) {
  return BackgroundBrush(GetBackColor(), nullptr, &m_backBrush);
}
