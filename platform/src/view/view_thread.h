// Where the view runs: on the thread that first shows a top-level window.
// That thread gets the process's QApplication (on Qt's "offscreen" platform
// when neither DISPLAY nor WAYLAND_DISPLAY is set, so nothing needs a
// display) and a message-queue waiter that runs Qt's event loop, so its one
// loop serves both. Windows of every thread are drawn there. When that thread
// ends, the view ends with it for the rest of the process.
//
// QUORVEL_VIEW=off keeps the view from starting (the platform's unit tests
// run without a screen); windows then exist only as platform state.
#pragma once

namespace platform::view {

// Starts the view on the calling thread unless it has started already.
// True when the view runs, on this thread or another.
bool EnsureViewStarted();

}  // namespace platform::view
