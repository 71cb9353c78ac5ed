// The tool bar: a system tool bar ("ToolbarWindow32") with an image list
// and buttons added one by one.
#pragma once

#include "core/Platform.h"
#include "window/SWnd.h"

class SToolBarCtrl : public SWnd {
public:

  SToolBarCtrl();
  ~SToolBarCtrl() override;

  // WS_CHILD is added unless WS_POPUP is set, and CCS_NODIVIDER; a
  // TBSTYLE_FLAT bit is left out at creation and set on the window after it.
  bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id);
  // Adds TBSTYLE_TRANSPARENT to the window style.
  void SetTransparent();
  // The size of the button images (TB_SETBITMAPSIZE).
  void SetImageSize(int width, int height);
  // Keeps the handle (not owned), hands it to the tool bar and takes the
  // image size from it.
  void SetImageList(HIMAGELIST images);
  // One button; a null text gives none. True when the tool bar took it.
  bool AddButton(int imageIndex, int commandId, const char* text, BYTE style, BYTE state,
                 DWORD_PTR data);
  // Many buttons in one call (the texts, iString, are pointers to text or 0);
  // true when the tool bar took them.
  bool AddButtons(const TBBUTTON* buttons, int count);

  HIMAGELIST m_imageList;  // not owned; null when none
};
