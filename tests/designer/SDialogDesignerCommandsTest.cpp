#include "core/Platform.h"
#include "SurfaceTestSupport.h"

#include <sstream>

namespace {

// The caption table as the designer's definition gives it, line by line,
// ";" after each line.
const char kCaptions[] = R"(
@CUT=Cut;@COPY=Copy;@PASTE=Paste;@SELECTALL=Select All;@DELETE=Delete;@TEST=Test;
@SELECTTAB=Select;
#CONTROLS=Controls;#ALIGNMENT=Alignment;#ORDER=Order;#MISC=Dialog;#LEFT=Align Lefts;
#RIGHT=Align Rights;#TOP=Align Tops;#BOTTOM=Align Bottoms;#HCENTER=Horizontal Center;
#VCENTER=Vertical Center;#WIDTH=Same Width;#HEIGHT=Same Height;#SIZE=Same Size;
#CROP=Crop Back Image;#HSPACE=Horizontal Space;#VSPACE=Vertical Space;
#NOHSPACE=No Horizontal Spacing;#NOVSPACE=No Vertical Spacing;#FRONT=To Front;#BACK=To Back;
#FORWARD=Forward;#BACKWARD=Backward;#GRID=Grid;#SNAP=Snap to Grid;#TEST=Test Dialog;
$GENERAL=General;$POSITION=Position;$SKIN=Skin;$STYLE=Style;$VALUE=Value;$BORDER=Border;
$COLOR=Color;$RESOURCE=Resource;$LINK=Connection;$EXTRA=Extended;
TYPE=Type;ID=ID;NAME=Name;CAPTION=Caption;VISIBLE=Visible;ENABLED=Enabled;FONT=Font;X=X;Y=Y;
WIDTH=Width;HEIGHT=Height;HALIGN=Horz Align;VALIGN=Vert Align;TABENABLED=Tab;
TABGROUP=Tab Group;TABINDEX=Tab Index;BORDER=Border;CLIENTEDGE=Client Edge;
STATICEDGE=Static Edge;TOOLTIP=Tooltip;RESOURCE=Resource;BACKCOLOR=Background;
TEXTCOLOR=Text;TRANSPARENT=Transparent;
DIALOG_LAYER=Layer;DIALOG_CAPTION=Caption;DIALOG_BUTTON=Buttons;
DIALOG_NOCLOSE=Disable Close;DIALOG_MAXIMIZEBOX=Maximize Box;
DIALOG_MINIMIZEBOX=Minimize Box;DIALOG_RESIZE=Resize;DIALOG_TOOLWINDOW=Tool Window;
DIALOG_MAXIMIZED=Maximized;DIALOG_MINIMIZED=Minimized;DIALOG_TOPMOST=Top Most;
DIALOG_MINSIZE=Min Size;DIALOG_MAXSIZE=Max Size;DIALOG_DRAGFILES=Drag Files;
DIALOG_MOVEWITHMOUSE=Move with Mouse;DIALOG_NOMODALRETURN=Disable ENTER;
DIALOG_NOMODALESCAPE=Disable ESCAPE;DIALOG_STATUSBARTEXT=Status Bar Texts;DIALOG_ICON=Icon;
DIALOG_IMAGE=Image;DIALOG_IMAGEDRAWMODE=Image Draw Mode;DIALOG_SHAPE=Shape;DIALOG_MENU=Menu;
DIALOG_TOOLBAR=Tool Bar;DIALOG_FOCUS=Focus;
BINARY_FILE=File;BROWSER_DIALOGS=Dialogs;BROWSER_URL=URL;BROWSER_FILE=File;
BUTTON_DEFAULT=Default;BUTTON_FLAT=Flat;BUTTON_MULTILINE=Multiline;
BUTTON_HALIGN=Horz. Alignment;BUTTON_VALIGN=Vert. Alignment;CHECK_CHECKED=Checked;
CODEEDIT_BR=BR Tag;CODEEDIT_COMMENT=Comment;CODEEDIT_FINDREPLACELOCAL=Local FindReplace;
CODEEDIT_INDENT=Indent;CODEEDIT_SINGLELINE=Single Line;CODEEDIT_STRINGS=Strings;
CODEEDIT_UPPERWORDS=Upper Words;CODEEDIT_SHOWNUMBER=Show Number;CODEEDIT_READONLY=Read Only;
CODEEDIT_BARWIDTH=Bar Width;CODEEDIT_TABSIZE=Tab Size;CODEEDIT_SELECTALL=Select All;
CODEEDIT_BACKCOLOR=Back;CODEEDIT_BACKFOCUSCOLOR=Back Focus;CODEEDIT_BARCOLOR=Bar;
CODEEDIT_BARGRAYCOLOR=Bar Gray;CODEEDIT_BARCHECKCOLOR=Bar Check;
CODEEDIT_BARMARKCOLOR=Bar Mark;CODEEDIT_TEXTCOLOR=Text;CODEEDIT_TEXTKEYCOLOR=Keyword;
CODEEDIT_TEXTSTRCOLOR=String;CODEEDIT_TEXTUPCOLOR=Upper Word;
CODEEDIT_TEXTCOMMENTCOLOR=Comment;CODEEDIT_HIGHLIGHTCOLOR=Highlight;CODEEDIT_FILE=File;
COMBO_TYPE=Type;COMBO_AUTOHSCROLL=Auto Horz. Scroll;COMBO_DISABLENOSCROLL=Disable No Scroll;
COMBO_NOINTEGRALHEIGHT=No Integral Height;COMBO_SORT=Sort;COMBO_VSCROLL=Vert. Scroll;
COMBO_CONTENT=Content;COMBO_FILE=File;EDIT_AUTOHSCROLL=Auto Horz. Scroll;
EDIT_AUTOVSCROLL=Auto Vert. Scroll;EDIT_HSCROLL=Horz. Scroll;EDIT_VSCROLL=Vert. Scroll;
EDIT_LOWER=Lower Case;EDIT_UPPER=Upper Case;EDIT_MULTILINE=Multiline;EDIT_PASSWORD=Password;
EDIT_NUMBER=Number;EDIT_READONLY=Read Only;EDIT_NEVERHIDESELECTION=Never Hide Selection;
EDIT_ALIGN=Alignment;EDIT_NOPOPUPMENU=No Popup Menu;EDIT_SELECTALL=Select All;
EDIT_TEXT=Text;EDIT_MAXLENGTH=Max Length;EXLIST_TYPE=Type;EXLIST_EDITLABELS=Editable;
EXLIST_AUTOARRANGE=Auto Arrange;EXLIST_FULLROWSELECT=Full Row Select;
EXLIST_GRIDLINES=Grid Lines;EXLIST_SINGLESELECTION=Single Selection;
EXLIST_NOLABELWRAP=No Label Wrap;EXLIST_NOSCROLL=No Scroll;
EXLIST_NEVERHIDESELECTION=Never Hide Selection;EXLIST_SORTASCENDING=Sort Ascending;
EXLIST_SORTDESCENDING=Sort Descending;EXLIST_NOCOLUMNHEADER=No Column Header;
GRAPH_FILE=File;GROUP_ALIGN=Alignment;IMAGEEDITOR_FILE=File;LABEL_HALIGN=Horz. Alignment;
LABEL_VALIGN=Vert. Alignment;LABEL_TEXT=Text;LABEL_IMAGE=Image;
LABEL_IMAGEDRAWMODE=Image Draw Mode;LCD_HALIGN=Horz. Alignment;LCD_PIXELWIDTH=Pixel Width;
LCD_PIXELHEIGHT=Pixel Height;LCD_CHARCOUNT=Character Count;LCD_LINECOUNT=Line Count;
LCD_SCROLL=Scrolling;LCD_SCROLLSPEED=Scroll Speed;LCD_CELLCOLOR=Cell;LCD_TEXT=Text;
LEVEL_HORIZONTAL=Horizontal;LEVEL_TICK=Ticks;LEVEL_CHANNELCOUNT=Channels;LEVEL_VALUE=Value;
LEVEL_MINVALUE=Min Value;LEVEL_MAXVALUE=Max Value;LEVEL_BACKCOLOR=Background;
LEVEL_LOWCOLOR=Low Value;LEVEL_HIGHCOLOR=High Value;LIST_SELECTION=Selection;
LIST_HSCROLL=Horz. Scroll;LIST_VSCROLL=Vert. Scroll;LIST_DISABLENOSCROLL=Disable No Scroll;
LIST_NOINTEGRALHEIGHT=No Integral Height;LIST_SORT=Sort;LIST_CONTENT=Content;LIST_FILE=File;
LIST_SELBACKCOLOR=Sel Back;LIST_SELTEXTCOLOR=Sel Text;MEDIA_HALIGN=Horz. Alignment;
MEDIA_VALIGN=Vert. Alignment;MEDIA_WRAPPING=Wrapping;MEDIA_TRIMMING=Trimming;
MEDIA_TAGS=Tags;MEDIA_BUTTON=Button;MEDIA_CHECKED=Checked;MEDIA_LEFTMARGIN=Left Margin;
MEDIA_TOPMARGIN=Top Margin;MEDIA_RIGHTMARGIN=Right Margin;MEDIA_BOTTOMMARGIN=Bottom Margin;
MEDIA_AUTOSCROLLX=Horz. Scroll Speed;MEDIA_AUTOSCROLLY=Vert. Scroll Speed;
MEDIA_AUTOSCROLLLOOP=Scroll Loop;MEDIA_LINKCOLOR=Link;MEDIA_TEXT=Text;MEDIA_IMAGE=Image;
MEDIA_IMAGEDRAWMODE=Image Draw Mode;MEDIA_SHAPE=Shape;MEDIA_BUTTONOVER=Button Over;
MEDIA_BUTTONPUSH=Button Push;MEDIA_BUTTONCHECK=Button Check;
MEDIA_BUTTONDISABLED=Button Disabled;MEDIAPLAYER_LOOP=Loop;PROGRESS_VERTICAL=Vertical;
PROGRESS_SMOOTH=Smooth;PROGRESS_MARQUEE=Marquee;PROGRESS_VALUE=Value;
PROGRESS_MINVALUE=Min Value;PROGRESS_MAXVALUE=Max Value;RADIO_CHECKED=Checked;
RADIO_GROUP=Group;RICHEDIT_AUTOHSCROLL=Auto Horz. Scroll;
RICHEDIT_AUTOVSCROLL=Auto Vert. Scroll;RICHEDIT_HSCROLL=Horz. Scroll;
RICHEDIT_VSCROLL=Vert. Scroll;RICHEDIT_READONLY=Read Only;
RICHEDIT_NEVERHIDESELECTION=Never Hide Selection;RICHEDIT_WANTRETURN=Want Return;
RICHEDIT_ALIGN=Alignment;RICHEDIT_SUNKEN=Sunken Border;RICHEDIT_FILE=File;
SCROLL_VERTICAL=Vertical;SCROLL_VALUE=Value;SCROLL_MINVALUE=Min Value;
SCROLL_MAXVALUE=Max Value;SLIDER_TOOLTIPS=ToolTips;SLIDER_VERTICAL=Vertical;
SLIDER_VALUE=Value;SLIDER_MINVALUE=Min Value;SLIDER_MAXVALUE=Max Value;
SPLITTER_COLCOUNT=Column Count;SPLITTER_ROWCOUNT=Row Count;
SPLITTER_WINDOWBACKCOLOR=Child Window Back;SPREAD_FILE=File;STATIC_EDGE=Edge;
STATIC_LEFTBORDER=Left Border;STATIC_TOPBORDER=Top Border;STATIC_RIGHTBORDER=Right Border;
STATIC_BOTTOMBORDER=Bottom Border;STATIC_IMAGE=Image;STATIC_IMAGEDRAWMODE=Image Draw Mode;
TAB_TYPE=Type;TAB_FOCUSONBUTTONDOWN=Focus on click;TAB_FOCUSNEVER=No Focus;
TAB_TOOLTIPS=ToolTips;TAB_CONTENT=Content;TAB_TIPCONTENT=Tooltip Content;
TAB_SELECTION=Selection;TABDOC_CLOSE=Close Button;TABDOC_MOVE=Move;TABDOC_CONTENT=Content;
TABDOC_SELECTION=Selection;TABDOC_BACKCOLOR=Tab Back;TABDOC_BACKSELCOLOR=Sel Tab Back;
TABDOC_TEXTCOLOR=Tab Text;TABDOC_TEXTSELCOLOR=Sel Tab Text;
TABDOC_WINDOWBACKCOLOR=Tab Window Back;TOOLBAR_TOOLTIPS=Tool Tips;
TOOLBAR_TRANSPARENT=Transparency;TOOLBAR_IMAGEWIDTH=Image Width;
TOOLBAR_IMAGEHEIGHT=Image Height;TOOLBAR_CONTENT=Content;TREE_CHECKBOXES=Check Boxes;
TREE_DRAGDROP=Drag and Drop;TREE_EDITLABELS=Edit Labels;TREE_FULLROWSELECT=Full Row Select;
TREE_HASBUTTONS=Has Buttons;TREE_HASLINES=Has Lines;TREE_LINESATROOT=Lines at Root;
TREE_NEVERHIDESELECTION=Never Hide Selection;TREE_HOTTRACKING=Hot Tracking;TREE_FILE=File;
WAVEEDITOR_POPUPMENU=Popup Menu;WAVEEDITOR_COLORBACKENABLED=Back;
WAVEEDITOR_COLORBACKDISABLED=Back Disabled;WAVEEDITOR_COLORLINE=Line;
WAVEEDITOR_COLORCARET=Caret;WAVEEDITOR_COLORCARETPLAY=Caret Play;
WAVEEDITOR_COLORWAVEENABLED=Wave;WAVEEDITOR_COLORWAVEDISABLED=Wave Disabled;
WAVEEDITOR_COLORPROGRESSBACK=Progress Back;WAVEEDITOR_COLORPROGRESSSTART=Progress Start;
WAVEEDITOR_COLORPROGRESSEND=Progress End;WAVEEDITOR_FILE=File;WAVEEDITOR_LEVEL=Level;
EXTERN_NAME=ExtName;EXTERN_FILENAME=ExtFile;
_AUTOLEFT=Left;_AUTOCENTER=Center;_AUTOCENTERHALF=Half Center;_AUTORIGHT=Right;
_AUTORIGHTHALF=Half Right;_AUTOWIDTH=Resize;_AUTOWIDTHHALF=Half Resize;_AUTOTOP=Top;
_AUTOMIDDLE=Middle;_AUTOMIDDLEHALF=Half Middle;_AUTOBOTTOM=Bottom;
_AUTOBOTTOMHALF=Half Bottom;_AUTOHEIGHT=Resize;_AUTOHEIGHTHALF=Half Resize;_LEFT=Left;
_CENTER=Center;_RIGHT=Right;_JUSTIFY=Justify;_TOP=Top;_MIDDLE=Middle;_BOTTOM=Bottom;
_SIMPLE=Simple;_DROPDOWN=Drop Down;_DROPDOWNLIST=Drop Down List;_ICON=Icon;
_SMALLICON=Small Icon;_LIST=List;_REPORT=Report;_NONE=None;_SINGLE=Single;
_MULTIPLE=Multiple;_EXTENDED=Extended;_STANDARD=Standard;_BUTTONS=Buttons;
_FLATBUTTONS=Flat Buttons;_DRAWTOPLEFT=Top Left;_DRAWTOPCENTER=Top Center;
_DRAWTOPRIGHT=Top Right;_DRAWMIDDLELEFT=Middle Left;_DRAWMIDDLERIGHT=Middle Right;
_DRAWBOTTOMLEFT=Bottom Left;_DRAWBOTTOMCENTER=Bottom Center;_DRAWBOTTOMRIGHT=Bottom Right;
_DRAWCENTER=Center;_DRAWSTRETCH=Stretch;_DRAWTILE=Tile;_DRAWFIT=Fit;_DRAWFITZOOM=Fit & Zoom;
_EDGEBUMP=Bump;_EDGEETCHED=Etched;_EDGERAISED=Raised;_EDGESUNKEN=Sunken;
_EDGERAISEDINNER=Raised Inner;_EDGERAISEDOUTER=Raised Outer;_EDGESUNKENINNER=Sunken Inner;
_EDGESUNKENOUTER=Sunken Outer;
?ERROR=Error;?NAMEEXIST=This name already exists.;
?INVISIBLE=Cannot be shown in layer mode, please use Media.;?NOEXTERN=No external controls.;
?NOOCX=No ActiveX controls.;
)";

