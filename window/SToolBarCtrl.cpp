// SToolBarCtrl: creation, images and buttons.
#include "core/Platform.h"
#include "window/SToolBarCtrl.h"

#include "window/ControlKinds.h"

#include <string.h>

namespace {

const SControlKind kToolBarKind = {ControlKinds::KIND_TOOLBAR, CUT_PAINT_WHEN_TRANSPARENT};
const bool kToolBarKindRegistered = RegisterControlKind(&kToolBarKind);

}  // namespace

SToolBarCtrl::SToolBarCtrl() : m_imageList(nullptr) { m_kind = ControlKinds::KIND_TOOLBAR; }

SToolBarCtrl::~SToolBarCtrl() {}

bool SToolBarCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  style |= CCS_NODIVIDER;
  bool flat = (style & TBSTYLE_FLAT) != 0;
  if (!CreateControl(TOOLBARCLASSNAMEA, "", style & ~DWORD(TBSTYLE_FLAT), exStyle, rect, parent,
                     reinterpret_cast<HMENU>(INT_PTR(id)))) {
    return false;
  }
  if (flat && m_hWnd) {
    LONG current = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, current | TBSTYLE_FLAT);
  }
  return true;
}

void SToolBarCtrl::SetTransparent() {
  if (!m_hWnd) return;
  LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
  if (!(style & TBSTYLE_TRANSPARENT))
    ::SetWindowLongA(m_hWnd, GWL_STYLE, style | TBSTYLE_TRANSPARENT);
}

void SToolBarCtrl::SetImageSize(int width, int height) {
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(width, height));
}

void SToolBarCtrl::SetImageList(HIMAGELIST images) {
  m_imageList = images;
  SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  int width = 0, height = 0;
  if (images && ::ImageList_GetIconSize(images, &width, &height)) SetImageSize(width, height);
}

bool SToolBarCtrl::AddButton(int imageIndex, int commandId, const char* text, BYTE style,
                             BYTE state, DWORD_PTR data) {
  if (!m_hWnd) return false;
  TBBUTTON button;
  memset(&button, 0, sizeof(button));
  button.iBitmap = imageIndex;
  button.idCommand = commandId;
  button.fsState = state;
  button.fsStyle = style;
  button.dwData = data;
  button.iString = text ? reinterpret_cast<INT_PTR>(text) : 0;
  return AddButtons(&button, 1);
}

bool SToolBarCtrl::AddButtons(const TBBUTTON* buttons, int count) {
  if (!m_hWnd || !buttons || count <= 0) return false;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return SendMessage(TB_ADDBUTTONSA, WPARAM(count), reinterpret_cast<LPARAM>(buttons)) != 0;
}
