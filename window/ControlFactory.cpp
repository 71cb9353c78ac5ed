// CreateDialogControl: the type table, the common sequence, the registered
// classes and the branches of the toolkit's own classes.
#include "core/Platform.h"
#include "window/ControlFactory.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "core/SResource.h"
#include "core/SStringParser.h"
#include "window/SButtonCtrl.h"
#include "window/SCheckCtrl.h"
#include "window/SComboCtrl.h"
#include "window/SDialog.h"
#include "window/SEditCtrl.h"
#include "window/SExListCtrl.h"
#include "window/SExternCtrl.h"
#include "window/SGroupCtrl.h"
#include "window/SLabelCtrl.h"
#include "window/SLcdCtrl.h"
#include "window/SLevelCtrl.h"
#include "window/SListCtrl.h"
#include "window/SMediaCtrl.h"
#include "window/SProgressCtrl.h"
#include "window/SRadioCtrl.h"
#include "window/SRichEditCtrl.h"
#include "window/SScrollCtrl.h"
#include "window/SSliderCtrl.h"
#include "window/SSplitterCtrl.h"
#include "window/SStaticCtrl.h"
#include "window/STabCtrl.h"
#include "window/SToolBarCtrl.h"
#include "window/ToolbarFile.h"
#include "window/WindowPrivate.h"

#include <math.h>

#include <string>
#include <vector>

