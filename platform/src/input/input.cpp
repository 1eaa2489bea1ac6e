#include "input/input.h"

#include "windowing/message_queue.h"
#include "windowing/window_manager.h"

namespace platform::input {

namespace {

bool TakesMouseInput(HWND window) {
  if (!IsWindowVisible(window)) return false;
  for (HWND w = window; w; w = GetAncestor(w, GA_PARENT)) {
    if (!IsWindowEnabled(w)) return false;
  }
  return true;
}

LPARAM PointParam(POINT pt) { return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)); }

bool PostMouse(HWND window, UINT message, WPARAM keys, POINT pt) {
  return PostMessageW(window, message, keys, PointParam(pt)) != FALSE;
}

// Keyboard input goes to the queue of the foreground window's thread.
std::shared_ptr<windowing::MessageQueue> KeyboardQueue() {
  HWND foreground = GetForegroundWindow();
  return foreground ? windowing::QueueOfThread(GetWindowThreadProcessId(foreground, nullptr)) : nullptr;
}

bool PostKey(windowing::MessageQueue &queue, UINT message, WPARAM vk, LPARAM lParam) {
  MSG msg{};
  msg.message = message;
  msg.wParam = vk;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  return queue.PostKeyboardInput(msg);
}

constexpr LPARAM kKeyUpFlags = static_cast<LPARAM>(0xC0000001u);

}  // namespace

bool PressMouse(HWND window, POINT client, bool doubleClick) {
  return TakesMouseInput(window) && PostMouse(window, doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, client);
}

bool MoveMouse(HWND window, POINT client) {
  return TakesMouseInput(window) && PostMouse(window, WM_MOUSEMOVE, MK_LBUTTON, client);
}

bool ReleaseMouse(HWND window, POINT client) {
  return TakesMouseInput(window) && PostMouse(window, WM_LBUTTONUP, 0, client);
}

bool ClickAt(HWND window, POINT client) { return PressMouse(window, client) && ReleaseMouse(window, client); }

bool Click(HWND window) {
  RECT r{};
  if (!GetClientRect(window, &r)) return false;
  return ClickAt(window, POINT{r.right / 2, r.bottom / 2});
}

bool DoubleClickAt(HWND window, POINT client) {
  return ClickAt(window, client) && PressMouse(window, client, true) && ReleaseMouse(window, client);
}

bool Drag(HWND window, POINT from, POINT to, int steps) {
  if (steps < 1) return false;
  bool ok = PressMouse(window, from);
  for (int i = 1; i <= steps && ok; ++i) {
    ok = MoveMouse(window, POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  }
  return ok && ReleaseMouse(window, to);
}

bool ClickCloseBox(HWND topLevel) {
  if (!TakesMouseInput(topLevel) || !(GetWindowLongW(topLevel, GWL_STYLE) & WS_SYSMENU)) return false;
  return PostMessageW(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
}

bool PlaceByUser(HWND topLevel, RECT windowRect) {
  RECT before{};
  if (!GetWindowRect(topLevel, &before) || (GetWindowLongW(topLevel, GWL_STYLE) & WS_CHILD)) return false;
  const bool moved = before.left != windowRect.left || before.top != windowRect.top;
  const bool sized = before.right - before.left != windowRect.right - windowRect.left ||
                     before.bottom - before.top != windowRect.bottom - windowRect.top;
  if (!moved && !sized) return true;
  windowing::WithWindow(topLevel, 0, [&](windowing::Window &w) {
    w.rect = windowRect;
    return 0;
  });
  windowing::WindowManager::Instance().Notify(topLevel, windowing::WindowChange::Rect);
  POINT origin{0, 0};
  ClientToScreen(topLevel, &origin);
  RECT client{};
  GetClientRect(topLevel, &client);
  bool ok = true;
  if (moved) ok = PostMessageW(topLevel, WM_MOVE, 0, PointParam(origin)) != FALSE;
  if (sized) ok = ok && PostMessageW(topLevel, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  return ok;
}

bool PressKey(UINT virtualKey, bool shift) {
  auto queue = KeyboardQueue();
  if (!queue) return false;
  bool ok = true;
  if (shift) ok = PostKey(*queue, WM_KEYDOWN, VK_SHIFT, 1);
  ok = ok && PostKey(*queue, WM_KEYDOWN, virtualKey, 1) && PostKey(*queue, WM_KEYUP, virtualKey, kKeyUpFlags);
  if (shift) ok = ok && PostKey(*queue, WM_KEYUP, VK_SHIFT, kKeyUpFlags);
  return ok;
}

bool TypeText(std::wstring_view text) {
  auto queue = KeyboardQueue();
  if (!queue) return false;
  for (wchar_t ch : text) {
    const LPARAM packet = (static_cast<LPARAM>(static_cast<uint32_t>(ch)) << 16) | 1;
    if (!PostKey(*queue, WM_KEYDOWN, VK_PACKET, packet) || !PostKey(*queue, WM_KEYUP, VK_PACKET, kKeyUpFlags)) {
      return false;
    }
  }
  return true;
}

}  // namespace platform::input