std::vector<std::string> ExpectedCaptions() {
  std::vector<std::string> lines;
  std::string all;
  for (const char* c = kCaptions; *c; ++c) {
    if (*c != '\n') all += *c;
  }
  std::stringstream stream(all);
  std::string line;
  while (std::getline(stream, line, ';')) lines.push_back(line);
  return lines;
}

// A dialog with a tab of two pages (A on page 1), a locked button and two
// more controls.
std::string TabText() {
  return DialogText(
      Section("TAB", 5, "TAB1", 10, 10, 200, 100, "WS_VISIBLE ",
              "TAB_CONTENT=One|Two\r\nTAB_SELECTION=0\r\nTAB_CHILDREN_PRIVATE=1 7 \r\n") +
      Section("BUTTON", 7, "A", 20, 40, 40, 20) + Section("BUTTON", 8, "B", 70, 40, 40, 20) +
      Section("EDIT", 9, "C", 20, 150, 80, 20) +
      Section("BUTTON", 10, "LOCKED", 120, 150, 60, 20, "WS_VISIBLE ", ""));
}

struct MenuLine {
  UINT id;
  std::string text;
  bool grey, checked;
  bool operator==(const MenuLine& o) const {
    return id == o.id && text == o.text && grey == o.grey && checked == o.checked;
  }
};
std::ostream& operator<<(std::ostream& out, const MenuLine& m) {
  return out << m.id << " " << m.text << (m.grey ? " grey" : "") << (m.checked ? " checked" : "");
}

