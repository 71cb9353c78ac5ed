#include "core/Platform.h"
#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include "tests/core/CoreTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A key handed on the way callers do: through operator void*, so that a key
// file that holds nothing becomes null.
SFile* Key(SFileMem& key) { return static_cast<SFile*>(static_cast<void*>(key)); }

SFileMem* MemoryOf(SFileMem& file, const std::string& bytes) {
  file.Allocate(0);
  file.WriteData(bytes.data(), int(bytes.size()));
  file.Rewind();
  return &file;
}

uint32_t U32At(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 |
         uint32_t(uint8_t(s[at + 2])) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

std::string WithU32(std::string s, size_t at, uint32_t v) { return s.replace(at, 4, U32(v)); }

std::string Packed(const std::string& bytes) {
  SFileMem source, packed;
  SFile::Compress(MemoryOf(source, bytes), &packed);
  return Bytes(packed);
}

// Records the per-mille values a transform reports; cancels at cancelAt.
struct Progress {
  std::vector<int> values;
  int cancelAt = -1;

  static bool Handler(int perMille, void* userData) {
    Progress* self = static_cast<Progress*>(userData);
    self->values.push_back(perMille);
    return int(self->values.size()) != self->cancelAt;
  }
};

}  // namespace

TEST(SFileTransform, CopyAndFill) {
  SFileMem source, destination, filled;
  std::string bytes = Noise(30, 1);
  MemoryOf(source, bytes)->Seek(10);
  EXPECT_EQ(20, SFile::Copy(&source, &destination));
  EXPECT_EQ(bytes.substr(10), Bytes(destination));
  source.Seek(25);
  EXPECT_EQ(5, SFile::Copy(&source, &destination, 100));  // clamped to what remains
  EXPECT_EQ(0, SFile::Copy(nullptr, &destination));
  // Into the middle of a memory file: it grows only as far as the bytes go.
  SFileMem middle("0123456789"), four("abcd");
  middle.Seek(8);
  EXPECT_EQ(4, SFile::Copy(&four, &middle));
  EXPECT_EQ("01234567abcd", Bytes(middle));
  EXPECT_EQ(250, SFile::WriteFill(&filled, 0xAB, 250));
  EXPECT_EQ(std::string(250, '\xAB'), Bytes(filled));
}

TEST(SFileTransform, KeyedBytesWrapAndTheKeyIndexRunsOn) {
  // Every byte value meets every key byte value (a key of 257 bytes over
  // 256 x 257 bytes): sums and differences wrap modulo 256.
  std::string every(256 * 257, '\0'), keyBytes(257, '\0');
  for (size_t i = 0; i < every.size(); ++i) every[i] = char(i);
  for (size_t i = 0; i < keyBytes.size(); ++i) keyBytes[i] = char(i * 7 + 3);
  SFileMem allKey, all, sums, differences;
  MemoryOf(allKey, keyBytes);
  ASSERT_TRUE(SFile::KeyedEncode(&allKey, MemoryOf(all, every), -1, &sums));
  ASSERT_TRUE(SFile::KeyedDecode(&allKey, MemoryOf(all, every), -1, &differences));
  std::string sum = Bytes(sums), difference = Bytes(differences);
  for (size_t i = 0; i < every.size(); ++i) {
    uint8_t a = uint8_t(every[i]), k = uint8_t(keyBytes[i % 257]);
    ASSERT_EQ(uint8_t(a + k), uint8_t(sum[i])) << i;
    ASSERT_EQ(uint8_t(a - k), uint8_t(difference[i])) << i;
  }

  // In place from a position, across 1000-byte blocks, with a 70-byte key
  // and a key longer than a block.
  std::string keyText;
  for (int i = 0; i < 70; ++i) keyText.push_back(char('0' + i));
  for (const std::string& text : {keyText, Noise(1500, 13)}) {
    SFileMem k, file;
    MemoryOf(k, text);
    MemoryOf(file, std::string(3700, '\0'))->Seek(200);
    ASSERT_TRUE(SFile::KeyedEncode(Key(k), &file));
    EXPECT_EQ(3700, file.Tell());
    std::string inPlace = Bytes(file);
    for (int i = 0; i < 3500; ++i) ASSERT_EQ(text[i % text.size()], inPlace[200 + i]) << i;
    EXPECT_EQ(std::string(200, '\0'), inPlace.substr(0, 200));
  }

  // n limits the range; a key text that holds nothing gives no key; a closed
  // source fails; an open key of size 0 leaves the data unchanged.
  SFileMem key("\x01\x02"), file("abcdef"), emptyKey(""), closed, zeroKey;
  EXPECT_TRUE(SFile::KeyedDecode(Key(key), &file, 1));
  EXPECT_EQ("`bcdef", Bytes(file));
  EXPECT_FALSE(SFile::KeyedEncode(Key(emptyKey), &file));
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), &closed));
  zeroKey.Allocate(0);
  file.Rewind();
  EXPECT_TRUE(SFile::KeyedEncode(&zeroKey, &file));
  EXPECT_EQ("`bcdef", Bytes(file));
}

