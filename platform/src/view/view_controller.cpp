#include "view/view_controller.h"

#include <QThread>
#include <mutex>
#include <set>

#include "view/window_mirror.h"
#include "view/window_snapshot.h"

namespace platform::view {

namespace {

// Shared with the threads that report changes; never held while reading windows.
std::mutex g_mutex;
ViewController *g_controller = nullptr;
std::set<HWND> g_dirty;
bool g_flushPosted = false;

std::set<HWND> TakeDirty() {
  std::lock_guard lock(g_mutex);
  g_flushPosted = false;
  return std::exchange(g_dirty, {});
}

}  // namespace

ViewController::ViewController() {
  std::lock_guard lock(g_mutex);
  g_controller = this;
}

ViewController::~ViewController() {
  std::lock_guard lock(g_mutex);
  g_controller = nullptr;
  g_dirty.clear();
}

void ViewController::MarkDirty(HWND topLevel) {
  std::lock_guard lock(g_mutex);
  if (!g_controller) return;
  g_dirty.insert(topLevel);
  if (g_flushPosted) return;
  g_flushPosted = true;
  ViewController *controller = g_controller;
  QMetaObject::invokeMethod(controller, [controller] { controller->Flush(); }, Qt::QueuedConnection);
}

bool ViewController::Post(std::function<void()> task) {
  std::lock_guard lock(g_mutex);
  if (!g_controller) return false;
  QMetaObject::invokeMethod(g_controller, std::move(task), Qt::QueuedConnection);
  return true;
}

bool ViewController::Run(const std::function<void()> &task) {
  ViewController *controller;
  {
    std::lock_guard lock(g_mutex);
    controller = g_controller;
  }
  if (!controller) return false;
  if (QThread::currentThread() == controller->thread()) {
    task();
    return true;
  }
  return QMetaObject::invokeMethod(controller, task, Qt::BlockingQueuedConnection);
}

ViewController *ViewController::Current() {
  std::lock_guard lock(g_mutex);
  return g_controller && QThread::currentThread() == g_controller->thread() ? g_controller : nullptr;
}

void ViewController::Flush() {
  for (HWND topLevel : TakeDirty()) Sync(topLevel);
  FollowForeground();
}

WindowMirror *ViewController::MirrorOf(HWND topLevel) const {
  auto it = mirrors_.find(topLevel);
  return it == mirrors_.end() ? nullptr : it->second.get();
}

// A mirror is made the first time its window is visible and kept while the
// window lives, hidden or shown with it.
void ViewController::Sync(HWND topLevel) {
  WindowSnapshot w;
  if (!ReadWindow(topLevel, w) || w.parent) {
    mirrors_.erase(topLevel);
    return;
  }
  WindowMirror *mirror = MirrorOf(topLevel);
  if (!mirror && !w.Visible()) return;
  if (!mirror) mirror = MakeMirror(topLevel);
  mirror->Sync(w);
}

WindowMirror *ViewController::MakeMirror(HWND topLevel) {
  WindowSnapshot w;
  ReadWindow(topLevel, w);
  auto mirror = std::make_unique<WindowMirror>(w, MirrorOf(w.owner));
  return mirrors_.emplace(topLevel, std::move(mirror)).first->second.get();
}

// The platform's foreground window is the one raised and active on the screen.
void ViewController::FollowForeground() {
  HWND foreground = GetForegroundWindow();
  if (foreground == foreground_) return;
  WindowMirror *mirror = MirrorOf(foreground);
  if (!mirror || !mirror->isVisible()) return;
  foreground_ = foreground;
  mirror->raise();
  mirror->activateWindow();
}

}  // namespace platform::view
