#include "core/Platform.h"
#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Bytes(const SFileMem& file) {
  if (!file.GetBuffer()) return std::string();
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize());
}

std::string Text(const SString& s) {
  return s.GetText() ? std::string(s.GetText(), s.GetLength()) : std::string();
}

// Bytes that zlib cannot shrink much, from a fixed seed.
std::string Noise(int n, uint32_t seed) {
  std::string out(n, '\0');
  for (int i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    out[i] = char(seed >> 16);
  }
  return out;
}

// A key handed on the way callers do: through operator void*, so that a key
// file that holds nothing becomes null.
SFile* Key(SFileMem& key) {
  return static_cast<SFile*>(static_cast<void*>(key));
}

SFileMem* MemoryOf(SFileMem& file, const std::string& bytes) {
  file.Allocate(0);
  file.WriteData(bytes.data(), int(bytes.size()));
  file.Rewind();
  return &file;
}

void SaveFile(const std::string& name, const std::string& bytes) {
  SFilePath out(name.c_str(), true, true, false, false);
  out.WriteData(bytes.data(), int(bytes.size()));
}

uint32_t U32At(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 |
         uint32_t(uint8_t(s[at + 2])) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

std::string WithU32(std::string s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = char(v >> (8 * i));
  return s;
}

std::string Packed(const std::string& bytes) {
  SFileMem source, packed;
  MemoryOf(source, bytes);
  SFile::Compress(&source, &packed);
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
  SFileMem source;
  std::string bytes = Noise(30, 1);
  MemoryOf(source, bytes);
  source.Seek(10);
  SFileMem destination;
  EXPECT_EQ(20, SFile::Copy(&source, &destination));
  EXPECT_EQ(bytes.substr(10), Bytes(destination));
  // n is clamped to what remains; 0 and a null source copy nothing.
  source.Seek(25);
  EXPECT_EQ(5, SFile::Copy(&source, &destination, 100));
  EXPECT_EQ(0, SFile::Copy(&source, &destination, 0));
  EXPECT_EQ(0, SFile::Copy(nullptr, &destination));

  // Into the middle of a memory file: it grows only as far as the bytes go.
  SFileMem middle("0123456789"), four("abcd");
  middle.Seek(8);
  EXPECT_EQ(4, SFile::Copy(&four, &middle));
  EXPECT_EQ("01234567abcd", Bytes(middle));
  middle.Seek(1);
  four.Rewind();
  EXPECT_EQ(2, SFile::Copy(&four, &middle, 2));
  EXPECT_EQ("0ab34567abcd", Bytes(middle));

  // From a disk file.
  TempFolder folder;
  std::string name = folder.File("copy.bin");
  bytes = Noise(1000, 2);
  SaveFile(name, bytes);
  SFilePath disk(name.c_str(), false, false, true, false);
  disk.Seek(100);
  SFileMem back;
  EXPECT_EQ(900, SFile::Copy(&disk, &back, -1));
  EXPECT_EQ(bytes.substr(100), Bytes(back));

  SFileMem filled;
  EXPECT_EQ(250, SFile::WriteFill(&filled, 0xAB, 250));
  EXPECT_EQ(std::string(250, '\xAB'), Bytes(filled));
  EXPECT_EQ(0, SFile::WriteFill(&filled, 0, 0));
  EXPECT_EQ(0, SFile::WriteFill(nullptr, 0, 10));
}

TEST(SFileTransform, KeyedBytesWrapModulo256) {
  // One byte alone (no run of four): sums and differences wrap.
  SFileMem high("\xF0"), keyHigh("\x20"), wrapped;
  EXPECT_TRUE(SFile::KeyedEncode(Key(keyHigh), &high, -1, &wrapped));
  EXPECT_EQ("\x10", Bytes(wrapped));
  // Every byte value meets every key byte value (a key of 257 bytes over
  // 256 x 257 bytes), several bytes at a time.
  std::string every(256 * 257, '\0'), keyBytes(257, '\0');
  for (size_t i = 0; i < every.size(); ++i) every[i] = char(i);
  for (size_t i = 0; i < keyBytes.size(); ++i) keyBytes[i] = char(i * 7 + 3);
  SFileMem allKey, all, sums, differences;
  MemoryOf(allKey, keyBytes);
  MemoryOf(all, every);
  ASSERT_TRUE(SFile::KeyedEncode(&allKey, &all, -1, &sums));
  EXPECT_TRUE(all.IsEOF());
  all.Rewind();
  ASSERT_TRUE(SFile::KeyedDecode(&allKey, &all, -1, &differences));
  std::string sum = Bytes(sums), difference = Bytes(differences);
  for (size_t i = 0; i < every.size(); ++i) {
    uint8_t a = uint8_t(every[i]), k = uint8_t(keyBytes[i % 257]);
    ASSERT_EQ(uint8_t(a + k), uint8_t(sum[i])) << i;
    ASSERT_EQ(uint8_t(a - k), uint8_t(difference[i])) << i;
  }
}

TEST(SFileTransform, KeyIndexRunsOnAcrossBlocks) {
  // A 70-byte key over 2500 bytes: byte 2499 meets key byte 2499 mod 70 = 49.
  std::string keyText;
  for (int i = 0; i < 70; ++i) keyText.push_back(char('0' + i));
  SFileMem key(keyText.c_str());
  SFileMem zeros, out;
  MemoryOf(zeros, std::string(2500, '\0'));
  ASSERT_TRUE(SFile::KeyedEncode(Key(key), &zeros, -1, &out));
  std::string encoded = Bytes(out);
  ASSERT_EQ(2500u, encoded.size());
  EXPECT_EQ(char('0' + 49), encoded[2499]);
  for (int i = 0; i < 2500; ++i) ASSERT_EQ(char('0' + i % 70), encoded[i]) << i;

  // The same in place, from a position, and with a key longer than a block.
  std::string longKey = Noise(1500, 13);
  for (const std::string* text : {&keyText, &longKey}) {
    SFileMem k, file;
    MemoryOf(k, *text);
    MemoryOf(file, std::string(3700, '\0'));
    file.Seek(200);
    ASSERT_TRUE(SFile::KeyedEncode(Key(k), &file));
    EXPECT_EQ(3700, file.Tell());
    std::string inPlace = Bytes(file);
    for (int i = 0; i < 3500; ++i)
      ASSERT_EQ((*text)[i % text->size()], inPlace[200 + i]) << i;
    EXPECT_EQ(std::string(200, '\0'), inPlace.substr(0, 200));
  }
}

TEST(SFileTransform, KeyedInPlaceAndItsArguments) {
  SFileMem key("\x01\x02");
  SFileMem file("abcdef");
  file.Seek(2);
  EXPECT_TRUE(SFile::KeyedEncode(Key(key), &file, 100));  // stops at the end
  EXPECT_EQ("abdffh", Bytes(file));
  EXPECT_EQ(6, file.Tell());
  file.Rewind();
  EXPECT_TRUE(SFile::KeyedDecode(Key(key), &file, 1));  // n limits the range
  EXPECT_EQ("`bdffh", Bytes(file));
  EXPECT_EQ(1, file.Tell());

  // In place on a disk file.
  TempFolder folder;
  std::string name = folder.File("keyed.bin");
  std::string bytes = Noise(2345, 4);
  SaveFile(name, bytes);
  {
    SFilePath disk(name.c_str(), true, false, true, false);
    EXPECT_TRUE(SFile::KeyedEncode(Key(key), &disk));
    EXPECT_EQ(2345, disk.Tell());
    disk.Rewind();
    EXPECT_TRUE(SFile::KeyedDecode(Key(key), &disk));
    disk.Rewind();
    EXPECT_EQ(bytes, Text(disk.ReadString()));
  }

  // A key text that holds nothing gives no key; a closed source fails; an
  // open key of size 0 leaves the data unchanged.
  SFileMem emptyKey(""), abc("abc"), closed, zeroKey;
  EXPECT_FALSE(SFile::KeyedEncode(Key(emptyKey), &abc));
  EXPECT_FALSE(SFile::KeyedEncode(nullptr, &abc));
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), &closed));
  zeroKey.Allocate(0);
  EXPECT_TRUE(SFile::KeyedEncode(&zeroKey, &abc));
  EXPECT_EQ("abc", Bytes(abc));
}

