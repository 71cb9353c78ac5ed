#include "core/Platform.h"
#include "core/SStringParser.h"

#include <stdlib.h>
#include <string.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

SStringParser::SStringParser(const char* text)
    : SString(text), m_quote('"'), m_flags(0), m_position(0) {}

SStringParser::~SStringParser() { Reset(); }

void SStringParser::Reset() {
  m_tokens.DeleteAndRemoveAll();
  m_separators.Set("");
  m_quote = '"';
  m_flags = 0;
  m_position = 0;
}

int SStringParser::Parse(const SString& separators, int flags, char quote, SStringArray* out) {
  if (GetLength() == 0) {
    // A reused parser must not keep the previous text's tokens.
    m_tokens.DeleteAndRemoveAll();
    return 0;
  }
  Reset();
  m_separators.Set(separators.GetText());
  m_flags = flags;
  m_quote = quote;
  if (m_separators.GetLength() == 0 || ((flags & 1) && IsSeparator(quote)) ||
      ((flags & 8) && quote == ' ')) {
    Reset();
    return -1;
  }
  SStringArray* tokens = out ? out : &m_tokens;
  int count = 0;
  SString token;
  int answer;
  while ((answer = NextToken(token)) == 1) {
    if (flags & 8) token.Trim(-1, -1, true);
    if ((flags & 7) == 7) {
      int n = token.GetLength();
      const char* t = token.GetText();
      if (n >= 2 && t[0] == quote && t[n - 1] == quote && !memchr(t + 1, quote, n - 2)) {
        token = token.Mid(1, n - 2);
      }
    }
    tokens->Add(token.GetText());
    ++count;
  }
  if (answer < 0) {
    Reset();
    return -1;
  }
  return count;
}

int SStringParser::ParseText(const SString& text, const SString& separators, int flags, char quote,
                             SStringArray* out) {
  Set(text.GetText());
  return Parse(separators, flags, quote, out);
}

int SStringParser::GetInt(int i) const {
  if (i < 0 || i >= m_tokens.GetCount()) return 0;
  const char* text = m_tokens[i] ? m_tokens[i]->GetText() : nullptr;
  return text ? atoi(text) : 0;
}

int SStringParser::FindToken(const char* text) const {
  if (!text) text = "";
  for (int i = 0; i < m_tokens.GetCount(); ++i) {
    const char* token = m_tokens[i] ? m_tokens[i]->GetText() : nullptr;
    if (strcmp(token ? token : "", text) == 0) return i;
  }
  return -1;
}

bool SStringParser::IsSeparator(char c) const {
  const char* s = m_separators.GetText();
  int n = m_separators.GetLength();
  return s && n > 0 && memchr(s, c, n) != nullptr;
}

int SStringParser::NextToken(SString& token) {
  token.Set("");
  const char* text = GetText();
  int length = GetLength();
  if (m_position > length) return 0;
  bool quoted = false;
  for (int i = m_position; i < length; ++i) {
    char c = text[i];
    bool separator = IsSeparator(c);
    bool quote = (m_flags & 1) && c == m_quote;
    if (!separator && !quote) {
      token += c;
    } else if (quoted) {
      token += c;
      if (quote) quoted = false;
      if ((m_flags & 3) == 3 && i + 1 < length && !IsSeparator(text[i + 1])) {
        m_position = i + 1;
        return 1;
      }
    } else if (quote) {
      quoted = true;
      token += c;
    } else if (!IsBlank(c)) {
      m_position = i + 1;
      return 1;
    } else {
      bool anyBlank = IsSeparator(' ') && IsSeparator('\t');
      int j = i + 1;
      while (j < length && (anyBlank ? IsBlank(text[j]) : text[j] == c)) ++j;
      if (j >= length) {
        m_position = length + 1;
      } else {
        m_position = IsSeparator(text[j]) ? j + 1 : j;
      }
      return 1;
    }
  }
  if (quoted) return -1;
  m_position = length + 1;
  return 1;
}
