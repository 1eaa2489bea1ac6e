// Push buttons, check boxes, radio buttons and group boxes.
#include <QFontMetrics>
#include <QPainterPath>

#include "controls/control_looks.h"
#include "view/control_painters.h"
#include "view/paint_helpers.h"
#include "view/view_style.h"

namespace platform::view {

namespace {

constexpr int kBoxSize = 13;
constexpr int kBoxGap = 3;
constexpr int kFocusInset = 3;
constexpr int kGroupTextLeft = 6;

QRect Bounds(const WindowSnapshot &w) { return QRect(0, 0, w.Width(), w.Height()); }

void PaintPushButton(QPainter &painter, const WindowSnapshot &w, const controls::ButtonLook &look) {
  const bool isDefault = (w.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON || w.focused;
  FaceState state = look.pushed ? FaceState::Pushed : isDefault ? FaceState::Default : FaceState::Normal;
  if (!w.Enabled()) state = FaceState::Disabled;
  DrawButtonFace(painter, Bounds(w), state);
  DrawControlText(painter, Bounds(w), w.text, Qt::AlignCenter, w.Enabled());
  if (w.focused) DrawFocusRect(painter, Bounds(w).adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset));
}

void DrawCheckMark(QPainter &painter, const QRect &box, UINT check, bool enabled) {
  const QColor ink = enabled ? colors::kText : colors::kGrayText;
  if (check == BST_INDETERMINATE) {
    painter.fillRect(box.adjusted(3, 3, -3, -3), ink);
    return;
  }
  if (check != BST_CHECKED) return;
  QPainterPath mark;
  mark.moveTo(box.left() + 3, box.top() + 6.5);
  mark.lineTo(box.left() + 5.5, box.top() + 9);
  mark.lineTo(box.left() + 10, box.top() + 3.5);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(ink, 1.6));
  painter.drawPath(mark);
  painter.restore();
}

void DrawRadioDot(QPainter &painter, const QRect &box, bool checked, bool enabled) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(enabled ? colors::kCheckBorder : colors::kGrayText, 1));
  painter.setBrush(colors::kWindow);
  painter.drawEllipse(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
  if (checked) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(enabled ? colors::kText : colors::kGrayText);
    painter.drawEllipse(QRectF(box).adjusted(3.5, 3.5, -3.5, -3.5));
  }
  painter.restore();
}

// The box (or circle) at the left, vertically centred, and the text beside it.
void PaintCheckOrRadio(QPainter &painter, const WindowSnapshot &w, const controls::ButtonLook &look, bool radio) {
  const QRect box(0, (w.Height() - kBoxSize) / 2, kBoxSize, kBoxSize);
  if (radio) {
    DrawRadioDot(painter, box, look.check == BST_CHECKED, w.Enabled());
  } else {
    painter.fillRect(box, look.pushed ? colors::kButtonPushedFace : colors::kWindow);
    DrawBorder(painter, box, w.Enabled() ? colors::kCheckBorder : colors::kGrayText);
    DrawCheckMark(painter, box, look.check, w.Enabled());
  }
  const QRect textRect(kBoxSize + kBoxGap, 0, w.Width() - kBoxSize - kBoxGap, w.Height());
  DrawControlText(painter, textRect, w.text, Qt::AlignLeft | Qt::AlignVCenter, w.Enabled());
  if (w.focused) {
    const int textWidth = QFontMetrics(DialogFont()).horizontalAdvance(ToQString(w.text).remove(QLatin1Char('&')));
    DrawFocusRect(painter, QRect(textRect.left() - 1, 0, std::min(textWidth + 3, textRect.width() + 1), w.Height()));
  }
}

// An etched frame whose top line runs through the middle of the caption.
void PaintGroupBox(QPainter &painter, const WindowSnapshot &w) {
  const QFontMetrics metrics(DialogFont());
  const int lineY = metrics.height() / 2;
  painter.save();
  painter.setPen(colors::kEtchedLine);
  painter.drawRect(QRect(0, lineY, w.Width() - 1, w.Height() - lineY - 1));
  painter.restore();
  if (w.text.empty()) return;
  const int textWidth = metrics.horizontalAdvance(ToQString(w.text).remove(QLatin1Char('&'))) + 4;
  const QRect caption(kGroupTextLeft, 0, std::min(textWidth, w.Width() - kGroupTextLeft), metrics.height());
  painter.fillRect(caption, colors::kDialog);
  DrawControlText(painter, caption, w.text, Qt::AlignCenter, w.Enabled());
}

}  // namespace

void PaintButton(QPainter &painter, const WindowSnapshot &window) {
  const controls::ButtonLook look = controls::LookOfButton(window.hwnd);
  switch (window.style & BS_TYPEMASK) {
    case BS_GROUPBOX: PaintGroupBox(painter, window); break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: PaintCheckOrRadio(painter, window, look, false); break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: PaintCheckOrRadio(painter, window, look, true); break;
    default: PaintPushButton(painter, window, look); break;
  }
}

}  // namespace platform::view