TEST(SFileTransform, CompressWritesTheBlockFormat) {
  std::string bytes = Noise(250000, 5);
  SFileMem source, packed;
  MemoryOf(source, bytes);
  int written = SFile::Compress(&source, &packed);
  std::string stream = Bytes(packed);
  ASSERT_EQ(int(stream.size()), written);
  EXPECT_TRUE(source.IsEOF());
  ASSERT_EQ(3u, U32At(stream, 0));
  size_t at = 4;
  for (uint32_t u : {100000u, 100000u, 50000u}) {
    EXPECT_EQ(u, U32At(stream, at));
    uint32_t c = U32At(stream, at + 4);
    EXPECT_LE(c, uint32_t(SFile::PACKED_SIZE));
    at += 8 + c;
  }
  EXPECT_EQ(stream.size(), at);
  packed.Rewind();
  SFileMem restored;
  EXPECT_EQ(250000, SFile::Inflate(&packed, &restored));
  EXPECT_EQ(bytes, Bytes(restored));
  EXPECT_TRUE(packed.IsEOF());

  // Exactly one block.
  stream = Packed(std::string(100000, 'a'));
  EXPECT_EQ(1u, U32At(stream, 0));
  EXPECT_EQ(100000u, U32At(stream, 4));
  EXPECT_EQ(stream.size(), 12 + U32At(stream, 8));

  // Nothing to compress writes nothing at all.
  SFileMem empty, none;
  empty.Allocate(0);
  EXPECT_EQ(0, SFile::Compress(&empty, &none));
  EXPECT_FALSE(none.IsOpen());
  EXPECT_EQ(0, SFile::Compress(&source, nullptr));

  // A range of the source, from its position.
  SFileMem part, partPacked, partBack;
  MemoryOf(part, "0123456789");
  part.Seek(2);
  EXPECT_GT(SFile::Compress(&part, &partPacked, 5), 0);
  EXPECT_EQ(7, part.Tell());
  partPacked.Rewind();
  EXPECT_EQ(5, SFile::Inflate(&partPacked, &partBack));
  EXPECT_EQ("23456", Bytes(partBack));
}

