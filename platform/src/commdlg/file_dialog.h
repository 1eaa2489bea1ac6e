// The open-file dialog as the platform asks for it: what the program wants
// (title, filters, starting folder and name, rules), and who answers. The
// screen view installs the real chooser; tests install a hook instead, which
// takes precedence, to answer as a tester would.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::commdlg {

struct FileFilter {
  std::wstring description;
  std::vector<std::wstring> patterns;  // "*.mp4", "*.*"
};

struct OpenFileRequest {
  HWND owner = nullptr;
  std::wstring title;
  std::vector<FileFilter> filters;
  size_t filterIndex = 0;  // into filters
  std::wstring folder;     // where the dialog starts
  std::wstring fileName;   // the name it starts with
  bool fileMustExist = false;
  bool pathMustExist = false;
  std::wstring defaultExtension;  // without the dot
};

struct FileChoice {
  std::wstring path;
  size_t filterIndex = 0;
};

// The answer: a choice, or nothing for Cancel. May be called from any thread,
// at once or later, exactly once.
using FileChoiceReply = std::function<void(std::optional<FileChoice>)>;
using FileChooser = std::function<void(const OpenFileRequest &request, FileChoiceReply reply)>;

// The screen view's chooser. Without a chooser and a hook, dialogs are cancelled.
void SetFileChooser(FileChooser chooser);
// Called on the thread that opened the dialog, with the owner already
// disabled; an empty function removes it.
void SetFileDialogHook(FileChooser hook);

// Asks the hook, else the chooser.
void ChooseFile(const OpenFileRequest &request, FileChoiceReply reply);

}  // namespace platform::commdlg
