#include "kernel/deadline.h"

#include <algorithm>
#include <climits>

namespace platform::kernel {

Deadline Deadline::After(DWORD milliseconds) {
  if (milliseconds == INFINITE) return Deadline(std::nullopt);
  return Deadline(Clock::now() + std::chrono::milliseconds(milliseconds));
}

int Deadline::RemainingMilliseconds() const {
  if (!end_) return -1;
  auto left = std::chrono::ceil<std::chrono::milliseconds>(*end_ - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
}

}  // namespace platform::kernel
