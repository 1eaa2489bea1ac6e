// The non-client area of a top-level window, drawn for screenshots: a
// one-pixel outline around the frame, the caption with the window's icon,
// its title and the close box of WS_SYSMENU, at the sizes the platform's
// metrics give (23-pixel caption, 3-pixel dialog frame, ...).
#include <QFontMetrics>

#include "view/icon_image.h"
#include "view/paint_helpers.h"
#include "view/view_style.h"
#include "view/window_painter.h"
#include "view/window_snapshot.h"

namespace platform::view {

namespace {

constexpr int kCaptionIcon = 16;
constexpr int kIconLeft = 5;
constexpr int kTitleGap = 6;
constexpr int kCloseBoxWidth = 34;
constexpr int kCrossHalf = 5;

void PaintCloseBox(QPainter &painter, const QRect &box, bool active) {
  const QPoint c = box.center();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(active ? colors::kText : colors::kGrayText, 1.2));
  painter.drawLine(QPointF(c.x() - kCrossHalf, c.y() - kCrossHalf), QPointF(c.x() + kCrossHalf, c.y() + kCrossHalf));
  painter.drawLine(QPointF(c.x() - kCrossHalf, c.y() + kCrossHalf), QPointF(c.x() + kCrossHalf, c.y() - kCrossHalf));
  painter.restore();
}

void PaintCaption(QPainter &painter, const WindowSnapshot &w, const QRect &caption) {
  painter.fillRect(caption, colors::kWindow);
  int textLeft = caption.left() + kTitleGap;
  const QImage icon = IconImage(w.icon, kCaptionIcon);
  if (!icon.isNull()) {
    painter.drawImage(QPoint(caption.left() + kIconLeft, caption.top() + (caption.height() - kCaptionIcon) / 2), icon);
    textLeft = caption.left() + kIconLeft + kCaptionIcon + kTitleGap;
  }
  QRect closeBox;
  if (w.style & WS_SYSMENU) {
    closeBox = QRect(caption.right() - kCloseBoxWidth + 1, caption.top(), kCloseBoxWidth, caption.height());
    PaintCloseBox(painter, closeBox, w.active);
  }
  const int textRight = closeBox.isNull() ? caption.right() : closeBox.left();
  const QRect titleRect(textLeft, caption.top(), textRight - textLeft, caption.height());
  painter.save();
  painter.setFont(CaptionFont());
  painter.setPen(w.active ? colors::kText : colors::kGrayText);
  const QString title = QFontMetrics(CaptionFont()).elidedText(ToQString(w.text), Qt::ElideRight, titleRect.width());
  painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title);
  painter.restore();
}

}  // namespace

void PaintWholeWindow(QPainter &painter, HWND window) {
  WindowSnapshot w;
  if (!ReadWindow(window, w)) return;
  const QRect bounds(0, 0, w.Width(), w.Height());
  painter.fillRect(bounds, colors::kDialog);
  if (w.insets.left > 0) DrawBorder(painter, bounds, colors::kFrame);
  if ((w.style & WS_CAPTION) == WS_CAPTION) {
    const int frame = w.insets.left;
    PaintCaption(painter, w, QRect(frame, frame, w.Width() - 2 * frame, w.insets.top - frame));
  }
  const RECT client = w.ClientInWindow();
  painter.save();
  painter.translate(client.left, client.top);
  painter.setClipRect(QRect(0, 0, client.right - client.left, client.bottom - client.top));
  PaintClientArea(painter, window);
  painter.restore();
}

}  // namespace platform::view
