#include "core/PlatformGdiplus.h"
#include "core/SImage.h"

#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/Utility.h"

#include <wchar.h>

using namespace Gdiplus;

namespace {

// Encoder parameter: colour depth (value type long).
const GUID kEncoderColorDepth = {
    0x66087055, 0xAD66, 0x4C7C, {0x9A, 0x18, 0x38, 0xA2, 0x31, 0x0B, 0x83, 0x37}};

// MIME types by Save format; index 0 (any other format) is BMP.
const wchar_t* const kMimeTypes[] = {L"image/bmp", L"image/jpeg", L"image/png", L"image/gif"};

// Bits per pixel of the GDI+ pixel formats that GetBitsPerPixel knows.
const struct {
  PixelFormat format;
  int bits;
} kFormatBits[] = {
    {PixelFormat1bppIndexed, 1},  {PixelFormat4bppIndexed, 4},   {PixelFormat8bppIndexed, 8},
    {PixelFormat16bppGrayScale, 16}, {PixelFormat16bppRGB555, 16}, {PixelFormat16bppRGB565, 16},
    {PixelFormat16bppARGB1555, 16}, {PixelFormat24bppRGB, 24},    {PixelFormat32bppRGB, 32},
    {PixelFormat32bppARGB, 32},   {PixelFormat32bppPARGB, 32},   {PixelFormat48bppRGB, 48},
    {PixelFormat64bppARGB, 64},   {PixelFormat64bppPARGB, 64},
};

// Region data is gathered in batches of this many rectangles.
const int kRegionBatch = 2000;

// A COLORREF as opaque GDI+ colour.
Color OpaqueColor(COLORREF c) { return Color(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

// The bitmap when its construction succeeded, else null (the wrapper deleted).
Bitmap* Checked(Bitmap* bitmap) {
  if (bitmap && bitmap->GetLastStatus() != Ok) {
    delete bitmap;
    return nullptr;
  }
  return bitmap;
}

// Adds a batch of rectangles to the region and starts the batch again.
void FlushRegionBatch(RGNDATA* data, HRGN* result) {
  RGNDATAHEADER& header = data->rdh;
  if (header.nCount == 0) return;
  header.nRgnSize = header.nCount * sizeof(RECT);
  HRGN batch = ::ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER) + header.nRgnSize, data);
  if (batch) {
    ::CombineRgn(*result, *result, batch, RGN_OR);
    ::DeleteObject(batch);
  }
  header.nCount = 0;
  SetRect(&header.rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);
}

}  // namespace

// --- construction and contents ------------------------------------------------

SImage::SImage()
    : m_backColor(COLOR_NONE),
      m_transparentColor(COLOR_NONE),
      m_drawMode(DRAW_TOPLEFT),
      m_reserved(0),
      m_bitmap(nullptr) {}

SImage::SImage(int width, int height) : SImage() { Create(width, height); }

SImage::~SImage() { FreeBitmap(); }

void SImage::SetBitmap(Bitmap* bitmap) {
  if (bitmap == m_bitmap) return;
  delete m_bitmap;
  m_bitmap = bitmap;
}

void SImage::FreeBitmap() { SetBitmap(nullptr); }

bool SImage::Create(int width, int height) {
  FreeBitmap();
  m_bitmap = Checked(new Bitmap(width, height, PixelFormat32bppARGB));
  if (!m_bitmap) return false;
  // Fully transparent whatever the allocator left in the pixels.
  Graphics graphics(m_bitmap);
  graphics.SetCompositingMode(CompositingModeSourceCopy);
  graphics.Clear(Color(0, 0, 0, 0));
  return true;
}

bool SImage::CreateFromPixels(const uint32_t* pixels, int width, int height) {
  if (!pixels || !Create(width, height)) return false;
  m_drawMode = DRAW_CENTER;
  m_backColor = COLOR_NONE;
  Rect all(0, 0, width, height);
  BitmapData data;
  if (m_bitmap->LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &data) != Ok) return false;
  for (int y = 0; y < height; ++y) {
    memcpy((uint8_t*)data.Scan0 + y * data.Stride, pixels + (size_t)y * width, width * 4);
  }
  m_bitmap->UnlockBits(&data);
  return true;
}

