#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include "core/SFile.h"
#include "core/Utility.h"
#include "window/Framework.h"

#include <string.h>

#include <vector>

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

template <class Handle>
void DeleteHandle(Handle& handle) {
  if (handle) ::DeleteObject(handle);
  handle = nullptr;
}

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

SDialogEditor::ControlMaker SDialogEditor::s_controlMaker = nullptr;

// --- construction -----------------------------------------------------------

SDialogEditor::SDialogEditor()
    : m_dialog(nullptr),
      m_loaded(false),
      m_hatchBrush(nullptr),
      m_rulerFont(nullptr),
      m_rulerBackColor(0),
      m_designBackColor(0),
      m_rulerTextColor(0),
      m_rulerBackBrush(nullptr),
      m_designBackBrush(nullptr),
      m_rulerTextBrush(nullptr),
      m_selectionColor(0),
      m_selectionGreyColor(0),
      m_selectionBrush(nullptr),
      m_selectionGreyBrush(nullptr),
      m_canvas{0, 0, 0, 0},
      m_gridX(GRID_STEP),
      m_gridY(GRID_STEP),
      m_gridShown(true),
      m_snap(true),
      m_insertType(-1),
      m_dragX(-1),
      m_dragY(-1),
      m_testMode(false),
      m_archive(nullptr) {
  m_kind = KIND;
  m_hatchBrush = ::CreateHatchBrush(HS_DIAGCROSS, RGB(0x80, 0x80, 0x80));
  HDC screen = ::GetDC(nullptr);
  int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  m_rulerFont = ::CreateFontA(int(RoundToNearest(dpi * 7.0 / -72.0)), 0, 0, 0, FW_NORMAL, 0, 0,
                              0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "arial");
  Reset();
}

SDialogEditor::~SDialogEditor() {
  Clear();
  Reset();
  DeleteHandle(m_hatchBrush);
  DeleteHandle(m_rulerFont);
  DeleteHandle(m_rulerBackBrush);
  DeleteHandle(m_designBackBrush);
  DeleteHandle(m_rulerTextBrush);
  DeleteHandle(m_selectionBrush);
  DeleteHandle(m_selectionGreyBrush);
  // Reset leaves nothing; records added behind the document's back go too.
  delete m_dialog;
  m_dialog = nullptr;
  m_controls.DeleteAndRemoveAll();
}

bool SDialogEditor::Init() {
  Clear();
  if (m_hWnd) ::GetClientRect(m_hWnd, &m_canvas);
  SetDefaultTexts();
  SetDesignerColors();
  m_gridX = GRID_STEP;
  m_gridY = GRID_STEP;
  m_gridShown = true;
  m_snap = true;
  if (m_hWnd) Redraw();
  for (int i = 0; i < TYPE_COUNT; ++i) {
    m_types[i].m_id = int16_t(i);
    m_types[i].m_keyword = kTypeNames[i].keyword;
    m_types[i].m_displayName = kTypeNames[i].displayName;
  }
  m_oleClassTexts.DeleteAndRemoveAll();
  m_oleClasses.RemoveAll();
  m_oleNames.DeleteAndRemoveAll();
  if (g_startupFlags & STARTUP_LIST_CONTROLS) {
    ListOleControls(&m_oleClassTexts, &m_oleClasses, &m_oleNames);
  }
  return true;
}

void SDialogEditor::Clear() {
  if (m_loaded) {
    _SCtrl* previous = m_selection.GetCount() > 0 ? m_selection[0] : nullptr;
    m_selection.RemoveAll();
    OnSelectionChanged(previous, nullptr);
    Reset();
    m_loaded = false;
  } else {
    Reset();
  }
}

void SDialogEditor::Reset() {
  SetInsertType(-1);
  UpdateScrollBars();
  m_dragX = -1;
  m_dragY = -1;
  m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  m_designImage.FreeBitmap();
  m_designImage.SetName("");
  m_designImage.m_transparentColor = SImage::COLOR_NONE;
  m_selection.RemoveAll();
  while (m_controls.GetCount() > 0) {
    if (!RemoveControl(m_controls[0], false)) break;
  }
  delete m_dialog;
  m_dialog = nullptr;
}

// --- records ------------------------------------------------------------------

bool SDialogEditor::SetDialogRecord(const _SCtrl* record) {
  if (!record) return false;
  if (!m_dialog) m_dialog = new _SCtrl;
  m_dialog->CopyFrom(record);
  m_dialog->m_type = TYPE_DIALOG;
  m_dialog->m_isDialog = true;
  return true;
}

