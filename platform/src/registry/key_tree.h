// The registry's keys in memory: a tree of keys, each with typed values.
// Key and value names are compared without regard to case, as Windows does,
// and keep the case they were created with.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry {

// Value data in its stored form: strings as UTF-16LE bytes, exactly as
// many bytes as were set (a terminator or an even count is not required).
struct Value {
  std::wstring name;  // empty for the key's default value
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
};

class Key {
 public:
  explicit Key(std::wstring name) : m_name(std::move(name)) {}

  const std::wstring &Name() const { return m_name; }

  const Key *FindSubkey(std::wstring_view name) const;
  Key *FindSubkey(std::wstring_view name);
  // The subkey of that name, created when missing.
  Key &SubkeyCreated(std::wstring_view name);
  // False when there is no such subkey.
  bool RemoveSubkey(std::wstring_view name);
  const std::vector<std::unique_ptr<Key>> &Subkeys() const { return m_subkeys; }

  const Value *FindValue(std::wstring_view name) const;
  void SetValue(Value value);
  // False when there is no such value.
  bool RemoveValue(std::wstring_view name);
  const std::vector<Value> &Values() const { return m_values; }

  std::unique_ptr<Key> Clone() const;

 private:
  std::wstring m_name;
  std::vector<std::unique_ptr<Key>> m_subkeys;
  std::vector<Value> m_values;
};

// A key path split at its backslashes; empty components are dropped.
using KeyPath = std::vector<std::wstring>;
KeyPath SplitKeyPath(std::wstring_view path);

bool SameName(std::wstring_view a, std::wstring_view b);

// The key at path below root, or null.
const Key *FindKey(const Key &root, const KeyPath &path);
Key *FindKey(Key &root, const KeyPath &path);

}  // namespace platform::registry