bool SImage::Copy(const SImage& other) {
  if (&other == this) return m_bitmap != nullptr;
  FreeBitmap();
  if (other.m_bitmap) m_bitmap = other.CloneBitmap(other.m_bitmap->GetPixelFormat());
  return m_bitmap != nullptr;
}

bool SImage::CopyRect(Bitmap* source, int x, int y, int width, int height) {
  if (!source) return false;
  if (width < 0) width = (int)source->GetWidth();
  if (height < 0) height = (int)source->GetHeight();
  Bitmap* clone = source->Clone(x, y, width, height, source->GetPixelFormat());
  // The source may be this image's own bitmap: replace it only afterwards.
  SetBitmap(clone);
  return m_bitmap != nullptr;
}

bool SImage::CopyRect(const SImage& source, int x, int y, int width, int height) {
  return CopyRect(source.m_bitmap, x, y, width, height);
}

Bitmap* SImage::CloneBitmap(PixelFormat format) const {
  if (!m_bitmap) return nullptr;
  return m_bitmap->Clone(0, 0, (int)m_bitmap->GetWidth(), (int)m_bitmap->GetHeight(), format);
}

int SImage::GetWidth() const { return m_bitmap ? (int)m_bitmap->GetWidth() : 0; }

int SImage::GetHeight() const { return m_bitmap ? (int)m_bitmap->GetHeight() : 0; }

int SImage::GetBitsPerPixel() const {
  if (!m_bitmap) return 0;
  PixelFormat format = m_bitmap->GetPixelFormat();
  for (const auto& row : kFormatBits) {
    if (row.format == format) return row.bits;
  }
  return 0;
}

// --- files -------------------------------------------------------------------

int SImage::GetEncoderClsid(const wchar_t* mimeType, CLSID* clsid) {
  if (!mimeType) return -1;
  UINT count = 0, size = 0;
  if (GetImageEncodersSize(&count, &size) != Ok || count == 0 || size == 0) return -1;
  ImageCodecInfo* encoders = (ImageCodecInfo*)malloc(size);
  if (!encoders) return -1;
  int index = -1;
  if (GetImageEncoders(count, size, encoders) == Ok) {
    for (UINT i = 0; i < count; ++i) {
      if (encoders[i].MimeType && wcscmp(encoders[i].MimeType, mimeType) == 0) {
        if (clsid) *clsid = encoders[i].Clsid;
        index = (int)i;
        break;
      }
    }
  }
  free(encoders);
  return index;
}

Bitmap* SImage::ReadBitmap(SFile* file) {
  if (!file) return nullptr;
  int n = file->GetRemaining();
  if (n <= 0) return nullptr;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, n);
  if (!memory) return nullptr;
  void* bytes = ::GlobalLock(memory);
  if (!bytes) {
    ::GlobalFree(memory);
    return nullptr;
  }
  if (file->IsMemoryFile()) {
    SFileMem* mem = static_cast<SFileMem*>(file);
    memcpy(bytes, mem->GetBuffer() + mem->Tell(), n);
    mem->SeekToEnd();
  } else {
    n = file->Read(bytes, n);
  }
  ::GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (n <= 0 || FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream)) || !stream) {
    ::GlobalFree(memory);
    return nullptr;
  }
  ULARGE_INTEGER length;
  length.QuadPart = (ULONGLONG)n;
  stream->SetSize(length);
  Bitmap* bitmap = Checked(new Bitmap(stream, FALSE));
  stream->Release();
  if (bitmap && (bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0)) {
    delete bitmap;
    bitmap = nullptr;
  }
  return bitmap;
}

bool SImage::Load(SFile* file) {
  if (!file) return false;
  FreeBitmap();
  m_bitmap = ReadBitmap(file);
  return m_bitmap != nullptr;
}

IStream* SImage::Encode(int format, int colorDepth) const {
  if (!m_bitmap) return nullptr;
  CLSID encoder;
  int mime = format >= FORMAT_JPEG && format <= FORMAT_GIF ? format : 0;
  if (GetEncoderClsid(kMimeTypes[mime], &encoder) < 0) return nullptr;
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !stream) return nullptr;
  LONG depth = colorDepth;
  EncoderParameters parameters;
  parameters.Count = 1;
  parameters.Parameter[0].Guid = kEncoderColorDepth;
  parameters.Parameter[0].NumberOfValues = 1;
  parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
  parameters.Parameter[0].Value = &depth;
  if (m_bitmap->Save(stream, &encoder, colorDepth ? &parameters : nullptr) != Ok) {
    stream->Release();
    return nullptr;
  }
  return stream;
}

