#include "windowing/clipboard.h"

#include <mutex>

namespace platform::windowing {

namespace {

std::mutex g_clipboardMutex;
std::wstring g_text;
ClipboardBackend g_backend;

// The backend is called without the lock held: the view's backend may wait
// for the view's thread, which may itself be reading the clipboard.
ClipboardBackend CurrentBackend() {
  std::lock_guard lock(g_clipboardMutex);
  return g_backend;
}

}  // namespace

std::wstring ClipboardText() {
  if (auto backend = CurrentBackend(); backend.read) return backend.read();
  std::lock_guard lock(g_clipboardMutex);
  return g_text;
}

void SetClipboardText(const std::wstring &text) {
  if (auto backend = CurrentBackend(); backend.write) return backend.write(text);
  std::lock_guard lock(g_clipboardMutex);
  g_text = text;
}

void SetClipboardBackend(ClipboardBackend backend) {
  std::lock_guard lock(g_clipboardMutex);
  g_backend = std::move(backend);
}

}  // namespace platform::windowing
