// Access to a control's own state, created on first use and kept in its
// window record until the window is destroyed.
#pragma once

#include <memory>

#include "windowing/window_manager.h"

namespace platform::controls {

// Runs `use(state)` under the window manager's lock; returns `fallback`
// when hwnd is not a window. The state must not be used outside `use`.
template <typename State, typename Result, typename Use>
Result WithState(HWND hwnd, Result fallback, Use use) {
  auto &manager = windowing::WindowManager::Instance();
  std::lock_guard lock(manager.Mutex());
  auto window = manager.Find(hwnd);
  if (!window) return fallback;
  if (!window->control) window->control = std::make_unique<State>();
  return use(static_cast<State &>(*window->control), *window);
}

// Sends a WM_COMMAND notification with the control's id to its parent.
void NotifyParent(HWND hwnd, WORD code);

}  // namespace platform::controls
