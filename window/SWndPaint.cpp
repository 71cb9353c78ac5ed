// SWnd: background colours and images, nine-slice drawing, state images,
// the shape region, the double-buffered erase, redraws and layered windows.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "core/PlatformGdiplus.h"
#include "core/SFileMem.h"
#include "core/SResource.h"
#include "core/Utility.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

using Gdiplus::Bitmap;
using Gdiplus::Color;
using Gdiplus::Graphics;
using Gdiplus::ImageAttributes;
using Gdiplus::Rect;

UpdateLayeredWindowProc g_updateLayeredWindow = nullptr;

namespace {

enum { STATE_HOVER = 0, STATE_PRESSED, STATE_CHECKED, STATE_DISABLED, STATE_COUNT };

const DWORD kToolbarTransparent = 0x8000;
const UINT kHollowParentRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW;
// AC_SRC_OVER, no flags, constant alpha 255, AC_SRC_ALPHA.
const BLENDFUNCTION kLayerBlend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

Color OpaqueColor(COLORREF c) { return Color(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

// Removes a shaped child's region (already at the child's position) from the
// device context's clip: XOR with the current clip, or with the clip box
// when the context has no clip region.
void CutRegionOut(HDC dc, HRGN childRegion) {
  HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
  if (!clip) return;
  if (::GetClipRgn(dc, clip) != 1) {
    RECT box;
    ::GetClipBox(dc, &box);
    ::SetRectRgn(clip, box.left, box.top, box.right, box.bottom);
  }
  ::CombineRgn(clip, clip, childRegion, RGN_XOR);
  ::SelectClipRgn(dc, clip);
  ::DeleteObject(clip);
}

// A memory DC compatible with the screen holding a new 32-bit bitmap.
HDC CreateLayerDC(HDC compatible, int width, int height) {
  HDC dc = ::CreateCompatibleDC(compatible);
  if (!dc) return nullptr;
  HBITMAP bitmap = ::CreateBitmap(width, height, 1, 32, nullptr);
  if (!bitmap) {
    ::DeleteDC(dc);
    return nullptr;
  }
  ::SelectObject(dc, bitmap);
  return dc;
}

// The part of the client area that an erase of the HDC can reach: its clip
// box within the client rectangle. False when nothing is left.
bool ErasedArea(const RECT& client, HDC dc, RECT* area) {
  RECT box;
  if (::GetClipBox(dc, &box) == ERROR) box = client;
  return ::IntersectRect(area, &client, &box) != 0;
}

// Deletes a memory DC and the bitmap selected into it.
void FreeMemoryDC(HDC dc) {
  if (!dc) return;
  HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
  ::DeleteDC(dc);
  if (bitmap) ::DeleteObject(bitmap);
}

}  // namespace

HBRUSH BackgroundBrush(COLORREF back, HDC dc, HBRUSH* owned) {
  FreeBackgroundBrush(owned);
  if (back == SImage::COLOR_HOLLOW) {
    if (dc) ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  }
  if (back == SImage::COLOR_NONE) return nullptr;
  *owned = ::CreateSolidBrush(back);
  if (dc) ::SetBkColor(dc, back);
  return *owned;
}

void FreeBackgroundBrush(HBRUSH* owned) {
  if (*owned && *owned != static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))) {
    ::DeleteObject(*owned);
  }
  *owned = nullptr;
}

// ---------------------------------------------------------------------------
// Images

void SWnd::SetImageDrawMode(SWnd* wnd, int mode) {
  if (wnd) wnd->SetBackgroundDrawMode(mode);
}

int SWnd::SetBackgroundDrawMode(int mode) {
  int previous = m_backgroundImage.m_drawMode;
  m_backgroundImage.m_drawMode =
      mode >= 0 && mode < SImage::DRAW_MODE_COUNT ? mode : SImage::DRAW_TOPLEFT;
  return previous;
}

