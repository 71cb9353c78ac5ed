#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const SString& s) {
  return s.GetText() ? std::string(s.GetText(), s.GetLength()) : std::string();
}

bool Exists(const std::string& name) {
  return ::GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFile(const std::string& name) {
  SFileMem file;
  if (!file.LoadFile(name.c_str())) return "<missing>";
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize());
}

// Argument order of Open: name, write, create, read, shared.
class SFilePathTest : public ::testing::Test {
protected:
  // A file of the folder holding the bytes.
  std::string Make(const char* name, const std::string& bytes) {
    folder.Write(name, bytes);
    return folder.File(name);
  }
  TempFolder folder;
};

}  // namespace

TEST_F(SFilePathTest, ModesFromTheFlags) {
  std::string name = folder.File("modes.bin");
  SFilePath file;
  // Read only ("rb") and read-write ("r+b") need the file.
  EXPECT_FALSE(file.Open(name.c_str(), false, false, true, false));
  EXPECT_FALSE(file.Open(name.c_str(), true, false, true, false));
  EXPECT_EQ(nullptr, static_cast<void*>(file));
  EXPECT_EQ(0, file.GetName().GetLength());

  // Write and create ("wb") makes an empty file.
  ASSERT_TRUE(file.Open(name.c_str(), true, true, false, false));
  EXPECT_EQ(&file, static_cast<void*>(file));
  EXPECT_STREQ(name.c_str(), file.GetName().GetText());
  file.Close();
  EXPECT_EQ("", ReadFile(name));

  // Write only ("ab") appends, wherever the position is.
  SFilePath(name.c_str(), true, false, false, false).WriteText("abc");
  ASSERT_TRUE(file.Open(name.c_str(), true, false, false, false));
  file.Rewind();
  EXPECT_EQ(3, file.WriteText("def"));
  EXPECT_EQ(6, file.GetSize());
  file.Close();
  EXPECT_EQ("abcdef", ReadFile(name));

  // Read and write ("r+b") changes bytes in place.
  ASSERT_TRUE(file.Open(name.c_str(), true, false, true, false));
  file.Seek(2);
  file.WriteText("XY");
  file.Seek(0);
  EXPECT_EQ("abXYef", Text(file.ReadString()));

  // Read only ("rb") cannot write.
  ASSERT_TRUE(file.Open(name.c_str(), false, false, true, false));
  EXPECT_EQ("abXYef", Text(file.ReadString()));
  EXPECT_EQ(0, file.WriteText("zz"));

  // Read, write and create ("w+b") truncates.
  ASSERT_TRUE(file.Open(name.c_str(), true, true, true, false));
  EXPECT_EQ(0, file.GetSize());

  // Neither read nor write, or no name, fails.
  EXPECT_FALSE(file.Open(name.c_str(), false, true, false, false));
  EXPECT_FALSE(file.Open("", true, true, true, false));
  EXPECT_FALSE(file.Open(nullptr, true, true, true, false));
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(SFilePathTest, SharedOpensWorkTogether) {
  std::string name = Make("shared.bin", "shared data");
  SFilePath first(name.c_str(), false, false, true, true);
  SFilePath second(name.c_str(), false, false, true, true);
  EXPECT_EQ("shared", Text(first.ReadString(6)));
  EXPECT_EQ("shared data", Text(second.ReadString()));
  EXPECT_EQ(" data", Text(first.ReadString()));

  SFilePath writer(name.c_str(), true, false, true, true);
  ASSERT_TRUE(writer.IsOpen());
  writer.WriteText("SHARED");
  writer.Close();
  second.Rewind();
  EXPECT_EQ("SHARED data", Text(second.ReadString()));
}

TEST_F(SFilePathTest, TemporaryFileIsRemovedOnClose) {
  SFilePath file;
  ASSERT_TRUE(file.OpenTemp());
  EXPECT_TRUE(file.IsTemporary());
  std::string temp = Text(file.GetTempName());
  EXPECT_TRUE(Exists(temp));
  EXPECT_EQ(5, file.WriteText("hello"));
  file.Rewind();
  EXPECT_EQ("hello", Text(file.ReadString()));
  file.Close();
  EXPECT_FALSE(Exists(temp));
  EXPECT_EQ(0, file.GetTempName().GetLength());
  EXPECT_FALSE(file.IsTemporary());

  // Opening another file closes (and removes) the temporary one too.
  ASSERT_TRUE(file.OpenTemp());
  temp = Text(file.GetTempName());
  ASSERT_TRUE(file.Open(folder.File("after.bin").c_str(), true, true, false, false));
  EXPECT_FALSE(Exists(temp));
}

TEST_F(SFilePathTest, ReadLineDropsLoneCrAndLf) {
  SFilePath file(Make("lines.txt", "a\rb\nc\r\n  x \t\r\nabc\r\na\r\n").c_str(), false, false,
                 true, false);
  bool lineBreak = false;
  EXPECT_EQ("abc", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_TRUE(lineBreak);
  EXPECT_EQ("x", Text(file.ReadLine(false, -1, &lineBreak)));
  // max counts only the characters kept.
  EXPECT_EQ("ab", Text(file.ReadLine(false, 2, &lineBreak)));
  EXPECT_FALSE(lineBreak);
  EXPECT_EQ("c", Text(file.ReadLine(false, 2, &lineBreak)));
  EXPECT_TRUE(lineBreak);
  EXPECT_EQ("a", Text(file.ReadLine(false, 2, &lineBreak)));
  EXPECT_TRUE(file.IsEOF());
  EXPECT_EQ("", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_FALSE(lineBreak);

  SFilePath again(Make("break.txt", "a\r\nb").c_str(), false, false, true, false);
  EXPECT_EQ("a\r\n", Text(again.ReadLineWithBreak(false, 2)));
  EXPECT_EQ("b", Text(again.ReadLineWithBreak(false, 2)));
}

TEST_F(SFilePathTest, SizesCountBufferedWrites) {
  std::string name = folder.File("size.bin");
  SFilePath file(name.c_str(), true, true, true, false);
  file.WriteText("0123456789");
  EXPECT_EQ(10, file.GetSize());
  file.Seek(2);
  file.WriteText("X");
  EXPECT_EQ(10, file.GetSize());
  EXPECT_EQ(7, file.GetRemaining());
  // SetSize cuts or extends and moves the position to the new end.
  EXPECT_TRUE(file.SetSize(4));
  EXPECT_EQ(4, file.Tell());
  EXPECT_TRUE(file.SetSize(20));
  EXPECT_EQ(20, file.Tell());
  EXPECT_FALSE(file.SetSize(-1));
  file.Close();
  EXPECT_EQ(std::string("01X3") + std::string(16, '\0'), ReadFile(name));

  SFilePath append(name.c_str(), true, false, false, false);
  append.WriteText("gh");
  EXPECT_EQ(22, append.GetSize());
  append.Close();

  // A read-only stream cannot change the length.
  SFilePath reader(name.c_str(), false, false, true, false);
  EXPECT_FALSE(reader.SetSize(5));
  EXPECT_EQ(22, reader.GetSize());

  SFilePath closed;
  EXPECT_EQ(0, closed.Seek(5));
  EXPECT_EQ(0, closed.GetSize());
  EXPECT_TRUE(closed.IsEOF());
  EXPECT_FALSE(closed.SetSize(0));
  EXPECT_EQ(0, closed.Tell());
  EXPECT_EQ(0, closed.GetRemaining());
  EXPECT_EQ(0, closed.WriteText("abc"));
  EXPECT_EQ(0, closed.WriteLine("abc"));
  EXPECT_EQ(0, closed.ReadString().GetLength());
  EXPECT_EQ(0, closed.ReadLine(true).GetLength());
  EXPECT_EQ(0, closed.ReadStringZ(true).GetLength());
  EXPECT_EQ(-1, closed.ReadByte());
  EXPECT_EQ(-1, closed.FindText("a", false));
  uint32_t crc = 0;
  EXPECT_FALSE(closed.Crc32(crc));
  EXPECT_EQ(0, closed.Md5().GetLength());
  EXPECT_EQ(0, closed.Sha1().GetLength());
}

TEST_F(SFilePathTest, NumbersWideTextAndStrings) {
  std::string name = folder.File("values.bin");
  SFilePath file(name.c_str(), true, true, true, false);
  EXPECT_EQ(4, file.WriteInt32(0x01020304u));
  EXPECT_EQ(4, file.WriteWide(L"\x0141z"));
  EXPECT_EQ(4, file.WriteStringZ("abc"));
  EXPECT_EQ(5, file.WriteLine("def"));
  EXPECT_EQ(1, file.WriteByte(0xFF));
  file.Rewind();
  EXPECT_EQ(0x01020304u, file.ReadInt32());
  SUniString wide = file.ReadWide(2);
  ASSERT_EQ(2, wide.GetLength());
  EXPECT_EQ(0x0141, wide.GetText()[0]);
  EXPECT_EQ("abc", Text(file.ReadStringZ(true)));
  EXPECT_EQ("def", Text(file.ReadLine(false)));
  EXPECT_EQ(255, file.ReadByte());
  EXPECT_EQ(-1, file.ReadByte());
  file.Close();
  EXPECT_EQ(std::string("\x04\x03\x02\x01\x41\x01z\0abc\0def\r\n\xFF", 18), ReadFile(name));

  // ReadStringZ without a NUL runs to the end; keep false skips.
  SFilePath reader(Make("tail.bin", std::string("skip\0tail", 9)).c_str(), false, false, true,
                   false);
  EXPECT_EQ("", Text(reader.ReadStringZ(false)));
  EXPECT_EQ(5, reader.Tell());
  EXPECT_EQ("tail", Text(reader.ReadStringZ(true)));
  EXPECT_TRUE(reader.IsEOF());
  // An odd last byte stays unread by ReadWide.
  reader.Seek(4);
  EXPECT_EQ(2, reader.ReadWide().GetLength());
  EXPECT_EQ(1, reader.GetRemaining());
}

TEST_F(SFilePathTest, FindMatchesTheMemoryFile) {
  // Bytes from a small alphabet, longer than one read window, so that
  // matches and near misses fall across window edges.
  std::string content;
  uint32_t seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    content.push_back(char('a' + (seed >> 16) % 3));
  }
  SFilePath disk(Make("find.bin", content).c_str(), false, false, true, false);
  SFileMem memory;
  memory.WriteData(content.data(), int(content.size()));

  const struct {
    int start;
    int offset;  // pattern taken from the content at this offset
    int length;
  } cases[] = {{0, 5000, 8},     {100, 4090, 12},  {4000, 8190, 20}, {19995, 0, 3},
               {5, 4096, 4100},  {19999, 19999, 1}, {0, 0, 20000},   {1, 0, 20000}};
  for (const auto& c : cases) {
    for (bool returnEnd : {false, true}) {
      std::string pattern = content.substr(c.offset, c.length);
      memory.Seek(c.start);
      disk.Seek(c.start);
      int expected = memory.Find(pattern.data(), int(pattern.size()), returnEnd);
      EXPECT_EQ(expected, disk.Find(pattern.data(), int(pattern.size()), returnEnd))
          << "start " << c.start << " offset " << c.offset;
      EXPECT_EQ(memory.Tell(), disk.Tell()) << "start " << c.start << " offset " << c.offset;
    }
  }
  // A pattern that does not occur.
  memory.Rewind();
  disk.Rewind();
  EXPECT_EQ(-1, disk.FindText("abcabcabcabcabcabcabcd", false));
  memory.FindText("abcabcabcabcabcabcabcd", false);
  EXPECT_EQ(memory.Tell(), disk.Tell());
  EXPECT_EQ(-1, disk.Find("a", 0, false));
  EXPECT_EQ(memory.Tell(), disk.Tell());
}

TEST_F(SFilePathTest, DigestsReadTheWholeFileAndKeepThePosition) {
  std::string content;
  for (int i = 0; i < 1234; ++i) content.push_back(char(i * 31));
  SFileMem memory;
  memory.WriteData(content.data(), int(content.size()));
  SFilePath file(Make("digest.bin", content).c_str(), false, false, true, false);
  file.Seek(617);
  uint32_t crc = 0, expected = 0;
  ASSERT_TRUE(file.Crc32(crc));
  ASSERT_TRUE(memory.Crc32(expected));
  EXPECT_EQ(expected, crc);
  EXPECT_STREQ(memory.Md5().GetText(), file.Md5().GetText());
  EXPECT_STREQ(memory.Sha1().GetText(), file.Sha1().GetText());
  EXPECT_EQ(617, file.Tell());

  SFilePath check(Make("check.bin", "123456789").c_str(), false, false, true, false);
  ASSERT_TRUE(check.Crc32(crc));
  EXPECT_EQ(0xCBF43926u, crc);
  SFilePath empty(Make("empty.bin", "").c_str(), false, false, true, false);
  ASSERT_TRUE(empty.Crc32(crc));
  EXPECT_EQ(0u, crc);
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", empty.Md5().GetText());
}
