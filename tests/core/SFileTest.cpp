// The contracts every SFile keeps, checked through a memory file.
#include "core/Platform.h"
#include "core/SFile.h"
#include "core/SFileMem.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(SFileMem& file) {
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize());
}

std::string Text(const SString& s) {
  return s.GetText() ? std::string(s.GetText(), s.GetLength()) : std::string();
}

}  // namespace

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

TEST(SFile, ReadLineEndsOnlyAtCrLf) {
  SFileMem file("a\r\nb");
  bool lineBreak = false;
  EXPECT_EQ("a", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_TRUE(lineBreak);
  EXPECT_EQ("b", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_FALSE(lineBreak);
  EXPECT_TRUE(file.IsEOF());
  file.Rewind();
  EXPECT_EQ("a\r\n", Text(file.ReadLineWithBreak(false, -1)));
  EXPECT_EQ("b", Text(file.ReadLineWithBreak(false, -1)));

  // Blanks are trimmed unless asked.
  SFileMem blanks("  x \t\r\n  x \t\r\n");
  EXPECT_EQ("x", Text(blanks.ReadLine(false)));
  EXPECT_EQ("  x \t", Text(blanks.ReadLine(true)));

  // max stops the line without a break.
  SFileMem longer("abcdef\r\n");
  EXPECT_EQ("abc", Text(longer.ReadLine(false, 3, &lineBreak)));
  EXPECT_FALSE(lineBreak);
  EXPECT_EQ("", Text(longer.ReadLine(false, 0)));
  EXPECT_EQ(3, longer.Tell());
  EXPECT_EQ("def", Text(longer.ReadLine(false, 3, &lineBreak)));
  EXPECT_EQ("", Text(longer.ReadLine(false, 3, &lineBreak)));
  EXPECT_TRUE(lineBreak);
}

TEST(SFile, FindLeavesThePositionAfterTheMatch) {
  SFileMem file("abcdef");
  EXPECT_EQ(2, file.Find("cd", 2, false));
  EXPECT_EQ(4, file.Tell());
  file.Rewind();
  EXPECT_EQ(4, file.Find("cd", 2, true));
  EXPECT_EQ(4, file.Tell());
  // Searching goes forward from the position only.
  EXPECT_EQ(-1, file.FindText("cd", false));
  file.Seek(1);
  EXPECT_EQ(-1, file.Find("x", 0, false));
  EXPECT_EQ(1, file.Tell());

  // A failed search stops where fewer bytes than the pattern remain.
  SFileMem abc("abc");
  EXPECT_EQ(-1, abc.Find("cd", 2, false));
  EXPECT_EQ(2, abc.Tell());
  // Repeated first bytes: the attempt after a mismatch starts one byte on.
  SFileMem repeated("aaab");
  EXPECT_EQ(1, repeated.Find("aab", 3, false));
  EXPECT_EQ(4, repeated.Tell());
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
