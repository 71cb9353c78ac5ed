// Test support for GDI and GDI+ code: GDI+ started once for the whole test
// program (the core library has no framework start-up), and a 32-bit
// top-down DIB section selected into a memory DC whose pixels the tests read
// back as 0xRRGGBB.
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/Utility.h"

#include <gtest/gtest.h>
#include <stdint.h>

class GdiplusEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
  ULONG_PTR m_token = 0;
};

// One registration for the whole program, whichever test files include this.
inline ::testing::Environment* const g_gdiplusEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

class Dib32 {
public:
  Dib32(int width, int height, uint32_t rgb = 0xFFFFFF) : m_width(width), m_height(height) {
    BITMAPINFO info = TopDownBitmapInfo32(width, height);
    m_dc = ::CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    Fill(rgb);
  }
  ~Dib32() {
    ::SelectObject(m_dc, m_previous);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  Dib32(const Dib32&) = delete;
  Dib32& operator=(const Dib32&) = delete;

  HDC GetDC() const { return m_dc; }
  HBITMAP GetBitmap() const { return m_bitmap; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  // Every pixel in the colour, and no clip region.
  void Fill(uint32_t rgb) {
    ::SelectClipRgn(m_dc, nullptr);
    ::GdiFlush();
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = rgb;
  }
  // 0xRRGGBB of a pixel (the alpha byte is left out).
  uint32_t Rgb(int x, int y) const {
    ::GdiFlush();
    return m_bits[y * m_width + x] & 0xFFFFFF;
  }
  // How many pixels of [x0, x1) x [y0, y1) pass the test (given 0xRRGGBB).
  template <class Test>
  int Count(int x0, int y0, int x1, int y1, Test test) const {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) n += test(Rgb(x, y)) ? 1 : 0;
    }
    return n;
  }
  // The whole 32-bit word, alpha included.
  uint32_t Word(int x, int y) const {
    ::GdiFlush();
    return m_bits[y * m_width + x];
  }
  void Set(int x, int y, uint32_t word) {
    ::GdiFlush();
    m_bits[y * m_width + x] = word;
  }

private:
  int m_width, m_height;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous;
  uint32_t* m_bits;
};
