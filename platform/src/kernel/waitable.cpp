#include "kernel/waitable.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace platform::kernel {

namespace {

// Readable, end of file and errors all end the wait, as a pidfd reports the
// end of its process; only a descriptor that is not open fails it.
WaitResult ReadinessResult(short events) {
  if (!(events & POLLNVAL)) return WaitResult::kSignalled;
  SetLastError(ERROR_INVALID_HANDLE);
  return WaitResult::kFailed;
}

}  // namespace

WaitResult ConditionObject::Wait(const Deadline &deadline) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto signalled = [this] { return IsSignalled(); };
  if (deadline.IsInfinite()) {
    changed_.wait(lock, signalled);
  } else if (!changed_.wait_until(lock, deadline.End(), signalled)) {
    return WaitResult::kTimedOut;
  }
  OnWaitSatisfied();
  return WaitResult::kSignalled;
}

DescriptorObject::~DescriptorObject() { close(descriptor_); }

WaitResult DescriptorObject::Wait(const Deadline &deadline) {
  for (;;) {
    pollfd entry{descriptor_, POLLIN, 0};
    int ready = poll(&entry, 1, deadline.RemainingMilliseconds());
    if (ready == 0) return WaitResult::kTimedOut;
    if (ready > 0) return ReadinessResult(entry.revents);
    // With one entry, poll fails only when interrupted or out of memory.
    if (errno != EINTR) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return WaitResult::kFailed;
    }
  }
}

}  // namespace platform::kernel
