// Classes built into the platform library (the filter graph manager, the
// built-in filters). The platform library is an in-process server of its
// own: its DllGetClassObject serves these classes and its DllRegisterServer
// registers them like any other server's, so every class is created through
// the same registry lookup in CoCreateInstance.
//
// Each class adds itself from a static initializer of the file that
// implements it:
//
//   const bool kRegistered = AddBuiltinClass({&CLSID_FilterGraph, L"Filter Graph", L"Both", &CreateFilterGraph});
//
// A built-in filter also gives its filter registration (merit and pins,
// registered in CLSID_LegacyAmFilterCategory for intelligent connect) and,
// for a file source, the file types AddSourceFilter finds it by; the
// platform's DllRegisterServer registers them as a filter library's does
// (platform_filters/filter_server.h).
#pragma once

#include <objbase.h>
#include <platform_filters/filter_server.h>

#include <optional>
#include <vector>

namespace platform::com {

// Creates an instance of a class: no aggregation unless the class supports it
// (CLASS_E_NOAGGREGATION otherwise), the requested interface in *ppv.
using CreateInstanceFunction = HRESULT (*)(IUnknown *outer, REFIID riid, void **ppv);

struct BuiltinClass {
  const CLSID *clsid;
  const wchar_t *name;            // the class key's default value
  const wchar_t *threadingModel;  // InprocServer32's ThreadingModel
  CreateInstanceFunction create;
  const REGFILTER2 *filter = nullptr;
  const media::SourceFileTypes *fileTypes = nullptr;
};

// Returns true, so it can initialise a static flag.
bool AddBuiltinClass(const BuiltinClass &builtin);
// Empty when the platform has no such class.
std::optional<BuiltinClass> FindBuiltinClass(REFCLSID clsid);
std::vector<BuiltinClass> BuiltinClasses();

}  // namespace platform::com
