#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include "DialogTextCorpus.h"
#include "core/SFileMem.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

typedef SDialogEditor::_SCtrl Ctrl;

// A document that records its hooks and can refuse through them.
class HookDocument : public SDialogEditor {
public:
  bool OnControlAdded(_SCtrl* record) override {
    added.push_back(record);
    return acceptAdd;
  }
  bool OnControlRemoving(_SCtrl* record) override {
    removing.push_back(record);
    return acceptRemove;
  }
  void OnSelectionChanged(_SCtrl* previous, _SCtrl* current) override {
    selections.push_back(std::make_pair(previous, current));
  }

  bool acceptAdd = true;
  bool acceptRemove = true;
  std::vector<_SCtrl*> added;
  std::vector<_SCtrl*> removing;
  std::vector<std::pair<_SCtrl*, _SCtrl*>> selections;
};

// A record of the type with the id and name.
void Prepare(Ctrl& record, int type, int id, const char* name) {
  record.m_type = int16_t(type);
  record.m_id = uint16_t(id);
  record.m_name = name;
}

Ctrl* Add(SDialogEditor& doc, int type, int id, const char* name, bool keepName = true,
          bool keepId = true) {
  Ctrl record;
  Prepare(record, type, id, name);
  return SDialogEditor::AddControl(&doc, false, &record, keepName, keepId);
}

int CountLines(const SString& text) {
  int n = 0;
  for (int i = text.Find("\r\n"); i >= 0; i = text.Find("\r\n", i + 2)) ++n;
  return n;
}

Ctrl* Place(SDialogEditor& doc, int type) {
  Ctrl record;
  record.m_type = int16_t(type);
  return SDialogEditor::AddControl(&doc, true, &record, false, false);
}

}  // namespace

TEST(SDialogEditor, ARecordStartsWithTheDocumentedDefaults) {
  Ctrl record;
  EXPECT_EQ(0, record.m_id);
  EXPECT_EQ(-1, record.m_type);
  EXPECT_EQ(10, record.m_left);
  EXPECT_EQ(10, record.m_top);
  EXPECT_EQ(150, record.m_width);
  EXPECT_EQ(150, record.m_height);
  EXPECT_EQ(0xFF000000u, record.m_backColor);
  EXPECT_EQ(0xFF000000u, record.m_textColor);
  EXPECT_FALSE(record.m_isDialog);
  EXPECT_STREQ("", record.m_properties.GetText());

  SDialogEditor doc;
  EXPECT_EQ(11, doc.m_kind);
  EXPECT_EQ(nullptr, doc.FindType("BUTTON")) << "the type table is filled by Init";
  EXPECT_TRUE(doc.Init());
  ASSERT_NE(nullptr, doc.FindType("button"));
  EXPECT_EQ(SDialogEditor::TYPE_BUTTON, doc.FindType("Button")->m_id);
  EXPECT_STREQ("External Control", doc.FindTypeById(36)->m_displayName.GetText());
  EXPECT_STREQ("MEDIAPLAYER", doc.FindTypeById(19)->m_keyword.GetText());
  EXPECT_EQ(nullptr, doc.FindType("BUTTON "));
  EXPECT_EQ(nullptr, doc.FindType(""));
  EXPECT_EQ(nullptr, doc.FindTypeById(37));
}

TEST(SDialogEditor, NewIdsFillTheFirstGap) {
  SDialogEditor doc;
  doc.Init();
  EXPECT_EQ(1, doc.NewControlId());
  Add(doc, SDialogEditor::TYPE_BUTTON, 1, "A");
  Add(doc, SDialogEditor::TYPE_BUTTON, 2, "B");
  Add(doc, SDialogEditor::TYPE_BUTTON, 4, "C");
  EXPECT_EQ(3, doc.NewControlId());

  // A kept id that is free stays, 0 included; a taken one is replaced.
  EXPECT_EQ(7, Add(doc, SDialogEditor::TYPE_BUTTON, 7, "D")->m_id);
  EXPECT_EQ(0, Add(doc, SDialogEditor::TYPE_BUTTON, 0, "E")->m_id);
  EXPECT_EQ(3, Add(doc, SDialogEditor::TYPE_BUTTON, 7, "F")->m_id);
  EXPECT_EQ(5, Add(doc, SDialogEditor::TYPE_BUTTON, 7, "G", true, false)->m_id);
  EXPECT_EQ(doc.m_controls[0], doc.FindControlById(1));
  EXPECT_EQ(nullptr, doc.FindControlById(99));
}

