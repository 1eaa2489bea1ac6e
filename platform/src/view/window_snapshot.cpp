#include "view/window_snapshot.h"

#include <cwchar>

#include "windowing/message_queue.h"
#include "windowing/metrics.h"
#include "windowing/window_manager.h"

namespace platform::view {

namespace {

using windowing::Window;

HICON IconOf(const Window &w) {
  for (const wchar_t *name : {windowing::kSmallIconProperty, windowing::kBigIconProperty}) {
    auto it = w.properties.find(name);
    if (it != w.properties.end() && it->second) return static_cast<HICON>(it->second);
  }
  return w.windowClass->iconSmall ? w.windowClass->iconSmall : w.windowClass->icon;
}

}  // namespace

bool WindowSnapshot::IsClass(const wchar_t *name) const { return wcscasecmp(className.c_str(), name) == 0; }

RECT WindowSnapshot::ClientInWindow() const {
  return RECT{insets.left, insets.top, Width() - insets.right, Height() - insets.bottom};
}

bool ReadWindow(HWND hwnd, WindowSnapshot &out) {
  DWORD thread = 0;
  const bool found = windowing::WithWindow(hwnd, false, [&](const Window &w) {
    out.hwnd = hwnd;
    out.className = w.windowClass->name;
    out.text = w.text;
    out.style = w.style;
    out.exStyle = w.exStyle;
    out.instance = w.instance;
    out.parent = w.parent;
    out.owner = w.owner;
    out.rect = w.rect;
    out.insets = windowing::NonClientInsets(w.style, w.exStyle);
    out.children = w.children;
    out.icon = IconOf(w);
    thread = w.threadId;
    return true;
  });
  if (!found) return false;
  // The queue's lock is never taken inside the manager's.
  auto queue = windowing::QueueOfThread(thread);
  out.focused = queue && queue->Focus() == hwnd;
  out.active = queue && queue->Active() == hwnd;
  return true;
}

HWND RootOf(HWND hwnd) {
  for (;;) {
    HWND parent = windowing::WithWindow<HWND>(hwnd, nullptr, [](const Window &w) { return w.parent; });
    if (!parent) return hwnd;
    hwnd = parent;
  }
}

}  // namespace platform::view
