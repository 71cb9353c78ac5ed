#include "core/Platform.h"
#include "core/SString.h"

#include "core/SArray.h"
#include "tests/core/CodePageSupport.h"

#include <gtest/gtest.h>

#include <wchar.h>

#include <string>

TEST(SString, CapacityDoublesFromEightAndShrinksBack) {
  SString s;
  EXPECT_EQ(nullptr, s.GetText());
  EXPECT_EQ(0, s.GetCapacity());

  s = "1234567";
  EXPECT_EQ(7, s.GetLength());
  EXPECT_EQ(8, s.GetCapacity());
  s += "8";
  EXPECT_EQ(8, s.GetLength());
  EXPECT_EQ(16, s.GetCapacity());
  s.Set("123456789012345");
  EXPECT_EQ(16, s.GetCapacity());
  s += "6";
  EXPECT_EQ(32, s.GetCapacity());

  s = "12345678";
  EXPECT_EQ(1, s.Delete(7, 1));
  EXPECT_STREQ("1234567", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());

  s.SetLength(40, true);
  EXPECT_EQ(64, s.GetCapacity());
  EXPECT_EQ(0, memcmp(s.GetText(), "1234567", 7));
  EXPECT_EQ(0, s.GetText()[40]);
  s.SetLength(-3, true);
  EXPECT_EQ(0, s.GetLength());
  EXPECT_EQ(8, s.GetCapacity());
}

TEST(SString, NeverSetAndEmptyDiffer) {
  SString never;
  EXPECT_EQ(nullptr, never.GetText());
  EXPECT_TRUE(never == "");
  EXPECT_EQ(0, never.GetAt(0));
  EXPECT_EQ(-1, never.Find("a"));
  EXPECT_EQ(0, never.Delete(0, 1));
  EXPECT_STREQ("", never.Mid(0).GetText());

  SString copy(never);
  EXPECT_STREQ("", copy.GetText());
  EXPECT_EQ(8, copy.GetCapacity());

  never.Set(nullptr);
  ASSERT_NE(nullptr, never.GetText());
  EXPECT_EQ(0, never.GetLength());
  EXPECT_EQ(8, never.GetCapacity());

  never.Empty();
  EXPECT_EQ(nullptr, never.GetText());
  EXPECT_EQ(0, never.GetCapacity());

  SString fromNull((const char*)nullptr);
  EXPECT_STREQ("", fromNull.GetText());
}

TEST(SString, SetReadsASourceInsideItsOwnBuffer) {
  SString s("abcdefghij");
  s.Set(s.GetText() + 3);
  EXPECT_STREQ("defghij", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());

  SString t("0123456789abcdefghij");
  t.Set(t.GetText() + 2);
  EXPECT_STREQ("23456789abcdefghij", t.GetText());
}

TEST(SString, UserValuesTravelOnlyWithFullAssignment) {
  SString source("text");
  source.SetUserValue1(5);
  source.SetUserValue2(6);

  SString copy(source);
  EXPECT_EQ(0u, copy.GetUserValue1());
  EXPECT_EQ(0u, copy.GetUserValue2());

  SString full;
  full.Assign(source, false);
  EXPECT_STREQ("text", full.GetText());
  EXPECT_EQ(5u, full.GetUserValue1());
  EXPECT_EQ(6u, full.GetUserValue2());

  SString assigned;
  assigned.SetUserValue1(9);
  assigned = source;
  EXPECT_EQ(9u, assigned.GetUserValue1());
  EXPECT_EQ(0u, assigned.GetUserValue2());

  // Edits keep them.
  full += "more";
  full.Delete(0, 2);
  full.Empty();
  EXPECT_EQ(5u, full.GetUserValue1());
  EXPECT_EQ(6u, full.GetUserValue2());
}

TEST(SString, TrackedStringsEnterOnceAndLeaveOnDestruction) {
  SArray<SString*>& list = SString::GetTrackedStrings();
  int before = list.GetCount();
  {
    SString a("a");
    a.SetTracked(true);
    a.SetTracked(true);
    EXPECT_TRUE(a.IsTracked());
    EXPECT_EQ(before + 1, list.GetCount());
    EXPECT_GE(list.FindSorted(&a), 0);

    SString copy(a);
    EXPECT_FALSE(copy.IsTracked());

    a.SetTracked(false);
    EXPECT_EQ(before, list.GetCount());
    a.SetTracked(true);
  }
  EXPECT_EQ(before, list.GetCount());
}