TEST(SDialogEditor, WhenEveryIdIsTakenANewRecordGetsFFFF) {
  SDialogEditor doc;
  doc.Init();
  for (int id = 1; id <= SDialogEditor::MAX_CONTROL_ID; ++id) {
    Ctrl* record = new Ctrl;
    record->m_type = SDialogEditor::TYPE_BUTTON;
    record->m_id = uint16_t(id);
    doc.m_controls.Add(record);
  }
  EXPECT_EQ(-1, doc.NewControlId());
  Ctrl* added = Add(doc, SDialogEditor::TYPE_BUTTON, 5, "X");
  ASSERT_NE(nullptr, added);
  EXPECT_EQ(0xFFFF, added->m_id);
  EXPECT_EQ(added, doc.FindControlById(-1));
}

TEST(SDialogEditor, NamesAreKeptOrMadeFromTheKeyword) {
  SDialogEditor doc;
  doc.Init();
  ASSERT_NE(nullptr, Add(doc, SDialogEditor::TYPE_BUTTON, 1, "OK"));
  // A taken name becomes the keyword and the first free number.
  Ctrl* second = Add(doc, SDialogEditor::TYPE_BUTTON, 2, "OK");
  ASSERT_NE(nullptr, second);
  EXPECT_STREQ("BUTTON1", second->m_name.GetText());
  Ctrl* third = Add(doc, SDialogEditor::TYPE_BUTTON, 3, "OK");
  EXPECT_STREQ("BUTTON2", third->m_name.GetText());
  // Numbers with leading zeros or other tails do not take a candidate.
  Add(doc, SDialogEditor::TYPE_LABEL, 10, "LABEL01");
  Add(doc, SDialogEditor::TYPE_LABEL, 11, "LABEL1x");
  EXPECT_STREQ("LABEL1", doc.MakeControlName(doc.FindType("LABEL")).GetText());
  Add(doc, SDialogEditor::TYPE_LABEL, 12, "LABEL1");
  EXPECT_STREQ("LABEL2", doc.MakeControlName(doc.FindType("LABEL")).GetText());

  // A name that is no identifier is kept when nobody bears it.
  Ctrl* odd = Add(doc, SDialogEditor::TYPE_BUTTON, 4, "2nd");
  EXPECT_STREQ("2nd", odd->m_name.GetText());
  EXPECT_FALSE(doc.IsControlNameFree("2nd"));
  EXPECT_FALSE(doc.IsControlNameFree("OK"));
  EXPECT_FALSE(doc.IsControlNameFree("a_"));
  EXPECT_TRUE(doc.IsControlNameFree("CANCEL"));
  // keepName false always names the record from its type.
  EXPECT_STREQ("BUTTON3", Add(doc, SDialogEditor::TYPE_BUTTON, 5, "FREE", false)->m_name.GetText());
  EXPECT_EQ(doc.m_controls[0], doc.FindControlByName("OK"));
  EXPECT_EQ(nullptr, doc.FindControlByName("ok"));
  EXPECT_STREQ("", doc.MakeControlName(nullptr).GetText());
}

