// Message queues: send versus post, other threads, WM_QUIT, timers.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "message_log.h"

using testing_support::CreateRecorder;
using testing_support::Describe;
using testing_support::LoggedMessage;
using testing_support::MessageLog;
using testing_support::PumpMessages;

namespace {

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;
constexpr UINT kThird = WM_APP + 3;

class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PumpMessages();
    MessageLog::Instance().Clear();
    window_ = CreateRecorder(L"queue test");
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window_);
    PumpMessages();
  }
  std::vector<UINT> AppMessages() const { return MessageLog::Instance().MessageIds({kFirst, kSecond, kThird}); }

  HWND window_ = nullptr;
};

// Waits for `done` while serving this thread's messages, for at most 5 s.
template <typename Done>
bool PumpUntil(Done done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    PumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST_F(MessageQueueTest, SentMessageArrivesAtOnceAndPostedOneWhenPumped) {
  PostMessageW(window_, kFirst, 1, 0);
  SendMessageW(window_, kSecond, 2, 0);
  PumpMessages();
  const std::vector<LoggedMessage> expected = {{window_, kSecond, 2, 0, false, 0}, {window_, kFirst, 1, 0, true, 0}};
  EXPECT_EQ(MessageLog::Instance().Messages({kFirst, kSecond}), expected)
      << "got " << Describe(AppMessages());
}

TEST_F(MessageQueueTest, MessagesPostedFromAnotherThreadKeepTheirOrder) {
  const DWORD mainThread = GetCurrentThreadId();
  std::thread poster([&] {
    PostMessageW(window_, kFirst, 0, 0);
    PostMessageW(window_, kSecond, 0, 0);
    PostThreadMessageW(mainThread, kThird, 7, 0);
  });
  poster.join();
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, kFirst);
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, kSecond);
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, kThird);
  EXPECT_EQ(msg.hwnd, nullptr) << "a thread message has no window";
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageQueueTest, QuitIsRetrievedOnlyAfterPostedMessages) {
  PostQuitMessage(7);
  PostMessageW(window_, kFirst, 0, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, kFirst);
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0)) << "WM_QUIT makes GetMessageW return FALSE";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit is taken once";
}

TEST_F(MessageQueueTest, SendFromAnotherThreadWaitsForTheReceiverAndReturnsItsResult) {
  std::atomic<bool> replied{false};
  std::atomic<LRESULT> result{0};
  std::thread sender([&] {
    result = SendMessageW(window_, WM_GETTEXTLENGTH, 0, 0);
    replied = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(replied) << "the sender waits until the receiving thread takes the message";
  EXPECT_TRUE(PumpUntil([&] { return replied.load(); }));
  sender.join();
  EXPECT_EQ(result.load(), static_cast<LRESULT>(wcslen(L"queue test")));
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "a sent message never shows in the queue";
}

TEST_F(MessageQueueTest, WaitingSenderServesMessagesSentBackToIt) {
  // The other thread's window, when it gets kFirst, sends kSecond back to
  // ours while our SendMessageW is still waiting for its reply.
  std::atomic<HWND> remote{nullptr};
  std::atomic<bool> stop{false};
  std::thread other([&] {
    HWND w = CreateRecorder(L"other thread");
    remote = w;
    while (!stop) {
      PumpMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    DestroyWindow(w);
  });
  ASSERT_TRUE(PumpUntil([&] { return remote.load() != nullptr; }));
  SetWindowLongPtrW(remote, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window_));
  struct Forward {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
      if (msg != kFirst) return DefWindowProcW(hwnd, msg, wp, lp);
      auto back = reinterpret_cast<HWND>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      return SendMessageW(back, WM_GETTEXTLENGTH, 0, 0) + 1;
    }
  };
  SetWindowLongPtrW(remote, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Forward::Proc));
  EXPECT_EQ(SendMessageW(remote, kFirst, 0, 0), static_cast<LRESULT>(wcslen(L"queue test") + 1));
  stop = true;
  other.join();
}

TEST_F(MessageQueueTest, SenderIsReleasedWhenTheReceivingThreadEnds) {
  std::atomic<HWND> remote{nullptr};
  std::atomic<bool> go{false};
  std::thread other([&] {
    remote = CreateRecorder(L"short-lived");
    while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  });
  while (!remote) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  go = true;
  EXPECT_EQ(SendMessageW(remote, kFirst, 0, 0), 0) << "the thread ended without taking the message";
  other.join();
  EXPECT_FALSE(IsWindow(remote)) << "a thread's windows end with it";
}

TEST_F(MessageQueueTest, TimerMessagesDoNotPileUp) {
  ASSERT_EQ(SetTimer(window_, 1, 10, nullptr), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  PumpMessages();
  EXPECT_EQ(MessageLog::Instance().MessageIds({WM_TIMER}).size(), 1u)
      << "twelve periods passed unserved, one WM_TIMER is due";
  EXPECT_TRUE(KillTimer(window_, 1));
  EXPECT_FALSE(KillTimer(window_, 1)) << "killing a timer twice fails";
}

TEST_F(MessageQueueTest, PostedMessagesComeBeforeADueTimer) {
  SetTimer(window_, 5, 10, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  PostMessageW(window_, kFirst, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, kFirst);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(msg.wParam, 5u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the next period has not passed yet";
  KillTimer(window_, 5);
}

TEST_F(MessageQueueTest, GetMessageWakesForADueTimer) {
  SetTimer(window_, 3, 20, nullptr);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  KillTimer(window_, 3);
}

std::atomic<int> g_timerCalls{0};
void CALLBACK CountTimer(HWND, UINT, UINT_PTR, DWORD) { ++g_timerCalls; }

TEST_F(MessageQueueTest, ThreadTimersGetTheirOwnIdsAndCallTheirProcedure) {
  const UINT_PTR a = SetTimer(nullptr, 0, 10, CountTimer);
  const UINT_PTR b = SetTimer(nullptr, 0, 10, CountTimer);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  g_timerCalls = 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  PumpMessages();
  EXPECT_EQ(g_timerCalls.load(), 2);
  KillTimer(nullptr, a);
  KillTimer(nullptr, b);
}

TEST_F(MessageQueueTest, SendingToAWindowThatIsGoneFails) {
  HWND gone = CreateRecorder(L"gone");
  DestroyWindow(gone);
  SetLastError(0);
  EXPECT_EQ(SendMessageW(gone, kFirst, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(PostMessageW(gone, kFirst, 0, 0));
}

}  // namespace
