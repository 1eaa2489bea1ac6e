// Debug assertions: the line they write and that execution goes on.
#include <atlbase.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "debug/debug_output.h"

namespace {

using platform::debug::DebugOutputCapture;

std::wstring AssertionLine(int line, const std::wstring &text) {
  return L"atldef_test.cpp(" + std::to_wstring(line) + L") : Assertion failed: " + text + L"\n";
}

TEST(AtlAssert, FailureWritesSourceNameLineAndExpressionThenGoesOn) {
  DebugOutputCapture capture;
  HRESULT hr = E_FAIL;
  bool bWentOn = false;
  const int line = __LINE__ + 1;
  ATLASSERT(hr == S_OK);
  bWentOn = true;
  EXPECT_EQ(capture.Text(), AssertionLine(line, L"hr == ((HRESULT)0L)"));
  EXPECT_TRUE(bWentOn);
}

TEST(AtlAssert, ReportsTheExpressionWithItsMacrosExpanded) {
  struct Case {
    const char *name;
    std::function<void()> assertion;
    const wchar_t *reported;
  };
  HRESULT hr = E_FAIL;
  const wchar_t *pszFile = nullptr;
  const Case cases[] = {
      {"FALSE", [] { ATLASSERT(FALSE); }, L"0"},
      {"SUCCEEDED", [&] { ATLASSERT(SUCCEEDED(hr)); }, L"(((HRESULT)(hr)) >= 0)"},
      {"comparison with 0", [&] { ATLASSERT(pszFile != 0); }, L"pszFile != 0"},
      {"message", [] { _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): number of pins < 2"); },
       L"CGraph::CheckFilter(): number of pins < 2"},
  };
  for (const Case &c : cases) {
    DebugOutputCapture capture;
    c.assertion();
    const std::wstring text = capture.Text();
    const std::wstring tail = std::wstring(L"Assertion failed: ") + c.reported + L"\n";
    EXPECT_TRUE(text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
        << c.name << ": got \"" << testing::PrintToString(text) << "\"";
  }
}

TEST(AtlAssert, HoldingExpressionWritesNothingAndIsEvaluatedOnce) {
  DebugOutputCapture capture;
  int nEvaluated = 0;
  ATLASSERT(++nEvaluated == 1);
  EXPECT_EQ(nEvaluated, 1);
  EXPECT_EQ(capture.Text(), L"");
}

}  // namespace