TEST(SFileTransform, CompressWritesTheBlockFormat) {
  std::string stream = Packed(Noise(250000, 5));
  ASSERT_EQ(3u, U32At(stream, 0));
  size_t at = 4;
  for (uint32_t u : {100000u, 100000u, 50000u}) {
    EXPECT_EQ(u, U32At(stream, at));
    EXPECT_LE(U32At(stream, at + 4), uint32_t(SFile::PACKED_SIZE));
    at += 8 + U32At(stream, at + 4);
  }
  EXPECT_EQ(stream.size(), at);
  // Nothing to compress writes nothing at all.
  SFileMem empty, none;
  empty.Allocate(0);
  EXPECT_EQ(0, SFile::Compress(&empty, &none));
  EXPECT_FALSE(none.IsOpen());
  // A range of the source, from its position.
  SFileMem part, partPacked, partBack;
  MemoryOf(part, "0123456789")->Seek(2);
  EXPECT_GT(SFile::Compress(&part, &partPacked, 5), 0);
  EXPECT_EQ(7, part.Tell());
  partPacked.Rewind();
  EXPECT_EQ(5, SFile::Inflate(&partPacked, &partBack));
  EXPECT_EQ("23456", Bytes(partBack));
}

TEST(SFileTransform, InflateRefusesBadSizesAndZlibErrors) {
  const std::string good = Packed(Noise(1000, 7));
  std::string damaged = good;
  damaged[good.size() - 10] ^= 0x55;  // the zlib checksum no longer holds
  const struct {
    const char* what;
    std::string bytes;
    int kept;  // bytes of blocks inflated before the fault
  } cases[] = {
      {"block size above 100000", WithU32(good, 4, 100001), 0},
      {"packed size above 110012", WithU32(good, 8, 110013), 0},
      {"packed size beyond the data", WithU32(good, 8, uint32_t(good.size())), 0},
      {"block count beyond the data", WithU32(good, 0, 0xFFFFFFFFu), 0},
      {"block count one too many", WithU32(good, 0, 2), 1000},
      {"no blocks", WithU32(good, 0, 0), 0},
      {"damaged zlib data", damaged, 0},
      {"block size the data does not fill", WithU32(good, 4, 1001), 0},
      {"block size below the data", WithU32(good, 4, 999), 0},
      {"a huge block size", WithU32(good, 4, 0x7FFFFFFFu), 0},
      // Zlib data that hold more than the block declares, before a good block.
      {"empty block with a byte", U32(2) + ZlibBlock(0, "x") + good.substr(4), 0},
      {"one-byte block with two", U32(2) + ZlibBlock(1, "xy") + good.substr(4), 0},
      {"cut short", good.substr(0, good.size() - 1), 0},
      {"cut in a header", good.substr(0, 11), 0},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SFileMem input, output;
    EXPECT_EQ(0, SFile::Inflate(MemoryOf(input, c.bytes), &output)) << c.what;
    EXPECT_EQ(c.kept, output.GetSize()) << c.what;
    // The same from a disk file into a disk file.
    folder.Write("bad.bin", c.bytes);
    SFilePath disk(folder.File("bad.bin").c_str(), false, false, true, false);
    SFilePath out(folder.File("out.bin").c_str(), true, true, true, false);
    EXPECT_EQ(0, SFile::Inflate(&disk, &out)) << c.what;
  }
  // An empty block that is empty inflates to nothing, successfully.
  SFileMem input, output;
  MemoryOf(input, U32(2) + ZlibBlock(0, "") + good.substr(4));
  EXPECT_EQ(1000, SFile::Inflate(&input, &output));
}

