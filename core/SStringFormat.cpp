// SString members that turn values into text and back, read words, lines and
// XML tokens, lay out text and encode it.
#include "core/Platform.h"
#include "core/SString.h"

#include "core/SDigest.h"

#include <string>
#include <wchar.h>

namespace {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

inline int Max(int a, int b) { return a > b ? a : b; }

// --- printf estimate ---------------------------------------------------------

// Size prefixes of a conversion. Argument sizes follow the C runtime: "I64",
// "ll" and "j" take 64-bit integers; "I32", "I", "z", "t", "h" and "hh" 32-bit
// ones (after promotion); "l" and "w" force wide characters and strings, "h"
// narrow ones.
enum Prefix { PREFIX_NONE, PREFIX_NARROW, PREFIX_WIDE, PREFIX_64, PREFIX_32 };

struct PrefixRow {
  const char* text;
  Prefix prefix;
};

// Longest first, so that "ll" is not read as "l".
const PrefixRow kPrefixes[] = {
    {"I64", PREFIX_64}, {"I32", PREFIX_32},  {"ll", PREFIX_64},  {"hh", PREFIX_32},
    {"I", PREFIX_32},   {"h", PREFIX_NARROW}, {"l", PREFIX_WIDE}, {"w", PREFIX_WIDE},
    {"j", PREFIX_64},   {"z", PREFIX_32},     {"t", PREFIX_32},   {"F", PREFIX_NONE},
    {"L", PREFIX_NONE}, {"N", PREFIX_NONE},
};

// What a conversion type adds to the estimate and which argument it takes.
enum Kind { KIND_CHAR, KIND_NARROW, KIND_WIDE, KIND_INT, KIND_REAL, KIND_FIXED, KIND_POINTER,
            KIND_COUNT, KIND_NONE };

struct TypeRow {
  char type;
  Kind kind;
};

// "E", "a" and "A" take a double like "e": an estimate that skipped their
// argument would read every later argument from the wrong place.
const TypeRow kTypes[] = {
    {'c', KIND_CHAR},    {'C', KIND_CHAR},   {'s', KIND_NARROW}, {'S', KIND_WIDE},
    {'d', KIND_INT},     {'i', KIND_INT},    {'u', KIND_INT},    {'o', KIND_INT},
    {'x', KIND_INT},     {'X', KIND_INT},    {'e', KIND_REAL},   {'E', KIND_REAL},
    {'g', KIND_REAL},    {'G', KIND_REAL},   {'a', KIND_REAL},   {'A', KIND_REAL},
    {'f', KIND_FIXED},   {'p', KIND_POINTER}, {'n', KIND_COUNT},
};

Kind KindOf(char type) {
  for (const TypeRow& row : kTypes) {
    if (row.type == type) return row.kind;
  }
  return KIND_NONE;
}

// Walks the format, taking every argument the formatter takes, and returns
// the estimated length of the output. inside tells whether a narrow string
// argument lies in [own, own + ownSize).
int EstimateFormat(const char* format, va_list args, const char* own, int ownSize, bool* inside) {
  long long total = 0;
  const char* p = format;
  while (*p) {
    if (*p != '%') {
      if (::IsDBCSLeadByte((BYTE)*p) && p[1]) {
        total += 2;
        p += 2;
      } else {
        total += 1;
        p += 1;
      }
      continue;
    }
    ++p;
    if (*p == '%') {
      total += 1;
      ++p;
      continue;
    }
    int width = 0;
    int precision = 0;
    bool starWidth = false;
    for (;; ++p) {
      if (*p == '#') {
        total += 2;
      } else if (*p == '*') {
        width = va_arg(args, int);
        starWidth = true;
      } else if (*p != '-' && *p != '+' && *p != '0' && *p != ' ') {
        break;
      }
    }
    if (!starWidth) {
      for (; IsDigit(*p); ++p) width = width * 10 + (*p - '0');
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        precision = va_arg(args, int);
        ++p;
      } else {
        for (; IsDigit(*p); ++p) precision = precision * 10 + (*p - '0');
      }
    }
    Prefix prefix = PREFIX_NONE;
    for (const PrefixRow& row : kPrefixes) {
      size_t n = strlen(row.text);
      if (strncmp(p, row.text, n) == 0) {
        prefix = row.prefix;
        p += n;
        break;
      }
    }
    if (!*p) break;
    char type = *p++;
    long long item = 0;
    switch (KindOf(type)) {
      case KIND_CHAR:
        (void)va_arg(args, int);
        item = 2;
        break;
      case KIND_NARROW:
      case KIND_WIDE: {
        bool wide = KindOf(type) == KIND_WIDE ? prefix != PREFIX_NARROW : prefix == PREFIX_WIDE;
        const void* s = va_arg(args, const void*);
        if (!s) {
          item = 6;
        } else if (wide) {
          item = (long long)wcslen((const wchar_t*)s);
        } else {
          const char* narrow = (const char*)s;
          if (own && narrow >= own && narrow < own + ownSize) *inside = true;
          item = (long long)strlen(narrow);
        }
        if (item == 0) item = 1;
        break;
      }
      case KIND_INT:
        if (prefix == PREFIX_64) {
          (void)va_arg(args, long long);
        } else {
          (void)va_arg(args, int);
        }
        item = Max(32, width + precision);
        break;
      case KIND_REAL:
        (void)va_arg(args, double);
        item = Max(128, width + precision);
        break;
      case KIND_FIXED:
        (void)va_arg(args, double);
        item = Max(128, precision + 312);
        break;
      case KIND_POINTER:
        (void)va_arg(args, void*);
        item = Max(32, width + precision);
        break;
      case KIND_COUNT:
        (void)va_arg(args, void*);
        break;
      case KIND_NONE:
        break;
    }
    if (KindOf(type) == KIND_CHAR || KindOf(type) == KIND_NARROW || KindOf(type) == KIND_WIDE) {
      if (precision != 0 && precision < item) item = precision;
      if (width > item) item = width;
    }
    total += item;
  }
  if (total < 0) total = 0;
  // The real output decides when the estimate cannot be held in an int.
  if (total > 0x3FFFFFFF) total = 0;
  return (int)total;
}

