// SDialogEditor: the control type table, the defaults of newly placed
// controls and the lookups of types by keyword and id.
#include "core/Platform.h"
#include "window/SDialogEditor.h"

namespace {

// The control type table, by id.
struct TypeName {
  const char* keyword;
  const char* displayName;
};

const TypeName kTypeNames[SDialogEditor::TYPE_COUNT] = {
    {"DIALOG", "Dialog"},
    {"BINARY", "Binary"},
    {"BROWSER", "Browser"},
    {"BUTTON", "Button"},
    {"CHECK", "Check"},
    {"CODEEDIT", "Code Edit"},
    {"COMBO", "Combo"},
    {"EDIT", "Edit"},
    {"EXTENDEDLIST", "Extended List"},
    {"FLASH", "Flash"},
    {"GRAPH", "Graph"},
    {"GROUP", "Group"},
    {"GUI", "GUI"},
    {"IMAGEEDITOR", "Image Editor"},
    {"LABEL", "Label"},
    {"LCD", "Lcd"},
    {"LEVEL", "Level"},
    {"LIST", "List"},
    {"MEDIA", "Media"},
    {"MEDIAPLAYER", "Media Player"},
    {"PANEL", "Panel"},
    {"PROGRESS", "Progress"},
    {"PROPERTY", "Property"},
    {"RADIO", "Radio"},
    {"RICHEDIT", "Rich Edit"},
    {"SCROLL", "Scroll"},
    {"SLIDER", "Slider"},
    {"SPLITTER", "Splitter"},
    {"SPREAD", "Spread"},
    {"STATIC", "Static"},
    {"TAB", "Tab"},
    {"TABDOC", "Tab Doc"},
    {"TOOLBAR", "Tool Bar"},
    {"TREE", "Tree"},
    {"WAVEEDITOR", "Wave Editor"},
    {"WINDOW", "Window"},
    {"EXTERN", "External Control"},
};

// Per-type defaults of a newly placed control.
const int KEEP = -1;          // size field left as it is
const int HSCROLL_HEIGHT = -2;  // the system's horizontal scroll bar height
const int NONE = int(SImage::COLOR_NONE);
const uint32_t RICHEDIT_SUNKEN = 0x4000;  // ES_SUNKEN of the rich edit control

// A default extended property: a text, or with text null the integer.
struct DefaultProperty {
  const char* key;
  const char* text;
  int value;
};

struct TypeDefaults {
  uint32_t style;          // ORed into the style
  uint32_t exStyle;        // ORed into the extended style
  const char* caption;     // null: the display name stays
  int width, height;       // KEEP, or the size
  const DefaultProperty* properties;
  int propertyCount;
};

const DefaultProperty kBrowser[] = {{"BROWSER_DIALOGS", nullptr, 1}};
const DefaultProperty kCodeEdit[] = {
    {"CODEEDIT_BARWIDTH", nullptr, 20},
    {"CODEEDIT_TABSIZE", nullptr, 4},
    {"CODEEDIT_BACKCOLOR", nullptr, NONE},
    {"CODEEDIT_BACKFOCUSCOLOR", nullptr, NONE},
    {"CODEEDIT_BARCOLOR", nullptr, NONE},
    {"CODEEDIT_BARGRAYCOLOR", nullptr, NONE},
    {"CODEEDIT_BARCHECKCOLOR", nullptr, NONE},
    {"CODEEDIT_BARMARKCOLOR", nullptr, NONE},
    {"CODEEDIT_TEXTCOLOR", nullptr, NONE},
    {"CODEEDIT_TEXTKEYCOLOR", nullptr, NONE},
    {"CODEEDIT_TEXTSTRCOLOR", nullptr, NONE},
    {"CODEEDIT_TEXTUPCOLOR", nullptr, NONE},
    {"CODEEDIT_TEXTCOMMENTCOLOR", nullptr, NONE},
    {"CODEEDIT_HIGHLIGHTCOLOR", nullptr, NONE},
};
const DefaultProperty kEdit[] = {{"TABENABLED", nullptr, 1}};
const DefaultProperty kLabel[] = {{"LABEL_HALIGN", "_LEFT", 0}, {"LABEL_VALIGN", "_MIDDLE", 0}};
const DefaultProperty kLcd[] = {
    {"LCD_PIXELWIDTH", nullptr, 2},   {"LCD_PIXELHEIGHT", nullptr, 1},
    {"LCD_CHARCOUNT", nullptr, 16},   {"LCD_LINECOUNT", nullptr, 1},
    {"LCD_SCROLL", nullptr, 1},       {"LCD_SCROLLSPEED", nullptr, 5},
    {"LCD_CELLCOLOR", nullptr, NONE},
};
const DefaultProperty kLevel[] = {
    {"LEVEL_CHANNELCOUNT", nullptr, 1}, {"LEVEL_TICK", nullptr, 1},
    {"LEVEL_VALUE", nullptr, 0},        {"LEVEL_MINVALUE", nullptr, 0},
    {"LEVEL_MAXVALUE", nullptr, 1000},  {"LEVEL_BACKCOLOR", nullptr, NONE},
    {"LEVEL_LOWCOLOR", nullptr, NONE},  {"LEVEL_HIGHCOLOR", nullptr, NONE},
};
const DefaultProperty kMedia[] = {
    {"MEDIA_HALIGN", "_LEFT", 0},        {"MEDIA_VALIGN", "_MIDDLE", 0},
    {"MEDIA_WRAPPING", nullptr, 1},      {"MEDIA_TRIMMING", nullptr, 1},
    {"MEDIA_LEFTMARGIN", nullptr, 2},    {"MEDIA_TOPMARGIN", nullptr, 2},
    {"MEDIA_RIGHTMARGIN", nullptr, 2},   {"MEDIA_BOTTOMMARGIN", nullptr, 2},
    {"MEDIA_AUTOSCROLLX", nullptr, 0},   {"MEDIA_AUTOSCROLLY", nullptr, 0},
    {"MEDIA_AUTOSCROLLLOOP", nullptr, 0}, {"MEDIA_TAGS", nullptr, 0},
    {"MEDIA_BUTTON", nullptr, 0},        {"MEDIA_CHECKED", nullptr, 0},
    {"MEDIA_LINKCOLOR", nullptr, NONE},
};
const DefaultProperty kProgress[] = {
    {"PROGRESS_VALUE", nullptr, 0}, {"PROGRESS_MINVALUE", nullptr, 0},
    {"PROGRESS_MAXVALUE", nullptr, 100}};
const DefaultProperty kRadio[] = {{"RADIO_GROUP", nullptr, 0}, {"RADIO_CHECKED", nullptr, 0}};
const DefaultProperty kScroll[] = {
    {"SCROLL_VALUE", nullptr, 0}, {"SCROLL_MINVALUE", nullptr, 0},
    {"SCROLL_MAXVALUE", nullptr, 100}};
const DefaultProperty kSlider[] = {
    {"SLIDER_VALUE", nullptr, 0}, {"SLIDER_MINVALUE", nullptr, 0},
    {"SLIDER_MAXVALUE", nullptr, 100}};
const DefaultProperty kSplitter[] = {
    {"SPLITTER_COLCOUNT", nullptr, 2}, {"SPLITTER_ROWCOUNT", nullptr, 1},
    {"SPLITTER_WINDOWBACKCOLOR", nullptr, NONE}};
const DefaultProperty kStatic[] = {
    {"STATIC_EDGE", "_EDGESUNKENOUTER", 0}, {"STATIC_LEFTBORDER", nullptr, 1},
    {"STATIC_TOPBORDER", nullptr, 1},       {"STATIC_RIGHTBORDER", nullptr, 1},
    {"STATIC_BOTTOMBORDER", nullptr, 1}};
const DefaultProperty kTab[] = {
    {"TAB_SELECTION", nullptr, 0}, {"TAB_CONTENT", "Tab 1 | Tab 2", 0},
    {"TAB_TIPCONTENT", "Tip 1 | Tip 2", 0}};
const DefaultProperty kTabDoc[] = {
    {"TABDOC_CLOSE", nullptr, 1},              {"TABDOC_MOVE", nullptr, 1},
    {"TABDOC_SELECTION", nullptr, 0},          {"TABDOC_BACKCOLOR", nullptr, NONE},
    {"TABDOC_BACKSELCOLOR", nullptr, NONE},    {"TABDOC_TEXTCOLOR", nullptr, NONE},
    {"TABDOC_TEXTSELCOLOR", nullptr, NONE},    {"TABDOC_WINDOWBACKCOLOR", nullptr, NONE},
    {"TABDOC_CONTENT", "Tab 1 | Tab 2", 0}};
const DefaultProperty kToolBar[] = {
    {"TOOLBAR_IMAGEWIDTH", nullptr, 16}, {"TOOLBAR_IMAGEHEIGHT", nullptr, 16},
    {"TOOLBAR_CONTENT", "Btn 1 | Btn 2", 0}};
const DefaultProperty kWaveEditor[] = {
    {"WAVEEDITOR_POPUPMENU", nullptr, 1},
    {"WAVEEDITOR_COLORBACKENABLED", nullptr, NONE},
    {"WAVEEDITOR_COLORBACKDISABLED", nullptr, NONE},
    {"WAVEEDITOR_COLORLINE", nullptr, NONE},
    {"WAVEEDITOR_COLORCARET", nullptr, NONE},
    {"WAVEEDITOR_COLORCARETPLAY", nullptr, NONE},
    {"WAVEEDITOR_COLORWAVEENABLED", nullptr, NONE},
    {"WAVEEDITOR_COLORWAVEDISABLED", nullptr, NONE},
    {"WAVEEDITOR_COLORPROGRESSBACK", nullptr, NONE},
    {"WAVEEDITOR_COLORPROGRESSSTART", nullptr, NONE},
    {"WAVEEDITOR_COLORPROGRESSEND", nullptr, NONE},
};

#define PROPS(a) a, int(sizeof(a) / sizeof(a[0]))
#define NO_PROPS nullptr, 0

const TypeDefaults kTypeDefaults[SDialogEditor::TYPE_COUNT] = {
    /* DIALOG */ {0, 0, nullptr, KEEP, KEEP, NO_PROPS},
    /* BINARY */ {0, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, NO_PROPS},
    /* BROWSER */ {WS_BORDER, 0, nullptr, KEEP, KEEP, PROPS(kBrowser)},
    /* BUTTON */ {BS_CENTER | BS_VCENTER, 0, nullptr, 100, 25, NO_PROPS},
    /* CHECK */ {0, 0, nullptr, KEEP, 20, NO_PROPS},
    /* CODEEDIT */ {0, WS_EX_CLIENTEDGE, "", KEEP, KEEP, PROPS(kCodeEdit)},
    /* COMBO */
    {WS_VSCROLL | CBS_NOINTEGRALHEIGHT | CBS_SORT | CBS_DROPDOWNLIST, 0, nullptr, KEEP, KEEP,
     NO_PROPS},
    /* EDIT */ {ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, nullptr, KEEP, 20, PROPS(kEdit)},
    /* EXTENDEDLIST */ {LVS_SINGLESEL, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, NO_PROPS},
    /* FLASH */ {WS_BORDER, 0, nullptr, KEEP, KEEP, NO_PROPS},
    /* GRAPH */ {0, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, NO_PROPS},
    /* GROUP */ {0, 0, nullptr, KEEP, KEEP, NO_PROPS},
    /* GUI */ {0, 0, nullptr, 500, 400, NO_PROPS},
    /* IMAGEEDITOR */ {0, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, NO_PROPS},
    /* LABEL */ {0, 0, nullptr, KEEP, 20, PROPS(kLabel)},
    /* LCD */ {0, WS_EX_STATICEDGE, "ZANDOREK", 200, 15, PROPS(kLcd)},
    /* LEVEL */ {0, WS_EX_STATICEDGE, nullptr, 40, KEEP, PROPS(kLevel)},
    /* LIST */
    {WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_SORT, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP,
     NO_PROPS},
    /* MEDIA */ {0, 0, nullptr, KEEP, 20, PROPS(kMedia)},
    /* MEDIAPLAYER */ {0, 0, nullptr, 320, 180, NO_PROPS},
    /* PANEL */ {0, 0, nullptr, KEEP, KEEP, NO_PROPS},
    /* PROGRESS */ {0, 0, nullptr, KEEP, 20, PROPS(kProgress)},
    /* PROPERTY */ {0, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, NO_PROPS},
    /* RADIO */ {0, 0, nullptr, KEEP, 20, PROPS(kRadio)},
    /* RICHEDIT */
    {WS_VSCROLL | WS_HSCROLL | RICHEDIT_SUNKEN | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE, 0,
     nullptr, KEEP, KEEP, NO_PROPS},
    /* SCROLL */ {0, 0, nullptr, KEEP, HSCROLL_HEIGHT, PROPS(kScroll)},
    /* SLIDER */ {0, 0, nullptr, KEEP, 25, PROPS(kSlider)},
    /* SPLITTER */ {0, WS_EX_CLIENTEDGE, nullptr, 500, 400, PROPS(kSplitter)},
    /* SPREAD */ {0, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, NO_PROPS},
    /* STATIC */ {0, 0, nullptr, KEEP, KEEP, PROPS(kStatic)},
    /* TAB */ {TCS_TOOLTIPS, 0, nullptr, KEEP, KEEP, PROPS(kTab)},
    /* TABDOC */ {0, 0, nullptr, 500, 400, PROPS(kTabDoc)},
    /* TOOLBAR */ {TBSTYLE_TOOLTIPS, 0, nullptr, KEEP, 25, PROPS(kToolBar)},
    /* TREE */
    {TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP, WS_EX_CLIENTEDGE,
     nullptr, KEEP, KEEP, NO_PROPS},
    /* WAVEEDITOR */ {0, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, PROPS(kWaveEditor)},
    /* WINDOW */ {0, WS_EX_STATICEDGE, nullptr, KEEP, KEEP, NO_PROPS},
    /* EXTERN */ {0, WS_EX_CLIENTEDGE, nullptr, KEEP, KEEP, NO_PROPS},
};

#undef PROPS
#undef NO_PROPS

// ASCII letters compared without case.
bool EqualsNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
    if (x != y) return false;
    if (!x) return true;
  }
}

}  // namespace

