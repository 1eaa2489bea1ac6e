// The open-file dialog on the screen: Qt's own file dialog (never the
// desktop's native one), set up from the program's request (title, filter
// pairs and the selected one, starting folder and name, default extension,
// whether the file must exist) and kept above the window that owns it.
#pragma once

#include "commdlg/file_dialog.h"

namespace platform::view {

// Starts the view on the calling thread when it does not run yet; cancels
// when there can be no view.
void ChooseFileOnScreen(const commdlg::OpenFileRequest &request, commdlg::FileChoiceReply reply);

}  // namespace platform::view
