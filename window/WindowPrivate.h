// Helpers shared by the files of the window toolkit; not for use outside it.
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"

// A pointer as a message parameter.
inline WPARAM ToWParam(const void* pointer) { return reinterpret_cast<WPARAM>(pointer); }
inline LPARAM ToLParam(const void* pointer) { return reinterpret_cast<LPARAM>(pointer); }

// The window's style bits.
inline DWORD StyleOf(HWND hWnd) { return static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)); }

// A window's rectangle in the client coordinates of another window.
bool RectInClientOf(HWND hWnd, HWND other, RECT* rect);

// The position after a scroll request (SB_ code in the low word, thumb
// position in the high word), rounded down to the unit and kept in the range.
int ScrollTarget(int position, int minimum, int maximum, WPARAM request, int line, int page,
                 int unit);

// The framework's fonts, made at start-up and deleted at shutdown.
void CreateFrameworkFonts();
void DeleteFrameworkFonts();
// Empties the shared result string of the wide-to-8-bit conversion.
void EmptyConversionScratch();

class SWnd;

// A control's mouse button message (WM_LBUTTONDOWN to WM_MBUTTONDBLCLK,
// SWM_LCLICK to SWM_RCLICK) as a MOUSERECORD given straight to the parent's
// framework window procedure with the notification (wParam the control);
// nothing without a window or a parent. False when the control's window went
// during the notification.
bool ForwardMouse(SWnd* control, UINT notification, UINT message, LPARAM lParam);

// The DC an owner-painted control paints its content into: the memory DC of
// the framework's double-buffered erase (WM_ERASEBKGND's lParam), or the DC
// of WM_PRINTCLIENT after the control's background was painted into it; null
// for any other message.
HDC OwnPaintDC(SWnd* control, UINT message, WPARAM wParam, LPARAM lParam);

// The brush a control answers to its colour request: the cached brush is
// deleted first; no colour gives 0 (not handled), hollow the stock NULL_BRUSH
// (with a transparent background mode when asked), any other colour a solid
// brush kept in the cache (and the DC's background colour when asked).
HBRUSH MakeBackBrush(SWnd* control, HBRUSH* cache, HDC dc, bool setDcMode);

// The mouse record of a common control's NM_CLICK, NM_DBLCLK, NM_RCLICK or
// NM_RDBLCLK: the flags and the cursor position in the control and on the
// screen. NotifyMouseFlags gives 0 for any other code.
uint32_t NotifyMouseFlags(UINT code);
MOUSERECORD CursorRecord(HWND control, uint32_t flags);
