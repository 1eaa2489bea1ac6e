// How the platform reaches the view: the window manager's observer and the
// open-file dialog's chooser, installed when the platform library loads. The
// first top-level window shown starts the view on the thread that shows it.
#include "commdlg/file_dialog.h"
#include "view/file_chooser.h"
#include "view/video_frames.h"
#include "view/view_controller.h"
#include "view/view_thread.h"
#include "view/window_snapshot.h"
#include "windowing/window_manager.h"

namespace platform::view {

namespace {

using windowing::WindowChange;

bool IsShownTopLevel(HWND hwnd) {
  return windowing::WithWindow(hwnd, false, [](const windowing::Window &w) {
    return !w.parent && (w.style & WS_VISIBLE);
  });
}

class ScreenObserver final : public windowing::WindowObserver {
 public:
  void WindowChanged(HWND hwnd, WindowChange change) override {
    if (change == WindowChange::Destroyed) ForgetVideoFrame(hwnd);
    if (change == WindowChange::Visibility && IsShownTopLevel(hwnd)) EnsureViewStarted();
    ViewController::MarkDirty(RootOf(hwnd));
  }
};

struct Installation {
  Installation() {
    static ScreenObserver *observer = new ScreenObserver;  // lives as long as the window manager
    windowing::WindowManager::Instance().SetObserver(observer);
    commdlg::SetFileChooser(ChooseFileOnScreen);
  }
};

const Installation g_installation;

}  // namespace

}  // namespace platform::view
