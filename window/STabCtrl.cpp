// STabCtrl: tabs, pages and the selection change at the parent.
#include "core/Platform.h"
#include "window/STabCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <string.h>

namespace {

bool TabNotify(SWnd* parent, SWnd* control, NMHDR* header, LRESULT*) {
  if (header->code != TCN_SELCHANGE) return true;
  int page = int(::SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
  STabCtrl* tab = dynamic_cast<STabCtrl*>(control);
  if (tab) tab->ShowPage(page);
  parent->SendMessage(SWM_TABSELCHANGED, ToWParam(control), page);
  return true;
}

const SControlKind kTabKind = {ControlKinds::KIND_TAB, CUT_PAINT, nullptr, TabNotify};
const bool kTabKindRegistered = RegisterControlKind(&kTabKind);

}  // namespace

STabCtrl::STabCtrl() { m_kind = ControlKinds::KIND_TAB; }

STabCtrl::~STabCtrl() {}

int STabCtrl::GetTabCount() { return m_hWnd ? int(SendMessage(TCM_GETITEMCOUNT)) : 0; }

int STabCtrl::AddTab(const char* text) {
  if (!m_hWnd) return -1;
  TCITEMA item;
  memset(&item, 0, sizeof(item));
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(text ? text : "");
  int index = int(SendMessage(TCM_INSERTITEMA, WPARAM(GetTabCount()), ToLParam(&item)));
  ShowPage(int(SendMessage(TCM_GETCURSEL)));
  return index;
}

void STabCtrl::SetTabTip(int tab, const char* text) {
  if (tab < 0 || tab >= GetTabCount()) return;
  HWND tips = reinterpret_cast<HWND>(SendMessage(TCM_GETTOOLTIPS));
  if (!tips) return;
  TOOLINFOA tool;
  memset(&tool, 0, sizeof(tool));
  tool.cbSize = sizeof(tool);
  if (!::SendMessageA(tips, TTM_ENUMTOOLSA, WPARAM(tab + 1), ToLParam(&tool))) return;
  tool.lpszText = const_cast<char*>(text ? text : "");
  ::SendMessageA(tips, TTM_SETTOOLINFOA, 0, ToLParam(&tool));
}

bool STabCtrl::AttachPage(int tab, SWnd* window) {
  if (!window || tab < 0 || tab >= GetTabCount()) return false;
  for (int i = 0; i < m_pages.GetCount(); ++i) {
    if (m_pages[i] == window && m_pageTabs[i] == tab) return false;
  }
  m_pages.Add(window);
  m_pageTabs.Add(tab);
  return true;
}

void STabCtrl::ShowPage(int tab) {
  if (m_pages.GetCount() == 0 || tab < 0 || tab >= GetTabCount()) return;
  for (int i = 0; i < m_pages.GetCount(); ++i) {
    if (m_pages[i]->m_hWnd) ::ShowWindow(m_pages[i]->m_hWnd, SW_HIDE);
  }
  for (int i = 0; i < m_pages.GetCount(); ++i) {
    if (m_pageTabs[i] == tab && m_pages[i]->m_hWnd) ::ShowWindow(m_pages[i]->m_hWnd, SW_SHOW);
  }
}

LRESULT STabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_AFTERCREATE) {
    m_pages.RemoveAll();
    m_pageTabs.RemoveAll();
  }
  if (!ForwardMouse(this, SWM_TABMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}
