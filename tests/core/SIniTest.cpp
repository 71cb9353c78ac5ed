#include "core/Platform.h"
#include "core/SIni.h"

#include "core/SFileMem.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const SString& s) { return s.GetText() ? s.GetText() : ""; }

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

TEST(SIni, FindsValuesWithoutRegardToCase) {
  Loaded ini("[Main]\r\nname=File\r\n");
  EXPECT_EQ("File", ini("Main", "name"));
  EXPECT_EQ("File", ini("MAIN", "NAME"));
  EXPECT_EQ("", ini("Main", "missing"));
  EXPECT_EQ("", ini("Other", "name"));
}

TEST(SIni, HeadersAndKeys) {
  Loaded ini(
      "  [Main]\t\r\n"
      "name = File\r\n"
      "a=b=c\r\n"
      "empty=\r\n"
      "x\r\n"
      "\r\n"
      "=nokey\r\n"
      "same=first\r\n"
      "same=second\r\n"
      "[ Spaced ]\r\n"
      "k=v\r\n"
      "  [Next]\r\n"
      "later=1\r\n"
      "[Main]\r\n"
      "again=2");
  EXPECT_EQ("", ini("Main", "name"));  // the key is "name " with its blank
  EXPECT_EQ(" File", ini("Main", "name "));
  EXPECT_EQ("b=c", ini("Main", "a"));
  EXPECT_EQ("", ini("Main", "empty"));
  EXPECT_EQ("nokey", ini("Main", ""));
  EXPECT_EQ("first", ini("Main", "same"));
  EXPECT_EQ("v", ini(" Spaced ", "k"));
  EXPECT_EQ("", ini("Spaced", "k"));
  // A key of the next section is not found in the one before it, also when
  // the header is indented; only the first section of a name is searched.
  EXPECT_EQ("", ini(" Spaced ", "later"));
  EXPECT_EQ("1", ini("next", "later"));
  EXPECT_EQ("", ini("Main", "again"));
}

TEST(SIni, LineBreaksOtherThanCrLfStayInsideTheLine) {
  Loaded ini("[S]\nk=v\r\nj=w\rx\r\n");
  // "[S]\nk=v" is one line: no header.
  EXPECT_EQ("", ini("S", "k"));
  Loaded second("[S]\r\nj=w\rx\r\n");
  EXPECT_EQ("w\rx", second("S", "j"));
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
