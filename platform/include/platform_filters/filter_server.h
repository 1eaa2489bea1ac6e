// FilterServer: what makes a filter library an in-process COM server. The
// library describes its filter classes in a static table and hands its four
// exported entry points over to one FilterServer:
//
//   const REGPINTYPES kCompressed[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_H264}};
//   const REGPINTYPES kVideo[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_NV12}};
//   const REGFILTERPINS2 kPins[] = {FilterPin(0, kCompressed), FilterPin(REG_PINFLAG_B_OUTPUT, kVideo)};
//   const REGFILTER2 kDecoderRegistration = FilterRegistration(MERIT_NORMAL, kPins);
//   const FilterClass kClasses[] = {
//       {&CLSID_MyDecoder, L"My Decoder", L"Both", &CreateMyDecoder, &kDecoderRegistration}};
//
//   FilterServer &Server() { static FilterServer server(kClasses); return server; }
//   STDAPI DllGetClassObject(REFCLSID c, REFIID i, LPVOID *p) { return Server().GetClassObject(c, i, p); }
//   STDAPI DllCanUnloadNow() { return Server().CanUnloadNow(); }
//   STDAPI DllRegisterServer() { return Server().RegisterServer(&kClasses); }
//   STDAPI DllUnregisterServer() { return Server().UnregisterServer(); }
//
// Registration writes, for each class, the class key with InprocServer32 =
// the library's own path and the class's ThreadingModel; a class with a
// filter registration is also registered through IFilterMapper2::
// RegisterFilter in CLSID_LegacyAmFilterCategory (its name as the friendly
// name, its merit and its pins with their media types), which is where
// intelligent connect looks for filters. Unregistration removes both.
//
// Lifetime. The library may be unloaded when CanUnloadNow gives S_OK: when
// no class object the server gave out is still held, no LockServer(TRUE) is
// outstanding, and no object of the library lives. The library's objects
// count themselves with a ServerObject member, declared first so that it is
// destroyed after the others:
//
//   class MyDecoder : public TransformFilter {
//     ServerObject m_serverObject{Server()};
//     ...
//   };
//
// A library built with GCC needs -fno-gnu-unique to be unloadable at all
// (inline variables such as interface identifiers get unique-symbol binding,
// which keeps a library loaded for good).
//
// Threads. Every method may be called from any thread.
#pragma once

#include <strmif.h>

#include <memory>
#include <span>

#include "filters_api.h"

namespace platform::media {

// Creates a filter of the class in its default configuration, with one
// reference; null when it cannot be created.
using CreateFilterFunction = IBaseFilter *(*)();

struct FilterClass {
  const CLSID *clsid;
  const wchar_t *name;            // the class key's default value, and the filter's friendly name
  const wchar_t *threadingModel;  // InprocServer32's ThreadingModel: "Both" for most filters
  CreateFilterFunction create;
  // Merit and pins; null for a class that intelligent connect never uses.
  const REGFILTER2 *registration;
};

// One pin of a filter registration: REG_PINFLAG_B_* flags, one instance,
// the media types it takes or gives, no mediums and no pin category.
constexpr REGFILTERPINS2 FilterPin(DWORD flags, std::span<const REGPINTYPES> types) {
  return REGFILTERPINS2{flags, 1, static_cast<UINT>(types.size()), types.data(), 0, nullptr, nullptr};
}

// A version-2 filter registration with the given merit and pins.
constexpr REGFILTER2 FilterRegistration(DWORD merit, std::span<const REGFILTERPINS2> pins) {
  REGFILTER2 registration{};
  registration.dwVersion = 2;
  registration.dwMerit = merit;
  registration.cPins2 = static_cast<ULONG>(pins.size());
  registration.rgPins2 = pins.data();
  return registration;
}

class PLATFORM_FILTERS_API FilterServer {
 public:
  // The table must outlive the server (a static table does).
  explicit FilterServer(std::span<const FilterClass> classes);
  ~FilterServer();
  FilterServer(const FilterServer &) = delete;
  FilterServer &operator=(const FilterServer &) = delete;

  // DllGetClassObject: a class object (IClassFactory) of one of the classes;
  // CLASS_E_CLASSNOTAVAILABLE for any other class. Its instances cannot be
  // aggregated (CLASS_E_NOAGGREGATION).
  HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void **ppv);
  // DllCanUnloadNow: S_OK when nothing keeps the library loaded, else S_FALSE.
  HRESULT CanUnloadNow() const;
  // DllRegisterServer. addressInServer is the address of a function or
  // object with internal linkage of the library (its class table will do):
  // an exported name such as DllRegisterServer may resolve to the platform
  // library's own. SELFREG_E_CLASS when the registry cannot be written, or
  // the mapper's failure.
  HRESULT RegisterServer(const void *addressInServer) const;
  // DllUnregisterServer: S_OK also for classes that were not registered.
  HRESULT UnregisterServer() const;

  // What ServerObject and the class objects count.
  void ObjectCreated();
  void ObjectDestroyed();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// Keeps the server's library loaded while the object that holds it lives.
class PLATFORM_FILTERS_API ServerObject {
 public:
  explicit ServerObject(FilterServer &server);
  ~ServerObject();
  ServerObject(const ServerObject &) = delete;
  ServerObject &operator=(const ServerObject &) = delete;

 private:
  FilterServer &m_server;
};

}  // namespace platform::media
