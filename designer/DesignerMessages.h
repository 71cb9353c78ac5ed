// Messages of the designer's command surfaces (the tool panel and the
// property grid): one line per message, its value, its parameters.
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"

enum : UINT {
  // Tool panel mouse, to the parent's framework procedure: wParam = panel,
  // lParam = MOUSERECORD*.
  SWM_PANELMOUSE = 0x8C6C,
  // A click on an enabled panel button, to the panel itself: wParam = panel,
  // lParam = group id in the low word, command id in the high word.
  SWM_PANELCOMMAND = 0x8C6D,
  // Property grid mouse, to the parent's framework procedure: wParam = grid,
  // lParam = MOUSERECORD*.
  SWM_PROPERTYMOUSE = 0x8C80,
  // The grid scrolled, to the parent: wParam = grid, lParam 0.
  SWM_PROPERTYSCROLLED = 0x8C81,
  // The user changed a row's value (already stored), to the parent: wParam =
  // grid, lParam = MAKELONG(group index, item index).
  SWM_PROPERTYCHANGED = 0x8C82,
};
