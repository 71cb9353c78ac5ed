// SButtonCtrl: mouse records to the parent and the background brush.
#include "core/Platform.h"
#include "window/SButtonCtrl.h"

namespace {

const COLORREF kNoColor = 0xFF000000;
const COLORREF kHollow = 0xFF000001;
const int kKindButton = 4;

}  // namespace

SButtonCtrl::SButtonCtrl() : m_backBrush(nullptr) {
  m_kind = kKindButton;
}

SButtonCtrl::~SButtonCtrl() {
  if (m_backBrush) ::DeleteObject(m_backBrush);
  m_backBrush = nullptr;
}

LRESULT SButtonCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (parent && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
    StaticWndProc(parent, SWM_BUTTONMOUSE, reinterpret_cast<WPARAM>(this),
                  reinterpret_cast<LPARAM>(&record));
    if (!m_hWnd) return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

HBRUSH SButtonCtrl::OnCtlColorBtn(HDC) {
  if (m_backBrush) ::DeleteObject(m_backBrush);
  m_backBrush = nullptr;
  COLORREF back = GetBackColor();
  if (back == kNoColor) return nullptr;
  if (back == kHollow) return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  m_backBrush = ::CreateSolidBrush(back);
  return m_backBrush;
}
