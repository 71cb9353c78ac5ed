// Helpers shared by the files of the window toolkit; not for use outside it.
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"

// A pointer as a message parameter.
inline WPARAM ToWParam(const void* pointer) { return reinterpret_cast<WPARAM>(pointer); }
inline LPARAM ToLParam(const void* pointer) { return reinterpret_cast<LPARAM>(pointer); }

// The window's style bits.
inline DWORD StyleOf(HWND hWnd) { return static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)); }

// The colour key of shaped dialog and control images (magenta).
const COLORREF kShapeKey = 0x00FF00FF;
// "|"-separated lists of dialog keys: quoting with the double quote (1),
// trimmed tokens (8).
const int kListFlags = 1 | 8;

// Deletes a GDI object and clears the handle.
template <class Handle>
void DeleteHandle(Handle& handle) {
  if (handle) ::DeleteObject(handle);
  handle = nullptr;
}

// The answer of a control to its WM_CTLCOLOR query for its background
// colour. The brush it made last time (*owned) is freed first. No colour: no
// brush. Hollow: the stock null brush, and with a device context the text is
// drawn transparently. Solid: a new brush kept in *owned, and with a device
// context the text background in that colour.
HBRUSH BackgroundBrush(COLORREF back, HDC dc, HBRUSH* owned);
// Frees a brush BackgroundBrush made.
void FreeBackgroundBrush(HBRUSH* owned);

// A window's rectangle in the client coordinates of another window.
bool RectInClientOf(HWND hWnd, HWND other, RECT* rect);

// The position after a scroll request (SB_ code in the low word, thumb
// position in the high word), rounded down to the unit and kept in the range.
int ScrollTarget(int position, int minimum, int maximum, WPARAM request, int line, int page,
                 int unit);

// The framework's fonts, made at start-up and deleted at shutdown.
void CreateFrameworkFonts();
void DeleteFrameworkFonts();
// The instance handle GetInstanceHandle answers.
void SetInstanceHandle(HINSTANCE instance);
// The argument count and the program folder from the process's command line;
// ForgetCommandLine empties the folder.
void ReadCommandLine();
void ForgetCommandLine();
// Empties the shared result string of the wide-to-8-bit conversion.
void EmptyConversionScratch();

class SWnd;

// A control's mouse button message (WM_LBUTTONDOWN to WM_MBUTTONDBLCLK,
// SWM_LCLICK to SWM_RCLICK) as a MOUSERECORD given straight to the parent's
// framework window procedure with the notification (wParam the control);
// nothing without a window or a parent. False when the control's window went
// during the notification.
bool ForwardMouse(SWnd* control, UINT notification, UINT message, LPARAM lParam);

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

// The end of a container's inner window (a bar, a document page): the
// framework windows in it, which belong to whoever put them there, are
// hidden and un-parented one at a time from the top of the child order; then
// the inner window is hidden and destroyed.
void ReleaseInnerWindow(HWND window);

// The aspects of the window base's message handling, each in its own file.
namespace WindowPrivate {

// SWndMouse: presses, clicks, moves, drags and zones.
void ClearOwnersOf(SWnd* wnd);
void TrackClientButton(SWnd& wnd, UINT message, LPARAM lParam);
void TrackFrameButton(SWnd& wnd, UINT message, LPARAM lParam);
void OnMouseMove(SWnd& wnd, WPARAM wParam, LPARAM lParam);
void OnLeftButtonDown(SWnd& wnd, LPARAM lParam);
void OnLeftButtonUp(SWnd& wnd, LPARAM lParam);
void OnFrameMouseMove(SWnd& wnd, LPARAM lParam);
void OnFrameMouseLeave(SWnd& wnd);

// SWndNotify: the rows of the control kinds answer. OnNotify: false when the
// message is done, with its answer in result. OnScroll: true when it is done
// (answer 0), false when the default processing follows.
bool OnNotify(SWnd& wnd, NMHDR* header, LRESULT& result);
void OnCommand(SWnd& wnd, WPARAM wParam, LPARAM lParam);
bool OnScroll(SWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);
// The list of paths goes to the window; the drop is released.
void OnDropFiles(SWnd& wnd, HDROP drop);

// SWndRecord: a record's handle (index + 1) or 0; values; the finished record.
LRESULT OnRecordBegin(SWnd& wnd, WPARAM id, LPARAM size);
void OnRecordAppend(SWnd& wnd, WPARAM handle, LPARAM value);
void OnRecordEnd(SWnd& wnd, WPARAM handle, LPARAM value);

}  // namespace WindowPrivate
