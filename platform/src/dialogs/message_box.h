// Message boxes as the tester's tools and the screen view see them: what a
// box says and which type bits it was given, and a hook told of every box
// that comes up (tests answer boxes through it).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace platform::dialogs {

struct MessageBoxInfo {
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
};

// The details of a message box window; false when hwnd is not one.
bool DescribeMessageBox(HWND hwnd, MessageBoxInfo &out);

// Called on the box's thread once the box is shown and its loop runs; the
// hook may answer it (with input, or EndDialog). One hook at a time; an
// empty function removes it.
using MessageBoxHook = std::function<void(HWND box, const MessageBoxInfo &info)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace platform::dialogs
