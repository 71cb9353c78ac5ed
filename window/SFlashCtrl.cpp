// SFlashCtrl: hosting the Flash object.
#include "core/Platform.h"
#include "window/SFlashCtrl.h"

#include "window/ControlFactory.h"
#include "window/ControlKinds.h"

namespace {

SWnd* ConstructFlash() { return new SFlashCtrl; }

const SControlKind kFlashKind = {ControlKinds::KIND_FLASH};
const bool kFlashKindRegistered = RegisterControlKind(&kFlashKind);
const SDialogControlClass kFlashClass = {ConstructFlash, nullptr, nullptr};

}  // namespace

bool SFlashCtrl::Register() {
  return RegisterDialogControlClass(ControlKinds::TYPE_FLASH, &kFlashClass);
}

SFlashCtrl::SFlashCtrl() : m_attach(nullptr), m_flash(nullptr) {
  m_kind = ControlKinds::KIND_FLASH;
}

SFlashCtrl::~SFlashCtrl() {
  if (m_hWnd) {
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::DestroyWindow(m_hWnd);
  }
  DestroyControl();
}

bool SFlashCtrl::CreateControl() {
  DestroyControl();
  m_attach = LoadAttachFunction(&m_library);
  bool made = m_attach && CreateHostedObject(ActiveXIds::kFlash, IID_IDispatch,
                                             reinterpret_cast<void**>(&m_flash));
  if (made && m_hWnd) made = m_attach(m_flash, m_hWnd, nullptr) == S_OK;
  if (!made) DestroyControl();
  return made;
}

void SFlashCtrl::DestroyControl() {
  if (m_flash) m_flash->Release();
  m_flash = nullptr;
  m_attach = nullptr;
  m_library.Free();
}

LRESULT SFlashCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!HandleHostMessage(this, message, true, &result)) return result;
  return SWnd::WindowProc(message, wParam, lParam);
}
