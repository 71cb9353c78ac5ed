#include "core/Platform.h"
#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"

#include "tests/core/TempFolder.h"

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

uint32_t U32At(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 |
         uint32_t(uint8_t(s[at + 2])) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

void PutU32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = char(v >> (8 * i));
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

TEST(SFileTransform, CopyFromAMemoryFile) {
  SFileMem source;
  std::string bytes = Noise(30, 1);
  MemoryOf(source, bytes);
  source.Seek(10);
  SFileMem destination;
  EXPECT_EQ(20, SFile::Copy(&source, &destination));
  EXPECT_TRUE(source.IsEOF());
  EXPECT_EQ(bytes.substr(10), Bytes(destination));
  EXPECT_EQ(20, destination.Tell());

  // n is clamped to what remains; 0 and a null source copy nothing.
  source.Seek(25);
  EXPECT_EQ(5, SFile::Copy(&source, &destination, 100));
  EXPECT_EQ(0, SFile::Copy(&source, &destination, 0));
  EXPECT_EQ(0, SFile::Copy(nullptr, &destination));

  // Into the middle of a memory file: it grows only as far as the bytes go.
  SFileMem middle("0123456789");
  middle.Seek(8);
  SFileMem four("abcd");
  EXPECT_EQ(4, SFile::Copy(&four, &middle));
  EXPECT_EQ("01234567abcd", Bytes(middle));
  middle.Seek(1);
  four.Rewind();
  EXPECT_EQ(2, SFile::Copy(&four, &middle, 2));
  EXPECT_EQ("0ab34567abcd", Bytes(middle));
}

TEST(SFileTransform, CopyBetweenDiskAndMemory) {
  TempFolder folder;
  std::string bytes = Noise(1000, 2);
  std::string name = folder.File("copy.bin");
  SFileMem source;
  MemoryOf(source, bytes);
  {
    SFilePath disk(name.c_str(), true, true, false, false);
    EXPECT_EQ(1000, SFile::Copy(&source, &disk));
  }
  SFilePath disk(name.c_str(), false, false, true, false);
  disk.Seek(100);
  SFileMem back;
  EXPECT_EQ(900, SFile::Copy(&disk, &back, -1));
  EXPECT_EQ(bytes.substr(100), Bytes(back));
  EXPECT_TRUE(disk.IsEOF());
}

TEST(SFileTransform, WriteFill) {
  SFileMem file;
  EXPECT_EQ(250, SFile::WriteFill(&file, 0xAB, 250));
  EXPECT_EQ(std::string(250, '\xAB'), Bytes(file));
  EXPECT_EQ(0, SFile::WriteFill(&file, 0, 0));
  EXPECT_EQ(0, SFile::WriteFill(nullptr, 0, 10));

  // A destination that stops accepting: the bytes actually written.
  TempFolder folder;
  SFilePath readOnly;
  std::string name = folder.File("fill.bin");
  fclose(fopen(name.c_str(), "wb"));
  ASSERT_TRUE(readOnly.Open(name.c_str(), false, false, true, false));
  EXPECT_EQ(0, SFile::WriteFill(&readOnly, 1, 250));
}

TEST(SFileTransform, KeyedRoundTripAndKeyBytes) {
  SFileMem key("KEY-0123456789");
  std::string bytes = Noise(3000, 3);
  SFileMem source, encoded, decoded;
  MemoryOf(source, bytes);
  EXPECT_TRUE(SFile::KeyedEncode(Key(key), &source, -1, &encoded));
  EXPECT_TRUE(source.IsEOF());
  EXPECT_NE(bytes, Bytes(encoded));
  encoded.Rewind();
  EXPECT_TRUE(SFile::KeyedDecode(Key(key), &encoded, -1, &decoded));
  EXPECT_EQ(bytes, Bytes(decoded));

  // Zero bytes encode to the key repeated; sums and differences wrap.
  SFileMem zeros, out;
  MemoryOf(zeros, std::string(30, '\0'));
  EXPECT_TRUE(SFile::KeyedEncode(Key(key), &zeros, -1, &out));
  EXPECT_EQ("KEY-0123456789KEY-0123456789KE", Bytes(out));

  SFileMem high("\xF0"), wrapped;
  SFileMem keyHigh("\x20");
  EXPECT_TRUE(SFile::KeyedEncode(Key(keyHigh), &high, -1, &wrapped));
  EXPECT_EQ("\x10", Bytes(wrapped));
  SFileMem low("\x10"), unwrapped;
  EXPECT_TRUE(SFile::KeyedDecode(Key(keyHigh), &low, -1, &unwrapped));
  EXPECT_EQ("\xF0", Bytes(unwrapped));
  // Every byte value meets every key byte value (a key of 257 bytes over
  // 256 x 257 bytes), several bytes at a time as well as one by one.
  std::string every(256 * 257, '\0'), keyBytes(257, '\0');
  for (size_t i = 0; i < every.size(); ++i) every[i] = char(i);
  for (size_t i = 0; i < keyBytes.size(); ++i) keyBytes[i] = char(i * 7 + 3);
  SFileMem allKey, all, sums, differences;
  MemoryOf(allKey, keyBytes);
  MemoryOf(all, every);
  ASSERT_TRUE(SFile::KeyedEncode(&allKey, &all, -1, &sums));
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

TEST(SFileTransform, KeyedInPlaceStopsAtTheEnd) {
  SFileMem key("\x01\x02");
  SFileMem file("abcdef");
  file.Seek(2);
  EXPECT_TRUE(SFile::KeyedEncode(Key(key), &file, 100));
  EXPECT_EQ("abdffh", Bytes(file));
  EXPECT_EQ(6, file.Tell());

  // n limits the range.
  file.Rewind();
  EXPECT_TRUE(SFile::KeyedDecode(Key(key), &file, 1));
  EXPECT_EQ("`bdffh", Bytes(file));
  EXPECT_EQ(1, file.Tell());

  // In place on a disk file.
  TempFolder folder;
  std::string name = folder.File("keyed.bin");
  std::string bytes = Noise(2345, 4);
  {
    SFilePath disk(name.c_str(), true, true, true, false);
    disk.WriteData(bytes.data(), int(bytes.size()));
    disk.Rewind();
    EXPECT_TRUE(SFile::KeyedEncode(Key(key), &disk));
    EXPECT_EQ(2345, disk.Tell());
    disk.Rewind();
    EXPECT_TRUE(SFile::KeyedDecode(Key(key), &disk));
    disk.Rewind();
    EXPECT_EQ(bytes, Text(disk.ReadString()));
  }
}

TEST(SFileTransform, KeyedNeedsAnOpenSourceAndAKey) {
  SFileMem emptyKey("");  // a key text that holds nothing gives no key
  SFileMem file("abc");
  EXPECT_FALSE(SFile::KeyedEncode(Key(emptyKey), &file));
  EXPECT_FALSE(SFile::KeyedEncode(nullptr, &file));
  SFileMem closed;
  SFileMem key("k");
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), &closed));

  // An open key of size 0 leaves the data unchanged.
  SFileMem zeroKey;
  zeroKey.Allocate(0);
  EXPECT_TRUE(SFile::KeyedEncode(&zeroKey, &file));
  EXPECT_EQ("abc", Bytes(file));
}

