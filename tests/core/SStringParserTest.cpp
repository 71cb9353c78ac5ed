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

TEST(SStringParser, SeparatorsOtherThanBlanks) {
  EXPECT_EQ((Strings{"a", "b", "", "c"}), Split("a,b,,c", ","));
  EXPECT_EQ((Strings{"a", ""}), Split("a,", ","));
  EXPECT_EQ((Strings{"", "a"}), Split(",a", ","));
  EXPECT_EQ((Strings{"", ""}), Split(";", ",;"));
  EXPECT_EQ((Strings{"a=b", "c d"}), Split("a=b|c d", "|"));
}

TEST(SStringParser, BlankRuns) {
  EXPECT_EQ((Strings{"a", "b", "c"}), Split("a b  c", " "));
  EXPECT_EQ((Strings{"a", "b"}), Split("a b ", " "));
  EXPECT_EQ((Strings{"a", "", "b"}), Split("a , b", " ,"));
  EXPECT_EQ((Strings{"a", "", "b"}), Split("a, b", ", "));
  // A run takes only repetitions of its character unless both blanks are
  // separators.
  EXPECT_EQ((Strings{"a", "\tb"}), Split("a  \tb", " "));
  EXPECT_EQ((Strings{"a", "b"}), Split("a \t \tb", " \t"));
  EXPECT_EQ((Strings{"", "a"}), Split("  a", " "));
}

TEST(SStringParser, Quoting) {
  EXPECT_EQ((Strings{"x", "\"a,b\"", "y"}), Split("x,\"a,b\",y", ",", 1));
  EXPECT_EQ((Strings{"x", "\"a", "b\"", "y"}), Split("x,\"a,b\",y", ","));
  EXPECT_EQ((Strings{"\"a b\"", "c"}), Split("\"a b\" c", " ", 1));
  // Flag 2: a closing quote followed by a non-separator ends the token.
  EXPECT_EQ((Strings{"\"a\"b", "c"}), Split("\"a\"b,c", ",", 1));
  EXPECT_EQ((Strings{"\"a\"", "b", "c"}), Split("\"a\"b,c", ",", 3));
  // Flags 1, 2 and 4: a quoted token loses its quotes.
  EXPECT_EQ((Strings{"ab", "", "c"}), Split("\"ab\",\"\",c", ",", 7));
}

TEST(SStringParser, OpenQuoteFails) {
  SStringParser p("a,b");
  ASSERT_EQ(2, p.Parse(",", 0, '"'));
  EXPECT_EQ(-1, p.ParseText("x,\"y,z", ",", 1, '"'));
  EXPECT_EQ(0, p.GetCount());

  // Tokens already handed to an outside list stay there.
  SStringArray out;
  EXPECT_EQ(-1, p.ParseText("x,\"y,z", ",", 1, '"', &out));
  EXPECT_EQ(1, out.GetCount());
}

TEST(SStringParser, Trimming) {
  EXPECT_EQ((Strings{"a", "b"}), Split("a ,  b", ",", 8));
  EXPECT_EQ((Strings{"\ta", "b\t"}), Split(" \ta , b\t ", ",", 8));
  EXPECT_EQ((Strings{"\" a \"", "b"}), Split(" \" a \" ,b", ",", 9));
}

TEST(SStringParser, RefusedSettings) {
  EXPECT_EQ((Strings{"#-1"}), Split("a,b", ""));
  EXPECT_EQ((Strings{"#-1"}), Split("a,b", ",\"", 1));
  SStringParser p("a b");
  EXPECT_EQ(-1, p.Parse(",", 8, ' '));
  EXPECT_EQ(0, p.GetCount());
  EXPECT_EQ(2, p.Parse(" ", 8, '"'));
}

TEST(SStringParser, EmptyTextAndReuse) {
  SStringParser p("");
  EXPECT_EQ(0, p.Parse(",", 0, '"'));
  EXPECT_EQ(0, p.GetCount());

  EXPECT_EQ(3, p.ParseText("a,b,c", ",", 0, '"'));
  EXPECT_EQ(2, p.ParseText("d,e", ",", 0, '"'));
  EXPECT_EQ((Strings{"d", "e"}), Tokens(p));
  // An empty line must not leave the previous line's tokens behind.
  EXPECT_EQ(0, p.ParseText("", ",", 0, '"'));
  EXPECT_EQ(0, p.GetCount());
  EXPECT_EQ(0, p.GetToken(0).GetLength());
}

TEST(SStringParser, OutsideList) {
  SStringParser p("a;b");
  SStringArray out;
  out.Add("first");
  EXPECT_EQ(2, p.Parse(";", 0, '"', &out));
  EXPECT_EQ(0, p.GetCount());
  ASSERT_EQ(3, out.GetCount());
  EXPECT_STREQ("b", out.Get(2).GetText());
}

TEST(SStringParser, TokenAccess) {
  SStringParser p("12abc, 7,X,x");
  ASSERT_EQ(4, p.Parse(",", 0, '"'));
  EXPECT_EQ(12, p.GetInt(0));
  EXPECT_EQ(7, p.GetInt(1));
  EXPECT_EQ(0, p.GetInt(4));
  EXPECT_EQ(0, p.GetInt(-1));
  EXPECT_EQ(0, p.GetToken(4).GetLength());
  EXPECT_EQ(0, p.GetToken(-1).GetLength());
  EXPECT_EQ(3, p.FindToken("x"));
  EXPECT_EQ(2, p.FindToken("X"));
  EXPECT_EQ(-1, p.FindToken("7"));
  EXPECT_TRUE(p.IsSeparator(','));
  EXPECT_FALSE(p.IsSeparator(' '));
  EXPECT_FALSE(p.IsSeparator('\0'));
}

TEST(SStringParser, TokenReader) {
  SStringParser p("a,");
  ASSERT_EQ(2, p.Parse(",", 0, '"'));  // settings stay for the reader
  SString token;
  EXPECT_EQ(0, p.NextToken(token));  // the parse read to the end
  EXPECT_EQ(0, token.GetLength());
}
