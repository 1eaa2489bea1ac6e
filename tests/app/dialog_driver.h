// Runs the main dialog modally on the test's thread while a tester, on a
// second thread, acts on it through the input entry points.
#pragma once

#include <windows.h>

#include <functional>

namespace testing_support {

struct DialogRun {
  INT_PTR result = 0;
  bool testerFinished = false;  // false: the dialog had to be closed for the tester
};

// Calls `run()` (which must show the Quorvel dialog modally and return its
// result) on this thread; `tester(dialog)` runs on another thread once the
// dialog is up and in front. A dialog still up 5 s after the tester is done
// is cancelled, so a failing test ends.
DialogRun RunWithTester(const std::function<INT_PTR()> &run, const std::function<void(HWND dialog)> &tester);

// Waits (at most 5 s) until `done()` holds; false when it never did.
bool WaitFor(const std::function<bool()> &done);

}  // namespace testing_support
