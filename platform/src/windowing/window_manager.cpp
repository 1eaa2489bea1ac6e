#include "windowing/window_manager.h"

#include <unistd.h>

#include <algorithm>
#include <cwchar>

#include "windowing/system_classes.h"

namespace platform::windowing {

namespace {

bool SameClassName(const std::wstring &registered, LPCWSTR wanted) {
  return wcscasecmp(registered.c_str(), wanted) == 0;
}

bool ClassMatches(const WindowClass &cls, LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return cls.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  return SameClassName(cls.name, name);
}

}  // namespace

WindowManager &WindowManager::Instance() {
  // Created once and never destroyed: windows may be looked up during process exit.
  static WindowManager *manager = [] {
    auto *m = new WindowManager();
    RegisterSystemClasses(*m);
    return m;
  }();
  return *manager;
}

WindowManager::WindowManager() = default;

ATOM WindowManager::RegisterClass(const WNDCLASSEXW &wc, bool system) {
  std::lock_guard lock(mutex_);
  if (!wc.lpszClassName || !wc.lpfnWndProc || wc.cbClsExtra < 0 || wc.cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (const auto &cls : classes_) {
    if (ClassMatches(*cls, wc.lpszClassName) && (cls->system == system) &&
        (system || cls->instance == wc.hInstance)) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto cls = std::make_shared<WindowClass>();
  cls->name = IS_INTRESOURCE(wc.lpszClassName) ? L"" : wc.lpszClassName;
  cls->atom = system && cls->name == L"#32770" ? 0x8002 : nextAtom_++;
  cls->style = wc.style;
  cls->proc = wc.lpfnWndProc;
  cls->clsExtra = wc.cbClsExtra;
  cls->wndExtra = wc.cbWndExtra;
  cls->instance = wc.hInstance;
  cls->icon = wc.hIcon;
  cls->iconSmall = wc.hIconSm;
  cls->cursor = wc.hCursor;
  cls->background = wc.hbrBackground;
  cls->system = system;
  cls->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
  classes_.push_back(cls);
  return cls->atom;
}

bool WindowManager::UnregisterClass(LPCWSTR name, HINSTANCE instance) {
  std::lock_guard lock(mutex_);
  auto it = std::find_if(classes_.begin(), classes_.end(), [&](const auto &cls) {
    return !cls->system && ClassMatches(*cls, name) && cls->instance == instance;
  });
  if (it == classes_.end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  for (const auto &[handle, window] : windows_) {
    if (window->windowClass == *it) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return false;
    }
  }
  classes_.erase(it);
  return true;
}

// Lookup order as on Windows: a class of the given module, then a global
// class of the process, then the system classes.
std::shared_ptr<WindowClass> WindowManager::FindClass(LPCWSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  std::lock_guard lock(mutex_);
  auto find = [&](auto accept) -> std::shared_ptr<WindowClass> {
    for (const auto &cls : classes_) {
      if (ClassMatches(*cls, name) && accept(*cls)) return cls;
    }
    return nullptr;
  };
  if (auto cls = find([&](const WindowClass &c) { return !c.system && c.instance == instance; })) return cls;
  if (auto cls = find([](const WindowClass &c) { return !c.system && (c.style & CS_GLOBALCLASS); })) return cls;
  return find([](const WindowClass &c) { return c.system; });
}

std::shared_ptr<Window> WindowManager::Find(HWND hwnd) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second;
}

std::shared_ptr<Window> WindowManager::Create(const std::shared_ptr<WindowClass> &cls, HWND parent, HWND owner) {
  std::lock_guard lock(mutex_);
  auto window = std::make_shared<Window>();
  const uint64_t handle = (static_cast<uint64_t>(getpid()) << 32) | nextSerial_;
  nextSerial_ += 2;
  window->handle = reinterpret_cast<HWND>(handle);
  window->windowClass = cls;
  window->threadId = GetCurrentThreadId();
  window->parent = parent;
  window->owner = owner;
  window->proc = cls->proc;
  window->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  windows_[window->handle] = window;
  if (parent) {
    // A new child goes to the bottom of its siblings: creation order is tab order.
    windows_[parent]->children.push_back(window->handle);
  } else {
    topLevel_.insert(topLevel_.begin(), window->handle);
  }
  Notify(window->handle, WindowChange::Created);
  return window;
}

std::vector<HWND> &WindowManager::SiblingList(const Window &window) {
  return window.parent ? windows_.at(window.parent)->children : topLevel_;
}

void WindowManager::Remove(HWND hwnd) {
  std::lock_guard lock(mutex_);
  auto window = Find(hwnd);
  if (!window) return;
  Notify(hwnd, WindowChange::Destroyed);
  if (!window->parent || windows_.count(window->parent)) std::erase(SiblingList(*window), hwnd);
  windows_.erase(hwnd);
}

void WindowManager::ForgetThreadWindows(DWORD threadId) {
  std::lock_guard lock(mutex_);
  std::vector<HWND> gone;
  for (const auto &[handle, window] : windows_) {
    if (window->threadId == threadId) gone.push_back(handle);
  }
  for (HWND hwnd : gone) Notify(hwnd, WindowChange::Destroyed);
  for (HWND hwnd : gone) {
    std::erase(topLevel_, hwnd);
    windows_.erase(hwnd);
  }
  for (auto &[handle, window] : windows_) {
    std::erase_if(window->children, [&](HWND child) { return !windows_.count(child); });
  }
}

std::vector<HWND> WindowManager::TopLevelWindows() {
  std::lock_guard lock(mutex_);
  return topLevel_;
}

std::vector<HWND> WindowManager::Children(HWND parent) {
  std::lock_guard lock(mutex_);
  auto window = Find(parent);
  return window ? window->children : std::vector<HWND>{};
}

void WindowManager::MoveInZOrder(HWND hwnd, HWND insertAfter) {
  std::lock_guard lock(mutex_);
  auto window = Find(hwnd);
  if (!window) return;
  auto &siblings = SiblingList(*window);
  std::erase(siblings, hwnd);
  auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
  if (insertAfter == HWND_BOTTOM) {
    siblings.push_back(hwnd);
  } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || after == siblings.end()) {
    siblings.insert(siblings.begin(), hwnd);
  } else {
    siblings.insert(after + 1, hwnd);
  }
  Notify(hwnd, WindowChange::ZOrder);
}

LRESULT WindowManager::Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = WithWindow<WNDPROC>(hwnd, nullptr, [](const Window &w) { return w.proc; });
  return proc ? CallWindowProcW(proc, hwnd, message, wParam, lParam) : 0;
}

std::shared_ptr<Window> FindOrFail(HWND hwnd) {
  auto window = WindowManager::Instance().Find(hwnd);
  if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return window;
}

}  // namespace platform::windowing
