// Walking the window tree: IsChild, GetWindow, GetAncestor, EnumWindows,
// EnumChildWindows, EnumThreadWindows, FindWindowW.
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

HWND ParentOf(HWND hwnd) { return WithWindow<HWND>(hwnd, nullptr, [](const Window &w) { return w.parent; }); }

std::vector<HWND> SiblingsOf(HWND hwnd) {
  HWND parent = ParentOf(hwnd);
  auto &manager = WindowManager::Instance();
  return parent ? manager.Children(parent) : manager.TopLevelWindows();
}

HWND Neighbour(HWND hwnd, int step) {
  auto siblings = SiblingsOf(hwnd);
  auto it = std::find(siblings.begin(), siblings.end(), hwnd);
  if (it == siblings.end()) return nullptr;
  const auto index = (it - siblings.begin()) + step;
  return index >= 0 && index < static_cast<ptrdiff_t>(siblings.size()) ? siblings[static_cast<size_t>(index)] : nullptr;
}

// Depth first, each window before its children; false when the callback stopped.
bool EnumerateDescendants(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  for (HWND child : WindowManager::Instance().Children(parent)) {
    if (!IsWindow(child)) continue;
    if (!proc(child, lParam)) return false;
    if (!EnumerateDescendants(child, proc, lParam)) return false;
  }
  return true;
}

}  // namespace

extern "C" BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  if (!hWndParent) return FALSE;
  for (HWND p = ParentOf(hWnd); p; p = ParentOf(p)) {
    if (p == hWndParent) return TRUE;
  }
  return FALSE;
}

extern "C" HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  if (!FindOrFail(hWnd)) return nullptr;
  switch (uCmd) {
    case GW_HWNDFIRST: {
      auto siblings = SiblingsOf(hWnd);
      return siblings.empty() ? nullptr : siblings.front();
    }
    case GW_HWNDLAST: {
      auto siblings = SiblingsOf(hWnd);
      return siblings.empty() ? nullptr : siblings.back();
    }
    case GW_HWNDNEXT: return Neighbour(hWnd, 1);
    case GW_HWNDPREV: return Neighbour(hWnd, -1);
    case GW_OWNER: return WithWindow<HWND>(hWnd, nullptr, [](const Window &w) { return w.owner; });
    case GW_CHILD: {
      auto children = WindowManager::Instance().Children(hWnd);
      return children.empty() ? nullptr : children.front();
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

extern "C" HWND WINAPI GetAncestor(HWND hwnd, UINT gaFlags) {
  if (!FindOrFail(hwnd)) return nullptr;
  switch (gaFlags) {
    case GA_PARENT: return ParentOf(hwnd);
    case GA_ROOT: {
      while (HWND parent = ParentOf(hwnd)) hwnd = parent;
      return hwnd;
    }
    case GA_ROOTOWNER: {
      hwnd = GetAncestor(hwnd, GA_ROOT);
      while (HWND owner = GetWindow(hwnd, GW_OWNER)) hwnd = owner;
      return hwnd;
    }
    default: return nullptr;
  }
}

extern "C" BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (!lpEnumFunc) return FALSE;
  for (HWND hwnd : WindowManager::Instance().TopLevelWindows()) {
    if (IsWindow(hwnd) && !lpEnumFunc(hwnd, lParam)) break;
  }
  return TRUE;
}

extern "C" BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (!lpEnumFunc) return FALSE;
  if (!hWndParent) return EnumWindows(lpEnumFunc, lParam);
  EnumerateDescendants(hWndParent, lpEnumFunc, lParam);
  return TRUE;
}

extern "C" BOOL WINAPI EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam) {
  if (!lpfn) return FALSE;
  bool any = false;
  for (HWND hwnd : WindowManager::Instance().TopLevelWindows()) {
    if (GetWindowThreadProcessId(hwnd, nullptr) != dwThreadId) continue;
    any = true;
    if (!lpfn(hwnd, lParam)) break;
  }
  return any;
}

extern "C" HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
  for (HWND hwnd : WindowManager::Instance().TopLevelWindows()) {
    bool match = WithWindow(hwnd, false, [&](const Window &w) {
      const bool classMatches = !lpClassName || (IS_INTRESOURCE(lpClassName)
                                                     ? w.windowClass->atom == LOWORD(lpClassName)
                                                     : wcscasecmp(w.windowClass->name.c_str(), lpClassName) == 0);
      return classMatches && (!lpWindowName || w.text == lpWindowName);
    });
    if (match) return hwnd;
  }
  return nullptr;
}
