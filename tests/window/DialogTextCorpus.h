// Dialog texts for tests: a player dialog as the writer makes it, a seeded
// mutator that derives damaged texts from it, and memory-file helpers.
//
// The mutator is deterministic: the same seed gives the same sequence of
// texts, so a failing case reproduces from its seed and index. Tests of the
// dialog builder feed it the same corpus as the text reader's tests:
//   DialogTextMutator mutator(seed);
//   for (int i = 0; i < n; ++i) Use(mutator.Mutate(PlayerDialogText()));
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

// The player dialog (resource "BINARY" 130 of the test program): profile and
// difficulty combos in two groups, a title, an info label, a name edit and
// OK / Cancel, exactly as SaveText writes it.
inline std::string PlayerDialogText() {
  SFileMem resource("BINARY", 130);
  return std::string(reinterpret_cast<const char*>(resource.GetBuffer()),
                     size_t(resource.GetSize()));
}

// Derives damaged texts: byte changes, inserted fragments (the dialog
// format's separators and keywords unless others are given), removed,
// doubled and swapped lines, cut-off ends.
class DialogTextMutator {
public:
  explicit DialogTextMutator(uint32_t seed, std::vector<const char*> fragments = {})
      : m_state(seed ? seed : 0x9E3779B9u), m_fragments(std::move(fragments)) {}

  // xorshift32.
  uint32_t Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
  }
  // 0 to n - 1; 0 for n < 1.
  int Below(int n) { return n < 1 ? 0 : int(Next() % uint32_t(n)); }

  // One to four mutations of the text.
  std::string Mutate(const std::string& text) {
    std::string out = text;
    int count = 1 + Below(4);
    for (int i = 0; i < count; ++i) MutateOnce(out);
    return out;
  }

private:
  // Fragments that mean something to the reader.
  const char* Token() {
    if (!m_fragments.empty()) return m_fragments[size_t(Below(int(m_fragments.size())))];
    // clang-format off
    static const char* const tokens[] = {
        "\r\n", "\r", "\n", "=", "[", "]", ",", " ", "  ", "\"", "#", "-", "0",
        "[BUTTON]\r\n", "[DIALOG]\r\n", "[button]", "[NOSUCHTYPE]\r\n", "\r\n\r\n",
        "ID=", "NAME=OK", "FONT=a, b, c", "FONT=,,", "POSITION=1 2 3 4 5", "POSITION=",
        "STYLE=WS_VISIBLE WS_EX_CLIENTEDGE ", "BACKCOLOR=#", "#FFFFFFFFF", "-16777216",
        "4294967295", "99999999999999999999", "-2147483648", "=\r\n", "KEY=a=b",
        "CAPTION=", "TABINDEX=-1\r\n", "\t", "\x80\xFF",
    };
    // clang-format on
    return tokens[Below(int(sizeof(tokens) / sizeof(tokens[0])))];
  }

  // Start offsets of the lines (ended by CR LF).
  static std::vector<size_t> LineStarts(const std::string& text) {
    std::vector<size_t> starts(1, 0);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] == '\r' && text[i + 1] == '\n') starts.push_back(i + 2);
    }
    return starts;
  }

  // The line at index k with its CR LF (to the end for the last).
  static std::string LineAt(const std::string& text, const std::vector<size_t>& starts, size_t k) {
    size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
    return text.substr(starts[k], end - starts[k]);
  }

  void MutateOnce(std::string& text) {
    size_t size = text.size();
    size_t at = size ? size_t(Below(int(size))) : 0;
    switch (Below(9)) {
      case 0:  // change one byte
        if (size) text[at] = char(Next() & 0xFF);
        break;
      case 1:  // insert a meaningful fragment
        text.insert(at, Token());
        break;
      case 2:  // insert a NUL byte
        text.insert(at, 1, '\0');
        break;
      case 3:  // remove a few bytes
        if (size) text.erase(at, size_t(1 + Below(16)));
        break;
      case 4: {  // double a line
        std::vector<size_t> starts = LineStarts(text);
        size_t k = size_t(Below(int(starts.size())));
        text.insert(starts[k], LineAt(text, starts, k));
        break;
      }
      case 5: {  // remove a line
        std::vector<size_t> starts = LineStarts(text);
        size_t k = size_t(Below(int(starts.size())));
        text.erase(starts[k], LineAt(text, starts, k).size());
        break;
      }
      case 6: {  // swap two lines
        std::vector<size_t> starts = LineStarts(text);
        size_t a = size_t(Below(int(starts.size()))), b = size_t(Below(int(starts.size())));
        if (a > b) std::swap(a, b);
        if (a == b) break;
        std::string lineA = LineAt(text, starts, a), lineB = LineAt(text, starts, b);
        text.replace(starts[b], lineB.size(), lineA);
        text.replace(starts[a], lineA.size(), lineB);
        break;
      }
      case 7:  // cut the end off
        text.resize(at);
        break;
      default: {  // replace what follows an "=" by a meaningful fragment
        size_t equals = text.find('=', at);
        if (equals == std::string::npos) break;
        size_t end = text.find("\r\n", equals);
        if (end == std::string::npos) end = text.size();
        text.replace(equals + 1, end - equals - 1, Token());
        break;
      }
    }
  }

  uint32_t m_state;
  std::vector<const char*> m_fragments;
};

// A rewound memory file holding the bytes of the text.
inline void FillFile(SFileMem& file, const std::string& text) {
  file.Allocate(0);
  if (!text.empty()) file.WriteData(text.data(), int(text.size()));
  file.Rewind();
}

// The whole content of a memory file.
inline std::string FileText(SFileMem& file) {
  const uint8_t* bytes = file.GetBuffer();
  return bytes ? std::string(reinterpret_cast<const char*>(bytes), size_t(file.GetSize()))
               : std::string();
}
