#include "core/Platform.h"
#include "core/SDigest.h"

#include <string.h>

namespace {

// Reflected CRC-32 of every byte value, polynomial 0xEDB88320.
const uint32_t kCrcTable[256] = {
    0x00000000u, 0x77073096u, 0xEE0E612Cu, 0x990951BAu, 0x076DC419u, 0x706AF48Fu,
    0xE963A535u, 0x9E6495A3u, 0x0EDB8832u, 0x79DCB8A4u, 0xE0D5E91Eu, 0x97D2D988u,
    0x09B64C2Bu, 0x7EB17CBDu, 0xE7B82D07u, 0x90BF1D91u, 0x1DB71064u, 0x6AB020F2u,
    0xF3B97148u, 0x84BE41DEu, 0x1ADAD47Du, 0x6DDDE4EBu, 0xF4D4B551u, 0x83D385C7u,
    0x136C9856u, 0x646BA8C0u, 0xFD62F97Au, 0x8A65C9ECu, 0x14015C4Fu, 0x63066CD9u,
    0xFA0F3D63u, 0x8D080DF5u, 0x3B6E20C8u, 0x4C69105Eu, 0xD56041E4u, 0xA2677172u,
    0x3C03E4D1u, 0x4B04D447u, 0xD20D85FDu, 0xA50AB56Bu, 0x35B5A8FAu, 0x42B2986Cu,
    0xDBBBC9D6u, 0xACBCF940u, 0x32D86CE3u, 0x45DF5C75u, 0xDCD60DCFu, 0xABD13D59u,
    0x26D930ACu, 0x51DE003Au, 0xC8D75180u, 0xBFD06116u, 0x21B4F4B5u, 0x56B3C423u,
    0xCFBA9599u, 0xB8BDA50Fu, 0x2802B89Eu, 0x5F058808u, 0xC60CD9B2u, 0xB10BE924u,
    0x2F6F7C87u, 0x58684C11u, 0xC1611DABu, 0xB6662D3Du, 0x76DC4190u, 0x01DB7106u,
    0x98D220BCu, 0xEFD5102Au, 0x71B18589u, 0x06B6B51Fu, 0x9FBFE4A5u, 0xE8B8D433u,
    0x7807C9A2u, 0x0F00F934u, 0x9609A88Eu, 0xE10E9818u, 0x7F6A0DBBu, 0x086D3D2Du,
    0x91646C97u, 0xE6635C01u, 0x6B6B51F4u, 0x1C6C6162u, 0x856530D8u, 0xF262004Eu,
    0x6C0695EDu, 0x1B01A57Bu, 0x8208F4C1u, 0xF50FC457u, 0x65B0D9C6u, 0x12B7E950u,
    0x8BBEB8EAu, 0xFCB9887Cu, 0x62DD1DDFu, 0x15DA2D49u, 0x8CD37CF3u, 0xFBD44C65u,
    0x4DB26158u, 0x3AB551CEu, 0xA3BC0074u, 0xD4BB30E2u, 0x4ADFA541u, 0x3DD895D7u,
    0xA4D1C46Du, 0xD3D6F4FBu, 0x4369E96Au, 0x346ED9FCu, 0xAD678846u, 0xDA60B8D0u,
    0x44042D73u, 0x33031DE5u, 0xAA0A4C5Fu, 0xDD0D7CC9u, 0x5005713Cu, 0x270241AAu,
    0xBE0B1010u, 0xC90C2086u, 0x5768B525u, 0x206F85B3u, 0xB966D409u, 0xCE61E49Fu,
    0x5EDEF90Eu, 0x29D9C998u, 0xB0D09822u, 0xC7D7A8B4u, 0x59B33D17u, 0x2EB40D81u,
    0xB7BD5C3Bu, 0xC0BA6CADu, 0xEDB88320u, 0x9ABFB3B6u, 0x03B6E20Cu, 0x74B1D29Au,
    0xEAD54739u, 0x9DD277AFu, 0x04DB2615u, 0x73DC1683u, 0xE3630B12u, 0x94643B84u,
    0x0D6D6A3Eu, 0x7A6A5AA8u, 0xE40ECF0Bu, 0x9309FF9Du, 0x0A00AE27u, 0x7D079EB1u,
    0xF00F9344u, 0x8708A3D2u, 0x1E01F268u, 0x6906C2FEu, 0xF762575Du, 0x806567CBu,
    0x196C3671u, 0x6E6B06E7u, 0xFED41B76u, 0x89D32BE0u, 0x10DA7A5Au, 0x67DD4ACCu,
    0xF9B9DF6Fu, 0x8EBEEFF9u, 0x17B7BE43u, 0x60B08ED5u, 0xD6D6A3E8u, 0xA1D1937Eu,
    0x38D8C2C4u, 0x4FDFF252u, 0xD1BB67F1u, 0xA6BC5767u, 0x3FB506DDu, 0x48B2364Bu,
    0xD80D2BDAu, 0xAF0A1B4Cu, 0x36034AF6u, 0x41047A60u, 0xDF60EFC3u, 0xA867DF55u,
    0x316E8EEFu, 0x4669BE79u, 0xCB61B38Cu, 0xBC66831Au, 0x256FD2A0u, 0x5268E236u,
    0xCC0C7795u, 0xBB0B4703u, 0x220216B9u, 0x5505262Fu, 0xC5BA3BBEu, 0xB2BD0B28u,
    0x2BB45A92u, 0x5CB36A04u, 0xC2D7FFA7u, 0xB5D0CF31u, 0x2CD99E8Bu, 0x5BDEAE1Du,
    0x9B64C2B0u, 0xEC63F226u, 0x756AA39Cu, 0x026D930Au, 0x9C0906A9u, 0xEB0E363Fu,
    0x72076785u, 0x05005713u, 0x95BF4A82u, 0xE2B87A14u, 0x7BB12BAEu, 0x0CB61B38u,
    0x92D28E9Bu, 0xE5D5BE0Du, 0x7CDCEFB7u, 0x0BDBDF21u, 0x86D3D2D4u, 0xF1D4E242u,
    0x68DDB3F8u, 0x1FDA836Eu, 0x81BE16CDu, 0xF6B9265Bu, 0x6FB077E1u, 0x18B74777u,
    0x88085AE6u, 0xFF0F6A70u, 0x66063BCAu, 0x11010B5Cu, 0x8F659EFFu, 0xF862AE69u,
    0x616BFFD3u, 0x166CCF45u, 0xA00AE278u, 0xD70DD2EEu, 0x4E048354u, 0x3903B3C2u,
    0xA7672661u, 0xD06016F7u, 0x4969474Du, 0x3E6E77DBu, 0xAED16A4Au, 0xD9D65ADCu,
    0x40DF0B66u, 0x37D83BF0u, 0xA9BCAE53u, 0xDEBB9EC5u, 0x47B2CF7Fu, 0x30B5FFE9u,
    0xBDBDF21Cu, 0xCABAC28Au, 0x53B39330u, 0x24B4A3A6u, 0xBAD03605u, 0xCDD70693u,
    0x54DE5729u, 0x23D967BFu, 0xB3667A2Eu, 0xC4614AB8u, 0x5D681B02u, 0x2A6F2B94u,
    0xB40BBE37u, 0xC30C8EA1u, 0x5A05DF1Bu, 0x2D02EF8Du,
};

// MD5 additive constants: floor(|sin(i + 1)| * 2^32).
const uint32_t kMd5Sine[64] = {
    0xD76AA478u, 0xE8C7B756u, 0x242070DBu, 0xC1BDCEEEu,
    0xF57C0FAFu, 0x4787C62Au, 0xA8304613u, 0xFD469501u,
    0x698098D8u, 0x8B44F7AFu, 0xFFFF5BB1u, 0x895CD7BEu,
    0x6B901122u, 0xFD987193u, 0xA679438Eu, 0x49B40821u,
    0xF61E2562u, 0xC040B340u, 0x265E5A51u, 0xE9B6C7AAu,
    0xD62F105Du, 0x02441453u, 0xD8A1E681u, 0xE7D3FBC8u,
    0x21E1CDE6u, 0xC33707D6u, 0xF4D50D87u, 0x455A14EDu,
    0xA9E3E905u, 0xFCEFA3F8u, 0x676F02D9u, 0x8D2A4C8Au,
    0xFFFA3942u, 0x8771F681u, 0x6D9D6122u, 0xFDE5380Cu,
    0xA4BEEA44u, 0x4BDECFA9u, 0xF6BB4B60u, 0xBEBFBC70u,
    0x289B7EC6u, 0xEAA127FAu, 0xD4EF3085u, 0x04881D05u,
    0xD9D4D039u, 0xE6DB99E5u, 0x1FA27CF8u, 0xC4AC5665u,
    0xF4292244u, 0x432AFF97u, 0xAB9423A7u, 0xFC93A039u,
    0x655B59C3u, 0x8F0CCC92u, 0xFFEFF47Du, 0x85845DD1u,
    0x6FA87E4Fu, 0xFE2CE6E0u, 0xA3014314u, 0x4E0811A1u,
    0xF7537E82u, 0xBD3AF235u, 0x2AD7D2BBu, 0xEB86D391u,
};

// MD5 left rotations, four per round.
const int kMd5Shift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

inline uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline uint32_t LoadLe(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline uint32_t LoadBe(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline void StoreLe(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

inline void StoreBe(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

// One MD5 step: a = b + ((a + f + constant + word) <<< shift).
#define MD5_STEP(f, a, b, c, d, i, g) \
  a = b + Rotl(a + (f) + kMd5Sine[i] + x[g], kMd5Shift[(i) >> 4][(i) & 3])

void Md5Block(uint32_t state[4], const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLe(block + 4 * i);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  // Four rounds of 16 steps; the registers rotate by one place per step.
  for (int i = 0; i < 16; i += 4) {
    MD5_STEP((b & c) | (~b & d), a, b, c, d, i, i);
    MD5_STEP((a & b) | (~a & c), d, a, b, c, i + 1, i + 1);
    MD5_STEP((d & a) | (~d & b), c, d, a, b, i + 2, i + 2);
    MD5_STEP((c & d) | (~c & a), b, c, d, a, i + 3, i + 3);
  }
  for (int i = 16; i < 32; i += 4) {
    MD5_STEP((d & b) | (~d & c), a, b, c, d, i, (5 * i + 1) & 15);
    MD5_STEP((c & a) | (~c & b), d, a, b, c, i + 1, (5 * i + 6) & 15);
    MD5_STEP((b & d) | (~b & a), c, d, a, b, i + 2, (5 * i + 11) & 15);
    MD5_STEP((a & c) | (~a & d), b, c, d, a, i + 3, (5 * i + 16) & 15);
  }
  for (int i = 32; i < 48; i += 4) {
    MD5_STEP(b ^ c ^ d, a, b, c, d, i, (3 * i + 5) & 15);
    MD5_STEP(a ^ b ^ c, d, a, b, c, i + 1, (3 * i + 8) & 15);
    MD5_STEP(d ^ a ^ b, c, d, a, b, i + 2, (3 * i + 11) & 15);
    MD5_STEP(c ^ d ^ a, b, c, d, a, i + 3, (3 * i + 14) & 15);
  }
  for (int i = 48; i < 64; i += 4) {
    MD5_STEP(c ^ (b | ~d), a, b, c, d, i, (7 * i) & 15);
    MD5_STEP(b ^ (a | ~c), d, a, b, c, i + 1, (7 * i + 7) & 15);
    MD5_STEP(a ^ (d | ~b), c, d, a, b, i + 2, (7 * i + 14) & 15);
    MD5_STEP(d ^ (c | ~a), b, c, d, a, i + 3, (7 * i + 21) & 15);
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

#undef MD5_STEP

void Sha1Block(uint32_t state[5], const uint8_t* block) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i) w[i] = LoadBe(block + 4 * i);
  for (int i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  // One step: the new a from the old registers, the others move down.
  auto step = [&](uint32_t f, uint32_t k, uint32_t word) {
    uint32_t t = Rotl(a, 5) + f + e + k + word;
    e = d;
    d = c;
    c = Rotl(b, 30);
    b = a;
    a = t;
  };
  for (int i = 0; i < 20; ++i) step((b & c) | (~b & d), 0x5A827999u, w[i]);
  for (int i = 20; i < 40; ++i) step(b ^ c ^ d, 0x6ED9EBA1u, w[i]);
  for (int i = 40; i < 60; ++i) step((b & c) | (b & d) | (c & d), 0x8F1BBCDCu, w[i]);
  for (int i = 60; i < 80; ++i) step(b ^ c ^ d, 0xCA62C1D6u, w[i]);
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

// Adds n bytes to a 64-bit bit count held as two words, low first; returns
// the number of bytes already in the block buffer before the addition.
int CountBytes(uint32_t count[2], uint32_t n) {
  int used = int((count[0] >> 3) & 63);
  uint32_t low = count[0] + (n << 3);
  if (low < count[0]) ++count[1];
  count[0] = low;
  count[1] += n >> 29;
  return used;
}

// Buffers bytes into 64-byte blocks and hands each full block to fn.
template <class Block>
void FeedBlocks(uint32_t* state, uint32_t count[2], uint8_t buffer[64], const void* data, int n,
                Block block) {
  if (!data || n < 1) return;
  const uint8_t* p = static_cast<const uint8_t*>(data);
  int used = CountBytes(count, uint32_t(n));
  if (used > 0) {
    int take = 64 - used;
    if (n < take) {
      memcpy(buffer + used, p, n);
      return;
    }
    memcpy(buffer + used, p, take);
    block(state, buffer);
    p += take;
    n -= take;
  }
  for (; n >= 64; p += 64, n -= 64) block(state, p);
  if (n > 0) memcpy(buffer, p, n);
}

}  // namespace

uint32_t SDigest::Crc32Update(uint32_t reg, const void* data, int n) {
  if (!data || n < 1) return reg;
  const uint8_t* p = static_cast<const uint8_t*>(data);
  const uint8_t* end = p + n;
  while (p < end) reg = kCrcTable[(reg ^ *p++) & 0xFF] ^ (reg >> 8);
  return reg;
}

uint32_t SDigest::Crc32(const void* data, int n) {
  return ~Crc32Update(CRC32_START, data, n);
}

SString SDigest::Md5(const void* data, int n) {
  _SMd5 md5;
  md5.Init();
  md5.Update(data, n);
  uint8_t digest[MD5_SIZE];
  md5.Final(digest);
  return ToHex(digest, MD5_SIZE);
}

SString SDigest::Sha1(const void* data, int n) {
  _SSha1 sha1;
  sha1.Init();
  sha1.Update(data, n);
  uint8_t digest[SHA1_SIZE];
  sha1.Final(digest);
  return ToHex(digest, SHA1_SIZE);
}

SString SDigest::Md5Text(const char* text) {
  if (!text) return SString("");
  return Md5(text, int(strlen(text)));
}

SString SDigest::ToHex(const uint8_t* bytes, int n) {
  static const char kDigits[] = "0123456789ABCDEF";
  SString text("");
  if (!bytes || n < 1) return text;
  text.SetLength(2 * n, false);
  char* out = const_cast<char*>(text.GetText());
  for (int i = 0; i < n; ++i) {
    out[2 * i] = kDigits[bytes[i] >> 4];
    out[2 * i + 1] = kDigits[bytes[i] & 15];
  }
  return text;
}

void SDigest::_SMd5::Init() {
  state[0] = 0x67452301u;
  state[1] = 0xEFCDAB89u;
  state[2] = 0x98BADCFEu;
  state[3] = 0x10325476u;
  count[0] = count[1] = 0;
}

void SDigest::_SMd5::Update(const void* data, int n) {
  FeedBlocks(state, count, buffer, data, n, Md5Block);
}

void SDigest::_SMd5::Final(uint8_t out[MD5_SIZE]) {
  uint8_t length[8];
  StoreLe(length, count[0]);
  StoreLe(length + 4, count[1]);
  static const uint8_t kPad[64] = {0x80};
  int used = int((count[0] >> 3) & 63);
  Update(kPad, used < 56 ? 56 - used : 120 - used);
  Update(length, 8);
  for (int i = 0; i < 4; ++i) StoreLe(digest + 4 * i, state[i]);
  memcpy(out, digest, MD5_SIZE);
  memset(this, 0, sizeof(*this));
}

void SDigest::_SSha1::Init() {
  state[0] = 0x67452301u;
  state[1] = 0xEFCDAB89u;
  state[2] = 0x98BADCFEu;
  state[3] = 0x10325476u;
  state[4] = 0xC3D2E1F0u;
  count[0] = count[1] = 0;
}

void SDigest::_SSha1::Update(const void* data, int n) {
  FeedBlocks(state, count, buffer, data, n, Sha1Block);
}

void SDigest::_SSha1::Final(uint8_t out[SHA1_SIZE]) {
  uint8_t length[8];
  StoreBe(length, count[1]);
  StoreBe(length + 4, count[0]);
  static const uint8_t kPad[64] = {0x80};
  int used = int((count[0] >> 3) & 63);
  Update(kPad, used < 56 ? 56 - used : 120 - used);
  Update(length, 8);
  for (int i = 0; i < 5; ++i) StoreBe(digest + 4 * i, state[i]);
  memcpy(out, digest, SHA1_SIZE);
  memset(this, 0, sizeof(*this));
}
