#include "view/video_surface.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "view/video_frames.h"

namespace platform::view {

namespace {

std::mutex g_framesMutex;
std::map<HWND, std::shared_ptr<const QImage>> g_frames;

bool PlaneValid(const VideoPlane &plane, int minimumStride) {
  return plane.data && plane.stride >= minimumStride;
}

bool FrameValid(const VideoFrame &f) {
  if (f.width <= 0 || f.height <= 0) return false;
  if (f.format == VideoFormat::Rgb32) return PlaneValid(f.planes[0], f.width * 4);
  const int chromaWidth = (f.width + 1) / 2;
  return PlaneValid(f.planes[0], f.width) && PlaneValid(f.planes[1], chromaWidth) &&
         PlaneValid(f.planes[2], chromaWidth);
}

const uint8_t *Row(const VideoFrame &f, int plane, int row) {
  const int rows = plane == 0 ? f.height : (f.height + 1) / 2;
  const int stored = f.bottomUp ? rows - 1 - row : row;
  return f.planes[plane].data + static_cast<ptrdiff_t>(stored) * f.planes[plane].stride;
}

QImage FromRgb32(const VideoFrame &f) {
  QImage image(f.width, f.height, QImage::Format_RGB32);
  for (int y = 0; y < f.height; ++y) std::copy_n(Row(f, 0, y), f.width * 4, image.scanLine(y));
  return image;
}

uint8_t Clamp8(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// BT.601, studio range, in 8.8 fixed point.
QRgb YuvToRgb(int y, int u, int v) {
  const int c = 298 * (y - 16), d = u - 128, e = v - 128;
  return qRgb(Clamp8((c + 409 * e + 128) >> 8), Clamp8((c - 100 * d - 208 * e + 128) >> 8),
              Clamp8((c + 516 * d + 128) >> 8));
}

QImage FromI420(const VideoFrame &f) {
  QImage image(f.width, f.height, QImage::Format_RGB32);
  for (int y = 0; y < f.height; ++y) {
    const uint8_t *luma = Row(f, 0, y), *u = Row(f, 1, y / 2), *v = Row(f, 2, y / 2);
    auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (int x = 0; x < f.width; ++x) out[x] = YuvToRgb(luma[x], u[x / 2], v[x / 2]);
  }
  return image;
}

}  // namespace

bool PresentVideoFrame(HWND window, const VideoFrame &frame) {
  if (!IsWindow(window) || !FrameValid(frame)) return false;
  auto image = std::make_shared<const QImage>(frame.format == VideoFormat::Rgb32 ? FromRgb32(frame) : FromI420(frame));
  {
    std::lock_guard lock(g_framesMutex);
    g_frames[window] = std::move(image);
  }
  InvalidateRect(window, nullptr, FALSE);
  return true;
}

void ClearVideoFrame(HWND window) {
  ForgetVideoFrame(window);
  if (IsWindow(window)) InvalidateRect(window, nullptr, TRUE);
}

bool VideoFrameSize(HWND window, SIZE &size) {
  auto frame = LatestVideoFrame(window);
  if (!frame) return false;
  size = SIZE{frame->width(), frame->height()};
  return true;
}

std::shared_ptr<const QImage> LatestVideoFrame(HWND window) {
  std::lock_guard lock(g_framesMutex);
  auto it = g_frames.find(window);
  return it == g_frames.end() ? nullptr : it->second;
}

void ForgetVideoFrame(HWND window) {
  std::lock_guard lock(g_framesMutex);
  g_frames.erase(window);
}

}  // namespace platform::view
