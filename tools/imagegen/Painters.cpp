#include "core/PlatformGdiplus.h"
#include "tools/imagegen/Painters.h"

#include "core/SStringParser.h"
#include "tools/imagegen/Canvas.h"
#include "tools/imagegen/ImageDescription.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

using Gdiplus::PointF;
using Gdiplus::RectF;

namespace {

const float kPi = 3.14159265f;

// --- colours and noise ---------------------------------------------------------

float Clamp01(float t) { return t < 0 ? 0 : t > 1 ? 1 : t; }
float Frac(float t) { return t - floorf(t); }

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

// --- texture patterns ----------------------------------------------------------
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
    {"beam", Beam},       {"blades", Blades},   {"bricks", Bricks},   {"checker", Checker},
    {"chevrons", Chevrons}, {"crate", Crate},   {"cracks", Cracks},   {"dots", Dots},
    {"facets", Facets},   {"grid", Grid},       {"hatch", Hatch},     {"lamp", Lamp},
    {"planks", Planks},   {"plates", Plates},   {"ribs", Ribs},       {"sheen", Sheen},
    {"slit", Slit},       {"splotches", Splotches}, {"stone", Stone}, {"stripes", Stripes},
    {"tiles", Tiles},     {"waves", Waves},
};

// --- shared drawing ------------------------------------------------------------

// Caption segments joined by line breaks.
SString JoinCaptions(const ImageDescription& description, int first) {
  SString text;
  for (int i = first; i < description.captions.GetCount(); ++i) {
    if (i > first) text += "\n";
    text += description.GetCaption(i);
  }
  return text;
}

RectF Inset(float x, float y, float w, float h, float inset) {
  return RectF(x + inset, y + inset, w - 2 * inset, h - 2 * inset);
}

// The outline colour of a text: the given one, or half-opaque black.
uint32_t OutlineOf(const ImageDescription& description, int index) {
  return description.colourCount > index ? description.GetColour(index) : 0xA0000000;
}

// Per-pixel painter: f gives the colour of each pixel from (u, v) in [0, 1).
template <typename F>
void PaintPixels(Canvas& canvas, F f) {
  int w = canvas.GetWidth(), h = canvas.GetHeight();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) canvas.SetPixel(x, y, f(x, y, (x + 0.5f) / w, (y + 0.5f) / h));
  }
}

// A soft shape's coverage a in [0, 1] as the colour: alpha in a PNG,
// brightness on black in a JPEG.
uint32_t Coverage(const ImageDescription& description, uint32_t colour, float a) {
  return description.jpeg ? Brighten(colour | 0xFF000000, Clamp01(a)) : WithAlpha(colour, a);
}

// --- painters ------------------------------------------------------------------

bool PaintSolid(const ImageDescription& description, Canvas& canvas, SString&) {
  canvas.Fill(description.GetColour(0));
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  canvas.DrawText(JoinCaptions(description, 0).GetText(), Inset(0, 0, w, h, w * 0.05f), h * 0.2f,
                  description.GetColour(1), 0, Canvas::ALIGN_CENTER, true);
  return true;
}

bool PaintTexture(const ImageDescription& description, Canvas& canvas, SString& error) {
  SString name = description.GetParameter(1);
  float (*pattern)(const PatternPoint&, float*) = nullptr;
  for (const auto& row : kPatterns) {
    if (name == row.name) pattern = row.pattern;
  }
  if (!pattern) {
    error = SString("unknown texture pattern ") + name;
    return false;
  }
  uint32_t seed = description.GetSeed();
  uint32_t c0 = description.GetColour(0) | 0xFF000000, c1 = description.GetColour(1) | 0xFF000000;
  uint32_t c2 = description.GetColour(2) | 0xFF000000;
  PaintPixels(canvas, [&](int x, int y, float u, float v) {
    float accent = 0;
    PatternPoint point = {u, v, seed};
    uint32_t colour = Mix(c0, c1, pattern(point, &accent));
    colour = Mix(colour, c2, accent);
    // A little grain so that flat areas do not look synthetic.
    return Brighten(colour, 0.94f + 0.12f * HashUnit(x, y, seed));
  });
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  canvas.DrawText(JoinCaptions(description, 0).GetText(), RectF(w * 0.04f, h * 0.8f, w * 0.92f, h * 0.17f),
                  h * 0.12f, 0xD0FFFFFF, 0xA0000000, Canvas::ALIGN_LEFT, true);
  return true;
}

