// The look of the screen view: fonts and colours, close to a Windows 10
// desktop at 96 dots per inch.
//
// The dialog font. Templates ask for "MS Shell Dlg" 8, whose base units the
// dialog manager fixes at 6 x 13 pixels (dialogs/dialog_units.h). The view
// draws that font with DejaVu Sans (fonts-dejavu-core) at a pixel size of 10
// with its letter spacing tightened to 97 %: the average width of the 52
// Latin letters is then 5.98 pixels, the 6-pixel horizontal base unit, and
// the 12-pixel line fits in the 13-pixel vertical one. Captions written to
// fit their controls on Windows therefore fit here too ("Number of threads"
// takes 91 of its 92 pixels). Window captions use the same face at 12 pixels
// (Windows' 9-point caption font).
#pragma once

#include <QColor>
#include <QFont>

namespace platform::view {

QFont DialogFont();
QFont CaptionFont();

namespace colors {
inline const QColor kDialog{0xF0, 0xF0, 0xF0};
inline const QColor kWindow{0xFF, 0xFF, 0xFF};
inline const QColor kText{0x00, 0x00, 0x00};
inline const QColor kGrayText{0xA0, 0xA0, 0xA0};
inline const QColor kButtonFace{0xE1, 0xE1, 0xE1};
inline const QColor kButtonBorder{0xAD, 0xAD, 0xAD};
inline const QColor kButtonPushedFace{0xCC, 0xE4, 0xF7};
inline const QColor kButtonPushedBorder{0x00, 0x54, 0x99};
inline const QColor kDisabledFace{0xCC, 0xCC, 0xCC};
inline const QColor kDisabledBorder{0xBF, 0xBF, 0xBF};
inline const QColor kAccent{0x00, 0x78, 0xD7};
inline const QColor kHighlightText{0xFF, 0xFF, 0xFF};
inline const QColor kEditBorder{0x7A, 0x7A, 0x7A};
inline const QColor kCheckBorder{0x33, 0x33, 0x33};
inline const QColor kEtchedLine{0xDC, 0xDC, 0xDC};
inline const QColor kShadow{0xA0, 0xA0, 0xA0};
inline const QColor kChannel{0xE7, 0xEA, 0xEA};
inline const QColor kChannelBorder{0xD6, 0xD6, 0xD6};
inline const QColor kFrame{0x70, 0x70, 0x70};
inline const QColor kCloseHover{0xE8, 0x11, 0x23};
}  // namespace colors

}  // namespace platform::view
