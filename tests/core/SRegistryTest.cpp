#include "core/Platform.h"
#include "core/SRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kTestKey[] = "Software\\Vandro Core Tests\\Registry";
const char kTestParent[] = "Software\\Vandro Core Tests";

class SRegistryTest : public ::testing::Test {
protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestParent);
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestParent);
  }

  // Stores raw bytes of any type, bypassing SRegistry.
  static void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  SString Text(const char* name) { return reg.GetString(HKEY_CURRENT_USER, kTestKey, name); }
  uint32_t Number(const char* name) { return reg.GetNumber(HKEY_CURRENT_USER, kTestKey, name); }

  SRegistry reg;
};

TEST_F(SRegistryTest, ValuesRoundTripAndOtherTypesReadSafely) {
  EXPECT_EQ(0u, Number("never"));  // missing keys and values read as defaults
  EXPECT_EQ(0, Text("never").GetLength());
  // The first write creates every missing level of the path.
  EXPECT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "name", "Player One"));
  EXPECT_EQ(SString("Player One"), Text("name"));
  // Texts are read up to 255 characters.
  std::string limit(255, 'x'), past(256, 'y');
  EXPECT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "limit", limit.c_str()));
  EXPECT_EQ(SString(limit.c_str()), Text("limit"));
  EXPECT_TRUE(reg.SetString(HKEY_CURRENT_USER, kTestKey, "past", past.c_str()));
  EXPECT_EQ(0, Text("past").GetLength());
  EXPECT_TRUE(reg.SetNumber(HKEY_CURRENT_USER, kTestKey, "all", 0xFFFFFFFF));
  EXPECT_EQ(0xFFFFFFFFu, Number("all"));
  EXPECT_TRUE(reg.SetBool(HKEY_CURRENT_USER, kTestKey, "on", true));
  EXPECT_EQ(1u, Number("on"));

  // Writers refuse an empty path; readers read the root key's own values.
  EXPECT_FALSE(reg.SetString(HKEY_CURRENT_USER, "", "x", "y"));
  EXPECT_FALSE(reg.SetNumber(HKEY_CURRENT_USER, "", "x", 1));
  EXPECT_FALSE(reg.SetBool(HKEY_CURRENT_USER, nullptr, "x", true));
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key));
  EXPECT_EQ(SString("Player One"), reg.GetString(key, nullptr, "name"));
  RegCloseKey(key);
  char bytes[256];
  memset(bytes, 'b', sizeof(bytes));
  const char expand[] = "%TEMP%\\x";
  SetRaw("num", REG_DWORD, "AAAA", 4);
  SetRaw("txt", REG_SZ, "ab", 3);
  SetRaw("bin", REG_BINARY, bytes, sizeof(bytes));  // fills the read buffer, no NUL
  SetRaw("raw", REG_SZ, bytes, 10);                 // stored without its NUL
  SetRaw("exp", REG_EXPAND_SZ, expand, sizeof(expand));
  SetRaw("bin4", REG_BINARY, "\x07\0\0\0", 4);
  SetRaw("short", REG_DWORD, "\x07", 1);
  EXPECT_EQ(0, Text("num").GetLength());
  EXPECT_EQ(0u, Number("txt"));
  EXPECT_EQ(0, Text("bin").GetLength());
  EXPECT_EQ(SString("bbbbbbbbbb"), Text("raw"));
  EXPECT_EQ(SString(expand), Text("exp"));
  EXPECT_EQ(0u, Number("bin4"));
  EXPECT_EQ(0u, Number("short"));
  SetRaw("rawfull", REG_SZ, bytes, sizeof(bytes));
  SString full = Text("rawfull");
  EXPECT_LE(full.GetLength(), 256);
  EXPECT_EQ(full.GetLength(), static_cast<int>(strlen(full.GetText())));
}

}  // namespace
