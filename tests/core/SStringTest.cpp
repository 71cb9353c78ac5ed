#include "core/Platform.h"
#include "core/SString.h"

#include "core/SArray.h"
#include "core/SUniString.h"
#include "tests/core/CodePageSupport.h"

#include <gtest/gtest.h>

#include <wchar.h>

#include <functional>
#include <string>

TEST(SString, CapacityRuleAndTheNeverSetString) {
  SString s;
  EXPECT_EQ(nullptr, s.GetText());
  EXPECT_TRUE(s == "");
  EXPECT_EQ(-1, s.Find("a"));
  EXPECT_EQ(0, s.Delete(0, 1));
  EXPECT_STREQ("", s.Mid(0).GetText());
  SString copy(s);  // a copy of a never-set string is set
  EXPECT_STREQ("", copy.GetText());
  EXPECT_EQ(8, copy.GetCapacity());
  s = "1234567";
  s.SetLength(40, true);
  EXPECT_EQ(64, s.GetCapacity());
  EXPECT_EQ(0, memcmp(s.GetText(), "1234567", 7));
  s.SetLength(-3, true);
  EXPECT_EQ(8, s.GetCapacity());

  // A capacity that the length does not want (a formatted string, a string
  // cut by a NUL) is replaced by the first append, not written into.
  s.Format("%d", 5);
  EXPECT_EQ(64, s.GetCapacity());
  s += 'x';
  EXPECT_STREQ("5x", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());
  SString cut("0123456789abcdef0123");
  cut.SetAt(9, 0);
  cut += 'y';
  EXPECT_STREQ("012345678y", cut.GetText());
  EXPECT_EQ(16, cut.GetCapacity());
}

TEST(SString, EditExamples) {
  // Each edit on its starting text: the text after it and the edit's answer.
  const struct {
    const char* start;
    std::function<int(SString&)> edit;
    const char* text;
    int answer;
  } rows[] = {
      {"abcdef", [](SString& s) { return s.Delete(-5, 2); }, "cdef", 2},
      {"abcdef", [](SString& s) { return s.Delete(6, 1); }, "abcdef", 0},
      {"abcdef", [](SString& s) { return s.Delete(2, -1); }, "ab", 4},
      {"abc", [](SString& s) { return s.Replace(1, 1, "xyz"), 0; }, "axyzc", 0},
      {"abc", [](SString& s) { return s.Replace(0, -1, ""), 0; }, "", 0},
      {"aaa", [](SString& s) { return s.ReplaceAll("a", "aa"); }, "aaaaaa", 3},
      {"abcdef", [](SString& s) { return s.Find("cd", 0, 3); }, "abcdef", -1},
      {"abcdef", [](SString& s) { return s.Find("cd", 0, 4); }, "abcdef", 2},
      {"abcdef", [](SString& s) { return s = s.Mid(2, 100), 0; }, "cdef", 0},
      {"abcdef", [](SString& s) { return s = s.Mid(6, 1), 0; }, "", 0},
      {"abc", [](SString& s) { return s = s.BeforeBar(), 0; }, "abc", 0},
      {"abc", [](SString& s) { return s = s.BeforeChar('|'), 0; }, "", 0},
      {"\t x", [](SString& s) { return s.TrimLeft(-1, true), 0; }, "\t x", 0},
      {"\t x", [](SString& s) { return s.TrimLeft(-1, false), 0; }, "x", 0},
      {"hello", [](SString& s) { return s.SetAt(2, 0), s.GetCapacity(); }, "he", 8},
  };
  for (const auto& row : rows) {
    SString s(row.start);
    EXPECT_EQ(row.answer, row.edit(s)) << row.start << " -> " << row.text;
    EXPECT_STREQ(row.text, s.GetText()) << row.start;
  }
}

TEST(SString, SourcesInsideTheOwnBuffer) {
  SString s("abcdefghij");
  s.Set(s.GetText() + 3);
  EXPECT_STREQ("defghij", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());
  s = s;
  s.Assign(s, false);
  EXPECT_STREQ("defghij", s.GetText());
  SString own("abcdef");
  own.SetAt(2, 0);  // also from past the NUL of a cut
  own += own.GetText() + 3;
  EXPECT_STREQ("abdef", own.GetText());
  own += own.GetText();
  EXPECT_STREQ("abdefabdef", own.GetText());
  SString ins("abXYcdef!");
  ins.Insert(ins.GetText() + 2, 0);
  EXPECT_STREQ("XYcdef!abXYcdef!", ins.GetText());
  SString self("abab");
  EXPECT_EQ(2, self.ReplaceAll(self.GetText() + 2, "x"));
  EXPECT_STREQ("xx", self.GetText());
}

