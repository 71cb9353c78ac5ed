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
  EXPECT_EQ(1, s.GetLength());
  EXPECT_EQ(64, s.GetCapacity());  // estimate 32

  s.Format("%s", "abc");
  EXPECT_EQ(8, s.GetCapacity());
  s.Format("%5.1f", 2.3);
  EXPECT_STREQ("  2.3", s.GetText());
  EXPECT_EQ(512, s.GetCapacity());  // estimate 313
  s.Format("100%% %c", 'x');
  EXPECT_STREQ("100% x", s.GetText());
  EXPECT_EQ(8, s.GetCapacity());  // 6 + 2
  s.Format("%-*s|", 20, "ab");
  EXPECT_STREQ("ab                  |", s.GetText());
  s.Format("%.2s", "abcdef");
  EXPECT_STREQ("ab", s.GetText());
  s.Format("%s %S", (const char*)nullptr, L"wide");
  EXPECT_STREQ("(null) wide", s.GetText());
  s.Format("%hs|%ls|%hS", "n", L"w", "m");
  EXPECT_STREQ("n|w|m", s.GetText());
}

TEST(SStringFormat, SixtyFourBitIntegers) {
  SString s;
  s.Format("%I64X", 0x123456789ABCDEF0ULL);
  EXPECT_STREQ("123456789ABCDEF0", s.GetText());
  s.Format("%I64d and %s", -1234567890123LL, "text");
  EXPECT_STREQ("-1234567890123 and text", s.GetText());
  s.Format("%lld|%llu|%s", -5LL, 18446744073709551615ULL, "end");
  EXPECT_STREQ("-5|18446744073709551615|end", s.GetText());
  s.Format("%d %I64u %d", 1, 4294967296ULL, 2);
  EXPECT_STREQ("1 4294967296 2", s.GetText());
}

TEST(SStringFormat, EstimateTakesTheArgumentsTheFormatterTakes) {
  // "E" and "a" take a double like "e", so that a later string is read from
  // the right place. The values have non-zero low words: read as a string
  // pointer, that word points nowhere.
  SString s;
  s.Format("%E|%s", 1.1, "text");
  EXPECT_STREQ("text", s.GetText() + s.FindChar('|') + 1);
  EXPECT_EQ('E', s.GetAt(8));
  EXPECT_EQ(256, s.GetCapacity());  // estimate 128 + 1 + 4
  s.Format("%a|%s", 1.1, "after");
  EXPECT_STREQ("after", s.GetText() + s.FindChar('|') + 1);
  EXPECT_EQ(256, s.GetCapacity());  // estimate 128 + 1 + 5
  s.Format("%*d|%.*s|%s", 4, 7, 2, "abc", "end");
  EXPECT_STREQ("   7|ab|end", s.GetText());
  s.Format("%Iu|%s", (size_t)9, "end");
  EXPECT_STREQ("9|end", s.GetText());
}

TEST(SStringFormat, OutputLongerThanTheEstimateIsNeverCut) {
  // 300 digits of precision exceed the estimate of 300 for "e".
  SString s = Formatted("%.300e", 1.0);
  EXPECT_EQ(307, s.GetLength());
  EXPECT_EQ(512, s.GetCapacity());
  EXPECT_STREQ("e+000", s.GetText() + 302);

  std::string big(5000, 'x');
  s.Format("%s", big.c_str());
  EXPECT_EQ(5000, s.GetLength());
  EXPECT_EQ(8192, s.GetCapacity());
}

TEST(SStringFormat, ArgumentsFromTheOwnBuffer) {
  SString s("abc");
  s.Format("%s-%s", s.GetText(), s.GetText());
  EXPECT_STREQ("abc-abc", s.GetText());
  SString f("[%s]");
  f.Format(f.GetText(), "x");
  EXPECT_STREQ("[x]", f.GetText());
}