TEST(SFileTransform, KeyedProgressAndCancel) {
  SFileMem key("k");
  SFileMem source, out;
  MemoryOf(source, std::string(2500, 'x'));
  Progress progress;
  source.SetProgressHandler(SFile::PROGRESS_KEYED_ENCODE, Progress::Handler);
  EXPECT_TRUE(SFile::KeyedEncode(Key(key), &source, -1, &out, &progress));
  EXPECT_EQ((std::vector<int>{0, 400, 800}), progress.values);

  // The decode direction consults its own handler: none is set here.
  source.Rewind();
  progress.values.clear();
  EXPECT_TRUE(SFile::KeyedDecode(Key(key), &source, -1, &out, &progress));
  EXPECT_TRUE(progress.values.empty());

  // Cancelled before the second block: the first block stays written.
  source.Rewind();
  out.Allocate(0);
  progress.cancelAt = 2;
  EXPECT_FALSE(SFile::KeyedEncode(Key(key), &source, -1, &out, &progress));
  EXPECT_EQ(1000, out.GetSize());
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
  const uint32_t sizes[] = {100000, 100000, 50000};
  for (uint32_t u : sizes) {
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
}

TEST(SFileTransform, CompressOneBlockAndNothing) {
  SFileMem source, packed;
  MemoryOf(source, std::string(100000, 'a'));
  int written = SFile::Compress(&source, &packed);
  std::string stream = Bytes(packed);
  EXPECT_EQ(int(stream.size()), written);
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
  std::string rawName = folder.File("raw.bin"), packedName = folder.File("packed.bin");
  {
    SFilePath raw(rawName.c_str(), true, true, false, false);
    raw.WriteData(bytes.data(), int(bytes.size()));
  }
  SFilePath raw(rawName.c_str(), false, false, true, false);
  SFilePath packed(packedName.c_str(), true, true, true, false);
  int written = SFile::Compress(&raw, &packed);
  EXPECT_GT(written, 0);
  EXPECT_EQ(written, packed.GetSize());
  packed.Rewind();
  SFilePath restored(folder.File("restored.bin").c_str(), true, true, true, false);
  EXPECT_EQ(150000, SFile::Inflate(&packed, &restored));
  restored.Rewind();
  EXPECT_EQ(bytes, Text(restored.ReadString()));
}

TEST(SFileTransform, InflateRefusesSizesBeyondTheBuffers) {
  SFileMem source, packed;
  MemoryOf(source, Noise(1000, 7));
  SFile::Compress(&source, &packed);
  const std::string good = Bytes(packed);

  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    int kept;  // bytes of blocks inflated before the fault
  } cases[] = {
      {"block size above 100000", 4, 100001, 0},
      {"packed size above 110012", 8, 110013, 0},
      {"packed size beyond the data", 8, uint32_t(good.size()), 0},
      {"block count beyond the data", 0, 0xFFFFFFFFu, 0},
      {"block count one too many", 0, 2, 1000},
      {"no blocks", 0, 0, 0},
  };
  for (const Case& c : cases) {
    std::string bad = good;
    PutU32(bad, c.at, c.value);
    SFileMem input, output;
    MemoryOf(input, bad);
    EXPECT_EQ(0, SFile::Inflate(&input, &output)) << c.what;
    EXPECT_EQ(c.kept, output.GetSize()) << c.what;
  }

  // A stream cut short anywhere inside is refused.
  for (size_t cut : {size_t(0), size_t(3), size_t(4), size_t(11), good.size() - 1}) {
    SFileMem input, output;
    MemoryOf(input, good.substr(0, cut));
    EXPECT_EQ(0, SFile::Inflate(&input, &output)) << "cut at " << cut;
  }

  // Large sizes with a huge block count give up at once, also on disk.
  TempFolder folder;
  std::string name = folder.File("bad.bin");
  {
    SFilePath out(name.c_str(), true, true, false, false);
    std::string bad = good;
    PutU32(bad, 4, 0x7FFFFFFFu);
    out.WriteData(bad.data(), int(bad.size()));
  }
  SFilePath disk(name.c_str(), false, false, true, false);
  SFileMem output;
  EXPECT_EQ(0, SFile::Inflate(&disk, &output));
  EXPECT_EQ(0, output.GetSize());
}

