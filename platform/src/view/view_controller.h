// The view's state on its own thread: one mirror per visible top-level
// platform window. Changes reported from any thread mark a top-level window
// dirty; the view's thread then brings its mirror up to date (created, moved,
// shown, hidden, drawn again, or deleted with the window) the next time it
// runs Qt's events, so many changes cost one update.
#pragma once

#include <windows.h>

#include <QObject>
#include <functional>
#include <map>
#include <memory>

namespace platform::view {

class WindowMirror;

class ViewController : public QObject {
 public:
  ViewController();
  ~ViewController() override;

  // Any thread: the mirror of this top-level window needs updating.
  static void MarkDirty(HWND topLevel);
  // Any thread: runs `task` on the view's thread later; false when the view does not run.
  static bool Post(std::function<void()> task);
  // Any thread: runs `task` on the view's thread and waits for it (at once on
  // the view's thread); false when the view does not run.
  static bool Run(const std::function<void()> &task);

  // The view's thread only.
  static ViewController *Current();
  void Flush();
  WindowMirror *MirrorOf(HWND topLevel) const;

 private:
  void Sync(HWND topLevel);
  WindowMirror *MakeMirror(HWND topLevel);
  void FollowForeground();

  std::map<HWND, std::unique_ptr<WindowMirror>> mirrors_;
  HWND foreground_ = nullptr;
};

}  // namespace platform::view
