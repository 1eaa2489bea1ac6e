// The desktop clipboard's text, as edit controls cut, copy and paste it.
// The screen view connects it to the real clipboard of the display.
#pragma once

#include <functional>
#include <string>

namespace platform::windowing {

std::wstring ClipboardText();
void SetClipboardText(const std::wstring &text);

// Lets the screen view take over where the clipboard text lives.
struct ClipboardBackend {
  std::function<std::wstring()> read;
  std::function<void(const std::wstring &)> write;
};
void SetClipboardBackend(ClipboardBackend backend);

}  // namespace platform::windowing