TEST(SString, UserValuesAndTracking) {
  SString source("text");
  source.SetUserValue1(5);
  source.SetUserValue2(6);
  EXPECT_EQ(0u, SString(source).GetUserValue1());
  SString full, assigned;
  full.Assign(source, false);
  EXPECT_STREQ("text", full.GetText());
  EXPECT_EQ(6u, full.GetUserValue2());
  assigned.SetUserValue1(9);
  assigned = source;
  EXPECT_EQ(9u, assigned.GetUserValue1());
  // Edits keep them.
  full += "more";
  full.Empty();
  EXPECT_EQ(5u, full.GetUserValue1());
  SArray<SString*>& list = SString::GetTrackedStrings();
  ASSERT_EQ(0, list.GetCount());
  {
    SString a("a");
    a.SetTracked(true);
    a.SetTracked(true);  // enters once
    EXPECT_EQ(1, list.GetCount());
    EXPECT_FALSE(SString(a).IsTracked());
  }
  EXPECT_EQ(0, list.GetCount());  // left on destruction
  // Released at shutdown; the list works again after its release.
  SString strings[3] = {"one", "two", "three"};
  for (SString& s : strings) s.SetTracked(true);
  SString::ReleaseTrackedStrings();
  EXPECT_EQ(0, list.GetCount());
  for (SString& s : strings) EXPECT_TRUE(s.GetText() == nullptr && !s.IsTracked());
  strings[0].SetTracked(true);
  EXPECT_EQ(1, list.GetCount());
  strings[0].SetTracked(false);
}

TEST(SString, EditsSearchComparisonAndWideText) {
  SString s("hello");
  s.SetAt(0, 'H');
  s.SetAt(9, 'x');
  EXPECT_STREQ("Hello", s.GetText());
  EXPECT_EQ(0, s.GetAt(-1));
  EXPECT_EQ(0xE9, SString("\xE9").GetByteAt(0));
  SString word("Apple");
  EXPECT_TRUE(word != "apple");
  EXPECT_EQ(0, word.CompareNoCase("APPLE"));
  EXPECT_EQ(-1, word.CompareNoCase("banana"));
  EXPECT_EQ(1, word.CompareNoCase(nullptr));
  EXPECT_STREQ("APPLE", word.ToUpper().GetText());
  EXPECT_STREQ("apple", word.MakeLower().GetText());

  SString c("ad");
  c.InsertChars('-', 1, 3);
  c.InsertChars('+', -1, 2);
  EXPECT_STREQ("a---d++", c.GetText());
  SString list("a,b,,c");
  EXPECT_EQ(3, list.ReplaceChar(',', 0));
  EXPECT_STREQ("a", list.GetText());

  SString abc("abcdef");
  EXPECT_STREQ("ab", abc.Mid(-3, 2).GetText());
  EXPECT_STREQ("ef", abc.Right(2).GetText());
  EXPECT_STREQ("key", SString("key|value|x").BeforeBar().GetText());
  EXPECT_STREQ("value|x", SString("key|value|x").AfterChar('|').GetText());
  EXPECT_EQ(3, abc.FindNoCase("DE"));
  EXPECT_EQ(-1, abc.FindNoCase("DE", 0, 4));
  SString p("a\\b/c\\d/e");
  EXPECT_EQ(3, p.ReverseFindChar('/', 6));
  // The first listed character that occurs decides, not the last position.
  EXPECT_EQ(5, p.ReverseFindAny(-1, 2, '\\', '/'));
  EXPECT_EQ(-1, p.ReverseFindAny(-1, 0, '/'));
  EXPECT_EQ(nullptr, SString().ToWide());
  wchar_t* w = SString("Wide text").ToWide();
  EXPECT_STREQ(L"Wide text", w);
  delete[] w;
  SString back(L"back again");
  EXPECT_STREQ("back again", back.GetText());
  EXPECT_EQ(16, back.GetCapacity());
  const SString& shared = SString::FromWide(L"first");
  SString::FromWide(L"second");
  EXPECT_STREQ("second", shared.GetText());
}

TEST(SString, DoubleByteWideText) {
  if (!UsesCodePage932()) GTEST_SKIP() << "needs the ANSI code page 932";
  // Eight pairs of "\x81\x40" (the ideographic space U+3000): 16 bytes, 8
  // characters. A freed block of the same size full of non-zero bytes comes
  // first, so that characters the converter did not write would show.
  std::string pairs;
  for (int i = 0; i < 8; ++i) pairs += "\x81\x40";
  wchar_t* garbage = new wchar_t[17];
  wmemset(garbage, L'?', 17);
  delete[] garbage;
  wchar_t* w = SString(pairs.c_str()).ToWide();
  EXPECT_EQ(std::wstring(8, L'\x3000'), std::wstring(w));
  const SString& back = SString::FromWide(w);
  EXPECT_EQ(32, back.GetCapacity());
  EXPECT_STREQ(pairs.c_str(), back.GetText());
  delete[] w;
  EXPECT_STREQ(
      "a\x81\x40"
      "b",
      SString(L"a\x3000"
              L"b")
          .GetText());
}

