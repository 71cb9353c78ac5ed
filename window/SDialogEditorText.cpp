// The dialog text: reader and writer of "VANDRO DIALOG 1.0.0.0".
#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include "core/SFile.h"
#include "core/SStringParser.h"
#include "core/Utility.h"

#include <stdlib.h>
#include <string.h>

namespace {

// --- style names ------------------------------------------------------------

struct StyleName {
  const char* name;
  uint32_t value;
  const char* after = " ";  // written after the name
};

struct StyleRow {
  const StyleName* names;
  int count;
};

#define ROW(a) {a, int(sizeof(a) / sizeof(a[0]))}
#define NO_ROW {nullptr, 0}

// Written first in every STYLE line.
const StyleName kCommonStyles[] = {{"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000}};

const StyleName kDialogStyles[] = {
    {"WS_BORDER", 0x00800000},      {"WS_CAPTION", 0x00C00000},
    {"WS_SYSMENU", 0x00080000},     {"WS_MAXIMIZEBOX", 0x00010000},
    {"WS_MINIMIZEBOX", 0x00020000}, {"WS_SIZEBOX", 0x00040000}};
const StyleName kBorderStyles[] = {{"WS_BORDER", 0x00800000}};
const StyleName kButtonStyles[] = {
    {"BS_LEFT", 0x100},   {"BS_RIGHT", 0x200},   {"BS_CENTER", 0x300},
    {"BS_TOP", 0x400},    {"BS_BOTTOM", 0x800},  {"BS_VCENTER", 0xC00},
    {"BS_FLAT", 0x8000},  {"BS_MULTILINE", 0x2000}, {"BS_DEFPUSHBUTTON", 0x1}};
const StyleName kGroupStyles[] = {{"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200}, {"BS_CENTER", 0x300}};
const StyleName kComboStyles[] = {
    {"WS_VSCROLL", 0x00200000},     {"CBS_SIMPLE", 0x1},
    {"CBS_DROPDOWN", 0x2},          {"CBS_DROPDOWNLIST", 0x3},
    {"CBS_AUTOHSCROLL", 0x40},      {"CBS_DISABLENOSCROLL", 0x800},
    {"CBS_NOINTEGRALHEIGHT", 0x400}, {"CBS_SORT", 0x100}};
const StyleName kEditStyles[] = {
    {"WS_BORDER", 0x00800000}, {"WS_HSCROLL", 0x00100000}, {"WS_VSCROLL", 0x00200000},
    {"ES_LEFT", 0},            {"ES_CENTER", 0x1},         {"ES_RIGHT", 0x2},
    {"ES_AUTOHSCROLL", 0x80},  {"ES_AUTOVSCROLL", 0x40},   {"ES_READONLY", 0x800},
    {"ES_NOHIDESEL", 0x100},   {"ES_LOWERCASE", 0x10},     {"ES_UPPERCASE", 0x8},
    {"ES_MULTILINE", 0x4},     {"ES_PASSWORD", 0x20},      {"ES_NUMBER", 0x2000}};
const StyleName kRichEditStyles[] = {
    {"WS_HSCROLL", 0x00100000}, {"WS_VSCROLL", 0x00200000}, {"ES_LEFT", 0},
    {"ES_RIGHT", 0x2},          {"ES_CENTER", 0x1},         {"ES_AUTOHSCROLL", 0x80},
    {"ES_AUTOVSCROLL", 0x40},   {"ES_READONLY", 0x800},     {"ES_NOHIDESEL", 0x100},
    {"ES_WANTRETURN", 0x1000},  {"ES_SUNKEN", 0x4000}};
const StyleName kExtendedListStyles[] = {
    {"WS_BORDER", 0x00800000},     {"LVS_ICON", 0},
    {"LVS_REPORT", 0x1},           {"LVS_SMALLICON", 0x2},
    {"LVS_LIST", 0x3},             {"LVS_EDITLABELS", 0x200},
    {"LVS_AUTOARRANGE", 0x100},    {"LVS_SINGLESEL", 0x4},
    {"LVS_NOLABELWRAP", 0x80},     {"LVS_NOSCROLL", 0x2000},
    {"LVS_SHOWSELALWAYS", 0x8},    {"LVS_SORTASCENDING", 0x10},
    {"LVS_SORTDESCENDING", 0x20},  {"LVS_NOCOLUMNHEADER", 0x4000}};
const StyleName kListStyles[] = {
    {"WS_BORDER", 0x00800000},     {"WS_HSCROLL", 0x00100000},
    {"WS_VSCROLL", 0x00200000},    {"LBS_MULTIPLESEL", 0x8},
    {"LBS_EXTENDEDSEL", 0x800},    {"LBS_NOSEL", 0x4000},
    {"LBS_DISABLENOSCROLL", 0x1000}, {"LBS_NOINTEGRALHEIGHT", 0x100},
    {"LBS_SORT", 0x2}};
const StyleName kProgressStyles[] = {
    {"PBS_VERTICAL", 0x4}, {"PBS_SMOOTH", 0x1}, {"PBS_MARQUEE", 0x8}};
const StyleName kScrollStyles[] = {{"SBS_VERT", 0x1}};
const StyleName kSliderStyles[] = {
    {"WS_BORDER", 0x00800000}, {"TBS_TOOLTIPS", 0x100}, {"TBS_VERT", 0x2}};
const StyleName kTabStyles[] = {
    {"TCS_BUTTONS", 0x100},   {"TCS_FLATBUTTONS", 0x8, "  "},       {"TCS_FOCUSNEVER", 0x8000},
    {"TCS_FOCUSONBUTTONDOWN", 0x1000, "  "}, {"TCS_TOOLTIPS", 0x4000}};
const StyleName kToolBarStyles[] = {{"WS_BORDER", 0x00800000}, {"TBSTYLE_TOOLTIPS", 0x100}};
const StyleName kTreeStyles[] = {
    {"WS_BORDER", 0x00800000},      {"TVS_CHECKBOXES", 0x100},
    {"TVS_DISABLEDRAGDROP", 0x10},  {"TVS_EDITLABELS", 0x8},
    {"TVS_FULLROWSELECT", 0x1000},  {"TVS_HASBUTTONS", 0x1},
    {"TVS_HASLINES", 0x2},          {"TVS_LINESATROOT", 0x4},
    {"TVS_SHOWSELALWAYS", 0x20},    {"TVS_TRACKSELECT", 0x200}};

const StyleName kDialogExStyles[] = {
    {"WS_EX_CLIENTEDGE", 0x200}, {"WS_EX_STATICEDGE", 0x20000},
    {"WS_EX_TOOLWINDOW", 0x80},  {"WS_EX_TOPMOST", 0x8}};
const StyleName kEdgeExStyles[] = {{"WS_EX_CLIENTEDGE", 0x200}, {"WS_EX_STATICEDGE", 0x20000}};
const StyleName kStaticEdgeExStyles[] = {{"WS_EX_STATICEDGE", 0x20000}};

// The STYLE and EXSTYLE rows of each type, by type id.
struct TypeStyles {
  StyleRow style;
  StyleRow exStyle;
};

const TypeStyles kTypeStyles[SDialogEditor::TYPE_COUNT] = {
    /* DIALOG */ {ROW(kDialogStyles), ROW(kDialogExStyles)},
    /* BINARY */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* BROWSER */ {ROW(kBorderStyles), NO_ROW},
    /* BUTTON */ {ROW(kButtonStyles), NO_ROW},
    /* CHECK */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* CODEEDIT */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* COMBO */ {ROW(kComboStyles), NO_ROW},
    /* EDIT */ {ROW(kEditStyles), ROW(kEdgeExStyles)},
    /* EXTENDEDLIST */ {ROW(kExtendedListStyles), ROW(kEdgeExStyles)},
    /* FLASH */ {ROW(kBorderStyles), NO_ROW},
    /* GRAPH */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* GROUP */ {ROW(kGroupStyles), NO_ROW},
    /* GUI */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* IMAGEEDITOR */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* LABEL */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* LCD */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* LEVEL */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* LIST */ {ROW(kListStyles), ROW(kEdgeExStyles)},
    /* MEDIA */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* MEDIAPLAYER */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* PANEL */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* PROGRESS */ {ROW(kProgressStyles), NO_ROW},
    /* PROPERTY */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* RADIO */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* RICHEDIT */ {ROW(kRichEditStyles), ROW(kStaticEdgeExStyles)},
    /* SCROLL */ {ROW(kScrollStyles), NO_ROW},
    /* SLIDER */ {ROW(kSliderStyles), ROW(kEdgeExStyles)},
    /* SPLITTER */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* SPREAD */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* STATIC */ {NO_ROW, NO_ROW},
    /* TAB */ {ROW(kTabStyles), NO_ROW},
    /* TABDOC */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* TOOLBAR */ {ROW(kToolBarStyles), ROW(kEdgeExStyles)},
    /* TREE */ {ROW(kTreeStyles), ROW(kEdgeExStyles)},
    /* WAVEEDITOR */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* WINDOW */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
    /* EXTERN */ {ROW(kBorderStyles), ROW(kEdgeExStyles)},
};

#undef ROW
#undef NO_ROW

const StyleRow kCommonRow = {kCommonStyles, 2};

const TypeStyles* StylesOf(int type) {
  return type >= 0 && type < SDialogEditor::TYPE_COUNT ? &kTypeStyles[type] : nullptr;
}

void AppendNames(SString& out, const StyleRow& row, uint32_t field) {
  for (int i = 0; i < row.count; ++i) {
    if ((field & row.names[i].value) == row.names[i].value) {
      out += row.names[i].name;
      out += row.names[i].after;
    }
  }
}

// The value of the name in the row; false when the row does not hold it.
bool LookUpName(const StyleRow& row, const char* name, uint32_t* value) {
  for (int i = 0; i < row.count; ++i) {
    if (strcmp(row.names[i].name, name) == 0) {
      *value = row.names[i].value;
      return true;
    }
  }
  return false;
}

// --- keys -----------------------------------------------------------------------

// The offset of the first CR LF pair from start, or the length: only the pair
// ends a line of the text format, a lone CR or LF is text.
int LineEnd(const char* text, int length, int start) {
  for (int i = start; i + 1 < length; ++i) {
    if (text[i] == '\r' && text[i + 1] == '\n') return i;
  }
  return length;
}

bool HasLineBreak(const SString& text) {
  return text.GetText() && LineEnd(text.GetText(), text.GetLength(), 0) < text.GetLength();
}

// Font flags are written unsigned; every 32-bit value reads back.
uint32_t ReadFlags(const char* text) { return uint32_t(strtoul(text, nullptr, 10)); }

}  // namespace

// --- style names ----------------------------------------------------------------

SString SDialogEditor::GetStyleNames(const _SCtrl* record, bool extended) {
  SString names("");
  const TypeStyles* styles = record ? StylesOf(record->m_type) : nullptr;
  if (!styles) return names;
  if (extended) {
    AppendNames(names, styles->exStyle, record->m_exStyle);
  } else {
    AppendNames(names, kCommonRow, record->m_style);
    AppendNames(names, styles->style, record->m_style);
  }
  return names;
}

void SDialogEditor::ParseStyleNames(_SCtrl* record, bool extended, const char* text) {
  if (!record || !text || !*text) return;
  const TypeStyles* styles = StylesOf(record->m_type);
  SStringParser parser(text);
  int count = parser.Parse(" ", 0, '"');
  uint32_t field = 0;
  for (int i = 0; i < count; ++i) {
    SString part = parser.GetToken(i);
    uint32_t value = 0;
    if (LookUpName(kCommonRow, part.GetText(), &value) ||
        (styles && (LookUpName(styles->style, part.GetText(), &value) ||
                    LookUpName(styles->exStyle, part.GetText(), &value)))) {
      field |= value;
    }
  }
  (extended ? record->m_exStyle : record->m_style) = field;
}

// --- reading --------------------------------------------------------------------

bool SDialogEditor::LoadText(SFile* text, SDialogEditor* document) {
  if (!text || !document) return false;
  document->Clear();
  if (text->ReadLine(true) != MAGIC) return false;
  text->ReadLine(true);
  bool first = true;
  while (!text->IsEOF()) {
    _SCtrl record;
    int read = ReadSection(&record, text, document);
    bool stored = false;
    if (read > 0) {
      stored = first ? document->SetDialogRecord(&record)
                     : AddControl(document, false, &record, true, true) != nullptr;
    }
    if (!stored) {
      document->Reset();
      return false;
    }
    first = false;
  }
  document->m_loaded = true;
  document->RefreshPanel();
  document->SetSelection(document->m_dialog);
  return true;
}

int SDialogEditor::ReadSection(_SCtrl* record, SFile* text, SDialogEditor* document) {
  if (!record || !text || !document) return -1;
  int start = text->Tell();
  record->m_properties = "";

  SString header = text->ReadLine(true);
  SString keyword = header.GetLength() >= 2 ? header.Mid(1, header.GetLength() - 2) : SString("");
  const _SType* type = document->FindType(keyword.GetText());
  if (!type) return 0;
  record->m_type = type->m_id < 0 ? int16_t(-1) : type->m_id;
  if (record->m_type == TYPE_DIALOG) record->m_isDialog = true;

  while (!text->IsEOF()) {
    SString line = text->ReadLine(true);
    if (line.GetLength() == 0) break;
    int equals = line.FindChar('=');
    if (equals < 0) return -1;
    SString value = line.Mid(equals + 1);
    const char* v = value.GetText() ? value.GetText() : "";
    switch (FindFixedKey(line.GetText(), equals)) {
      case KEY_ID:
        record->m_id = uint16_t(atoi(v));
        break;
      case KEY_NAME:
        record->m_name = value;
        break;
      case KEY_CAPTION:
        record->m_caption = value;
        break;
      case KEY_FONT: {
        SStringParser parts(v);
        if (parts.Parse(",", 8, '"') == 3) {
          record->m_fontName = parts.GetToken(0);
          record->m_fontSize = int16_t(atoi(parts.GetToken(1).GetText()));
          record->m_fontStyle = ReadFlags(parts.GetToken(2).GetText());
        }
        break;
      }
      case KEY_POSITION: {
        SStringParser parts(v);
        if (parts.Parse(" ", 0, '"') == 4) {
          record->m_left = int16_t(parts.GetInt(0));
          record->m_top = int16_t(parts.GetInt(1));
          record->m_width = int16_t(parts.GetInt(2));
          record->m_height = int16_t(parts.GetInt(3));
        }
        break;
      }
      case KEY_STYLE:
        ParseStyleNames(record, false, v);
        break;
      case KEY_EXSTYLE:
        ParseStyleNames(record, true, v);
        break;
      case KEY_BACKCOLOR:
        record->m_backColor = TextToColor(v);
        break;
      case KEY_TEXTCOLOR:
        record->m_textColor = TextToColor(v);
        break;
      case KEY_TRANSPARENT:
        record->m_transparent = atoi(v) != 0;
        break;
      case KEY_ISLOCKED:
        record->m_locked = atoi(v) != 0;
        break;
      default:
        // An empty key is dropped; any other line is kept as it stands.
        if (equals > 0) {
          record->m_properties += line;
          record->m_properties += "\r\n";
        }
        break;
    }
  }
  return text->Tell() - start;
}

// --- writing --------------------------------------------------------------------

bool SDialogEditor::IsWritable(const _SCtrl* record) {
  if (!record) return false;
  if (HasLineBreak(record->m_name) || HasLineBreak(record->m_caption) ||
      HasLineBreak(record->m_fontName)) {
    return false;
  }
  // The reader splits the font at "," and trims blanks off the face.
  const char* face = record->m_fontName.GetText();
  int faceLength = record->m_fontName.GetLength();
  if (face && faceLength > 0 &&
      (memchr(face, ',', faceLength) || face[0] == ' ' || face[faceLength - 1] == ' ')) {
    return false;
  }
  // Extended lines: KEY=VALUE CR LF each, with a key that is none of the
  // format's own.
  const char* text = record->m_properties.GetText();
  int length = record->m_properties.GetLength();
  int i = 0;
  while (i < length) {
    int end = LineEnd(text, length, i);
    if (end == length) return false;
    const char* equals = static_cast<const char*>(memchr(text + i, '=', end - i));
    if (!equals || equals == text + i) return false;
    if (FindFixedKey(text + i, int(equals - (text + i))) >= 0) return false;
    i = end + 2;
  }
  return true;
}

int SDialogEditor::WriteSection(const _SCtrl* record, SFile* out) {
  if (!out || !record) return 0;
  const _SType* type = FindTypeById(record->m_type);
  if (!type || !IsWritable(record)) return 0;
  int start = out->Tell();
  bool ok = true;
  auto line = [&](const SString& text) {
    if (out->WriteLine(text.GetText()) != text.GetLength() + 2) ok = false;
  };
  line(SString("[") + type->m_keyword + "]");
  line(SString("ID=") + SString::FromInt(int16_t(record->m_id)));
  line(SString("NAME=") + record->m_name);
  line(SString("CAPTION=") + record->m_caption);
  line(SString("FONT=") + record->m_fontName + ", " + SString::FromInt(record->m_fontSize) + ", " +
       SString::FromUInt(record->m_fontStyle));
  line(SString("POSITION=") + SString::FromInt(record->m_left) + " " +
       SString::FromInt(record->m_top) + " " + SString::FromInt(record->m_width) + " " +
       SString::FromInt(record->m_height));
  line(SString("STYLE=") + GetStyleNames(record, false));
  line(SString("EXSTYLE=") + GetStyleNames(record, true));
  line(SString("BACKCOLOR=") + ColorToText(record->m_backColor));
  line(SString("TEXTCOLOR=") + ColorToText(record->m_textColor));
  line(SString("TRANSPARENT=") + (record->m_transparent ? "1" : "0"));
  line(SString("ISLOCKED=") + (record->m_locked ? "1" : "0"));
  // Each extended line ends with CR LF; the final one is the empty line that
  // ends the section.
  const SString& properties = record->m_properties;
  if (properties.GetLength() > 0 &&
      out->WriteText(properties.GetText(), properties.GetLength()) != properties.GetLength()) {
    ok = false;
  }
  line(SString(""));
  return ok ? out->Tell() - start : 0;
}

bool SDialogEditor::SaveText(SFile* out) {
  if (!out) return false;
  // The first section is read back as the dialog record.
  if (!m_dialog && m_controls.GetCount() > 0) return false;
  if (out->WriteLine(MAGIC) != int(sizeof(MAGIC) - 1) + 2) return false;
  if (out->WriteLine("") != 2) return false;
  if (m_dialog && WriteSection(m_dialog, out) == 0) return false;
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    if (WriteSection(m_controls[i], out) == 0) return false;
  }
  return true;
}
