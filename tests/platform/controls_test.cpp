// Standard and common controls: the notifications each sends its parent for
// programmatic changes and for real input (through the input entry points).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/input.h"
#include "message_log.h"
#include "windowing/clipboard.h"

using testing_support::CreateRecorder;
using testing_support::LoggedMessage;
using testing_support::MessageLog;
using testing_support::PumpMessages;

namespace {

// A notification as the parent saw it: the message, the code (low word of
// wParam, or the WM_NOTIFY code) and the high word of wParam.
struct Notification {
  UINT message;
  UINT code;
  UINT high;
  bool operator==(const Notification &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Notification &n) {
  return os << "{0x" << std::hex << n.message << ", " << std::dec << n.code << ", " << n.high << "}";
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PumpMessages();
    parent_ = CreateRecorder(L"parent", WS_POPUP | WS_CAPTION | WS_VISIBLE, nullptr, 0, RECT{0, 0, 600, 300});
    MessageLog::Instance().Clear();
  }
  void TearDown() override {
    DestroyWindow(parent_);
    PumpMessages();
  }
  HWND Make(const wchar_t *cls, DWORD style, int id, RECT r, const wchar_t *text = L"") {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                           nullptr);
  }
  // What the parent heard: command, scroll and notify messages.
  std::vector<Notification> Heard() const {
    std::vector<Notification> out;
    for (const LoggedMessage &m : MessageLog::Instance().Messages({WM_COMMAND, WM_HSCROLL, WM_VSCROLL, WM_NOTIFY})) {
      if (m.hwnd != parent_) continue;
      if (m.message == WM_NOTIFY) {
        out.push_back({m.message, m.notifyCode, 0});
      } else {
        out.push_back({m.message, LOWORD(m.wParam), HIWORD(m.wParam)});
      }
    }
    return out;
  }
  std::wstring Text(HWND w) {
    wchar_t buffer[256];
    GetWindowTextW(w, buffer, 256);
    return buffer;
  }
  HWND parent_ = nullptr;
};

constexpr UINT kChange = EN_CHANGE, kUpdate = EN_UPDATE;

TEST_F(ControlsTest, EditSendsChangeForEverySetTextEvenAnUnchangedOne) {
  HWND edit = Make(L"Edit", ES_AUTOHSCROLL, 202, {10, 10, 200, 30}, L"same");
  MessageLog::Instance().Clear();
  SetWindowTextW(edit, L"same");
  SetDlgItemTextW(parent_, 202, L"same");
  SetDlgItemInt(parent_, 202, 7, TRUE);
  const std::vector<Notification> once = {{WM_COMMAND, kUpdate, 202}, {WM_COMMAND, kChange, 202}};
  std::vector<Notification> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), once.begin(), once.end());
  // The control id is the low word and the code the high word of wParam.
  for (auto &n : expected) std::swap(n.code, n.high);
  EXPECT_EQ(Heard(), expected);
}

TEST_F(ControlsTest, TypingInANumberEditAcceptsDigitsOnlyTypedOrPasted) {
  HWND edit = Make(L"Edit", ES_NUMBER, 205, {10, 10, 100, 30});
  SetFocus(edit);
  ASSERT_TRUE(platform::input::TypeText(L"1a2"));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(Text(edit), L"12");
  platform::windowing::SetClipboardText(L"3x");
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), L"12") << "pasted text with a non-digit is refused";
  platform::windowing::SetClipboardText(L"34");
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), L"1234");
}

TEST_F(ControlsTest, GetDlgItemTextCopiesAtMostTheBufferLessOne) {
  Make(L"Edit", 0, 202, {10, 10, 200, 30}, L"abcdef");
  wchar_t buffer[4] = L"zzz";
  EXPECT_EQ(GetDlgItemTextW(parent_, 202, buffer, 4), 3u);
  EXPECT_STREQ(buffer, L"abc");
}

