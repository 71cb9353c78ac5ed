// SDialog: the control bar, its bands and the status bar.
#include "core/Platform.h"
#include "window/SDialog.h"

#include "window/SControlBarCtrl.h"
#include "window/SStatusBarCtrl.h"

namespace {

// WS_CHILD, WS_VISIBLE, CCS_NODIVIDER.
const DWORD kControlBarStyle = 0x50000040;
// WS_CHILD, WS_VISIBLE.
const DWORD kStatusBarStyle = 0x50000000;

}  // namespace

bool SDialog::CreateControlBar() {
  if (m_controlBar) return false;
  m_controlBarHeight = 0;
  m_controlBar = new SControlBarCtrl;
  m_controlBar->CreateControl(REBARCLASSNAMEA, "", kControlBarStyle, 0, nullptr, m_hWnd, nullptr);
  return true;
}

void SDialog::AddBand(SWnd* window, int width, int height) {
  if (!m_controlBar || !window) return;
  window->m_alignMask = 0;
  if (window->m_hWnd) ::SetParent(window->m_hWnd, m_controlBar->m_hWnd);
  m_controlBar->AddBand(window->m_hWnd, width, height);
}

bool SDialog::CreateStatusBar(int parts) {
  if (m_statusBar) return false;
  m_statusBar = new SStatusBarCtrl;
  m_statusBar->CreateControl(STATUSCLASSNAMEA, "", kStatusBarStyle, 0, nullptr, m_hWnd, nullptr);
  m_statusBar->SetParts(parts > 1 ? parts : 1);
  SetClientHeight(GetClientHeight() + m_statusBar->GetHeight());
  return true;
}
