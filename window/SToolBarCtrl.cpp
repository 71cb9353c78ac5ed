// SToolBarCtrl: creation, images and buttons.
#include "core/Platform.h"
#include "window/SToolBarCtrl.h"

#include "window/ControlKinds.h"
#include "window/SMenu.h"
#include "window/WindowPrivate.h"

#include <string.h>

namespace {

const SControlKind kToolBarKind = {ControlKinds::KIND_TOOLBAR, CUT_PAINT_WHEN_TRANSPARENT};
const bool kToolBarKindRegistered = RegisterControlKind(&kToolBarKind);

}  // namespace

SToolBarCtrl::SToolBarCtrl() : m_imageList(nullptr), m_openMenuButton(-1), m_switching(false) {
  m_kind = ControlKinds::KIND_TOOLBAR;
  m_notify.m_owner = this;
}

SToolBarCtrl::~SToolBarCtrl() {
  // The window goes first: its destruction still uses the notification window.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

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

void SToolBarCtrl::SwitchMenu(int button) {
  if (m_openMenuButton == -1 || !m_hWnd) return;
  SendMessage(TB_SETHOTITEM, WPARAM(button), 0);
  if (button == m_openMenuButton) return;
  if (m_notify.m_hWnd) ::KillTimer(m_notify.m_hWnd, 1);
  m_switching = true;
  m_openMenuButton = button;
  ::EndMenu();
}

LRESULT SToolBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_AFTERCREATE && m_hWnd && !m_notify.m_hWnd) {
    RECT empty = {0, 0, 0, 0};
    m_notify.m_owner = this;
    if (m_notify.Create("", WS_CHILD, 0, &empty, m_hWnd)) {
      SendMessage(CCM_SETUNICODEFORMAT, FALSE, 0);
      SendMessage(TB_SETPARENT, ToWParam(m_notify.m_hWnd), 0);
      if (StyleOf(m_hWnd) & TBSTYLE_TOOLTIPS) SendMessage(TB_SETMAXTEXTROWS, 0, 0);
    }
  }
  if (message == WM_DESTROY && m_notify.m_hWnd) {
    ::ShowWindow(m_notify.m_hWnd, SW_HIDE);
    ::DestroyWindow(m_notify.m_hWnd);
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

LRESULT SToolBarCtrl::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      SWnd* sender = FromHandle(reinterpret_cast<HWND>(lParam));
      if (m_owner && sender == m_owner && sender->m_kind == ControlKinds::KIND_TOOLBAR) {
        m_owner->NotifyParent(SWM_TOOLBARCOMMAND, ToWParam(m_owner), LOWORD(wParam));
      }
      break;
    }
    case WM_TIMER: {
      if (!m_owner || m_owner->m_openMenuButton == -1 || !m_owner->m_hWnd) break;
      POINT point;
      if (!::GetCursorPos(&point)) break;
      ::ScreenToClient(m_owner->m_hWnd, &point);
      int count = int(m_owner->SendMessage(TB_BUTTONCOUNT));
      for (int i = 0; i < count; ++i) {
        RECT rect;
        if (m_owner->SendMessage(TB_GETITEMRECT, WPARAM(i), ToLParam(&rect)) &&
            ::PtInRect(&rect, point)) {
          m_owner->SwitchMenu(i);
          break;
        }
      }
      break;
    }
    case WM_EXITMENULOOP:
      if (!m_owner) break;
      if (m_owner->m_switching) {
        m_owner->m_switching = false;
      } else {
        m_owner->m_openMenuButton = -1;
      }
      break;
    case SWM_MENUCOMMAND: {
      SMenu* menu = reinterpret_cast<SMenu*>(wParam);
      if (menu && menu->m_owner) ::SendMessageA(menu->m_owner, message, wParam, lParam);
      break;
    }
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