SDialogEditor::_SCtrl* SDialogEditor::AddControl(SDialogEditor* document, bool defaults,
                                                  const _SCtrl* record, bool keepName,
                                                  bool keepId) {
  if (!document || !record) return nullptr;
  const _SType* type = document->FindTypeById(record->m_type);
  if (!type) return nullptr;
  if (document->m_controls.Find(const_cast<_SCtrl*>(record)) >= 0) return nullptr;

  _SCtrl* added = new _SCtrl;
  added->CopyFrom(record);
  added->m_isDialog = false;
  if (!keepId || document->FindControlById(int16_t(added->m_id))) {
    added->m_id = uint16_t(document->NewControlId());
  }
  if (!keepName || document->FindControlByName(added->m_name.GetText())) {
    added->m_name = document->MakeControlName(type);
  }
  if (defaults) {
    added->m_caption = type->m_displayName;
    added->m_style |= WS_VISIBLE;
    SetPropertyInt(added, "TABINDEX", -1);
    ApplyTypeDefaults(added);
  }
  RecreateControl(document, added);
  document->m_controls.Add(added);
  if (!(keepName && keepId) && !document->OnControlAdded(added)) {
    document->m_controls.RemoveValue(added);
    document->m_selection.RemoveValue(added);
    delete added;
    return nullptr;
  }
  return added;
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

bool SDialogEditor::RemoveControl(_SCtrl* record, bool ask) {
  _SCtrl* previous = m_selection.GetCount() > 0 ? m_selection[0] : nullptr;
  if (!record) return false;
  int index = m_controls.Find(record);
  if (index < 0) return false;
  if (m_selection.Find(record) >= 0) {
    m_selection.RemoveValue(record);
    OnSelectionChanged(previous, m_selection.GetCount() > 0 ? m_selection[0] : nullptr);
  }
  if (ask && !OnControlRemoving(record)) return false;
  // The hooks may have reordered the list.
  index = m_controls.Find(record);
  if (index < 0) return false;
  m_controls.RemoveAt(index);
  delete record;
  return true;
}

void SDialogEditor::RemoveAllControls() {
  while (m_controls.GetCount() > 0) {
    if (!RemoveControl(m_controls[0], false)) break;
  }
}

SDialogEditor::_SCtrl* SDialogEditor::FindControlById(int16_t id) const {
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    if (m_controls[i]->m_id == uint16_t(id)) return m_controls[i];
  }
  return nullptr;
}

SDialogEditor::_SCtrl* SDialogEditor::FindControlByName(const char* name) const {
  if (!name) name = "";
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    if (m_controls[i]->m_name == name) return m_controls[i];
  }
  return nullptr;
}

int SDialogEditor::NewControlId() const {
  std::vector<bool> taken(MAX_CONTROL_ID + 1, false);
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    int id = m_controls[i]->m_id;
    if (id >= 1 && id <= MAX_CONTROL_ID) taken[id] = true;
  }
  for (int id = 1; id <= MAX_CONTROL_ID; ++id) {
    if (!taken[id]) return id;
  }
  return -1;
}

SString SDialogEditor::MakeControlName(const _SType* type) const {
  if (!type) return SString("");
  const char* keyword = type->m_keyword.GetText();
  int keywordLength = type->m_keyword.GetLength();
  // Keyword + digits is an identifier for every n or for none.
  if (!keyword || !IsIdentifier((type->m_keyword + "1").GetText())) return SString("");
  // The numbers n for which keyword + n is taken.
  std::vector<bool> taken(MAX_CONTROL_ID + 1, false);
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    const SString& name = m_controls[i]->m_name;
    int digits = name.GetLength() - keywordLength;
    if (digits < 1 || digits > 4 || strncmp(name.GetText(), keyword, keywordLength) != 0) continue;
    const char* number = name.GetText() + keywordLength;
    if (number[0] == '0') continue;
    int n = 0;
    bool isNumber = true;
    for (int k = 0; k < digits; ++k) {
      if (number[k] < '0' || number[k] > '9') isNumber = false;
      n = n * 10 + (number[k] - '0');
    }
    if (isNumber && n <= MAX_CONTROL_ID) taken[n] = true;
  }
  for (int n = 1; n <= MAX_CONTROL_ID; ++n) {
    if (!taken[n]) return type->m_keyword + SString::FromInt(n);
  }
  return SString("");
}

