// The class object of a class built into the platform: creates instances
// through the class's entry in the built-in table.
#pragma once

#include "com/builtin_classes.h"
#include "com/com_object.h"

namespace platform::com {

class BuiltinClassFactory final : public IClassFactory {
 public:
  explicit BuiltinClassFactory(CreateInstanceFunction create) : m_create(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override {
    return QueryInterfaceAmong<IClassFactory>(this, riid, ppvObject);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) override;
  // The platform library is never unloaded: there is nothing to keep.
  HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override { return S_OK; }

 private:
  ReferenceCount m_references;
  const CreateInstanceFunction m_create;
};

}  // namespace platform::com
