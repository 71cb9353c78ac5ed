// SString against std::string: appending, searching and replacing, on the
// same seeded text.
#include "bench/core_bench/Bench.h"
#include "core/SString.h"

#include <random>
#include <string>

namespace bench {

namespace {

// Seeded text of lower-case words separated by blanks.
std::string MakeText(int length, unsigned seed) {
  std::mt19937 rng(seed);
  std::string text;
  text.reserve(length);
  while ((int)text.size() < length) {
    int word = 2 + int(rng() % 8);
    for (int i = 0; i < word && (int)text.size() < length; ++i) text += char('a' + rng() % 16);
    if ((int)text.size() < length) text += ' ';
  }
  return text;
}

}  // namespace

void Strings() {
  const int shortAppends = 2000;
  SString ours;
  double appendOurs = Best(5, [&] {
    ours.Empty();
    for (int i = 0; i < shortAppends; ++i) ours += char('a' + i % 26);
  });
  std::string reference;
  double appendReference = Best(5, [&] {
    reference.clear();
    reference.shrink_to_fit();
    for (int i = 0; i < shortAppends; ++i) reference += char('a' + i % 26);
  });
  Ratio("SString += char, 2000 chars", appendOurs, appendReference);
  if (reference != ours.GetText()) printf("SString += char: wrong text\n");

  const int longAppends = 50000;
  appendOurs = Best(3, [&] {
    ours.Empty();
    for (int i = 0; i < longAppends; ++i) ours += char('a' + i % 26);
  });
  appendReference = Best(3, [&] {
    reference.clear();
    reference.shrink_to_fit();
    for (int i = 0; i < longAppends; ++i) reference += char('a' + i % 26);
  });
  Ratio("SString += char, 50000 chars", appendOurs, appendReference);
  if (reference != ours.GetText()) printf("SString += char: wrong text\n");

  const char* word = "word ";
  appendOurs = Best(5, [&] {
    ours.Empty();
    for (int i = 0; i < 400; ++i) ours += word;
  });
  appendReference = Best(5, [&] {
    reference.clear();
    reference.shrink_to_fit();
    for (int i = 0; i < 400; ++i) reference += word;
  });
  Ratio("SString += 5-char text, 400 times", appendOurs, appendReference);

  // Searching a 1 MB text for words that occur late or not at all.
  const std::string text = MakeText(1 << 20, 20240601);
  const SString haystack(text.c_str());
  const char* needles[] = {"abcdefgh", "ponm lk", "zzz", "a b c"};
  long positions = 0;
  double findOurs = Best(5, [&] {
    positions = 0;
    for (const char* needle : needles) {
      for (int at = haystack.Find(needle, 0, -1); at >= 0; at = haystack.Find(needle, at + 1, -1)) {
        positions += at;
      }
    }
  });
  long positionsReference = 0;
  double findReference = Best(5, [&] {
    positionsReference = 0;
    for (const char* needle : needles) {
      for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        positionsReference += (long)at;
      }
    }
  });
  Keep(&positions);
  Keep(&positionsReference);
  Ratio("SString::Find, 4 needles in 1 MB", findOurs, findReference);
  if (positions != positionsReference) printf("SString::Find: positions differ\n");

  long chars = 0;
  double findCharOurs = Best(5, [&] {
    chars = 0;
    for (int at = haystack.FindChar('p', 0); at >= 0; at = haystack.FindChar('p', at + 1)) ++chars;
  });
  long charsReference = 0;
  double findCharReference = Best(5, [&] {
    charsReference = 0;
    for (size_t at = text.find('p'); at != std::string::npos; at = text.find('p', at + 1)) ++charsReference;
  });
  Ratio("SString::FindChar, every 'p' in 1 MB", findCharOurs, findCharReference);
  if (chars != charsReference) printf("SString::FindChar: counts differ\n");

  // Replacing every occurrence in a 64 KB text, longer and shorter than the
  // found text. Each replacement moves the tail once (as std::string does);
  // a longer replacement first inserts placeholders.
  const std::string source = MakeText(1 << 16, 7);
  struct Case {
    const char* name;
    const char* find;
    const char* replacement;
  };
  const Case cases[] = {
      {"SString::ReplaceAll \"ab\" -> \"xyz\", 64 KB", "ab", "xyz"},
      {"SString::ReplaceAll \"ab\" -> \"x\", 64 KB", "ab", "x"},
  };
  for (const Case& c : cases) {
    SString replaced;
    int count = 0;
    double replaceOurs = Best(3, [&] {
      replaced = source.c_str();
      count = replaced.ReplaceAll(c.find, c.replacement);
    });
    std::string expected;
    int countReference = 0;
    double replaceReference = Best(3, [&] {
      expected = source;
      countReference = 0;
      size_t findLength = strlen(c.find), replacementLength = strlen(c.replacement);
      for (size_t at = expected.find(c.find); at != std::string::npos;
           at = expected.find(c.find, at + replacementLength)) {
        expected.replace(at, findLength, c.replacement);
        ++countReference;
      }
    });
    Ratio(c.name, replaceOurs, replaceReference);
    if (count != countReference || expected != replaced.GetText()) printf("%s: results differ\n", c.name);
  }
}

}  // namespace bench
