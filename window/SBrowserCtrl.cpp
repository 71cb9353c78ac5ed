// SBrowserCtrl: hosting, navigation, temporary pages and events.
#include "core/Platform.h"
#include "window/SBrowserCtrl.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "core/SResource.h"
#include "window/ControlFactory.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <exdisp.h>

namespace {

const char kPagePrefix[] = "vandrobrowser_";
const int kCopyBlock = 4096;
const int kNoHistory = 2;  // navNoHistory

// Events and the message each becomes at the parent; lParam as noted.
enum Argument { NONE, PROGRESS, URL, ERROR_FLAG };
struct EventRow {
  DISPID id;
  UINT message;
  Argument argument;
};
const EventRow kEvents[] = {
    {102, SWM_BROWSERSTATUS, NONE},          // StatusTextChange
    {108, SWM_BROWSERPROGRESS, PROGRESS},    // ProgressChange
    {113, SWM_BROWSERTITLE, NONE},           // TitleChange
    {250, SWM_BROWSERBEFORENAVIGATE, URL},   // BeforeNavigate2
    {253, SWM_BROWSERQUIT, NONE},            // OnQuit
    {259, SWM_BROWSERCOMPLETE, NONE},        // DocumentComplete
    {271, SWM_BROWSERCOMPLETE, ERROR_FLAG},  // NavigateError
};

// BeforeNavigate2's URL (argument 5 of 7, a variant by reference) as text.
SString UrlArgument(DISPPARAMS* parameters) {
  if (parameters->cArgs < 7) return SString();
  VARIANT* url = &parameters->rgvarg[parameters->cArgs - 2];
  if (url->vt == (VT_BYREF | VT_VARIANT) && url->pvarVal) url = url->pvarVal;
  if (url->vt != VT_BSTR || !url->bstrVal) return SString();
  return SString(url->bstrVal);
}

SWnd* ConstructBrowser() { return new SBrowserCtrl; }

void ConfigureBrowser(SWnd* control, const SDialogRecords::_SCtrl* record, SResource* archive,
                      bool) {
  SBrowserCtrl* browser = static_cast<SBrowserCtrl*>(control);
  browser->SetSilent(SDialogRecords::GetPropertyBool(record, "BROWSER_DIALOGS"));
  SString entry = SDialogRecords::GetProperty(record, "BROWSER_FILE");
  SFileMem file;
  if (archive && entry.GetLength() > 0 && archive->Load(&file, entry.GetText(), true) &&
      browser->ShowContent(&file)) {
    return;
  }
  SString url = SDialogRecords::GetProperty(record, "BROWSER_URL");
  if (url.GetLength() > 0) browser->Navigate(url.GetText());
}

const SControlKind kBrowserKind = {ControlKinds::KIND_BROWSER};
const bool kBrowserKindRegistered = RegisterControlKind(&kBrowserKind);
const SDialogControlClass kBrowserClass = {ConstructBrowser, ConfigureBrowser, nullptr};

}  // namespace

bool SBrowserCtrl::Register() {
  return RegisterDialogControlClass(ControlKinds::TYPE_BROWSER, &kBrowserClass);
}

bool SBrowserCtrl::_SEvents::IsEventInterface(REFIID riid, void** object) {
  if (!IsEqualIID(riid, ActiveXIds::kBrowserEvents)) return false;
  *object = static_cast<IDispatch*>(this);
  return true;
}

