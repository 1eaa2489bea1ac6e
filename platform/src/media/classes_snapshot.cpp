// Keys below HKEY_CLASSES_ROOT, read as snapshots of the hive and written in
// one change of it.
#include "media/classes_snapshot.h"

#include <cstring>

#include "registry/hive_files.h"
#include "registry/key_handles.h"
#include "registry/value_data.h"

namespace platform::media {
namespace {

struct ClassesLocation {
  registry::Hive hive;
  registry::KeyPath path;
};

ClassesLocation LocationOf(const std::wstring &path) {
  const std::optional<registry::OpenKey> classes = registry::LookUpKey(HKEY_CLASSES_ROOT);
  ClassesLocation location{classes->hive, classes->path};
  for (auto &name : registry::SplitKeyPath(path)) location.path.push_back(std::move(name));
  return location;
}

std::wstring TextOf(const registry::Value &value) {
  const std::vector<uint8_t> data = registry::CallerData(value);
  std::wstring text(data.size() / sizeof(WCHAR), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(WCHAR));
  const size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

}  // namespace

KeySnapshot ReadClassesKey(const std::wstring &path) {
  const ClassesLocation location = LocationOf(path);
  std::shared_ptr<const registry::Key> root;
  if (registry::ReadHive(location.hive, root) != ERROR_SUCCESS) return nullptr;
  const registry::Key *key = registry::FindKey(*root, location.path);
  // The snapshot keeps the whole hive's tree alive.
  return key ? KeySnapshot(root, key) : nullptr;
}

std::optional<std::wstring> StringValue(const registry::Key &key, std::wstring_view name) {
  const registry::Value *value = key.FindValue(name);
  if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
  return TextOf(*value);
}

std::optional<std::vector<uint8_t>> BinaryValue(const registry::Key &key, std::wstring_view name) {
  const registry::Value *value = key.FindValue(name);
  if (!value || value->type != REG_BINARY) return std::nullopt;
  return value->data;
}

ValueToWrite StringToWrite(std::wstring name, const std::wstring &text) {
  std::vector<uint8_t> data((text.size() + 1) * sizeof(WCHAR));
  std::memcpy(data.data(), text.c_str(), data.size());
  return {std::move(name), REG_SZ, std::move(data)};
}

ValueToWrite DwordToWrite(std::wstring name, DWORD value) {
  std::vector<uint8_t> data(sizeof value);
  std::memcpy(data.data(), &value, sizeof value);
  return {std::move(name), REG_DWORD, std::move(data)};
}

ValueToWrite BinaryToWrite(std::wstring name, std::vector<uint8_t> bytes) {
  return {std::move(name), REG_BINARY, std::move(bytes)};
}

HRESULT WriteClassesKey(const std::wstring &path, const std::vector<ValueToWrite> &values) {
  const ClassesLocation location = LocationOf(path);
  const LONG result = registry::ChangeHive(location.hive, [&](registry::Key &root) -> LONG {
    registry::Key *key = &root;
    for (const auto &name : location.path) key = &key->SubkeyCreated(name);
    for (const auto &value : values) {
      key->SetValue({value.name, value.type,
                     registry::StoredData(value.type, value.data.data(), static_cast<DWORD>(value.data.size()))});
    }
    return ERROR_SUCCESS;
  });
  return result == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT DeleteClassesKey(const std::wstring &path) {
  const ClassesLocation location = LocationOf(path);
  bool found = false;
  const LONG result = registry::ChangeHive(location.hive, [&](registry::Key &root) -> LONG {
    registry::KeyPath parentPath = location.path;
    parentPath.pop_back();
    registry::Key *parent = registry::FindKey(root, parentPath);
    found = parent && parent->RemoveSubkey(location.path.back());
    return found ? ERROR_SUCCESS : registry::kNothingChanged;
  });
  if (result != ERROR_SUCCESS) return SELFREG_E_CLASS;
  return found ? S_OK : S_FALSE;
}

std::wstring GuidText(REFGUID guid) {
  WCHAR text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

}  // namespace platform::media
