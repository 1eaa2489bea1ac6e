// MessageBoxW: a modal box owned by the given window, answered by a tester.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>

#include "message_box_answerer.h"
#include "message_log.h"

using testing_support::CreateRecorder;
using testing_support::MessageBoxAnswerer;
using testing_support::MessageLog;
using testing_support::PumpMessages;

namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PumpMessages();
    owner_ = CreateRecorder(L"owner", WS_POPUP | WS_CAPTION | WS_VISIBLE);
    MessageLog::Instance().Clear();
  }
  void TearDown() override {
    DestroyWindow(owner_);
    PumpMessages();
  }
  HWND owner_ = nullptr;
};

TEST_F(MessageBoxTest, EnterAnswersOkAndTheBoxKeepsItsTextCaptionAndType) {
  MessageBoxAnswerer answerer;
  EXPECT_EQ(MessageBoxW(owner_, L"File not selected\nError 0x80070057", L"Quorvel", MB_ICONERROR), IDOK);
  auto boxes = answerer.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"File not selected\nError 0x80070057");
  EXPECT_EQ(boxes[0].caption, L"Quorvel");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(IsWindowEnabled(owner_)) << "the owner is enabled again";
  EXPECT_EQ(GetActiveWindow(), owner_) << "and active again";
}

std::atomic<int> g_ticks{0};
std::atomic<bool> g_ownerDisabledDuringBox{false};

TEST_F(MessageBoxTest, TimersAndPostedMessagesKeepFlowingWhileTheBoxIsUp) {
  // The box is answered only after the owner's timer has ticked twice.
  struct Answer {
    static void CALLBACK OnTick(HWND owner, UINT, UINT_PTR, DWORD) {
      g_ownerDisabledDuringBox = !IsWindowEnabled(owner);
      if (++g_ticks == 2) platform::input::PressKey(VK_ESCAPE);
    }
  };
  g_ticks = 0;
  SetTimer(owner_, 1, 10, Answer::OnTick);
  PostMessageW(owner_, WM_APP + 1, 0, 0);
  EXPECT_EQ(MessageBoxW(owner_, L"The end", L"Quorvel", MB_OK), IDOK) << "Esc answers OK when OK is the only button";
  KillTimer(owner_, 1);
  EXPECT_GE(g_ticks.load(), 2);
  EXPECT_TRUE(g_ownerDisabledDuringBox);
  EXPECT_EQ(MessageLog::Instance().MessageIds({WM_APP + 1}).size(), 1u) << "the posted message reached the owner";
}

TEST_F(MessageBoxTest, AnInvalidOwnerFailsWithZero) {
  HWND gone = CreateRecorder(L"gone");
  DestroyWindow(gone);
  EXPECT_EQ(MessageBoxW(gone, L"text", L"caption", MB_OK), 0);
}

TEST(CommonControls, InitCommonControlsExChecksItsArgument) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  EXPECT_TRUE(InitCommonControlsEx(&icc));
  icc.dwSize = 4;
  EXPECT_FALSE(InitCommonControlsEx(&icc));
  EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

}  // namespace
