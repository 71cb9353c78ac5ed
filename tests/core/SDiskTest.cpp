#include "core/Platform.h"
#include "core/SDisk.h"

#include "core/SStringArray.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string Text(const SString& s) { return s.GetText() ? s.GetText() : ""; }

std::vector<std::string> Sorted(const SStringArray& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.GetCount(); ++i) items.push_back(Text(list.Get(i)));
  std::sort(items.begin(), items.end());
  return items;
}

bool FolderExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs the test inside a fresh folder tree as the current folder, so that
// relative paths resolve into it.
class SDiskTest : public ::testing::Test {
protected:
  void SetUp() override {
    ::GetCurrentDirectoryA(MAX_PATH, m_previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(m_tree.Path().c_str()));
  }
  void TearDown() override { ::SetCurrentDirectoryA(m_previous); }

  TempFolder m_tree;
  SDisk m_disk;
  char m_previous[MAX_PATH];
};

}  // namespace

TEST_F(SDiskTest, ListsMatchingFilesRecursively) {
  for (const char* folder : {"music", "music\\sub", "music\\sub\\deeper", "music\\other.mp3"})
    m_tree.MakeFolder(folder);  // the last a folder whose name matches
  for (const char* file : {"music\\a.mp3", "music\\c.txt", "music\\sub\\b.mp3",
                           "music\\sub\\deeper\\d.mp3"})
    m_tree.Write(file, "x");

  SStringArray list;
  int files = 0, folders = 0;
  EXPECT_EQ(3, m_disk.ListFolder(&list, "music\\*.mp3", 0x05, &files, &folders));
  EXPECT_EQ((std::vector<std::string>{"music\\a.mp3", "music\\sub\\b.mp3",
                                      "music\\sub\\deeper\\d.mp3"}),
            Sorted(list));
  // The counters see only the top level.
  EXPECT_EQ(1, files);
  EXPECT_EQ(0, folders);
  // Without recursion only the folder itself.
  EXPECT_EQ(1, m_disk.ListFolder(nullptr, "music\\*.mp3", 0x04));

  // An absolute pattern gives absolute entries; a subfolder listed right
  // before what it holds.
  SStringArray both;
  std::string pattern = m_tree.File("music\\*.*");
  EXPECT_EQ(7, m_disk.ListFolder(&both, pattern.c_str(), 0x07));
  for (int i = 0; i < both.GetCount(); ++i) {
    std::string entry = Text(both.Get(i));
    EXPECT_EQ(0u, entry.find(m_tree.File("music\\"))) << entry;
    if (entry == m_tree.File("music\\sub\\")) {
      EXPECT_EQ(0u, Text(both.Get(i + 1)).find(entry)) << "entries of a subfolder follow it";
    }
  }
  EXPECT_EQ(0, m_disk.ListFolder(&list, "nothing\\*.mp3", 0x05));

  // A pattern without a wildcard lists the bare name.
  SStringArray bare;
  EXPECT_EQ(1, m_disk.ListFolder(&bare, "music\\c.txt", 0x04));
  EXPECT_EQ(0, m_disk.ListFolder(nullptr, "music\\c.txt", 0x02));
  EXPECT_EQ(1, m_disk.ListFolder(&bare, "music\\sub", 0x02));
  EXPECT_EQ((std::vector<std::string>{"c.txt", "sub\\"}), Sorted(bare));
}

