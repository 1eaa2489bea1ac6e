#include "windowing/metrics.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform::windowing {

namespace {

constexpr int kCaptionHeight = 23;
constexpr int kDialogFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kBorder = 1;
constexpr int kEdge = 2;
constexpr int kIconSize = 32;
constexpr int kSmallIconSize = 16;
constexpr int kScrollBarSize = 17;
constexpr int kTaskBarHeight = 40;
constexpr int kMenuHeight = 19;

struct Screen {
  SIZE size{1920, 1080};
  RECT workArea{0, 0, 1920, 1080 - kTaskBarHeight};
};

Screen ReadScreenFromEnvironment() {
  Screen screen;
  if (const char *s = getenv("QUORVEL_SCREEN")) {
    int w = 0, h = 0;
    if (sscanf(s, "%dx%d", &w, &h) == 2 && w > 0 && h > 0) {
      screen.size = {w, h};
      screen.workArea = {0, 0, w, h - kTaskBarHeight};
    }
  }
  if (const char *s = getenv("QUORVEL_WORKAREA")) {
    RECT r{};
    if (sscanf(s, "%d,%d,%d,%d", &r.left, &r.top, &r.right, &r.bottom) == 4 && r.right > r.left &&
        r.bottom > r.top) {
      screen.workArea = r;
    }
  }
  return screen;
}

std::mutex g_screenMutex;

Screen &TheScreen() {
  static Screen screen = ReadScreenFromEnvironment();
  return screen;
}

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return kSizingFrame;
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return kDialogFrame;
  if (style & WS_BORDER) return kBorder;
  return 0;
}

int EdgeWidth(DWORD exStyle) {
  int width = 0;
  if (exStyle & WS_EX_CLIENTEDGE) width += kEdge;
  if (exStyle & WS_EX_STATICEDGE) width += kBorder;
  return width;
}

}  // namespace

RECT NonClientInsets(DWORD style, DWORD exStyle) {
  const int frame = FrameWidth(style, exStyle) + EdgeWidth(exStyle);
  const int caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
  return RECT{frame, frame + caption, frame, frame};
}

SIZE ScreenSize() {
  std::lock_guard lock(g_screenMutex);
  return TheScreen().size;
}

RECT WorkArea() {
  std::lock_guard lock(g_screenMutex);
  return TheScreen().workArea;
}

void SetWorkArea(const RECT &area) {
  std::lock_guard lock(g_screenMutex);
  TheScreen().workArea = area;
}

}  // namespace platform::windowing

using namespace platform::windowing;

extern "C" BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
  if (!lpRect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT insets = NonClientInsets(dwStyle, dwExStyle);
  lpRect->left -= insets.left;
  lpRect->top -= insets.top + (bMenu ? kMenuHeight : 0);
  lpRect->right += insets.right;
  lpRect->bottom += insets.bottom;
  return TRUE;
}

extern "C" int WINAPI GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSCREEN: return ScreenSize().cx;
    case SM_CYSCREEN: return ScreenSize().cy;
    case SM_CXFULLSCREEN: return WorkArea().right - WorkArea().left;
    case SM_CYFULLSCREEN: return WorkArea().bottom - WorkArea().top - kCaptionHeight;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CYMENU: return kMenuHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kSizingFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return kEdge;
    case SM_CXICON:
    case SM_CYICON: return kIconSize;
    case SM_CXSMICON:
    case SM_CYSMICON: return kSmallIconSize;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return kScrollBarSize;
    case SM_CMONITORS: return 1;
    default: return 0;
  }
}

extern "C" BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) {
  switch (uiAction) {
    case SPI_GETWORKAREA:
      if (!pvParam) break;
      *static_cast<RECT *>(pvParam) = WorkArea();
      return TRUE;
    case SPI_SETWORKAREA: {
      const SIZE screen = ScreenSize();
      RECT area = pvParam ? *static_cast<const RECT *>(pvParam) : RECT{0, 0, screen.cx, screen.cy};
      if (area.right <= area.left || area.bottom <= area.top) break;
      SetWorkArea(area);
      return TRUE;
    }
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
