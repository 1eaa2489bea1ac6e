// Activation, focus and mouse capture: SetActiveWindow, GetActiveWindow,
// SetFocus, GetFocus, SetCapture, ReleaseCapture, GetCapture,
// BringWindowToTop and the foreground window.
#include "windowing/activation.h"

#include <atomic>

#include "windowing/message_queue.h"
#include "windowing/window_manager.h"

namespace platform::windowing {

namespace {

std::atomic<HWND> g_foreground{nullptr};

bool IsTopLevel(HWND hwnd) { return IsWindow(hwnd) && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD); }

HWND RootOf(HWND hwnd) { return GetAncestor(hwnd, GA_ROOT); }

bool CanBeActive(HWND hwnd) { return IsTopLevel(hwnd) && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

DWORD ThreadOf(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr); }

HWND NextToActivate(HWND leaving) {
  HWND owner = GetWindow(leaving, GW_OWNER);
  if (CanBeActive(owner)) return owner;
  for (HWND hwnd : WindowManager::Instance().TopLevelWindows()) {
    if (hwnd != leaving && ThreadOf(hwnd) == GetCurrentThreadId() && CanBeActive(hwnd)) return hwnd;
  }
  return nullptr;
}

}  // namespace

HWND Activate(HWND hwnd) {
  auto &queue = CurrentQueue();
  const HWND previous = queue.Active();
  if (hwnd == previous) return previous;
  queue.SetActiveWindow(hwnd);
  if (IsWindow(previous)) {
    SendMessageW(previous, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
  }
  if (hwnd) {
    g_foreground = hwnd;
    WindowManager::Instance().MoveInZOrder(hwnd, HWND_TOP);
    SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(previous));
  } else if (!IsWindow(g_foreground.load())) {
    g_foreground = nullptr;
  }
  return previous;
}

void ActivateNextAfter(HWND hwnd) {
  auto queue = QueueOfThread(ThreadOf(hwnd));
  if (!queue || queue->Active() != hwnd || ThreadOf(hwnd) != GetCurrentThreadId()) return;
  Activate(NextToActivate(hwnd));
}

void ForgetKeyboardState(HWND hwnd) {
  auto queue = QueueOfThread(ThreadOf(hwnd));
  if (!queue) return;
  if (queue->Focus() == hwnd) queue->SetFocusWindow(nullptr);
  if (queue->Active() == hwnd) queue->SetActiveWindow(nullptr);
  if (queue->Capture() == hwnd) queue->SetCaptureWindow(nullptr);
  HWND expected = hwnd;
  g_foreground.compare_exchange_strong(expected, nullptr);
}

}  // namespace platform::windowing

using namespace platform::windowing;

extern "C" HWND WINAPI GetActiveWindow(void) { return CurrentQueue().Active(); }

extern "C" HWND WINAPI SetActiveWindow(HWND hWnd) {
  if (hWnd && (!IsTopLevel(hWnd) || ThreadOf(hWnd) != GetCurrentThreadId())) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return Activate(hWnd);
}

extern "C" HWND WINAPI GetForegroundWindow(void) { return g_foreground.load(); }

extern "C" BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  if (!IsTopLevel(hWnd)) return FALSE;
  if (ThreadOf(hWnd) == GetCurrentThreadId()) Activate(hWnd);
  g_foreground = hWnd;
  return TRUE;
}

extern "C" BOOL WINAPI BringWindowToTop(HWND hWnd) {
  if (!FindOrFail(hWnd)) return FALSE;
  WindowManager::Instance().MoveInZOrder(hWnd, HWND_TOP);
  if (IsTopLevel(hWnd) && ThreadOf(hWnd) == GetCurrentThreadId() && IsWindowVisible(hWnd)) Activate(hWnd);
  return TRUE;
}

extern "C" HWND WINAPI GetFocus(void) { return CurrentQueue().Focus(); }

// Focus moves only between windows of the calling thread; the window's
// top-level ancestor is activated first. WM_KILLFOCUS reaches the old focus
// before WM_SETFOCUS reaches the new one.
extern "C" HWND WINAPI SetFocus(HWND hWnd) {
  auto &queue = CurrentQueue();
  const HWND previous = queue.Focus();
  if (hWnd) {
    if (!FindOrFail(hWnd)) return nullptr;
    if (ThreadOf(hWnd) != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    const HWND root = RootOf(hWnd);
    if (queue.Active() != root) Activate(root);
  }
  if (hWnd == queue.Focus()) return previous;
  queue.SetFocusWindow(hWnd);
  if (IsWindow(previous)) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  if (hWnd && queue.Focus() == hWnd) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

extern "C" HWND WINAPI GetCapture(void) { return CurrentQueue().Capture(); }

// The window that loses the capture hears WM_CAPTURECHANGED.
extern "C" HWND WINAPI SetCapture(HWND hWnd) {
  auto &queue = CurrentQueue();
  const HWND previous = queue.Capture();
  queue.SetCaptureWindow(hWnd);
  if (previous && previous != hWnd && IsWindow(previous)) {
    SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  }
  return previous;
}

extern "C" BOOL WINAPI ReleaseCapture(void) {
  SetCapture(nullptr);
  return TRUE;
}
