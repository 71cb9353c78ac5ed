#include "core/Platform.h"
#include "editors/SBinaryCtrl.h"

#include "tests/support/GdiTestSupport.h"
#include "window/ControlFactory.h"

#include "TableTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Byte i of the test content.
uint8_t Pattern(int i) { return uint8_t(i * 7 + (i >> 8)); }

void Fill(SFileMem* file, int size) {
  file->SetSize(0);
  for (int i = 0; i < size; ++i) file->WriteByte(Pattern(i));
  file->Rewind();
}

bool FileExists(const SString& name) {
  return ::GetFileAttributesA(name.GetText()) != INVALID_FILE_ATTRIBUTES;
}

class SBinaryCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    CreateInHost(&parent, &viewer);
    if (HasFatalFailure()) return;
    ASSERT_GT(viewer.m_lineHeight, 0);
    ASSERT_GT(viewer.m_charWidth, 0);
  }

  bool Load(int size) {
    SFileMem file;
    Fill(&file, size);
    return viewer.LoadFile(&file);
  }
  int Position(int bar) { return ::GetScrollPos(viewer.m_hWnd, bar); }
  SCROLLINFO Info(int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(viewer.m_hWnd, bar, &info);
    return info;
  }
  int ClientHeight() {
    RECT client;
    ::GetClientRect(viewer.m_hWnd, &client);
    return client.bottom;
  }

  SWnd parent;
  SBinaryCtrl viewer;
};

TEST(SBinaryCtrl, RowTextIsOffsetHexAndCharacters) {
  uint8_t counting[16], mixed[16] = {0x20, 0x21, 0x7E, 0x7F, 0xFF, 'A',  0,   '.',
                                     'z',  0x80, 0x0A, '0',  0x1F, 0xA0, '~', ' '};
  for (int i = 0; i < 16; ++i) counting[i] = uint8_t(i);
  struct Case {
    int row;
    const uint8_t* bytes;
    const char* text;
  } cases[] = {
      {0, counting,
       "00000000  00 01 02 03 04 05 06 07 08  09 0A 0B 0C 0D 0E 0F   ................"},
      {0x123456, mixed,
       "01234560  20 21 7E 7F FF 41 00 2E 7A  80 0A 30 1F A0 7E 20   .!~..A..z..0..~."},
  };
  for (const Case& c : cases) {
    SString text = SBinaryCtrl::DrawRow(c.row, c.bytes);
    EXPECT_EQ(77, text.GetLength());
    EXPECT_STREQ(c.text, text.GetText());
  }
}

TEST_F(SBinaryCtrlTest, OnlyWholeRowsAreShownAndPainted) {
  struct Case {
    int size, rows;
  } cases[] = {{0, 0}, {15, 0}, {16, 1}, {20, 1}, {33, 2}, {1600, 100}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(c.size));
    EXPECT_EQ(c.rows, viewer.m_rowCount) << c.size;
    EXPECT_TRUE(Info(SB_VERT).nMin == 0 && Info(SB_VERT).nMax == c.rows) << c.size;
  }
  EXPECT_TRUE(Info(SB_HORZ).nMin == 0 && Info(SB_HORZ).nMax == 76);
  EXPECT_EQ(UINT(ClientHeight() / viewer.m_lineHeight), Info(SB_VERT).nPage);
  EXPECT_FALSE(viewer.LoadFile(nullptr));
  ASSERT_TRUE(Load(20));
  Dib32 canvas(400, 300, 0x123456);
  viewer.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
  uint32_t back = SystemRgb(COLOR_WINDOW);
  auto inked = [&](int top, int bottom) {
    return canvas.Count(0, top, 390, bottom, [&](uint32_t c) { return c != back; });
  };
  int h = viewer.m_lineHeight;
  EXPECT_GT(inked(0, h), 0);
  EXPECT_EQ(0, inked(h, 2 * h)) << "the last 4 bytes are no whole row";
}

