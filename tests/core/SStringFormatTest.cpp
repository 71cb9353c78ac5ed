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

TEST(SStringFormat, EstimateSetsTheCapacity) {
  SString s;
  s.Format("%d", 5);
  EXPECT_STREQ("5", s.GetText());
  EXPECT_EQ(64, s.GetCapacity());  // estimate 32
  s.Format("%s", "abc");
  EXPECT_EQ(8, s.GetCapacity());
  s.Format("%5.1f", 2.3);
  EXPECT_STREQ("  2.3", s.GetText());
  EXPECT_EQ(512, s.GetCapacity());  // estimate 313
  s.Format("100%% %c", 'x');
  EXPECT_STREQ("100% x", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());  // 6 + 2
  s.Format("%-*s|%.2s", 5, "ab", "abcdef");
  EXPECT_STREQ("ab   |ab", s.GetText());
  s.Format("%s %S", (const char*)nullptr, L"wide");
  EXPECT_STREQ("(null) wide", s.GetText());
  s.Format("%hs|%ls|%hS", "n", L"w", "m");
  EXPECT_STREQ("n|w|m", s.GetText());

  // Output longer than the estimate is never cut: 300 digits of precision
  // exceed the estimate of 300 for "e".
  s = Formatted("%.300e", 1.0);
  EXPECT_EQ(307, s.GetLength());
  EXPECT_EQ(512, s.GetCapacity());
  EXPECT_STREQ("e+000", s.GetText() + 302);
  std::string big(5000, 'x');
  s.Format("%s", big.c_str());
  EXPECT_EQ(5000, s.GetLength());
  EXPECT_EQ(8192, s.GetCapacity());

  // Arguments and the format may come from the string's own buffer.
  SString own("abc");
  own.Format("%s-%s", own.GetText(), own.GetText());
  EXPECT_STREQ("abc-abc", own.GetText());
  SString f("[%s]");
  f.Format(f.GetText(), "x");
  EXPECT_STREQ("[x]", f.GetText());
}

TEST(SStringFormat, EstimateTakesTheArgumentsTheFormatterTakes) {
  // A 64-bit integer takes two argument words, and "E" and "a" take a double
  // like "e", so that a later string is read from the right place. The
  // doubles have non-zero low words: read as a string pointer, that word
  // points nowhere.
  SString s;
  s.Format("%I64X", 0x123456789ABCDEF0ULL);
  EXPECT_STREQ("123456789ABCDEF0", s.GetText());
  s.Format("%I64d and %s", -1234567890123LL, "text");
  EXPECT_STREQ("-1234567890123 and text", s.GetText());
  s.Format("%lld|%llu|%s", -5LL, 18446744073709551615ULL, "end");
  EXPECT_STREQ("-5|18446744073709551615|end", s.GetText());
  s.Format("%d %I64u %d", 1, 4294967296ULL, 2);
  EXPECT_STREQ("1 4294967296 2", s.GetText());

  s.Format("%E|%s", 1.1, "text");
  EXPECT_STREQ("text", s.GetText() + s.FindChar('|') + 1);
  EXPECT_EQ('E', s.GetAt(8));
  EXPECT_EQ(256, s.GetCapacity());  // estimate 128 + 1 + 4
  s.Format("%a|%s", 1.1, "after");
  EXPECT_STREQ("after", s.GetText() + s.FindChar('|') + 1);
  s.Format("%*d|%.*s|%s", 4, 7, 2, "abc", "end");
  EXPECT_STREQ("   7|ab|end", s.GetText());
  s.Format("%Iu|%s", (size_t)9, "end");
  EXPECT_STREQ("9|end", s.GetText());
}

TEST(SStringFormat, Numbers) {
  SString s;
  EXPECT_STREQ("4000000000", s.FormatUInt(4000000000u).GetText());
  EXPECT_STREQ("-7", SString::FromInt(-7).GetText());
  EXPECT_STREQ("007", s.SetInt(7, 3).GetText());
  EXPECT_STREQ("1234", s.SetInt(1234, 3).GetText());
  // The zeros go after the sign: a padded negative number stays a number.
  EXPECT_STREQ("-05", s.SetInt(-5, 3).GetText());
  EXPECT_STREQ("0042", SString::FromIntPadded(42, 4).GetText());

  EXPECT_STREQ("1.5", s.SetDouble(1.5).GetText());
  EXPECT_EQ(8, s.GetCapacity());
  EXPECT_STREQ("100", s.SetDouble(100.0).GetText());
  EXPECT_STREQ("-3", s.SetDouble(-3.0).GetText());
  EXPECT_STREQ("0.000001", SString::FromDouble(0.000001).GetText());
  EXPECT_STREQ("0", SString::FromDouble(0.0000001).GetText());
  EXPECT_STREQ("1000000000000", SString::FromDouble(1e12).GetText());

  const char* numbers[] = {"-12", ".5", " 7 ", "\t0\t", "123456789012"};
  for (const char* text : numbers) EXPECT_TRUE(SString(text).IsNumber()) << text;
  const char* others[] = {"", "  ", "-", "5.", "1.2.3", " -5", "+5", "1e5", "1 2"};
  for (const char* text : others) EXPECT_FALSE(SString(text).IsNumber()) << text;
  EXPECT_FALSE(SString().IsNumber());
  EXPECT_TRUE(SString("-12").IsInteger());
  EXPECT_FALSE(SString("1.0").IsInteger());
}

