// Small stateless helpers shared by the framework, the engine and the game:
// colour texts, character and name tests, integer and float helpers, the
// fitting of an image into a rectangle, colour-space conversion, the list of
// registered ActiveX controls, GDI fonts, GDI+ text and gradient fills, and
// vector setters.
//
// Colours: a COLORREF holds red in the low byte (0x00BBGGRR); an ARGB value
// holds alpha in the top byte (0xAARRGGBB). Each function says which it takes.
// Font style bits: 1 bold (weight 700), 2 italic, 4 underline, 8 strikeout.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class SStringArray;
struct D3DXVECTOR2;
struct D3DXVECTOR3;
namespace Gdiplus {
class Graphics;
class Font;
class StringFormat;
class Brush;
}  // namespace Gdiplus

// Font style bits.
enum {
  FONT_BOLD = 1,
  FONT_ITALIC = 2,
  FONT_UNDERLINE = 4,
  FONT_STRIKEOUT = 8,
};

// --- text and characters ---------------------------------------------------

// A name cell: up to 15 characters and their NUL.
enum { NAME_CELL_SIZE = 16 };
typedef char SNameCell[NAME_CELL_SIZE];

// Splits text at "," and copies token i, cut to 15 characters, with its NUL
// into cell i. Tokens beyond cellCount are ignored. Returns the number of
// cells written.
int SplitCommaList(SNameCell* cells, int cellCount, const char* text);

// "#RRGGBB" (red first) for a value up to 0xFFFFFF, else "#AARRGGBB" as the
// whole 32-bit number; upper case.
SString ColorToText(uint32_t color);
// The inverse of ColorToText: 7 characters give a COLORREF, 9 characters the
// 32-bit number; any other length gives 0. The first character is ignored.
uint32_t TextToColor(const char* text);

// The runtime's letter test, or one of the accented letters of code page 1252.
bool IsLetter(unsigned char c);
// Letters, digits and "_"; not empty, no digit first, not only "_", no "_"
// last.
bool IsIdentifier(const char* text);
// As IsIdentifier with capital letters only, and at least one letter.
bool IsConstantName(const char* text);

// --- numbers ---------------------------------------------------------------

// Decimal digits of the absolute value, 1 to 10.
int CountDigits(int value);
// rand() modulo n, in [0, n); 0 when n is not positive.
int RandomInt(int n);
// A value between the two bounds, both ends included.
float RandomFloat(float a, float b);
float ClampFloat(float value, float min, float max);
int ClampInt(int value, int min, int max);
float ClampToUnit(float value);
// Halves round up, also for negative values (-2.5 gives -2).
double RoundToNearest(double value);
// The shorter signed step from a to b over m positions (a tie goes forward);
// 0 when m is not positive.
int CyclicDelta(int a, int b, int m);
// n < 1: -1; n = 1: the one value that follows; otherwise n - 1 factors, a
// base and n - 1 values give base + sum of factor i x value i.
int SumOfProducts(int n, ...);
// a/b reduced by the divisors 10 down to 2; empty for a = 0 or when no
// divisor divides both.
SString FormatRatio(int a, int b);

// --- colour space ----------------------------------------------------------

void RgbToYCrCb(uint8_t r, uint8_t g, uint8_t b, uint8_t* y, uint8_t* cr, uint8_t* cb);
void YCrCbToRgb(uint8_t y, uint8_t cr, uint8_t cb, uint8_t* r, uint8_t* g, uint8_t* b);

// --- geometry --------------------------------------------------------------

// The rectangle of the image's aspect inside dest, centred on the free axis;
// without enlarge the image is never scaled up.
RECT FitRectToAspect(int width, int height, const RECT& dest, bool enlarge);

void SetVector2(D3DXVECTOR2* v, float x, float y);
void SetVector3(D3DXVECTOR3* v, float x, float y, float z);
void ZeroVector3(D3DXVECTOR3* v);
bool IsZeroVector3(const D3DXVECTOR3* v);
float ArcTangent2(float y, float x);

// --- ActiveX controls ------------------------------------------------------

// The registered classes of the control category: CLSID texts in curly
// brackets, CLSIDs and full user type names, each list optional (a given one
// is emptied first). With names, the lists are sorted together by name,
// case-insensitively. COM must be initialised.
void ListOleControls(SStringArray* clsidTexts, SArray<GUID>* clsids, SStringArray* names);

// --- GDI fonts and text ----------------------------------------------------

// -(LOGPIXELSY x points / 72), halves rounded up; the screen's DC without dc.
int PointsToFontHeight(double points, HDC dc = nullptr);
// Clears the structure, then face (cut to 31 characters), height, weight and
// the style flags.
void FillLogFont(LOGFONTA* font, const char* face, double points, int style);
int FontStyleFromLogFont(const LOGFONTA& font);
HFONT CreateFontByStyle(const char* face, double points, int style, HDC dc = nullptr);
// The size DrawTextA gives the text in that font (several lines for line
// breaks).
SIZE MeasureText(HFONT font, const char* text);

// The header of a top-down 32-bit DIB of the given size (blue, green, red,
// unused or alpha per pixel).
BITMAPINFO TopDownBitmapInfo32(int width, int height);

// --- GDI+ drawing ----------------------------------------------------------

// Draws ANSI text into the rectangle; without a format a default one, without
// a brush opaque black.
void DrawStringGdiplus(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                       const char* text, const Gdiplus::Font* font,
                       const Gdiplus::StringFormat* format = nullptr,
                       const Gdiplus::Brush* brush = nullptr);
// Alignment bits: low four bits horizontal (1 centre, 2 far, else near),
// next four vertical (0x10 centre, 0x20 far, else near).
void SetStringFormatAlignment(Gdiplus::StringFormat* format, int alignment, bool wrap);
// Two-colour gradient (COLORREF) from the top-left to the bottom-right corner.
bool FillGradient(HDC dc, const RECT& rect, COLORREF color1, COLORREF color2, bool vertical);
// Horizontal gradient on the graphics' DC; colours 0xRRGGBB.
bool FillGradientGdiplus(Gdiplus::Graphics* graphics, int x, int y, int width, int height,
                         uint32_t color1, uint32_t color2);
