// The dialog window procedure: DefDlgProcW calls the dialog procedure and
// gives the messages it leaves alone their default dialog processing.
#include <windows.h>

#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

// Messages whose dialog-procedure result is the message result itself;
// for every other message the result is the DWLP_MSGRESULT value.
bool ResultIsReturnValue(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
  }
}

HWND SavedFocus(HWND dialog) {
  return WithWindow<HWND>(dialog, nullptr, [](const Window &w) { return w.dialog ? w.dialog->savedFocus : nullptr; });
}

void SaveFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (!IsChild(dialog, focus)) return;
  WithWindow(dialog, 0, [&](Window &w) {
    if (w.dialog) w.dialog->savedFocus = focus;
    return 0;
  });
}

void RestoreFocus(HWND dialog) {
  HWND target = SavedFocus(dialog);
  if (!IsWindow(target) || !IsChild(dialog, target)) target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (target) SetFocus(target);
}

LRESULT DefaultIdReply(HWND dialog) {
  UINT id = WithWindow<UINT>(dialog, 0, [](const Window &w) { return w.dialog ? w.dialog->defaultId : 0; });
  return id ? MAKELONG(id, DC_HASDEFID) : 0;
}

void SetDefaultId(HWND dialog, UINT id) {
  WithWindow(dialog, 0, [&](Window &w) {
    if (w.dialog) w.dialog->defaultId = id;
    return 0;
  });
}

// WM_NEXTDLGCTL: lParam nonzero means wParam is the control; otherwise
// wParam zero moves to the next tab stop and nonzero to the previous one.
void MoveToNextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
  if (target) SetFocus(target);
}

LRESULT DefaultDialogProcessing(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The close box, or Alt+F4, is a Cancel.
      PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        SaveFocus(hDlg);
      } else {
        RestoreFocus(hDlg);
      }
      return 0;
    case WM_SETFOCUS: RestoreFocus(hDlg); return 0;
    case DM_GETDEFID: return DefaultIdReply(hDlg);
    case DM_SETDEFID: SetDefaultId(hDlg, static_cast<UINT>(wParam)); return TRUE;
    case WM_NEXTDLGCTL: MoveToNextControl(hDlg, wParam, lParam); return 0;
    default: return DefWindowProcW(hDlg, message, wParam, lParam);
  }
}

}  // namespace

extern "C" LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hDlg, DWLP_DLGPROC));
  INT_PTR handled = 0;
  if (proc) {
    SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);
    handled = proc(hDlg, Msg, wParam, lParam);
  }
  if (handled) return ResultIsReturnValue(Msg) ? handled : GetWindowLongPtrW(hDlg, DWLP_MSGRESULT);
  if (!IsWindow(hDlg)) return 0;
  return DefaultDialogProcessing(hDlg, Msg, wParam, lParam);
}

// Marks the dialog ended; its modal loop returns `nResult` once the current
// message is done. The posted WM_NULL wakes a loop that is waiting.
extern "C" BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
  bool isDialog = WithWindow(hDlg, false, [&](Window &w) {
    if (!w.dialog) return false;
    w.dialog->ended = true;
    w.dialog->result = nResult;
    return true;
  });
  if (!isDialog) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  PostMessageW(hDlg, WM_NULL, 0, 0);
  return TRUE;
}