namespace {

typedef SDialogRecords::_SCtrl Record;

const COLORREF kWhite = 0x00FFFFFF;
const COLORREF kSystemColor = 0xFE000000;
// Tool-bar buttons of TOOLBAR_CONTENT: BTNS_AUTOSIZE, BTNS_SHOWTEXT.
const BYTE kToolButtonStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
const int kDefaultToolImageSide = 16;

// What the common sequence hands to a type's branch.
struct Build {
  HWND parent;
  const Record* record;
  SResource* archive;
  bool runMode;
  DWORD style;      // the record's style with the type's additions
  DWORD exStyle;
  RECT rect;
  int id;           // the window's control id
  const char* title;
};

// How the window of a type is made when its class has no creation of its
// own: SWnd::Create of the framework class (with the title, or always
// untitled) or SWnd::CreateControl of a system class.
enum Making { FRAMEWORK, FRAMEWORK_UNTITLED, SYSTEM };

enum : unsigned {
  CAPTION_TITLE = 1,        // the window title is CAPTION, else empty
  ALWAYS_CHILD = 2,         // WS_CHILD even with WS_POPUP
  NO_ID = 4,                // control id 0
  MULTILINE_IN_DESIGN = 8,  // ES_MULTILINE outside run mode
};

// One control type. A type whose class belongs to the window toolkit has a
// constructor here; the others are made from a registered class, or not at
// all.
struct TypeRow {
  int type;
  Making making;
  const char* className;
  DWORD addedStyle;
  unsigned flags;
  SWnd* (*construct)();
  bool (*create)(SWnd* control, const Build& b);   // the class's own creation, or null
  void (*prepare)(SWnd* control, const Build& b);  // before the window, or null
  void (*configure)(SWnd* control, const Build& b);
};

const SDialogControlClass* g_registered[SDialogRecords::TYPE_COUNT];

// The document makes its live windows through the factory.
const bool kControlMakerSet = (SDialogEditor::s_controlMaker = CreateDialogControl, true);

// --- reading keys -------------------------------------------------------------

bool Flag(const Record* r, const char* key) { return SDialogRecords::GetPropertyBool(r, key); }
int Int(const Record* r, const char* key) { return SDialogRecords::GetPropertyInt(r, key); }

// A real value; a value that is not finite reads as 0.
double Real(const Record* r, const char* key) {
  double value = SDialogRecords::GetPropertyDouble(r, key);
  return isfinite(value) ? value : 0.0;
}

struct Choice {
  const char* name;
  int value;
};

const Choice kHorizontalAlign[] = {{"_JUSTIFY", 3}, {"_CENTER", 1}, {"_RIGHT", 2}};
const Choice kVerticalAlign[] = {{"_MIDDLE", 0x10}, {"_BOTTOM", 0x20}};

template <size_t N>
int ReadChoice(const Record* r, const char* key, const Choice (&choices)[N]) {
  SString value = SDialogRecords::GetProperty(r, key);
  for (const Choice& choice : choices) {
    if (value == choice.name) return choice.value;
  }
  return 0;
}

// The tokens of a list value; none when a quote is left open.
template <class F>
void ForEachToken(const Record* r, const char* key, F use) {
  SString value = SDialogRecords::GetProperty(r, key);
  SStringParser parser(value.GetText());
  int count = parser.Parse("|", kListFlags, '"');
  for (int i = 0; i < count; ++i) {
    SString token = parser.GetToken(i);
    use(token.GetText() ? token.GetText() : "");
  }
}

// The archive entry the key names, loaded into the file; false without an
// archive, for an empty name and for a missing entry.
bool LoadEntry(const Build& b, const char* key, SFileMem* file) {
  if (!b.archive) return false;
  SString name = SDialogRecords::GetProperty(b.record, key);
  return name.GetLength() > 0 && b.archive->Load(file, name.GetText(), true);
}

// Every non-empty line of the entry, trimmed.
template <class F>
void ForEachEntryLine(const Build& b, const char* key, F use) {
  SFileMem file;
  if (!LoadEntry(b, key, &file)) return;
  while (!file.IsEOF()) {
    SString line = file.ReadLine(false);
    if (line.GetLength() > 0) use(line.GetText());
  }
}

// The whole entry as the window text.
void SetTextFromEntry(SWnd* control, const Build& b, const char* key) {
  SFileMem file;
  if (!LoadEntry(b, key, &file)) return;
  SString text = file.ReadString(-1);
  control->SetText(text.GetText() ? text.GetText() : "");
}

// The entry decoded as the window's background image.
void SetImageFromEntry(SWnd* control, const Build& b, const char* key, COLORREF shapeKey) {
  SFileMem file;
  if (!LoadEntry(b, key, &file)) return;
  SImage image;
  if (image.Load(&file) && image.GetBitmap())
    control->SetBackgroundImage(image.GetBitmap(), shapeKey);
}

void SetBackground(SWnd* control, const Record* r) {
  if (r->m_backColor != SImage::COLOR_NONE)
    control->SetBackColor(DecodeDialogColor(r->m_backColor));
}

// A COLORREF as the rich text view's colour: alpha 254, red from the low
// byte.
uint32_t ToViewColor(COLORREF color) {
  return 0xFE000000u | (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) |
         uint32_t(GetBValue(color));
}

// --- branches -------------------------------------------------------------------

template <class T>
SWnd* Construct() {
  return new T;
}

bool CreateButtonWindow(SWnd* control, const Build& b) {
  return control->CreateButton(b.style, b.title, b.exStyle, &b.rect, b.parent,
                               reinterpret_cast<HMENU>(INT_PTR(b.id)));
}

void ConfigureBackground(SWnd* control, const Build& b) { SetBackground(control, b.record); }

bool CreateCombo(SWnd* control, const Build& b) {
  return static_cast<SComboCtrl*>(control)->Create(b.style, b.title, b.exStyle, &b.rect, b.parent,
                                                   b.id);
}

void ConfigureCombo(SWnd* control, const Build& b) {
  SComboCtrl* combo = static_cast<SComboCtrl*>(control);
  ForEachEntryLine(b, "COMBO_FILE", [combo](const char* line) { combo->AddString(line); });
  ForEachToken(b.record, "COMBO_CONTENT", [combo](const char* item) { combo->AddString(item); });
}

bool CreateEdit(SWnd* control, const Build& b) {
  return static_cast<SEditCtrl*>(control)->Create(b.style, b.title, b.exStyle, &b.rect, b.parent,
                                                  b.id);
}

void ConfigureEdit(SWnd* control, const Build& b) {
  SEditCtrl* edit = static_cast<SEditCtrl*>(control);
  const Record* r = b.record;
  if (Flag(r, "EDIT_NOPOPUPMENU")) edit->m_popupMenu = false;
  if (r->m_textColor != SImage::COLOR_NONE) edit->m_textColor = DecodeDialogColor(r->m_textColor);
  SetBackground(control, r);
  SetTextFromEntry(control, b, "EDIT_TEXT");
  int maxLength = Int(r, "EDIT_MAXLENGTH");
  if (maxLength != 0) control->SendMessage(EM_LIMITTEXT, WPARAM(maxLength), 0);
  if (Flag(r, "EDIT_SELECTALL")) control->SendMessage(EM_SETSEL, 0, -1);
}

bool CreateList(SWnd* control, const Build& b) {
  return static_cast<SListCtrl*>(control)->Create(b.style, b.exStyle, &b.rect, b.parent, b.id);
}

void ConfigureList(SWnd* control, const Build& b) {
  SListCtrl* list = static_cast<SListCtrl*>(control);
  const Record* r = b.record;
  if (r->m_textColor != SImage::COLOR_NONE) list->m_textColor = DecodeDialogColor(r->m_textColor);
  SetBackground(control, r);
  COLORREF selText = SDialogRecords::GetPropertyColor(r, "LIST_SELTEXTCOLOR");
  if (selText != SImage::COLOR_NONE) list->m_selTextColor = selText;
  COLORREF selBack = SDialogRecords::GetPropertyColor(r, "LIST_SELBACKCOLOR");
  if (selBack != SImage::COLOR_NONE) list->m_selBackColor = selBack;
  ForEachEntryLine(b, "LIST_FILE", [list](const char* line) { list->AddItem(line); });
  ForEachToken(r, "LIST_CONTENT", [list](const char* item) { list->AddItem(item); });
}

void PrepareMedia(SWnd* control, const Build& b) {
  static_cast<SMediaCtrl*>(control)->m_archive = b.archive;
}

bool CreateMedia(SWnd* control, const Build& b) {
  return static_cast<SMediaCtrl*>(control)->Create(b.style, b.title, b.exStyle, &b.rect, b.parent,
                                                   b.id);
}

void ConfigureMedia(SWnd* control, const Build& b) {
  SMediaCtrl* media = static_cast<SMediaCtrl*>(control);
  const Record* r = b.record;
  if (r->m_textColor != SImage::COLOR_NONE) {
    media->m_textColor = ToViewColor(DecodeDialogColor(r->m_textColor));
    if (media->m_tags) media->ParseText();
  }
  SetBackground(control, r);
  if (r->m_transparent) control->SetBackColor(SImage::COLOR_HOLLOW);
  COLORREF link = SDialogRecords::GetLinkColorProperty(r);
  if (link != SImage::COLOR_NONE) {
    media->m_linkColor = ToViewColor(DecodeDialogColor(link));
    control->Redraw();
  }
  media->SetAlign(ReadChoice(r, "MEDIA_HALIGN", kHorizontalAlign) |
                  ReadChoice(r, "MEDIA_VALIGN", kVerticalAlign));
  media->SetWrapping(Flag(r, "MEDIA_WRAPPING"));
  media->SetTrimming(Flag(r, "MEDIA_TRIMMING"));
  media->SetTagsEnabled(Flag(r, "MEDIA_TAGS"));

  media->m_stateImagesOn = Flag(r, "MEDIA_BUTTON");
  media->m_hover = media->m_pressed = media->m_checked = false;
  if (media->m_stateImagesOn) media->m_checked = Flag(r, "MEDIA_CHECKED");
  control->Redraw();

  media->SetMargins(Int(r, "MEDIA_LEFTMARGIN"), Int(r, "MEDIA_TOPMARGIN"),
                    Int(r, "MEDIA_RIGHTMARGIN"), Int(r, "MEDIA_BOTTOMMARGIN"));
  SWnd::SetImageDrawMode(control, SDialogRecords::GetPropertyDrawMode(r, "MEDIA_IMAGEDRAWMODE"));

  if (b.archive) {
    SetTextFromEntry(control, b, "MEDIA_TEXT");
    SetImageFromEntry(control, b, "MEDIA_IMAGE",
                      Flag(r, "MEDIA_SHAPE") ? kShapeKey : SImage::COLOR_NONE);
    SString over = SDialogRecords::GetProperty(r, "MEDIA_BUTTONOVER");
    SString push = SDialogRecords::GetProperty(r, "MEDIA_BUTTONPUSH");
    SString check = SDialogRecords::GetProperty(r, "MEDIA_BUTTONCHECK");
    SString disabled = SDialogRecords::GetProperty(r, "MEDIA_BUTTONDISABLED");
    control->LoadStateImages(b.archive, over.GetText(), push.GetText(), check.GetText(),
                             disabled.GetText());
  }

  if (b.runMode) {
    double x = -fabs(Real(r, "MEDIA_AUTOSCROLLX"));
    double y = -fabs(Real(r, "MEDIA_AUTOSCROLLY"));
    if (x != 0.0 || y != 0.0) {
      media->SetAutoScroll(x, y);
      media->m_loop = Flag(r, "MEDIA_AUTOSCROLLLOOP");
    }
  }
}

bool CreateToolBar(SWnd* control, const Build& b) {
  return static_cast<SToolBarCtrl*>(control)->Create(b.style, b.exStyle, &b.rect, b.parent, b.id);
}

void ConfigureToolBar(SWnd* control, const Build& b) {
  SToolBarCtrl* toolBar = static_cast<SToolBarCtrl*>(control);
  const Record* r = b.record;
  if (Flag(r, "TOOLBAR_TRANSPARENT")) toolBar->SetTransparent();
  int width = Int(r, "TOOLBAR_IMAGEWIDTH");
  int height = Int(r, "TOOLBAR_IMAGEHEIGHT");
  toolBar->SetImageSize(width ? width : kDefaultToolImageSide,
                        height ? height : kDefaultToolImageSide);
  // Empty tokens make one separator before the next button. The buttons go
  // to the tool bar in one call, at most MAX_TOOLBAR_BUTTONS of them.
  bool separator = false;
  int count = 0;
  std::vector<TBBUTTON> buttons;
  std::vector<std::string> texts;
  ForEachToken(r, "TOOLBAR_CONTENT", [&](const char* text) {
    if (!*text) {
      separator = true;
      return;
    }
    if (buttons.size() + (separator ? 2 : 1) > size_t(MAX_TOOLBAR_BUTTONS)) return;
    if (separator) buttons.push_back(ToolbarSeparator(0));
    separator = false;
    TBBUTTON button = ToolbarSeparator(count);
    button.iBitmap = count;
    button.fsStyle = kToolButtonStyle;
    buttons.push_back(button);
    texts.push_back(text);
    ++count;
  });
  // The texts are in place now: point the buttons at them.
  size_t next = 0;
  for (TBBUTTON& button : buttons) {
    if (button.fsStyle != BTNS_SEP)
      button.iString = reinterpret_cast<INT_PTR>(texts[next++].c_str());
  }
  if (!buttons.empty()) toolBar->AddButtons(buttons.data(), int(buttons.size()));
}

void ConfigureWindow(SWnd* control, const Build& b) {
  const Record* r = b.record;
  if (r->m_transparent) {
    control->SetBackColor(SImage::COLOR_HOLLOW);
  } else {
    control->SetBackColor(r->m_backColor != SImage::COLOR_NONE ? DecodeDialogColor(r->m_backColor)
                                                               : kWhite);
  }
}

// --- the simple controls: check, radio, tab, lists, labels, displays, bars ------

const Choice kEdges[] = {{"_EDGEBUMP", EDGE_BUMP},
                         {"_EDGEETCHED", EDGE_ETCHED},
                         {"_EDGERAISED", EDGE_RAISED},
                         {"_EDGESUNKEN", EDGE_SUNKEN},
                         {"_EDGERAISEDINNER", BDR_RAISEDINNER},
                         {"_EDGERAISEDOUTER", BDR_RAISEDOUTER},
                         {"_EDGESUNKENINNER", BDR_SUNKENINNER},
                         {"_EDGESUNKENOUTER", BDR_SUNKENOUTER}};

struct BorderKey {
  const char* key;
  UINT side;
};
const BorderKey kBorders[] = {{"STATIC_LEFTBORDER", BF_LEFT},
                              {"STATIC_TOPBORDER", BF_TOP},
                              {"STATIC_RIGHTBORDER", BF_RIGHT},
                              {"STATIC_BOTTOMBORDER", BF_BOTTOM}};

COLORREF Color(const Record* r, const char* key) { return SDialogRecords::GetPropertyColor(r, key); }

void ConfigureCheck(SWnd* control, const Build& b) {
  SetBackground(control, b.record);
  if (Int(b.record, "CHECK_CHECKED") != 0) control->SendMessage(BM_SETCHECK, BST_CHECKED);
}

bool CreateExList(SWnd* control, const Build& b) {
  return static_cast<SExListCtrl*>(control)->Create(&b.rect, b.style, b.exStyle, b.parent, b.id);
}

void ConfigureExList(SWnd* control, const Build& b) {
  DWORD style = (Flag(b.record, "EXLIST_GRIDLINES") ? LVS_EX_GRIDLINES : 0) |
                (Flag(b.record, "EXLIST_FULLROWSELECT") ? LVS_EX_FULLROWSELECT : 0);
  control->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(style));
}

