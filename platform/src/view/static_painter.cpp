// Static controls: text labels (left, centred or right, wrapped at words),
// the sunken edge of SS_SUNKEN, and icons (SS_ICON): a message box's icon,
// or the icon resource the control's text names.
#include "dialogs/message_box.h"
#include "view/control_painters.h"
#include "view/icon_image.h"
#include "view/paint_helpers.h"
#include "view/view_style.h"

namespace platform::view {

namespace {

constexpr int kIconPixels = 32;

HICON IconOfStatic(const WindowSnapshot &w) {
  dialogs::MessageBoxInfo box;
  if (dialogs::DescribeMessageBox(w.parent, box)) return MessageBoxIcon(box.type);
  if (w.text.empty()) return nullptr;
  if (w.text[0] == L'#') return LoadIconW(w.instance, MAKEINTRESOURCEW(std::wcstol(w.text.c_str() + 1, nullptr, 10)));
  return LoadIconW(w.instance, w.text.c_str());
}

// A one-pixel edge, dark at the top and left, light at the bottom and right.
void DrawSunkenEdge(QPainter &painter, const QRect &r) {
  painter.save();
  painter.setPen(colors::kShadow);
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());
  painter.setPen(colors::kWindow);
  painter.drawLine(r.bottomLeft(), r.bottomRight());
  painter.drawLine(r.topRight(), r.bottomRight());
  painter.restore();
}

int Alignment(DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: return Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    case SS_RIGHT: return Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap;
    default: return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  }
}

}  // namespace

void PaintStatic(QPainter &painter, const WindowSnapshot &w) {
  QRect area(0, 0, w.Width(), w.Height());
  if ((w.style & SS_TYPEMASK) == SS_ICON) {
    const QImage icon = IconImage(IconOfStatic(w), kIconPixels);
    if (!icon.isNull()) painter.drawImage(QPoint(0, 0), icon);
    return;
  }
  if (w.style & SS_SUNKEN) {
    DrawSunkenEdge(painter, area);
    area.adjust(1, 1, -1, -1);
  }
  DrawControlText(painter, area, w.text, Alignment(w.style), w.Enabled(), w.style & SS_NOPREFIX);
}

}  // namespace platform::view
