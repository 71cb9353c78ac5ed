// The painter of tileable textures: patterns mixing two colours with an
// accent, lit as relief from their own height, and the normal maps made from
// the same height.
#include "core/PlatformGdiplus.h"
#include "tools/imagegen/PainterSupport.h"

#include "tools/imagegen/Canvas.h"
#include "tools/imagegen/ImageDescription.h"

#include <math.h>

#include <vector>

using namespace Paint;

namespace {

// Each gives the mix from c0 (0) to c1 (1) at (u, v) in [0, 1) and may set an
// accent weight towards c2.

struct PatternPoint {
  float u, v;
  uint32_t seed;
};

float Edge(float t, float width) { return Frac(t) < width || Frac(t) > 1 - width ? 1.0f : 0.0f; }

float Bricks(const PatternPoint& p, float*) {
  float row = floorf(p.v * 4);
  float offset = fmodf(row, 2) == 1 ? 0.25f : 0;
  bool mortar = Frac(p.v * 4) < 0.08f || Frac(p.u * 2 + offset) < 0.04f;
  return mortar ? 1.0f : 0.3f * Noise(p.u + offset, p.v, 8, p.seed + (uint32_t)row);
}

float Tiles(const PatternPoint& p, float*) {
  if (Edge(p.u * 4, 0.03f) + Edge(p.v * 4, 0.03f) > 0) return 1.0f;
  return 0.25f * Noise(p.u, p.v, 16, p.seed);
}

float Slit(const PatternPoint& p, float* accent) {
  if (fabsf(p.u - 0.5f) < 0.07f && p.v > 0.15f && p.v < 0.85f) *accent = 1.0f;
  return Bricks(p, accent);
}

float Lamp(const PatternPoint& p, float* accent) {
  float r = hypotf(p.u - 0.5f, p.v - 0.5f);
  *accent = Clamp01((0.22f - r) / 0.06f);
  return Bricks(p, accent);
}

float Stripes(const PatternPoint& p, float*) { return Frac((p.u + p.v) * 4) < 0.5f ? 1.0f : 0.0f; }

float Hatch(const PatternPoint& p, float*) { return Frac((p.u - p.v) * 4) < 0.5f ? 1.0f : 0.0f; }

float Plates(const PatternPoint& p, float* accent) {
  float fu = Frac(p.u * 2), fv = Frac(p.v * 2);
  float d = fminf(fminf(fu, 1 - fu), fminf(fv, 1 - fv));
  float ru = fminf(fu, 1 - fu) - 0.08f, rv = fminf(fv, 1 - fv) - 0.08f;
  if (hypotf(ru, rv) < 0.035f) *accent = 1.0f;
  if (d < 0.025f) return 1.0f;
  if (d < 0.05f) return 0.55f;
  return 0.2f * Noise(p.u, p.v, 8, p.seed);
}

float Cracks(const PatternPoint& p, float* accent) {
  float t = Plates(p, accent);
  float line = 0.5f + 0.12f * sinf(p.u * 2 * kPi * 3) + 0.05f * sinf(p.u * 2 * kPi * 7);
  if (fabsf(p.v - line) < 0.015f) *accent = 1.0f;
  return t;
}

float Chevrons(const PatternPoint& p, float*) {
  return Frac((p.v - fabsf(p.u - 0.5f)) * 4) < 0.5f ? 1.0f : 0.0f;
}

float Crate(const PatternPoint& p, float*) {
  float border = fminf(fminf(p.u, 1 - p.u), fminf(p.v, 1 - p.v));
  if (border < 0.08f) return 1.0f;
  if (fabsf(p.u - p.v) < 0.05f || fabsf(p.u + p.v - 1) < 0.05f) return 1.0f;
  if (Frac(p.v * 5) < 0.04f) return 0.6f;
  return 0.2f * Noise(p.u * 0.5f, p.v * 4, 8, p.seed);
}

float Checker(const PatternPoint& p, float*) {
  return ((int)(p.u * 4) + (int)(p.v * 4)) % 2 ? 1.0f : 0.0f;
}

float Dots(const PatternPoint& p, float* accent) {
  float r = hypotf(Frac(p.u * 4) - 0.5f, Frac(p.v * 4) - 0.5f);
  if (r < 0.08f) *accent = 1.0f;
  return r < 0.28f ? 1.0f : 0.2f * Noise(p.u, p.v, 8, p.seed);
}

float Blades(const PatternPoint& p, float* accent) {
  float dx = p.u - 0.5f, dy = p.v - 0.5f;
  float r = hypotf(dx, dy);
  if (r < 0.1f) *accent = 1.0f;
  float a = atan2f(dy, dx);
  return r < 0.48f && sinf(4 * a + r * 6) > 0 ? 1.0f : 0.0f;
}

float Facets(const PatternPoint& p, float* accent) {
  float d = fabsf(p.u - 0.5f) + fabsf(p.v - 0.5f);
  if (fabsf(p.u - p.v) < 0.02f) *accent = 0.6f;
  return Frac(d * 4) < 0.5f ? 0.8f : 0.1f;
}

float Sheen(const PatternPoint& p, float* accent) {
  float s = p.u + p.v;
  if (fabsf(s - 0.7f) < 0.06f || fabsf(s - 1.1f) < 0.03f) *accent = 0.8f;
  return 0.5f + 0.5f * sinf(s * kPi);
}

float Ribs(const PatternPoint& p, float*) { return 0.5f + 0.5f * cosf(p.v * 2 * kPi * 6); }

float Stone(const PatternPoint& p, float* accent) {
  float n = 0.65f * Noise(p.u, p.v, 6, p.seed) + 0.35f * Noise(p.u, p.v, 16, p.seed + 7);
  if (fabsf(Noise(p.u, p.v, 4, p.seed + 3) - 0.5f) < 0.02f) *accent = 0.7f;
  return n;
}

float Planks(const PatternPoint& p, float*) {
  if (Frac(p.u * 4) < 0.04f) return 1.0f;
  float plank = floorf(p.u * 4);
  return 0.45f * Noise(p.u * 0.25f + plank * 0.25f, p.v, 8, p.seed + (uint32_t)plank) +
         0.15f * (0.5f + 0.5f * sinf(p.v * 2 * kPi * 8 + plank));
}

float Grid(const PatternPoint& p, float* accent) {
  if (Edge(p.u * 8, 0.02f) + Edge(p.v * 8, 0.02f) > 0) *accent = 1.0f;
  return 0.3f * Noise(p.u, p.v, 4, p.seed);
}

float Waves(const PatternPoint& p, float*) {
  return 0.5f + 0.5f * sinf(p.u * 2 * kPi * 3 + 1.5f * sinf(p.v * 2 * kPi * 2));
}

float Beam(const PatternPoint& p, float*) { return fabsf(p.v - 0.5f) * 2; }

float Splotches(const PatternPoint& p, float* accent) {
  float n = Noise(p.u, p.v, 8, p.seed);
  if (n > 0.72f) *accent = Clamp01((n - 0.72f) * 8);
  return 0.6f * Noise(p.u, p.v, 16, p.seed + 5);
}

const struct {
  const char* name;
  float (*pattern)(const PatternPoint&, float*);
} kPatterns[] = {
    {"beam", Beam},         {"blades", Blades},       {"bricks", Bricks}, {"checker", Checker},
    {"chevrons", Chevrons}, {"crate", Crate},         {"cracks", Cracks}, {"dots", Dots},
    {"facets", Facets},     {"grid", Grid},           {"hatch", Hatch},   {"lamp", Lamp},
    {"planks", Planks},     {"plates", Plates},       {"ribs", Ribs},     {"sheen", Sheen},
    {"slit", Slit},         {"splotches", Splotches}, {"stone", Stone},   {"stripes", Stripes},
    {"tiles", Tiles},       {"waves", Waves},
};

// Relief: the light comes from the upper left, and a slope of one height
// unit across this share of the picture tilts the surface by 45 degrees.
const float kLight[3] = {-0.503f, -0.604f, 0.618f};
const float kSlopeWidth = 1.0f / 96;
// Brightness of a lit slope is kept within these bounds.
const float kShadeLow = 0.45f, kShadeHigh = 1.35f;

typedef float (*Pattern)(const PatternPoint&, float*);

Pattern FindPattern(const SString& name) {
  for (const auto& row : kPatterns) {
    if (name == row.name) return row.pattern;
  }
  return nullptr;
}

// The texture's mix, accent and height per pixel: the first colour stands
// high, the second (mortar, grooves, seams) low, accents higher still.
struct Surface {
  int w, h;
  std::vector<float> mix, accent, height;

