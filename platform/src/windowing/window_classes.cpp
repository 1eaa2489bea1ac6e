// Window classes: RegisterClass(Ex)W, UnregisterClassW, GetClassInfoExW,
// GetClassNameW, Get/SetClassLongPtrW.
#include <windows.h>

#include <cstring>

#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

std::shared_ptr<WindowClass> ClassOf(HWND hwnd) {
  return WithWindow<std::shared_ptr<WindowClass>>(hwnd, nullptr, [](const Window &w) { return w.windowClass; });
}

// Reads (and with `replace` writes) one of the class's longs; returns the old value.
ULONG_PTR AccessClassLong(HWND hwnd, int index, const LONG_PTR *replace) {
  auto cls = ClassOf(hwnd);
  if (!cls) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::lock_guard lock(WindowManager::Instance().Mutex());
  auto field = [&](auto &member) -> ULONG_PTR {
    ULONG_PTR old = (ULONG_PTR)(member);
    if (replace) member = (std::remove_reference_t<decltype(member)>)(*replace);
    return old;
  };
  switch (index) {
    case GCLP_HICON: return field(cls->icon);
    case GCLP_HICONSM: return field(cls->iconSmall);
    case GCLP_HCURSOR: return field(cls->cursor);
    case GCLP_HBRBACKGROUND: return field(cls->background);
    case GCLP_WNDPROC: return field(cls->proc);
    case GCLP_HMODULE: return field(cls->instance);
    case GCL_STYLE: return field(cls->style);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(cls->wndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(cls->clsExtra);
    case GCW_ATOM: return cls->atom;
    default: break;
  }
  if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > cls->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  ULONG_PTR old = 0;
  std::memcpy(&old, &cls->extra[static_cast<size_t>(index)], sizeof old);
  if (replace) std::memcpy(&cls->extra[static_cast<size_t>(index)], replace, sizeof *replace);
  return old;
}

}  // namespace

extern "C" ATOM WINAPI RegisterClassExW(const WNDCLASSEXW *lpWndClass) {
  if (!lpWndClass || lpWndClass->cbSize != sizeof(WNDCLASSEXW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return WindowManager::Instance().RegisterClass(*lpWndClass, false);
}

extern "C" ATOM WINAPI RegisterClassW(const WNDCLASSW *lpWndClass) {
  if (!lpWndClass) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW wc{sizeof wc,
                 lpWndClass->style,
                 lpWndClass->lpfnWndProc,
                 lpWndClass->cbClsExtra,
                 lpWndClass->cbWndExtra,
                 lpWndClass->hInstance,
                 lpWndClass->hIcon,
                 lpWndClass->hCursor,
                 lpWndClass->hbrBackground,
                 lpWndClass->lpszMenuName,
                 lpWndClass->lpszClassName,
                 nullptr};
  return RegisterClassExW(&wc);
}

extern "C" BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  return WindowManager::Instance().UnregisterClass(lpClassName, hInstance);
}

extern "C" BOOL WINAPI GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx) {
  auto cls = WindowManager::Instance().FindClass(lpszClass, hInstance);
  if (!cls || !lpwcx) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *lpwcx = WNDCLASSEXW{sizeof(WNDCLASSEXW), cls->style, cls->proc, cls->clsExtra, cls->wndExtra, cls->instance,
                       cls->icon, cls->cursor, cls->background, nullptr, lpszClass, cls->iconSmall};
  return cls->atom;
}

// The class name as it was registered ("Button", "msctls_trackbar32"), however
// the creator spelled it.
extern "C" int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  auto cls = ClassOf(hWnd);
  if (!cls) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!lpClassName || nMaxCount <= 0) return 0;
  const size_t n = std::min(cls->name.size(), static_cast<size_t>(nMaxCount - 1));
  wmemcpy(lpClassName, cls->name.c_str(), n);
  lpClassName[n] = L'\0';
  return static_cast<int>(n);
}

extern "C" ULONG_PTR WINAPI GetClassLongPtrW(HWND hWnd, int nIndex) { return AccessClassLong(hWnd, nIndex, nullptr); }

extern "C" ULONG_PTR WINAPI SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return AccessClassLong(hWnd, nIndex, &dwNewLong);
}
