// The platform library as an in-process server: the entry points a server
// library exports, serving the classes of the built-in table. Registering
// the library (quorvel-regsvr libquorvel-platform.so) writes every built-in
// class with InprocServer32 = this library's path, and registers the
// built-in filters' filter data and file types as a filter library's
// server does.
#include <objbase.h>

#include "com/builtin_class_factory.h"
#include "com/builtin_classes.h"
#include "media/filter_class_registration.h"

namespace {

// An address inside this library (see RegisterServerClass).
const int kInThisLibrary = 0;

platform::media::FilterClassEntry EntryOf(const platform::com::BuiltinClass &builtin) {
  return {builtin.clsid, builtin.name, builtin.threadingModel, builtin.filter, builtin.fileTypes};
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  std::optional<platform::com::BuiltinClass> builtin = platform::com::FindBuiltinClass(rclsid);
  if (!builtin) return CLASS_E_CLASSNOTAVAILABLE;
  auto *factory = new platform::com::BuiltinClassFactory(builtin->create);
  const HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

// The platform is loaded with the program: it never unloads.
STDAPI DllCanUnloadNow(void) { return S_FALSE; }

STDAPI DllRegisterServer(void) {
  for (const auto &builtin : platform::com::BuiltinClasses()) {
    const HRESULT hr = platform::media::RegisterFilterClass(&kInThisLibrary, EntryOf(builtin));
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

STDAPI DllUnregisterServer(void) {
  HRESULT result = S_OK;
  for (const auto &builtin : platform::com::BuiltinClasses()) {
    if (HRESULT hr = platform::media::UnregisterFilterClass(EntryOf(builtin)); FAILED(hr)) result = hr;
  }
  return result;
}
