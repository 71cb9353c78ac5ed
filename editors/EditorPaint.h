// Painting steps shared by the editor controls of this folder.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

// WM_PRINTCLIENT's first step: the toolkit's background of the window into
// the DC, the DC's state kept.
inline void PrintBackground(SWnd& wnd, HDC dc) {
  int saved = ::SaveDC(dc);
  wnd.PaintBackground(dc, dc);
  if (saved) ::RestoreDC(dc, saved);
}

// WM_ERASEBKGND (lParam: the memory DC of the toolkit's double buffer) and
// WM_PRINTCLIENT (wParam: the DC, after the background) call paint(dc).
template <class Paint>
void PaintEditor(SWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam, Paint paint) {
  if (message == WM_ERASEBKGND && lParam) paint(reinterpret_cast<HDC>(lParam));
  if (message != WM_PRINTCLIENT || !wParam) return;
  PrintBackground(wnd, reinterpret_cast<HDC>(wParam));
  paint(reinterpret_cast<HDC>(wParam));
}
