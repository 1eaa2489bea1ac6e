// A small in-process server: two classes, a class object per class, and
// DllCanUnloadNow that counts live objects and server locks.
#include "test_server.h"

#include <atomic>

#include "com/class_registration.h"
#include "com/com_object.h"

namespace {

using platform::com::QueryInterfaceAmong;
using platform::com::ReferenceCount;

std::atomic<int> g_liveObjects{0};
std::atomic<int> g_serverLocks{0};

class TestObject final : public IPersist {
 public:
  TestObject() { ++g_liveObjects; }
  ~TestObject() { --g_liveObjects; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return QueryInterfaceAmong<IPersist>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = m_references.Decrement();
    if (count == 0) delete this;
    return count;
  }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override {
    *pClassID = CLSID_TestServerObject;
    return S_OK;
  }

 private:
  ReferenceCount m_references;
};

class ClassObject final : public IClassFactory {
 public:
  explicit ClassObject(bool refuses) : m_refuses(refuses) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return QueryInterfaceAmong<IClassFactory>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = m_references.Decrement();
    if (count == 0) delete this;
    return count;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override {
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (m_refuses) return kTestServerRefusal;
    auto *object = new TestObject;
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    g_serverLocks += lock ? 1 : -1;
    return S_OK;
  }

 private:
  ReferenceCount m_references;
  const bool m_refuses;
};

const platform::com::ServerClass kClasses[] = {
    {&CLSID_TestServerObject, L"Quorvel Test Object", L"Both"},
    {&CLSID_TestServerRefusing, L"Quorvel Test Refusing Object", L"Apartment"},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
  *ppv = nullptr;
  const bool refusing = IsEqualCLSID(rclsid, CLSID_TestServerRefusing);
  if (!refusing && !IsEqualCLSID(rclsid, CLSID_TestServerObject)) return CLASS_E_CLASSNOTAVAILABLE;
  auto *factory = new ClassObject(refusing);
  const HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow(void) { return g_liveObjects == 0 && g_serverLocks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer(void) {
  for (const auto &serverClass : kClasses) {
    if (HRESULT hr = platform::com::RegisterServerClass(&g_liveObjects, serverClass); FAILED(hr)) return hr;
  }
  return S_OK;
}

STDAPI DllUnregisterServer(void) {
  for (const auto &serverClass : kClasses) platform::com::UnregisterServerClass(*serverClass.clsid);
  return S_OK;
}
