// File-to-file transforms of SFile: copy, fill, the keyed byte transform,
// block-wise zlib compression and Base64 text.
#include "core/Platform.h"
#include "core/SFile.h"

#include "core/SFileMem.h"

#include <limits.h>
#include <string.h>
#include <zlib.h>

#include <vector>

namespace {

const int kCopyBlock = 256;
const int kFillBlock = 100;
const int kKeyedBlock = 1000;
const int kEmptyKeyLength = 100;
const int kBase64Read = 512;
const int kUrlSafeLineLength = 65535;

const char kBase64Standard[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kBase64UrlSafe[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// Asks the source's handler of that kind whether to go on; true without one.
bool GoOn(SFile* source, int kind, double done, double total, void* userData) {
  SFileProgress handler = source->GetProgressHandler(kind);
  return !handler || handler(total > 0 ? int(done * 1000.0 / total) : 0, userData);
}

// The bytes at a memory file's position, or null for another kind of file.
const uint8_t* BytesAtPosition(SFile* file) {
  if (!file->IsMemoryFile()) return nullptr;
  return static_cast<SFileMem*>(file)->GetBuffer() + file->Tell();
}

// Deflate never expands more than this many bytes out of one byte in.
const int64_t kMaxInflateRatio = 1032;

// The total of the uncompressed lengths that the block headers of a
// compressed stream in a memory file announce, read from the position
// without moving it; 0 for another kind of file, or when the headers do not
// hold or announce more than their data can give.
int64_t AnnouncedLength(SFile* source, uint32_t blocks) {
  const uint8_t* bytes = BytesAtPosition(source);
  if (!bytes) return 0;
  int64_t size = source->GetRemaining();
  auto u32 = [bytes](int64_t i) {
    return uint32_t(bytes[i]) | uint32_t(bytes[i + 1]) << 8 | uint32_t(bytes[i + 2]) << 16 |
           uint32_t(bytes[i + 3]) << 24;
  };
  int64_t at = 0;
  int64_t total = 0;
  for (uint32_t b = 0; b < blocks; ++b) {
    if (size - at < 8) return 0;
    int64_t u = u32(at);
    int64_t c = u32(at + 4);
    if (u > SFile::BLOCK_SIZE || c > SFile::PACKED_SIZE || u > c * kMaxInflateRatio) return 0;
    total += u;
    at += 8 + c;
    if (at > size) return 0;
  }
  return total;
}

// Inflates the zlib stream in the c bytes at from into the u bytes at to; true only when the
// stream gives exactly u bytes and ends there (one byte of spare room shows any more).
bool InflateExactly(const uint8_t* from, uint32_t c, uint8_t* to, uint32_t u) {
  z_stream z = {};
  if (inflateInit(&z) != Z_OK) return false;
  uint8_t spare;
  z.next_in = const_cast<Bytef*>(from);
  z.avail_in = c;
  z.next_out = u > 0 ? to : &spare;
  z.avail_out = u;
  int result = inflate(&z, Z_FINISH);
  if (result != Z_STREAM_END && z.total_out == u) {
    z.next_out = &spare;
    z.avail_out = 1;
    result = inflate(&z, Z_FINISH);
  }
  bool exact = result == Z_STREAM_END && z.total_out == u;
  inflateEnd(&z);
  return exact;
}

// Byte i of the n bytes at from, plus (encode) or minus (decode) key[i], into
// to[i]; to may be from. Four bytes at a time, each modulo 256:
// the low seven bits of every byte are added (or subtracted) with the high
// bits masked so that no carry or borrow reaches the next byte, then the
// high bits are set by exclusive or.
template <bool Decode>
void Combine(const uint8_t* from, uint8_t* to, int n, const uint8_t* key) {
  const uint32_t high = 0x80808080u;
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    uint32_t a, b;
    memcpy(&a, from + i, 4);
    memcpy(&b, key + i, 4);
    uint32_t r = Decode ? ((a | high) - (b & ~high)) ^ ((a ^ ~b) & high)
                        : ((a & ~high) + (b & ~high)) ^ ((a ^ b) & high);
    memcpy(to + i, &r, 4);
  }
  for (; i < n; ++i) to[i] = Decode ? uint8_t(from[i] - key[i]) : uint8_t(from[i] + key[i]);
}

bool Keyed(SFile* key, SFile* source, int n, SFile* destination, void* userData, bool decode) {
  if (!source || !source->IsOpen() || !key) return false;

  std::vector<uint8_t> keyBytes;
  int keySize = key->GetSize();
  if (keySize > 0) {
    keyBytes.resize(keySize);
    key->Rewind();
    int got = key->Read(keyBytes.data(), keySize);
    keyBytes.resize(got > 0 ? got : 0);
  }
  if (keyBytes.empty()) keyBytes.assign(kEmptyKeyLength, 0);
  // The key followed by its first bytes again, so that a whole block meets
  // one run of key bytes from any key index: keyBytes[i] = key[i mod length].
  size_t keyLength = keyBytes.size();
  keyBytes.resize(keyLength + kKeyedBlock);
  for (size_t i = keyLength; i < keyBytes.size(); ++i) keyBytes[i] = keyBytes[i - keyLength];
  auto combine = decode ? Combine<true> : Combine<false>;

  int length = source->ClampToRemaining(n);
  int kind = decode ? SFile::PROGRESS_KEYED_DECODE : SFile::PROGRESS_KEYED_ENCODE;
  // In place in a memory file's own buffer.
  SFileMem* memory = !destination && source->IsMemoryFile() ? static_cast<SFileMem*>(source)
                                                             : nullptr;

  uint8_t block[kKeyedBlock];
  size_t k = 0;  // runs on across blocks: byte i meets key byte i mod key length
  for (int done = 0; done < length;) {
    if (!GoOn(source, kind, done, length, userData)) return false;
    int want = length - done < kKeyedBlock ? length - done : kKeyedBlock;
    if (memory) {
      uint8_t* bytes = memory->GetBuffer() + memory->Tell();
      combine(bytes, bytes, want, keyBytes.data() + k);
      memory->Seek(memory->Tell() + want);
      k = (k + want) % keyLength;
      done += want;
      continue;
    }
    int got = source->Read(block, want);
    if (got <= 0) return false;
    combine(block, block, got, keyBytes.data() + k);
    k = (k + got) % keyLength;
    if (destination) {
      if (destination->Write(block, got) != got) return false;
    } else {
      source->Seek(source->Tell() - got);
      if (source->Write(block, got) != got) return false;
      // A disk stream needs a seek between a write and the next read.
      source->Seek(source->Tell());
    }
    done += got;
  }
  return true;
}

// Writes the bytes of count sextets: 3 per group of 4, then 1 for a tail of
// 2 and 2 for a tail of 3.
bool WriteSextets(SFile* destination, const uint8_t* sextets, int count) {
  uint8_t bytes[kBase64Read / 4 * 3];
  int n = 0;
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    bytes[n++] = uint8_t((sextets[i] << 2) | (sextets[i + 1] >> 4));
    bytes[n++] = uint8_t((sextets[i + 1] << 4) | (sextets[i + 2] >> 2));
    bytes[n++] = uint8_t((sextets[i + 2] << 6) | sextets[i + 3]);
  }
  int tail = count - i;
  if (tail >= 2) bytes[n++] = uint8_t((sextets[i] << 2) | (sextets[i + 1] >> 4));
  if (tail == 3) bytes[n++] = uint8_t((sextets[i + 1] << 4) | (sextets[i + 2] >> 2));
  return n == 0 || destination->Write(bytes, n) == n;
}

// The sextet of one character; both alphabets are accepted and no character
// is refused (values are kept to 6 bits).
uint8_t Sextet(uint8_t c) {
  int value;
  if (c == '+' || c == '-') value = 62;
  else if (c == '/' || c == '_') value = 63;
  else if (c < ':') value = c + 4;
  else if (c >= 'a') value = c - 71;
  else value = c - 65;
  return uint8_t(value & 63);
}

// Encodes n bytes (whole groups of 3 but for the source's last bytes) into
// out; returns the number of characters.
int EncodeGroups(const uint8_t* in, int n, char* out, const char* alphabet) {
  int o = 0;
  int i = 0;
  for (; i + 3 <= n; i += 3) {
    uint32_t v = (uint32_t(in[i]) << 16) | (uint32_t(in[i + 1]) << 8) | in[i + 2];
    out[o++] = alphabet[v >> 18];
    out[o++] = alphabet[(v >> 12) & 63];
    out[o++] = alphabet[(v >> 6) & 63];
    out[o++] = alphabet[v & 63];
  }
  if (n - i == 1) {
    out[o++] = alphabet[in[i] >> 2];
    out[o++] = alphabet[(in[i] & 3) << 4];
  } else if (n - i == 2) {
    out[o++] = alphabet[in[i] >> 2];
    out[o++] = alphabet[((in[i] & 3) << 4) | (in[i + 1] >> 4)];
    out[o++] = alphabet[(in[i + 1] & 15) << 2];
  }
  return o;
}

}  // namespace

