// Object creation: CoGetClassObject and CoCreateInstance find a class's
// in-process server in the registry, load it and ask it for the class
// object. Classes built into the platform are registered like any other
// server's classes (see builtin_classes.h), so there is one lookup for all.
// Every in-process server runs in the caller's apartment: the threading
// model a class registers is not needed by servers of one process.
#include <objbase.h>

#include "com/apartment.h"
#include "com/class_registration.h"
#include "com/com_object.h"
#include "com/inproc_servers.h"

extern "C" HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved, REFIID riid, LPVOID *ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  if (!platform::com::ThreadHasCom()) return CO_E_NOTINITIALIZED;
  if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  std::string path;
  if (HRESULT hr = platform::com::InprocServerPath(rclsid, path); FAILED(hr)) return hr;
  return platform::com::GetClassObjectFromServer(path, rclsid, riid, ppv);
}

extern "C" HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                    LPVOID *ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IClassFactory *factory = nullptr;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void **>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  return hr;
}

extern "C" void CoFreeUnusedLibraries(void) { platform::com::UnloadUnusedServers(); }
