#include "core/Platform.h"
#include "core/SUniString.h"

#include "tests/core/CodePageSupport.h"

#include <gtest/gtest.h>

#include <wchar.h>

#include <string>

TEST(SUniString, CapacityRuleCountsCharacters) {
  SUniString none(nullptr);
  EXPECT_EQ(0, none.GetLength());
  EXPECT_EQ(8, none.GetCapacity());
  ASSERT_NE(nullptr, none.GetText());
  EXPECT_EQ(0, none.GetText()[0]);
  SUniString seven("1234567");
  EXPECT_EQ(8, seven.GetCapacity());
  EXPECT_STREQ(L"1234567", seven.GetText());
  SUniString eight("12345678");
  EXPECT_EQ(16, eight.GetCapacity());

  eight.SetLength(3, true);
  EXPECT_EQ(8, eight.GetCapacity());
  EXPECT_STREQ(L"123", eight.GetText());
  eight.SetLength(20, true);
  EXPECT_EQ(32, eight.GetCapacity());
  EXPECT_EQ(0, wmemcmp(L"123", eight.GetText(), 3));
  EXPECT_EQ(0, eight.GetText()[20]);
  eight.SetLength(-1, false);
  EXPECT_EQ(0, eight.GetLength());
  EXPECT_EQ(8, eight.GetCapacity());

  SUniString source("copied text"), target;
  target.Assign(source);
  EXPECT_STREQ(L"copied text", target.GetText());
  EXPECT_EQ(16, target.GetCapacity());
  target = target;
  EXPECT_STREQ(L"copied text", target.GetText());
  target.SetEmpty();
  EXPECT_EQ(8, target.GetCapacity());
  EXPECT_EQ(0, target.GetText()[0]);
  EXPECT_STREQ(L"copied text", source.GetText());
}

TEST(SUniString, ConvertedTextEndsWhereTheConverterStopped) {
  // Whatever the code page, no unset character stands before the NUL.
  const char* text = "caf\xE9 \x81\x40 \xC4\x80";
  SUniString s(text);
  ASSERT_NE(nullptr, s.GetText());
  EXPECT_EQ((size_t)s.GetLength(), wcslen(s.GetText()));
  wchar_t expected[32];
  int n = ::MultiByteToWideChar(CP_ACP, 0, text, (int)strlen(text), expected, 32);
  ASSERT_GT(n, 0);
  EXPECT_EQ(n, s.GetLength());
  EXPECT_EQ(0, wmemcmp(expected, s.GetText(), n));
}

TEST(SUniString, DoubleByteTextHasOneCharacterPerPair) {
  if (!UsesCodePage932()) GTEST_SKIP() << "needs the ANSI code page 932";
  // "\x81\x40" is the ideographic space U+3000: 5 bytes, 4 characters.
  SUniString s("a\x81\x40" "bc");
  ASSERT_NE(nullptr, s.GetText());
  EXPECT_EQ(4, s.GetLength());
  EXPECT_EQ(8, s.GetCapacity());
  EXPECT_STREQ(L"a\x3000" L"bc", s.GetText());

  // Sixteen pairs: 32 bytes would want capacity 64, 16 characters want 32.
  std::string pairs;
  for (int i = 0; i < 16; ++i) pairs += "\x81\x40";
  SUniString wide(pairs.c_str());
  EXPECT_EQ(16, wide.GetLength());
  EXPECT_EQ(32, wide.GetCapacity());
  EXPECT_EQ(16u, wcslen(wide.GetText()));
  EXPECT_EQ(std::wstring(16, L'\x3000'), std::wstring(wide.GetText()));
}
