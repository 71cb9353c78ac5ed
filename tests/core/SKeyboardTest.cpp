#include "core/Platform.h"
#include "core/SKeyboard.h"
#include "core/SStringArray.h"

#include <gtest/gtest.h>

namespace {

TEST(SKeyboardTest, KeyNamesCodesAndSystemQueries) {
  SKeyboard keyboard;
  ASSERT_EQ(256, SKeyboard::GetKeyNames().GetCount());
  const struct {
    int code;
    const char* name;
  } names[] = {
      {0x41, "A"}, {0x60, "NUM0"}, {0x7F, "F16"}, {VK_SEPARATOR, "SEPARATOR"}, {253, "PA1"}};
  for (const auto& n : names) EXPECT_EQ(SString(n.name), SKeyboard::GetKeyName(n.code));
  // Codes without a name: F17-F24, 42, 95, 252, 254, and codes out of range.
  for (int code : {0, 42, 95, 0x80, 0x87, 252, 254, 255, -1, 256})
    EXPECT_EQ(0, SKeyboard::GetKeyName(code).GetLength()) << code;
  // Every name leads back to its own code; names match exactly.
  int named = 0;
  for (int code = 0; code < 256; ++code) {
    SString name = SKeyboard::GetKeyName(code);
    if (name.GetLength() == 0) continue;
    ++named;
    EXPECT_EQ(code, SKeyboard::FindKeyCode(name.GetText())) << code;
  }
  EXPECT_EQ(109, named);
  for (const char* unknown : {"F17", "escape", ""}) EXPECT_EQ(-1, SKeyboard::FindKeyCode(unknown));

  // The table is built once and freed at shutdown; a new keyboard builds it again.
  SKeyboard::FreeKeyNames();
  EXPECT_EQ(-1, SKeyboard::FindKeyCode("A"));
  SKeyboard again;
  EXPECT_EQ(SString("A"), SKeyboard::GetKeyName(0x41));
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
    EXPECT_EQ(v.code, WindowsVersionCodeOf(v.platform, v.major, v.minor)) << v.major << v.minor;
  EXPECT_GE(GetWindowsVersionCode(), 7);  // the prefix reports 6.1 or later
  RECT area = {1, 2, 3, 4};
  GetWorkArea(&area);
  EXPECT_GT(area.bottom - area.top, 0);
  EXPECT_LE(area.right - area.left, GetSystemMetrics(SM_CXSCREEN));

  // Modifier keys held now: Shift 1, Ctrl 2; Alt is not reported.
  const struct {
    WORD key;
    bool up;
    int modifiers;
  } steps[] = {{VK_CONTROL, false, 2}, {VK_SHIFT, false, 3},  {VK_MENU, false, 3},
               {VK_MENU, true, 3},     {VK_CONTROL, true, 1}, {VK_SHIFT, true, 0}};
  EXPECT_EQ(0, GetModifierKeys());
  for (const auto& step : steps) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = step.key;
    input.ki.dwFlags = step.up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
    EXPECT_EQ(step.modifiers, GetModifierKeys()) << step.key << " " << step.up;
  }
}

}  // namespace
