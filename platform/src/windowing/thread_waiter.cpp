#include "windowing/thread_waiter.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace platform::windowing {

namespace {

class EventFdWaiter final : public ThreadWaiter {
 public:
  EventFdWaiter() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  }
  ~EventFdWaiter() override { close(fd_); }

  void WaitUntil(std::optional<Clock::time_point> deadline) override {
    pollfd pfd{fd_, POLLIN, 0};
    int rc = poll(&pfd, 1, TimeoutMs(deadline));
    if (rc > 0) Drain();
  }

  void Wake() override {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(fd_, &one, sizeof one);
  }

 private:
  static int TimeoutMs(std::optional<Clock::time_point> deadline) {
    if (!deadline) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left, INT32_MAX));
  }

  void Drain() {
    uint64_t count;
    [[maybe_unused]] ssize_t n = read(fd_, &count, sizeof count);
  }

  int fd_;
};

}  // namespace

std::unique_ptr<ThreadWaiter> MakeBlockingWaiter() { return std::make_unique<EventFdWaiter>(); }

}  // namespace platform::windowing
