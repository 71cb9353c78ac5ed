#include "core/Platform.h"
#include "core/SIni.h"

#include "core/SFileMem.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An SIni loaded from the text.
struct Loaded {
  explicit Loaded(const char* text) {
    SFileMem source(text);
    EXPECT_TRUE(ini.Load(&source));
  }
  std::string operator()(const char* section, const char* key) {
    return Text(ini.GetValue(section, key));
  }
  SIni ini;
};

}  // namespace

TEST(SIni, HeadersAndKeys) {
  Loaded ini(
      "  [Main]\t\r\n"
      "Name=File\r\n"
      "blank = value\r\n"
      "a=b=c\r\n"
      "x\r\n"
      "=nokey\r\n"
      "same=first\r\n"
      "same=second\r\n"
      "[ Spaced ]\r\n"
      "k=v\r\n"
      "  [Next]\r\n"
      "later=1\n"
      "cr=w\rx\r\n"
      "[Main]\r\n"
      "again=2");
  // Sections and keys match without regard to case.
  EXPECT_EQ("File", ini("MAIN", "name"));
  EXPECT_EQ("", ini("Main", "missing"));
  EXPECT_EQ("", ini("Other", "name"));
  EXPECT_EQ("", ini("Main", "blank"));  // the key is "blank " with its blank
  EXPECT_EQ(" value", ini("Main", "blank "));
  EXPECT_EQ("b=c", ini("Main", "a"));
  EXPECT_EQ("nokey", ini("Main", ""));
  EXPECT_EQ("first", ini("Main", "same"));
  EXPECT_EQ("v", ini(" Spaced ", "k"));
  EXPECT_EQ("", ini("Spaced", "k"));
  // A key of the next section is not found in the one before it, also when
  // the header is indented; only the first section of a name is searched.
  EXPECT_EQ("", ini(" Spaced ", "later"));
  EXPECT_EQ("", ini("Main", "again"));
  // Lines end only at CR LF: a lone LF or CR stays inside the line.
  EXPECT_EQ("1\ncr=w\rx", ini("next", "later"));
}

TEST(SIni, LoadAndEmptyStates) {
  SIni never;
  EXPECT_EQ("", Text(never.GetValue("a", "b")));
  EXPECT_FALSE(never.Load(nullptr));

  // Loading takes the source from its position and replaces what was there.
  SFileMem source("[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
  source.Seek(10);
  SIni ini;
  ASSERT_TRUE(ini.Load(&source));
  EXPECT_EQ("", Text(ini.GetValue("A", "k")));
  EXPECT_EQ("2", Text(ini.GetValue("B", "k")));
  SFileMem other("[C]\r\nk=3");
  ASSERT_TRUE(ini.Load(&other));
  EXPECT_EQ("", Text(ini.GetValue("B", "k")));
  EXPECT_EQ("3", Text(ini.GetValue("c", "K")));
  EXPECT_EQ("", Text(ini.GetValue(nullptr, "k")));
  SFileMem empty;
  ASSERT_TRUE(ini.Load(&empty));
  EXPECT_EQ("", Text(ini.GetValue("C", "k")));
}
