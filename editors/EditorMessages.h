// Messages the editor controls send to their parent windows.
#pragma once

#include "core/Platform.h"

enum : UINT {
  SWM_EDITORCHANGED = 0x85DC,  // the user changed the content: wParam = the control, lParam 0
  SWM_WAVEEDITORMOUSE =
      0x8D16,  // wave editor mouse button: wParam = the editor, lParam = MOUSERECORD*
};
