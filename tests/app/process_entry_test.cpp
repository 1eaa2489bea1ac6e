// The process entry: COM set-up, the modal run and the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "debug/debug_output.h"
#include "dialog_driver.h"
#include "input/input.h"

using testing_support::RunWithTester;

namespace {

int RunProgram(const wchar_t *commandLine) {
  std::wstring line(commandLine);
  return wWinMain(GetModuleHandleW(nullptr), nullptr, line.data(), SW_SHOWMINIMIZED);
}

TEST(ProcessEntry, ANormalRunEndsWithZeroWhateverTheCommandLine) {
  for (const wchar_t *commandLine : {L"", L"/regserver --anything clip.mp4"}) {
    auto run = RunWithTester([&] { return static_cast<INT_PTR>(RunProgram(commandLine)); },
                             [](HWND) { platform::input::PressKey(VK_ESCAPE); });
    EXPECT_TRUE(run.testerFinished);
    EXPECT_EQ(run.result, 0);
  }
}

TEST(ProcessEntry, AThreadThatHasComAlreadyCountsAsFailureAndShowsNoDialog) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  platform::debug::DebugOutputCapture capture;
  EXPECT_EQ(RunProgram(L""), S_FALSE) << "the exit code is the HRESULT of CoInitialize";
  EXPECT_EQ(FindWindowW(L"#32770", L"Quorvel"), nullptr);
  EXPECT_NE(capture.Text().find(L"_AtlModule.InitializeCom() FAILED"), std::wstring::npos) << capture.Text();
  EXPECT_NE(capture.Text().find(L"Quorvel.cpp("), std::wstring::npos) << capture.Text();
  // The program's CoInitialize counted too (S_FALSE) and it does not undo it.
  CoUninitialize();
  CoUninitialize();
}

}  // namespace
