// The identifiers and the shared steps of the ActiveX hosts.
#include "core/Platform.h"
#include "window/ActiveXHost.h"

#include "core/SDll.h"
#include "core/SUniString.h"

const GUID ActiveXIds::kMediaPlayer = {
    0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
const GUID ActiveXIds::kMediaPlayerInterface = {
    0x6C497D62, 0x8919, 0x413C, {0x82, 0xDB, 0xE9, 0x35, 0xFB, 0x3E, 0xC5, 0x84}};
const GUID ActiveXIds::kMediaPlayerEvents = {
    0x6BF52A51, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
const GUID ActiveXIds::kMediaControls3 = {
    0xA1D1110E, 0xD545, 0x476A, {0x9A, 0x78, 0xAC, 0x3E, 0x4C, 0xB1, 0xE6, 0xBD}};
const GUID ActiveXIds::kBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const GUID ActiveXIds::kBrowserInterface = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
const GUID ActiveXIds::kBrowserEvents = {
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
const GUID ActiveXIds::kFlash = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID ActiveXIds::kConnectionPoints = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

AtlAxAttachControlProc LoadAttachFunction(SDll* library) {
  HMODULE module = ::LoadLibraryA("atl.dll");
  library->SetModule(module);
  if (!module) return nullptr;
  AtlAxAttachControlProc attach = reinterpret_cast<AtlAxAttachControlProc>(
      reinterpret_cast<void*>(::GetProcAddress(module, "AtlAxAttachControl")));
  if (!attach) library->Free();
  return attach;
}

bool CreateHostedObject(const GUID& classId, const GUID& interfaceId, void** object) {
  *object = nullptr;
  HRESULT hr = ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                  interfaceId, object);
  if (FAILED(hr)) *object = nullptr;
  return *object != nullptr;
}

bool ConnectEvents(IUnknown* object, const GUID& events, IDispatch* sink, IConnectionPoint** point,
                   DWORD* cookie) {
  IConnectionPointContainer* container = nullptr;
  if (FAILED(object->QueryInterface(ActiveXIds::kConnectionPoints,
                                    reinterpret_cast<void**>(&container))) ||
      !container) {
    return false;
  }
  HRESULT found = container->FindConnectionPoint(events, point);
  container->Release();
  if (FAILED(found) || !*point) {
    *point = nullptr;
    return false;
  }
  (*point)->Advise(sink, cookie);
  return true;
}

long EventArgument(DISPPARAMS* parameters, UINT index) {
  if (!parameters || index >= parameters->cArgs) return 0;
  VARIANT value;
  ::VariantInit(&value);
  long result = 0;
  if (SUCCEEDED(::VariantChangeType(&value, &parameters->rgvarg[index], 0, VT_I4))) {
    result = value.lVal;
  }
  ::VariantClear(&value);
  return result;
}

BSTR ToBstr(const char* text) { return ::SysAllocString(SUniString(text).GetText()); }

void DisconnectEvents(IConnectionPoint** point, DWORD cookie) {
  if (!*point) return;
  (*point)->Unadvise(cookie);
  (*point)->Release();
  *point = nullptr;
}
