#include "core/Platform.h"
#include "editors/SImageEditor.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "window/ControlFactory.h"
#include "window/SWndApp.h"
#include "window/Framework.h"
#include "editors/EditorMessages.h"

using namespace Gdiplus;

namespace {

// Cursor pixel codes of SCursor::CreateFromImage.
const COLORREF kTransparent = 0xFF00FF;
const COLORREF kInverted = 0x0000FF;
const COLORREF kInvertedHotSpot = 0xFC0000;

// The cursor of each tool but the brush and the selection (framework kinds;
// -1: the window's default).
const int kToolCursors[] = {-1, -1, CURSOR_FILL, CURSOR_CROSS, CURSOR_DROPPER, -1, CURSOR_ZOOM};

// Brush cursor sizes by the zoomed brush side: the first whose limit is
// above it.
struct CursorSize {
  int below;
  int size;
};
const CursorSize kCursorSizes[] = {{31, 32}, {63, 64}, {127, 128}, {INT32_MAX, 256}};

SWnd* ConstructImageEditor() { return new SImageEditor; }

void ConfigureImageEditor(SWnd* control, const SDialogEditor::_SCtrl* r, SResource* archive, bool) {
  SString name = SDialogEditor::GetProperty(r, "IMAGEEDITOR_FILE");
  SFileMem file;
  if (archive && name.GetLength() > 0 && archive->Load(&file, name.GetText(), true))
    static_cast<SImageEditor*>(control)->LoadFile(&file);
}

const SDialogControlClass kImageEditorClass = {ConstructImageEditor, ConfigureImageEditor, nullptr};

}  // namespace

SImageEditor::SImageEditor()
    : m_hatch(new HatchBrush(HatchStyleDiagonalCross, Color(0xFFC0C0C0), Color(0xFFFFFFFF))),
      m_outline(nullptr),
      m_outlineCount(0),
      m_panel(nullptr) {
  m_kind = KIND;
  m_notifyParent = true;
  m_scrollX = m_scrollY = 0;
  m_zoom = 1;
  m_lastDown.x = m_lastDown.y = -1;
  ResetTools();
}

SImageEditor::~SImageEditor() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  FreeOutline();
  delete m_panel;
  delete m_hatch;
}

bool SImageEditor::Register() {
  return RegisterDialogControlClass(SDialogEditor::TYPE_IMAGEEDITOR, &kImageEditorClass);
}

void SImageEditor::OnColorPicked(bool, uint32_t) {}

void SImageEditor::FreeOutline() {
  delete[] m_outline;
  m_outline = nullptr;
  m_outlineCount = 0;
}

void SImageEditor::ResetTools() {
  m_selectionActive = false;
  FreeOutline();
  m_tool = TOOL_NONE;
  m_brushShape = 0;
  m_selectionMode = 0;
  m_primary = 0xFF000000;
  m_secondary = 0xFFFFFFFF;
  m_brushSize = 1;
}

