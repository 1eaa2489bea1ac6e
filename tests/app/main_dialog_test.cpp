// The main dialog as a tester meets it: its message routing, and the keys
// and close box that end the run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "MainDialog.h"
#include "debug/debug_output.h"
#include "dialog_driver.h"
#include "commdlg/file_dialog.h"
#include "input/input.h"
#include "message_box_answerer.h"

using testing_support::RunWithTester;

namespace {

// A modeless instance of the dialog, to ask its message map directly. The
// handlers run for real: their message boxes are answered and the file
// chooser is cancelled.
class MainDialogRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::commdlg::SetFileDialogHook(
        [](const platform::commdlg::OpenFileRequest &, platform::commdlg::FileChoiceReply reply) {
          reply(std::nullopt);
        });
    ASSERT_NE(dialog_.Create(NULL), nullptr);
  }
  void TearDown() override {
    dialog_.DestroyWindow();
    platform::commdlg::SetFileDialogHook({});
  }

  BOOL Route(UINT message, WPARAM wParam, DWORD mapId = 0) {
    LRESULT result = -7;
    BOOL handled = dialog_.ProcessWindowMessage(dialog_.m_hWnd, message, wParam, 0, result, mapId);
    if (handled) {
      EXPECT_EQ(result, message == WM_INITDIALOG ? 1 : 0) << "message 0x" << std::hex << message;
    }
    return handled;
  }

  testing_support::MessageBoxAnswerer answerer_;
  CMainDialog dialog_;
};

TEST_F(MainDialogRouting, EveryRoutedCommandAndMessageIsHandled) {
  const UINT messages[] = {WM_INITDIALOG, WM_APP + 1, WM_TIMER, WM_HSCROLL};
  for (UINT message : messages) EXPECT_TRUE(Route(message, 0)) << "message 0x" << std::hex << message;
  EXPECT_TRUE(Route(WM_APP + 1, 12345)) << "graph notifications are handled whatever their parameters";
  struct Command {
    int id;
    WORD code;
  } commands[] = {
      {IDC_LOAD, BN_CLICKED},          {IDC_FILE, EN_CHANGE},           {IDC_BUILD_GRAPH, BN_CLICKED},
      {IDC_SHOW_GRAPH, BN_CLICKED},    {IDC_THREADS, EN_CHANGE},        {IDC_PASS_THROUGH, BN_CLICKED},
      {IDC_MAINTAIN_ASPECT_RATIO, BN_CLICKED}, {IDC_FORCE_CHROMA_FORMAT, BN_CLICKED},
      {IDC_PREV_FRAME, BN_CLICKED},    {IDC_CURRENT_FRAME, BN_CLICKED}, {IDC_NEXT_FRAME, BN_CLICKED},
      {IDC_PLAY, BN_CLICKED},          {IDC_PAUSE, BN_CLICKED},         {IDC_STOP, BN_CLICKED},
  };
  for (const auto &c : commands) EXPECT_TRUE(Route(WM_COMMAND, MAKEWPARAM(c.id, c.code))) << "control " << c.id;
}

TEST_F(MainDialogRouting, OtherNotificationsAndControlsAreLeftToTheDialogManager) {
  EXPECT_FALSE(Route(WM_COMMAND, MAKEWPARAM(IDC_FILE, EN_SETFOCUS)));
  EXPECT_FALSE(Route(WM_COMMAND, MAKEWPARAM(IDC_LOAD, BN_SETFOCUS)));
  EXPECT_FALSE(Route(WM_COMMAND, MAKEWPARAM(IDC_THREADS_SPIN, 0)));
  EXPECT_FALSE(Route(WM_VSCROLL, 0)) << "the up-down control's own scroll messages are not routed";
  EXPECT_FALSE(Route(WM_NOTIFY, 0));
}

TEST_F(MainDialogRouting, AMessageMapIdOtherThanZeroIsTracedAssertedAndNotHandled) {
  platform::debug::DebugOutputCapture capture;
  EXPECT_FALSE(Route(WM_COMMAND, MAKEWPARAM(IDC_LOAD, BN_CLICKED), 3));
  const std::wstring text = capture.Text();
  EXPECT_NE(text.find(L"Invalid message map ID (3)\n"), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"MainDialog.h("), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"Assertion failed: 0"), std::wstring::npos) << text;
}

// The tester's ways of closing the dialog, and what the modal run returns.
struct Closing {
  const char *name;
  int tabs;  // Tab presses from the first tab stop ("Load...") before the last key
  UINT key;  // 0: the caption's close box
  INT_PTR expected;
};

TEST(MainDialogRun, EscCloseBoxAndEnterEndTheRunWithTheirCommand) {
  const Closing cases[] = {
      {"Esc", 0, VK_ESCAPE, IDCANCEL},
      {"close box", 0, 0, IDCANCEL},
      {"Enter in the file edit", 1, VK_RETURN, IDOK},
  };
  for (const auto &c : cases) {
    CMainDialog dlg;
    auto run = RunWithTester([&] { return dlg.DoModal(NULL); },
                             [&](HWND dialog) {
                               for (int i = 0; i < c.tabs; ++i) platform::input::PressKey(VK_TAB);
                               if (c.key) {
                                 platform::input::PressKey(c.key);
                               } else {
                                 platform::input::ClickCloseBox(dialog);
                               }
                             });
    EXPECT_TRUE(run.testerFinished) << c.name;
    EXPECT_EQ(run.result, c.expected) << c.name;
  }
}

TEST(MainDialogRun, EnterOnAFocusedPushButtonClicksItInsteadOfClosing) {
  CMainDialog dlg;
  auto run = RunWithTester([&] { return dlg.DoModal(NULL); },
                           [&](HWND) {
                             platform::input::PressKey(VK_TAB);
                             platform::input::PressKey(VK_TAB);
                             platform::input::PressKey(VK_RETURN);
                             platform::input::PressKey(VK_ESCAPE);
                           });
  EXPECT_EQ(run.result, IDCANCEL) << "Enter on \"Build graph\" did not close the dialog with IDOK; Esc did";
}

}  // namespace
