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
#include <vector>

// The player dialog: profile and difficulty combos in two groups, a title,
// an info label, a name edit and OK / Cancel, exactly as SaveText writes it.
inline std::string PlayerDialogText() {
  static const char* const kFixed[] = {"ID",      "NAME",      "CAPTION",   "FONT",
                                       "POSITION", "STYLE",    "EXSTYLE",   "BACKCOLOR",
                                       "TEXTCOLOR", "TRANSPARENT", "ISLOCKED"};
  const char* const none = "#FF000000";
  const char* const combo = "WS_VISIBLE WS_VSCROLL CBS_SIMPLE CBS_DROPDOWN CBS_DROPDOWNLIST "
                            "CBS_NOINTEGRALHEIGHT ";
  const char* const button = "WS_VISIBLE BS_LEFT BS_RIGHT BS_CENTER BS_TOP BS_BOTTOM BS_VCENTER ";
  const struct {
    const char* keyword;
    const char* fixed[11];   // the values of kFixed
    const char* extra[6];    // the extended property lines, up to a null
  } sections[] = {
      {"DIALOG", {"0", "PLAYERDIALOG", "Gravrun", "Tahoma, 8, 0", "0 0 320 240",
                  "WS_VISIBLE WS_BORDER WS_CAPTION WS_SYSMENU ", "", none, none, "0", "0"},
       {"DIALOG_NOCLOSE=0", "DIALOG_FOCUS=PLAYER"}},
      {"MEDIA", {"1", "TITLE", "<b>Gravrun 2</b>", ", 0, 0", "10 10 300 30", "WS_VISIBLE ", "",
                 none, "#FFFFFF", "1", "0"},
       {"TABINDEX=-1", "MEDIA_HALIGN=_CENTER", "MEDIA_VALIGN=_MIDDLE", "MEDIA_WRAPPING=1",
        "MEDIA_LINKCOLOR=-16777216"}},
      {"GROUP", {"2", "PLAYERGROUP", "Player", ", 0, 0", "10 50 145 60", "WS_VISIBLE ", "", none,
                 none, "0", "0"},
       {"TABINDEX=-1"}},
      {"COMBO", {"3", "PLAYER", "Combo", ", 0, 0", "20 70 125 200", combo, "", none, none, "0",
                 "0"},
       {"TABINDEX=0", "COMBO_CONTENT=Player 1|Player 2|Player 3|Player 4", "COMBO_SELECTION=0"}},
      {"GROUP", {"4", "DIFFICULTYGROUP", "Difficulty", ", 0, 0", "165 50 145 60", "WS_VISIBLE ",
                 "", none, none, "0", "0"},
       {"TABINDEX=-1"}},
      {"COMBO", {"5", "DIFFICULTY", "Combo", ", 0, 0", "175 70 125 200", combo, "", none, none,
                 "0", "0"},
       {"TABINDEX=1", "COMBO_CONTENT=Easy|Normal|Hard", "COMBO_SELECTION=1"}},
      {"LABEL", {"6", "INFO", "Choose your profile and the difficulty.", "Arial, 9, 2",
                 "10 120 300 20", "WS_VISIBLE ", "", none, "#202080", "1", "0"},
       {"TABINDEX=-1", "LABEL_HALIGN=_LEFT", "LABEL_VALIGN=_MIDDLE"}},
      {"EDIT", {"7", "PLAYERNAME", "Player", ", 0, 0", "10 145 300 20",
                "WS_VISIBLE ES_LEFT ES_AUTOHSCROLL ", "WS_EX_CLIENTEDGE ", "#FFFFFF", none, "0",
                "1"},
       {"TABINDEX=2", "TABENABLED=1", "EDIT_MAXLENGTH=16"}},
      {"BUTTON", {"8", "OK", "OK", ", 0, 0", "110 200 95 25", "WS_VISIBLE BS_LEFT BS_RIGHT "
                  "BS_CENTER BS_TOP BS_BOTTOM BS_VCENTER BS_DEFPUSHBUTTON ", "", none, none, "0",
                  "0"},
       {"TABINDEX=3"}},
      {"BUTTON", {"9", "CANCEL", "Cancel", ", 0, 0", "215 200 95 25", button, "", none, none,
                  "0", "0"},
       {"TABINDEX=4"}},
  };
  std::string text = "VANDRO DIALOG 1.0.0.0\r\n\r\n";
  for (const auto& section : sections) {
    text += std::string("[") + section.keyword + "]\r\n";
    for (int i = 0; i < 11; ++i) text += std::string(kFixed[i]) + "=" + section.fixed[i] + "\r\n";
    for (const char* line : section.extra) {
      if (line) text += std::string(line) + "\r\n";
    }
    text += "\r\n";
  }
  return text;
}

// Derives damaged dialog texts: byte changes, inserted separators and
// keywords, removed, doubled and swapped lines, cut-off ends.
class DialogTextMutator {
public:
  explicit DialogTextMutator(uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}

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
    static const char* const tokens[] = {
        "\r\n", "\r", "\n", "=", "[", "]", ",", " ", "  ", "\"", "#", "-", "0",
        "[BUTTON]\r\n", "[DIALOG]\r\n", "[button]", "[NOSUCHTYPE]\r\n", "\r\n\r\n",
        "ID=", "NAME=OK", "FONT=a, b, c", "FONT=,,", "POSITION=1 2 3 4 5", "POSITION=",
        "STYLE=WS_VISIBLE WS_EX_CLIENTEDGE ", "BACKCOLOR=#", "#FFFFFFFFF", "-16777216",
        "4294967295", "99999999999999999999", "-2147483648", "=\r\n", "KEY=a=b",
        "CAPTION=", "TABINDEX=-1\r\n", "\t", "\x80\xFF",
    };
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
