// SMediaCtrl: the wide text, the tag parse, line building, measuring and
// placement, and the plain-mode layout.
#include "core/Platform.h"
#include "window/SMediaCtrl.h"

#include "core/PlatformGdiplus.h"
#include "core/Utility.h"

#include <cmath>

using Gdiplus::Font;
using Gdiplus::Graphics;
using Gdiplus::RectF;
using Gdiplus::StringFormat;

namespace {

// The layout extent that stands for "unbounded".
const float kUnbounded = 2147483648.0f;
// Measured sizes are kept well inside the int range.
const float kSizeLimit = 1.0e8f;

struct TagName {
  const char* name;
  int kind;
};

// Recognised tag names (compared without regard to case); colour tags are
// recognised by their leading '#'.
const TagName kTagNames[] = {
    {"B", SMediaCtrl::TAG_BOLD},       {"I", SMediaCtrl::TAG_ITALIC},
    {"U", SMediaCtrl::TAG_UNDERLINE},  {"LINK", SMediaCtrl::TAG_LINK},
    {"IMG", SMediaCtrl::TAG_IMAGE},    {"LEFT", SMediaCtrl::TAG_LEFT},
    {"L", SMediaCtrl::TAG_LEFT},       {"CENTER", SMediaCtrl::TAG_CENTER},
    {"C", SMediaCtrl::TAG_CENTER},     {"RIGHT", SMediaCtrl::TAG_RIGHT},
    {"R", SMediaCtrl::TAG_RIGHT},
};

// The tag kind of a candidate "<...>" of n characters; -1 when it is no tag.
int RecognizeTag(const char* tag, int n, bool* opening) {
  *opening = !(n > 1 && tag[1] == '/');
  const char* name = tag + (*opening ? 1 : 2);
  int length = n - (*opening ? 2 : 3);
  if (length >= 1 && name[0] == '#') return SMediaCtrl::TAG_COLOR;
  if (length <= 0) return -1;
  for (const TagName& row : kTagNames) {
    if (static_cast<int>(strlen(row.name)) == length && _strnicmp(row.name, name, length) == 0) {
      return row.kind;
    }
  }
  return -1;
}

// The hex pair at index i of the tag; a missing or bad digit gives 0.
uint32_t HexPair(const char* tag, int n, int i) {
  char pair[4] = {'#', 0, 0, 0};
  if (i < n) pair[1] = tag[i];
  if (i + 1 < n) pair[2] = tag[i + 1];
  return static_cast<uint32_t>(SString(pair).ParseHex());
}

// "<#rrggbbaa>" (eleven characters) or "<#rrggbb...>"; alpha 0xFF is stored
// as the opaque 0xFE, a missing alpha is 0xFE.
uint32_t ParseColorTag(const char* tag, int n) {
  uint32_t r = HexPair(tag, n, 2), g = HexPair(tag, n, 4), b = HexPair(tag, n, 6);
  uint32_t a = 0xFE;
  if (n == 11) {
    a = HexPair(tag, n, 8);
    if (a == 0xFF) a = 0xFE;
  }
  return (a << 24) | (r << 16) | (g << 8) | b;
}

float ClampSize(float value) {
  if (!(value > 0.0f)) return 0.0f;  // also NaN
  return value < kSizeLimit ? value : kSizeLimit;
}

int TruncateSize(float value) {
  return static_cast<int>(ClampSize(value));
}

// Bytes of the character that starts at i.
int CharacterLength(UINT codePage, const char* text, int i, int n) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) return 1;
  if (codePage == CP_UTF8) {
    int need = c >= 0xF0 && c <= 0xF4   ? 4
               : c >= 0xE0 && c <= 0xEF ? 3
               : c >= 0xC2 && c <= 0xDF ? 2
                                        : 1;
    if (i + need > n) return 1;
    for (int k = 1; k < need; ++k) {
      unsigned char t = static_cast<unsigned char>(text[i + k]);
      if (t < 0x80 || t > 0xBF) return 1;
    }
    return need;
  }
  if (::IsDBCSLeadByteEx(codePage, c) && i + 1 < n) return 2;
  return 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Wide text

