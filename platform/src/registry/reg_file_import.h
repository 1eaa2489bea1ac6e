// Import of a .reg file into the registry, as the registry editor merges
// one: keys created, values set, "[-KEY]" and "name"=- deleting.
#pragma once

#include <windows.h>

#include <string>

#include "registry/reg_file.h"

namespace platform::registry {

// ERROR_SUCCESS, or ERROR_FILE_NOT_FOUND / ERROR_ACCESS_DENIED for the file,
// or ERROR_INVALID_DATA with the line and reason in error when the file is not in
// the export format or names another root key. Nothing is imported then.
LONG ImportRegFile(const std::string &path, RegFileError &error);

}  // namespace platform::registry