void ConfigureLabel(SWnd* control, const Build& b) {
  SLabelCtrl* label = static_cast<SLabelCtrl*>(control);
  const Record* r = b.record;
  if (r->m_textColor != SImage::COLOR_NONE) label->m_textColor = DecodeDialogColor(r->m_textColor);
  SetBackground(control, r);
  if (r->m_transparent) control->SetBackColor(SImage::COLOR_HOLLOW);
  label->SetAlignment(ReadChoice(r, "LABEL_HALIGN", kHorizontalAlign) |
                      ReadChoice(r, "LABEL_VALIGN", kVerticalAlign));
  SWnd::SetImageDrawMode(control, SDialogRecords::GetPropertyDrawMode(r, "LABEL_IMAGEDRAWMODE"));
  SetTextFromEntry(control, b, "LABEL_TEXT");
  SetImageFromEntry(control, b, "LABEL_IMAGE", SImage::COLOR_NONE);
}

void ConfigureLcd(SWnd* control, const Build& b) {
  SLcdCtrl* lcd = static_cast<SLcdCtrl*>(control);
  const Record* r = b.record;
  if (r->m_textColor != SImage::COLOR_NONE) lcd->m_dotColor = DecodeDialogColor(r->m_textColor);
  SetBackground(control, r);
  if (r->m_transparent) control->SetBackColor(SImage::COLOR_HOLLOW);
  COLORREF cell = Color(r, "LCD_CELLCOLOR");
  if (cell != SImage::COLOR_NONE) lcd->m_cellColor = cell;
  lcd->SetAlignment(ReadChoice(r, "LCD_HALIGN", kHorizontalAlign));
  lcd->SetPixelSize(Int(r, "LCD_PIXELWIDTH"), Int(r, "LCD_PIXELHEIGHT"));
  lcd->SetCharCount(Int(r, "LCD_CHARCOUNT"));
  lcd->SetLineCount(Int(r, "LCD_LINECOUNT"));
  SetTextFromEntry(control, b, "LCD_TEXT");
  if (!b.runMode) return;
  double speed = Real(r, "LCD_SCROLLSPEED");
  if (speed != 0.0) lcd->SetScrollSpeed(-1, speed);
  if (Int(r, "LCD_SCROLL") != 0) lcd->StartScrolling();
}