  Surface(Pattern pattern, uint32_t seed, int width, int height_)
      : w(width), h(height_), mix(w * h), accent(w * h), height(w * h) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        PatternPoint point = {(x + 0.5f) / w, (y + 0.5f) / h, seed};
        float a = 0;
        float t = pattern(point, &a);
        int i = y * w + x;
        mix[i] = Clamp01(t);
        accent[i] = Clamp01(a);
        height[i] = 1 - mix[i] + 0.5f * accent[i];
      }
    }
    // Two passes of a 3 x 3 box round the edges of the height, as a
    // chisel would.
    for (int pass = 0; pass < 2; ++pass) {
      std::vector<float> blurred(w * h);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          float sum = 0;
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) sum += At(x + dx, y + dy);
          blurred[y * w + x] = sum / 9;
        }
      }
      height.swap(blurred);
    }
  }
  float At(int x, int y) const { return height[((y + h) % h) * w + (x + w) % w]; }
  // The unit normal at a pixel, from the height's slopes across the
  // neighbours (wrapping, as the texture tiles).
  void Normal(int x, int y, float n[3]) const {
    float scale = kSlopeWidth * w / 2;
    float dx = (At(x + 1, y) - At(x - 1, y)) * scale;
    float dy = (At(x, y + 1) - At(x, y - 1)) * scale;
    float length = sqrtf(dx * dx + dy * dy + 1);
    n[0] = -dx / length;
    n[1] = -dy / length;
    n[2] = 1 / length;
  }
};

