#include "core/Platform.h"
#include "core/SPath.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The parts of a path joined by "|": root, relative, folder, file name,
// folder path, parent, and "F" for a folder and "N" for a file name.
std::string Parts(const SPath& p) {
  return Text(p.GetRoot()) + "|" + Text(p.GetRelative()) + "|" + Text(p.GetFolder()) + "|" +
         Text(p.GetFileName()) + "|" + Text(p.GetFolderPath()) + "|" + Text(p.GetParent()) +
         "|" + (p.IsFolder() ? "F" : "") + (p.HasFileName() ? "N" : "");
}

}  // namespace

TEST(SPath, SplitsLocalUrlAndUncPaths) {
  const struct {
    const char* text;
    int kind;
    const char* parts;
  } rows[] = {
      {"C:\\a\\b\\c.txt", SPath::KIND_LOCAL, "C:\\|a\\b\\|b\\|c.txt|C:\\a\\b\\|C:\\a\\b\\|N"},
      {"C:\\a\\b\\", SPath::KIND_LOCAL, "C:\\|a\\b\\|b\\||C:\\a\\b\\|C:\\a\\|F"},
      {"C:\\a\\", SPath::KIND_LOCAL, "C:\\|a\\|a\\||C:\\a\\|C:\\|F"},
      {"C:\\c.txt", SPath::KIND_LOCAL, "C:\\|||c.txt|C:\\|C:\\|N"},
      {"C:\\", SPath::KIND_LOCAL, "C:\\||||C:\\||"},
      {"scheme://host/dir/file.php", SPath::KIND_URL,
       "scheme://host/|dir/|dir/|file.php|scheme://host/dir/|scheme://host/dir/|N"},
      {"\\\\server\\share\\dir\\f.txt", SPath::KIND_UNC,
       "\\\\server\\|share\\dir\\|dir\\|f.txt|\\\\server\\share\\dir\\|\\\\server\\share\\dir\\|N"},
  };
  for (const auto& row : rows) {
    SPath path(row.text);
    EXPECT_EQ(row.kind, path.GetKind()) << row.text;
    EXPECT_EQ(row.parts, Parts(path)) << row.text;
  }

  const struct {
    const char* path;
    const char* title;
    const char* extension;  // no dot, as stored
    const char* lowerWithDot;
  } names[] = {{"C:\\a\\Pic.PNG", "Pic", "PNG", ".png"},
               {"C:\\x\\.cfg", "", "cfg", ".cfg"},
               {"C:\\x\\a.tar.gz", "a.tar", "gz", ".gz"},
               {"C:\\x\\README", "README", "", ""}};
  for (const auto& n : names) {
    SPath path(n.path);
    EXPECT_EQ(n.title, Text(path.GetTitle())) << n.path;
    EXPECT_EQ(n.extension, Text(path.GetExtension(false, false))) << n.path;
    EXPECT_EQ(n.lowerWithDot, Text(path.GetExtension(true, true))) << n.path;
  }
  // Copies are independent.
  SPath path("C:\\a\\b\\c.txt");
  SPath copy(path);
  path.Normalize("C:\\z.txt");
  EXPECT_EQ("C:\\a\\b\\c.txt", Text(copy.GetPath()));
}

TEST(SPath, RelativeAndForwardSlashPathsBecomeAbsolute) {
  char buffer[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, buffer);
  std::string current = buffer;
  if (current.back() != '\\') current += '\\';
  EXPECT_EQ(current + "data\\x.dat", Text(SPath("data/x.dat").GetPath()));
  SPath dot(".");
  EXPECT_EQ(current, Text(dot.GetPath()));
  EXPECT_FALSE(dot.HasFileName());
  EXPECT_EQ("C:\\a\\b.txt", Text(SPath("C:/a/b.txt").GetPath()));
  // Dots inside the path are resolved by the system.
  EXPECT_EQ("C:\\a\\c.txt", Text(SPath("C:\\a\\b\\..\\c.txt").GetPath()));

  // Set names a folder: a separator is added when missing.
  SPath set;
  EXPECT_EQ(SPath::KIND_LOCAL, set.Set("C:\\a"));
  EXPECT_EQ("C:\\a\\", Text(set.GetPath()));
  set.Set("C:\\a/");
  EXPECT_EQ("C:\\a\\", Text(set.GetPath()));
}

TEST(SPath, UrlAndUncFormsAndRefusedTexts) {
  EXPECT_EQ("scheme://host/", Text(SPath("scheme://host").GetRoot()));
  SPath backslashes("http://host\\a\\b.htm");
  EXPECT_EQ("http://host/a/b.htm", Text(backslashes.GetPath()));
  EXPECT_EQ("a/", Text(backslashes.GetRelative()));
  EXPECT_TRUE(SPath::IsUrl("a://b"));
  EXPECT_FALSE(SPath::IsUrl("://b"));
  EXPECT_FALSE(SPath::IsUrl("C:\\a"));
  // The first ":" must be followed at once by "//": a "://" further on does
  // not make a URL, and such a text is refused.
  SPath drive;
  EXPECT_EQ(SPath::KIND_UNSET, drive.Normalize("C:\\x\\a://b"));
  EXPECT_EQ(SPath::KIND_UNSET, drive.Normalize("host:80/a://b"));
  SPath colonLater("scheme://host/a:b");
  EXPECT_EQ(SPath::KIND_URL, colonLater.GetKind());
  EXPECT_EQ("a:b", Text(colonLater.GetFileName()));

  EXPECT_EQ("\\\\server\\share\\f.txt", Text(SPath("\\\\server/share/f.txt").GetPath()));
  EXPECT_EQ("\\\\server\\", Text(SPath("\\\\server").GetRoot()));
  EXPECT_FALSE(SPath("\\\\server").HasFileName());
  EXPECT_FALSE(SPath::IsUnc("\\x"));
  for (const char* text : {"C:\\a*.txt", "C:\\a?.txt", "C:\\a\"b", "C:\\<x>", "C:\\a\tb", ""}) {
    SPath path("C:\\ok.txt");
    EXPECT_EQ(0, path.Normalize(text)) << text;
    EXPECT_EQ("||||||", Parts(path)) << text;
  }
  EXPECT_EQ(SPath::KIND_UNSET, SPath(nullptr).GetKind());
}
