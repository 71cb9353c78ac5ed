// SComboCtrl: creation and items of the combo box.
#include "core/Platform.h"
#include "window/SComboCtrl.h"

#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/WindowPrivate.h"

namespace {

void ComboCommand(SWnd* parent, SWnd* combo, UINT code) {
  if (code == CBN_SELCHANGE) parent->SendMessage(SWM_COMBOSELCHANGED, ToWParam(combo), 0);
  if (code == CBN_EDITCHANGE) parent->SendMessage(SWM_COMBOEDITCHANGED, ToWParam(combo), 0);
}

const SControlKind kComboKind = {ControlKinds::KIND_COMBO, CUT_CLIP_WHILE_SIZING, ComboCommand};
const bool kComboKindRegistered = RegisterControlKind(&kComboKind);

}  // namespace

SComboCtrl::SComboCtrl() {
  m_kind = ControlKinds::KIND_COMBO;
}

SComboCtrl::~SComboCtrl() {}

bool SComboCtrl::Create(DWORD style, const char* caption, DWORD exStyle, const RECT* rect,
                        HWND parent, int id) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  return CreateControl("COMBOBOX", caption, style, exStyle, rect, parent,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                       GetInstanceHandle());
}

int SComboCtrl::AddString(const char* text) {
  if (!m_hWnd) return -1;
  LRESULT index = SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : ""));
  // CB_ERR and CB_ERRSPACE are both negative.
  return index < 0 ? -1 : static_cast<int>(index);
}

int SComboCtrl::GetSelection() {
  if (!m_hWnd) return -1;
  LRESULT index = SendMessage(CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

bool SComboCtrl::SetSelection(int index) {
  if (!m_hWnd) return false;
  return SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR;
}

LRESULT SComboCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return SWnd::WindowProc(message, wParam, lParam);
}
