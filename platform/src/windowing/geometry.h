// Window geometry in screen coordinates.
#pragma once

#include <windows.h>

namespace platform::windowing {

// The window rectangle in screen coordinates; empty when hwnd is not a window.
RECT ScreenRect(HWND hwnd);
// The screen position of the client area's top-left corner.
POINT ClientOrigin(HWND hwnd);
// The client area's size.
SIZE ClientSize(HWND hwnd);

}  // namespace platform::windowing
