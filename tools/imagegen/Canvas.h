// A picture in the making: a 32-bit ARGB pixel buffer that pattern code
// writes directly, then, from the first drawing call on, a GDI+ bitmap for
// text and shapes, and at last a texture file (tools/common/TextureFile.h).
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/SImage.h"

#include <stdint.h>

#include <vector>

class Canvas {
public:
  // Text alignment in a box.
  enum { ALIGN_LEFT = 0, ALIGN_CENTER = 1, ALIGN_RIGHT = 2 };

  // Transparent black pixels.
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }

  // Pixel stage: valid until the first drawing call. Coordinates outside
  // the picture are ignored (0 when read).
  uint32_t GetPixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t argb);
  // argb laid over the pixel by its alpha.
  void BlendPixel(int x, int y, uint32_t argb);
  void Fill(uint32_t argb);

  // Drawing stage. Coordinates are pixels as floats.
  // The text in the box: single line unless it holds '\n'; the size (pixel
  // em height) shrinks until the text fits. An outline colour with alpha 0
  // draws no outline. False when no font could be made.
  bool DrawText(const char* text, const Gdiplus::RectF& box, float size, uint32_t colour,
                uint32_t outline, int align, bool bold);
  void FillPolygon(const Gdiplus::PointF* points, int count, uint32_t fill, uint32_t outline,
                   float penWidth);
  void FillEllipse(float cx, float cy, float rx, float ry, uint32_t fill, uint32_t outline,
                   float penWidth);
  void FillRoundRect(const Gdiplus::RectF& box, float radius, uint32_t fill, uint32_t outline,
                     float penWidth);
  void DrawLine(float x1, float y1, float x2, float y2, uint32_t colour, float penWidth);

  // Writes the picture as its JPEG (opaque) or PNG encoding decodes, as a
  // texture file; false when encoding or writing fails.
  bool Save(const char* path, bool jpeg);

private:
  // Makes the bitmap from the pixels on first use.
  Gdiplus::Graphics* Graphics();

  int m_width;
  int m_height;
  std::vector<uint32_t> m_pixels;
  SImage m_image;
  Gdiplus::Graphics* m_graphics;
};