void SWnd::SetBackgroundImage(Bitmap* bitmap, COLORREF key) {
  m_backgroundImage.FreeBitmap();
  ::SetRectEmpty(&m_nineSlice);
  if (bitmap) {
    m_backgroundImage.CopyRect(bitmap, 0, 0, -1, -1);
    m_shapeKey = key;
    m_backgroundImage.m_transparentColor = key;
  }
  UpdateShapeRegion();
  Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SWnd::SetStateImages(SImage* hover, SImage* pressed, SImage* checked, SImage* disabled) {
  FreeStateImages();
  SImage* given[STATE_COUNT] = {hover, pressed, checked, disabled};
  bool any = false;
  for (SImage* image : given) any = any || (image && image->GetBitmap());
  if (!any) return;
  m_stateImages = new SImage[STATE_COUNT];
  for (int i = 0; i < STATE_COUNT; ++i) {
    if (given[i]) m_stateImages[i].Copy(*given[i]);
  }
}

void SWnd::LoadStateImages(SResource* archive, const char* hover, const char* pressed,
                           const char* checked, const char* disabled) {
  const char* names[STATE_COUNT] = {hover, pressed, checked, disabled};
  bool any = false;
  for (const char* name : names) any = any || (name && *name);
  if (!archive || !any) return;
  SFileMem file;
  SImage images[STATE_COUNT];
  for (int i = 0; i < STATE_COUNT; ++i) {
    if (!names[i] || !*names[i]) continue;
    // Emptied as well as rewound, so that a shorter entry is not followed by
    // the bytes of a longer one.
    file.SetSize(0);
    file.Rewind();
    if (archive->Load(&file, names[i], true)) images[i].Load(&file);
  }
  SetStateImages(&images[0], &images[1], &images[2], &images[3]);
}

void SWnd::UpdateShapeRegion() {
  if (!m_hWnd) return;
  if (!m_backgroundImage.GetBitmap() || m_shapeKey == SImage::COLOR_NONE) {
    ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    return;
  }
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int width = client.right, height = client.bottom;

  // The background drawn over the key colour, in a 32-bit image.
  HRGN drawn = nullptr;
  BITMAPINFO info = TopDownBitmapInfo32(width, height);
  void* bits = nullptr;
  HBITMAP section = width > 0 && height > 0
                        ? ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                        : nullptr;
  HDC dc = section ? ::CreateCompatibleDC(nullptr) : nullptr;
  if (dc) {
    HGDIOBJ previous = ::SelectObject(dc, section);
    HBRUSH brush = ::CreateSolidBrush(m_shapeKey);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
    DrawBackgroundImage(dc, width, height);
    ::GdiFlush();
    // GDI leaves the alpha bytes 0; the image is opaque.
    uint32_t* pixel = static_cast<uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) pixel[i] |= 0xFF000000u;
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    SImage image;
    if (image.FromHBITMAP(section)) drawn = image.CreateRegion(m_shapeKey);
  }
  if (section) ::DeleteObject(section);
  if (!drawn) {
    ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    return;
  }

  // The key-coloured part of the client, cut out of the whole window.
  HRGN keyed = ::CreateRectRgn(0, 0, width, height);
  HRGN window = ::CreateRectRgn(0, 0, GetWidth(), GetHeight());
  if (!keyed || !window) {
    if (keyed) ::DeleteObject(keyed);
    if (window) ::DeleteObject(window);
    ::DeleteObject(drawn);
    ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    return;
  }
  ::CombineRgn(keyed, keyed, drawn, RGN_DIFF);
  ::DeleteObject(drawn);
  int left = 0, top = 0;
  GetActualFrameMargins(&left, &top, nullptr, nullptr);
  if (left != 0 || top != 0) ::OffsetRgn(keyed, left, top);
  ::CombineRgn(window, window, keyed, RGN_XOR);
  ::DeleteObject(keyed);
  // The system owns the region from here.
  if (!::SetWindowRgn(m_hWnd, window, TRUE)) ::DeleteObject(window);
}