TEST(SDialogEditor, AddControlRefusesWhatItCannotCopy) {
  SDialogEditor doc;
  Ctrl record;
  Prepare(record, SDialogEditor::TYPE_BUTTON, 1, "OK");
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, &record, true, true))
      << "no type table before Init";
  doc.Init();
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, nullptr, true, true));
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(nullptr, false, &record, true, true));
  record.m_type = -1;
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, &record, true, true));
  record.m_type = SDialogEditor::TYPE_BUTTON;
  record.m_isDialog = true;

  // The list holds copies: the same object can be added twice.
  Ctrl* first = SDialogEditor::AddControl(&doc, false, &record, true, true);
  Ctrl* second = SDialogEditor::AddControl(&doc, false, &record, true, true);
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  EXPECT_NE(first, second);
  EXPECT_FALSE(first->m_isDialog);
  // A record of the list itself is refused.
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, first, true, true));
  EXPECT_EQ(2, doc.m_controls.GetCount());
  // The dialog type is accepted as a control (a later [DIALOG] section).
  record.m_type = SDialogEditor::TYPE_DIALOG;
  EXPECT_NE(nullptr, SDialogEditor::AddControl(&doc, false, &record, true, true));
}

TEST(SDialogEditor, TheAddedHookIsAskedUnlessNameAndIdAreBothKept) {
  HookDocument doc;
  doc.Init();
  Add(doc, SDialogEditor::TYPE_BUTTON, 1, "A");
  EXPECT_TRUE(doc.added.empty());
  Ctrl* asked = Add(doc, SDialogEditor::TYPE_BUTTON, 2, "B", false, true);
  ASSERT_EQ(1u, doc.added.size());
  EXPECT_EQ(asked, doc.added[0]);

  doc.acceptAdd = false;
  EXPECT_EQ(nullptr, Add(doc, SDialogEditor::TYPE_BUTTON, 3, "C", true, false));
  EXPECT_EQ(2, doc.m_controls.GetCount()) << "a refused record leaves the list as before";
  EXPECT_EQ(nullptr, doc.FindControlByName("C"));
}

TEST(SDialogEditor, RemovingTheSelectedRecordReportsTheNextSelection) {
  HookDocument doc;
  doc.Init();
  Ctrl* a = Add(doc, SDialogEditor::TYPE_BUTTON, 1, "A");
  Ctrl* b = Add(doc, SDialogEditor::TYPE_BUTTON, 2, "B");
  Ctrl* c = Add(doc, SDialogEditor::TYPE_BUTTON, 3, "C");
  doc.SetSelection(a);
  EXPECT_TRUE(doc.AddToSelection(b));
  EXPECT_FALSE(doc.AddToSelection(b));
  EXPECT_FALSE(doc.AddToSelection(nullptr));
  doc.selections.clear();

  EXPECT_TRUE(doc.RemoveControl(a, true));
  ASSERT_EQ(1u, doc.selections.size());
  EXPECT_EQ(a, doc.selections[0].first);
  EXPECT_EQ(b, doc.selections[0].second);
  EXPECT_EQ(1u, doc.removing.size());

  // A refusal keeps the record, out of the selection.
  doc.acceptRemove = false;
  EXPECT_FALSE(doc.RemoveControl(b, true));
  EXPECT_EQ(2, doc.m_controls.GetCount());
  EXPECT_EQ(0, doc.m_selection.GetCount());
  EXPECT_EQ(nullptr, doc.selections.back().second);
  // Without asking nothing refuses.
  EXPECT_TRUE(doc.RemoveControl(b, false));

  Ctrl stranger;
  EXPECT_FALSE(doc.RemoveControl(&stranger, false));
  EXPECT_FALSE(doc.RemoveControl(nullptr, false));
  EXPECT_EQ(1, doc.m_controls.GetCount());
  EXPECT_EQ(c, doc.m_controls[0]);
  doc.RemoveAllControls();
  EXPECT_EQ(0, doc.m_controls.GetCount());
}

TEST(SDialogEditor, ClearLeavesAnEmptyUnloadedDocumentWithItsTypeTable) {
  HookDocument doc;
  doc.Init();
  SFileMem file;
  FillFile(file, PlayerDialogText());
  ASSERT_TRUE(SDialogEditor::LoadText(&file, &doc));
  EXPECT_TRUE(doc.m_loaded);
  ASSERT_NE(nullptr, doc.m_dialog);
  EXPECT_EQ(doc.m_dialog, doc.m_selection[0]) << "a load selects the dialog record";
  Ctrl* dialog = doc.m_dialog;
  doc.selections.clear();

  doc.Clear();
  EXPECT_EQ(nullptr, doc.m_dialog);
  EXPECT_EQ(0, doc.m_controls.GetCount());
  EXPECT_EQ(0, doc.m_selection.GetCount());
  EXPECT_FALSE(doc.m_loaded);
  ASSERT_EQ(1u, doc.selections.size());
  EXPECT_EQ(dialog, doc.selections[0].first);
  EXPECT_EQ(nullptr, doc.selections[0].second);
  EXPECT_NE(nullptr, doc.FindType("COMBO"));
}

