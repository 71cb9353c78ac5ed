#include "core/PlatformGdiplus.h"
#include "tools/common/TextureFile.h"

#include "core/SFileMem.h"
#include "core/SImage.h"

#include <stdint.h>

namespace {

// The file's magic word and header (the DDS_HEADER of the format).
struct DdsHeader {
  uint32_t magic, size, flags, height, width, pitch, depth, mipLevels, reserved[11];
  uint32_t formatSize, formatFlags, fourCC, bitCount, redMask, greenMask, blueMask, alphaMask;
  uint32_t caps, caps2, caps3, caps4, reserved2;
};
static_assert(sizeof(DdsHeader) == 128, "the magic word and the 124-byte header");

const uint32_t kMagic = 0x20534444;  // "DDS "
// Caps, height, width, pixel format, pitch.
const uint32_t kFlags = 0x1 | 0x2 | 0x4 | 0x1000 | 0x8;
const uint32_t kRgb = 0x40, kAlphaPixels = 0x1;
const uint32_t kTextureCaps = 0x1000;

}  // namespace

namespace texture_file {

bool Write(const SImage& picture, bool jpeg, SFile* out) {
  if (!out || !picture.GetBitmap()) return false;
  SFileMem encoded;
  if (!picture.Save(&encoded, jpeg ? SImage::FORMAT_JPEG : SImage::FORMAT_PNG)) return false;
  encoded.Rewind();
  SImage decoded;
  if (!decoded.Load(&encoded)) return false;
  int width = decoded.GetWidth(), height = decoded.GetHeight();
  Gdiplus::Rect all(0, 0, width, height);
  Gdiplus::BitmapData data;
  // The lock gives an opaque picture alpha 255, which the X8R8G8B8 texture
  // ignores.
  if (decoded.GetBitmap()->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                    &data) != Gdiplus::Ok)
    return false;
  DdsHeader header = {};
  header.magic = kMagic;
  header.size = sizeof(DdsHeader) - 4;
  header.flags = kFlags;
  header.height = (uint32_t)height;
  header.width = (uint32_t)width;
  header.pitch = (uint32_t)width * 4;
  header.formatSize = 32;
  header.formatFlags = jpeg ? kRgb : kRgb | kAlphaPixels;
  header.bitCount = 32;
  header.redMask = 0x00FF0000;
  header.greenMask = 0x0000FF00;
  header.blueMask = 0x000000FF;
  header.alphaMask = jpeg ? 0 : 0xFF000000;
  header.caps = kTextureCaps;
  bool written = out->Write(&header, sizeof(header)) == (int)sizeof(header);
  for (int y = 0; y < height && written; ++y) {
    written = out->Write((const uint8_t*)data.Scan0 + y * data.Stride, width * 4) == width * 4;
  }
  decoded.GetBitmap()->UnlockBits(&data);
  return written;
}

}  // namespace texture_file