void SWnd::DrawBackgroundImage(HDC dc, int width, int height) {
  if (!dc || !m_backgroundImage.GetBitmap()) return;
  int iw = m_backgroundImage.GetWidth(), ih = m_backgroundImage.GetHeight();
  Graphics graphics(dc);

  // The image due: with state images, disabled before checked before the
  // mouse states; otherwise the background image.
  SImage* image = &m_backgroundImage;
  if (m_stateImagesOn && m_stateImages) {
    if (m_hWnd && !::IsWindowEnabled(m_hWnd)) {
      image = &m_stateImages[STATE_DISABLED];
    } else if (m_checked) {
      image = &m_stateImages[STATE_CHECKED];
    } else if (m_hover) {
      image = &m_stateImages[m_pressed ? STATE_PRESSED : STATE_HOVER];
    }
  }

  Rect source(0, 0, iw, ih);
  Rect dest(0, 0, width, height);
  if (!::IsRectEmpty(&m_nineSlice)) {
    int L = m_nineSlice.left, T = m_nineSlice.top, R = m_nineSlice.right, B = m_nineSlice.bottom;
    int right = iw - R, bottom = ih - B;  // sizes of the right column and the bottom row
    ImageAttributes corners, edges;
    edges.SetWrapMode(Gdiplus::WrapModeTile, Color(0xFF000000), FALSE);
    if (m_shapeKey != SImage::COLOR_NONE) {
      corners.SetColorKey(OpaqueColor(m_shapeKey), OpaqueColor(m_shapeKey));
      edges.SetColorKey(OpaqueColor(m_shapeKey), OpaqueColor(m_shapeKey));
    }
    Bitmap* bitmap = image->GetBitmap();
    if (bitmap) {
      const struct {
        int sx, sy, sw, sh, dx, dy;
      } kCorners[] = {
          {0, 0, L, T, 0, 0},
          {R, 0, right, T, width - right, 0},
          {0, B, L, bottom, 0, height - bottom},
          {R, B, right, bottom, width - right, height - bottom},
      };
      for (const auto& c : kCorners) {
        if (c.sw <= 0 || c.sh <= 0) continue;
        graphics.DrawImage(bitmap, Rect(c.dx, c.dy, c.sw, c.sh), c.sx, c.sy, c.sw, c.sh,
                           Gdiplus::UnitPixel, &corners);
      }
      const struct {
        int sx, sy, sw, sh, dx, dy, dw, dh;
      } kEdges[] = {
          {L, 0, R - L, T, L, 0, width - L - right, T},                          // top
          {0, T, L, B - T, 0, T, L, height - T - bottom},                        // left
          {R, T, right, B - T, width - right, T, right, height - T - bottom},    // right
          {L, B, R - L, bottom, L, height - bottom, width - L - right, bottom},  // bottom
      };
      for (const auto& e : kEdges) {
        int sw = abs(e.sw), sh = abs(e.sh);
        if (sw == 0 || sh == 0 || e.dw <= 0 || e.dh <= 0) continue;
        Bitmap* strip = bitmap->Clone(e.sx, e.sy, sw, sh, bitmap->GetPixelFormat());
        if (!strip) continue;
        if (strip->GetLastStatus() == Gdiplus::Ok) {
          graphics.DrawImage(strip, Rect(e.dx, e.dy, e.dw, e.dh), 0, 0, e.dw, e.dh,
                             Gdiplus::UnitPixel, &edges);
        }
        delete strip;
      }
    }
    source = Rect(L, T, R - L, B - T);
    dest = Rect(L, T, width - L - right, height - T - bottom);
  }
  image->DrawInRect(&graphics, &dest, &source);
}

// ---------------------------------------------------------------------------
// Painting

HDC SWnd::ContentPaintDC(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return reinterpret_cast<HDC>(lParam);
  if (message != WM_PRINTCLIENT || !wParam) return nullptr;
  HDC dc = reinterpret_cast<HDC>(wParam);
  int saved = ::SaveDC(dc);
  PaintBackground(dc, dc);
  if (saved) ::RestoreDC(dc, saved);
  return dc;
}

