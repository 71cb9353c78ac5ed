// SStaticCtrl: creation and the edge.
#include "core/Platform.h"
#include "window/SStaticCtrl.h"

#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/WindowPrivate.h"

namespace {

const SControlKind kStaticKind = {ControlKinds::KIND_STATIC, CUT_PAINT};
const bool kStaticKindRegistered = RegisterControlKind(&kStaticKind);

}  // namespace

SStaticCtrl::SStaticCtrl() : m_edge(0), m_borders(0) { m_kind = ControlKinds::KIND_STATIC; }

SStaticCtrl::~SStaticCtrl() {}

bool SStaticCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  return CreateControl("STATIC", "", style | SS_OWNERDRAW, exStyle, rect, parent,
                       reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, GetInstanceHandle());
}

void SStaticCtrl::PaintEdge(HDC dc) {
  RECT rect;
  if (!m_hWnd || !dc || !::GetClientRect(m_hWnd, &rect)) return;
  if (m_edge && m_borders) ::DrawEdge(dc, &rect, m_edge, m_borders);
}

LRESULT SStaticCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HDC dc = ContentPaintDC(message, wParam, lParam)) {
    PaintEdge(dc);
    if (message == WM_PRINTCLIENT) return 0;
  }
  if (message == SWM_AFTERCREATE) {
    m_eraseFlag = true;
    SetBackColor(::GetSysColor(COLOR_BTNFACE));
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
