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

TEST(SFile, WriteTextStringZAndLineCounts) {
  SFileMem file;
  EXPECT_EQ(3, file.WriteText("abc"));
  EXPECT_EQ(4, file.WriteStringZ("abc"));
  EXPECT_EQ(5, file.WriteLine("abc"));
  EXPECT_EQ(2, file.WriteLine(""));
  EXPECT_EQ(2, file.WriteText("abc", 2));
  EXPECT_EQ(0, file.WriteData("abc", 0));
  EXPECT_EQ(std::string("abcabc\0abc\r\n\r\nab", 16), Bytes(file));
}

TEST(SFile, Int32IsLittleEndianAndShortReadsKeepZeros) {
  SFileMem file;
  EXPECT_EQ(4, file.WriteInt32(0x01020304u));
  EXPECT_EQ(std::string("\x04\x03\x02\x01", 4), Bytes(file));
  file.Rewind();
  EXPECT_EQ(0x01020304u, file.ReadInt32());
  EXPECT_EQ(0u, file.ReadInt32());

  file.Seek(2);
  EXPECT_EQ(0x0102u, file.ReadInt32());
}

TEST(SFile, ReadByteGivesMinusOneAtTheEnd) {
  SFileMem file;
  file.WriteByte(0xFF);
  file.Rewind();
  EXPECT_EQ(255, file.ReadByte());
  EXPECT_EQ(-1, file.ReadByte());
}

TEST(SFile, SeekOutsideGoesToTheEnd) {
  SFileMem file("abcdef");
  EXPECT_EQ(6, file.Seek(-1));
  EXPECT_EQ(6, file.Seek(7));
  EXPECT_EQ(0, file.Seek(0));
  file.SeekToEnd();
  EXPECT_TRUE(file.IsEOF());
  file.Rewind();
  EXPECT_EQ(0, file.Tell());
  EXPECT_EQ(6, file.GetRemaining());
}

TEST(SFile, ReadLineEndsOnlyAtCrLf) {
  SFileMem file("a\r\nb");
  bool lineBreak = false;
  EXPECT_EQ("a", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_TRUE(lineBreak);
  EXPECT_EQ("b", Text(file.ReadLine(false, -1, &lineBreak)));
  EXPECT_FALSE(lineBreak);
  EXPECT_TRUE(file.IsEOF());

  SFileMem lf("a\nb");
  EXPECT_EQ("a\nb", Text(lf.ReadLine(false, -1, &lineBreak)));
  EXPECT_FALSE(lineBreak);
}

TEST(SFile, ReadLineTrimsBlanksUnlessAsked) {
  SFileMem file("  x \t\r\n  x \t\r\n");
  EXPECT_EQ("x", Text(file.ReadLine(false)));
  EXPECT_EQ("  x \t", Text(file.ReadLine(true)));
}

TEST(SFile, ReadLineWithBreakAppendsCrLf) {
  SFileMem file("a\r\nb");
  EXPECT_EQ("a\r\n", Text(file.ReadLineWithBreak(false, -1)));
  EXPECT_EQ("b", Text(file.ReadLineWithBreak(false, -1)));
}

TEST(SFile, ReadLineStopsAtMax) {
  SFileMem file("abcdef\r\n");
  bool lineBreak = true;
  EXPECT_EQ("abc", Text(file.ReadLine(false, 3, &lineBreak)));
  EXPECT_FALSE(lineBreak);
  EXPECT_EQ(3, file.Tell());
  EXPECT_EQ("", Text(file.ReadLine(false, 0)));
  EXPECT_EQ(3, file.Tell());
  EXPECT_EQ("def", Text(file.ReadLine(false, 3, &lineBreak)));
  EXPECT_EQ("", Text(file.ReadLine(false, 3, &lineBreak)));
  EXPECT_TRUE(lineBreak);
}

TEST(SFile, FindLeavesThePositionAfterTheMatch) {
  SFileMem file("abcdef");
  EXPECT_EQ(2, file.Find("cd", 2, false));
  EXPECT_EQ(4, file.Tell());
  file.Rewind();
  EXPECT_EQ(4, file.Find("cd", 2, true));
  EXPECT_EQ(4, file.Tell());
  file.Rewind();
  EXPECT_EQ(4, file.FindText("ef", false));

  // Searching goes forward from the position only.
  file.Seek(3);
  EXPECT_EQ(-1, file.FindText("cd", false));

  file.Seek(1);
  EXPECT_EQ(-1, file.Find("x", 0, false));
  EXPECT_EQ(1, file.Tell());
}

TEST(SFile, FailedFindStopsWhereFewerThanThePatternRemain) {
  SFileMem file("abc");
  EXPECT_EQ(-1, file.Find("cd", 2, false));
  EXPECT_EQ(2, file.Tell());

  // Repeated first bytes: the attempt after a mismatch starts one byte on.
  SFileMem repeated("aaab");
  EXPECT_EQ(1, repeated.Find("aab", 3, false));
  EXPECT_EQ(4, repeated.Tell());
}

TEST(SFile, StringsKeepTheirNulBytes) {
  SFileMem file;
  file.WriteData("ab\0cd\0ef", 8);
  file.Rewind();
  SString s = file.ReadString(5);
  EXPECT_EQ(5, s.GetLength());
  EXPECT_EQ(std::string("ab\0cd", 5), Text(s));
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

TEST(SFile, WideTextIsLowByteFirst) {
  SFileMem file;
  EXPECT_EQ(4, file.WriteWide(L"\x0141z"));
  EXPECT_EQ(0, file.WriteWide(L"abc", 0));
  EXPECT_EQ(std::string("\x41\x01z\0", 4), Bytes(file));
  file.WriteByte('!');

  file.Rewind();
  SUniString wide = file.ReadWide();
  ASSERT_EQ(2, wide.GetLength());
  EXPECT_EQ(0x0141, wide.GetText()[0]);
  EXPECT_EQ(L'z', wide.GetText()[1]);
  // The odd last byte stays unread.
  EXPECT_EQ(1, file.GetRemaining());
  EXPECT_EQ(0, file.ReadWide().GetLength());
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
}

TEST(SFile, ProgressHandlersStartUnset) {
  SFileMem file;
  for (int kind = 0; kind < SFile::PROGRESS_COUNT; ++kind)
    EXPECT_EQ(nullptr, file.GetProgressHandler(kind));
  SFileProgress handler = [](int, void*) { return true; };
  file.SetProgressHandler(SFile::PROGRESS_INFLATE, handler);
  EXPECT_EQ(handler, file.GetProgressHandler(SFile::PROGRESS_INFLATE));
  EXPECT_EQ(nullptr, file.GetProgressHandler(SFile::PROGRESS_COMPRESS));
  EXPECT_TRUE(file.IsMemoryFile());
}
