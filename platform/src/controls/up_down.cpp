// The msctls_updown32 class, vertical.
//
// With UDS_AUTOBUDDY it takes the control created just before it as its
// buddy; UDS_ALIGNRIGHT then narrows the buddy and sits at its right edge,
// overlapping the buddy's 2-pixel border, as tall as the buddy. With
// UDS_SETBUDDYINT the position is shown in the buddy as a decimal number,
// and read back from the buddy's text before each step.
//
// An arrow click (or, with UDS_ARROWKEYS, the Up or Down key in the buddy)
// reads the buddy's number, sends UDN_DELTAPOS through WM_NOTIFY (a nonzero
// answer cancels the step), moves the position within the range (or wraps
// with UDS_WRAP), writes it into the buddy (raising the buddy's EN_CHANGE)
// and sends WM_VSCROLL with SB_THUMBPOSITION; the release sends
// WM_VSCROLL with SB_ENDSCROLL. The default range is 100 (lower) to 0 (upper).
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "controls/control_procs.h"
#include "controls/control_state.h"

namespace platform::controls {

namespace {

constexpr int kBorderOverlap = 2;
const wchar_t kBuddyOwnerProperty[] = L"#updown.owner";
const wchar_t kBuddyProcProperty[] = L"#updown.proc";

struct UpDownState : windowing::ControlState {
  int lower = 100;
  int upper = 0;
  int position = 0;
  int base = 10;
  HWND buddy = nullptr;
  bool tracking = false;
};

template <typename Use>
LRESULT WithUpDown(HWND hwnd, Use use) {
  return WithState<UpDownState>(hwnd, LRESULT{0}, [&](UpDownState &s, windowing::Window &) {
    return static_cast<LRESULT>(use(s));
  });
}

UpDownState Read(HWND hwnd) {
  UpDownState copy;
  WithUpDown(hwnd, [&](UpDownState &s) {
    copy.lower = s.lower;
    copy.upper = s.upper;
    copy.position = s.position;
    copy.base = s.base;
    copy.buddy = s.buddy;
    return 0;
  });
  return copy;
}

bool HasStyle(HWND hwnd, DWORD style) { return (GetWindowLongW(hwnd, GWL_STYLE) & style) != 0; }

bool InRange(const UpDownState &s, long long value) {
  return value >= std::min(s.lower, s.upper) && value <= std::max(s.lower, s.upper);
}

void ShowInBuddy(HWND hwnd) {
  const UpDownState s = Read(hwnd);
  if (s.buddy && HasStyle(hwnd, UDS_SETBUDDYINT)) SetWindowTextW(s.buddy, std::to_wstring(s.position).c_str());
}

// Takes the buddy's number as the position when it is one within the range.
bool ReadBuddy(HWND hwnd) {
  const UpDownState s = Read(hwnd);
  if (!s.buddy || !HasStyle(hwnd, UDS_SETBUDDYINT)) return true;
  wchar_t text[32] = L"";
  GetWindowTextW(s.buddy, text, 32);
  wchar_t *end = nullptr;
  const long long value = wcstoll(text, &end, s.base == 16 ? 16 : 10);
  if (end == text || *end != L'\0' || !InRange(s, value)) return false;
  WithUpDown(hwnd, [&](UpDownState &state) { return state.position = static_cast<int>(value); });
  return true;
}

int Target(const UpDownState &s, int delta, bool wrap) {
  const int low = std::min(s.lower, s.upper), high = std::max(s.lower, s.upper);
  const long long target = static_cast<long long>(s.position) + delta;
  if (target > high) return wrap ? low : high;
  if (target < low) return wrap ? high : low;
  return static_cast<int>(target);
}

bool ParentCancels(HWND hwnd, int position, int delta) {
  HWND parent = GetParent(hwnd);
  if (!parent) return false;
  NMUPDOWN nm{{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), UDN_DELTAPOS}, position, delta};
  return SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID(hwnd)), reinterpret_cast<LPARAM>(&nm)) != 0;
}