// The items of a menu handle (separators have id 0 and no text).
std::vector<MenuLine> Lines(HMENU menu) {
  std::vector<MenuLine> lines;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    MENUITEMINFOA info = {};
    char text[64] = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    ::GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
    SMenu::_SItem* record = SMenu::GetItemRecord(menu, i);
    lines.push_back({record ? UINT(record->id) : 0u, text, (info.fState & MFS_GRAYED) != 0,
                     (info.fState & MFS_CHECKED) != 0});
  }
  return lines;
}

// Closes the thread's message box after noting its title.
std::string g_boxTitle;
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = ::FindWindowA("#32770", nullptr);
  if (!box) return;
  ::KillTimer(nullptr, timer);
  char title[64] = {};
  ::GetWindowTextA(box, title, sizeof(title));
  g_boxTitle = title;
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// Ends a tracked menu.
void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  ::EndMenu();
}

}  // namespace

TEST_F(AttachedDesignerTest, TheCaptionTableMatchesItsDefinitionLineByLine) {
  std::vector<std::string> expected = ExpectedCaptions();
  ASSERT_EQ(size_t(SDialogDesigner::TEXT_COUNT), expected.size());
  ASSERT_EQ(SDialogDesigner::TEXT_COUNT, m_designer.m_texts.GetCount());
  for (int i = 0; i < m_designer.m_texts.GetCount(); ++i) {
    EXPECT_EQ(expected[size_t(i)], m_designer.m_texts.Get(i).GetText()) << "line " << i;
  }
  // Keys match exactly; the caption is all after the first "=".
  EXPECT_EQ(SString("Dialog"), m_designer.GetCaptionText("#MISC"));
  EXPECT_EQ(SString(""), m_designer.GetCaptionText("#misc"));
  EXPECT_EQ(SString(""), m_designer.GetCaptionText("#MIS"));
  EXPECT_EQ(SString("Fit & Zoom"), m_designer.GetCaptionText("_DRAWFITZOOM"));
  m_designer.m_texts.Add("NOEQUALS");
  m_designer.m_texts.Add("EQ=a=b");
  EXPECT_EQ(SString("a=b"), m_designer.GetCaptionText("EQ"));
  EXPECT_EQ(SString(""), m_designer.GetCaptionText("NOEQUALS"));
  EXPECT_EQ(SString("_LEFT|Left"), m_designer.AddOptionCaption("_LEFT"));
  // The grid's yes/no texts come with the table.
  EXPECT_EQ(SString("Default"), m_grid.m_boolTexts.Get(2));
  // The error box shows the key's text under the "?ERROR" title.
  ::SetTimer(nullptr, 0, 20, CloseMessageBox);
  m_designer.ShowError("?NOOCX");
  EXPECT_EQ("Error", g_boxTitle);
}

