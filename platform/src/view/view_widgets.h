// The view's Qt side as view tests reach it, on the view's thread: the
// mirror widget of a top-level window, after bringing every mirror up to
// date, so a test can give it Qt input as a tester's mouse and keyboard do.
#pragma once

#include <windows.h>

class QWidget;

namespace platform::view {

// Null off the view's thread, or when the window has no mirror (it was never visible).
QWidget *MirrorWidget(HWND topLevel);

}  // namespace platform::view
