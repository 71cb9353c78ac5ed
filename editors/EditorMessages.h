// Messages the editor controls send to their parent windows: one line per
// message, its value, its parameters.
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"

enum : UINT {
  SWM_CODEEDITCHANGED = 0x8BD6,  // code editor: as SWM_CONTROLCHANGED, sent first and always
  SWM_SPREADMOUSE = 0x8CBC,      // spreadsheet mouse: wParam = control, lParam = MOUSERECORD*
  SWM_WAVEEDITORMOUSE = 0x8D16,  // wave editor mouse: wParam = editor, lParam = MOUSERECORD*
};
