// The contracts every SFile keeps, checked through memory files, and the memory file itself.
#include "core/Platform.h"
#include "core/SFile.h"
#include "core/SFileMem.h"

#include "tests/core/CoreTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(SFile, WrittenBytesAndCounts) {
  SFileMem file;
  EXPECT_EQ(0, file.WriteData("abc", 0));
  EXPECT_FALSE(file.IsOpen());  // a write of nothing does not open it
  EXPECT_EQ(3, file.WriteText("abc"));
  EXPECT_EQ(4, file.WriteStringZ("abc"));
  EXPECT_EQ(5, file.WriteLine("abc"));
  EXPECT_EQ(2, file.WriteText("abc", 2));
  EXPECT_EQ(4, file.WriteInt32(0x01020304u));
  EXPECT_EQ(4, file.WriteWide(L"\x0141z"));
  EXPECT_EQ(0, file.WriteWide(L"abc", 0));
  EXPECT_EQ(std::string("abcabc\0abc\r\nab\x04\x03\x02\x01\x41\x01z\0", 22), Bytes(file));

  // Seeking outside goes to the end; short reads keep zeros.
  EXPECT_EQ(22, file.Seek(-1));
  EXPECT_EQ(22, file.Seek(23));
  file.Seek(14);
  EXPECT_EQ(0x01020304u, file.ReadInt32());
  file.Seek(20);
  EXPECT_EQ(0x007Au, file.ReadInt32());
  EXPECT_EQ(-1, file.ReadByte());
  file.Seek(18);
  SUniString wide = file.ReadWide();
  ASSERT_EQ(2, wide.GetLength());
  EXPECT_EQ(0x0141, wide.GetText()[0]);
  // An odd last byte stays unread.
  file.WriteByte('!');
  file.Seek(18);
  EXPECT_EQ(2, file.ReadWide().GetLength());
  EXPECT_EQ(1, file.GetRemaining());
  EXPECT_EQ('!', file.ReadByte());
}

TEST(SFile, ReadLineEndsOnlyAtCrLfAndFindMovesPastTheMatch) {
  // Reads in order: (keep blanks, max) -> the line and whether a break ended it.
  SFileMem file("a\r\n  x \t\r\n  x \t\r\nabcdef\r\n");
  const struct {
    bool keep;
    int max;
    const char* line;
    bool lineBreak;
  } reads[] = {{false, -1, "a", true},   {false, -1, "x", true}, {true, -1, "  x \t", true},
               {false, 3, "abc", false}, {false, 0, "", false},  {false, 3, "def", false},
               {false, 3, "", true},     {false, -1, "", false}};
  for (const auto& r : reads) {
    bool lineBreak = !r.lineBreak;
    EXPECT_EQ(r.line, Text(file.ReadLine(r.keep, r.max, &lineBreak))) << r.line;
    EXPECT_EQ(r.lineBreak, lineBreak) << r.line;
  }
  EXPECT_TRUE(file.IsEOF());
  SFileMem pair("a\r\nb");
  EXPECT_EQ("a\r\n", Text(pair.ReadLineWithBreak(false, -1)));
  EXPECT_EQ("b", Text(pair.ReadLineWithBreak(false, -1)));

  SFileMem abc("abcdef");
  EXPECT_EQ(2, abc.Find("cd", 2, false));
  EXPECT_EQ(4, abc.Tell());
  abc.Rewind();
  EXPECT_EQ(4, abc.Find("cd", 2, true));
  EXPECT_EQ(-1, abc.FindText("cd", false));  // forward from the position only
  // A failed search stops where fewer bytes than the pattern remain; after
  // a mismatch the next attempt starts one byte on.
  SFileMem short3("abc");
  EXPECT_EQ(-1, short3.Find("cd", 2, false));
  EXPECT_EQ(2, short3.Tell());
  SFileMem repeated("aaab");
  EXPECT_EQ(1, repeated.Find("aab", 3, false));
}

TEST(SFile, StringsKeepTheirNulBytes) {
  SFileMem file;
  file.WriteData("ab\0cd\0ef", 8);
  file.Rewind();
  EXPECT_EQ(std::string("ab\0cd", 5), Text(file.ReadString(5)));
  EXPECT_EQ(3, file.ReadString().GetLength());
  EXPECT_EQ(0, file.ReadString().GetLength());

  file.Rewind();
  EXPECT_EQ("ab", Text(file.ReadStringZ(true)));
  EXPECT_EQ(3, file.Tell());
  EXPECT_EQ("", Text(file.ReadStringZ(false)));
  EXPECT_EQ(6, file.Tell());
  EXPECT_EQ("ef", Text(file.ReadStringZ(true)));
  EXPECT_TRUE(file.IsEOF());
}