TEST_F(ControlsTest, GetDlgItemIntParsesAsWindowsDoes) {
  Make(L"Edit", 0, 202, {10, 10, 200, 30});
  struct Case {
    const wchar_t *text;
    BOOL isSigned;
    BOOL translated;
    UINT value;
  } cases[] = {
      {L"", FALSE, FALSE, 0},         {L"-", TRUE, FALSE, 0},
      {L"12a", FALSE, FALSE, 0},      {L" 7", FALSE, TRUE, 7},
      {L"-5", FALSE, FALSE, 0},       {L"-5", TRUE, TRUE, static_cast<UINT>(-5)},
      {L"4294967295", FALSE, TRUE, 4294967295u}, {L"4294967296", FALSE, FALSE, 0},
      {L"2147483648", TRUE, FALSE, 0}, {L"-2147483648", TRUE, TRUE, 0x80000000u},
  };
  for (const auto &c : cases) {
    SetDlgItemTextW(parent_, 202, c.text);
    BOOL translated = 99;
    EXPECT_EQ(GetDlgItemInt(parent_, 202, &translated, c.isSigned), c.value) << "text \"" << c.text << "\"";
    EXPECT_EQ(translated, c.translated) << "text \"" << c.text << "\" signed " << c.isSigned;
  }
  SetDlgItemInt(parent_, 202, static_cast<UINT>(-3), FALSE);
  EXPECT_EQ(Text(GetDlgItem(parent_, 202)), L"4294967293");
  SetDlgItemInt(parent_, 202, static_cast<UINT>(-3), TRUE);
  EXPECT_EQ(Text(GetDlgItem(parent_, 202)), L"-3");
}

TEST_F(ControlsTest, CheckBoxTogglesOnClickButNotOnCheckDlgButton) {
  HWND box = Make(L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 207, {10, 10, 200, 30}, L"switch");
  CheckDlgButton(parent_, 207, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(parent_, 207), static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(Heard().empty()) << "CheckDlgButton sends no click";
  ASSERT_TRUE(platform::input::Click(box));
  PumpMessages();
  EXPECT_EQ(IsDlgButtonChecked(parent_, 207), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(Heard(), (std::vector<Notification>{{WM_COMMAND, 207, BN_CLICKED}}));
}

TEST_F(ControlsTest, ButtonClickNeedsPressAndReleaseInsideAndAnEnabledButton) {
  HWND button = Make(L"Button", BS_PUSHBUTTON, 203, {10, 10, 110, 40}, L"Build graph");
  platform::input::Drag(button, POINT{5, 5}, POINT{300, 5}, 1);
  PumpMessages();
  EXPECT_TRUE(Heard().empty()) << "released outside the button";
  EnableWindow(button, FALSE);
  EXPECT_FALSE(platform::input::Click(button)) << "a disabled button takes no input";
  EnableWindow(button, TRUE);
  platform::input::Click(button);
  PumpMessages();
  EXPECT_EQ(Heard(), (std::vector<Notification>{{WM_COMMAND, 203, BN_CLICKED}}));
}

TEST_F(ControlsTest, TrackbarDragSendsTrackThenPositionThenEndTrack) {
  HWND bar = Make(TRACKBAR_CLASSW, TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE, 211, {0, 100, 416, 121});
  SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELONG(0, 1000));
  SendMessageW(bar, TBM_SETSEL, FALSE, MAKELONG(0, 250));
  EXPECT_EQ(SendMessageW(bar, TBM_GETSELEND, 0, 0), 250);
  EXPECT_TRUE(Heard().empty()) << "programmatic changes send nothing";
  RECT thumb{};
  SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const POINT grip{(thumb.left + thumb.right - 1) / 2, 10};
  ASSERT_TRUE(platform::input::Drag(bar, grip, POINT{208, 10}, 2));
  PumpMessages();
  const int end = static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0));
  EXPECT_EQ(end, 500) << "the middle of a 400-pixel channel";
  EXPECT_EQ(Heard(), (std::vector<Notification>{{WM_HSCROLL, TB_THUMBTRACK, 250},
                                                {WM_HSCROLL, TB_THUMBTRACK, 500},
                                                {WM_HSCROLL, TB_THUMBPOSITION, 500},
                                                {WM_HSCROLL, TB_ENDTRACK, 0}}));
}

