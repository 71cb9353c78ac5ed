// STabDocCtrl: documents, colours, measuring, layout and painting.
#include "core/Platform.h"
#include "window/STabDocCtrl.h"

#include "core/PlatformGdiplus.h"
#include "core/SImage.h"
#include "core/SStringParser.h"
#include "core/SUniString.h"
#include "window/ControlFactory.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

using Gdiplus::Graphics;

namespace {

typedef SDialogRecords::_SCtrl Record;

const int kButtonGlyphInset = 4;
// "|"-separated lists: quoting with the double quote (1), trimmed tokens (8).
const int kListFlags = 1 | 8;

Gdiplus::Color Opaque(COLORREF color) {
  return Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}

SString TabText(const STabDocCtrl::_SItem* item) {
  SString text = item->m_title;
  if (item->m_modified) text += "*";
  return text;
}

bool HasArea(const RECT& rect) { return rect.right > rect.left && rect.bottom > rect.top; }

void KeepColor(COLORREF* field, COLORREF value) {
  if (value != SImage::COLOR_NONE) *field = value;
}

SWnd* ConstructTabDoc() { return new STabDocCtrl; }

void ConfigureTabDoc(SWnd* control, const Record* r, SResource*, bool) {
  STabDocCtrl* tabs = static_cast<STabDocCtrl*>(control);
  if (r->m_backColor != SImage::COLOR_NONE) tabs->SetBackColor(DecodeDialogColor(r->m_backColor));
  auto color = [r](const char* key) {
    COLORREF value = SDialogRecords::GetPropertyColor(r, key);
    return value == SImage::COLOR_NONE ? value : DecodeDialogColor(value);
  };
  tabs->SetColors(color("TABDOC_BACKCOLOR"), color("TABDOC_BACKSELCOLOR"),
                  color("TABDOC_WINDOWBACKCOLOR"));
  tabs->SetTextColors(color("TABDOC_TEXTCOLOR"), color("TABDOC_TEXTSELCOLOR"));
  tabs->m_showClose = SDialogRecords::GetPropertyBool(r, "TABDOC_CLOSE");
  tabs->Layout();
  tabs->m_moveTabs = SDialogRecords::GetPropertyBool(r, "TABDOC_MOVE");
  SString content = SDialogRecords::GetProperty(r, "TABDOC_CONTENT");
  SStringParser parser(content.GetText());
  int count = parser.Parse("|", kListFlags, '"');
  for (int i = 0; i < count; ++i) tabs->AddDocument(parser.GetToken(i).GetText(), i);
  tabs->SetCurrent(SDialogRecords::GetPropertyInt(r, "TABDOC_SELECTION"));
}

const SControlKind kTabDocKind = {ControlKinds::KIND_TABDOC};
const bool kTabDocKindRegistered = RegisterControlKind(&kTabDocKind);
const SDialogControlClass kTabDocClass = {ConstructTabDoc, ConfigureTabDoc, nullptr};

}  // namespace

bool STabDocCtrl::Register() {
  return RegisterDialogControlClass(ControlKinds::TYPE_TABDOC, &kTabDocClass);
}

// --- documents ----------------------------------------------------------------------

STabDocCtrl::_SItem::_SItem(STabDocCtrl* owner) : m_id(-1), m_modified(false) {
  m_window.m_owner = owner;
  m_window.m_item = this;
}

STabDocCtrl::_SItem::~_SItem() { ReleaseInnerWindow(m_window.m_hWnd); }

STabDocCtrl::STabDocCtrl()
    : m_stripColor(::GetSysColor(COLOR_INACTIVECAPTION)),
      m_currentColor(::GetSysColor(COLOR_ACTIVECAPTION)),
      m_textColor(::GetSysColor(COLOR_INACTIVECAPTIONTEXT)),
      m_currentTextColor(::GetSysColor(COLOR_CAPTIONTEXT)),
      m_pageColor(::GetSysColor(COLOR_WINDOW)),
      m_font(nullptr),
      m_currentFont(nullptr),
      m_showClose(true),
      m_moveTabs(true),
      m_closeButton(),
      m_rightButton(),
      m_leftButton(),
      m_current(-1),
      m_stripHeight(0),
      m_inset(2),
      m_gap(1),
      m_margin(2),
      m_textHeight(22),
      m_firstVisible(0),
      m_visibleCount(0) {
  m_kind = ControlKinds::KIND_TABDOC;
  m_stripHeight = m_textHeight + 2 * m_inset + m_margin;
}

STabDocCtrl::~STabDocCtrl() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  for (int i = 0; i < m_items.GetCount(); ++i) delete m_items[i];
  m_items.FreeBuffer();
  DeleteFonts();
}

