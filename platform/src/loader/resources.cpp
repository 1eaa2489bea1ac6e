// Finding, loading and locking the resources of a module. As on Windows since
// resources stopped being moveable memory, a loaded resource is the address of
// its data in the module and locking it returns that address.
#include <windows.h>

#include "resources/module_resources.h"

using platform::resources::EntryFromHandle;
using platform::resources::FindModuleResource;
using platform::resources::HandleFromEntry;

// FindResourceW takes the name before the type; FindResourceExW the type first.
extern "C" HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  return FindResourceExW(hModule, lpType, lpName, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
}

extern "C" HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
  return HandleFromEntry(FindModuleResource(hModule, lpType, lpName, wLanguage));
}

extern "C" HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  if (!hResInfo) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<uint8_t *>(EntryFromHandle(hResInfo)->data.data());
}

extern "C" LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

extern "C" DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  if (!hResInfo) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(EntryFromHandle(hResInfo)->data.size());
}