TEST(SString, TrackedStringsAreReleasedAtShutdown) {
  SArray<SString*>& list = SString::GetTrackedStrings();
  ASSERT_EQ(0, list.GetCount());
  SString strings[4] = {"one", "two", "three", "four"};
  for (int i = 3; i >= 0; --i) strings[i].SetTracked(true);
  ASSERT_EQ(4, list.GetCount());
  for (int i = 1; i < 4; ++i) {
    EXPECT_LT((uintptr_t)list[i - 1], (uintptr_t)list[i]);
  }

  SString::ReleaseTrackedStrings();
  EXPECT_EQ(0, list.GetCount());
  for (SString& s : strings) {
    EXPECT_EQ(nullptr, s.GetText());
    EXPECT_FALSE(s.IsTracked());
  }
  // The list works again after its release.
  strings[0].SetTracked(true);
  EXPECT_EQ(1, list.GetCount());
  strings[0].SetTracked(false);
  EXPECT_EQ(0, list.GetCount());
}

TEST(SString, CharacterAccessAndComparison) {
  SString s("hello");
  EXPECT_EQ('e', s.GetAt(1));
  EXPECT_EQ(0, s.GetAt(5));
  EXPECT_EQ(0, s.GetAt(-1));
  s.SetAt(0, 'H');
  s.SetAt(9, 'x');
  EXPECT_STREQ("Hello", s.GetText());
  s.SetAt(2, 0);
  EXPECT_STREQ("He", s.GetText());
  EXPECT_EQ(2, s.GetLength());
  EXPECT_EQ(8, s.GetCapacity());

  SString high("\xE9");
  EXPECT_EQ(0xE9, high.GetByteAt(0));
  EXPECT_LT(high.GetAt(0), 0);

  SString word("Apple");
  EXPECT_TRUE(word == "Apple");
  EXPECT_TRUE(word != "apple");
  EXPECT_TRUE(word == SString("Apple"));
  EXPECT_EQ(0, word.CompareNoCase("APPLE"));
  EXPECT_EQ(-1, word.CompareNoCase("banana"));
  EXPECT_EQ(1, word.CompareNoCase("aa"));
  EXPECT_EQ(1, word.CompareNoCase(nullptr));
}

TEST(SString, Concatenation) {
  SString s("ab");
  SString t = s + "cd";
  EXPECT_STREQ("abcd", t.GetText());
  EXPECT_STREQ("ab", s.GetText());
  EXPECT_STREQ("ab", s.Concat(nullptr).GetText());
  s += 'c';
  s += SString("de");
  s += nullptr;
  s += '\0';
  EXPECT_STREQ("abcde", s.GetText());
  s += s.GetText() + 3;
  EXPECT_STREQ("abcdede", s.GetText());

  SString never;
  never += 'x';
  EXPECT_STREQ("x", never.GetText());
}

TEST(SString, AppendingFollowsTheCapacityRule) {
  // Within one capacity the buffer stays; the append that reaches it moves.
  SString s("abc");
  const char* buffer = s.GetText();
  s += 'd';
  s += "efg";
  EXPECT_EQ(buffer, s.GetText());
  EXPECT_EQ(8, s.GetCapacity());
  s += 'h';
  EXPECT_STREQ("abcdefgh", s.GetText());
  EXPECT_EQ(16, s.GetCapacity());

  // A capacity that the length does not want (a formatted string, a string
  // cut by a NUL) is replaced by the first append, not written into.
  s.Format("%d", 5);
  EXPECT_EQ(64, s.GetCapacity());
  s += 'x';
  EXPECT_STREQ("5x", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());
  s.Format("%d", 5);
  s += "yz";
  EXPECT_STREQ("5yz", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());

  SString cut("0123456789abcdef0123");
  cut.SetAt(17, 0);
  EXPECT_EQ(32, cut.GetCapacity());
  cut += 'x';
  EXPECT_EQ(32, cut.GetCapacity());
  cut.SetAt(4, 0);
  cut += 'y';
  EXPECT_STREQ("0123y", cut.GetText());
  EXPECT_EQ(8, cut.GetCapacity());

  // Appending text from the own buffer, also from past the NUL of a cut.
  SString own("abcdef");
  own.SetAt(2, 0);
  own += own.GetText() + 3;
  EXPECT_STREQ("abdef", own.GetText());
  own += own.GetText();
  EXPECT_STREQ("abdefabdef", own.GetText());
  EXPECT_EQ(16, own.GetCapacity());
}

