#include "view/paint_helpers.h"

#include "text/utf.h"
#include "view/view_style.h"

namespace platform::view {

QRect ToQRect(const RECT &r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

QString ToQString(const std::wstring &text) { return QString::fromStdString(text::ToUtf8(text)); }

void DrawBorder(QPainter &painter, const QRect &r, const QColor &color) {
  painter.save();
  painter.setPen(QPen(color, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(r.adjusted(0, 0, -1, -1));
  painter.restore();
}

void DrawButtonFace(QPainter &painter, const QRect &r, FaceState state) {
  QColor face = colors::kButtonFace, border = colors::kButtonBorder;
  switch (state) {
    case FaceState::Pushed: face = colors::kButtonPushedFace; border = colors::kButtonPushedBorder; break;
    case FaceState::Default: border = colors::kAccent; break;
    case FaceState::Disabled: face = colors::kDisabledFace; border = colors::kDisabledBorder; break;
    case FaceState::Normal: break;
  }
  painter.fillRect(r, face);
  DrawBorder(painter, r, border);
  if (state == FaceState::Default) DrawBorder(painter, r.adjusted(1, 1, -1, -1), colors::kAccent);
}

void DrawFocusRect(QPainter &painter, const QRect &r) {
  painter.save();
  QPen pen(colors::kText, 1, Qt::DotLine);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(r.adjusted(0, 0, -1, -1));
  painter.restore();
}

void DrawControlText(QPainter &painter, const QRect &r, const std::wstring &text, int alignment, bool enabled,
                     bool noPrefix) {
  std::wstring shown;
  shown.reserve(text.size());
  for (wchar_t c : text) {
    if (c != L'\r') shown += c;
  }
  painter.save();
  painter.setFont(DialogFont());
  painter.setPen(enabled ? colors::kText : colors::kGrayText);
  QString qtext = ToQString(shown);
  // Qt reads '&' as Windows does; a literal '&' is written "&&" for it.
  if (noPrefix) qtext.replace(QLatin1Char('&'), QStringLiteral("&&"));
  painter.drawText(r, alignment | Qt::TextShowMnemonic, qtext);
  painter.restore();
}

}  // namespace platform::view
