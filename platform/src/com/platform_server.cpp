// The platform library as an in-process server: the entry points a server
// library exports, serving the classes of the built-in table. Registering
// the library (quorvel-regsvr libquorvel-platform.so) writes every built-in
// class with InprocServer32 = this library's path.
#include <objbase.h>

#include "com/builtin_class_factory.h"
#include "com/builtin_classes.h"
#include "com/class_registration.h"

namespace {

// An address inside this library (see RegisterServerClass).
const int kInThisLibrary = 0;

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
    const platform::com::ServerClass serverClass{builtin.clsid, builtin.name, builtin.threadingModel};
    if (HRESULT hr = platform::com::RegisterServerClass(&kInThisLibrary, serverClass); FAILED(hr)) return hr;
  }
  return S_OK;
}

STDAPI DllUnregisterServer(void) {
  HRESULT result = S_OK;
  for (const auto &builtin : platform::com::BuiltinClasses()) {
    if (HRESULT hr = platform::com::UnregisterServerClass(*builtin.clsid); FAILED(hr)) result = hr;
  }
  return result;
}
