// SDialogDesigner: the caption table, the tool panel's groups and their
// enabling, the context menu and the ActiveX letter submenus.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

#include "core/SStringParser.h"

#include <ctype.h>
#include <string.h>

namespace {

// Every text of the designer, as KEY=Caption. Key prefixes: "@" the context
// menu, "#" the panel, "$" the property groups, none the property rows
// (common ones, "DIALOG_" and the type keywords), "_" option values, "?"
// messages. The first line of a key wins; no key occurs twice.
const char* const kDefaultTexts[] = {
    // Edit commands of the context menu.
    "@CUT=Cut",
    "@COPY=Copy",
    "@PASTE=Paste",
    "@SELECTALL=Select All",
    "@DELETE=Delete",
    "@TEST=Test",
    "@SELECTTAB=Select",
    // Panel groups and panel commands.
    "#CONTROLS=Controls",
    "#ALIGNMENT=Alignment",
    "#ORDER=Order",
    "#MISC=Dialog",
    "#LEFT=Align Lefts",
    "#RIGHT=Align Rights",
    "#TOP=Align Tops",
    "#BOTTOM=Align Bottoms",
    "#HCENTER=Horizontal Center",
    "#VCENTER=Vertical Center",
    "#WIDTH=Same Width",
    "#HEIGHT=Same Height",
    "#SIZE=Same Size",
    "#CROP=Crop Back Image",
    "#HSPACE=Horizontal Space",
    "#VSPACE=Vertical Space",
    "#NOHSPACE=No Horizontal Spacing",
    "#NOVSPACE=No Vertical Spacing",
    "#FRONT=To Front",
    "#BACK=To Back",
    "#FORWARD=Forward",
    "#BACKWARD=Backward",
    "#GRID=Grid",
    "#SNAP=Snap to Grid",
    "#TEST=Test Dialog",
    // Property groups of the property grid.
    "$GENERAL=General",
    "$POSITION=Position",
    "$SKIN=Skin",
    "$STYLE=Style",
    "$VALUE=Value",
    "$BORDER=Border",
    "$COLOR=Color",
    "$RESOURCE=Resource",
    "$LINK=Connection",
    "$EXTRA=Extended",
    // Properties every control type shares.
    "TYPE=Type",
    "ID=ID",
    "NAME=Name",
    "CAPTION=Caption",
    "VISIBLE=Visible",
    "ENABLED=Enabled",
    "FONT=Font",
    "X=X",
    "Y=Y",
    "WIDTH=Width",
    "HEIGHT=Height",
    "HALIGN=Horz Align",
    "VALIGN=Vert Align",
    "TABENABLED=Tab",
    "TABGROUP=Tab Group",
    "TABINDEX=Tab Index",
    "BORDER=Border",
    "CLIENTEDGE=Client Edge",
    "STATICEDGE=Static Edge",
    "TOOLTIP=Tooltip",
    "RESOURCE=Resource",
    "BACKCOLOR=Background",
    "TEXTCOLOR=Text",
    "TRANSPARENT=Transparent",
    // Properties of the dialog.
    "DIALOG_LAYER=Layer",
    "DIALOG_CAPTION=Caption",
    "DIALOG_BUTTON=Buttons",
    "DIALOG_NOCLOSE=Disable Close",
    "DIALOG_MAXIMIZEBOX=Maximize Box",
    "DIALOG_MINIMIZEBOX=Minimize Box",
    "DIALOG_RESIZE=Resize",
    "DIALOG_TOOLWINDOW=Tool Window",
    "DIALOG_MAXIMIZED=Maximized",
    "DIALOG_MINIMIZED=Minimized",
    "DIALOG_TOPMOST=Top Most",
    "DIALOG_MINSIZE=Min Size",
    "DIALOG_MAXSIZE=Max Size",
    "DIALOG_DRAGFILES=Drag Files",
    "DIALOG_MOVEWITHMOUSE=Move with Mouse",
    "DIALOG_NOMODALRETURN=Disable ENTER",
    "DIALOG_NOMODALESCAPE=Disable ESCAPE",
    "DIALOG_STATUSBARTEXT=Status Bar Texts",
    "DIALOG_ICON=Icon",
    "DIALOG_IMAGE=Image",
    "DIALOG_IMAGEDRAWMODE=Image Draw Mode",
    "DIALOG_SHAPE=Shape",
    "DIALOG_MENU=Menu",
    "DIALOG_TOOLBAR=Tool Bar",
    "DIALOG_FOCUS=Focus",
    // Properties of the control types, by type keyword.
    "BINARY_FILE=File",
    "BROWSER_DIALOGS=Dialogs",
    "BROWSER_URL=URL",
    "BROWSER_FILE=File",
    "BUTTON_DEFAULT=Default",
    "BUTTON_FLAT=Flat",
    "BUTTON_MULTILINE=Multiline",
    "BUTTON_HALIGN=Horz. Alignment",
    "BUTTON_VALIGN=Vert. Alignment",
    "CHECK_CHECKED=Checked",
    "CODEEDIT_BR=BR Tag",
    "CODEEDIT_COMMENT=Comment",
    "CODEEDIT_FINDREPLACELOCAL=Local FindReplace",
    "CODEEDIT_INDENT=Indent",
    "CODEEDIT_SINGLELINE=Single Line",
    "CODEEDIT_STRINGS=Strings",
    "CODEEDIT_UPPERWORDS=Upper Words",
    "CODEEDIT_SHOWNUMBER=Show Number",
    "CODEEDIT_READONLY=Read Only",
    "CODEEDIT_BARWIDTH=Bar Width",
    "CODEEDIT_TABSIZE=Tab Size",
    "CODEEDIT_SELECTALL=Select All",
    "CODEEDIT_BACKCOLOR=Back",
    "CODEEDIT_BACKFOCUSCOLOR=Back Focus",
    "CODEEDIT_BARCOLOR=Bar",
    "CODEEDIT_BARGRAYCOLOR=Bar Gray",
    "CODEEDIT_BARCHECKCOLOR=Bar Check",
    "CODEEDIT_BARMARKCOLOR=Bar Mark",
    "CODEEDIT_TEXTCOLOR=Text",
    "CODEEDIT_TEXTKEYCOLOR=Keyword",
    "CODEEDIT_TEXTSTRCOLOR=String",
    "CODEEDIT_TEXTUPCOLOR=Upper Word",
    "CODEEDIT_TEXTCOMMENTCOLOR=Comment",
    "CODEEDIT_HIGHLIGHTCOLOR=Highlight",
    "CODEEDIT_FILE=File",
    "COMBO_TYPE=Type",
    "COMBO_AUTOHSCROLL=Auto Horz. Scroll",
    "COMBO_DISABLENOSCROLL=Disable No Scroll",
    "COMBO_NOINTEGRALHEIGHT=No Integral Height",
    "COMBO_SORT=Sort",
    "COMBO_VSCROLL=Vert. Scroll",
    "COMBO_CONTENT=Content",
    "COMBO_FILE=File",
    "EDIT_AUTOHSCROLL=Auto Horz. Scroll",
    "EDIT_AUTOVSCROLL=Auto Vert. Scroll",
    "EDIT_HSCROLL=Horz. Scroll",
    "EDIT_VSCROLL=Vert. Scroll",
    "EDIT_LOWER=Lower Case",
    "EDIT_UPPER=Upper Case",
    "EDIT_MULTILINE=Multiline",
    "EDIT_PASSWORD=Password",
    "EDIT_NUMBER=Number",
    "EDIT_READONLY=Read Only",
    "EDIT_NEVERHIDESELECTION=Never Hide Selection",
    "EDIT_ALIGN=Alignment",
    "EDIT_NOPOPUPMENU=No Popup Menu",
    "EDIT_SELECTALL=Select All",
    "EDIT_TEXT=Text",
    "EDIT_MAXLENGTH=Max Length",
    "EXLIST_TYPE=Type",
    "EXLIST_EDITLABELS=Editable",
    "EXLIST_AUTOARRANGE=Auto Arrange",
    "EXLIST_FULLROWSELECT=Full Row Select",
    "EXLIST_GRIDLINES=Grid Lines",
    "EXLIST_SINGLESELECTION=Single Selection",
    "EXLIST_NOLABELWRAP=No Label Wrap",
    "EXLIST_NOSCROLL=No Scroll",
    "EXLIST_NEVERHIDESELECTION=Never Hide Selection",
    "EXLIST_SORTASCENDING=Sort Ascending",
    "EXLIST_SORTDESCENDING=Sort Descending",
    "EXLIST_NOCOLUMNHEADER=No Column Header",
    "GRAPH_FILE=File",
    "GROUP_ALIGN=Alignment",
    "IMAGEEDITOR_FILE=File",
    "LABEL_HALIGN=Horz. Alignment",
    "LABEL_VALIGN=Vert. Alignment",
    "LABEL_TEXT=Text",
    "LABEL_IMAGE=Image",
    "LABEL_IMAGEDRAWMODE=Image Draw Mode",
    "LCD_HALIGN=Horz. Alignment",
    "LCD_PIXELWIDTH=Pixel Width",
    "LCD_PIXELHEIGHT=Pixel Height",
    "LCD_CHARCOUNT=Character Count",
    "LCD_LINECOUNT=Line Count",
    "LCD_SCROLL=Scrolling",
    "LCD_SCROLLSPEED=Scroll Speed",
    "LCD_CELLCOLOR=Cell",
    "LCD_TEXT=Text",
    "LEVEL_HORIZONTAL=Horizontal",
    "LEVEL_TICK=Ticks",
    "LEVEL_CHANNELCOUNT=Channels",
    "LEVEL_VALUE=Value",
    "LEVEL_MINVALUE=Min Value",
    "LEVEL_MAXVALUE=Max Value",
    "LEVEL_BACKCOLOR=Background",
    "LEVEL_LOWCOLOR=Low Value",
    "LEVEL_HIGHCOLOR=High Value",
    "LIST_SELECTION=Selection",
    "LIST_HSCROLL=Horz. Scroll",
    "LIST_VSCROLL=Vert. Scroll",
    "LIST_DISABLENOSCROLL=Disable No Scroll",
    "LIST_NOINTEGRALHEIGHT=No Integral Height",
    "LIST_SORT=Sort",
    "LIST_CONTENT=Content",
    "LIST_FILE=File",
    "LIST_SELBACKCOLOR=Sel Back",
    "LIST_SELTEXTCOLOR=Sel Text",
    "MEDIA_HALIGN=Horz. Alignment",
    "MEDIA_VALIGN=Vert. Alignment",
    "MEDIA_WRAPPING=Wrapping",
    "MEDIA_TRIMMING=Trimming",
    "MEDIA_TAGS=Tags",
    "MEDIA_BUTTON=Button",
    "MEDIA_CHECKED=Checked",
    "MEDIA_LEFTMARGIN=Left Margin",
    "MEDIA_TOPMARGIN=Top Margin",
    "MEDIA_RIGHTMARGIN=Right Margin",
    "MEDIA_BOTTOMMARGIN=Bottom Margin",
    "MEDIA_AUTOSCROLLX=Horz. Scroll Speed",
    "MEDIA_AUTOSCROLLY=Vert. Scroll Speed",
    "MEDIA_AUTOSCROLLLOOP=Scroll Loop",
    "MEDIA_LINKCOLOR=Link",
    "MEDIA_TEXT=Text",
    "MEDIA_IMAGE=Image",
    "MEDIA_IMAGEDRAWMODE=Image Draw Mode",
    "MEDIA_SHAPE=Shape",
    "MEDIA_BUTTONOVER=Button Over",
    "MEDIA_BUTTONPUSH=Button Push",
    "MEDIA_BUTTONCHECK=Button Check",
    "MEDIA_BUTTONDISABLED=Button Disabled",
    "MEDIAPLAYER_LOOP=Loop",
    "PROGRESS_VERTICAL=Vertical",
    "PROGRESS_SMOOTH=Smooth",
    "PROGRESS_MARQUEE=Marquee",
    "PROGRESS_VALUE=Value",
    "PROGRESS_MINVALUE=Min Value",
    "PROGRESS_MAXVALUE=Max Value",
    "RADIO_CHECKED=Checked",
    "RADIO_GROUP=Group",
    "RICHEDIT_AUTOHSCROLL=Auto Horz. Scroll",
    "RICHEDIT_AUTOVSCROLL=Auto Vert. Scroll",
    "RICHEDIT_HSCROLL=Horz. Scroll",
    "RICHEDIT_VSCROLL=Vert. Scroll",
    "RICHEDIT_READONLY=Read Only",
    "RICHEDIT_NEVERHIDESELECTION=Never Hide Selection",
    "RICHEDIT_WANTRETURN=Want Return",
    "RICHEDIT_ALIGN=Alignment",
    "RICHEDIT_SUNKEN=Sunken Border",
    "RICHEDIT_FILE=File",
    "SCROLL_VERTICAL=Vertical",
    "SCROLL_VALUE=Value",
    "SCROLL_MINVALUE=Min Value",
    "SCROLL_MAXVALUE=Max Value",
    "SLIDER_TOOLTIPS=ToolTips",
    "SLIDER_VERTICAL=Vertical",
    "SLIDER_VALUE=Value",
    "SLIDER_MINVALUE=Min Value",
    "SLIDER_MAXVALUE=Max Value",
    "SPLITTER_COLCOUNT=Column Count",
    "SPLITTER_ROWCOUNT=Row Count",
    "SPLITTER_WINDOWBACKCOLOR=Child Window Back",
    "SPREAD_FILE=File",
    "STATIC_EDGE=Edge",
    "STATIC_LEFTBORDER=Left Border",
    "STATIC_TOPBORDER=Top Border",
    "STATIC_RIGHTBORDER=Right Border",
    "STATIC_BOTTOMBORDER=Bottom Border",
    "STATIC_IMAGE=Image",
    "STATIC_IMAGEDRAWMODE=Image Draw Mode",
    "TAB_TYPE=Type",
    "TAB_FOCUSONBUTTONDOWN=Focus on click",
    "TAB_FOCUSNEVER=No Focus",
    "TAB_TOOLTIPS=ToolTips",
    "TAB_CONTENT=Content",
    "TAB_TIPCONTENT=Tooltip Content",
    "TAB_SELECTION=Selection",
    "TABDOC_CLOSE=Close Button",
    "TABDOC_MOVE=Move",
    "TABDOC_CONTENT=Content",
    "TABDOC_SELECTION=Selection",
    "TABDOC_BACKCOLOR=Tab Back",
    "TABDOC_BACKSELCOLOR=Sel Tab Back",
    "TABDOC_TEXTCOLOR=Tab Text",
    "TABDOC_TEXTSELCOLOR=Sel Tab Text",
    "TABDOC_WINDOWBACKCOLOR=Tab Window Back",
    "TOOLBAR_TOOLTIPS=Tool Tips",
    "TOOLBAR_TRANSPARENT=Transparency",
    "TOOLBAR_IMAGEWIDTH=Image Width",
    "TOOLBAR_IMAGEHEIGHT=Image Height",
    "TOOLBAR_CONTENT=Content",
    "TREE_CHECKBOXES=Check Boxes",
    "TREE_DRAGDROP=Drag and Drop",
    "TREE_EDITLABELS=Edit Labels",
    "TREE_FULLROWSELECT=Full Row Select",
    "TREE_HASBUTTONS=Has Buttons",
    "TREE_HASLINES=Has Lines",
    "TREE_LINESATROOT=Lines at Root",
    "TREE_NEVERHIDESELECTION=Never Hide Selection",
    "TREE_HOTTRACKING=Hot Tracking",
    "TREE_FILE=File",
    "WAVEEDITOR_POPUPMENU=Popup Menu",
    "WAVEEDITOR_COLORBACKENABLED=Back",
    "WAVEEDITOR_COLORBACKDISABLED=Back Disabled",
    "WAVEEDITOR_COLORLINE=Line",
    "WAVEEDITOR_COLORCARET=Caret",
    "WAVEEDITOR_COLORCARETPLAY=Caret Play",
    "WAVEEDITOR_COLORWAVEENABLED=Wave",
    "WAVEEDITOR_COLORWAVEDISABLED=Wave Disabled",
    "WAVEEDITOR_COLORPROGRESSBACK=Progress Back",
    "WAVEEDITOR_COLORPROGRESSSTART=Progress Start",
    "WAVEEDITOR_COLORPROGRESSEND=Progress End",
    "WAVEEDITOR_FILE=File",
    "WAVEEDITOR_LEVEL=Level",
    "EXTERN_NAME=ExtName",
    "EXTERN_FILENAME=ExtFile",
    // Option values of the property rows.
    "_AUTOLEFT=Left",
    "_AUTOCENTER=Center",
    "_AUTOCENTERHALF=Half Center",
    "_AUTORIGHT=Right",
    "_AUTORIGHTHALF=Half Right",
    "_AUTOWIDTH=Resize",
    "_AUTOWIDTHHALF=Half Resize",
    "_AUTOTOP=Top",
    "_AUTOMIDDLE=Middle",
    "_AUTOMIDDLEHALF=Half Middle",
    "_AUTOBOTTOM=Bottom",
    "_AUTOBOTTOMHALF=Half Bottom",
    "_AUTOHEIGHT=Resize",
    "_AUTOHEIGHTHALF=Half Resize",
    "_LEFT=Left",
    "_CENTER=Center",
    "_RIGHT=Right",
    "_JUSTIFY=Justify",
    "_TOP=Top",
    "_MIDDLE=Middle",
    "_BOTTOM=Bottom",
    "_SIMPLE=Simple",
    "_DROPDOWN=Drop Down",
    "_DROPDOWNLIST=Drop Down List",
    "_ICON=Icon",
    "_SMALLICON=Small Icon",
    "_LIST=List",
    "_REPORT=Report",
    "_NONE=None",
    "_SINGLE=Single",
    "_MULTIPLE=Multiple",
    "_EXTENDED=Extended",
    "_STANDARD=Standard",
    "_BUTTONS=Buttons",
    "_FLATBUTTONS=Flat Buttons",
    "_DRAWTOPLEFT=Top Left",
    "_DRAWTOPCENTER=Top Center",
    "_DRAWTOPRIGHT=Top Right",
    "_DRAWMIDDLELEFT=Middle Left",
    "_DRAWMIDDLERIGHT=Middle Right",
    "_DRAWBOTTOMLEFT=Bottom Left",
    "_DRAWBOTTOMCENTER=Bottom Center",
    "_DRAWBOTTOMRIGHT=Bottom Right",
    "_DRAWCENTER=Center",
    "_DRAWSTRETCH=Stretch",
    "_DRAWTILE=Tile",
    "_DRAWFIT=Fit",
    "_DRAWFITZOOM=Fit & Zoom",
    "_EDGEBUMP=Bump",
    "_EDGEETCHED=Etched",
    "_EDGERAISED=Raised",
    "_EDGESUNKEN=Sunken",
    "_EDGERAISEDINNER=Raised Inner",
    "_EDGERAISEDOUTER=Raised Outer",
    "_EDGESUNKENINNER=Sunken Inner",
    "_EDGESUNKENOUTER=Sunken Outer",
    // Messages.
    "?ERROR=Error",
    "?NAMEEXIST=This name already exists.",
    "?INVISIBLE=Cannot be shown in layer mode, please use Media.",
    "?NOEXTERN=No external controls.",
    "?NOOCX=No ActiveX controls.",
};
static_assert(sizeof(kDefaultTexts) / sizeof(kDefaultTexts[0]) == SDialogDesigner::TEXT_COUNT,
              "the caption table has one line per text");

// The panel's groups after the controls group: group id, caption key, and
// the caption keys of its buttons in command order (null: a separator).
struct PanelGroup {
  int id;
  const char* caption;
  const char* buttons[17];
};

const PanelGroup kCommandGroups[] = {
    {SDialogDesigner::PANEL_ALIGNMENT,
     "#ALIGNMENT",
     {"#LEFT", "#RIGHT", "#TOP", "#BOTTOM", "#HCENTER", "#VCENTER", nullptr, "#HSPACE", "#VSPACE",
      "#NOHSPACE", "#NOVSPACE", nullptr, "#WIDTH", "#HEIGHT", "#SIZE", "#CROP", ""}},
    {SDialogDesigner::PANEL_ORDER,
     "#ORDER",
     {"#FRONT", "#BACK", nullptr, "#FORWARD", "#BACKWARD", ""}},
    {SDialogDesigner::PANEL_MISC, "#MISC", {"#GRID", "#SNAP", "#TEST", ""}},
};

// Alignment commands that the enabling rules name.
enum { ALIGN_LEFT = 0, ALIGN_HSPACE = 6, ALIGN_WIDTH = 10, ALIGN_CROP = 13 };
enum { ORDER_FRONT = 0, ORDER_FORWARD = 2 };

// The caption of the selection tool (not a table key).
const char kSelectionTool[] = "Selection";

// Sets the enabled flag of every button of the run holding the command.
void EnableRun(SPanelCtrl* panel, int group, int command, bool enabled) {
  SPanelCtrl::_SGroup* g = panel->FindGroup(group);
  if (!g) return;
  int last = g->LastOfRun(command);
  for (int i = g->FirstOfRun(command); i >= 0 && i <= last; ++i) {
    g->m_buttons[i]->m_enabled = enabled;
  }
}

void EnableGroup(SPanelCtrl* panel, int group) {
  SPanelCtrl::_SGroup* g = panel->FindGroup(group);
  for (int i = 0; g && i < g->m_buttons.GetCount(); ++i) g->m_buttons[i]->m_enabled = true;
}

}  // namespace

