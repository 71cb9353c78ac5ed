// SDialog: the control lists, the dialog's window procedure and its release.
#include "core/Platform.h"
#include "window/SDialog.h"

#include "core/Utility.h"
#include "window/SControlBarCtrl.h"
#include "window/SMenu.h"
#include "window/SStatusBarCtrl.h"
#include "window/SToolBarCtrl.h"

namespace {

// SetWindowPos flags of the controls moved with the control bar:
// SWP_NOSIZE, SWP_NOZORDER, SWP_NOACTIVATE, SWP_NOOWNERZORDER.
const UINT kMoveFlags = 0x215;

template <class T>
void DeleteObjectOf(T*& object) {
  T* doomed = object;
  object = nullptr;
  delete doomed;
}

}  // namespace

SDialog::SDialog()
    : m_controlBarHeight(0),
      m_controlBar(nullptr),
      m_statusBar(nullptr),
      m_toolBar(nullptr),
      m_icon(nullptr) {}

SDialog::~SDialog() { OnDestroy(); }

SWnd* SDialog::CreateCustomControl(int, const SDialogRecords::_SCtrl*) { return nullptr; }

bool SDialog::AttachControl(SWnd* control, const SDialogRecords::_SCtrl* record) {
  if (!control || !record) return false;
  HFONT font = nullptr;
  if (record->m_fontName.GetLength() > 0) {
    font = CreateFontByStyle(record->m_fontName.GetText(), record->m_fontSize,
                             int(record->m_fontStyle));
    if (font && control->m_hWnd) control->SendMessage(WM_SETFONT, WPARAM(font), TRUE);
  }
  m_controls.Add(control);
  m_controlIds.Add(
      static_cast<unsigned long>(static_cast<long>(static_cast<int16_t>(record->m_id))));
  m_controlNames.Add(record->m_name.GetText());
  m_controlFonts.Add(font);
  return true;
}

SWnd* SDialog::GetControl(const char* name) {
  if (!name) return nullptr;
  for (int i = 0; i < m_controlNames.GetCount(); ++i) {
    if (m_controlNames.Get(i) == name) return m_controls[i];
  }
  return nullptr;
}

SWnd* SDialog::GetControlById(int id) {
  unsigned long wanted = static_cast<unsigned long>(static_cast<long>(static_cast<int16_t>(id)));
  int i = m_controlIds.Find(wanted);
  return i >= 0 ? m_controls[i] : nullptr;
}

void SDialog::OnDestroy() {
  Show(SW_HIDE);
  DeleteObjectOf(m_toolBar);
  DeleteObjectOf(m_statusBar);
  DeleteObjectOf(m_controlBar);
  SetMenu(nullptr);
  m_menus.DeleteAndRemoveAll();
  m_menuImages.Destroy();

  // The lists are emptied before the controls go, so that nothing a control
  // sends while it is destroyed finds it in them.
  SArray<SWnd*> controls;
  controls = m_controls;
  SArray<HFONT__*> fonts;
  fonts = m_controlFonts;
  m_controls.RemoveAll();
  m_controlIds.RemoveAll();
  m_controlNames.RemoveAll();
  m_controlFonts.RemoveAll();
  for (int i = 0; i < controls.GetCount(); ++i) delete controls[i];
  for (int i = 0; i < fonts.GetCount(); ++i) {
    if (fonts[i]) ::DeleteObject(fonts[i]);
  }

  if (m_icon) {
    if (m_hWnd) {
      SendMessage(WM_SETICON, ICON_BIG, 0);
      SendMessage(WM_SETICON, ICON_SMALL, 0);
    }
    ::DestroyIcon(m_icon);
    m_icon = nullptr;
  }
}

void SDialog::OnBarAutoSize() {
  int height = m_controlBar->GetHeight();
  int delta = height - m_controlBarHeight;
  m_controlBarHeight = height;
  SetClientHeight(GetClientHeight() + delta);
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    HWND control = m_controls[i]->m_hWnd;
    RECT rect;
    if (!control || ::GetParent(control) != m_hWnd || !::GetWindowRect(control, &rect)) continue;
    POINT corner = {rect.left, rect.top};
    ::ScreenToClient(m_hWnd, &corner);
    ::SetWindowPos(control, nullptr, corner.x, corner.y + delta, 0, 0, kMoveFlags);
  }
}

LRESULT SDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_BARAUTOSIZE:
      if (m_controlBar && wParam == reinterpret_cast<WPARAM>(static_cast<SWnd*>(m_controlBar))) {
        OnBarAutoSize();
      }
      break;

    case WM_DESTROY:
      OnDestroy();
      break;

    case SWM_BUTTONCLICKED: {
      if (!m_modalRunning) break;
      int i = m_controls.Find(reinterpret_cast<SWnd*>(wParam));
      if (i < 0) break;
      SString name = m_controlNames.Get(i);
      if (name == "OK") {
        StaticWndProc(m_hWnd, SWM_MODALRETURN, 0, 0);
      } else if (name == "CANCEL") {
        StaticWndProc(m_hWnd, SWM_MODALESCAPE, 0, 0);
      }
      break;
    }
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
