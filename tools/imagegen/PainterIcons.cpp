// Painters of vector icons: gems, the craft, crosshairs, cells and tiles.
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

namespace {

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
  c.canvas.FillRoundRect(RectF(0.32f * c.w, 0.4f * c.h, 0.36f * c.w, 0.08f * c.h), 0, c.Line(), 0,
                         0);
  c.canvas.FillRoundRect(RectF(0.32f * c.w, 0.7f * c.h, 0.36f * c.w, 0.08f * c.h), 0, c.Line(), 0,
                         0);
  c.canvas.DrawLine(0.5f * c.w, 0.25f * c.h, 0.62f * c.w, 0.1f * c.h, c.Line(), c.Pen(0.03f));
  c.canvas.FillEllipse(0.64f * c.w, 0.08f * c.h, c.w * 0.07f, c.h * 0.07f, c.Detail(), 0, 0);
  return true;
}

bool IconTurbo(const IconContext& c, const SString&) {
  for (float y0 : {0.08f, 0.45f}) {
    const float chevron[][2] = {{0.5f, y0},         {0.92f, y0 + 0.3f},  {0.92f, y0 + 0.46f},
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
  c.canvas.DrawText(c.description.GetCaption(0).GetText(), Inset(0, 0, c.w, c.h, c.Pen(0.12f)),
                    c.h * 0.7f, c.Detail(), 0, Canvas::ALIGN_CENTER, true);
  return true;
}

const struct {
  const char* name;
  bool (*draw)(const IconContext&, const SString&);
} kIcons[] = {
    {"arrow", IconArrow},       {"bar", IconBar},
    {"cell", IconCell},         {"crosshair", IconCrosshair},
    {"dynamite", IconDynamite}, {"frame", IconFrame},
    {"gem", IconGem},           {"ship", IconShip},
    {"tile", IconTile},         {"turbo", IconTurbo},
};

}  // namespace

bool PaintIcon(const ImageDescription& description, Canvas& canvas, SString& error) {
  SString name = description.GetParameter(1);
  IconContext context = {description, canvas, (float)canvas.GetWidth(), (float)canvas.GetHeight()};
  for (const auto& row : kIcons) {
    if (name == row.name) return row.draw(context, description.GetParameter(2));
  }
  error = SString("unknown icon ") + name;
  return false;
}
