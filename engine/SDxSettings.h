// The display-settings window that the program shows before the engine
// window exists: a list of full-screen display modes and a list of window
// sizes, each remembered in the registry, and a button for each kind. Its
// choice goes into the engine's start-up configuration.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SRegistry.h"
#include "core/SString.h"
#include "engine/SDxConfig.h"
#include "window/SButtonCtrl.h"
#include "window/SListCtrl.h"
#include "window/SWnd.h"

#include <stdint.h>

class SDxSettings {
public:
  SDxSettings();
  virtual ~SDxSettings();

  // Shows the window modally under the title ("DirectX" when empty). True:
  // the user chose, and the configuration holds the width, height, full
  // screen and slow-warning flags and the key path. False: cancelled, the
  // configuration untouched. A key path too long for the configuration is
  // not used at all (nothing is read or written).
  bool Run(const char* title, SDxConfig* config, const char* registryKey);

  // The Shift test of the buttons; GetAsyncKeyState unless set otherwise.
  static SHORT(WINAPI* s_getAsyncKeyState)(int key);

  class _SWndSettings : public SWnd {
  public:
    enum {
      ID_FULLSCREEN = 1000,
      ID_WINDOWED = 1001,
      ID_FULLSCREEN_LIST = 1002,
      ID_WINDOWED_LIST = 1003
    };

    _SWndSettings();
    ~_SWndSettings() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Fills the window: modes, lists, buttons and the remembered choices.
    void Build();
    // Takes the selection of one list as the choice and remembers it; false
    // (nothing chosen) when the list has no selection.
    bool Choose(bool fullScreen);

    SRegistry m_registry;
    SListCtrl m_fullScreenList;
    SListCtrl m_windowedList;
    SButtonCtrl m_fullScreenButton;
    SButtonCtrl m_windowedButton;
    SArray<uint32_t> m_modes;  // (width << 16) | height, as listed
    SString m_registryKey;
    // The choice; a window closed without one keeps the default window size.
    uint32_t m_width;
    uint32_t m_height;
    bool m_fullScreen;
    bool m_slowWarning;
  };

  SString m_registryKey;
  SString m_title;
};
