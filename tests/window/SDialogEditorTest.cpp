#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include "DialogTextCorpus.h"
#include "core/SFileMem.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

TEST(SDialogEditor, InitFillsTheTypeTableOfInsertableTypes) {
  SDialogEditor doc;
  EXPECT_EQ(nullptr, doc.FindType("BUTTON")) << "the type table is filled by Init";
  EXPECT_TRUE(doc.Init());
  ASSERT_NE(nullptr, doc.FindType("button"));
  EXPECT_EQ(SDialogEditor::TYPE_BUTTON, doc.FindType("Button")->m_id);
  EXPECT_STREQ("MEDIAPLAYER", doc.FindTypeById(19)->m_keyword.GetText());
  EXPECT_EQ(nullptr, doc.FindType("BUTTON "));
  EXPECT_EQ(nullptr, doc.FindTypeById(37));
  // Only control types can be armed for insertion; Reset disarms.
  EXPECT_FALSE(doc.SetInsertType(0));
  EXPECT_FALSE(doc.SetInsertType(37));
  EXPECT_TRUE(doc.SetInsertType(3));
  doc.Reset();
  EXPECT_EQ(-1, doc.m_insertType);
}

TEST(SDialogEditor, IdsFillTheFirstGapAndNamesComeFromTheKeyword) {
  SDialogEditor doc;
  doc.Init();
  EXPECT_EQ(1, doc.NewControlId());
  Add(doc, SDialogEditor::TYPE_BUTTON, 1, "OK");
  Add(doc, SDialogEditor::TYPE_BUTTON, 2, "B");
  Add(doc, SDialogEditor::TYPE_BUTTON, 4, "C");
  EXPECT_EQ(3, doc.NewControlId());
  // A kept id that is free stays, 0 included; a taken one is replaced.
  EXPECT_EQ(7, Add(doc, SDialogEditor::TYPE_BUTTON, 7, "D")->m_id);
  EXPECT_EQ(0, Add(doc, SDialogEditor::TYPE_BUTTON, 0, "E")->m_id);
  EXPECT_EQ(3, Add(doc, SDialogEditor::TYPE_BUTTON, 7, "F")->m_id);
  EXPECT_EQ(5, Add(doc, SDialogEditor::TYPE_BUTTON, 7, "G", true, false)->m_id);

  // A taken name becomes the keyword and the first free number; numbers
  // with leading zeros or other tails do not take a candidate.
  Add(doc, SDialogEditor::TYPE_BUTTON, 8, "OK");
  EXPECT_STREQ("BUTTON2", Add(doc, SDialogEditor::TYPE_BUTTON, 9, "OK")->m_name.GetText());
  Add(doc, SDialogEditor::TYPE_LABEL, 10, "LABEL01");
  Add(doc, SDialogEditor::TYPE_LABEL, 11, "LABEL1x");
  EXPECT_STREQ("LABEL1", doc.MakeControlName(doc.FindType("LABEL")).GetText());
  // A name that is no identifier is kept when nobody bears it.
  EXPECT_STREQ("2nd", Add(doc, SDialogEditor::TYPE_BUTTON, 12, "2nd")->m_name.GetText());
  EXPECT_FALSE(doc.IsControlNameFree("a_"));
  EXPECT_TRUE(doc.IsControlNameFree("CANCEL"));
  // keepName false always names the record from its type.
  EXPECT_STREQ("BUTTON3",
               Add(doc, SDialogEditor::TYPE_BUTTON, 13, "FREE", false)->m_name.GetText());
  EXPECT_EQ(nullptr, doc.FindControlByName("ok"));

  // When every id is taken a new record gets 0xFFFF.
  SDialogEditor full;
  full.Init();
  for (int id = 1; id <= SDialogEditor::MAX_CONTROL_ID; ++id) {
    Ctrl* record = new Ctrl;
    record->m_type = SDialogEditor::TYPE_BUTTON;
    record->m_id = uint16_t(id);
    full.m_controls.Add(record);
  }
  EXPECT_EQ(-1, full.NewControlId());
  Ctrl* added = Add(full, SDialogEditor::TYPE_BUTTON, 5, "X");
  ASSERT_NE(nullptr, added);
  EXPECT_EQ(added, full.FindControlById(-1));
}

