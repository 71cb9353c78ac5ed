// Checksums and digests: CRC-32 (reflected, polynomial 0xEDB88320), MD5
// (RFC 1321) and SHA-1 (FIPS 180-1). Digests are given as text: two
// upper-case hexadecimal digits per byte, in digest order (32 characters for
// MD5, 40 for SHA-1).
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

#include <stdint.h>

class SDigest {
public:
  enum { CRC32_START = 0xFFFFFFFFu, MD5_SIZE = 16, SHA1_SIZE = 20 };

  // CRC-32 of n bytes (start value 0xFFFFFFFF, final complement).
  static uint32_t Crc32(const void* data, int n);
  // Running form: feeds n bytes into the register (start with CRC32_START);
  // the checksum is the complement of the final register.
  static uint32_t Crc32Update(uint32_t reg, const void* data, int n);

  // Digest texts of n bytes.
  static SString Md5(const void* data, int n);
  static SString Sha1(const void* data, int n);
  // MD5 text of the bytes of a C string up to its NUL; empty for null.
  static SString Md5Text(const char* text);

  // Two upper-case hexadecimal digits per byte.
  static SString ToHex(const uint8_t* bytes, int n);

  // Incremental MD5: Init, any number of Update calls, Final. Final writes the
  // 16-byte digest and wipes the context.
  struct _SMd5 {
    uint32_t state[4];
    uint32_t count[2];  // bit count, low word first
    uint8_t buffer[64];
    uint8_t digest[MD5_SIZE];

    void Init();
    void Update(const void* data, int n);
    void Final(uint8_t out[MD5_SIZE]);
  };

  // Incremental SHA-1, used like _SMd5 (20-byte digest).
  struct _SSha1 {
    uint32_t state[5];
    uint32_t count[2];  // bit count, low word first
    uint8_t buffer[64];
    uint8_t digest[SHA1_SIZE];

    void Init();
    void Update(const void* data, int n);
    void Final(uint8_t out[SHA1_SIZE]);
  };
};
