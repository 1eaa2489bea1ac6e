// Semaphores: the count each wait takes and each release gives, the
// maximum, and the arguments Windows refuses.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

class Semaphore {
 public:
  Semaphore(LONG initial, LONG maximum) : handle_(CreateSemaphoreW(nullptr, initial, maximum, nullptr)) {}
  ~Semaphore() {
    if (handle_) CloseHandle(handle_);
  }
  Semaphore(const Semaphore &) = delete;
  Semaphore &operator=(const Semaphore &) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// How many waits of no time the semaphore satisfies now (each takes one).
int WaitsSatisfied(HANDLE semaphore) {
  int satisfied = 0;
  while (WaitForSingleObject(semaphore, 0) == WAIT_OBJECT_0) ++satisfied;
  return satisfied;
}

TEST(KernelSemaphores, EachWaitTakesOneFromTheCount) {
  Semaphore semaphore(2, 5);
  ASSERT_NE(semaphore.get(), nullptr);
  EXPECT_EQ(WaitsSatisfied(semaphore.get()), 2);
  LONG previous = -1;
  EXPECT_TRUE(ReleaseSemaphore(semaphore.get(), 3, &previous));
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(WaitsSatisfied(semaphore.get()), 3);
}

TEST(KernelSemaphores, AReleasePastTheMaximumFailsAndChangesNothing) {
  Semaphore semaphore(4, 5);
  SetLastError(ERROR_SUCCESS);
  LONG previous = -1;
  EXPECT_FALSE(ReleaseSemaphore(semaphore.get(), 2, &previous));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TOO_MANY_POSTS));
  EXPECT_EQ(previous, -1) << "the previous count is given only on success";
  EXPECT_TRUE(ReleaseSemaphore(semaphore.get(), 1, nullptr));
  EXPECT_EQ(WaitsSatisfied(semaphore.get()), 5);
}

TEST(KernelSemaphores, AReleaseWakesAWaitingThread) {
  Semaphore semaphore(0, 1);
  DWORD result = WAIT_FAILED;
  std::thread waiter([&] { result = WaitForSingleObject(semaphore.get(), 10000); });
  EXPECT_TRUE(ReleaseSemaphore(semaphore.get(), 1, nullptr));
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_EQ(WaitsSatisfied(semaphore.get()), 0) << "the waiter took the count";
}

TEST(KernelSemaphores, CreationRefusesCountsOutOfRange) {
  struct Case {
    LONG initial;
    LONG maximum;
  };
  for (const Case &c : {Case{0, 0}, Case{-1, 3}, Case{4, 3}, Case{0, -2}}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(CreateSemaphoreW(nullptr, c.initial, c.maximum, nullptr), nullptr)
        << "initial " << c.initial << ", maximum " << c.maximum;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(KernelSemaphores, ReleasesOfNothingOrOnOtherHandlesFail) {
  Semaphore semaphore(0, 3);
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(ReleaseSemaphore(semaphore.get(), 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_FALSE(ReleaseSemaphore(event, 1, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(event);
}

TEST(KernelSemaphores, NamedSemaphoresAreNotSupported) {
  EXPECT_EQ(CreateSemaphoreW(nullptr, 0, 1, L"Quorvel.Semaphore"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

}  // namespace