TEST(SDialogEditor, SetDialogRecordCopiesIntoTheDialogRecord) {
  SDialogEditor doc;
  doc.Init();
  Ctrl record;
  Prepare(record, SDialogEditor::TYPE_BUTTON, 3, "MAIN");
  record.m_caption = "Options";
  EXPECT_FALSE(doc.SetDialogRecord(nullptr));
  EXPECT_TRUE(doc.SetDialogRecord(&record));
  ASSERT_NE(nullptr, doc.m_dialog);
  EXPECT_NE(&record, doc.m_dialog);
  EXPECT_EQ(SDialogEditor::TYPE_DIALOG, doc.m_dialog->m_type);
  EXPECT_TRUE(doc.m_dialog->m_isDialog);
  EXPECT_STREQ("Options", doc.m_dialog->GetCaption().GetText());
  Ctrl* same = doc.m_dialog;
  record.m_caption = "Other";
  doc.SetDialogRecord(&record);
  EXPECT_EQ(same, doc.m_dialog);
  EXPECT_STREQ("Other", doc.m_dialog->m_caption.GetText());
}

TEST(SDialogEditor, CopyFromCopiesEverythingButTheLiveWindowAndFont) {
  Ctrl a, b;
  a.m_id = 42;
  a.m_type = -7;
  a.m_name = "N";
  a.m_caption = "C";
  a.m_fontName = "Arial";
  a.m_fontSize = 9;
  a.m_fontStyle = 3;
  a.m_left = 1;
  a.m_top = 2;
  a.m_width = 3;
  a.m_height = 4;
  a.m_locked = true;
  a.m_style = 0x10000001;
  a.m_exStyle = 0x200;
  a.m_backColor = 0x123456;
  a.m_textColor = 0x654321;
  a.m_transparent = true;
  a.m_properties = "A=1\r\n";
  a.m_gridPosition = 77;
  a.m_font = ::CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  b.CopyFrom(&a);
  EXPECT_EQ(42, b.m_id);
  EXPECT_EQ(-1, b.m_type) << "a negative type becomes -1";
  EXPECT_STREQ("N", b.GetName().GetText());
  EXPECT_STREQ("Arial", b.GetFontName().GetText());
  EXPECT_EQ(9, b.m_fontSize);
  EXPECT_EQ(3u, b.m_fontStyle);
  EXPECT_EQ(4, b.m_height);
  EXPECT_TRUE(b.m_locked);
  EXPECT_EQ(0x200u, b.m_exStyle);
  EXPECT_EQ(0x654321u, b.m_textColor);
  EXPECT_TRUE(b.m_transparent);
  EXPECT_STREQ("A=1\r\n", b.m_properties.GetText());
  EXPECT_EQ(77, b.m_gridPosition);
  EXPECT_EQ(nullptr, b.m_font);
}