TEST(SFileTransform, CompressAndInflateThroughDiskFiles) {
  TempFolder folder;
  std::string bytes = Noise(150000, 6);
  std::string rawName = folder.File("raw.bin");
  SaveFile(rawName, bytes);
  SFilePath raw(rawName.c_str(), false, false, true, false);
  SFilePath packed(folder.File("packed.bin").c_str(), true, true, true, false);
  int written = SFile::Compress(&raw, &packed);
  EXPECT_GT(written, 0);
  EXPECT_EQ(written, packed.GetSize());
  packed.Rewind();
  SFilePath restored(folder.File("restored.bin").c_str(), true, true, true, false);
  EXPECT_EQ(150000, SFile::Inflate(&packed, &restored));
  restored.Rewind();
  EXPECT_EQ(bytes, Text(restored.ReadString()));
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
  };
  for (const auto& c : cases) {
    SFileMem input, output;
    MemoryOf(input, c.bytes);
    EXPECT_EQ(0, SFile::Inflate(&input, &output)) << c.what;
    EXPECT_EQ(c.kept, output.GetSize()) << c.what;
  }
  // A stream cut short anywhere inside is refused.
  for (size_t cut : {size_t(0), size_t(3), size_t(4), size_t(11), good.size() - 1}) {
    SFileMem input, output;
    MemoryOf(input, good.substr(0, cut));
    EXPECT_EQ(0, SFile::Inflate(&input, &output)) << "cut at " << cut;
  }
  // A huge block size gives up at once, also read from disk.
  TempFolder folder;
  std::string name = folder.File("bad.bin");
  SaveFile(name, WithU32(good, 4, 0x7FFFFFFFu));
  SFilePath disk(name.c_str(), false, false, true, false);
  SFileMem output;
  EXPECT_EQ(0, SFile::Inflate(&disk, &output));
  EXPECT_EQ(0, output.GetSize());
}

