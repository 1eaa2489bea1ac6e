// Icons as the view draws them: the icon's best image for a square of the
// given size, as a Qt image of exactly that size.
#pragma once

#include <windows.h>

#include <QImage>

namespace platform::view {

// A null image when the handle names no icon or its image cannot be read.
QImage IconImage(HICON icon, int pixels);

// The system icon a message box shows for its MB_ICON* bits; null for none.
HICON MessageBoxIcon(UINT type);

}  // namespace platform::view
