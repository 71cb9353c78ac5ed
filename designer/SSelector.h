// The font and colour selector: the common font dialog, the common colour
// dialog, and a small modal window of its own that picks one of the Windows
// system colours by name.
//
// Colours: a chosen plain colour is a COLORREF (0x00BBGGRR); a chosen system
// colour n (a GetSysColor index) is SYSTEM_COLOR + n; NO_COLOR is none. A
// chooser that is cancelled or fails returns false and keeps the results of
// the last successful choice.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "window/SButtonCtrl.h"
#include "window/SComboCtrl.h"
#include "window/SMediaCtrl.h"
#include "window/SWnd.h"

#include <stdint.h>

class SSelector {
public:
  static constexpr uint32_t SYSTEM_COLOR = 0xFE000000;
  static constexpr uint32_t NO_COLOR = 0xFF000000;

  // The system-colour window: a drop-down list of the system colour names
  // (upper case, in the identifier table's order), a preview of the chosen
  // colour and OK and Cancel buttons. Its modal run ends with the chosen
  // system colour index, or -1 when cancelled. Enter acts as OK.
  class _SWndColor : public SWnd {
  public:
    enum { WIDTH = 300, HEIGHT = 95, ID_OK = 1000, ID_CANCEL = 1001, ID_COLORS = 1100 };

    // The window goes before the children it holds.
    ~_SWndColor() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The preview takes the colour of the selected entry.
    void UpdatePreview();
    // The system colour index of the selected entry; -1 when none.
    int GetSelectedIndex();

    SComboCtrl m_colors;
    SMediaCtrl m_preview;
    SButtonCtrl m_ok;
    SButtonCtrl m_cancel;

  private:
    void CreateChildren();
  };

  // The common dialogs, replaceable for a caller that answers them itself.
  typedef BOOL(WINAPI* ChooseFontFunction)(CHOOSEFONTA* request);
  typedef BOOL(WINAPI* ChooseColorFunction)(CHOOSECOLORA* request);
  static ChooseFontFunction s_chooseFont;
  static ChooseColorFunction s_chooseColor;

  explicit SSelector(HWND owner = nullptr);
  virtual ~SSelector();

  // The font dialog over the caller's LOGFONT (screen fonts, started from
  // the structure). On OK the face, the point size (iPointSize / 10,
  // written to points) and the style bits (bold only for weight 700) are
  // kept.
  bool ChooseFont(LOGFONTA* font, int* points);
  // The colour dialog, preset with the initial colour only when it is a
  // plain colour; preventCustom keeps its custom part closed.
  bool ChooseColor(uint32_t initial, bool preventCustom);
  // The system-colour window, titled, over the owner and modal; false at
  // once without an owner.
  bool ChooseSystemColor(const char* title);

  HWND m_owner;
  SString m_faceName;
  int m_pointSize;
  int m_fontStyle;   // 1 bold, 2 italic, 4 underline, 8 strikeout
  uint32_t m_color;  // the last chosen colour
};
