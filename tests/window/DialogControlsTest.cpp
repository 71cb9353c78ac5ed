#include "core/Platform.h"
#include "window/ControlKinds.h"
#include "window/SDialog.h"

#include "core/SFileMem.h"
#include "window/SCheckCtrl.h"
#include "window/SExternCtrl.h"
#include "window/SLabelCtrl.h"
#include "window/SLcdCtrl.h"
#include "window/SLevelCtrl.h"
#include "window/SRadioCtrl.h"
#include "window/SSplitterCtrl.h"
#include "window/SStaticCtrl.h"
#include "window/STabCtrl.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/DialogTextCorpus.h"

#include <gtest/gtest.h>

#include <string>

namespace {

typedef ControlKinds K;

// A dialog with one control of every simple kind, each with its keys.
std::string EveryKindText() {
  const std::string visible = "STYLE=WS_VISIBLE ";
  return DialogText(
      {DialogSection("420 320", {"DIALOG_STATUSBARTEXT=one|two"}),
       ButtonSection(1, "OK", "10 280 60 25"),
       Section("CHECK", 2, "check", "10 10 90 20", {visible, "CAPTION=Check", "CHECK_CHECKED=1"}),
       Section("RADIO", 3, "radioA", "10 35 90 20", {visible, "RADIO_GROUP=1", "RADIO_CHECKED=1"}),
       Section("RADIO", 4, "radioB", "10 60 90 20", {visible, "RADIO_GROUP=1", "RADIO_CHECKED=1"}),
       Section("TAB", 5, "tab", "110 10 200 120",
               {visible, "TAB_CONTENT=First|Second", "TAB_SELECTION=1",
                "TAB_CHILDREN_PRIVATE=0 2 1 6 1 5 7 6 0"}),
       Section("EXTENDEDLIST", 6, "list", "120 40 150 60",
               {visible + "LVS_REPORT ", "EXLIST_GRIDLINES=1", "EXLIST_FULLROWSELECT=1"}),
       Section("EXTERN", 7, "ext", "10 90 60 30",
               {visible, "EXTERN_NAME=Gauge", "EXTERN_FILENAME=gauge.dll"}),
       Section("LABEL", 8, "label", "10 130 120 20",
               {visible, "CAPTION=Hello", "LABEL_HALIGN=_RIGHT", "LABEL_VALIGN=_BOTTOM"}),
       Section("LCD", 9, "lcd", "10 160 200 40",
               {visible, "CAPTION=ABC", "LCD_CHARCOUNT=0", "LCD_LINECOUNT=2", "LCD_PIXELWIDTH=3",
                "LCD_PIXELHEIGHT=1", "LCD_HALIGN=_CENTER", "LCD_CELLCOLOR=255",
                "LCD_SCROLLSPEED=2.5", "LCD_SCROLL=1"}),
       Section(
           "LEVEL", 10, "level", "220 160 100 40",
           {visible, "LEVEL_HORIZONTAL=1", "LEVEL_TICK=1", "LEVEL_CHANNELCOUNT=3",
            "LEVEL_MINVALUE=-10", "LEVEL_MAXVALUE=10", "LEVEL_VALUE=4", "LEVEL_LOWCOLOR=65280"}),
       Section("PROGRESS", 11, "progress", "10 210 120 15",
               {visible, "PROGRESS_MINVALUE=5", "PROGRESS_MAXVALUE=50", "PROGRESS_VALUE=20"}),
       Section("RICHEDIT", 12, "rich", "140 210 120 40", {visible, "CAPTION=rich"}),
       Section("SCROLL", 13, "scroll", "270 210 120 15",
               {visible, "SCROLL_MINVALUE=0", "SCROLL_MAXVALUE=9", "SCROLL_VALUE=3"}),
       Section("SLIDER", 14, "slider", "270 230 120 25",
               {visible, "SLIDER_MINVALUE=2", "SLIDER_MAXVALUE=8", "SLIDER_VALUE=6"}),
       Section(
           "SPLITTER", 15, "splitter", "320 10 90 120",
           {visible, "SPLITTER_COLCOUNT=2", "SPLITTER_ROWCOUNT=3", "SPLITTER_WINDOWBACKCOLOR=255"}),
       Section(
           "STATIC", 16, "static", "80 280 60 25",
           {visible, "STATIC_EDGE=_EDGESUNKEN", "STATIC_LEFTBORDER=1", "STATIC_BOTTOMBORDER=1"})});
}

template <class T>
T* Get(SDialog& dialog, const char* name) {
  return dynamic_cast<T*>(dialog.GetControl(name));
}

// Shown by its own style (the dialog itself stays hidden).
bool Visible(SWnd* wnd) { return wnd && (StyleOf(wnd->m_hWnd) & WS_VISIBLE) != 0; }

}  // namespace