void SWnd::PaintBackground(HDC clipDC, HDC paintDC) {
  if (!m_hWnd) return;
  const SControlKind* ownKind = FindControlKind(m_kind);
  if (ownKind && ownKind->keepFree && clipDC) {
    RECT video = ownKind->keepFree(this);
    if (!::IsRectEmpty(&video)) {
      ::ExcludeClipRect(clipDC, video.left, video.top, video.right, video.bottom);
    }
  }

  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    SWnd* wnd = FromHandle(child);
    if (!wnd || wnd->m_backColor == SImage::COLOR_HOLLOW) continue;
    HDC dc = clipDC;
    const SControlKind* kind = FindControlKind(wnd->m_kind);
    switch (kind ? kind->cutOut : CUT_CLIP) {
      case CUT_CLIP:
        break;
      case CUT_PAINT:
        dc = paintDC;
        break;
      case CUT_CLIP_WHILE_SIZING:
        if (!m_sizeMove) dc = nullptr;
        break;
      case CUT_PAINT_WHEN_TRANSPARENT:
        if (::GetWindowLongA(child, GWL_STYLE) & kToolbarTransparent) dc = paintDC;
        break;
    }
    RECT rect;
    if (!dc || !RectInClientOf(child, m_hWnd, &rect)) continue;
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    int region = shape ? ::GetWindowRgn(child, shape) : ERROR;
    if (region != ERROR && region != NULLREGION) {
      ::OffsetRgn(shape, rect.left, rect.top);
      CutRegionOut(dc, shape);
    } else if (dc == clipDC) {
      ::ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    } else {
      HRGN area = ::CreateRectRgnIndirect(&rect);
      if (area) {
        ::ExtSelectClipRgn(dc, area, RGN_DIFF);
        ::DeleteObject(area);
      }
    }
    if (shape) ::DeleteObject(shape);
  }

  if (!paintDC) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  bool solid = m_backColor < SImage::COLOR_NONE;
  if (m_backgroundImage.GetBitmap()) {
    if (solid) {
      HBRUSH brush = ::CreateSolidBrush(m_backColor);
      ::FillRect(paintDC, &client, brush);
      ::DeleteObject(brush);
    }
    DrawBackgroundImage(paintDC, client.right, client.bottom);
  } else if (solid) {
    HBRUSH brush = ::CreateSolidBrush(m_backColor);
    ::FillRect(paintDC, &client, brush);
    ::DeleteObject(brush);
  } else if (m_backColor == SImage::COLOR_HOLLOW && m_hollowRedraw) {
    HWND parent = ::GetAncestor(m_hWnd, GA_PARENT);
    RECT area;
    int left = 0, top = 0, right = 0, bottom = 0;
    if (FromHandle(parent) && RectInClientOf(m_hWnd, parent, &area) &&
        GetActualFrameMargins(&left, &top, &right, &bottom)) {
      area.left += left;
      area.top += top;
      area.right -= right;
      area.bottom -= bottom;
      ::RedrawWindow(parent, &area, nullptr, kHollowParentRedraw);
    }
  }
}

LPARAM SWnd::BeginErase(HDC dc) {
  if (m_backColor == SImage::COLOR_HOLLOW) {
    PaintBackground(dc, dc);
    return reinterpret_cast<LPARAM>(dc);
  }
  if (++m_eraseDepth != 1) return 0;
  RECT client, area;
  if (!m_hWnd || !::GetClientRect(m_hWnd, &client) || !ErasedArea(client, dc, &area)) return 0;
  HDC memoryDC = ::CreateCompatibleDC(dc);
  if (!memoryDC) return 0;
  HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (!bitmap) {
    ::DeleteDC(memoryDC);
    return 0;
  }
  ::SelectObject(memoryDC, bitmap);
  // Only the area being repainted reaches the screen: the background and
  // the content are drawn there alone.
  ::IntersectClipRect(memoryDC, area.left, area.top, area.right, area.bottom);
  PaintBackground(dc, memoryDC);
  return reinterpret_cast<LPARAM>(memoryDC);
}

