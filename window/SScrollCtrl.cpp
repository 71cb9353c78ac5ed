// SScrollCtrl: scroll requests at the parent, range, colours, mouse records.
#include "core/Platform.h"
#include "window/SScrollCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

// The parent's steps move the bar; the parent hears of a move.
bool ScrollBarScroll(SWnd* parent, SWnd* bar, UINT message, WPARAM request) {
  bool vertical = message == WM_VSCROLL;
  int line = vertical ? parent->m_vLineStep : parent->m_hLineStep;
  int page = vertical ? parent->m_vPageStep : parent->m_hPageStep;
  int unit = vertical ? parent->m_vScrollUnit : parent->m_hScrollUnit;
  int position = static_cast<int>(bar->SendMessage(SBM_GETPOS));
  int minimum = 0, maximum = 0;
  bar->SendMessage(SBM_GETRANGE, ToWParam(&minimum), ToLParam(&maximum));
  int target = ScrollTarget(position, minimum, maximum, request, line, page, unit);
  if (target != position) {
    bar->SendMessage(SBM_SETPOS, target, TRUE);
    parent->SendMessage(SWM_SCROLLCTRLMOVED, ToWParam(bar), 0);
  }
  return true;
}

const SControlKind kScrollKind = {ControlKinds::KIND_SCROLL, CUT_CLIP, nullptr, nullptr,
                                  ScrollBarScroll};
const bool kScrollKindRegistered = RegisterControlKind(&kScrollKind);

}  // namespace

SScrollCtrl::SScrollCtrl() : m_brush(nullptr) { m_kind = ControlKinds::KIND_SCROLL; }

SScrollCtrl::~SScrollCtrl() {
  if (m_brush) ::DeleteObject(m_brush);
  m_brush = nullptr;
}

int SScrollCtrl::GetRangeMin() {
  int minimum = 0, maximum = 0;
  SendMessage(SBM_GETRANGE, ToWParam(&minimum), ToLParam(&maximum));
  return minimum;
}

int SScrollCtrl::GetRangeMax() {
  int minimum = 0, maximum = 0;
  SendMessage(SBM_GETRANGE, ToWParam(&minimum), ToLParam(&maximum));
  return maximum;
}

LRESULT SScrollCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ForwardMouse(this, SWM_SCROLLCTRLMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}

HBRUSH SScrollCtrl::OnCtlColorScrollBar(HDC dc) { return MakeBackBrush(this, &m_brush, dc, true); }
