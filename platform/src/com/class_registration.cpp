#include "com/class_registration.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "loader/modules.h"
#include "text/utf.h"

namespace platform::com {
namespace {

std::wstring ClassKeyPath(REFCLSID clsid) {
  WCHAR text[40];
  StringFromGUID2(clsid, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

// Sets a REG_SZ value of the key at path, creating the key.
bool SetString(const std::wstring &path, const wchar_t *name, const std::wstring &value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::string ExpandEnvironmentReferences(const std::string &text) {
  std::string expanded;
  for (size_t i = 0; i < text.size();) {
    const size_t end = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
    const char *value = end != std::string::npos ? std::getenv(text.substr(i + 1, end - i - 1).c_str()) : nullptr;
    if (value) {
      expanded += value;
      i = end + 1;
    } else {
      expanded += text[i++];
    }
  }
  return expanded;
}

}  // namespace

HRESULT RegisterServerClass(const void *addressInServer, const ServerClass &serverClass) {
  const std::string modulePath = loader::ModulePath(loader::ModuleContaining(addressInServer));
  char *fullPath = modulePath.empty() ? nullptr : realpath(modulePath.c_str(), nullptr);
  if (!fullPath) return SELFREG_E_CLASS;
  const std::wstring libraryPath = text::FromUtf8(fullPath);
  free(fullPath);
  const std::wstring classKey = ClassKeyPath(*serverClass.clsid);
  const std::wstring serverKey = classKey + L"\\InprocServer32";
  const bool written = SetString(classKey, nullptr, serverClass.name) && SetString(serverKey, nullptr, libraryPath) &&
                       SetString(serverKey, L"ThreadingModel", serverClass.threadingModel);
  return written ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterServerClass(REFCLSID clsid) {
  const LONG result = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath(clsid).c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

HRESULT InprocServerPath(REFCLSID clsid, std::string &path) {
  HKEY key = nullptr;
  const std::wstring serverKey = ClassKeyPath(clsid) + L"\\InprocServer32";
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return REGDB_E_CLASSNOTREG;
  }
  DWORD type = 0;
  DWORD size = 0;
  LONG result = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size);
  std::vector<WCHAR> buffer(size / sizeof(WCHAR) + 1, L'\0');
  if (result == ERROR_SUCCESS) {
    result = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(buffer.data()), &size);
  }
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || buffer[0] == L'\0') {
    return REGDB_E_CLASSNOTREG;
  }
  path = text::ToUtf8(buffer.data());
  if (type == REG_EXPAND_SZ) path = ExpandEnvironmentReferences(path);
  return S_OK;
}

}  // namespace platform::com
