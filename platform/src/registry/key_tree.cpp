#include "registry/key_tree.h"

#include <algorithm>
#include <cwctype>

namespace platform::registry {

bool SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(static_cast<wint_t>(x)) == std::towupper(static_cast<wint_t>(y));
         });
}

KeyPath SplitKeyPath(std::wstring_view path) {
  KeyPath parts;
  while (!path.empty()) {
    const size_t end = std::min(path.find(L'\\'), path.size());
    if (end > 0) parts.emplace_back(path.substr(0, end));
    path.remove_prefix(std::min(end + 1, path.size()));
  }
  return parts;
}

const Key *Key::FindSubkey(std::wstring_view name) const {
  auto it =
      std::find_if(m_subkeys.begin(), m_subkeys.end(), [&](const auto &key) { return SameName(key->Name(), name); });
  return it == m_subkeys.end() ? nullptr : it->get();
}

Key *Key::FindSubkey(std::wstring_view name) {
  return const_cast<Key *>(static_cast<const Key *>(this)->FindSubkey(name));
}

Key &Key::SubkeyCreated(std::wstring_view name) {
  if (Key *existing = FindSubkey(name)) return *existing;
  return *m_subkeys.emplace_back(std::make_unique<Key>(std::wstring(name)));
}

bool Key::RemoveSubkey(std::wstring_view name) {
  return std::erase_if(m_subkeys, [&](const auto &key) { return SameName(key->Name(), name); }) > 0;
}

const Value *Key::FindValue(std::wstring_view name) const {
  auto it = std::find_if(m_values.begin(), m_values.end(), [&](const Value &v) { return SameName(v.name, name); });
  return it == m_values.end() ? nullptr : &*it;
}

void Key::SetValue(Value value) {
  auto it =
      std::find_if(m_values.begin(), m_values.end(), [&](const Value &v) { return SameName(v.name, value.name); });
  if (it == m_values.end()) {
    m_values.push_back(std::move(value));
  } else {
    // The name keeps the case it was first created with, as on Windows.
    it->type = value.type;
    it->data = std::move(value.data);
  }
}

bool Key::RemoveValue(std::wstring_view name) {
  return std::erase_if(m_values, [&](const Value &v) { return SameName(v.name, name); }) > 0;
}

std::unique_ptr<Key> Key::Clone() const {
  auto copy = std::make_unique<Key>(m_name);
  copy->m_values = m_values;
  for (const auto &subkey : m_subkeys) copy->m_subkeys.push_back(subkey->Clone());
  return copy;
}

const Key *FindKey(const Key &root, const KeyPath &path) {
  const Key *key = &root;
  for (const auto &name : path) {
    key = key->FindSubkey(name);
    if (!key) return nullptr;
  }
  return key;
}

Key *FindKey(Key &root, const KeyPath &path) {
  return const_cast<Key *>(FindKey(static_cast<const Key &>(root), path));
}

}  // namespace platform::registry