void ConfigureLevel(SWnd* control, const Build& b) {
  SLevelCtrl* level = static_cast<SLevelCtrl*>(control);
  const Record* r = b.record;
  level->SetColors(Color(r, "LEVEL_BACKCOLOR"), Color(r, "LEVEL_LOWCOLOR"),
                   Color(r, "LEVEL_HIGHCOLOR"));
  level->m_vertical = !Flag(r, "LEVEL_HORIZONTAL");
  level->m_tick = Flag(r, "LEVEL_TICK");
  level->SetChannelCount(Int(r, "LEVEL_CHANNELCOUNT"));
  level->SetRange(Int(r, "LEVEL_MINVALUE"), Int(r, "LEVEL_MAXVALUE"));
  level->SetValue(-1, Int(r, "LEVEL_VALUE"), true);
}

void ConfigureProgress(SWnd* control, const Build& b) {
  control->SendMessage(PBM_SETRANGE32, WPARAM(Int(b.record, "PROGRESS_MINVALUE")),
                       LPARAM(Int(b.record, "PROGRESS_MAXVALUE")));
  control->SendMessage(PBM_SETPOS, WPARAM(Int(b.record, "PROGRESS_VALUE")));
}

void ConfigureRadio(SWnd* control, const Build& b) {
  SRadioCtrl* radio = static_cast<SRadioCtrl*>(control);
  SetBackground(control, b.record);
  radio->m_group = Int(b.record, "RADIO_GROUP");
  if (Int(b.record, "RADIO_CHECKED") != 0) radio->SetCheck();
}

