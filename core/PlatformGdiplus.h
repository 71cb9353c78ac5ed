// GDI+ with the project's windows.h set-up. The GDI+ headers call min and max
// unqualified; NOMINMAX removes the macros, so std's functions stand in.
#pragma once

#include "core/Platform.h"
#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
