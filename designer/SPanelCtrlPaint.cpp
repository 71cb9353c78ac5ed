// SPanelCtrl: painting of the titles, the buttons and the hover captions.
#include "core/Platform.h"
#include "designer/SPanelCtrl.h"

#include "core/Utility.h"

#include <vector>

namespace {

const UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER;
// A hover caption starts this far right of the title's left edge.
const int kHoverCaptionIndent = 12;

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = ::CreateSolidBrush(color);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

void Outline(HDC dc, const RECT& rect, HPEN pen) {
  HGDIOBJ previousPen = ::SelectObject(dc, pen);
  HGDIOBJ previousBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
  ::SelectObject(dc, previousBrush);
  ::SelectObject(dc, previousPen);
}

void DrawCaption(HDC dc, const char* text, RECT rect) {
  ::InflateRect(&rect, -1, 0);
  ::DrawTextA(dc, text, -1, &rect, kCaptionFormat);
}

}  // namespace

void SPanelCtrl::Paint(HDC dc) {
  if (m_groups.GetCount() == 0) return;
  HPEN pen = ::CreatePen(PS_SOLID, 1, m_highlightColor);
  int previousMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF previousText = ::SetTextColor(dc, m_highlightTextColor);
  HGDIOBJ previousFont = m_titleFont ? ::SelectObject(dc, m_titleFont) : nullptr;

  std::vector<bool> captionShown(size_t(m_groups.GetCount()), false);
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    bool shown = false;
    PaintGroup(dc, m_groups[g], pen, &shown);
    captionShown[size_t(g)] = shown;
  }
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    if (!captionShown[size_t(g)]) {
      DrawCaption(dc, m_groups[g]->m_caption.GetText(), m_groups[g]->m_title);
    }
  }

  if (previousFont) ::SelectObject(dc, previousFont);
  ::SetTextColor(dc, previousText);
  ::SetBkMode(dc, previousMode);
  ::DeleteObject(pen);
}

void SPanelCtrl::PaintGroup(HDC dc, _SGroup* group, HPEN pen, bool* captionShown) {
  const RECT& title = group->m_title;
  if (group->m_enabled) {
    int half = (title.right - title.left) / 2;
    FillSolid(dc, {title.left, title.top, title.left + half, title.bottom}, m_highlightColor);
    FillGradient(dc, {title.left + half, title.top, title.right, title.bottom}, m_highlightColor,
                 m_faceColor, false);
  } else {
    FillSolid(dc, title, m_shadowColor);
  }
  for (int i = 0; i < group->m_buttons.GetCount(); ++i) {
    _SButton* button = group->m_buttons[i];
    if (button->m_separator) {
      HGDIOBJ previous = ::SelectObject(dc, pen);
      int x = button->m_rect.left + (button->m_rect.right - button->m_rect.left) / 2;
      ::MoveToEx(dc, x, button->m_rect.top + 4, nullptr);
      ::LineTo(dc, x, button->m_rect.top + 20);
      ::SelectObject(dc, previous);
    } else {
      PaintButton(dc, group, button, pen, captionShown);
    }
  }
}

void SPanelCtrl::PaintButton(HDC dc, _SGroup* group, _SButton* button, HPEN pen,
                             bool* captionShown) {
  const RECT& r = button->m_rect;
  RECT inner = {r.left + IMAGE_INSET, r.top + IMAGE_INSET, r.right - IMAGE_INSET,
                r.bottom - IMAGE_INSET};
  bool hot = group->m_id == m_hotGroup && button->m_command == m_hotCommand;
  bool pressed = group->m_id == m_pressedGroup && button->m_command == m_pressedCommand;
  HIMAGELIST enabledImages =
      group->m_images && ::ImageList_GetImageCount(group->m_images) > 0 ? group->m_images : nullptr;
  HIMAGELIST disabledImages = enabledImages ? group->m_disabledImages.GetHandle() : nullptr;
  bool swatch = button->m_swatch != NO_SWATCH;
  // The swatch, else the image of the list at the offset.
  auto face = [&](HIMAGELIST images, int offset) {
    if (swatch) {
      FillSolid(dc, inner, button->m_swatch);
    } else if (images) {
      ::ImageList_Draw(images, button->m_image, dc, r.left + offset, r.top + offset, ILD_NORMAL);
    }
  };

  if (hot) {
    RECT caption = group->m_title;
    ::OffsetRect(&caption, kHoverCaptionIndent, 0);
    DrawCaption(dc, button->m_caption.GetText(), caption);
    *captionShown = true;
  }
  if (!button->m_enabled) {
    face(disabledImages, IMAGE_INSET);
  } else if (button->m_checked) {
    RECT frame = {r.left + 1, r.top + 1, r.right - 2, r.bottom - 2};
    FillSolid(dc, frame, m_windowColor);
    face(enabledImages, IMAGE_INSET);
    Outline(dc, frame, pen);
  } else if (hot) {
    FillSolid(dc, r, m_windowColor);
    face(enabledImages, pressed ? IMAGE_INSET : IMAGE_INSET - 1);
    Outline(dc, r, pen);
  } else {
    face(enabledImages, IMAGE_INSET);
  }
}
