// The desktop clipboard of the display, for the platform's clipboard text
// (edit controls' cut, copy and paste). Qt's clipboard is reached on the
// view's thread; other threads wait for it there.
#pragma once

#include "windowing/clipboard.h"

namespace platform::view {

windowing::ClipboardBackend QtClipboardBackend();

}  // namespace platform::view
