// Mouse cursors: one system or own cursor per object, and the framework's
// table of 21 cursors indexed by cursor kind, built at framework start-up and
// freed at shutdown.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

// Cursor kinds: the index of a cursor in the framework cursor table.
enum {
  CURSOR_ARROW = 0,
  CURSOR_APPSTARTING = 1,
  CURSOR_CROSS = 2,
  CURSOR_HAND = 3,
  CURSOR_HELP = 4,
  CURSOR_IBEAM = 5,
  CURSOR_NO = 6,
  CURSOR_SIZEALL = 7,
  CURSOR_SIZENESW = 8,
  CURSOR_SIZENS = 9,
  CURSOR_SIZENWSE = 10,
  CURSOR_SIZEWE = 11,
  CURSOR_UPARROW = 12,
  CURSOR_WAIT = 13,
  CURSOR_ARROW_PLUS = 14,  // arrow with a square holding a plus
  CURSOR_ARROW_BOX = 15,   // arrow with an empty square
  CURSOR_DROPPER = 16,
  CURSOR_FILL = 17,
  CURSOR_HANDMOVE = 18,
  CURSOR_PEN = 19,
  CURSOR_ZOOM = 20,
  CURSOR_COUNT = 21
};

class SCursor {
public:
  SCursor();
  SCursor(const SCursor&) = delete;
  SCursor& operator=(const SCursor&) = delete;
  // Destroys an own cursor; a shared system cursor is only let go.
  virtual ~SCursor();

  // Releases the current cursor, then loads the system cursor of the kind
  // (shared) or builds the framework's own 32 x 32 cursor; any other kind
  // gives the arrow. Always true; the handle is null when the system call
  // failed.
  bool Create(int kind);
  // Builds a cursor from the source's pixels, each read as a COLORREF:
  // red 0x0000FF inverts the screen; blue 252 inverts, 253 is transparent,
  // 254 white, 255 black, each also setting the hot spot (the last one in
  // reading order wins); magenta is transparent, white white, anything else
  // black. False for a null source, a size that is not positive or a width
  // that is not a multiple of 16.
  bool CreateFromImage(HDC source, int width, int height);

  HCURSOR GetHandle() const { return m_cursor; }
  bool IsShared() const { return m_shared; }

private:
  void Release();

  bool m_shared;
  HCURSOR m_cursor;
};

// The framework cursor table: entry k is the cursor of kind k.
extern SArray<SCursor*> g_cursorTable;

// Fills the table with the cursors of kinds 0 to 20 (called by InitFramework).
void BuildCursorTable();
// Deletes every cursor of the table, then empties it and frees its storage
// (called by CleanupFramework).
void ClearCursorTable();
// The handle of the table's cursor of that kind; null when the kind is out of
// range or the table has no cursor there.
HCURSOR GetFrameworkCursor(int kind);