// --- hexadecimal -------------------------------------------------------------

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The hexadecimal parse of n characters; 0 on any error.
uint64_t ParseHexText(const char* text, int n) {
  if (n <= 0) return 0;
  int prefix = 0;
  if (text[0] == '#') {
    prefix = 1;
  } else if (text[0] == '0') {
    if (n < 3 || (text[1] != 'x' && text[1] != 'X')) return 0;
    prefix = 2;
  }
  int digits = n - prefix;
  if (digits <= 0 || digits > 16) return 0;
  uint64_t value = 0;
  for (int i = prefix; i < n; ++i) {
    int d = HexDigit(text[i]);
    if (d < 0) return 0;
    value = (value << 4) | (uint64_t)d;
  }
  return value;
}

// --- lines -------------------------------------------------------------------

// The end of the line that begins at start, and the index after its break.
int LineEnd(const char* text, int length, int start, int* next) {
  int i = start;
  while (i < length && text[i] != '\r' && text[i] != '\n') ++i;
  if (i >= length) {
    *next = length;
  } else if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') {
    *next = i + 2;
  } else {
    *next = i + 1;
  }
  return i;
}

// --- Base64 ------------------------------------------------------------------

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// "-" reads as 62, "_" and every character outside the alphabet as 63.
int Base64Value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+' || c == '-') return 62;
  return 63;
}

// --- keyed hex ---------------------------------------------------------------

// The 8 key bytes, assembled at run time from two halves.
void KeyedHexKey(unsigned char key[8]) {
  static const unsigned char kA[8] = {0x35, 0x12, 0x6C, 0x27, 0x41, 0x1D, 0x58, 0x0E};
  static const unsigned char kB[8] = {0x72, 0x60, 0x5E, 0x71, 0x39, 0x2A, 0x13, 0x7F};
  for (int i = 0; i < 8; ++i) key[i] = kA[i] ^ kB[i];
}

}  // namespace

// --- formatting --------------------------------------------------------------

SString& SString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
  return *this;
}