void ConfigureRichEdit(SWnd* control, const Build& b) {
  SFileMem file;
  if (LoadEntry(b, "RICHEDIT_FILE", &file)) static_cast<SRichEditCtrl*>(control)->LoadFromFile(&file);
}

void ConfigureScroll(SWnd* control, const Build& b) {
  control->SendMessage(SBM_SETRANGE, WPARAM(Int(b.record, "SCROLL_MINVALUE")),
                       LPARAM(Int(b.record, "SCROLL_MAXVALUE")));
  control->SendMessage(SBM_SETPOS, WPARAM(Int(b.record, "SCROLL_VALUE")), TRUE);
}

void ConfigureSlider(SWnd* control, const Build& b) {
  SetBackground(control, b.record);
  control->SendMessage(TBM_SETRANGEMIN, FALSE, LPARAM(Int(b.record, "SLIDER_MINVALUE")));
  control->SendMessage(TBM_SETRANGEMAX, FALSE, LPARAM(Int(b.record, "SLIDER_MAXVALUE")));
  control->Redraw();
  control->SendMessage(TBM_SETPOS, TRUE, LPARAM(Int(b.record, "SLIDER_VALUE")));
}

void ConfigureSplitter(SWnd* control, const Build& b) {
  SSplitterCtrl* splitter = static_cast<SSplitterCtrl*>(control);
  COLORREF panes = Color(b.record, "SPLITTER_WINDOWBACKCOLOR");
  if (panes != SImage::COLOR_NONE) splitter->m_paneColor = panes;
  splitter->SetGrid(Int(b.record, "SPLITTER_COLCOUNT"), Int(b.record, "SPLITTER_ROWCOUNT"));
}