TEST(SFileTransform, InflateIntoMemoryWithExistingData) {
  std::string bytes = Noise(250000, 12);
  const std::string stream = Packed(bytes);

  // Written at the position; held bytes beyond the stream's end stay.
  std::string held(300000, 'h');
  SFileMem input, output;
  MemoryOf(input, stream);
  MemoryOf(output, held);
  output.Seek(10);
  EXPECT_EQ(250000, SFile::Inflate(&input, &output));
  EXPECT_TRUE(held.substr(0, 10) + bytes + held.substr(250010) == Bytes(output));
  EXPECT_EQ(250010, output.Tell());

  // A damaged second block: the first block stays written, nothing of the
  // failed one lands in the file, and the size grows only by what the first
  // block wrote.
  std::string damaged = stream;
  size_t second = 4 + 8 + U32At(stream, 8);
  damaged[second + 8 + 100] ^= 0x55;
  for (int heldSize : {150000, 5}) {
    SCOPED_TRACE(heldSize);
    held.assign(heldSize, 'h');
    MemoryOf(input, damaged);
    MemoryOf(output, held);
    output.Seek(2);
    EXPECT_EQ(0, SFile::Inflate(&input, &output));
    std::string expected = held.substr(0, 2) + bytes.substr(0, 100000);
    if (heldSize > 100002) expected += held.substr(100002);
    EXPECT_EQ(expected.size(), Bytes(output).size());
    EXPECT_TRUE(expected == Bytes(output));
    EXPECT_EQ(100002, output.Tell());
  }

  // A closed file stays closed when the first block fails.
  damaged = stream;
  damaged[4 + 8 + 50] ^= 0x55;
  MemoryOf(input, damaged);
  SFileMem closed;
  EXPECT_EQ(0, SFile::Inflate(&input, &closed));
  EXPECT_FALSE(closed.IsOpen());

  // From a disk file the memory file grows block by block.
  TempFolder folder;
  std::string name = folder.File("packed.bin");
  SaveFile(name, stream);
  SFilePath disk(name.c_str(), false, false, true, false);
  MemoryOf(output, "xyz");
  output.SeekToEnd();
  EXPECT_EQ(250000, SFile::Inflate(&disk, &output));
  EXPECT_TRUE("xyz" + bytes == Bytes(output));
}

