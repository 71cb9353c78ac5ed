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

TEST(SDigest, CheckValuesAndPaddingBoundariesInAnyChunks) {
  EXPECT_EQ(0xCBF43926u, SDigest::Crc32("123456789", 9));
  EXPECT_EQ(0u, SDigest::Crc32("", 0));
  EXPECT_EQ(0x414FA339u, SDigest::Crc32(kFox, int(strlen(kFox))));
  // The running form, fed in chunks, gives the same checksum.
  uint32_t reg = SDigest::Crc32Update(SDigest::CRC32_START, "1234", 4);
  EXPECT_EQ(0xCBF43926u, ~SDigest::Crc32Update(reg, "56789", 5));

  EXPECT_STREQ("900150983CD24FB0D6963F7D28E17F72", SDigest::Md5("abc", 3).GetText());
  EXPECT_STREQ("9E107D9D372BB6826BD81D3542A419D6", SDigest::Md5Text(kFox).GetText());
  EXPECT_STREQ("D41D8CD98F00B204E9800998ECF8427E", SDigest::Md5Text("").GetText());
  EXPECT_EQ(0, SDigest::Md5Text(nullptr).GetLength());
  EXPECT_STREQ("A9993E364706816ABA3E25717850C26C9CD0D89D", SDigest::Sha1("abc", 3).GetText());
  EXPECT_STREQ("2FD4E1C67A2D28FCED849EE1BB76E7391B93EB12",
               SDigest::Sha1(kFox, int(strlen(kFox))).GetText());
  // A million bytes, whole and in chunks.
  std::vector<uint8_t> million(1000000, 'a');
  for (int chunk : {1000000, 100}) {
    EXPECT_EQ("7707D6AE4E027C70EEA2A935C2296F21", Md5Chunked(million, chunk));
    EXPECT_EQ("34AA973CD4C4DAA4F61EEB2BDBAD27316534016F", Sha1Chunked(million, chunk));
  }
  // Lengths around the 56- and 64-byte padding limits of the first and the
  // second block, of bytes i * 7 + 3, fed whole and in odd chunks.
  const struct {
    int length;
    const char* md5;
    const char* sha1;
  } rows[] = {
      {0, "D41D8CD98F00B204E9800998ECF8427E", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {55, "52C0E574E1198DE5FE3F8F11440DCB1B", "DDF57317EF34BFEE3B6DF83D359098930EB278BC"},
      {56, "46C9907FC908EE68B1E7B8E71286A518", "A0D492BB0FC889D0ECA3BC137066AB6F4F74F369"},
      {63, "A62F6D59E837867693F042F5B8F5A236", "C55856749BEF509BDFE6BFEBFC7BF4E793E82132"},
      {64, "7160B8FB5E9E4023D549C3971FBAEEAD", "BEDE92BE29C3874E1B54DDC77988D606FC857A8E"},
      {120, "E3EB5A6C8669EA01A8C185B8ABC8A5DC", "82134B02FB3F702491BE9BED581EEAB59334ACB2"},
      {1000, "10046F077F2082AC19676B8079F1CB1A", "4231A8A50A10FA9758DB8EC71FDEF855B751048A"},
  };
  for (const auto& row : rows) {
    std::vector<uint8_t> data(row.length);
    for (int i = 0; i < row.length; ++i) data[i] = uint8_t(i * 7 + 3);
    for (int chunk : {1, 3, 63, 64, 65, 1000}) {
      EXPECT_EQ(row.md5, Md5Chunked(data, chunk)) << row.length << " in " << chunk;
      EXPECT_EQ(row.sha1, Sha1Chunked(data, chunk)) << row.length << " in " << chunk;
    }
  }
}