TEST(SFileTransform, InflateReportsZlibErrors) {
  SFileMem source, packed;
  MemoryOf(source, Noise(5000, 8));
  SFile::Compress(&source, &packed);
  const std::string good = Bytes(packed);

  // Damaged zlib data (the checksum at the end no longer holds).
  std::string damaged = good;
  damaged[good.size() - 10] ^= 0x55;
  SFileMem input, output;
  MemoryOf(input, damaged);
  EXPECT_EQ(0, SFile::Inflate(&input, &output));

  // A stored block size that the data does not fill.
  std::string longer = good;
  PutU32(longer, 4, 5001);
  MemoryOf(input, longer);
  EXPECT_EQ(0, SFile::Inflate(&input, &output));

  // A stored block size smaller than the data.
  std::string shorter = good;
  PutU32(shorter, 4, 4999);
  MemoryOf(input, shorter);
  EXPECT_EQ(0, SFile::Inflate(&input, &output));

  // The intact stream still inflates.
  MemoryOf(input, good);
  SFileMem restored;
  EXPECT_EQ(5000, SFile::Inflate(&input, &restored));
}

TEST(SFileTransform, CompressAndInflateProgress) {
  SFileMem source, packed, restored;
  MemoryOf(source, Noise(250000, 9));
  Progress progress;
  source.SetProgressHandler(SFile::PROGRESS_COMPRESS, Progress::Handler);
  EXPECT_GT(SFile::Compress(&source, &packed, -1, &progress), 0);
  EXPECT_EQ((std::vector<int>{0, 400, 800}), progress.values);

  packed.Rewind();
  progress.values.clear();
  packed.SetProgressHandler(SFile::PROGRESS_INFLATE, Progress::Handler);
  EXPECT_EQ(250000, SFile::Inflate(&packed, &restored, &progress));
  EXPECT_EQ((std::vector<int>{0, 333, 666}), progress.values);

  // A cancelled inflate returns 0 and keeps the blocks already written.
  packed.Rewind();
  restored.Allocate(0);
  progress.values.clear();
  progress.cancelAt = 3;
  EXPECT_EQ(0, SFile::Inflate(&packed, &restored, &progress));
  EXPECT_EQ(200000, restored.GetSize());
}

