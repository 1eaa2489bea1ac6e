// Open registry keys: what an HKEY stands for. A handle names a hive, a
// path in it and the access it was opened with. The predefined root keys
// are handles of their own that never close; HKEY_CLASSES_ROOT is the path
// Software\Classes of HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include <optional>

#include "registry/hive_files.h"
#include "registry/key_tree.h"

namespace platform::registry {

struct OpenKey {
  Hive hive;
  KeyPath path;
  REGSAM access;  // the KEY_* rights granted
};

// The key a handle stands for; empty for a handle that is not open.
std::optional<OpenKey> LookUpKey(HKEY key);
HKEY InsertKey(OpenKey key);
// The predefined key of that name (HKEY_LOCAL_MACHINE, ...), ignoring case.
std::optional<OpenKey> RootKeyNamed(std::wstring_view name);
// False for a handle that is not open; the predefined keys stay open.
bool CloseKey(HKEY key);

// The KEY_* rights that samDesired asks for, generic rights mapped.
REGSAM GrantedAccess(REGSAM samDesired);

// Whether the key exists in the hive: keys above and at HKEY_CLASSES_ROOT
// always do, as the predefined keys on Windows do.
bool KeyExists(Hive hive, const Key &root, const KeyPath &path);

}  // namespace platform::registry
