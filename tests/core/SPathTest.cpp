#include "core/Platform.h"
#include "core/SPath.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const SString& s) { return s.GetText() ? s.GetText() : ""; }

std::string CurrentFolder() {
  char buffer[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, buffer);
  std::string folder = buffer;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

TEST(SPath, SplitsALocalFilePath) {
  SPath path("C:\\a\\b\\c.txt");
  EXPECT_EQ(SPath::KIND_LOCAL, path.GetKind());
  EXPECT_EQ("C:\\a\\b\\c.txt", Text(path.GetPath()));
  EXPECT_EQ("C:\\", Text(path.GetRoot()));
  EXPECT_EQ("a\\b\\", Text(path.GetRelative()));
  EXPECT_EQ("b\\", Text(path.GetFolder()));
  EXPECT_EQ("c.txt", Text(path.GetFileName()));
  EXPECT_EQ("c", Text(path.GetTitle()));
  EXPECT_EQ("C:\\a\\b\\", Text(path.GetFolderPath()));
  EXPECT_EQ("C:\\a\\b\\", Text(path.GetParent()));
  EXPECT_TRUE(path.HasFileName());
  EXPECT_FALSE(path.IsFolder());

  SPath upper("C:\\a\\Pic.PNG");
  EXPECT_EQ("PNG", Text(upper.GetExtension(false, false)));
  EXPECT_EQ(".png", Text(upper.GetExtension(true, true)));
  EXPECT_EQ("png", Text(upper.GetExtension(false, true)));
}

TEST(SPath, FoldersAndRoots) {
  SPath folder("C:\\a\\b\\");
  EXPECT_EQ("", Text(folder.GetFileName()));
  EXPECT_TRUE(folder.IsFolder());
  EXPECT_FALSE(folder.HasFileName());
  EXPECT_EQ("C:\\a\\", Text(folder.GetParent()));
  EXPECT_EQ("b\\", Text(folder.GetFolder()));
  EXPECT_EQ("C:\\a\\b\\", Text(folder.GetFolderPath()));

  SPath top("C:\\a\\");
  EXPECT_EQ("C:\\", Text(top.GetParent()));

  SPath inRoot("C:\\c.txt");
  EXPECT_EQ("", Text(inRoot.GetRelative()));
  EXPECT_EQ("", Text(inRoot.GetFolder()));
  EXPECT_EQ("C:\\", Text(inRoot.GetFolderPath()));

  SPath root("C:\\");
  EXPECT_EQ("C:\\", Text(root.GetRoot()));
  EXPECT_EQ("", Text(root.GetFileName()));
  EXPECT_EQ("", Text(root.GetRelative()));
  EXPECT_FALSE(root.IsFolder());
  EXPECT_FALSE(root.HasFileName());
  EXPECT_EQ("", Text(root.GetParent()));

  SPath set;
  EXPECT_EQ(SPath::KIND_LOCAL, set.Set("C:\\a"));
  EXPECT_EQ("C:\\a\\", Text(set.GetPath()));
  set.Set("C:\\a/");
  EXPECT_EQ("C:\\a\\", Text(set.GetPath()));
}

TEST(SPath, RelativeAndForwardSlashPathsBecomeAbsolute) {
  std::string current = CurrentFolder();
  EXPECT_EQ(current + "data\\x.dat", Text(SPath("data\\x.dat").GetPath()));
  EXPECT_EQ(current + "data\\x.dat", Text(SPath("data/x.dat").GetPath()));
  SPath dot(".");
  EXPECT_EQ(current, Text(dot.GetPath()));
  EXPECT_FALSE(dot.HasFileName());
  EXPECT_EQ("C:\\a\\b.txt", Text(SPath("C:/a/b.txt").GetPath()));
  // Dots inside the path are resolved by the system.
  EXPECT_EQ("C:\\a\\c.txt", Text(SPath("C:\\a\\b\\..\\c.txt").GetPath()));
}

TEST(SPath, NamesWithoutOrWithOnlyAnExtension) {
  SPath plain("C:\\x\\README");
  EXPECT_EQ("", Text(plain.GetExtension(true, false)));
  EXPECT_EQ("README", Text(plain.GetTitle()));
  SPath hidden("C:\\x\\.cfg");
  EXPECT_EQ("", Text(hidden.GetTitle()));
  EXPECT_EQ("cfg", Text(hidden.GetExtension(false, false)));
  SPath twoDots("C:\\x\\a.tar.gz");
  EXPECT_EQ("a.tar", Text(twoDots.GetTitle()));
  EXPECT_EQ("gz", Text(twoDots.GetExtension(false, false)));
}

TEST(SPath, Urls) {
  SPath url("scheme://host/dir/file.php");
  EXPECT_EQ(SPath::KIND_URL, url.GetKind());
  EXPECT_EQ("scheme://host/", Text(url.GetRoot()));
  EXPECT_EQ("dir/", Text(url.GetRelative()));
  EXPECT_EQ("dir/", Text(url.GetFolder()));
  EXPECT_EQ("file.php", Text(url.GetFileName()));
  EXPECT_EQ("scheme://host/dir/", Text(url.GetParent()));

  SPath host("scheme://host");
  EXPECT_EQ("scheme://host/", Text(host.GetRoot()));
  EXPECT_EQ("", Text(host.GetFileName()));

  SPath backslashes("http://host\\a\\b.htm");
  EXPECT_EQ("http://host/a/b.htm", Text(backslashes.GetPath()));
  EXPECT_EQ("a/", Text(backslashes.GetRelative()));

  EXPECT_TRUE(SPath::IsUrl("a://b"));
  EXPECT_FALSE(SPath::IsUrl("://b"));
  EXPECT_FALSE(SPath::IsUrl("C:\\a"));
  EXPECT_NE(SPath::KIND_URL, SPath("://host/x").GetKind());

  // The first ":" must be followed at once by "//": a "://" further on does
  // not make a URL, and such a text is refused.
  SPath drive;
  EXPECT_EQ(SPath::KIND_UNSET, drive.Normalize("C:\\x\\a://b"));
  EXPECT_EQ("", Text(drive.GetPath()));
  EXPECT_EQ(SPath::KIND_UNSET, drive.Normalize("host:80/a://b"));
  SPath colonLater("scheme://host/a:b");
  EXPECT_EQ(SPath::KIND_URL, colonLater.GetKind());
  EXPECT_EQ("a:b", Text(colonLater.GetFileName()));
}

TEST(SPath, UncPaths) {
  SPath unc("\\\\server\\share\\dir\\f.txt");
  EXPECT_EQ(SPath::KIND_UNC, unc.GetKind());
  EXPECT_EQ("\\\\server\\", Text(unc.GetRoot()));
  EXPECT_EQ("share\\dir\\", Text(unc.GetRelative()));
  EXPECT_EQ("f.txt", Text(unc.GetFileName()));
  EXPECT_EQ("\\\\server\\share\\dir\\", Text(unc.GetFolderPath()));

  SPath slashes("\\\\server/share/f.txt");
  EXPECT_EQ("\\\\server\\share\\f.txt", Text(slashes.GetPath()));

  SPath server("\\\\server");
  EXPECT_EQ("\\\\server\\", Text(server.GetRoot()));
  EXPECT_FALSE(server.HasFileName());
  EXPECT_EQ("", Text(server.GetRelative()));
  EXPECT_TRUE(SPath::IsUnc("\\\\x"));
  EXPECT_FALSE(SPath::IsUnc("\\x"));
}

TEST(SPath, RefusedTextsLeaveThePathUnset) {
  const char* refused[] = {"C:\\a*.txt", "C:\\a?.txt", "C:\\a\"b", "C:\\<x>",
                           "C:\\a\tb", "", nullptr};
  for (const char* text : refused) {
    SPath path("C:\\ok.txt");
    EXPECT_EQ(0, path.Normalize(text)) << (text ? text : "(null)");
    EXPECT_EQ(SPath::KIND_UNSET, path.GetKind());
    EXPECT_EQ("", Text(path.GetPath()));
    EXPECT_EQ("", Text(path.GetRoot()));
    EXPECT_EQ("", Text(path.GetFileName()));
    EXPECT_EQ("", Text(path.GetParent()));
    EXPECT_EQ("", Text(path.GetFolderPath()));
    EXPECT_FALSE(path.HasFileName());
    EXPECT_FALSE(path.IsFolder());
  }
}

TEST(SPath, CopiesAreIndependent) {
  SPath a("C:\\a\\b.txt");
  SPath b(a);
  a.Normalize("C:\\z.txt");
  EXPECT_EQ("C:\\a\\b.txt", Text(b.GetPath()));
  b = a;
  EXPECT_EQ("C:\\z.txt", Text(b.GetPath()));
  EXPECT_EQ(SPath::KIND_LOCAL, b.GetKind());
}