TEST(SStringFormat, Hexadecimal) {
  SString s;
  EXPECT_STREQ("00FF", s.SetHex(255, 4).GetText());
  EXPECT_STREQ("00000000000000FF", s.SetHex(255, 20).GetText());
  EXPECT_STREQ("FF", s.SetHex(255, 1).GetText());
  EXPECT_STREQ("0", s.SetHex(0, 0).GetText());
  EXPECT_STREQ("FEDCBA9876543210", s.SetHex(0xFEDCBA9876543210ULL, 8).GetText());

  EXPECT_EQ(255u, SString("#FF").ParseHex());
  EXPECT_EQ(255u, SString("0xff").ParseHex());
  EXPECT_EQ(0u, SString("0F").ParseHex());
  EXPECT_EQ(0u, SString("0x").ParseHex());
  EXPECT_EQ(0u, SString().ParseHex());
  EXPECT_EQ(0u, SString("12G").ParseHex());
  EXPECT_EQ(0u, SString("12345678901234567").ParseHex());
  EXPECT_EQ(0xFFFFFFFFFFFFFFFFULL, SString("0XFFFFFFFFFFFFFFFF").ParseHex());
}

TEST(SStringFormat, DigestAndQuoting) {
  EXPECT_STREQ("", SString().GetMd5().GetText());
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", SString("").GetMd5().GetText());

  EXPECT_TRUE(SString("\"\"").IsQuoted());
  EXPECT_FALSE(SString("\"").IsQuoted());
  EXPECT_FALSE(SString("\"a\"b\"").IsQuoted());
  EXPECT_TRUE(SString("'x'").IsQuoted('\''));
  EXPECT_STREQ("abc", SString("\"abc\"").Unquoted().GetText());
  EXPECT_STREQ("'x'", SString("'x'").Unquoted().GetText());
  EXPECT_STREQ("\"a\"b\"", SString("\"a\"b\"").Unquoted().GetText());
}

TEST(SStringFormat, WordsAndLines) {
  SString s("  ab cd");
  int next = -1;
  EXPECT_STREQ("ab", s.GetWord(0, &next, false).GetText());
  EXPECT_EQ(4, next);
  EXPECT_STREQ("  ", s.GetWord(0, &next, true).GetText());
  EXPECT_EQ(2, next);
  EXPECT_STREQ("", s.GetWord(9, &next).GetText());
  EXPECT_EQ(9, next);
  next = 42;
  EXPECT_STREQ("", s.GetWord(-1, &next).GetText());
  EXPECT_EQ(42, next);
  EXPECT_STREQ("", SString("x \r\n").GetWord(1, &next).GetText());
  EXPECT_EQ(4, next);
  EXPECT_STREQ("b", s.GetWord(3, nullptr).GetText());

  SString crlf("a\r\nb");
  EXPECT_STREQ("a", crlf.GetLine(0, &next).GetText());
  EXPECT_EQ(3, next);
  EXPECT_STREQ("b", crlf.GetLine(next, &next).GetText());
  EXPECT_EQ(4, next);
  SString lf("a\n\rb");  // LF CR is two breaks
  EXPECT_STREQ("a", lf.GetLine(0, &next).GetText());
  EXPECT_EQ(2, next);
  EXPECT_STREQ("", lf.GetLine(2, &next).GetText());
  EXPECT_EQ(3, next);

  EXPECT_EQ(5, SString("ab\r\nabcde\nxyz").GetMaxLineLength());
  EXPECT_EQ(0, SString("\r\n\r\n").GetMaxLineLength());
}

TEST(SStringFormat, AlignLines) {
  const struct {
    const char* text;
    int alignment;
    int width;
    const char* expected;
  } rows[] = {
      {"aa bb cc", 0, 5, "aa bb\r\ncc   "},
      {"a b cc dd", 3, 7, "a  b cc\r\ndd     "},  // justified, the last line not
      {"ab", 1, 7, "  ab   "},
      {"ab", 2, 5, "   ab"},
      {"abcdefg", 0, 3, "abc\r\ndef\r\ng  "},  // a longer word is split
      {"x\r\n\r\n\tyz ", 0, 6, "x     \r\n      \r\n    yz"},  // tabs become four spaces
      {"ab\r\nabcd", 0, 0, "ab  \r\nabcd"},  // the width of the longest line
      {"", 0, 0, ""},
  };
  for (const auto& row : rows) {
    SString s(row.text);
    s.AlignLines(row.alignment, row.width);
    EXPECT_STREQ(row.expected, s.GetText()) << row.text;
  }
}