bool CreateStaticCtrl(SWnd* control, const Build& b) {
  return static_cast<SStaticCtrl*>(control)->Create(b.style, b.exStyle, &b.rect, b.parent, b.id);
}

void ConfigureStatic(SWnd* control, const Build& b) {
  SStaticCtrl* edge = static_cast<SStaticCtrl*>(control);
  const Record* r = b.record;
  edge->m_edge = UINT(ReadChoice(r, "STATIC_EDGE", kEdges));
  edge->m_borders = 0;
  for (const BorderKey& border : kBorders) {
    if (Flag(r, border.key)) edge->m_borders |= border.side;
  }
  SetBackground(control, r);
  SWnd::SetImageDrawMode(control, SDialogRecords::GetPropertyDrawMode(r, "STATIC_IMAGEDRAWMODE"));
  SetImageFromEntry(control, b, "STATIC_IMAGE", SImage::COLOR_NONE);
}

void ConfigureTab(SWnd* control, const Build& b) {
  STabCtrl* tab = static_cast<STabCtrl*>(control);
  ForEachToken(b.record, "TAB_CONTENT", [tab](const char* text) { tab->AddTab(text); });
  int selection = Int(b.record, "TAB_SELECTION");
  control->SendMessage(TCM_SETCURSEL, WPARAM(selection));
  tab->ShowPage(selection);
  if (!b.runMode) return;
  int index = 0;
  ForEachToken(b.record, "TAB_TIPCONTENT",
               [tab, &index](const char* text) { tab->SetTabTip(index++, text); });
}

void PrepareExtern(SWnd* control, const Build& b) {
  SExternCtrl* external = static_cast<SExternCtrl*>(control);
  external->m_externName = SDialogRecords::GetProperty(b.record, "EXTERN_NAME");
  external->m_fileName = SDialogRecords::GetProperty(b.record, "EXTERN_FILENAME");
}

// --- the type table -------------------------------------------------------------

typedef ControlKinds E;