TEST_F(SDiskTest, FolderFilters) {
  for (const char* folder : {"data", "data\\x", "data\\y", "data\\z", "data\\z\\inner"})
    m_tree.MakeFolder(folder);
  m_tree.Write("data\\x\\file.bin", "1");
  m_tree.Write("data\\f.txt", "2");

  SStringArray list;
  int files = 0, folders = 0;
  EXPECT_EQ(3, m_disk.ListFolder(&list, "data\\*.*", 0x02, &files, &folders));
  EXPECT_EQ((std::vector<std::string>{"data\\x\\", "data\\y\\", "data\\z\\"}), Sorted(list));
  EXPECT_EQ(0, files);
  EXPECT_EQ(3, folders);

  struct Row {
    int flags;
    std::vector<std::string> expected;
  };
  const Row rows[] = {
      {0x32, {}},                                // both file filters: no folders
      {0x12, {"data\\y\\", "data\\z\\"}},        // no file
      {0x22, {"data\\x\\"}},                     // a file
      {0x42, {"data\\x\\", "data\\y\\"}},        // no subfolder
      {0x82, {"data\\z\\"}},                     // a subfolder
      {0x52, {"data\\y\\"}},                     // empty folders
      {0x36, {"data\\f.txt"}},                   // files stay listed
  };
  for (const Row& row : rows) {
    SStringArray filtered;
    EXPECT_EQ(int(row.expected.size()), m_disk.ListFolder(&filtered, "data\\*.*", row.flags))
        << std::hex << row.flags;
    EXPECT_EQ(row.expected, Sorted(filtered)) << std::hex << row.flags;
  }
  // Filters without 0x02 are ignored.
  EXPECT_EQ(1, m_disk.ListFolder(nullptr, "data\\*.*", 0x34));
}

