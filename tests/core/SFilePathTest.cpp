#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include "tests/support/TempFolder.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Exists(const std::string& name) {
  return ::GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
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

TEST_F(SFilePathTest, ModesFromTheFlagsSharingAndTheTemporaryFile) {
  // Each open of "abcdef" with (write, create, read): the write of "XY" at
  // position 2, the bytes then on disk, or "" when the open fails.
  const struct {
    bool write, create, read;
    const char* after;
  } modes[] = {
      {false, false, true, "abcdef"},    // "rb": cannot write
      {true, false, true, "abXYef"},     // "r+b": in place
      {true, false, false, "abcdefXY"},  // "ab": appends wherever the position is
      {true, true, false, "XY"},         // "wb": truncates (the position is 0)
      {true, true, true, "XY"},          // "w+b"
      {false, true, false, nullptr},     // neither read nor write
  };
  std::string name = folder.File("modes.bin");
  for (const auto& m : modes) {
    folder.Write("modes.bin", "abcdef");
    SFilePath file;
    ASSERT_EQ(m.after != nullptr, file.Open(name.c_str(), m.write, m.create, m.read, false));
    if (!m.after) continue;
    EXPECT_EQ(&file, static_cast<void*>(file));
    if (!m.create) file.Seek(2);
    file.WriteText("XY");
    file.Close();
    EXPECT_EQ(m.after, FileBytes(name)) << m.write << m.create << m.read;
  }
  SFilePath file;
  EXPECT_FALSE(file.Open(folder.File("missing.bin").c_str(), true, false, true, false));
  EXPECT_FALSE(file.Open("", true, true, true, false));
  EXPECT_EQ(nullptr, static_cast<void*>(file));

  // Shared opens read and write the same file together.
  std::string shared = Make("shared.bin", "shared data");
  SFilePath first(shared.c_str(), false, false, true, true);
  SFilePath second(shared.c_str(), false, false, true, true);
  EXPECT_EQ("shared", Text(first.ReadString(6)));
  EXPECT_EQ("shared data", Text(second.ReadString()));
  SFilePath writer(shared.c_str(), true, false, true, true);
  ASSERT_TRUE(writer.IsOpen());
  writer.WriteText("SHARED");
  writer.Close();
  second.Rewind();
  EXPECT_EQ("SHARED data", Text(second.ReadString()));
  // A temporary file is removed on close.
  ASSERT_TRUE(file.OpenTemp());
  EXPECT_TRUE(file.IsTemporary());
  std::string temp = Text(file.GetTempName());
  EXPECT_TRUE(Exists(temp));
  EXPECT_EQ(5, file.WriteText("hello"));
  file.Close();
  EXPECT_FALSE(Exists(temp) || file.IsTemporary());

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

TEST_F(SFilePathTest, SizesNumbersAndTheClosedFile) {
  std::string name = folder.File("size.bin");
  SFilePath file(name.c_str(), true, true, true, false);
  file.WriteText("0123456789");
  EXPECT_EQ(10, file.GetSize());  // buffered writes count
  file.Seek(2);
  file.WriteText("X");
  EXPECT_EQ(7, file.GetRemaining());
  // SetSize cuts or extends and moves the position to the new end.
  EXPECT_TRUE(file.SetSize(4));
  EXPECT_EQ(4, file.Tell());
  EXPECT_TRUE(file.SetSize(6));
  EXPECT_EQ(6, file.Tell());
  EXPECT_FALSE(file.SetSize(-1));
  EXPECT_EQ(4, file.WriteInt32(0x01020304u));
  file.Close();
  EXPECT_EQ(std::string("01X3\0\0\x04\x03\x02\x01", 10), FileBytes(name));
  // A read-only stream cannot change the length.
  SFilePath reader(name.c_str(), false, false, true, false);
  EXPECT_FALSE(reader.SetSize(5));
  EXPECT_EQ(10, reader.GetSize());

  SFilePath closed;
  EXPECT_EQ(0, closed.Seek(5) + closed.GetSize() + closed.GetRemaining() + closed.WriteText("a"));
  EXPECT_TRUE(closed.IsEOF());
  EXPECT_FALSE(closed.SetSize(0));
  EXPECT_EQ(0, closed.ReadString().GetLength() + closed.ReadLine(true).GetLength());
  EXPECT_EQ(-1, closed.ReadByte());
  EXPECT_EQ(-1, closed.FindText("a", false));
  uint32_t crc = 0;
  EXPECT_FALSE(closed.Crc32(crc));
  EXPECT_EQ(0, closed.Md5().GetLength() + closed.Sha1().GetLength());
}

TEST_F(SFilePathTest, FindAndDigestsMatchTheMemoryFile) {
  // Bytes from a small alphabet, longer than one read window, so that
  // matches and near misses fall across window edges.
  std::string content = Noise(20000, 12345);
  for (char& c : content) c = char('a' + uint8_t(c) % 3);
  SFilePath disk(Make("find.bin", content).c_str(), false, false, true, false);
  SFileMem memory;
  memory.WriteData(content.data(), int(content.size()));
  const struct {
    int start, offset, length;  // the pattern is taken from the content at offset
  } cases[] = {{0, 5000, 8},    {100, 4090, 12},   {4000, 8190, 20}, {19995, 0, 3},
               {5, 4096, 4100}, {19999, 19999, 1}, {1, 0, 20000},    {0, -1, 22}};
  for (const auto& c : cases) {
    std::string pattern =
        c.offset < 0 ? "abcabcabcabcabcabcabcd" : content.substr(c.offset, c.length);
    for (bool returnEnd : {false, true}) {
      memory.Seek(c.start);
      disk.Seek(c.start);
      EXPECT_EQ(memory.Find(pattern.data(), int(pattern.size()), returnEnd),
                disk.Find(pattern.data(), int(pattern.size()), returnEnd))
          << c.start << c.offset;
      EXPECT_EQ(memory.Tell(), disk.Tell()) << c.start << " " << c.offset;
    }
  }
  // Digests read the whole file and keep the position.
  disk.Seek(617);
  uint32_t crc = 0, expected = 0;
  ASSERT_TRUE(disk.Crc32(crc));
  ASSERT_TRUE(memory.Crc32(expected));
  EXPECT_EQ(expected, crc);
  EXPECT_STREQ(memory.Md5().GetText(), disk.Md5().GetText());
  EXPECT_STREQ(memory.Sha1().GetText(), disk.Sha1().GetText());
  EXPECT_EQ(617, disk.Tell());
  SFilePath empty(Make("empty.bin", "").c_str(), false, false, true, false);
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", empty.Md5().GetText());
}
