#include "debug/debug_output.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

using platform::debug::DebugOutputCapture;

TEST(DebugOutput, CaptureCollectsWhatIsWrittenWhileItLives) {
  OutputDebugStringW(L"before\n");
  std::wstring text;
  {
    DebugOutputCapture capture;
    OutputDebugStringW(L"caf\u00e9 ");
    OutputDebugStringW(nullptr);
    OutputDebugStringW(L"\U0001F3AC\n");
    text = capture.Text();
  }
  EXPECT_EQ(text, L"caf\u00e9 \U0001F3AC\n");
}

TEST(DebugOutput, NestedCapturesEachSeeTheirSpan) {
  DebugOutputCapture outer;
  OutputDebugStringW(L"a");
  {
    DebugOutputCapture inner;
    OutputDebugStringW(L"b");
    EXPECT_EQ(inner.Text(), L"b");
  }
  OutputDebugStringW(L"c");
  EXPECT_EQ(outer.Text(), L"abc");
}

TEST(DebugOutput, CapturesWritesOfAllThreadsWhole) {
  DebugOutputCapture capture;
  constexpr int kThreads = 4;
  constexpr int kLines = 200;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([t] {
      const std::wstring line = L"writer " + std::to_wstring(t) + L" line\n";
      for (int i = 0; i < kLines; ++i) OutputDebugStringW(line.c_str());
    });
  }
  for (auto &writer : writers) writer.join();
  const std::wstring text = capture.Text();
  for (int t = 0; t < kThreads; ++t) {
    const std::wstring line = L"writer " + std::to_wstring(t) + L" line\n";
    size_t count = 0;
    for (size_t at = text.find(line); at != std::wstring::npos; at = text.find(line, at + 1)) ++count;
    EXPECT_EQ(count, size_t{kLines}) << "writer " << t << ": each call arrives whole";
  }
}

}  // namespace
