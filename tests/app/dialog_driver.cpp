#include "dialog_driver.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace testing_support {

namespace {

HWND QuorvelDialog() {
  HWND dialog = FindWindowW(L"#32770", L"Quorvel");
  return dialog && IsWindowVisible(dialog) && GetForegroundWindow() == dialog ? dialog : nullptr;
}

}  // namespace

bool WaitFor(const std::function<bool()> &done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

DialogRun RunWithTester(const std::function<INT_PTR()> &run, const std::function<void(HWND dialog)> &tester) {
  DialogRun outcome;
  std::atomic<bool> finished{false};
  std::thread testerThread([&] {
    HWND dialog = nullptr;
    if (WaitFor([&] { return (dialog = QuorvelDialog()) != nullptr; })) tester(dialog);
    finished = true;
    if (!WaitFor([&] { return !IsWindow(dialog); }) && IsWindow(dialog)) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      finished = false;
    }
  });
  outcome.result = run();
  testerThread.join();
  outcome.testerFinished = finished;
  return outcome;
}

}  // namespace testing_support
