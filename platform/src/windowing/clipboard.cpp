#include "windowing/clipboard.h"

#include <mutex>

namespace platform::windowing {

namespace {

std::mutex g_clipboardMutex;
std::wstring g_text;
ClipboardBackend g_backend;

}  // namespace

std::wstring ClipboardText() {
  std::lock_guard lock(g_clipboardMutex);
  return g_backend.read ? g_backend.read() : g_text;
}

void SetClipboardText(const std::wstring &text) {
  std::lock_guard lock(g_clipboardMutex);
  if (g_backend.write) {
    g_backend.write(text);
  } else {
    g_text = text;
  }
}

void SetClipboardBackend(ClipboardBackend backend) {
  std::lock_guard lock(g_clipboardMutex);
  g_backend = std::move(backend);
}

}  // namespace platform::windowing
