// Screenshots of platform windows: a top-level window with its frame,
// caption and children, drawn the way the screen shows it. Works on any
// display and without one (Qt's offscreen platform), from any thread; when
// no view runs yet, the calling thread becomes the view's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform::view {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, the top row first

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// False when topLevel is not a top-level window or there can be no view.
bool TakeScreenshot(HWND topLevel, Picture &picture);
// Writes the screenshot as a PNG file; false when it cannot be taken or written.
bool SaveScreenshot(HWND topLevel, const std::string &pngPath);
// Writes a picture of part of the screen as a PNG file: the given top-level
// windows drawn where they are, each over those given before it, on the
// desktop's colour. False when a window cannot be drawn or the file written.
bool SaveScreenPicture(const RECT &area, const std::vector<HWND> &topLevels, const std::string &pngPath);

}  // namespace platform::view
