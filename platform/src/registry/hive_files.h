// Where the registry lives and how its files are read and written.
//
// The registry is a folder with one file per hive, HKEY_LOCAL_MACHINE.reg
// and HKEY_CURRENT_USER.reg, in the registry editor's export format (UTF-8).
// HKEY_CLASSES_ROOT is no file of its own: it is HKEY_LOCAL_MACHINE\Software\Classes.
//
// The folder is, in this order: $QUORVEL_REGISTRY; /var/lib/quorvel/registry
// when this user may write there (or create it); otherwise the user's own
// ${XDG_DATA_HOME:-~/.local/share}/quorvel/registry.
//
// Readers read a whole file; a writer takes the folder's lock file (flock),
// reads the hive again, changes it, writes a temporary file and renames it
// over the hive, so readers in any process see either the old or the new
// file, never half of one, and concurrent writers never lose each other's
// changes.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "registry/key_tree.h"

namespace platform::registry {

enum class Hive { kLocalMachine, kCurrentUser };

const wchar_t *HiveRootName(Hive hive);

std::string RegistryFolder();

// The hive as its file holds it now (an empty hive when there is no file).
// ERROR_REGISTRY_CORRUPT when the file is not in the export format.
LONG ReadHive(Hive hive, std::shared_ptr<const Key> &root);

// What a change returns when it found nothing to do: the file is left as it is.
constexpr LONG kNothingChanged = -1;

// Calls change on a copy of the hive's current content while holding the
// registry's lock, and writes the copy back when change returns
// ERROR_SUCCESS. Returns ERROR_SUCCESS or the error of change or of the files.
LONG ChangeHive(Hive hive, const std::function<LONG(Key &root)> &change);

}  // namespace platform::registry