TEST_F(AttachedDesignerTest, ThePanelHoldsTheDesignersGroupsAndFollowsTheSelection) {
  struct Group {
    int id;
    const char* caption;
    int buttons, separators;
  } groups[] = {
      {0, "Controls", 37, 0}, {1, "Alignment", 14, 2}, {2, "Order", 4, 1}, {3, "Dialog", 3, 0}};
  ASSERT_EQ(4, m_panel.m_groups.GetCount());
  for (const Group& g : groups) {
    SPanelCtrl::_SGroup* group = m_panel.FindGroup(g.id);
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(SString(g.caption), group->m_caption);
    int separators = 0;
    for (int i = 0; i < group->m_buttons.GetCount(); ++i)
      separators += group->m_buttons[i]->m_separator;
    EXPECT_EQ(g.buttons + g.separators, group->m_buttons.GetCount()) << g.caption;
    EXPECT_EQ(g.separators, separators) << g.caption;
  }
  EXPECT_EQ(SString("Selection"), m_panel.FindButton(0, 0)->m_caption);
  EXPECT_EQ(SString("Code Edit"), m_panel.FindButton(0, 5)->m_caption);
  EXPECT_EQ(SString("External Control"), m_panel.FindButton(0, 36)->m_caption);
  EXPECT_EQ(SString("Crop Back Image"), m_panel.FindButton(1, 13)->m_caption);
  EXPECT_EQ(SString("Test Dialog"), m_panel.FindButton(3, 2)->m_caption);
  EXPECT_TRUE(m_panel.FindButton(0, 0)->m_checked);

  ASSERT_TRUE(Load(TabText()));
  Named("LOCKED")->m_locked = true;
  // Enabled alignment buttons 0-13 and order buttons 0-3, by selection.
  auto states = [&](int group) {
    std::string s;
    SPanelCtrl::_SGroup* g = m_panel.FindGroup(group);
    for (int i = 0; i < g->m_buttons.GetCount(); ++i) {
      if (!g->m_buttons[i]->m_separator) s += g->m_buttons[i]->m_enabled ? '1' : '0';
    }
    return s;
  };
  struct Case {
    std::vector<const char*> selected;
    const char* alignment;
    const char* order;
  } cases[] = {
      {{""}, "00000000000001", "0000"},
      {{"LOCKED"}, "00000000000001", "0000"},
      {{"LOCKED", "A"}, "00000000000001", "0000"},
      {{"A"}, "11111100000001", "1111"},
      {{"A", "B"}, "11111111111111", "1100"},
      {{"A"}, "11111100000001", "1111"},
  };
  for (const Case& c : cases) {
    Select(c.selected);
    EXPECT_EQ(c.alignment, states(1)) << c.selected[0] << " " << c.selected.size();
    EXPECT_EQ(c.order, states(2)) << c.selected[0] << " " << c.selected.size();
  }
  EXPECT_TRUE(m_panel.FindButton(3, 0)->m_checked);
  m_designer.m_snap = false;
  m_designer.RefreshPanel();
  EXPECT_FALSE(m_panel.FindButton(3, 1)->m_checked);
  // Placing a control checks the selection tool again.
  m_panel.CheckRadioButton(0, 3);
  m_designer.SetInsertType(3);
  m_designer.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(300, 300));
  EXPECT_TRUE(m_panel.FindButton(0, 0)->m_checked);
  EXPECT_FALSE(m_panel.FindButton(0, 3)->m_checked);
}

