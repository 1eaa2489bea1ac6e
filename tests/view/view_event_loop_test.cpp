// One loop on the view's thread: while GetMessageW waits there, Qt's events
// run, and posted messages, sent messages and timers still end the wait.
#include <windows.h>

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <thread>

#include "view_test_support.h"

using namespace view_testing;

namespace {

TEST(ViewEventLoop, QtTimersRunWhileGetMessageWaits) {
  HWND dialog = ShowMainDialog();
  QTimer::singleShot(10, [] { PostThreadMessageW(GetCurrentThreadId(), WM_APP + 7, 42, 0); });
  MSG msg;
  ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 7));
  EXPECT_EQ(msg.wParam, 42u);
  DestroyWindow(dialog);
}

TEST(ViewEventLoop, AnotherThreadsPostAndSendWakeTheWait) {
  HWND dialog = ShowMainDialog();
  const DWORD viewThread = GetCurrentThreadId();
  LRESULT sentResult = 0;
  std::thread other([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    sentResult = SendMessageW(dialog, WM_GETTEXTLENGTH, 0, 0);
    PostThreadMessageW(viewThread, WM_APP + 8, 0, 0);
  });
  MSG msg;
  ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
  other.join();
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 8));
  EXPECT_EQ(sentResult, 7) << "\"Quorvel\", answered while the view's thread waited";
  DestroyWindow(dialog);
}

TEST(ViewEventLoop, PlatformTimersEndTheWaitOnTime) {
  HWND dialog = ShowMainDialog();
  const auto start = std::chrono::steady_clock::now();
  SetTimer(dialog, 5, 30, nullptr);
  MSG msg;
  ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_GE(waited, std::chrono::milliseconds(29));
  EXPECT_LT(waited, std::chrono::seconds(2));
  KillTimer(dialog, 5);
  DestroyWindow(dialog);
}

}  // namespace
