// Events: manual and auto reset, timeouts, and how many waiters a signal
// releases.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Waits for a condition with a generous bound; false if it never came.
template <typename Condition>
bool WaitUntil(Condition &&condition) {
  auto end = Clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (Clock::now() > end) return false;
    std::this_thread::yield();
  }
  return true;
}

class Event {
 public:
  Event(BOOL manualReset, BOOL initialState) : handle_(CreateEventW(nullptr, manualReset, initialState, nullptr)) {}
  ~Event() { CloseHandle(handle_); }
  Event(const Event &) = delete;
  Event &operator=(const Event &) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Waiter threads that each wait once on an event and count their release.
class Waiters {
 public:
  Waiters(HANDLE event, int count) {
    for (int i = 0; i < count; ++i) {
      threads_.emplace_back([this, event] {
        started_++;
        if (WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0) released_++;
      });
    }
    WaitUntil([&] { return started_ == count; });
  }
  ~Waiters() {
    for (auto &thread : threads_) thread.join();
  }
  int Released() const { return released_; }

 private:
  std::atomic<int> started_{0};
  std::atomic<int> released_{0};
  std::vector<std::thread> threads_;
};

TEST(KernelEvents, InitialStateAndTimeout) {
  Event set(TRUE, TRUE);
  Event unset(TRUE, FALSE);
  ASSERT_NE(set.get(), nullptr);
  EXPECT_EQ(WaitForSingleObject(set.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(unset.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  auto start = Clock::now();
  EXPECT_EQ(WaitForSingleObject(unset.get(), 100), static_cast<DWORD>(WAIT_TIMEOUT));
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_GE(waited, 100) << "a 100 ms wait returned after " << waited << " ms";
}

TEST(KernelEvents, ManualResetStaysSignalledUntilReset) {
  Event event(TRUE, FALSE);
  EXPECT_TRUE(SetEvent(event.get()));
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(event.get()));
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(KernelEvents, AutoResetIsConsumedByOneWait) {
  Event event(FALSE, TRUE);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(SetEvent(event.get()));
  EXPECT_TRUE(SetEvent(event.get()));
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "setting a set event does not count twice";
}

TEST(KernelEvents, ManualResetReleasesEveryWaiter) {
  Event event(TRUE, FALSE);
  Waiters waiters(event.get(), 3);
  EXPECT_TRUE(SetEvent(event.get()));
  EXPECT_TRUE(WaitUntil([&] { return waiters.Released() == 3; })) << "released " << waiters.Released();
}

TEST(KernelEvents, AutoResetReleasesOneWaiterPerSignal) {
  Event event(FALSE, FALSE);
  Waiters waiters(event.get(), 3);
  for (int signal = 1; signal <= 3; ++signal) {
    EXPECT_TRUE(SetEvent(event.get()));
    EXPECT_TRUE(WaitUntil([&] { return waiters.Released() == signal; })) << "released " << waiters.Released();
    // The signal went to one waiter: the event is reset and nobody else moves.
    EXPECT_EQ(WaitForSingleObject(event.get(), 50), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(waiters.Released(), signal);
  }
}

TEST(KernelEvents, ResetBeforeAnyWaitLosesTheSignal) {
  Event event(FALSE, FALSE);
  SetEvent(event.get());
  ResetEvent(event.get());
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(KernelEvents, OperationsOnOtherHandlesFail) {
  for (HANDLE handle : {HANDLE{nullptr}, INVALID_HANDLE_VALUE}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(SetEvent(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ResetEvent(handle));
  }
}

TEST(KernelEvents, NamedEventsAreNotSupported) {
  EXPECT_EQ(CreateEventW(nullptr, TRUE, FALSE, L"Quorvel.Event"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

}  // namespace
