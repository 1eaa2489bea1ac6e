// The painters of the standard and common controls. Each draws one control
// over its whole window rectangle, with the painter's origin at the window's
// top-left corner, from the control's snapshot and its look.
#pragma once

#include <QPainter>

#include "view/window_snapshot.h"

namespace platform::view {

void PaintButton(QPainter &painter, const WindowSnapshot &window);
void PaintEdit(QPainter &painter, const WindowSnapshot &window);
void PaintStatic(QPainter &painter, const WindowSnapshot &window);
void PaintListBox(QPainter &painter, const WindowSnapshot &window);
void PaintTrackbar(QPainter &painter, const WindowSnapshot &window);
void PaintUpDown(QPainter &painter, const WindowSnapshot &window);

}  // namespace platform::view
