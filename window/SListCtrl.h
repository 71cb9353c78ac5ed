// The framework's list: a "LISTBOX" control, always owner-drawn with
// variable item heights, whose items are records of their own (text, an
// image at the left, an image at the right).
//
// The list selects by itself on mouse presses (single, multiple and extended
// selection with Shift and Ctrl) and reports to its parent window: keys
// (SWM_LISTBOXKEYDOWN), selection changes (SWM_LISTBOXSELCHANGED), double
// clicks on a selection (SWM_LISTBOXDBLCLK), all with SendMessageA, and every
// mouse button event as a MOUSERECORD (SWM_LISTBOXMOUSE), given straight to
// the parent's framework window procedure. Its parent measures and draws the
// items through GetItemHeight and DrawItem.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "window/FrameworkMessages.h"
#include "window/SWnd.h"

class SListCtrl : public SWnd {
public:
  // One item, owned by the list and stored as the list box's item data.
  struct _SItem {
    SString m_text;
    int m_leftImage;   // -1 none
    int m_rightImage;  // -1 none
    int m_data;
    SListCtrl* m_owner;
  };

  SListCtrl();
  ~SListCtrl() override;

  // WS_CHILD is added unless WS_POPUP is set; LBS_HASSTRINGS,
  // LBS_OWNERDRAWFIXED and LBS_SORT are removed and LBS_OWNERDRAWVARIABLE
  // added. The scroll-bar styles asked for are set again after creation.
  bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id);

  // Appends an item without images and returns its index; -1 without a
  // window or when the list box refuses it.
  int AddItem(const char* text);
  // Empty for a bad index.
  SString GetItemText(int index);
  int GetCount();
  // Frees every item and empties the list box.
  void RemoveAll();

  // Selection; "multi" lists have LBS_EXTENDEDSEL or LBS_MULTIPLESEL.
  // The selected item, or the first selected one of a multi list; -1 none.
  int GetSelection();
  // Only that item selected afterwards; -1 clears.
  void SetSelection(int index);
  // Selects or deselects one item; an index outside the list does nothing.
  void SelectItem(int index, bool select);
  // Adds first..last to the selection of a multi list.
  void SelectRange(int first, int last);
  bool IsSelected(int index);
  // Flips the item's selection; returns its new state.
  bool ToggleSelection(int index);
  int GetSelectedCount();
  // The item under the client point; -1 when none.
  int ItemFromPoint(int x, int y);

  // The height of every item: the larger of the text height (the list's
  // device context without a font selected) and the image heights, plus
  // twice the margin; 0 without a window.
  int GetItemHeight();
  // Draws one item for its parent's WM_DRAWITEM; true when the item is the
  // list's own.
  bool DrawItem(const DRAWITEMSTRUCT* draw);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A brush of the background colour; 0 (default painting) when the colour
  // is none or hollow.
  HBRUSH OnCtlColorListBox(HDC dc) override;

  HBRUSH m_backBrush;
  COLORREF m_textColor;
  COLORREF m_selBackColor;
  COLORREF m_selTextColor;
  int m_margin;
  HIMAGELIST m_leftImages, m_rightImages;  // not owned; null shows no column
  int m_leftImageWidth, m_leftImageHeight;    // a width of 0: no left column
  int m_rightImageWidth, m_rightImageHeight;  // a width of 0: no right column

private:
  bool IsMulti();
  _SItem* ItemAt(int index);
  // Selection on a button press at the item (-1 below the items).
  void SelectOnPress(UINT message, int index);
  // The mouse record of the message to the parent's window procedure.
  void SendMouseRecord(UINT message, LPARAM lParam);
};
