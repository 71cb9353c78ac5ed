// SCheckCtrl: check states, the click at the parent, mouse records.
#include "core/Platform.h"
#include "window/SCheckCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

// 0, 1, or 2 for any other answer of the control.
int CheckState(SWnd* control) {
  LRESULT state = control->SendMessage(BM_GETCHECK, 0, 0);
  return state == BST_UNCHECKED ? 0 : state == BST_CHECKED ? 1 : 2;
}

// A click: checked unless it was checked (an indeterminate box becomes
// checked), then the parent hears the state.
void CheckCommand(SWnd* parent, SWnd* control, UINT code) {
  if (code != BN_CLICKED) return;
  bool checked = CheckState(control) == 1;
  control->SendMessage(BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
  parent->SendMessage(SWM_CHECKCHANGED, ToWParam(control), CheckState(control));
}

const SControlKind kCheckKind = {ControlKinds::KIND_CHECK, CUT_CLIP, CheckCommand};
const bool kCheckKindRegistered = RegisterControlKind(&kCheckKind);

}  // namespace

SCheckCtrl::SCheckCtrl() : m_brush(nullptr) { m_kind = ControlKinds::KIND_CHECK; }

SCheckCtrl::~SCheckCtrl() {
  if (m_brush && m_brush != static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))) {
    ::DeleteObject(m_brush);
  }
  m_brush = nullptr;
}

void SCheckCtrl::SetCheck(int state) {
  WPARAM value = state == 0 ? BST_UNCHECKED : state == 1 ? BST_CHECKED : BST_INDETERMINATE;
  SendMessage(BM_SETCHECK, value, 0);
}

int SCheckCtrl::GetCheck() { return CheckState(this); }

LRESULT SCheckCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ForwardMouse(this, SWM_CHECKMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}

HBRUSH SCheckCtrl::OnCtlColorStatic(HDC dc) { return MakeBackBrush(this, &m_brush, dc, true); }
