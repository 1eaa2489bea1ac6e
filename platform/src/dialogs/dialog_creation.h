// Creating a dialog from its template: the dialog window, then its controls
// in template order, then WM_INITDIALOG.
#pragma once

#include <windows.h>

#include <span>

#include "resources/dialog_template.h"

namespace platform::dialogs {

// Creates a dialog (not yet shown unless its template says WS_VISIBLE) from
// the bytes of a DLGTEMPLATE or DLGTEMPLATEEX; null when the template is
// malformed or a window cannot be created.
HWND CreateDialogFromTemplate(HINSTANCE instance, std::span<const uint8_t> templateBytes, HWND owner,
                              DLGPROC dialogProc, LPARAM initParam);

// The same from a template already parsed (or built by the platform itself,
// as message boxes are).
HWND CreateDialogFromParsed(HINSTANCE instance, const resources::DialogTemplate &dialogTemplate, HWND owner,
                            DLGPROC dialogProc, LPARAM initParam);

// The bytes of an in-memory template. Such templates carry no size; they are
// trusted to be well formed, as on Windows, and parsing stops at their end.
std::span<const uint8_t> IndirectTemplate(LPCDLGTEMPLATEW dialogTemplate);

// The bytes of dialog template `name` in the module; empty when it has none.
std::span<const uint8_t> FindDialogTemplate(HINSTANCE instance, LPCWSTR name);

}  // namespace platform::dialogs
