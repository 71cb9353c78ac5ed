#include "core/Platform.h"
#include "window/SCursor.h"

#include "PaintSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Hot spot and mask bitmaps of a cursor; false for an invalid handle.
struct CursorInfo {
  int hotX = -1, hotY = -1;
  int width = 0, height = 0;
  // Monochrome cursor: the AND plane on top of the XOR plane, one bit each.
  std::vector<uint8_t> planes;
  int rowBytes = 0;

  bool Read(HCURSOR cursor) {
    ICONINFO info;
    if (!cursor || !::GetIconInfo(cursor, &info)) return false;
    hotX = (int)info.xHotspot;
    hotY = (int)info.yHotspot;
    BITMAP bitmap;
    ::GetObjectA(info.hbmMask, sizeof(bitmap), &bitmap);
    width = bitmap.bmWidth;
    height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    rowBytes = bitmap.bmWidthBytes;
    planes.resize((size_t)rowBytes * bitmap.bmHeight);
    ::GetBitmapBits(info.hbmMask, (LONG)planes.size(), planes.data());
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    return true;
  }
  bool AndBit(int x, int y) const { return Bit(x, y); }
  bool XorBit(int x, int y) const { return Bit(x, y + height); }

private:
  bool Bit(int x, int y) const { return (planes[y * rowBytes + x / 8] >> (7 - x % 8)) & 1; }
};

bool IsValidCursor(HCURSOR cursor) {
  CursorInfo info;
  return info.Read(cursor);
}

const uint32_t kMagenta = 0xFF00FF;

}  // namespace

TEST(SCursorTest, FrameworkTableHoldsTheTwentyOneCursors) {
  ASSERT_EQ(CURSOR_COUNT, g_cursorTable.GetCount());
  const LPCSTR system[14] = {IDC_ARROW,   IDC_APPSTARTING, IDC_CROSS,    IDC_HAND,  IDC_HELP,
                             IDC_IBEAM,   IDC_NO,          IDC_SIZEALL,  IDC_SIZENESW,
                             IDC_SIZENS,  IDC_SIZENWSE,    IDC_SIZEWE,   IDC_UPARROW, IDC_WAIT};
  for (int kind = 0; kind < 14; ++kind) {
    SCursor* cursor = g_cursorTable[kind];
    ASSERT_NE(nullptr, cursor);
    EXPECT_TRUE(cursor->IsShared()) << kind;
    EXPECT_EQ(::LoadCursorA(nullptr, system[kind]), GetFrameworkCursor(kind)) << kind;
  }
  // The own cursors: 32 x 32 pictures on a transparent ground, with their
  // hot spots on the picture.
  const int hotSpots[7][2] = {{7, 0}, {7, 0}, {9, 22}, {9, 22}, {15, 15}, {11, 22}, {13, 14}};
  for (int kind = 14; kind < CURSOR_COUNT; ++kind) {
    SCursor* cursor = g_cursorTable[kind];
    ASSERT_NE(nullptr, cursor);
    EXPECT_FALSE(cursor->IsShared()) << kind;
    CursorInfo info;
    ASSERT_TRUE(info.Read(cursor->GetHandle())) << kind;
    EXPECT_EQ(32, info.width);
    EXPECT_EQ(32, info.height);
    EXPECT_EQ(hotSpots[kind - 14][0], info.hotX) << kind;
    EXPECT_EQ(hotSpots[kind - 14][1], info.hotY) << kind;
    int transparent = 0, white = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        transparent += info.AndBit(x, y) && !info.XorBit(x, y);
        white += !info.AndBit(x, y) && info.XorBit(x, y);
      }
    }
    EXPECT_GT(transparent, 0) << kind;
    EXPECT_GT(white, 0) << kind;
    EXPECT_FALSE(info.AndBit(info.hotX, info.hotY)) << kind;
  }
  EXPECT_EQ(nullptr, GetFrameworkCursor(-1));
  EXPECT_EQ(nullptr, GetFrameworkCursor(CURSOR_COUNT));

  // Clearing destroys the own cursors; the table can be built again.
  HCURSOR zoom = GetFrameworkCursor(CURSOR_ZOOM);
  ClearCursorTable();
  EXPECT_EQ(0, g_cursorTable.GetCount());
  EXPECT_FALSE(IsValidCursor(zoom));
  ClearCursorTable();
  BuildCursorTable();
  EXPECT_EQ(CURSOR_COUNT, g_cursorTable.GetCount());
  EXPECT_TRUE(IsValidCursor(GetFrameworkCursor(CURSOR_ZOOM)));
}