const TypeRow kTypes[] = {
    {E::TYPE_BINARY, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_BROWSER, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_BUTTON, SYSTEM, "BUTTON", 0, CAPTION_TITLE, Construct<SButtonCtrl>,
     CreateButtonWindow, nullptr, ConfigureBackground},
    {E::TYPE_CHECK, SYSTEM, "BUTTON", BS_CHECKBOX, CAPTION_TITLE, Construct<SCheckCtrl>, nullptr,
     nullptr, ConfigureCheck},
    {E::TYPE_CODEEDIT, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_COMBO, SYSTEM, "COMBOBOX", 0, CAPTION_TITLE, Construct<SComboCtrl>, CreateCombo,
     nullptr, ConfigureCombo},
    {E::TYPE_EDIT, SYSTEM, "EDIT", 0, CAPTION_TITLE | MULTILINE_IN_DESIGN, Construct<SEditCtrl>,
     CreateEdit, nullptr, ConfigureEdit},
    {E::TYPE_EXTENDEDLIST, SYSTEM, "SysListView32", LVS_SHAREIMAGELISTS, 0,
     Construct<SExListCtrl>, CreateExList, nullptr, ConfigureExList},
    {E::TYPE_FLASH, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_GRAPH, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_GROUP, SYSTEM, "BUTTON", BS_GROUPBOX, CAPTION_TITLE, Construct<SGroupCtrl>, nullptr,
     nullptr, ConfigureBackground},
    {E::TYPE_GUI, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_IMAGEEDITOR, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_LABEL, FRAMEWORK, nullptr, 0, CAPTION_TITLE, Construct<SLabelCtrl>, nullptr, nullptr,
     ConfigureLabel},
    {E::TYPE_LCD, FRAMEWORK, nullptr, 0, CAPTION_TITLE, Construct<SLcdCtrl>, nullptr, nullptr,
     ConfigureLcd},
    {E::TYPE_LEVEL, FRAMEWORK_UNTITLED, nullptr, 0, 0, Construct<SLevelCtrl>, nullptr, nullptr,
     ConfigureLevel},
    {E::TYPE_LIST, SYSTEM, "LISTBOX", 0, 0, Construct<SListCtrl>, CreateList, nullptr,
     ConfigureList},
    {E::TYPE_MEDIA, FRAMEWORK, nullptr, 0, CAPTION_TITLE, Construct<SMediaCtrl>, CreateMedia,
     PrepareMedia, ConfigureMedia},
    {E::TYPE_MEDIAPLAYER, FRAMEWORK_UNTITLED, nullptr, 0, ALWAYS_CHILD | NO_ID, nullptr, nullptr,
     nullptr, nullptr},
    {E::TYPE_PANEL, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_PROGRESS, SYSTEM, PROGRESS_CLASSA, 0, 0, Construct<SProgressCtrl>, nullptr, nullptr,
     ConfigureProgress},
    {E::TYPE_PROPERTY, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_RADIO, SYSTEM, "BUTTON", BS_RADIOBUTTON, CAPTION_TITLE, Construct<SRadioCtrl>,
     nullptr, nullptr, ConfigureRadio},
    {E::TYPE_RICHEDIT, SYSTEM, "RichEdit20A", ES_MULTILINE, CAPTION_TITLE,
     Construct<SRichEditCtrl>, nullptr, nullptr, ConfigureRichEdit},
    {E::TYPE_SCROLL, SYSTEM, "SCROLLBAR", 0, 0, Construct<SScrollCtrl>, nullptr, nullptr,
     ConfigureScroll},
    {E::TYPE_SLIDER, SYSTEM, TRACKBAR_CLASSA, TBS_DOWNISLEFT, 0, Construct<SSliderCtrl>, nullptr,
     nullptr, ConfigureSlider},
    {E::TYPE_SPLITTER, FRAMEWORK_UNTITLED, nullptr, 0, 0, Construct<SSplitterCtrl>, nullptr,
     nullptr, ConfigureSplitter},
    {E::TYPE_SPREAD, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_STATIC, SYSTEM, "STATIC", SS_OWNERDRAW, 0, Construct<SStaticCtrl>, CreateStaticCtrl,
     nullptr, ConfigureStatic},
    {E::TYPE_TAB, SYSTEM, WC_TABCONTROLA, 0, 0, Construct<STabCtrl>, nullptr, nullptr,
     ConfigureTab},
    {E::TYPE_TABDOC, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    // TBSTYLE_FLAT, CCS_NOPARENTALIGN, CCS_NORESIZE and CCS_NODIVIDER; the
    // tool bar's creation sets the flat style after the window exists.
    {E::TYPE_TOOLBAR, SYSTEM, TOOLBARCLASSNAMEA, 0x80C | CCS_NODIVIDER, 0,
     Construct<SToolBarCtrl>, CreateToolBar, nullptr, ConfigureToolBar},
    {E::TYPE_TREE, SYSTEM, WC_TREEVIEWA, TVS_DISABLEDRAGDROP, 0, nullptr, nullptr, nullptr,
     nullptr},
    {E::TYPE_WAVEEDITOR, FRAMEWORK_UNTITLED, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr},
    {E::TYPE_WINDOW, FRAMEWORK, nullptr, 0, CAPTION_TITLE | ALWAYS_CHILD,
     Construct<SDialogRecords::_SWnd>, nullptr, nullptr, ConfigureWindow},
    {E::TYPE_EXTERN, FRAMEWORK, nullptr, 0, CAPTION_TITLE, Construct<SExternCtrl>, nullptr,
     PrepareExtern, nullptr},
};

static_assert(sizeof(kTypes) / sizeof(kTypes[0]) == SDialogRecords::TYPE_COUNT - 1,
              "one row per control type");

const TypeRow* FindRow(int type) {
  if (type < 1 || type >= SDialogRecords::TYPE_COUNT) return nullptr;
  return &kTypes[type - 1];
}

// The window of a control whose class has no creation of its own.
bool MakeWindow(SWnd* control, const TypeRow& row, const Build& b) {
  DWORD style = b.style;
  if ((row.flags & ALWAYS_CHILD) || !(style & WS_POPUP)) style |= WS_CHILD;
  HMENU id = reinterpret_cast<HMENU>(INT_PTR(b.id));
  switch (row.making) {
    case FRAMEWORK:
      return control->Create(b.title, style, b.exStyle, &b.rect, b.parent, id);
    case FRAMEWORK_UNTITLED:
      return control->Create("", style, b.exStyle, &b.rect, b.parent, id);
    case SYSTEM:
      return control->CreateControl(row.className, b.title, style, b.exStyle, &b.rect, b.parent,
                                    id);
  }
  return false;
}

}  // namespace

