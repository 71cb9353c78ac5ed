// SMediaCtrl: painting of the button frame, the plain text and the laid-out
// runs.
#include "core/Platform.h"
#include "window/SMediaCtrl.h"

#include "core/PlatformGdiplus.h"
#include "core/Utility.h"

using Gdiplus::Color;
using Gdiplus::Font;
using Gdiplus::Graphics;
using Gdiplus::Pen;
using Gdiplus::Rect;
using Gdiplus::RectF;
using Gdiplus::SolidBrush;
using Gdiplus::StringFormat;

namespace {

const float kUnbounded = 2147483648.0f;
const uint32_t kFrameLight = 0xFEFFFFFF;
const uint32_t kFrameShadow = 0xFEA0A0A0;

}  // namespace

void SMediaCtrl::Draw(HDC dc) {
  if (!dc) return;
  DrawButtonFrame(dc);
  if (m_tags) {
    DrawTagged(dc);
  } else {
    DrawPlain(dc);
  }
}

void SMediaCtrl::DrawButtonFrame(HDC dc) {
  if (!m_stateImagesOn || m_stateImages || !m_hWnd) return;
  bool raised;
  if (!::IsWindowEnabled(m_hWnd)) {
    return;
  } else if (m_checked || m_pressed) {
    raised = false;
  } else if (m_hover) {
    raised = true;
  } else {
    return;
  }
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int w = client.right, h = client.bottom;
  Graphics graphics(dc);
  Pen light(Color(kFrameLight), 1.0f), shadow(Color(kFrameShadow), 1.0f);
  Pen* topLeft = raised ? &light : &shadow;
  Pen* bottomRight = raised ? &shadow : &light;
  graphics.DrawLine(topLeft, 0, 0, w - 1, 0);
  graphics.DrawLine(topLeft, 0, 0, 0, h - 1);
  graphics.DrawLine(bottomRight, w - 1, 0, w - 1, h);
  graphics.DrawLine(bottomRight, 0, h - 1, w, h - 1);
}

void SMediaCtrl::DrawPlain(HDC dc) {
  int areaWidth, areaHeight;
  GetTextArea(&areaWidth, &areaHeight);
  Graphics graphics(dc);
  RectF layout(static_cast<float>(m_leftMargin + m_scrollX),
               static_cast<float>(m_topMargin + m_scrollY), static_cast<float>(areaWidth),
               static_cast<float>(areaHeight));
  // A text moved left or up keeps reaching the far edge of the area.
  if (m_scrollX < 0) layout.Width -= m_scrollX;
  if (m_scrollY < 0) layout.Height -= m_scrollY;

  HFONT hFont = reinterpret_cast<HFONT>(m_hWnd ? SendMessage(WM_GETFONT, 0, 0) : 0);
  Font font(dc, hFont);
  SolidBrush brush{Color(m_textColor)};
  StringFormat format(StringFormat::GenericTypographic());
  SetStringFormatAlignment(&format, m_alignment, m_wrapping);
  bool trimming = m_trimming;
  if (m_scrollX != 0 || (m_scrolling && m_speedX != 0.0)) {
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    trimming = false;
  }
  if (m_scrollY != 0 || (m_scrolling && m_speedY != 0.0)) {
    format.SetLineAlignment(Gdiplus::StringAlignmentNear);
    layout.Height = kUnbounded;
  }
  if (trimming) format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  graphics.SetClip(Rect(m_leftMargin, m_topMargin, areaWidth, areaHeight));
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
  if (m_wideText && m_wideLength > 0) {
    graphics.DrawString(m_wideText, m_wideLength, &font, layout, &format, &brush);
  }
}

void SMediaCtrl::DrawTagged(HDC dc) {
  ClearLinks();
  int areaWidth, areaHeight;
  GetTextArea(&areaWidth, &areaHeight);
  Graphics graphics(dc);
  graphics.SetClip(Rect(m_leftMargin, m_topMargin, areaWidth, areaHeight));
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);

  int originX = m_leftMargin + m_scrollX;
  int top = m_topMargin + m_scrollY;
  if (m_scrollY == 0 && !(m_scrolling && m_speedY != 0.0)) {
    if ((m_alignment & 0xF0) == ALIGN_MIDDLE) {
      top = static_cast<int>(((m_topMargin + areaHeight) + m_topMargin) / 2.0 -
                             m_contentHeight / 2);
    } else if ((m_alignment & 0xF0) == ALIGN_BOTTOM) {
      top = m_topMargin + areaHeight - m_contentHeight;
    }
  }

  _SFontCache fonts(dc);
  int bottomEdge = m_topMargin + areaHeight;
  for (int l = 0; l < m_lines.GetCount() && top < bottomEdge; ++l) {
    const _SLine* line = m_lines[l];
    if (top + line->m_height >= 0) {
      for (int r = 0; r < line->m_runs.GetCount(); ++r) {
        const _SText* run = line->m_runs[r];
        RectF rect(originX + run->m_x, top + run->m_y, run->m_width, run->m_height + 1.0f);
        if (run->m_image) {
          run->m_image->DrawAt(&graphics, static_cast<int>(rect.X), static_cast<int>(rect.Y));
          continue;
        }
        int wideStart, wideLength;
        GetWideRange(run->m_start, run->m_length, &wideStart, &wideLength);
        if (m_wideText && wideLength > 0) {
          Font* font = fonts.Get(run->m_font);
          SolidBrush brush{Color(run->m_color)};
          StringFormat format(StringFormat::GenericTypographic());
          SetStringFormatAlignment(&format, run->m_alignment, m_wrapping);
          graphics.DrawString(m_wideText + wideStart, wideLength, font, rect, &format, &brush);
        }
        if (run->m_link) {
          m_linkTexts.Add(m_text.Mid(run->m_start, run->m_length).GetText());
          RECT* area = new RECT;
          area->left = static_cast<LONG>(rect.X);
          area->top = static_cast<LONG>(rect.Y);
          area->right = static_cast<LONG>(rect.X + rect.Width);
          area->bottom = static_cast<LONG>(rect.Y + rect.Height);
          m_linkRects.Add(area);
        }
      }
    }
    top += line->m_height;
  }
}