TEST(SCursorTest, OtherKindsGiveTheArrowAndOnlyOwnCursorsAreDestroyed) {
  SCursor cursor;
  EXPECT_TRUE(cursor.Create(21));
  EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), cursor.GetHandle());
  EXPECT_TRUE(cursor.Create(-1));
  EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), cursor.GetHandle());

  SCursor* own = new SCursor;
  own->Create(CURSOR_ZOOM);
  HCURSOR ownHandle = own->GetHandle();
  ASSERT_TRUE(IsValidCursor(ownHandle));
  delete own;
  EXPECT_FALSE(IsValidCursor(ownHandle));
  SCursor* system = new SCursor;
  system->Create(CURSOR_IBEAM);
  delete system;
  EXPECT_TRUE(IsValidCursor(::LoadCursorA(nullptr, IDC_IBEAM)));

  // Creating again releases the previous own cursor.
  cursor.Create(CURSOR_PEN);
  HCURSOR pen = cursor.GetHandle();
  cursor.Create(CURSOR_ARROW);
  EXPECT_FALSE(IsValidCursor(pen));
}

TEST(SCursorTest, CreateFromImageReadsTheColourCodesAndRefusesBadSizes) {
  Dib32 canvas(32, 16, kMagenta);
  SCursor cursor;
  EXPECT_FALSE(cursor.CreateFromImage(canvas.GetDC(), 24, 16));
  EXPECT_FALSE(cursor.CreateFromImage(canvas.GetDC(), -16, 16));
  EXPECT_FALSE(cursor.CreateFromImage(nullptr, 32, 16));

  HDC dc = canvas.GetDC();
  ::SetPixelV(dc, 3, 4, 0x000000FF);   // inverted
  ::SetPixelV(dc, 5, 6, 0x00FE0000);   // white, hot spot
  ::SetPixelV(dc, 7, 1, 0x00FFFFFF);   // white
  ::SetPixelV(dc, 8, 1, 0x00123456);   // other: black
  ::SetPixelV(dc, 9, 1, 0x00FC0000);   // inverted, hot spot (earlier in reading order)
  ::SetPixelV(dc, 20, 9, 0x00FD0000);  // transparent, hot spot
  ::SetPixelV(dc, 21, 9, 0x00FF0000);  // black, hot spot
  ASSERT_TRUE(cursor.CreateFromImage(dc, 32, 16));
  EXPECT_FALSE(cursor.IsShared());
  CursorInfo info;
  ASSERT_TRUE(info.Read(cursor.GetHandle()));
  EXPECT_EQ(32, info.width);
  EXPECT_EQ(16, info.height);
  // The last hot-spot pixel in reading order wins.
  EXPECT_EQ(21, info.hotX);
  EXPECT_EQ(9, info.hotY);
  const struct {
    int x, y;
    bool andBit, xorBit;
  } expected[] = {
      {3, 4, true, true},   {5, 6, false, true},  {7, 1, false, true}, {8, 1, false, false},
      {9, 1, true, true},   {20, 9, true, false}, {21, 9, false, false}, {0, 0, true, false},
      {31, 15, true, false},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(e.andBit, info.AndBit(e.x, e.y)) << e.x << "," << e.y;
    EXPECT_EQ(e.xorBit, info.XorBit(e.x, e.y)) << e.x << "," << e.y;
  }

  // Without a hot-spot pixel the hot spot is the origin.
  Dib32 blank(32, 32, kMagenta);
  ASSERT_TRUE(cursor.CreateFromImage(blank.GetDC(), 32, 32));
  ASSERT_TRUE(info.Read(cursor.GetHandle()));
  EXPECT_EQ(0, info.hotX + info.hotY);
}
