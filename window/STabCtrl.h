// A tab control ("SysTabControl32") that shows one page of windows per tab.
// A window is attached to a tab (a window may be on several tabs); the pages
// are not owned. Selecting a tab shows its page (the parent's handling of
// TCN_SELCHANGE calls ShowPage, then sends SWM_TABSELCHANGED); every mouse
// button event reaches the parent as SWM_TABMOUSE.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "window/SWnd.h"

class STabCtrl : public SWnd {
public:
  STabCtrl();
  ~STabCtrl() override;

  // Appends a tab and shows the page of the current tab; the new tab's
  // index, -1 when the control refused it.
  int AddTab(const char* text);
  // The tooltip text of a tab, when the control has a tooltip window.
  void SetTabTip(int tab, const char* text);
  // False for no window, a tab outside the tabs, or a window already on that
  // tab.
  bool AttachPage(int tab, SWnd* window);
  // Hides every page window, then shows those of the tab; nothing without
  // pages or for a tab outside the tabs.
  void ShowPage(int tab);
  int GetTabCount();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  SArray<SWnd*> m_pages;   // page windows, one entry per (window, tab)
  SArray<int> m_pageTabs;  // the tab of each entry
};
