#include "input/input.h"

#include "windowing/message_queue.h"

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

bool ClickAt(HWND window, POINT client) {
  if (!TakesMouseInput(window)) return false;
  return PostMouse(window, WM_LBUTTONDOWN, MK_LBUTTON, client) && PostMouse(window, WM_LBUTTONUP, 0, client);
}

bool Click(HWND window) {
  RECT r{};
  if (!GetClientRect(window, &r)) return false;
  return ClickAt(window, POINT{r.right / 2, r.bottom / 2});
}

bool DoubleClickAt(HWND window, POINT client) {
  return ClickAt(window, client) && PostMouse(window, WM_LBUTTONDBLCLK, MK_LBUTTON, client) &&
         PostMouse(window, WM_LBUTTONUP, 0, client);
}

bool Drag(HWND window, POINT from, POINT to, int steps) {
  if (!TakesMouseInput(window) || steps < 1) return false;
  bool ok = PostMouse(window, WM_LBUTTONDOWN, MK_LBUTTON, from);
  for (int i = 1; i <= steps && ok; ++i) {
    const POINT pt{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    ok = PostMouse(window, WM_MOUSEMOVE, MK_LBUTTON, pt);
  }
  return ok && PostMouse(window, WM_LBUTTONUP, 0, to);
}

bool ClickCloseBox(HWND topLevel) {
  if (!TakesMouseInput(topLevel) || !(GetWindowLongW(topLevel, GWL_STYLE) & WS_SYSMENU)) return false;
  return PostMessageW(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
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