void SImageEditor::RedrawWindow() { Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void SImageEditor::Notify() {
  if (m_notifyParent && m_hWnd && GetParent())
    ::SendMessageA(GetParent(), SWM_CONTROLCHANGED, reinterpret_cast<WPARAM>(this), 0);
}

bool SImageEditor::LoadFile(SFile* file) {
  FreeOutline();
  m_image.FreeBitmap();
  Bitmap* bitmap = file ? SImage::ReadBitmap(file) : nullptr;
  if (!bitmap) {
    RedrawWindow();
    return false;
  }
  // Painted on through a graphics of the bitmap, which needs a direct
  // colour format.
  SImage decoded;
  bool copied = decoded.CopyRect(bitmap, 0, 0, -1, -1);
  delete bitmap;
  if (!copied) return false;
  Bitmap* argb = decoded.CloneBitmap(PixelFormat32bppARGB);
  if (!argb || !m_image.CopyRect(argb, 0, 0, -1, -1)) {
    delete argb;
    return false;
  }
  delete argb;
  m_image.m_drawMode = SImage::DRAW_STRETCH;
  m_scrollX = m_scrollY = 0;
  if (m_hWnd) {
    ::SetScrollPos(m_hWnd, SB_HORZ, 0, FALSE);
    ::SetScrollPos(m_hWnd, SB_VERT, 0, FALSE);
  }
  m_lastDown.x = m_lastDown.y = -1;
  m_zoom = 1;
  UpdateHorzScrollBar();
  UpdateVertScrollBar();
  m_selectionActive = false;
  RedrawWindow();
  return true;
}

void SImageEditor::SetZoom(int zoom) {
  zoom = zoom < ZOOM_MIN ? ZOOM_MIN : (zoom > ZOOM_MAX ? ZOOM_MAX : zoom);
  if (zoom == m_zoom) return;
  m_zoom = zoom;
  UpdateHorzScrollBar();
  UpdateVertScrollBar();
  RedrawWindow();
  if (m_tool == TOOL_BRUSH) UpdateToolCursor();
}

void SImageEditor::SetColor(bool primary, uint32_t argb) {
  (primary ? m_primary : m_secondary) = argb;
  if (!m_panel) return;
  if (SPanelCtrl::_SButton* swatch = m_panel->FindButton(PANEL_COLORS, primary ? 0 : 1)) {
    swatch->m_swatch = RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  }
  m_panel->RedrawGroup(PANEL_COLORS);
}

void SImageEditor::GetImageRect(int* x, int* y, int* width, int* height) {
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  *width = m_image.GetWidth() * m_zoom;
  *height = m_image.GetHeight() * m_zoom;
  *x = *width <= client.right ? (client.right - *width) / 2 - m_scrollX : -m_scrollX;
  *y = *height <= client.bottom ? (client.bottom - *height) / 2 - m_scrollY : -m_scrollY;
}

bool SImageEditor::PointToPixel(int x, int y, POINT* pixel) {
  int left, top, width, height;
  GetImageRect(&left, &top, &width, &height);
  if (!m_image.GetBitmap() || x < left || y < top || x >= left + width || y >= top + height) {
    pixel->x = -1;
    return false;
  }
  pixel->x = (x - left) / m_zoom;
  pixel->y = (y - top) / m_zoom;
  return true;
}

bool SImageEditor::IsInSelection(int x, int y) {
  if (!m_selectionActive || m_selectionMode != 0 || !m_outline || m_outlineCount < 3) return false;
  const POINT& a = m_outline[0];
  const POINT& c = m_outline[2];
  int left = a.x < c.x ? a.x : c.x, right = a.x < c.x ? c.x : a.x;
  int top = a.y < c.y ? a.y : c.y, bottom = a.y < c.y ? c.y : a.y;
  return x >= left && x < right && y >= top && y < bottom;
}

void SImageEditor::BuildBrushCursor() {
  int d = m_zoom * m_brushSize;
  int s = 256;
  for (const CursorSize& row : kCursorSizes) {
    if (d < row.below) {
      s = row.size;
      break;
    }
  }
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, s, s);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all = {0, 0, s, s};
  HBRUSH fill = ::CreateSolidBrush(kTransparent);
  ::FillRect(dc, &all, fill);
  ::DeleteObject(fill);
  int a = s / 2 - d / 2;
  RECT square = {a, a, a + d, a + d};
  HBRUSH frame = ::CreateSolidBrush(kInverted);
  ::FrameRect(dc, &square, frame);
  ::DeleteObject(frame);
  ::SetPixel(dc, s / 2, s / 2, kInvertedHotSpot);
  m_brushCursor.CreateFromImage(dc, s, s);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
}

void SImageEditor::UpdateToolCursor() {
  if (m_tool == TOOL_BRUSH) {
    BuildBrushCursor();
    SetCursor(m_brushCursor.GetHandle());
    return;
  }
  if (m_tool == TOOL_SELECTION) {
    POINT point = {0, 0}, pixel;
    GetCursorPos(&point);
    if (PointToPixel(point.x, point.y, &pixel) && IsInSelection(pixel.x, pixel.y))
      SetCursor(GetFrameworkCursor(CURSOR_HAND));
    else if (m_selectionMode == 0 || m_selectionMode == 1)
      SetCursor(GetFrameworkCursor(CURSOR_CROSS));
    return;
  }
  int kind = m_tool >= 0 && m_tool <= TOOL_ZOOM ? kToolCursors[m_tool] : -1;
  SetCursor(kind >= 0 ? GetFrameworkCursor(kind) : nullptr);
}

void SImageEditor::UpdateHorzScrollBar() {
  if (!m_hWnd) return;
  m_scrollX = ::GetScrollPos(m_hWnd, SB_HORZ);
  RECT client;
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  info.nMax = m_image.GetBitmap() ? m_image.GetWidth() * m_zoom : 0;
  info.nPage = ::GetClientRect(m_hWnd, &client) ? UINT(client.right) : 0;
  ::SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
}