int SFile::Copy(SFile* source, SFile* destination, int n) {
  if (!source || !destination) return 0;
  n = source->ClampToRemaining(n);
  if (n <= 0) return 0;

  // A memory destination grows once for the whole copy.
  int grownFrom = -1;
  if (destination->IsMemoryFile() && n <= INT_MAX - destination->Tell()) {
    int end = destination->Tell() + n;
    if (end > destination->GetSize()) {
      grownFrom = destination->GetSize();
      destination->SetSize(end);
    }
  }

  int total = 0;
  uint8_t block[kCopyBlock];
  while (total < n) {
    int want = n - total < kCopyBlock ? n - total : kCopyBlock;
    int accepted;
    if (const uint8_t* bytes = BytesAtPosition(source)) {
      accepted = destination->Write(bytes, want);
      source->Seek(source->Tell() + accepted);
      if (accepted < want) {
        total += accepted;
        break;
      }
    } else {
      int got = source->Read(block, want);
      if (got <= 0) break;
      accepted = destination->Write(block, got);
      if (accepted < got) {
        source->Seek(source->Tell() - (got - accepted));
        total += accepted;
        break;
      }
    }
    total += accepted;
  }

  // A copy that stopped short leaves no undefined bytes behind.
  if (grownFrom >= 0 && destination->Tell() < destination->GetSize()) {
    int end = destination->Tell() > grownFrom ? destination->Tell() : grownFrom;
    if (end < destination->GetSize()) destination->SetSize(end);
  }
  return total;
}

