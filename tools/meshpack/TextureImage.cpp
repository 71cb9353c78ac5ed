#include "core/Platform.h"
#include "tools/meshpack/TextureImage.h"

#include "core/SDigest.h"
#include "core/SFile.h"
#include "core/SFileMem.h"
#include "tools/common/DescriptionReader.h"

#include <ctype.h>
#include <math.h>
#include <zlib.h>

namespace {

enum { PATTERN_SOLID, PATTERN_GRADIENT, PATTERN_STRIPES, PATTERN_CHECKER, PATTERN_RADIAL, PATTERN_FLAME };
const char* const kPatterns[] = {"solid", "gradient", "stripes", "checker", "radial", "flame"};
const int kMaxSide = 256;

// Value noise on a lattice of the given cell size, from a fixed hash.
double LatticeValue(int x, int y, uint32_t seed) {
  uint32_t h = seed ^ ((uint32_t)x * 374761393u) ^ ((uint32_t)y * 668265263u);
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFF) / 65535.0;
}

double SmoothNoise(double x, double y, uint32_t seed) {
  int ix = (int)floor(x), iy = (int)floor(y);
  double fx = x - ix, fy = y - iy;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  double a = LatticeValue(ix, iy, seed), b = LatticeValue(ix + 1, iy, seed);
  double c = LatticeValue(ix, iy + 1, seed), d = LatticeValue(ix + 1, iy + 1, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

void PutBigEndian(SFile* file, uint32_t value) {
  uint8_t bytes[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
  file->WriteData(bytes, 4);
}

void PutChunk(SFile* file, const char* type, const uint8_t* data, uint32_t n) {
  PutBigEndian(file, n);
  uint32_t reg = SDigest::Crc32Update(SDigest::CRC32_START, type, 4);
  if (n) reg = SDigest::Crc32Update(reg, data, (int)n);
  file->WriteData(type, 4);
  if (n) file->WriteData(data, (int)n);
  PutBigEndian(file, ~reg);
}

}  // namespace

TextureImage::TextureImage()
    : m_width(0), m_height(0), m_pattern(0), m_colour1(0), m_colour2(0), m_count(4) {}

bool TextureImage::ParseColour(const SString& text, uint32_t& colour) {
  int n = text.GetLength();
  if (n != 6 && n != 8) return false;
  for (int i = 0; i < n; ++i)
    if (!isxdigit((unsigned char)text.GetAt(i))) return false;
  colour = (uint32_t)strtoul(text.GetText(), nullptr, 16);
  if (n == 6) colour |= 0xFF000000u;
  return true;
}

uint32_t TextureImage::Mix(uint32_t a, uint32_t b, double t) {
  if (t < 0) t = 0;
  if (t > 1) t = 1;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= (uint32_t)lround(ca + (cb - ca) * t) << shift;
  }
  return out;
}

bool TextureImage::Read(DescriptionReader& reader) {
  if (reader.GetCount() < 7) return reader.Fail("an image needs FILE WIDTH HEIGHT PATTERN COLOUR1 COLOUR2");
  m_name = reader.Get(1);
  if (m_name.GetLength() == 0) return reader.Fail("an image needs a name");
  if (!reader.GetInt(2, m_width) || !reader.GetInt(3, m_height)) return false;
  if (m_width < 1 || m_height < 1 || m_width > kMaxSide || m_height > kMaxSide)
    return reader.Fail("image sides run from 1 to %d", kMaxSide);
  m_pattern = -1;
  for (int i = 0; i < (int)(sizeof(kPatterns) / sizeof(kPatterns[0])); ++i)
    if (reader.Get(4) == kPatterns[i]) m_pattern = i;
  if (m_pattern < 0) return reader.Fail("unknown pattern \"%s\"", reader.Get(4).GetText());
  if (!ParseColour(reader.Get(5), m_colour1) || !ParseColour(reader.Get(6), m_colour2))
    return reader.Fail("colours are RRGGBB or AARRGGBB");
  for (int i = 7; i < reader.GetCount(); ++i)
    if (reader.Get(i).Left(6) != "count=") return reader.Fail("unknown option \"%s\"", reader.Get(i).GetText());
  if (reader.HasOption("count", 7)) {
    double count = 0;
    if (!DescriptionReader::ParseNumber(reader.GetOption("count", 7).GetText(), count) || count < 1 ||
        count > 64 || count != (int)count)
      return reader.Fail("count runs from 1 to 64");
    m_count = (int)count;
  }
  Draw();
  return true;
}

void TextureImage::Draw() {
  m_pixels.SetSize(m_width * m_height, false);
  uint32_t seed = SDigest::Crc32(m_name.GetText(), m_name.GetLength());
  for (int y = 0; y < m_height; ++y) {
    for (int x = 0; x < m_width; ++x) {
      double u = (x + 0.5) / m_width, v = (y + 0.5) / m_height;
      double dx = u - 0.5, dy = v - 0.5;
      double r = sqrt(dx * dx + dy * dy) * 2.0;
      uint32_t c = m_colour1;
      switch (m_pattern) {
        case PATTERN_GRADIENT:
          c = Mix(m_colour1, m_colour2, v);
          break;
        case PATTERN_STRIPES:
          c = ((int)(v * m_count) & 1) ? m_colour2 : m_colour1;
          break;
        case PATTERN_CHECKER:
          c = (((int)(u * m_count) + (int)(v * m_count)) & 1) ? m_colour2 : m_colour1;
          break;
        case PATTERN_RADIAL:
          c = Mix(m_colour1, m_colour2, r);
          break;
        case PATTERN_FLAME: {
          double n = 0.6 * SmoothNoise(u * 6, v * 6, seed) + 0.4 * SmoothNoise(u * 14, v * 14, seed + 1);
          c = Mix(m_colour1, m_colour2, r * 0.8 + (n - 0.5) * 0.9);
          break;
        }
      }
      m_pixels[y * m_width + x] = c;
    }
  }
}

uint32_t TextureImage::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  return m_pixels[y * m_width + x];
}

bool TextureImage::WritePng(SFile* file) const {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  int stride = 1 + 4 * m_width;
  SFileMem raw;
  raw.Allocate(stride * m_height);
  uint8_t* p = raw.GetBuffer();
  for (int y = 0; y < m_height; ++y) {
    *p++ = 0;  // no filter
    for (int x = 0; x < m_width; ++x) {
      uint32_t c = m_pixels[y * m_width + x];
      *p++ = uint8_t(c >> 16);
      *p++ = uint8_t(c >> 8);
      *p++ = uint8_t(c);
      *p++ = uint8_t(c >> 24);
    }
  }
  uLongf packedSize = compressBound((uLong)raw.GetSize());
  SFileMem packed;
  packed.Allocate((int)packedSize);
  if (compress2(packed.GetBuffer(), &packedSize, raw.GetBuffer(), (uLong)raw.GetSize(), 9) != Z_OK)
    return false;
  uint8_t header[13] = {0};
  uint32_t w = (uint32_t)m_width, h = (uint32_t)m_height;
  uint8_t sizes[8] = {uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8), uint8_t(w),
                      uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h)};
  memcpy(header, sizes, 8);
  header[8] = 8;  // bits per channel
  header[9] = 6;  // RGBA
  file->WriteData(kSignature, 8);
  PutChunk(file, "IHDR", header, 13);
  PutChunk(file, "IDAT", packed.GetBuffer(), (uint32_t)packedSize);
  PutChunk(file, "IEND", nullptr, 0);
  return true;
}
