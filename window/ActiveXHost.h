// What the ActiveX hosts of the window toolkit share: the published
// identifiers of the hosted controls, loading "atl.dll" for
// AtlAxAttachControl and the event connection of a control.
#pragma once

#include "core/Platform.h"
#include "window/FrameworkMessages.h"

#include <ocidl.h>

class SDll;

typedef HRESULT(WINAPI* AtlAxAttachControlProc)(IUnknown* control, HWND window,
                                                IUnknown** container);

// The identifiers, as published.
struct ActiveXIds {
  static const GUID kMediaPlayer;           // the player object
  static const GUID kMediaPlayerInterface;  // IWMPPlayer4
  static const GUID kMediaPlayerEvents;     // _WMPOCXEvents
  static const GUID kMediaControls3;        // IWMPControls3
  static const GUID kBrowser;               // CLSID_WebBrowser
  static const GUID kBrowserInterface;      // IWebBrowser2
  static const GUID kBrowserEvents;         // DWebBrowserEvents2
  static const GUID kFlash;                 // the Flash object, created as IDispatch
  static const GUID kConnectionPoints;      // IConnectionPointContainer
};

// Loads "atl.dll" into the library and looks AtlAxAttachControl up; null
// when either fails (the library is freed then).
AtlAxAttachControlProc LoadAttachFunction(SDll* library);
// Creates the object in process as the interface; false when it cannot be
// made (*object stays null).
bool CreateHostedObject(const GUID& classId, const GUID& interfaceId, void** object);
// Finds the object's connection point of the event interface and advises
// the sink. False when the object has no connection points or none for the
// interface; the result of Advise itself is not examined.
bool ConnectEvents(IUnknown* object, const GUID& events, IDispatch* sink, IConnectionPoint** point,
                   DWORD* cookie);
// Unadvises and releases the connection point (nothing without one).
void DisconnectEvents(IConnectionPoint** point, DWORD cookie);
// The window messages of a host window: the after-create message creates
// the hosted control (the answer -1 aborts a window without it); with
// repaint, the parent's size and move notices repaint the host. False when
// the message is done, with its answer in *result.
template <class Host>
bool HandleHostMessage(Host* host, UINT message, bool repaint, LRESULT* result) {
  if (message == SWM_AFTERCREATE && !host->CreateControl()) {
    *result = -1;
    return false;
  }
  if (repaint && (message == SWM_PARENTSIZED || message == SWM_PARENTMOVED)) host->Redraw();
  return true;
}

// An event's argument as an integer; 0 when it is missing or no number.
// Arguments are stored in reverse order: index 0 is the last.
long EventArgument(DISPPARAMS* parameters, UINT index);
// The text as a new BSTR for the caller to free.
BSTR ToBstr(const char* text);
