// SSliderCtrl: moves at the parent, colours, the hidden focus rectangle.
#include "core/Platform.h"
#include "window/SSliderCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

// Before the default processing.
bool SliderScroll(SWnd* parent, SWnd* slider, UINT, WPARAM) {
  parent->SendMessage(SWM_SLIDERMOVED, ToWParam(slider), 0);
  return false;
}

const SControlKind kSliderKind = {ControlKinds::KIND_SLIDER, CUT_CLIP, nullptr, nullptr,
                                  SliderScroll};
const bool kSliderKindRegistered = RegisterControlKind(&kSliderKind);

}  // namespace

SSliderCtrl::SSliderCtrl() : m_brush(nullptr) { m_kind = ControlKinds::KIND_SLIDER; }

SSliderCtrl::~SSliderCtrl() {
  if (m_brush) ::DeleteObject(m_brush);
  m_brush = nullptr;
}

LRESULT SSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && m_hWnd && ::GetFocus() == m_hWnd) {
    LRESULT result = SWnd::WindowProc(message, wParam, lParam);
    if (!m_hWnd) return result;
    COLORREF back = GetBackColor();
    if (back == SImage::COLOR_NONE || back == SImage::COLOR_HOLLOW) {
      back = ::GetSysColor(COLOR_BTNFACE);
    }
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    HDC dc = ::GetDC(m_hWnd);
    HPEN pen = ::CreatePen(PS_SOLID, 1, back);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    ::ReleaseDC(m_hWnd, dc);
    return result;
  }
  if (!ForwardMouse(this, SWM_SLIDERMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}

HBRUSH SSliderCtrl::OnCtlColorStatic(HDC) { return MakeBackBrush(this, &m_brush, nullptr, false); }
