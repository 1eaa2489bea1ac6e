// Creating and destroying windows: CreateWindowExW, DestroyWindow.
#include <windows.h>

#include "windowing/activation.h"
#include "windowing/geometry.h"
#include "windowing/message_queue.h"
#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

// Windows' defaults for CW_USEDEFAULT: a top-level window at the screen's
// origin, 640 x 480 pixels; a child window gets 0 for either.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

HWND TopLevelAncestor(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

RECT InitialRect(DWORD style, int x, int y, int cx, int cy) {
  const bool child = style & WS_CHILD;
  if (x == CW_USEDEFAULT) x = y = 0;
  if (cx == CW_USEDEFAULT) {
    cx = child ? 0 : kDefaultWidth;
    cy = child ? 0 : kDefaultHeight;
  }
  return RECT{x, y, x + cx, y + cy};
}

bool SendCreateMessages(HWND hwnd, CREATESTRUCTW &cs) {
  const auto lp = reinterpret_cast<LPARAM>(&cs);
  if (!SendMessageW(hwnd, WM_NCCREATE, 0, lp)) return false;
  if (!IsWindow(hwnd)) return false;
  return SendMessageW(hwnd, WM_CREATE, 0, lp) != -1 && IsWindow(hwnd);
}

void SendDestroyMessages(HWND hwnd) {
  SendMessageW(hwnd, WM_DESTROY, 0, 0);
  for (HWND child : WindowManager::Instance().Children(hwnd)) SendDestroyMessages(child);
}

void SendNcDestroyAndRemove(HWND hwnd) {
  for (HWND child : WindowManager::Instance().Children(hwnd)) SendNcDestroyAndRemove(child);
  if (auto queue = QueueOfThread(GetWindowThreadProcessId(hwnd, nullptr))) queue->KillWindowTimers(hwnd);
  SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
  ForgetKeyboardState(hwnd);
  WindowManager::Instance().Remove(hwnd);
}

void DestroyOwnedWindows(HWND owner) {
  for (HWND hwnd : WindowManager::Instance().TopLevelWindows()) {
    if (WithWindow<HWND>(hwnd, nullptr, [](const Window &w) { return w.owner; }) == owner) DestroyWindow(hwnd);
  }
}

}  // namespace

extern "C" HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle,
                                       int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                       HINSTANCE hInstance, LPVOID lpParam) {
  auto &manager = WindowManager::Instance();
  auto cls = manager.FindClass(lpClassName, hInstance);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  const bool child = dwStyle & WS_CHILD;
  if (child && !IsWindow(hWndParent)) {
    SetLastError(hWndParent ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (!child && hWndParent && !IsWindow(hWndParent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  CurrentQueue();  // a thread that creates a window gets its queue
  auto window = manager.Create(cls, child ? hWndParent : nullptr, child ? nullptr : TopLevelAncestor(hWndParent));
  const HWND hwnd = window->handle;
  {
    std::lock_guard lock(manager.Mutex());
    window->style = dwStyle & ~WS_VISIBLE;
    window->exStyle = dwExStyle;
    window->id = child ? reinterpret_cast<LONG_PTR>(hMenu) : 0;
    window->instance = hInstance;
    window->rect = InitialRect(dwStyle, X, Y, nWidth, nHeight);
  }
  CREATESTRUCTW cs{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X, static_cast<LONG>(dwStyle),
                   lpWindowName, lpClassName, dwExStyle};
  if (!SendCreateMessages(hwnd, cs)) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

// Owned windows go first; then WM_DESTROY reaches the window before its
// children and WM_NCDESTROY its children before the window, as on Windows.
extern "C" BOOL WINAPI DestroyWindow(HWND hWnd) {
  auto window = FindOrFail(hWnd);
  if (!window) return FALSE;
  if (window->threadId != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  {
    std::lock_guard lock(WindowManager::Instance().Mutex());
    if (window->destroying) return TRUE;
    window->destroying = true;
  }
  DestroyOwnedWindows(hWnd);
  if (IsWindowVisible(hWnd)) {
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | (GetActiveWindow() == hWnd ? 0 : SWP_NOACTIVATE));
  }
  SendDestroyMessages(hWnd);
  SendNcDestroyAndRemove(hWnd);
  return TRUE;
}
