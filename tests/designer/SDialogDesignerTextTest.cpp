#include "core/Platform.h"
#include "DesignerTestSupport.h"

#include <string.h>

namespace {

std::string Resource(WORD id) {
  SFileMem resource("BINARY", id);
  return std::string(reinterpret_cast<const char*>(resource.GetBuffer()),
                     size_t(resource.GetSize()));
}

// Every control type with every style and extended style name of its type,
// and fields and extended lines that vary from record to record: colours
// (none, plain, system, with alpha), fonts, negative positions, locked and
// transparent records, values holding "=" and blanks.
std::string EveryKindText() {
  SDialogDesigner document;
  document.Init();
  Ctrl dialog;
  dialog.m_name = "ALL";
  dialog.m_caption = "Every kind";
  dialog.m_style = 0xFFFFFFFF;
  dialog.m_exStyle = 0xFFFFFFFF;
  dialog.m_backColor = 0xFE000005;
  SDialogDesigner::SetProperty(&dialog, "DIALOG_IMAGE", "back.png");
  SDialogDesigner::SetProperty(&dialog, "DIALOG_LAYER", "0");
  document.SetDialogRecord(&dialog);
  const COLORREF colours[] = {0xFF000000, 0x000000FF, 0xFE000012, 0x80FF0000, 0, 0xFF000001};
  const char* fonts[] = {"", "Tahoma", "Arial", "courier new"};
  for (int type = 1; type < SDialogDesigner::TYPE_COUNT; ++type) {
    Ctrl record;
    record.m_type = int16_t(type);
    record.m_id = uint16_t(type);
    record.m_name = SString("C") + SString::FromInt(type);
    record.m_caption =
        type % 3 ? SString("Caption = ") + SString::FromInt(type) + " " : SString("");
    record.m_fontName = fonts[type % 4];
    record.m_fontSize = int16_t(type % 5 ? type : -8);
    record.m_fontStyle = type == 7 ? 0xFFFFFFFFu : uint32_t(type % 16);
    record.m_left = int16_t(type * 13 - 100);
    record.m_top = int16_t(-type);
    record.m_width = int16_t(type * 7);
    record.m_height = int16_t(type % 4 ? 30 : -5);
    record.m_locked = type % 2 == 0;
    record.m_transparent = type % 3 == 0;
    record.m_style = 0xFFFFFFFF;
    record.m_exStyle = 0xFFFFFFFF;
    record.m_backColor = colours[type % 6];
    record.m_textColor = colours[(type + 1) % 6];
    SDialogDesigner::SetPropertyInt(&record, "TABINDEX", type - 2);
    SDialogDesigner::SetProperty(&record, "TOOLTIP", "a=b; c ");
    SDialogDesigner::SetProperty(&record, "EMPTY", "");
    if (type % 2) SDialogDesigner::SetProperty(&record, "LIST_CONTENT", "x|\"y z\"|");
    if (!SDialogDesigner::AddControl(&document, false, &record, true, true)) return "";
  }
  SFileMem file;
  if (!document.SaveText(&file)) return "";
  return FileText(file);
}

// Closes the test dialog (titled by the dialog record's caption) from a
// timer of the thread while it runs modally.
const char* g_closeTitle = nullptr;
bool g_closed = false;

void CALLBACK CloseTestDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = ::FindWindowA(nullptr, g_closeTitle);
  if (!dialog || !::IsWindowVisible(dialog)) return;
  ::KillTimer(nullptr, timer);
  g_closed = true;
  ::PostMessageA(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

TEST_F(DesignerTest, EveryDialogTextKindAndPropertyWritesBackByteForByte) {
  struct Case {
    WORD id;
    const char* appended;  // what the writer adds: the closing empty line
  } cases[] = {{129, "\r\n"}, {130, ""}};
  for (const Case& c : cases) {
    std::string text = Resource(c.id);
    ASSERT_FALSE(text.empty()) << c.id;
    ASSERT_TRUE(Load(text)) << c.id;
    EXPECT_EQ(text + c.appended, Save()) << c.id;
  }
  std::string text = EveryKindText();
  ASSERT_FALSE(text.empty());
  for (int type = 0; type < SDialogDesigner::TYPE_COUNT; ++type) {
    std::string header = std::string("[") + m_designer.m_types[type].m_keyword.GetText() + "]\r\n";
    EXPECT_NE(std::string::npos, text.find(header)) << header;
  }
  // Two blanks after the flat-buttons and focus-on-button-down names.
  EXPECT_NE(std::string::npos, text.find("STYLE=WS_VISIBLE WS_DISABLED TCS_BUTTONS TCS_FLATBUTTONS  "
                                         "TCS_FOCUSNEVER TCS_FOCUSONBUTTONDOWN  TCS_TOOLTIPS \r\n"));
  EXPECT_NE(std::string::npos, text.find("BACKCOLOR=#FE000005\r\n"));
  ASSERT_TRUE(Load(text));
  EXPECT_EQ(text, Save());
  // Through the clipboard form too: every record pasted into the dialog
  // alone writes the same sections (the ids the paste hands out are the
  // same, the names free).
  m_designer.SelectAll();
  ASSERT_TRUE(m_designer.CopySelection());
  std::string controls = text.substr(text.find("[BINARY]"));
  std::string dialogOnly = text.substr(0, text.size() - controls.size());
  ASSERT_TRUE(Load(dialogOnly));
  ASSERT_TRUE(m_designer.PasteFromClipboard());
  EXPECT_EQ(text, Save());
}

TEST_F(DesignerTest, TheTestRunNeedsADocumentAndLeavesItAsItWas) {
  EXPECT_FALSE(m_designer.Test());
  Ctrl record;
  record.m_type = SDialogDesigner::TYPE_BUTTON;
  ASSERT_NE(nullptr, SDialogDesigner::AddControl(&m_designer, true, &record, false, false));
  SFileMem file;
  EXPECT_FALSE(m_designer.SaveText(&file));
  EXPECT_FALSE(m_designer.Test());
  // A document whose text the builder refuses runs nothing.
  ASSERT_TRUE(Load(DialogText(Section("DIALOG", 5, "SECOND", 0, 0, 10, 10))));
  EXPECT_FALSE(m_designer.Test());
  // The player-like dialog: every control in it has a class.
  std::string text = Resource(129) + "\r\n";
  ASSERT_TRUE(Load(text));
  g_closeTitle = "Player Identity";
  g_closed = false;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseTestDialog);
  EXPECT_TRUE(m_designer.Test());
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(g_closed);
  EXPECT_EQ(text, Save());
  EXPECT_EQ(nullptr, ::FindWindowA(nullptr, g_closeTitle));
  EXPECT_TRUE(::IsWindowEnabled(m_parent.m_hWnd));
  // The menu command runs it the same way.
  g_closed = false;
  timer = ::SetTimer(nullptr, 0, 50, CloseTestDialog);
  m_designer.SendMessage(SWM_MENUCOMMAND, 0, SDialogDesigner::CMD_TEST);
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(g_closed);
}