TEST(SStringFormat, Integers) {
  SString s;
  EXPECT_STREQ("-42", s.FormatInt(-42).GetText());
  EXPECT_STREQ("4000000000", s.FormatUInt(4000000000u).GetText());
  EXPECT_STREQ("-7", SString::FromInt(-7).GetText());
  EXPECT_STREQ("4294967295", SString::FromUInt(0xFFFFFFFFu).GetText());

  EXPECT_STREQ("007", s.SetInt(7, 3).GetText());
  EXPECT_STREQ("1234", s.SetInt(1234, 3).GetText());
  EXPECT_STREQ("0", s.SetInt(0, 0).GetText());
  // The zeros go after the sign: a padded negative number stays a number.
  EXPECT_STREQ("-05", s.SetInt(-5, 3).GetText());
  EXPECT_STREQ("-5", s.SetInt(-5, 2).GetText());
  EXPECT_STREQ("0042", SString::FromIntPadded(42, 4).GetText());
}

TEST(SStringFormat, Doubles) {
  SString s;
  EXPECT_STREQ("1.5", s.SetDouble(1.5).GetText());
  EXPECT_EQ(8, s.GetCapacity());
  EXPECT_STREQ("2", s.SetDouble(2.0).GetText());
  EXPECT_STREQ("0", s.SetDouble(0.0).GetText());
  EXPECT_STREQ("100", s.SetDouble(100.0).GetText());
  EXPECT_STREQ("0.25", s.SetDouble(0.25).GetText());
  EXPECT_STREQ("-3", s.SetDouble(-3.0).GetText());
  EXPECT_STREQ("0.000001", SString::FromDouble(0.000001).GetText());
  EXPECT_STREQ("0", SString::FromDouble(0.0000001).GetText());
  EXPECT_STREQ("1000000000000", SString::FromDouble(1e12).GetText());
}

TEST(SStringFormat, Hexadecimal) {
  SString s;
  EXPECT_STREQ("00FF", s.SetHex(255, 4).GetText());
  EXPECT_STREQ("00000000000000FF", s.SetHex(255, 20).GetText());
  EXPECT_STREQ("FF", s.SetHex(255, 1).GetText());
  EXPECT_STREQ("0", s.SetHex(0, 0).GetText());
  EXPECT_STREQ("FEDCBA9876543210", s.SetHex(0xFEDCBA9876543210ULL, 8).GetText());
  EXPECT_STREQ("00001230", s.SetHex(0x1230, 8).GetText());

  EXPECT_EQ(255u, SString("#FF").ParseHex());
  EXPECT_EQ(255u, SString("0xff").ParseHex());
  EXPECT_EQ(255u, SString("FF").ParseHex());
  EXPECT_EQ(0u, SString("0F").ParseHex());
  EXPECT_EQ(0u, SString("0").ParseHex());
  EXPECT_EQ(0u, SString("0x").ParseHex());
  EXPECT_EQ(0u, SString("#").ParseHex());
  EXPECT_EQ(0u, SString("").ParseHex());
  EXPECT_EQ(0u, SString().ParseHex());
  EXPECT_EQ(0u, SString("12G").ParseHex());
  EXPECT_EQ(0u, SString("12345678901234567").ParseHex());
  EXPECT_EQ(0x1234567890ABCDEFULL, SString("1234567890abcdef").ParseHex());
  EXPECT_EQ(0xFFFFFFFFFFFFFFFFULL, SString("0XFFFFFFFFFFFFFFFF").ParseHex());
}

TEST(SStringFormat, NumberTests) {
  const char* numbers[] = {"-12", "3.5", ".5", " 7 ", "\t0\t", "-0.25", "123456789012"};
  for (const char* text : numbers) EXPECT_TRUE(SString(text).IsNumber()) << text;
  const char* others[] = {"", "  ", "-", "5.", "1.2.3", " -5", "+5", "1-2", "1e5", "1 2"};
  for (const char* text : others) EXPECT_FALSE(SString(text).IsNumber()) << text;
  EXPECT_FALSE(SString().IsNumber());

  EXPECT_TRUE(SString("12").IsInteger());
  EXPECT_TRUE(SString("-12").IsInteger());
  EXPECT_FALSE(SString("1.0").IsInteger());
  EXPECT_FALSE(SString("x").IsInteger());
}

