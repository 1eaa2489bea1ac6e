// Screen and non-client metrics. They are fixed numbers, the ones Windows
// uses at 96 dots per inch with the classic frame sizes, so window and
// client rectangles are the same on every machine whatever fonts or display
// it has:
//
//   caption height (SM_CYCAPTION)         23 px
//   dialog / fixed frame (SM_CXDLGFRAME)   3 px   WS_DLGFRAME (part of WS_CAPTION) or WS_EX_DLGMODALFRAME
//   sizing frame (SM_CXFRAME)              4 px   WS_THICKFRAME
//   thin border (SM_CXBORDER)              1 px   WS_BORDER alone, or WS_EX_STATICEDGE
//   3-D edge (SM_CXEDGE)                   2 px   WS_EX_CLIENTEDGE
//   menu bar (SM_CYMENU)                  19 px
//
// The primary screen is 1920 x 1080 with a 40-pixel task bar at the bottom,
// so its work area is (0, 0)-(1920, 1040); SystemParametersInfoW with
// SPI_SETWORKAREA changes the work area, and the environment variables
// QUORVEL_SCREEN ("<width>x<height>") and QUORVEL_WORKAREA
// ("<left>,<top>,<right>,<bottom>") set both at start-up.
#pragma once

#include <windows.h>

namespace platform::windowing {

// The frame and caption around the client area of a window of these styles.
RECT NonClientInsets(DWORD style, DWORD exStyle);

SIZE ScreenSize();
RECT WorkArea();
void SetWorkArea(const RECT &area);

}  // namespace platform::windowing