TEST(SDialogEditor, ReadBinaryReadsTheClipboardFormAndRefusesACutRecord) {
  const unsigned char bytes[] = {
      0x07, 0x00,                    // id 7
      0xFE, 0xFF,                    // type -2, stored as read
      'O', 'K', 0,                   // name
      'G', 'o', 0,                   // caption
      'A', 'r', 'i', 'a', 'l', 0,    // font face
      0x09, 0x00,                    // font size
      0x01, 0x00, 0x00, 0x00,        // font style
      0x05, 0x00, 0x06, 0x00,        // left, top
      0x64, 0x00, 0x19, 0x00,        // width 100, height 25
      0x01,                          // locked
      0x00,                          // dialog-record flag
      0x01, 0x0F, 0x00, 0x10,        // style 0x10000F01
      0x00, 0x02, 0x00, 0x00,        // extended style 0x200
      0x00, 0x00, 0x00, 0xFF,        // background none
      0xFF, 0x00, 0x00, 0x00,        // text colour red
      0x01,                          // transparent
      'A', '=', '1', '\r', '\n', 0,  // extended properties
  };
  SFileMem file;
  file.WriteData(bytes, int(sizeof(bytes)));
  file.WriteData("tail", 4);
  file.Rewind();
  Ctrl record;
  EXPECT_EQ(0, record.ReadBinary(nullptr));
  EXPECT_EQ(int(sizeof(bytes)), record.ReadBinary(&file));
  EXPECT_EQ(int(sizeof(bytes)), file.Tell());
  EXPECT_EQ(7, record.m_id);
  EXPECT_EQ(-2, record.m_type);
  EXPECT_STREQ("OK", record.m_name.GetText());
  EXPECT_STREQ("Go", record.m_caption.GetText());
  EXPECT_STREQ("Arial", record.m_fontName.GetText());
  EXPECT_EQ(9, record.m_fontSize);
  EXPECT_EQ(1u, record.m_fontStyle);
  EXPECT_EQ(5, record.m_left);
  EXPECT_EQ(6, record.m_top);
  EXPECT_EQ(100, record.m_width);
  EXPECT_EQ(25, record.m_height);
  EXPECT_TRUE(record.m_locked);
  EXPECT_FALSE(record.m_isDialog);
  EXPECT_EQ(0x10000F01u, record.m_style);
  EXPECT_EQ(0x200u, record.m_exStyle);
  EXPECT_EQ(0xFF000000u, record.m_backColor);
  EXPECT_EQ(0xFFu, record.m_textColor);
  EXPECT_TRUE(record.m_transparent);
  EXPECT_STREQ("A=1\r\n", record.m_properties.GetText());

  // Every cut of the record fails without touching the record or the file.
  for (int cut = 0; cut < int(sizeof(bytes)); ++cut) {
    SFileMem part;
    part.WriteData(bytes, cut);
    part.Rewind();
    Ctrl fresh;
    ASSERT_EQ(0, fresh.ReadBinary(&part)) << cut;
    EXPECT_EQ(0, part.Tell());
    EXPECT_EQ(-1, fresh.m_type);
    EXPECT_STREQ("", fresh.m_name.GetText());
  }
}

TEST(SDialogEditor, ANewButtonGetsTheButtonDefaults) {
  SDialogEditor doc;
  doc.Init();
  Ctrl* button = Place(doc, SDialogEditor::TYPE_BUTTON);
  ASSERT_NE(nullptr, button);
  EXPECT_STREQ("Button", button->m_caption.GetText());
  EXPECT_EQ(0x10000F00u, button->m_style);
  EXPECT_EQ(100, button->m_width);
  EXPECT_EQ(25, button->m_height);
  EXPECT_EQ(10, button->m_left);
  EXPECT_EQ(10, button->m_top);
  EXPECT_STREQ("TABINDEX=-1\r\n", button->m_properties.GetText());
  EXPECT_EQ(1, button->m_id);
  EXPECT_STREQ("BUTTON1", button->m_name.GetText());
  EXPECT_EQ(nullptr, button->m_window) << "a document without a window makes no live window";
}

TEST(SDialogEditor, ANewLcdGetsItsCaptionSizeAndProperties) {
  SDialogEditor doc;
  doc.Init();
  Ctrl* lcd = Place(doc, SDialogEditor::TYPE_LCD);
  ASSERT_NE(nullptr, lcd);
  EXPECT_STREQ("ZANDOREK", lcd->m_caption.GetText());
  EXPECT_EQ(unsigned(WS_VISIBLE), lcd->m_style);
  EXPECT_EQ(0x20000u, lcd->m_exStyle);
  EXPECT_EQ(200, lcd->m_width);
  EXPECT_EQ(15, lcd->m_height);
  EXPECT_STREQ(
      "TABINDEX=-1\r\nLCD_PIXELWIDTH=2\r\nLCD_PIXELHEIGHT=1\r\nLCD_CHARCOUNT=16\r\n"
      "LCD_LINECOUNT=1\r\nLCD_SCROLL=1\r\nLCD_SCROLLSPEED=5\r\nLCD_CELLCOLOR=-16777216\r\n",
      lcd->m_properties.GetText());
}

