// The Button class: push buttons, check boxes, radio buttons and group boxes.
//
// A click is a left-button press and release inside the button, the space
// bar, or BM_CLICK. It toggles an automatic check box (checks an automatic
// radio button) and then sends BN_CLICKED. BM_SETCHECK, and CheckDlgButton
// through it, change the check without a click and send nothing.
#include "controls/control_looks.h"
#include "controls/control_procs.h"
#include "controls/control_state.h"

#include <windowsx.h>

namespace platform::controls {

namespace {

struct ButtonState : windowing::ControlState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
};

DWORD ButtonType(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

LRESULT DialogCode(HWND hwnd) {
  switch (ButtonType(hwnd)) {
    case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
  }
}

template <typename Use>
auto WithButton(HWND hwnd, Use use) {
  return WithState<ButtonState>(hwnd, decltype(use(std::declval<ButtonState &>())){},
                                [&](ButtonState &state, windowing::Window &) { return use(state); });
}

UINT GetCheck(HWND hwnd) {
  return WithButton(hwnd, [](ButtonState &s) { return s.check; });
}

void SetCheck(HWND hwnd, UINT check) {
  WithButton(hwnd, [&](ButtonState &s) { return s.check = check; });
  InvalidateRect(hwnd, nullptr, TRUE);
}

bool SetPushed(HWND hwnd, bool pushed) {
  const bool wasPushed = WithButton(hwnd, [&](ButtonState &s) {
    const bool was = s.pushed;
    s.pushed = pushed;
    return was;
  });
  InvalidateRect(hwnd, nullptr, TRUE);
  return wasPushed;
}

UINT State(HWND hwnd) {
  return WithButton(hwnd, [](ButtonState &s) { return s.check | (s.pushed ? BST_PUSHED : 0u); }) |
         (GetFocus() == hwnd ? BST_FOCUS : 0u);
}

void Click(HWND hwnd) {
  switch (ButtonType(hwnd)) {
    case BS_AUTOCHECKBOX: SetCheck(hwnd, GetCheck(hwnd) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); break;
    case BS_AUTO3STATE: SetCheck(hwnd, (GetCheck(hwnd) + 1) % 3); break;
    case BS_AUTORADIOBUTTON: SetCheck(hwnd, BST_CHECKED); break;
    case BS_GROUPBOX: return;
    default: break;
  }
  NotifyParent(hwnd, BN_CLICKED);
}

bool PointInside(HWND hwnd, LPARAM lParam) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

LRESULT OnButtonDown(HWND hwnd) {
  if (ButtonType(hwnd) == BS_GROUPBOX) return 0;
  SetFocus(hwnd);
  SetCapture(hwnd);
  SetPushed(hwnd, true);
  return 0;
}

// The click counts only when the press began here and the release is inside.
LRESULT OnButtonUp(HWND hwnd, LPARAM lParam) {
  const bool wasPushed = SetPushed(hwnd, false);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (wasPushed && PointInside(hwnd, lParam)) Click(hwnd);
  return 0;
}

LRESULT OnKey(HWND hwnd, UINT message, WPARAM vk) {
  if (vk != VK_SPACE) return 0;
  if (message == WM_KEYDOWN) {
    SetPushed(hwnd, true);
  } else if (SetPushed(hwnd, false)) {
    Click(hwnd);
  }
  return 0;
}

}  // namespace

ButtonLook LookOfButton(HWND hwnd) {
  return WithButton(hwnd, [](ButtonState &s) { return ButtonLook{s.check, s.pushed}; });
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: return DialogCode(hwnd);
    case BM_GETCHECK: return GetCheck(hwnd);
    case BM_SETCHECK: SetCheck(hwnd, static_cast<UINT>(wParam)); return 0;
    case BM_GETSTATE: return State(hwnd);
    case BM_SETSTATE: SetPushed(hwnd, wParam != 0); return 0;
    case BM_CLICK:
      if (IsWindowEnabled(hwnd)) Click(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButtonDown(hwnd);
    case WM_LBUTTONUP: return OnButtonUp(hwnd, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(hwnd, message, wParam);
    case WM_SETFOCUS: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_KILLFOCUS: SetPushed(hwnd, false); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
