// The compiled resources of a module in the 32-bit .res format that resource
// compilers write: a sequence of entries, each a RESOURCEHEADER (data size,
// header size, type, name, data version, memory flags, language, version,
// characteristics) followed by its data, every header and every data block
// starting on a DWORD boundary. The first entry is an empty marker.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "resources/name_or_ordinal.h"

namespace platform::resources {

struct ResourceEntry {
  NameOrOrdinal type;
  NameOrOrdinal name;
  LANGID language = 0;
  std::span<const uint8_t> data;
};

// Reads every entry but the empty ones. Returns false when the bytes are not
// a well-formed .res image; never reads past the end.
bool ParseResFile(std::span<const uint8_t> bytes, std::vector<ResourceEntry> &entries);

// Finds a resource the way FindResourceExW does: the entries of the type and
// name, in the language asked for, else in its primary language with the
// neutral sublanguage, else in the neutral language, else in any language.
// On failure returns null with the Windows error in error:
// ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND.
const ResourceEntry *FindResourceEntry(std::span<const ResourceEntry> entries, const NameOrOrdinal &type,
                                       const NameOrOrdinal &name, LANGID language, DWORD &error);

}  // namespace platform::resources
