// SGroupCtrl: mouse records and colours of the group box.
#include "core/Platform.h"
#include "window/SGroupCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

const SControlKind kGroupKind = {ControlKinds::KIND_GROUP, CUT_CLIP_WHILE_SIZING};
const bool kGroupKindRegistered = RegisterControlKind(&kGroupKind);

// An ARGB value as a COLORREF (alpha dropped).
COLORREF ColorrefFromArgb(uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace

SGroupCtrl::SGroupCtrl() : m_brush(nullptr) {
  m_kind = ControlKinds::KIND_GROUP;
  COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
  m_textColor = 0xFF000000u | (static_cast<uint32_t>(GetRValue(text)) << 16) |
                (static_cast<uint32_t>(GetGValue(text)) << 8) | GetBValue(text);
}

SGroupCtrl::~SGroupCtrl() {
  FreeBackgroundBrush(&m_brush);
}

LRESULT SGroupCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (m_hWnd && parent && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
    StaticWndProc(parent, SWM_GROUPMOUSE, reinterpret_cast<WPARAM>(this),
                  reinterpret_cast<LPARAM>(&record));
    if (!m_hWnd) return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

HBRUSH SGroupCtrl::OnCtlColorStatic(HDC dc) {
  HBRUSH brush = BackgroundBrush(GetBackColor(), dc, &m_brush);
  ::SetTextColor(dc, ColorrefFromArgb(m_textColor));
  return brush;
}
