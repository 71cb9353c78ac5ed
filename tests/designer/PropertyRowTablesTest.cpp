#include "core/Platform.h"
#include "SurfaceTestSupport.h"

#include <sstream>

namespace {

typedef SDialogDesigner D;
typedef D::_SPropertyRow Row;

// The rows of every record type as their definitions give them, type by
// type ("#type;" first): group, key ("-" for none), kind and where the
// value comes from; ";" after each row.
const char kTypeRows[] = R"(
#0; $GENERAL FONT 6 font; $SKIN DIALOG_LAYER 1 ext; $SKIN DIALOG_SHAPE 1 ext;
 $STYLE DIALOG_CAPTION 1 style 0xC00000; $STYLE DIALOG_BUTTON 1 style 0x80000;
 $STYLE DIALOG_NOCLOSE 1 ext; $STYLE DIALOG_MAXIMIZEBOX 1 style 0x10000;
 $STYLE DIALOG_MINIMIZEBOX 1 style 0x20000; $STYLE DIALOG_RESIZE 1 style 0x40000;
 $STYLE DIALOG_TOOLWINDOW 1 exstyle 0x80; $STYLE DIALOG_MAXIMIZED 1 ext;
 $STYLE DIALOG_MINIMIZED 1 ext; $STYLE DIALOG_TOPMOST 1 exstyle 0x8;
 $STYLE DIALOG_MINSIZE 1 ext; $STYLE DIALOG_MAXSIZE 1 ext; $STYLE DIALOG_DRAGFILES 1 ext;
 $STYLE DIALOG_MOVEWITHMOUSE 1 ext; $STYLE DIALOG_NOMODALRETURN 1 ext;
 $STYLE DIALOG_NOMODALESCAPE 1 ext; $VALUE DIALOG_STATUSBARTEXT 3 ext;
 $VALUE DIALOG_FOCUS 7 ext:all controls; $BORDER - 1 border; $COLOR BACKCOLOR 2 back colour;
 $RESOURCE DIALOG_ICON 7 ext; $RESOURCE DIALOG_IMAGE 7 ext;
 $RESOURCE DIALOG_IMAGEDRAWMODE 7 ext:draw modes; $RESOURCE DIALOG_MENU 7 ext;
 $RESOURCE DIALOG_TOOLBAR 7 ext;
#1; $BORDER - 1 border; $RESOURCE BINARY_FILE 7 ext;
#2; $STYLE BROWSER_DIALOGS 1 ext; $VALUE BROWSER_URL 3 ext; $BORDER BORDER 1 style 0x800000;
 $RESOURCE BROWSER_FILE 7 ext;
#3; $GENERAL FONT 6 font; $STYLE BUTTON_DEFAULT 1 style 0x1;
 $STYLE BUTTON_FLAT 1 style 0x8000; $STYLE BUTTON_MULTILINE 1 style 0x2000;
 $STYLE BUTTON_HALIGN 7 computed:three horizontal;
 $STYLE BUTTON_VALIGN 7 computed:three vertical; $VALUE TOOLTIP 3 ext;
 $COLOR BACKCOLOR 2 back colour;
#4; $GENERAL FONT 6 font; $VALUE TOOLTIP 3 ext; $VALUE CHECK_CHECKED 1 ext;
 $BORDER - 1 border; $COLOR BACKCOLOR 2 back colour;
#5; $GENERAL FONT 6 font; $STYLE CODEEDIT_BR 1 ext; $STYLE CODEEDIT_COMMENT 1 ext;
 $STYLE CODEEDIT_FINDREPLACELOCAL 1 ext; $STYLE CODEEDIT_INDENT 1 ext;
 $STYLE CODEEDIT_SINGLELINE 1 ext; $STYLE CODEEDIT_STRINGS 1 ext;
 $STYLE CODEEDIT_UPPERWORDS 1 ext; $STYLE CODEEDIT_SHOWNUMBER 1 ext;
 $STYLE CODEEDIT_READONLY 1 ext; $VALUE TOOLTIP 3 ext; $VALUE CODEEDIT_BARWIDTH 4 ext;
 $VALUE CODEEDIT_TABSIZE 4 ext; $VALUE CODEEDIT_SELECTALL 1 ext; $BORDER - 1 border;
 $COLOR CODEEDIT_BACKCOLOR 2 ext; $COLOR CODEEDIT_BACKFOCUSCOLOR 2 ext;
 $COLOR CODEEDIT_BARCOLOR 2 ext; $COLOR CODEEDIT_BARGRAYCOLOR 2 ext;
 $COLOR CODEEDIT_BARCHECKCOLOR 2 ext; $COLOR CODEEDIT_BARMARKCOLOR 2 ext;
 $COLOR CODEEDIT_TEXTCOLOR 2 ext; $COLOR CODEEDIT_TEXTKEYCOLOR 2 ext;
 $COLOR CODEEDIT_TEXTSTRCOLOR 2 ext; $COLOR CODEEDIT_TEXTUPCOLOR 2 ext;
 $COLOR CODEEDIT_TEXTCOMMENTCOLOR 2 ext; $COLOR CODEEDIT_HIGHLIGHTCOLOR 2 ext;
 $RESOURCE CODEEDIT_FILE 7 ext;
#6; $GENERAL FONT 6 font; $STYLE COMBO_TYPE 7 computed:combo types;
 $STYLE COMBO_AUTOHSCROLL 1 style 0x40; $STYLE COMBO_DISABLENOSCROLL 1 style 0x800;
 $STYLE COMBO_NOINTEGRALHEIGHT 1 style 0x400; $STYLE COMBO_SORT 1 style 0x100;
 $STYLE COMBO_VSCROLL 1 style 0x200000; $VALUE TOOLTIP 3 ext; $VALUE COMBO_CONTENT 3 ext;
 $RESOURCE COMBO_FILE 7 ext;
#7; $GENERAL FONT 6 font; $STYLE EDIT_AUTOHSCROLL 1 style 0x80;
 $STYLE EDIT_AUTOVSCROLL 1 style 0x40; $STYLE EDIT_HSCROLL 1 style 0x100000;
 $STYLE EDIT_VSCROLL 1 style 0x200000; $STYLE EDIT_READONLY 1 style 0x800;
 $STYLE EDIT_NEVERHIDESELECTION 1 style 0x100; $STYLE EDIT_ALIGN 7 computed:three horizontal;
 $STYLE EDIT_LOWER 1 style 0x10; $STYLE EDIT_UPPER 1 style 0x8;
 $STYLE EDIT_MULTILINE 1 style 0x4; $STYLE EDIT_PASSWORD 1 style 0x20;
 $STYLE EDIT_NUMBER 1 style 0x2000; $STYLE EDIT_NOPOPUPMENU 1 ext; $VALUE TOOLTIP 3 ext;
 $VALUE EDIT_SELECTALL 1 ext; $VALUE EDIT_MAXLENGTH 4 ext; $BORDER - 1 border;
 $COLOR BACKCOLOR 2 back colour; $COLOR TEXTCOLOR 2 text colour; $RESOURCE EDIT_TEXT 7 ext;
#8; $GENERAL FONT 6 font; $STYLE EXLIST_TYPE 7 computed:list-view types;
 $STYLE EXLIST_EDITLABELS 1 style 0x200; $STYLE EXLIST_AUTOARRANGE 1 style 0x100;
 $STYLE EXLIST_FULLROWSELECT 1 ext; $STYLE EXLIST_GRIDLINES 1 ext;
 $STYLE EXLIST_SINGLESELECTION 1 style 0x4; $STYLE EXLIST_NOLABELWRAP 1 style 0x80;
 $STYLE EXLIST_NOSCROLL 1 style 0x2000; $STYLE EXLIST_NEVERHIDESELECTION 1 style 0x8;
 $STYLE EXLIST_SORTASCENDING 1 style 0x10; $STYLE EXLIST_SORTDESCENDING 1 style 0x20;
 $STYLE EXLIST_NOCOLUMNHEADER 1 style 0x4000; $VALUE TOOLTIP 3 ext; $BORDER - 1 border;
#9; $BORDER BORDER 1 style 0x800000;
#10; $BORDER - 1 border; $RESOURCE GRAPH_FILE 7 ext;
#11; $GENERAL FONT 6 font; $STYLE GROUP_ALIGN 7 computed:three horizontal;
 $COLOR BACKCOLOR 2 back colour;
#12; $BORDER - 1 border;
#13; $BORDER - 1 border; $RESOURCE IMAGEEDITOR_FILE 7 ext;
#14; $GENERAL FONT 6 font; $STYLE LABEL_HALIGN 7 ext:three horizontal;
 $STYLE LABEL_VALIGN 7 ext:three vertical; $VALUE TOOLTIP 3 ext; $BORDER - 1 border;
 $COLOR TRANSPARENT 1 transparent; $COLOR BACKCOLOR 2 back colour;
 $COLOR TEXTCOLOR 2 text colour; $RESOURCE LABEL_TEXT 7 ext; $RESOURCE LABEL_IMAGE 7 ext;
 $RESOURCE LABEL_IMAGEDRAWMODE 7 ext:draw modes;
#15; $STYLE LCD_HALIGN 7 ext:four horizontal; $VALUE TOOLTIP 3 ext;
 $VALUE LCD_PIXELWIDTH 4 ext; $VALUE LCD_PIXELHEIGHT 4 ext; $VALUE LCD_CHARCOUNT 4 ext;
 $VALUE LCD_LINECOUNT 4 ext; $VALUE LCD_SCROLL 1 ext; $VALUE LCD_SCROLLSPEED 5 ext;
 $BORDER - 1 border; $COLOR BACKCOLOR 2 back colour; $COLOR TEXTCOLOR 2 text colour;
 $COLOR LCD_CELLCOLOR 2 ext; $RESOURCE LCD_TEXT 7 ext;
#16; $STYLE LEVEL_HORIZONTAL 1 ext; $STYLE LEVEL_TICK 1 ext; $VALUE TOOLTIP 3 ext;
 $VALUE LEVEL_CHANNELCOUNT 4 ext; $VALUE LEVEL_VALUE 4 ext; $VALUE LEVEL_MINVALUE 4 ext;
 $VALUE LEVEL_MAXVALUE 4 ext; $BORDER - 1 border; $COLOR LEVEL_BACKCOLOR 2 ext;
 $COLOR LEVEL_LOWCOLOR 2 ext; $COLOR LEVEL_HIGHCOLOR 2 ext;
#17; $GENERAL FONT 6 font; $STYLE LIST_SELECTION 7 computed:selection modes;
 $STYLE LIST_HSCROLL 1 style 0x100000; $STYLE LIST_VSCROLL 1 style 0x200000;
 $STYLE LIST_DISABLENOSCROLL 1 style 0x1000; $STYLE LIST_NOINTEGRALHEIGHT 1 style 0x100;
 $STYLE LIST_SORT 1 style 0x2; $VALUE TOOLTIP 3 ext; $VALUE LIST_CONTENT 3 ext;
 $BORDER - 1 border; $COLOR BACKCOLOR 2 back colour; $COLOR TEXTCOLOR 2 text colour;
 $COLOR LIST_SELBACKCOLOR 2 ext; $COLOR LIST_SELTEXTCOLOR 2 ext; $RESOURCE LIST_FILE 7 ext;
#18; $GENERAL FONT 6 font; $SKIN MEDIA_SHAPE 1 ext;
 $STYLE MEDIA_HALIGN 7 ext:three horizontal; $STYLE MEDIA_VALIGN 7 ext:three vertical;
 $STYLE MEDIA_WRAPPING 1 ext; $STYLE MEDIA_TRIMMING 1 ext; $STYLE MEDIA_TAGS 1 ext;
 $STYLE MEDIA_BUTTON 1 ext; $VALUE TOOLTIP 3 ext; $VALUE MEDIA_LEFTMARGIN 4 ext;
 $VALUE MEDIA_TOPMARGIN 4 ext; $VALUE MEDIA_RIGHTMARGIN 4 ext;
 $VALUE MEDIA_BOTTOMMARGIN 4 ext; $VALUE MEDIA_AUTOSCROLLX 4 ext;
 $VALUE MEDIA_AUTOSCROLLY 4 ext; $VALUE MEDIA_AUTOSCROLLLOOP 1 ext;
 $VALUE MEDIA_CHECKED 1 ext; $BORDER - 1 border; $COLOR TRANSPARENT 1 transparent;
 $COLOR BACKCOLOR 2 back colour; $COLOR TEXTCOLOR 2 text colour; $COLOR MEDIA_LINKCOLOR 2 ext;
 $RESOURCE MEDIA_TEXT 7 ext; $RESOURCE MEDIA_IMAGE 7 ext;
 $RESOURCE MEDIA_IMAGEDRAWMODE 7 ext:draw modes; $RESOURCE MEDIA_BUTTONOVER 7 ext;
 $RESOURCE MEDIA_BUTTONPUSH 7 ext; $RESOURCE MEDIA_BUTTONCHECK 7 ext;
 $RESOURCE MEDIA_BUTTONDISABLED 7 ext;
#19; $VALUE MEDIAPLAYER_LOOP 1 ext;
#20; $BORDER - 1 border;
#21; $STYLE PROGRESS_VERTICAL 1 style 0x4; $STYLE PROGRESS_SMOOTH 1 style 0x1;
 $STYLE PROGRESS_MARQUEE 1 style 0x8; $VALUE TOOLTIP 3 ext; $VALUE PROGRESS_VALUE 4 ext;
 $VALUE PROGRESS_MINVALUE 4 ext; $VALUE PROGRESS_MAXVALUE 4 ext;
#22; $BORDER - 1 border;
#23; $GENERAL FONT 6 font; $VALUE TOOLTIP 3 ext; $VALUE RADIO_CHECKED 1 ext;
 $VALUE RADIO_GROUP 4 ext int; $BORDER - 1 border; $COLOR BACKCOLOR 2 back colour;
#24; $GENERAL FONT 6 font; $STYLE RICHEDIT_AUTOHSCROLL 1 style 0x80;
 $STYLE RICHEDIT_AUTOVSCROLL 1 style 0x40; $STYLE RICHEDIT_HSCROLL 1 style 0x100000;
 $STYLE RICHEDIT_VSCROLL 1 style 0x200000; $STYLE RICHEDIT_READONLY 1 style 0x800;
 $STYLE RICHEDIT_NEVERHIDESELECTION 1 style 0x100; $STYLE RICHEDIT_WANTRETURN 1 style 0x1000;
 $STYLE RICHEDIT_ALIGN 7 computed:three horizontal; $VALUE TOOLTIP 3 ext;
 $BORDER RICHEDIT_SUNKEN 1 style 0x4000; $BORDER STATICEDGE 1 exstyle 0x20000;
 $RESOURCE RICHEDIT_FILE 7 ext;
#25; $STYLE SCROLL_VERTICAL 1 style 0x1; $VALUE TOOLTIP 3 ext; $VALUE SCROLL_VALUE 4 ext;
 $VALUE SCROLL_MINVALUE 4 ext; $VALUE SCROLL_MAXVALUE 4 ext;
#26; $STYLE SLIDER_TOOLTIPS 1 style 0x100; $STYLE SLIDER_VERTICAL 1 style 0x2;
 $VALUE TOOLTIP 3 ext; $VALUE SLIDER_VALUE 4 ext; $VALUE SLIDER_MINVALUE 4 ext;
 $VALUE SLIDER_MAXVALUE 4 ext; $BORDER - 1 border; $COLOR BACKCOLOR 2 back colour;
#27; $VALUE SPLITTER_COLCOUNT 4 ext; $VALUE SPLITTER_ROWCOUNT 4 ext;
 $VALUE SPLITTER_WINDOWBACKCOLOR 2 ext; $BORDER - 1 border;
#28; $BORDER - 1 border; $RESOURCE SPREAD_FILE 7 ext;
#29; $BORDER STATIC_EDGE 7 ext:edges; $BORDER STATIC_LEFTBORDER 1 ext;
 $BORDER STATIC_TOPBORDER 1 ext; $BORDER STATIC_RIGHTBORDER 1 ext;
 $BORDER STATIC_BOTTOMBORDER 1 ext; $COLOR BACKCOLOR 2 back colour;
 $RESOURCE STATIC_IMAGE 7 ext; $RESOURCE STATIC_IMAGEDRAWMODE 7 ext:draw modes;
#30; $GENERAL FONT 6 font; $STYLE TAB_TYPE 7 computed:tab types;
 $STYLE TAB_TOOLTIPS 1 style 0x4000; $STYLE TAB_FOCUSONBUTTONDOWN 1 style 0x1000;
 $STYLE TAB_FOCUSNEVER 1 style 0x8000; $VALUE TAB_CONTENT 3 ext; $VALUE TAB_TIPCONTENT 3 ext;
 $VALUE TAB_SELECTION 4 ext;
#31; $GENERAL FONT 6 font; $STYLE TABDOC_CLOSE 1 ext int; $STYLE TABDOC_MOVE 1 ext int;
 $VALUE TABDOC_CONTENT 3 ext; $VALUE TABDOC_SELECTION 4 ext; $BORDER - 1 border;
 $COLOR BACKCOLOR 2 back colour; $COLOR TABDOC_BACKCOLOR 2 ext;
 $COLOR TABDOC_BACKSELCOLOR 2 ext; $COLOR TABDOC_TEXTCOLOR 2 ext;
 $COLOR TABDOC_TEXTSELCOLOR 2 ext; $COLOR TABDOC_WINDOWBACKCOLOR 2 ext;
#32; $STYLE TOOLBAR_TOOLTIPS 1 style 0x100; $STYLE TOOLBAR_TRANSPARENT 1 ext;
 $VALUE TOOLBAR_IMAGEWIDTH 4 ext; $VALUE TOOLBAR_IMAGEHEIGHT 4 ext;
 $VALUE TOOLBAR_CONTENT 3 ext; $BORDER - 1 border;
#33; $GENERAL FONT 6 font; $STYLE TREE_CHECKBOXES 1 style 0x100;
 $STYLE TREE_DRAGDROP 1 not style 0x10; $STYLE TREE_EDITLABELS 1 style 0x8;
 $STYLE TREE_FULLROWSELECT 1 style 0x1000; $STYLE TREE_HASBUTTONS 1 style 0x1;
 $STYLE TREE_HASLINES 1 style 0x2; $STYLE TREE_LINESATROOT 1 style 0x4;
 $STYLE TREE_NEVERHIDESELECTION 1 style 0x20; $STYLE TREE_HOTTRACKING 1 style 0x200;
 $BORDER - 1 border; $RESOURCE TREE_FILE 7 ext;
#34; $STYLE WAVEEDITOR_POPUPMENU 1 ext; $BORDER - 1 border;
 $COLOR WAVEEDITOR_COLORBACKENABLED 2 ext; $COLOR WAVEEDITOR_COLORBACKDISABLED 2 ext;
 $COLOR WAVEEDITOR_COLORLINE 2 ext; $COLOR WAVEEDITOR_COLORCARET 2 ext;
 $COLOR WAVEEDITOR_COLORCARETPLAY 2 ext; $COLOR WAVEEDITOR_COLORWAVEENABLED 2 ext;
 $COLOR WAVEEDITOR_COLORWAVEDISABLED 2 ext; $COLOR WAVEEDITOR_COLORPROGRESSBACK 2 ext;
 $COLOR WAVEEDITOR_COLORPROGRESSSTART 2 ext; $COLOR WAVEEDITOR_COLORPROGRESSEND 2 ext;
 $RESOURCE WAVEEDITOR_FILE 7 ext; $LINK WAVEEDITOR_LEVEL 7 ext:level controls;
#35; $BORDER - 1 border; $COLOR TRANSPARENT 1 transparent; $COLOR BACKCOLOR 2 back colour;
#36; $VALUE EXTERN_NAME 0 ext; $VALUE EXTERN_FILENAME 0 ext; $BORDER - 1 border;
 $EXTRA - 0 declared;
)";

