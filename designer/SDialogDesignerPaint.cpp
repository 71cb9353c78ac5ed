// SDialogDesigner: painting of the design area, the controls, the selection
// and the rulers.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

#include "core/PlatformGdiplus.h"
#include "core/SFileMem.h"
#include "core/SResource.h"
#include "window/ControlFactory.h"
#include "window/ControlKinds.h"
#include "window/SExternCtrl.h"
#include "window/SMediaCtrl.h"

#include <stdint.h>

#include <memory>

namespace {

typedef SDialogDesigner::_SCtrl Record;

// WM_PRINT flags a live window draws itself with.
const LPARAM kPrintFlags = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN;
const int kDrawModes = 13;  // image draw modes 0 to 12
const int kGridDotMinimum = 5;

// Ruler scale: a value that is a multiple of the step gets a tick this high;
// the first matching row wins.
struct Tick {
  int multiple;
  int height;
  bool number;
};
const Tick kTicks[] = {{100, 20, true}, {10, 8, false}, {5, 4, false}};
const int kScaleStep = 5;
const int kNumberWidth = 100;

// Each of red, green and blue at full strength where the background's is
// dark, else off.
COLORREF ContrastColor(COLORREF c) {
  return RGB(GetRValue(c) < 128 ? 255 : 0, GetGValue(c) < 128 ? 255 : 0,
             GetBValue(c) < 128 ? 255 : 0);
}

int PositiveModulo(int value, int step) {
  int m = value % step;
  return m < 0 ? m + step : m;
}

void FillWith(HDC dc, const RECT& rect, HBRUSH brush) { ::FillRect(dc, &rect, brush); }

// A brush of a grid x grid cell in the background colour with one dot.
HBRUSH MakeDotBrush(int width, int height, COLORREF background, int dotX, int dotY) {
  BITMAPINFO info;
  memset(&info, 0, sizeof(info));
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return nullptr;
  auto pixel = [](COLORREF c) {
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
  };
  uint32_t* p = static_cast<uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) p[i] = pixel(background);
  p[dotY * width + dotX] = pixel(ContrastColor(background));
  HBRUSH brush = ::CreatePatternBrush(bitmap);
  ::DeleteObject(bitmap);
  return brush;
}

}  // namespace

void SDialogDesigner::PaintDesignArea(HDC dc) {
  UpdateLayout();
  SArray<_SCtrl*> hidden;
  CollectHiddenControls(&hidden);
  FillWith(dc, m_area, m_designBackBrush);
  if (m_dialog) PaintItem(dc, m_dialog);
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    if (hidden.Find(m_controls[i]) < 0) PaintItem(dc, m_controls[i]);
  }
  HBRUSH brush = m_hWnd && ::GetFocus() == m_hWnd ? m_selectionBrush : m_selectionGreyBrush;
  for (int i = 0; i < m_selection.GetCount(); ++i) {
    RECT rect = DesignToClient(RecordRect(m_selection[i]));
    RECT frame = rect;
    ::InflateRect(&frame, 1, 1);
    ::FrameRect(dc, &frame, brush);
    ::InflateRect(&frame, 1, 1);
    ::FrameRect(dc, &frame, brush);
    if (i != 0) continue;
    for (int grip = 0; grip < 8; ++grip) {
      RECT square = GetResizeGrip(rect, grip);
      ::FillRect(dc, &square, brush);
    }
  }
}

