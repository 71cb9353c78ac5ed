#include "core/Platform.h"
#include "core/SFileMem.h"

#include "tests/support/TempFolder.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

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
