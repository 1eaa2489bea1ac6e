// Keyboard navigation in dialogs: IsDialogMessageW, GetNextDlgTabItem,
// GetNextDlgGroupItem.
//
// IsDialogMessageW takes the keys a control does not ask for (its
// WM_GETDLGCODE answer): Tab moves between tab stops, Esc is IDCANCEL,
// Enter clicks the focused push button or else sends the default id (IDOK
// when the dialog has none), arrows move within a group. Everything else is
// translated and dispatched.
#include <windows.h>

#include <algorithm>
#include <vector>

using namespace std;

namespace {

// A control's own visible and enabled styles decide, so tab stops can be
// found while the dialog itself is still hidden.
bool CanTakeFocus(HWND hwnd) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

vector<HWND> ChildrenInOrder(HWND dialog) {
  vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

// Walks the dialog's children cyclically from `start` (excluded) in the given
// direction and returns the first that `accept` takes, or null.
template <typename Accept>
HWND Cycle(const vector<HWND> &children, HWND start, bool backwards, Accept accept) {
  const size_t n = children.size();
  if (n == 0) return nullptr;
  auto it = find(children.begin(), children.end(), start);
  size_t index = it == children.end() ? (backwards ? 0 : n - 1) : static_cast<size_t>(it - children.begin());
  for (size_t step = 0; step < n; ++step) {
    index = backwards ? (index + n - 1) % n : (index + 1) % n;
    if (accept(children[index])) return children[index];
  }
  return nullptr;
}

UINT DialogCode(HWND control, MSG *msg) {
  return control ? static_cast<UINT>(SendMessageW(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg)))
                 : 0;
}

void SendCommand(HWND dialog, int id, HWND control) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void PressEnter(HWND dialog) {
  HWND focus = GetFocus();
  const UINT code = IsChild(dialog, focus) ? DialogCode(focus, nullptr) : 0;
  if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && IsWindowEnabled(focus)) {
    SendCommand(dialog, GetDlgCtrlID(focus), focus);
    return;
  }
  const LRESULT reply = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  const int id = HIWORD(reply) == DC_HASDEFID ? LOWORD(reply) : IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (!button || IsWindowEnabled(button)) SendCommand(dialog, id, button);
}

void MoveFocus(HWND dialog, HWND target) {
  if (!target) return;
  SetFocus(target);
  if (DialogCode(target, nullptr) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
}

bool HandleKeyDown(HWND dialog, MSG *msg) {
  const UINT code = DialogCode(msg->hwnd, msg);
  if (code & DLGC_WANTALLKEYS) return false;
  switch (msg->wParam) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return false;
      MoveFocus(dialog, GetNextDlgTabItem(dialog, GetFocus(), GetKeyState(VK_SHIFT) < 0));
      return true;
    case VK_ESCAPE: SendCommand(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL)); return true;
    case VK_RETURN: PressEnter(dialog); return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (code & DLGC_WANTARROWS) return false;
      MoveFocus(dialog, GetNextDlgGroupItem(dialog, GetFocus(), msg->wParam == VK_LEFT || msg->wParam == VK_UP));
      return true;
    default: return false;
  }
}

// The characters of keys the dialog took are not passed on.
bool SwallowChar(MSG *msg) {
  const UINT code = DialogCode(msg->hwnd, msg);
  if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) return false;
  return msg->wParam == L'\t' || msg->wParam == L'\r' || msg->wParam == 0x1B;
}

}  // namespace

extern "C" BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
  if (!hDlg || !lpMsg || !IsWindow(hDlg)) return FALSE;
  if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
  if (lpMsg->message == WM_KEYDOWN && HandleKeyDown(hDlg, lpMsg)) return TRUE;
  if (lpMsg->message == WM_CHAR && SwallowChar(lpMsg)) return TRUE;
  TranslateMessage(lpMsg);
  DispatchMessageW(lpMsg);
  return TRUE;
}

extern "C" HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  auto children = ChildrenInOrder(hDlg);
  HWND next = Cycle(children, hCtl, bPrevious, [](HWND c) {
    return (GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) && CanTakeFocus(c);
  });
  return next ? next : hCtl;
}

// A group runs from a control with WS_GROUP up to the next one.
extern "C" HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  auto children = ChildrenInOrder(hDlg);
  auto it = find(children.begin(), children.end(), hCtl);
  if (it == children.end()) return nullptr;
  auto startsGroup = [](HWND c) { return (GetWindowLongW(c, GWL_STYLE) & WS_GROUP) != 0; };
  auto first = it;
  while (first != children.begin() && !startsGroup(*first)) --first;
  auto last = it + 1;
  while (last != children.end() && !startsGroup(*last)) ++last;
  vector<HWND> group(first, last);
  HWND next = Cycle(group, hCtl, bPrevious, CanTakeFocus);
  return next ? next : hCtl;
}
