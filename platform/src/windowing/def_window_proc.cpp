// Default window processing: DefWindowProcW and CallWindowProcW.
#include <windows.h>

#include <cstring>

#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

LRESULT CopyText(HWND hwnd, WPARAM capacity, LPWSTR buffer) {
  if (!buffer || capacity == 0) return 0;
  return WithWindow<LRESULT>(hwnd, 0, [&](const Window &w) {
    const size_t n = std::min(w.text.size(), static_cast<size_t>(capacity - 1));
    wmemcpy(buffer, w.text.c_str(), n);
    buffer[n] = L'\0';
    return static_cast<LRESULT>(n);
  });
}

void StoreText(HWND hwnd, LPCWSTR text) {
  WithWindow(hwnd, 0, [&](Window &w) {
    w.text = text ? text : L"";
    return 0;
  });
  WindowManager::Instance().Notify(hwnd, WindowChange::Text);
}

// WM_MOVE and WM_SIZE follow a change of position or size.
void ReportMoveAndSize(HWND hwnd, const WINDOWPOS &pos) {
  RECT client{};
  GetClientRect(hwnd, &client);
  if (!(pos.flags & SWP_NOMOVE)) {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    if (HWND parent = GetAncestor(hwnd, GA_PARENT)) ScreenToClient(parent, &origin);
    SendMessageW(hwnd, WM_MOVE, 0, MAKELONG(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
  }
  if (!(pos.flags & SWP_NOSIZE)) {
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELONG(client.right, client.bottom));
  }
}

}  // namespace

extern "C" LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_NCCREATE: {
      const auto *cs = reinterpret_cast<const CREATESTRUCTW *>(lParam);
      if (cs && cs->lpszName) StoreText(hWnd, cs->lpszName);
      return TRUE;
    }
    case WM_SETTEXT: StoreText(hWnd, reinterpret_cast<LPCWSTR>(lParam)); return TRUE;
    case WM_GETTEXT: return CopyText(hWnd, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
      return WithWindow<LRESULT>(hWnd, 0, [](const Window &w) { return static_cast<LRESULT>(w.text.size()); });
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageW(hWnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_WINDOWPOSCHANGED: ReportMoveAndSize(hWnd, *reinterpret_cast<const WINDOWPOS *>(lParam)); return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hWnd);
      return 0;
    case WM_NCACTIVATE: return TRUE;
    case WM_SETICON: {
      LRESULT old = SendMessageW(hWnd, WM_GETICON, wParam, 0);
      SetPropW(hWnd, wParam == ICON_BIG ? kBigIconProperty : kSmallIconProperty, reinterpret_cast<HANDLE>(lParam));
      WindowManager::Instance().Notify(hWnd, WindowChange::Icon);
      return old;
    }
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(GetPropW(hWnd, wParam == ICON_BIG ? kBigIconProperty : kSmallIconProperty));
    default: return 0;
  }
}

extern "C" LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}
