// The tool bar: a system tool bar ("ToolbarWindow32") with an image list
// and buttons added one by one. Its notifications and commands go to a hidden
// child window of its own, which reports a button click to the tool bar's
// parent as SWM_TOOLBARCOMMAND and, while a drop-down menu is open, switches
// to the menu of another button when the mouse moves over it.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "window/SWnd.h"

class SMenu;

class SToolBarCtrl : public SWnd {
public:
  // The tool bar's notification window.
  class _SWnd : public SWnd {
  public:
    _SWnd() : m_owner(nullptr) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SToolBarCtrl* m_owner;
  };

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

  // While a menu is open: the button becomes the hot item; another button
  // than the open one closes the open menu and records this one, so that its
  // menu can open in its place.
  void SwitchMenu(int button);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  HIMAGELIST m_imageList;  // not owned; null when none
  _SWnd m_notify;          // child of the tool bar from its creation to its destruction
  int m_openMenuButton;    // the button whose drop-down menu is open; -1 none
  bool m_switching;        // a menu is being replaced by another button's
  SArray<SMenu*> m_menus;  // kept with the tool bar, not deleted by it
};
