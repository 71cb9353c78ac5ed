#include "core/Platform.h"
#include "core/SRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kTestKey[] = "Software\\Vandro Core Tests\\Registry";
const char kTestParent[] = "Software\\Vandro Core Tests";

class SRegistryTest : public ::testing::Test {
protected:
  void SetUp() override { RemoveKey(); }
  void TearDown() override { RemoveKey(); }

  static void RemoveKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestParent);
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestParent);
  }
  // Stores raw bytes of any type, bypassing SRegistry.
  static void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
  }

  SRegistry reg;
};

TEST_F(SRegistryTest, ValuesRoundTrip) {
  // Missing keys and values read as defaults.
  EXPECT_EQ(0u, reg.GetNumber(HKEY_CURRENT_USER, kTestKey, "never"));
  EXPECT_EQ(0, reg.GetString(HKEY_CURRENT_USER, kTestKey, "never").GetLength());

  // The first write creates every missing level of the path.
  EXPECT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "name", "Player One"));
  EXPECT_EQ(SString("Player One"), reg.GetString(HKEY_CURRENT_USER, kTestKey, "name"));
  EXPECT_EQ(0, reg.GetString(HKEY_CURRENT_USER, kTestKey, "never").GetLength());
  // Texts are read up to 255 characters.
  std::string limit(255, 'x'), past(256, 'y');
  EXPECT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "limit", limit.c_str()));
  EXPECT_EQ(SString(limit.c_str()), reg.GetString(HKEY_CURRENT_USER, kTestKey, "limit"));
  EXPECT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "past", past.c_str()));
  EXPECT_EQ(0, reg.GetString(HKEY_CURRENT_USER, kTestKey, "past").GetLength());

  EXPECT_TRUE(reg.SetNumber(HKEY_CURRENT_USER, kTestKey, "all", 0xFFFFFFFF));
  EXPECT_EQ(0xFFFFFFFFu, reg.GetNumber(HKEY_CURRENT_USER, kTestKey, "all"));
  EXPECT_TRUE(reg.SetBool(HKEY_CURRENT_USER, kTestKey, "on", true));
  EXPECT_EQ(1u, reg.GetNumber(HKEY_CURRENT_USER, kTestKey, "on"));
  EXPECT_TRUE(reg.SetBool(HKEY_CURRENT_USER, kTestKey, "off", false));
  EXPECT_EQ(0u, reg.GetNumber(HKEY_CURRENT_USER, kTestKey, "off"));
}

TEST_F(SRegistryTest, WritersRefuseAnEmptyPathAndReadersUseTheRoot) {
  EXPECT_FALSE(reg.SetString(HKEY_CURRENT_USER, "", "x", "y"));
  EXPECT_FALSE(reg.SetNumber(HKEY_CURRENT_USER, "", "x", 1));
  EXPECT_FALSE(reg.SetBool(HKEY_CURRENT_USER, nullptr, "x", true));
  EXPECT_EQ(0u, reg.GetNumber(HKEY_CURRENT_USER, "", "x"));

  // An empty path reads the values of the root key itself.
  ASSERT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "inside", "v"));
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key));
  EXPECT_EQ(SString("v"), reg.GetString(key, "", "inside"));
  EXPECT_EQ(SString("v"), reg.GetString(key, nullptr, "inside"));
  RegCloseKey(key);
}

TEST_F(SRegistryTest, ValuesOfAnotherTypeReadSafely) {
  // A number read as text, and a text read as a number.
  ASSERT_TRUE(reg.SetNumber(HKEY_CURRENT_USER, kTestKey, "num", 0x41414141));
  EXPECT_EQ(0, reg.GetString(HKEY_CURRENT_USER, kTestKey, "num").GetLength());
  ASSERT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "txt", "ab"));
  EXPECT_EQ(0u, reg.GetNumber(HKEY_CURRENT_USER, kTestKey, "txt"));

  // Binary data that fills the whole read buffer without a NUL.
  char bytes[256];
  memset(bytes, 'b', sizeof(bytes));
  SetRaw("bin", REG_BINARY, bytes, sizeof(bytes));
  EXPECT_EQ(0, reg.GetString(HKEY_CURRENT_USER, kTestKey, "bin").GetLength());

  // A text stored without its NUL comes back terminated at its stored size.
  SetRaw("raw", REG_SZ, bytes, 10);
  EXPECT_EQ(SString("bbbbbbbbbb"), reg.GetString(HKEY_CURRENT_USER, kTestKey, "raw"));
  SetRaw("rawfull", REG_SZ, bytes, sizeof(bytes));
  SString full = reg.GetString(HKEY_CURRENT_USER, kTestKey, "rawfull");
  EXPECT_LE(full.GetLength(), 256);
  EXPECT_EQ(full.GetLength(), static_cast<int>(strlen(full.GetText())));

  const char expand[] = "%TEMP%\\x";
  SetRaw("exp", REG_EXPAND_SZ, expand, sizeof(expand));
  EXPECT_EQ(SString(expand), reg.GetString(HKEY_CURRENT_USER, kTestKey, "exp"));

  // A binary value, or a number stored short, is no number.
  SetRaw("bin4", REG_BINARY, "\x07\0\0\0", 4);
  EXPECT_EQ(0u, reg.GetNumber(HKEY_CURRENT_USER, kTestKey, "bin4"));
  SetRaw("short", REG_DWORD, "\x07", 1);
  EXPECT_EQ(0u, reg.GetNumber(HKEY_CURRENT_USER, kTestKey, "short"));
}

}  // namespace
