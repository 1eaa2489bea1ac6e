// The wait at the heart of a thread's message loop. GetMessageW blocks in
// ThreadWaiter::WaitUntil until a message arrives (another thread calls Wake)
// or the next timer is due. The default waiter blocks on an eventfd; the
// screen view installs one that runs its own event loop while it waits, so
// one thread serves both the platform's messages and the screen's events.
#pragma once

#include <chrono>
#include <memory>
#include <optional>

namespace platform::windowing {

using Clock = std::chrono::steady_clock;

class ThreadWaiter {
 public:
  virtual ~ThreadWaiter() = default;
  // Blocks until Wake() is called (before or during the wait) or the deadline
  // passes; no deadline means wait for a wake. May return early.
  virtual void WaitUntil(std::optional<Clock::time_point> deadline) = 0;
  // Ends the current or next wait. Safe from any thread.
  virtual void Wake() = 0;
};

// A waiter that blocks the thread on an eventfd.
std::unique_ptr<ThreadWaiter> MakeBlockingWaiter();

}  // namespace platform::windowing