TEST(SFileTransform, Base64Encode) {
  SFileMem abc("abc"), ff("\xFF"), two("\xFB\xEF"), empty;
  EXPECT_EQ("YWJj@", Text(SFile::ToBase64(&abc, 0, true)));
  abc.Rewind();
  EXPECT_EQ("YWJj\r\n=", Text(SFile::ToBase64(&abc, 76, false)));
  EXPECT_EQ("_w@", Text(SFile::ToBase64(&ff, 0, true)));
  ff.Rewind();
  EXPECT_EQ("/w\r\n=", Text(SFile::ToBase64(&ff, 76, false)));
  EXPECT_EQ("--8@", Text(SFile::ToBase64(&two, 0, true)));
  empty.Allocate(0);
  EXPECT_EQ("@", Text(SFile::ToBase64(&empty, 0, true)));
  EXPECT_EQ("=", Text(SFile::ToBase64(&empty, 76, false)));

  // 76 characters carry 57 bytes; a length is rounded up to a multiple of 4;
  // nothing is left of 0 or less.
  SFileMem source;
  MemoryOf(source, std::string(115, 'a'));
  std::string line;
  for (int i = 0; i < 76; i += 4) line += "YWFh";
  EXPECT_EQ(line + "\r\n" + line + "\r\nYQ\r\n=", Text(SFile::ToBase64(&source, 76, false)));
  source.Rewind();
  EXPECT_EQ("YWFhYWFh\r\n", Text(SFile::ToBase64(&source, 5, false)).substr(0, 10));
  abc.Rewind();
  EXPECT_EQ("YWJj\r\n=", Text(SFile::ToBase64(&abc, 3, false)));
  SFileMem out;
  abc.Rewind();
  EXPECT_FALSE(SFile::Base64Encode(&abc, &out, -4, false));
  EXPECT_FALSE(SFile::Base64Encode(&abc, nullptr, 76, false));
  EXPECT_EQ("", Text(SFile::ToBase64(&abc, 0, false)));

  // The URL-safe form is one line, whatever length is given.
  MemoryOf(source, std::string(100000, 'a'));
  std::string url = Text(SFile::ToBase64(&source, 4, true));
  EXPECT_EQ(std::string::npos, url.find('\r'));
  EXPECT_EQ(133335u, url.size());
  EXPECT_EQ('@', url.back());
}

TEST(SFileTransform, Base64Decode) {
  SFileMem text("YWJj@"), out;
  EXPECT_TRUE(SFile::Base64Decode(&text, &out));
  EXPECT_EQ("abc", Bytes(out));

  SFileMem padded("QQ=="), a;
  EXPECT_TRUE(SFile::Base64Decode(&padded, &a));
  EXPECT_EQ("A", Bytes(a));
  EXPECT_EQ(3, padded.Tell());

  // Text after the first terminator is not read.
  SFileMem twice("YWJj=ZGVm@"), first;
  EXPECT_TRUE(SFile::Base64Decode(&twice, &first));
  EXPECT_EQ("abc", Bytes(first));
  EXPECT_EQ(5, twice.Tell());

  // Both alphabets in one text; CR is skipped with the LF after it.
  SFileMem mixed("+/-_\r\n+/-_="), bits;
  EXPECT_TRUE(SFile::Base64Decode(&mixed, &bits));
  EXPECT_EQ(std::string("\xFB\xFF\xBF\xFB\xFF\xBF", 6), Bytes(bits));
  EXPECT_FALSE(SFile::Base64Decode(&mixed, nullptr));

  // Long texts in both forms; without a terminator the pending sextets still
  // count, at every length of the last group.
  std::string bytes = Noise(10000, 10);
  for (bool urlSafe : {false, true}) {
    SFileMem source, encoded, back;
    MemoryOf(source, bytes);
    ASSERT_TRUE(SFile::Base64Encode(&source, &encoded, 64, urlSafe));
    encoded.Rewind();
    ASSERT_TRUE(SFile::Base64Decode(&encoded, &back));
    EXPECT_EQ(bytes, Bytes(back)) << urlSafe;
    EXPECT_TRUE(encoded.IsEOF());
  }
  for (int n = 0; n < 6; ++n) {
    SFileMem source, encoded, back;
    MemoryOf(source, bytes.substr(0, 700 + n));
    ASSERT_TRUE(SFile::Base64Encode(&source, &encoded, 0, true));
    encoded.SetSize(encoded.GetSize() - 1);
    encoded.Rewind();
    ASSERT_TRUE(SFile::Base64Decode(&encoded, &back));
    EXPECT_EQ(bytes.substr(0, 700 + n), Bytes(back)) << n;
  }
}