// The general rows and their conditions (1 single, 2 same type, 4 not the
// dialog, 8 offered caption).
const char kGeneralRows[] = R"(
$GENERAL TYPE 0 type 3; $GENERAL ID 0 id 7; $GENERAL NAME 3 name 7; $GENERAL CAPTION 3 caption 8;
$GENERAL VISIBLE 1 style 0x10000000 0; $GENERAL ENABLED 1 not style 0x8000000 0;
$GENERAL TABENABLED 1 ext 4; $GENERAL TABGROUP 4 ext 4; $GENERAL TABINDEX 4 ext 4;
$POSITION X 4 x 4; $POSITION Y 4 y 4; $POSITION WIDTH 4 width 0; $POSITION HEIGHT 4 height 0;
$POSITION HALIGN 7 anchor:horizontal anchoring 4; $POSITION VALIGN 7 anchor:vertical anchoring 4;
$BORDER BORDER 1 style 0x800000 2; $BORDER CLIENTEDGE 1 exstyle 0x200 2;
$BORDER STATICEDGE 1 exstyle 0x20000 2;)";

std::vector<std::string> Pieces(const char* text) {
  std::string all;
  for (const char* c = text; *c; ++c) all += *c == '\n' ? ' ' : *c;
  std::vector<std::string> pieces;
  std::stringstream stream(all);
  std::string piece;
  while (std::getline(stream, piece, ';')) {
    size_t first = piece.find_first_not_of(' '), last = piece.find_last_not_of(' ');
    if (first != std::string::npos) pieces.push_back(piece.substr(first, last - first + 1));
  }
  return pieces;
}