HRESULT SBrowserCtrl::_SEvents::OnEvent(DISPID id, DISPPARAMS* parameters) {
  if (!m_owner || !m_owner->m_hWnd) return S_OK;
  for (const EventRow& row : kEvents) {
    if (row.id != id) continue;
    WPARAM control = ToWParam(m_owner);
    switch (row.argument) {
      case NONE:
        m_owner->NotifyParent(row.message, control, 0);
        break;
      case ERROR_FLAG:
        m_owner->NotifyParent(row.message, control, 1);
        break;
      case PROGRESS: {
        int progress[2] = {int(EventArgument(parameters, 1)), int(EventArgument(parameters, 0))};
        if (progress[0] != -1) m_owner->NotifyParent(row.message, control, ToLParam(progress));
        break;
      }
      case URL: {
        SString url = UrlArgument(parameters);
        LRESULT answer = m_owner->NotifyParent(row.message, control,
                                               ToLParam(url.GetText() ? url.GetText() : ""));
        VARIANT& cancel = parameters->rgvarg[0];
        if (answer != 0 && parameters->cArgs >= 7 && cancel.vt == (VT_BYREF | VT_BOOL) &&
            cancel.pboolVal) {
          *cancel.pboolVal = VARIANT_TRUE;
        }
        break;
      }
    }
    break;
  }
  return S_OK;
}

SBrowserCtrl::SBrowserCtrl()
    : m_attach(nullptr),
      m_browser(nullptr),
      m_connection(nullptr),
      m_events(nullptr),
      m_cookie(0),
      m_history(true),
      m_pageCounter(0) {
  m_kind = ControlKinds::KIND_BROWSER;
}

SBrowserCtrl::~SBrowserCtrl() {
  if (m_hWnd) {
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::DestroyWindow(m_hWnd);
  }
  DestroyControl();
  if (m_pagePath.GetLength() > 0) m_disk.DeleteFile(m_pagePath.GetText());
}

bool SBrowserCtrl::CreateControl() {
  DestroyControl();
  m_attach = LoadAttachFunction(&m_library);
  bool made = m_attach && CreateHostedObject(ActiveXIds::kBrowser, ActiveXIds::kBrowserInterface,
                                             reinterpret_cast<void**>(&m_browser));
  if (made) {
    m_events = new _SEvents(this);
    made = ConnectEvents(m_browser, ActiveXIds::kBrowserEvents, m_events, &m_connection, &m_cookie);
  }
  if (made && m_hWnd) made = m_attach(m_browser, m_hWnd, nullptr) == S_OK;
  if (!made) DestroyControl();
  return made;
}

void SBrowserCtrl::DestroyControl() {
  DisconnectEvents(&m_connection, m_cookie);
  if (m_events) {
    m_events->Release();
    delete m_events;
    m_events = nullptr;
  }
  if (m_browser) {
    m_browser->Quit();
    m_browser->Release();
    m_browser = nullptr;
  }
  m_attach = nullptr;
  m_library.Free();
}

bool SBrowserCtrl::Navigate(const char* url) {
  if (!m_browser || !url) return false;
  BSTR target = ToBstr(url);
  VARIANT flags, empty;
  ::VariantInit(&flags);
  ::VariantInit(&empty);
  flags.vt = VT_INT;
  flags.intVal = m_history ? 0 : kNoHistory;
  HRESULT hr = m_browser->Navigate(target, &flags, &empty, &empty, &empty);
  ::SysFreeString(target);
  return hr == S_OK;
}

bool SBrowserCtrl::ShowContent(SFile* file) {
  if (!m_browser || !file) return false;
  if (m_pagePath.GetLength() > 0) m_disk.DeleteFile(m_pagePath.GetText());
  m_pagePath = "";
  ++m_pageCounter;
  SString prefix(kPagePrefix);
  prefix += SString::FromUInt(m_pageCounter);
  prefix += "_";
  SString path =
      m_disk.MakeUniqueFileName(m_disk.GetTempFolder().GetText(), prefix.GetText(), "htm");
  if (path.GetLength() == 0) return false;
  SFilePath page;
  if (!page.Open(path.GetText(), true, true, true, false)) return false;
  char block[kCopyBlock];
  bool written = true;
  for (int n; (n = file->Read(block, kCopyBlock)) > 0;) {
    if (page.Write(block, n) != n) written = false;
  }
  page.Close();
  m_pagePath = path;
  return written && Navigate(path.GetText());
}

bool SBrowserCtrl::SetSilent(bool silent) {
  return m_browser && SUCCEEDED(m_browser->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE));
}

LRESULT SBrowserCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!HandleHostMessage(this, message, true, &result)) return result;
  return SWnd::WindowProc(message, wParam, lParam);
}
