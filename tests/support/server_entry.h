// Calls one of an in-process server library's own entry points
// (DllRegisterServer, DllUnregisterServer), as the registration tool does.
#pragma once

#include <objbase.h>

#include "com/server_library.h"

namespace testing_support {

// E_UNEXPECTED when the library cannot be loaded or has no such export.
inline HRESULT CallServerEntry(const char *libraryPath, const char *entryPoint) {
  platform::com::ServerLibrary library(libraryPath);
  auto entry = library.Export<HRESULT(STDAPICALLTYPE *)()>(entryPoint);
  return entry ? entry() : E_UNEXPECTED;
}

}  // namespace testing_support
