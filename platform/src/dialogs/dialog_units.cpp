#include "dialogs/dialog_units.h"

#include "windowing/window_manager.h"

namespace platform::dialogs {

namespace {

constexpr BaseUnits kSystemFontUnits{8, 16};
constexpr BaseUnits kEightPointUnits{6, 13};
constexpr int kReferencePointSize = 8;

int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

BaseUnits BaseUnitsForFont(bool hasFont, WORD pointSize) {
  if (!hasFont || pointSize == 0) return kSystemFontUnits;
  return BaseUnits{MulDivRounded(kEightPointUnits.x, pointSize, kReferencePointSize),
                   MulDivRounded(kEightPointUnits.y, pointSize, kReferencePointSize)};
}

int UnitsToPixelsX(int units, BaseUnits base) { return MulDivRounded(units, base.x, 4); }

int UnitsToPixelsY(int units, BaseUnits base) { return MulDivRounded(units, base.y, 8); }

}  // namespace platform::dialogs

using namespace platform;
using namespace platform::dialogs;

extern "C" LONG WINAPI GetDialogBaseUnits(void) {
  const BaseUnits units = BaseUnitsForFont(false, 0);
  return MAKELONG(units.x, units.y);
}

extern "C" BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  if (!lpRect) return FALSE;
  BaseUnits base{};
  const bool isDialog = windowing::WithWindow(hDlg, false, [&](const windowing::Window &w) {
    if (!w.dialog) return false;
    base = BaseUnits{w.dialog->baseUnitX, w.dialog->baseUnitY};
    return true;
  });
  if (!isDialog) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *lpRect = RECT{UnitsToPixelsX(lpRect->left, base), UnitsToPixelsY(lpRect->top, base),
                 UnitsToPixelsX(lpRect->right, base), UnitsToPixelsY(lpRect->bottom, base)};
  return TRUE;
}