TEST(SFileTransform, InflateIntoMemoryWithExistingData) {
  std::string bytes = Noise(250000, 12);
  SFileMem source, packed;
  MemoryOf(source, bytes);
  SFile::Compress(&source, &packed);
  const std::string stream = Bytes(packed);

  // Written at the position: the first block overlaps what the file held.
  SFileMem input, output;
  MemoryOf(input, stream);
  MemoryOf(output, "abcdef");
  output.Seek(2);
  EXPECT_EQ(250000, SFile::Inflate(&input, &output));
  EXPECT_TRUE("ab" + bytes == Bytes(output));
  EXPECT_EQ(250002, output.Tell());

  // Held bytes beyond the stream's end stay.
  std::string held(300000, 'h');
  MemoryOf(input, stream);
  MemoryOf(output, held);
  output.Seek(10);
  EXPECT_EQ(250000, SFile::Inflate(&input, &output));
  EXPECT_TRUE(held.substr(0, 10) + bytes + held.substr(250010) == Bytes(output));

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
  {
    SFilePath out(name.c_str(), true, true, false, false);
    out.WriteData(stream.data(), int(stream.size()));
  }
  SFilePath disk(name.c_str(), false, false, true, false);
  MemoryOf(output, "xyz");
  output.SeekToEnd();
  EXPECT_EQ(250000, SFile::Inflate(&disk, &output));
  EXPECT_TRUE("xyz" + bytes == Bytes(output));
}

TEST(SFileTransform, Base64Forms) {
  SFileMem abc("abc");
  EXPECT_EQ("YWJj@", Text(SFile::ToBase64(&abc, 0, true)));
  abc.Rewind();
  EXPECT_EQ("YWJj\r\n=", Text(SFile::ToBase64(&abc, 76, false)));

  SFileMem ff("\xFF");
  EXPECT_EQ("_w@", Text(SFile::ToBase64(&ff, 0, true)));
  ff.Rewind();
  EXPECT_EQ("/w\r\n=", Text(SFile::ToBase64(&ff, 76, false)));

  SFileMem two("\xFB\xEF");
  EXPECT_EQ("--8@", Text(SFile::ToBase64(&two, 0, true)));

  // An empty source gives just the terminator.
  SFileMem empty;
  empty.Allocate(0);
  EXPECT_EQ("@", Text(SFile::ToBase64(&empty, 0, true)));
  EXPECT_EQ("=", Text(SFile::ToBase64(&empty, 76, false)));

  // The line length is rounded up to a multiple of 4; nothing is left of 0.
  abc.Rewind();
  EXPECT_EQ("YWJj\r\n=", Text(SFile::ToBase64(&abc, 3, false)));
  SFileMem out;
  abc.Rewind();
  EXPECT_FALSE(SFile::Base64Encode(&abc, &out, -4, false));
  EXPECT_FALSE(SFile::Base64Encode(&abc, nullptr, 76, false));
  EXPECT_EQ("", Text(SFile::ToBase64(&abc, 0, false)));
}

