// The registry functions of advapi32: keys opened, created and deleted,
// values set, queried and deleted, on the hive files of hive_files.h.
#include <windows.h>

#include <cstring>

#include "registry/hive_files.h"
#include "registry/key_handles.h"
#include "registry/value_data.h"

namespace platform::registry {
namespace {

std::wstring_view NameOrDefault(LPCWSTR name) { return name ? std::wstring_view(name) : std::wstring_view(); }

KeyPath Below(const OpenKey &parent, LPCWSTR subKey) {
  KeyPath path = parent.path;
  for (auto &name : SplitKeyPath(NameOrDefault(subKey))) path.push_back(std::move(name));
  return path;
}

// The open key behind hKey if it grants the rights asked for.
LONG Resolve(HKEY hKey, REGSAM rights, OpenKey &key) {
  std::optional<OpenKey> found = LookUpKey(hKey);
  if (!found) return ERROR_INVALID_HANDLE;
  if ((found->access & rights) != rights) return ERROR_ACCESS_DENIED;
  key = std::move(*found);
  return ERROR_SUCCESS;
}

LONG CreateMissingKeys(Key &root, const KeyPath &path, DWORD &disposition) {
  Key *key = &root;
  disposition = FindKey(root, path) ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  if (disposition == REG_OPENED_EXISTING_KEY) return kNothingChanged;
  for (const auto &name : path) key = &key->SubkeyCreated(name);
  return ERROR_SUCCESS;
}

}  // namespace
}  // namespace platform::registry

using namespace platform::registry;

extern "C" LSTATUS WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                                        HKEY *phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  OpenKey parent;
  if (LONG result = Resolve(hKey, 0, parent)) return result;
  KeyPath path = Below(parent, lpSubKey);
  std::shared_ptr<const Key> root;
  if (LONG result = ReadHive(parent.hive, root)) return result;
  if (!KeyExists(parent.hive, *root, path)) return ERROR_FILE_NOT_FOUND;
  *phkResult = InsertKey({parent.hive, std::move(path), GrantedAccess(samDesired)});
  return ERROR_SUCCESS;
}

// Volatile keys are kept like any other: the registry has no session to end with.
extern "C" LSTATUS WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                                          REGSAM samDesired, struct _SECURITY_ATTRIBUTES *lpSecurityAttributes,
                                          HKEY *phkResult, LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  OpenKey parent;
  if (LONG result = Resolve(hKey, 0, parent)) return result;
  KeyPath path = Below(parent, lpSubKey);
  DWORD disposition = 0;
  const LONG result = ChangeHive(parent.hive, [&](Key &root) -> LONG {
    if (!KeyExists(parent.hive, root, parent.path)) return ERROR_KEY_DELETED;
    if (!FindKey(root, path) && !(parent.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    return CreateMissingKeys(root, path, disposition);
  });
  if (result != ERROR_SUCCESS) return result;
  if (lpdwDisposition) *lpdwDisposition = disposition;
  *phkResult = InsertKey({parent.hive, std::move(path), GrantedAccess(samDesired)});
  return ERROR_SUCCESS;
}

extern "C" LSTATUS WINAPI RegCloseKey(HKEY hKey) { return CloseKey(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

extern "C" LSTATUS WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                           LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  OpenKey open;
  if (LONG result = Resolve(hKey, KEY_QUERY_VALUE, open)) return result;
  std::shared_ptr<const Key> root;
  if (LONG result = ReadHive(open.hive, root)) return result;
  if (!KeyExists(open.hive, *root, open.path)) return ERROR_KEY_DELETED;
  const Key *key = FindKey(*root, open.path);
  const Value *value = key ? key->FindValue(NameOrDefault(lpValueName)) : nullptr;
  if (!value) return ERROR_FILE_NOT_FOUND;
  const std::vector<uint8_t> data = CallerData(*value);
  if (lpType) *lpType = value->type;
  const DWORD capacity = lpcbData ? *lpcbData : 0;
  if (lpcbData) *lpcbData = static_cast<DWORD>(data.size());
  if (!lpData) return ERROR_SUCCESS;
  if (capacity < data.size()) return ERROR_MORE_DATA;
  if (!data.empty()) std::memcpy(lpData, data.data(), data.size());
  return ERROR_SUCCESS;
}

extern "C" LSTATUS WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                                         const BYTE *lpData, DWORD cbData) {
  if (!lpData && cbData) return ERROR_NOACCESS;
  OpenKey open;
  if (LONG result = Resolve(hKey, KEY_SET_VALUE, open)) return result;
  Value value{std::wstring(NameOrDefault(lpValueName)), dwType, StoredData(dwType, lpData, cbData)};
  return ChangeHive(open.hive, [&](Key &root) -> LONG {
    if (!KeyExists(open.hive, root, open.path)) return ERROR_KEY_DELETED;
    Key *key = &root;
    for (const auto &name : open.path) key = &key->SubkeyCreated(name);
    key->SetValue(value);
    return ERROR_SUCCESS;
  });
}

extern "C" LSTATUS WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  OpenKey open;
  if (LONG result = Resolve(hKey, KEY_SET_VALUE, open)) return result;
  return ChangeHive(open.hive, [&](Key &root) -> LONG {
    if (!KeyExists(open.hive, root, open.path)) return ERROR_KEY_DELETED;
    Key *key = FindKey(root, open.path);
    return key && key->RemoveValue(NameOrDefault(lpValueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

extern "C" LSTATUS WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  OpenKey parent;
  if (LONG result = Resolve(hKey, 0, parent)) return result;
  const KeyPath path = Below(parent, lpSubKey);
  return ChangeHive(parent.hive, [&](Key &root) -> LONG {
    Key *key = FindKey(root, path);
    if (!key) return KeyExists(parent.hive, root, path) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
    if (path.empty() || !key->Subkeys().empty()) return ERROR_ACCESS_DENIED;
    FindKey(root, KeyPath(path.begin(), path.end() - 1))->RemoveSubkey(path.back());
    return ERROR_SUCCESS;
  });
}

extern "C" LSTATUS WINAPI RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
  OpenKey parent;
  if (LONG result = Resolve(hKey, 0, parent)) return result;
  const KeyPath path = Below(parent, lpSubKey);
  const bool keepKey = !lpSubKey || path == parent.path;
  return ChangeHive(parent.hive, [&](Key &root) -> LONG {
    Key *key = FindKey(root, path);
    if (!key) return KeyExists(parent.hive, root, path) ? kNothingChanged : ERROR_FILE_NOT_FOUND;
    if (keepKey || path.empty()) {
      *key = Key(key->Name());
    } else {
      FindKey(root, KeyPath(path.begin(), path.end() - 1))->RemoveSubkey(path.back());
    }
    return ERROR_SUCCESS;
  });
}
