// The hidden application window.
//
// One per process, created by the framework's start-up and never shown
// (g_appWindow, Framework.h). It holds the mouse capture while a control
// drags with the mouse and forwards the drag to that control as framework
// messages; it receives the timer that ticks the playing sound objects; and
// its handle stands for the application where a window handle is needed
// without a visible window.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "window/SWnd.h"

class SWave;

// Messages sent to the drag target: wParam = the drag button code (1 left,
// 4 right), lParam = the cursor position in the target's client coordinates
// (signed 16-bit x low, y high).
enum : UINT {
  SWM_CAPTUREMOVE = 0x8405,    // drag move; also once at the drop position before the drop
  SWM_CAPTUREDROP = 0x8406,    // the button was released
  SWM_CAPTURECANCEL = 0x8407,  // the capture was taken away before the release
};

class SWndApp : public SWnd {
public:
  // Ticks one sound object (SWave::Update). Filled by the library that defines
  // SWave; while null the timer ticks nothing.
  typedef void (*SoundUpdateHook)(SWave* sound);
  static SoundUpdateHook s_updateSound;

  SWndApp();
  // Frees the sound list's storage (the sounds are not deleted); the base
  // destroys the window.
  ~SWndApp() override;

  // Starts a drag for the target with the button that is down now (left
  // first, then right) and takes the capture. False for a null target, while
  // this window already holds the capture, or with neither button down.
  bool BeginCapture(HWND target);

  // Mouse moves and the drag button's release while a drag runs, capture
  // changes and timer ticks; every message then goes to SWnd's procedure.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  HWND m_dragTarget;         // receives the drag messages; null: no drag
  int m_dragButton;          // 1 left, 4 right
  SArray<SWave*> m_sounds;   // ticked on every WM_TIMER, in order; not owned

private:
  // The point in this window's client coordinates, in the target's.
  static LPARAM ToTarget(HWND from, HWND target, POINT point);
};
