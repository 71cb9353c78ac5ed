// The drag loops' reader of the mouse and keys.
#include "core/Platform.h"
#include "window/DragInput.h"

void ReadRealDragInput(DragInput* input) {
  input->cursor.x = input->cursor.y = 0;
  ::GetCursorPos(&input->cursor);
  input->buttonDown = ::GetAsyncKeyState(VK_LBUTTON) < 0;
  input->escape = ::GetAsyncKeyState(VK_ESCAPE) < 0;
}

void (*g_readDragInput)(DragInput* input) = ReadRealDragInput;
