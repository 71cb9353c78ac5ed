#include "core/Platform.h"
#include "core/SStringArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const SStringArray& list) {
  std::vector<std::string> v;
  for (int i = 0; i < list.GetCount(); ++i) {
    const char* t = list[i] ? list[i]->GetText() : nullptr;
    v.push_back(t ? t : "<null>");
  }
  return v;
}

typedef std::vector<std::string> Strings;

}  // namespace

TEST(SStringArray, AddStoresOwnCopies) {
  SStringArray list;
  EXPECT_EQ(0, list.Add("b"));
  EXPECT_EQ(0, list.Add("a", 0));
  EXPECT_EQ(2, list.Add(nullptr));
  EXPECT_EQ(1, list.Add("x", 1, 2));
  EXPECT_EQ(5, list.Add("z", 99));
  EXPECT_EQ(-1, list.Add("q", 1, 0));
  EXPECT_EQ((Strings{"a", "x", "x", "b", "", "z"}), Texts(list));
  EXPECT_NE(list[1], list[2]);  // one string object per copy
  list.RemoveAndDelete(1, 2);
  EXPECT_EQ((Strings{"a", "b", "", "z"}), Texts(list));

  // FreeBuffer deletes the strings and resets the flags.
  list.m_flags = 3;
  list.FreeBuffer();
  EXPECT_EQ(0u, list.GetFlags());
  EXPECT_EQ(0, list.Add("c"));
  EXPECT_EQ((Strings{"c"}), Texts(list));
}

TEST(SStringArray, GetReturnsTextOnlyCopies) {
  SStringArray list;
  SString s("value");
  s.SetUserValue1(3);
  s.SetUserValue2(4);
  list.InsertAt(&s);  // stored through CopyElement: a full copy
  ASSERT_NE(&s, list[0]);
  EXPECT_EQ(3u, list[0]->GetUserValue1());
  EXPECT_EQ(4u, list[0]->GetUserValue2());

  SString copy = list.Get(0);
  EXPECT_STREQ("value", copy.GetText());
  EXPECT_EQ(0u, copy.GetUserValue1());
  EXPECT_STREQ("value", list.GetFirst().GetText());

  // Bad indexes give the empty string instead of reading outside the list.
  EXPECT_EQ(0, list.Get(1).GetLength());
  EXPECT_EQ(0, list.Get(-1).GetLength());
  EXPECT_EQ(0, SStringArray().GetFirst().GetLength());
  list.DeleteAll();  // a null slot reads as empty too
  EXPECT_EQ(0, list.Get(0).GetLength());
}

TEST(SStringArray, FlagsSteerOrderAndSearching) {
  SStringArray list;
  list.Add("xyz");
  list.Add("ABC");
  EXPECT_EQ(-1, list.Find("abc"));
  list.m_flags = 2;  // case-insensitive
  EXPECT_EQ(1, list.Find("abc"));
  EXPECT_EQ(-1, list.Find("abc", 0, 1));
  list.Sort();
  EXPECT_EQ((Strings{"ABC", "xyz"}), Texts(list));
  EXPECT_EQ(1, list.FindSorted("XYZ"));
  list.m_flags = 0;
  EXPECT_EQ(-1, list.FindSorted("XYZ"));

  SStringArray bytes;  // byte order: upper case before lower case
  for (const char* s : {"b", "B", "a", "\xE9", "A"}) bytes.InsertSorted(s);
  EXPECT_EQ((Strings{"A", "B", "a", "b", "\xE9"}), Texts(bytes));
  SStringArray descending;
  descending.m_flags = 1;
  for (const char* s : {"b", "a", "c"}) descending.InsertSorted(s);
  EXPECT_EQ((Strings{"c", "b", "a"}), Texts(descending));
  EXPECT_EQ(2, descending.FindSorted("a"));
  SStringArray noCase;
  noCase.m_flags = 3;
  for (const char* s : {"b", "C", "a"}) noCase.InsertSorted(s);
  EXPECT_EQ((Strings{"C", "b", "a"}), Texts(noCase));
}

