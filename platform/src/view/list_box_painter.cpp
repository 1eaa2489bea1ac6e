// List boxes: a white field with one line per item from the top index; the
// selected item is highlighted, with the focus rectangle when focused.
#include "controls/control_looks.h"
#include "view/control_painters.h"
#include "view/paint_helpers.h"
#include "view/view_style.h"

namespace platform::view {

namespace {

constexpr int kTextMargin = 2;
const QColor kUnfocusedSelection{0xCD, 0xE8, 0xFF};

}  // namespace

void PaintListBox(QPainter &painter, const WindowSnapshot &w) {
  const QRect bounds(0, 0, w.Width(), w.Height());
  const QRect client = ToQRect(w.ClientInWindow());
  painter.fillRect(client, w.Enabled() ? colors::kWindow : colors::kDialog);
  if ((w.style & WS_BORDER) || (w.exStyle & WS_EX_CLIENTEDGE)) DrawBorder(painter, bounds, colors::kEditBorder);

  const controls::ListBoxLook look = controls::LookOfListBox(w.hwnd);
  painter.save();
  painter.setClipRect(client);
  for (int index = look.top, y = client.top(); index < static_cast<int>(look.items.size()) && y < client.bottom();
       ++index, y += look.itemHeight) {
    const QRect line(client.left(), y, client.width(), look.itemHeight);
    const bool selected = index == look.selected;
    if (selected) painter.fillRect(line, w.focused ? colors::kAccent : kUnfocusedSelection);
    painter.setFont(DialogFont());
    painter.setPen(!w.Enabled() ? colors::kGrayText : selected && w.focused ? colors::kHighlightText : colors::kText);
    painter.drawText(line.adjusted(kTextMargin, 0, -kTextMargin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     ToQString(look.items[static_cast<size_t>(index)]));
    if (selected && w.focused) DrawFocusRect(painter, line);
  }
  painter.restore();
}

}  // namespace platform::view