LRESULT SWnd::EndErase(HDC dc, LPARAM memoryDC) {
  if (m_backColor == SImage::COLOR_HOLLOW) return 1;
  if (m_eraseDepth > 0) --m_eraseDepth;
  HDC memory = reinterpret_cast<HDC>(memoryDC);
  if (m_eraseDepth != 0 || !memory) return 1;
  int saved = ::SaveDC(dc);
  HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
  if (clip) {
    if (::GetClipRgn(memory, clip) == 1) ::ExtSelectClipRgn(dc, clip, RGN_AND);
    ::DeleteObject(clip);
  }
  // The memory HDC's clip box is the area painted.
  RECT area;
  if (::GetClipBox(memory, &area) > NULLREGION) {
    ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory,
             area.left, area.top, SRCCOPY);
  }
  if (saved) ::RestoreDC(dc, saved);
  FreeMemoryDC(memory);
  return 1;
}

bool SWnd::Redraw(const RECT* rect, UINT flags) {
  if (!m_hWnd) return false;
  // The parent proper: an owner window does not count.
  HWND parent = ::GetAncestor(m_hWnd, GA_PARENT);
  if (parent && (::GetWindowLongA(parent, GWL_EXSTYLE) & WS_EX_LAYERED)) {
    SWnd* owner = FromHandle(parent);
    if (owner) owner->RedrawLayer();
    return true;
  }
  if (m_backColor != SImage::COLOR_HOLLOW) return ::RedrawWindow(m_hWnd, rect, nullptr, flags) != 0;
  // The hollow background asks the parent to paint underneath.
  m_hollowRedraw = true;
  bool done = ::RedrawWindow(m_hWnd, rect, nullptr, flags) != 0;
  m_hollowRedraw = false;
  return done;
}

// ---------------------------------------------------------------------------
// Layered windows

HDC SWnd::ComposeLayer() {
  if (!m_hWnd) return nullptr;
  int width = GetWidth(), height = GetHeight();
  HDC screen = ::GetDC(nullptr);
  HDC layer = CreateLayerDC(screen, width, height);
  ::ReleaseDC(nullptr, screen);
  if (!layer) return nullptr;
  DrawBackgroundImage(layer, width, height);

  // The children whose kind draws into a layer: their background, then their
  // content.
  SArray<SWnd*> children;
  GetChildren(&children, nullptr, false, -1);
  for (int i = 0; i < children.GetCount(); ++i) {
    SWnd* child = children[i];
    const SControlKind* kind = FindControlKind(child->m_kind);
    if (!kind || !kind->drawLayer) continue;
    RECT rect;
    if (!RectInClientOf(child->m_hWnd, m_hWnd, &rect)) continue;
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) continue;
    HDC part = CreateLayerDC(layer, w, h);
    if (!part) continue;
    child->DrawBackgroundImage(part, w, h);
    kind->drawLayer(child, part);
    ::AlphaBlend(layer, rect.left, rect.top, w, h, part, 0, 0, w, h, kLayerBlend);
    FreeMemoryDC(part);
  }
  return layer;
}

void SWnd::ApplyLayer(HDC layerDC) {
  if (!layerDC) return;
  RECT window;
  if (g_updateLayeredWindow && m_hWnd && ::GetWindowRect(m_hWnd, &window)) {
    POINT position = {window.left, window.top};
    SIZE size = {window.right - window.left, window.bottom - window.top};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = kLayerBlend;
    g_updateLayeredWindow(m_hWnd, nullptr, &position, &size, layerDC, &origin, 0, &blend,
                          ULW_ALPHA);
  }
  FreeMemoryDC(layerDC);
}

void SWnd::RedrawLayer() { ApplyLayer(ComposeLayer()); }
