#include "debug/debug_output.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string_view>
#include <vector>

#include "text/utf.h"

namespace platform::debug {

// The live captures, and the lock that guards them and their texts.
class CaptureRegistry {
 public:
  // Never destroyed, so that debug output written while the process shuts
  // down (an assertion in a static destructor) still finds it.
  static CaptureRegistry &Instance() {
    static CaptureRegistry *const registry = new CaptureRegistry;
    return *registry;
  }

  void Add(DebugOutputCapture *capture) {
    std::lock_guard lock(m_lock);
    m_captures.push_back(capture);
  }

  void Remove(DebugOutputCapture *capture) {
    std::lock_guard lock(m_lock);
    m_captures.erase(std::remove(m_captures.begin(), m_captures.end(), capture), m_captures.end());
  }

  void Deliver(std::wstring_view text) {
    std::lock_guard lock(m_lock);
    for (DebugOutputCapture *capture : m_captures) capture->m_text += text;
  }

  std::wstring TextOf(const DebugOutputCapture *capture) {
    std::lock_guard lock(m_lock);
    return capture->m_text;
  }

 private:
  std::mutex m_lock;
  std::vector<DebugOutputCapture *> m_captures;
};

DebugOutputCapture::DebugOutputCapture() { CaptureRegistry::Instance().Add(this); }

DebugOutputCapture::~DebugOutputCapture() { CaptureRegistry::Instance().Remove(this); }

std::wstring DebugOutputCapture::Text() const { return CaptureRegistry::Instance().TextOf(this); }

}  // namespace platform::debug

extern "C" void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (!lpOutputString) return;
  std::string text = platform::text::ToUtf8(lpOutputString);
  fwrite(text.data(), 1, text.size(), stderr);
  platform::debug::CaptureRegistry::Instance().Deliver(lpOutputString);
}
