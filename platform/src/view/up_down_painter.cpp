// Up-down controls: two arrow buttons, one above the other (side by side
// with UDS_HORZ), splitting the control's rectangle in half.
#include <QPolygon>

#include <commctrl.h>

#include "view/control_painters.h"
#include "view/paint_helpers.h"
#include "view/view_style.h"

namespace platform::view {

namespace {

enum class Arrow { Up, Down, Left, Right };

void DrawArrow(QPainter &painter, const QRect &r, Arrow arrow, bool enabled) {
  const QPoint c = r.center();
  QPolygon triangle;
  switch (arrow) {
    case Arrow::Up: triangle << QPoint(c.x() - 3, c.y() + 1) << QPoint(c.x() + 3, c.y() + 1) << QPoint(c.x(), c.y() - 2); break;
    case Arrow::Down: triangle << QPoint(c.x() - 3, c.y() - 1) << QPoint(c.x() + 3, c.y() - 1) << QPoint(c.x(), c.y() + 2); break;
    case Arrow::Left: triangle << QPoint(c.x() + 1, c.y() - 3) << QPoint(c.x() + 1, c.y() + 3) << QPoint(c.x() - 2, c.y()); break;
    case Arrow::Right: triangle << QPoint(c.x() - 1, c.y() - 3) << QPoint(c.x() - 1, c.y() + 3) << QPoint(c.x() + 2, c.y()); break;
  }
  painter.save();
  const QColor ink = enabled ? colors::kText : colors::kGrayText;
  painter.setPen(ink);
  painter.setBrush(ink);
  painter.drawPolygon(triangle);
  painter.restore();
}

}  // namespace

void PaintUpDown(QPainter &painter, const WindowSnapshot &w) {
  const bool horizontal = w.style & UDS_HORZ;
  const QRect bounds(0, 0, w.Width(), w.Height());
  QRect first = bounds, second = bounds;
  if (horizontal) {
    first.setWidth(bounds.width() / 2);
    second.setLeft(first.right() + 1);
  } else {
    first.setHeight(bounds.height() / 2);
    second.setTop(first.bottom() + 1);
  }
  const FaceState face = w.Enabled() ? FaceState::Normal : FaceState::Disabled;
  DrawButtonFace(painter, first, face);
  DrawButtonFace(painter, second, face);
  DrawArrow(painter, first, horizontal ? Arrow::Left : Arrow::Up, w.Enabled());
  DrawArrow(painter, second, horizontal ? Arrow::Right : Arrow::Down, w.Enabled());
}

}  // namespace platform::view
