// The framework's combo box: a subclassed system "COMBOBOX" control. Its
// selection and edit changes reach the parent through the parent's own
// message handling (SWM_COMBOSELCHANGED, SWM_COMBOEDITCHANGED).
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SComboCtrl : public SWnd {
public:
  SComboCtrl();
  ~SComboCtrl() override;

  // A "COMBOBOX" child control (WS_CHILD added unless WS_POPUP is set).
  bool Create(DWORD style, const char* caption, DWORD exStyle, const RECT* rect, HWND parent,
              int id);
  // Appends (or inserts sorted, with CBS_SORT) an item; its index, or -1
  // when the control refuses it or there is no window.
  int AddString(const char* text);
  // The selected item; -1 when none.
  int GetSelection();
  // False when the index names no item (-1 clears the selection and also
  // answers false).
  bool SetSelection(int index);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
