// The image editor control (dialog type IMAGEEDITOR, kind 19): one GDI+
// bitmap at an integer zoom (1 to 32) over a hatched background, scrolled
// when larger than the window, with pixel tools a caller may choose: 0 none,
// 1 square brush, 2 fill and 3 cross (a change notification only), 4 colour
// picker, 5 keyboard moving of a rectangular selection, 6 zoom. It starts
// and stays with tool 0 unless a caller sets the tool fields. Edits change
// the bitmap in memory only.
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/SImage.h"
#include "designer/SPanelCtrl.h"
#include "designer/SSelector.h"
#include "window/SCursor.h"
#include "window/SWnd.h"

#include <stdint.h>

class SFile;

class SImageEditor : public SWnd {
public:
  enum { KIND = 19, ZOOM_MIN = 1, ZOOM_MAX = 32 };
  enum {
    TOOL_NONE = 0,
    TOOL_BRUSH = 1,
    TOOL_FILL = 2,
    TOOL_CROSS = 3,
    TOOL_DROPPER = 4,
    TOOL_SELECTION = 5,
    TOOL_ZOOM = 6
  };

  SImageEditor();
  ~SImageEditor() override;

  // Registers the control class with the dialog control factory.
  static bool Register();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Called after the colour picker set a colour; empty here.
  virtual void OnColorPicked(bool primary, uint32_t color);

  // A new bitmap from the file's bytes from its position to its end; false
  // (and an empty editor) without a file or when they are no image.
  bool LoadFile(SFile* file);
  void SetZoom(int zoom);
  // Stores the primary or secondary colour (0xAARRGGBB); with a tool panel,
  // its swatch (group 1, command 0 primary, 1 secondary) shows the colour
  // without its alpha and the group is redrawn.
  void SetColor(bool primary, uint32_t argb);
  // The zoomed image's rectangle in client coordinates.
  void GetImageRect(int* x, int* y, int* width, int* height);
  bool PointToPixel(int x, int y, POINT* pixel);
  bool IsInSelection(int x, int y);
  void UpdateToolCursor();
  void UpdateHorzScrollBar();
  void UpdateVertScrollBar();

  enum { PANEL_COLORS = 1 };  // the tool panel's group of the two colour swatches

  // The font and colour chooser; its owner is the nearest popup above the
  // window once it exists. No operation of the editor opens it.
  SSelector m_selector;
  Gdiplus::HatchBrush* m_hatch;  // owned
  SImage m_image;
  bool m_selectionActive;
  POINT* m_outline;  // owned; first and third points are opposite corners
  int m_outlineCount;
  int m_tool;
  uint32_t m_primary, m_secondary;
  int m_brushShape;  // 1: square
  int m_selectionMode;
  int m_brushSize;
  SCursor m_brushCursor;
  int m_scrollX, m_scrollY;
  int m_zoom;
  POINT m_lastDown;
  bool m_notifyParent;  // on by default
  SPanelCtrl* m_panel;  // owned; null until a caller gives the editor one

private:
  void ResetTools();
  void FreeOutline();
  // The tool's action at a client point with the left (1) or right (4) button.
  void ApplyTool(int x, int y, int button, bool drag);
  void Paint(HDC dc);
  void Notify();
  void RedrawWindow();
  // The brush cursor for the zoom and brush size.
  void BuildBrushCursor();
};
