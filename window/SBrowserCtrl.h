// SBrowserCtrl: a framework window hosting the web browser control.
//
// The control is created and attached when the window is created (its
// creation fails without it). Navigate goes to a URL; ShowContent writes the
// rest of a file into a temporary page ("vandrobrowser_" + a counter) and
// navigates there, keeping only the latest page on disk. The browser's
// events reach the parent as SWM_BROWSER... messages (wParam the control).
#pragma once

#include "core/Platform.h"
#include "core/SDisk.h"
#include "core/SDll.h"
#include "core/SString.h"
#include "window/ActiveXHost.h"
#include "window/SOcxEvents.h"
#include "window/SWnd.h"

class SFile;
struct IWebBrowser2;

enum : UINT {
  SWM_BROWSERBEFORENAVIGATE = 0x8BB8,  // lParam = the URL text; nonzero cancels
  SWM_BROWSERPROGRESS = 0x8BB9,        // lParam = int[2]: progress, maximum
  SWM_BROWSERCOMPLETE = 0x8BBA,        // lParam = 1 for a navigation error
  SWM_BROWSERTITLE = 0x8BBC,
  SWM_BROWSERSTATUS = 0x8BBD,
  SWM_BROWSERQUIT = 0x8BBE,
};

class SBrowserCtrl : public SWnd {
public:
  class _SEvents : public SOcxEvents {
  public:
    explicit _SEvents(SWnd* owner) : SOcxEvents(owner) {}
    bool IsEventInterface(REFIID riid, void** object) override;
    HRESULT OnEvent(DISPID id, DISPPARAMS* parameters) override;
  };

  // Registers the class with the control factory (framework start-up does).
  static bool Register();

  SBrowserCtrl();
  ~SBrowserCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool CreateControl();
  void DestroyControl();
  bool Navigate(const char* url);
  bool ShowContent(SFile* file);
  // put_Silent of the browser; false without one.
  bool SetSilent(bool silent);

  SDisk m_disk;
  SDll m_library;
  AtlAxAttachControlProc m_attach;
  IWebBrowser2* m_browser;
  IConnectionPoint* m_connection;
  _SEvents* m_events;
  DWORD m_cookie;
  bool m_history;
  SString m_pagePath;
  uint32_t m_pageCounter;
};