TEST(SString, InsertAndDelete) {
  SString s("abcdef");
  s.Insert("XY", 2);
  EXPECT_STREQ("abXYcdef", s.GetText());
  s.Insert("!", -1);
  EXPECT_STREQ("abXYcdef!", s.GetText());
  s.Insert("?", 100);
  s.Insert("", 0);
  EXPECT_STREQ("abXYcdef!", s.GetText());
  s.Insert(s.GetText() + 2, 0);  // a source in the string's own buffer
  EXPECT_STREQ("XYcdef!abXYcdef!", s.GetText());

  SString c("ad");
  c.InsertChars('-', 1, 3);
  EXPECT_STREQ("a---d", c.GetText());
  c.InsertChars('-', 1, 0);
  c.InsertChars('-', 9, 2);
  EXPECT_STREQ("a---d", c.GetText());
  c.InsertChars('+', -1, 2);
  EXPECT_STREQ("a---d++", c.GetText());

  SString d("abcdef");
  EXPECT_EQ(2, d.Delete(-5, 2));
  EXPECT_STREQ("cdef", d.GetText());
  d = "abcdef";
  EXPECT_EQ(0, d.Delete(6, 1));
  EXPECT_EQ(3, d.Delete(3, -1));
  EXPECT_STREQ("abc", d.GetText());
  EXPECT_EQ(2, d.Delete(1, 100));
  EXPECT_STREQ("a", d.GetText());
  EXPECT_EQ(0, d.Delete(0, 0));
}

TEST(SString, Replace) {
  SString s("abc");
  s.Replace(1, 1, "xyz");
  EXPECT_STREQ("axyzc", s.GetText());
  s.Replace(1, 3, "b");
  EXPECT_STREQ("abc", s.GetText());
  s.Replace(4, 1, "q");
  EXPECT_STREQ("abc", s.GetText());
  s.Replace(-2, 1, "A");
  EXPECT_STREQ("Abc", s.GetText());
  s.Replace(3, 0, "d");
  EXPECT_STREQ("Abcd", s.GetText());
  s.Replace(0, -1, "");
  EXPECT_STREQ("", s.GetText());

  SString a("aaa");
  EXPECT_EQ(3, a.ReplaceAll("a", "aa"));
  EXPECT_STREQ("aaaaaa", a.GetText());
  EXPECT_EQ(0, a.ReplaceAll("", "x"));
  SString path("a/b/c");
  EXPECT_EQ(2, path.ReplaceAll("/", "\\\\"));
  EXPECT_STREQ("a\\\\b\\\\c", path.GetText());
  EXPECT_EQ(2, path.ReplaceAll("\\\\", nullptr));
  EXPECT_STREQ("abc", path.GetText());
  SString self("abab");
  EXPECT_EQ(2, self.ReplaceAll(self.GetText() + 2, "x"));  // "ab" from the own buffer
  EXPECT_STREQ("xx", self.GetText());

  SString list("a,b,,c");
  EXPECT_EQ(3, list.ReplaceChar(',', ';'));
  EXPECT_STREQ("a;b;;c", list.GetText());
  EXPECT_EQ(3, list.ReplaceChar(';', 0));
  EXPECT_STREQ("a", list.GetText());
}

TEST(SString, Trim) {
  SString s("\t x");
  s.TrimLeft(-1, true);
  EXPECT_STREQ("\t x", s.GetText());
  s.TrimLeft(-1, false);
  EXPECT_STREQ("x", s.GetText());

  SString r("ab \t ");
  r.TrimRight(-1, true);
  EXPECT_STREQ("ab \t", r.GetText());
  r.TrimRight(-1, false);
  EXPECT_STREQ("ab", r.GetText());

  SString n("abcdef");
  n.TrimLeft(2);
  n.TrimRight(1);
  EXPECT_STREQ("cde", n.GetText());
  n.TrimLeft(0);
  EXPECT_STREQ("cde", n.GetText());
  n.TrimRight(3);
  EXPECT_STREQ("", n.GetText());

  SString both("  mid  ");
  both.Trim();
  EXPECT_STREQ("mid", both.GetText());
  SString blanks("   ");
  blanks.Trim();
  EXPECT_STREQ("", blanks.GetText());
}

TEST(SString, Substrings) {
  SString s("abcdef");
  EXPECT_STREQ("cdef", s.Mid(2, 100).GetText());
  EXPECT_STREQ("", s.Mid(6, 1).GetText());
  EXPECT_STREQ("ab", s.Mid(-3, 2).GetText());
  EXPECT_STREQ("bcdef", s.Mid(1).GetText());
  EXPECT_STREQ("", s.Mid(2, 0).GetText());
  EXPECT_STREQ("ab", s.Left(2).GetText());
  EXPECT_STREQ("abcdef", s.Left(10).GetText());
  EXPECT_STREQ("", s.Left(0).GetText());
  EXPECT_STREQ("ef", s.Right(2).GetText());
  EXPECT_STREQ("abcdef", s.Right(7).GetText());
  EXPECT_STREQ("", s.Right(-1).GetText());

  SString abc("abc");
  EXPECT_STREQ("abc", abc.BeforeBar().GetText());
  EXPECT_STREQ("", abc.BeforeChar('|').GetText());
  SString bar("key|value|x");
  EXPECT_STREQ("key", bar.BeforeBar().GetText());
  EXPECT_STREQ("key", bar.BeforeChar('|').GetText());
  EXPECT_STREQ("value|x", bar.AfterChar('|').GetText());
  EXPECT_STREQ("", bar.AfterChar('#').GetText());
  EXPECT_STREQ("", SString().BeforeBar().GetText());
}

