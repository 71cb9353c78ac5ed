#include "core/Platform.h"
#include "DesignerTestSupport.h"

#include "core/SClipboard.h"

#include <string.h>

namespace {

std::string ThreeButtons() {
  return DialogText(
      Section("BUTTON", 1, "A", 10, 10, 50, 20) + Section("BUTTON", 2, "B", 70, 10, 50, 20) +
      Section("EDIT", 3, "C", 130, 10, 50, 20, "WS_VISIBLE ES_LEFT ", "EDIT_MAXLENGTH=16\r\n"));
}

// Puts a raw block of the designer's format on the clipboard: the stated
// count, then the bytes (the block is exactly that long).
void PutBlock(uint32_t count, const std::string& bytes) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 4 + bytes.size());
  uint8_t* p = static_cast<uint8_t*>(::GlobalLock(block));
  memcpy(p, &count, 4);
  if (!bytes.empty()) memcpy(p + 4, bytes.data(), bytes.size());
  ::GlobalUnlock(block);
  ::SetClipboardData(SClipboard::FORMAT_FILE_DATA, block);
  ::CloseClipboard();
}

std::string Magic() { return std::string("VANDRO DIALOG 1.0.0.0", 22); }

// The clipboard form of the designer's selection, as copied.
std::string CopiedBlock(SDialogDesigner& designer) {
  EXPECT_TRUE(designer.CopySelection());
  std::string bytes;
  EXPECT_TRUE(::OpenClipboard(nullptr));
  HANDLE handle = ::GetClipboardData(SClipboard::FORMAT_FILE_DATA);
  const uint8_t* p = static_cast<const uint8_t*>(::GlobalLock(handle));
  uint32_t count;
  memcpy(&count, p, 4);
  bytes.assign(reinterpret_cast<const char*>(p + 4), count);
  ::GlobalUnlock(handle);
  ::CloseClipboard();
  return bytes;
}

}  // namespace

TEST_F(DesignerTest, ThirtyTwoSnapshotsAreKeptAndUndoneInOrder) {
  ASSERT_TRUE(Load(ThreeButtons()));
  m_designer.SetSelection(Named("A"));
  for (int i = 0; i < 40; ++i) m_designer.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(10 + 40 * 5, Named("A")->m_left);
  EXPECT_EQ(SDialogDesigner::UNDO_LEVELS, m_designer.GetUndoCount());
  for (int i = 0; i < 32; ++i) ASSERT_TRUE(m_designer.RestoreLastUndo()) << i;
  EXPECT_FALSE(m_designer.RestoreLastUndo());
  // Back to the oldest snapshot kept: after the 8th move.
  EXPECT_EQ(10 + 8 * 5, Named("A")->m_left);
  EXPECT_EQ(40, m_parent.changes);
}

TEST_F(DesignerTest, DeletionsComeBackSelectedInDocumentOrderAndRefusedOnesChangeNothing) {
  ASSERT_TRUE(Load(ThreeButtons()));
  std::string before = Save();
  m_designer.SetSelection(Named("C"));
  m_designer.AddToSelection(Named("A"));
  m_designer.AddToSelection(Named("B"));
  m_designer.SendMessage(WM_KEYDOWN, VK_DELETE, 0);  // Delete, through the command mask
  EXPECT_EQ(0, m_designer.m_controls.GetCount());
  EXPECT_EQ(0, m_designer.m_selection.GetCount());
  m_designer.changes.clear();
  m_designer.Undo();
  EXPECT_EQ(before, Save());
  EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), Selected());
  ASSERT_EQ(2u, m_designer.changes.size());
  EXPECT_EQ(Named("A"), m_designer.changes[1].second);
  EXPECT_NE(nullptr, Named("A")->m_window);  // live windows made anew
  ASSERT_TRUE(Load(ThreeButtons()));
  m_designer.keep = "B";
  m_designer.SetSelection(Named("B"));
  EXPECT_FALSE(m_designer.DeleteSelection());
  EXPECT_EQ(0, m_designer.GetUndoCount());
  EXPECT_NE(nullptr, Named("B"));
  m_designer.SetSelection(Named("A"));
  m_designer.AddToSelection(Named("B"));
  EXPECT_TRUE(m_designer.DeleteSelection());
  EXPECT_EQ(nullptr, Named("A"));
  EXPECT_NE(nullptr, Named("B"));
}

