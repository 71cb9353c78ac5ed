// The framework's edit: a subclassed system "EDIT" control with its own text
// and background colours and a few keyboard rules.
//
// Enter in a single-line edit inserts nothing; characters typed with Control
// held are dropped unless Alt is held too (AltGr) or the key is X, C, V or Z
// (cut, copy, paste, undo); Control+A selects the whole text. The parent
// hears of Enter (SWM_EDITRETURN, sent) and of every mouse button event
// (SWM_EDITMOUSE with a MOUSERECORD, given straight to its framework
// procedure); wParam is the control.
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"
#include "window/SWnd.h"

class SEditCtrl : public SWnd {
public:
  SEditCtrl();
  ~SEditCtrl() override;

  // An "EDIT" child control (WS_CHILD added unless WS_POPUP is set).
  bool Create(DWORD style, const char* caption, DWORD exStyle, const RECT* rect, HWND parent,
              int id);
  // Caret after the last character, nothing selected.
  void MoveCaretToEnd();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Both colour queries (a read-only edit asks as a static control).
  HBRUSH OnCtlColorEdit(HDC dc) override;
  HBRUSH OnCtlColorStatic(HDC dc) override;
  // The brush and colours of one colour query: the background colour
  // (none: the system's; hollow: transparent; else solid) and the text
  // colour (none: the system's). Null lets the system colour the control.
  HBRUSH OnCtlColor(HDC dc);

  bool m_popupMenu;      // the right button reaches the edit's context menu
  COLORREF m_textColor;  // 0xFF000000: the system's text colour
  HBRUSH m_brush;        // handed out by the last colour query; owned

private:
  void NotifyMouse(UINT message, LPARAM lParam);
  void FreeBrush();
  // Paints the text for the framework's printing into the device context.
  void PrintClient(HDC dc, LPARAM flags);
};
