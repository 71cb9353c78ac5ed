// The application loop, the modal loop and the list of modeless dialogs that
// both consult.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

class SWnd;

// Called by the application loop whenever a poll finds the queue empty; the
// result is ignored.
typedef int (*IdleCallback)(void* argument);

// The modeless dialogs: each message is offered to them (IsDialogMessageA)
// before it is translated and dispatched. A handle is held at most once;
// null entries are skipped.
extern SArray<HWND__*> g_modelessDialogs;

// Runs until WM_QUIT. While *blocking is true it waits for messages; while
// false it polls and calls idle(argument) on every empty poll, without
// sleeping. The flag is read before every wait or poll.
void RunMessageLoop(bool* blocking, IdleCallback idle, void* argument);
// Runs while the window has its handle and its modal run is running. Return
// and Escape become SWM_MODALRETURN and SWM_MODALESCAPE for the window (when
// its flags allow and no modeless dialog is open) and still reach the
// focused window. A WM_QUIT ends it and is posted again. The loop has no idle
// work: it waits for messages whatever the flag says.
void RunModalLoop(SWnd* window, bool* blocking);

// Appends the handle unless the list holds it.
void AddModelessDialog(HWND dialog);
// Removes the entry at the index; an index out of range does nothing.
void RemoveModelessDialogAt(int index);
// Removes every pending keyboard and mouse message of the thread.
void FlushInputMessages();
