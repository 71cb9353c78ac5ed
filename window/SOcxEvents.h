// SOcxEvents: the IDispatch event sink of an ActiveX host.
//
// The host creates it with new and deletes it itself after releasing it;
// the reference count is bookkeeping only (Release never deletes). A host's
// sink answers for its event interface (IsEventInterface) and handles the
// events in OnEvent.
#pragma once

#include "core/Platform.h"

#include <oaidl.h>

class SWnd;

class SOcxEvents : public IDispatch {
public:
  explicit SOcxEvents(SWnd* owner) : m_refCount(0), m_owner(owner) {}
  virtual ~SOcxEvents() {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

  // True (with *object = this) when riid is the host's event interface.
  virtual bool IsEventInterface(REFIID riid, void** object);
  virtual HRESULT OnEvent(DISPID id, DISPPARAMS* parameters);

  ULONG GetRefCount() const { return m_refCount; }

protected:
  volatile LONG m_refCount;
  SWnd* m_owner;
};
