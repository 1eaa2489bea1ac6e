// Registering a filter class: its class key, its filter data and its file types.
#include "media/filter_class_registration.h"

#include <uuids.h>

#include "com/builtin_classes.h"
#include "com/class_registration.h"
#include "com/com_object.h"
#include "media/source_registration.h"

namespace platform::media {
namespace {

// The platform's own mapper, made directly: registration may run before
// the platform's classes are in the registry.
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

}  // namespace

HRESULT RegisterFilterClass(const void *addressInServer, const FilterClassEntry &entry) {
  const com::ServerClass serverClass{entry.clsid, entry.name, entry.threadingModel};
  if (HRESULT hr = com::RegisterServerClass(addressInServer, serverClass); FAILED(hr)) return hr;
  if (entry.registration) {
    const com::ComPtr<IFilterMapper2> mapper = PlatformMapper();
    if (!mapper) return E_UNEXPECTED;
    const HRESULT hr = mapper->RegisterFilter(*entry.clsid, entry.name, nullptr, &CLSID_LegacyAmFilterCategory, nullptr,
                                              entry.registration);
    if (FAILED(hr)) return hr;
  }
  return entry.fileTypes ? RegisterSourceFileTypes(*entry.clsid, *entry.fileTypes) : S_OK;
}

HRESULT UnregisterFilterClass(const FilterClassEntry &entry) {
  HRESULT result = S_OK;
  const com::ComPtr<IFilterMapper2> mapper = entry.registration ? PlatformMapper() : com::ComPtr<IFilterMapper2>();
  if (mapper) {
    const HRESULT hr = mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *entry.clsid);
    if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) result = hr;
  }
  if (entry.fileTypes) {
    if (HRESULT hr = UnregisterSourceFileTypes(*entry.clsid, *entry.fileTypes); FAILED(hr)) result = hr;
  }
  if (HRESULT hr = com::UnregisterServerClass(*entry.clsid); FAILED(hr)) result = hr;
  return result;
}

}  // namespace platform::media
