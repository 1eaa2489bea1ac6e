// The frames video surfaces hold, as the view's painters and the window
// observer reach them.
#pragma once

#include <windows.h>

#include <QImage>
#include <memory>

namespace platform::view {

std::shared_ptr<const QImage> LatestVideoFrame(HWND window);
void ForgetVideoFrame(HWND window);

}  // namespace platform::view
