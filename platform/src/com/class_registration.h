// Classes in the registry: where CoCreateInstance finds a class's server,
// and what a server library's DllRegisterServer writes for each of its
// classes.
//
//   HKEY_CLASSES_ROOT\CLSID\{clsid}                 @ = the class's name
//   HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32  @ = the library's full path
//                                                    ThreadingModel = "Both", "Apartment", ...
#pragma once

#include <objbase.h>

#include <string>

namespace platform::com {

struct ServerClass {
  const CLSID *clsid;
  const wchar_t *name;
  const wchar_t *threadingModel;
};

// Registers a class of the server library that contains addressInServer.
// Pass the address of a function or object with internal linkage of the
// library: an exported function such as DllRegisterServer may resolve to
// the platform library's own of the same name. SELFREG_E_CLASS when the
// registry cannot be written.
HRESULT RegisterServerClass(const void *addressInServer, const ServerClass &serverClass);

// Removes the class's key with everything below it; S_OK also when the
// class was not registered.
HRESULT UnregisterServerClass(REFCLSID clsid);

// The library registered for the class: InprocServer32's default value
// (a REG_EXPAND_SZ with its environment references expanded).
// REGDB_E_CLASSNOTREG when the class or its library is not registered.
HRESULT InprocServerPath(REFCLSID clsid, std::string &path);

}  // namespace platform::com
