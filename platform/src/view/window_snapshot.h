// What the view reads of a platform window to draw it: one consistent copy
// taken under the window manager's lock, without calling the window's
// procedure, so windows of any thread can be drawn from the view's thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform::view {

struct WindowSnapshot {
  HWND hwnd = nullptr;
  std::wstring className;
  std::wstring text;
  DWORD style = 0;
  DWORD exStyle = 0;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;
  HWND owner = nullptr;
  RECT rect{};    // in the parent's client coordinates; the screen's for a top-level window
  RECT insets{};  // the non-client frame around the client area
  std::vector<HWND> children;  // topmost first
  HICON icon = nullptr;        // the window's own icon, else its class icon
  bool focused = false;        // the keyboard focus of its thread
  bool active = false;         // the active window of its thread

  bool IsClass(const wchar_t *name) const;
  bool Enabled() const { return !(style & WS_DISABLED); }
  bool Visible() const { return style & WS_VISIBLE; }
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
  // The client area in the window's own coordinates (0, 0 at the window's corner).
  RECT ClientInWindow() const;
};

// False when hwnd is not a window of this process.
bool ReadWindow(HWND hwnd, WindowSnapshot &out);

// The top-level window a window belongs to (itself for a top-level window).
HWND RootOf(HWND hwnd);

}  // namespace platform::view