TEST(SStringArray, TextFormRoundTrip) {
  SStringArray list;
  list.Add("one, two\r\nthree");
  list.Add("");
  for (int i = 0; i < list.GetCount(); ++i) {
    SString text = list.ElementToString(list[i], 0, 0);
    EXPECT_EQ(-1, text.FindChar(','));
    EXPECT_EQ(-1, text.FindChar('\n'));
    SString* back = nullptr;
    list.ElementFromString(&back, text.GetText(), i, 0);
    ASSERT_NE(nullptr, back);
    EXPECT_STREQ(list[i]->GetText(), back->GetText() ? back->GetText() : "");
    delete back;
  }
}

TEST(SStringArray, MatchWildcard) {
  // "\x01" stands for any run of characters, "\x02" for one character.
  SStringArray list;
  for (const char* s : {"abc", "abbc", "ac", "", "xabc"}) list.Add(s);
  SArray<int> out;
  EXPECT_EQ(5, list.MatchWildcard("\x01", &out));
  EXPECT_EQ(5, out.GetCount());
  out.RemoveAll();
  EXPECT_EQ(1, list.MatchWildcard("a\x02" "c", &out));
  ASSERT_EQ(1, out.GetCount());
  EXPECT_EQ(0, out[0]);
  out.RemoveAll();
  EXPECT_EQ(3, list.MatchWildcard("a\x01" "c", &out));
  ASSERT_EQ(3, out.GetCount());
  EXPECT_TRUE(out[0] == 0 && out[1] == 1 && out[2] == 2);
  EXPECT_EQ(1, list.MatchWildcard("", nullptr));  // the empty string
  EXPECT_EQ(0, list.MatchWildcard("ABC", nullptr));  // case-sensitive

  // Backtracking: the run is lengthened after a later mismatch.
  SStringArray paths;
  paths.Add("a/b/c/d.txt");
  EXPECT_EQ(1, paths.MatchWildcard("a\x01/d.txt", nullptr));
  EXPECT_EQ(1, paths.MatchWildcard("\x01/\x02.t\x01", nullptr));
  EXPECT_EQ(1, paths.MatchWildcard("a\x01\x01" "c\x01", nullptr));
  EXPECT_EQ(0, paths.MatchWildcard("a\x01/e\x01", nullptr));
  EXPECT_EQ(0, paths.MatchWildcard("\x02", nullptr));
}

TEST(SStringArray, CopyAndAssignmentAreDeep) {
  SStringArray source;
  source.Add("one");
  source.Add("two");
  source.m_flags = 2;
  source[0]->SetUserValue1(9);

  // Copy takes the texts only.
  SStringArray copy;
  copy.Add("old");
  copy.Copy(source);
  EXPECT_EQ((Strings{"one", "two"}), Texts(copy));
  EXPECT_NE(source[0], copy[0]);
  EXPECT_EQ(0u, copy[0]->GetUserValue1());
  EXPECT_EQ(0u, copy.GetFlags());
  copy.Copy(copy);
  EXPECT_EQ(2, copy.GetCount());

  // Assignment must not leave two lists owning the same strings.
  SStringArray assigned;
  assigned.Add("old");
  assigned = source;
  EXPECT_EQ((Strings{"one", "two"}), Texts(assigned));
  EXPECT_EQ(9u, assigned[0]->GetUserValue1());
  EXPECT_EQ(2u, assigned.GetFlags());
  source.DeleteAndRemoveAll();
  EXPECT_STREQ("one", assigned[0]->GetText());

  SArray<SString*>& base = assigned;  // also through the base class
  SStringArray other;
  other.Add("x");
  base = other;
  EXPECT_EQ((Strings{"x"}), Texts(assigned));
  EXPECT_NE(other[0], assigned[0]);
}
