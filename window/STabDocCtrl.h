// STabDocCtrl: documents shown one at a time under a strip of tabs.
//
// Each document is a page window below the strip; what it shows is created
// as a child of the page (and survives the document: such windows are
// hidden and un-parented, never destroyed, when the page goes). The strip,
// painted with GDI+, holds one tab per document (its title, with "*" while
// modified), a close button for the current document and scroll buttons
// when not all tabs fit. Changes the user starts are first offered to the
// parent, which may refuse them; documents can be dragged to reorder them
// or onto another tabbed-document control, which adopts the page.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "window/SMenu.h"
#include "window/SWnd.h"

namespace Gdiplus {
class Font;
}

enum : UINT {
  SWM_TABDOCMOUSE = 0x8CDA,    // lParam = MOUSERECORD*
  SWM_TABDOCSELECT = 0x8CDB,   // lParam: low word current, high word chosen; nonzero refuses
  SWM_TABDOCMOVE = 0x8CDC,     // lParam: low word dragged, high word over; nonzero refuses
  SWM_TABDOCCLOSE = 0x8CDD,    // lParam = the index; nonzero keeps the document
  SWM_TABDOCCOMMAND = 0x8CDE,  // lParam = the context menu's command id
};

class STabDocCtrl : public SWnd {
public:
  struct _SItem;

  // A document's page window.
  class _SWnd : public SWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    STabDocCtrl* m_owner = nullptr;
    _SItem* m_item = nullptr;
    bool m_notifyParent = true;  // children's change notices go on to the control
  };

  struct _SItem {
    explicit _SItem(STabDocCtrl* owner);
    // Hides and un-parents the framework windows of the page, then destroys
    // the page.
    ~_SItem();
    int m_id;
    SString m_title;
    _SWnd m_window;
    bool m_modified;
  };

  // Registers the class with the control factory (framework start-up does).
  static bool Register();

  STabDocCtrl();
  ~STabDocCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Every message of a page passes here first; false: the page answers the
  // result without default processing.
  virtual bool OnChildMessage(_SItem* source, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* result);

  // 0xFF000000 leaves a colour unchanged.
  void SetColors(COLORREF strip, COLORREF currentTab, COLORREF page);
  void SetTextColors(COLORREF text, COLORREF currentText);
  void AddDocument(const char* title, int id);
  bool AttachDocument(_SItem* item);
  void RemoveAt(int index);
  void RemoveAll();
  void SetCurrent(int index);
  // Takes the document out of the list without deleting it; null outside
  // the list.
  _SItem* Detach(int index);
  int GetCount() const { return m_items.GetCount(); }
  _SItem* GetItem(int index) {
    return index >= 0 && index < m_items.GetCount() ? m_items[index] : nullptr;
  }

  void MeasureTabs();
  void Layout();
  void Paint(HDC dc);
  void ShowPages();
  void RedrawStrip();
  void OnClick(int x, int y);
  void TrackMenuOrDrag(int x, int y, bool left);
  // The first shown tab at the client point; -1 for none.
  int FindTab(int x, int y);

  COLORREF m_stripColor, m_currentColor, m_textColor, m_currentTextColor, m_pageColor;
  Gdiplus::Font* m_font;
  Gdiplus::Font* m_currentFont;
  SMenu m_menu;
  SArray<HWND__*> m_dropTargets;
  bool m_showClose;
  bool m_moveTabs;
  RECT m_closeButton, m_rightButton, m_leftButton;
  SArray<_SItem*> m_items;
  SArray<RECT> m_tabRects;
  int m_current;
  int m_stripHeight;
  int m_inset, m_gap, m_margin, m_textHeight, m_firstVisible, m_visibleCount;

private:
  // Offers the message to the parent: true when it refused.
  bool Refused(UINT message, LPARAM lParam);
  void DeleteFonts();
};