TEST_F(AttachedDesignerTest, TheContextMenuGreysForTheSelectionAndListsTabPages) {
  ASSERT_TRUE(Load(TabText()));
  Select({""});
  m_designer.BuildContextMenu();
  std::vector<MenuLine> plain = {{10, "Cut", true, false},
                                 {11, "Copy", true, false},
                                 {12, "Paste", !m_designer.CanPaste(), false},
                                 {0, "", false, false},
                                 {13, "Select All", false, false},
                                 {0, "", false, false},
                                 {15, "Test", false, false}};
  EXPECT_EQ(plain, Lines(m_designer.m_contextMenu.m_hMenu));
  Named("LOCKED")->m_locked = true;
  Select({"LOCKED"});
  m_designer.BuildContextMenu();
  EXPECT_TRUE(Lines(m_designer.m_contextMenu.m_hMenu)[1].grey);

  // The tab's pages: a submenu each after Select All.
  Select({"TAB1"});
  m_designer.BuildContextMenu();
  HMENU menu = m_designer.m_contextMenu.m_hMenu;
  std::vector<MenuLine> lines = Lines(menu);
  ASSERT_EQ(10u, lines.size());
  EXPECT_FALSE(lines[0].grey);
  EXPECT_EQ("One", lines[6].text);
  EXPECT_EQ("Two", lines[7].text);
  std::vector<MenuLine> second = {{6001, "Select", false, false}, {0, "", false, false},
                                  {6011, "A", false, true},       {6012, "B", false, false},
                                  {6013, "C", false, false},      {6014, "LOCKED", false, false}};
  EXPECT_EQ(second, Lines(::GetSubMenu(menu, 7)));
  EXPECT_EQ(3001u, Lines(::GetSubMenu(menu, 6))[0].id);
  EXPECT_FALSE(Lines(::GetSubMenu(menu, 6))[2].checked);
  // Choosing B on the second page puts it there; choosing A takes A off.
  ASSERT_EQ(2, m_designer.m_pageMenus.GetCount());
  WPARAM page = reinterpret_cast<WPARAM>(m_designer.m_pageMenus[1]);
  m_designer.SendMessage(SWM_MENUCOMMAND, page, 6012);
  EXPECT_EQ(SString("1 7 1 8 "),
            SDialogDesigner::GetProperty(Named("TAB1"), "TAB_CHILDREN_PRIVATE"));
  m_designer.SendMessage(SWM_MENUCOMMAND, page, 6011);
  EXPECT_EQ(SString("1 8 "), SDialogDesigner::GetProperty(Named("TAB1"), "TAB_CHILDREN_PRIVATE"));
  m_designer.SendMessage(SWM_MENUCOMMAND, page, 6001);
  EXPECT_EQ(1, SDialogDesigner::GetPropertyInt(Named("TAB1"), "TAB_SELECTION"));
  // A fourth page's ids do nothing.
  m_designer.SendMessage(SWM_MENUCOMMAND, page, 12001);
  EXPECT_EQ(1, SDialogDesigner::GetPropertyInt(Named("TAB1"), "TAB_SELECTION"));

  // The right button selects, then opens the menu there.
  ::SetTimer(nullptr, 0, 50, EndMenuSoon);
  m_designer.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(22 + 25, 22 + 45));
  EXPECT_EQ(Named("A"), m_designer.GetPrimary());
  EXPECT_EQ(7, ::GetMenuItemCount(m_designer.m_contextMenu.m_hMenu));
}
