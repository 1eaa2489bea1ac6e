// The window manager's state: window classes and windows of this process.
//
// Every window is a Window record in one table, keyed by its handle. Handles
// carry the process id in their high 32 bits and a serial number in the low
// ones, so handles are unique across the processes of a desktop. All fields
// are guarded by the manager's mutex; window procedures are never called
// with it held. A record stays alive (shared_ptr) while a procedure that
// received it still runs, even if the window is destroyed meanwhile.
//
// Geometry: a top-level window's rectangle is in screen coordinates, a
// child's in its parent's client coordinates; the client rectangle is the
// window rectangle less the non-client frame its styles give (metrics.h).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform::windowing {

struct WindowClass {
  std::wstring name;  // the spelling it was registered with
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  bool system = false;  // registered by the platform for every process
  std::vector<uint8_t> extra;
};

// State the dialog manager keeps for a dialog window.
struct DialogState {
  bool ended = false;
  INT_PTR result = 0;
  HWND savedFocus = nullptr;
  int baseUnitX = 0;
  int baseUnitY = 0;
  UINT defaultId = 0;
};

// Per-window state of a control, owned by its window record.
struct ControlState {
  virtual ~ControlState() = default;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  DWORD threadId = 0;
  std::wstring text;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // child windows only
  HWND owner = nullptr;   // top-level windows only
  LONG_PTR id = 0;        // child id (GWLP_ID)
  HINSTANCE instance = nullptr;
  WNDPROC proc = nullptr;
  LONG_PTR userData = 0;
  std::vector<uint8_t> extra;  // cbWndExtra bytes (DWLP_* for dialogs)
  RECT rect{};
  std::vector<HWND> children;  // z-order, topmost first
  std::map<std::wstring, HANDLE> properties;
  std::unique_ptr<DialogState> dialog;
  std::unique_ptr<ControlState> control;
  bool destroying = false;
};

// Properties where WM_SETICON keeps a window's own icons.
inline constexpr wchar_t kBigIconProperty[] = L"#icon.big";
inline constexpr wchar_t kSmallIconProperty[] = L"#icon.small";

// What changed about a window, as the screen view hears it.
enum class WindowChange { Created, Destroyed, Text, Style, Rect, ZOrder, Visibility, Enabled, Icon, Invalidated };

// Told of every change to what a window looks like. Called on the thread that
// made the change, possibly with the manager's lock held, so it must neither
// call window procedures nor wait for another thread. A destroyed window is
// still in the table while its Destroyed change is told.
class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  virtual void WindowChanged(HWND hwnd, WindowChange change) = 0;
};

class WindowManager {
 public:
  static WindowManager &Instance();

  std::recursive_mutex &Mutex() { return mutex_; }

  // Classes.
  ATOM RegisterClass(const WNDCLASSEXW &wc, bool system);
  bool UnregisterClass(LPCWSTR name, HINSTANCE instance);
  std::shared_ptr<WindowClass> FindClass(LPCWSTR name, HINSTANCE instance);

  // Windows. Find returns null for a handle that is not a live window of this process.
  std::shared_ptr<Window> Find(HWND hwnd);
  std::shared_ptr<Window> Create(const std::shared_ptr<WindowClass> &cls, HWND parent, HWND owner);
  void Remove(HWND hwnd);
  void ForgetThreadWindows(DWORD threadId);

  // Z-order: top-level windows of the process, or the children of a window; topmost first.
  std::vector<HWND> TopLevelWindows();
  std::vector<HWND> Children(HWND parent);
  void MoveInZOrder(HWND hwnd, HWND insertAfter);

  // Calls the window's current procedure; 0 when hwnd is not a window.
  LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // One observer at a time (the screen view); null removes it.
  void SetObserver(WindowObserver *observer) { observer_ = observer; }
  void Notify(HWND hwnd, WindowChange change) {
    if (WindowObserver *observer = observer_) observer->WindowChanged(hwnd, change);
  }

 private:
  WindowManager();
  std::vector<HWND> &SiblingList(const Window &window);

  std::recursive_mutex mutex_;
  std::vector<std::shared_ptr<WindowClass>> classes_;
  std::map<HWND, std::shared_ptr<Window>> windows_;
  std::vector<HWND> topLevel_;  // z-order, topmost first
  uint32_t nextSerial_ = 0x10;
  ATOM nextAtom_ = 0xC000;
  std::atomic<WindowObserver *> observer_{nullptr};
};

// Reads or changes a live window under the manager's lock; `fallback` when hwnd is not one.
template <typename T, typename Read>
T WithWindow(HWND hwnd, T fallback, Read read) {
  auto &manager = WindowManager::Instance();
  std::lock_guard lock(manager.Mutex());
  auto window = manager.Find(hwnd);
  return window ? read(*window) : fallback;
}

// Sets the last error to ERROR_INVALID_WINDOW_HANDLE and returns null when hwnd is not a window.
std::shared_ptr<Window> FindOrFail(HWND hwnd);

}  // namespace platform::windowing