TEST(SFile, ClosedFileIsNullAndReadsNothing) {
  SFileMem file;
  EXPECT_EQ(nullptr, static_cast<void*>(file));
  EXPECT_EQ(0, file.ReadString().GetLength());
  EXPECT_EQ(0u, file.ReadInt32());
  EXPECT_EQ(-1, file.ReadByte());
  EXPECT_TRUE(file.IsEOF());
  file.WriteByte(1);
  EXPECT_EQ(&file, static_cast<void*>(file));
  file.Close();
  EXPECT_EQ(nullptr, static_cast<void*>(file));
  SFileMem empty("");  // a text that holds nothing leaves the file closed
  EXPECT_EQ(nullptr, static_cast<void*>(empty));
}

TEST(SFileMem, CapacityDoublesFrom256AndShrinks) {
  SFileMem file;
  EXPECT_EQ(0, file.GetCapacity());
  for (int i = 0; i < 1025; ++i) {
    file.WriteByte(uint8_t(i));
    ASSERT_EQ(SFileMem::CapacityFor(i + 1), file.GetCapacity());
  }
  EXPECT_EQ(2048, file.GetCapacity());
  EXPECT_EQ(256, SFileMem::CapacityFor(256));
  EXPECT_EQ(512, SFileMem::CapacityFor(257));
  // SetSize keeps the bytes and pulls the position back.
  file.Seek(500);
  EXPECT_TRUE(file.SetSize(10));
  EXPECT_EQ(256, file.GetCapacity());
  EXPECT_EQ(10, file.Tell());
  EXPECT_EQ(9, file.GetBuffer()[9]);
  // Allocate empties but keeps the file open.
  file.Allocate(0);
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(0, file.Tell());
  file.Allocate(300);
  EXPECT_EQ(512, file.GetCapacity());
  file.Close();
  EXPECT_EQ(0, file.GetCapacity());

  // Writing past the end grows the file, also from the file's own buffer.
  SFileMem abc("abc");
  abc.Seek(2);
  EXPECT_EQ(4, abc.WriteData("WXYZ", 4));
  EXPECT_EQ("abWXYZ", Bytes(abc));
  std::string big(300, 'q');
  SFileMem self(big.c_str());
  self.SeekToEnd();
  EXPECT_EQ(300, self.WriteData(self.GetBuffer(), 300));
  EXPECT_EQ(std::string(600, 'q'), Bytes(self));
}

TEST(SFileMem, LinesAndDigestsOfTheWholeBuffer) {
  SFileMem file("a\nb\r\n");  // a lone LF stays in the line
  EXPECT_EQ(SString("a\nb"), file.ReadLine(false));
  SFileMem cr("a\rbc");  // a lone CR counts towards max
  EXPECT_EQ(SString("a\r"), cr.ReadLine(true, 2));

  SFileMem check("123456789");
  check.Seek(4);
  uint32_t crc = 0;
  EXPECT_TRUE(check.Crc32(crc));
  EXPECT_EQ(0xCBF43926u, crc);
  EXPECT_STREQ("25F9E794323B453885F5181F1B624D0B", check.Md5().GetText());
  EXPECT_STREQ("F7C3BC1D808E04732ADF679965CCC34CA7AE3441", check.Sha1().GetText());
  EXPECT_EQ(4, check.Tell());
  SFileMem closed;
  EXPECT_FALSE(closed.Crc32(crc));
  EXPECT_EQ(0, closed.Md5().GetLength());
}

TEST(SFileMem, LoadsFilesAndResources) {
  TempFolder folder;
  std::string content(1000, 'z');
  content[0] = '\0';
  folder.Write("data.bin", content);
  folder.Write("empty.bin", "");
  SFileMem file("old");
  file.Seek(2);
  EXPECT_TRUE(file.LoadFile(folder.File("data.bin").c_str()));
  EXPECT_EQ(content, Bytes(file));
  EXPECT_EQ(0, file.Tell());
  // A missing file leaves the content as it was.
  EXPECT_FALSE(file.LoadFile(folder.File("missing.bin").c_str()));
  EXPECT_EQ(content, Bytes(file));
  EXPECT_TRUE(file.LoadFile(folder.File("empty.bin").c_str()));
  EXPECT_TRUE(file.IsOpen());

  const std::string expected("Hello, resource\r\n\x01\x02", 19);
  file.Seek(3);
  EXPECT_TRUE(file.LoadResource("BINARY", 4242));
  EXPECT_EQ(expected, Bytes(file));
  EXPECT_EQ(0, file.Tell());
  EXPECT_EQ(expected, Bytes(SFileMem("BINARY", 4242)));
  // A missing resource leaves an open, empty file.
  EXPECT_FALSE(file.LoadResource("BINARY", 999));
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(0, file.GetSize());
}
