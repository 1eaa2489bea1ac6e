// The msctls_trackbar32 class, horizontal.
//
// It tells its parent of every movement by the tester with WM_HSCROLL (the
// trackbar's window in lParam): a drag of the thumb sends TB_THUMBTRACK with
// the position in the high word at each move, and its release
// TB_THUMBPOSITION with the position, then TB_ENDTRACK. A click on the
// channel moves a page toward the click and sends TB_PAGEUP or TB_PAGEDOWN;
// keys send the line and page codes, TB_TOP and TB_BOTTOM; these carry 0 in
// the high word and are followed by TB_ENDTRACK when the button or key is
// released. Messages from the program (TBM_SETPOS, TBM_SETSEL, ...) send nothing.
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "controls/control_looks.h"
#include "controls/control_procs.h"
#include "controls/control_state.h"
#include "controls/trackbar_layout.h"

namespace platform::controls {

namespace {

struct TrackbarState : windowing::ControlState {
  int rangeMin = 0;
  int rangeMax = 100;
  int position = 0;
  int selStart = 0;
  int selEnd = 0;
  int lineSize = 1;
  int pageSize = 20;
  int ticFrequency = 1;
  bool dragging = false;
  int dragOffset = 0;  // from the thumb's centre to where the mouse took it
};

template <typename Use>
LRESULT WithTrackbar(HWND hwnd, Use use) {
  return WithState<TrackbarState>(hwnd, LRESULT{0}, [&](TrackbarState &s, windowing::Window &) {
    return static_cast<LRESULT>(use(s));
  });
}

// Changes what the trackbar shows (position, range, selection) and has it drawn again.
template <typename Use>
LRESULT ChangeTrackbar(HWND hwnd, Use use) {
  const LRESULT result = WithTrackbar(hwnd, use);
  InvalidateRect(hwnd, nullptr, TRUE);
  return result;
}

TrackbarState Read(HWND hwnd) {
  TrackbarState copy;
  WithTrackbar(hwnd, [&](TrackbarState &s) {
    copy = s;
    return 0;
  });
  return copy;
}

SIZE Client(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return SIZE{r.right, r.bottom};
}

int Clamp(const TrackbarState &s, int value) { return std::clamp(value, s.rangeMin, std::max(s.rangeMin, s.rangeMax)); }

void SetPosition(HWND hwnd, int position) {
  ChangeTrackbar(hwnd, [&](TrackbarState &s) { return s.position = Clamp(s, position); });
}

void Notify(HWND hwnd, WORD code, WORD position) {
  if (HWND parent = GetParent(hwnd)) {
    SendMessageW(parent, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(hwnd));
  }
}

// Moves by a scroll code of the line, page, top and bottom kind and tells the parent.
void Step(HWND hwnd, WORD code) {
  const TrackbarState s = Read(hwnd);
  int target = s.position;
  switch (code) {
    case TB_LINEUP: target -= s.lineSize; break;
    case TB_LINEDOWN: target += s.lineSize; break;
    case TB_PAGEUP: target -= s.pageSize; break;
    case TB_PAGEDOWN: target += s.pageSize; break;
    case TB_TOP: target = s.rangeMin; break;
    case TB_BOTTOM: target = s.rangeMax; break;
    default: return;
  }
  SetPosition(hwnd, target);
  Notify(hwnd, code, 0);
}

LRESULT OnButtonDown(HWND hwnd, LPARAM lParam) {
  SetFocus(hwnd);
  SetCapture(hwnd);
  const TrackbarState s = Read(hwnd);
  const TrackbarLayout layout = LayoutTrackbar(Client(hwnd), s.rangeMin, s.rangeMax, s.position);
  const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (PtInRect(&layout.thumb, pt)) {
    WithTrackbar(hwnd, [&](TrackbarState &state) {
      state.dragging = true;
      return state.dragOffset = pt.x - (layout.thumb.left + layout.thumb.right - 1) / 2;
    });
  } else {
    Step(hwnd, pt.x < layout.thumb.left ? TB_PAGEUP : TB_PAGEDOWN);
  }
  return 0;
}

LRESULT OnMouseMove(HWND hwnd, LPARAM lParam) {
  const TrackbarState s = Read(hwnd);
  if (!s.dragging) return 0;
  const int target = PositionAtX(Client(hwnd), s.rangeMin, s.rangeMax, GET_X_LPARAM(lParam) - s.dragOffset);
  if (target == s.position) return 0;
  SetPosition(hwnd, target);
  Notify(hwnd, TB_THUMBTRACK, static_cast<WORD>(Read(hwnd).position));
  return 0;
}

LRESULT OnButtonUp(HWND hwnd) {
  const bool wasDragging = WithTrackbar(hwnd, [](TrackbarState &s) {
    const bool was = s.dragging;
    s.dragging = false;
    return was;
  });
  if (GetCapture() == hwnd) ReleaseCapture();
  if (wasDragging) Notify(hwnd, TB_THUMBPOSITION, static_cast<WORD>(Read(hwnd).position));
  Notify(hwnd, TB_ENDTRACK, 0);
  return 0;
}

WORD CodeOfKey(WPARAM vk) {
  switch (vk) {
    case VK_LEFT:
    case VK_UP: return TB_LINEUP;
    case VK_RIGHT:
    case VK_DOWN: return TB_LINEDOWN;
    case VK_PRIOR: return TB_PAGEUP;
    case VK_NEXT: return TB_PAGEDOWN;
    case VK_HOME: return TB_TOP;
    case VK_END: return TB_BOTTOM;
    default: return TB_ENDTRACK;
  }
}

LRESULT OnKey(HWND hwnd, UINT message, WPARAM vk) {
  const WORD code = CodeOfKey(vk);
  if (code == TB_ENDTRACK) return 0;
  if (message == WM_KEYDOWN) {
    Step(hwnd, code);
  } else {
    Notify(hwnd, TB_ENDTRACK, 0);
  }
  return 0;
}

LRESULT SetRange(HWND hwnd, int rangeMin, int rangeMax) {
  return ChangeTrackbar(hwnd, [&](TrackbarState &s) {
    s.rangeMin = rangeMin;
    s.rangeMax = rangeMax;
    s.pageSize = std::max(1, (rangeMax - rangeMin) / 5);
    s.position = Clamp(s, s.position);
    return 0;
  });
}

LRESULT FillRect(HWND hwnd, LPARAM lParam, bool thumb) {
  auto *out = reinterpret_cast<RECT *>(lParam);
  if (!out) return 0;
  const TrackbarState s = Read(hwnd);
  const TrackbarLayout layout = LayoutTrackbar(Client(hwnd), s.rangeMin, s.rangeMax, s.position);
  *out = thumb ? layout.thumb : layout.channel;
  return 0;
}

// Replaces an int field and returns its old value.
LRESULT Exchange(HWND hwnd, int TrackbarState::*field, int value) {
  return ChangeTrackbar(hwnd, [&](TrackbarState &s) {
    const int old = s.*field;
    s.*field = value;
    return old;
  });
}

LRESULT Get(HWND hwnd, int TrackbarState::*field) {
  return WithTrackbar(hwnd, [&](TrackbarState &s) { return s.*field; });
}

}  // namespace

TrackbarLook LookOfTrackbar(HWND hwnd) {
  const TrackbarState s = Read(hwnd);
  return TrackbarLook{s.rangeMin, s.rangeMax, s.position, s.selStart, s.selEnd};
}

LRESULT CALLBACK TrackbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const int low = static_cast<SHORT>(LOWORD(lParam)), high = static_cast<SHORT>(HIWORD(lParam));
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case TBM_GETPOS: return Get(hwnd, &TrackbarState::position);
    case TBM_SETPOS: SetPosition(hwnd, static_cast<int>(lParam)); return 0;
    case TBM_GETRANGEMIN: return Get(hwnd, &TrackbarState::rangeMin);
    case TBM_GETRANGEMAX: return Get(hwnd, &TrackbarState::rangeMax);
    case TBM_SETRANGE: return SetRange(hwnd, low, high);
    case TBM_SETRANGEMIN: return SetRange(hwnd, static_cast<int>(lParam), Read(hwnd).rangeMax);
    case TBM_SETRANGEMAX: return SetRange(hwnd, Read(hwnd).rangeMin, static_cast<int>(lParam));
    case TBM_SETSEL:
      Exchange(hwnd, &TrackbarState::selStart, low);
      Exchange(hwnd, &TrackbarState::selEnd, high);
      return 0;
    case TBM_SETSELSTART: Exchange(hwnd, &TrackbarState::selStart, static_cast<int>(lParam)); return 0;
    case TBM_SETSELEND: Exchange(hwnd, &TrackbarState::selEnd, static_cast<int>(lParam)); return 0;
    case TBM_GETSELSTART: return Get(hwnd, &TrackbarState::selStart);
    case TBM_GETSELEND: return Get(hwnd, &TrackbarState::selEnd);
    case TBM_CLEARSEL:
      Exchange(hwnd, &TrackbarState::selStart, 0);
      Exchange(hwnd, &TrackbarState::selEnd, 0);
      return 0;
    case TBM_SETPAGESIZE: return Exchange(hwnd, &TrackbarState::pageSize, static_cast<int>(lParam));
    case TBM_GETPAGESIZE: return Get(hwnd, &TrackbarState::pageSize);
    case TBM_SETLINESIZE: return Exchange(hwnd, &TrackbarState::lineSize, static_cast<int>(lParam));
    case TBM_GETLINESIZE: return Get(hwnd, &TrackbarState::lineSize);
    case TBM_SETTICFREQ: Exchange(hwnd, &TrackbarState::ticFrequency, static_cast<int>(wParam)); return 0;
    case TBM_GETTHUMBRECT: return FillRect(hwnd, lParam, true);
    case TBM_GETCHANNELRECT: return FillRect(hwnd, lParam, false);
    case WM_LBUTTONDOWN: return OnButtonDown(hwnd, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, lParam);
    case WM_LBUTTONUP: return OnButtonUp(hwnd);
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(hwnd, message, wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
