// Semaphore objects: CreateSemaphoreW, ReleaseSemaphore.
#include <windows.h>

#include "kernel/waitable.h"

namespace platform::kernel {

namespace {

// A count between zero and a maximum: signalled while above zero, and each
// satisfied wait takes one from it.
class SemaphoreObject final : public ConditionObject {
 public:
  SemaphoreObject(LONG initialCount, LONG maximumCount) : count_(initialCount), maximum_(maximumCount) {}

  // False, with the count unchanged, when it would pass the maximum.
  bool Release(LONG count, LONG *previous) {
    bool released = false;
    Update([&] {
      *previous = count_;
      if (count > maximum_ - count_) return;
      count_ += count;
      released = true;
    });
    return released;
  }

 private:
  bool IsSignalled() const override { return count_ > 0; }
  void OnWaitSatisfied() override { --count_; }

  LONG count_;
  const LONG maximum_;
};

}  // namespace

}  // namespace platform::kernel

using platform::kernel::SemaphoreObject;

// Named semaphores, shared between processes, are not supported.
extern "C" HANDLE WINAPI CreateSemaphoreW(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount,
                                          LPCWSTR lpName) {
  if (lpName) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return platform::kernel::InsertHandle(std::make_shared<SemaphoreObject>(lInitialCount, lMaximumCount));
}

// A release that would pass the maximum fails with ERROR_TOO_MANY_POSTS and
// leaves the count as it was.
extern "C" BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount) {
  auto semaphore = platform::kernel::ReferenceHandleAs<SemaphoreObject>(hSemaphore);
  if (!semaphore) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (lReleaseCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  LONG previous = 0;
  if (!semaphore->Release(lReleaseCount, &previous)) {
    SetLastError(ERROR_TOO_MANY_POSTS);
    return FALSE;
  }
  if (lpPreviousCount) *lpPreviousCount = previous;
  return TRUE;
}