TEST(SString, Search) {
  SString s("abcdef");
  EXPECT_EQ(-1, s.Find("cd", 0, 3));
  EXPECT_EQ(2, s.Find("cd", 0, 4));
  EXPECT_EQ(2, s.Find("cd"));
  EXPECT_EQ(-1, s.Find("cd", 3));
  EXPECT_EQ(0, s.Find("abcdef", -4));
  EXPECT_EQ(-1, s.Find("abcdefg"));
  EXPECT_EQ(-1, s.Find(""));
  EXPECT_EQ(-1, s.Find("a", 6));
  EXPECT_EQ(5, s.Find("f", 5, 1));
  EXPECT_EQ(3, s.FindNoCase("DE"));
  EXPECT_EQ(-1, s.FindNoCase("DE", 0, 4));

  EXPECT_EQ(2, s.FindChar('c'));
  EXPECT_EQ(-1, s.FindChar('c', 3));
  EXPECT_EQ(0, s.FindChar('a', -2));

  SString p("a\\b/c\\d/e");
  EXPECT_EQ(7, p.ReverseFindChar('/'));
  EXPECT_EQ(3, p.ReverseFindChar('/', 6));
  EXPECT_EQ(-1, p.ReverseFindChar('/', 2));
  EXPECT_EQ(-1, p.ReverseFindChar('/', 9));
  EXPECT_EQ(-1, p.ReverseFindChar('/', -2));
  // The first listed character that occurs decides, not the last position.
  EXPECT_EQ(5, p.ReverseFindAny(-1, 2, '\\', '/'));
  EXPECT_EQ(7, p.ReverseFindAny(-1, 2, '#', '/'));
  EXPECT_EQ(-1, p.ReverseFindAny(-1, 0, '/'));
  EXPECT_EQ(-1, p.ReverseFindAny(-1, 1, '#'));
}

TEST(SString, Case) {
  SString s("MiXeD 1");
  EXPECT_STREQ("MIXED 1", s.ToUpper().GetText());
  EXPECT_STREQ("mixed 1", s.ToLower().GetText());
  EXPECT_STREQ("MiXeD 1", s.GetText());
  EXPECT_STREQ("mixed 1", s.MakeLower().GetText());
  SString never;
  never.MakeLower();
  EXPECT_EQ(nullptr, never.GetText());
  EXPECT_STREQ("", never.ToUpper().GetText());
}

TEST(SString, WideText) {
  SString never;
  EXPECT_EQ(nullptr, never.ToWide());

  SString s("Wide text");
  wchar_t* w = s.ToWide();
  ASSERT_NE(nullptr, w);
  EXPECT_STREQ(L"Wide text", w);
  delete[] w;

  SString empty("");
  w = empty.ToWide();
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(0, w[0]);
  delete[] w;

  SString back(L"back again");
  EXPECT_STREQ("back again", back.GetText());
  EXPECT_EQ(10, back.GetLength());
  EXPECT_EQ(16, back.GetCapacity());
  SString none((const wchar_t*)nullptr);
  EXPECT_STREQ("", none.GetText());

  const SString& shared = SString::FromWide(L"first");
  EXPECT_STREQ("first", shared.GetText());
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
  SString s(pairs.c_str());
  wchar_t* garbage = new wchar_t[17];
  wmemset(garbage, L'?', 17);
  delete[] garbage;
  wchar_t* w = s.ToWide();
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(8u, wcslen(w));
  EXPECT_EQ(std::wstring(8, L'\x3000'), std::wstring(w));

  // And back: the wide text gives the original bytes.
  const SString& back = SString::FromWide(w);
  EXPECT_EQ(16, back.GetLength());
  EXPECT_EQ(32, back.GetCapacity());
  EXPECT_STREQ(pairs.c_str(), back.GetText());
  delete[] w;

  SString mixed("a\x81\x40" "b");
  w = mixed.ToWide();
  EXPECT_STREQ(L"a\x3000" L"b", w);
  delete[] w;
  SString narrow(L"a\x3000" L"b");
  EXPECT_EQ(4, narrow.GetLength());
  EXPECT_STREQ("a\x81\x40" "b", narrow.GetText());
}

namespace {

// The capacity the storage rule wants for a length.
int WantedCapacity(int length) {
  int c = 8;
  while (c < length + 1) c *= 2;
  return c;
}

}  // namespace

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
        s.Delete(index, count);
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
          size_t found = model.substr(0, end).find(text, clampedIndex);
          expected = found;
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
    ASSERT_EQ((int)model.size(), s.GetLength());
    ASSERT_EQ(WantedCapacity(s.GetLength()), s.GetCapacity()) << "step " << step;
  }
}
