// Messages the dialog designer sends to its parent window: one line per
// message, its value, its parameters.
#pragma once

#include "core/Platform.h"

enum : UINT {
  SWM_DESIGNERCHANGED = 0x85DC,  // the user changed the document: wParam = the designer, lParam 0
};