const char* const kOptionNames[D::OPT_COUNT] = {"",
                                                "horizontal anchoring",
                                                "vertical anchoring",
                                                "three horizontal",
                                                "three vertical",
                                                "four horizontal",
                                                "draw modes",
                                                "combo types",
                                                "list-view types",
                                                "selection modes",
                                                "edges",
                                                "tab types",
                                                "all controls",
                                                "level controls"};

// A row in the notation of the definitions.
std::string Describe(const Row& r, bool conditions) {
  char mask[16];
  snprintf(mask, sizeof(mask), "0x%X", unsigned(r.mask));
  std::string value;
  switch (r.source) {
    case D::SRC_TYPE:
      value = "type";
      break;
    case D::SRC_ID:
      value = "id";
      break;
    case D::SRC_NAME:
      value = "name";
      break;
    case D::SRC_CAPTION:
      value = "caption";
      break;
    case D::SRC_X:
      value = "x";
      break;
    case D::SRC_Y:
      value = "y";
      break;
    case D::SRC_WIDTH:
      value = "width";
      break;
    case D::SRC_HEIGHT:
      value = "height";
      break;
    case D::SRC_HALIGN:
    case D::SRC_VALIGN:
      value = "anchor";
      break;
    case D::SRC_EXT:
      value = "ext";
      break;
    case D::SRC_EXT_INT:
      value = "ext int";
      break;
    case D::SRC_STYLE:
      value = std::string("style ") + mask;
      break;
    case D::SRC_NOT_STYLE:
      value = std::string("not style ") + mask;
      break;
    case D::SRC_EXSTYLE:
      value = std::string("exstyle ") + mask;
      break;
    case D::SRC_BACKCOLOR:
      value = "back colour";
      break;
    case D::SRC_TEXTCOLOR:
      value = "text colour";
      break;
    case D::SRC_TRANSPARENT:
      value = "transparent";
      break;
    case D::SRC_FONT:
      value = "font";
      break;
    case D::SRC_COMPUTED:
      value = "computed";
      break;
    case D::SRC_BORDER_ROWS:
      value = "border";
      break;
    case D::SRC_DECLARED:
      value = "declared";
      break;
  }
  if (r.options != D::OPT_NONE) value += std::string(":") + kOptionNames[r.options];
  std::string out = std::string(r.group) + " " + (r.key ? r.key : "-") + " " +
                    std::to_string(r.kind) + " " + value;
  return conditions ? out + " " + std::to_string(r.conditions) : out;
}

