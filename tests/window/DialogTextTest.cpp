#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include "DialogTextCorpus.h"
#include "core/SFileMem.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

typedef SDialogEditor::_SCtrl Ctrl;

const char kHeader[] = "VANDRO DIALOG 1.0.0.0\r\n\r\n";

// The fixed lines of a section with every field at its default.
std::string Section(const char* keyword, const char* extra = "") {
  return std::string("[") + keyword + "]\r\nID=0\r\nNAME=\r\nCAPTION=\r\nFONT=, 0, 0\r\n" +
         "POSITION=10 10 150 150\r\nSTYLE=\r\nEXSTYLE=\r\nBACKCOLOR=#FF000000\r\n" +
         "TEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\n" + extra;
}

bool Load(SDialogEditor& doc, const std::string& text) {
  SFileMem file;
  FillFile(file, text);
  return SDialogEditor::LoadText(&file, &doc);
}

std::string Save(SDialogEditor& doc, bool* ok = nullptr) {
  SFileMem file;
  bool saved = doc.SaveText(&file);
  if (ok) *ok = saved;
  return FileText(file);
}

// A text of the dialog section and one control section with these lines
// between its header and its end.
std::string WithControl(const char* keyword, const std::string& lines) {
  return kHeader + Section("DIALOG", "\r\n") + "[" + keyword + "]\r\n" + lines;
}

bool IsEmpty(const SDialogEditor& doc) {
  return !doc.m_dialog && doc.m_controls.GetCount() == 0 && doc.m_selection.GetCount() == 0 &&
         !doc.m_loaded;
}

}  // namespace