COLORREF DecodeDialogColor(COLORREF value) {
  if (value == SImage::COLOR_NONE || value < kSystemColor) return value;
  return ::GetSysColor(int(value + 0x02000000u));
}

bool RegisterDialogControlClass(int type, const SDialogControlClass* controlClass) {
  const TypeRow* row = FindRow(type);
  if (!row || row->construct) return false;
  g_registered[type] = controlClass && controlClass->construct ? controlClass : nullptr;
  return true;
}

const SDialogControlClass* FindDialogControlClass(int type) {
  const TypeRow* row = FindRow(type);
  return row ? g_registered[type] : nullptr;
}

SWnd* CreateDialogControl(HWND parent, const SDialogRecords::_SCtrl* record, SResource* archive,
                          bool runMode, SDialog* dialog) {
  if (!parent || !record) return nullptr;
  const TypeRow* row = FindRow(record->m_type);
  if (!row) return nullptr;
  const SDialogControlClass* registered = row->construct ? nullptr : g_registered[row->type];

  Build b;
  b.parent = parent;
  b.record = record;
  b.archive = archive;
  b.runMode = runMode;
  b.style = record->m_style | row->addedStyle;
  if (!runMode) {
    b.style &= ~DWORD(WS_VISIBLE);
    if (row->flags & MULTILINE_IN_DESIGN) b.style |= ES_MULTILINE;
  }
  b.exStyle = record->m_exStyle;
  b.rect.left = record->m_left;
  b.rect.top = record->m_top;
  b.rect.right = int16_t(record->m_left + record->m_width);
  b.rect.bottom = int16_t(record->m_top + record->m_height);
  b.id = (row->flags & NO_ID) ? 0 : int(record->m_id);
  b.title = (row->flags & CAPTION_TITLE) && record->m_caption.GetText()
                ? record->m_caption.GetText()
                : "";

  SWnd* control = dialog ? dialog->CreateCustomControl(record->m_type, record) : nullptr;
  if (!control) {
    if (row->construct) control = row->construct();
    else if (registered) control = registered->construct();
  }
  if (!control) return nullptr;
  if (!row->construct && !registered) {
    delete control;
    return nullptr;
  }

  if (row->construct && row->prepare) row->prepare(control, b);
  bool created =
      row->construct && row->create ? row->create(control, b) : MakeWindow(control, *row, b);
  if (!created || !control->m_hWnd) {
    delete control;
    return nullptr;
  }
  if (row->construct) {
    if (row->configure) row->configure(control, b);
  } else if (registered->configure) {
    registered->configure(control, record, archive, runMode);
  }

  SString tip = SDialogRecords::GetProperty(record, "TOOLTIP");
  if (tip.GetLength() > 0) {
    control->m_toolTipText = tip;
    control->CreateToolTip();
  }
  control->m_recordId = int16_t(record->m_id);
  control->m_name = record->m_name;
  return control;
}
