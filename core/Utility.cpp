#include "core/Platform.h"
#include "core/Utility.h"

#include "core/SStringParser.h"

#include <ctype.h>
#include <limits.h>
#include <d3dx9math.h>
#include <math.h>
#include <stdarg.h>

namespace {

// Accented letters of code page 1252, as inclusive ranges.
const struct {
  unsigned char first, last;
} kAccentedLetters[] = {
    {0x8C, 0x8C}, {0x9C, 0x9C}, {0xC0, 0xC4}, {0xC7, 0xCF}, {0xD1, 0xD6},
    {0xD9, 0xDC}, {0xE0, 0xE4}, {0xE7, 0xEF}, {0xF1, 0xF6}, {0xF9, 0xFC},
};

// One hexadecimal pair read with "%x"; 0 when it does not read.
unsigned int ReadHexPair(const char* text) {
  char pair[3] = {text[0], text[1], 0};
  unsigned int value = 0;
  if (sscanf(pair, "%x", &value) != 1) value = 0;
  return value;
}

// The name rules shared by IsIdentifier and IsConstantName.
bool IsName(const char* text, bool capitalsOnly) {
  if (!text || !text[0]) return false;
  if (isdigit((unsigned char)text[0])) return false;
  bool onlyUnderscores = true, hasLetter = false;
  const char* p = text;
  for (; *p; ++p) {
    unsigned char c = (unsigned char)*p;
    if (c == '_') continue;
    onlyUnderscores = false;
    if (isdigit(c)) continue;
    if (capitalsOnly ? !isupper(c) : !isalpha(c)) return false;
    hasLetter = true;
  }
  if (onlyUnderscores || p[-1] == '_') return false;
  return !capitalsOnly || hasLetter;
}

uint8_t ClampByte(int value) { return (uint8_t)(value < 0 ? 0 : (value > 255 ? 255 : value)); }

}  // namespace

// --- text and characters ---------------------------------------------------

int SplitCommaList(SNameCell* cells, int cellCount, const char* text) {
  if (!cells || cellCount < 1) return 0;
  SStringParser parser(text);
  if (parser.Parse(",", 0, '"') < 1) return 0;
  int n = parser.GetCount() < cellCount ? parser.GetCount() : cellCount;
  for (int i = 0; i < n; ++i) {
    SString token = parser.GetToken(i);
    int length = token.GetLength() < NAME_CELL_SIZE - 1 ? token.GetLength() : NAME_CELL_SIZE - 1;
    if (length > 0) memcpy(cells[i], token.GetText(), length);
    cells[i][length] = 0;
  }
  return n;
}

SString ColorToText(uint32_t color) {
  SString text;
  if (color <= 0xFFFFFF) {
    text.Format("#%.2x%.2x%.2x", (unsigned)(color & 0xFF), (unsigned)((color >> 8) & 0xFF),
                (unsigned)((color >> 16) & 0xFF));
  } else {
    text.Format("#%.8x", (unsigned)color);
  }
  return text.ToUpper();
}

uint32_t TextToColor(const char* text) {
  size_t length = text ? strlen(text) : 0;
  if (length == 7) {
    return ReadHexPair(text + 1) | (ReadHexPair(text + 3) << 8) | (ReadHexPair(text + 5) << 16);
  }
  if (length == 9) {
    return (ReadHexPair(text + 1) << 24) | (ReadHexPair(text + 3) << 16) |
           (ReadHexPair(text + 5) << 8) | ReadHexPair(text + 7);
  }
  return 0;
}

bool IsLetter(unsigned char c) {
  if (isalpha(c)) return true;
  for (const auto& range : kAccentedLetters) {
    if (c >= range.first && c <= range.last) return true;
  }
  return false;
}

bool IsIdentifier(const char* text) { return IsName(text, false); }

bool IsConstantName(const char* text) { return IsName(text, true); }

// --- numbers ---------------------------------------------------------------

int CountDigits(int value) {
  unsigned int v = value < 0 ? 0u - (unsigned int)value : (unsigned int)value;
  int digits = 1;
  while (v >= 10) {
    v /= 10;
    ++digits;
  }
  return digits;
}

int RandomInt(int n) { return n > 0 ? rand() % n : 0; }

float RandomFloat(float a, float b) {
  if (a == b) return a;
  float lo = a < b ? a : b, hi = a < b ? b : a;
  return (float)(lo + fabs(hi - lo) * rand() / 32767.0);
}

float ClampFloat(float value, float min, float max) {
  if (value < min) return min;
  if (value > max) return max;
  return value;
}

int ClampInt(int value, int min, int max) {
  if (value < min) return min;
  if (value > max) return max;
  return value;
}

float ClampToUnit(float value) { return ClampFloat(value, 0.0f, 1.0f); }

double RoundToNearest(double value) {
  double f = floor(value);
  return value - f < 0.5 ? f : ceil(value);
}

