#include "core/Platform.h"
#include "core/SString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SString Formatted(const char* format, ...) {
  va_list args;
  va_start(args, format);
  SString s;
  s.FormatV(format, args);
  va_end(args);
  return s;
}

}  // namespace

TEST(SStringFormat, FormatsAndSizesByTheEstimate) {
  // A 64-bit integer takes two argument words, and "E" and "a" take a double
  // like "e", so that a later string is read from the right place.
  const struct {
    SString text;
    const char* expected;
    int capacity;  // 0: not checked
  } rows[] = {
      {Formatted("%d", 5), "5", 64},  // estimate 32
      {Formatted("%s", "abc"), "abc", 8},
      {Formatted("%5.1f", 2.3), "  2.3", 512},  // estimate 313
      {Formatted("100%% %c", 'x'), "100% x", 8},
      {Formatted("%-*s|%.2s", 5, "ab", "abcdef"), "ab   |ab", 0},
      {Formatted("%s %S", (const char*)nullptr, L"wide"), "(null) wide", 0},
      {Formatted("%hs|%ls|%hS", "n", L"w", "m"), "n|w|m", 0},
      {Formatted("%I64X", 0x123456789ABCDEF0ULL), "123456789ABCDEF0", 0},
      {Formatted("%I64d and %s", -1234567890123LL, "text"), "-1234567890123 and text", 0},
      {Formatted("%lld|%llu|%s", -5LL, 18446744073709551615ULL, "e"), "-5|18446744073709551615|e",
       0},
      {Formatted("%d %I64u %d", 1, 4294967296ULL, 2), "1 4294967296 2", 0},
      {Formatted("%E|%s", 1.1, "text"), "1.100000E+000|text", 256},  // 128 + 1 + 4
      {Formatted("%a|%s", 1.1, "after"), nullptr, 0},
      {Formatted("%*d|%.*s|%s", 4, 7, 2, "abc", "end"), "   7|ab|end", 0},
      {Formatted("%Iu|%s", (size_t)9, "end"), "9|end", 0},
  };
  for (const auto& row : rows) {
    if (row.expected) {
      EXPECT_STREQ(row.expected, row.text.GetText());
    }
    if (row.capacity) {
      EXPECT_EQ(row.capacity, row.text.GetCapacity()) << row.expected;
    }
  }
  EXPECT_STREQ("after", rows[12].text.GetText() + rows[12].text.FindChar('|') + 1);

  // Output longer than the estimate is never cut: 300 digits of precision
  // exceed the estimate of 300 for "e".
  SString s = Formatted("%.300e", 1.0);
  EXPECT_EQ(307, s.GetLength());
  EXPECT_STREQ("e+000", s.GetText() + 302);
  std::string big(5000, 'x');
  s.Format("%s", big.c_str());
  EXPECT_EQ(8192, s.GetCapacity());
  // Arguments and the format may come from the string's own buffer.
  SString own("abc");
  own.Format("%s-%s", own.GetText(), own.GetText());
  EXPECT_STREQ("abc-abc", own.GetText());
  SString f("[%s]");
  f.Format(f.GetText(), "x");
  EXPECT_STREQ("[x]", f.GetText());
}

