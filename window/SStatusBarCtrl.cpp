// SStatusBarCtrl: parts and following the parent's size.
#include "core/Platform.h"
#include "window/SStatusBarCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <vector>

SStatusBarCtrl::SStatusBarCtrl() { m_kind = ControlKinds::KIND_STATUSBAR; }

SStatusBarCtrl::~SStatusBarCtrl() {}

bool SStatusBarCtrl::SetParts(int n) {
  if (n < 1 || !m_hWnd) return false;
  RECT client = {0, 0, 0, 0};
  HWND parent = GetParent();
  if (parent) ::GetClientRect(parent, &client);
  int width = client.right / n;
  std::vector<int> ends(size_t(n), -1);
  for (int i = 0; i < n - 1; ++i) ends[size_t(i)] = (i + 1) * width;
  SendMessage(SB_SETPARTS, WPARAM(n), reinterpret_cast<LPARAM>(ends.data()));
  return true;
}

bool SStatusBarCtrl::SetPartRight(int part, int right) {
  if (!m_hWnd) return false;
  int count = int(SendMessage(SB_GETPARTS, 0, 0));
  if (count < 1 || part < 0 || part >= count) return false;
  std::vector<int> ends(size_t(count), 0);
  SendMessage(SB_GETPARTS, WPARAM(count), reinterpret_cast<LPARAM>(ends.data()));
  ends[size_t(part)] = right;
  return SendMessage(SB_SETPARTS, WPARAM(count), reinterpret_cast<LPARAM>(ends.data())) != 0;
}

LRESULT SStatusBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The bar places itself along the parent's bottom edge on WM_SIZE.
  if (message == SWM_PARENTSIZED) SendMessage(WM_SIZE, 0, 0);
  if (!ForwardMouse(this, SWM_STATUSBARMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}
