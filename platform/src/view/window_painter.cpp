#include "view/window_painter.h"

#include "view/control_painters.h"
#include "view/paint_helpers.h"
#include "view/video_frames.h"
#include "view/view_style.h"
#include "view/window_snapshot.h"

namespace platform::view {

namespace {

using ControlPainter = void (*)(QPainter &, const WindowSnapshot &);

struct ClassPainter {
  const wchar_t *className;
  ControlPainter paint;
};

const ClassPainter kClassPainters[] = {
    {L"Button", PaintButton},
    {L"Edit", PaintEdit},
    {L"Static", PaintStatic},
    {L"ListBox", PaintListBox},
    {L"msctls_trackbar32", PaintTrackbar},
    {L"msctls_updown32", PaintUpDown},
};

ControlPainter PainterOf(const WindowSnapshot &w) {
  for (const auto &entry : kClassPainters) {
    if (w.IsClass(entry.className)) return entry.paint;
  }
  return nullptr;
}

// A window the view has no painter for: the dialog colour, or its latest
// video frame scaled to the client area.
void PaintPlainClient(QPainter &painter, const WindowSnapshot &w, const QRect &client) {
  if (auto frame = LatestVideoFrame(w.hwnd)) {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(client, *frame);
    painter.restore();
    return;
  }
  painter.fillRect(client, colors::kDialog);
}

void PaintChildren(QPainter &painter, const std::vector<HWND> &children);

void PaintChild(QPainter &painter, HWND child) {
  WindowSnapshot w;
  if (!ReadWindow(child, w) || !w.Visible()) return;
  painter.save();
  painter.translate(w.rect.left, w.rect.top);
  painter.setClipRect(QRect(0, 0, w.Width(), w.Height()), Qt::IntersectClip);
  if (ControlPainter paint = PainterOf(w)) {
    paint(painter, w);
  } else {
    PaintPlainClient(painter, w, ToQRect(w.ClientInWindow()));
  }
  painter.translate(w.insets.left, w.insets.top);
  PaintChildren(painter, w.children);
  painter.restore();
}

void PaintChildren(QPainter &painter, const std::vector<HWND> &children) {
  for (auto it = children.rbegin(); it != children.rend(); ++it) PaintChild(painter, *it);
}

}  // namespace

void PaintClientArea(QPainter &painter, HWND window) {
  WindowSnapshot w;
  if (!ReadWindow(window, w)) return;
  const RECT client = w.ClientInWindow();
  PaintPlainClient(painter, w, QRect(0, 0, client.right - client.left, client.bottom - client.top));
  PaintChildren(painter, w.children);
}

}  // namespace platform::view
