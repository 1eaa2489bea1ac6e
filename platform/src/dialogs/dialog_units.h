// Dialog units. A dialog's font fixes its base units; here they are fixed
// numbers rather than measured from installed fonts, so every dialog has the
// same pixel rectangles on every machine. For an 8-point template font
// ("MS Shell Dlg" 8, which Windows maps to an 8-point sans-serif face) the
// base units are 6 x 13 pixels, the values Windows measures for that font at
// 96 dots per inch; other point sizes scale them (MulDiv by size / 8). A
// dialog without a template font uses the system font's 8 x 16.
//
// One horizontal dialog unit is baseX / 4 pixels and one vertical unit
// baseY / 8 pixels; each coordinate is converted on its own with MulDiv
// (rounding halves away from zero).
#pragma once

#include <windows.h>

namespace platform::dialogs {

struct BaseUnits {
  int x;
  int y;
};

BaseUnits BaseUnitsForFont(bool hasFont, WORD pointSize);
int UnitsToPixelsX(int units, BaseUnits base);
int UnitsToPixelsY(int units, BaseUnits base);

}  // namespace platform::dialogs