bool MakeSurface(const ImageDescription& description, Canvas& canvas, SString& error,
                 Surface*& surface) {
  Pattern pattern = FindPattern(description.GetParameter(1));
  if (!pattern) {
    error = SString("unknown texture pattern ") + description.GetParameter(1);
    return false;
  }
  surface = new Surface(pattern, description.GetSeed(), canvas.GetWidth(), canvas.GetHeight());
  return true;
}

}  // namespace

bool PaintTexture(const ImageDescription& description, Canvas& canvas, SString& error) {
  Surface* surface = nullptr;
  if (!MakeSurface(description, canvas, error, surface)) return false;
  SString look = description.GetParameter(2);
  if (look.GetLength() > 0 && look != "relief" && look != "normal") {
    delete surface;
    error = SString("unknown texture look ") + look;
    return false;
  }
  bool relief = look.GetLength() > 0;
  uint32_t seed = description.GetSeed();
  uint32_t c0 = description.GetColour(0) | 0xFF000000, c1 = description.GetColour(1) | 0xFF000000;
  uint32_t c2 = description.GetColour(2) | 0xFF000000;
  PaintPixels(canvas, [&](int x, int y, float, float) {
    int i = y * surface->w + x;
    uint32_t colour = Mix(Mix(c0, c1, surface->mix[i]), c2, surface->accent[i]);
    // A little grain so that flat areas do not look synthetic.
    float shade = 0.94f + 0.12f * HashUnit(x, y, seed);
    if (relief) {
      float n[3];
      surface->Normal(x, y, n);
      float lit = (n[0] * kLight[0] + n[1] * kLight[1] + n[2] * kLight[2]) / kLight[2];
      shade *= lit < kShadeLow ? kShadeLow : lit > kShadeHigh ? kShadeHigh : lit;
    }
    return Brighten(colour, shade);
  });
  delete surface;
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  SString caption = JoinCaptions(description, 0);
  if (caption.GetLength() > 0)
    canvas.DrawText(caption.GetText(), Gdiplus::RectF(w * 0.04f, h * 0.8f, w * 0.92f, h * 0.17f),
                    h * 0.12f, 0xD0FFFFFF, 0xA0000000, Canvas::ALIGN_LEFT, true);
  return true;
}

bool HasNormalMap(const ImageDescription& description) {
  return description.GetParameter(0) == "texture" && description.GetParameter(2) == "normal";
}

bool PaintNormalMap(const ImageDescription& description, Canvas& canvas, SString& error) {
  Surface* surface = nullptr;
  if (!MakeSurface(description, canvas, error, surface)) return false;
  // Tangent space: x along the picture's width, y up the picture, z out of
  // it; each component from [-1, 1] to a byte.
  PaintPixels(canvas, [&](int x, int y, float, float) {
    float n[3];
    surface->Normal(x, y, n);
    float rgb[3] = {n[0], -n[1], n[2]};
    uint32_t colour = 0xFF000000;
    for (int k = 0; k < 3; ++k)
      colour |= (uint32_t)((rgb[k] * 0.5f + 0.5f) * 255 + 0.5f) << (16 - 8 * k);
    return colour;
  });
  delete surface;
  return true;
}
