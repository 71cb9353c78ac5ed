#include "core/Platform.h"
#include "window/SCursor.h"

#include "window/Framework.h"

SArray<SCursor*> g_cursorTable;

namespace {

enum { OWN_SIZE = 32, OWN_PLANE = OWN_SIZE / 8 * OWN_SIZE };

// The framework's own cursors, kinds 14 to 20, row by row from the top:
// '.' transparent, 'X' black, 'o' white.
const char* const kOwnPictures[7][OWN_SIZE] = {
    // 14: arrow with a square holding a plus
    {
        ".......X........................",
        ".......X........................",
        ".......XX.......................",
        ".......XoX......................",
        ".......XooX.....................",
        ".......XoooX....................",
        ".......XooooX...................",
        ".......XoooooX..................",
        ".......XooooooX.................",
        ".......XoooooooX................",
        ".......XooooooooX...............",
        ".......XoooooXXXXX..............",
        ".......XooooX...................",
        ".......XooXooX..................",
        ".......XoX.XoX..................",
        ".......XX...XoX.................",
        ".......X....XoX.................",
        ".............XoX................",
        ".............XoX................",
        "..............X..XXXXXXXXXXXX...",
        ".................XooooooooooX...",
        ".................XooooXXooooX...",
        ".................XooooXXooooX...",
        ".................XooooXXooooX...",
        ".................XooXXXXXXooX...",
        ".................XooXXXXXXooX...",
        ".................XooooXXooooX...",
        ".................XooooXXooooX...",
        ".................XooooXXooooX...",
        ".................XooooooooooX...",
        ".................XXXXXXXXXXXX...",
        "................................",
    },
    // 15: arrow with an empty square
    {
        ".......X........................",
        ".......X........................",
        ".......XX.......................",
        ".......XoX......................",
        ".......XooX.....................",
        ".......XoooX....................",
        ".......XooooX...................",
        ".......XoooooX..................",
        ".......XooooooX.................",
        ".......XoooooooX................",
        ".......XooooooooX...............",
        ".......XoooooXXXXX..............",
        ".......XooooX...................",
        ".......XooXooX..................",
        ".......XoX.XoX..................",
        ".......XX...XoX.................",
        ".......X....XoX.................",
        ".............XoX................",
        ".............XoX................",
        "..............X..XXXXXXXXXXXX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XooooooooooX...",
        ".................XXXXXXXXXXXX...",
        "................................",
    },
    // 16: dropper
    {
        "................................",
        "................................",
        "................................",
        ".......................XXX......",
        ".....................XXoooXX....",
        ".....................XoooooX....",
        "....................XoooooooX...",
        "....................XoooooooX...",
        "....................XoooooooX...",
        "................XXXXoooooooX....",
        "................XoooooooooXX....",
        "................XooooooXXX......",
        "................XoooooX.........",
        "...............XooooooX.........",
        "..............XooooooooX........",
        ".............XoooooXXooX........",
        "............XoooooX..XXX........",
        "...........XoooooX..............",
        "..........XoooooX...............",
        ".........XoooooX................",
        ".........XooooX.................",
        ".........XoooX..................",
        ".........XXXX...................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
    },
    // 17: paint bucket
    {
        "................................",
        "................................",
        "..................X.............",
        "..................XXX...........",
        ".................XoooX..........",
        ".................XooooXX........",
        "............XXX.XoooooooX.......",
        "...........XooX.XooooooooX......",
        "...........XoooXooooooooooXX....",
        "..........XoooooooooooooooooX...",
        "..........XooooooooooooooooooX..",
        ".........XooooooooooooooooooX...",
        ".........XoooooooooooooooooX....",
        "........XoooXXooooooooooooX.....",
        "........XooX..XooooooooooX......",
        "........XooX...XXoooooooX.......",
        "........XoX......XoooooX........",
        "........XoX.......XXoooX........",
        "........XoX.........XoX.........",
        "........XoX..........X..........",
        "........XoX.....................",
        "........XoX.....................",
        "........XXX.....................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
    },
    // 18: open hand
    {
        "................................",
        "................................",
        "..............X.................",
        ".............XoX.XXX............",
        ".............XoX.XoX............",
        "..........X..XoX.XoX............",
        ".........XoX.XoX.XoX..X.........",
        ".........XoX.XoX.XoX.XoX........",
        ".........XoX.XoX.XoX.XoX........",
        ".........XoX.XoX.XoX.XoX........",
        ".........XoX.XoX.XoX.XoX........",
        ".........XoX.XoX.XoX.XoX........",
        ".........XoX.XoX.XoX.XoX........",
        "...XXX...XoX.XoX.XoX.XoX........",
        "..XooX...XoX.XoX.XoX.XoX........",
        "...XooX..XooXoooXoooXooX........",
        "...XoooX.XoooooooooooooX........",
        "....XoooXooooooooooooooX........",
        ".....XoooooooooooooooooX........",
        "......XooooooooooooooooX........",
        ".......XoooooooooooooooX........",
        "........XooooooooooooooX........",
        ".........XoooooooooooooX........",
        ".........XoooooooooooooX........",
        ".........XooooooooooooX.........",
        "..........XoooooooooooX.........",
        "..........XooooooooooX..........",
        "...........XooooooooX...........",
        "............XXXXXXXXX...........",
        "................................",
        "................................",
        "................................",
    },
    // 19: pen
    {
        "..........................XXXX..",
        ".........................XooooX.",
        "........................XoooooX.",
        ".......................XooooooX.",
        "......................XoooooooX.",
        "......................XooooooX..",
        "......................XoooooX...",
        ".....................XooooooX...",
        "....................XoooooooX...",
        "...................XoooooooX....",
        "..................XoooooooX.....",
        ".................XoooooooX......",
        "................XoooooooX.......",
        "...............XoooooooX........",
        "..............XoooooooX.........",
        ".............XoooooooX..........",
        "............XoooooooX...........",
        "............XooooooX............",
        "............XoooooX.............",
        "............XooooX..............",
        "...........XooooX...............",
        "...........XooXXXX..............",
        "...........XXX..................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
    },
    // 20: magnifying glass
    {
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "..........XXXXXX................",
        "........XXooooooXX..............",
        ".......XooooooooooX.............",
        "......XooooooooooooX............",
        "......XooooooooooooX............",
        ".....XooooooooooooooX...........",
        ".....XooooooooooooooX...........",
        ".....XooooooooooooooX...........",
        ".....XooooooooooooooX...........",
        ".....XooooooooooooooX...........",
        ".....XooooooooooooooX...........",
        "......XooooooooooooX............",
        "......XoooooooooooooX...........",
        ".......XoooooooooooooX..........",
        "........XXooooooXoooooX.........",
        "..........XXXXXX.XoooooX........",
        "..................XoooooX.......",
        "...................XoooooX......",
        "....................XoooooX.....",
        ".....................XoooooX....",
        "......................XoooooX...",
        ".......................XooooX...",
        "........................XoooX...",
        ".........................XXXX...",
        "................................",
        "................................",
    },
};

// Cursor of every kind: a system cursor, or an own picture with its hot spot.
const struct {
  LPCSTR system;  // null for an own cursor
  int picture;    // index into kOwnPictures, -1 for a system cursor
  int hotX, hotY;
} kCursorKinds[CURSOR_COUNT] = {
    {IDC_ARROW, -1, 0, 0},    {IDC_APPSTARTING, -1, 0, 0}, {IDC_CROSS, -1, 0, 0},
    {IDC_HAND, -1, 0, 0},     {IDC_HELP, -1, 0, 0},        {IDC_IBEAM, -1, 0, 0},
    {IDC_NO, -1, 0, 0},       {IDC_SIZEALL, -1, 0, 0},     {IDC_SIZENESW, -1, 0, 0},
    {IDC_SIZENS, -1, 0, 0},   {IDC_SIZENWSE, -1, 0, 0},    {IDC_SIZEWE, -1, 0, 0},
    {IDC_UPARROW, -1, 0, 0},  {IDC_WAIT, -1, 0, 0},        {nullptr, 0, 7, 0},
    {nullptr, 1, 7, 0},       {nullptr, 2, 9, 22},         {nullptr, 3, 9, 22},
    {nullptr, 4, 15, 15},     {nullptr, 5, 11, 22},        {nullptr, 6, 13, 14},
};

// Mask bits of a source pixel in CreateFromImage.
const struct {
  COLORREF color;
  bool andBit, xorBit, hotSpot;
} kPixelCodes[] = {
    {0x000000FF, true, true, false},   // inverted screen
    {0x00FC0000, true, true, true},    // inverted screen, hot spot
    {0x00FD0000, true, false, true},   // transparent, hot spot
    {0x00FE0000, false, true, true},   // white, hot spot
    {0x00FF0000, false, false, true},  // black, hot spot
    {0x00FF00FF, true, false, false},  // transparent
    {0x00FFFFFF, false, true, false},  // white
};

HINSTANCE CursorModule() {
  HINSTANCE instance = GetInstanceHandle();
  return instance ? instance : ::GetModuleHandleA(nullptr);
}

// Sets the mask bit of pixel x in a row of the plane.
inline void SetMaskBit(uint8_t* row, int x) { row[x / 8] |= (uint8_t)(0x80 >> (x % 8)); }

}  // namespace

