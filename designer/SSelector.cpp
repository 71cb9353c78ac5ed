// SSelector: the font and colour dialogs and the system-colour window.
#include "core/Platform.h"
#include "designer/SSelector.h"

#include "window/SIdentifiants.h"

SSelector::ChooseFontFunction SSelector::s_chooseFont = ::ChooseFontA;
SSelector::ChooseColorFunction SSelector::s_chooseColor = ::ChooseColorA;

namespace {

// The children of the system-colour window: client rectangles and styles.
const RECT kColorsRect = {5, 35, 295, 200};  // the bottom includes the drop-down part
const RECT kPreviewRect = {5, 5, 295, 30};
const RECT kOkRect = {110, 65, 200, 90};
const RECT kCancelRect = {205, 65, 295, 90};
const DWORD kChildStyle = WS_CHILD | WS_VISIBLE;
const DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

const UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

}  // namespace

SSelector::SSelector(HWND owner) : m_owner(owner), m_pointSize(0), m_fontStyle(0), m_color(0) {}

SSelector::~SSelector() {}

bool SSelector::ChooseFont(LOGFONTA* font, int* points) {
  if (!font || !s_chooseFont) return false;
  CHOOSEFONTA request;
  memset(&request, 0, sizeof(request));
  request.lStructSize = sizeof(request);
  request.hwndOwner = m_owner;
  request.lpLogFont = font;
  request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!s_chooseFont(&request)) return false;
  m_faceName = font->lfFaceName;
  m_pointSize = request.iPointSize / 10;
  if (points) *points = m_pointSize;
  m_fontStyle = (font->lfWeight == FW_BOLD ? 1 : 0) | (font->lfItalic ? 2 : 0) |
                (font->lfUnderline ? 4 : 0) | (font->lfStrikeOut ? 8 : 0);
  return true;
}

bool SSelector::ChooseColor(uint32_t initial, bool preventCustom) {
  if (!s_chooseColor) return false;
  COLORREF custom[16];
  for (COLORREF& c : custom) c = RGB(255, 255, 255);
  CHOOSECOLORA request;
  memset(&request, 0, sizeof(request));
  request.lStructSize = sizeof(request);
  request.hwndOwner = m_owner;
  request.rgbResult = initial;
  request.lpCustColors = custom;
  request.Flags = CC_FULLOPEN | CC_ANYCOLOR;
  if (initial <= 0xFFFFFF) request.Flags |= CC_RGBINIT;
  if (preventCustom) request.Flags |= CC_PREVENTFULLOPEN;
  if (!s_chooseColor(&request)) return false;
  m_color = request.rgbResult;
  return true;
}

bool SSelector::ChooseSystemColor(const char* title) {
  if (!m_owner) return false;
  _SWndColor window;
  RECT rect = {0, 0, _SWndColor::WIDTH, _SWndColor::HEIGHT};
  if (!window.Create(title ? title : "", kWindowStyle, 0, &rect, m_owner)) return false;
  window.SetClientSize(_SWndColor::WIDTH, _SWndColor::HEIGHT);
  window.Center(true);
  int result = window.RunModal(0, 0);
  if (result == -1) return false;
  m_color = SYSTEM_COLOR + uint32_t(result);
  return true;
}

// --- the system-colour window ---------------------------------------------------------

SSelector::_SWndColor::~_SWndColor() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void SSelector::_SWndColor::CreateChildren() {
  m_colors.Create(kChildStyle | CBS_DROPDOWNLIST, "", 0, &kColorsRect, m_hWnd, ID_COLORS);
  const SStringArray& names = g_identifiants.m_colorNames;
  for (int i = 0; i < names.GetCount(); ++i) m_colors.AddString(names.Get(i).ToUpper().GetText());
  m_colors.SetSelection(0);
  m_preview.Create(kChildStyle, "", WS_EX_CLIENTEDGE, &kPreviewRect, m_hWnd, 0);
  m_ok.CreateButton(kChildStyle, "OK", 0, &kOkRect, m_hWnd, reinterpret_cast<HMENU>(ID_OK));
  m_cancel.CreateButton(kChildStyle, "Cancel", 0, &kCancelRect, m_hWnd,
                        reinterpret_cast<HMENU>(ID_CANCEL));
  UpdatePreview();
}

int SSelector::_SWndColor::GetSelectedIndex() {
  int selected = m_colors.GetSelection();
  const SArray<int>& values = g_identifiants.m_colorValues;
  return selected >= 0 && selected < values.GetCount() ? values[selected] : -1;
}

void SSelector::_SWndColor::UpdatePreview() {
  int index = GetSelectedIndex();
  if (index >= 0) m_preview.SetBackColor(::GetSysColor(index));
  Redraw(nullptr, kRedrawFlags | RDW_ALLCHILDREN);
}

LRESULT SSelector::_SWndColor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_AFTERCREATE:
      CreateChildren();
      break;
    case SWM_COMBOSELCHANGED:
      UpdatePreview();
      break;
    case SWM_BUTTONCLICKED: {
      SWnd* button = reinterpret_cast<SWnd*>(wParam);
      if (button == &m_ok) SetModalResult(GetSelectedIndex());
      if (button == &m_cancel) CancelModal();
      break;
    }
    case SWM_MODALRETURN:
      SetModalResult(GetSelectedIndex());
      break;
    case SWM_MODALESCAPE:
      CancelModal();
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
