// What the benchmark programs share to hold the graph's COM objects and to
// wait for the end of a run.
#pragma once

#include <control.h>
#include <evcode.h>

#include "com/builtin_classes.h"
#include "com/com_object.h"

namespace bench {

using platform::com::ComPtr;

// Holds the reference a creation gave.
template <typename Interface>
ComPtr<Interface> Adopt(Interface *created) {
  ComPtr<Interface> held(created);
  if (created) created->Release();
  return held;
}

template <typename Interface>
ComPtr<Interface> Query(IUnknown *object) {
  Interface *found = nullptr;
  if (object) object->QueryInterface(__uuidof(Interface), reinterpret_cast<void **>(&found));
  return Adopt(found);
}

// A built-in class made without a registry; null when it cannot be made.
template <typename Interface>
ComPtr<Interface> CreateBuiltin(REFCLSID clsid) {
  Interface *created = nullptr;
  const auto builtin = platform::com::FindBuiltinClass(clsid);
  if (builtin) builtin->create(nullptr, __uuidof(Interface), reinterpret_cast<void **>(&created));
  return Adopt(created);
}

// True at EC_COMPLETE; false at EC_ERRORABORT, or when no event came for
// that many milliseconds.
inline bool WaitForCompletion(IMediaEvent *events, LONG timeoutMs) {
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events->GetEvent(&code, &param1, &param2, timeoutMs) == S_OK) {
    events->FreeEventParams(code, param1, param2);
    if (code == EC_COMPLETE) return true;
    if (code == EC_ERRORABORT) return false;
  }
  return false;
}

}  // namespace bench
