// The resource table of each loaded module, read from its embedded .res
// image the first time it is asked for and kept for the life of the process,
// so that resource handles (HRSRC) stay valid as on Windows.
#pragma once

#include <windows.h>

#include "resources/res_file.h"

namespace platform::resources {

// FindResourceEntry over the resources of a module (null: the main program).
// On failure sets the thread's last error and returns null; a handle that
// names no loaded module, or a module without well-formed resources, gives
// ERROR_RESOURCE_DATA_NOT_FOUND.
const ResourceEntry *FindModuleResource(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language);

// The entry behind a resource handle, and the handle of an entry.
inline const ResourceEntry *EntryFromHandle(HRSRC resource) {
  return reinterpret_cast<const ResourceEntry *>(resource);
}
inline HRSRC HandleFromEntry(const ResourceEntry *entry) {
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry *>(entry));
}

}  // namespace platform::resources