TEST(SFileTransform, ProgressAndCancel) {
  // Each transform consults the handler of its own kind on the source, once
  // per block; a cancel stops the transform and keeps the blocks written.
  SFileMem key("k");
  SFileMem source, out;
  MemoryOf(source, std::string(2500, 'x'));
  Progress progress;
  source.SetProgressHandler(SFile::PROGRESS_KEYED_ENCODE, Progress::Handler);
  EXPECT_TRUE(SFile::KeyedEncode(Key(key), &source, -1, &out, &progress));
  EXPECT_EQ((std::vector<int>{0, 400, 800}), progress.values);
  source.Rewind();
  progress.values.clear();
  EXPECT_TRUE(SFile::KeyedDecode(Key(key), &source, -1, &out, &progress));
  EXPECT_TRUE(progress.values.empty());
  source.Rewind();
  out.Allocate(0);
  progress.cancelAt = 2;
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), &source, -1, &out, &progress));
  EXPECT_EQ(1000, out.GetSize());

  SFileMem packed, restored;
  MemoryOf(source, Noise(250000, 9));
  progress = Progress();
  source.SetProgressHandler(SFile::PROGRESS_COMPRESS, Progress::Handler);
  EXPECT_GT(SFile::Compress(&source, &packed, -1, &progress), 0);
  EXPECT_EQ((std::vector<int>{0, 400, 800}), progress.values);
  packed.Rewind();
  progress.values.clear();
  packed.SetProgressHandler(SFile::PROGRESS_INFLATE, Progress::Handler);
  EXPECT_EQ(250000, SFile::Inflate(&packed, &restored, &progress));
  EXPECT_EQ((std::vector<int>{0, 333, 666}), progress.values);
  packed.Rewind();
  restored.Allocate(0);
  progress.values.clear();
  progress.cancelAt = 3;
  EXPECT_EQ(0, SFile::Inflate(&packed, &restored, &progress));
  EXPECT_EQ(200000, restored.GetSize());

  // Base64 encoding passes no user value: the handler sees null.
  SFileMem text;
  MemoryOf(source, std::string(120, 'a'));
  source.SetProgressHandler(SFile::PROGRESS_BASE64_ENCODE,
                            [](int perMille, void* userData) {
                              return userData == nullptr && perMille == 0;
                            });
  EXPECT_FALSE(SFile::Base64Encode(&source, &text, 76, false));
  EXPECT_EQ(78, text.GetSize());
  MemoryOf(text, std::string(2048, 'A'));
  progress = Progress();
  text.SetProgressHandler(SFile::PROGRESS_BASE64_DECODE, Progress::Handler);
  EXPECT_TRUE(SFile::Base64Decode(&text, &out, &progress));
  EXPECT_EQ((std::vector<int>{0, 250, 500, 750}), progress.values);
}

TEST(SFileTransform, ShortWritesAreFailures) {
  // A destination opened for reading only accepts nothing.
  TempFolder folder;
  std::string name = folder.File("readonly.bin");
  SaveFile(name, "");
  SFilePath readOnly(name.c_str(), false, false, true, false);
  ASSERT_TRUE(readOnly.IsOpen());

  SFileMem key("k");
  SFileMem source;
  MemoryOf(source, Noise(600, 11));
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), &source, -1, &readOnly));
  source.Rewind();
  EXPECT_EQ(0, SFile::Compress(&source, &readOnly));
  source.Rewind();
  EXPECT_FALSE(SFile::Base64Encode(&source, &readOnly, 76, false));
  EXPECT_EQ(0, SFile::WriteFill(&readOnly, 1, 250));

  // A copy stops at once and consumes only what was accepted.
  source.Rewind();
  EXPECT_EQ(0, SFile::Copy(&source, &readOnly));
  EXPECT_EQ(0, source.Tell());
  std::string sourceName = folder.File("source.bin");
  SaveFile(sourceName, "some bytes");
  SFilePath diskSource(sourceName.c_str(), false, false, true, false);
  diskSource.Seek(2);
  EXPECT_EQ(0, SFile::Copy(&diskSource, &readOnly));
  EXPECT_EQ(2, diskSource.Tell());

  SFileMem packed;
  MemoryOf(packed, Packed(Noise(600, 11)));
  EXPECT_EQ(0, SFile::Inflate(&packed, &readOnly));
}
