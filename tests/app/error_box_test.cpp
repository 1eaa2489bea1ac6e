// The test bench's message box: the caller's text, the platform's
// description of the code and the code line, within 1023 characters.
#include <windows.h>

#include <dshow.h>
#include <gtest/gtest.h>

#include <string>

#include "MainDialog.h"
#include "message_box_answerer.h"

namespace {

using testing_support::MessageBoxAnswerer;

std::wstring SystemText(HRESULT hr) {
  wchar_t text[1024] = L"";
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, hr, 0x400, text, 1023, nullptr);
  return text;
}

std::wstring GraphText(HRESULT hr) {
  wchar_t text[1024] = L"";
  AMGetErrorTextW(hr, text, 1023);
  return text;
}

struct BoxCase {
  const char *name;
  const wchar_t *text;
  HRESULT hr;
  std::wstring expected;
  UINT type;
};

TEST(ErrorBox, ComposesTextDescriptionAndCodeLine) {
  const HRESULT unknownGraphCode = static_cast<HRESULT>(0x8004FFFF);
  const BoxCase cases[] = {
      {"text with a system description", L"File not selected", E_INVALIDARG,
       L"File not selected\n" + SystemText(E_INVALIDARG) + L"\nError 0x80070057", MB_ICONERROR},
      {"text with a graph description", L"Can't build graph", VFW_E_NOT_CONNECTED,
       L"Can't build graph\n" + GraphText(VFW_E_NOT_CONNECTED) + L"\nError 0x80040209", MB_ICONERROR},
      {"text with an unknown code", L"Odd", unknownGraphCode, L"Odd\nError 0x8004FFFF", MB_ICONERROR},
      {"no text, a description", nullptr, E_INVALIDARG, SystemText(E_INVALIDARG) + L"\nError 0x80070057",
       MB_ICONERROR},
      {"no text, no description", nullptr, unknownGraphCode, L"Error 0x8004FFFF", MB_ICONERROR},
      {"empty text, no description", L"", unknownGraphCode, L"Error 0x8004FFFF", MB_ICONERROR},
      {"a success code is a code", L"Hm", S_FALSE, L"Hm\n" + SystemText(S_FALSE) + L"\nError 0x1", MB_ICONERROR},
      {"code 0 is a plain notice", L"The end", 0, L"The end", 0},
  };
  ASSERT_FALSE(SystemText(E_INVALIDARG).empty());
  ASSERT_FALSE(GraphText(VFW_E_NOT_CONNECTED).empty());
  for (const BoxCase &c : cases) {
    MessageBoxAnswerer answerer;
    EXPECT_EQ(ShowMessage(nullptr, c.text, L"Quorvel", c.hr, 0), IDOK) << c.name;
    ASSERT_EQ(answerer.Boxes().size(), 1u) << c.name;
    EXPECT_EQ(answerer.Boxes()[0].text, c.expected) << c.name;
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Quorvel") << c.name;
    EXPECT_EQ(answerer.Boxes()[0].type, c.type) << c.name;
  }
}

TEST(ErrorBox, AGivenTypeIsKept) {
  MessageBoxAnswerer answerer;
  ShowMessage(nullptr, L"Sure?", L"Quorvel", E_FAIL, MB_OKCANCEL | MB_ICONQUESTION);
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
}

TEST(ErrorBox, TextIsCutAt1023CharactersWithRoomLeftForNothingElse) {
  const std::wstring long1023(1023, L'x');
  const std::wstring long2000(2000, L'y');
  const std::wstring long1020(1020, L'z');
  struct {
    const std::wstring &text;
    std::wstring expected;
  } cases[] = {
      {long1023, long1023},
      {long2000, long2000.substr(0, 1023)},
      {long1020, long1020 + L"\n" + SystemText(E_INVALIDARG).substr(0, 2)},
  };
  for (const auto &c : cases) {
    MessageBoxAnswerer answerer;
    ShowMessage(nullptr, c.text.c_str(), L"Quorvel", E_INVALIDARG, 0);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, c.expected) << "text of " << c.text.size() << " characters";
  }
}

TEST(ReadOut, FormatsMediaTimeAsSecondsWithSevenDecimals) {
  const struct {
    REFERENCE_TIME value;
    const wchar_t *expected;
  } cases[] = {
      {0, L"0.0000000"},
      {15000000, L"1.5000000"},
      {600000000, L"60.0000000"},
      {10000, L"0.0010000"},
      {static_cast<REFERENCE_TIME>(0x7FFFFFFF) * 10000000 + 9999999, L"2147483647.9999999"},
      {static_cast<REFERENCE_TIME>(0x80000000) * 10000000, L"2147483648.0000000"},
      {-15000000, L"-1.5000000"},
      {-1, L"-0.0000001"},
      {MAXLONGLONG, L"MAXLONGLONG"},
      {MINLONGLONG, L"MINLONGLONG"},
      {MAXLONGLONG - 1, L"922337203685.4775806"},
      {MINLONGLONG + 1, L"-922337203685.4775807"},
  };
  for (const auto &c : cases) {
    wchar_t text[64];
    wmemset(text, L'#', 64);
    int n = FormatReferenceTime(text, c.value);
    EXPECT_STREQ(text, c.expected) << c.value;
    EXPECT_EQ(n, static_cast<int>(wcslen(c.expected))) << c.value;
  }
  EXPECT_EQ(FormatReferenceTime(nullptr, 1), 0);
}

}  // namespace
