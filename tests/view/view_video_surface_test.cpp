// Video surfaces: frames given to a window from any thread are shown scaled
// to its client area, in their true colours, until cleared or the window goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>
#include <vector>

#include "view/screenshot.h"
#include "view/video_surface.h"
#include "view_test_support.h"

using namespace view_testing;
using platform::view::Picture;
using platform::view::VideoFormat;
using platform::view::VideoFrame;

namespace {

// A captionless window: its client area starts at the picture's corner.
HWND MakeVideoWindow() {
  return CreateWindowExW(0, L"#32770", L"video", WS_POPUP | WS_VISIBLE, 10, 10, 160, 90, nullptr, nullptr, nullptr,
                         nullptr);
}

std::string Hex(uint32_t v) {
  char text[16];
  snprintf(text, sizeof text, "0x%08x", v);
  return text;
}

// Left half blue, right half red, 4 x 2 pixels, bottom row first as a DIB stores it.
std::vector<uint8_t> TwoColourRgb32() {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool left = x < 2;
      bytes.insert(bytes.end(), {static_cast<uint8_t>(left ? 0xFF : 0), 0, static_cast<uint8_t>(left ? 0 : 0xFF), 0});
    }
  }
  return bytes;
}

TEST(ViewVideoSurface, ShowsAnRgb32FrameScaledToTheClientArea) {
  HWND window = MakeVideoWindow();
  const auto bytes = TwoColourRgb32();
  VideoFrame frame{VideoFormat::Rgb32, 4, 2, {{bytes.data(), 16}}, true};
  std::thread([&] { EXPECT_TRUE(platform::view::PresentVideoFrame(window, frame)); }).join();
  SIZE size{};
  ASSERT_TRUE(platform::view::VideoFrameSize(window, size));
  EXPECT_EQ(size.cx, 4);
  Picture picture;
  ASSERT_TRUE(platform::view::TakeScreenshot(window, picture));
  EXPECT_EQ(picture.At(20, 45) & 0xFFFFFF, 0x0000FFu) << "blue at the left: " << Hex(picture.At(20, 45));
  EXPECT_EQ(picture.At(140, 45) & 0xFFFFFF, 0xFF0000u) << "red at the right: " << Hex(picture.At(140, 45));
  platform::view::ClearVideoFrame(window);
  EXPECT_FALSE(platform::view::VideoFrameSize(window, size));
  DestroyWindow(window);
}

// BT.601 studio range: Y 81, U 90, V 240 is pure red; Y 41, U 240, V 110 pure blue.
TEST(ViewVideoSurface, ConvertsI420Once) {
  HWND window = MakeVideoWindow();
  const uint8_t y[4 * 2] = {81, 81, 41, 41, 81, 81, 41, 41};
  const uint8_t u[2] = {90, 240}, v[2] = {240, 110};
  VideoFrame frame{VideoFormat::I420, 4, 2, {{y, 4}, {u, 2}, {v, 2}}};
  ASSERT_TRUE(platform::view::PresentVideoFrame(window, frame));
  Picture picture;
  ASSERT_TRUE(platform::view::TakeScreenshot(window, picture));
  const uint32_t left = picture.At(20, 45), right = picture.At(140, 45);
  EXPECT_GT((left >> 16) & 0xFF, 0xF0u) << Hex(left);
  EXPECT_LT(left & 0xFF, 0x10u) << Hex(left);
  EXPECT_GT(right & 0xFF, 0xF0u) << Hex(right);
  EXPECT_LT((right >> 16) & 0xFF, 0x10u) << Hex(right);
  DestroyWindow(window);
}

TEST(ViewVideoSurface, RefusesMalformedFramesAndForgetsFramesOfDestroyedWindows) {
  HWND window = MakeVideoWindow();
  const auto bytes = TwoColourRgb32();
  EXPECT_FALSE(platform::view::PresentVideoFrame(window, VideoFrame{VideoFormat::Rgb32, 4, 2, {{bytes.data(), 8}}}))
      << "a stride shorter than a row";
  EXPECT_FALSE(platform::view::PresentVideoFrame(window, VideoFrame{VideoFormat::Rgb32, 0, 2, {{bytes.data(), 16}}}));
  EXPECT_FALSE(platform::view::PresentVideoFrame(window, VideoFrame{VideoFormat::I420, 4, 2, {{bytes.data(), 4}}}))
      << "chroma planes missing";
  ASSERT_TRUE(platform::view::PresentVideoFrame(window, VideoFrame{VideoFormat::Rgb32, 4, 2, {{bytes.data(), 16}}}));
  DestroyWindow(window);
  SIZE size{};
  EXPECT_FALSE(platform::view::VideoFrameSize(window, size));
  EXPECT_FALSE(platform::view::PresentVideoFrame(window, VideoFrame{VideoFormat::Rgb32, 4, 2, {{bytes.data(), 16}}}));
}

}  // namespace
