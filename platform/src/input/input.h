// Input entry points: what the mouse and keyboard do, turned into the
// messages Windows would post for it. The screen view calls them for real
// input, and tests call them to act as a tester. Safe from any thread; the
// messages are handled by the receiving thread's message loop.
//
// Mouse input goes to the window under the pointer, given here as the window
// and a point of its client area; a window that is hidden or disabled, or
// whose top-level window is disabled (a modal box is up), takes none.
// Keyboard input goes to the foreground window's thread, and there to the
// window that has the focus (or else the active window) when the thread
// takes it from its queue.
#pragma once

#include <windows.h>

#include <string_view>

namespace platform::input {

// The left button's single steps, as the screen view reports real input:
// pressed (twice quickly: a double click), moved while held, released.
bool PressMouse(HWND window, POINT client, bool doubleClick = false);
bool MoveMouse(HWND window, POINT client);
bool ReleaseMouse(HWND window, POINT client);

bool ClickAt(HWND window, POINT client);
bool Click(HWND window);  // at the centre of its client area
bool DoubleClickAt(HWND window, POINT client);
bool Drag(HWND window, POINT from, POINT to, int steps = 4);
// The close box of a top-level window's caption.
bool ClickCloseBox(HWND topLevel);
// The tester moved or resized a top-level window on the screen: it takes the
// new rectangle (screen coordinates, frame included) and hears WM_MOVE and
// WM_SIZE for what changed.
bool PlaceByUser(HWND topLevel, RECT windowRect);

bool PressKey(UINT virtualKey, bool shift = false);
// Each character arrives as VK_PACKET, which TranslateMessage turns into WM_CHAR.
bool TypeText(std::wstring_view text);

}  // namespace platform::input
