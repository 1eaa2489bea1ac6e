#include "registry/reg_file_import.h"

#include <cerrno>
#include <fstream>
#include <sstream>

#include "registry/hive_files.h"
#include "registry/key_handles.h"

namespace platform::registry {
namespace {

void ApplySection(Key &root, const KeyPath &path, const RegFileSection &section) {
  if (section.remove) {
    if (path.empty()) return;
    if (Key *parent = FindKey(root, KeyPath(path.begin(), path.end() - 1))) parent->RemoveSubkey(path.back());
    return;
  }
  Key *key = &root;
  for (const auto &name : path) key = &key->SubkeyCreated(name);
  for (const RegFileValue &entry : section.values) {
    if (entry.remove) {
      key->RemoveValue(entry.value.name);
    } else {
      key->SetValue(entry.value);
    }
  }
}

LONG ApplyToHive(Hive hive, const std::vector<std::pair<KeyPath, const RegFileSection *>> &sections) {
  return ChangeHive(hive, [&](Key &root) -> LONG {
    for (const auto &[path, section] : sections) ApplySection(root, path, *section);
    return ERROR_SUCCESS;
  });
}

}  // namespace

LONG ImportRegFile(const std::string &path, RegFileError &error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  RegFileContent content = ParseRegFile(DecodeRegFileBytes(bytes.str()));
  if (content.error) {
    error = *content.error;
    return ERROR_INVALID_DATA;
  }
  std::vector<std::pair<KeyPath, const RegFileSection *>> byHive[2];
  for (const RegFileSection &section : content.sections) {
    std::optional<OpenKey> root = RootKeyNamed(section.root);
    if (!root) {
      error = {section.line, "unknown root key"};
      return ERROR_INVALID_DATA;
    }
    KeyPath keyPath = root->path;
    keyPath.insert(keyPath.end(), section.path.begin(), section.path.end());
    byHive[root->hive == Hive::kLocalMachine ? 0 : 1].emplace_back(std::move(keyPath), &section);
  }
  for (Hive hive : {Hive::kLocalMachine, Hive::kCurrentUser}) {
    const auto &sections = byHive[hive == Hive::kLocalMachine ? 0 : 1];
    if (sections.empty()) continue;
    if (LONG result = ApplyToHive(hive, sections)) return result;
  }
  return ERROR_SUCCESS;
}

}  // namespace platform::registry
