// A filter library's in-process server: its class objects, its lifetime
// count, and its registration (the class keys through class_registration.h,
// the filters through the platform's filter mapper).
#include <platform_filters/filter_server.h>

#include <uuids.h>

#include <atomic>

#include "com/builtin_classes.h"
#include "com/class_registration.h"
#include "com/com_object.h"

namespace platform::media {

struct FilterServer::Impl {
  std::span<const FilterClass> classes;
  std::atomic<LONG> users{0};  // live objects, class objects and server locks
};

namespace {

// The class object of one filter class. It counts as a user of the server
// while it lives, and each LockServer(TRUE) counts as one more.
class ServerClassFactory final : public IClassFactory {
 public:
  ServerClassFactory(FilterServer &server, CreateFilterFunction create) : m_server(server), m_create(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return com::QueryInterfaceAmong<IClassFactory>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = m_references.Decrement();
    if (count == 0) delete this;
    return count;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IBaseFilter *filter = m_create();
    if (!filter) return E_OUTOFMEMORY;
    const HRESULT hr = filter->QueryInterface(riid, ppv);
    filter->Release();
    return hr;
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override {
    if (fLock) {
      m_server.ObjectCreated();
    } else {
      m_server.ObjectDestroyed();
    }
    return S_OK;
  }

 private:
  com::ReferenceCount m_references;
  FilterServer &m_server;
  ServerObject m_serverObject{m_server};
  const CreateFilterFunction m_create;
};

com::ComPtr<IFilterMapper2> PlatformMapper() {
  com::ComPtr<IFilterMapper2> mapper;
  IFilterMapper2 *created = nullptr;
  const auto mapperClass = com::FindBuiltinClass(CLSID_FilterMapper2);
  if (mapperClass && SUCCEEDED(mapperClass->create(nullptr, IID_IFilterMapper2, reinterpret_cast<void **>(&created)))) {
    mapper = com::ComPtr<IFilterMapper2>(created);
    created->Release();
  }
  return mapper;
}

HRESULT RegisterClass(const void *addressInServer, const FilterClass &filterClass, IFilterMapper2 *mapper) {
  const com::ServerClass serverClass{filterClass.clsid, filterClass.name, filterClass.threadingModel};
  if (HRESULT hr = com::RegisterServerClass(addressInServer, serverClass); FAILED(hr)) return hr;
  if (!filterClass.registration) return S_OK;
  if (!mapper) return E_UNEXPECTED;
  return mapper->RegisterFilter(*filterClass.clsid, filterClass.name, nullptr, &CLSID_LegacyAmFilterCategory, nullptr,
                                filterClass.registration);
}

}  // namespace

FilterServer::FilterServer(std::span<const FilterClass> classes) : m_impl(std::make_unique<Impl>()) {
  m_impl->classes = classes;
}

FilterServer::~FilterServer() = default;

HRESULT FilterServer::GetClassObject(REFCLSID rclsid, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const FilterClass &filterClass : m_impl->classes) {
    if (!IsEqualCLSID(*filterClass.clsid, rclsid)) continue;
    auto *factory = new ServerClassFactory(*this, filterClass.create);
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT FilterServer::CanUnloadNow() const { return m_impl->users == 0 ? S_OK : S_FALSE; }

HRESULT FilterServer::RegisterServer(const void *addressInServer) const {
  const com::ComPtr<IFilterMapper2> mapper = PlatformMapper();
  for (const FilterClass &filterClass : m_impl->classes) {
    if (HRESULT hr = RegisterClass(addressInServer, filterClass, mapper.Get()); FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT FilterServer::UnregisterServer() const {
  const com::ComPtr<IFilterMapper2> mapper = PlatformMapper();
  HRESULT result = S_OK;
  for (const FilterClass &filterClass : m_impl->classes) {
    if (filterClass.registration && mapper) {
      const HRESULT hr = mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *filterClass.clsid);
      if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) result = hr;
    }
    if (HRESULT hr = com::UnregisterServerClass(*filterClass.clsid); FAILED(hr)) result = hr;
  }
  return result;
}

void FilterServer::ObjectCreated() { ++m_impl->users; }

void FilterServer::ObjectDestroyed() { --m_impl->users; }

ServerObject::ServerObject(FilterServer &server) : m_server(server) { m_server.ObjectCreated(); }

ServerObject::~ServerObject() { m_server.ObjectDestroyed(); }

}  // namespace platform::media
