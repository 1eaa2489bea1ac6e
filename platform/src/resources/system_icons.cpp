#include "resources/system_icons.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "resources/icon_dib.h"

namespace platform::resources {

namespace {

// A drawing is a list of solid layers, the last one on top. Shapes are given
// in a unit square with y pointing down.
using Shape = std::function<bool(double x, double y)>;
struct Layer {
  uint32_t rgb;
  Shape shape;
};

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x202124, kRed = 0xD93025, kBlue = 0x1A73E8, kYellow = 0xF9AB00,
                   kGrey = 0x5F6368;

Shape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; };
}

Shape Rectangle(double left, double top, double right, double bottom) {
  return [=](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

// A stroke with round ends from (x0, y0) to (x1, y1).
Shape Stroke(double x0, double y0, double x1, double y1, double halfWidth) {
  return [=](double x, double y) {
    const double vx = x1 - x0, vy = y1 - y0;
    const double t = std::clamp(((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(x - (x0 + t * vx), y - (y0 + t * vy)) <= halfWidth;
  };
}

// A stroke along a circle, clockwise on screen from startDegrees for sweepDegrees.
Shape Arc(double cx, double cy, double r, double halfWidth, double startDegrees, double sweepDegrees) {
  return [=](double x, double y) {
    const double degrees = std::atan2(y - cy, x - cx) * 180.0 / std::numbers::pi;
    const double along = std::fmod(degrees - startDegrees + 720.0, 360.0);
    return along <= sweepDegrees && std::abs(std::hypot(x - cx, y - cy) - r) <= halfWidth;
  };
}

Shape Triangle(double x0, double y0, double x1, double y1, double x2, double y2) {
  auto side = [](double ax, double ay, double bx, double by, double x, double y) {
    return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
  };
  return [=](double x, double y) {
    const double a = side(x0, y0, x1, y1, x, y), b = side(x1, y1, x2, y2, x, y), c = side(x2, y2, x0, y0, x, y);
    return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
  };
}

std::vector<Layer> Drawing(WORD id) {
  switch (id) {
    case 32512:  // IDI_APPLICATION: a window with a title bar
      return {{kGrey, Rectangle(0.06, 0.12, 0.94, 0.88)},
              {kBlue, Rectangle(0.10, 0.16, 0.90, 0.30)},
              {kWhite, Rectangle(0.10, 0.34, 0.90, 0.84)}};
    case 32513:  // IDI_ERROR: a white cross on a red disc
      return {{kRed, Circle(0.5, 0.5, 0.46)},
              {kWhite, Stroke(0.33, 0.33, 0.67, 0.67, 0.07)},
              {kWhite, Stroke(0.67, 0.33, 0.33, 0.67, 0.07)}};
    case 32514:  // IDI_QUESTION: a white question mark on a blue disc
      return {{kBlue, Circle(0.5, 0.5, 0.46)},
              {kWhite, Arc(0.5, 0.36, 0.14, 0.065, 180.0, 250.0)},
              {kWhite, Stroke(0.548, 0.49, 0.5, 0.58, 0.065)},
              {kWhite, Circle(0.5, 0.75, 0.07)}};
    case 32515:  // IDI_WARNING: a black exclamation mark on a yellow triangle
      return {{kYellow, Triangle(0.5, 0.05, 0.97, 0.91, 0.03, 0.91)},
              {kBlack, Stroke(0.5, 0.36, 0.5, 0.62, 0.06)},
              {kBlack, Circle(0.5, 0.76, 0.065)}};
    case 32516:  // IDI_INFORMATION: a white "i" on a blue disc
      return {{kBlue, Circle(0.5, 0.5, 0.46)},
              {kWhite, Circle(0.5, 0.28, 0.075)},
              {kWhite, Stroke(0.5, 0.45, 0.5, 0.74, 0.065)}};
    default:
      return {};
  }
}

constexpr int kSamplesPerSide = 4;

// The colour of one sample point: the top layer that covers it.
const Layer *TopLayerAt(const std::vector<Layer> &layers, double x, double y) {
  for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
    if (layer->shape(x, y)) return &*layer;
  }
  return nullptr;
}

// Each pixel averages a grid of samples: covered samples give its colour,
// the share of covered samples its alpha.
uint32_t PixelAt(const std::vector<Layer> &layers, int size, int px, int py) {
  uint32_t red = 0, green = 0, blue = 0, covered = 0;
  const double step = 1.0 / (size * kSamplesPerSide);
  for (int sy = 0; sy < kSamplesPerSide; ++sy) {
    for (int sx = 0; sx < kSamplesPerSide; ++sx) {
      const Layer *layer = TopLayerAt(layers, ((px * kSamplesPerSide + sx) + 0.5) * step,
                                      ((py * kSamplesPerSide + sy) + 0.5) * step);
      if (!layer) continue;
      red += layer->rgb >> 16 & 0xFF;
      green += layer->rgb >> 8 & 0xFF;
      blue += layer->rgb & 0xFF;
      ++covered;
    }
  }
  if (covered == 0) return 0;
  const uint32_t alpha = covered * 255 / (kSamplesPerSide * kSamplesPerSide);
  return alpha << 24 | (red / covered) << 16 | (green / covered) << 8 | blue / covered;
}

IconImage Render(const std::vector<Layer> &layers, int size) {
  IconPixels pixels{size, size, {}};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) pixels.argb.push_back(PixelAt(layers, size, x, y));
  }
  return IconImage{size, size, 32, false, EncodeIconDib32(pixels)};
}

}  // namespace

std::vector<IconImage> DrawSystemIcon(WORD id) {
  const std::vector<Layer> layers = Drawing(id);
  std::vector<IconImage> images;
  if (layers.empty()) return images;
  for (int size : {16, 32, 48}) images.push_back(Render(layers, size));
  return images;
}

}  // namespace platform::resources