TEST(SString, RandomEditsMatchAModelAndKeepTheCapacityRule) {
  // Seeded sequence of edits with in-range and out-of-range arguments.
  srand(20240601);
  SString s("");
  std::string model;
  for (int step = 0; step < 4000; ++step) {
    int n = (int)model.size();
    int index = rand() % (n + 3) - 1;
    int count = rand() % 6 - 1;
    char text[5] = {0};
    int k = rand() % 5;
    for (int i = 0; i < k; ++i) text[i] = (char)('a' + rand() % 3);
    int clampedIndex = index < 0 ? 0 : index;
    int toEnd = (count < 0 || clampedIndex + count > n) ? n - clampedIndex : count;
    switch (rand() % 5) {
      case 0:
        s.Insert(text, index);
        if (index <= n && k > 0) model.insert(index < 0 ? n : index, text);
        break;
      case 1:
        ASSERT_EQ(clampedIndex < n ? toEnd : 0, s.Delete(index, count)) << "step " << step;
        if (clampedIndex < n) model.erase(clampedIndex, toEnd);
        break;
      case 2:
        s.Replace(index, count, text);
        if (index <= n) model.replace(clampedIndex, toEnd, text);
        break;
      case 3: {
        int at = s.Find(text, index, count);
        size_t expected = std::string::npos;
        if (k > 0 && clampedIndex < n) {
          int end = (count < 0 || clampedIndex + count > n) ? n : clampedIndex + count;
          expected = model.substr(0, end).find(text, clampedIndex);
        }
        ASSERT_EQ(expected == std::string::npos ? -1 : (int)expected, at) << "step " << step;
        break;
      }
      default:
        if (n > 40) {
          s.TrimRight(n / 2);
          model.resize(n - n / 2);
        } else {
          s += text;
          model += text;
        }
        break;
    }
    ASSERT_STREQ(model.c_str(), s.GetText()) << "step " << step;
    int capacity = 8;
    while (capacity <= s.GetLength()) capacity *= 2;
    ASSERT_EQ(capacity, s.GetCapacity()) << "step " << step;
  }
}

TEST(SUniString, CapacityRuleCountsCharacters) {
  SUniString none(nullptr), seven("1234567"), eight("12345678");
  EXPECT_EQ(8, none.GetCapacity());
  EXPECT_EQ(0, none.GetText()[0]);
  EXPECT_EQ(8, seven.GetCapacity());
  EXPECT_STREQ(L"1234567", seven.GetText());
  EXPECT_EQ(16, eight.GetCapacity());
  eight.SetLength(3, true);
  EXPECT_EQ(8, eight.GetCapacity());
  EXPECT_STREQ(L"123", eight.GetText());
  eight.SetLength(20, true);
  EXPECT_EQ(32, eight.GetCapacity());
  EXPECT_EQ(0, wmemcmp(L"123", eight.GetText(), 3));
  SUniString target;
  target.Assign(seven);
  target = target;
  EXPECT_STREQ(L"1234567", target.GetText());
  target.SetEmpty();
  EXPECT_EQ(0, target.GetText()[0]);

  // Whatever the code page, no unset character stands before the NUL.
  const char* text = "caf\xE9 \x81\x40 \xC4\x80";
  SUniString s(text);
  wchar_t expected[32];
  int n = ::MultiByteToWideChar(CP_ACP, 0, text, (int)strlen(text), expected, 32);
  ASSERT_EQ(n, s.GetLength());
  EXPECT_EQ((size_t)n, wcslen(s.GetText()));
  EXPECT_EQ(0, wmemcmp(expected, s.GetText(), n));
}

TEST(SUniString, DoubleByteTextHasOneCharacterPerPair) {
  if (!UsesCodePage932()) GTEST_SKIP() << "needs the ANSI code page 932";
  // "\x81\x40" is the ideographic space U+3000: 5 bytes, 4 characters.
  SUniString s(
      "a\x81\x40"
      "bc");
  EXPECT_EQ(8, s.GetCapacity());
  EXPECT_STREQ(
      L"a\x3000"
      L"bc",
      s.GetText());
  // Sixteen pairs: 32 bytes would want capacity 64, 16 characters want 32.
  std::string pairs;
  for (int i = 0; i < 16; ++i) pairs += "\x81\x40";
  SUniString wide(pairs.c_str());
  EXPECT_EQ(32, wide.GetCapacity());
  EXPECT_EQ(std::wstring(16, L'\x3000'), std::wstring(wide.GetText()));
}
