// Rectangles and positions: GetWindowRect, GetClientRect, coordinate
// mapping, SetWindowPos and MoveWindow.
#include "windowing/geometry.h"

#include "windowing/activation.h"
#include "windowing/metrics.h"
#include "windowing/window_manager.h"

namespace platform::windowing {

namespace {

struct Placement {
  RECT rect;  // in the parent's client coordinates, or the screen's
  HWND parent;
  DWORD style;
  DWORD exStyle;
};

bool ReadPlacement(HWND hwnd, Placement &out) {
  return WithWindow(hwnd, false, [&](const Window &w) {
    out = Placement{w.rect, w.parent, w.style, w.exStyle};
    return true;
  });
}

}  // namespace

RECT ScreenRect(HWND hwnd) {
  Placement p{};
  if (!ReadPlacement(hwnd, p)) return RECT{};
  if (!p.parent) return p.rect;
  const POINT origin = ClientOrigin(p.parent);
  return RECT{p.rect.left + origin.x, p.rect.top + origin.y, p.rect.right + origin.x, p.rect.bottom + origin.y};
}

POINT ClientOrigin(HWND hwnd) {
  Placement p{};
  if (!ReadPlacement(hwnd, p)) return POINT{};
  const RECT screen = ScreenRect(hwnd);
  const RECT insets = NonClientInsets(p.style, p.exStyle);
  return POINT{screen.left + insets.left, screen.top + insets.top};
}

SIZE ClientSize(HWND hwnd) {
  Placement p{};
  if (!ReadPlacement(hwnd, p)) return SIZE{};
  const RECT insets = NonClientInsets(p.style, p.exStyle);
  const LONG width = p.rect.right - p.rect.left - insets.left - insets.right;
  const LONG height = p.rect.bottom - p.rect.top - insets.top - insets.bottom;
  return SIZE{width > 0 ? width : 0, height > 0 ? height : 0};
}

}  // namespace platform::windowing

using namespace platform::windowing;

namespace {

// Applies the new position, size and visibility of SetWindowPos and tells
// the window (WM_WINDOWPOSCHANGED; DefWindowProcW turns it into WM_MOVE and WM_SIZE).
bool ApplyWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  bool wasVisible = false;
  bool ok = WithWindow(hwnd, false, [&](Window &w) {
    wasVisible = w.style & WS_VISIBLE;
    if (!(flags & SWP_NOMOVE)) {
      const LONG width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
      w.rect = RECT{x, y, x + width, y + height};
    }
    if (!(flags & SWP_NOSIZE)) {
      w.rect.right = w.rect.left + (cx > 0 ? cx : 0);
      w.rect.bottom = w.rect.top + (cy > 0 ? cy : 0);
    }
    if (flags & SWP_SHOWWINDOW) w.style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) w.style &= ~WS_VISIBLE;
    return true;
  });
  if (!ok) return false;
  auto &manager = WindowManager::Instance();
  if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) manager.Notify(hwnd, WindowChange::Rect);
  if (((flags & SWP_SHOWWINDOW) && !wasVisible) || ((flags & SWP_HIDEWINDOW) && wasVisible)) {
    manager.Notify(hwnd, WindowChange::Visibility);
  }
  if (!(flags & SWP_NOZORDER)) manager.MoveInZOrder(hwnd, insertAfter);
  const RECT rect = WithWindow(hwnd, RECT{}, [](const Window &w) { return w.rect; });
  WINDOWPOS pos{hwnd, insertAfter, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags};
  SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if ((flags & SWP_HIDEWINDOW) && wasVisible) ActivateNextAfter(hwnd);
  return true;
}

}  // namespace

extern "C" BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  if (!FindOrFail(hWnd) || !lpRect) return FALSE;
  *lpRect = ScreenRect(hWnd);
  return TRUE;
}

extern "C" BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  if (!FindOrFail(hWnd) || !lpRect) return FALSE;
  const SIZE size = ClientSize(hWnd);
  *lpRect = RECT{0, 0, size.cx, size.cy};
  return TRUE;
}

extern "C" BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  if (!FindOrFail(hWnd) || !lpPoint) return FALSE;
  const POINT origin = ClientOrigin(hWnd);
  lpPoint->x += origin.x;
  lpPoint->y += origin.y;
  return TRUE;
}

extern "C" BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  if (!FindOrFail(hWnd) || !lpPoint) return FALSE;
  const POINT origin = ClientOrigin(hWnd);
  lpPoint->x -= origin.x;
  lpPoint->y -= origin.y;
  return TRUE;
}

extern "C" int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  const POINT from = hWndFrom ? ClientOrigin(hWndFrom) : POINT{};
  const POINT to = hWndTo ? ClientOrigin(hWndTo) : POINT{};
  const LONG dx = from.x - to.x, dy = from.y - to.y;
  for (UINT i = 0; i < cPoints; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

extern "C" BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  if (!FindOrFail(hWnd)) return FALSE;
  if (!ApplyWindowPos(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags)) return FALSE;
  const bool topLevel = !(GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD);
  if (topLevel && !(uFlags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && IsWindowVisible(hWnd)) Activate(hWnd);
  return TRUE;
}

extern "C" BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}
