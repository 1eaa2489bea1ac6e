// Where a horizontal trackbar draws its channel and thumb, shared by the
// control (which hit-tests mouse input) and the screen view (which draws
// it), so a click lands where the tester sees the thumb.
//
// The channel runs across the client area with an 8-pixel margin at each
// end; the thumb is 11 pixels wide and as high as the client area less 4,
// centred on the pixel of its position.
#pragma once

#include <windows.h>

namespace platform::controls {

struct TrackbarLayout {
  RECT channel;
  RECT thumb;
};

TrackbarLayout LayoutTrackbar(SIZE client, int rangeMin, int rangeMax, int position);
// The position whose thumb centre is nearest to x.
int PositionAtX(SIZE client, int rangeMin, int rangeMax, int x);

}  // namespace platform::controls