// --- texts --------------------------------------------------------------------------

void SDialogDesigner::SetDefaultTexts() {
  m_texts.DeleteAndRemoveAll();
  for (const char* line : kDefaultTexts) m_texts.Add(line);
  if (m_propertyGrid) {
    m_propertyGrid->m_boolTexts.DeleteAndRemoveAll();
    for (const char* text : {"No", "Yes", "Default"}) m_propertyGrid->m_boolTexts.Add(text);
  }
}

SString SDialogDesigner::GetCaptionText(const char* key) const {
  if (!key) return SString("");
  size_t length = strlen(key);
  for (int i = 0; i < m_texts.GetCount(); ++i) {
    const char* line = m_texts[i]->GetText();
    const char* equals = line ? strchr(line, '=') : nullptr;
    if (equals && size_t(equals - line) == length && memcmp(line, key, length) == 0) {
      return SString(equals + 1);
    }
  }
  return SString("");
}

SString SDialogDesigner::AddOptionCaption(const char* key) const {
  return SString(key ? key : "") + "|" + GetCaptionText(key);
}

void SDialogDesigner::ShowError(const char* key) {
  MessageBox(GetCaptionText(key).GetText(), GetCaptionText("?ERROR").GetText(),
             MB_OK | MB_ICONEXCLAMATION);
}

