// Icon objects. An HICON is a handle to an icon that keeps every image of
// its icon group, so that the screen view can draw the size it needs.
// Icons from LoadIconW are shared: they live as long as the process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace platform::resources {

struct IconImage {
  int width = 0, height = 0;  // pixels
  int bitCount = 0;           // bits per pixel
  // A PNG file, or an icon DIB: BITMAPINFOHEADER (with the height doubled),
  // colour table, colour bits and AND mask, rows bottom-up (see icon_dib.h).
  bool png = false;
  std::vector<uint8_t> bytes;
};

// The images of an icon, or null when the handle names no icon.
const std::vector<IconImage> *IconImages(HICON icon);

// The image to draw in a square of the given size: the smallest image at
// least that large, else the largest; the deepest colour among equals.
// Null when the handle names no icon.
const IconImage *BestIconImage(HICON icon, int pixels);

}  // namespace platform::resources
