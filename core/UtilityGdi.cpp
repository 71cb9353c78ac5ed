#include "core/PlatformGdiplus.h"
#include "core/Utility.h"

#include "core/SStringArray.h"
#include "core/SUniString.h"

#include <comcat.h>

namespace {

// The component-categories manager and the control category.
const CLSID kStdComponentCategoriesMgr = {
    0x0002E005, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kCatInformation = {
    0x0002E013, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const CATID kCatidControl = {
    0x40FC6ED4, 0x2438, 0x11CF, {0xA3, 0xDB, 0x08, 0x00, 0x36, 0xF1, 0x25, 0x02}};

// A 16-bit colour component of a gradient vertex.
COLOR16 GradientComponent(unsigned int c) { return (COLOR16)((c + 1) * 255); }

bool GradientRect(HDC dc, int left, int top, COLORREF color1, int right, int bottom,
                  COLORREF color2, ULONG mode) {
  TRIVERTEX vertices[2] = {};
  vertices[0].x = left;
  vertices[0].y = top;
  vertices[0].Red = GradientComponent(GetRValue(color1));
  vertices[0].Green = GradientComponent(GetGValue(color1));
  vertices[0].Blue = GradientComponent(GetBValue(color1));
  vertices[1].x = right;
  vertices[1].y = bottom;
  vertices[1].Red = GradientComponent(GetRValue(color2));
  vertices[1].Green = GradientComponent(GetGValue(color2));
  vertices[1].Blue = GradientComponent(GetBValue(color2));
  GRADIENT_RECT rect = {0, 1};
  return ::GradientFill(dc, vertices, 2, &rect, 1, mode) != FALSE;
}

}  // namespace

// --- ActiveX controls ------------------------------------------------------

void ListOleControls(SStringArray* clsidTexts, SArray<GUID>* clsids, SStringArray* names) {
  if (clsidTexts) clsidTexts->DeleteAndRemoveAll();
  if (clsids) clsids->RemoveAll();
  if (names) names->DeleteAndRemoveAll();

  ICatInformation* categories = nullptr;
  if (FAILED(CoCreateInstance(kStdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                              kCatInformation, (void**)&categories)) ||
      !categories) {
    return;
  }
  CATID implemented[1] = {kCatidControl};
  IEnumCLSID* classes = nullptr;
  if (FAILED(categories->EnumClassesOfCategories(1, implemented, (ULONG)-1, nullptr, &classes)) ||
      !classes) {
    categories->Release();
    return;
  }
  CLSID clsid;
  ULONG fetched = 0;
  while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1) {
    LPOLESTR text = nullptr;
    if (FAILED(StringFromIID(clsid, &text)) || !text) continue;
    if (clsidTexts) clsidTexts->Add(SString(text).GetText());
    CoTaskMemFree(text);
    if (clsids) clsids->Add(clsid);
    if (names) {
      LPOLESTR name = nullptr;
      if (SUCCEEDED(OleRegGetUserType(clsid, USERCLASSTYPE_FULL, &name)) && name) {
        names->Add(SString(name).GetText());
        CoTaskMemFree(name);
      } else {
        names->Add("");
      }
    }
  }
  classes->Release();
  categories->Release();

  // Insertion sort of the three lists together on the name; equal names keep
  // their order.
  if (!names || names->GetCount() < 2) return;
  for (int i = 1; i < names->GetCount(); ++i) {
    for (int j = i; j > 0 && _stricmp((*names)[j - 1]->GetText(), (*names)[j]->GetText()) > 0;
         --j) {
      names->Swap(j - 1, j);
      if (clsidTexts) clsidTexts->Swap(j - 1, j);
      if (clsids) clsids->Swap(j - 1, j);
    }
  }
}

// --- GDI fonts and text ----------------------------------------------------

int PointsToFontHeight(double points, HDC dc) {
  HDC screen = dc ? nullptr : ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(dc ? dc : screen, LOGPIXELSY);
  if (screen) ::ReleaseDC(nullptr, screen);
  return (int)RoundToNearest(-(dpi * points / 72.0));
}

void FillLogFont(LOGFONTA* font, const char* face, double points, int style) {
  if (!font) return;
  memset(font, 0, sizeof(*font));
  if (face) strncpy(font->lfFaceName, face, LF_FACESIZE - 1);
  font->lfHeight = PointsToFontHeight(points, nullptr);
  font->lfWeight = (style & FONT_BOLD) ? 700 : 0;
  font->lfItalic = (style & FONT_ITALIC) ? 1 : 0;
  font->lfUnderline = (style & FONT_UNDERLINE) ? 1 : 0;
  font->lfStrikeOut = (style & FONT_STRIKEOUT) ? 1 : 0;
}

int FontStyleFromLogFont(const LOGFONTA& font) {
  int style = 0;
  if (font.lfWeight == 700) style |= FONT_BOLD;
  if (font.lfItalic) style |= FONT_ITALIC;
  if (font.lfUnderline) style |= FONT_UNDERLINE;
  if (font.lfStrikeOut) style |= FONT_STRIKEOUT;
  return style;
}

HFONT CreateFontByStyle(const char* face, double points, int style, HDC dc) {
  return ::CreateFontA(PointsToFontHeight(points, dc), 0, 0, 0, (style & FONT_BOLD) ? 700 : 0,
                       (style & FONT_ITALIC) ? 1 : 0, (style & FONT_UNDERLINE) ? 1 : 0,
                       (style & FONT_STRIKEOUT) ? 1 : 0, 0, 0, 0, 0, 0, face);
}

SIZE MeasureText(HFONT font, const char* text) {
  SIZE size = {0, 0};
  HDC dc = ::CreateCompatibleDC(nullptr);
  if (!dc) return size;
  HGDIOBJ previous = ::SelectObject(dc, font);
  RECT rect = {0, 0, 0, 0};
  ::DrawTextA(dc, text ? text : "", -1, &rect, DT_CALCRECT | DT_NOPREFIX);
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  size.cx = rect.right;
  size.cy = rect.bottom;
  return size;
}

// --- GDI+ drawing ----------------------------------------------------------

void DrawStringGdiplus(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                       const char* text, const Gdiplus::Font* font,
                       const Gdiplus::StringFormat* format, const Gdiplus::Brush* brush) {
  if (!graphics) return;
  SUniString wide(text);
  Gdiplus::RectF rect((Gdiplus::REAL)x, (Gdiplus::REAL)y, (Gdiplus::REAL)width,
                      (Gdiplus::REAL)height);
  Gdiplus::StringFormat* ownFormat = nullptr;
  if (!format) format = ownFormat = new Gdiplus::StringFormat(0, LANG_NEUTRAL);
  Gdiplus::SolidBrush* ownBrush = nullptr;
  if (!brush) brush = ownBrush = new Gdiplus::SolidBrush(Gdiplus::Color(0xFF000000));
  graphics->DrawString(wide.GetText(), wide.GetLength(), font, rect, format, brush);
  delete ownBrush;
  delete ownFormat;
}

void SetStringFormatAlignment(Gdiplus::StringFormat* format, int alignment, bool wrap) {
  if (!format) return;
  format->SetFormatFlags(wrap ? Gdiplus::StringFormatFlagsMeasureTrailingSpaces
                              : Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                                    Gdiplus::StringFormatFlagsNoWrap);
  static const Gdiplus::StringAlignment kAlignments[3] = {
      Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentFar};
  int horizontal = alignment & 0x0F, vertical = (alignment >> 4) & 0x0F;
  format->SetAlignment(kAlignments[horizontal <= 2 ? horizontal : 0]);
  format->SetLineAlignment(kAlignments[vertical <= 2 ? vertical : 0]);
}

bool FillGradient(HDC dc, const RECT& rect, COLORREF color1, COLORREF color2, bool vertical) {
  return GradientRect(dc, rect.left, rect.top, color1, rect.right, rect.bottom, color2,
                      vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

bool FillGradientGdiplus(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                         uint32_t color1, uint32_t color2) {
  if (!graphics) return false;
  HDC dc = graphics->GetHDC();
  if (!dc) return false;
  // 0xRRGGBB to COLORREF.
  COLORREF c1 = RGB((color1 >> 16) & 0xFF, (color1 >> 8) & 0xFF, color1 & 0xFF);
  COLORREF c2 = RGB((color2 >> 16) & 0xFF, (color2 >> 8) & 0xFF, color2 & 0xFF);
  bool result = GradientRect(dc, x, y, c1, x + width, y + height, c2, GRADIENT_FILL_RECT_H);
  graphics->ReleaseHDC(dc);
  return result;
}

BITMAPINFO TopDownBitmapInfo32(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}
