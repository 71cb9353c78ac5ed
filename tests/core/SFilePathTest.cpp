#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include "tests/core/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const SString& s) {
  return s.GetText() ? std::string(s.GetText(), s.GetLength()) : std::string();
}

bool Exists(const std::string& name) {
  return ::GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::string& name, const std::string& content) {
  FILE* out = fopen(name.c_str(), "wb");
  ASSERT_NE(nullptr, out);
  fwrite(content.data(), 1, content.size(), out);
  fclose(out);
}

std::string ReadFile(const std::string& name) {
  SFileMem file;
  if (!file.LoadFile(name.c_str())) return "<missing>";
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize());
}

// Argument order of Open: name, write, create, read, shared.
class SFilePathTest : public ::testing::Test {
protected:
  TempFolder folder;
};

}  // namespace

TEST_F(SFilePathTest, ModesFromTheFlags) {
  std::string name = folder.File("modes.bin");
  SFilePath file;

  // Read only on a missing file fails and leaves the file closed.
  EXPECT_FALSE(file.Open(name.c_str(), false, false, true, false));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(0, file.GetName().GetLength());
  // So does read and write without create ("r+b").
  EXPECT_FALSE(file.Open(name.c_str(), true, false, true, false));

  // Write and create ("wb") makes an empty file.
  ASSERT_TRUE(file.Open(name.c_str(), true, true, false, false));
  EXPECT_STREQ(name.c_str(), file.GetName().GetText());
  EXPECT_FALSE(file.IsTemporary());
  file.Close();
  EXPECT_TRUE(Exists(name));
  EXPECT_EQ("", ReadFile(name));

  // Write only ("ab") appends to what is there.
  ASSERT_TRUE(file.Open(name.c_str(), true, false, false, false));
  EXPECT_EQ(3, file.WriteText("abc"));
  file.Close();
  ASSERT_TRUE(file.Open(name.c_str(), true, false, false, false));
  file.Rewind();
  EXPECT_EQ(3, file.WriteText("def"));
  EXPECT_EQ(6, file.GetSize());
  file.Close();
  EXPECT_EQ("abcdef", ReadFile(name));

  // Read and write ("r+b") changes bytes in place.
  ASSERT_TRUE(file.Open(name.c_str(), true, false, true, false));
  EXPECT_EQ(6, file.GetSize());
  file.Seek(2);
  file.WriteText("XY");
  file.Seek(0);
  EXPECT_EQ("abXYef", Text(file.ReadString()));
  file.Close();

  // Read only ("rb") reads and cannot write.
  ASSERT_TRUE(file.Open(name.c_str(), false, false, true, false));
  EXPECT_EQ("abXYef", Text(file.ReadString()));
  EXPECT_EQ(0, file.WriteText("zz"));
  file.Close();

  // Read, write and create ("w+b") truncates.
  ASSERT_TRUE(file.Open(name.c_str(), true, true, true, false));
  EXPECT_EQ(0, file.GetSize());
  file.WriteText("new");
  file.Rewind();
  EXPECT_EQ("new", Text(file.ReadString()));
  file.Close();

  // Neither read nor write, or no name, fails.
  EXPECT_FALSE(file.Open(name.c_str(), false, true, false, false));
  EXPECT_FALSE(file.Open("", true, true, true, false));
  EXPECT_FALSE(file.Open(nullptr, true, true, true, false));
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(SFilePathTest, ConstructorOpens) {
  std::string name = folder.File("ctor.bin");
  SFilePath writer(name.c_str(), true, true, false, false);
  EXPECT_TRUE(writer.IsOpen());
  EXPECT_EQ(&writer, static_cast<void*>(writer));
  SFilePath missing(folder.File("missing.bin").c_str(), false, false, true, false);
  EXPECT_EQ(nullptr, static_cast<void*>(missing));
  EXPECT_FALSE(writer.IsMemoryFile());
}

TEST_F(SFilePathTest, SharedOpensReadTogether) {
  std::string name = folder.File("shared.bin");
  WriteFile(name, "shared data");
  SFilePath first(name.c_str(), false, false, true, true);
  SFilePath second(name.c_str(), false, false, true, true);
  ASSERT_TRUE(first.IsOpen());
  ASSERT_TRUE(second.IsOpen());
  EXPECT_EQ("shared", Text(first.ReadString(6)));
  EXPECT_EQ("shared data", Text(second.ReadString()));
  EXPECT_EQ(" data", Text(first.ReadString()));

  // A shared writer and a shared reader at the same time.
  SFilePath writer(name.c_str(), true, false, true, true);
  ASSERT_TRUE(writer.IsOpen());
  writer.Seek(0);
  writer.WriteText("SHARED");
  writer.Close();
  second.Rewind();
  EXPECT_EQ("SHARED data", Text(second.ReadString()));
}

TEST_F(SFilePathTest, TemporaryFileIsRemovedOnClose) {
  SFilePath file;
  ASSERT_TRUE(file.OpenTemp());
  EXPECT_TRUE(file.IsTemporary());
  EXPECT_EQ(0, file.GetName().GetLength());
  std::string temp = Text(file.GetTempName());
  ASSERT_FALSE(temp.empty());
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
  std::string name = folder.File("after.bin");
  ASSERT_TRUE(file.Open(name.c_str(), true, true, false, false));
  EXPECT_FALSE(Exists(temp));
  EXPECT_EQ(0, file.GetTempName().GetLength());
}

TEST_F(SFilePathTest, ReadLineDropsLoneCrAndLf) {
  std::string name = folder.File("lines.txt");
  WriteFile(name, "a\rb\nc\r\n  x \t\r\nabc\r\na\r\n");
  SFilePath file(name.c_str(), false, false, true, false);
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
  EXPECT_TRUE(lineBreak);
  EXPECT_TRUE(file.IsEOF());
  EXPECT_EQ("", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_FALSE(lineBreak);

  std::string other = folder.File("break.txt");
  WriteFile(other, "a\r\nb");
  SFilePath again(other.c_str(), false, false, true, false);
  EXPECT_EQ("a\r\n", Text(again.ReadLineWithBreak(false, 2)));
  EXPECT_EQ("b", Text(again.ReadLineWithBreak(false, 2)));
}

TEST_F(SFilePathTest, SetSizeCutsAndExtends) {
  std::string name = folder.File("size.bin");
  WriteFile(name, "0123456789");
  SFilePath file(name.c_str(), true, false, true, false);
  EXPECT_TRUE(file.SetSize(3));
  EXPECT_EQ(3, file.Tell());
  EXPECT_EQ(3, file.GetSize());
  EXPECT_TRUE(file.SetSize(20));
  EXPECT_EQ(20, file.Tell());
  EXPECT_EQ(20, file.GetSize());
  EXPECT_FALSE(file.SetSize(-1));
  file.Rewind();
  EXPECT_EQ("012", Text(file.ReadString(3)));
  file.Close();
  EXPECT_EQ(std::string("012") + std::string(17, '\0'), ReadFile(name));

  // A read-only stream cannot change the length.
  SFilePath reader(name.c_str(), false, false, true, false);
  EXPECT_FALSE(reader.SetSize(5));
  EXPECT_EQ(20, reader.GetSize());
}

TEST_F(SFilePathTest, ClosedFileReadsNothing) {
  SFilePath file;
  EXPECT_EQ(0, file.Seek(5));
  EXPECT_EQ(0, file.Tell());
  EXPECT_EQ(0, file.GetSize());
  EXPECT_EQ(0, file.GetRemaining());
  EXPECT_TRUE(file.IsEOF());
  EXPECT_FALSE(file.SetSize(0));
  EXPECT_EQ(0, file.WriteText("abc"));
  EXPECT_EQ(0, file.WriteLine("abc"));
  EXPECT_EQ(0, file.ReadString().GetLength());
  EXPECT_EQ(0, file.ReadLine(true).GetLength());
  EXPECT_EQ(0, file.ReadStringZ(true).GetLength());
  EXPECT_EQ(-1, file.ReadByte());
  EXPECT_EQ(-1, file.FindText("a", false));
  uint32_t crc = 0;
  EXPECT_FALSE(file.Crc32(crc));
  EXPECT_EQ(0, file.Md5().GetLength());
  EXPECT_EQ(0, file.Sha1().GetLength());
  file.Close();
}

TEST_F(SFilePathTest, SizeCountsBufferedWrites) {
  std::string name = folder.File("buffered.bin");
  SFilePath file(name.c_str(), true, true, true, false);
  file.WriteText("abcdef");
  EXPECT_EQ(6, file.GetSize());
  EXPECT_EQ(6, file.Tell());
  EXPECT_TRUE(file.IsEOF());
  file.Seek(2);
  file.WriteText("X");
  EXPECT_EQ(6, file.GetSize());
  EXPECT_EQ(3, file.Tell());
  EXPECT_EQ(3, file.GetRemaining());
  file.Close();

  SFilePath append(name.c_str(), true, false, false, false);
  append.WriteText("gh");
  EXPECT_EQ(8, append.GetSize());
  append.Close();
  EXPECT_EQ("abXdefgh", ReadFile(name));
}

TEST_F(SFilePathTest, NumbersWideTextAndStrings) {
  std::string name = folder.File("values.bin");
  SFilePath file(name.c_str(), true, true, true, false);
  EXPECT_EQ(4, file.WriteInt32(0x01020304u));
  EXPECT_EQ(4, file.WriteWide(L"\x0141z"));
  EXPECT_EQ(4, file.WriteStringZ("abc"));
  EXPECT_EQ(5, file.WriteLine("def"));
  EXPECT_EQ(2, file.WriteLine(""));
  EXPECT_EQ(1, file.WriteByte(0xFF));
  file.Rewind();
  EXPECT_EQ(0x01020304u, file.ReadInt32());
  SUniString wide = file.ReadWide(2);
  ASSERT_EQ(2, wide.GetLength());
  EXPECT_EQ(0x0141, wide.GetText()[0]);
  EXPECT_EQ("abc", Text(file.ReadStringZ(true)));
  EXPECT_EQ("def", Text(file.ReadLine(false)));
  EXPECT_EQ("", Text(file.ReadLine(false)));
  EXPECT_EQ(255, file.ReadByte());
  EXPECT_EQ(-1, file.ReadByte());
  EXPECT_EQ(0u, file.ReadInt32());
  file.Close();
  EXPECT_EQ(std::string("\x04\x03\x02\x01\x41\x01z\0abc\0def\r\n\r\n\xFF", 20), ReadFile(name));

  // ReadStringZ without a NUL runs to the end; keep false skips.
  std::string tailName = folder.File("tail.bin");
  WriteFile(tailName, std::string("skip\0tail", 9));
  SFilePath reader(tailName.c_str(), false, false, true, false);
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
  std::string name = folder.File("find.bin");
  WriteFile(name, content);

  SFilePath disk(name.c_str(), false, false, true, false);
  SFileMem memory;
  memory.WriteData(content.data(), int(content.size()));

  const struct {
    int start;
    int offset;  // pattern taken from the content at this offset
    int length;
  } cases[] = {{0, 0, 1},       {0, 5000, 8},    {100, 4090, 12},  {4000, 8190, 20},
               {0, 19990, 10},  {19995, 0, 3},   {0, 3000, 5000},  {17000, 100, 12},
               {5, 4096, 4100}, {19999, 19999, 1}, {0, 0, 20000}, {1, 0, 20000}};
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
  EXPECT_EQ(-1, memory.FindText("abcabcabcabcabcabcabcd", false));
  EXPECT_EQ(-1, disk.FindText("abcabcabcabcabcabcabcd", false));
  EXPECT_EQ(memory.Tell(), disk.Tell());
  EXPECT_EQ(-1, disk.Find("a", 0, false));
  EXPECT_EQ(memory.Tell(), disk.Tell());
}

TEST_F(SFilePathTest, DigestsReadTheWholeFileAndKeepThePosition) {
  std::string name = folder.File("digest.bin");
  std::string content;
  for (int i = 0; i < 1234; ++i) content.push_back(char(i * 31));
  WriteFile(name, content);
  SFileMem memory;
  memory.WriteData(content.data(), int(content.size()));

  SFilePath file(name.c_str(), false, false, true, false);
  file.Seek(617);
  uint32_t crc = 0, expected = 0;
  ASSERT_TRUE(file.Crc32(crc));
  ASSERT_TRUE(memory.Crc32(expected));
  EXPECT_EQ(expected, crc);
  EXPECT_EQ(617, file.Tell());
  EXPECT_STREQ(memory.Md5().GetText(), file.Md5().GetText());
  EXPECT_EQ(617, file.Tell());
  EXPECT_STREQ(memory.Sha1().GetText(), file.Sha1().GetText());
  EXPECT_EQ(617, file.Tell());

  std::string checkName = folder.File("check.bin");
  WriteFile(checkName, "123456789");
  SFilePath check(checkName.c_str(), false, false, true, false);
  ASSERT_TRUE(check.Crc32(crc));
  EXPECT_EQ(0xCBF43926u, crc);

  std::string emptyName = folder.File("empty.bin");
  WriteFile(emptyName, "");
  SFilePath empty(emptyName.c_str(), false, false, true, false);
  ASSERT_TRUE(empty.Crc32(crc));
  EXPECT_EQ(0u, crc);
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", empty.Md5().GetText());
}
