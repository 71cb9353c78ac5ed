#include "core/Platform.h"
#include "core/SClipboard.h"
#include "core/SFileMem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HWND CreateOwner() {
  return CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The bytes of one clipboard format; empty when it is absent.
std::vector<uint8_t> ReadFormat(HWND owner, UINT format) {
  std::vector<uint8_t> bytes;
  if (!OpenClipboard(owner)) return bytes;
  HANDLE data = GetClipboardData(format);
  if (data) {
    const uint8_t* p = static_cast<const uint8_t*>(GlobalLock(data));
    if (p) bytes.assign(p, p + GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

class SClipboardTest : public ::testing::Test {
protected:
  void SetUp() override {
    owner = CreateOwner();
    ASSERT_NE(nullptr, owner);
    clipboard.SetOwner(owner);
  }
  void TearDown() override {
    if (OpenClipboard(owner)) {
      EmptyClipboard();
      CloseClipboard();
    }
    DestroyWindow(owner);
  }

  HWND owner = nullptr;
  SClipboard clipboard;
};

TEST_F(SClipboardTest, TextAndFileDataRoundTrip) {
  ASSERT_TRUE(clipboard.SetText("Copy this\r\nline \xE9t\xE9"));
  EXPECT_EQ(SString("Copy this\r\nline \xE9t\xE9"), SClipboard().GetText());
  ASSERT_TRUE(clipboard.SetText(nullptr));  // an empty CF_TEXT entry
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(0, clipboard.GetText().GetLength());

  // File data: a 32-bit count, the bytes from the file's position, a zero.
  SFileMem file;
  std::string bytes(70000, 'x');
  bytes[0] = 0;
  file.WriteData(bytes.data(), static_cast<int>(bytes.size()));
  file.Seek(4);
  ASSERT_TRUE(clipboard.SetFileData(&file));
  EXPECT_EQ(70000, file.Tell());
  std::vector<uint8_t> block = ReadFormat(owner, SClipboard::FORMAT_FILE_DATA);
  ASSERT_GE(block.size(), 70001u);
  EXPECT_EQ(0, memcmp("\x6C\x11\x01\x00", block.data(), 4));  // 69996
  EXPECT_EQ(0, memcmp(bytes.data() + 4, block.data() + 4, bytes.size() - 4));
  EXPECT_EQ(0, block[70000]);
  EXPECT_EQ(0x81u, static_cast<unsigned>(SClipboard::FORMAT_FILE_DATA));

  // Nothing left in the file leaves the clipboard alone; no text at all
  // gives the empty string.
  ASSERT_TRUE(clipboard.SetText("keep me"));
  EXPECT_FALSE(clipboard.SetFileData(&file));
  EXPECT_FALSE(clipboard.SetFileData(nullptr));
  EXPECT_EQ(SString("keep me"), clipboard.GetText());
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(0, clipboard.GetText().GetLength());
}

TEST_F(SClipboardTest, ClipboardHeldByAnotherWindowFailsAtOnce) {
  ASSERT_TRUE(clipboard.SetText("before"));
  HWND other = CreateOwner();
  ASSERT_TRUE(OpenClipboard(other));
  SFileMem file("data");
  EXPECT_FALSE(clipboard.SetText("after"));
  EXPECT_FALSE(clipboard.SetFileData(&file));
  EXPECT_EQ(0, clipboard.GetText().GetLength());
  CloseClipboard();
  DestroyWindow(other);
  EXPECT_EQ(SString("before"), clipboard.GetText());
}

// A clipboard whose hand-over the system refuses. It looks at each block
// first: a moveable block's handle is not its address.
class RefusingClipboard : public SClipboard {
public:
  explicit RefusingClipboard(HWND owner) : SClipboard(owner) {}
  HGLOBAL offered = nullptr;
  bool moveable = false;

protected:
  HANDLE HandOver(UINT, HGLOBAL block) override {
    offered = block;
    void* p = GlobalLock(block);
    moveable = p != nullptr && p != static_cast<void*>(block);
    GlobalUnlock(block);
    return nullptr;
  }
};

TEST_F(SClipboardTest, RefusedDataIsFreedAndReportedAsFailure) {
  SFileMem file("data");
  for (bool text : {true, false}) {
    SCOPED_TRACE(text);
    RefusingClipboard refusing(owner);
    EXPECT_FALSE(text ? refusing.SetText("lost") : refusing.SetFileData(&file));
    ASSERT_NE(nullptr, refusing.offered);
    EXPECT_TRUE(refusing.moveable);
    EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(refusing.offered));
  }
  EXPECT_EQ(0, clipboard.GetText().GetLength());
}

}  // namespace