void SDialogEditor::FillTypes(_SType* types) {
  for (int i = 0; i < TYPE_COUNT; ++i) {
    types[i].m_id = int16_t(i);
    types[i].m_keyword = kTypeNames[i].keyword;
    types[i].m_displayName = kTypeNames[i].displayName;
  }
}

void SDialogEditor::ApplyTypeDefaults(_SCtrl* record) {
  if (record->m_type < 0 || record->m_type >= TYPE_COUNT) return;
  const TypeDefaults& d = kTypeDefaults[record->m_type];
  if (d.caption) record->m_caption = d.caption;
  record->m_style |= d.style;
  record->m_exStyle |= d.exStyle;
  if (d.width != KEEP) record->m_width = int16_t(d.width);
  if (d.height == HSCROLL_HEIGHT) {
    record->m_height = int16_t(::GetSystemMetrics(SM_CYHSCROLL));
  } else if (d.height != KEEP) {
    record->m_height = int16_t(d.height);
  }
  for (int i = 0; i < d.propertyCount; ++i) {
    const DefaultProperty& p = d.properties[i];
    if (p.text) {
      SetProperty(record, p.key, p.text);
    } else {
      SetPropertyInt(record, p.key, p.value);
    }
  }
}

const SDialogEditor::_SType* SDialogEditor::FindType(const char* keyword) const {
  if (!keyword) return nullptr;
  for (int i = 0; i < TYPE_COUNT; ++i) {
    const char* entry = m_types[i].m_keyword.GetText();
    if (entry && *entry && EqualsNoCase(entry, keyword)) return &m_types[i];
  }
  return nullptr;
}

const SDialogEditor::_SType* SDialogEditor::FindTypeById(int id) const {
  for (int i = 0; i < TYPE_COUNT; ++i) {
    if (m_types[i].m_id == id && m_types[i].m_keyword.GetLength() > 0) return &m_types[i];
  }
  return nullptr;
}

