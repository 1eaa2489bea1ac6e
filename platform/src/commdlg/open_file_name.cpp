// GetOpenFileNameW and CommDlgExtendedError.
//
// The dialog is modal: the owner's top-level window is disabled and the
// calling thread runs a message loop (timers and posted messages keep
// flowing) until the chooser answers. A name the dialog's rules refuse is
// reported in a message box, as the dialog does, and the chooser is asked
// again. Cancel leaves the caller's buffers as they were.
#include <commdlg.h>
#include <unistd.h>

#include <cwchar>

#include <memory>
#include <mutex>

#include "commdlg/open_file_request.h"
#include "text/utf.h"

using namespace platform;
using namespace platform::commdlg;

namespace {

thread_local DWORD t_extendedError = 0;

// The answer as it arrives from the chooser, possibly on another thread.
struct PendingChoice {
  std::mutex mutex;
  bool answered = false;
  std::optional<FileChoice> choice;
};

// Asks the chooser and runs the calling thread's messages until it answers.
// A WM_QUIT cancels the dialog and is posted again for the loop outside.
std::optional<FileChoice> AskAndWait(const OpenFileRequest &request) {
  auto pending = std::make_shared<PendingChoice>();
  const DWORD thread = GetCurrentThreadId();
  ChooseFile(request, [pending, thread](std::optional<FileChoice> choice) {
    {
      std::lock_guard lock(pending->mutex);
      pending->answered = true;
      pending->choice = std::move(choice);
    }
    PostThreadMessageW(thread, WM_NULL, 0, 0);
  });
  auto answered = [&] {
    std::lock_guard lock(pending->mutex);
    return pending->answered;
  };
  while (!answered()) {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return std::nullopt;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::lock_guard lock(pending->mutex);
  return pending->choice;
}

std::optional<FileChoice> RunDialog(const OpenFileRequest &request) {
  HWND owner = request.owner ? GetAncestor(request.owner, GA_ROOT) : nullptr;
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  std::optional<FileChoice> choice;
  for (;;) {
    choice = AskAndWait(request);
    if (!choice) break;
    choice->path = WithDefaultExtension(choice->path, request.defaultExtension);
    const std::wstring refusal = RefusalOf(choice->path, request);
    if (refusal.empty()) break;
    MessageBoxW(owner, refusal.c_str(), request.title.c_str(), MB_OK | MB_ICONWARNING);
  }
  if (disableOwner) EnableWindow(owner, TRUE);
  return choice;
}

size_t NameOffset(const std::wstring &path) {
  const size_t slash = path.rfind(L'/');
  return slash == std::wstring::npos ? 0 : slash + 1;
}

// The extension's offset; the terminating null's when the name has none,
// 0 when the name ends with its dot.
size_t ExtensionOffset(const std::wstring &path) {
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos || dot < NameOffset(path)) return path.size();
  return dot + 1 == path.size() ? 0 : dot + 1;
}

bool DiffersFromDefault(const std::wstring &path, LPCWSTR defaultExtension) {
  const size_t ext = ExtensionOffset(path);
  if (!defaultExtension || ext == 0) return false;
  return wcscasecmp(path.c_str() + ext, defaultExtension) != 0;
}

void CopyString(const std::wstring &text, LPWSTR buffer) {
  wmemcpy(buffer, text.c_str(), text.size() + 1);
}

// Fills the caller's fields; false (FNERR_BUFFERTOOSMALL, with the size
// needed in the buffer's first character) when the path does not fit.
bool WriteChoice(OPENFILENAMEW &ofn, const FileChoice &choice) {
  const std::wstring &path = choice.path;
  if (path.size() + 1 > ofn.nMaxFile) {
    ofn.lpstrFile[0] = static_cast<WCHAR>(path.size() + 1);
    t_extendedError = FNERR_BUFFERTOOSMALL;
    return false;
  }
  CopyString(path, ofn.lpstrFile);
  ofn.nFileOffset = static_cast<WORD>(NameOffset(path));
  ofn.nFileExtension = static_cast<WORD>(ExtensionOffset(path));
  ofn.nFilterIndex = static_cast<DWORD>(choice.filterIndex + 1);
  const std::wstring name = path.substr(NameOffset(path));
  if (ofn.lpstrFileTitle && name.size() < ofn.nMaxFileTitle) CopyString(name, ofn.lpstrFileTitle);
  if (DiffersFromDefault(path, ofn.lpstrDefExt)) {
    ofn.Flags |= OFN_EXTENSIONDIFFERENT;
  } else {
    ofn.Flags &= ~static_cast<DWORD>(OFN_EXTENSIONDIFFERENT);
  }
  return true;
}

// As Windows does unless told not to: the chosen file's folder becomes the current directory.
void ChangeDirectory(const OPENFILENAMEW &ofn, const std::wstring &path) {
  if (ofn.Flags & OFN_NOCHANGEDIR) return;
  const size_t offset = NameOffset(path);
  if (offset == 0) return;
  const std::wstring folder = offset == 1 ? L"/" : path.substr(0, offset - 1);
  [[maybe_unused]] int rc = chdir(text::ToUtf8(folder).c_str());
}

}  // namespace

extern "C" BOOL WINAPI GetOpenFileNameW(LPOPENFILENAMEW lpofn) {
  t_extendedError = 0;
  if (!lpofn || (lpofn->lStructSize != sizeof(OPENFILENAMEW) &&
                 lpofn->lStructSize != static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400W))) {
    t_extendedError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  if (!lpofn->lpstrFile || lpofn->nMaxFile == 0 || (lpofn->hwndOwner && !IsWindow(lpofn->hwndOwner))) {
    t_extendedError = CDERR_INITIALIZATION;
    return FALSE;
  }
  const std::optional<FileChoice> choice = RunDialog(ReadOpenFileRequest(*lpofn));
  if (!choice || !WriteChoice(*lpofn, *choice)) return FALSE;
  ChangeDirectory(*lpofn, choice->path);
  return TRUE;
}

extern "C" DWORD WINAPI CommDlgExtendedError(void) { return t_extendedError; }
