// Attribute access of the graph's XML form (private to the graph classes).
// Integers are read as decimal text (leading digits; other text gives 0,
// values beyond the 32-bit range are clamped) and written in plain decimal;
// booleans are integers, nonzero true, written "0" or "1". A missing
// attribute leaves the field as it was.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "core/SXmlItem.h"

#include <stdlib.h>

namespace graphxml {

// The value of the attribute; null when the item has none of that name.
inline const char* Find(const SXmlItem* item, const char* name) {
  const SStringArray& names = item->GetAttributeNames();
  for (int i = 0; i < names.GetCount(); ++i) {
    const SString* n = names.GetAt(i);
    if (n && *n == name) {
      const SString* value = item->GetAttributeValues().GetAt(i);
      return value && value->GetText() ? value->GetText() : "";
    }
  }
  return nullptr;
}

inline void ReadInt(const SXmlItem* item, const char* name, int* field) {
  const char* text = Find(item, name);
  if (text) *field = static_cast<int>(strtol(text, nullptr, 10));
}

// Positions are kept within +-MAX_COORDINATE, so that sums of positions,
// sizes and offsets stay far inside the integer range.
enum { MAX_COORDINATE = 1 << 28 };

inline void ReadCoordinate(const SXmlItem* item, const char* name, int* field) {
  ReadInt(item, name, field);
  if (*field > MAX_COORDINATE) *field = MAX_COORDINATE;
  if (*field < -MAX_COORDINATE) *field = -MAX_COORDINATE;
}

inline void ReadBool(const SXmlItem* item, const char* name, bool* field) {
  int value = *field ? 1 : 0;
  ReadInt(item, name, &value);
  *field = value != 0;
}

inline void ReadText(const SXmlItem* item, const char* name, SString* field) {
  const char* text = Find(item, name);
  if (text) *field = text;
}

inline void WriteInt(SXmlItem* item, const char* name, int value) {
  item->AddAttribute(name, SString::FromInt(value).GetText());
}

inline void WriteBool(SXmlItem* item, const char* name, bool value) {
  item->AddAttribute(name, value ? "1" : "0");
}

inline void WriteText(SXmlItem* item, const char* name, const SString& value) {
  item->AddAttribute(name, value.GetText() ? value.GetText() : "");
}

}  // namespace graphxml