TEST_F(ControlsTest, TrackbarChannelClicksAndKeysSendPageAndLineCodes) {
  HWND bar = Make(TRACKBAR_CLASSW, TBS_BOTH | TBS_NOTICKS, 211, {0, 100, 416, 121});
  SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELONG(0, 1000));
  SendMessageW(bar, TBM_SETPOS, TRUE, 500);
  platform::input::ClickAt(bar, POINT{400, 10});
  PumpMessages();
  EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 700) << "a page is a fifth of the range";
  SetFocus(bar);
  platform::input::PressKey(VK_LEFT);
  PumpMessages();
  EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 699);
  EXPECT_EQ(Heard(), (std::vector<Notification>{{WM_HSCROLL, TB_PAGEDOWN, 0},
                                                {WM_HSCROLL, TB_ENDTRACK, 0},
                                                {WM_HSCROLL, TB_LINEUP, 0},
                                                {WM_HSCROLL, TB_ENDTRACK, 0}}));
}

TEST_F(ControlsTest, UpDownArrowWritesItsBuddyAndTellsTheParent) {
  HWND edit = Make(L"Edit", ES_NUMBER, 205, {114, 60, 162, 80});
  HWND spin = Make(UPDOWN_CLASSW, UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 206,
                   {153, 63, 170, 86});
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), edit);
  RECT e{}, s{};
  GetWindowRect(edit, &e);
  GetWindowRect(spin, &s);
  EXPECT_EQ(e.right - e.left, 48 - 17 + 2) << "the buddy is narrowed by the up-down's width";
  EXPECT_EQ(s.right, e.right + 17 - 2) << "the up-down sits at the buddy's old right edge";
  EXPECT_EQ(s.bottom - s.top, e.bottom - e.top) << "as tall as its buddy";

  SendMessageW(spin, UDM_SETRANGE, 0, MAKELONG(4, 0));
  SetDlgItemInt(parent_, 205, 3, FALSE);
  MessageLog::Instance().Clear();
  platform::input::ClickAt(spin, POINT{5, 2});
  PumpMessages();
  EXPECT_EQ(Text(edit), L"4");
  EXPECT_EQ(Heard(), (std::vector<Notification>{{WM_NOTIFY, static_cast<UINT>(UDN_DELTAPOS), 0},
                                                {WM_COMMAND, 205, kUpdate},
                                                {WM_COMMAND, 205, kChange},
                                                {WM_VSCROLL, SB_THUMBPOSITION, 4},
                                                {WM_VSCROLL, SB_ENDSCROLL, 4}}));
  MessageLog::Instance().Clear();
  platform::input::ClickAt(spin, POINT{5, 2});
  PumpMessages();
  EXPECT_EQ(Text(edit), L"4") << "the upper end of the range holds";
  EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 4);
}

TEST_F(ControlsTest, ListBoxKeepsItsItemsAndSelection) {
  HWND list = Make(L"ListBox", LBS_NOTIFY, 300, {0, 0, 200, 100});
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"FilterGraph 1"));
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"FilterGraph 2"));
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 1, 0), 13);
  wchar_t text[64];
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), 13);
  EXPECT_STREQ(text, L"FilterGraph 2");
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 5, reinterpret_cast<LPARAM>(text)), LB_ERR);
  EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 7, 0), LB_ERR);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
  platform::input::ClickAt(list, POINT{20, 3});
  PumpMessages();
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Heard(), (std::vector<Notification>{{WM_COMMAND, 300, LBN_SETFOCUS}, {WM_COMMAND, 300, LBN_SELCHANGE}}));
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

}  // namespace