bool SImage::Save(SFile* file, int format, int colorDepth) const {
  if (!file || !m_bitmap) return false;
  IStream* stream = Encode(format, colorDepth);
  if (!stream) return false;
  bool written = false;
  STATSTG stat;
  HGLOBAL memory = nullptr;
  if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart > 0 &&
      stat.cbSize.QuadPart < 0x7FFFFFFF && SUCCEEDED(::GetHGlobalFromStream(stream, &memory))) {
    int n = (int)stat.cbSize.QuadPart;
    const void* bytes = ::GlobalLock(memory);
    if (bytes) {
      written = file->Write(bytes, n) == n;
      ::GlobalUnlock(memory);
    }
  }
  stream->Release();
  return written;
}

Bitmap* SImage::RoundTrip(int format, int colorDepth) const {
  SFileMem file;
  if (!Save(&file, format, colorDepth)) return nullptr;
  file.Rewind();
  return ReadBitmap(&file);
}

// --- GDI handles ---------------------------------------------------------------

bool SImage::FromHBITMAP(HBITMAP handle) {
  if (!handle) return false;
  BITMAP info;
  if (!::GetObjectA(handle, sizeof(info), &info)) return false;
  if (info.bmBitsPixel == 24) {
    FreeBitmap();
    m_bitmap = Checked(new Bitmap(handle, nullptr));
    return m_bitmap != nullptr;
  }
  int width = info.bmWidth, height = info.bmHeight;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO header = TopDownBitmapInfo32(width, height);
  uint32_t* pixels = new uint32_t[(size_t)width * height];
  HDC screen = ::GetDC(nullptr);
  int lines = ::GetDIBits(screen, handle, 0, height, pixels, &header, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  // A device-dependent bitmap has no alpha channel (the bytes read back as
  // 0, which would make the image invisible): its pixels are opaque. A DIB
  // section keeps its alpha bytes.
  DIBSECTION section;
  if (lines == height && ::GetObjectA(handle, sizeof(section), &section) != sizeof(section)) {
    for (size_t i = 0; i < (size_t)width * height; ++i) pixels[i] |= 0xFF000000u;
  }
  bool made = false;
  if (lines == height) {
    FreeBitmap();
    Bitmap* bitmap = Checked(new Bitmap(width, height, PixelFormat32bppARGB));
    Rect all(0, 0, width, height);
    BitmapData data;
    if (bitmap && bitmap->LockBits(&all, ImageLockModeWrite, PixelFormat32bppARGB, &data) == Ok) {
      for (int y = 0; y < height; ++y) {
        memcpy((uint8_t*)data.Scan0 + y * data.Stride, pixels + (size_t)y * width, width * 4);
      }
      bitmap->UnlockBits(&data);
      m_bitmap = bitmap;
      made = true;
    } else {
      delete bitmap;
    }
  }
  delete[] pixels;
  return made;
}

bool SImage::FromImageList(int index, HIMAGELIST list) {
  if (!list) return false;
  int count = ImageList_GetImageCount(list);
  if (index < -1 || index >= count) return false;
  IMAGEINFO info;
  if (!ImageList_GetImageInfo(list, index < 0 ? 0 : index, &info)) return false;
  if (index < 0) return FromHBITMAP(info.hbmImage);
  SImage strip;
  if (!strip.FromHBITMAP(info.hbmImage)) return false;
  const RECT& r = info.rcImage;
  return CopyRect(strip, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool SImage::CaptureDC(HDC dc, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  HDC source = dc ? dc : ::GetDC(nullptr);
  if (!source) return false;
  HDC memory = ::CreateCompatibleDC(source);
  HBITMAP bitmap = ::CreateCompatibleBitmap(source, width, height);
  bool made = false;
  if (memory && bitmap) {
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    made = FromHBITMAP(bitmap);
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (memory) ::DeleteDC(memory);
  if (!dc) ::ReleaseDC(nullptr, source);
  return made;
}

HBITMAP SImage::GetHBITMAP() const {
  if (!m_bitmap) return nullptr;
  HBITMAP handle = nullptr;
  if (m_bitmap->GetHBITMAP(Color(0xFF000000), &handle) != Ok) return nullptr;
  return handle;
}

HBITMAP SImage::GetHBITMAP16() const {
  if (!m_bitmap) return nullptr;
  if (GetBitsPerPixel() == 16) return GetHBITMAP();
  SImage temporary;
  temporary.m_bitmap = RoundTrip(FORMAT_BMP, 16);
  return temporary.GetHBITMAP();
}

HBITMAP SImage::GetHBITMAP32() const {
  if (!m_bitmap) return nullptr;
  SImage temporary;
  Bitmap* source = m_bitmap;
  if (m_bitmap->GetPixelFormat() != PixelFormat32bppARGB) {
    temporary.m_bitmap = RoundTrip(FORMAT_PNG, 32);
    source = temporary.m_bitmap;
    if (!source) return nullptr;
  }
  int width = (int)source->GetWidth(), height = (int)source->GetHeight();
  Rect all(0, 0, width, height);
  BitmapData data;
  // The read-back bitmap may have another format: the lock converts it.
  if (source->LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return nullptr;
  HBITMAP handle;
  if (data.Stride == width * 4) {
    handle = ::CreateBitmap(width, height, 1, 32, data.Scan0);
  } else {
    uint32_t* rows = new uint32_t[(size_t)width * height];
    for (int y = 0; y < height; ++y) {
      memcpy(rows + (size_t)y * width, (uint8_t*)data.Scan0 + y * data.Stride, width * 4);
    }
    handle = ::CreateBitmap(width, height, 1, 32, rows);
    delete[] rows;
  }
  source->UnlockBits(&data);
  return handle;
}

HBITMAP SImage::CreateMaskHBITMAP() const {
  if (GetBitsPerPixel() < 32) return nullptr;
  int width = (int)m_bitmap->GetWidth(), height = (int)m_bitmap->GetHeight();
  Rect all(0, 0, width, height);
  BitmapData data;
  if (m_bitmap->LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) {
    return nullptr;
  }
  // Monochrome rows are word-aligned; a set bit is white.
  int stride = ((width + 15) / 16) * 2;
  uint8_t* bits = new uint8_t[(size_t)stride * height]();
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = (const uint32_t*)((const uint8_t*)data.Scan0 + y * data.Stride);
    for (int x = 0; x < width; ++x) {
      if ((row[x] >> 24) <= 128) bits[y * stride + x / 8] |= (uint8_t)(0x80 >> (x % 8));
    }
  }
  m_bitmap->UnlockBits(&data);
  HBITMAP mask = ::CreateBitmap(width, height, 1, 1, bits);
  delete[] bits;
  return mask;
}

HICON SImage::CreateIcon() const {
  HBITMAP bitmap = GetHBITMAP();
  if (!bitmap) return nullptr;
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmMask = bitmap;
  info.hbmColor = bitmap;
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(bitmap);
  return icon;
}

HRGN SImage::CreateRegion(COLORREF key) const {
  if (!m_bitmap) return nullptr;
  HBITMAP bitmap = GetHBITMAP();
  if (!bitmap) return nullptr;
  int width = (int)m_bitmap->GetWidth(), height = (int)m_bitmap->GetHeight();
  uint8_t keyRed = GetRValue(key), keyGreen = GetGValue(key), keyBlue = GetBValue(key);

  // The pixels as a top-down 32-bit DIB section (blue, green, red, unused).
  BITMAPINFO header = TopDownBitmapInfo32(width, height);
  void* bits = nullptr;
  HDC memory = ::CreateCompatibleDC(nullptr);
  HBITMAP section = ::CreateDIBSection(memory, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  // One batch of rectangles, handed to the region whenever it is full.
  RGNDATA* data = (RGNDATA*)malloc(sizeof(RGNDATAHEADER) + sizeof(RECT) * (size_t)kRegionBatch);
  HRGN result = nullptr;
  if (memory && section && bits && data) {
    HGDIOBJ previousSection = ::SelectObject(memory, section);
    HDC source = ::CreateCompatibleDC(memory);
    HGDIOBJ previousSource = ::SelectObject(source, bitmap);
    ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ::SelectObject(source, previousSource);
    ::DeleteDC(source);
    ::GdiFlush();

    result = ::CreateRectRgn(0, 0, 0, 0);
    RGNDATAHEADER& rdh = data->rdh;
    rdh.dwSize = sizeof(RGNDATAHEADER);
    rdh.iType = RDH_RECTANGLES;
    rdh.nCount = 0;
    SetRect(&rdh.rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);
    RECT* rects = (RECT*)data->Buffer;
    int rowBytes = ((width * 32 + 31) / 32) * 4;
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = (const uint8_t*)bits + (size_t)y * rowBytes;
      for (int x = 0; x < width;) {
        auto isKey = [&](int i) {
          const uint8_t* p = row + i * 4;
          return p[0] == keyBlue && p[1] == keyGreen && p[2] == keyRed;
        };
        if (isKey(x)) {
          ++x;
          continue;
        }
        int x0 = x;
        while (x < width && !isKey(x)) ++x;
        SetRect(&rects[rdh.nCount++], x0, y, x, y + 1);
        if (x0 < rdh.rcBound.left) rdh.rcBound.left = x0;
        if (y < rdh.rcBound.top) rdh.rcBound.top = y;
        if (x > rdh.rcBound.right) rdh.rcBound.right = x;
        if (y + 1 > rdh.rcBound.bottom) rdh.rcBound.bottom = y + 1;
        if ((int)rdh.nCount == kRegionBatch) FlushRegionBatch(data, &result);
      }
    }
    FlushRegionBatch(data, &result);
    ::SelectObject(memory, previousSection);
  }
  free(data);
  if (section) ::DeleteObject(section);
  if (memory) ::DeleteDC(memory);
  ::DeleteObject(bitmap);
  return result;
}

// --- changes -------------------------------------------------------------------

bool SImage::ConvertTo16Bit() {
  if (!m_bitmap || GetBitsPerPixel() == 16) return false;
  Bitmap* clone = CloneBitmap(PixelFormat16bppRGB565);
  if (!clone) return false;
  SetBitmap(clone);
  return true;
}

bool SImage::Resize(int width, int height) {
  if (!m_bitmap) return false;
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == GetWidth() && height == GetHeight()) return false;
  Bitmap* resized = Checked(new Bitmap(width, height, m_bitmap->GetPixelFormat()));
  if (!resized) return false;
  Graphics* graphics = new Graphics(resized);
  if (graphics->GetLastStatus() != Ok) {
    // Indexed formats take no graphics: draw into 32-bit ARGB instead.
    delete graphics;
    delete resized;
    resized = Checked(new Bitmap(width, height, PixelFormat32bppARGB));
    if (!resized) return false;
    graphics = new Graphics(resized);
  }
  int mode = m_drawMode;
  m_drawMode = DRAW_STRETCH;
  Rect dest(0, 0, width, height);
  DrawInRect(graphics, &dest, nullptr);
  delete graphics;
  m_drawMode = mode >= 0 && mode < DRAW_MODE_COUNT ? mode : DRAW_TOPLEFT;
  SetBitmap(resized);
  return true;
}

bool SImage::Rotate(int quarterTurns) {
  if (!m_bitmap) return false;
  static const RotateFlipType kTurns[4] = {RotateNoneFlipNone, Rotate90FlipNone,
                                           Rotate180FlipNone, Rotate270FlipNone};
  int turns = quarterTurns % 4;
  if (turns > 0) m_bitmap->RotateFlip(kTurns[turns]);
  return true;
}

void SImage::Clear(COLORREF color) {
  if (!m_bitmap) return;
  Graphics graphics(m_bitmap);
  graphics.Clear(OpaqueColor(color));
}

// --- drawing -------------------------------------------------------------------

void SImage::PlaceInRect(const Rect& dest, int mode, const Rect& source, Rect* drawnDest,
                         Rect* drawnSource) {
  // Column and row of the mode in the placement grid: 0 near, 1 centre, 2 far.
  static const struct {
    int column, row;
  } kPlacement[9] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {1, 1}};
  if (mode < 0 || mode > DRAW_CENTER) mode = DRAW_TOPLEFT;
  int x = dest.X, y = dest.Y, w = dest.Width, h = dest.Height;
  int sw = source.Width, sh = source.Height;
  int px, py;
  switch (kPlacement[mode].column) {
    case 0: px = x; break;
    case 1: px = (w + 2 * x) / 2 - sw / 2; break;
    default: px = x + w - sw; break;
  }
  switch (kPlacement[mode].row) {
    case 0: py = y; break;
    case 1: py = (h + 2 * y) / 2 - sh / 2; break;
    default: py = y + h - sh; break;
  }
  int left = px > x ? px : x, top = py > y ? py : y;
  int right = px + sw < x + w ? px + sw : x + w;
  int bottom = py + sh < y + h ? py + sh : y + h;
  if (right < left) right = left;
  if (bottom < top) bottom = top;
  if (drawnDest) *drawnDest = Rect(left, top, right - left, bottom - top);
  if (drawnSource) {
    *drawnSource = Rect(source.X + (px < x ? x - px : 0), source.Y + (py < y ? y - py : 0),
                        right - left, bottom - top);
  }
}

void SImage::DrawInRect(Graphics* graphics, const Rect* dest, const Rect* source) {
  if (!m_bitmap || !graphics) return;
  Rect own(0, 0, GetWidth(), GetHeight());
  Rect d = dest ? *dest : own;
  Rect s = source ? *source : own;

  ImageAttributes attributes;
  if (m_transparentColor != COLOR_NONE) {
    attributes.SetColorKey(OpaqueColor(m_transparentColor), OpaqueColor(m_transparentColor),
                           ColorAdjustTypeDefault);
  }

  int mode = m_drawMode >= 0 && m_drawMode < DRAW_MODE_COUNT ? m_drawMode : DRAW_TOPLEFT;
  Rect drawn;
  if (mode == DRAW_STRETCH) {
    graphics->DrawImage(m_bitmap, d, s.X, s.Y, s.Width, s.Height, UnitPixel, &attributes);
    return;
  }
  if (mode == DRAW_TILE) {
    Bitmap* tile = m_bitmap->Clone(s.X, s.Y, s.Width, s.Height, m_bitmap->GetPixelFormat());
    if (!tile) return;
    ImageAttributes tiled;
    tiled.SetWrapMode(WrapModeTile);
    if (m_transparentColor != COLOR_NONE) {
      tiled.SetColorKey(OpaqueColor(m_transparentColor), OpaqueColor(m_transparentColor),
                        ColorAdjustTypeDefault);
    }
    graphics->DrawImage(tile, d, 0, 0, d.Width, d.Height, UnitPixel, &tiled);
    delete tile;
    return;
  }
  if (mode == DRAW_FIT || mode == DRAW_FITZOOM) {
    RECT target = {d.X, d.Y, d.X + d.Width, d.Y + d.Height};
    RECT fitted = FitRectToAspect(s.Width, s.Height, target, mode == DRAW_FITZOOM);
    drawn = Rect(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
    graphics->DrawImage(m_bitmap, drawn, s.X, s.Y, s.Width, s.Height, UnitPixel, &attributes);
  } else {
    Rect part;
    PlaceInRect(d, mode, s, &drawn, &part);
    if (drawn.Width > 0 && drawn.Height > 0) {
      graphics->DrawImage(m_bitmap, drawn, part.X, part.Y, part.Width, part.Height, UnitPixel,
                          &attributes);
    }
  }

  if (m_backColor != COLOR_NONE && m_backColor != COLOR_HOLLOW) {
    Region saved;
    graphics->GetClip(&saved);
    graphics->SetClip(drawn, CombineModeExclude);
    SolidBrush brush(OpaqueColor(m_backColor));
    graphics->FillRectangle(&brush, d);
    graphics->SetClip(&saved, CombineModeReplace);
  }
}

void SImage::DrawAt(Graphics* graphics, int x, int y) {
  if (!m_bitmap) return;
  Rect dest(x, y, GetWidth(), GetHeight());
  DrawInRect(graphics, &dest, nullptr);
}
