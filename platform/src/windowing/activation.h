// Activation and keyboard focus, kept per thread as Windows does: each
// thread has its own active top-level window and focus window.
#pragma once

#include <windows.h>

namespace platform::windowing {

// Makes a top-level window of this thread the active one, sending
// WM_NCACTIVATE and WM_ACTIVATE to the window losing and the one gaining
// activation. Returns the previously active window.
HWND Activate(HWND hwnd);
// After hwnd was hidden or disabled: if it was active, activates its owner
// when that can take it, else the topmost other visible window of the thread.
void ActivateNextAfter(HWND hwnd);
// Drops a destroyed window from its thread's active and focus state.
void ForgetKeyboardState(HWND hwnd);

}  // namespace platform::windowing