wchar_t* SMediaCtrl::ConvertText(const char* text, int n, UINT codePage, int* wideLength,
                                 SArray<int>* byteToWide) {
  if (byteToWide) byteToWide->RemoveAll();
  if (!text || n < 0) n = 0;
  // A byte never gives more than two UTF-16 units.
  wchar_t* wide = new wchar_t[2 * n + 1];
  int count = 0;
  if (codePage == CP_ACP) codePage = ::GetACP();
  CPINFO info;
  bool singleByte = ::GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
  if (n > 0 && singleByte) {
    count = ::MultiByteToWideChar(codePage, 0, text, n, wide, 2 * n);
    if (count < 0) count = 0;
  }
  if (n > 0 && (!singleByte || count != n)) {
    // Character by character, so that every byte knows its wide index.
    if (byteToWide) byteToWide->SetSize(n + 1, false);
    count = 0;
    for (int i = 0; i < n;) {
      int length = CharacterLength(codePage, text, i, n);
      wchar_t units[4];
      int got = ::MultiByteToWideChar(codePage, 0, text + i, length, units, 4);
      if (got <= 0) {
        units[0] = 0xFFFD;
        got = 1;
      }
      for (int k = 0; k < length; ++k) {
        if (byteToWide) (*byteToWide)[i + k] = count;
      }
      for (int k = 0; k < got && count < 2 * n; ++k) wide[count++] = units[k];
      i += length;
    }
    if (byteToWide) (*byteToWide)[n] = count;
  }
  wide[count] = 0;
  if (wideLength) *wideLength = count;
  return wide;
}

void SMediaCtrl::GetWideRange(int start, int length, int* wideStart, int* wideLength) const {
  int n = m_text.GetLength();
  int end = start + (length > 0 ? length : 0);
  start = start < 0 ? 0 : (start > n ? n : start);
  end = end < start ? start : (end > n ? n : end);
  int ws = start, we = end;
  if (m_wideIndex.GetCount() == n + 1) {
    ws = m_wideIndex[start];
    we = m_wideIndex[end];
  }
  ws = ws > m_wideLength ? m_wideLength : ws;
  we = we > m_wideLength ? m_wideLength : we;
  *wideStart = ws;
  *wideLength = we > ws ? we - ws : 0;
}

// ---------------------------------------------------------------------------
// Shared helpers

SMediaCtrl::_SFontCache::~_SFontCache() {
  for (int i = 0; i < m_entries.GetCount(); ++i) delete m_entries[i].font;
}

Font* SMediaCtrl::_SFontCache::Get(const LOGFONTA& font) {
  for (int i = 0; i < m_entries.GetCount(); ++i) {
    if (memcmp(&m_entries[i].key, &font, sizeof(font)) == 0) return m_entries[i].font;
  }
  _SEntry entry;
  entry.key = font;
  entry.font = new Font(m_dc, &font);
  m_entries.Add(entry);
  return entry.font;
}

void SMediaCtrl::ClearLines() {
  m_lines.DeleteAndRemoveAll();
}

void SMediaCtrl::GetTextArea(int* width, int* height) {
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  int w = client.right - m_leftMargin - m_rightMargin;
  int h = client.bottom - m_topMargin - m_bottomMargin;
  *width = w > 0 ? w : 0;
  *height = h > 0 ? h : 0;
}

// ---------------------------------------------------------------------------
// Tag mode

void SMediaCtrl::ParseText() {
  if (!m_hWnd) return;
  ClearImages();
  ClearLines();
  SArray<_STag*> tags;
  ScanTags(&tags);

  HDC dc = ::GetDC(m_hWnd);
  if (dc) {
    {
      Graphics graphics(dc);
      HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
      Font font(dc, hFont);
      LOGFONTA logFont;
      memset(&logFont, 0, sizeof(logFont));
      if (font.GetLogFontA(&graphics, &logFont) != Gdiplus::Ok && hFont) {
        ::GetObjectA(hFont, sizeof(logFont), &logFont);
      }
      float height = font.GetHeight(&graphics);
      BuildLines(tags, logFont, TruncateSize(height));
      _SFontCache fonts(dc);
      MeasureLines(dc, &fonts);
      PlaceRuns();
    }
    ::ReleaseDC(m_hWnd, dc);
  }
  tags.DeleteAndRemoveAll();
}

