#include "core/Platform.h"
#include "core/SIni.h"

#include "core/SFileMem.h"
#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

TEST(SIni, HeadersKeysAndLoadingAtThePosition) {
  SFileMem source(
      "  [Main]\t\r\nName=File\r\nblank = value\r\na=b=c\r\nx\r\n=nokey\r\nsame=first\r\n"
      "same=second\r\n[ Spaced ]\r\nk=v\r\n  [Next]\r\nlater=1\ncr=w\rx\r\n[Main]\r\nagain=2");
  SIni ini;
  ASSERT_TRUE(ini.Load(&source));
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } rows[] = {
      {"MAIN", "name", "File"},  // sections and keys match without regard to case
      {"Main", "missing", ""},
      {"Other", "name", ""},
      {"Main", "blank", ""},  // the key is "blank " with its blank
      {"Main", "blank ", " value"},
      {"Main", "a", "b=c"},
      {"Main", "", "nokey"},
      {"Main", "same", "first"},
      {" Spaced ", "k", "v"},
      {"Spaced", "k", ""},
      // A key of the next section is not found in the one before it, also
      // when the header is indented; only the first section of a name counts.
      {" Spaced ", "later", ""},
      {"Main", "again", ""},
      {"next", "later", "1\ncr=w\rx"},  // lines end only at CR LF
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.value, Text(ini.GetValue(row.section, row.key))) << row.section << row.key;
  // Loading replaces everything and starts at the file's position.
  SIni fresh;
  EXPECT_EQ("", Text(fresh.GetValue("a", "b")));
  EXPECT_FALSE(fresh.Load(nullptr));
  SFileMem positioned("[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
  positioned.Seek(10);
  ASSERT_TRUE(ini.Load(&positioned));
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