bool PaintLabel(const ImageDescription& description, Canvas& canvas, SString&) {
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  int lines = description.captions.GetCount() > 0 ? description.captions.GetCount() : 1;
  canvas.DrawText(JoinCaptions(description, 0).GetText(), Inset(0, 0, w, h, h * 0.08f), h * 0.7f / lines,
                  description.GetColour(0), OutlineOf(description, 1), Canvas::ALIGN_CENTER, true);
  return true;
}

bool PaintCaption(const ImageDescription& description, Canvas& canvas, SString&) {
  canvas.Fill(description.GetColour(1) | 0xFF000000);
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  int lines = description.captions.GetCount() > 0 ? description.captions.GetCount() : 1;
  canvas.DrawText(JoinCaptions(description, 0).GetText(), Inset(0, 0, w, h, h * 0.08f), h * 0.65f / lines,
                  description.GetColour(0), OutlineOf(description, 2), Canvas::ALIGN_CENTER, true);
  return true;
}

bool PaintPanel(const ImageDescription& description, Canvas& canvas, SString&) {
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  canvas.FillRoundRect(Inset(0, 0, w, h, 2), h * 0.12f, description.GetColour(1), description.GetColour(2),
                       h * 0.03f);
  float margin = h * 0.1f;
  canvas.DrawText(description.GetCaption(0).GetText(), RectF(margin, margin, w - 2 * margin, h * 0.3f),
                  h * 0.22f, description.GetColour(0), 0xA0000000, Canvas::ALIGN_LEFT, true);
  canvas.DrawText(JoinCaptions(description, 1).GetText(),
                  RectF(margin, h * 0.42f, w - 2 * margin, h * 0.5f), h * 0.15f, description.GetColour(0),
                  0, Canvas::ALIGN_LEFT, false);
  return true;
}

bool PaintDigits(const ImageDescription& description, Canvas& canvas, SString&) {
  // Frames in row order: the digits, then the minus sign (10), the
  // separator before hundredths (11) and the one after minutes (12).
  static const char kGlyphs[] = "0123456789-.:";
  float fw = canvas.GetWidth() / 4.0f, fh = canvas.GetHeight() / 4.0f;
  for (int i = 0; i < (int)strlen(kGlyphs); ++i) {
    char glyph[2] = {kGlyphs[i], 0};
    RectF box(fw * (i % 4), fh * (i / 4), fw, fh);
    canvas.DrawText(glyph, Inset(box.X, box.Y, box.Width, box.Height, fh * 0.04f), fh * 0.85f,
                    description.GetColour(0), OutlineOf(description, 1), Canvas::ALIGN_CENTER, true);
  }
  return true;
}

