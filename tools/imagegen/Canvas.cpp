#include "core/PlatformGdiplus.h"
#include "tools/imagegen/Canvas.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "tools/common/TextureFile.h"

using namespace Gdiplus;

namespace {

// Font families tried in order; the first one that exists is used.
const wchar_t* const kFontFamilies[] = {L"Liberation Sans", L"Arial", L"Tahoma", L"DejaVu Sans"};

// Outline offsets, in units of the outline width.
const struct {
  int dx, dy;
} kOutlineOffsets[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

Color ToColor(uint32_t argb) { return Color((ARGB)argb); }

// Windows-1252 bytes as UTF-16.
std::vector<wchar_t> Widen(const char* text) {
  int n = ::MultiByteToWideChar(1252, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> wide(n > 0 ? n : 1, 0);
  if (n > 0) ::MultiByteToWideChar(1252, 0, text, -1, wide.data(), n);
  return wide;
}

// The first family of kFontFamilies that GDI+ can make; null when none.
FontFamily* MakeFamily() {
  for (const wchar_t* name : kFontFamilies) {
    FontFamily* family = new FontFamily(name);
    if (family->GetLastStatus() == Ok && family->IsAvailable()) return family;
    delete family;
  }
  return nullptr;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : m_width(width > 0 ? width : 1),
      m_height(height > 0 ? height : 1),
      m_pixels((size_t)m_width * m_height, 0),
      m_graphics(nullptr) {}

Canvas::~Canvas() { delete m_graphics; }

uint32_t Canvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  return m_pixels[(size_t)y * m_width + x];
}

void Canvas::SetPixel(int x, int y, uint32_t argb) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  m_pixels[(size_t)y * m_width + x] = argb;
}

void Canvas::BlendPixel(int x, int y, uint32_t argb) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  uint32_t& under = m_pixels[(size_t)y * m_width + x];
  uint32_t a = argb >> 24;
  uint32_t b = under >> 24;
  // Source over destination, both straight (not premultiplied) alpha.
  uint32_t outA = a + b * (255 - a) / 255;
  if (outA == 0) {
    under = 0;
    return;
  }
  uint32_t result = outA << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t s = (argb >> shift) & 0xFF;
    uint32_t d = (under >> shift) & 0xFF;
    uint32_t c = (s * a + d * b * (255 - a) / 255) / outA;
    result |= (c > 255 ? 255 : c) << shift;
  }
  under = result;
}

void Canvas::Fill(uint32_t argb) {
  for (uint32_t& pixel : m_pixels) pixel = argb;
}

Graphics* Canvas::Graphics() {
  if (m_graphics) return m_graphics;
  m_image.CreateFromPixels(m_pixels.data(), m_width, m_height);
  if (!m_image.GetBitmap()) return nullptr;
  m_graphics = new Gdiplus::Graphics(m_image.GetBitmap());
  m_graphics->SetSmoothingMode(SmoothingModeAntiAlias);
  m_graphics->SetTextRenderingHint(TextRenderingHintAntiAlias);
  m_graphics->SetPixelOffsetMode(PixelOffsetModeHalf);
  return m_graphics;
}

bool Canvas::DrawText(const char* text, const RectF& box, float size, uint32_t colour,
                      uint32_t outline, int align, bool bold) {
  if (!text || !*text) return true;
  Gdiplus::Graphics* graphics = Graphics();
  FontFamily* family = MakeFamily();
  if (!graphics || !family) {
    delete family;
    return false;
  }
  std::vector<wchar_t> wide = Widen(text);
  int length = (int)wcslen(wide.data());
  StringFormat format;
  format.SetAlignment(align == ALIGN_LEFT ? StringAlignmentNear
                      : align == ALIGN_RIGHT ? StringAlignmentFar
                                             : StringAlignmentCenter);
  format.SetLineAlignment(StringAlignmentCenter);
  format.SetFormatFlags(StringFormatFlagsNoClip | StringFormatFlagsNoWrap);
  int style = bold ? FontStyleBold : FontStyleRegular;

  // Shrink until the text fits the box.
  Font* font = nullptr;
  for (int attempt = 0; attempt < 40; ++attempt) {
    delete font;
    font = new Font(family, size, style, UnitPixel);
    RectF bounds;
    graphics->MeasureString(wide.data(), length, font, PointF(0, 0), &format, &bounds);
    if ((bounds.Width <= box.Width && bounds.Height <= box.Height * 1.25f) || size <= 4.0f) break;
    size *= 0.92f;
  }
  bool drawn = font->GetLastStatus() == Ok;
  if (drawn) {
    if ((outline >> 24) != 0) {
      SolidBrush outlineBrush(ToColor(outline));
      float width = size / 14.0f < 1.0f ? 1.0f : size / 14.0f;
      for (const auto& offset : kOutlineOffsets) {
        RectF shifted(box.X + offset.dx * width, box.Y + offset.dy * width, box.Width, box.Height);
        graphics->DrawString(wide.data(), length, font, shifted, &format, &outlineBrush);
      }
    }
    SolidBrush brush(ToColor(colour));
    graphics->DrawString(wide.data(), length, font, box, &format, &brush);
  }
  delete font;
  delete family;
  return drawn;
}