void SImageEditor::UpdateVertScrollBar() {
  if (!m_hWnd) return;
  m_scrollY = ::GetScrollPos(m_hWnd, SB_VERT);
  RECT client;
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  info.nMax = m_image.GetBitmap() ? m_image.GetHeight() * m_zoom : 0;
  info.nPage = ::GetClientRect(m_hWnd, &client) ? UINT(client.bottom) : 0;
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void SImageEditor::Paint(HDC dc) {
  RECT client = {0, 0, 0, 0};
  ::GetClientRect(m_hWnd, &client);
  Graphics graphics(dc);
  graphics.FillRectangle(m_hatch, 0, 0, client.right, client.bottom);
  if (!m_image.GetBitmap()) return;
  int x, y, width, height;
  GetImageRect(&x, &y, &width, &height);
  graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
  graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
  Rect dest(x, y, width, height);
  m_image.DrawInRect(&graphics, &dest);
}

void SImageEditor::ApplyTool(int x, int y, int button, bool drag) {
  POINT pixel;
  bool inside = PointToPixel(x, y, &pixel);
  bool left = button == 1;
  switch (m_tool) {
    case TOOL_BRUSH:
      if (!inside) return;
      if (m_brushShape == 1) {
        Graphics* graphics = Graphics::FromImage(m_image.GetBitmap());
        if (graphics) {
          SolidBrush brush(Color(left ? m_primary : m_secondary));
          graphics->FillRectangle(&brush, int(pixel.x - m_brushSize / 2),
                                  int(pixel.y - m_brushSize / 2), m_brushSize, m_brushSize);
          delete graphics;
        }
      }
      RedrawWindow();
      Notify();
      break;
    case TOOL_FILL:
    case TOOL_CROSS:
      if (!inside && !(drag && m_tool == TOOL_CROSS)) return;
      RedrawWindow();
      Notify();
      break;
    case TOOL_DROPPER: {
      if (!inside) return;
      Color color;
      uint32_t argb = m_image.GetBitmap()->GetPixel(pixel.x, pixel.y, &color) == Ok
                          ? uint32_t(color.GetValue())
                          : 0xFF000000;
      SetColor(left, argb);
      OnColorPicked(left, argb);
      break;
    }
    case TOOL_ZOOM:
      if (inside) SetZoom(m_zoom + (left ? 1 : -1));
      break;
  }
}

LRESULT SImageEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(SImage::COLOR_NONE);
      m_selector.m_owner = GetPopupAncestor();
      m_hLineStep = m_vLineStep = 10;
      m_hPageStep = m_vPageStep = 30;
      m_hScrollUnit = m_vScrollUnit = 1;
      ResetTools();
      m_scrollX = m_scrollY = 0;
      m_lastDown.x = m_lastDown.y = -1;
      m_zoom = 1;
      UpdateToolCursor();
      break;
    case WM_SIZE:
      UpdateHorzScrollBar();
      UpdateVertScrollBar();
      RedrawWindow();
      break;
    case SWM_HSCROLLED:
      UpdateHorzScrollBar();
      RedrawWindow();
      break;
    case SWM_VSCROLLED:
      UpdateVertScrollBar();
      RedrawWindow();
      break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
      break;
    case WM_MOUSEMOVE:
      UpdateToolCursor();
      break;
    case WM_NCMOUSEMOVE:
      SetCursor(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      SetFocus();
      int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
      m_lastDown.x = x;
      m_lastDown.y = y;
      int left, top, width, height;
      GetImageRect(&left, &top, &width, &height);
      if (x < left || y < top || x >= left + width || y >= top + height) break;
      ApplyTool(x, y, message == WM_LBUTTONDOWN ? 1 : 4, false);
      if ((m_tool == TOOL_BRUSH || m_tool == TOOL_CROSS || m_tool == TOOL_SELECTION) && g_appWindow)
        g_appWindow->BeginCapture(m_hWnd);
      break;
    }
    case SWM_CAPTUREMOVE:
      // The point arrives in this window's client coordinates.
      ApplyTool(short(LOWORD(lParam)), short(HIWORD(lParam)), int(wParam), true);
      break;
    case WM_MOUSEWHEEL:
      SetZoom(m_zoom + (short(HIWORD(wParam)) < 0 ? -1 : 1));
      break;
    case WM_KEYDOWN:
      if (m_tool != TOOL_SELECTION || !m_selectionActive) break;
      if (wParam == VK_DELETE) {
        m_selectionActive = false;
        RedrawWindow();
        break;
      }
      if (wParam >= VK_LEFT && wParam <= VK_DOWN) {
        static const POINT kMoves[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
        const POINT& move = kMoves[wParam - VK_LEFT];
        for (int i = 0; i < m_outlineCount; ++i) {
          m_outline[i].x += move.x;
          m_outline[i].y += move.y;
        }
        RedrawWindow();
      }
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
