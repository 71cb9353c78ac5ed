// Extended properties of a record: KEY=VALUE lines, each ended by CR LF.
#include "core/Platform.h"
#include "window/SDialogRecords.h"

#include "core/Utility.h"

#include <stdlib.h>
#include <string.h>

namespace {

// Image draw mode names, in the order they are compared.
struct DrawModeName {
  const char* name;
  int mode;
};

const DrawModeName kDrawModes[] = {
    {"_DRAWCENTER", 8},      {"_DRAWSTRETCH", 9},       {"_DRAWTILE", 10},
    {"_DRAWFIT", 11},        {"_DRAWFITZOOM", 12},      {"_DRAWTOPCENTER", 1},
    {"_DRAWTOPRIGHT", 2},    {"_DRAWMIDDLELEFT", 3},    {"_DRAWMIDDLERIGHT", 4},
    {"_DRAWBOTTOMLEFT", 5},  {"_DRAWBOTTOMCENTER", 6},  {"_DRAWBOTTOMRIGHT", 7},
};

const uint32_t SYSTEM_COLOR = 0xFE000000;  // + GetSysColor index

// One line of the property text: [start, end) without its line break, and
// the offset of its first "=" (-1 when none).
struct Line {
  int start;
  int end;
  int equals;
};

// The line from position i on; lines end at CR or LF.
Line LineAt(const char* text, int length, int i) {
  Line line = {i, i, -1};
  while (line.end < length && text[line.end] != '\r' && text[line.end] != '\n') ++line.end;
  const void* equals = memchr(text + i, '=', line.end - i);
  if (equals) line.equals = int(static_cast<const char*>(equals) - text);
  return line;
}

bool KeyMatches(const char* text, const Line& line, const char* key, size_t keyLength) {
  return line.equals >= 0 && size_t(line.equals - line.start) == keyLength &&
         memcmp(text + line.start, key, keyLength) == 0;
}

// The value of the key, or -1 in *start when the key is absent.
void FindValue(const SString& properties, const char* key, int* start, int* end) {
  *start = -1;
  *end = -1;
  const char* text = properties.GetText();
  int length = properties.GetLength();
  if (!text || !key) return;
  size_t keyLength = strlen(key);
  int i = 0;
  while (i < length) {
    Line line = LineAt(text, length, i);
    if (KeyMatches(text, line, key, keyLength)) {
      *start = line.equals + 1;
      *end = line.end;
      return;
    }
    i = line.end + 1;
  }
}

COLORREF ReadColor(const SString& value) {
  const char* text = value.GetText();
  if (!text || !*text) return SDialogRecords::COLOR_NONE;
  if (text[0] == '#') return TextToColor(text);
  return COLORREF(strtol(text, nullptr, 10));
}

const char* const kFixedKeys[SDialogRecords::KEY_COUNT] = {
    "ID",      "NAME",      "CAPTION",   "FONT",        "POSITION", "STYLE",
    "EXSTYLE", "BACKCOLOR", "TEXTCOLOR", "TRANSPARENT", "ISLOCKED"};

}  // namespace

SString SDialogRecords::GetProperty(const _SCtrl* record, const char* key) {
  if (!record) return SString("");
  int start, end;
  FindValue(record->m_properties, key, &start, &end);
  if (start < 0) return SString("");
  return record->m_properties.Mid(start, end - start);
}

bool SDialogRecords::IsPropertyKey(const char* key) {
  if (!key || !*key || strpbrk(key, "=\r\n")) return false;
  return FindFixedKey(key, int(strlen(key))) < 0;
}

bool SDialogRecords::SetProperty(_SCtrl* record, const char* key, const char* value) {
  if (!record || !IsPropertyKey(key)) return false;
  if (!value) value = "";
  if (strpbrk(value, "\r\n")) return false;
  SString& properties = record->m_properties;
  int start, end;
  FindValue(properties, key, &start, &end);
  if (start >= 0) {
    properties.Replace(start, end - start, value);
    return true;
  }
  int length = properties.GetLength();
  if (length > 0 && properties.Right(2) != "\r\n") properties += "\r\n";
  properties += key;
  properties += "=";
  properties += value;
  properties += "\r\n";
  return true;
}

bool SDialogRecords::SetPropertyInt(_SCtrl* record, const char* key, int value) {
  return SetProperty(record, key, SString::FromInt(value).GetText());
}

bool SDialogRecords::GetPropertyBool(const _SCtrl* record, const char* key) {
  return GetPropertyInt(record, key) != 0;
}

int SDialogRecords::GetPropertyInt(const _SCtrl* record, const char* key) {
  SString value = GetProperty(record, key);
  return value.GetText() ? atoi(value.GetText()) : 0;
}

double SDialogRecords::GetPropertyDouble(const _SCtrl* record, const char* key) {
  SString value = GetProperty(record, key);
  return value.GetText() ? atof(value.GetText()) : 0.0;
}

COLORREF SDialogRecords::GetPropertyColor(const _SCtrl* record, const char* key) {
  COLORREF color = ReadColor(GetProperty(record, key));
  // Only 0xFE000000 to 0xFEFFFFFF name system colours: hollow (0xFF000001) stays hollow.
  if ((color & 0xFF000000) == SYSTEM_COLOR) return ::GetSysColor(int(color - SYSTEM_COLOR));
  return color;
}

int SDialogRecords::GetPropertyDrawMode(const _SCtrl* record, const char* key) {
  SString value = GetProperty(record, key);
  for (const DrawModeName& d : kDrawModes) {
    if (value == d.name) return d.mode;
  }
  return 0;
}

COLORREF SDialogRecords::GetLinkColorProperty(const _SCtrl* record) {
  SString value = GetProperty(record, "MEDIA_LINKCOLOR");
  return value.GetLength() > 0 ? ReadColor(value) : 0;
}

int SDialogRecords::FindFixedKey(const char* key, int length) {
  if (!key) return -1;
  for (int i = 0; i < KEY_COUNT; ++i) {
    if (int(strlen(kFixedKeys[i])) == length && memcmp(kFixedKeys[i], key, length) == 0) return i;
  }
  return -1;
}

