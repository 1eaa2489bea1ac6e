// The on-screen mirror of a top-level platform window: a Qt top-level widget
// whose frame sits at the platform window's position and whose widget area
// is the platform window's client area (so with Qt's offscreen platform, or
// a display without a window manager, the widget is exactly the client
// area). It shows the platform window's caption, icon, enabled state and
// visibility, paints its client area with the children, and hands the
// tester's mouse and keyboard input to the input entry points. A move or
// resize by the tester is reported back to the platform window.
#pragma once

#include <windows.h>

#include <QWidget>

#include "view/input_translation.h"
#include "view/window_snapshot.h"

namespace platform::view {

class WindowMirror : public QWidget {
 public:
  // `ownerMirror` (may be null) keeps an owned window above its owner.
  WindowMirror(const WindowSnapshot &window, WindowMirror *ownerMirror);

  HWND Window() const { return window_; }
  // Takes the platform window's state and has the client area drawn again.
  void Sync(const WindowSnapshot &window);

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void moveEvent(QMoveEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void Place(const WindowSnapshot &window);
  void ShowIcon(HICON icon);
  void ReportPlacement();

  HWND window_;
  RECT placed_{};   // the platform window rectangle last given to Qt or taken from it
  RECT insets_{};   // the platform frame around the client area
  HICON icon_ = nullptr;
  bool sizable_ = false;
  bool placing_ = false;  // Qt's events about the mirror's own placing are not the tester's
  MouseRouter mouse_;
};

}  // namespace platform::view