SString& SString::FormatV(const char* format, va_list args) {
  if (!format) return Set(nullptr);
  bool inside = PointsIntoBuffer(format);
  va_list walk;
  va_copy(walk, args);
  int total = EstimateFormat(format, walk, m_text, m_capacity, &inside);
  va_end(walk);

  // An argument (or the format) in this string's buffer must outlive the
  // writing: the buffer is then replaced, not reused.
  char* old = nullptr;
  if (inside) {
    old = m_text;
    m_text = nullptr;
    m_capacity = 0;
    m_length = 0;
  }
  Allocate(total, false);
  va_list out;
  va_copy(out, args);
  int written = _vsnprintf(m_text, total + 1, format, out);
  va_end(out);
  m_text[total] = 0;
  if (written < 0 || written > total) {
    // The estimate fell short: the buffer grows to the real length.
    va_list measure;
    va_copy(measure, args);
    int real = _vscprintf(format, measure);
    va_end(measure);
    if (real > total) {
      Allocate(real, false);
      va_copy(out, args);
      _vsnprintf(m_text, real + 1, format, out);
      va_end(out);
      m_text[real] = 0;
    } else if (real < 0) {
      m_text[0] = 0;
    }
  }
  m_length = (int)strlen(m_text);
  delete[] old;
  return *this;
}

bool SString::PointsIntoBuffer(const char* p) const {
  return p && m_text && p >= m_text && p < m_text + m_capacity;
}

SString& SString::FormatInt(int value) { return Format("%d", value); }

SString& SString::FormatUInt(uint32_t value) { return Format("%u", value); }

SString SString::FromInt(int value) {
  SString r;
  r.FormatInt(value);
  return r;
}

SString SString::FromUInt(uint32_t value) {
  SString r;
  r.FormatUInt(value);
  return r;
}

SString& SString::SetInt(int value, int minDigits) {
  FormatInt(value);
  // The zeros go after a minus sign ("-05"), which counts as a digit.
  if (m_length < minDigits) InsertChars('0', value < 0 ? 1 : 0, minDigits - m_length);
  return *this;
}

SString SString::FromIntPadded(int value, int minDigits) {
  SString r;
  r.SetInt(value, minDigits);
  return r;
}

SString& SString::SetDouble(double value) {
  Format("%f", value);
  // Only a fraction loses its zeros: a text without "." (an infinity or NaN
  // of some runtimes) stays whole.
  if (FindChar('.', 0) >= 0) {
    int n = m_length;
    while (n > 0 && m_text[n - 1] == '0') --n;
    if (n > 0 && m_text[n - 1] == '.') --n;
    SetLength(n, true);
  }
  return *this;
}

SString SString::FromDouble(double value) {
  SString r;
  r.SetDouble(value);
  return r;
}

SString& SString::SetHex(uint64_t value, int minDigits) {
  if (minDigits > 16) minDigits = 16;
  char format[16];
  if (minDigits > 1) {
    snprintf(format, sizeof format, "%%0.%dI64X", minDigits);
  } else {
    strcpy(format, "%I64X");
  }
  return Format(format, value);
}

uint64_t SString::ParseHex() const { return ParseHexText(m_text, m_length); }

bool SString::IsNumber() const {
  int start = 0;
  int end = m_length;
  while (start < end && (m_text[start] == ' ' || m_text[start] == '\t')) ++start;
  while (end > start && (m_text[end - 1] == ' ' || m_text[end - 1] == '\t')) --end;
  if (start >= end) return false;
  bool dot = false;
  for (int i = start; i < end; ++i) {
    char c = m_text[i];
    if (IsDigit(c)) continue;
    if (c == '-' && i == 0 && i != end - 1) continue;
    if (c == '.' && !dot && i != end - 1) {
      dot = true;
      continue;
    }
    return false;
  }
  return true;
}

bool SString::IsInteger() const { return IsNumber() && FindChar('.', 0) < 0; }

SString SString::GetMd5() const {
  if (!m_text) return SString("");
  return SDigest::Md5(m_text, m_length);
}

// --- quoting -----------------------------------------------------------------

bool SString::IsQuoted(char quote) const {
  if (m_length < 2 || m_text[0] != quote || m_text[m_length - 1] != quote) return false;
  return memchr(m_text + 1, quote, m_length - 2) == nullptr;
}

SString SString::Unquoted() const {
  if (IsQuoted('"')) return Mid(1, m_length - 2);
  return Mid(0, -1);
}

// --- words, lines and layout -------------------------------------------------

