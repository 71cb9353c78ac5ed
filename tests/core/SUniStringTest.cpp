#include "core/Platform.h"
#include "core/SUniString.h"

#include "tests/core/CodePageSupport.h"

#include <gtest/gtest.h>

#include <wchar.h>

#include <string>

TEST(SUniString, CapacityRuleCountsCharacters) {
  SUniString none(nullptr), seven("1234567"), eight("12345678");
  EXPECT_EQ(8, none.GetCapacity());
  EXPECT_EQ(0, none.GetText()[0]);
  EXPECT_EQ(8, seven.GetCapacity());
  EXPECT_STREQ(L"1234567", seven.GetText());
  EXPECT_EQ(16, eight.GetCapacity());
  eight.SetLength(3, true);
  EXPECT_EQ(8, eight.GetCapacity());
  EXPECT_STREQ(L"123", eight.GetText());
  eight.SetLength(20, true);
  EXPECT_EQ(32, eight.GetCapacity());
  EXPECT_EQ(0, wmemcmp(L"123", eight.GetText(), 3));
  SUniString target;
  target.Assign(seven);
  target = target;
  EXPECT_STREQ(L"1234567", target.GetText());
  target.SetEmpty();
  EXPECT_EQ(0, target.GetText()[0]);

  // Whatever the code page, no unset character stands before the NUL.
  const char* text = "caf\xE9 \x81\x40 \xC4\x80";
  SUniString s(text);
  wchar_t expected[32];
  int n = ::MultiByteToWideChar(CP_ACP, 0, text, (int)strlen(text), expected, 32);
  ASSERT_EQ(n, s.GetLength());
  EXPECT_EQ((size_t)n, wcslen(s.GetText()));
  EXPECT_EQ(0, wmemcmp(expected, s.GetText(), n));
}

TEST(SUniString, DoubleByteTextHasOneCharacterPerPair) {
  if (!UsesCodePage932()) GTEST_SKIP() << "needs the ANSI code page 932";
  // "\x81\x40" is the ideographic space U+3000: 5 bytes, 4 characters.
  SUniString s("a\x81\x40" "bc");
  EXPECT_EQ(8, s.GetCapacity());
  EXPECT_STREQ(L"a\x3000" L"bc", s.GetText());
  // Sixteen pairs: 32 bytes would want capacity 64, 16 characters want 32.
  std::string pairs;
  for (int i = 0; i < 16; ++i) pairs += "\x81\x40";
  SUniString wide(pairs.c_str());
  EXPECT_EQ(32, wide.GetCapacity());
  EXPECT_EQ(std::wstring(16, L'\x3000'), std::wstring(wide.GetText()));
}