TEST(SDialogEditor, EveryTypeGetsItsOwnDefaults) {
  SDialogEditor doc;
  doc.Init();
  struct Expect {
    int type;
    uint32_t style, exStyle;
    int width, height;
    const char* caption;
    const char* key;    // one default property
    const char* value;
  };
  const int cy = ::GetSystemMetrics(SM_CYHSCROLL);
  const Expect expects[] = {
      {SDialogEditor::TYPE_BINARY, 0, 0x200, 150, 150, "Binary", nullptr, nullptr},
      {SDialogEditor::TYPE_BROWSER, 0x800000, 0, 150, 150, "Browser", "BROWSER_DIALOGS", "1"},
      {SDialogEditor::TYPE_CHECK, 0, 0, 150, 20, "Check", nullptr, nullptr},
      {SDialogEditor::TYPE_CODEEDIT, 0, 0x200, 150, 150, "", "CODEEDIT_HIGHLIGHTCOLOR",
       "-16777216"},
      {SDialogEditor::TYPE_COMBO, 0x200503, 0, 150, 150, "Combo", nullptr, nullptr},
      {SDialogEditor::TYPE_EDIT, 0x80, 0x200, 150, 20, "Edit", "TABENABLED", "1"},
      {SDialogEditor::TYPE_EXTENDEDLIST, 0x4, 0x200, 150, 150, "Extended List", nullptr, nullptr},
      {SDialogEditor::TYPE_GUI, 0, 0, 500, 400, "GUI", nullptr, nullptr},
      {SDialogEditor::TYPE_LABEL, 0, 0, 150, 20, "Label", "LABEL_VALIGN", "_MIDDLE"},
      {SDialogEditor::TYPE_LEVEL, 0, 0x20000, 40, 150, "Level", "LEVEL_MAXVALUE", "1000"},
      {SDialogEditor::TYPE_LIST, 0x200102, 0x200, 150, 150, "List", nullptr, nullptr},
      {SDialogEditor::TYPE_MEDIA, 0, 0, 150, 20, "Media", "MEDIA_LINKCOLOR", "-16777216"},
      {SDialogEditor::TYPE_MEDIAPLAYER, 0, 0, 320, 180, "Media Player", nullptr, nullptr},
      {SDialogEditor::TYPE_PROGRESS, 0, 0, 150, 20, "Progress", "PROGRESS_MAXVALUE", "100"},
      {SDialogEditor::TYPE_RADIO, 0, 0, 150, 20, "Radio", "RADIO_CHECKED", "0"},
      {SDialogEditor::TYPE_RICHEDIT, 0x3040C4, 0, 150, 150, "Rich Edit", nullptr, nullptr},
      {SDialogEditor::TYPE_SCROLL, 0, 0, 150, cy, "Scroll", "SCROLL_MAXVALUE", "100"},
      {SDialogEditor::TYPE_SLIDER, 0, 0, 150, 25, "Slider", "SLIDER_VALUE", "0"},
      {SDialogEditor::TYPE_SPLITTER, 0, 0x200, 500, 400, "Splitter", "SPLITTER_COLCOUNT", "2"},
      {SDialogEditor::TYPE_STATIC, 0, 0, 150, 150, "Static", "STATIC_EDGE", "_EDGESUNKENOUTER"},
      {SDialogEditor::TYPE_TAB, 0x4000, 0, 150, 150, "Tab", "TAB_CONTENT", "Tab 1 | Tab 2"},
      {SDialogEditor::TYPE_TABDOC, 0, 0, 500, 400, "Tab Doc", "TABDOC_CONTENT", "Tab 1 | Tab 2"},
      {SDialogEditor::TYPE_TOOLBAR, 0x100, 0, 150, 25, "Tool Bar", "TOOLBAR_CONTENT",
       "Btn 1 | Btn 2"},
      {SDialogEditor::TYPE_TREE, 0x17, 0x200, 150, 150, "Tree", nullptr, nullptr},
      {SDialogEditor::TYPE_WAVEEDITOR, 0, 0x200, 150, 150, "Wave Editor",
       "WAVEEDITOR_COLORPROGRESSEND", "-16777216"},
      {SDialogEditor::TYPE_WINDOW, 0, 0x20000, 150, 150, "Window", nullptr, nullptr},
      {SDialogEditor::TYPE_EXTERN, 0, 0x200, 150, 150, "External Control", nullptr, nullptr},
  };
  for (const Expect& e : expects) {
    Ctrl* record = Place(doc, e.type);
    ASSERT_NE(nullptr, record) << e.type;
    EXPECT_EQ(e.style | WS_VISIBLE, record->m_style) << e.type;
    EXPECT_EQ(e.exStyle, record->m_exStyle) << e.type;
    EXPECT_EQ(e.width, record->m_width) << e.type;
    EXPECT_EQ(e.height, record->m_height) << e.type;
    EXPECT_STREQ(e.caption, record->m_caption.GetText()) << e.type;
    EXPECT_EQ(0, record->m_properties.Find("TABINDEX=-1\r\n")) << e.type;
    if (e.key) {
      EXPECT_STREQ(e.value, SDialogEditor::GetProperty(record, e.key).GetText()) << e.type;
    }
  }
  // The colour rows of the code editor and the wave editor are complete.
  Ctrl* code = doc.FindControlByName("CODEEDIT1");
  ASSERT_NE(nullptr, code);
  EXPECT_EQ(15, CountLines(code->m_properties));
  Ctrl* wave = doc.FindControlByName("WAVEEDITOR1");
  ASSERT_NE(nullptr, wave);
  EXPECT_EQ(12, CountLines(wave->m_properties));
}

