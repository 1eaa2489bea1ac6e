// The end of a wait given in milliseconds, INFINITE meaning never.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>

namespace platform::kernel {

class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  static Deadline After(DWORD milliseconds);

  bool IsInfinite() const { return !end_; }
  // Only meaningful when the deadline is finite.
  Clock::time_point End() const { return *end_; }
  // Milliseconds left, rounded up so a wait never ends early; -1 for infinite
  // (the convention of poll()).
  int RemainingMilliseconds() const;

 private:
  explicit Deadline(std::optional<Clock::time_point> end) : end_(end) {}

  std::optional<Clock::time_point> end_;
};

}  // namespace platform::kernel
