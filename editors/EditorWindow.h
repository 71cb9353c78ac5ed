// Window help shared by the editor controls (private to this folder).
#pragma once

#include "core/Platform.h"

class SWnd;

// A drag of the thumb of the window's own scroll bar. The message carries
// the thumb position in 16 bits, too few for the row counts of large files;
// the bar's own track position has 32. When its low 16 bits agree with the
// message, the position becomes the track position (else the message's),
// rounded down to the scroll unit and clamped to the range, and the window
// gets SWM_HSCROLLED / SWM_VSCROLLED as the toolkit sends them when it
// changed. False, with nothing done, for any other message.
bool TrackScrollThumb(SWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);
