// Qt input on the dialog's mirror reaches the dialog as the messages a
// tester's mouse and keyboard produce on Windows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

#include "dialogs/message_box.h"
#include "resource.h"
#include "view_test_support.h"
#include "windowing/clipboard.h"

using namespace view_testing;

namespace {

class ViewInput : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = ShowMainDialog();
    ASSERT_NE(dialog_, nullptr);
    mirror_ = Mirror(dialog_);
    ASSERT_NE(mirror_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    Pump(nullptr);
  }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  void ClickOn(int id) {
    QtClick(mirror_, CentreOf(Item(id)));
    Pump(dialog_);
  }
  int Count(int id, UINT code) const {
    int n = 0;
    for (const Heard &h : HeardFrom(id)) n += h.high == code;
    return n;
  }

  HWND dialog_ = nullptr;
  QWidget *mirror_ = nullptr;
};

TEST_F(ViewInput, ClickOnLoadReachesTheDialogAsItsButtonClick) {
  ClickOn(IDC_LOAD);
  EXPECT_EQ(HeardFrom(IDC_LOAD), (std::vector<Heard>{{WM_COMMAND, IDC_LOAD, BN_CLICKED}}));
}

TEST_F(ViewInput, PressOnAButtonAndReleaseOutsideIsNoClick) {
  QtPress(mirror_, CentreOf(Item(IDC_BUILD_GRAPH)));
  Pump(dialog_);
  QtMoveHeld(mirror_, QPoint(5, 5));
  QtRelease(mirror_, QPoint(5, 5));
  Pump(dialog_);
  EXPECT_TRUE(HeardFrom(IDC_BUILD_GRAPH).empty()) << "got " << ::testing::PrintToString(HeardFrom(IDC_BUILD_GRAPH));
}

TEST_F(ViewInput, ADisabledControlTakesNoClick) {
  EnableWindow(Item(IDC_PLAY), FALSE);
  ClickOn(IDC_PLAY);
  EXPECT_TRUE(HeardFrom(IDC_PLAY).empty());
  EnableWindow(Item(IDC_PLAY), TRUE);
  ClickOn(IDC_PLAY);
  EXPECT_EQ(HeardFrom(IDC_PLAY), (std::vector<Heard>{{WM_COMMAND, IDC_PLAY, BN_CLICKED}}));
}

TEST_F(ViewInput, ClickTogglesACheckBoxInsideTheGroupBox) {
  ClickOn(IDC_PASS_THROUGH);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_PASS_THROUGH), static_cast<UINT>(BST_CHECKED))
      << "the group box around it lets the click through";
}

TEST_F(ViewInput, TypingIntoTheFileEditRaisesChangePerKeystroke) {
  ClickOn(IDC_FILE);
  EXPECT_EQ(GetFocus(), Item(IDC_FILE)) << "a click gives the edit the focus";
  QtType(mirror_, QStringLiteral("a.mp4"));
  Pump(dialog_);
  EXPECT_EQ(TextOf(Item(IDC_FILE)), L"a.mp4");
  EXPECT_EQ(Count(IDC_FILE, EN_CHANGE), 5);
  QtKey(mirror_, Qt::Key_Backspace);
  Pump(dialog_);
  EXPECT_EQ(TextOf(Item(IDC_FILE)), L"a.mp");
  EXPECT_EQ(Count(IDC_FILE, EN_CHANGE), 6);
}

TEST_F(ViewInput, TheThreadCountEditRefusesLetters) {
  SetDlgItemTextW(dialog_, IDC_THREADS, L"4");
  ClickOn(IDC_THREADS);
  SendMessageW(Item(IDC_THREADS), EM_SETSEL, 1, 1);
  Log().clear();
  QtType(mirror_, QStringLiteral("x"));
  Pump(dialog_);
  EXPECT_EQ(TextOf(Item(IDC_THREADS)), L"4");
  EXPECT_EQ(Count(IDC_THREADS, EN_CHANGE), 0);
  QtType(mirror_, QStringLiteral("2"));
  Pump(dialog_);
  EXPECT_EQ(TextOf(Item(IDC_THREADS)), L"42");
  EXPECT_EQ(Count(IDC_THREADS, EN_CHANGE), 1);
}

TEST_F(ViewInput, CtrlVPastesTheDisplaysClipboard) {
  QGuiApplication::clipboard()->setText(QStringLiteral("/clips/one.mp4"));
  EXPECT_EQ(platform::windowing::ClipboardText(), L"/clips/one.mp4") << "the platform reads the display's clipboard";
  ClickOn(IDC_FILE);
  QtKey(mirror_, Qt::Key_V, Qt::ControlModifier);
  Pump(dialog_);
  EXPECT_EQ(TextOf(Item(IDC_FILE)), L"/clips/one.mp4");
  SendMessageW(Item(IDC_FILE), EM_SETSEL, 7, -1);
  QtKey(mirror_, Qt::Key_C, Qt::ControlModifier);
  Pump(dialog_);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("one.mp4"));
}

