// Painting platform windows with their children, for the screen and for
// screenshots alike.
#pragma once

#include <windows.h>

#include <QPainter>

namespace platform::view {

// The window's client area and its visible children in z-order (the
// bottom one first); the painter's origin is the client area's corner.
void PaintClientArea(QPainter &painter, HWND window);

// A whole top-level window: the frame and caption the platform's metrics
// give it (windowing/metrics.h), then its client area; the painter's origin
// is the window's corner.
void PaintWholeWindow(QPainter &painter, HWND window);

}  // namespace platform::view