TEST(SDialogEditor, AddControlCopiesAndAsksItsHook) {
  HookDocument doc;
  Ctrl record;
  Prepare(record, SDialogEditor::TYPE_BUTTON, 1, "OK");
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, &record, true, true))
      << "no type table before Init";
  doc.Init();
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, nullptr, true, true));
  record.m_type = -1;
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, &record, true, true));
  record.m_type = SDialogEditor::TYPE_BUTTON;
  record.m_isDialog = true;

  // The list holds copies; a record of the list itself is refused.
  Ctrl* first = SDialogEditor::AddControl(&doc, false, &record, true, true);
  ASSERT_NE(nullptr, first);
  EXPECT_FALSE(first->m_isDialog);
  EXPECT_EQ(nullptr, SDialogEditor::AddControl(&doc, false, first, true, true));
  EXPECT_TRUE(doc.added.empty()) << "name and id both kept: the hook is not asked";
  Ctrl* asked = Add(doc, SDialogEditor::TYPE_BUTTON, 2, "B", false, true);
  ASSERT_EQ(1u, doc.added.size());
  EXPECT_EQ(asked, doc.added[0]);
  doc.acceptAdd = false;
  EXPECT_EQ(nullptr, Add(doc, SDialogEditor::TYPE_BUTTON, 3, "C", true, false));
  EXPECT_EQ(2, doc.m_controls.GetCount()) << "a refused record leaves the list as before";
  doc.acceptAdd = true;
  // The dialog type is accepted as a control (a later [DIALOG] section).
  record.m_type = SDialogEditor::TYPE_DIALOG;
  EXPECT_NE(nullptr, SDialogEditor::AddControl(&doc, false, &record, true, true));

  // The dialog record is a copy of its own, kept across settings.
  record.m_caption = "Options";
  EXPECT_FALSE(doc.SetDialogRecord(nullptr));
  EXPECT_TRUE(doc.SetDialogRecord(&record));
  Ctrl* dialog = doc.m_dialog;
  ASSERT_NE(nullptr, dialog);
  EXPECT_TRUE(dialog->m_isDialog);
  record.m_caption = "Other";
  doc.SetDialogRecord(&record);
  EXPECT_EQ(dialog, doc.m_dialog);
  EXPECT_STREQ("Other", doc.m_dialog->m_caption.GetText());
}

TEST(SDialogEditor, SelectionRemovalAndClearTellTheHooks) {
  HookDocument doc;
  doc.Init();
  Ctrl* a = Add(doc, SDialogEditor::TYPE_BUTTON, 1, "A");
  Ctrl* b = Add(doc, SDialogEditor::TYPE_BUTTON, 2, "B");
  Ctrl* c = Add(doc, SDialogEditor::TYPE_BUTTON, 3, "C");
  doc.SetSelection(b);
  doc.SetSelection(a);
  EXPECT_EQ(std::make_pair(b, a), doc.selections.back());
  EXPECT_TRUE(doc.AddToSelection(b));
  EXPECT_FALSE(doc.AddToSelection(b));
  doc.selections.clear();

  // Removing the selected first record reports the next one.
  EXPECT_TRUE(doc.RemoveControl(a, true));
  ASSERT_EQ(1u, doc.selections.size());
  EXPECT_EQ(std::make_pair(a, b), doc.selections[0]);
  EXPECT_EQ(1u, doc.removing.size());
  // A refusal keeps the record, out of the selection; without asking
  // nothing refuses.
  doc.acceptRemove = false;
  EXPECT_FALSE(doc.RemoveControl(b, true));
  EXPECT_EQ(2, doc.m_controls.GetCount());
  EXPECT_EQ(0, doc.m_selection.GetCount());
  EXPECT_TRUE(doc.RemoveControl(b, false));
  EXPECT_EQ(c, doc.m_controls[0]);

  // Clear leaves an empty unloaded document with its type table.
  HookDocument loaded;
  loaded.Init();
  SFileMem file;
  FillFile(file, PlayerDialogText());
  ASSERT_TRUE(SDialogEditor::LoadText(&file, &loaded));
  EXPECT_EQ(loaded.m_dialog, loaded.m_selection[0]) << "a load selects the dialog record";
  Ctrl* dialog = loaded.m_dialog;
  loaded.selections.clear();
  loaded.Clear();
  EXPECT_EQ(nullptr, loaded.m_dialog);
  EXPECT_FALSE(loaded.m_loaded);
  ASSERT_EQ(1u, loaded.selections.size());
  EXPECT_EQ(std::make_pair(dialog, static_cast<Ctrl*>(nullptr)), loaded.selections[0]);
  EXPECT_NE(nullptr, loaded.FindType("COMBO"));
}

