// SDialogDesigner: the property row tables of the general rows, the border
// group and every record type.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

namespace {

typedef SDialogDesigner D;
typedef D::_SPropertyRow Row;

const char kGeneral[] = "$GENERAL";
const char kPosition[] = "$POSITION";
const char kSkin[] = "$SKIN";
const char kStyle[] = "$STYLE";
const char kValue[] = "$VALUE";
const char kBorder[] = "$BORDER";
const char kColor[] = "$COLOR";
const char kResource[] = "$RESOURCE";
const char kLink[] = "$LINK";
const char kExtra[] = "$EXTRA";

const uint8_t kSame = D::ROW_SAME_TYPE;

// A row of the extended properties, of the key's own line.
constexpr Row Ext(const char* group, const char* key, int kind,
                  D::RowOptions options = D::OPT_NONE) {
  return {group, key, int8_t(kind), D::SRC_EXT, 0, options, kSame};
}
// The same, read as an integer.
constexpr Row ExtInt(const char* group, const char* key, int kind) {
  return {group, key, int8_t(kind), D::SRC_EXT_INT, 0, D::OPT_NONE, kSame};
}
// A yes/no row of style bits.
constexpr Row Style(const char* group, const char* key, uint32_t mask) {
  return {group, key, 1, D::SRC_STYLE, mask, D::OPT_NONE, kSame};
}
constexpr Row NotStyle(const char* group, const char* key, uint32_t mask) {
  return {group, key, 1, D::SRC_NOT_STYLE, mask, D::OPT_NONE, kSame};
}
constexpr Row ExStyle(const char* group, const char* key, uint32_t mask) {
  return {group, key, 1, D::SRC_EXSTYLE, mask, D::OPT_NONE, kSame};
}
// An option chosen from the style by a rule.
constexpr Row Computed(const char* key, D::StyleRule rule, D::RowOptions options) {
  return {kStyle, key, 7, D::SRC_COMPUTED, rule, options, kSame};
}
constexpr Row Font() { return {kGeneral, "FONT", 6, D::SRC_FONT, 0, D::OPT_NONE, kSame}; }
constexpr Row Tooltip() { return Ext(kValue, "TOOLTIP", 3); }
constexpr Row Border() { return {kBorder, nullptr, 1, D::SRC_BORDER_ROWS, 0, D::OPT_NONE, kSame}; }
constexpr Row Declared() { return {kExtra, nullptr, 0, D::SRC_DECLARED, 0, D::OPT_NONE, kSame}; }
// The colour rows that merge over records of any type.
constexpr Row BackColor() { return {kColor, "BACKCOLOR", 2, D::SRC_BACKCOLOR, 0, D::OPT_NONE, 0}; }
constexpr Row TextColor() { return {kColor, "TEXTCOLOR", 2, D::SRC_TEXTCOLOR, 0, D::OPT_NONE, 0}; }
constexpr Row Transparent() {
  return {kColor, "TRANSPARENT", 1, D::SRC_TRANSPARENT, 0, D::OPT_NONE, 0};
}

const uint8_t kNotDialog = D::ROW_NOT_DIALOG;
const uint8_t kOneOnly = D::ROW_SINGLE | D::ROW_SAME_TYPE;

const Row kGeneralRows[] = {
    {kGeneral, "TYPE", 0, D::SRC_TYPE, 0, D::OPT_NONE, kOneOnly},
    {kGeneral, "ID", 0, D::SRC_ID, 0, D::OPT_NONE, uint8_t(kOneOnly | kNotDialog)},
    {kGeneral, "NAME", 3, D::SRC_NAME, 0, D::OPT_NONE, uint8_t(kOneOnly | kNotDialog)},
    {kGeneral, "CAPTION", 3, D::SRC_CAPTION, 0, D::OPT_NONE, D::ROW_CAPTION},
    {kGeneral, "VISIBLE", 1, D::SRC_STYLE, WS_VISIBLE, D::OPT_NONE, 0},
    {kGeneral, "ENABLED", 1, D::SRC_NOT_STYLE, WS_DISABLED, D::OPT_NONE, 0},
    {kGeneral, "TABENABLED", 1, D::SRC_EXT, 0, D::OPT_NONE, kNotDialog},
    {kGeneral, "TABGROUP", 4, D::SRC_EXT, 0, D::OPT_NONE, kNotDialog},
    {kGeneral, "TABINDEX", 4, D::SRC_EXT, 0, D::OPT_NONE, kNotDialog},
    {kPosition, "X", 4, D::SRC_X, 0, D::OPT_NONE, kNotDialog},
    {kPosition, "Y", 4, D::SRC_Y, 0, D::OPT_NONE, kNotDialog},
    {kPosition, "WIDTH", 4, D::SRC_WIDTH, 0, D::OPT_NONE, 0},
    {kPosition, "HEIGHT", 4, D::SRC_HEIGHT, 0, D::OPT_NONE, 0},
    {kPosition, "HALIGN", 7, D::SRC_HALIGN, 0, D::OPT_HANCHOR, kNotDialog},
    {kPosition, "VALIGN", 7, D::SRC_VALIGN, 0, D::OPT_VANCHOR, kNotDialog},
};

// The border group: one call of AddBorderRows.
const Row kBorderRows[] = {
    Style(kBorder, "BORDER", WS_BORDER),
    ExStyle(kBorder, "CLIENTEDGE", WS_EX_CLIENTEDGE),
    ExStyle(kBorder, "STATICEDGE", WS_EX_STATICEDGE),
};

// --- the rows of each type, in type order ---------------------------------------------

const Row kDialogRows[] = {
    Font(),
    Ext(kSkin, "DIALOG_LAYER", 1),
    Ext(kSkin, "DIALOG_SHAPE", 1),
    Style(kStyle, "DIALOG_CAPTION", 0xC00000),
    Style(kStyle, "DIALOG_BUTTON", 0x80000),
    Ext(kStyle, "DIALOG_NOCLOSE", 1),
    Style(kStyle, "DIALOG_MAXIMIZEBOX", 0x10000),
    Style(kStyle, "DIALOG_MINIMIZEBOX", 0x20000),
    Style(kStyle, "DIALOG_RESIZE", 0x40000),
    ExStyle(kStyle, "DIALOG_TOOLWINDOW", 0x80),
    Ext(kStyle, "DIALOG_MAXIMIZED", 1),
    Ext(kStyle, "DIALOG_MINIMIZED", 1),
    ExStyle(kStyle, "DIALOG_TOPMOST", 0x8),
    Ext(kStyle, "DIALOG_MINSIZE", 1),
    Ext(kStyle, "DIALOG_MAXSIZE", 1),
    Ext(kStyle, "DIALOG_DRAGFILES", 1),
    Ext(kStyle, "DIALOG_MOVEWITHMOUSE", 1),
    Ext(kStyle, "DIALOG_NOMODALRETURN", 1),
    Ext(kStyle, "DIALOG_NOMODALESCAPE", 1),
    Ext(kValue, "DIALOG_STATUSBARTEXT", 3),
    Ext(kValue, "DIALOG_FOCUS", 7, D::OPT_ALL_CONTROLS),
    Border(),
    BackColor(),
    Ext(kResource, "DIALOG_ICON", 7),
    Ext(kResource, "DIALOG_IMAGE", 7),
    Ext(kResource, "DIALOG_IMAGEDRAWMODE", 7, D::OPT_DRAW_MODES),
    Ext(kResource, "DIALOG_MENU", 7),
    Ext(kResource, "DIALOG_TOOLBAR", 7),
};

const Row kBinaryRows[] = {Border(), Ext(kResource, "BINARY_FILE", 7)};

const Row kBrowserRows[] = {
    Ext(kStyle, "BROWSER_DIALOGS", 1),
    Ext(kValue, "BROWSER_URL", 3),
    Style(kBorder, "BORDER", 0x800000),
    Ext(kResource, "BROWSER_FILE", 7),
};

const Row kButtonRows[] = {
    Font(),
    Style(kStyle, "BUTTON_DEFAULT", 0x1),
    Style(kStyle, "BUTTON_FLAT", 0x8000),
    Style(kStyle, "BUTTON_MULTILINE", 0x2000),
    Computed("BUTTON_HALIGN", D::RULE_BUTTON_HALIGN, D::OPT_THREE_H),
    Computed("BUTTON_VALIGN", D::RULE_BUTTON_VALIGN, D::OPT_THREE_V),
    Tooltip(),
    BackColor(),
};

const Row kCheckRows[] = {
    Font(), Tooltip(), Ext(kValue, "CHECK_CHECKED", 1), Border(), BackColor(),
};

const Row kCodeEditRows[] = {
    Font(),
    Ext(kStyle, "CODEEDIT_BR", 1),
    Ext(kStyle, "CODEEDIT_COMMENT", 1),
    Ext(kStyle, "CODEEDIT_FINDREPLACELOCAL", 1),
    Ext(kStyle, "CODEEDIT_INDENT", 1),
    Ext(kStyle, "CODEEDIT_SINGLELINE", 1),
    Ext(kStyle, "CODEEDIT_STRINGS", 1),
    Ext(kStyle, "CODEEDIT_UPPERWORDS", 1),
    Ext(kStyle, "CODEEDIT_SHOWNUMBER", 1),
    Ext(kStyle, "CODEEDIT_READONLY", 1),
    Tooltip(),
    Ext(kValue, "CODEEDIT_BARWIDTH", 4),
    Ext(kValue, "CODEEDIT_TABSIZE", 4),
    Ext(kValue, "CODEEDIT_SELECTALL", 1),
    Border(),
    Ext(kColor, "CODEEDIT_BACKCOLOR", 2),
    Ext(kColor, "CODEEDIT_BACKFOCUSCOLOR", 2),
    Ext(kColor, "CODEEDIT_BARCOLOR", 2),
    Ext(kColor, "CODEEDIT_BARGRAYCOLOR", 2),
    Ext(kColor, "CODEEDIT_BARCHECKCOLOR", 2),
    Ext(kColor, "CODEEDIT_BARMARKCOLOR", 2),
    Ext(kColor, "CODEEDIT_TEXTCOLOR", 2),
    Ext(kColor, "CODEEDIT_TEXTKEYCOLOR", 2),
    Ext(kColor, "CODEEDIT_TEXTSTRCOLOR", 2),
    Ext(kColor, "CODEEDIT_TEXTUPCOLOR", 2),
    Ext(kColor, "CODEEDIT_TEXTCOMMENTCOLOR", 2),
    Ext(kColor, "CODEEDIT_HIGHLIGHTCOLOR", 2),
    Ext(kResource, "CODEEDIT_FILE", 7),
};

const Row kComboRows[] = {
    Font(),
    Computed("COMBO_TYPE", D::RULE_COMBO_TYPE, D::OPT_COMBO_TYPES),
    Style(kStyle, "COMBO_AUTOHSCROLL", 0x40),
    Style(kStyle, "COMBO_DISABLENOSCROLL", 0x800),
    Style(kStyle, "COMBO_NOINTEGRALHEIGHT", 0x400),
    Style(kStyle, "COMBO_SORT", 0x100),
    Style(kStyle, "COMBO_VSCROLL", 0x200000),
    Tooltip(),
    Ext(kValue, "COMBO_CONTENT", 3),
    Ext(kResource, "COMBO_FILE", 7),
};

const Row kEditRows[] = {
    Font(),
    Style(kStyle, "EDIT_AUTOHSCROLL", 0x80),
    Style(kStyle, "EDIT_AUTOVSCROLL", 0x40),
    Style(kStyle, "EDIT_HSCROLL", 0x100000),
    Style(kStyle, "EDIT_VSCROLL", 0x200000),
    Style(kStyle, "EDIT_READONLY", 0x800),
    Style(kStyle, "EDIT_NEVERHIDESELECTION", 0x100),
    Computed("EDIT_ALIGN", D::RULE_EDIT_ALIGN, D::OPT_THREE_H),
    Style(kStyle, "EDIT_LOWER", 0x10),
    Style(kStyle, "EDIT_UPPER", 0x8),
    Style(kStyle, "EDIT_MULTILINE", 0x4),
    Style(kStyle, "EDIT_PASSWORD", 0x20),
    Style(kStyle, "EDIT_NUMBER", 0x2000),
    Ext(kStyle, "EDIT_NOPOPUPMENU", 1),
    Tooltip(),
    Ext(kValue, "EDIT_SELECTALL", 1),
    Ext(kValue, "EDIT_MAXLENGTH", 4),
    Border(),
    BackColor(),
    TextColor(),
    Ext(kResource, "EDIT_TEXT", 7),
};

const Row kExtendedListRows[] = {
    Font(),
    Computed("EXLIST_TYPE", D::RULE_EXLIST_TYPE, D::OPT_LISTVIEW_TYPES),
    Style(kStyle, "EXLIST_EDITLABELS", 0x200),
    Style(kStyle, "EXLIST_AUTOARRANGE", 0x100),
    Ext(kStyle, "EXLIST_FULLROWSELECT", 1),
    Ext(kStyle, "EXLIST_GRIDLINES", 1),
    Style(kStyle, "EXLIST_SINGLESELECTION", 0x4),
    Style(kStyle, "EXLIST_NOLABELWRAP", 0x80),
    Style(kStyle, "EXLIST_NOSCROLL", 0x2000),
    Style(kStyle, "EXLIST_NEVERHIDESELECTION", 0x8),
    Style(kStyle, "EXLIST_SORTASCENDING", 0x10),
    Style(kStyle, "EXLIST_SORTDESCENDING", 0x20),
    Style(kStyle, "EXLIST_NOCOLUMNHEADER", 0x4000),
    Tooltip(),
    Border(),
};

const Row kFlashRows[] = {Style(kBorder, "BORDER", 0x800000)};

const Row kGraphRows[] = {Border(), Ext(kResource, "GRAPH_FILE", 7)};

const Row kGroupRows[] = {
    Font(),
    Computed("GROUP_ALIGN", D::RULE_BUTTON_HALIGN, D::OPT_THREE_H),
    BackColor(),
};

// GUI, PANEL and PROPERTY.
const Row kBorderOnlyRows[] = {Border()};

const Row kImageEditorRows[] = {Border(), Ext(kResource, "IMAGEEDITOR_FILE", 7)};

const Row kLabelRows[] = {
    Font(),
    Ext(kStyle, "LABEL_HALIGN", 7, D::OPT_THREE_H),
    Ext(kStyle, "LABEL_VALIGN", 7, D::OPT_THREE_V),
    Tooltip(),
    Border(),
    Transparent(),
    BackColor(),
    TextColor(),
    Ext(kResource, "LABEL_TEXT", 7),
    Ext(kResource, "LABEL_IMAGE", 7),
    Ext(kResource, "LABEL_IMAGEDRAWMODE", 7, D::OPT_DRAW_MODES),
};

const Row kLcdRows[] = {
    Ext(kStyle, "LCD_HALIGN", 7, D::OPT_FOUR_H),
    Tooltip(),
    Ext(kValue, "LCD_PIXELWIDTH", 4),
    Ext(kValue, "LCD_PIXELHEIGHT", 4),
    Ext(kValue, "LCD_CHARCOUNT", 4),
    Ext(kValue, "LCD_LINECOUNT", 4),
    Ext(kValue, "LCD_SCROLL", 1),
    Ext(kValue, "LCD_SCROLLSPEED", 5),
    Border(),
    BackColor(),
    TextColor(),
    Ext(kColor, "LCD_CELLCOLOR", 2),
    Ext(kResource, "LCD_TEXT", 7),
};

const Row kLevelRows[] = {
    Ext(kStyle, "LEVEL_HORIZONTAL", 1),
    Ext(kStyle, "LEVEL_TICK", 1),
    Tooltip(),
    Ext(kValue, "LEVEL_CHANNELCOUNT", 4),
    Ext(kValue, "LEVEL_VALUE", 4),
    Ext(kValue, "LEVEL_MINVALUE", 4),
    Ext(kValue, "LEVEL_MAXVALUE", 4),
    Border(),
    Ext(kColor, "LEVEL_BACKCOLOR", 2),
    Ext(kColor, "LEVEL_LOWCOLOR", 2),
    Ext(kColor, "LEVEL_HIGHCOLOR", 2),
};

const Row kListRows[] = {
    Font(),
    Computed("LIST_SELECTION", D::RULE_LIST_SELECTION, D::OPT_SELECTION_MODES),
    Style(kStyle, "LIST_HSCROLL", 0x100000),
    Style(kStyle, "LIST_VSCROLL", 0x200000),
    Style(kStyle, "LIST_DISABLENOSCROLL", 0x1000),
    Style(kStyle, "LIST_NOINTEGRALHEIGHT", 0x100),
    Style(kStyle, "LIST_SORT", 0x2),
    Tooltip(),
    Ext(kValue, "LIST_CONTENT", 3),
    Border(),
    BackColor(),
    TextColor(),
    Ext(kColor, "LIST_SELBACKCOLOR", 2),
    Ext(kColor, "LIST_SELTEXTCOLOR", 2),
    Ext(kResource, "LIST_FILE", 7),
};

const Row kMediaRows[] = {
    Font(),
    Ext(kSkin, "MEDIA_SHAPE", 1),
    Ext(kStyle, "MEDIA_HALIGN", 7, D::OPT_THREE_H),
    Ext(kStyle, "MEDIA_VALIGN", 7, D::OPT_THREE_V),
    Ext(kStyle, "MEDIA_WRAPPING", 1),
    Ext(kStyle, "MEDIA_TRIMMING", 1),
    Ext(kStyle, "MEDIA_TAGS", 1),
    Ext(kStyle, "MEDIA_BUTTON", 1),
    Tooltip(),
    Ext(kValue, "MEDIA_LEFTMARGIN", 4),
    Ext(kValue, "MEDIA_TOPMARGIN", 4),
    Ext(kValue, "MEDIA_RIGHTMARGIN", 4),
    Ext(kValue, "MEDIA_BOTTOMMARGIN", 4),
    Ext(kValue, "MEDIA_AUTOSCROLLX", 4),
    Ext(kValue, "MEDIA_AUTOSCROLLY", 4),
    Ext(kValue, "MEDIA_AUTOSCROLLLOOP", 1),
    Ext(kValue, "MEDIA_CHECKED", 1),
    Border(),
    Transparent(),
    BackColor(),
    TextColor(),
    Ext(kColor, "MEDIA_LINKCOLOR", 2),
    Ext(kResource, "MEDIA_TEXT", 7),
    Ext(kResource, "MEDIA_IMAGE", 7),
    Ext(kResource, "MEDIA_IMAGEDRAWMODE", 7, D::OPT_DRAW_MODES),
    Ext(kResource, "MEDIA_BUTTONOVER", 7),
    Ext(kResource, "MEDIA_BUTTONPUSH", 7),
    Ext(kResource, "MEDIA_BUTTONCHECK", 7),
    Ext(kResource, "MEDIA_BUTTONDISABLED", 7),
};

const Row kMediaPlayerRows[] = {Ext(kValue, "MEDIAPLAYER_LOOP", 1)};

const Row kProgressRows[] = {
    Style(kStyle, "PROGRESS_VERTICAL", 0x4), Style(kStyle, "PROGRESS_SMOOTH", 0x1),
    Style(kStyle, "PROGRESS_MARQUEE", 0x8),  Tooltip(),
    Ext(kValue, "PROGRESS_VALUE", 4),        Ext(kValue, "PROGRESS_MINVALUE", 4),
    Ext(kValue, "PROGRESS_MAXVALUE", 4),
};

const Row kRadioRows[] = {
    Font(),   Tooltip(),   Ext(kValue, "RADIO_CHECKED", 1), ExtInt(kValue, "RADIO_GROUP", 4),
    Border(), BackColor(),
};

const Row kRichEditRows[] = {
    Font(),
    Style(kStyle, "RICHEDIT_AUTOHSCROLL", 0x80),
    Style(kStyle, "RICHEDIT_AUTOVSCROLL", 0x40),
    Style(kStyle, "RICHEDIT_HSCROLL", 0x100000),
    Style(kStyle, "RICHEDIT_VSCROLL", 0x200000),
    Style(kStyle, "RICHEDIT_READONLY", 0x800),
    Style(kStyle, "RICHEDIT_NEVERHIDESELECTION", 0x100),
    Style(kStyle, "RICHEDIT_WANTRETURN", 0x1000),
    Computed("RICHEDIT_ALIGN", D::RULE_EDIT_ALIGN, D::OPT_THREE_H),
    Tooltip(),
    Style(kBorder, "RICHEDIT_SUNKEN", 0x4000),
    ExStyle(kBorder, "STATICEDGE", 0x20000),
    Ext(kResource, "RICHEDIT_FILE", 7),
};

const Row kScrollRows[] = {
    Style(kStyle, "SCROLL_VERTICAL", 0x1), Tooltip(),
    Ext(kValue, "SCROLL_VALUE", 4),        Ext(kValue, "SCROLL_MINVALUE", 4),
    Ext(kValue, "SCROLL_MAXVALUE", 4),
};

const Row kSliderRows[] = {
    Style(kStyle, "SLIDER_TOOLTIPS", 0x100),
    Style(kStyle, "SLIDER_VERTICAL", 0x2),
    Tooltip(),
    Ext(kValue, "SLIDER_VALUE", 4),
    Ext(kValue, "SLIDER_MINVALUE", 4),
    Ext(kValue, "SLIDER_MAXVALUE", 4),
    Border(),
    BackColor(),
};

const Row kSplitterRows[] = {
    Ext(kValue, "SPLITTER_COLCOUNT", 4),
    Ext(kValue, "SPLITTER_ROWCOUNT", 4),
    Ext(kValue, "SPLITTER_WINDOWBACKCOLOR", 2),
    Border(),
};

const Row kSpreadRows[] = {Border(), Ext(kResource, "SPREAD_FILE", 7)};

const Row kStaticRows[] = {
    Ext(kBorder, "STATIC_EDGE", 7, D::OPT_EDGES),
    Ext(kBorder, "STATIC_LEFTBORDER", 1),
    Ext(kBorder, "STATIC_TOPBORDER", 1),
    Ext(kBorder, "STATIC_RIGHTBORDER", 1),
    Ext(kBorder, "STATIC_BOTTOMBORDER", 1),
    BackColor(),
    Ext(kResource, "STATIC_IMAGE", 7),
    Ext(kResource, "STATIC_IMAGEDRAWMODE", 7, D::OPT_DRAW_MODES),
};

const Row kTabRows[] = {
    Font(),
    Computed("TAB_TYPE", D::RULE_TAB_TYPE, D::OPT_TAB_TYPES),
    Style(kStyle, "TAB_TOOLTIPS", 0x4000),
    Style(kStyle, "TAB_FOCUSONBUTTONDOWN", 0x1000),
    Style(kStyle, "TAB_FOCUSNEVER", 0x8000),
    Ext(kValue, "TAB_CONTENT", 3),
    Ext(kValue, "TAB_TIPCONTENT", 3),
    Ext(kValue, "TAB_SELECTION", 4),
};

const Row kTabDocRows[] = {
    Font(),
    ExtInt(kStyle, "TABDOC_CLOSE", 1),
    ExtInt(kStyle, "TABDOC_MOVE", 1),
    Ext(kValue, "TABDOC_CONTENT", 3),
    Ext(kValue, "TABDOC_SELECTION", 4),
    Border(),
    BackColor(),
    Ext(kColor, "TABDOC_BACKCOLOR", 2),
    Ext(kColor, "TABDOC_BACKSELCOLOR", 2),
    Ext(kColor, "TABDOC_TEXTCOLOR", 2),
    Ext(kColor, "TABDOC_TEXTSELCOLOR", 2),
    Ext(kColor, "TABDOC_WINDOWBACKCOLOR", 2),
};

const Row kToolBarRows[] = {
    Style(kStyle, "TOOLBAR_TOOLTIPS", 0x100), Ext(kStyle, "TOOLBAR_TRANSPARENT", 1),
    Ext(kValue, "TOOLBAR_IMAGEWIDTH", 4),     Ext(kValue, "TOOLBAR_IMAGEHEIGHT", 4),
    Ext(kValue, "TOOLBAR_CONTENT", 3),        Border(),
};

const Row kTreeRows[] = {
    Font(),
    Style(kStyle, "TREE_CHECKBOXES", 0x100),
    NotStyle(kStyle, "TREE_DRAGDROP", 0x10),
    Style(kStyle, "TREE_EDITLABELS", 0x8),
    Style(kStyle, "TREE_FULLROWSELECT", 0x1000),
    Style(kStyle, "TREE_HASBUTTONS", 0x1),
    Style(kStyle, "TREE_HASLINES", 0x2),
    Style(kStyle, "TREE_LINESATROOT", 0x4),
    Style(kStyle, "TREE_NEVERHIDESELECTION", 0x20),
    Style(kStyle, "TREE_HOTTRACKING", 0x200),
    Border(),
    Ext(kResource, "TREE_FILE", 7),
};

const Row kWaveEditorRows[] = {
    Ext(kStyle, "WAVEEDITOR_POPUPMENU", 1),
    Border(),
    Ext(kColor, "WAVEEDITOR_COLORBACKENABLED", 2),
    Ext(kColor, "WAVEEDITOR_COLORBACKDISABLED", 2),
    Ext(kColor, "WAVEEDITOR_COLORLINE", 2),
    Ext(kColor, "WAVEEDITOR_COLORCARET", 2),
    Ext(kColor, "WAVEEDITOR_COLORCARETPLAY", 2),
    Ext(kColor, "WAVEEDITOR_COLORWAVEENABLED", 2),
    Ext(kColor, "WAVEEDITOR_COLORWAVEDISABLED", 2),
    Ext(kColor, "WAVEEDITOR_COLORPROGRESSBACK", 2),
    Ext(kColor, "WAVEEDITOR_COLORPROGRESSSTART", 2),
    Ext(kColor, "WAVEEDITOR_COLORPROGRESSEND", 2),
    Ext(kResource, "WAVEEDITOR_FILE", 7),
    Ext(kLink, "WAVEEDITOR_LEVEL", 7, D::OPT_LEVEL_CONTROLS),
};

const Row kWindowRows[] = {Border(), Transparent(), BackColor()};

const Row kExternRows[] = {
    Ext(kValue, "EXTERN_NAME", 0),
    Ext(kValue, "EXTERN_FILENAME", 0),
    Border(),
    Declared(),
};

struct TypeRows {
  const Row* rows;
  int count;
};

template <size_t N>
constexpr TypeRows Rows(const Row (&rows)[N]) {
  return {rows, int(N)};
}

const TypeRows kTypeRows[] = {
    Rows(kDialogRows),       Rows(kBinaryRows),      Rows(kBrowserRows),    Rows(kButtonRows),
    Rows(kCheckRows),        Rows(kCodeEditRows),    Rows(kComboRows),      Rows(kEditRows),
    Rows(kExtendedListRows), Rows(kFlashRows),       Rows(kGraphRows),      Rows(kGroupRows),
    Rows(kBorderOnlyRows),   Rows(kImageEditorRows), Rows(kLabelRows),      Rows(kLcdRows),
    Rows(kLevelRows),        Rows(kListRows),        Rows(kMediaRows),      Rows(kMediaPlayerRows),
    Rows(kBorderOnlyRows),   Rows(kProgressRows),    Rows(kBorderOnlyRows), Rows(kRadioRows),
    Rows(kRichEditRows),     Rows(kScrollRows),      Rows(kSliderRows),     Rows(kSplitterRows),
    Rows(kSpreadRows),       Rows(kStaticRows),      Rows(kTabRows),        Rows(kTabDocRows),
    Rows(kToolBarRows),      Rows(kTreeRows),        Rows(kWaveEditorRows), Rows(kWindowRows),
    Rows(kExternRows),
};
static_assert(sizeof(kTypeRows) / sizeof(kTypeRows[0]) == D::TYPE_COUNT,
              "one row table per record type");

}  // namespace

const SDialogDesigner::_SPropertyRow* SDialogDesigner::GetGeneralRows(int* count) {
  if (count) *count = int(sizeof(kGeneralRows) / sizeof(kGeneralRows[0]));
  return kGeneralRows;
}

const SDialogDesigner::_SPropertyRow* SDialogDesigner::GetBorderRows(int* count) {
  if (count) *count = int(sizeof(kBorderRows) / sizeof(kBorderRows[0]));
  return kBorderRows;
}

const SDialogDesigner::_SPropertyRow* SDialogDesigner::GetTypeRows(int type, int* count) {
  bool known = type >= 0 && type < TYPE_COUNT;
  if (count) *count = known ? kTypeRows[type].count : 0;
  return known ? kTypeRows[type].rows : nullptr;
}
