// What an OPENFILENAMEW asks of the open-file dialog, and the rules the
// dialog applies to the name the tester gives before it closes.
#pragma once

#include <commdlg.h>

#include <string>

#include "commdlg/file_dialog.h"

namespace platform::commdlg {

// The filter pairs, the filter index (1-based; 0 or out of range means the
// first), the title ("Open" by default), the starting folder and name (the
// folder of lpstrFile when it names one, else lpstrInitialDir, else the
// current directory) and the rules of the flags.
OpenFileRequest ReadOpenFileRequest(const OPENFILENAMEW &ofn);

// The name with ".<extension>" added when it has no extension of its own.
std::wstring WithDefaultExtension(const std::wstring &path, const std::wstring &extension);

// Why the dialog refuses the name, in the words it shows; empty when it
// takes it.
std::wstring RefusalOf(const std::wstring &path, const OpenFileRequest &request);

}  // namespace platform::commdlg
