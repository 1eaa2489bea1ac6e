#include "view/view_thread.h"

#include <QApplication>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "view/clipboard_bridge.h"
#include "view/qt_waiter.h"
#include "view/view_controller.h"
#include "windowing/message_queue.h"
#include "windowing/window_manager.h"

namespace platform::view {

namespace {

enum class State { NotStarted, Running, Ended, Disabled };

std::mutex g_stateMutex;
State g_state = State::NotStarted;

bool Disabled() {
  const char *setting = getenv("QUORVEL_VIEW");
  return setting && strcmp(setting, "off") == 0;
}

void ChooseQtPlatform() {
  if (getenv("QT_QPA_PLATFORM") || getenv("DISPLAY") || getenv("WAYLAND_DISPLAY")) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// The offscreen platform has no window manager; its notices that it cannot
// raise windows or pass on size hints say nothing about the program.
QtMessageHandler g_nextMessageHandler = nullptr;

void DropOffscreenNotices(QtMsgType type, const QMessageLogContext &context, const QString &message) {
  if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) return;
  g_nextMessageHandler(type, context, message);
}

// QApplication keeps references to its arguments for its whole life.
int g_argc = 1;
char *g_argv[] = {program_invocation_short_name, nullptr};

// The view on its thread, from start to the thread's end.
class ViewThread {
 public:
  ViewThread() : application_(g_argc, g_argv), controller_(std::make_unique<ViewController>()) {
    QApplication::setQuitOnLastWindowClosed(false);
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
      g_nextMessageHandler = qInstallMessageHandler(DropOffscreenNotices);
    }
    windowing::CurrentQueue().ReplaceWaiter(MakeQtEventLoopWaiter());
    windowing::SetClipboardBackend(QtClipboardBackend());
  }

  ~ViewThread() {
    {
      std::lock_guard lock(g_stateMutex);
      g_state = State::Ended;
    }
    windowing::SetClipboardBackend({});
    windowing::CurrentQueue().ReplaceWaiter(nullptr);
    controller_.reset();
    if (g_nextMessageHandler) qInstallMessageHandler(g_nextMessageHandler);
  }

 private:
  QApplication application_;
  std::unique_ptr<ViewController> controller_;
};

// Destroyed when the view's thread ends (for the main thread: at exit,
// before static objects), and before the thread's message queue, which was
// made first.
thread_local std::unique_ptr<ViewThread> t_view;

// Every visible top-level window gets its mirror.
void MirrorVisibleWindows() {
  for (HWND hwnd : windowing::WindowManager::Instance().TopLevelWindows()) {
    if (IsWindowVisible(hwnd)) ViewController::MarkDirty(hwnd);
  }
}

}  // namespace

bool EnsureViewStarted() {
  {
    std::lock_guard lock(g_stateMutex);
    if (g_state != State::NotStarted) return g_state == State::Running;
    if (Disabled()) {
      g_state = State::Disabled;
      return false;
    }
    windowing::CurrentQueue();
    ChooseQtPlatform();
    t_view = std::make_unique<ViewThread>();
    g_state = State::Running;
  }
  MirrorVisibleWindows();
  return true;
}

}  // namespace platform::view