TEST(SDialogEditor, SelectionTellsTheHookTheOldAndNewFirstRecord) {
  HookDocument doc;
  doc.Init();
  Ctrl* a = Add(doc, SDialogEditor::TYPE_BUTTON, 1, "A");
  Ctrl* b = Add(doc, SDialogEditor::TYPE_BUTTON, 2, "B");
  doc.SetSelection(a);
  doc.SetSelection(b);
  doc.SetSelection(nullptr);
  ASSERT_EQ(3u, doc.selections.size());
  EXPECT_EQ(std::make_pair((Ctrl*)nullptr, a), doc.selections[0]);
  EXPECT_EQ(std::make_pair(a, b), doc.selections[1]);
  EXPECT_EQ(std::make_pair(b, (Ctrl*)nullptr), doc.selections[2]);
  EXPECT_EQ(0, doc.m_selection.GetCount());
}

TEST(SDialogEditor, DesignerColoursFollowTheSystemColours) {
  SDialogEditor doc;
  doc.Init();
  EXPECT_EQ(::GetSysColor(COLOR_APPWORKSPACE), doc.m_rulerBackColor);
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), doc.m_designBackColor);
  EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), doc.m_rulerTextColor);
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), doc.m_selectionColor);
  COLORREF grey = doc.m_selectionGreyColor;
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetRValue(grey), GetBValue(grey));
  EXPECT_NE(nullptr, doc.m_selectionGreyBrush);
  EXPECT_NE(nullptr, doc.m_hatchBrush);
  EXPECT_NE(nullptr, doc.m_rulerFont);

  // No colour keeps the stored one.
  doc.SetBackgroundColors(SDialogEditor::COLOR_NONE, RGB(1, 2, 3));
  EXPECT_EQ(::GetSysColor(COLOR_APPWORKSPACE), doc.m_rulerBackColor);
  EXPECT_EQ(RGB(1, 2, 3), doc.m_designBackColor);
  doc.SetHighlightColors(RGB(9, 9, 9), SDialogEditor::COLOR_NONE);
  EXPECT_EQ(RGB(9, 9, 9), doc.m_selectionColor);
  EXPECT_EQ(grey, doc.m_selectionGreyColor);

  // A grey stays about the same; pure blue keeps its luminance only.
  COLORREF same = SDialogEditor::MakeGrey(RGB(128, 128, 128));
  EXPECT_NEAR(128, GetRValue(same), 3);
  COLORREF blue = SDialogEditor::MakeGrey(RGB(0, 0, 255));
  EXPECT_LT(GetRValue(blue), 60);
  EXPECT_GT(GetRValue(blue), 10);
}

