// The debug output sink. OutputDebugStringW writes its text to standard
// error (the debugger a Linux tester has) and hands it to every capture that
// is alive at the time, from whichever thread it is called.
#pragma once

#include <string>

namespace platform::debug {

// Collects the debug output written while it lives, in order, for tests that
// check assertion and trace texts. Captures may nest and may be read while
// other threads write.
class DebugOutputCapture {
 public:
  DebugOutputCapture();
  ~DebugOutputCapture();
  DebugOutputCapture(const DebugOutputCapture &) = delete;
  DebugOutputCapture &operator=(const DebugOutputCapture &) = delete;

  // Everything written since construction.
  std::wstring Text() const;

 private:
  friend class CaptureRegistry;
  std::wstring m_text;  // guarded by the registry's lock
};

}  // namespace platform::debug
