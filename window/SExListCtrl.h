// A report list: a subclassed list view ("SysListView32"). Its notifications
// reach the parent through the parent's own message handling (clicks as
// SWM_LISTMOUSE records, selection, column clicks, label edits and keys);
// a left or right press on the list itself is also reported as SWM_LISTMOUSE.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SExListCtrl : public SWnd {
public:
  SExListCtrl();
  ~SExListCtrl() override;

  // A "SysListView32" child (WS_CHILD added unless WS_POPUP) with no text.
  bool Create(const RECT* rect, DWORD style, DWORD exStyle, HWND parent, int id);

  // The list's background and text background (0xFF000000 leaves them).
  void SetBackColor(COLORREF color) override;
  COLORREF GetBackColor() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  HBRUSH m_brush;
};
