#include "core/Platform.h"
#include "core/SFileMem.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(const SFileMem& file) {
  if (!file.GetBuffer()) return std::string();
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize());
}

std::string Text(const SString& s) {
  return s.GetText() ? std::string(s.GetText(), s.GetLength()) : std::string();
}

}  // namespace

TEST(SFileMem, CapacityDoublesFrom256AndShrinks) {
  SFileMem file;
  EXPECT_EQ(0, file.GetCapacity());
  // Byte by byte: the capacity is always the smallest that holds the size.
  for (int i = 0; i < 1025; ++i) {
    file.WriteByte(uint8_t(i));
    ASSERT_EQ(SFileMem::CapacityFor(i + 1), file.GetCapacity());
  }
  EXPECT_EQ(2048, file.GetCapacity());
  EXPECT_EQ(256, SFileMem::CapacityFor(0));
  EXPECT_EQ(256, SFileMem::CapacityFor(256));
  EXPECT_EQ(512, SFileMem::CapacityFor(257));

  // SetSize keeps the bytes and pulls the position back.
  file.Seek(500);
  EXPECT_TRUE(file.SetSize(2100));
  EXPECT_EQ(4096, file.GetCapacity());
  EXPECT_EQ(500, file.Tell());
  EXPECT_TRUE(file.SetSize(10));
  EXPECT_EQ(256, file.GetCapacity());
  EXPECT_EQ(10, file.Tell());
  for (int i = 0; i < 10; ++i) EXPECT_EQ(i, file.GetBuffer()[i]);

  // Allocate empties but keeps the file open.
  file.Allocate(0);
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(0, file.Tell());
  EXPECT_EQ(256, file.GetCapacity());
  file.Allocate(300);
  EXPECT_EQ(300, file.GetSize());
  EXPECT_EQ(512, file.GetCapacity());
  file.Allocate(-5);
  EXPECT_EQ(0, file.GetSize());
  file.Close();
  EXPECT_EQ(0, file.GetCapacity());
}

TEST(SFileMem, WritingPastTheEndGrowsTheFile) {
  SFileMem file("abc");
  file.Seek(2);
  EXPECT_EQ(4, file.WriteData("WXYZ", 4));
  EXPECT_EQ(6, file.Tell());
  EXPECT_EQ("abWXYZ", Bytes(file));

  // Writing from the file's own buffer survives the growth it causes.
  std::string big(300, 'q');
  SFileMem self(big.c_str());
  self.SeekToEnd();
  EXPECT_EQ(300, self.WriteData(self.GetBuffer(), 300));
  EXPECT_EQ(std::string(600, 'q'), Bytes(self));
}

TEST(SFileMem, ReadLineKeepsLoneLineFeeds) {
  SFileMem file("a\nb\r\n");
  bool lineBreak = false;
  EXPECT_EQ("a\nb", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_TRUE(lineBreak);
  // A lone CR counts towards max.
  SFileMem cr("a\rbc");
  EXPECT_EQ("a\r", Text(cr.ReadLine(true, 2)));
  EXPECT_EQ("bc", Text(cr.ReadLine(true)));
}

TEST(SFileMem, DigestsCoverTheWholeBufferWhateverThePosition) {
  SFileMem file("123456789");
  file.Seek(4);
  uint32_t crc = 0;
  EXPECT_TRUE(file.Crc32(crc));
  EXPECT_EQ(0xCBF43926u, crc);
  EXPECT_STREQ("25F9E794323B453885F5181F1B624D0B", file.Md5().GetText());
  EXPECT_STREQ("F7C3BC1D808E04732ADF679965CCC34CA7AE3441", file.Sha1().GetText());
  EXPECT_EQ(4, file.Tell());

  SFileMem closed;
  EXPECT_FALSE(closed.Crc32(crc));
  EXPECT_EQ(0, closed.Md5().GetLength());
  EXPECT_EQ(0, closed.Sha1().GetLength());
  SFileMem empty;
  empty.Allocate(0);
  EXPECT_TRUE(empty.Crc32(crc));
  EXPECT_EQ(0u, crc);
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", empty.Md5().GetText());
}

TEST(SFileMem, LoadFile) {
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
  EXPECT_EQ(1024, file.GetCapacity());

  // A missing file leaves the content as it was.
  EXPECT_FALSE(file.LoadFile(folder.File("missing.bin").c_str()));
  EXPECT_FALSE(file.LoadFile(""));
  EXPECT_EQ(content, Bytes(file));
  EXPECT_TRUE(file.LoadFile(folder.File("empty.bin").c_str()));
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(0, file.GetSize());
}

TEST(SFileMem, LoadsAResourceOfTheProgram) {
  const std::string expected("Hello, resource\r\n\x01\x02", 19);
  SFileMem file("old content");
  file.Seek(3);
  EXPECT_TRUE(file.LoadResource("BINARY", 4242));
  EXPECT_EQ(expected, Bytes(file));
  EXPECT_EQ(0, file.Tell());
  SFileMem constructed("BINARY", 4242);
  EXPECT_EQ(expected, Bytes(constructed));

  // A missing resource leaves an open, empty file.
  EXPECT_FALSE(file.LoadResource("BINARY", 999));
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(0, file.GetSize());
  SFileMem missing("BINARY", 999);
  EXPECT_TRUE(missing.IsOpen());
  EXPECT_EQ(0, missing.GetSize());
}