void Canvas::FillPolygon(const PointF* points, int count, uint32_t fill, uint32_t outline,
                         float penWidth) {
  Gdiplus::Graphics* graphics = Graphics();
  if (!graphics || count < 3) return;
  if ((fill >> 24) != 0) {
    SolidBrush brush(ToColor(fill));
    graphics->FillPolygon(&brush, points, count);
  }
  if ((outline >> 24) != 0 && penWidth > 0) {
    Pen pen(ToColor(outline), penWidth);
    pen.SetLineJoin(LineJoinRound);
    graphics->DrawPolygon(&pen, points, count);
  }
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, uint32_t fill, uint32_t outline,
                         float penWidth) {
  Gdiplus::Graphics* graphics = Graphics();
  if (!graphics) return;
  if ((fill >> 24) != 0) {
    SolidBrush brush(ToColor(fill));
    graphics->FillEllipse(&brush, cx - rx, cy - ry, 2 * rx, 2 * ry);
  }
  if ((outline >> 24) != 0 && penWidth > 0) {
    Pen pen(ToColor(outline), penWidth);
    graphics->DrawEllipse(&pen, cx - rx, cy - ry, 2 * rx, 2 * ry);
  }
}

void Canvas::FillRoundRect(const RectF& box, float radius, uint32_t fill, uint32_t outline,
                           float penWidth) {
  Gdiplus::Graphics* graphics = Graphics();
  if (!graphics) return;
  float d = 2 * radius;
  if (d > box.Width) d = box.Width;
  if (d > box.Height) d = box.Height;
  GraphicsPath path;
  if (d <= 0) {
    path.AddRectangle(box);
  } else {
    path.AddArc(box.X, box.Y, d, d, 180, 90);
    path.AddArc(box.X + box.Width - d, box.Y, d, d, 270, 90);
    path.AddArc(box.X + box.Width - d, box.Y + box.Height - d, d, d, 0, 90);
    path.AddArc(box.X, box.Y + box.Height - d, d, d, 90, 90);
    path.CloseFigure();
  }
  if ((fill >> 24) != 0) {
    SolidBrush brush(ToColor(fill));
    graphics->FillPath(&brush, &path);
  }
  if ((outline >> 24) != 0 && penWidth > 0) {
    Pen pen(ToColor(outline), penWidth);
    graphics->DrawPath(&pen, &path);
  }
}

void Canvas::DrawLine(float x1, float y1, float x2, float y2, uint32_t colour, float penWidth) {
  Gdiplus::Graphics* graphics = Graphics();
  if (!graphics) return;
  Pen pen(ToColor(colour), penWidth);
  pen.SetStartCap(LineCapRound);
  pen.SetEndCap(LineCapRound);
  graphics->DrawLine(&pen, x1, y1, x2, y2);
}

bool Canvas::Save(const char* path, bool jpeg) {
  if (!Graphics()) return false;
  m_graphics->Flush(FlushIntentionSync);
  SFileMem texture;
  if (!texture_file::Write(m_image, jpeg, &texture)) return false;
  SFilePath out;
  if (!out.Open(path, true, true, false, false)) return false;
  texture.Rewind();
  int size = texture.GetSize();
  bool written = SFile::Copy(&texture, &out) == size;
  out.Close();
  return written;
}