TEST(SStringFormat, XmlTokens) {
  SString s("  <item name=\"a>b\"  size=\"2\" >text here</item><empty/>");
  int next = -1;
  bool isTag = false, opening = false, closing = false;
  SString token = s.GetXmlToken(0, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("<item name=\"a>b\" size=\"2\" >", token.GetText());
  EXPECT_TRUE(isTag && opening && !closing);
  token = s.GetXmlToken(next, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("text here", token.GetText());
  EXPECT_FALSE(isTag);
  token = s.GetXmlToken(next, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("</item>", token.GetText());
  EXPECT_TRUE(!opening && closing);
  token = s.GetXmlToken(next, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("<empty/>", token.GetText());
  EXPECT_TRUE(opening && closing);
  EXPECT_EQ(s.GetLength(), next);
  EXPECT_STREQ("", s.GetXmlToken(next, &next, &isTag).GetText());
  EXPECT_FALSE(isTag);

  // An unclosed tag gives nothing and ends the text.
  SString open("  <a b=\"c\"");
  EXPECT_STREQ("", open.GetXmlToken(0, &next, &isTag).GetText());
  EXPECT_TRUE(isTag);
  EXPECT_EQ(open.GetLength(), next);
  next = 7;
  EXPECT_STREQ("", open.GetXmlToken(-1, &next, &isTag).GetText());
  EXPECT_EQ(7, next);
  EXPECT_STREQ("", SString("x \r\n ").GetXmlToken(1, &next, &isTag).GetText());
  EXPECT_EQ(5, next);  // trailing blanks are passed over

  SString tag(" \t<a   b = \"x  y\"   c=\"1\"\t/> ");
  tag.SqueezeTagBlanks();
  EXPECT_STREQ("<a b=\"x  y\" c=\"1\" />", tag.GetText());
  SString end("< /end >");
  end.SqueezeTagBlanks();
  EXPECT_STREQ("</end>", end.GetText());
}

TEST(SStringFormat, Base64) {
  SString s("abc");
  s.EncodeBase64();
  EXPECT_STREQ("YWJj=", s.GetText());
  s.DecodeBase64();
  EXPECT_STREQ("abc", s.GetText());
  s = "a";
  s.EncodeBase64();
  EXPECT_STREQ("YQ=", s.GetText());
  s.DecodeBase64();
  EXPECT_STREQ("a", s.GetText());
  s = "";
  s.EncodeBase64();
  EXPECT_STREQ("", s.GetText());
  s.DecodeBase64();
  EXPECT_STREQ("", s.GetText());

  // Every byte but NUL survives, on one line; "-" and "_" read as 62 and 63.
  std::string bytes;
  for (int i = 1; i < 256; ++i) bytes += (char)i;
  s = bytes.c_str();
  s.EncodeBase64();
  EXPECT_EQ(-1, s.FindChar('\n'));
  s.DecodeBase64();
  EXPECT_STREQ(bytes.c_str(), s.GetText());
  SString url("-_-_="), standard("+/+/=");
  url.DecodeBase64();
  standard.DecodeBase64();
  EXPECT_STREQ(standard.GetText(), url.GetText());

  // The text ends at the first decoded NUL.
  SString nul("YQBi=");
  nul.DecodeBase64();
  EXPECT_STREQ("a", nul.GetText());
}

TEST(SStringFormat, KeyedHex) {
  SString empty("");
  empty.DecodeKeyedHex();
  EXPECT_STREQ("", empty.GetText());
  SString odd("FFFFF");
  odd.DecodeKeyedHex();
  EXPECT_EQ(2, odd.GetLength());

  // The key comes back from a decoded run of "FF" pairs (0xFF - key byte);
  // a text enciphered with it decodes to the original.
  SString keyText("FFFFFFFFFFFFFFFF");
  keyText.DecodeKeyedHex();
  ASSERT_EQ(8, keyText.GetLength());
  const char* plain = "https://example.test/page";
  SString cipher;
  for (int i = 0; plain[i]; ++i) {
    int key = 0xFF - keyText.GetByteAt(i % 8);
    SString pair;
    pair.SetHex((unsigned char)(plain[i] + key), 2);
    cipher += pair;
  }
  cipher.DecodeKeyedHex();
  EXPECT_STREQ(plain, cipher.GetText());

  SString bad("zz");
  bad.DecodeKeyedHex();  // a rejected pair reads as 0
  EXPECT_EQ(1, bad.GetLength());
}
