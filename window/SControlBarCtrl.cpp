// SControlBarCtrl: bands and the bar's creation styles.
#include "core/Platform.h"
#include "window/SControlBarCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <string.h>

namespace {

bool ControlBarNotify(SWnd* parent, SWnd* bar, NMHDR* header, LRESULT*) {
  if (header->code == RBN_AUTOSIZE) parent->SendMessage(SWM_BARAUTOSIZE, ToWParam(bar), 0);
  return true;
}

const SControlKind kControlBarKind = {ControlKinds::KIND_CONTROLBAR, CUT_CLIP, nullptr,
                                      ControlBarNotify};
const bool kControlBarKindRegistered = RegisterControlKind(&kControlBarKind);

}  // namespace

SControlBarCtrl::SControlBarCtrl() { m_kind = ControlKinds::KIND_CONTROLBAR; }

SControlBarCtrl::~SControlBarCtrl() { DeleteBands(); }

bool SControlBarCtrl::AddBand(HWND child, int width, int height) {
  if (!m_hWnd) return false;
  REBARBANDINFOA band;
  memset(&band, 0, sizeof(band));
  band.cbSize = REBARBANDINFOA_V6_SIZE;
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
  band.fStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_NOGRIPPER;
  band.hwndChild = child;
  band.cxMinChild = UINT(width);
  band.cyMinChild = UINT(height);
  band.cyChild = UINT(height);
  band.cyMaxChild = UINT(height);
  band.cx = 50;
  band.cyIntegral = 1;
  band.cxIdeal = 50;
  return SendMessage(RB_INSERTBANDA, WPARAM(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

void SControlBarCtrl::DeleteBands() {
  if (!m_hWnd) return;
  while (SendMessage(RB_GETBANDCOUNT) > 0) {
    if (!SendMessage(RB_DELETEBAND, 0)) break;
  }
}

LRESULT SControlBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_PARENTSIZED) {
    int count = int(SendMessage(RB_GETBANDCOUNT));
    for (int i = 0; i < count; ++i) SendMessage(RB_MAXIMIZEBAND, WPARAM(i), TRUE);
  }
  if (message == WM_DESTROY) DeleteBands();
  if (message == SWM_TOOLBARCOMMAND) NotifyParent(message, wParam, lParam);
  if (message == SWM_AFTERCREATE && m_hWnd) {
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, style | RBS_VARHEIGHT | RBS_AUTOSIZE);
    REBARINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