TEST(DialogText, TheDialogRecordExampleIsWrittenExactly) {
  SDialogEditor doc;
  doc.Init();
  Ctrl record;
  record.m_caption = "Options";
  record.m_style = 0x10CF0000;
  doc.SetDialogRecord(&record);
  bool ok = false;
  std::string text = Save(doc, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(std::string(kHeader) +
                "[DIALOG]\r\n"
                "ID=0\r\n"
                "NAME=\r\n"
                "CAPTION=Options\r\n"
                "FONT=, 0, 0\r\n"
                "POSITION=10 10 150 150\r\n"
                "STYLE=WS_VISIBLE WS_BORDER WS_CAPTION WS_SYSMENU WS_MAXIMIZEBOX WS_MINIMIZEBOX "
                "WS_SIZEBOX \r\n"
                "EXSTYLE=\r\n"
                "BACKCOLOR=#FF000000\r\n"
                "TEXTCOLOR=#FF000000\r\n"
                "TRANSPARENT=0\r\n"
                "ISLOCKED=0\r\n"
                "\r\n",
            text);
  SFileMem file;
  EXPECT_EQ(int(text.size()) - int(sizeof(kHeader) - 1), doc.WriteSection(doc.m_dialog, &file));
}

TEST(DialogText, APlayerDialogReadsAndWritesBackByteForByte) {
  SDialogEditor doc;
  doc.Init();
  ASSERT_TRUE(Load(doc, PlayerDialogText()));
  ASSERT_NE(nullptr, doc.m_dialog);
  ASSERT_EQ(9, doc.m_controls.GetCount());
  EXPECT_STREQ("Gravrun", doc.m_dialog->m_caption.GetText());
  EXPECT_EQ(0x10C80000u, doc.m_dialog->m_style);
  const Ctrl* combo = doc.FindControlByName("PLAYER");
  ASSERT_NE(nullptr, combo);
  EXPECT_EQ(SDialogEditor::TYPE_COMBO, combo->m_type);
  EXPECT_EQ(0x10200403u, combo->m_style);
  EXPECT_STREQ("Player 1|Player 2|Player 3|Player 4",
               SDialogEditor::GetProperty(combo, "COMBO_CONTENT").GetText());
  const Ctrl* label = doc.FindControlById(6);
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(2u, label->m_fontStyle);
  EXPECT_EQ(0x802020u, label->m_textColor);
  EXPECT_TRUE(doc.FindControlByName("PLAYERNAME")->m_locked);

  bool ok = false;
  EXPECT_EQ(PlayerDialogText(), Save(doc, &ok));
  EXPECT_TRUE(ok);
}

TEST(DialogText, EveryLoadFailureLeavesAnEmptyDocument) {
  const std::string good = PlayerDialogText();
  const std::string bad[] = {
      "VANDRO DIALOG 1.0.0.1\r\n\r\n" + Section("DIALOG"),           // wrong magic
      " VANDRO DIALOG 1.0.0.0\r\n\r\n",                              // blank before it
      "VANDRO DIALOG 1.0.0.0\n\n[DIALOG]\nID=0\n",                   // LF only
      kHeader + Section("DIALOG", "\r\n") + Section("NOSUCHTYPE"),  // unknown type
      kHeader + Section("DIALOG", "\r\n") + "BUTTON\r\nID=1\r\n",   // no brackets
      kHeader + Section("DIALOG", "COMMENT\r\n"),                    // a line without "="
      kHeader + Section("DIALOG", "\r\n\r\n"),                       // trailing blank line
      good + "\r\n",                                                 // the same, longer text
  };
  for (const std::string& text : bad) {
    SDialogEditor doc;
    doc.Init();
    ASSERT_TRUE(Load(doc, good));
    ASSERT_TRUE(doc.m_loaded);
    EXPECT_FALSE(Load(doc, text)) << text;
    EXPECT_TRUE(IsEmpty(doc)) << text;
    EXPECT_NE(nullptr, doc.FindType("DIALOG")) << "the type table stays";
  }
  SDialogEditor doc;
  doc.Init();
  EXPECT_FALSE(SDialogEditor::LoadText(nullptr, &doc));
  Ctrl record;
  EXPECT_EQ(-1, SDialogEditor::ReadSection(&record, nullptr, &doc));
}

TEST(DialogText, SectionsAndKeysAreReadAsTheyStand) {
  SDialogEditor doc;
  doc.Init();
  // The header alone is an empty document and saves the same; the second
  // line is read and ignored.
  ASSERT_TRUE(Load(doc, kHeader));
  EXPECT_TRUE(doc.m_loaded);
  EXPECT_EQ(nullptr, doc.m_dialog);
  EXPECT_EQ(kHeader, Save(doc));
  ASSERT_TRUE(Load(doc, "VANDRO DIALOG 1.0.0.0\r\nanything\r\n" + Section("DIALOG")));
  EXPECT_NE(nullptr, doc.m_dialog);

  // Keyword case, keys that are no fixed keys, a value with "=", blanks.
  ASSERT_TRUE(Load(doc, WithControl("button", "ID=5\r\nid=6\r\nID =7\r\nCAPTION=a=b\r\n"
                                              "NAME=Hello \r\n=dropped\r\nX=1\r\nX=2")));
  Ctrl* c = doc.m_controls[0];
  EXPECT_EQ(SDialogEditor::TYPE_BUTTON, c->m_type);
  EXPECT_EQ(5, c->m_id);
  EXPECT_STREQ("a=b", c->m_caption.GetText());
  EXPECT_STREQ("Hello ", c->m_name.GetText());
  EXPECT_STREQ("id=6\r\nID =7\r\nX=1\r\nX=2\r\n", c->m_properties.GetText());
  EXPECT_STREQ("1", SDialogEditor::GetProperty(c, "X").GetText());

  // POSITION and FONT need exactly four and three parts.
  ASSERT_TRUE(Load(doc, WithControl("LABEL", "POSITION=1 2 3\r\nFONT=arial, 9\r\n")));
  EXPECT_EQ(10, doc.m_controls[0]->m_left);
  EXPECT_STREQ("", doc.m_controls[0]->m_fontName.GetText());
  ASSERT_TRUE(Load(doc, WithControl("LABEL", "POSITION=10  20 30 40\r\nFONT= Tahoma , 11, 5\r\n"
                                             "POSITION=1 2 3 4 5\r\n")));
  c = doc.m_controls[0];
  EXPECT_EQ(20, c->m_top);
  EXPECT_EQ(40, c->m_height);
  EXPECT_STREQ("Tahoma", c->m_fontName.GetText());
  EXPECT_EQ(5u, c->m_fontStyle);

  // Colours: red first in six digits, the whole value in eight, 0 otherwise.
  ASSERT_TRUE(Load(doc, WithControl("LABEL", "BACKCOLOR=#FF0000\r\nTEXTCOLOR=#80FF0000\r\n"
                                             "TRANSPARENT=7\r\n")));
  EXPECT_EQ(0x000000FFu, doc.m_controls[0]->m_backColor);
  EXPECT_EQ(0x80FF0000u, doc.m_controls[0]->m_textColor);
  EXPECT_TRUE(doc.m_controls[0]->m_transparent);
  EXPECT_NE(std::string::npos, Save(doc).find("BACKCOLOR=#FF0000\r\nTEXTCOLOR=#80FF0000\r\n"));
  ASSERT_TRUE(Load(doc, WithControl("LABEL", "BACKCOLOR=#12345\r\n")));
  EXPECT_EQ(0u, doc.m_controls[0]->m_backColor);
}

TEST(DialogText, TheFirstSectionIsTheDialogAndRepeatedIdsAndNamesAreReplaced) {
  SDialogEditor doc;
  doc.Init();
  ASSERT_TRUE(Load(doc, kHeader + Section("BUTTON", "STYLE=BS_FLAT WS_CAPTION\r\n\r\n") +
                            Section("DIALOG")));
  ASSERT_NE(nullptr, doc.m_dialog);
  EXPECT_EQ(SDialogEditor::TYPE_DIALOG, doc.m_dialog->m_type);
  EXPECT_EQ(0x8000u, doc.m_dialog->m_style) << "read with the names of BUTTON";
  ASSERT_EQ(1, doc.m_controls.GetCount());
  EXPECT_FALSE(doc.m_controls[0]->m_isDialog);
  EXPECT_EQ(doc.m_dialog, doc.m_selection[0]);

  ASSERT_TRUE(Load(doc, kHeader + Section("DIALOG", "\r\n") +
                            "[BUTTON]\r\nID=3\r\nNAME=OK\r\n\r\n[BUTTON]\r\nID=1\r\nNAME=OK\r\n\r\n"
                            "[BUTTON]\r\nID=3\r\nNAME=B\r\n"));
  ASSERT_EQ(3, doc.m_controls.GetCount());
  EXPECT_STREQ("BUTTON1", doc.m_controls[1]->m_name.GetText());
  EXPECT_EQ(2, doc.m_controls[2]->m_id) << "the smallest id no earlier control bears";
  EXPECT_STREQ("B", doc.m_controls[2]->m_name.GetText());
}

TEST(DialogText, StyleNamesOfTheTypeAreWrittenAndRead) {
  Ctrl record;
  record.m_type = SDialogEditor::TYPE_COMBO;
  record.m_style = 0x3;
  EXPECT_STREQ("CBS_SIMPLE CBS_DROPDOWN CBS_DROPDOWNLIST ",
               SDialogEditor::GetStyleNames(&record, false).GetText());
  record.m_style = 0;
  SDialogEditor::ParseStyleNames(&record, false, "CBS_DROPDOWNLIST CBS_DROPDOWN");
  EXPECT_EQ(0x3u, record.m_style);

  record.m_type = SDialogEditor::TYPE_EDIT;
  record.m_style = 0;
  EXPECT_STREQ("ES_LEFT ", SDialogEditor::GetStyleNames(&record, false).GetText());
  // Names of either row and WS_VISIBLE count in either line; others do not;
  // names are case-sensitive; an empty text keeps the field.
  SDialogEditor::ParseStyleNames(&record, true, "WS_VISIBLE WS_EX_STATICEDGE ES_NUMBER ws_border");
  EXPECT_EQ(0x10022000u, record.m_exStyle);
  SDialogEditor::ParseStyleNames(&record, true, "");
  EXPECT_EQ(0x10022000u, record.m_exStyle);

  // Bits without a name for the type are not written.
  record.m_type = SDialogEditor::TYPE_BUTTON;
  record.m_style = WS_BORDER;
  EXPECT_STREQ("", SDialogEditor::GetStyleNames(&record, false).GetText());
  record.m_type = SDialogEditor::TYPE_STATIC;
  record.m_style = 0x18000000;
  record.m_exStyle = 0xFFFFFFFF;
  EXPECT_STREQ("WS_VISIBLE WS_DISABLED ", SDialogEditor::GetStyleNames(&record, false).GetText());
  EXPECT_STREQ("", SDialogEditor::GetStyleNames(&record, true).GetText());

  // A STYLE line with only foreign names reads as 0 and writes empty.
  SDialogEditor doc;
  doc.Init();
  ASSERT_TRUE(Load(doc, WithControl("BUTTON", "STYLE=WS_BORDER\r\nEXSTYLE=\r\n")));
  EXPECT_EQ(0u, doc.m_controls[0]->m_style);
  EXPECT_NE(std::string::npos, Save(doc).find("[BUTTON]\r\nID=0\r\nNAME=\r\nCAPTION=\r\nFONT=, 0, "
                                              "0\r\nPOSITION=10 10 150 150\r\nSTYLE=\r\n"));
}

TEST(DialogText, EveryFieldValueSurvivesAWriteAndARead) {
  SDialogEditor doc;
  doc.Init();
  Ctrl dialog;
  dialog.m_id = 0xFFFF;
  // Only CR LF ends a line: a lone CR or LF is text.
  dialog.m_name = "a=b\nc";
  dialog.m_caption = "[BUTTON]\r";
  dialog.m_fontName = "Courier New";
  dialog.m_fontSize = -32768;
  dialog.m_fontStyle = 0xFFFFFFFF;
  dialog.m_top = 32767;
  dialog.m_backColor = 0xFE000005;
  dialog.m_transparent = dialog.m_locked = true;
  dialog.m_style = 0x10CF0000 | WS_DISABLED;
  dialog.m_exStyle = 0x20288;
  dialog.m_properties = "[X]==[=]\r\nEMPTY=\r\nA=\t x \r\nL=1\n2\r\r\n";
  doc.SetDialogRecord(&dialog);
  bool ok = false;
  std::string text = Save(doc, &ok);
  ASSERT_TRUE(ok);

  // Read back it writes the same bytes: no field fell back to its default.
  SDialogEditor back;
  back.Init();
  ASSERT_TRUE(Load(back, text));
  const Ctrl* r = back.m_dialog;
  ASSERT_NE(nullptr, r);
  EXPECT_EQ(text, Save(back));
  EXPECT_EQ(-32768, r->m_fontSize);
  EXPECT_STREQ("a=b\nc", r->m_name.GetText());
  EXPECT_STREQ("[BUTTON]\r", r->m_caption.GetText());
  EXPECT_STREQ(dialog.m_properties.GetText(), r->m_properties.GetText());
  EXPECT_STREQ("=[=]", SDialogEditor::GetProperty(r, "[X]").GetText());
}

TEST(DialogText, TextsThatWouldNotReadBackAreRefused) {
  struct Case {
    const char* what;
    void (*spoil)(Ctrl&);
  };
  const Case cases[] = {
      {"CR LF in a caption", [](Ctrl& r) { r.m_caption = "two\r\nlines"; }},
      {"comma in a face", [](Ctrl& r) { r.m_fontName = "Arial, Bold"; }},
      {"blank around a face", [](Ctrl& r) { r.m_fontName = " Arial"; }},
      {"unfinished last line", [](Ctrl& r) { r.m_properties = "A=1\r\nB=2"; }},
      {"empty line", [](Ctrl& r) { r.m_properties = "A=1\r\n\r\nB=2\r\n"; }},
      {"line without =", [](Ctrl& r) { r.m_properties = "A\r\n"; }},
      {"empty key", [](Ctrl& r) { r.m_properties = "=1\r\n"; }},
      {"own key", [](Ctrl& r) { r.m_properties = "CAPTION=x\r\n"; }},
      {"CR LF in a face", [](Ctrl& r) { r.m_fontName = "Arial\r\n"; }},
  };
  for (const Case& c : cases) {
    SDialogEditor doc;
    doc.Init();
    Ctrl dialog, button;
    doc.SetDialogRecord(&dialog);
    button.m_type = SDialogEditor::TYPE_BUTTON;
    c.spoil(button);
    Ctrl* added = SDialogEditor::AddControl(&doc, false, &button, true, true);
    ASSERT_NE(nullptr, added) << c.what;
    EXPECT_FALSE(SDialogEditor::IsWritable(added)) << c.what;
    bool ok = true;
    std::string text = Save(doc, &ok);
    EXPECT_FALSE(ok) << c.what;
    // The sections before it were written.
    EXPECT_EQ(std::string(kHeader) + Section("DIALOG", "\r\n"), text) << c.what;
  }

  // Controls without a dialog record would come back as the dialog record.
  SDialogEditor headless;
  headless.Init();
  Ctrl button;
  button.m_type = SDialogEditor::TYPE_BUTTON;
  SDialogEditor::AddControl(&headless, false, &button, true, true);
  bool written = true;
  EXPECT_EQ("", Save(headless, &written));
  EXPECT_FALSE(written);

  // A type that is not in the table writes nothing.
  Ctrl* foreign = SDialogEditor::AddControl(&headless, false, &button, true, true);
  ASSERT_NE(nullptr, foreign);
  foreign->m_type = 40;
  SFileMem file;
  EXPECT_EQ(0, headless.WriteSection(foreign, &file));
  EXPECT_EQ(0, file.GetSize());
  EXPECT_FALSE(headless.SaveText(nullptr));
}

TEST(DialogText, ThousandsOfDamagedTextsNeverBreakTheReader) {
  const std::string original = PlayerDialogText();
  DialogTextMutator mutator(20240611);
  int loaded = 0, rewritten = 0;
  SDialogEditor doc;
  doc.Init();
  for (int i = 0; i < 3000; ++i) {
    std::string text = mutator.Mutate(original);
    if (!Load(doc, text)) {
      ASSERT_TRUE(IsEmpty(doc)) << i;
      continue;
    }
    ++loaded;
    // Names and ids of the control list stay unique.
    std::set<std::string> names;
    std::set<int> ids;
    for (int k = 0; k < doc.m_controls.GetCount(); ++k) {
      const Ctrl* c = doc.m_controls[k];
      ASSERT_TRUE(names.insert(c->m_name.GetText() ? c->m_name.GetText() : "").second) << i;
      ASSERT_TRUE(ids.insert(c->m_id).second) << i;
    }
    // What the writer makes of it reads back and writes the same bytes.
    bool ok = false;
    std::string saved = Save(doc, &ok);
    if (!ok) continue;
    SDialogEditor again;
    again.Init();
    ASSERT_TRUE(Load(again, saved)) << i;
    ASSERT_EQ(saved, Save(again)) << i;
    ++rewritten;
  }
  EXPECT_GT(loaded, 300) << "the corpus keeps enough readable texts";
  EXPECT_GT(rewritten, 300);
}
