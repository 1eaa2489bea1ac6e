#include "view/window_mirror.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWindow>

#include "input/input.h"
#include "view/icon_image.h"
#include "view/paint_helpers.h"
#include "view/window_painter.h"

namespace platform::view {

namespace {

Qt::WindowFlags FlagsFor(const WindowSnapshot &w) {
  Qt::WindowFlags flags = w.owner ? Qt::Dialog : Qt::Window;
  if ((w.style & WS_CAPTION) != WS_CAPTION) return flags | Qt::FramelessWindowHint;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (w.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (w.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
  if (w.style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

bool SameRect(const RECT &a, const RECT &b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

POINT ToPoint(const QPointF &p) { return POINT{static_cast<LONG>(p.x()), static_cast<LONG>(p.y())}; }

}  // namespace

WindowMirror::WindowMirror(const WindowSnapshot &window, WindowMirror *ownerMirror)
    : QWidget(nullptr, FlagsFor(window)), window_(window.hwnd), mouse_(window.hwnd) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  if (ownerMirror) {
    winId();
    windowHandle()->setTransientParent(ownerMirror->windowHandle());
  }
}

void WindowMirror::Sync(const WindowSnapshot &w) {
  setWindowTitle(ToQString(w.text));
  ShowIcon(w.icon);
  Place(w);
  setEnabled(w.Enabled());
  if (w.Visible() != isVisible()) setVisible(w.Visible());
  update();
}

// The frame goes where the platform window's rectangle starts; the widget
// area takes the client area's size.
void WindowMirror::Place(const WindowSnapshot &w) {
  if (SameRect(w.rect, placed_) && SameRect(w.insets, insets_)) return;
  placed_ = w.rect;
  insets_ = w.insets;
  sizable_ = w.style & WS_THICKFRAME;
  placing_ = true;
  const RECT client = w.ClientInWindow();
  const QSize size(client.right - client.left, client.bottom - client.top);
  if (sizable_) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(size);
  } else {
    setFixedSize(size);
  }
  move(w.rect.left, w.rect.top);
  placing_ = false;
}

void WindowMirror::ShowIcon(HICON icon) {
  if (icon == icon_) return;
  icon_ = icon;
  QIcon qicon;
  for (int pixels : {16, 32}) {
    const QImage image = IconImage(icon, pixels);
    if (!image.isNull()) qicon.addPixmap(QPixmap::fromImage(image));
  }
  setWindowIcon(qicon);
}

void WindowMirror::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  PaintClientArea(painter, window_);
}

void WindowMirror::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) mouse_.Press(ToPoint(event->position()), false);
}

void WindowMirror::mouseDoubleClickEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) mouse_.Press(ToPoint(event->position()), true);
}

void WindowMirror::mouseMoveEvent(QMouseEvent *event) {
  if (event->buttons() & Qt::LeftButton) mouse_.Move(ToPoint(event->position()));
}

void WindowMirror::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) mouse_.Release(ToPoint(event->position()));
}

void WindowMirror::keyPressEvent(QKeyEvent *event) { DeliverKey(*event); }

// The close box is the platform window's: it decides (a dialog turns it
// into IDCANCEL); the mirror goes when the window does.
void WindowMirror::closeEvent(QCloseEvent *event) {
  event->ignore();
  input::ClickCloseBox(window_);
}

void WindowMirror::moveEvent(QMoveEvent *event) {
  if (event->spontaneous()) ReportPlacement();
}

void WindowMirror::resizeEvent(QResizeEvent *event) {
  if (event->spontaneous() && sizable_) ReportPlacement();
}

// Tab and Shift+Tab belong to the platform's dialog manager, not to Qt's focus chain.
bool WindowMirror::focusNextPrevChild(bool) { return false; }

void WindowMirror::ReportPlacement() {
  if (placing_) return;
  const QPoint corner = frameGeometry().topLeft();
  const RECT rect{corner.x(), corner.y(), corner.x() + width() + insets_.left + insets_.right,
                  corner.y() + height() + insets_.top + insets_.bottom};
  if (SameRect(rect, placed_)) return;
  placed_ = rect;
  input::PlaceByUser(window_, rect);
}

}  // namespace platform::view
