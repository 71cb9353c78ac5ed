#include "core/Platform.h"
#include "core/SStringParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Strings;

Strings Tokens(const SStringParser& p) {
  Strings v;
  for (int i = 0; i < p.GetCount(); ++i) {
    SString t = p.GetToken(i);
    v.push_back(t.GetText() ? t.GetText() : "");
  }
  return v;
}

// Parses text and returns the tokens, or {"#" + result} when not positive.
Strings Split(const char* text, const char* separators, int flags = 0) {
  SStringParser p(text);
  int n = p.Parse(separators, flags, '"');
  if (n <= 0) return Strings{"#" + std::to_string(n)};
  EXPECT_EQ(n, p.GetCount());
  return Tokens(p);
}

}  // namespace

TEST(SStringParser, SeparatorsBlankRunsQuotesAndTrimming) {
  const struct {
    const char* text;
    const char* separators;
    int flags;
    Strings tokens;
  } rows[] = {
      {"a,b,,c", ",", 0, {"a", "b", "", "c"}},
      {"a,", ",", 0, {"a", ""}},
      {";", ",;", 0, {"", ""}},
      {"a b  c", " ", 0, {"a", "b", "c"}},  // a run of blanks is one separator
      {"a b ", " ", 0, {"a", "b"}},
      {"  a", " ", 0, {"", "a"}},
      {"a , b", " ,", 0, {"a", "", "b"}},
      {"a  \tb", " ", 0, {"a", "\tb"}},    // a run takes only its own character
      {"a \t \tb", " \t", 0, {"a", "b"}},  // unless both blanks separate
      {"x,\"a,b\",y", ",", 1, {"x", "\"a,b\"", "y"}},
      {"x,\"a,b\",y", ",", 0, {"x", "\"a", "b\"", "y"}},
      {"\"a\"b,c", ",", 1, {"\"a\"b", "c"}},
      {"\"a\"b,c", ",", 3, {"\"a\"", "b", "c"}},   // 2: a closing quote ends the token
      {"\"ab\",\"\",c", ",", 7, {"ab", "", "c"}},  // 4: a quoted token loses its quotes
      {" \ta , b\t ", ",", 8, {"\ta", "b\t"}},     // 8 trims blanks, not tabs
      {" \" a \" ,b", ",", 9, {"\" a \"", "b"}},
      {"a,b", "", 0, {"#-1"}},     // no separator
      {"a,b", ",\"", 1, {"#-1"}},  // a quote among the separators
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.tokens, Split(row.text, row.separators, row.flags)) << row.text;

  // An open quote fails; tokens already handed to an outside list stay there.
  SStringParser p("a,b");
  ASSERT_EQ(2, p.Parse(",", 0, '"'));
  EXPECT_EQ(-1, p.ParseText("x,\"y,z", ",", 1, '"'));
  EXPECT_EQ(0, p.GetCount());
  SStringArray out;
  EXPECT_EQ(-1, p.ParseText("x,\"y,z", ",", 1, '"', &out));
  EXPECT_EQ(1, out.GetCount());

  // A blank quote with trimming is refused.
  EXPECT_EQ(-1, p.ParseText("a b", ",", 8, ' '));
  EXPECT_EQ(0, p.GetCount());
}

TEST(SStringParser, ReuseAndOutsideLists) {
  SStringParser p("");
  EXPECT_EQ(0, p.Parse(",", 0, '"'));
  EXPECT_EQ(3, p.ParseText("a,b,c", ",", 0, '"'));
  EXPECT_EQ(2, p.ParseText("d,e", ",", 0, '"'));
  EXPECT_EQ((Strings{"d", "e"}), Tokens(p));
  // An empty line must not leave the previous line's tokens behind.
  EXPECT_EQ(0, p.ParseText("", ",", 0, '"'));
  EXPECT_EQ(0, p.GetCount());
  EXPECT_EQ(0, p.GetToken(0).GetLength());

  // Tokens go to an outside list, after what it holds.
  SStringParser q("a;b");
  SStringArray out;
  out.Add("first");
  EXPECT_EQ(2, q.Parse(";", 0, '"', &out));
  EXPECT_EQ(0, q.GetCount());
  ASSERT_EQ(3, out.GetCount());
  EXPECT_STREQ("b", out.Get(2).GetText());

  // The parse read to the end: the token reader finds nothing more.
  SString token;
  EXPECT_EQ(0, q.NextToken(token));
  EXPECT_EQ(0, token.GetLength());
}

TEST(SStringParser, TokenAccess) {
  SStringParser p("12abc, 7,X,x");
  ASSERT_EQ(4, p.Parse(",", 0, '"'));
  EXPECT_EQ(12, p.GetInt(0));
  EXPECT_EQ(7, p.GetInt(1));
  EXPECT_EQ(0, p.GetInt(4));
  EXPECT_EQ(0, p.GetInt(-1));
  EXPECT_EQ(0, p.GetToken(-1).GetLength());
  EXPECT_EQ(3, p.FindToken("x"));
  EXPECT_EQ(2, p.FindToken("X"));
  EXPECT_EQ(-1, p.FindToken("7"));
  EXPECT_TRUE(p.IsSeparator(','));
  EXPECT_FALSE(p.IsSeparator('\0'));
}