// --- tool panel -------------------------------------------------------------------------

void SDialogDesigner::BuildPanel(SPanelCtrl* panel) {
  if (!panel) return;
  panel->AddGroup(PANEL_CONTROLS, GetCaptionText("#CONTROLS").GetText());
  panel->AddButton(0, kSelectionTool);
  for (int type = 1; type < TYPE_COUNT; ++type) {
    panel->AddButton(type, m_types[type].m_displayName.GetText());
  }
  for (const PanelGroup& group : kCommandGroups) {
    panel->AddGroup(group.id, GetCaptionText(group.caption).GetText());
    int command = 0;
    for (const char* button : group.buttons) {
      if (button && !*button) break;
      if (button) {
        panel->AddButton(command++, GetCaptionText(button).GetText());
      } else {
        panel->AddSeparator();
      }
    }
  }
  panel->CheckRadioButton(PANEL_CONTROLS, 0);
}

int SDialogDesigner::GetCommandCount() const {
  int n = 0;
  for (int i = 0; i < m_selection.GetCount(); ++i) n += m_selection[i] != m_dialog;
  return n > 0 && m_selection[0]->m_locked ? 0 : n;
}

void SDialogDesigner::UpdatePanel(SPanelCtrl* panel) {
  if (!panel) return;
  int n = GetCommandCount();
  SPanelCtrl::_SGroup* alignment = panel->FindGroup(PANEL_ALIGNMENT);
  SPanelCtrl::_SGroup* order = panel->FindGroup(PANEL_ORDER);
  if (alignment && alignment->m_enabled) {
    if (n == 0) {
      panel->DisableGroup(PANEL_ALIGNMENT);
      if (SPanelCtrl::_SButton* crop = panel->FindButton(PANEL_ALIGNMENT, ALIGN_CROP)) {
        crop->m_enabled = true;
      }
    } else if (n == 1) {
      EnableRun(panel, PANEL_ALIGNMENT, ALIGN_LEFT, true);
      EnableRun(panel, PANEL_ALIGNMENT, ALIGN_HSPACE, false);
      EnableRun(panel, PANEL_ALIGNMENT, ALIGN_WIDTH, false);
      if (SPanelCtrl::_SButton* crop = panel->FindButton(PANEL_ALIGNMENT, ALIGN_CROP)) {
        crop->m_enabled = true;
      }
    } else {
      EnableGroup(panel, PANEL_ALIGNMENT);
    }
    panel->RedrawGroup(PANEL_ALIGNMENT);
  }
  if (order && order->m_enabled) {
    if (n == 0) {
      panel->DisableGroup(PANEL_ORDER);
    } else if (n == 1) {
      EnableGroup(panel, PANEL_ORDER);
    } else {
      EnableRun(panel, PANEL_ORDER, ORDER_FRONT, true);
      EnableRun(panel, PANEL_ORDER, ORDER_FORWARD, false);
    }
    panel->RedrawGroup(PANEL_ORDER);
  }
  panel->SetButtonCheck(PANEL_MISC, MISC_GRID, m_gridShown);
  panel->SetButtonCheck(PANEL_MISC, MISC_SNAP, m_snap);
}

