// The Static class: text labels.
#include "controls/control_procs.h"

namespace platform::controls {

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) return DLGC_STATIC;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls
