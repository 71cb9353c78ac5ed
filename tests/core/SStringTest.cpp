#include "core/Platform.h"
#include "core/SString.h"

#include "core/SArray.h"
#include "tests/core/CodePageSupport.h"

#include <gtest/gtest.h>

#include <wchar.h>

#include <string>

namespace {

// The capacity the storage rule wants for a length.
int WantedCapacity(int length) {
  int c = 8;
  while (c < length + 1) c *= 2;
  return c;
}

}  // namespace

TEST(SString, CapacityRuleAndTheNeverSetString) {
  SString s;
  EXPECT_EQ(nullptr, s.GetText());
  EXPECT_EQ(0, s.GetCapacity());
  EXPECT_TRUE(s == "");
  EXPECT_EQ(0, s.GetAt(0));
  EXPECT_EQ(-1, s.Find("a"));
  EXPECT_EQ(0, s.Delete(0, 1));
  EXPECT_STREQ("", s.Mid(0).GetText());
  EXPECT_STREQ("", s.BeforeBar().GetText());
  EXPECT_STREQ("", s.ToUpper().GetText());
  SString copy(s);  // a copy of a never-set string is set
  EXPECT_STREQ("", copy.GetText());
  EXPECT_EQ(8, copy.GetCapacity());

  // Edits keep the rule (checked against a model below); so does SetLength.
  s = "1234567";
  s.SetLength(40, true);
  EXPECT_EQ(64, s.GetCapacity());
  EXPECT_EQ(0, memcmp(s.GetText(), "1234567", 7));
  EXPECT_EQ(0, s.GetText()[40]);
  s.SetLength(-3, true);
  EXPECT_EQ(0, s.GetLength());
  EXPECT_EQ(8, s.GetCapacity());

  s.Empty();
  EXPECT_EQ(nullptr, s.GetText());
  s.Set(nullptr);
  ASSERT_NE(nullptr, s.GetText());
  EXPECT_EQ(8, s.GetCapacity());
}

TEST(SString, AppendingFollowsTheCapacityRule) {
  // Within one capacity the buffer stays; the append that reaches it moves.
  SString s("abc");
  const char* buffer = s.GetText();
  s += 'd';
  s += '\0';
  s += nullptr;
  s += "efg";
  EXPECT_EQ(buffer, s.GetText());
  EXPECT_EQ(8, s.GetCapacity());
  s += 'h';
  EXPECT_STREQ("abcdefgh", s.GetText());
  EXPECT_EQ(16, s.GetCapacity());
  EXPECT_STREQ("abcdefghij", (s + "ij").GetText());
  EXPECT_STREQ("abcdefgh", s.GetText());

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
  cut += 'x';
  EXPECT_EQ(32, cut.GetCapacity());
  cut.SetAt(9, 0);
  cut += 'y';
  EXPECT_STREQ("012345678y", cut.GetText());
  EXPECT_EQ(16, cut.GetCapacity());
  cut.SetAt(4, 0);
  cut += 'z';
  EXPECT_STREQ("0123z", cut.GetText());
  EXPECT_EQ(8, cut.GetCapacity());

  SString never;
  never += 'x';
  EXPECT_STREQ("x", never.GetText());
}

TEST(SString, SourcesInsideTheOwnBuffer) {
  SString s("abcdefghij");
  s.Set(s.GetText() + 3);
  EXPECT_STREQ("defghij", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());

  SString own("abcdef");
  own.SetAt(2, 0);  // also from past the NUL of a cut
  own += own.GetText() + 3;
  EXPECT_STREQ("abdef", own.GetText());
  own += own.GetText();
  EXPECT_STREQ("abdefabdef", own.GetText());
  EXPECT_EQ(16, own.GetCapacity());

  SString ins("abXYcdef!");
  ins.Insert(ins.GetText() + 2, 0);
  EXPECT_STREQ("XYcdef!abXYcdef!", ins.GetText());

  SString self("abab");
  EXPECT_EQ(2, self.ReplaceAll(self.GetText() + 2, "x"));
  EXPECT_STREQ("xx", self.GetText());
}