bool SDialogEditor::IsControlNameFree(const char* name) const {
  return name && IsIdentifier(name) && !FindControlByName(name);
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

// --- selection ----------------------------------------------------------------

void SDialogEditor::SetSelection(_SCtrl* record) {
  _SCtrl* previous = m_selection.GetCount() > 0 ? m_selection[0] : nullptr;
  m_selection.RemoveAll();
  if (record) AddToSelection(record);
  OnSelectionChanged(previous, record);
}

bool SDialogEditor::AddToSelection(_SCtrl* record) {
  if (!record || m_selection.Find(record) >= 0) return false;
  m_selection.Add(record);
  return true;
}

// --- designer colours ---------------------------------------------------------

void SDialogEditor::SetDesignerColors() {
  SetBackgroundColors(::GetSysColor(COLOR_APPWORKSPACE), ::GetSysColor(COLOR_BTNFACE));
  COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
  if (text != COLOR_NONE) m_rulerTextColor = text;
  DeleteHandle(m_rulerTextBrush);
  m_rulerTextBrush = ::CreateSolidBrush(m_rulerTextColor);
  COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  SetHighlightColors(highlight, MakeGrey(highlight));
}

void SDialogEditor::SetBackgroundColors(COLORREF ruler, COLORREF design) {
  if (ruler != COLOR_NONE) m_rulerBackColor = ruler;
  if (design != COLOR_NONE) m_designBackColor = design;
  DeleteHandle(m_rulerBackBrush);
  DeleteHandle(m_designBackBrush);
  m_rulerBackBrush = ::CreateSolidBrush(m_rulerBackColor);
  m_designBackBrush = ::CreateSolidBrush(m_designBackColor);
}

void SDialogEditor::SetHighlightColors(COLORREF focused, COLORREF unfocused) {
  if (focused != COLOR_NONE) m_selectionColor = focused;
  if (unfocused != COLOR_NONE) m_selectionGreyColor = unfocused;
  DeleteHandle(m_selectionBrush);
  DeleteHandle(m_selectionGreyBrush);
  m_selectionBrush = ::CreateSolidBrush(m_selectionColor);
  m_selectionGreyBrush = ::CreateSolidBrush(m_selectionGreyColor);
}

COLORREF SDialogEditor::MakeGrey(COLORREF color) {
  uint8_t y, cr, cb, r, g, b;
  RgbToYCrCb(GetRValue(color), GetGValue(color), GetBValue(color), &y, &cr, &cb);
  YCrCbToRgb(y, 128, 128, &r, &g, &b);
  return RGB(r, r, r);
}

// --- designer hooks -----------------------------------------------------------

bool SDialogEditor::OnControlAdded(_SCtrl*) { return true; }

bool SDialogEditor::OnControlRemoving(_SCtrl*) { return true; }

void SDialogEditor::OnSelectionChanged(_SCtrl*, _SCtrl*) {}

bool SDialogEditor::SetInsertType(int type) {
  if (type == -1) {
    if (m_insertType == -1) return false;
    m_insertType = -1;
    return true;
  }
  if (type < 1 || type >= TYPE_COUNT || type == m_insertType) return false;
  m_insertType = type;
  return true;
}

void SDialogEditor::UpdateScrollBars() {
  if (!m_hWnd) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  SCROLLINFO info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = 0;
  info.nMax = SCROLL_RANGE;
  info.nPage = UINT(client.right - client.left);
  ::SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
  info.nPage = UINT(client.bottom - client.top);
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

bool SDialogEditor::RefreshPanel() { return false; }

void SDialogEditor::SetDefaultTexts() {}

SWnd* SDialogEditor::CreateControlWindow(_SCtrl* record) {
  return s_controlMaker ? s_controlMaker(m_hWnd, record, m_archive, false, nullptr) : nullptr;
}

bool SDialogEditor::RecreateControl(SDialogEditor* document, _SCtrl* record) {
  if (!document || !record || document->m_testMode || !document->m_hWnd) return false;
  SWnd* window = document->CreateControlWindow(record);
  if (!window) return false;
  delete record->m_window;
  record->m_window = window;
  if (window->m_hWnd) ::MoveWindow(window->m_hWnd, 0, 0, record->m_width, record->m_height, TRUE);
  DeleteHandle(record->m_font);
  if (record->m_fontName.GetLength() > 0) {
    record->m_font = CreateFontByStyle(record->m_fontName.GetText(), record->m_fontSize,
                                       int(record->m_fontStyle));
    if (record->m_font && window->m_hWnd) {
      ::SendMessageA(window->m_hWnd, WM_SETFONT, WPARAM(record->m_font), TRUE);
    }
  }
  return true;
}