TEST(SStringFormat, Md5) {
  EXPECT_STREQ("", SString().GetMd5().GetText());
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", SString("").GetMd5().GetText());
  EXPECT_STREQ("900150983CD24FB0D6963F7D28E17F72", SString("abc").GetMd5().GetText());
}

TEST(SStringFormat, Quoting) {
  EXPECT_TRUE(SString("\"abc\"").IsQuoted());
  EXPECT_TRUE(SString("\"\"").IsQuoted());
  EXPECT_FALSE(SString("\"").IsQuoted());
  EXPECT_FALSE(SString("\"a\"b\"").IsQuoted());
  EXPECT_FALSE(SString("\"abc").IsQuoted());
  EXPECT_TRUE(SString("'x'").IsQuoted('\''));
  EXPECT_STREQ("abc", SString("\"abc\"").Unquoted().GetText());
  EXPECT_STREQ("'x'", SString("'x'").Unquoted().GetText());
  EXPECT_STREQ("\"a\"b\"", SString("\"a\"b\"").Unquoted().GetText());
}

TEST(SStringFormat, Words) {
  SString s("  ab cd");
  int next = -1;
  EXPECT_STREQ("ab", s.GetWord(0, &next, false).GetText());
  EXPECT_EQ(4, next);
  EXPECT_STREQ("  ", s.GetWord(0, &next, true).GetText());
  EXPECT_EQ(2, next);
  EXPECT_STREQ("cd", s.GetWord(4, &next).GetText());
  EXPECT_EQ(7, next);
  EXPECT_STREQ("", s.GetWord(7, &next).GetText());
  EXPECT_EQ(7, next);
  EXPECT_STREQ("", s.GetWord(9, &next).GetText());
  EXPECT_EQ(9, next);
  next = 42;
  EXPECT_STREQ("", s.GetWord(-1, &next).GetText());
  EXPECT_EQ(42, next);
  EXPECT_STREQ("b", s.GetWord(3, nullptr).GetText());

  SString tail("x \r\n");
  EXPECT_STREQ("", tail.GetWord(1, &next).GetText());
  EXPECT_EQ(4, next);
}

TEST(SStringFormat, Lines) {
  SString s("a\r\nb");
  int next = -1;
  EXPECT_STREQ("a", s.GetLine(0, &next).GetText());
  EXPECT_EQ(3, next);
  EXPECT_STREQ("b", s.GetLine(next, &next).GetText());
  EXPECT_EQ(4, next);

  SString lf("a\n\rb");  // LF CR is two breaks
  EXPECT_STREQ("a", lf.GetLine(0, &next).GetText());
  EXPECT_EQ(2, next);
  EXPECT_STREQ("", lf.GetLine(2, &next).GetText());
  EXPECT_EQ(3, next);
  next = 42;
  EXPECT_STREQ("", lf.GetLine(-1, &next).GetText());
  EXPECT_EQ(42, next);

  EXPECT_EQ(5, SString("ab\r\nabcde\nxyz").GetMaxLineLength());
  EXPECT_EQ(0, SString("").GetMaxLineLength());
  EXPECT_EQ(0, SString("\r\n\r\n").GetMaxLineLength());
}

