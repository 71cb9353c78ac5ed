// Test support for painting: a 32-bit top-down DIB section in a memory DC
// whose pixels are read back as 0xRRGGBB, GDI+ bitmaps of given colours, PNG
// bytes, and a data archive written into a temporary folder.
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/Utility.h"
#include "core/SFileMem.h"
#include "core/SImage.h"
#include "core/SResource.h"
#include "tools/common/SResourceWriter.h"
#include "tests/support/TempFolder.h"

#include <stdint.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A COLORREF as the 0xRRGGBB value Canvas::Rgb reads back.
inline uint32_t RgbOf(COLORREF color) {
  return (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
}

class Canvas {
public:
  Canvas(int width, int height, uint32_t rgb = 0xFFFFFF) : m_width(width), m_height(height) {
    BITMAPINFO info = TopDownBitmapInfo32(width, height);
    m_dc = ::CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    Fill(rgb);
  }
  ~Canvas() {
    ::SelectObject(m_dc, m_previous);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return m_dc; }

  // Every pixel in the colour, and no clip region.
  void Fill(uint32_t rgb) {
    ::SelectClipRgn(m_dc, nullptr);
    ::GdiFlush();
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = rgb;
  }
  uint32_t Rgb(int x, int y) const {
    ::GdiFlush();
    return m_bits[y * m_width + x] & 0xFFFFFF;
  }

private:
  int m_width, m_height;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous;
  uint32_t* m_bits;
};

// A 32-bit ARGB bitmap whose pixel (x, y) is colour(x, y) (0xAARRGGBB).
inline Gdiplus::Bitmap* MakeBitmap(int width, int height,
                                   const std::function<uint32_t(int, int)>& colour) {
  Gdiplus::Bitmap* bitmap = new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, Gdiplus::Color(colour(x, y)));
  }
  return bitmap;
}

inline Gdiplus::Bitmap* SolidBitmap(int width, int height, uint32_t argb) {
  return MakeBitmap(width, height, [argb](int, int) { return argb; });
}

// The PNG bytes of a solid image.
inline void WritePng(SFileMem* file, int width, int height, uint32_t argb) {
  SImage image;
  Gdiplus::Bitmap* bitmap = SolidBitmap(width, height, argb);
  image.CopyRect(bitmap, 0, 0, -1, -1);
  delete bitmap;
  image.Save(file, SImage::FORMAT_PNG);
}

// An archive file of named entries in a temporary folder, opened.
class TestArchive {
public:
  explicit TestArchive(const std::vector<std::pair<std::string, SFileMem*>>& entries) {
    SFileMem bytes;
    SResourceWriter writer;
    writer.Begin(&bytes, false);
    for (const auto& entry : entries) {
      entry.second->Rewind();
      writer.Add(entry.first.c_str(), entry.second);
    }
    writer.End();
    m_path = m_folder.File("test.res");
    HANDLE file = ::CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.GetBuffer(), bytes.GetSize(), &written, nullptr);
    ::CloseHandle(file);
    m_opened = m_archive.Open(m_path.c_str());
  }

  SResource* Get() { return &m_archive; }
  bool IsOpen() const { return m_opened; }

private:
  TempFolder m_folder;
  std::string m_path;
  SResource m_archive;
  bool m_opened = false;
};