TEST(SFileTransform, Base64Lines) {
  // 76 characters carry 57 bytes; a length is rounded up to a multiple of 4.
  SFileMem source;
  MemoryOf(source, std::string(115, 'a'));
  std::string text = Text(SFile::ToBase64(&source, 76, false));
  std::string line(76, 'Y');
  for (int i = 0; i < 76; i += 4) line.replace(i, 4, "YWFh");
  EXPECT_EQ(line + "\r\n" + line + "\r\nYQ\r\n=", text);

  source.Rewind();
  EXPECT_EQ("YWFhYWFh\r\n", Text(SFile::ToBase64(&source, 5, false)).substr(0, 10));

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

  // Without a terminator the pending sextets still count.
  SFileMem open("YWJjZA"), flushed;
  EXPECT_TRUE(SFile::Base64Decode(&open, &flushed));
  EXPECT_EQ("abcd", Bytes(flushed));

  EXPECT_FALSE(SFile::Base64Decode(&open, nullptr));
}

TEST(SFileTransform, Base64RoundTripsOverManyBatches) {
  std::string bytes = Noise(10000, 10);
  for (bool urlSafe : {false, true}) {
    SFileMem source, text, back;
    MemoryOf(source, bytes);
    ASSERT_TRUE(SFile::Base64Encode(&source, &text, 64, urlSafe));
    text.Rewind();
    ASSERT_TRUE(SFile::Base64Decode(&text, &back));
    EXPECT_EQ(bytes, Bytes(back)) << urlSafe;
    EXPECT_TRUE(text.IsEOF());
  }

  // Without a terminator, at every length of the last group.
  for (int n = 0; n < 6; ++n) {
    SFileMem source, text, back;
    MemoryOf(source, bytes.substr(0, 700 + n));
    ASSERT_TRUE(SFile::Base64Encode(&source, &text, 0, true));
    text.SetSize(text.GetSize() - 1);
    text.Rewind();
    ASSERT_TRUE(SFile::Base64Decode(&text, &back));
    EXPECT_EQ(bytes.substr(0, 700 + n), Bytes(back)) << n;
  }
}

TEST(SFileTransform, Base64ProgressAndCancel) {
  SFileMem source, text;
  MemoryOf(source, std::string(120, 'a'));
  // Encoding passes no user value; the handler sees null.
  source.SetProgressHandler(SFile::PROGRESS_BASE64_ENCODE,
                            [](int perMille, void* userData) {
                              return userData == nullptr && perMille == 0;
                            });
  EXPECT_FALSE(SFile::Base64Encode(&source, &text, 76, false));
  EXPECT_EQ(78, text.GetSize());

  SFileMem longText, out;
  MemoryOf(longText, std::string(2048, 'A'));
  Progress decode;
  longText.SetProgressHandler(SFile::PROGRESS_BASE64_DECODE, Progress::Handler);
  EXPECT_TRUE(SFile::Base64Decode(&longText, &out, &decode));
  EXPECT_EQ((std::vector<int>{0, 250, 500, 750}), decode.values);
  EXPECT_EQ(1536, out.GetSize());
}

TEST(SFileTransform, ShortWritesAreFailures) {
  // A destination opened for reading only accepts nothing.
  TempFolder folder;
  std::string name = folder.File("readonly.bin");
  fclose(fopen(name.c_str(), "wb"));
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

  // A copy stops at once and consumes only what was accepted.
  source.Rewind();
  EXPECT_EQ(0, SFile::Copy(&source, &readOnly));
  EXPECT_EQ(0, source.Tell());
  std::string sourceName = folder.File("source.bin");
  {
    SFilePath out(sourceName.c_str(), true, true, false, false);
    out.WriteText("some bytes");
  }
  SFilePath diskSource(sourceName.c_str(), false, false, true, false);
  diskSource.Seek(2);
  EXPECT_EQ(0, SFile::Copy(&diskSource, &readOnly));
  EXPECT_EQ(2, diskSource.Tell());

  SFileMem packed;
  source.Rewind();
  SFile::Compress(&source, &packed);
  packed.Rewind();
  EXPECT_EQ(0, SFile::Inflate(&packed, &readOnly));
}
