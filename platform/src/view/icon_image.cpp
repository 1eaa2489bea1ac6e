#include "view/icon_image.h"

#include "resources/icon_dib.h"
#include "resources/icons.h"

namespace platform::view {

namespace {

QImage Decode(const resources::IconImage &image) {
  if (image.png) return QImage::fromData(image.bytes.data(), static_cast<int>(image.bytes.size()), "PNG");
  resources::IconPixels pixels;
  if (!resources::DecodeIconDib(image.bytes, pixels)) return QImage();
  QImage decoded(pixels.width, pixels.height, QImage::Format_ARGB32);
  for (int y = 0; y < pixels.height; ++y) {
    auto *row = reinterpret_cast<uint32_t *>(decoded.scanLine(y));
    std::copy_n(pixels.argb.begin() + static_cast<ptrdiff_t>(y) * pixels.width, pixels.width, row);
  }
  return decoded;
}

}  // namespace

QImage IconImage(HICON icon, int pixels) {
  const resources::IconImage *best = resources::BestIconImage(icon, pixels);
  if (!best) return QImage();
  QImage image = Decode(*best);
  if (image.isNull() || (image.width() == pixels && image.height() == pixels)) return image;
  return image.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

HICON MessageBoxIcon(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return LoadIconW(nullptr, IDI_ERROR);
    case MB_ICONQUESTION: return LoadIconW(nullptr, IDI_QUESTION);
    case MB_ICONEXCLAMATION: return LoadIconW(nullptr, IDI_WARNING);
    case MB_ICONASTERISK: return LoadIconW(nullptr, IDI_INFORMATION);
    default: return nullptr;
  }
}

}  // namespace platform::view
