// The framework's raster image: a GDI+ bitmap with a name, a background
// colour, a transparent (key) colour and a drawing mode.
//
// Reads whatever GDI+ decodes from a file, writes JPEG, PNG, GIF or BMP,
// converts to and from GDI handles, and draws itself into a rectangle in one
// of thirteen placements. Every operation checks for a bitmap first; GDI+
// must be running (GdiplusStartup) before the first operation.
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/SString.h"

#include <stdint.h>

class SFile;

class SImage {
public:
  // Drawing modes (their names in dialog texts are "_DRAWTOPLEFT" ...).
  enum {
    DRAW_TOPLEFT = 0,
    DRAW_TOPCENTER = 1,
    DRAW_TOPRIGHT = 2,
    DRAW_MIDDLELEFT = 3,
    DRAW_MIDDLERIGHT = 4,
    DRAW_BOTTOMLEFT = 5,
    DRAW_BOTTOMCENTER = 6,
    DRAW_BOTTOMRIGHT = 7,
    DRAW_CENTER = 8,
    DRAW_STRETCH = 9,
    DRAW_TILE = 10,
    DRAW_FIT = 11,
    DRAW_FITZOOM = 12,
    DRAW_MODE_COUNT = 13
  };

  // Formats of Save.
  enum { FORMAT_JPEG = 1, FORMAT_PNG = 2, FORMAT_GIF = 3, FORMAT_BMP = 4 };

  // Colour values: none (also "no key") and hollow (no background painted).
  static constexpr COLORREF COLOR_NONE = 0xFF000000;
  static constexpr COLORREF COLOR_HOLLOW = 0xFF000001;

  // Empty name, no bitmap, both colours none, mode 0.
  SImage();
  // Also Create(width, height).
  SImage(int width, int height);
  SImage(const SImage&) = delete;
  SImage& operator=(const SImage&) = delete;
  virtual ~SImage();

  // Contents. Each replaces (deletes) the current bitmap.
  // A fully transparent 32-bit ARGB bitmap; always true.
  bool Create(int width, int height);
  // Create, then mode 8, no background, and the ARGB words in row order.
  bool CreateFromPixels(const uint32_t* pixels, int width, int height);
  // A clone of the other's bitmap in its pixel format; none when it has none.
  // True when this image then has a bitmap.
  bool Copy(const SImage& other);
  // A clone of that rectangle of the source (a negative width or height means
  // the source's full one); false when the source has no bitmap or the clone
  // fails.
  bool CopyRect(Gdiplus::Bitmap* source, int x, int y, int width, int height);
  bool CopyRect(const SImage& source, int x, int y, int width, int height);
  // A clone of the whole bitmap in the given format, owned by the caller;
  // null without a bitmap.
  Gdiplus::Bitmap* CloneBitmap(Gdiplus::PixelFormat format) const;
  void FreeBitmap();

  SString GetName() const { return m_name; }
  void SetName(const char* name) { m_name = name; }
  Gdiplus::Bitmap* GetBitmap() const { return m_bitmap; }
  // 0 without a bitmap.
  int GetWidth() const;
  int GetHeight() const;
  // 1, 4, 8, 16, 24, 32, 48 or 64; 0 for another format or without a bitmap.
  int GetBitsPerPixel() const;

  // Files. ReadBitmap decodes the bytes from the file's position to its end
  // (the position moves to the end) into a new bitmap owned by the caller;
  // null when nothing remains, decoding fails or a side is 0.
  static Gdiplus::Bitmap* ReadBitmap(SFile* file);
  bool Load(SFile* file);
  // Writes the encoded image at the file's position: FORMAT_JPEG, FORMAT_PNG,
  // FORMAT_GIF, anything else BMP; a non-zero colour depth is passed to the
  // encoder. True when bytes were written.
  bool Save(SFile* file, int format, int colorDepth = 0) const;

  // GDI handles.
  bool FromHBITMAP(HBITMAP bitmap);
  // Index -1: the list's whole strip; 0 to count-1: that image.
  bool FromImageList(int index, HIMAGELIST list);
  // width x height pixels from the DC's origin (the screen without a DC).
  bool CaptureDC(HDC dc, int width, int height);
  // On opaque black; owned by the caller; null without a bitmap.
  HBITMAP GetHBITMAP() const;
  HBITMAP GetHBITMAP16() const;
  HBITMAP GetHBITMAP32() const;
  // Monochrome: black where alpha > 128, else white; null below 32 bits.
  HBITMAP CreateMaskHBITMAP() const;
  HICON CreateIcon() const;
  // The region of every pixel that is not exactly the key colour.
  HRGN CreateRegion(COLORREF key) const;

  // Changes.
  // A 16-bit RGB565 clone; false when already 16 bits or without a bitmap.
  bool ConvertTo16Bit();
  // Stretched into a new bitmap of the same format; false for the same size.
  bool Resize(int width, int height);
  // Clockwise quarter turns; the count's remainder (with its sign) by 4
  // decides; true whenever there is a bitmap.
  bool Rotate(int quarterTurns);
  // The whole bitmap in that colour, fully opaque.
  void Clear(COLORREF color);

  // Drawing. Rectangles are x, y, width, height; null means the image's own.
  void DrawInRect(Gdiplus::Graphics* graphics, const Gdiplus::Rect* dest = nullptr,
                  const Gdiplus::Rect* source = nullptr);
  void DrawAt(Gdiplus::Graphics* graphics, int x, int y);
  // The visible part of a source drawn unscaled in mode 0 to 8: the drawn
  // destination and the matching source rectangle.
  static void PlaceInRect(const Gdiplus::Rect& dest, int mode, const Gdiplus::Rect& source,
                          Gdiplus::Rect* drawnDest, Gdiplus::Rect* drawnSource);

  // The MIME type's encoder: its index in GDI+'s list, its CLSID in clsid;
  // -1 when there is none.
  static int GetEncoderClsid(const wchar_t* mimeType, CLSID* clsid);

  // Owners set and read these directly.
  COLORREF m_backColor;
  COLORREF m_transparentColor;
  int m_drawMode;

private:
  // Replaces the bitmap (the old one is deleted).
  void SetBitmap(Gdiplus::Bitmap* bitmap);
  // Encodes into a new memory stream; null when encoding fails.
  IStream* Encode(int format, int colorDepth) const;
  // Saves in the format, reads back and returns the bitmap; null on failure.
  Gdiplus::Bitmap* RoundTrip(int format, int colorDepth) const;

  uint32_t m_reserved;
  SString m_name;
  Gdiplus::Bitmap* m_bitmap;
};
