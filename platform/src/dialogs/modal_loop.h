// The modal run shared by dialog boxes and message boxes.
#pragma once

#include <windows.h>

#include <functional>

namespace platform::dialogs {

// Disables the top-level owner of `parent` (when it is enabled), creates the
// dialog with `create(owner)`, runs its message loop until EndDialog, enables
// the owner again and destroys the dialog. Returns the EndDialog result, or
// -1 when the dialog could not be created.
INT_PTR RunModalDialog(HWND parent, const std::function<HWND(HWND owner)> &create);

}  // namespace platform::dialogs