TEST_F(DesignerTest, CopyCutAndPasteGiveNewIdsAtTheirPlaces) {
  ASSERT_TRUE(Load(ThreeButtons()));
  m_designer.SetSelection(Named("C"));
  m_designer.AddToSelection(Named("A"));
  m_designer.Copy();
  ASSERT_TRUE(m_designer.CanPaste());
  m_designer.Paste();
  m_designer.Paste();
  ASSERT_EQ(7, m_designer.m_controls.GetCount());
  EXPECT_EQ(2, m_designer.GetUndoCount());
  EXPECT_EQ(2, m_parent.changes);
  // Pasted in selection order: C first; new ids; taken names replaced.
  std::vector<int> ids;
  for (int i = 3; i < 7; ++i) {
    Ctrl* r = m_designer.m_controls[i];
    ids.push_back(r->m_id);
    Ctrl* source = Named(i % 2 ? "C" : "A");
    EXPECT_EQ(source->m_left, r->m_left);
    EXPECT_EQ(source->m_type, r->m_type);
    EXPECT_EQ(source->m_properties, r->m_properties);
    EXPECT_NE(source->m_name, r->m_name);
  }
  EXPECT_EQ((std::vector<int>{4, 5, 6, 7}), ids);
  EXPECT_EQ(m_designer.m_controls[5], m_designer.GetPrimary());
  EXPECT_EQ(2, m_designer.m_selection.GetCount());
  // The copy of the dialog record alone puts nothing on the clipboard.
  PutBlock(0, "");
  m_designer.SetSelection(m_designer.m_dialog);
  EXPECT_FALSE(m_designer.CopySelection());
  EXPECT_FALSE(m_designer.CanPaste());
  ASSERT_TRUE(Load(ThreeButtons()));
  std::string before = Save();
  m_designer.SetSelection(Named("B"));
  m_designer.Cut();
  EXPECT_EQ(nullptr, Named("B"));
  m_designer.Undo();
  EXPECT_EQ(before, Save());
  // B is back, so its pasted copy gets a new name at B's place.
  m_designer.Paste();
  ASSERT_EQ(4, m_designer.m_controls.GetCount());
  EXPECT_EQ(Named("B")->m_left, m_designer.m_controls[3]->m_left);
  EXPECT_STREQ("BUTTON1", m_designer.m_controls[3]->m_name.GetText());
}

TEST_F(DesignerTest, ForeignShortAndHostileBlocksChangeNothing) {
  ASSERT_TRUE(Load(ThreeButtons()));
  std::string before = Save();
  m_designer.SetSelection(Named("A"));
  std::string record = CopiedBlock(m_designer).substr(22);
  std::string dialogRecord = record;
  dialogRecord[2] = dialogRecord[3] = 0;  // type DIALOG
  std::string brokenName = record;
  brokenName.insert(5, "\r\n[EDIT]");  // after the name "A"
  struct Case {
    const char* what;
    uint32_t count;
    std::string bytes;
    bool canPaste;
  } cases[] = {
      {"magic alone", 22, Magic(), true},
      {"foreign", 11, "hello world", true},
      {"magic without its 0 byte", 21, Magic().substr(0, 21), true},
      {"count beyond the block", 0x7FFFFFFF, Magic() + record, true},
      {"count beyond a short block", 1000, Magic().substr(0, 10), true},
      {"no count", 0, "", false},
      {"cut-off record", uint32_t(22 + record.size() - 3),
       Magic() + record.substr(0, record.size() - 3), true},
      {"second record cut off", uint32_t(22 + record.size() + 9),
       Magic() + record + record.substr(0, 9), true},
      {"a dialog record", uint32_t(22 + record.size()), Magic() + dialogRecord, true},
      {"a name breaking the text", uint32_t(22 + brokenName.size()), Magic() + brokenName, true},
  };
  for (const Case& c : cases) {
    PutBlock(c.count, c.bytes);
    EXPECT_EQ(c.canPaste, m_designer.CanPaste()) << c.what;
    bool pasted = m_designer.PasteFromClipboard();
    if (strcmp(c.what, "count beyond the block") == 0) {
      // The record is all there: the count is cut to the block.
      EXPECT_TRUE(pasted);
      m_designer.Undo();
    } else {
      EXPECT_FALSE(pasted) << c.what;
    }
    EXPECT_EQ(before, Save()) << c.what;
    EXPECT_EQ(0, m_designer.GetUndoCount()) << c.what;
  }
  // A refused addition takes the whole paste back.
  PutBlock(uint32_t(22 + 2 * record.size()), Magic() + record + record);
  m_designer.acceptAdd = false;
  EXPECT_FALSE(m_designer.PasteFromClipboard());
  EXPECT_EQ(before, Save());
}

TEST_F(DesignerTest, SelectAllTakesTheVisibleControlsAndEscapeEmptiesTheSelection) {
  ASSERT_TRUE(Load(ThreeButtons() + Section("TAB", 9, "T", 200, 100, 100, 100, "WS_VISIBLE ",
                                            "TAB_CONTENT=x|y\r\nTAB_CHILDREN_PRIVATE=1 2 \r\n")));
  m_designer.SelectAll();
  EXPECT_EQ((std::vector<std::string>{"A", "C", "T"}), Selected());
  m_designer.changes.clear();
  m_designer.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(0, m_designer.m_selection.GetCount());
  m_designer.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_EQ(2u, m_designer.changes.size());
  EXPECT_EQ(nullptr, m_designer.changes[1].first);
  EXPECT_EQ(nullptr, m_designer.changes[1].second);
}