bool PaintExplosion(const ImageDescription& description, Canvas& canvas, SString&) {
  const int columns = 4, rows = 8;
  int fw = canvas.GetWidth() / columns, fh = canvas.GetHeight() / rows;
  uint32_t hot = description.GetColour(0) | 0xFF000000, cool = description.GetColour(1) | 0xFF000000;
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

// --- icons ---------------------------------------------------------------------

struct IconContext {
  const ImageDescription& description;
  Canvas& canvas;
  float w, h;
  PointF At(float u, float v) const { return PointF(u * w, v * h); }
  uint32_t Fill() const { return description.GetColour(0); }
  uint32_t Line() const { return description.GetColour(1); }
  uint32_t Detail() const { return description.GetColour(2); }
  float Pen(float fraction) const { return (w < h ? w : h) * fraction; }
};

void Polygon(const IconContext& c, const float (*uv)[2], int n, uint32_t fill, uint32_t line,
             float pen) {
  PointF points[16];
  for (int i = 0; i < n && i < 16; ++i) points[i] = c.At(uv[i][0], uv[i][1]);
  c.canvas.FillPolygon(points, n < 16 ? n : 16, fill, line, pen);
}

bool IconGem(const IconContext& c, const SString&) {
  static const float kOutline[][2] = {{0.5f, 0.04f}, {0.92f, 0.38f}, {0.5f, 0.96f}, {0.08f, 0.38f}};
  static const float kShine[][2] = {{0.5f, 0.1f}, {0.68f, 0.36f}, {0.5f, 0.36f}};
  Polygon(c, kOutline, 4, c.Fill(), c.Line(), c.Pen(0.05f));
  c.canvas.DrawLine(0.08f * c.w, 0.38f * c.h, 0.92f * c.w, 0.38f * c.h, c.Line(), c.Pen(0.025f));
  c.canvas.DrawLine(0.5f * c.w, 0.04f * c.h, 0.32f * c.w, 0.38f * c.h, c.Line(), c.Pen(0.02f));
  c.canvas.DrawLine(0.32f * c.w, 0.38f * c.h, 0.5f * c.w, 0.96f * c.h, c.Line(), c.Pen(0.02f));
  c.canvas.DrawLine(0.5f * c.w, 0.04f * c.h, 0.68f * c.w, 0.38f * c.h, c.Line(), c.Pen(0.02f));
  c.canvas.DrawLine(0.68f * c.w, 0.38f * c.h, 0.5f * c.w, 0.96f * c.h, c.Line(), c.Pen(0.02f));
  Polygon(c, kShine, 3, c.Detail(), 0, 0);
  return true;
}

bool IconShip(const IconContext& c, const SString&) {
  static const float kHull[][2] = {{0.5f, 0.05f}, {0.92f, 0.9f}, {0.5f, 0.7f}, {0.08f, 0.9f}};
  static const float kCockpit[][2] = {{0.5f, 0.3f}, {0.6f, 0.55f}, {0.4f, 0.55f}};
  Polygon(c, kHull, 4, c.Fill(), c.Line(), c.Pen(0.05f));
  Polygon(c, kCockpit, 3, c.Detail(), 0, 0);
  return true;
}

bool IconCrosshair(const IconContext& c, const SString& param) {
  float cx = c.w / 2, cy = c.h / 2, r = (c.w < c.h ? c.w : c.h) / 2;
  c.canvas.FillEllipse(cx, cy, r * 0.7f, r * 0.7f, 0, c.Fill(), c.Pen(0.04f));
  c.canvas.FillEllipse(cx, cy, r * 0.15f, r * 0.15f, c.Detail(), 0, 0);
  // Four ticks crossing the ring.
  static const float kTicks[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto& t : kTicks) {
    c.canvas.DrawLine(cx + t[0] * r * 0.45f, cy + t[1] * r * 0.45f, cx + t[0] * r * 0.95f,
                      cy + t[1] * r * 0.95f, c.Fill(), c.Pen(0.05f));
  }
  if (param == "boss") {
    // Corner brackets.
    static const float kCorners[][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const auto& k : kCorners) {
      float x = cx + k[0] * r * 0.92f, y = cy + k[1] * r * 0.92f;
      c.canvas.DrawLine(x, y, x - k[0] * r * 0.3f, y, c.Line(), c.Pen(0.05f));
      c.canvas.DrawLine(x, y, x, y - k[1] * r * 0.3f, c.Line(), c.Pen(0.05f));
    }
  }
  return true;
}

bool IconDynamite(const IconContext& c, const SString&) {
  c.canvas.FillRoundRect(RectF(0.32f * c.w, 0.25f * c.h, 0.36f * c.w, 0.68f * c.h), c.w * 0.06f,
                         c.Fill(), c.Line(), c.Pen(0.04f));
  c.canvas.FillRoundRect(RectF(0.32f * c.w, 0.4f * c.h, 0.36f * c.w, 0.08f * c.h), 0, c.Line(), 0, 0);
  c.canvas.FillRoundRect(RectF(0.32f * c.w, 0.7f * c.h, 0.36f * c.w, 0.08f * c.h), 0, c.Line(), 0, 0);
  c.canvas.DrawLine(0.5f * c.w, 0.25f * c.h, 0.62f * c.w, 0.1f * c.h, c.Line(), c.Pen(0.03f));
  c.canvas.FillEllipse(0.64f * c.w, 0.08f * c.h, c.w * 0.07f, c.h * 0.07f, c.Detail(), 0, 0);
  return true;
}

bool IconTurbo(const IconContext& c, const SString&) {
  for (float y0 : {0.08f, 0.45f}) {
    const float chevron[][2] = {{0.5f, y0},          {0.92f, y0 + 0.3f}, {0.92f, y0 + 0.46f},
                                {0.5f, y0 + 0.16f}, {0.08f, y0 + 0.46f}, {0.08f, y0 + 0.3f}};
    Polygon(c, chevron, 6, c.Fill(), c.Line(), c.Pen(0.03f));
  }
  return true;
}

bool IconArrow(const IconContext& c, const SString& param) {
  // An arrow pointing right, turned clockwise by the parameter in degrees.
  static const float kArrow[][2] = {{-0.38f, -0.09f}, {0.05f, -0.09f}, {0.05f, -0.3f}, {0.4f, 0.0f},
                                    {0.05f, 0.3f},    {0.05f, 0.09f},  {-0.38f, 0.09f}};
  float angle = (float)atof(param.GetText()) * kPi / 180.0f;
  float cs = cosf(angle), sn = sinf(angle);
  float turned[7][2];
  for (int i = 0; i < 7; ++i) {
    turned[i][0] = 0.5f + kArrow[i][0] * cs - kArrow[i][1] * sn;
    turned[i][1] = 0.5f + kArrow[i][0] * sn + kArrow[i][1] * cs;
  }
  Polygon(c, turned, 7, c.Fill(), c.Line(), c.Pen(0.04f));
  return true;
}

bool IconFrame(const IconContext& c, const SString&) {
  c.canvas.FillRoundRect(Inset(0, 0, c.w, c.h, c.Pen(0.04f)), c.w * 0.08f, 0, c.Fill(),
                         c.Pen(0.05f));
  c.canvas.FillRoundRect(Inset(0, 0, c.w, c.h, c.Pen(0.1f)), c.w * 0.05f, c.Detail(), c.Line(),
                         c.Pen(0.015f));
  return true;
}

bool IconBar(const IconContext& c, const SString& param) {
  bool vertical = param == "v";
  RectF box = vertical ? RectF(c.w * 0.3f, c.h * 0.02f, c.w * 0.4f, c.h * 0.96f)
                       : RectF(c.w * 0.02f, c.h * 0.3f, c.w * 0.96f, c.h * 0.4f);
  c.canvas.FillRoundRect(box, c.Pen(0.15f), c.Fill(), c.Line(), c.Pen(0.06f));
  return true;
}

bool IconCell(const IconContext& c, const SString& param) {
  float cx = c.w / 2, cy = c.h / 2, r = (c.w < c.h ? c.w : c.h) * 0.42f;
  if (param == "done") {
    c.canvas.FillEllipse(cx, cy, r, r, c.Fill(), c.Line(), c.Pen(0.06f));
    c.canvas.DrawLine(cx - r * 0.45f, cy, cx - r * 0.1f, cy + r * 0.4f, c.Detail(), c.Pen(0.09f));
    c.canvas.DrawLine(cx - r * 0.1f, cy + r * 0.4f, cx + r * 0.5f, cy - r * 0.4f, c.Detail(),
                      c.Pen(0.09f));
  } else {
    c.canvas.FillEllipse(cx, cy, r, r, WithAlpha(c.Fill(), 0.35f), c.Fill(), c.Pen(0.08f));
  }
  return true;
}

bool IconTile(const IconContext& c, const SString&) {
  c.canvas.FillRoundRect(Inset(0, 0, c.w, c.h, c.Pen(0.06f)), c.w * 0.15f, c.Fill(), c.Line(),
                         c.Pen(0.06f));
  c.canvas.DrawText(c.description.GetCaption(0).GetText(), Inset(0, 0, c.w, c.h, c.Pen(0.12f)), c.h * 0.7f,
                    c.Detail(), 0, Canvas::ALIGN_CENTER, true);
  return true;
}

const struct {
  const char* name;
  bool (*draw)(const IconContext&, const SString&);
} kIcons[] = {
    {"arrow", IconArrow},       {"bar", IconBar},       {"cell", IconCell},
    {"crosshair", IconCrosshair}, {"dynamite", IconDynamite}, {"frame", IconFrame},
    {"gem", IconGem},           {"ship", IconShip},     {"tile", IconTile},
    {"turbo", IconTurbo},
};

bool PaintIcon(const ImageDescription& description, Canvas& canvas, SString& error) {
  SString name = description.GetParameter(1);
  IconContext context = {description, canvas, (float)canvas.GetWidth(), (float)canvas.GetHeight()};
  for (const auto& row : kIcons) {
    if (name == row.name) return row.draw(context, description.GetParameter(2));
  }
  error = SString("unknown icon ") + name;
  return false;
}

// --- menu pages ----------------------------------------------------------------

// Menu items: left and right end and height in the menu's scene units,
// which map onto the page picture as below.
const struct {
  float left, right, height;
} kMenuItems[] = {
    {206, 435, -125}, {140, 490, -224}, {206, 435, -322}, {206, 435, -421},
    {206, 435, -83},  {132, 500, -182}, {100, 532, -280}, {206, 435, -372},
    {100, 545, -471}, {0, 0, 0},        {150, 495, 0},    {256, 385, -125},
    {256, 385, -224}, {140, 490, -125}, {130, 502, -224}, {206, 435, -421},
};
const int kMenuItemCount = sizeof(kMenuItems) / sizeof(kMenuItems[0]);

// Scene units to fractions of the picture: the world map's cell centres
// (scene units) and its cell sprites (percent of the screen) agree on this.
const float kSceneWidth = 1947.0f, kSceneHeight = 1093.5f;
const float kSceneOriginX = 0.5006f, kSceneOriginY = 0.5019f;

float SceneU(float x) { return kSceneOriginX + x / kSceneWidth; }
float SceneV(float y) { return kSceneOriginY - y / kSceneHeight; }

// Map cells in percent of the screen: x by world, y by level.
const float kCellX[5] = {14.11f, 22.39f, 30.72f, 39.06f, 47.39f};
const float kCellY[5] = {20.10f, 35.12f, 49.81f, 64.81f, 80.09f};

// The map's roads: pairs of (world, level) cells.
const int kRoads[][4] = {
    {0, 0, 1, 0}, {1, 0, 2, 0}, {2, 0, 3, 0}, {3, 0, 4, 0}, {0, 0, 0, 1}, {2, 0, 2, 1}, {4, 0, 4, 1},
    {0, 1, 0, 2}, {4, 1, 4, 2}, {0, 2, 1, 2}, {3, 2, 4, 2}, {0, 2, 0, 3}, {4, 2, 4, 3}, {0, 3, 0, 4},
    {2, 3, 2, 4}, {4, 3, 4, 4}, {0, 4, 1, 4}, {1, 4, 2, 4}, {2, 4, 3, 4}, {3, 4, 4, 4},
};

// Cells that hold no map level (lesson, bonus and the two empty ones).
bool IsEmptyCell(int world, int level) {
  return (world == 1 || world == 3) && (level == 1 || level == 3);
}

// Boxes of the players list, percent of the screen width.
const float kListColumns[][2] = {{2.34f, 25.52f}, {26.45f, 49.58f}, {50.62f, 73.75f},
                                 {74.68f, 97.91f}};

struct PageContext {
  const ImageDescription& description;
  Canvas& canvas;
  float w, h;
  uint32_t accent, text;
  RectF Percent(float left, float top, float right, float bottom) const {
    return RectF(left * w / 100, top * h / 100, (right - left) * w / 100, (bottom - top) * h / 100);
  }
};

void DrawMap(const PageContext& c, bool sideMenu) {
  uint32_t road = WithAlpha(c.accent, 0.45f);
  for (const auto& r : kRoads) {
    c.canvas.DrawLine(kCellX[r[0]] * c.w / 100, kCellY[r[1]] * c.h / 100, kCellX[r[2]] * c.w / 100,
                      kCellY[r[3]] * c.h / 100, road, c.w * 0.012f);
  }
  for (int world = 0; world < 5; ++world) {
    for (int level = 0; level < 5; ++level) {
      if (IsEmptyCell(world, level)) continue;
      float radius = c.w * (world == 2 && level == 2 ? 0.034f : 0.026f);
      c.canvas.FillEllipse(kCellX[world] * c.w / 100, kCellY[level] * c.h / 100, radius, radius,
                           0xC0101010, c.accent, c.w * 0.003f);
    }
  }
  // The level information panel and, on the scores page, the list.
  c.canvas.FillRoundRect(c.Percent(72.0f, 13.0f, 98.5f, sideMenu ? 52.0f : 40.0f), c.w * 0.01f,
                         0x90000000, c.accent, 1.5f);
  if (sideMenu) {
    c.canvas.FillRoundRect(c.Percent(53.0f, 53.0f, 81.0f, 97.0f), c.w * 0.01f, 0x70000000,
                           WithAlpha(c.accent, 0.6f), 1.5f);
  } else {
    c.canvas.FillRoundRect(c.Percent(68.5f, 41.0f, 99.5f, 97.0f), c.w * 0.01f, 0x90000000,
                           c.accent, 1.5f);
  }
}

void DrawList(const PageContext& c) {
  for (const auto& column : kListColumns) {
    c.canvas.FillRoundRect(c.Percent(column[0], 11.0f, column[1], 97.0f), c.w * 0.008f, 0x80000000,
                           WithAlpha(c.accent, 0.7f), 1.5f);
  }
}

// The emblem or circle the page's sparks run on (centre and radius in
// scene units).
void DrawCircle(const PageContext& c, float x, float y, float radius, bool emblem) {
  float cx = SceneU(x) * c.w, cy = SceneV(y) * c.h, r = radius / kSceneWidth * c.w;
  if (emblem) {
    c.canvas.FillEllipse(cx, cy, r * 1.0f, r * 1.0f, 0x60000000, c.accent, c.w * 0.004f);
    c.canvas.FillEllipse(cx, cy, r * 0.7f, r * 0.7f, WithAlpha(c.accent, 0.35f), c.accent,
                         c.w * 0.002f);
    c.canvas.DrawText("G2", RectF(cx - r * 0.6f, cy - r * 0.5f, r * 1.2f, r), r * 0.8f, c.text,
                      0xC0000000, Canvas::ALIGN_CENTER, true);
  } else {
    c.canvas.FillEllipse(cx, cy, r, r, 0x50000000, WithAlpha(c.accent, 0.8f), c.w * 0.003f);
  }
}

// One item: "A" (ends and height of item A) or "A@B" (ends of A, height of B).
bool ParseItem(const SString& token, int& ends, int& height) {
  int at = token.FindChar('@');
  SString first = at >= 0 ? token.Left(at) : token;
  SString second = at >= 0 ? token.Mid(at + 1) : token;
  if (!first.IsInteger() || !second.IsInteger()) return false;
  ends = atoi(first.GetText());
  height = atoi(second.GetText());
  return ends >= 0 && ends < kMenuItemCount && height >= 0 && height < kMenuItemCount;
}

bool PaintPage(const ImageDescription& description, Canvas& canvas, SString& error) {
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  PageContext c = {description, canvas, w, h, description.GetColour(2), description.GetColour(3)};
  SString decor = description.GetParameter(2);
  if (decor.GetLength() == 0) decor = "none";

  SStringArray items;
  if (description.GetParameter(1) != "-" && description.GetParameter(1).GetLength() > 0) {
    SStringParser(description.GetParameter(1).GetText()).Parse(",", 8, '"', &items);
  }
  int firstBody = 1 + items.GetCount();

  // Ground: a vertical gradient with faint diagonal lines.
  uint32_t top = description.GetColour(0) | 0xFF000000, bottom = description.GetColour(1) | 0xFF000000;
  PaintPixels(canvas, [&](int, int, float u, float v) {
    uint32_t colour = Mix(top, bottom, v);
    if (Frac((u * w + v * h) / 24.0f) < 0.06f) colour = Mix(colour, c.accent | 0xFF000000, 0.12f);
    return colour;
  });

  RectF titleBox(w * 0.05f, h * 0.05f, w * 0.9f, h * 0.15f);
  RectF bodyBox(w * 0.1f, h * 0.25f, w * 0.8f, h * 0.65f);
  float titleSize = h * 0.12f;
  if (decor == "ring") {
    DrawCircle(c, -375, 4, 102, true);
    titleBox = RectF(w * 0.5f, h * 0.12f, w * 0.48f, h * 0.18f);
    bodyBox = RectF(w * 0.5f, h * 0.32f, w * 0.48f, h * 0.2f);
  } else if (decor == "twin") {
    DrawCircle(c, -376, 4, 215, false);
    float r = 215 / kSceneWidth * w;
    titleBox = RectF(SceneU(-376) * w - r * 0.75f, SceneV(4) * h - r * 0.3f, r * 1.5f, r * 0.6f);
    titleSize = h * 0.09f;
    bodyBox = RectF(w * 0.52f, h * 0.2f, w * 0.46f, h * 0.3f);
  } else if (decor == "map" || decor == "scores") {
    DrawMap(c, decor == "map");
    titleBox = RectF(w * 0.52f, h * 0.03f, w * 0.36f, h * 0.09f);
    titleSize = h * 0.07f;
  } else if (decor == "list") {
    DrawList(c);
    titleBox = RectF(w * 0.3f, h * 0.01f, w * 0.4f, h * 0.09f);
    titleSize = h * 0.07f;
  } else if (decor == "none") {
    if (description.captions.GetCount() <= firstBody) {
      titleBox = RectF(w * 0.05f, h * 0.35f, w * 0.9f, h * 0.2f);
      titleSize = h * 0.14f;
    } else {
      bodyBox = RectF(w * 0.1f, h * 0.3f, w * 0.8f, h * 0.6f);
    }
  } else {
    error = SString("unknown page decoration ") + decor;
    return false;
  }

  canvas.DrawText(description.GetCaption(0).GetText(), titleBox, titleSize, c.text, 0xC0000000,
                  Canvas::ALIGN_CENTER, true);

  for (int i = 0; i < items.GetCount(); ++i) {
    int ends, height;
    if (!ParseItem(items.Get(i), ends, height)) {
      error = SString("bad page item ") + items.Get(i);
      return false;
    }
    float left = SceneU(kMenuItems[ends].left) * w, right = SceneU(kMenuItems[ends].right) * w;
    float y = SceneV(kMenuItems[height].height) * h;
    float itemHeight = h * 0.075f;
    RectF box(left - w * 0.02f, y - itemHeight / 2, right - left + w * 0.04f, itemHeight);
    canvas.FillRoundRect(box, itemHeight * 0.3f, 0x50000000, WithAlpha(c.accent, 0.5f), 1.0f);
    canvas.DrawText(description.GetCaption(1 + i).GetText(), box, h * 0.055f, c.text, 0xC0000000,
                    Canvas::ALIGN_CENTER, true);
  }

  int bodyLines = description.captions.GetCount() - firstBody;
  if (bodyLines > 0) {
    float lineHeight = bodyBox.Height / bodyLines;
    if (lineHeight > h * 0.07f) lineHeight = h * 0.07f;
    for (int i = 0; i < bodyLines; ++i) {
      RectF line(bodyBox.X, bodyBox.Y + i * lineHeight, bodyBox.Width, lineHeight);
      canvas.DrawText(description.GetCaption(firstBody + i).GetText(), line, lineHeight * 0.7f, c.text,
                      0x90000000, Canvas::ALIGN_CENTER, false);
    }
  }
  return true;
}

const struct {
  const char* name;
  bool (*paint)(const ImageDescription&, Canvas&, SString&);
} kPainters[] = {
    {"caption", PaintCaption},
    {"cloud", PaintCloud},
    {"digits", PaintDigits},
    {"explosion", PaintExplosion},
    {"hole", PaintSoft<HoleShape>},
    {"icon", PaintIcon},
    {"label", PaintLabel},
    {"page", PaintPage},
    {"panel", PaintPanel},
    {"ring", PaintSoft<RingShape>},
    {"solid", PaintSolid},
    {"splat", PaintSplat},
    {"spot", PaintSoft<SpotShape>},
    {"star", PaintSoft<StarShape>},
    {"texture", PaintTexture},
};

}  // namespace

bool PaintImage(const ImageDescription& description, Canvas& canvas, SString& error) {
  SString kind = description.GetParameter(0);
  for (const auto& row : kPainters) {
    if (kind == row.name) return row.paint(description, canvas, error);
  }
  error = SString("unknown kind ") + kind;
  return false;
}