int SFile::WriteFill(SFile* destination, uint8_t value, int n) {
  if (!destination || n < 1) return 0;
  uint8_t block[kFillBlock];
  memset(block, value, sizeof(block));
  int total = 0;
  while (total < n) {
    int want = n - total < kFillBlock ? n - total : kFillBlock;
    int written = destination->Write(block, want);
    if (written > 0) total += written;
    if (written < want) break;
  }
  return total;
}

bool SFile::KeyedEncode(SFile* key, SFile* source, int n, SFile* destination, void* userData) {
  return Keyed(key, source, n, destination, userData, false);
}

bool SFile::KeyedDecode(SFile* key, SFile* source, int n, SFile* destination, void* userData) {
  return Keyed(key, source, n, destination, userData, true);
}

int SFile::Compress(SFile* source, SFile* destination, int n, void* userData) {
  if (!source || !destination) return 0;
  n = source->ClampToRemaining(n);
  if (n <= 0) return 0;

  uint32_t blocks = uint32_t((int64_t(n) + BLOCK_SIZE - 1) / BLOCK_SIZE);
  if (destination->WriteInt32(blocks) != 4) return 0;
  int64_t total = 4;

  std::vector<uint8_t> input;
  std::vector<uint8_t> packed(PACKED_SIZE);
  for (int done = 0; done < n;) {
    if (!GoOn(source, PROGRESS_COMPRESS, done, n, userData)) return 0;
    int want = n - done < BLOCK_SIZE ? n - done : BLOCK_SIZE;
    const uint8_t* bytes = BytesAtPosition(source);
    if (bytes) {
      source->Seek(source->Tell() + want);
    } else {
      input.resize(BLOCK_SIZE);
      if (source->Read(input.data(), want) != want) return 0;
      bytes = input.data();
    }
    uLongf packedLength = PACKED_SIZE;
    if (compress(packed.data(), &packedLength, bytes, uLong(want)) != Z_OK) return 0;
    int c = int(packedLength);
    if (destination->WriteInt32(uint32_t(want)) != 4 ||
        destination->WriteInt32(uint32_t(c)) != 4 || destination->Write(packed.data(), c) != c)
      return 0;
    total += 8 + int64_t(c);
    done += want;
  }
  return total > INT_MAX ? INT_MAX : int(total);
}

