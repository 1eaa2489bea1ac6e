// The in-process server libraries this process has loaded for COM: loaded
// once per file, kept until CoFreeUnusedLibraries finds them unused
// (DllCanUnloadNow gives S_OK) or the last apartment ends.
#pragma once

#include <objbase.h>

#include <string>

namespace platform::com {

// Loads the server library at path if it is not loaded yet and calls its
// DllGetClassObject. HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when the library
// cannot be loaded, CO_E_ERRORINDLL when it has no DllGetClassObject of its
// own; otherwise what DllGetClassObject returns.
HRESULT GetClassObjectFromServer(const std::string &path, REFCLSID rclsid, REFIID riid, void **ppv);

// Unloads the libraries whose DllCanUnloadNow gives S_OK.
void UnloadUnusedServers();
// Unloads every library, used or not.
void UnloadAllServers();

}  // namespace platform::com
