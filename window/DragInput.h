// What the controls' drag loops read on each pass. A drag (a tree item, a
// container bar's edge, a document tab) runs inside its button message and
// polls the mouse and keys without taking messages until the left button is
// up. The reader is one seam: tests set their own before a drag and put
// ReadRealDragInput back afterwards.
#pragma once

#include "core/Platform.h"

struct DragInput {
  POINT cursor;     // on the screen
  bool buttonDown;  // the left button
  bool escape;      // the Escape key
};

// The cursor position, GetAsyncKeyState of VK_LBUTTON and VK_ESCAPE.
void ReadRealDragInput(DragInput* input);
extern void (*g_readDragInput)(DragInput* input);
// The pause between two passes of a drag loop, in milliseconds.
const DWORD kDragPollPause = 10;
