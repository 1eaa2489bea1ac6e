// IUnknown, the base of every COM interface, and IClassFactory.
//
// The COM headers of this platform declare interfaces for C++ only: each is a
// struct of pure virtual methods in the order of the Windows vtable, with its
// IID_ constant and its __uuidof identifier.
#pragma once

#include "wtypes.h"

struct IUnknown;
_DEFINE_INTERFACE_ID(IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef(void) = 0;
  virtual ULONG STDMETHODCALLTYPE Release(void) = 0;

  // The identifier comes from the type of the out pointer.
  template <class Q>
  HRESULT STDMETHODCALLTYPE QueryInterface(Q **pp) {
    return QueryInterface(__uuidof(Q), reinterpret_cast<void **>(pp));
  }
};
typedef IUnknown *LPUNKNOWN;

struct IClassFactory;
_DEFINE_INTERFACE_ID(IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

struct IClassFactory : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;
};
typedef IClassFactory *LPCLASSFACTORY;
