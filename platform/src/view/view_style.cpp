#include "view/view_style.h"

namespace platform::view {

namespace {

constexpr int kDialogFontPixels = 10;
constexpr int kCaptionFontPixels = 12;
constexpr qreal kDialogFontSpacingPercent = 97;

QFont DejaVuSans(int pixels) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  return font;
}

}  // namespace

QFont DialogFont() {
  QFont font = DejaVuSans(kDialogFontPixels);
  font.setLetterSpacing(QFont::PercentageSpacing, kDialogFontSpacingPercent);
  return font;
}

QFont CaptionFont() { return DejaVuSans(kCaptionFontPixels); }

}  // namespace platform::view