void SMediaCtrl::ScanTags(SArray<_STag*>* tags) {
  _STag* current = new _STag(TAG_START, true);
  current->m_starts.Add(0);
  tags->Add(current);

  int length = m_text.GetLength();
  int lineStart = 0;
  while (lineStart < length) {
    int next = length;
    SString line = m_text.GetLine(lineStart, &next);
    const char* chars = line.GetText() ? line.GetText() : "";
    int n = line.GetLength();
    int scan = 0;
    for (;;) {
      int open = line.FindChar('<', scan);
      int close = line.FindChar('>', scan);
      // A '>' before the next '<' ends tag recognition on this line.
      if (open < 0 || close < 0 || close < open) break;
      scan = close + 1;
      bool opening = true;
      int kind = RecognizeTag(chars + open, close - open + 1, &opening);
      if (kind < 0) continue;
      current->m_ends.Add(lineStart + open);
      _STag* tag = new _STag(kind, opening);
      if (kind == TAG_COLOR && opening)
        tag->m_color = ParseColorTag(chars + open, close - open + 1);
      tag->m_starts.Add(lineStart + close + 1);
      tags->Add(tag);
      current = tag;
    }
    current->m_ends.Add(n == 0 ? -1 : lineStart + n);
    if (next < length) current->m_starts.Add(next);
    lineStart = next > lineStart ? next : length;
  }
  if (current->m_starts.GetCount() == current->m_ends.GetCount() + 1) {
    current->m_ends.Add(length);
  }
}

void SMediaCtrl::BuildLines(const SArray<_STag*>& tags, const LOGFONTA& font, int fontHeight) {
  m_lines.Add(new _SLine(fontHeight, -1));
  int bold = 0, italic = 0, underline = 0, left = 0, center = 0, right = 0;
  bool link = false, image = false;
  SArray<uint32_t> colors;
  colors.Add(m_textColor);

  for (int t = 0; t < tags.GetCount(); ++t) {
    const _STag* tag = tags[t];
    int step = tag->m_opening ? 1 : -1;
    int* counter = nullptr;
    switch (tag->m_kind) {
      case TAG_BOLD: counter = &bold; break;
      case TAG_ITALIC: counter = &italic; break;
      case TAG_UNDERLINE: counter = &underline; break;
      case TAG_LEFT: counter = &left; break;
      case TAG_CENTER: counter = &center; break;
      case TAG_RIGHT: counter = &right; break;
      case TAG_LINK: link = tag->m_opening; break;
      case TAG_IMAGE: image = tag->m_opening; break;
      case TAG_COLOR:
        if (tag->m_opening) {
          colors.Add(tag->m_color);
        } else if (colors.GetCount() > 1) {
          colors.RemoveLast();
        }
        break;
    }
    if (counter) {
      *counter += step;
      if (*counter < 0) *counter = 0;
    }

    // The strongest alignment met on a line wins; a closing tag cannot lower
    // what the line already has.
    int alignment = right > 0 ? 2 : center > 0 ? 1 : left > 0 ? 0 : -1;
    _SLine* last = m_lines.GetLast();
    if (last->m_alignment < alignment) last->m_alignment = alignment;

    int segments = tag->m_starts.GetCount() < tag->m_ends.GetCount() ? tag->m_starts.GetCount()
                                                                     : tag->m_ends.GetCount();
    for (int s = 0; s < segments; ++s) {
      int start = tag->m_starts[s], end = tag->m_ends[s];
      if (end == -1) {
        m_lines.Add(new _SLine(fontHeight, alignment));
        continue;
      }
      if (end > start) {
        _SText* run = new _SText;
        memset(run, 0, sizeof(*run));
        run->m_start = start;
        run->m_length = end - start;
        run->m_font = font;
        run->m_font.lfWeight = bold > 0 ? FW_BOLD : FW_NORMAL;
        run->m_font.lfItalic = italic > 0;
        run->m_font.lfUnderline = underline > 0 || link;
        run->m_color = link ? m_linkColor : colors.GetLast();
        run->m_link = link;
        run->m_image = image ? GetImage(m_text.Mid(start, end - start).GetText()) : nullptr;
        m_lines.GetLast()->m_runs.Add(run);
      }
      if (s != segments - 1) m_lines.Add(new _SLine(fontHeight, alignment));
    }
  }
}

