// Trace lines: their prefix, the level threshold, and Windows format rules.
#include <atlbase.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "debug/debug_output.h"

namespace {

using platform::debug::DebugOutputCapture;

// The text after the prefix "<file>(<line>) : <category> level <n> - ".
std::wstring TextOf(const std::wstring &line) {
  const size_t dash = line.find(L" - ");
  return dash == std::wstring::npos ? L"<no trace line: " + line + L">" : line.substr(dash + 3);
}

TEST(AtlTrace, LineNamesSourceCategoryAndLevel) {
  DebugOutputCapture capture;
  const int line = __LINE__ + 1;
  ATLTRACE2(atlTraceWindowing, 0, L"Invalid message map ID (%i)\n", 1);
  EXPECT_EQ(capture.Text(), L"atltrace_test.cpp(" + std::to_wstring(line) +
                                L") : atlTraceWindowing level 0 - Invalid message map ID (1)\n");
}

TEST(AtlTrace, PlainTraceIsGeneralAtLevelZeroAndGetsNoNewline) {
  DebugOutputCapture capture;
  ATLTRACE(L"no newline");
  const std::wstring text = capture.Text();
  EXPECT_NE(text.find(L" : atlTraceGeneral level 0 - no newline"), std::wstring::npos) << testing::PrintToString(text);
  EXPECT_EQ(text.back(), L'e');
}

TEST(AtlTrace, DefaultThresholdShowsLevelsUpToTen) {
  DebugOutputCapture capture;
  for (UINT nLevel : {0u, 2u, 10u, 11u}) ATLTRACE2(atlTraceGeneral, nLevel, L"level %u;", nLevel);
  const std::wstring text = capture.Text();
  for (const wchar_t *shown : {L"level 0;", L"level 2;", L"level 10;"}) {
    EXPECT_NE(text.find(shown), std::wstring::npos) << testing::PrintToString(shown);
  }
  EXPECT_EQ(text.find(L"level 11;"), std::wstring::npos);
}

TEST(AtlTrace, CategoryLevelHidesMoreDetailedTraces) {
  DebugOutputCapture capture;
  atlTraceGeneral.SetLevel(2);
  ATLTRACE2(atlTraceGeneral, 10, L"progress\n");
  ATLTRACE2(atlTraceGeneral, 2, L"###Err### failed\n");
  ATLTRACE2(atlTraceWindowing, 10, L"other category\n");
  atlTraceGeneral.SetLevel(ATL_TRACE_LEVEL);
  const std::wstring text = capture.Text();
  EXPECT_EQ(text.find(L"progress"), std::wstring::npos);
  EXPECT_NE(text.find(L"###Err### failed"), std::wstring::npos);
  EXPECT_NE(text.find(L"other category"), std::wstring::npos) << "each category has its own level";
}

TEST(AtlTrace, FormatsFollowWindowsRules) {
  struct Case {
    const char *name;
    std::function<void()> trace;
    const wchar_t *expected;
  };
  const LONG lNegative = -5;
  const DWORD dwCode = 0x8007000E;
  const LONGLONG llPosition = -12345678901234LL;
  const SIZE_T cbSize = 4096;
  const Case cases[] = {
      {"%s in a wide format is wide", [] { ATLTRACE2(atlTraceGeneral, 0, L"[%s]", L"wide"); }, L"[wide]"},
      {"%S in a wide format is narrow", [] { ATLTRACE2(atlTraceGeneral, 0, L"[%S]", "narrow"); }, L"[narrow]"},
      {"%hs and %ls", [] { ATLTRACE2(atlTraceGeneral, 0, L"[%hs|%ls]", "n", L"w"); }, L"[n|w]"},
      {"%c and %C", [] { ATLTRACE2(atlTraceGeneral, 0, L"[%c%C]", L'w', 'n'); }, L"[wn]"},
      {"%s in a narrow format is narrow", [] { ATLTRACE2(atlTraceGeneral, 0, "[%s]", "narrow"); }, L"[narrow]"},
      {"%S in a narrow format is wide", [] { ATLTRACE2(atlTraceGeneral, 0, "[%S]", L"wide"); }, L"[wide]"},
      {"%ld is 32 bits", [&] { ATLTRACE2(atlTraceGeneral, 0, L"[%ld]", lNegative); }, L"[-5]"},
      {"%08lX", [&] { ATLTRACE2(atlTraceGeneral, 0, L"[%08lX]", dwCode); }, L"[8007000E]"},
      {"%08x", [] { ATLTRACE2(atlTraceGeneral, 0, L"[%08x]", 0x1F); }, L"[0000001f]"},
      {"%I64d is 64 bits", [&] { ATLTRACE2(atlTraceGeneral, 0, L"[%I64d]", llPosition); }, L"[-12345678901234]"},
      {"%Iu is pointer-sized", [&] { ATLTRACE2(atlTraceGeneral, 0, L"[%Iu]", cbSize); }, L"[4096]"},
      {"width and %%", [] { ATLTRACE2(atlTraceGeneral, 0, L"[%-3d|%5.1f|100%%]", 7, 2.25); }, L"[7  |  2.2|100%]"},
      {"event code", [] { ATLTRACE2(atlTraceGeneral, 2, L"event 0x%X\n", 0xE); }, L"event 0xE\n"},
  };
  for (const Case &c : cases) {
    DebugOutputCapture capture;
    c.trace();
    EXPECT_EQ(TextOf(capture.Text()), c.expected) << c.name;
  }
}

TEST(AtlTrace, LongTextIsWrittenWhole) {
  const std::wstring path(1000, L'x');
  DebugOutputCapture capture;
  ATLTRACE2(atlTraceGeneral, 2, L"open %s\n", path.c_str());
  EXPECT_EQ(TextOf(capture.Text()), L"open " + path + L"\n");
}

}  // namespace
