#include "controls/trackbar_layout.h"

#include <algorithm>

namespace platform::controls {

namespace {

constexpr int kMargin = 8;
constexpr int kThumbHalfWidth = 5;
constexpr int kChannelHeight = 4;
constexpr int kThumbInset = 2;

int ChannelWidth(SIZE client) { return std::max(1, static_cast<int>(client.cx) - 2 * kMargin); }

int XOfPosition(SIZE client, int rangeMin, int rangeMax, int position) {
  if (rangeMax <= rangeMin) return kMargin;
  const long long offset = static_cast<long long>(position - rangeMin) * ChannelWidth(client);
  return kMargin + static_cast<int>((offset + (rangeMax - rangeMin) / 2) / (rangeMax - rangeMin));
}

}  // namespace

TrackbarLayout LayoutTrackbar(SIZE client, int rangeMin, int rangeMax, int position) {
  const int middle = static_cast<int>(client.cy) / 2;
  const int x = XOfPosition(client, rangeMin, rangeMax, position);
  return TrackbarLayout{
      RECT{kMargin, middle - kChannelHeight / 2, kMargin + ChannelWidth(client), middle + kChannelHeight / 2},
      RECT{x - kThumbHalfWidth, kThumbInset, x + kThumbHalfWidth + 1, static_cast<LONG>(client.cy) - kThumbInset}};
}

int PositionAtX(SIZE client, int rangeMin, int rangeMax, int x) {
  if (rangeMax <= rangeMin) return rangeMin;
  const int offset = std::clamp(x - kMargin, 0, ChannelWidth(client));
  const long long span = static_cast<long long>(rangeMax - rangeMin) * offset;
  return rangeMin + static_cast<int>((span + ChannelWidth(client) / 2) / ChannelWidth(client));
}

}  // namespace platform::controls