TEST(SFileTransform, InflateIntoMemoryWithExistingData) {
  std::string bytes = Noise(250000, 12);
  const std::string stream = Packed(bytes);
  // Written at the position; held bytes beyond the stream's end stay.
  std::string held(300000, 'h');
  SFileMem input, output;
  MemoryOf(output, held)->Seek(10);
  EXPECT_EQ(250000, SFile::Inflate(MemoryOf(input, stream), &output));
  EXPECT_TRUE(held.substr(0, 10) + bytes + held.substr(250010) == Bytes(output));

  // A damaged second block: the first block stays written, nothing of the
  // failed one lands in the file, and the size grows only by what the first
  // block wrote.
  std::string damaged = stream;
  damaged[4 + 8 + U32At(stream, 8) + 8 + 100] ^= 0x55;
  for (int heldSize : {150000, 5}) {
    held.assign(heldSize, 'h');
    MemoryOf(output, held)->Seek(2);
    EXPECT_EQ(0, SFile::Inflate(MemoryOf(input, damaged), &output));
    std::string expected = held.substr(0, 2) + bytes.substr(0, 100000);
    if (heldSize > 100002) expected += held.substr(100002);
    EXPECT_TRUE(expected == Bytes(output)) << heldSize;
    EXPECT_EQ(100002, output.Tell());
  }
}

TEST(SFileTransform, Base64BothForms) {
  std::string line;
  for (int i = 0; i < 76; i += 4) line += "YWFh";
  const struct {
    std::string bytes;
    int lineLength;
    bool urlSafe;
    std::string text;
  } rows[] = {
      {"abc", 0, true, "YWJj@"},
      {"abc", 76, false, "YWJj\r\n="},
      {"\xFF", 0, true, "_w@"},
      {"\xFF", 76, false, "/w\r\n="},
      {"\xFB\xEF", 0, true, "--8@"},
      {"", 0, true, "@"},
      {"", 76, false, "="},
      {"abc", 3, false, "YWJj\r\n="},  // rounded up to 4
      // 76 characters carry 57 bytes.
      {std::string(115, 'a'), 76, false, line + "\r\n" + line + "\r\nYQ\r\n="},
  };
  for (const auto& row : rows) {
    SFileMem source;
    MemoryOf(source, row.bytes);
    EXPECT_EQ(row.text, Text(SFile::ToBase64(&source, row.lineLength, row.urlSafe))) << row.text;
  }
  // The URL-safe form is one line whatever the length; a length below 1 fails.
  SFileMem source, out;
  MemoryOf(source, std::string(100000, 'a'));
  EXPECT_EQ(133335, SFile::ToBase64(&source, 4, true).GetLength());
  EXPECT_FALSE(SFile::Base64Encode(MemoryOf(source, "abc"), &out, -4, false));

  // Decoding: "=" padding, text after the first terminator left unread, both
  // alphabets in one text, CR skipped with the LF after it.
  const struct {
    const char* text;
    std::string bytes;
    int end;
  } decoded[] = {{"YWJj@", "abc", 5},
                 {"QQ==", "A", 3},
                 {"YWJj=ZGVm@", "abc", 5},
                 {"+/-_\r\n+/-_=", "\xFB\xFF\xBF\xFB\xFF\xBF", 11}};
  for (const auto& d : decoded) {
    SFileMem text(d.text), bytes;
    EXPECT_TRUE(SFile::Base64Decode(&text, &bytes)) << d.text;
    EXPECT_EQ(d.bytes, Bytes(bytes)) << d.text;
    EXPECT_EQ(d.end, text.Tell()) << d.text;
  }
  // Long texts round trip in both forms, and without a terminator at every
  // length of the last group.
  std::string bytes = Noise(10000, 10);
  for (int n = 0; n < 8; ++n) {
    SFileMem encoded, back;
    std::string part = n < 6 ? bytes.substr(0, 700 + n) : bytes;
    ASSERT_TRUE(SFile::Base64Encode(MemoryOf(source, part), &encoded, n < 6 ? 0 : 64, n != 6));
    if (n < 6) encoded.SetSize(encoded.GetSize() - 1);
    encoded.Rewind();
    ASSERT_TRUE(SFile::Base64Decode(&encoded, &back));
    EXPECT_EQ(part, Bytes(back)) << n;
  }
}

