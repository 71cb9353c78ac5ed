// SOcxEvents: reference counting, interface queries and the Invoke entry.
#include "core/Platform.h"
#include "window/SOcxEvents.h"

HRESULT SOcxEvents::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEventInterface(riid, object)) {
    AddRef();
    return S_OK;
  }
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG SOcxEvents::AddRef() { return ULONG(::InterlockedIncrement(&m_refCount)); }

ULONG SOcxEvents::Release() {
  if (m_refCount == 0) return 0;
  return ULONG(::InterlockedDecrement(&m_refCount));
}

HRESULT SOcxEvents::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
HRESULT SOcxEvents::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT SOcxEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT SOcxEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                           EXCEPINFO*, UINT*) {
  if (!parameters) return E_INVALIDARG;
  return OnEvent(id, parameters);
}

bool SOcxEvents::IsEventInterface(REFIID, void**) { return false; }

HRESULT SOcxEvents::OnEvent(DISPID, DISPPARAMS*) { return S_OK; }
