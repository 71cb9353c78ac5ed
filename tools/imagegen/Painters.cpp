// The painter table and the painters of text: solid cards, labels,
// captions, panels and digit sheets.
#include "core/PlatformGdiplus.h"
#include "tools/imagegen/Painters.h"

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

namespace Paint {

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

uint32_t OutlineOf(const ImageDescription& description, int index) {
  return description.colourCount > index ? description.GetColour(index) : 0xA0000000;
}

uint32_t Coverage(const ImageDescription& description, uint32_t colour, float a) {
  return description.jpeg ? Brighten(colour | 0xFF000000, Clamp01(a)) : WithAlpha(colour, a);
}

}  // namespace Paint

namespace {

bool PaintSolid(const ImageDescription& description, Canvas& canvas, SString&) {
  canvas.Fill(description.GetColour(0));
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  canvas.DrawText(JoinCaptions(description, 0).GetText(), Inset(0, 0, w, h, w * 0.05f), h * 0.2f,
                  description.GetColour(1), 0, Canvas::ALIGN_CENTER, true);
  return true;
}

bool PaintLabel(const ImageDescription& description, Canvas& canvas, SString&) {
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  int lines = description.captions.GetCount() > 0 ? description.captions.GetCount() : 1;
  canvas.DrawText(JoinCaptions(description, 0).GetText(), Inset(0, 0, w, h, h * 0.08f),
                  h * 0.7f / lines, description.GetColour(0), OutlineOf(description, 1),
                  Canvas::ALIGN_CENTER, true);
  return true;
}

bool PaintCaption(const ImageDescription& description, Canvas& canvas, SString&) {
  canvas.Fill(description.GetColour(1) | 0xFF000000);
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  int lines = description.captions.GetCount() > 0 ? description.captions.GetCount() : 1;
  canvas.DrawText(JoinCaptions(description, 0).GetText(), Inset(0, 0, w, h, h * 0.08f),
                  h * 0.65f / lines, description.GetColour(0), OutlineOf(description, 2),
                  Canvas::ALIGN_CENTER, true);
  return true;
}

bool PaintPanel(const ImageDescription& description, Canvas& canvas, SString&) {
  float w = (float)canvas.GetWidth(), h = (float)canvas.GetHeight();
  canvas.FillRoundRect(Inset(0, 0, w, h, 2), h * 0.12f, description.GetColour(1),
                       description.GetColour(2), h * 0.03f);
  float margin = h * 0.1f;
  canvas.DrawText(description.GetCaption(0).GetText(),
                  RectF(margin, margin, w - 2 * margin, h * 0.3f), h * 0.22f,
                  description.GetColour(0), 0xA0000000, Canvas::ALIGN_LEFT, true);
  canvas.DrawText(JoinCaptions(description, 1).GetText(),
                  RectF(margin, h * 0.42f, w - 2 * margin, h * 0.5f), h * 0.15f,
                  description.GetColour(0), 0, Canvas::ALIGN_LEFT, false);
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
                    description.GetColour(0), OutlineOf(description, 1), Canvas::ALIGN_CENTER,
                    true);
  }
  return true;
}

const struct {
  const char* name;
  bool (*paint)(const ImageDescription&, Canvas&, SString&);
} kPainters[] = {
    {"caption", PaintCaption},     {"cloud", PaintCloud}, {"digits", PaintDigits},
    {"explosion", PaintExplosion}, {"hole", PaintHole},   {"icon", PaintIcon},
    {"label", PaintLabel},         {"page", PaintPage},   {"panel", PaintPanel},
    {"ring", PaintRing},           {"solid", PaintSolid}, {"splat", PaintSplat},
    {"spot", PaintSpot},           {"star", PaintStar},   {"texture", PaintTexture},
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
