// A static control ("STATIC", owner-drawn) that the framework paints itself:
// its background, then an edge (DrawEdge) along the chosen sides of its
// client area.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SStaticCtrl : public SWnd {
public:
  SStaticCtrl();
  ~SStaticCtrl() override;

  // WS_CHILD added unless WS_POPUP, and SS_OWNERDRAW; no text.
  bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id);
  void PaintEdge(HDC dc);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  UINT m_edge;     // a DrawEdge edge; 0 none
  UINT m_borders;  // BF_LEFT 1, BF_TOP 2, BF_RIGHT 4, BF_BOTTOM 8
};
