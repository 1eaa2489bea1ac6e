// Modal dialogs: DialogBoxParamW and DialogBoxIndirectParamW. The owner is
// disabled while the dialog runs its own message loop on the calling
// thread; timers and posted messages keep flowing through that loop.
#include "dialogs/modal_loop.h"

#include "dialogs/dialog_creation.h"
#include "windowing/window_manager.h"

namespace platform::dialogs {

namespace {

struct DialogOutcome {
  bool ended;
  INT_PTR result;
};

DialogOutcome Outcome(HWND dialog) {
  return windowing::WithWindow(dialog, DialogOutcome{true, 0}, [](const windowing::Window &w) {
    return w.dialog ? DialogOutcome{w.dialog->ended, w.dialog->result} : DialogOutcome{true, 0};
  });
}

// Runs the loop until EndDialog; a WM_QUIT ends it too and is posted again
// for the loop outside. Returns the result EndDialog gave (0 if none).
INT_PTR RunModalLoop(HWND dialog) {
  if (!Outcome(dialog).ended) ShowWindow(dialog, SW_SHOWNORMAL);
  DialogOutcome outcome = Outcome(dialog);
  while (!outcome.ended) {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    outcome = Outcome(dialog);
  }
  return outcome.result;
}

}  // namespace

INT_PTR RunModalDialog(HWND parent, const std::function<HWND(HWND owner)> &create) {
  HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  HWND dialog = create(owner);
  if (!dialog) {
    if (disableOwner) EnableWindow(owner, TRUE);
    return -1;
  }
  const INT_PTR result = RunModalLoop(dialog);
  if (disableOwner) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

}  // namespace platform::dialogs

using namespace platform::dialogs;

namespace {

INT_PTR RunTemplate(HINSTANCE instance, std::span<const uint8_t> bytes, HWND parent, DLGPROC proc, LPARAM param) {
  if (bytes.empty()) return -1;
  return RunModalDialog(parent, [&](HWND owner) { return CreateDialogFromTemplate(instance, bytes, owner, proc, param); });
}

}  // namespace

extern "C" INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  return RunTemplate(hInstance, FindDialogTemplate(hInstance, lpTemplateName), hWndParent, lpDialogFunc, dwInitParam);
}

extern "C" INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate,
                                                  HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  return RunTemplate(hInstance, IndirectTemplate(hDialogTemplate), hWndParent, lpDialogFunc, dwInitParam);
}