TEST(SStringFormat, AlignLines) {
  SString s("aa bb cc");
  s.AlignLines(0, 5);
  EXPECT_STREQ("aa bb\r\ncc   ", s.GetText());

  s = "aa bb cc";
  s.AlignLines(3, 5);
  EXPECT_STREQ("aa bb\r\ncc   ", s.GetText());

  s = "a b cc dd";
  s.AlignLines(3, 7);
  EXPECT_STREQ("a  b cc\r\ndd     ", s.GetText());

  s = "ab";
  s.AlignLines(1, 7);
  EXPECT_STREQ("  ab   ", s.GetText());
  s = "ab";
  s.AlignLines(2, 5);
  EXPECT_STREQ("   ab", s.GetText());

  // A word longer than the width is split; an empty line becomes blanks;
  // tabs become four spaces; the width defaults to the longest line.
  s = "abcdefg";
  s.AlignLines(0, 3);
  EXPECT_STREQ("abc\r\ndef\r\ng  ", s.GetText());
  s = "x\r\n\r\n\tyz ";
  s.AlignLines(0, 6);
  EXPECT_STREQ("x     \r\n      \r\n    yz", s.GetText());
  s = "ab\r\nabcd";
  s.AlignLines(0, 0);
  EXPECT_STREQ("ab  \r\nabcd", s.GetText());

  s = "";
  s.AlignLines(0, 0);
  EXPECT_STREQ("", s.GetText());
}

TEST(SStringFormat, XmlTokens) {
  SString s("  <item name=\"a>b\"  size=\"2\" >text here</item><empty/>");
  int next = -1;
  bool isTag = false, opening = false, closing = false;
  SString token = s.GetXmlToken(0, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("<item name=\"a>b\" size=\"2\" >", token.GetText());
  EXPECT_TRUE(isTag);
  EXPECT_TRUE(opening);
  EXPECT_FALSE(closing);

  token = s.GetXmlToken(next, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("text here", token.GetText());
  EXPECT_FALSE(isTag);
  EXPECT_EQ('<', s.GetAt(next));

  token = s.GetXmlToken(next, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("</item>", token.GetText());
  EXPECT_FALSE(opening);
  EXPECT_TRUE(closing);

  token = s.GetXmlToken(next, &next, &isTag, &opening, &closing);
  EXPECT_STREQ("<empty/>", token.GetText());
  EXPECT_TRUE(opening);
  EXPECT_TRUE(closing);
  EXPECT_EQ(s.GetLength(), next);

  token = s.GetXmlToken(next, &next, &isTag);
  EXPECT_STREQ("", token.GetText());
  EXPECT_FALSE(isTag);
  EXPECT_EQ(s.GetLength(), next);

  SString open("  <a b=\"c\"");
  token = open.GetXmlToken(0, &next, &isTag);
  EXPECT_STREQ("", token.GetText());
  EXPECT_TRUE(isTag);
  EXPECT_EQ(open.GetLength(), next);

  SString blanks("x \r\n ");
  token = blanks.GetXmlToken(1, &next, &isTag);
  EXPECT_STREQ("", token.GetText());
  EXPECT_EQ(5, next);
  next = 7;
  isTag = true;
  EXPECT_STREQ("", blanks.GetXmlToken(-1, &next, &isTag).GetText());
  EXPECT_EQ(7, next);
  EXPECT_TRUE(isTag);
}

TEST(SStringFormat, SqueezeTagBlanks) {
  SString s(" \t<a   b = \"x  y\"   c=\"1\"\t/> ");
  s.SqueezeTagBlanks();
  EXPECT_STREQ("<a b=\"x  y\" c=\"1\" />", s.GetText());
  SString t("< /end >");
  t.SqueezeTagBlanks();
  EXPECT_STREQ("</end>", t.GetText());
  SString tab("<a\tb>");
  tab.SqueezeTagBlanks();
  EXPECT_STREQ("<a b>", tab.GetText());
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

  s = "ab";
  s.EncodeBase64();
  EXPECT_STREQ("YWI=", s.GetText());

  s = "";
  s.EncodeBase64();
  EXPECT_STREQ("", s.GetText());
  s.DecodeBase64();
  EXPECT_STREQ("", s.GetText());

  // Every byte but NUL survives; "-" and "_" read as 62 and 63.
  std::string bytes;
  for (int i = 1; i < 256; ++i) bytes += (char)i;
  s = bytes.c_str();
  s.EncodeBase64();
  EXPECT_EQ(-1, s.FindChar('\n'));
  s.DecodeBase64();
  EXPECT_STREQ(bytes.c_str(), s.GetText());

  SString url("-_-_=");
  SString standard("+/+/=");
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
