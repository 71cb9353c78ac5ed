// A small picture drawn from a pattern, for the textures that a mesh file
// carries with it, and its PNG encoding (8-bit RGBA, no ancillary chunks,
// so the bytes depend on the pixels only).
//
//   image FILE WIDTH HEIGHT PATTERN COLOUR1 COLOUR2 [count=N]
//
// Patterns: solid (COLOUR1), gradient (COLOUR1 at the top to COLOUR2 at the
// bottom), stripes (N horizontal bands), checker (N x N squares), radial
// (COLOUR1 at the centre to COLOUR2 at the edge), flame (radial, broken up
// by noise). Colours are RRGGBB or AARRGGBB in hexadecimal.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

#include <stdint.h>

class DescriptionReader;
class SFile;

class TextureImage {
public:
  TextureImage();
  // Reads the current "image" record; false with the reader's message set.
  bool Read(DescriptionReader& reader);
  // Writes the PNG bytes at the file's position; false when compression
  // fails.
  bool WritePng(SFile* file) const;

  const SString& GetName() const { return m_name; }
  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  // Pixel (x, y) as 0xAARRGGBB.
  uint32_t GetPixel(int x, int y) const;

private:
  void Draw();
  static bool ParseColour(const SString& text, uint32_t& colour);
  static uint32_t Mix(uint32_t a, uint32_t b, double t);

  SString m_name;
  int m_width, m_height;
  int m_pattern;
  uint32_t m_colour1, m_colour2;
  int m_count;
  SArray<uint32_t> m_pixels;
};