TEST_F(ViewInput, UpDownArrowClickWritesTheBuddy) {
  SendDlgItemMessageW(dialog_, IDC_THREADS_SPIN, UDM_SETRANGE32, 1, 16);
  SetDlgItemTextW(dialog_, IDC_THREADS, L"4");
  Log().clear();
  QtClick(mirror_, PointOf(Item(IDC_THREADS_SPIN), POINT{8, 3}));
  Pump(dialog_);
  EXPECT_EQ(TextOf(Item(IDC_THREADS)), L"5");
  EXPECT_EQ(Count(IDC_THREADS, EN_CHANGE), 1);
  QtClick(mirror_, PointOf(Item(IDC_THREADS_SPIN), POINT{8, 17}));
  Pump(dialog_);
  EXPECT_EQ(TextOf(Item(IDC_THREADS)), L"4") << "the lower arrow steps down";
}

// The seek bar's channel is 403 pixels wide (419 less 8 at each end); with a
// range of 0 to 403 every pixel is one position, and the thumb of position
// 0 is centred on the channel's first pixel.
TEST_F(ViewInput, DraggingTheSeekBarThumbSendsTrackThenPositionThenEnd) {
  HWND bar = Item(IDC_SEEK_BAR);
  SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELONG(0, 403));
  SendMessageW(bar, TBM_SETPOS, TRUE, 0);
  RECT client{};
  GetClientRect(bar, &client);
  ASSERT_EQ(client.right, 419);
  const LONG middle = client.bottom / 2;
  Log().clear();
  QtPress(mirror_, PointOf(bar, POINT{8, middle}));
  Pump(dialog_);
  QtMoveHeld(mirror_, PointOf(bar, POINT{58, middle}));
  Pump(dialog_);
  QtMoveHeld(mirror_, PointOf(bar, POINT{108, 40}));  // off the bar: the capture keeps the drag
  Pump(dialog_);
  QtRelease(mirror_, PointOf(bar, POINT{108, 40}));
  Pump(dialog_);
  EXPECT_EQ(HeardFrom(0), (std::vector<Heard>{{WM_HSCROLL, SB_THUMBTRACK, 50},
                                              {WM_HSCROLL, SB_THUMBTRACK, 100},
                                              {WM_HSCROLL, SB_THUMBPOSITION, 100},
                                              {WM_HSCROLL, SB_ENDSCROLL, 0}}));
  EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 100);
}

TEST_F(ViewInput, TabMovesTheFocusToTheNextTabStop) {
  ClickOn(IDC_LOAD);
  QtKey(mirror_, Qt::Key_Tab);
  Pump(dialog_);
  EXPECT_EQ(GetFocus(), Item(IDC_FILE));
  QtKey(mirror_, Qt::Key_Backtab, Qt::ShiftModifier);
  Pump(dialog_);
  EXPECT_EQ(GetFocus(), Item(IDC_LOAD));
}

TEST(ViewModal, EscClosesTheDialogWithCancel) {
  const INT_PTR result = RunMainDialog([](HWND dialog) { QtKey(Mirror(dialog), Qt::Key_Escape); });
  EXPECT_EQ(result, IDCANCEL);
}

TEST(ViewModal, CloseBoxClosesTheDialogWithCancel) {
  const INT_PTR result = RunMainDialog([](HWND dialog) { Mirror(dialog)->close(); });
  EXPECT_EQ(result, IDCANCEL);
}

TEST(ViewModal, EnterAnswersAMessageBoxAndTheOwnerIsDisabledMeanwhile) {
  bool ownerDisabled = false;
  platform::dialogs::MessageBoxInfo seen;
  platform::dialogs::SetMessageBoxHook([&](HWND box, const platform::dialogs::MessageBoxInfo &info) {
    seen = info;
    ownerDisabled = !Mirror(GetWindow(box, GW_OWNER))->isEnabled();
    QtKey(Mirror(box), Qt::Key_Return);
  });
  int answer = 0;
  RunMainDialog([&](HWND dialog) {
    answer = MessageBoxW(dialog, L"The file could not be opened.\nCheck its name.", L"Quorvel", MB_OK | MB_ICONERROR);
    EndDialog(dialog, IDOK);
  });
  platform::dialogs::SetMessageBoxHook({});
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(seen.text, L"The file could not be opened.\nCheck its name.");
  EXPECT_TRUE(ownerDisabled) << "the dialog's mirror takes no input while the box is up";
}

}  // namespace