SString SString::GetWord(int start, int* next, bool returnBlanks) const {
  if (start < 0) return SString("");
  if (start >= m_length) {
    if (next) *next = start;
    return SString("");
  }
  int i = start;
  bool blanks = IsBlank(m_text[i]);
  if (blanks && !returnBlanks) {
    while (i < m_length && IsBlank(m_text[i])) ++i;
    start = i;
    blanks = false;
  }
  while (i < m_length && IsBlank(m_text[i]) == blanks) ++i;
  if (next) *next = i;
  return Mid(start, i - start);
}

SString SString::GetLine(int start, int* next) const {
  if (start < 0) return SString("");
  if (start >= m_length) {
    if (next) *next = m_length;
    return SString("");
  }
  int after;
  int end = LineEnd(m_text, m_length, start, &after);
  if (next) *next = after;
  return Mid(start, end - start);
}

int SString::GetMaxLineLength() const {
  int longest = 0;
  int start = 0;
  while (start < m_length) {
    int next;
    int end = LineEnd(m_text, m_length, start, &next);
    if (end - start > longest) longest = end - start;
    start = next;
  }
  return longest;
}

void SString::AlignLines(int mode, int width) {
  if (width <= 0) width = GetMaxLineLength();
  if (width <= 0) return;
  SString source(*this);
  std::string out;
  bool first = true;
  auto newLine = [&]() {
    if (!first) out += "\r\n";
    first = false;
  };

  int position = 0;
  while (position < source.m_length) {
    SString line = source.GetLine(position, &position);
    line.Trim(-1, -1, true);
    std::string text;
    for (int i = 0; i < line.m_length; ++i) {
      if (line.m_text[i] == '\t') {
        text += "    ";
      } else {
        text += line.m_text[i];
      }
    }
    if (text.empty()) {
      newLine();
      out.append(width, ' ');
      continue;
    }
    SString rest(text.c_str());
    while (rest.m_length > 0) {
      // The cut: the end of the last word that ends within the width.
      int cut = -1;
      int wordStart = 0;
      for (;;) {
        int wordEnd;
        SString word = rest.GetWord(wordStart, &wordEnd, false);
        if (word.m_length == 0 || wordEnd > width) break;
        cut = wordEnd;
        wordStart = wordEnd;
      }
      if (cut < 0) cut = width < rest.m_length ? width : rest.m_length;
      int following = cut;
      while (following < rest.m_length && rest.m_text[following] == ' ') ++following;
      bool continues = following < rest.m_length;

      std::string segment(rest.m_text, cut);
      int pad = width - cut;
      newLine();
      if (mode == 1) {
        out.append(pad / 2, ' ');
        out += segment;
        out.append(pad - pad / 2, ' ');
      } else if (mode == 2) {
        out.append(pad, ' ');
        out += segment;
      } else if (mode == 3 && continues) {
        for (int k = 0; k < pad; ++k) {
          // One more space at the start of the first shortest run of spaces.
          int best = -1;
          int bestLength = 0;
          for (size_t i = 0; i < segment.size();) {
            if (segment[i] != ' ') {
              ++i;
              continue;
            }
            size_t j = i;
            while (j < segment.size() && segment[j] == ' ') ++j;
            if (best < 0 || (int)(j - i) < bestLength) {
              best = (int)i;
              bestLength = (int)(j - i);
            }
            i = j;
          }
          if (best < 0) {
            segment.append(pad - k, ' ');
            break;
          }
          segment.insert((size_t)best, 1, ' ');
        }
        out += segment;
      } else {
        out += segment;
        out.append(pad, ' ');
      }
      if (!continues) break;
      rest = rest.Mid(following, -1);
    }
  }
  Set(out.c_str());
}

// --- XML tokens --------------------------------------------------------------