TEST(SDialogEditor, InsertTypeArmsOnlyControlTypes) {
  SDialogEditor doc;
  doc.Init();
  EXPECT_EQ(-1, doc.m_insertType);
  EXPECT_FALSE(doc.SetInsertType(0));
  EXPECT_FALSE(doc.SetInsertType(37));
  EXPECT_FALSE(doc.SetInsertType(-1));
  EXPECT_TRUE(doc.SetInsertType(3));
  EXPECT_FALSE(doc.SetInsertType(3));
  doc.Reset();
  EXPECT_EQ(-1, doc.m_insertType) << "Reset disarms";
}

namespace {

// A live window that remembers the font it was given.
class FontProbe : public SWnd {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETFONT) font = reinterpret_cast<HFONT>(wParam);
    return SWnd::WindowProc(message, wParam, lParam);
  }
  HFONT font = nullptr;
};

// A document whose control factory makes plain child windows.
class WindowDocument : public SDialogEditor {
protected:
  SWnd* CreateControlWindow(_SCtrl*) override {
    SWnd* wnd = new FontProbe;
    RECT rect = {0, 0, 10, 10};
    if (!wnd->Create("", WS_CHILD | WS_VISIBLE, 0, &rect, m_hWnd)) {
      delete wnd;
      return nullptr;
    }
    return wnd;
  }
};

}  // namespace

TEST(SDialogEditor, AWindowedDocumentMakesSizedLiveWindowsWithTheRecordFont) {
  WindowDocument doc;
  RECT rect = {0, 0, 400, 300};
  ASSERT_TRUE(doc.Create("designer", WS_OVERLAPPEDWINDOW, 0, &rect));
  doc.Init();
  RECT client;
  ::GetClientRect(doc.m_hWnd, &client);
  EXPECT_EQ(client.right, doc.m_canvas.right);
  EXPECT_EQ(client.bottom, doc.m_canvas.bottom);

  SCROLLINFO info = {sizeof(info), SIF_RANGE, 0, 0, 0, 0, 0};
  ASSERT_TRUE(::GetScrollInfo(doc.m_hWnd, SB_VERT, &info));
  EXPECT_EQ(0, info.nMin);
  EXPECT_EQ(2000, info.nMax);

  Ctrl record;
  Prepare(record, SDialogEditor::TYPE_BUTTON, 1, "OK");
  record.m_width = 80;
  record.m_height = 30;
  record.m_fontName = "Arial";
  record.m_fontSize = 10;
  Ctrl* added = SDialogEditor::AddControl(&doc, false, &record, true, true);
  ASSERT_NE(nullptr, added);
  ASSERT_NE(nullptr, added->m_window);
  HWND live = added->m_window->m_hWnd;
  ::GetClientRect(live, &client);
  EXPECT_EQ(80, client.right);
  EXPECT_EQ(30, client.bottom);
  ASSERT_NE(nullptr, added->m_font);
  EXPECT_EQ(added->m_font, static_cast<FontProbe*>(added->m_window)->font);

  // A re-creation replaces the window; in test mode nothing happens.
  EXPECT_TRUE(SDialogEditor::RecreateControl(&doc, added));
  EXPECT_FALSE(::IsWindow(live));
  HWND second = added->m_window->m_hWnd;
  doc.m_testMode = true;
  EXPECT_FALSE(SDialogEditor::RecreateControl(&doc, added));
  EXPECT_EQ(second, added->m_window->m_hWnd);

  // Removing the record destroys its window.
  EXPECT_TRUE(doc.RemoveControl(added, false));
  EXPECT_FALSE(::IsWindow(second));
  ::DestroyWindow(doc.m_hWnd);
}