void STabDocCtrl::DeleteFonts() {
  delete m_font;
  delete m_currentFont;
  m_font = m_currentFont = nullptr;
}

bool STabDocCtrl::OnChildMessage(_SItem*, UINT, WPARAM, LPARAM, LRESULT*) { return true; }

void STabDocCtrl::SetColors(COLORREF strip, COLORREF currentTab, COLORREF page) {
  KeepColor(&m_stripColor, strip);
  KeepColor(&m_currentColor, currentTab);
  KeepColor(&m_pageColor, page);
  for (int i = 0; i < m_items.GetCount(); ++i) m_items[i]->m_window.SetBackColor(m_pageColor);
}

void STabDocCtrl::SetTextColors(COLORREF text, COLORREF currentText) {
  KeepColor(&m_textColor, text);
  KeepColor(&m_currentTextColor, currentText);
}

void STabDocCtrl::AddDocument(const char* title, int id) {
  if (!m_hWnd) return;
  _SItem* item = new _SItem(this);
  item->m_id = id;
  item->m_title = title;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  RECT page = {0, m_stripHeight, client.right, client.bottom};
  if (page.bottom < page.top) page.bottom = page.top;
  if (!item->m_window.Create("", WS_CHILD, 0, &page, m_hWnd)) {
    delete item;
    return;
  }
  item->m_window.SetBackColor(m_pageColor);
  m_items.Add(item);
  m_current = m_items.GetCount() - 1;
  for (int i = 0; i < 2; ++i) {
    MeasureTabs();
    ShowPages();
  }
}

bool STabDocCtrl::AttachDocument(_SItem* item) {
  if (!item || !m_hWnd) return false;
  item->m_window.m_owner = this;
  ::SetParent(item->m_window.m_hWnd, m_hWnd);
  m_items.Add(item);
  m_current = m_items.GetCount() - 1;
  MeasureTabs();
  ShowPages();
  Layout();
  ShowPages();
  return true;
}

STabDocCtrl::_SItem* STabDocCtrl::Detach(int index) {
  if (index < 0 || index >= m_items.GetCount()) return nullptr;
  _SItem* item = m_items[index];
  m_items.RemoveAt(index);
  int count = m_items.GetCount();
  m_current = index < count ? index : count - 1;
  // Never below 0: with no document left the strip starts at the first tab.
  if (m_firstVisible >= count) m_firstVisible = count > 0 ? count - 1 : 0;
  return item;
}

void STabDocCtrl::RemoveAt(int index) {
  _SItem* item = Detach(index);
  if (!item) return;
  delete item;
  MeasureTabs();
  ShowPages();
}

void STabDocCtrl::RemoveAll() {
  for (int i = 0; i < m_items.GetCount(); ++i) delete m_items[i];
  m_items.RemoveAll();
  m_current = -1;
  m_firstVisible = 0;
  MeasureTabs();
  ShowPages();
}

void STabDocCtrl::SetCurrent(int index) {
  m_current = index >= 0 && index < m_items.GetCount() ? index : -1;
  MeasureTabs();
  ShowPages();
}

// --- measuring, layout, painting --------------------------------------------------------

void STabDocCtrl::MeasureTabs() {
  int count = m_items.GetCount();
  if (m_tabRects.GetCount() != count) {
    m_tabRects.RemoveAll();
    RECT zero = {0, 0, 0, 0};
    for (int i = 0; i < count; ++i) m_tabRects.Add(zero);
  }
  m_visibleCount = 0;
  if (!m_hWnd) return;
  int limit = m_leftButton.left > 0 ? m_leftButton.left : 0;
  HDC dc = ::GetDC(m_hWnd);
  {
    Graphics graphics(dc);
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
    int x = 0;
    bool full = false;
    for (int i = 0; i < count; ++i) {
      RECT& rect = m_tabRects[i];
      rect = RECT{0, 0, 0, 0};
      if (i < m_firstVisible || full) continue;
      SUniString text(TabText(m_items[i]).GetText());
      Gdiplus::Font* font = i == m_current ? m_currentFont : m_font;
      Gdiplus::RectF bounds;
      if (font) {
        graphics.MeasureString(text.GetText(), -1, font, Gdiplus::PointF(0, 0), &format, &bounds);
      }
      int right = x + int(bounds.Width) + 2 * m_inset;
      if (right >= limit - m_gap) {
        full = true;
        continue;
      }
      rect = RECT{x, 0, right, m_stripHeight - m_margin};
      ++m_visibleCount;
      x = right + m_gap;
      if (x >= limit) full = true;
    }
  }
  ::ReleaseDC(m_hWnd, dc);
}

