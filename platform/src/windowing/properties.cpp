// Window properties: SetPropW, GetPropW, RemovePropW. Property names are
// compared case-insensitively, as atoms are.
#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

std::wstring PropertyKey(LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return L"#atom" + std::to_wstring(LOWORD(name));
  std::wstring key(name);
  std::transform(key.begin(), key.end(), key.begin(), [](wchar_t c) { return std::towlower(c); });
  return key;
}

}  // namespace

extern "C" BOOL WINAPI SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData) {
  if (!lpString || !FindOrFail(hWnd)) return FALSE;
  return WithWindow(hWnd, FALSE, [&](Window &w) {
    w.properties[PropertyKey(lpString)] = hData;
    return TRUE;
  });
}

extern "C" HANDLE WINAPI GetPropW(HWND hWnd, LPCWSTR lpString) {
  if (!lpString) return nullptr;
  return WithWindow<HANDLE>(hWnd, nullptr, [&](const Window &w) -> HANDLE {
    auto it = w.properties.find(PropertyKey(lpString));
    return it == w.properties.end() ? nullptr : it->second;
  });
}

extern "C" HANDLE WINAPI RemovePropW(HWND hWnd, LPCWSTR lpString) {
  if (!lpString) return nullptr;
  return WithWindow<HANDLE>(hWnd, nullptr, [&](Window &w) -> HANDLE {
    auto it = w.properties.find(PropertyKey(lpString));
    if (it == w.properties.end()) return nullptr;
    HANDLE data = it->second;
    w.properties.erase(it);
    return data;
  });
}