TEST(DialogControls, EveryKindIsBuiltWithItsPropertiesAndRunsModally) {
  SDialog dialog;
  ASSERT_TRUE(BuildDialog(dialog, EveryKindText()));
  struct Row {
    const char* name;
    int kind;
  };
  const Row rows[] = {
      {"check", K::KIND_CHECK},       {"radioA", K::KIND_RADIO},  {"tab", K::KIND_TAB},
      {"list", K::KIND_EXTENDEDLIST}, {"ext", K::KIND_EXTERN},    {"label", K::KIND_LABEL},
      {"lcd", K::KIND_LCD},           {"level", K::KIND_LEVEL},   {"progress", K::KIND_PROGRESS},
      {"rich", K::KIND_RICHEDIT},     {"scroll", K::KIND_SCROLL}, {"slider", K::KIND_SLIDER},
      {"splitter", K::KIND_SPLITTER}, {"static", K::KIND_STATIC}};
  for (const Row& row : rows) {
    SWnd* control = dialog.GetControl(row.name);
    ASSERT_NE(nullptr, control) << row.name;
    EXPECT_EQ(row.kind, control->m_kind) << row.name;
  }

  EXPECT_EQ(1, Get<SCheckCtrl>(dialog, "check")->GetCheck());
  // The second radio of the group took the check from the first.
  EXPECT_EQ(BST_UNCHECKED, dialog.GetControl("radioA")->SendMessage(BM_GETCHECK));
  EXPECT_EQ(BST_CHECKED, dialog.GetControl("radioB")->SendMessage(BM_GETCHECK));
  EXPECT_EQ(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
            dialog.GetControl("list")->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
  SExternCtrl* ext = Get<SExternCtrl>(dialog, "ext");
  EXPECT_STREQ("Gauge", ext->m_externName.GetText());
  EXPECT_STREQ("gauge.dll", ext->m_fileName.GetText());
  EXPECT_EQ(0x00FFFFFFu, ext->GetBackColor());
  EXPECT_EQ(SLabelCtrl::ALIGN_RIGHT | SLabelCtrl::ALIGN_BOTTOM,
            Get<SLabelCtrl>(dialog, "label")->m_alignment);
  SLcdCtrl* lcd = Get<SLcdCtrl>(dialog, "lcd");
  EXPECT_EQ(1, lcd->m_charCount) << "a count of 0 is raised to 1";
  EXPECT_EQ(2, lcd->m_lineCount);
  EXPECT_EQ(3, lcd->m_pixelWidth);
  EXPECT_EQ(1, lcd->m_alignment);
  EXPECT_EQ(0x000000FFu, lcd->m_cellColor);
  EXPECT_TRUE(lcd->m_scrolling);
  EXPECT_DOUBLE_EQ(2.5, lcd->m_speeds[1]);
  SLevelCtrl* level = Get<SLevelCtrl>(dialog, "level");
  EXPECT_FALSE(level->m_vertical);
  EXPECT_EQ(3, level->GetChannelCount());
  EXPECT_EQ(-10, level->m_minimum);
  EXPECT_EQ(4, level->m_values[2]);
  EXPECT_EQ(0x0000FF00u, level->m_lowColor);
  EXPECT_EQ(20, dialog.GetControl("progress")->SendMessage(PBM_GETPOS));
  EXPECT_EQ(3, dialog.GetControl("scroll")->SendMessage(SBM_GETPOS));
  EXPECT_EQ(6, dialog.GetControl("slider")->SendMessage(TBM_GETPOS));
  EXPECT_EQ(2, dialog.GetControl("slider")->SendMessage(TBM_GETRANGEMIN));
  SSplitterCtrl* splitter = Get<SSplitterCtrl>(dialog, "splitter");
  EXPECT_EQ(2, splitter->m_columns);
  EXPECT_EQ(3, splitter->m_rows);
  EXPECT_EQ(0x000000FFu, splitter->GetPane(1, 2)->GetBackColor());
  SStaticCtrl* edge = Get<SStaticCtrl>(dialog, "static");
  EXPECT_EQ(UINT(EDGE_SUNKEN), edge->m_edge);
  EXPECT_EQ(UINT(BF_LEFT | BF_BOTTOM), edge->m_borders);

  // Pages: the check on page 0, the list on page 1; the tab itself, page 7
  // and the odd last page (with id 0, no control) are skipped. Page 1 is
  // selected.
  STabCtrl* tab = Get<STabCtrl>(dialog, "tab");
  EXPECT_EQ(2, tab->m_pages.GetCount());
  EXPECT_FALSE(Visible(dialog.GetControl("check")));
  EXPECT_TRUE(Visible(dialog.GetControl("list")));
  tab->SendMessage(TCM_SETCURSEL, 0);
  NMHDR change = {tab->m_hWnd, 5, UINT(TCN_SELCHANGE)};
  dialog.SendMessage(WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&change));
  EXPECT_TRUE(Visible(dialog.GetControl("check")));
  EXPECT_FALSE(Visible(dialog.GetControl("list")));

  ModalGuard guard(&dialog);
  ::PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.GetControl("OK")->m_hWnd));
  EXPECT_EQ(0, dialog.RunModal(0, 0));
}

