// Conversion tests that need the double-byte ANSI code page 932 run in a
// second ctest entry under a Japanese locale; that entry names the code page
// it expects in CORE_TESTS_CODE_PAGE, so that a locale Wine did not take
// fails there instead of skipping. Elsewhere the tests are skipped.
#pragma once

#include "core/Platform.h"

#include <gtest/gtest.h>

#include <stdlib.h>

inline bool UsesCodePage932() {
  const char* named = getenv("CORE_TESTS_CODE_PAGE");
  if (named && *named) {
    EXPECT_EQ(UINT(atoi(named)), ::GetACP()) << "the locale gave another code page";
  }
  return ::GetACP() == 932;
}