int CyclicDelta(int a, int b, int m) {
  if (m <= 0) return 0;
  a %= m;
  if (a < 0) a += m;
  b %= m;
  if (b < 0) b += m;
  int forward = ((b - a) % m + m) % m;
  int backward = ((a - b) % m + m) % m;
  return forward <= backward ? forward : -backward;
}

int SumOfProducts(int n, ...) {
  if (n < 1) return -1;
  va_list factors;
  va_start(factors, n);
  if (n == 1) {
    int value = va_arg(factors, int);
    va_end(factors);
    return value;
  }
  // Two cursors over the arguments: one on the factors, one past them on the
  // base and then the values.
  va_list values;
  va_copy(values, factors);
  for (int i = 0; i < n - 1; ++i) (void)va_arg(values, int);
  int result = va_arg(values, int);
  for (int i = 0; i < n - 1; ++i) {
    int factor = va_arg(factors, int);
    result += factor * va_arg(values, int);
  }
  va_end(values);
  va_end(factors);
  return result;
}

SString FormatRatio(int a, int b) {
  SString text;
  if (a == 0) return text;
  bool divided = false;
  for (int d = 10; d >= 2;) {
    if (a % d == 0 && b % d == 0) {
      a /= d;
      b /= d;
      divided = true;
      d = 10;
    } else {
      --d;
    }
  }
  if (divided) text.Format("%d/%d", a, b);
  return text;
}

// --- colour space ----------------------------------------------------------

void RgbToYCrCb(uint8_t r, uint8_t g, uint8_t b, uint8_t* y, uint8_t* cr, uint8_t* cb) {
  int Y = (int)(0.587 * g) + (int)(0.299 * r) + (int)(0.114 * b);
  int Cr = 128 - ((int)(0.419 * g) - (int)(0.5 * r) + (int)(0.081 * b));
  int Cb = 128 - ((int)(0.169 * r) + (int)(0.331 * g) - (int)(0.5 * b));
  if (y) *y = ClampByte(Y);
  if (cr) *cr = ClampByte(Cr);
  if (cb) *cb = ClampByte(Cb);
}

void YCrCbToRgb(uint8_t y, uint8_t cr, uint8_t cb, uint8_t* r, uint8_t* g, uint8_t* b) {
  int crd = cr - 128, cbd = cb - 128;
  int scaledY = (int)(1079.05 * y);
  int R = (int)((crd - (int)((cbd - scaledY) * 0.000661)) * 1.40169);
  int G = y - ((int)(0.714169 * crd) + (int)(0.343695 * cbd));
  int B = y + (int)(1.77216 * cbd) + (int)(0.00099 * crd);
  if (r) *r = ClampByte(R);
  if (g) *g = ClampByte(G);
  if (b) *b = ClampByte(B);
}

// --- geometry --------------------------------------------------------------

namespace {

// Truncates toward zero, saturating where an int cannot hold the value.
int TruncateToInt(float value) {
  const float kLimit = 2147483520.0f;  // the largest float below 2^31
  if (value > kLimit) return INT_MAX;
  if (value < -kLimit) return INT_MIN;
  return (int)value;
}

}  // namespace

RECT FitRectToAspect(int width, int height, const RECT& dest, bool enlarge) {
  RECT r = dest;
  // An image without width has no aspect to keep.
  if (height > 0 && width <= 0) return r;
  float ratio = height > 0 ? (float)width / (float)height : 1.0f;
  if (!enlarge) {
    if (ratio < 1.0f) {
      int H = r.bottom - r.top;
      if (H > height) {
        r.top += H / 2 - height / 2;
        r.bottom = r.top + height;
      }
    } else {
      int W = r.right - r.left;
      if (W > width) {
        r.left += W / 2 - width / 2;
        r.right = r.left + width;
      }
    }
  }
  int W = r.right - r.left, H = r.bottom - r.top;
  int hW = TruncateToInt(W / ratio);
  int wH = TruncateToInt(ratio * H);
  if (hW <= H) {
    r.top += H / 2 - hW / 2;
    r.bottom = r.top + hW;
  } else {
    r.left += W / 2 - wH / 2;
    r.right = r.left + wH;
  }
  return r;
}

void SetVector2(D3DXVECTOR2* v, float x, float y) {
  v->x = x;
  v->y = y;
}

void SetVector3(D3DXVECTOR3* v, float x, float y, float z) {
  v->x = x;
  v->y = y;
  v->z = z;
}

void ZeroVector3(D3DXVECTOR3* v) { SetVector3(v, 0.0f, 0.0f, 0.0f); }

bool IsZeroVector3(const D3DXVECTOR3* v) { return v->x == 0.0f && v->y == 0.0f && v->z == 0.0f; }

float ArcTangent2(float y, float x) { return atan2f(y, x); }
