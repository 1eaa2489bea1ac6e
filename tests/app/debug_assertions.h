// Debug assertions as the graph controller's tests read them from the debug
// output: each as "<source file>: <text>", in the order raised.
#pragma once

#include <windows.h>

#include <stdio.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "debug/debug_output.h"

namespace testing_support {

using Assertions = std::vector<std::wstring>;

inline std::string Hex(HRESULT hr) {
  char text[16];
  snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
  return text;
}

// The assertions in debug output, each as "<source>: <text>".
inline Assertions AssertionsIn(const std::wstring &output) {
  const std::wstring marker = L" : Assertion failed: ";
  Assertions found;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find(L'\n', start);
    if (end == std::wstring::npos) end = output.size();
    const std::wstring line = output.substr(start, end - start);
    const size_t at = line.find(marker);
    if (at != std::wstring::npos) {
      found.push_back(line.substr(0, line.rfind(L'(', at)) + L": " + line.substr(at + marker.size()));
    }
    start = end + 1;
  }
  return found;
}

// Assertions expected from one source, in order.
inline Assertions In(const std::wstring &source, std::initializer_list<const wchar_t *> texts) {
  Assertions expected;
  for (const wchar_t *text : texts) expected.push_back(source + L": " + text);
  return expected;
}
inline Assertions InSource(std::initializer_list<const wchar_t *> texts) { return In(L"Graph.cpp", texts); }
inline Assertions InHeader(std::initializer_list<const wchar_t *> texts) { return In(L"Graph.h", texts); }

inline constexpr wchar_t kResultNotOk[] = L"hr == ((HRESULT)0L)";

// The assertions raised since the last TakeAssertions.
class AssertionLog {
 public:
  Assertions TakeAssertions() {
    const std::wstring text = m_capture.Text();
    Assertions found = AssertionsIn(text.substr(m_seen));
    m_seen = text.size();
    return found;
  }

 private:
  platform::debug::DebugOutputCapture m_capture;
  size_t m_seen = 0;
};

}  // namespace testing_support
