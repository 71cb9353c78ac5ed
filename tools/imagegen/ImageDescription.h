// One row of the image table: what to draw under which name.
//
// A row is five fields separated by '|': name | size | kind | colours |
// caption. The size is "WIDTHxHEIGHT"; the kind is a painter name with
// optional ':'-separated parameters ("texture:bricks", "page:0,1,2,3:ring");
// colours are up to four RRGGBB or AARRGGBB hex values separated by ',';
// the caption is text whose ';'-separated segments the painter reads (a
// page takes its title, then one text per item, then body lines).
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "core/SStringArray.h"

#include <stdint.h>

struct ImageDescription {
  enum { MAX_COLOURS = 4, MAX_SIDE = 2048 };

  SString name;
  int width = 0;
  int height = 0;
  // The painter name and its parameters.
  SStringArray kind;
  uint32_t colours[MAX_COLOURS] = {0xFFFFFFFF, 0xFF000000, 0xFF808080, 0xFFFFFFFF};
  int colourCount = 0;
  SStringArray captions;
  // By the name's extension: ".jpg" the picture as JPEG keeps it (opaque),
  // ".png" as PNG keeps it (with alpha).
  bool jpeg = false;

  // Fills the description from one table line; false with a message for a
  // line that does not follow the format.
  bool Parse(const SString& line, SString& error);
  // Parameter i of the kind (0 is the painter name); empty when missing.
  SString GetParameter(int i) const { return kind.Get(i); }
  // Caption segment i; empty when missing.
  SString GetCaption(int i) const { return captions.Get(i); }
  uint32_t GetColour(int i) const { return i >= 0 && i < MAX_COLOURS ? colours[i] : 0xFFFFFFFF; }
  // A number made from the name, so that noise differs between images but
  // not between runs.
  uint32_t GetSeed() const;
};
