// SLabelCtrl: alignment, painting, mouse records.
#include "core/Platform.h"
#include "window/SLabelCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

const int kInset = 2;

void DrawIntoLayer(SWnd* wnd, HDC dc) { static_cast<SLabelCtrl*>(wnd)->Paint(dc); }

const SControlKind kLabelKind = {ControlKinds::KIND_LABEL,
                                 CUT_CLIP,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 DrawIntoLayer};
const bool kLabelKindRegistered = RegisterControlKind(&kLabelKind);

}  // namespace

SLabelCtrl::SLabelCtrl() : m_textColor(::GetSysColor(COLOR_WINDOWTEXT)), m_alignment(ALIGN_MIDDLE) {
  m_kind = ControlKinds::KIND_LABEL;
}

SLabelCtrl::~SLabelCtrl() {}

void SLabelCtrl::SetAlignment(int value) {
  int horizontal = (value & 3) == 3 ? ALIGN_JUSTIFY
                   : (value & 2)    ? ALIGN_RIGHT
                   : (value & 1)    ? ALIGN_CENTER
                                    : ALIGN_LEFT;
  int vertical = (value & 0x20) ? ALIGN_BOTTOM : (value & 0x10) ? ALIGN_MIDDLE : ALIGN_TOP;
  int alignment = horizontal | vertical;
  if (alignment == m_alignment) return;
  m_alignment = alignment;
  if (m_hWnd) Redraw();
}

void SLabelCtrl::Paint(HDC dc) {
  if (!m_hWnd || !dc) return;
  RECT rect;
  ::GetClientRect(m_hWnd, &rect);
  ::InflateRect(&rect, -kInset, -kInset);
  UINT format = DT_SINGLELINE | DT_NOPREFIX;
  int horizontal = m_alignment & 0x0F, vertical = m_alignment & 0xF0;
  if (horizontal == ALIGN_CENTER) format |= DT_CENTER;
  if (horizontal == ALIGN_RIGHT) format |= DT_RIGHT;
  if (vertical == ALIGN_MIDDLE) format |= DT_VCENTER;
  if (vertical == ALIGN_BOTTOM) format |= DT_BOTTOM;
  SString text = GetText();
  int mode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF color = ::SetTextColor(dc, m_textColor);
  HGDIOBJ font = nullptr;
  HFONT own = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (own) font = ::SelectObject(dc, own);
  ::DrawTextA(dc, text.GetText() ? text.GetText() : "", -1, &rect, format);
  if (font) ::SelectObject(dc, font);
  ::SetTextColor(dc, color);
  ::SetBkMode(dc, mode);
}

LRESULT SLabelCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(::GetSysColor(COLOR_BTNFACE));
      break;
    case WM_SETTEXT: {
      LRESULT result = SWnd::WindowProc(message, wParam, lParam);
      Redraw();
      return result;
    }
    default:
      if (!ForwardMouse(this, SWM_LABELMOUSE, message, lParam)) return 0;
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