int SFile::Inflate(SFile* source, SFile* destination, void* userData) {
  if (!source || !destination) return 0;
  if (source->GetRemaining() < 4) return 0;
  uint32_t blocks = source->ReadInt32();
  // Every block takes at least its two 4-byte lengths.
  if (blocks == 0 || blocks > uint32_t(source->GetRemaining()) / 8) return 0;

  // A memory destination takes the blocks that land past its old size
  // straight into its buffer. When the source's block headers are at hand
  // and plausible, it grows once for the whole stream.
  SFileMem* memory = destination->IsMemoryFile() && destination != source
                         ? static_cast<SFileMem*>(destination)
                         : nullptr;
  const int oldSize = destination->GetSize();
  const bool wasOpen = destination->IsOpen();
  if (memory) {
    int64_t end = memory->Tell() + AnnouncedLength(source, blocks);
    if (end > oldSize && end <= INT_MAX) memory->SetSize(int(end));
  }
  // A stream that fails leaves the destination as the blocks before the
  // failing one left it.
  auto fail = [&]() {
    if (memory) {
      int keep = memory->Tell() > oldSize ? memory->Tell() : oldSize;
      if (memory->GetSize() > keep) memory->SetSize(keep);
      if (!wasOpen && keep == 0) memory->Close();
    }
    return 0;
  };

  std::vector<uint8_t> packed;
  std::vector<uint8_t> output;
  int total = 0;
  for (uint32_t b = 0; b < blocks; ++b) {
    if (!GoOn(source, PROGRESS_INFLATE, b, blocks, userData)) return fail();
    if (source->GetRemaining() < 8) return fail();
    uint32_t u = source->ReadInt32();
    uint32_t c = source->ReadInt32();
    if (u > uint32_t(BLOCK_SIZE) || c > uint32_t(PACKED_SIZE) ||
        c > uint32_t(source->GetRemaining()))
      return fail();
    const uint8_t* bytes = BytesAtPosition(source);
    if (bytes) {
      source->Seek(source->Tell() + int(c));
    } else {
      packed.resize(PACKED_SIZE);
      if (source->Read(packed.data(), int(c)) != int(c)) return fail();
      bytes = packed.data();
    }
    int at = destination->Tell();
    if (memory && u > 0 && at >= oldSize && int(u) <= INT_MAX - at) {
      if (at + int(u) > memory->GetSize()) memory->SetSize(at + int(u));
      if (!InflateExactly(bytes, c, memory->GetBuffer() + at, u)) return fail();
      memory->Seek(at + int(u));
    } else {
      output.resize(BLOCK_SIZE);
      if (!InflateExactly(bytes, c, output.data(), u)) return fail();
      if (u > 0 && destination->Write(output.data(), int(u)) != int(u)) return fail();
    }
    if (total > INT_MAX - int(u)) return fail();
    total += int(u);
  }
  return total;
}

bool SFile::Base64Encode(SFile* source, SFile* destination, int lineLength, bool urlSafe) {
  if (!source || !destination) return false;
  int64_t line = urlSafe ? kUrlSafeLineLength : lineLength;
  line = (line + 3) / 4 * 4;
  if (line < 4) return false;
  int64_t bytesPerLine = line / 4 * 3;
  const char* alphabet = urlSafe ? kBase64UrlSafe : kBase64Standard;

  // Lines are read in chunks of whole groups.
  uint8_t in[3 * 1024];
  char out[4 * 1024];
  int size = source->GetSize();
  while (source->Tell() < size) {
    if (!GoOn(source, PROGRESS_BASE64_ENCODE, source->Tell(), size, nullptr)) return false;
    int64_t left = bytesPerLine;
    int64_t lineBytes = 0;
    while (left > 0) {
      int want = left < int64_t(sizeof(in)) ? int(left) : int(sizeof(in));
      int got = source->Read(in, want);
      if (got <= 0) break;
      int chars = EncodeGroups(in, got, out, alphabet);
      if (destination->Write(out, chars) != chars) return false;
      left -= got;
      lineBytes += got;
      if (got < want) break;
    }
    if (lineBytes == 0) break;
    if (!urlSafe && destination->Write("\r\n", 2) != 2) return false;
  }
  return destination->Write(urlSafe ? "@" : "=", 1) == 1;
}

SString SFile::ToBase64(SFile* source, int lineLength, bool urlSafe) {
  SFileMem text;
  if (!Base64Encode(source, &text, lineLength, urlSafe) || text.GetSize() == 0)
    return SString("");
  text.WriteByte(0);
  return SString(reinterpret_cast<const char*>(text.GetBuffer()));
}

bool SFile::Base64Decode(SFile* source, SFile* destination, void* userData) {
  if (!source || !destination) return false;
  uint8_t text[kBase64Read];
  uint8_t sextets[kBase64Read];
  int count = 0;
  bool skipNext = false;  // a CR is skipped with the character after it
  int size = source->GetSize();
  while (source->Tell() < size) {
    if (!GoOn(source, PROGRESS_BASE64_DECODE, source->Tell(), size, userData)) return false;
    int got = source->Read(text, kBase64Read);
    if (got <= 0) break;
    for (int i = 0; i < got; ++i) {
      uint8_t c = text[i];
      if (skipNext) {
        skipNext = false;
      } else if (c == '\r') {
        skipNext = true;
      } else if (c == '=' || c == '@') {
        // The terminator ends decoding; the source stays just after it.
        source->Seek(source->Tell() - (got - i - 1));
        return WriteSextets(destination, sextets, count);
      } else {
        sextets[count++] = Sextet(c);
        if (count == kBase64Read) {
          if (!WriteSextets(destination, sextets, count)) return false;
          count = 0;
        }
      }
    }
  }
  // Text without a terminator: what is pending still counts.
  return WriteSextets(destination, sextets, count);
}
