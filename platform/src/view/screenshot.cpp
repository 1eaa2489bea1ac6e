#include "view/screenshot.h"

#include <QImage>
#include <QPainter>

#include "view/view_thread.h"
#include "view/window_painter.h"
#include "view/window_snapshot.h"

namespace platform::view {

namespace {

QImage Render(HWND topLevel) {
  WindowSnapshot w;
  if (!ReadWindow(topLevel, w) || w.parent || w.Width() <= 0 || w.Height() <= 0 || !EnsureViewStarted()) {
    return QImage();
  }
  QImage image(w.Width(), w.Height(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  PaintWholeWindow(painter, topLevel);
  return image;
}

}  // namespace

bool TakeScreenshot(HWND topLevel, Picture &picture) {
  const QImage image = Render(topLevel);
  if (image.isNull()) return false;
  picture.width = image.width();
  picture.height = image.height();
  picture.pixels.resize(static_cast<size_t>(image.width()) * image.height());
  for (int y = 0; y < image.height(); ++y) {
    const auto *row = reinterpret_cast<const uint32_t *>(image.constScanLine(y));
    std::copy_n(row, image.width(), picture.pixels.begin() + static_cast<ptrdiff_t>(y) * image.width());
  }
  return true;
}

bool SaveScreenshot(HWND topLevel, const std::string &pngPath) {
  const QImage image = Render(topLevel);
  return !image.isNull() && image.save(QString::fromStdString(pngPath), "PNG");
}

bool SaveScreenPicture(const RECT &area, const std::vector<HWND> &topLevels, const std::string &pngPath) {
  const QColor kDesktop(0x3A, 0x6E, 0xA5);
  QImage screen(area.right - area.left, area.bottom - area.top, QImage::Format_ARGB32);
  if (screen.isNull()) return false;
  screen.fill(kDesktop);
  QPainter painter(&screen);
  for (HWND topLevel : topLevels) {
    const QImage window = Render(topLevel);
    RECT place{};
    if (window.isNull() || !GetWindowRect(topLevel, &place)) return false;
    painter.drawImage(place.left - area.left, place.top - area.top, window);
  }
  painter.end();
  return screen.save(QString::fromStdString(pngPath), "PNG");
}

}  // namespace platform::view
