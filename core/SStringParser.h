// Splits its own text into tokens at separator characters.
//
// Flags of Parse: 1 quoting (a quote character opens a stretch up to the
// next one, in which separators do not split; the quotes stay in the token),
// 8 trimming (spaces, not tabs, at both ends of every token); 2 and 4 refine
// quoting (2: inside a quoted stretch a quote or separator followed by a
// non-separator ends the token after itself; 1 + 2 + 4: a token of the form
// quote, text without quotes, quote loses its two quotes).
//
// A separator other than space or tab ends a token, so two in a row give an
// empty token. A space or tab separator starts a run (every following blank
// when both are separators, else repetitions of that character) that counts
// as one separator, together with one further separator right after it.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "core/SStringArray.h"

class SStringParser : public SString {
public:
  explicit SStringParser(const char* text = nullptr);
  SStringParser(const SStringParser&) = delete;
  SStringParser& operator=(const SStringParser&) = delete;
  ~SStringParser() override;

  // Splits the text; returns the number of tokens, 0 for an empty text (the
  // own tokens are cleared), -1 for refused settings or an open quote. With
  // out the tokens are appended to out instead of the own list.
  int Parse(const SString& separators, int flags = 0, char quote = '"',
            SStringArray* out = nullptr);
  int ParseText(const SString& text, const SString& separators, int flags = 0,
                char quote = '"', SStringArray* out = nullptr);

  int GetCount() const { return m_tokens.GetCount(); }
  // The empty string / 0 for an index outside [0, count).
  SString GetToken(int i) const { return m_tokens.Get(i); }
  int GetInt(int i) const;
  // Index of the first token equal to text (byte compare), or -1.
  int FindToken(const char* text) const;
  bool IsSeparator(char c) const;
  // Reads the next token from the scan position: 1 with a token, 0 at the
  // end, -1 when a quoted stretch is left open.
  int NextToken(SString& token);

private:
  // Deletes the own tokens and restores the default settings.
  void Reset();

  SStringArray m_tokens;
  SString m_separators;
  char m_quote;
  int m_flags;
  int m_position;
};
