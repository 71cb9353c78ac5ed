// SComboCtrl: creation and items of the combo box.
#include "core/Platform.h"
#include "window/SComboCtrl.h"

#include "window/Framework.h"

namespace {

const int kKindCombo = 9;

}  // namespace

SComboCtrl::SComboCtrl() {
  m_kind = kKindCombo;
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
