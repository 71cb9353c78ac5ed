// Colours and noise shared by the painters.
#include "core/PlatformGdiplus.h"
#include "tools/imagegen/PainterSupport.h"

#include <math.h>

namespace Paint {

uint32_t Mix(uint32_t a, uint32_t b, float t) {
  t = Clamp01(t);
  uint32_t result = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    float ca = (float)((a >> shift) & 0xFF);
    float cb = (float)((b >> shift) & 0xFF);
    uint32_t c = (uint32_t)(ca + (cb - ca) * t + 0.5f);
    result |= (c > 255 ? 255 : c) << shift;
  }
  return result;
}

uint32_t WithAlpha(uint32_t colour, float alpha) {
  uint32_t a = (uint32_t)(Clamp01(alpha) * 255.0f + 0.5f);
  return (colour & 0x00FFFFFF) | (a << 24);
}

// The colour's RGB times f (clamped), alpha kept.
uint32_t Brighten(uint32_t colour, float f) {
  uint32_t result = colour & 0xFF000000;
  for (int shift = 0; shift <= 16; shift += 8) {
    float c = ((colour >> shift) & 0xFF) * f;
    uint32_t v = c <= 0 ? 0 : c >= 255 ? 255 : (uint32_t)(c + 0.5f);
    result |= v << shift;
  }
  return result;
}

uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = seed ^ ((uint32_t)x * 374761393u) ^ ((uint32_t)y * 668265263u);
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

float HashUnit(int x, int y, uint32_t seed) { return (Hash(x, y, seed) & 0xFFFF) / 65535.0f; }

// Smooth value noise on a lattice of cells x cells that wraps at the edges,
// so that textures tile.
float Noise(float u, float v, int cells, uint32_t seed) {
  float x = Frac(u) * cells;
  float y = Frac(v) * cells;
  int x0 = (int)x, y0 = (int)y;
  float fx = x - x0, fy = y - y0;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  int x1 = (x0 + 1) % cells, y1 = (y0 + 1) % cells;
  float a = HashUnit(x0, y0, seed), b = HashUnit(x1, y0, seed);
  float c = HashUnit(x0, y1, seed), d = HashUnit(x1, y1, seed);
  return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

}  // namespace Paint