// Mutations of the resource's and the corpus's player dialogs, of a dialog
// using the dialog keys and of one with every simple kind, built as children
// of a hidden window.
TEST(DialogControls, MalformedTextsNeverCrashTheBuilder) {
  SFileMem resource("BINARY", 129);
  ASSERT_TRUE(resource.IsOpen());
  std::string keys = DialogText(
      {DialogSection("300 200",
                     {"DIALOG_STATUSBARTEXT=a|b|c", "DIALOG_FOCUS=2", "DIALOG_MINSIZE=1",
                      "DIALOG_MAXSIZE=1", "DIALOG_LAYER=0", "DIALOG_IMAGEDRAWMODE=_DRAWTILE"}),
       Section("BUTTON", 1, "OK", "10 10 80 25",
               {"STYLE=WS_VISIBLE ", "TABENABLED=1", "TABINDEX=2", "TABGROUP=1", "HALIGN=2"}),
       Section("WINDOW", 2, "W", "10 40 80 25",
               {"STYLE=WS_VISIBLE ", "BACKCOLOR=#FF00FF", "VALIGN=32"}),
       Section("EDIT", 3, "E", "10 70 80 25",
               {"STYLE=WS_VISIBLE ES_AUTOHSCROLL ", "EDIT_MAXLENGTH=5", "EDIT_SELECTALL=1"}),
       Section("LIST", 4, "L", "10 100 80 55",
               {"STYLE=WS_VISIBLE WS_VSCROLL ", "LIST_CONTENT=a|b|c"}),
       Section("TOOLBAR", 5, "T", "100 10 180 25", {"STYLE=WS_VISIBLE ", "TOOLBAR_CONTENT=a||b"}),
       Section("MEDIA", 6, "M", "100 40 180 60",
               {"CAPTION=<b>x</b> y", "STYLE=WS_VISIBLE ", "MEDIA_TAGS=1", "MEDIA_LEFTMARGIN=3",
                "MEDIA_AUTOSCROLLY=5", "MEDIA_LINKCOLOR=255"}),
       Section("COMBO", 7, "C", "100 100 180 60",
               {"STYLE=WS_VISIBLE CBS_SIMPLE ", "COMBO_CONTENT=x|\"y|z\""})});
  const std::string texts[] = {
      std::string(reinterpret_cast<const char*>(resource.GetBuffer()), size_t(resource.GetSize())),
      PlayerDialogText(), keys, EveryKindText()};
  SWnd host;
  ASSERT_TRUE(host.Create("host", WS_POPUP));
  DialogTextMutator mutator(20240611);
  int built = 0;
  for (int i = 0; i < 600; ++i) {
    SCOPED_TRACE(i);
    SDialog dialog;
    built += BuildDialog(dialog, mutator.Mutate(texts[i % 4]), nullptr, host.m_hWnd) ? 1 : 0;
  }
  EXPECT_GT(built, 0);
  // Values far outside any sensible range are bounded, not allocated.
  SDialog huge;
  ASSERT_TRUE(BuildDialog(
      huge,
      DialogText({DialogSection("200 200"),
                  Section("LCD", 1, "lcd", "0 0 50 50",
                          {"LCD_CHARCOUNT=2147483647", "LCD_LINECOUNT=99999999",
                           "LCD_PIXELWIDTH=-5", "LCD_SCROLLSPEED=1e400"}),
                  Section("LEVEL", 2, "level", "0 0 50 50", {"LEVEL_CHANNELCOUNT=2147483647"}),
                  Section("SPLITTER", 3, "splitter", "0 0 50 50",
                          {"SPLITTER_COLCOUNT=100000", "SPLITTER_ROWCOUNT=2"})}),
      nullptr, host.m_hWnd));
  SLcdCtrl* lcd = Get<SLcdCtrl>(huge, "lcd");
  EXPECT_EQ(1024, lcd->m_charCount);
  EXPECT_EQ(256, lcd->m_lineCount);
  EXPECT_EQ(1, lcd->m_pixelWidth);
  EXPECT_EQ(1024, Get<SLevelCtrl>(huge, "level")->GetChannelCount());
  EXPECT_EQ(0, Get<SSplitterCtrl>(huge, "splitter")->m_columns);
}
