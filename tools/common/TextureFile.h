// The game's images as the data set stores them: uncompressed DDS files of
// one level, 32 bits a pixel, holding the picture exactly as the platform's
// JPEG or PNG decoder gives it back. Direct3D's image library reads such a
// file without a decoder and makes the same texture from it (format, size
// and mip chain, which it builds from the top level) as from the JPEG or
// PNG file, at a quarter of the time.
#pragma once

#include "core/Platform.h"

class SFile;
class SImage;

namespace texture_file {

// The picture encoded as JPEG (opaque: an X8R8G8B8 texture) or PNG (with
// its alpha: A8R8G8B8), decoded again and written as a DDS file at the
// file's position. False when the picture has no bitmap, or encoding,
// decoding or writing fails.
bool Write(const SImage& picture, bool jpeg, SFile* out);

}  // namespace texture_file