void NotifyScroll(HWND hwnd, WORD code) {
  if (HWND parent = GetParent(hwnd)) {
    SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(Read(hwnd).position)),
                 reinterpret_cast<LPARAM>(hwnd));
  }
}

// One step toward the upper end (up) or the lower end.
void Step(HWND hwnd, bool up) {
  ReadBuddy(hwnd);
  UpDownState s = Read(hwnd);
  const int delta = (up == (s.upper >= s.lower)) ? 1 : -1;
  if (ParentCancels(hwnd, s.position, delta)) return;
  const int target = Target(s, delta, HasStyle(hwnd, UDS_WRAP));
  if (target != s.position) {
    WithUpDown(hwnd, [&](UpDownState &state) { return state.position = target; });
    ShowInBuddy(hwnd);
  }
  NotifyScroll(hwnd, SB_THUMBPOSITION);
}

LRESULT OnButtonDown(HWND hwnd, LPARAM lParam) {
  RECT client{};
  GetClientRect(hwnd, &client);
  SetCapture(hwnd);
  WithUpDown(hwnd, [](UpDownState &s) { return s.tracking = true; });
  Step(hwnd, GET_Y_LPARAM(lParam) < client.bottom / 2);
  return 0;
}

LRESULT OnButtonUp(HWND hwnd) {
  const bool wasTracking = WithUpDown(hwnd, [](UpDownState &s) {
    const bool was = s.tracking;
    s.tracking = false;
    return was;
  });
  if (GetCapture() == hwnd) ReleaseCapture();
  if (wasTracking) NotifyScroll(hwnd, SB_ENDSCROLL);
  return 0;
}

// With UDS_ARROWKEYS the buddy's Up and Down keys step the up-down control.
LRESULT CALLBACK BuddyProc(HWND buddy, UINT message, WPARAM wParam, LPARAM lParam) {
  auto upDown = reinterpret_cast<HWND>(GetPropW(buddy, kBuddyOwnerProperty));
  auto original = reinterpret_cast<WNDPROC>(GetPropW(buddy, kBuddyProcProperty));
  const bool arrow = wParam == VK_UP || wParam == VK_DOWN;
  if (IsWindow(upDown) && arrow && IsWindowEnabled(upDown)) {
    if (message == WM_KEYDOWN) {
      Step(upDown, wParam == VK_UP);
      return 0;
    }
    if (message == WM_KEYUP) {
      NotifyScroll(upDown, SB_ENDSCROLL);
      return 0;
    }
  }
  return CallWindowProcW(original, buddy, message, wParam, lParam);
}

void HookBuddyKeys(HWND hwnd, HWND buddy) {
  SetPropW(buddy, kBuddyOwnerProperty, reinterpret_cast<HANDLE>(hwnd));
  SetPropW(buddy, kBuddyProcProperty,
           reinterpret_cast<HANDLE>(SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc))));
}

void UnhookBuddyKeys(HWND buddy) {
  auto original = reinterpret_cast<WNDPROC>(RemovePropW(buddy, kBuddyProcProperty));
  RemovePropW(buddy, kBuddyOwnerProperty);
  if (original && IsWindow(buddy)) SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
}

RECT RectInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT *>(&r), 2);
  return r;
}

