#include "core/Platform.h"
#include "core/SDisk.h"

#include "core/SStringArray.h"
#include "tests/support/TempFolder.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Strings;

Strings Sorted(const SStringArray& list) {
  Strings items;
  for (int i = 0; i < list.GetCount(); ++i) items.push_back(Text(list.Get(i)));
  std::sort(items.begin(), items.end());
  return items;
}

bool Exists(const std::string& path, bool folder) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
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

TEST_F(SDiskTest, ListsFilesAndFoldersAndManagesNames) {
  for (const char* folder : {"music", "music\\sub", "music\\sub\\deeper", "music\\other.mp3"})
    m_tree.MakeFolder(folder);  // the last a folder whose name matches
  for (const char* file : {"music\\a.mp3", "music\\c.txt", "music\\sub\\b.mp3",
                           "music\\sub\\deeper\\d.mp3"})
    m_tree.Write(file, "x");
  SStringArray list;
  int files = 0, folders = 0;
  EXPECT_EQ(3, m_disk.ListFolder(&list, "music\\*.mp3", 0x05, &files, &folders));
  EXPECT_EQ((Strings{"music\\a.mp3", "music\\sub\\b.mp3", "music\\sub\\deeper\\d.mp3"}),
            Sorted(list));
  EXPECT_EQ(1, files);  // the counters see only the top level
  EXPECT_EQ(0, folders);
  EXPECT_EQ(1, m_disk.ListFolder(nullptr, "music\\*.mp3", 0x04));  // without recursion

  // An absolute pattern gives absolute entries; a subfolder comes right
  // before what it holds.
  SStringArray both;
  EXPECT_EQ(7, m_disk.ListFolder(&both, m_tree.File("music\\*.*").c_str(), 0x07));
  for (int i = 0; i < both.GetCount(); ++i) {
    std::string entry = Text(both.Get(i));
    EXPECT_EQ(0u, entry.find(m_tree.File("music\\"))) << entry;
    if (entry == m_tree.File("music\\sub\\")) {
      EXPECT_EQ(0u, Text(both.Get(i + 1)).find(entry));
    }
  }
  // A pattern without a wildcard lists the bare name.
  SStringArray bare;
  EXPECT_EQ(1, m_disk.ListFolder(&bare, "music\\c.txt", 0x04));
  EXPECT_EQ(0, m_disk.ListFolder(nullptr, "music\\c.txt", 0x02));
  EXPECT_EQ(1, m_disk.ListFolder(&bare, "music\\sub", 0x02));
  EXPECT_EQ((Strings{"c.txt", "sub\\"}), Sorted(bare));
  for (const char* folder : {"data", "data\\x", "data\\y", "data\\z", "data\\z\\inner"})
    m_tree.MakeFolder(folder);
  m_tree.Write("data\\x\\file.bin", "1");
  m_tree.Write("data\\f.txt", "2");
  const struct {
    int flags;
    Strings expected;
  } rows[] = {
      {0x02, {"data\\x\\", "data\\y\\", "data\\z\\"}},
      {0x32, {}},                          // both file filters: no folders
      {0x12, {"data\\y\\", "data\\z\\"}},  // no file
      {0x22, {"data\\x\\"}},               // a file
      {0x42, {"data\\x\\", "data\\y\\"}},  // no subfolder
      {0x82, {"data\\z\\"}},               // a subfolder
      {0x36, {"data\\f.txt"}},             // files stay listed
      {0x34, {"data\\f.txt"}},             // filters without 0x02 are ignored
  };
  for (const auto& row : rows) {
    SStringArray filtered;
    EXPECT_EQ(int(row.expected.size()), m_disk.ListFolder(&filtered, "data\\*.*", row.flags));
    EXPECT_EQ(row.expected, Sorted(filtered)) << std::hex << row.flags;
  }

  // Hidden entries are left out when asked; a folder whose one file is
  // hidden holds no file.
  ::SetFileAttributesA(m_tree.File("data\\x\\file.bin").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesA(m_tree.File("data\\f.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  if (!(::GetFileAttributesA(m_tree.File("data\\f.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN))
    GTEST_SKIP() << "the file system keeps no hidden attribute";
  EXPECT_EQ(4, m_disk.ListFolder(nullptr, "data\\*.*", 0x06));
  EXPECT_EQ(3, m_disk.ListFolder(nullptr, "data\\*.*", 0x0E));
  EXPECT_EQ(3, m_disk.ListFolder(nullptr, "data\\*.*", 0x1A));
  m_tree.MakeFolder("folder");
  m_tree.Write("file.txt", "x");
  EXPECT_TRUE(m_disk.Exists("folder/"));
  EXPECT_TRUE(m_disk.Exists(m_tree.File("folder\\").c_str()));
  EXPECT_FALSE(m_disk.Exists("file.txt"));  // folders only
  EXPECT_FALSE(m_disk.Exists(""));
  EXPECT_TRUE(m_disk.SearchFile("file.txt"));
  EXPECT_STREQ(m_tree.File("file.txt").c_str(), m_disk.GetFoundPath());
  EXPECT_FALSE(m_disk.SearchFile("missing.txt"));
  EXPECT_TRUE(m_disk.DeleteFile("file.txt"));
  EXPECT_FALSE(m_disk.DeleteFile("file.txt"));

  EXPECT_FALSE(m_disk.CreateFolder("p\\q", false));
  EXPECT_FALSE(Exists(m_tree.File("p"), true));
  EXPECT_TRUE(m_disk.CreateFolder("a\\b\\c", true));
  EXPECT_TRUE(m_disk.CreateFolder("a\\b\\c\\", false));  // exists already
  EXPECT_TRUE(m_disk.CreateFolder(m_tree.File("x/y/z/").c_str(), true));
  EXPECT_TRUE(Exists(m_tree.File("x\\y\\z"), true));
  m_tree.Write("plain", "1");
  for (const char* bad : {"plain", "plain\\below", "bad*name", ""})
    EXPECT_FALSE(m_disk.CreateFolder(bad, true)) << bad;
  m_tree.MakeFolder("logs");
  std::string folder = m_tree.File("logs\\");
  EXPECT_EQ(folder + "log.txt", Text(m_disk.MakeUniqueFileName(folder.c_str(), "log", "txt")));
  m_tree.Write("logs\\log.txt", "taken");
  std::string next = Text(m_disk.MakeUniqueFileName(folder.c_str(), "log", "txt"));
  ASSERT_GT(next.size(), folder.size() + 7);
  std::string number = next.substr(folder.size() + 3, next.size() - folder.size() - 7);
  EXPECT_EQ(folder + "log" + number + ".txt", next);
  EXPECT_EQ(std::string::npos, number.find_first_not_of("0123456789")) << next;
  EXPECT_FALSE(Exists(next, false));
  EXPECT_EQ("", Text(m_disk.MakeUniqueFileName(m_tree.File("none").c_str(), "log", "txt")));

  // The temporary and documents folders end with a separator unless asked.
  for (bool documents : {false, true}) {
    m_disk.SetTrailingSeparator(true);
    std::string with = Text(documents ? m_disk.GetSpecialFolder() : m_disk.GetTempFolder());
    ASSERT_FALSE(with.empty());
    EXPECT_EQ('\\', with.back());
    EXPECT_TRUE(Exists(with, true));
    m_disk.SetTrailingSeparator(false);
    EXPECT_EQ(with.substr(0, with.size() - 1),
              Text(documents ? m_disk.GetSpecialFolder() : m_disk.GetTempFolder()));
  }
  // Without the trailing separator a unique name still lies inside the folder.
  EXPECT_EQ(m_tree.File("logs\\x"),
            Text(m_disk.MakeUniqueFileName(m_tree.File("logs").c_str(), "x")));
  m_disk.SetTrailingSeparator(true);
  std::string name = Text(m_disk.GetTempFileName());
  EXPECT_TRUE(Exists(name, false));
  EXPECT_EQ(0u, name.find(Text(m_disk.GetTempFolder()) + "tmp"));
  EXPECT_TRUE(m_disk.DeleteFile(name.c_str()));
  EXPECT_FALSE(m_disk.ShellOpen(""));  // anything else would start a program
}
