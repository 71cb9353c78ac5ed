// SRadioCtrl: the group rule, the click at the parent, mouse records.
#include "core/Platform.h"
#include "window/SRadioCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

void RadioCommand(SWnd* parent, SWnd* control, UINT code) {
  if (code != BN_CLICKED) return;
  SRadioCtrl* radio = dynamic_cast<SRadioCtrl*>(control);
  if (radio) radio->SetCheck();
  bool checked = control->SendMessage(BM_GETCHECK) == BST_CHECKED;
  parent->SendMessage(SWM_RADIOCLICKED, ToWParam(control), checked ? 1 : 0);
}

const SControlKind kRadioKind = {ControlKinds::KIND_RADIO, CUT_PAINT, RadioCommand};
const bool kRadioKindRegistered = RegisterControlKind(&kRadioKind);

}  // namespace

SRadioCtrl::SRadioCtrl() : m_brush(nullptr), m_group(-1) { m_kind = ControlKinds::KIND_RADIO; }

SRadioCtrl::~SRadioCtrl() {
  if (m_brush && m_brush != static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))) {
    ::DeleteObject(m_brush);
  }
  m_brush = nullptr;
}

void SRadioCtrl::SetCheck() {
  SendMessage(BM_SETCHECK, BST_CHECKED, 0);
  if (m_group == -1) return;
  SArray<SWnd*> siblings;
  GetSiblings(&siblings, m_kind);
  for (int i = 0; i < siblings.GetCount(); ++i) {
    SRadioCtrl* other = dynamic_cast<SRadioCtrl*>(siblings[i]);
    if (other && other->m_group == m_group) other->SendMessage(BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

LRESULT SRadioCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ForwardMouse(this, SWM_RADIOMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}

HBRUSH SRadioCtrl::OnCtlColorStatic(HDC dc) { return MakeBackBrush(this, &m_brush, dc, true); }