TEST(SDialogEditor, ReadBinaryReadsTheClipboardFormAndRefusesACutRecord) {
  const unsigned char bytes[] = {
      0x07, 0x00,                       // id 7
      0xFE, 0xFF,                       // type -2, stored as read
      'O',  'K',  0,                    // name
      'G',  'o',  0,                    // caption
      'A',  'r',  'i',  'a',  'l',  0,  // font face
      0x09, 0x00,                       // font size
      0x01, 0x00, 0x00, 0x00,           // font style
      0x05, 0x00, 0x06, 0x00,           // left, top
      0x64, 0x00, 0x19, 0x00,           // width 100, height 25
      0x01,                             // locked
      0x00,                             // dialog-record flag
      0x01, 0x0F, 0x00, 0x10,           // style 0x10000F01
      0x00, 0x02, 0x00, 0x00,           // extended style 0x200
      0x00, 0x00, 0x00, 0xFF,           // background none
      0xFF, 0x00, 0x00, 0x00,           // text colour red
      0x01,                             // transparent
      'A',  '=',  '1',  '\r', '\n', 0,  // extended properties
  };
  SFileMem file;
  file.WriteData(bytes, int(sizeof(bytes)));
  file.WriteData("tail", 4);
  file.Rewind();
  Ctrl record;
  EXPECT_EQ(0, record.ReadBinary(nullptr));
  EXPECT_EQ(int(sizeof(bytes)), record.ReadBinary(&file));
  EXPECT_EQ(int(sizeof(bytes)), file.Tell());
  EXPECT_EQ(
      std::make_tuple(7, -2, std::string("OK"), std::string("Go")),
      std::make_tuple(int(record.m_id), int(record.m_type), std::string(record.m_name.GetText()),
                      std::string(record.m_caption.GetText())));
  EXPECT_EQ(std::make_tuple(std::string("Arial"), 9, 1u),
            std::make_tuple(std::string(record.m_fontName.GetText()), int(record.m_fontSize),
                            record.m_fontStyle));
  EXPECT_EQ(std::make_tuple(5, 6, 100, 25, true, false),
            std::make_tuple(int(record.m_left), int(record.m_top), int(record.m_width),
                            int(record.m_height), record.m_locked, record.m_isDialog));
  EXPECT_EQ(std::make_tuple(0x10000F01u, 0x200u, 0xFF000000u, 0xFFu, true),
            std::make_tuple(record.m_style, record.m_exStyle, record.m_backColor,
                            record.m_textColor, record.m_transparent));
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

TEST(SDialogEditor, EveryTypeGetsItsOwnDefaults) {
  SDialogEditor doc;
  doc.Init();
  struct Expect {
    int type;
    uint32_t style, exStyle;
    int width, height;
    const char* caption;
    const char* key;  // one default property
    const char* value;
  };
  const int cy = ::GetSystemMetrics(SM_CYHSCROLL);
  const Expect expects[] = {
      {SDialogEditor::TYPE_BUTTON, 0xF00, 0, 100, 25, "Button", nullptr, nullptr},
      {SDialogEditor::TYPE_COMBO, 0x200503, 0, 150, 150, "Combo", nullptr, nullptr},
      {SDialogEditor::TYPE_EDIT, 0x80, 0x200, 150, 20, "Edit", "TABENABLED", "1"},
      {SDialogEditor::TYPE_LCD, 0, 0x20000, 200, 15, "ZANDOREK", "LCD_CELLCOLOR", "-16777216"},
      {SDialogEditor::TYPE_SCROLL, 0, 0, 150, cy, "Scroll", "SCROLL_MAXVALUE", "100"},
      {SDialogEditor::TYPE_SPLITTER, 0, 0x200, 500, 400, "Splitter", "SPLITTER_COLCOUNT", "2"},
      {SDialogEditor::TYPE_TOOLBAR, 0x100, 0, 150, 25, "Tool Bar", "TOOLBAR_CONTENT",
       "Btn 1 | Btn 2"},
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
  Ctrl* button = doc.FindControlByName("BUTTON1");
  ASSERT_NE(nullptr, button);
  EXPECT_STREQ("TABINDEX=-1\r\n", button->m_properties.GetText());
  EXPECT_EQ(nullptr, button->m_window) << "a document without a window makes no live window";
  // The colour rows of the code editor and the wave editor are complete.
  EXPECT_EQ(15, CountLines(Place(doc, SDialogEditor::TYPE_CODEEDIT)->m_properties));
  EXPECT_EQ(12, CountLines(Place(doc, SDialogEditor::TYPE_WAVEEDITOR)->m_properties));
}
