// A window's attributes: state, styles, ids, longs, text, visibility and
// enabled state.
#include <windows.h>

#include <cstring>

#include "windowing/activation.h"
#include "windowing/message_queue.h"
#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

bool ExtraIndexValid(const Window &w, int index, size_t size) {
  return index >= 0 && static_cast<size_t>(index) + size <= w.extra.size();
}

// Tells the window manager's observer what a change of style did.
void TellStyleChange(HWND hwnd, DWORD before, DWORD after) {
  const DWORD changed = before ^ after;
  if (!changed) return;
  auto &manager = WindowManager::Instance();
  if (changed & WS_DISABLED) manager.Notify(hwnd, WindowChange::Enabled);
  if (changed & WS_VISIBLE) manager.Notify(hwnd, WindowChange::Visibility);
  if (changed & ~(WS_DISABLED | WS_VISIBLE)) manager.Notify(hwnd, WindowChange::Style);
}

// Reads (and with `replace` writes) one of the window's longs; returns the old value.
LONG_PTR AccessWindowLong(HWND hwnd, int index, size_t size, const LONG_PTR *replace) {
  auto window = FindOrFail(hwnd);
  if (!window) return 0;
  std::lock_guard lock(WindowManager::Instance().Mutex());
  auto field = [&](auto &member) -> LONG_PTR {
    LONG_PTR old = static_cast<LONG_PTR>(member);
    if (replace) member = static_cast<std::remove_reference_t<decltype(member)>>(*replace);
    return old;
  };
  Window &w = *window;
  switch (index) {
    case GWL_STYLE: {
      const DWORD before = w.style;
      const LONG_PTR old = field(w.style);
      TellStyleChange(hwnd, before, w.style);
      return old;
    }
    case GWL_EXSTYLE: {
      const LONG_PTR old = field(w.exStyle);
      if (replace) WindowManager::Instance().Notify(hwnd, WindowChange::Style);
      return old;
    }
    case GWLP_ID: return field(w.id);
    case GWLP_USERDATA: return field(w.userData);
    case GWLP_HINSTANCE: return field(reinterpret_cast<LONG_PTR &>(w.instance));
    case GWLP_WNDPROC: return field(reinterpret_cast<LONG_PTR &>(w.proc));
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w.parent ? w.parent : w.owner);
    default: break;
  }
  if (!ExtraIndexValid(w, index, size)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR old = 0;
  std::memcpy(&old, &w.extra[static_cast<size_t>(index)], size);
  if (size == sizeof(LONG)) old = static_cast<LONG>(old);
  if (replace) std::memcpy(&w.extra[static_cast<size_t>(index)], replace, size);
  return old;
}

}  // namespace

extern "C" BOOL WINAPI IsWindow(HWND hWnd) { return WindowManager::Instance().Find(hWnd) != nullptr; }

extern "C" BOOL WINAPI IsWindowVisible(HWND hWnd) {
  while (hWnd) {
    if (!(GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE)) return FALSE;
    hWnd = WithWindow<HWND>(hWnd, nullptr, [](const Window &w) { return w.parent; });
  }
  return TRUE;
}

extern "C" BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  return IsWindow(hWnd) && !(GetWindowLongW(hWnd, GWL_STYLE) & WS_DISABLED);
}

extern "C" HWND WINAPI GetParent(HWND hWnd) {
  auto window = FindOrFail(hWnd);
  if (!window) return nullptr;
  std::lock_guard lock(WindowManager::Instance().Mutex());
  if (window->style & WS_CHILD) return window->parent;
  return (window->style & WS_POPUP) ? window->owner : nullptr;
}

extern "C" int WINAPI GetDlgCtrlID(HWND hWnd) { return static_cast<int>(GetWindowLongPtrW(hWnd, GWLP_ID)); }

extern "C" LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
  return static_cast<LONG>(AccessWindowLong(hWnd, nIndex, sizeof(LONG), nullptr));
}

extern "C" LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
  const LONG_PTR value = dwNewLong;
  return static_cast<LONG>(AccessWindowLong(hWnd, nIndex, sizeof(LONG), &value));
}

extern "C" LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
  return AccessWindowLong(hWnd, nIndex, sizeof(LONG_PTR), nullptr);
}

extern "C" LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return AccessWindowLong(hWnd, nIndex, sizeof(LONG_PTR), &dwNewLong);
}

extern "C" DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
  auto window = FindOrFail(hWnd);
  if (!window) return 0;
  if (lpdwProcessId) *lpdwProcessId = GetCurrentProcessId();
  return window->threadId;
}

extern "C" BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  if (!FindOrFail(hWnd)) return FALSE;
  return static_cast<BOOL>(SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

extern "C" int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = L'\0';
  if (!FindOrFail(hWnd)) return 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                       reinterpret_cast<LPARAM>(lpString)));
}

extern "C" int WINAPI GetWindowTextLengthW(HWND hWnd) {
  if (!FindOrFail(hWnd)) return 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

// Returns whether the window was visible before. Showing a top-level window
// activates it unless the command says otherwise.
extern "C" BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  if (!FindOrFail(hWnd)) return FALSE;
  const bool wasVisible = GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE;
  const bool show = nCmdShow != SW_HIDE;
  const bool activate = show && nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE &&
                        nCmdShow != SW_SHOWMINNOACTIVE;
  if (show != wasVisible) SendMessageW(hWnd, WM_SHOWWINDOW, show, 0);
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (!activate) flags |= SWP_NOACTIVATE;
  SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, flags);
  return wasVisible;
}

// Returns whether the window was disabled before. A disabled window loses
// the focus, and an active one its activation.
extern "C" BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  if (!FindOrFail(hWnd)) return FALSE;
  const LONG style = GetWindowLongW(hWnd, GWL_STYLE);
  const bool wasDisabled = style & WS_DISABLED;
  if (wasDisabled == !bEnable) return wasDisabled;
  SetWindowLongW(hWnd, GWL_STYLE, bEnable ? (style & ~WS_DISABLED) : (style | WS_DISABLED));
  if (!bEnable) {
    HWND focus = GetFocus();
    if (focus == hWnd || IsChild(hWnd, focus)) SetFocus(nullptr);
    ActivateNextAfter(hWnd);
  }
  SendMessageW(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return wasDisabled;
}
