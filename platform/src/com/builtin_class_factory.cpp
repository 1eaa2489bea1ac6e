#include "com/builtin_class_factory.h"

namespace platform::com {

ULONG BuiltinClassFactory::Release() {
  const ULONG count = m_references.Decrement();
  if (count == 0) delete this;
  return count;
}

HRESULT BuiltinClassFactory::CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) {
  if (!ppvObject) return E_POINTER;
  *ppvObject = nullptr;
  return m_create(pUnkOuter, riid, ppvObject);
}

}  // namespace platform::com
