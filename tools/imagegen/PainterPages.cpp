// The painter of menu pages: gradients, the world map, lists and emblems.
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
    {0, 0, 1, 0}, {1, 0, 2, 0}, {2, 0, 3, 0}, {3, 0, 4, 0}, {0, 0, 0, 1},
    {2, 0, 2, 1}, {4, 0, 4, 1}, {0, 1, 0, 2}, {4, 1, 4, 2}, {0, 2, 1, 2},
    {3, 2, 4, 2}, {0, 2, 0, 3}, {4, 2, 4, 3}, {0, 3, 0, 4}, {2, 3, 2, 4},
    {4, 3, 4, 4}, {0, 4, 1, 4}, {1, 4, 2, 4}, {2, 4, 3, 4}, {3, 4, 4, 4},
};

// Cells that hold no map level (lesson, bonus and the two empty ones).
bool IsEmptyCell(int world, int level) {
  return (world == 1 || world == 3) && (level == 1 || level == 3);
}

// Boxes of the players list, percent of the screen width.
const float kListColumns[][2] = {
    {2.34f, 25.52f}, {26.45f, 49.58f}, {50.62f, 73.75f}, {74.68f, 97.91f}};

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
    c.canvas.FillRoundRect(c.Percent(68.5f, 41.0f, 99.5f, 97.0f), c.w * 0.01f, 0x90000000, c.accent,
                           1.5f);
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

}  // namespace

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
  uint32_t top = description.GetColour(0) | 0xFF000000,
           bottom = description.GetColour(1) | 0xFF000000;
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
      canvas.DrawText(description.GetCaption(firstBody + i).GetText(), line, lineHeight * 0.7f,
                      c.text, 0x90000000, Canvas::ALIGN_CENTER, false);
    }
  }
  return true;
}
