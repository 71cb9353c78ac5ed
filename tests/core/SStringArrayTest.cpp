#include "core/Platform.h"
#include "core/SStringArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Strings;

Strings Texts(const SStringArray& list) {
  Strings v;
  for (int i = 0; i < list.GetCount(); ++i) {
    const char* t = list[i] ? list[i]->GetText() : nullptr;
    v.push_back(t ? t : "<null>");
  }
  return v;
}

}  // namespace

TEST(SStringArray, AddStoresOwnCopiesAndCopiesAreDeep) {
  SStringArray list;
  EXPECT_EQ(0, list.Add("b"));
  EXPECT_EQ(0, list.Add("a", 0));
  EXPECT_EQ(2, list.Add(nullptr));
  EXPECT_EQ(1, list.Add("x", 1, 2));
  EXPECT_EQ(5, list.Add("z", 99));
  EXPECT_EQ(-1, list.Add("q", 1, 0));
  EXPECT_EQ((Strings{"a", "x", "x", "b", "", "z"}), Texts(list));
  EXPECT_NE(list[1], list[2]);  // one string object per copy

  SString s("value");
  s.SetUserValue1(3);
  list.InsertAt(&s, 0);  // stored through CopyElement: a full copy
  ASSERT_NE(&s, list[0]);
  EXPECT_EQ(3u, list[0]->GetUserValue1());
  EXPECT_EQ(0u, list.Get(0).GetUserValue1());
  EXPECT_STREQ("value", list.GetFirst().GetText());
  // Bad indexes and null slots give the empty string.
  EXPECT_EQ(0, list.Get(7).GetLength() + list.Get(-1).GetLength());
  list.DeleteAll();
  EXPECT_EQ(0, list.Get(0).GetLength());
  list.m_flags = 3;
  list.FreeBuffer();  // deletes the strings and resets the flags
  EXPECT_EQ(0u, list.GetFlags());
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
  EXPECT_EQ(0u, copy[0]->GetUserValue1());
  EXPECT_EQ(0u, copy.GetFlags());
  // Assignment must not leave two lists owning the same strings, also
  // through the base class.
  SStringArray assigned;
  assigned = source;
  EXPECT_EQ(9u, assigned[0]->GetUserValue1());
  EXPECT_EQ(2u, assigned.GetFlags());
  source.DeleteAndRemoveAll();
  EXPECT_STREQ("one", assigned[0]->GetText());
  SArray<SString*>& base = assigned;
  base = copy;
  EXPECT_NE(copy[0], assigned[0]);
  EXPECT_EQ((Strings{"one", "two"}), Texts(assigned));
}

TEST(SStringArray, FlagsSteerOrderAndSearching) {
  SStringArray list;
  list.Add("xyz");
  list.Add("ABC");
  EXPECT_EQ(-1, list.Find("abc"));
  list.m_flags = 2;  // case-insensitive
  EXPECT_EQ(1, list.Find("abc"));
  list.Sort();
  EXPECT_EQ((Strings{"ABC", "xyz"}), Texts(list));
  EXPECT_EQ(1, list.FindSorted("XYZ"));
  const struct {
    uint32_t flags;
    Strings in, sorted;
    const char* find;
    int at;
  } rows[] = {{0, {"b", "B", "a", "\xE9", "A"}, {"A", "B", "a", "b", "\xE9"}, "a", 2},  // bytes
              {1, {"b", "a", "c"}, {"c", "b", "a"}, "a", 2},  // descending
              {3, {"b", "C", "a"}, {"C", "b", "a"}, "B", 1}};
  for (const auto& row : rows) {
    SStringArray sorted;
    sorted.m_flags = row.flags;
    for (const std::string& s : row.in) sorted.InsertSorted(s.c_str());
    EXPECT_EQ(row.sorted, Texts(sorted)) << row.flags;
    EXPECT_EQ(row.at, sorted.FindSorted(row.find)) << row.flags;
  }
}

TEST(SStringArray, TextFormAndWildcards) {
  SStringArray list;
  list.Add("one, two\r\nthree");
  SString text = list.ElementToString(list[0], 0, 0);
  EXPECT_EQ(-1, text.FindChar(','));
  EXPECT_EQ(-1, text.FindChar('\n'));
  SString* back = nullptr;
  list.ElementFromString(&back, text.GetText(), 0, 0);
  ASSERT_NE(nullptr, back);
  EXPECT_STREQ(list[0]->GetText(), back->GetText());
  delete back;

  // "\x01" stands for any run of characters, "\x02" for one character.
  SStringArray words;
  for (const char* s : {"abc", "abbc", "ac", "", "xabc", "a/b/c/d.txt"}) words.Add(s);
  const struct {
    const char* pattern;
    std::vector<int> matches;
  } rows[] = {{"\x01", {0, 1, 2, 3, 4, 5}},
              {"a\x02"
               "c",
               {0}},
              {"a\x01"
               "c",
               {0, 1, 2}},
              {"", {3}},
              {"ABC", {}},  // case-sensitive
              {"a\x01/d.txt", {5}},
              {"\x01/\x02.t\x01", {5}},  // the run is lengthened
              {"a\x01/e\x01", {}}};
  for (const auto& row : rows) {
    SArray<int> out;
    EXPECT_EQ(int(row.matches.size()), words.MatchWildcard(row.pattern, &out)) << row.pattern;
    std::vector<int> found;
    for (int i = 0; i < out.GetCount(); ++i) found.push_back(out[i]);
    EXPECT_EQ(row.matches, found) << row.pattern;
  }
}
