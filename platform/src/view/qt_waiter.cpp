#include "view/qt_waiter.h"

#include <QAbstractEventDispatcher>
#include <QTimer>
#include <atomic>

namespace platform::view {

namespace {

using windowing::Clock;

class QtEventLoopWaiter final : public windowing::ThreadWaiter {
 public:
  QtEventLoopWaiter() : dispatcher_(QAbstractEventDispatcher::instance()) {
    deadlineTimer_.setSingleShot(true);
    deadlineTimer_.setTimerType(Qt::PreciseTimer);
  }

  // Runs Qt's events until woken or the deadline passes. A wake that came
  // before the wait ends it at once: the flag stays set until a wait takes it,
  // and the dispatcher's own wake-up stays pending until it next waits.
  void WaitUntil(std::optional<Clock::time_point> deadline) override {
    for (;;) {
      if (woken_.exchange(false)) break;
      if (deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
        if (left <= 0) break;
        deadlineTimer_.start(static_cast<int>(std::min<long long>(left, INT32_MAX)));
      }
      dispatcher_->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    deadlineTimer_.stop();
  }

  void Wake() override {
    woken_ = true;
    dispatcher_->wakeUp();
  }

 private:
  QAbstractEventDispatcher *dispatcher_;
  QTimer deadlineTimer_;
  std::atomic<bool> woken_{false};
};

}  // namespace

std::unique_ptr<windowing::ThreadWaiter> MakeQtEventLoopWaiter() { return std::make_unique<QtEventLoopWaiter>(); }

}  // namespace platform::view
