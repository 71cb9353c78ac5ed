#include "core/Platform.h"
#include "core/SKeyboard.h"
#include "core/SStringArray.h"

#include <gtest/gtest.h>

namespace {

TEST(SKeyboardTest, KeyNamesAndCodes) {
  SKeyboard keyboard;
  ASSERT_EQ(256, SKeyboard::GetKeyNames().GetCount());
  EXPECT_EQ(SString("A"), SKeyboard::GetKeyName(0x41));
  EXPECT_EQ(SString("NUM0"), SKeyboard::GetKeyName(0x60));
  EXPECT_EQ(SString("F16"), SKeyboard::GetKeyName(0x7F));
  EXPECT_EQ(SString("SEPARATOR"), SKeyboard::GetKeyName(VK_SEPARATOR));
  EXPECT_EQ(SString("PA1"), SKeyboard::GetKeyName(253));
  // Codes without a name: F17-F24, 42, 95, 252, 254, and codes out of range.
  for (int code : {0, 42, 95, 0x80, 0x87, 252, 254, 255, -1, 256})
    EXPECT_EQ(0, SKeyboard::GetKeyName(code).GetLength()) << code;

  // Every name leads back to its own code; names match exactly.
  int named = 0;
  for (int code = 0; code < 256; ++code) {
    SString name = SKeyboard::GetKeyName(code);
    if (name.GetLength()) {
      ++named;
      EXPECT_EQ(code, SKeyboard::FindKeyCode(name.GetText())) << code;
    }
  }
  EXPECT_EQ(109, named);
  EXPECT_EQ(-1, SKeyboard::FindKeyCode("F17"));
  EXPECT_EQ(-1, SKeyboard::FindKeyCode("escape"));
  EXPECT_EQ(-1, SKeyboard::FindKeyCode(""));
  EXPECT_EQ(-1, SKeyboard::FindKeyCode(nullptr));
}

TEST(SKeyboardTest, TheTableIsBuiltOnceAndFreedAtShutdown) {
  {
    SKeyboard first;
    SKeyboard second;
    SKeyboard::BuildKeyNames();
    EXPECT_EQ(256, SKeyboard::GetKeyNames().GetCount());
  }
  SKeyboard::FreeKeyNames();
  EXPECT_EQ(0, SKeyboard::GetKeyNames().GetCount());
  EXPECT_EQ(0, SKeyboard::GetKeyName(0x41).GetLength());
  EXPECT_EQ(-1, SKeyboard::FindKeyCode("A"));
  SKeyboard again;
  EXPECT_EQ(256, SKeyboard::GetKeyNames().GetCount());
  EXPECT_EQ(SString("A"), SKeyboard::GetKeyName(0x41));
}

TEST(SKeyboardTest, SystemQueries) {
  const struct {
    DWORD platform, major, minor;
    int code;
  } versions[] = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1}, {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 3},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 4}, {VER_PLATFORM_WIN32_NT, 4, 0, 2},
      {VER_PLATFORM_WIN32_NT, 5, 0, 5},      {VER_PLATFORM_WIN32_NT, 5, 2, 6},
      {VER_PLATFORM_WIN32_NT, 6, 0, 7},      {VER_PLATFORM_WIN32_NT, 7, 0, 8},
      {VER_PLATFORM_WIN32_NT, 6, 1, 255},    {VER_PLATFORM_WIN32_WINDOWS, 5, 0, 255},
      {VER_PLATFORM_WIN32s, 4, 0, 255},
  };
  for (const auto& v : versions)
    EXPECT_EQ(v.code, WindowsVersionCodeOf(v.platform, v.major, v.minor))
        << v.platform << " " << v.major << "." << v.minor;
  // The prefix here reports a version from 6.1 on.
  EXPECT_GE(GetWindowsVersionCode(), 7);

  RECT area = {1, 2, 3, 4};
  GetWorkArea(&area);
  EXPECT_GT(area.right - area.left, 0);
  EXPECT_GT(area.bottom - area.top, 0);
  EXPECT_LE(area.right - area.left, GetSystemMetrics(SM_CXSCREEN));
  GetWorkArea(nullptr);
}

void SendKey(WORD vk, bool up) {
  INPUT input;
  memset(&input, 0, sizeof(input));
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

TEST(SKeyboardTest, ModifierKeysHeldNow) {
  EXPECT_EQ(0, GetModifierKeys());
  SendKey(VK_CONTROL, false);
  EXPECT_EQ(2, GetModifierKeys());
  SendKey(VK_SHIFT, false);
  EXPECT_EQ(3, GetModifierKeys());
  SendKey(VK_MENU, false);
  EXPECT_EQ(3, GetModifierKeys());  // Alt is not reported
  SendKey(VK_MENU, true);
  SendKey(VK_CONTROL, true);
  EXPECT_EQ(1, GetModifierKeys());
  SendKey(VK_SHIFT, true);
  EXPECT_EQ(0, GetModifierKeys());
}

}  // namespace