void SDialogDesigner::PaintItem(HDC dc, _SCtrl* record) {
  if (!record) return;
  RECT rect = DesignToClient(RecordRect(record));
  if (record->m_type == TYPE_DIALOG) {
    COLORREF back = record->m_backColor == COLOR_NONE ? ::GetSysColor(COLOR_BTNFACE)
                                                      : DecodeDialogColor(record->m_backColor);
    if (record->m_transparent) back = m_designBackColor;
    UpdateDesignImage(back);
    HBRUSH brush = nullptr;
    if (m_gridShown && m_gridX >= kGridDotMinimum && m_gridY >= kGridDotMinimum) {
      int hpos = m_hWnd ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0;
      int vpos = m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
      brush = MakeDotBrush(m_gridX, m_gridY, back, PositiveModulo(m_area.left - 1 - hpos, m_gridX),
                           PositiveModulo(m_area.top - 1 - vpos, m_gridY));
    }
    if (!brush) brush = ::CreateSolidBrush(back);
    POINT origin;
    ::SetBrushOrgEx(dc, 0, 0, &origin);
    FillWith(dc, rect, brush);
    ::SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    ::DeleteObject(brush);
    if (m_designImage.GetBitmap()) {
      Gdiplus::Graphics graphics(dc);
      Gdiplus::Rect dest(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
      m_designImage.DrawInRect(&graphics, &dest);
    }
    FillWith(dc, {rect.right, rect.top, rect.right + 1, rect.bottom}, m_rulerTextBrush);
    FillWith(dc, {rect.left, rect.bottom, rect.right, rect.bottom + 1}, m_rulerTextBrush);
    return;
  }

  SWnd* window = record->m_window;
  if (!window) return;
  int width = abs(record->m_width), height = abs(record->m_height);
  HDC memory = ::CreateCompatibleDC(dc);
  HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
  if (!memory || !bitmap) {
    if (bitmap) ::DeleteObject(bitmap);
    if (memory) ::DeleteDC(memory);
    return;
  }
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  // What lies below shows through transparent controls.
  ::BitBlt(memory, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
  if (m_dialog && GetPropertyBool(m_dialog, "DIALOG_LAYER")) {
    // Child windows of a layered dialog cannot print themselves.
    if (record->m_type == TYPE_MEDIA) {
      window->DrawBackgroundImage(memory, width, height);
      static_cast<SMediaCtrl*>(window)->Draw(memory);
    } else {
      RECT all = {0, 0, width, height};
      ::FillRect(memory, &all, m_hatchBrush);
      RECT inset = {1, 1, width - 1, height - 1};
      HGDIOBJ font =
          ::SelectObject(memory, reinterpret_cast<HGDIOBJ>(window->SendMessage(WM_GETFONT)));
      int mode = ::SetBkMode(memory, TRANSPARENT);
      SString text = GetCaptionText("?INVISIBLE");
      ::DrawTextA(memory, text.GetText(), -1, &inset, DT_WORDBREAK | DT_NOPREFIX);
      ::SetBkMode(memory, mode);
      ::SelectObject(memory, font);
    }
  } else {
    window->PrintTo(memory, kPrintFlags);
    if (record->m_type == TYPE_EXTERN && m_externDraw) {
      // The host reads the control's parameters from the block, which lives
      // for the call only.
      static const unsigned char kNoParams[1] = {0};
      std::unique_ptr<unsigned char[]> params;
      if (window->m_kind == ControlKinds::KIND_EXTERN) {
        params.reset(static_cast<SExternCtrl*>(window)->BuildParams());
      }
      const unsigned char* block = params ? params.get() : kNoParams;
      m_externDraw(memory, record, m_externDrawData, reinterpret_cast<const char*>(block));
    }
  }
  ::BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
}

void SDialogDesigner::UpdateDesignImage(COLORREF background) {
  SString name = GetProperty(m_dialog, "DIALOG_IMAGE");
  if (m_archive && !(name == m_designImage.GetName())) {
    if (name.GetLength() == 0) {
      m_designImage.FreeBitmap();
      m_designImage.SetName("");
    } else {
      SFileMem file;
      if (!m_archive->Load(&file, name.GetText(), true)) {
        m_designImage.FreeBitmap();
        m_designImage.SetName("");
      } else {
        file.Rewind();
        m_designImage.SetName(m_designImage.Load(&file) ? name.GetText() : "");
      }
    }
  }
  int mode = GetPropertyDrawMode(m_dialog, "DIALOG_IMAGEDRAWMODE");
  m_designImage.m_drawMode = mode >= 0 && mode < kDrawModes ? mode : 0;
  m_designImage.m_backColor = background;
}

void SDialogDesigner::PaintRulers(HDC dc) {
  HGDIOBJ font = ::SelectObject(dc, m_rulerFont);
  int mode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF textColor = ::SetTextColor(dc, m_rulerTextColor);
  int hpos = m_hWnd ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0;
  int vpos = m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;

  FillWith(dc, {m_leftRuler.left, m_topRuler.top, m_leftRuler.right, m_topRuler.bottom},
           m_rulerBackBrush);
  FillWith(dc, m_topRuler, m_rulerBackBrush);
  for (int x = m_topRuler.left, v = hpos; x < m_topRuler.right; x += kScaleStep, v += kScaleStep) {
    for (const Tick& tick : kTicks) {
      if (v % tick.multiple != 0) continue;
      FillWith(dc, {x, m_topRuler.bottom - tick.height, x + 1, m_topRuler.bottom},
               m_rulerTextBrush);
      if (tick.number) {
        RECT box = {x + 2, m_topRuler.top, x + 1 + kNumberWidth, m_topRuler.bottom};
        ::DrawTextA(dc, SString::FromInt(v).GetText(), -1, &box, 0);
      }
      break;
    }
  }
  FillWith(dc, {m_topRuler.left, m_topRuler.bottom - 1, m_topRuler.right, m_topRuler.bottom},
           m_rulerTextBrush);

  FillWith(dc, m_leftRuler, m_rulerBackBrush);
  for (int y = m_leftRuler.top, v = vpos; y < m_leftRuler.bottom;
       y += kScaleStep, v += kScaleStep) {
    for (const Tick& tick : kTicks) {
      if (v % tick.multiple != 0) continue;
      FillWith(dc, {m_leftRuler.right - tick.height, y, m_leftRuler.right, y + 1},
               m_rulerTextBrush);
      if (tick.number) {
        RECT box = {m_leftRuler.left, y + 1, m_leftRuler.right, y + 1 + kNumberWidth};
        ::DrawTextA(dc, SString::FromInt(v).GetText(), -1, &box, 0);
      }
      break;
    }
  }
  FillWith(dc, {m_leftRuler.right - 1, m_leftRuler.top, m_leftRuler.right, m_leftRuler.bottom},
           m_rulerTextBrush);

  ::SetTextColor(dc, textColor);
  ::SetBkMode(dc, mode);
  ::SelectObject(dc, font);
  m_pointerX = -1;
  m_pointerY = -1;
}

void SDialogDesigner::DrawRulerPointer(HDC dc, const POINT* point, HPEN pen) {
  if (!dc) return;
  POINT at;
  if (point) {
    at = *point;
  } else {
    if (!s_cursorPos || !s_cursorPos(&at)) return;
    ::ScreenToClient(m_hWnd, &at);
  }
  int rop = ::SetROP2(dc, R2_NOTXORPEN);
  HGDIOBJ previous = pen ? ::SelectObject(dc, pen) : nullptr;
  // Drawn a second time, a line disappears.
  auto drawLines = [&]() {
    if (m_pointerX != -1) {
      ::MoveToEx(dc, m_pointerX, m_topRuler.top, nullptr);
      ::LineTo(dc, m_pointerX, m_topRuler.bottom);
    }
    if (m_pointerY != -1) {
      ::MoveToEx(dc, m_leftRuler.left, m_pointerY, nullptr);
      ::LineTo(dc, m_leftRuler.right, m_pointerY);
    }
  };
  drawLines();
  m_pointerX = at.x >= m_area.left && at.x < m_area.right ? at.x : -1;
  m_pointerY = at.y >= m_area.top && at.y < m_area.bottom ? at.y : -1;
  drawLines();
  if (pen) ::SelectObject(dc, previous);
  ::SetROP2(dc, rop);
}
