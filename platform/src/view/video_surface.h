// Video surfaces: a platform window that shows pictures. A producer (the
// video renderer) gives the window frames from any thread; the view keeps
// the latest one, converted once to 32-bit RGB, and paints it scaled to the
// window's client area the next time the view's thread draws. A window's
// frame goes away with the window, or with ClearVideoFrame.
#pragma once

#include <windows.h>

#include <cstdint>

namespace platform::view {

enum class VideoFormat {
  Rgb32,  // one plane, 4 bytes a pixel: blue, green, red, unused (as MEDIASUBTYPE_RGB32)
  I420,   // three planes: Y, then U and V at half width and height; BT.601 studio range
};

struct VideoPlane {
  const uint8_t *data = nullptr;
  int stride = 0;  // bytes from one row to the next
};

struct VideoFrame {
  VideoFormat format = VideoFormat::Rgb32;
  int width = 0;
  int height = 0;
  VideoPlane planes[3];
  bool bottomUp = false;  // the first row in memory is the picture's bottom row (RGB32 DIBs)
};

// Copies the frame and shows it in the window; false when hwnd is not a
// window or the frame is malformed (no data, a size of 0, a short stride).
bool PresentVideoFrame(HWND window, const VideoFrame &frame);
// The window shows its own background again.
void ClearVideoFrame(HWND window);
// The size of the frame the window shows; false when it shows none.
bool VideoFrameSize(HWND window, SIZE &size);

}  // namespace platform::view
