#include "core/Platform.h"
#include "window/SCursor.h"

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
  ICONINFO info;
  if (!::GetIconInfo(cursor, &info)) return false;
  ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  return true;
}

// A 32-bit memory bitmap on a DC, filled with one COLORREF.
class Canvas {
public:
  Canvas(int width, int height, COLORREF fill) {
    m_dc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) ::SetPixelV(m_dc, x, y, fill);
    }
  }
  ~Canvas() {
    ::SelectObject(m_dc, m_previous);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  HDC GetDC() const { return m_dc; }

private:
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous;
};

TEST(SCursorTest, FrameworkTableHoldsTheTwentyOneCursors) {
  ASSERT_EQ(CURSOR_COUNT, g_cursorTable.GetCount());
  const LPCSTR system[14] = {IDC_ARROW,   IDC_APPSTARTING, IDC_CROSS,    IDC_HAND,  IDC_HELP,
                             IDC_IBEAM,   IDC_NO,          IDC_SIZEALL,  IDC_SIZENESW,
                             IDC_SIZENS,  IDC_SIZENWSE,    IDC_SIZEWE,   IDC_UPARROW, IDC_WAIT};
  for (int kind = 0; kind < 14; ++kind) {
    SCursor* cursor = g_cursorTable[kind];
    ASSERT_NE(nullptr, cursor);
    EXPECT_TRUE(cursor->IsShared()) << kind;
    EXPECT_EQ(::LoadCursorA(nullptr, system[kind]), cursor->GetHandle()) << kind;
    EXPECT_EQ(cursor->GetHandle(), GetFrameworkCursor(kind));
  }
  // The own cursors: 32 x 32 with their hot spots.
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
    // A picture on a transparent ground: both kinds of pixels occur, and
    // the hot spot is on the picture.
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
}

TEST(SCursorTest, OtherKindsGiveTheArrow) {
  SCursor cursor;
  EXPECT_EQ(nullptr, cursor.GetHandle());
  EXPECT_TRUE(cursor.Create(21));
  EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), cursor.GetHandle());
  EXPECT_TRUE(cursor.IsShared());
  EXPECT_TRUE(cursor.Create(-1));
  EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), cursor.GetHandle());
}

TEST(SCursorTest, OnlyOwnCursorsAreDestroyed) {
  SCursor* own = new SCursor;
  own->Create(CURSOR_ZOOM);
  HCURSOR ownHandle = own->GetHandle();
  ASSERT_TRUE(IsValidCursor(ownHandle));
  delete own;
  EXPECT_FALSE(IsValidCursor(ownHandle));

  SCursor* system = new SCursor;
  system->Create(CURSOR_IBEAM);
  HCURSOR systemHandle = system->GetHandle();
  delete system;
  EXPECT_TRUE(IsValidCursor(systemHandle));
  EXPECT_EQ(systemHandle, ::LoadCursorA(nullptr, IDC_IBEAM));

  // Creating again releases the previous own cursor.
  SCursor cursor;
  cursor.Create(CURSOR_PEN);
  HCURSOR pen = cursor.GetHandle();
  cursor.Create(CURSOR_ARROW);
  EXPECT_FALSE(IsValidCursor(pen));
  EXPECT_TRUE(cursor.IsShared());
}

TEST(SCursorTest, CreateFromImageRefusesBadSizes) {
  Canvas canvas(32, 32, RGB(255, 0, 255));
  SCursor cursor;
  EXPECT_FALSE(cursor.CreateFromImage(canvas.GetDC(), 24, 32));
  EXPECT_FALSE(cursor.CreateFromImage(canvas.GetDC(), 32, 0));
  EXPECT_FALSE(cursor.CreateFromImage(canvas.GetDC(), -16, 32));
  EXPECT_FALSE(cursor.CreateFromImage(nullptr, 32, 32));
  EXPECT_EQ(nullptr, cursor.GetHandle());

  // All magenta: fully transparent, hot spot at the origin.
  ASSERT_TRUE(cursor.CreateFromImage(canvas.GetDC(), 32, 32));
  EXPECT_FALSE(cursor.IsShared());
  CursorInfo info;
  ASSERT_TRUE(info.Read(cursor.GetHandle()));
  EXPECT_EQ(0, info.hotX);
  EXPECT_EQ(0, info.hotY);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      ASSERT_TRUE(info.AndBit(x, y));
      ASSERT_FALSE(info.XorBit(x, y));
    }
  }
}

TEST(SCursorTest, CreateFromImageColourCodes) {
  Canvas canvas(32, 16, RGB(255, 0, 255));
  HDC dc = canvas.GetDC();
  ::SetPixelV(dc, 3, 4, 0x000000FF);   // inverted
  ::SetPixelV(dc, 5, 6, 0x00FE0000);   // white, hot spot
  ::SetPixelV(dc, 7, 1, 0x00FFFFFF);   // white
  ::SetPixelV(dc, 8, 1, 0x00123456);   // other: black
  ::SetPixelV(dc, 9, 1, 0x00FC0000);   // inverted, hot spot (earlier in reading order)
  ::SetPixelV(dc, 20, 9, 0x00FD0000);  // transparent, hot spot
  ::SetPixelV(dc, 21, 9, 0x00FF0000);  // black, hot spot

  SCursor cursor;
  ASSERT_TRUE(cursor.CreateFromImage(dc, 32, 16));
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

  // The example of a red pixel and a blue-254 pixel alone.
  Canvas simple(32, 32, RGB(255, 0, 255));
  ::SetPixelV(simple.GetDC(), 3, 4, RGB(255, 0, 0));
  ::SetPixelV(simple.GetDC(), 5, 6, RGB(0, 0, 254));
  ASSERT_TRUE(cursor.CreateFromImage(simple.GetDC(), 32, 32));
  ASSERT_TRUE(info.Read(cursor.GetHandle()));
  EXPECT_EQ(5, info.hotX);
  EXPECT_EQ(6, info.hotY);
  EXPECT_TRUE(info.AndBit(3, 4) && info.XorBit(3, 4));
  EXPECT_TRUE(!info.AndBit(5, 6) && info.XorBit(5, 6));
}

TEST(SCursorTest, ClearAndRebuildTheTable) {
  HCURSOR zoom = GetFrameworkCursor(CURSOR_ZOOM);
  ClearCursorTable();
  EXPECT_EQ(0, g_cursorTable.GetCount());
  EXPECT_FALSE(IsValidCursor(zoom));
  EXPECT_EQ(nullptr, GetFrameworkCursor(CURSOR_ARROW));
  ClearCursorTable();
  BuildCursorTable();
  EXPECT_EQ(CURSOR_COUNT, g_cursorTable.GetCount());
  EXPECT_TRUE(IsValidCursor(GetFrameworkCursor(CURSOR_ZOOM)));
}

}  // namespace
