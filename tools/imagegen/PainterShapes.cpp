// Painters of soft shapes: the explosion sheet, particles, clouds, splats.
#include "core/PlatformGdiplus.h"
#include "tools/imagegen/PainterSupport.h"

#include "core/SStringParser.h"
#include "tools/imagegen/Canvas.h"
#include "tools/imagegen/ImageDescription.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

using Gdiplus::PointF;
using Gdiplus::RectF;

using namespace Paint;

bool PaintExplosion(const ImageDescription& description, Canvas& canvas, SString&) {
  const int columns = 4, rows = 8;
  int fw = canvas.GetWidth() / columns, fh = canvas.GetHeight() / rows;
  uint32_t hot = description.GetColour(0) | 0xFF000000,
           cool = description.GetColour(1) | 0xFF000000;
  uint32_t seed = description.GetSeed();
  PaintPixels(canvas, [&](int x, int y, float, float) {
    int frame = (y / fh) * columns + x / fw;
    float p = frame / (float)(columns * rows);
    float fx = ((x % fw) + 0.5f) / fw - 0.5f, fy = ((y % fh) + 0.5f) / fh - 0.5f;
    float r = hypotf(fx, fy) * 2;
    float radius = 0.25f + 0.7f * sqrtf(p);
    float puff = Noise(fx + 0.5f + p, fy + 0.5f, 6, seed);
    float edge = Clamp01((radius - r) / 0.25f + (puff - 0.5f) * 0.8f);
    float heat = Clamp01(1 - r / radius) * (1 - p);
    // Fire cools into grey smoke that stays faintly visible to the end.
    uint32_t colour = Mix(Mix(cool, hot, heat * 1.6f), 0xFF707070, powf(p, 1.5f));
    return Brighten(colour, edge * (0.4f + 0.6f * powf(1 - p, 0.8f)));
  });
  return true;
}

namespace {

float SpotShape(float r, float) { return powf(Clamp01(1 - r), 2); }

float StarShape(float r, float a) {
  float glow = powf(Clamp01(1 - r), 3);
  float rays = powf(fabsf(cosf(2 * a)), 24) * Clamp01(1 - r);
  return Clamp01(glow + rays);
}

float RingShape(float r, float) {
  float d = (r - 0.72f) / 0.12f;
  return expf(-d * d);
}

float HoleShape(float r, float) { return Clamp01((0.85f - r) / 0.2f); }

}  // namespace

// Soft shapes by radius and angle from the centre (r 1 at the edge).
template <float (*Shape)(float, float)>
bool PaintSoft(const ImageDescription& description, Canvas& canvas, SString&) {
  uint32_t colour = description.GetColour(0);
  PaintPixels(canvas, [&](int, int, float u, float v) {
    float dx = u * 2 - 1, dy = v * 2 - 1;
    return Coverage(description, colour, Shape(hypotf(dx, dy), atan2f(dy, dx)));
  });
  return true;
}

bool PaintCloud(const ImageDescription& description, Canvas& canvas, SString&) {
  uint32_t colour = description.GetColour(0), seed = description.GetSeed();
  PaintPixels(canvas, [&](int, int, float u, float v) {
    float r = hypotf(u * 2 - 1, v * 2 - 1);
    float n = 0.6f * Noise(u, v, 4, seed) + 0.4f * Noise(u, v, 8, seed + 1);
    return Coverage(description, colour, powf(Clamp01(1 - r), 1.5f) * (0.4f + n));
  });
  return true;
}

bool PaintSplat(const ImageDescription& description, Canvas& canvas, SString&) {
  uint32_t colour = description.GetColour(0), seed = description.GetSeed();
  // A few drops around a central blot, placed from the seed.
  float drops[9][3] = {{0.5f, 0.5f, 0.3f}};
  for (int i = 1; i < 9; ++i) {
    float angle = HashUnit(i, 1, seed) * 2 * kPi, distance = 0.2f + 0.22f * HashUnit(i, 2, seed);
    drops[i][0] = 0.5f + cosf(angle) * distance;
    drops[i][1] = 0.5f + sinf(angle) * distance;
    drops[i][2] = 0.04f + 0.08f * HashUnit(i, 3, seed);
  }
  PaintPixels(canvas, [&](int, int, float u, float v) {
    float a = 0;
    for (const auto& drop : drops) {
      float r = hypotf(u - drop[0], v - drop[1]) / drop[2];
      a = fmaxf(a, Clamp01((1 - r) * 4));
    }
    return Coverage(description, colour, a * (0.75f + 0.25f * Noise(u, v, 8, seed)));
  });
  return true;
}

bool PaintSpot(const ImageDescription& d, Canvas& c, SString& e) {
  return PaintSoft<SpotShape>(d, c, e);
}
bool PaintStar(const ImageDescription& d, Canvas& c, SString& e) {
  return PaintSoft<StarShape>(d, c, e);
}
bool PaintRing(const ImageDescription& d, Canvas& c, SString& e) {
  return PaintSoft<RingShape>(d, c, e);
}
bool PaintHole(const ImageDescription& d, Canvas& c, SString& e) {
  return PaintSoft<HoleShape>(d, c, e);
}
