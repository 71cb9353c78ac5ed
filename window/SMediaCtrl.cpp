// SMediaCtrl: construction, messages, setters, links, inline images and the
// automatic scrolling.
#include "core/Platform.h"
#include "window/SMediaCtrl.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "window/ControlKinds.h"
#include "window/SCursor.h"

#include <cmath>

namespace {

const UINT_PTR kScrollTimer = 1;
const UINT kScrollPeriod = 20;  // milliseconds
const UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
// Scroll offsets stay well inside the int range, so that sums with content
// sizes cannot overflow.
const double kScrollLimit = 1.0e9;

// A COLORREF as an opaque GDI+ colour (alpha 0xFE).
uint32_t OpaqueArgb(COLORREF color) {
  return 0xFE000000u | (static_cast<uint32_t>(GetRValue(color)) << 16) |
         (static_cast<uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

int ToScrollOffset(double value) {
  if (!(value == value)) return 0;  // NaN
  if (value > kScrollLimit) value = kScrollLimit;
  if (value < -kScrollLimit) value = -kScrollLimit;
  return static_cast<int>(value);
}

double FiniteOrZero(double value) {
  return std::isfinite(value) ? value : 0.0;
}

// Layered parents draw the text of their rich-text children through this.
void DrawIntoLayer(SWnd* wnd, HDC dc) {
  static_cast<SMediaCtrl*>(wnd)->Draw(dc);
}

const SControlKind kMediaKind = {ControlKinds::KIND_MEDIA, CUT_CLIP, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, DrawIntoLayer};
const bool kMediaKindRegistered = RegisterControlKind(&kMediaKind);

}  // namespace

SMediaCtrl::SMediaCtrl()
    : m_wideText(nullptr),
      m_wideLength(0),
      m_codePage(CP_ACP),
      m_textColor(OpaqueArgb(::GetSysColor(COLOR_WINDOWTEXT))),
      m_alignment(ALIGN_MIDDLE),
      m_wrapping(false),
      m_trimming(true),
      m_leftMargin(1),
      m_topMargin(1),
      m_rightMargin(1),
      m_bottomMargin(1),
      m_contentWidth(0),
      m_contentHeight(0),
      m_scrollX(0),
      m_scrollY(0),
      m_scrolling(false),
      m_loop(true),
      m_vertical(true),
      m_positionX(0.0),
      m_positionY(0.0),
      m_speedX(0.0),
      m_speedY(0.0),
      m_lastStepTime(0),
      m_tags(false),
      m_linkColor(OpaqueArgb(::GetSysColor(COLOR_HIGHLIGHT))),
      m_archive(nullptr),
      m_linkOpener(nullptr) {
  m_kind = ControlKinds::KIND_MEDIA;
}

SMediaCtrl::~SMediaCtrl() {
  delete[] m_wideText;
  m_wideText = nullptr;
  ClearLines();
  ClearLinks();
  ClearImages();
}

bool SMediaCtrl::Create(DWORD style, const char* caption, DWORD exStyle, const RECT* rect,
                        HWND parent, int id) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  return SWnd::Create(caption, style, exStyle, rect, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

// ---------------------------------------------------------------------------
// Messages

LRESULT SMediaCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_AFTERCREATE: {
      SetBackColor(::GetSysColor(COLOR_BTNFACE));
      // The creation title never passed WM_SETTEXT: send it through again.
      SString title = GetText();
      SetText(title.GetText() ? title.GetText() : "");
      Layout();
      break;
    }

    case WM_SETTEXT: {
      m_scrollX = 0;
      m_scrollY = 0;
      if (m_scrolling) {
        StopTimer(this);
        m_scrolling = false;
      }
      SetTextInternal(reinterpret_cast<const char*>(lParam));
      Layout();
      LRESULT result = SWnd::WindowProc(message, wParam, lParam);
      Redraw(nullptr, kRedrawFlags);
      return result;
    }

    case WM_SIZE:
    case WM_SETFONT:
      Layout();
      break;

    case WM_ENABLE:
      Redraw(nullptr, kRedrawFlags);
      break;

    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      // The erase's memory DC is 0 inside a nested erase.
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) Draw(dc);
      break;

    case WM_MOUSEMOVE:
      if (m_tags) {
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        UpdateLinkCursor(&point);
      }
      break;

    case WM_LBUTTONDOWN: {
      NotifyMouse(message, lParam);
      if (!m_hWnd) return 0;
      if (m_tags) {
        int index = HitTestLink(static_cast<short>(LOWORD(lParam)),
                                static_cast<short>(HIWORD(lParam)));
        if (index >= 0) OnLinkPressed(index);
        if (!m_hWnd) return 0;
      }
      break;
    }

    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case SWM_MCLICK:
    case SWM_RCLICK:
      NotifyMouse(message, lParam);
      if (!m_hWnd) return 0;
      break;

    case SWM_LCLICK:
      NotifyMouse(message, lParam);
      if (!m_hWnd) return 0;
      if (m_stateImagesOn && ::IsWindowEnabled(m_hWnd)) {
        NotifyParent(SWM_MEDIACLICKED, reinterpret_cast<WPARAM>(this), 0);
        if (!m_hWnd) return 0;
      }
      break;

    case WM_TIMER:
      if (wParam == kScrollTimer && m_scrolling) StepAutoScroll();
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

void SMediaCtrl::NotifyMouse(UINT message, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (!m_hWnd || !parent || !MakeMouseRecord(m_hWnd, message, lParam, &record)) return;
  StaticWndProc(parent, SWM_MEDIAMOUSE, reinterpret_cast<WPARAM>(this),
                reinterpret_cast<LPARAM>(&record));
}

void SMediaCtrl::SetTextInternal(const char* text) {
  m_text = text ? text : "";
  delete[] m_wideText;
  m_wideText = ConvertText(m_text.GetText(), m_text.GetLength(), m_codePage, &m_wideLength,
                           &m_wideIndex);
}

// ---------------------------------------------------------------------------
// Setters

void SMediaCtrl::Layout() {
  if (m_tags) {
    ParseText();
  } else {
    LayoutPlainText();
  }
}

void SMediaCtrl::Relayout() {
  Layout();
  Redraw(nullptr, kRedrawFlags);
}

void SMediaCtrl::SetAlignment(int flags) {
  if (flags == m_alignment) return;
  int horizontal = (flags & 3) == 3 ? ALIGN_JUSTIFY
                   : (flags & 2)    ? ALIGN_RIGHT
                   : (flags & 1)    ? ALIGN_CENTER
                                    : ALIGN_LEFT;
  int vertical = (flags & 0x20) ? ALIGN_BOTTOM : (flags & 0x10) ? ALIGN_MIDDLE : ALIGN_TOP;
  m_alignment = horizontal | vertical;
  Relayout();
}

void SMediaCtrl::SetWrapping(bool wrap) {
  if (wrap == m_wrapping) return;
  m_wrapping = wrap;
  Relayout();
}

void SMediaCtrl::SetTrimming(bool trim) {
  if (trim == m_trimming) return;
  m_trimming = trim;
  Relayout();
}

void SMediaCtrl::SetTags(bool tags) {
  if (tags == m_tags) return;
  m_tags = tags;
  Relayout();
}

void SMediaCtrl::SetMargins(int left, int top, int right, int bottom) {
  m_leftMargin = left > 0 ? left : 0;
  m_topMargin = top > 0 ? top : 0;
  m_rightMargin = right > 0 ? right : 0;
  m_bottomMargin = bottom > 0 ? bottom : 0;
  Relayout();
}

// ---------------------------------------------------------------------------
// Automatic scrolling

void SMediaCtrl::SetAutoScroll(double speedX, double speedY) {
  speedX = FiniteOrZero(speedX);
  speedY = FiniteOrZero(speedY);
  m_speedX = speedX / 1000.0;
  m_speedY = speedY / 1000.0;
  if (speedX == 0.0 && speedY == 0.0) {
    if (m_hWnd) ::KillTimer(m_hWnd, kScrollTimer);
    m_scrolling = false;
    m_scrollX = 0;
    m_scrollY = 0;
    Redraw(nullptr, kRedrawFlags);
    return;
  }
  if (m_loop) {
    // The text enters from the far edge of the text area.
    RECT client = {0, 0, 0, 0};
    if (m_hWnd) ::GetClientRect(m_hWnd, &client);
    m_vertical = speedY != 0.0;
    if (m_vertical) {
      m_scrollY = client.bottom - m_bottomMargin - m_topMargin;
    } else {
      m_scrollX = client.right - m_rightMargin - m_leftMargin;
    }
  }
  if (m_hWnd) {
    ::KillTimer(m_hWnd, kScrollTimer);
    ::SetTimer(m_hWnd, kScrollTimer, kScrollPeriod, nullptr);
  }
  m_scrolling = true;
  m_positionX = m_scrollX;
  m_positionY = m_scrollY;
  m_lastStepTime = ::timeGetTime();
  Redraw(nullptr, kRedrawFlags);
}

void SMediaCtrl::StepAutoScroll() {
  DWORD now = ::timeGetTime();
  DWORD elapsed = now - m_lastStepTime;
  m_lastStepTime = now;
  m_positionX += m_speedX * elapsed;
  m_positionY += m_speedY * elapsed;
  // Far beyond any window the position stops growing.
  m_positionX = m_positionX > kScrollLimit ? kScrollLimit : m_positionX;
  m_positionX = m_positionX < -kScrollLimit ? -kScrollLimit : m_positionX;
  m_positionY = m_positionY > kScrollLimit ? kScrollLimit : m_positionY;
  m_positionY = m_positionY < -kScrollLimit ? -kScrollLimit : m_positionY;
  int x = ToScrollOffset(m_positionX);
  int y = ToScrollOffset(m_positionY);
  if (x == m_scrollX && y == m_scrollY) return;
  m_scrollX = x;
  m_scrollY = y;
  if (m_loop) {
    RECT client = {0, 0, 0, 0};
    if (m_hWnd) ::GetClientRect(m_hWnd, &client);
    if (!m_vertical) {
      if (m_contentWidth + m_scrollX < 0) {
        m_scrollX = client.right - m_rightMargin - m_leftMargin;
        m_positionX = m_scrollX;
      }
    } else if (m_contentHeight + m_scrollY < m_topMargin) {
      m_scrollY = client.bottom - m_bottomMargin;
      m_positionY = m_scrollY;
    }
  }
  Redraw(nullptr, kRedrawFlags);
  UpdateLinkCursor(nullptr);
}

// ---------------------------------------------------------------------------
// Links

int SMediaCtrl::HitTestLink(int x, int y) {
  POINT point = {x, y};
  for (int i = 0; i < m_linkRects.GetCount(); ++i) {
    if (m_linkRects[i] && ::PtInRect(m_linkRects[i], point)) return i;
  }
  return -1;
}

void SMediaCtrl::UpdateLinkCursor(const POINT* point) {
  POINT at;
  if (point) {
    at = *point;
  } else if (!GetCursorPos(&at)) {
    return;
  }
  if (HitTestLink(at.x, at.y) >= 0) {
    SetCursor(GetFrameworkCursor(CURSOR_HAND));
  } else if (m_cursor) {
    // Clearing the own cursor also moves the mouse onto itself, which makes
    // the system show the class cursor again.
    SetCursor(nullptr);
  }
}

void SMediaCtrl::OnLinkPressed(int index) {
  // A copy: the parent may repaint (and so rebuild the links) meanwhile.
  SString target = m_linkTexts.Get(index);
  const char* text = target.GetText() ? target.GetText() : "";
  if (NotifyParent(SWM_MEDIALINK, reinterpret_cast<WPARAM>(this),
                   reinterpret_cast<LPARAM>(text)) != 0) {
    return;
  }
  bool mail = target.FindChar('@') >= 0;
  if (m_linkOpener) {
    m_linkOpener(this, text, mail);
  } else if (mail) {
    m_mail.OpenMailTo(text);
  } else {
    m_shell.ShellOpen(text);
  }
}

void SMediaCtrl::ClearLinks() {
  m_linkTexts.DeleteAndRemoveAll();
  m_linkRects.DeleteAndRemoveAll();
}

// ---------------------------------------------------------------------------
// Images

SImage* SMediaCtrl::GetImage(const char* name) {
  if (!m_archive || !name) return nullptr;
  for (int i = 0; i < m_images.GetCount(); ++i) {
    if (m_images[i]->GetName().CompareNoCase(name) == 0) return m_images[i];
  }
  SFileMem file;
  SString entry = SString("image\\") + name;
  if (!m_archive->Load(&file, entry.GetText(), true)) return nullptr;
  SImage* image = new SImage;
  if (!image->Load(&file)) {
    delete image;
    return nullptr;
  }
  image->SetName(name);
  m_images.Add(image);
  return image;
}

void SMediaCtrl::ClearImages() {
  m_images.DeleteAndRemoveAll();
}
