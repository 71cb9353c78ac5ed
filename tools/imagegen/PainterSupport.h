// What the painters of the image generator share: colour arithmetic, noise,
// text helpers and the per-pixel loop, and the painters of each job
// (PainterPatterns, PainterShapes, PainterIcons, PainterPages, and the text
// painters with the painter table in Painters.cpp).
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/SString.h"
#include "tools/imagegen/Canvas.h"

#include <stdint.h>

struct ImageDescription;

namespace Paint {

const float kPi = 3.14159265f;

inline float Clamp01(float t) { return t < 0 ? 0 : t > 1 ? 1 : t; }
inline float Frac(float t) { return t - floorf(t); }

// Colours (PainterNoise.cpp): a and b mixed by t, the alpha replaced, the
// RGB times f (clamped, alpha kept).
uint32_t Mix(uint32_t a, uint32_t b, float t);
uint32_t WithAlpha(uint32_t colour, float alpha);
uint32_t Brighten(uint32_t colour, float f);
// A hash of the lattice point and its value in [0, 1].
uint32_t Hash(int x, int y, uint32_t seed);
float HashUnit(int x, int y, uint32_t seed);
// Smooth value noise on a lattice of cells x cells that wraps at the edges,
// so that textures tile.
float Noise(float u, float v, int cells, uint32_t seed);

// Text helpers (Painters.cpp): caption segments from first on joined by
// line breaks; a box shrunk on every side; the outline colour of a text (the
// given colour, or half-opaque black).
SString JoinCaptions(const ImageDescription& description, int first);
Gdiplus::RectF Inset(float x, float y, float w, float h, float inset);
uint32_t OutlineOf(const ImageDescription& description, int index);
// A soft shape's coverage a in [0, 1] as the colour: alpha in a PNG,
// brightness on black in a JPEG.
uint32_t Coverage(const ImageDescription& description, uint32_t colour, float a);

// Per-pixel painter: f gives the colour of each pixel from (u, v) in [0, 1).
template <typename F>
void PaintPixels(Canvas& canvas, F f) {
  int w = canvas.GetWidth(), h = canvas.GetHeight();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) canvas.SetPixel(x, y, f(x, y, (x + 0.5f) / w, (y + 0.5f) / h));
  }
}

}  // namespace Paint

// The painters by job; each paints the description onto the canvas made at
// its size, false with a message for a bad parameter.
bool PaintTexture(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintExplosion(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintSpot(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintStar(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintRing(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintHole(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintCloud(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintSplat(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintIcon(const ImageDescription& description, Canvas& canvas, SString& error);
bool PaintPage(const ImageDescription& description, Canvas& canvas, SString& error);