void AlignWithBuddy(HWND hwnd, HWND buddy) {
  const RECT own = RectInParent(hwnd);
  const RECT b = RectInParent(buddy);
  const int width = own.right - own.left;
  const int height = b.bottom - b.top;
  const int buddyWidth = std::max(0, static_cast<int>(b.right - b.left) - width + kBorderOverlap);
  const bool right = HasStyle(hwnd, UDS_ALIGNRIGHT);
  const int buddyLeft = right ? b.left : b.left + width - kBorderOverlap;
  SetWindowPos(buddy, nullptr, buddyLeft, b.top, buddyWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
  const int left = right ? buddyLeft + buddyWidth - kBorderOverlap : b.left;
  SetWindowPos(hwnd, nullptr, left, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SetBuddy(HWND hwnd, HWND buddy) {
  const HWND previous = Read(hwnd).buddy;
  if (previous && HasStyle(hwnd, UDS_ARROWKEYS)) UnhookBuddyKeys(previous);
  WithUpDown(hwnd, [&](UpDownState &s) {
    s.buddy = buddy;
    return 0;
  });
  if (buddy) {
    if (HasStyle(hwnd, UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) AlignWithBuddy(hwnd, buddy);
    if (HasStyle(hwnd, UDS_ARROWKEYS)) HookBuddyKeys(hwnd, buddy);
    ShowInBuddy(hwnd);
  }
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT SetPosition(HWND hwnd, int position) {
  const int old = Read(hwnd).position;
  WithUpDown(hwnd, [&](UpDownState &s) {
    return s.position = std::clamp(position, std::min(s.lower, s.upper), std::max(s.lower, s.upper));
  });
  ShowInBuddy(hwnd);
  return old;
}

LRESULT SetRange(HWND hwnd, int lower, int upper) {
  return WithUpDown(hwnd, [&](UpDownState &s) {
    s.lower = lower;
    s.upper = upper;
    return 0;
  });
}

// UDM_GETPOS: the position in the low word; the high word is nonzero when
// the buddy's text is not a number within the range.
LRESULT GetPosition(HWND hwnd) {
  const bool valid = ReadBuddy(hwnd);
  return MAKELONG(static_cast<WORD>(Read(hwnd).position), valid ? 0 : 1);
}

}  // namespace

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (HasStyle(hwnd, UDS_AUTOBUDDY)) SetBuddy(hwnd, GetWindow(hwnd, GW_HWNDPREV));
      return 0;
    case WM_DESTROY:
      if (HWND buddy = Read(hwnd).buddy; buddy && HasStyle(hwnd, UDS_ARROWKEYS)) UnhookBuddyKeys(buddy);
      return 0;
    case UDM_SETRANGE: return SetRange(hwnd, static_cast<SHORT>(HIWORD(lParam)), static_cast<SHORT>(LOWORD(lParam)));
    case UDM_GETRANGE: {
      const UpDownState s = Read(hwnd);
      return MAKELONG(static_cast<WORD>(s.upper), static_cast<WORD>(s.lower));
    }
    case UDM_SETRANGE32: return SetRange(hwnd, static_cast<int>(wParam), static_cast<int>(lParam));
    case UDM_GETRANGE32: {
      const UpDownState s = Read(hwnd);
      if (wParam) *reinterpret_cast<int *>(wParam) = s.lower;
      if (lParam) *reinterpret_cast<int *>(lParam) = s.upper;
      return 0;
    }
    case UDM_SETPOS: return SetPosition(hwnd, static_cast<SHORT>(LOWORD(lParam)));
    case UDM_SETPOS32: return SetPosition(hwnd, static_cast<int>(lParam));
    case UDM_GETPOS: return GetPosition(hwnd);
    case UDM_GETPOS32: {
      const bool valid = ReadBuddy(hwnd);
      if (lParam) *reinterpret_cast<BOOL *>(lParam) = valid ? FALSE : TRUE;
      return Read(hwnd).position;
    }
    case UDM_SETBUDDY: return SetBuddy(hwnd, reinterpret_cast<HWND>(wParam));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(Read(hwnd).buddy);
    case UDM_SETBASE:
      if (wParam != 10 && wParam != 16) return 0;
      return WithUpDown(hwnd, [&](UpDownState &s) {
        const int old = s.base;
        s.base = static_cast<int>(wParam);
        return old;
      });
    case UDM_GETBASE: return Read(hwnd).base;
    case WM_LBUTTONDOWN: return OnButtonDown(hwnd, lParam);
    case WM_LBUTTONUP: return OnButtonUp(hwnd);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
