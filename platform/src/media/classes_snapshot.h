// Keys below HKEY_CLASSES_ROOT read and written whole, for the filter
// mapper and the source lookup: a reader gets one consistent snapshot of a
// key with everything under it (a filter's name, class and data are never
// seen half written), and a writer changes a key's values in one step.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/key_tree.h"

namespace platform::media {

using KeySnapshot = std::shared_ptr<const registry::Key>;

// The key at path (below HKEY_CLASSES_ROOT) as the registry holds it now;
// null when there is no such key or the registry cannot be read.
KeySnapshot ReadClassesKey(const std::wstring &path);

// A REG_SZ or REG_EXPAND_SZ value, without its terminator; empty when the
// value is missing or of another type.
std::optional<std::wstring> StringValue(const registry::Key &key, std::wstring_view name);
// A REG_BINARY value's bytes; empty when the value is missing or of another type.
std::optional<std::vector<uint8_t>> BinaryValue(const registry::Key &key, std::wstring_view name);

struct ValueToWrite {
  std::wstring name;
  DWORD type;                 // REG_SZ, REG_DWORD or REG_BINARY
  std::vector<uint8_t> data;  // as RegSetValueExW takes it
};
ValueToWrite StringToWrite(std::wstring name, const std::wstring &text);
ValueToWrite DwordToWrite(std::wstring name, DWORD value);
ValueToWrite BinaryToWrite(std::wstring name, std::vector<uint8_t> bytes);

// Creates the key at path (below HKEY_CLASSES_ROOT) with the keys above it
// and sets the values, all at once. An HRESULT: SELFREG_E_CLASS when the
// registry cannot be written.
HRESULT WriteClassesKey(const std::wstring &path, const std::vector<ValueToWrite> &values);
// Removes the key at path with everything under it: S_FALSE when there was
// no such key.
HRESULT DeleteClassesKey(const std::wstring &path);

// "{xxxxxxxx-xxxx-...}" in upper case, as the registry spells class keys.
std::wstring GuidText(REFGUID guid);

}  // namespace platform::media
