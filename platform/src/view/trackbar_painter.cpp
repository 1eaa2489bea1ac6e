// Horizontal trackbars: the channel, the selection band of
// TBS_ENABLESELRANGE inside it, and the thumb, all where the control's own
// layout puts them (controls/trackbar_layout.h), so the thumb a tester sees
// is the one the control hit-tests.
#include <commctrl.h>

#include "controls/control_looks.h"
#include "controls/trackbar_layout.h"
#include "view/control_painters.h"
#include "view/paint_helpers.h"
#include "view/view_style.h"

namespace platform::view {

namespace {

int CentreX(SIZE client, const controls::TrackbarLook &look, int position) {
  const RECT thumb = controls::LayoutTrackbar(client, look.rangeMin, look.rangeMax, position).thumb;
  return (thumb.left + thumb.right - 1) / 2;
}

void DrawSelection(QPainter &painter, SIZE client, const QRect &channel, const controls::TrackbarLook &look,
                   bool enabled) {
  if (look.selEnd <= look.selStart) return;
  const int from = CentreX(client, look, look.selStart), to = CentreX(client, look, look.selEnd);
  painter.fillRect(QRect(from, channel.top(), to - from + 1, channel.height()),
                   enabled ? colors::kAccent : colors::kGrayText);
}

}  // namespace

void PaintTrackbar(QPainter &painter, const WindowSnapshot &w) {
  const RECT clientRect = w.ClientInWindow();
  const SIZE client{clientRect.right - clientRect.left, clientRect.bottom - clientRect.top};
  const controls::TrackbarLook look = controls::LookOfTrackbar(w.hwnd);
  const controls::TrackbarLayout layout = controls::LayoutTrackbar(client, look.rangeMin, look.rangeMax, look.position);
  painter.save();
  painter.translate(clientRect.left, clientRect.top);
  const QRect channel = ToQRect(layout.channel);
  painter.fillRect(channel, colors::kChannel);
  DrawBorder(painter, channel, colors::kChannelBorder);
  if (w.style & TBS_ENABLESELRANGE) DrawSelection(painter, client, channel.adjusted(1, 1, -1, -1), look, w.Enabled());
  painter.fillRect(ToQRect(layout.thumb), w.Enabled() ? colors::kAccent : colors::kDisabledFace);
  if (w.focused) DrawFocusRect(painter, QRect(0, 0, client.cx, client.cy));
  painter.restore();
}

}  // namespace platform::view