SString SString::GetXmlToken(int start, int* next, bool* isTag, bool* isOpening,
                             bool* isClosing) const {
  if (start < 0) return SString("");
  bool tag = false, opening = false, closing = false;
  int after = start;
  SString token("");
  if (start < m_length) {
    int i = start;
    while (i < m_length && IsBlank(m_text[i])) ++i;
    if (i >= m_length) {
      after = m_length;
    } else if (m_text[i] != '<') {
      const char* lt = (const char*)memchr(m_text + i, '<', m_length - i);
      int end = lt ? (int)(lt - m_text) : m_length;
      token = Mid(i, end - i);
      after = end;
    } else {
      tag = true;
      bool quoted = false;
      int j = i + 1;
      for (; j < m_length; ++j) {
        if (m_text[j] == '"') quoted = !quoted;
        if (m_text[j] == '>' && !quoted) break;
      }
      if (j < m_length) {
        token = Mid(i, j + 1 - i);
        token.SqueezeTagBlanks();
        after = j + 1;
        opening = token.GetAt(1) != '/';
        closing = token.GetAt(1) == '/' || token.GetAt(token.m_length - 2) == '/';
      } else {
        after = m_length;
      }
    }
  }
  if (next) *next = after;
  if (isTag) *isTag = tag;
  if (isOpening) *isOpening = opening;
  if (isClosing) *isClosing = closing;
  return token;
}

void SString::SqueezeTagBlanks() {
  Trim(-1, -1, false);
  if (m_length == 0) return;
  std::string out;
  out.reserve(m_length);
  bool quoted = false;
  for (int i = 0; i < m_length; ++i) {
    char c = m_text[i];
    if (c == '"') quoted = !quoted;
    if ((c == ' ' || c == '\t') && !quoted) {
      char before = out.empty() ? 0 : out.back();
      char after = i + 1 < m_length ? m_text[i + 1] : 0;
      if ((IsWordChar(before) && IsWordChar(after)) || before == '"') {
        out += ' ';
      }
      continue;
    }
    out += c;
  }
  Set(out.c_str());
}

// --- encoders ----------------------------------------------------------------

void SString::EncodeBase64() {
  if (m_length == 0) return;
  const unsigned char* in = (const unsigned char*)m_text;
  int n = m_length;
  SString out;
  out.SetLength((n + 2) / 3 * 4 + 1, false);
  char* o = out.m_text;
  int i = 0;
  for (; i + 3 <= n; i += 3) {
    uint32_t v = (uint32_t)in[i] << 16 | (uint32_t)in[i + 1] << 8 | in[i + 2];
    *o++ = kBase64Alphabet[v >> 18];
    *o++ = kBase64Alphabet[(v >> 12) & 63];
    *o++ = kBase64Alphabet[(v >> 6) & 63];
    *o++ = kBase64Alphabet[v & 63];
  }
  if (n - i == 1) {
    uint32_t v = (uint32_t)in[i] << 16;
    *o++ = kBase64Alphabet[v >> 18];
    *o++ = kBase64Alphabet[(v >> 12) & 63];
  } else if (n - i == 2) {
    uint32_t v = (uint32_t)in[i] << 16 | (uint32_t)in[i + 1] << 8;
    *o++ = kBase64Alphabet[v >> 18];
    *o++ = kBase64Alphabet[(v >> 12) & 63];
    *o++ = kBase64Alphabet[(v >> 6) & 63];
  }
  *o++ = '=';
  *o = 0;
  Set(out.m_text);
}

void SString::DecodeBase64() {
  if (m_length == 0) return;
  int n = m_length - 1;  // the closing "=" is dropped
  std::string out;
  out.reserve(n / 4 * 3 + 3);
  uint32_t bits = 0;
  int count = 0;
  for (int i = 0; i < n; ++i) {
    bits = (bits << 6) | (uint32_t)Base64Value((unsigned char)m_text[i]);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += (char)((bits >> count) & 0xFF);
    }
  }
  // The text ends at the first NUL byte.
  Set(out.c_str());
}

void SString::DecodeKeyedHex() {
  if (m_length == 0) return;
  unsigned char key[8];
  KeyedHexKey(key);
  int n = m_length / 2;
  for (int i = 0; i < n; ++i) {
    // Exactly two digits; a pair that is not two hex digits reads as 0.
    int high = HexDigit(m_text[2 * i]);
    int low = HexDigit(m_text[2 * i + 1]);
    unsigned value = high < 0 || low < 0 ? 0u : unsigned(high << 4 | low);
    m_text[i] = (char)(unsigned char)(value - key[i % 8]);
  }
  // Every decoded byte stays, NUL included; the capacity follows the length.
  SetLength(n, true);
}
