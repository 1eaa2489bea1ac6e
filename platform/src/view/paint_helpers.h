// Drawing pieces the control painters share: button faces, borders, focus
// rectangles and text with the Windows rules for '&' prefixes.
#pragma once

#include <windows.h>

#include <QPainter>
#include <QRect>
#include <QString>

namespace platform::view {

QRect ToQRect(const RECT &r);
QString ToQString(const std::wstring &text);

enum class FaceState { Normal, Pushed, Default, Disabled };
// A push-button face filling `r`, border included.
void DrawButtonFace(QPainter &painter, const QRect &r, FaceState state);
// A one-pixel border just inside `r`.
void DrawBorder(QPainter &painter, const QRect &r, const QColor &color);
// The dotted rectangle of the keyboard focus, just inside `r`.
void DrawFocusRect(QPainter &painter, const QRect &r);
// Text in the dialog font; '&' underlines the next character unless `noPrefix`.
void DrawControlText(QPainter &painter, const QRect &r, const std::wstring &text, int alignment, bool enabled,
                     bool noPrefix = false);

}  // namespace platform::view
