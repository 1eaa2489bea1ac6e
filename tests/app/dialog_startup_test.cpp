// The main dialog as it comes up: its place on the screen, the state of its
// controls before any graph exists, and the build command without a file.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "MainDialog.h"
#include "dialog_driver.h"
#include "input/input.h"
#include "message_box_answerer.h"
#include "work_area.h"

using testing_support::MessageBoxAnswerer;
using testing_support::RunWithTester;

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

using testing_support::WorkArea;

TEST(DialogStartUp, ControlsThatNeedAGraphAreDisabledAndTheSampleIsPreset) {
  CMainDialog dlg;
  RunWithTester([&] { return dlg.DoModal(NULL); },
                [&](HWND dialog) {
                  for (int id = IDC_LOAD; id <= IDC_STOP; ++id) {
                    EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE, id < IDC_THREADS) << "control " << id;
                  }
                  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_FILE)), QUORVEL_SAMPLE_GRAPH);
                  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_THREADS)), L"1");
                  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_POSITION)), L"");
                  EXPECT_EQ(TextOf(dialog), L"Quorvel");
                  HWND seekBar = GetDlgItem(dialog, IDC_SEEK_BAR);
                  EXPECT_EQ(SendMessageW(seekBar, TBM_GETRANGEMIN, 0, 0), 0);
                  EXPECT_EQ(SendMessageW(seekBar, TBM_GETRANGEMAX, 0, 0), 1000);
                  EXPECT_EQ(SendMessageW(seekBar, TBM_GETSELEND, 0, 0), 0);
                  SYSTEM_INFO info;
                  GetSystemInfo(&info);
                  LRESULT range = SendMessageW(GetDlgItem(dialog, IDC_THREADS_SPIN), UDM_GETRANGE, 0, 0);
                  EXPECT_EQ(LOWORD(range), info.dwNumberOfProcessors) << "upper bound: the processors";
                  EXPECT_EQ(HIWORD(range), 0) << "lower bound";
                  for (int id : {IDC_PASS_THROUGH, IDC_MAINTAIN_ASPECT_RATIO, IDC_FORCE_CHROMA_FORMAT}) {
                    EXPECT_EQ(IsDlgButtonChecked(dialog, id), static_cast<UINT>(BST_UNCHECKED)) << "switch " << id;
                  }
                  platform::input::PressKey(VK_ESCAPE);
                });
}

TEST(DialogStartUp, SitsOnTheWorkAreaBottomCentredOnItsWidthFromTheScreenEdge) {
  const RECT areas[] = {{0, 0, 1920, 1040}, {100, 0, 1100, 700}};
  for (const RECT &area : areas) {
    WorkArea workArea(area);
    CMainDialog dlg;
    RunWithTester([&] { return dlg.DoModal(NULL); },
                  [&](HWND dialog) {
                    RECT rc;
                    GetWindowRect(dialog, &rc);
                    EXPECT_EQ(rc.bottom, area.bottom);
                    EXPECT_EQ(rc.left, ((area.right - area.left) - (rc.right - rc.left)) / 2)
                        << "work area from x = " << area.left;
                    platform::input::PressKey(VK_ESCAPE);
                  });
  }
}

TEST(DialogStartUp, BuildingWithoutAFileReportsItAndKeepsTheGraphControlsOff) {
  MessageBoxAnswerer answerer;
  CMainDialog dlg;
  RunWithTester([&] { return dlg.DoModal(NULL); },
                [&](HWND dialog) {
                  SetWindowTextW(GetDlgItem(dialog, IDC_FILE), L"");
                  platform::input::Click(GetDlgItem(dialog, IDC_BUILD_GRAPH));
                  testing_support::WaitFor([&] { return !answerer.Boxes().empty(); });
                  // The box has gone once the dialog is in front again.
                  testing_support::WaitFor([&] { return GetForegroundWindow() == dialog; });
                  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PLAY)));
                  platform::input::PressKey(VK_ESCAPE);
                });
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].caption, L"Quorvel");
  EXPECT_EQ(answerer.Boxes()[0].text.substr(0, 18), L"File not selected\n");
  EXPECT_NE(answerer.Boxes()[0].text.find(L"\nError 0x80070057"), std::wstring::npos) << answerer.Boxes()[0].text;
}

}  // namespace