TEST(SFileTransform, ProgressAndCancel) {
  // Each transform consults the handler of its own kind on the source, once
  // per block; a cancel stops the transform and keeps the blocks written.
  SFileMem key("k"), source, out, packed, restored, text;
  MemoryOf(source, std::string(2500, 'x'));
  Progress progress;
  source.SetProgressHandler(SFile::PROGRESS_KEYED_ENCODE, Progress::Handler);
  EXPECT_TRUE(SFile::KeyedEncode(Key(key), &source, -1, &out, &progress));
  EXPECT_EQ((std::vector<int>{0, 400, 800}), progress.values);
  source.Rewind();
  out.Allocate(0);
  progress = Progress();
  progress.cancelAt = 2;
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), &source, -1, &out, &progress));
  EXPECT_EQ(1000, out.GetSize());

  EXPECT_GT(SFile::Compress(MemoryOf(source, Noise(250000, 9)), &packed), 0);
  packed.Rewind();
  progress = Progress();
  packed.SetProgressHandler(SFile::PROGRESS_INFLATE, Progress::Handler);
  progress.cancelAt = 3;
  EXPECT_EQ(0, SFile::Inflate(&packed, &restored, &progress));
  EXPECT_EQ((std::vector<int>{0, 333, 666}), progress.values);
  EXPECT_EQ(200000, restored.GetSize());

  // Base64 encoding passes no user value: the handler sees null.
  MemoryOf(source, std::string(120, 'a'));
  source.SetProgressHandler(SFile::PROGRESS_BASE64_ENCODE, [](int perMille, void* userData) {
    return userData == nullptr && perMille == 0;
  });
  EXPECT_FALSE(SFile::Base64Encode(&source, &text, 76, false));
  EXPECT_EQ(78, text.GetSize());
}

TEST(SFileTransform, ShortWritesAreFailures) {
  // A destination opened for reading only accepts nothing.
  TempFolder folder;
  folder.Write("readonly.bin", "");
  SFilePath readOnly(folder.File("readonly.bin").c_str(), false, false, true, false);
  ASSERT_TRUE(readOnly.IsOpen());
  SFileMem key("k"), source, packed;
  const std::string bytes = Noise(600, 11);
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), MemoryOf(source, bytes), -1, &readOnly));
  EXPECT_EQ(0, SFile::Compress(MemoryOf(source, bytes), &readOnly));
  EXPECT_FALSE(SFile::Base64Encode(MemoryOf(source, bytes), &readOnly, 76, false));
  EXPECT_EQ(0, SFile::WriteFill(&readOnly, 1, 250));
  EXPECT_EQ(0, SFile::Inflate(MemoryOf(packed, Packed(bytes)), &readOnly));
  // A copy stops at once and consumes only what was accepted.
  EXPECT_EQ(0, SFile::Copy(MemoryOf(source, bytes), &readOnly));
  EXPECT_EQ(0, source.Tell());
}