void SMediaCtrl::MeasureLines(HDC dc, _SFontCache* fonts) {
  int areaWidth, areaHeight;
  GetTextArea(&areaWidth, &areaHeight);
  Graphics graphics(dc);
  m_contentWidth = 0;
  m_contentHeight = 0;
  for (int l = 0; l < m_lines.GetCount(); ++l) {
    _SLine* line = m_lines[l];
    int alignment = line->m_alignment != -1 ? line->m_alignment : (m_alignment & 0x0F);
    // Justify measures and draws far-aligned.
    int stringAlignment = (alignment & 2) ? 2 : (alignment & 1) ? 1 : 0;
    for (int r = 0; r < line->m_runs.GetCount(); ++r) {
      _SText* run = line->m_runs[r];
      run->m_alignment = stringAlignment;
      if (run->m_image) {
        run->m_x = 0.0f;
        run->m_y = 0.0f;
        run->m_width = static_cast<float>(run->m_image->GetWidth());
        run->m_height = static_cast<float>(run->m_image->GetHeight());
        line->m_width += run->m_image->GetWidth();
        if (run->m_image->GetHeight() > line->m_height) line->m_height = run->m_image->GetHeight();
        continue;
      }
      Font* font = fonts->Get(run->m_font);
      StringFormat format(StringFormat::GenericTypographic());
      SetStringFormatAlignment(&format, alignment, m_wrapping);
      format.SetLineAlignment(Gdiplus::StringAlignmentNear);
      format.SetAlignment(static_cast<Gdiplus::StringAlignment>(stringAlignment));
      RectF layout(0.0f, 0.0f, m_wrapping ? static_cast<float>(areaWidth) : kUnbounded,
                   kUnbounded);
      RectF box(0.0f, 0.0f, 0.0f, 0.0f);
      int wideStart, wideLength;
      GetWideRange(run->m_start, run->m_length, &wideStart, &wideLength);
      if (wideLength > 0 && m_wideText) {
        graphics.MeasureString(m_wideText + wideStart, wideLength, font, layout, &format, &box);
      }
      run->m_x = box.X;
      run->m_y = box.Y;
      run->m_width = ClampSize(box.Width);
      run->m_height = ClampSize(box.Height);
      line->m_width += TruncateSize(box.Width);
      int height = TruncateSize(box.Height);
      if (height > line->m_height) line->m_height = height;
    }
    if (line->m_width > m_contentWidth) m_contentWidth = line->m_width;
    m_contentHeight += line->m_height;
  }
}

void SMediaCtrl::PlaceRuns() {
  int areaWidth, areaHeight;
  GetTextArea(&areaWidth, &areaHeight);
  for (int l = 0; l < m_lines.GetCount(); ++l) {
    _SLine* line = m_lines[l];
    int n = line->m_runs.GetCount();
    if (n == 0) continue;
    int alignment = (line->m_alignment != -1 ? line->m_alignment : m_alignment) & 0x0F;
    SArray<_SText*>& runs = line->m_runs;
    if (alignment == ALIGN_CENTER) {
      runs[0]->m_x = static_cast<float>(
          static_cast<int>(areaWidth / 2.0 - line->m_width / 2.0));
      for (int i = 1; i < n; ++i) runs[i]->m_x = runs[i - 1]->m_x + runs[i - 1]->m_width;
    } else if (alignment == ALIGN_RIGHT) {
      runs[n - 1]->m_x = areaWidth - runs[n - 1]->m_width;
      for (int i = n - 2; i >= 0; --i) runs[i]->m_x = runs[i + 1]->m_x - runs[i]->m_width;
    } else {
      runs[0]->m_x = 0.0f;
      for (int i = 1; i < n; ++i) runs[i]->m_x = runs[i - 1]->m_x + runs[i - 1]->m_width;
    }
  }
}

// ---------------------------------------------------------------------------
// Plain mode

void SMediaCtrl::LayoutPlainText() {
  if (!m_hWnd) return;
  ClearLines();
  ClearLinks();
  int areaWidth, areaHeight;
  GetTextArea(&areaWidth, &areaHeight);
  HDC dc = ::GetDC(m_hWnd);
  if (!dc) return;
  {
    Graphics graphics(dc);
    Font font(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
    StringFormat format(StringFormat::GenericTypographic());
    SetStringFormatAlignment(&format, m_alignment, m_wrapping);
    RectF layout(0.0f, 0.0f, m_wrapping ? static_cast<float>(areaWidth) : kUnbounded, kUnbounded);
    RectF box(0.0f, 0.0f, 0.0f, 0.0f);
    if (m_wideText && m_wideLength > 0) {
      graphics.MeasureString(m_wideText, m_wideLength, &font, layout, &format, &box);
    }
    m_contentWidth = TruncateSize(box.Width) + 1;
    m_contentHeight = TruncateSize(box.Height) + 1;
  }
  ::ReleaseDC(m_hWnd, dc);
}
