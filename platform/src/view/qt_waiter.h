// The view thread's wait: while GetMessageW (or a cross-thread SendMessageW)
// waits on the view's thread, Qt's event loop runs, so screen input, painting
// and the view's own updates go on; a message posted or sent to the thread,
// or the next timer's due time, ends the wait.
#pragma once

#include <memory>

#include "windowing/thread_waiter.h"

namespace platform::view {

// Made on the view's thread, after its QApplication.
std::unique_ptr<windowing::ThreadWaiter> MakeQtEventLoopWaiter();

}  // namespace platform::view