TEST(SString, UserValuesTravelOnlyWithFullAssignment) {
  SString source("text");
  source.SetUserValue1(5);
  source.SetUserValue2(6);
  SString copy(source);
  EXPECT_EQ(0u, copy.GetUserValue1());

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

TEST(SString, TrackedStrings) {
  SArray<SString*>& list = SString::GetTrackedStrings();
  ASSERT_EQ(0, list.GetCount());
  {
    SString a("a");
    a.SetTracked(true);
    a.SetTracked(true);  // enters once
    EXPECT_EQ(1, list.GetCount());
    SString copy(a);
    EXPECT_FALSE(copy.IsTracked());
    a.SetTracked(false);
    EXPECT_EQ(0, list.GetCount());
    a.SetTracked(true);
  }
  EXPECT_EQ(0, list.GetCount());  // left on destruction

  // Kept in address order; released at shutdown.
  SString strings[4] = {"one", "two", "three", "four"};
  for (int i = 3; i >= 0; --i) strings[i].SetTracked(true);
  ASSERT_EQ(4, list.GetCount());
  for (int i = 1; i < 4; ++i) EXPECT_LT((uintptr_t)list[i - 1], (uintptr_t)list[i]);
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

TEST(SString, CharactersAndComparison) {
  SString s("hello");
  EXPECT_EQ(0, s.GetAt(5));
  EXPECT_EQ(0, s.GetAt(-1));
  s.SetAt(0, 'H');
  s.SetAt(9, 'x');
  EXPECT_STREQ("Hello", s.GetText());
  s.SetAt(2, 0);
  EXPECT_STREQ("He", s.GetText());
  EXPECT_EQ(2, s.GetLength());

  SString high("\xE9");
  EXPECT_EQ(0xE9, high.GetByteAt(0));
  EXPECT_LT(high.GetAt(0), 0);

  SString word("Apple");
  EXPECT_TRUE(word != "apple");
  EXPECT_EQ(0, word.CompareNoCase("APPLE"));
  EXPECT_EQ(-1, word.CompareNoCase("banana"));
  EXPECT_EQ(1, word.CompareNoCase("aa"));
  EXPECT_EQ(1, word.CompareNoCase(nullptr));

  SString mixed("MiXeD 1");
  EXPECT_STREQ("MIXED 1", mixed.ToUpper().GetText());
  EXPECT_STREQ("mixed 1", mixed.ToLower().GetText());
  EXPECT_STREQ("MiXeD 1", mixed.GetText());
  EXPECT_STREQ("mixed 1", mixed.MakeLower().GetText());
  SString never;
  never.MakeLower();
  EXPECT_EQ(nullptr, never.GetText());
}

TEST(SString, InsertReplaceAndTrim) {
  // Plain Insert, Delete and Replace are checked against a model below.
  SString c("ad");
  c.InsertChars('-', 1, 3);
  c.InsertChars('-', 1, 0);
  c.InsertChars('-', 9, 2);
  c.InsertChars('+', -1, 2);
  EXPECT_STREQ("a---d++", c.GetText());

  SString a("aaa");
  EXPECT_EQ(3, a.ReplaceAll("a", "aa"));
  EXPECT_STREQ("aaaaaa", a.GetText());
  EXPECT_EQ(0, a.ReplaceAll("", "x"));
  SString path("a//b//c");
  EXPECT_EQ(2, path.ReplaceAll("//", nullptr));
  EXPECT_STREQ("abc", path.GetText());
  SString list("a,b,,c");
  EXPECT_EQ(3, list.ReplaceChar(',', ';'));
  EXPECT_STREQ("a;b;;c", list.GetText());
  EXPECT_EQ(3, list.ReplaceChar(';', 0));
  EXPECT_STREQ("a", list.GetText());

  SString t("\t x");
  t.TrimLeft(-1, true);  // blanks only
  EXPECT_STREQ("\t x", t.GetText());
  t.TrimLeft(-1, false);
  EXPECT_STREQ("x", t.GetText());
  SString r("ab \t ");
  r.TrimRight(-1, true);
  EXPECT_STREQ("ab \t", r.GetText());
  SString n("  abcdef ");
  n.Trim();
  n.TrimLeft(2);
  n.TrimRight(1);
  EXPECT_STREQ("cde", n.GetText());
  SString blanks("   ");
  blanks.Trim();
  EXPECT_STREQ("", blanks.GetText());
}

TEST(SString, SubstringsAndSearch) {
  SString s("abcdef");
  EXPECT_STREQ("cdef", s.Mid(2, 100).GetText());
  EXPECT_STREQ("ab", s.Mid(-3, 2).GetText());
  EXPECT_STREQ("", s.Mid(6, 1).GetText());
  EXPECT_STREQ("abcdef", s.Left(10).GetText());
  EXPECT_STREQ("ef", s.Right(2).GetText());
  EXPECT_STREQ("", s.Right(-1).GetText());

  SString bar("key|value|x");
  EXPECT_STREQ("key", bar.BeforeBar().GetText());
  EXPECT_STREQ("value|x", bar.AfterChar('|').GetText());
  EXPECT_STREQ("", bar.AfterChar('#').GetText());
  EXPECT_STREQ("abc", SString("abc").BeforeBar().GetText());
  EXPECT_STREQ("", SString("abc").BeforeChar('|').GetText());

  EXPECT_EQ(3, s.FindNoCase("DE"));
  EXPECT_EQ(-1, s.FindNoCase("DE", 0, 4));
  EXPECT_EQ(-1, s.FindChar('c', 3));
  EXPECT_EQ(0, s.FindChar('a', -2));

  SString p("a\\b/c\\d/e");
  EXPECT_EQ(7, p.ReverseFindChar('/'));
  EXPECT_EQ(3, p.ReverseFindChar('/', 6));
  EXPECT_EQ(-1, p.ReverseFindChar('/', 9));
  EXPECT_EQ(-1, p.ReverseFindChar('/', -2));
  // The first listed character that occurs decides, not the last position.
  EXPECT_EQ(5, p.ReverseFindAny(-1, 2, '\\', '/'));
  EXPECT_EQ(7, p.ReverseFindAny(-1, 2, '#', '/'));
  EXPECT_EQ(-1, p.ReverseFindAny(-1, 1, '#'));
  EXPECT_EQ(-1, p.ReverseFindAny(-1, 0, '/'));  // no character to look for
}

TEST(SString, WideText) {
  EXPECT_EQ(nullptr, SString().ToWide());
  wchar_t* w = SString("Wide text").ToWide();
  ASSERT_NE(nullptr, w);
  EXPECT_STREQ(L"Wide text", w);
  delete[] w;

  SString back(L"back again");
  EXPECT_STREQ("back again", back.GetText());
  EXPECT_EQ(16, back.GetCapacity());
  EXPECT_STREQ("", SString((const wchar_t*)nullptr).GetText());

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
  SString s(pairs.c_str());
  wchar_t* garbage = new wchar_t[17];
  wmemset(garbage, L'?', 17);
  delete[] garbage;
  wchar_t* w = s.ToWide();
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(std::wstring(8, L'\x3000'), std::wstring(w));

  // And back: the wide text gives the original bytes.
  const SString& back = SString::FromWide(w);
  EXPECT_EQ(16, back.GetLength());
  EXPECT_EQ(32, back.GetCapacity());
  EXPECT_STREQ(pairs.c_str(), back.GetText());
  delete[] w;

  SString narrow(L"a\x3000" L"b");
  EXPECT_EQ(4, narrow.GetLength());
  EXPECT_STREQ("a\x81\x40" "b", narrow.GetText());
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
    ASSERT_EQ((int)model.size(), s.GetLength());
    ASSERT_EQ(WantedCapacity(s.GetLength()), s.GetCapacity()) << "step " << step;
  }
}