TEST_F(SDiskTest, HiddenEntriesLeftOutWhenAsked) {
  m_tree.MakeFolder("h");
  m_tree.MakeFolder("h\\only-hidden");
  for (const char* file : {"h\\seen.txt", "h\\secret.txt", "h\\only-hidden\\x.txt"})
    m_tree.Write(file, "1");
  ::SetFileAttributesA(m_tree.File("h\\secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesA(m_tree.File("h\\only-hidden\\x.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  if (!(::GetFileAttributesA(m_tree.File("h\\secret.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN))
    GTEST_SKIP() << "the file system keeps no hidden attribute";

  EXPECT_EQ(3, m_disk.ListFolder(nullptr, "h\\*.*", 0x06));
  SStringArray visible;
  EXPECT_EQ(2, m_disk.ListFolder(&visible, "h\\*.*", 0x0E));
  EXPECT_EQ((std::vector<std::string>{"h\\only-hidden\\", "h\\seen.txt"}), Sorted(visible));
  // The folder counts as holding no file when its one file is hidden.
  EXPECT_EQ(1, m_disk.ListFolder(nullptr, "h\\*.*", 0x1A));
  EXPECT_EQ(0, m_disk.ListFolder(nullptr, "h\\*.*", 0x2A));
}

TEST_F(SDiskTest, ExistsSearchAndDelete) {
  m_tree.MakeFolder("folder");
  m_tree.Write("file.txt", "x");
  EXPECT_TRUE(m_disk.Exists("folder"));
  EXPECT_TRUE(m_disk.Exists("folder/"));
  EXPECT_TRUE(m_disk.Exists(m_tree.File("folder\\").c_str()));
  EXPECT_FALSE(m_disk.Exists("file.txt"));  // folders only
  EXPECT_FALSE(m_disk.Exists("missing"));
  EXPECT_FALSE(m_disk.Exists(""));
  EXPECT_FALSE(m_disk.Exists(nullptr));

  EXPECT_TRUE(m_disk.SearchFile("file.txt"));
  EXPECT_STREQ(m_tree.File("file.txt").c_str(), m_disk.GetFoundPath());
  EXPECT_TRUE(m_disk.SearchFile(m_tree.File("folder").c_str()));
  EXPECT_FALSE(m_disk.SearchFile("missing.txt"));
  EXPECT_FALSE(m_disk.SearchFile(""));

  EXPECT_TRUE(m_disk.DeleteFile("file.txt"));
  EXPECT_FALSE(FileExists(m_tree.File("file.txt")));
  EXPECT_FALSE(m_disk.DeleteFile("file.txt"));
}

TEST_F(SDiskTest, CreatesFoldersWithParents) {
  EXPECT_FALSE(m_disk.CreateFolder("p\\q", false));
  EXPECT_FALSE(FolderExists(m_tree.File("p")));
  EXPECT_TRUE(m_disk.CreateFolder("a\\b\\c", true));
  EXPECT_TRUE(FolderExists(m_tree.File("a\\b\\c")));
  EXPECT_TRUE(m_disk.CreateFolder("a\\b\\c\\", false));  // exists already
  EXPECT_TRUE(m_disk.CreateFolder("a\\d", false));        // parent exists
  EXPECT_TRUE(m_disk.CreateFolder(m_tree.File("x/y/z/").c_str(), true));
  EXPECT_TRUE(FolderExists(m_tree.File("x\\y\\z")));

  m_tree.Write("plain", "1");
  EXPECT_FALSE(m_disk.CreateFolder("plain", true));
  EXPECT_FALSE(m_disk.CreateFolder("plain\\below", true));
  EXPECT_FALSE(m_disk.CreateFolder("bad*name", true));
  EXPECT_FALSE(m_disk.CreateFolder("", true));
}

TEST_F(SDiskTest, MakesUniqueFileNames) {
  m_tree.MakeFolder("logs");
  std::string folder = m_tree.File("logs\\");
  EXPECT_EQ(folder + "log.txt", Text(m_disk.MakeUniqueFileName(folder.c_str(), "log", "txt")));

  m_tree.Write("logs\\log.txt", "taken");
  std::string next = Text(m_disk.MakeUniqueFileName(folder.c_str(), "log", "txt"));
  ASSERT_GT(next.size(), folder.size() + 7);
  EXPECT_EQ(0u, next.find(folder + "log"));
  EXPECT_EQ(".txt", next.substr(next.size() - 4));
  std::string number = next.substr(folder.size() + 3, next.size() - folder.size() - 7);
  EXPECT_EQ(std::string::npos, number.find_first_not_of("0123456789")) << next;
  EXPECT_NE('0', number[0]);
  EXPECT_FALSE(FileExists(next));

  // Without the trailing separator the name still lies inside the folder.
  m_disk.SetTrailingSeparator(false);
  EXPECT_EQ(m_tree.File("logs\\x"),
            Text(m_disk.MakeUniqueFileName(m_tree.File("logs").c_str(), "x")));
  EXPECT_EQ("", Text(m_disk.MakeUniqueFileName(m_tree.File("none").c_str(), "log", "txt")));
}

TEST_F(SDiskTest, SystemFoldersAndShell) {
  // The temporary and documents folders end with a separator unless asked.
  for (bool documents : {false, true}) {
    SCOPED_TRACE(documents);
    m_disk.SetTrailingSeparator(true);
    std::string with = Text(documents ? m_disk.GetSpecialFolder() : m_disk.GetTempFolder());
    ASSERT_FALSE(with.empty());
    EXPECT_EQ('\\', with.back());
    EXPECT_TRUE(FolderExists(with));
    m_disk.SetTrailingSeparator(false);
    EXPECT_EQ(with.substr(0, with.size() - 1),
              Text(documents ? m_disk.GetSpecialFolder() : m_disk.GetTempFolder()));
  }

  m_disk.SetTrailingSeparator(true);
  std::string temp = Text(m_disk.GetTempFolder());
  std::string name = Text(m_disk.GetTempFileName());
  EXPECT_TRUE(FileExists(name));
  EXPECT_EQ(0u, name.find(temp + "tmp"));
  EXPECT_STREQ(name.c_str(), m_disk.GetFoundPath());
  EXPECT_TRUE(m_disk.DeleteFile(name.c_str()));

  // Anything else would start a program.
  EXPECT_FALSE(m_disk.ShellOpen(""));
  EXPECT_FALSE(m_disk.ShellOpen(nullptr));
}
