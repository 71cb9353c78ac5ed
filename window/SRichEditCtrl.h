// A rich edit control ("RichEdit20A") that reports changes, scrolling, keys
// and mouse events, and paints its content into a given DC on
// WM_PRINTCLIENT. Its changes reach the parent as SWM_RICHEDITCHANGED, mouse
// button events as SWM_RICHEDITMOUSE records.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SFile;

class SRichEditCtrl : public SWnd {
public:
  SRichEditCtrl();
  ~SRichEditCtrl() override;

  // Replaces the text by the whole file (from its current position) as plain
  // text; false without a file or a window.
  bool LoadFromFile(SFile* file);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
