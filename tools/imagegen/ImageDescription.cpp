#include "core/Platform.h"
#include "tools/imagegen/ImageDescription.h"

#include "core/SStringParser.h"

#include <stdlib.h>

namespace {

enum { FIELD_NAME, FIELD_SIZE, FIELD_KIND, FIELD_COLOURS, FIELD_CAPTION, FIELD_COUNT };

// Splitting flag of SStringParser: trim the spaces around every token.
const int kTrim = 8;

bool IsHexText(const SString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    if (!isxdigit(text.GetByteAt(i))) return false;
  }
  return text.GetLength() > 0;
}

}  // namespace

bool ImageDescription::Parse(const SString& line, SString& error) {
  SStringParser fields(line.GetText());
  int count = fields.Parse("|", kTrim);
  if (count < FIELD_CAPTION || count > FIELD_COUNT) {
    error = "expected five fields separated by '|'";
    return false;
  }
  name = fields.GetToken(FIELD_NAME);
  SString lower = name.ToLower();
  int dot = lower.ReverseFindChar('.');
  SString extension = dot >= 0 ? lower.Mid(dot) : SString();
  if (extension != ".jpg" && extension != ".png") {
    error = "the name must end in .jpg or .png";
    return false;
  }
  jpeg = extension == ".jpg";

  SString size = fields.GetToken(FIELD_SIZE);
  int x = size.FindChar('x');
  width = x > 0 ? atoi(size.Left(x).GetText()) : 0;
  height = x > 0 ? atoi(size.Mid(x + 1).GetText()) : 0;
  if (width < 1 || height < 1 || width > MAX_SIDE || height > MAX_SIDE) {
    error = "the size must be WIDTHxHEIGHT, each side 1 to 2048";
    return false;
  }

  SStringParser kindParser(fields.GetToken(FIELD_KIND).GetText());
  kind.DeleteAndRemoveAll();
  if (kindParser.Parse(":", kTrim, '"', &kind) < 1 || kind.Get(0).GetLength() == 0) {
    error = "the kind is empty";
    return false;
  }

  SStringParser colourParser(fields.GetToken(FIELD_COLOURS).GetText());
  SStringArray colourTexts;
  colourParser.Parse(",", kTrim, '"', &colourTexts);
  colourCount = 0;
  for (int i = 0; i < colourTexts.GetCount(); ++i) {
    SString text = colourTexts.Get(i);
    if (!IsHexText(text) || (text.GetLength() != 6 && text.GetLength() != 8) ||
        colourCount == MAX_COLOURS) {
      error = "colours are up to four RRGGBB or AARRGGBB values";
      return false;
    }
    uint32_t value = (uint32_t)text.ParseHex();
    colours[colourCount++] = text.GetLength() == 6 ? 0xFF000000 | value : value;
  }

  captions.DeleteAndRemoveAll();
  SStringParser captionParser(fields.GetToken(FIELD_CAPTION).GetText());
  captionParser.Parse(";", kTrim, '"', &captions);
  return true;
}

uint32_t ImageDescription::GetSeed() const {
  // FNV-1a over the name.
  uint32_t hash = 2166136261u;
  for (int i = 0; i < name.GetLength(); ++i) {
    hash ^= name.GetByteAt(i);
    hash *= 16777619u;
  }
  return hash;
}