TEST(SStringFormat, NumbersHexDigestsAndQuoting) {
  SString s;
  EXPECT_STREQ("4000000000", s.FormatUInt(4000000000u).GetText());
  EXPECT_STREQ("-7", SString::FromInt(-7).GetText());
  EXPECT_STREQ("007", s.SetInt(7, 3).GetText());
  EXPECT_STREQ("1234", s.SetInt(1234, 3).GetText());
  EXPECT_STREQ("-05", s.SetInt(-5, 3).GetText());  // the zeros go after the sign
  EXPECT_STREQ("0042", SString::FromIntPadded(42, 4).GetText());
  const struct {
    double value;
    const char* text;
  } doubles[] = {{1.5, "1.5"},           {100.0, "100"},   {-3.0, "-3"},
                 {0.000001, "0.000001"}, {0.0000001, "0"}, {1e12, "1000000000000"}};
  for (const auto& d : doubles) EXPECT_STREQ(d.text, SString::FromDouble(d.value).GetText());

  const char* numbers[] = {"-12", ".5", " 7 ", "\t0\t", "123456789012"};
  for (const char* text : numbers) EXPECT_TRUE(SString(text).IsNumber()) << text;
  const char* others[] = {"", "  ", "-", "5.", "1.2.3", " -5", "+5", "1e5", "1 2"};
  for (const char* text : others) EXPECT_FALSE(SString(text).IsNumber()) << text;
  EXPECT_TRUE(SString("-12").IsInteger());
  EXPECT_FALSE(SString("1.0").IsInteger());
  EXPECT_STREQ("00FF", s.SetHex(255, 4).GetText());
  EXPECT_STREQ("00000000000000FF", s.SetHex(255, 20).GetText());
  EXPECT_STREQ("0", s.SetHex(0, 0).GetText());
  EXPECT_STREQ("FEDCBA9876543210", s.SetHex(0xFEDCBA9876543210ULL, 8).GetText());
  const struct {
    const char* text;
    uint64_t value;
  } hex[] = {{"#FF", 255},
             {"0xff", 255},
             {"0F", 0},
             {"0x", 0},
             {"12G", 0},
             {"12345678901234567", 0},
             {"0XFFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFULL}};
  for (const auto& h : hex) EXPECT_EQ(h.value, SString(h.text).ParseHex()) << h.text;
  EXPECT_EQ(0u, SString().ParseHex());

  EXPECT_STREQ("", SString().GetMd5().GetText());
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", SString("").GetMd5().GetText());
  EXPECT_STREQ("900150983CD24FB0D6963F7D28E17F72", SString("abc").GetMd5().GetText());

  EXPECT_TRUE(SString("\"\"").IsQuoted());
  EXPECT_FALSE(SString("\"").IsQuoted());
  EXPECT_TRUE(SString("'x'").IsQuoted('\''));
  EXPECT_STREQ("abc", SString("\"abc\"").Unquoted().GetText());
  EXPECT_STREQ("\"a\"b\"", SString("\"a\"b\"").Unquoted().GetText());
}

TEST(SStringFormat, WordsLinesAndAlignment) {
  const struct {
    const char* text;
    int start;
    bool line, blanks;
    const char* token;
    int next;
  } rows[] = {
      {"  ab cd", 0, false, false, "ab", 4}, {"  ab cd", 0, false, true, "  ", 2},
      {"  ab cd", 9, false, false, "", 9},   {"  ab cd", -1, false, false, "", 42},
      {"x \r\n", 1, false, false, "", 4},    {"a\r\nb", 0, true, false, "a", 3},
      {"a\r\nb", 3, true, false, "b", 4},    {"a\n\rb", 0, true, false, "a", 2},
      {"a\n\rb", 2, true, false, "", 3},  // LF CR is two breaks
  };
  for (const auto& row : rows) {
    SString s(row.text);
    int next = 42;
    SString token =
        row.line ? s.GetLine(row.start, &next) : s.GetWord(row.start, &next, row.blanks);
    EXPECT_STREQ(row.token, token.GetText()) << row.text << " " << row.start;
    EXPECT_EQ(row.next, next) << row.text << " " << row.start;
  }
  EXPECT_EQ(5, SString("ab\r\nabcde\nxyz").GetMaxLineLength());
  EXPECT_EQ(0, SString("\r\n\r\n").GetMaxLineLength());
  const struct {
    const char* text;
    int alignment;
    int width;
    const char* expected;
  } aligned[] = {
      {"aa bb cc", 0, 5, "aa bb\r\ncc   "},
      {"a b cc dd", 3, 7, "a  b cc\r\ndd     "},  // justified, the last line not
      {"ab", 1, 7, "  ab   "},
      {"ab", 2, 5, "   ab"},
      {"abcdefg", 0, 3, "abc\r\ndef\r\ng  "},  // a longer word is split
      {"x\r\n\r\n\tyz ", 0, 6, "x     \r\n      \r\n    yz"},  // tabs become four spaces
      {"ab\r\nabcd", 0, 0, "ab  \r\nabcd"},  // the width of the longest line
      {"", 0, 0, ""},
  };
  for (const auto& row : aligned) {
    SString s(row.text);
    s.AlignLines(row.alignment, row.width);
    EXPECT_STREQ(row.expected, s.GetText()) << row.text;
  }
}

TEST(SStringFormat, XmlTokens) {
  // Successive tokens: the text, whether it is a tag, opening and closing.
  SString s("  <item name=\"a>b\"  size=\"2\" >text here</item><empty/>");
  const struct {
    const char* token;
    bool tag, opening, closing;
  } tokens[] = {{"<item name=\"a>b\" size=\"2\" >", true, true, false},
                {"text here", false, false, false},
                {"</item>", true, false, true},
                {"<empty/>", true, true, true},
                {"", false, false, false}};
  int next = 0;
  for (const auto& t : tokens) {
    bool tag = !t.tag, opening = false, closing = false;
    EXPECT_STREQ(t.token, s.GetXmlToken(next, &next, &tag, &opening, &closing).GetText());
    EXPECT_TRUE(tag == t.tag && (!tag || (opening == t.opening && closing == t.closing)));
  }
  EXPECT_EQ(s.GetLength(), next);
  // An unclosed tag gives nothing and ends the text; trailing blanks are passed over.
  bool tag = false;
  EXPECT_STREQ("", SString("  <a b=\"c\"").GetXmlToken(0, &next, &tag).GetText());
  EXPECT_TRUE(tag);
  EXPECT_EQ(10, next);
  EXPECT_STREQ("", SString("x \r\n ").GetXmlToken(1, &next, &tag).GetText());
  EXPECT_EQ(5, next);

  SString squeezed(" \t<a   b = \"x  y\"   c=\"1\"\t/> "), end("< /end >");
  squeezed.SqueezeTagBlanks();
  EXPECT_STREQ("<a b=\"x  y\" c=\"1\" />", squeezed.GetText());
  end.SqueezeTagBlanks();
  EXPECT_STREQ("</end>", end.GetText());
}

TEST(SStringFormat, Base64AndKeyedHex) {
  // Every byte but NUL survives, on one line; "-" and "_" read as 62 and 63;
  // the text ends at the first decoded NUL.
  std::string bytes;
  for (int i = 1; i < 256; ++i) bytes += (char)i;
  const struct {
    const char* text;
    const char* encoded;
  } rows[] = {{"abc", "YWJj="}, {"a", "YQ="}, {"", ""}, {bytes.c_str(), nullptr}};
  for (const auto& row : rows) {
    SString s(row.text);
    s.EncodeBase64();
    if (row.encoded) {
      EXPECT_STREQ(row.encoded, s.GetText());
    }
    EXPECT_EQ(-1, s.FindChar('\n'));
    s.DecodeBase64();
    EXPECT_STREQ(row.text, s.GetText());
  }
  SString url("-_-_="), standard("+/+/="), nul("YQBi=");
  url.DecodeBase64();
  standard.DecodeBase64();
  EXPECT_STREQ(standard.GetText(), url.GetText());
  nul.DecodeBase64();
  EXPECT_STREQ("a", nul.GetText());
  SString empty(""), odd("FFFFF"), bad("zz");
  empty.DecodeKeyedHex();
  EXPECT_STREQ("", empty.GetText());
  odd.DecodeKeyedHex();
  EXPECT_EQ(2, odd.GetLength());  // a last odd digit is ignored
  bad.DecodeKeyedHex();           // a pair that is no hex number reads as 0
  EXPECT_EQ(1, bad.GetLength());

  // The key comes back from a decoded run of "FF" pairs (0xFF - key byte).
  SString key("FFFFFFFFFFFFFFFF");
  key.DecodeKeyedHex();
  ASSERT_EQ(8, key.GetLength());
  // Every byte value, enciphered as two hex digits each (pairs starting
  // with "0" included), comes back unchanged.
  SString cipher;
  for (int i = 0; i < 256; ++i) {
    SString pair;
    pair.SetHex((unsigned char)(i + 0xFF - key.GetByteAt(i % 8)), 2);
    cipher += pair;
  }
  cipher.DecodeKeyedHex();
  ASSERT_EQ(256, cipher.GetLength());
  for (int i = 0; i < 256; ++i) EXPECT_EQ(i, cipher.GetByteAt(i)) << i;
}
