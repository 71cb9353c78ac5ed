// Test support for painting: the shared 32-bit canvas, GDI+ bitmaps of given
// colours, PNG bytes, and a data archive written into a temporary folder.
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/Utility.h"
#include "core/SFileMem.h"
#include "core/SImage.h"
#include "core/SResource.h"
#include "tools/common/SResourceWriter.h"
#include "tests/support/GdiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <stdint.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A COLORREF as the 0xRRGGBB value Dib32::Rgb reads back.
inline uint32_t RgbOf(COLORREF color) {
  return (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
}

// A strong red of drawn text (antialiased edges included).
inline bool IsTextRed(uint32_t rgb) {
  return ((rgb >> 16) & 0xFF) >= 200 && ((rgb >> 8) & 0xFF) <= 120;
}

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