SCursor::SCursor() : m_shared(false), m_cursor(nullptr) {}

SCursor::~SCursor() { Release(); }

void SCursor::Release() {
  if (m_cursor && !m_shared) ::DestroyCursor(m_cursor);
  m_shared = false;
  m_cursor = nullptr;
}

bool SCursor::Create(int kind) {
  Release();
  if (kind < 0 || kind >= CURSOR_COUNT) kind = CURSOR_ARROW;
  const auto& row = kCursorKinds[kind];
  if (row.system) {
    m_cursor = ::LoadCursorA(nullptr, row.system);
    m_shared = true;
    return true;
  }
  uint8_t andPlane[OWN_PLANE], xorPlane[OWN_PLANE];
  memset(andPlane, 0, sizeof(andPlane));
  memset(xorPlane, 0, sizeof(xorPlane));
  const char* const* picture = kOwnPictures[row.picture];
  for (int y = 0; y < OWN_SIZE; ++y) {
    for (int x = 0; x < OWN_SIZE; ++x) {
      char c = picture[y][x];
      if (c == '.') SetMaskBit(andPlane + y * (OWN_SIZE / 8), x);
      if (c == 'o') SetMaskBit(xorPlane + y * (OWN_SIZE / 8), x);
    }
  }
  m_cursor = ::CreateCursor(CursorModule(), row.hotX, row.hotY, OWN_SIZE, OWN_SIZE, andPlane,
                            xorPlane);
  return true;
}