void STabDocCtrl::Layout() {
  if (!m_hWnd) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int w = client.right, h = client.bottom;
  for (int i = 0; i < m_items.GetCount(); ++i) {
    HWND page = m_items[i]->m_window.m_hWnd;
    int height = h - m_stripHeight;
    if (page) ::MoveWindow(page, 0, m_stripHeight, w, height > 0 ? height : 0, TRUE);
  }
  int right = w - m_inset;
  RECT* buttons[] = {&m_closeButton, &m_rightButton, &m_leftButton};
  for (RECT* button : buttons) {
    if (button == &m_closeButton && !m_showClose) {
      *button = RECT{0, 0, 0, 0};
      continue;
    }
    *button = RECT{right - m_textHeight, m_inset, right, m_inset + m_textHeight};
    right -= m_textHeight;
  }
  MeasureTabs();
}

void STabDocCtrl::Paint(HDC dc) {
  if (!m_hWnd || !dc) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  Graphics graphics(dc);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  format.SetAlignment(Gdiplus::StringAlignmentCenter);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::SolidBrush strip(Opaque(m_stripColor)), text(Opaque(m_textColor));
  Gdiplus::SolidBrush current(Opaque(m_currentColor)), currentText(Opaque(m_currentTextColor));
  int band = m_stripHeight - m_margin;
  graphics.FillRectangle(&strip, 0, 0, int(client.right), band);
  graphics.FillRectangle(&text, 0, band, int(client.right), m_margin);
  for (int i = m_firstVisible; i < m_tabRects.GetCount() && i < m_items.GetCount(); ++i) {
    const RECT& rect = m_tabRects[i];
    if (!HasArea(rect)) continue;
    Gdiplus::RectF area(Gdiplus::REAL(rect.left), Gdiplus::REAL(rect.top),
                        Gdiplus::REAL(rect.right - rect.left),
                        Gdiplus::REAL(rect.bottom - rect.top));
    bool isCurrent = i == m_current;
    if (isCurrent) graphics.FillRectangle(&current, area);
    Gdiplus::Font* font = isCurrent ? m_currentFont : m_font;
    SUniString label(TabText(m_items[i]).GetText());
    if (font)
      graphics.DrawString(label.GetText(), -1, font, area, &format,
                          isCurrent ? &currentText : &text);
    graphics.FillRectangle(&text, int(rect.right), int(rect.top + m_inset), m_gap,
                           int(rect.bottom - rect.top - 2 * m_inset));
  }
  Gdiplus::Pen pen(Opaque(m_textColor), 1.0f);
  POINT cursor = {-1, -1};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(m_hWnd, &cursor);
  bool outlined = false;
  auto button = [&](const RECT& rect, bool shown, int glyph) {
    if (!shown || !HasArea(rect)) return;
    RECT inner = rect;
    ::InflateRect(&inner, -kButtonGlyphInset, -kButtonGlyphInset);
    int middle = (inner.top + inner.bottom) / 2;
    if (glyph == 0) {
      graphics.DrawLine(&pen, int(inner.left), int(inner.top), int(inner.right), int(inner.bottom));
      graphics.DrawLine(&pen, int(inner.right), int(inner.top), int(inner.left), int(inner.bottom));
    } else {
      int flat = glyph > 0 ? inner.left : inner.right;
      int tip = glyph > 0 ? inner.right : inner.left;
      graphics.DrawLine(&pen, flat, int(inner.top), flat, int(inner.bottom));
      graphics.DrawLine(&pen, flat, int(inner.top), tip, middle);
      graphics.DrawLine(&pen, flat, int(inner.bottom), tip, middle);
    }
    if (!outlined && ::PtInRect(&rect, cursor)) {
      outlined = true;
      graphics.DrawRectangle(&pen, int(rect.left), int(rect.top), int(rect.right - rect.left - 1),
                             int(rect.bottom - rect.top - 1));
    }
  };
  button(m_closeButton, m_showClose && m_current >= 0, 0);
  button(m_rightButton, m_firstVisible + m_visibleCount < m_items.GetCount(), 1);
  button(m_leftButton, m_firstVisible > 0, -1);
}

void STabDocCtrl::ShowPages() {
  if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return;
  SendMessage(WM_SETREDRAW, FALSE);
  for (int i = 0; i < m_items.GetCount(); ++i) {
    HWND page = m_items[i]->m_window.m_hWnd;
    if (page) ::ShowWindow(page, i == m_current ? SW_SHOW : SW_HIDE);
  }
  SendMessage(WM_SETREDRAW, TRUE);
  Redraw();
}

void STabDocCtrl::RedrawStrip() {
  if (!m_hWnd) return;
  RECT strip;
  ::GetClientRect(m_hWnd, &strip);
  if (strip.bottom > m_stripHeight) strip.bottom = m_stripHeight;
  Redraw(&strip);
}
