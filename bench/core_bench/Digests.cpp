// CRC-32 against zlib's, MD5 and SHA-1 throughput, on 16 MiB.
#include "bench/core_bench/Bench.h"

#include "core/SDigest.h"

#include <zlib.h>

#include <vector>

void bench::Digests() {
  const int size = 16 << 20;
  std::vector<uint8_t> data(size);
  uint32_t seed = 1;
  for (int i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    data[i] = uint8_t(seed >> 16);
  }

  uint32_t ours = 0, theirs = 0;
  double crcOurs = Best(5, [&] { ours = SDigest::Crc32(data.data(), size); });
  double crcZlib = Best(5, [&] { theirs = uint32_t(crc32(0, data.data(), size)); });
  Ratio("CRC-32 16 MiB (against zlib crc32)", crcOurs, crcZlib);
  if (ours != theirs) printf("CRC-32 MISMATCH %08X %08X\n", unsigned(ours), unsigned(theirs));
  Rate("CRC-32 16 MiB", size, crcOurs);

  SString md5, sha1;
  double md5Time = Best(3, [&] { md5 = SDigest::Md5(data.data(), size); });
  Rate("MD5 16 MiB", size, md5Time);
  double sha1Time = Best(3, [&] { sha1 = SDigest::Sha1(data.data(), size); });
  Rate("SHA-1 16 MiB", size, sha1Time);
  Keep(md5.GetText());
  Keep(sha1.GetText());
}