bool SCursor::CreateFromImage(HDC source, int width, int height) {
  Release();
  if (!source || width <= 0 || height <= 0 || width % 16 != 0) return false;
  int rowBytes = width / 8;
  uint8_t* andPlane = new uint8_t[(size_t)rowBytes * height]();
  uint8_t* xorPlane = new uint8_t[(size_t)rowBytes * height]();
  int hotX = 0, hotY = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF color = ::GetPixel(source, x, y);
      for (const auto& code : kPixelCodes) {
        if (code.color != color) continue;
        if (code.andBit) SetMaskBit(andPlane + y * rowBytes, x);
        if (code.xorBit) SetMaskBit(xorPlane + y * rowBytes, x);
        if (code.hotSpot) {
          hotX = x;
          hotY = y;
        }
        break;
      }
    }
  }
  m_cursor = ::CreateCursor(CursorModule(), hotX, hotY, width, height, andPlane, xorPlane);
  delete[] andPlane;
  delete[] xorPlane;
  return m_cursor != nullptr;
}

void BuildCursorTable() {
  ClearCursorTable();
  for (int kind = 0; kind < CURSOR_COUNT; ++kind) {
    SCursor* cursor = new SCursor;
    cursor->Create(kind);
    g_cursorTable.Add(cursor);
  }
}

void ClearCursorTable() {
  g_cursorTable.DeleteAll();
  g_cursorTable.RemoveAll();
  g_cursorTable.FreeBuffer();
}

HCURSOR GetFrameworkCursor(int kind) {
  SCursor** entry = g_cursorTable.ElementAt(kind);
  return entry && *entry ? (*entry)->GetHandle() : nullptr;
}
