#include "commdlg/file_dialog.h"

#include <mutex>

namespace platform::commdlg {

namespace {

struct Answerers {
  std::mutex mutex;
  FileChooser chooser;
  FileChooser hook;
};

// Reached through a function so the view may install its chooser while the
// library's static objects are still being built.
Answerers &TheAnswerers() {
  static Answerers answerers;
  return answerers;
}

}  // namespace

void SetFileChooser(FileChooser chooser) {
  auto &a = TheAnswerers();
  std::lock_guard lock(a.mutex);
  a.chooser = std::move(chooser);
}

void SetFileDialogHook(FileChooser hook) {
  auto &a = TheAnswerers();
  std::lock_guard lock(a.mutex);
  a.hook = std::move(hook);
}

void ChooseFile(const OpenFileRequest &request, FileChoiceReply reply) {
  FileChooser answerer;
  {
    auto &a = TheAnswerers();
    std::lock_guard lock(a.mutex);
    answerer = a.hook ? a.hook : a.chooser;
  }
  if (!answerer) {
    OutputDebugStringW(L"GetOpenFileNameW: no screen to show the dialog on; cancelled\n");
    reply(std::nullopt);
    return;
  }
  answerer(request, std::move(reply));
}

}  // namespace platform::commdlg
