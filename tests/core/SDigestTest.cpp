#include "core/Platform.h"
#include "core/SDigest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kFox[] = "The quick brown fox jumps over the lazy dog";

// The digest of data fed in chunks of the given size.
template <class Hash, int Size>
std::string Chunked(const std::vector<uint8_t>& data, int chunk) {
  Hash hash;
  hash.Init();
  for (size_t i = 0; i < data.size(); i += chunk) {
    int n = int(data.size() - i) < chunk ? int(data.size() - i) : chunk;
    hash.Update(data.data() + i, n);
  }
  uint8_t digest[Size];
  hash.Final(digest);
  return SDigest::ToHex(digest, Size).GetText();
}

std::string Md5Chunked(const std::vector<uint8_t>& data, int chunk) {
  return Chunked<SDigest::_SMd5, SDigest::MD5_SIZE>(data, chunk);
}

std::string Sha1Chunked(const std::vector<uint8_t>& data, int chunk) {
  return Chunked<SDigest::_SSha1, SDigest::SHA1_SIZE>(data, chunk);
}

}  // namespace

TEST(SDigest, Crc32CheckValues) {
  EXPECT_EQ(0xCBF43926u, SDigest::Crc32("123456789", 9));
  EXPECT_EQ(0u, SDigest::Crc32("", 0));
  EXPECT_EQ(0x414FA339u, SDigest::Crc32(kFox, int(strlen(kFox))));

  // The running form, fed in chunks, gives the same checksum.
  uint32_t reg = SDigest::CRC32_START;
  reg = SDigest::Crc32Update(reg, "1234", 4);
  reg = SDigest::Crc32Update(reg, "56789", 5);
  EXPECT_EQ(0xCBF43926u, ~reg);
}

TEST(SDigest, Md5AndSha1CheckValuesInUpperCase) {
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", SDigest::Md5("", 0).GetText());
  EXPECT_STREQ("900150983CD24FB0D6963F7D28E17F72", SDigest::Md5("abc", 3).GetText());
  EXPECT_STREQ("9E107D9D372BB6826BD81D3542A419D6", SDigest::Md5Text(kFox).GetText());
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", SDigest::Md5Text("").GetText());
  EXPECT_EQ(0, SDigest::Md5Text(nullptr).GetLength());

  EXPECT_STREQ("A9993E364706816ABA3E25717850C26C9CD0D89D", SDigest::Sha1("abc", 3).GetText());
  EXPECT_STREQ("DA39A3EE5E6B4B0D3255BFEF95601890AFD80709", SDigest::Sha1("", 0).GetText());
  EXPECT_STREQ("2FD4E1C67A2D28FCED849EE1BB76E7391B93EB12",
               SDigest::Sha1(kFox, int(strlen(kFox))).GetText());

  // A million bytes, whole and in chunks.
  std::vector<uint8_t> million(1000000, 'a');
  for (int chunk : {1000000, 100}) {
    EXPECT_EQ("7707D6AE4E027C70EEA2A935C2296F21", Md5Chunked(million, chunk));
    EXPECT_EQ("34AA973CD4C4DAA4F61EEB2BDBAD27316534016F", Sha1Chunked(million, chunk));
  }
}

TEST(SDigest, PaddingBoundariesAndChunkingAgree) {
  // Lengths around the 56- and 64-byte padding limits, fed whole and in odd
  // chunks, must agree.
  for (int length : {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 128, 1000}) {
    std::vector<uint8_t> data(length);
    for (int i = 0; i < length; ++i) data[i] = uint8_t(i * 7 + 3);
    std::string md5 = Md5Chunked(data, length > 0 ? length : 1);
    std::string sha1 = Sha1Chunked(data, length > 0 ? length : 1);
    EXPECT_EQ(32u, md5.size());
    EXPECT_EQ(40u, sha1.size());
    for (int chunk : {1, 3, 63, 64, 65}) {
      EXPECT_EQ(md5, Md5Chunked(data, chunk)) << "length " << length << " chunk " << chunk;
      EXPECT_EQ(sha1, Sha1Chunked(data, chunk)) << "length " << length << " chunk " << chunk;
    }
  }
}