// The computed rows' rules, by key.
struct RuleOf {
  const char* key;
  int rule;
};
const RuleOf kRules[] = {{"BUTTON_HALIGN", D::RULE_BUTTON_HALIGN},
                         {"GROUP_ALIGN", D::RULE_BUTTON_HALIGN},
                         {"BUTTON_VALIGN", D::RULE_BUTTON_VALIGN},
                         {"EDIT_ALIGN", D::RULE_EDIT_ALIGN},
                         {"RICHEDIT_ALIGN", D::RULE_EDIT_ALIGN},
                         {"COMBO_TYPE", D::RULE_COMBO_TYPE},
                         {"EXLIST_TYPE", D::RULE_EXLIST_TYPE},
                         {"LIST_SELECTION", D::RULE_LIST_SELECTION},
                         {"TAB_TYPE", D::RULE_TAB_TYPE}};

}  // namespace

TEST(PropertyRowTables, EveryTypesRowsMatchTheirDefinitionsRowByRow) {
  std::vector<std::string> expected = Pieces(kTypeRows);
  std::vector<std::string> actual;
  for (int type = 0; type < D::TYPE_COUNT; ++type) {
    actual.push_back("#" + std::to_string(type));
    int count = 0;
    const Row* rows = D::GetTypeRows(type, &count);
    for (int i = 0; i < count; ++i) {
      actual.push_back(Describe(rows[i], false));
      // Only the three colour rows merge over types; no row is single-only.
      bool merges = rows[i].source == D::SRC_BACKCOLOR || rows[i].source == D::SRC_TEXTCOLOR ||
                    rows[i].source == D::SRC_TRANSPARENT;
      EXPECT_EQ(merges ? 0 : D::ROW_SAME_TYPE, rows[i].conditions) << Describe(rows[i], false);
      if (rows[i].source != D::SRC_COMPUTED) continue;
      int rule = -1;
      for (const RuleOf& r : kRules) {
        if (strcmp(r.key, rows[i].key) == 0) rule = r.rule;
      }
      EXPECT_EQ(rule, int(rows[i].mask)) << rows[i].key;
    }
  }
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(expected[i], actual[i]) << i;
  int count = 0;
  EXPECT_EQ(nullptr, D::GetTypeRows(D::TYPE_COUNT, &count));
  EXPECT_EQ(0, count);

  std::vector<std::string> general = Pieces(kGeneralRows), listed;
  const Row* rows = D::GetGeneralRows(&count);
  for (int i = 0; i < count; ++i) listed.push_back(Describe(rows[i], true));
  rows = D::GetBorderRows(&count);
  for (int i = 0; i < count; ++i) listed.push_back(Describe(rows[i], true));
  EXPECT_EQ(general, listed);
}