bool SDialogDesigner::RefreshPanel() {
  if (!m_panel || !m_panel->m_hWnd) return false;
  UpdatePanel(m_panel);
  return true;
}

// --- context menu -------------------------------------------------------------------------

void SDialogDesigner::OnContextMenu(SMenu*, _SCtrl*) {}

void SDialogDesigner::BuildContextMenu() {
  int n = GetCommandCount();
  m_contextMenu.RemoveAll();
  m_contextMenu.AddItem(CMD_CUT, GetCaptionText("@CUT").GetText(), -1, 0, false, n == 0);
  m_contextMenu.AddItem(CMD_COPY, GetCaptionText("@COPY").GetText(), -1, 0, false, n == 0);
  m_contextMenu.AddItem(CMD_PASTE, GetCaptionText("@PASTE").GetText(), -1, 0, false, !CanPaste());
  m_contextMenu.AddSeparator(0);
  m_contextMenu.AddItem(CMD_SELECTALL, GetCaptionText("@SELECTALL").GetText());

  _SCtrl* first = GetPrimary();
  SString content = first ? GetProperty(first, "TAB_CONTENT") : SString("");
  if (first && first->m_type == TYPE_TAB && content.GetLength() > 0) {
    // (page, control id) pairs of the controls on the tab's pages.
    SStringParser pairText(GetProperty(first, "TAB_CHILDREN_PRIVATE").GetText());
    pairText.Parse(" ", 1, '"');
    m_pageMenus.DeleteAndRemoveAll();
    SStringParser pages(content.GetText());
    int pageCount = pages.Parse("|", 1, '"');
    if (pageCount > 0) m_contextMenu.AddSeparator(0);
    for (int page = 0; page < pageCount; ++page) {
      int base = PAGE_COMMAND * (page + 1);
      SMenu* menu = new SMenu;
      m_pageMenus.Add(menu);
      menu->CreatePopup(m_hWnd);
      menu->AddItem(base + PAGE_SHOW, GetCaptionText("@SELECTTAB").GetText());
      menu->AddSeparator(0);
      for (int i = 0; i < m_controls.GetCount(); ++i) {
        _SCtrl* record = m_controls[i];
        if (record == first) continue;
        bool onPage = false;
        for (int k = 0; k + 1 < pairText.GetCount() && !onPage; k += 2) {
          onPage = pairText.GetInt(k) == page && uint16_t(pairText.GetInt(k + 1)) == record->m_id;
        }
        menu->AddItem(base + PAGE_TOGGLE + i, record->m_name.GetText(), -1, 0, onPage);
      }
      m_contextMenu.AddSubMenu(base, menu, pages.GetToken(page).GetText());
    }
  }
  m_contextMenu.AddSeparator(0);
  m_contextMenu.AddItem(CMD_TEST, GetCaptionText("@TEST").GetText());
  OnContextMenu(&m_contextMenu, first);
}

void SDialogDesigner::ShowContextMenu(int x, int y) {
  if (!m_hWnd) return;
  BuildContextMenu();
  POINT screen = {x, y};
  ::ClientToScreen(m_hWnd, &screen);
  m_contextMenu.Track(screen.x, screen.y);
}

void SDialogDesigner::FillOleMenus() {
  for (SMenu& letters : m_oleLetterMenus) letters.RemoveAll();
  for (int k = 0; k < m_oleNames.GetCount(); ++k) {
    SString name = m_oleNames.Get(k);
    int c = toupper(static_cast<unsigned char>(name.GetAt(0)));
    // Names that begin with no letter go to the last submenu.
    int letter = c >= 'A' && c <= 'Z' ? (c - 'A') / 3 : OLE_LETTER_MENUS - 1;
    m_oleLetterMenus[letter].AddItem(CMD_OLE + k, name.GetText());
  }
}
