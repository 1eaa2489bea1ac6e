// Mirrors follow their platform windows (caption, icon, place and size,
// visibility, enabled state), windows of other threads included, and a
// window the tester moves on the screen reports its new place.
#include <windows.h>

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "view/view_style.h"
#include "view_test_support.h"

using namespace view_testing;

namespace {

class ViewMirror : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = ShowMainDialog();
    ASSERT_NE(dialog_, nullptr);
    mirror_ = Mirror(dialog_);
    ASSERT_NE(mirror_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    Pump(nullptr);
  }
  HWND dialog_ = nullptr;
  QWidget *mirror_ = nullptr;
};

TEST_F(ViewMirror, RunsOnTheOffscreenPlatformWithoutADisplay) {
  if (getenv("DISPLAY") || getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "there is a display";
  EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
}

TEST_F(ViewMirror, TakesTheWindowsCaptionIconPlaceAndClientSize) {
  RECT window{};
  GetWindowRect(dialog_, &window);
  EXPECT_TRUE(mirror_->isVisible());
  EXPECT_EQ(mirror_->windowTitle(), QStringLiteral("Quorvel"));
  EXPECT_FALSE(mirror_->windowIcon().isNull()) << "the icon the dialog set with WM_SETICON";
  EXPECT_EQ(mirror_->frameGeometry().topLeft(), QPoint(window.left, window.top));
  EXPECT_EQ(mirror_->size(), QSize(440, 245)) << "the client area of 293 x 151 units";
}

TEST_F(ViewMirror, FollowsMovesTextVisibilityAndEnabledState) {
  SetWindowPos(dialog_, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowTextW(dialog_, L"Quorvel - clip.mp4");
  EnableWindow(dialog_, FALSE);
  Pump(dialog_);
  EXPECT_EQ(mirror_->frameGeometry().topLeft(), QPoint(100, 120));
  EXPECT_EQ(mirror_->windowTitle(), QStringLiteral("Quorvel - clip.mp4"));
  EXPECT_FALSE(mirror_->isEnabled());
  ShowWindow(dialog_, SW_HIDE);
  Pump(dialog_);
  EXPECT_FALSE(mirror_->isVisible());
  ShowWindow(dialog_, SW_SHOW);
  Pump(dialog_);
  EXPECT_TRUE(mirror_->isVisible());
  EXPECT_EQ(Mirror(dialog_), mirror_) << "the same mirror comes back";
}

TEST_F(ViewMirror, AMoveOnTheScreenIsReportedToTheWindow) {
  RECT before{};
  GetWindowRect(dialog_, &before);
  mirror_->windowHandle()->setFramePosition(QPoint(300, 200));
  Pump(dialog_);
  RECT after{};
  GetWindowRect(dialog_, &after);
  EXPECT_EQ(after.left, 300);
  EXPECT_EQ(after.top, 200);
  EXPECT_EQ(after.right - after.left, before.right - before.left) << "the size stays";
}

TEST_F(ViewMirror, GoesAwayWithItsWindow) {
  DestroyWindow(dialog_);
  Pump(nullptr);
  EXPECT_EQ(Mirror(dialog_), nullptr);
}

// A window of another thread is mirrored on the view's thread; a click on
// its mirror is handled by its own thread's message loop.
TEST(ViewMirrorThreads, MirrorsAWindowOfAnotherThreadAndSendsItsInputThere) {
  HWND dialog = ShowMainDialog();
  std::atomic<HWND> button{nullptr};
  std::atomic<DWORD> thread{0};
  std::atomic<int> clicks{0};
  std::thread other([&] {
    thread = GetCurrentThreadId();
    HWND window = CreateWindowExW(0, L"#32770", L"Other thread", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 200, 120,
                                  nullptr, nullptr, nullptr, nullptr);
    button = CreateWindowExW(0, L"Button", L"Press", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, window,
                             reinterpret_cast<HMENU>(7), nullptr, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_LBUTTONUP && msg.hwnd == button) ++clicks;
      DispatchMessageW(&msg);
    }
    DestroyWindow(window);
  });
  HWND other_window = nullptr;
  ASSERT_TRUE(Pump(dialog, [&] {
    other_window = button ? GetAncestor(button, GA_ROOT) : nullptr;
    return other_window && Mirror(other_window) && Mirror(other_window)->isVisible();
  }));
  QWidget *mirror = Mirror(other_window);
  EXPECT_EQ(mirror->windowTitle(), QStringLiteral("Other thread"));
  QtClick(mirror, CentreOf(button));
  EXPECT_TRUE(Pump(dialog, [&] { return clicks == 1; }));
  PostThreadMessageW(thread, WM_QUIT, 0, 0);
  other.join();
  DestroyWindow(dialog);
  EXPECT_TRUE(Pump(nullptr, [&] { return Mirror(other_window) == nullptr; }));
}

// The dialog font matches the fixed base units of "MS Shell Dlg" 8: 6 pixels
// of average character width and at most 13 of line height.
TEST(ViewFont, FitsTheDialogBaseUnits) {
  HWND dialog = ShowMainDialog();
  const QFontMetricsF metrics(platform::view::DialogFont());
  const double average =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
  EXPECT_NEAR(average, 6.0, 0.25) << "the font installed is not DejaVu Sans?";
  EXPECT_LE(metrics.height(), 13.0);
  EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("Number of threads")), 92.0) << "its label is 61 units wide";
  DestroyWindow(dialog);
}

}  // namespace
