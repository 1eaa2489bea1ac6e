// Rectangle helpers: SetRect, SetRectEmpty, OffsetRect, PtInRect, IsRectEmpty.
#include <windows.h>

extern "C" BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (!lprc) return FALSE;
  *lprc = RECT{xLeft, yTop, xRight, yBottom};
  return TRUE;
}

extern "C" BOOL WINAPI SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

extern "C" BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  return SetRect(lprc, lprc->left + dx, lprc->top + dy, lprc->right + dx, lprc->bottom + dy);
}

extern "C" BOOL WINAPI PtInRect(const RECT *lprc, POINT pt) {
  return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

extern "C" BOOL WINAPI IsRectEmpty(const RECT *lprc) {
  return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}
