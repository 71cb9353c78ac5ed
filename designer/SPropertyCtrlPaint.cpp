// SPropertyCtrl: painting of the group rows, the items and their buttons.
#include "core/Platform.h"
#include "designer/SPropertyCtrl.h"

#include "core/Utility.h"

namespace {

// The icons of a selected row's buttons by kind, button 0 (the rightmost)
// first; -1 ends a list.
const int kButtonIcons[8][3] = {
    {-1, -1, -1},                          // read-only
    {SPropertyCtrl::ICON_TOGGLE, -1, -1},  // yes/no
    {SPropertyCtrl::ICON_RESET, SPropertyCtrl::ICON_SYSTEMCOLOR, SPropertyCtrl::ICON_CHOOSER},
    {SPropertyCtrl::ICON_EDIT, -1, -1},                            // text
    {SPropertyCtrl::ICON_EDIT, -1, -1},                            // integer
    {SPropertyCtrl::ICON_EDIT, -1, -1},                            // decimal
    {SPropertyCtrl::ICON_RESET, SPropertyCtrl::ICON_CHOOSER, -1},  // font
    {SPropertyCtrl::ICON_DROPDOWN, -1, -1},                        // option
};

// Font style letters in bit order.
const char* const kStyleLetters[4] = {"B.", "I.", "U.", "S."};

uint32_t ColorrefToArgb(COLORREF color) {
  return 0xFF000000 | uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 |
         GetBValue(color);
}

}  // namespace

SString SPropertyCtrl::GetDisplayText(const _SItem* item) const {
  if (!item) return SString("");
  if (item->m_mixed) return SString(MIXED_TEXT);
  switch (item->m_kind) {
    case ITEM_BOOL:
      return m_boolTexts.Get(item->m_yes ? 1 : 0);
    case ITEM_COLOR: {
      uint32_t c = item->m_color;
      if (c < SYSTEM_COLOR) {
        SString text;
        text.Format("%u, %u, %u", unsigned(GetRValue(c)), unsigned(GetGValue(c)),
                    unsigned(GetBValue(c)));
        return text;
      }
      if (c >= NO_COLOR) return m_boolTexts.Get(2);
      for (int i = 0; i < m_names.m_colorValues.GetCount(); ++i) {
        if (m_names.m_colorValues[i] == int(c - SYSTEM_COLOR)) return m_names.m_colorNames.Get(i);
      }
      return SString("");
    }
    case ITEM_FONT: {
      if (item->m_fontName.GetLength() == 0) return m_boolTexts.Get(2);
      SString text = item->m_fontName + ", " + SString::FromInt(item->m_fontSize) + " ";
      for (int bit = 0; bit < 4; ++bit) {
        if (item->m_fontStyle & (1 << bit)) text += kStyleLetters[bit];
      }
      return text;
    }
    case ITEM_OPTION:
      return GetOptionText(item, FindOption(item, item->m_text.GetText()));
  }
  return item->m_text;
}

void SPropertyCtrl::Paint(HDC dc) {
  RECT client = {0, 0, 0, 0};
  if (!m_hWnd || !::GetClientRect(m_hWnd, &client)) return;
  int width = client.right, height = client.bottom;
  Gdiplus::Graphics graphics(dc);
  graphics.FillRectangle(m_backBrush, 0, 0, width, height);
  if (!m_font || !m_boldFont) return;

  int first = GetFirstVisibleRow();
  int firstGroup = GroupFromRow(first), firstItem = ItemFromRow(first);
  if (firstGroup < 0) return;
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap, LANG_NEUTRAL);
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);

  int y = 0;
  for (int g = firstGroup; g < m_groups.GetCount() && y < height; ++g) {
    const _SGroup* group = m_groups[g];
    int start = g == firstGroup ? firstItem : -1;
    if (start < 0) {
      FillGradientGdiplus(&graphics, 0, y, width, m_rowHeight, m_groupStartColor & 0xFFFFFF,
                          m_groupEndColor & 0xFFFFFF);
      DrawStringGdiplus(&graphics, 0, y, width, m_rowHeight, group->m_caption.GetText(), m_boldFont,
                        &format, m_groupTextBrush);
      Gdiplus::Rect icon(width - GROUP_ICON_SIZE, y, GROUP_ICON_SIZE, m_rowHeight);
      m_icons[group->m_expanded ? ICON_EXPANDED : ICON_COLLAPSED].DrawInRect(&graphics, &icon);
      y += m_rowHeight;
      if (!group->m_expanded) continue;
      start = 0;
    }
    int count = group->m_items.GetCount();
    for (int i = start; i < count && y < height; ++i) {
      bool selected = m_selectedRow >= 0 && m_selectedGroup == g && m_selectedItem == i;
      PaintItem(&graphics, format, group->m_items[i], y, width, i == count - 1, selected);
      y += m_rowHeight;
    }
  }
}

void SPropertyCtrl::PaintItem(Gdiplus::Graphics* graphics, const Gdiplus::StringFormat& format,
                              const _SItem* item, int y, int width, bool last, bool selected) {
  int h = m_rowHeight;
  graphics->FillRectangle(selected ? m_selectedBrush : m_captionBrush, 0, y, m_split, h);
  FillGradientGdiplus(graphics, m_split, y, width - m_split, h, m_valueStartColor & 0xFFFFFF,
                      m_valueEndColor & 0xFFFFFF);
  graphics->DrawRectangle(m_pen, 0, y, width, last ? h - 1 : h);
  graphics->DrawLine(m_pen, m_split, y, m_split, y + h);

  DrawStringGdiplus(graphics, 2, y + 2, m_split - 4, h - 4, item->m_caption.GetText(), m_font,
                    &format, selected ? m_selectedTextBrush : m_textBrush);

  int textLeft = m_split + 2;
  if (item->m_kind == ITEM_COLOR) {
    int side = h - 4;
    if (!item->m_mixed) {
      uint32_t c = item->m_color;
      if (c == NO_COLOR) {
        graphics->DrawRectangle(m_pen, textLeft, y + 2, side, side);
        graphics->DrawLine(m_pen, textLeft, y + 2, textLeft + side, y + 2 + side);
        graphics->DrawLine(m_pen, textLeft + side, y + 2, textLeft, y + 2 + side);
      } else {
        COLORREF rgb = c >= SYSTEM_COLOR && c < NO_COLOR ? ::GetSysColor(int(c - SYSTEM_COLOR))
                                                         : COLORREF(c & 0xFFFFFF);
        Gdiplus::SolidBrush swatch{Gdiplus::Color(ColorrefToArgb(rgb))};
        graphics->FillRectangle(&swatch, textLeft, y + 2, side, side);
      }
    }
    textLeft += side + 2;
  }
  DrawStringGdiplus(graphics, textLeft, y + 2, width - 2 - textLeft, h - 4,
                    GetDisplayText(item).GetText(), m_font, &format, m_textBrush);

  if (!selected || item->m_kind < 0 || item->m_kind > ITEM_OPTION) return;
  for (int n = 0; n < 3 && kButtonIcons[item->m_kind][n] >= 0; ++n) {
    Gdiplus::Rect button(width - BUTTON_WIDTH * (n + 1), y, BUTTON_WIDTH, h);
    m_icons[kButtonIcons[item->m_kind][n]].DrawInRect(graphics, &button);
  }
}