TEST_F(SBinaryCtrlTest, ScrollsInRowsAndCharactersAndThumbDragsPast65535) {
  ASSERT_TRUE(Load(16 * 1000 + 5));
  struct Step {
    UINT message;
    WPARAM wParam;
    int bar, position;
  } steps[] = {
      {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), SB_VERT, 16},
      {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), SB_VERT, 32},
      {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), SB_VERT, 16},
      {WM_VSCROLL, SB_LINEDOWN, SB_VERT, 17},
      {WM_VSCROLL, SB_PAGEDOWN, SB_VERT, 33},
      {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), SB_VERT, 500},
      {WM_HSCROLL, SB_LINERIGHT, SB_HORZ, 1},
      {WM_HSCROLL, SB_PAGERIGHT, SB_HORZ, 11},
  };
  for (const Step& s : steps) {
    viewer.SendMessage(s.message, s.wParam, 0);
    EXPECT_EQ(s.position, Position(s.bar)) << s.message << " " << s.wParam;
  }
  // Only the visible rows are held, read from the vertical position.
  int visible = (ClientHeight() + viewer.m_lineHeight - 1) / viewer.m_lineHeight;
  ASSERT_EQ(visible * 16, viewer.m_rowBufferSize);
  for (int i = 0; i < viewer.m_rowBufferSize; ++i) {
    ASSERT_EQ(Pattern(500 * 16 + i), viewer.m_rowBuffer[i]) << i;
  }
  SFileMem file;
  Fill(&file, 16 * 200000);
  ASSERT_TRUE(viewer.LoadFile(&file));
  RECT client;
  ::GetClientRect(viewer.m_hWnd, &client);
  int bar = ::GetSystemMetrics(SM_CXVSCROLL), arrow = ::GetSystemMetrics(SM_CYVSCROLL);
  POINT thumb = {client.right + bar / 2, arrow + 4};
  int bottom = client.bottom - arrow - 2;
  ::PostMessageA(viewer.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(thumb.x, bottom / 2));
  ::PostMessageA(viewer.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(thumb.x, bottom));
  ::PostMessageA(viewer.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(thumb.x, bottom));
  ::ClientToScreen(viewer.m_hWnd, &thumb);
  viewer.SendMessage(WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
  int position = Position(SB_VERT);
  EXPECT_EQ(Info(SB_VERT).nMax - int(Info(SB_VERT).nPage) + 1, position);
  EXPECT_GT(position, 65535);
  EXPECT_EQ(Pattern(position * 16), viewer.m_rowBuffer[0]);
}

// A drag of the scroll bar's thumb to the bottom of a file of 200,000 rows:
// the system's own tracking loop, fed with posted mouse messages, reports
// positions past the 16 bits of its scroll messages.
TEST_F(SBinaryCtrlTest, ContentLivesInATemporaryFile) {
  SFileMem file;
  Fill(&file, 4 << 20);
  file.Seek(32);
  ASSERT_TRUE(viewer.LoadFile(&file));
  EXPECT_TRUE(viewer.m_content.IsTemporary());
  EXPECT_EQ((4 << 20) - 32, viewer.m_content.GetSize());
  EXPECT_EQ((1 << 18) - 2, viewer.m_rowCount);
  EXPECT_EQ(Pattern(32), viewer.m_rowBuffer[0]);
  EXPECT_LT(viewer.m_rowBufferSize, 4096);
  SString first = viewer.m_content.GetTempName();
  EXPECT_TRUE(FileExists(first));
  // A new load replaces the content and deletes the old file.
  ASSERT_TRUE(Load(64));
  EXPECT_FALSE(FileExists(first));
  EXPECT_EQ(4, viewer.m_rowCount);
  EXPECT_EQ(0, Position(SB_VERT));
  SString second = viewer.m_content.GetTempName();
  {
    SBinaryCtrl other;
    file.Rewind();
    ASSERT_TRUE(other.LoadFile(&file));
    second = other.m_content.GetTempName();
    EXPECT_TRUE(FileExists(second));
  }
  EXPECT_FALSE(FileExists(second));
}

TEST_F(SBinaryCtrlTest, BuilderLoadsTheBinaryFileEntry) {
  TempFolder folder;
  SFileMem entry;
  Fill(&entry, 100);
  SResource archive;
  WriteArchive(folder, "dump.bin",
               std::string(reinterpret_cast<const char*>(entry.GetBuffer()), 100), &archive);
  SDialogEditor::_SCtrl record;
  record.m_type = SDialogEditor::TYPE_BINARY;
  ASSERT_TRUE(SDialogEditor::SetProperty(&record, "BINARY_FILE", "dump.bin"));
  std::unique_ptr<SWnd> control(
      CreateDialogControl(parent.m_hWnd, &record, &archive, true, nullptr));
  SBinaryCtrl* built = dynamic_cast<SBinaryCtrl*>(control.get());
  ASSERT_NE(nullptr, built);
  EXPECT_EQ(SBinaryCtrl::KIND, built->m_kind);
  EXPECT_EQ(6, built->m_rowCount);
  EXPECT_EQ(100, built->m_content.GetSize());
}

}  // namespace
