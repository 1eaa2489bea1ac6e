#include "registry/key_handles.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace platform::registry {
namespace {

constexpr REGSAM kGenericRead = 0x80000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kMaximumAllowed = 0x02000000;

const KeyPath &ClassesPath() {
  static const KeyPath path{L"Software", L"Classes"};
  return path;
}

std::optional<OpenKey> PredefinedKey(HKEY key) {
  if (key == HKEY_LOCAL_MACHINE) return OpenKey{Hive::kLocalMachine, {}, KEY_ALL_ACCESS};
  if (key == HKEY_CURRENT_USER) return OpenKey{Hive::kCurrentUser, {}, KEY_ALL_ACCESS};
  if (key == HKEY_CLASSES_ROOT) return OpenKey{Hive::kLocalMachine, ClassesPath(), KEY_ALL_ACCESS};
  return std::nullopt;
}

// Handle values are multiples of four from 0x1000 on, never reused while
// the process runs, so a stale handle is never taken for a new key.
struct HandleTable {
  std::mutex mutex;
  std::map<uintptr_t, OpenKey> keys;
  uintptr_t last = 0xFFC;
};

HandleTable &TheTable() {
  static HandleTable *table = new HandleTable;
  return *table;
}

}  // namespace

std::optional<OpenKey> LookUpKey(HKEY key) {
  if (auto predefined = PredefinedKey(key)) return predefined;
  HandleTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  auto it = table.keys.find(reinterpret_cast<uintptr_t>(key));
  if (it == table.keys.end()) return std::nullopt;
  return it->second;
}

std::optional<OpenKey> RootKeyNamed(std::wstring_view name) {
  if (SameName(name, L"HKEY_CLASSES_ROOT")) return PredefinedKey(HKEY_CLASSES_ROOT);
  if (SameName(name, L"HKEY_CURRENT_USER")) return PredefinedKey(HKEY_CURRENT_USER);
  if (SameName(name, L"HKEY_LOCAL_MACHINE")) return PredefinedKey(HKEY_LOCAL_MACHINE);
  return std::nullopt;
}

HKEY InsertKey(OpenKey key) {
  HandleTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  table.last += 4;
  table.keys.emplace(table.last, std::move(key));
  return reinterpret_cast<HKEY>(table.last);
}

bool CloseKey(HKEY key) {
  if (PredefinedKey(key)) return true;
  HandleTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  return table.keys.erase(reinterpret_cast<uintptr_t>(key)) > 0;
}

REGSAM GrantedAccess(REGSAM samDesired) {
  if (samDesired & (kGenericAll | kMaximumAllowed)) return KEY_ALL_ACCESS;
  REGSAM granted = samDesired & KEY_ALL_ACCESS;
  if (samDesired & kGenericRead) granted |= KEY_READ;
  if (samDesired & kGenericWrite) granted |= KEY_WRITE;
  return granted;
}

bool KeyExists(Hive hive, const Key &root, const KeyPath &path) {
  const KeyPath &classes = ClassesPath();
  const bool aboveClasses = hive == Hive::kLocalMachine && path.size() <= classes.size() &&
                            std::equal(path.begin(), path.end(), classes.begin(), SameName);
  return aboveClasses || FindKey(root, path) != nullptr;
}

}  // namespace platform::registry
