// Single-line edit controls: border, text, selection and caret.
//
// The text starts two pixels inside the client area; when it is wider than
// the control, it is scrolled just enough to keep the caret in view.
#include <QFontMetrics>

#include "controls/control_looks.h"
#include "view/control_painters.h"
#include "view/paint_helpers.h"
#include "view/view_style.h"

namespace platform::view {

namespace {

constexpr int kTextMargin = 2;

bool HasBorder(const WindowSnapshot &w) { return (w.style & WS_BORDER) || (w.exStyle & WS_EX_CLIENTEDGE); }

QString Shown(const WindowSnapshot &w) {
  QString text = ToQString(w.text);
  if (w.style & ES_PASSWORD) text.fill(QChar(0x25CF));
  return text;
}

// Pixels to shift the text left so that the caret stays inside `width`.
int ScrollFor(int caretX, int textWidth, int width) {
  if (textWidth <= width) return 0;
  return std::max(0, caretX - width + 1);
}

}  // namespace

void PaintEdit(QPainter &painter, const WindowSnapshot &w) {
  const QRect bounds(0, 0, w.Width(), w.Height());
  const QRect client = ToQRect(w.ClientInWindow());
  const bool editable = w.Enabled() && !(w.style & ES_READONLY);
  painter.fillRect(client, editable ? colors::kWindow : colors::kDialog);
  if (HasBorder(w)) DrawBorder(painter, bounds, w.focused ? colors::kAccent : colors::kEditBorder);

  const controls::EditLook look = controls::LookOfEdit(w.hwnd);
  const QString text = Shown(w);
  const QFontMetrics metrics(DialogFont());
  const QRect area = client.adjusted(kTextMargin, 0, -kTextMargin, 0);
  auto xOf = [&](size_t index) { return metrics.horizontalAdvance(text.left(static_cast<int>(index))); };
  const int scroll = ScrollFor(xOf(look.selEnd), metrics.horizontalAdvance(text), area.width());
  const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();

  painter.save();
  painter.setClipRect(area);
  painter.setFont(DialogFont());
  const size_t from = std::min(look.selStart, look.selEnd), to = std::max(look.selStart, look.selEnd);
  const QColor ink = w.Enabled() ? colors::kText : colors::kGrayText;
  painter.setPen(ink);
  painter.drawText(area.left() - scroll, baseline, text);
  if (w.focused && from != to) {
    const QRect band(area.left() - scroll + xOf(from), area.top() + 1, xOf(to) - xOf(from), area.height() - 2);
    painter.fillRect(band, colors::kAccent);
    painter.setPen(colors::kHighlightText);
    painter.drawText(band.left(), baseline, text.mid(static_cast<int>(from), static_cast<int>(to - from)));
  }
  if (w.focused) {
    const int caret = area.left() - scroll + xOf(look.selEnd);
    painter.fillRect(QRect(caret, baseline - metrics.ascent(), 1, metrics.height()), colors::kText);
  }
  painter.restore();
}

}  // namespace platform::view
