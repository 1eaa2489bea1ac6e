// Windows: creation and destruction messages, handles, classes, the window
// tree, geometry with the fixed frame metrics, longs, activation and focus.
#include <windows.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "message_log.h"

using testing_support::CreateRecorder;
using testing_support::Describe;
using testing_support::MessageLog;
using testing_support::PumpMessages;

namespace {

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::RegisterRecorderClass();
    PumpMessages();
    MessageLog::Instance().Clear();
  }
  void TearDown() override {
    for (HWND w : created_) {
      if (IsWindow(w)) DestroyWindow(w);
    }
    PumpMessages();
  }
  HWND Make(const wchar_t *title, DWORD style = WS_OVERLAPPED, HWND parent = nullptr, int id = 0,
            RECT rect = RECT{0, 0, 100, 100}) {
    HWND w = CreateRecorder(title, style, parent, id, rect);
    created_.push_back(w);
    return w;
  }
  std::vector<HWND> created_;
};

std::vector<HWND> Collect(BOOL(WINAPI *enumerate)(HWND, WNDENUMPROC, LPARAM), HWND parent) {
  std::vector<HWND> found;
  enumerate(parent, [](HWND w, LPARAM lp) -> BOOL {
    reinterpret_cast<std::vector<HWND> *>(lp)->push_back(w);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&found));
  return found;
}

BOOL WINAPI EnumTopLevel(HWND, WNDENUMPROC proc, LPARAM lp) { return EnumWindows(proc, lp); }

std::vector<HWND> OnlyThese(const std::vector<HWND> &all, const std::vector<HWND> &wanted) {
  std::vector<HWND> out;
  for (HWND w : all) {
    for (HWND x : wanted) {
      if (w == x) out.push_back(w);
    }
  }
  return out;
}

TEST_F(WindowsTest, CreationAndDestructionSendTheirMessagesInWindowsOrder) {
  HWND parent = Make(L"parent");
  HWND child = Make(L"child", WS_CHILD, parent, 5);
  EXPECT_EQ(MessageLog::Instance().MessageIds({WM_NCCREATE, WM_CREATE}),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_NCCREATE, WM_CREATE}));
  MessageLog::Instance().Clear();
  ASSERT_TRUE(DestroyWindow(parent));
  auto log = MessageLog::Instance().Messages({WM_DESTROY, WM_NCDESTROY});
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].hwnd, parent) << "WM_DESTROY reaches the parent first";
  EXPECT_EQ(log[1].hwnd, child);
  EXPECT_EQ(log[2].hwnd, child) << "WM_NCDESTROY reaches the child first";
  EXPECT_EQ(log[2].message, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(log[3].hwnd, parent);
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowsTest, HandlesCarryTheProcessIdAndAreNeverReused) {
  HWND a = Make(L"a");
  DestroyWindow(a);
  HWND b = Make(L"b");
  EXPECT_NE(a, b);
  EXPECT_EQ(reinterpret_cast<uint64_t>(b) >> 32, static_cast<uint64_t>(getpid()));
  DWORD pid = 0;
  EXPECT_EQ(GetWindowThreadProcessId(b, &pid), GetCurrentThreadId());
  EXPECT_EQ(pid, GetCurrentProcessId());
}

TEST_F(WindowsTest, ClassNamesAreMatchedCaseInsensitivelyAndReportedAsRegistered) {
  struct Case {
    const wchar_t *asCreated;
    const wchar_t *registered;
  } cases[] = {
      {L"BUTTON", L"Button"},         {L"edit", L"Edit"},
      {L"STATIC", L"Static"},         {L"LISTBOX", L"ListBox"},
      {L"MSCTLS_TRACKBAR32", L"msctls_trackbar32"}, {L"MSCTLS_UPDOWN32", L"msctls_updown32"},
  };
  HWND parent = Make(L"parent");
  for (const auto &c : cases) {
    HWND w = CreateWindowExW(0, c.asCreated, L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr) << "class " << c.asCreated;
    wchar_t name[64];
    EXPECT_EQ(GetClassNameW(w, name, 64), static_cast<int>(wcslen(c.registered)));
    EXPECT_STREQ(name, c.registered);
  }
  SetLastError(0);
  EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(WindowsTest, ParentOwnerAndDialogItems) {
  HWND owner = Make(L"owner");
  HWND popup = Make(L"popup", WS_POPUP, owner);
  HWND overlapped = Make(L"owned overlapped", WS_OVERLAPPED, owner);
  HWND child = Make(L"child", WS_CHILD, owner, 42);
  EXPECT_EQ(GetParent(popup), owner) << "a pop-up's parent is its owner";
  EXPECT_EQ(GetParent(overlapped), nullptr) << "an owned overlapped window has no parent";
  EXPECT_EQ(GetWindow(overlapped, GW_OWNER), owner);
  EXPECT_EQ(GetParent(child), owner);
  EXPECT_EQ(GetDlgItem(owner, 42), child);
  EXPECT_EQ(GetDlgCtrlID(child), 42);
  EXPECT_EQ(GetDlgItem(owner, 43), nullptr);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(popup)) << "owned windows are destroyed with their owner";
  EXPECT_FALSE(IsWindow(overlapped));
}

TEST_F(WindowsTest, EnumWindowsGoesTopmostFirstAndEnumChildWindowsDepthFirst) {
  HWND first = Make(L"first");
  HWND second = Make(L"second");
  HWND third = Make(L"third");
  EXPECT_EQ(OnlyThese(Collect(EnumTopLevel, nullptr), {first, second, third}),
            (std::vector<HWND>{third, second, first}))
      << "a new top-level window goes on top";
  BringWindowToTop(first);
  EXPECT_EQ(OnlyThese(Collect(EnumTopLevel, nullptr), {first, second, third}),
            (std::vector<HWND>{first, third, second}));

  HWND a = Make(L"a", WS_CHILD, first, 1);
  HWND a1 = Make(L"a1", WS_CHILD, a, 11);
  HWND b = Make(L"b", WS_CHILD, first, 2);
  EXPECT_EQ(Collect(EnumChildWindows, first), (std::vector<HWND>{a, a1, b}))
      << "children in creation order, each followed by its own children";
}

TEST_F(WindowsTest, WindowRectIncludesTheFrameTheStylesGive) {
  struct Case {
    const char *name;
    DWORD style;
    DWORD exStyle;
    RECT insets;  // left, top, right, bottom
  } cases[] = {
      {"caption and dialog frame", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, {3, 26, 3, 3}},
      {"sizing frame", WS_OVERLAPPEDWINDOW, 0, {4, 27, 4, 4}},
      {"thin border", WS_POPUP | WS_BORDER, 0, {1, 1, 1, 1}},
      {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, {2, 2, 2, 2}},
      {"no frame", WS_POPUP, 0, {0, 0, 0, 0}},
  };
  for (const auto &c : cases) {
    RECT r{100, 200, 500, 400};
    ASSERT_TRUE(AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle));
    EXPECT_EQ(r.left, 100 - c.insets.left) << c.name;
    EXPECT_EQ(r.top, 200 - c.insets.top) << c.name;
    EXPECT_EQ(r.right, 500 + c.insets.right) << c.name;
    EXPECT_EQ(r.bottom, 400 + c.insets.bottom) << c.name;
  }
  HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, L"RecorderWindow", L"framed", WS_POPUP | WS_CAPTION, 10, 20, 446,
                           274, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  created_.push_back(w);
  RECT window{}, client{};
  GetWindowRect(w, &window);
  GetClientRect(w, &client);
  EXPECT_EQ(window.left, 10);
  EXPECT_EQ(window.bottom, 294);
  EXPECT_EQ(client.right, 440);
  EXPECT_EQ(client.bottom, 245);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  EXPECT_EQ(origin.x, 13);
  EXPECT_EQ(origin.y, 46);
}

TEST_F(WindowsTest, ChildRectanglesAreInTheParentsClientCoordinates) {
  HWND parent = CreateRecorder(L"parent", WS_POPUP | WS_CAPTION, nullptr, 0, RECT{100, 100, 500, 400});
  created_.push_back(parent);
  HWND child = Make(L"child", WS_CHILD, parent, 1, RECT{10, 20, 60, 40});
  RECT r{};
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 100 + 3 + 10);
  EXPECT_EQ(r.top, 100 + 26 + 20);
  EXPECT_EQ(r.right - r.left, 50);
  SetWindowPos(parent, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 13) << "children move with their parent";
}

TEST_F(WindowsTest, SetWindowPosMovesResizesAndReportsIt) {
  HWND w = Make(L"moving");
  MessageLog::Instance().Clear();
  ASSERT_TRUE(SetWindowPos(w, nullptr, 30, 40, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right, 130) << "SWP_NOSIZE keeps the size";
  EXPECT_EQ(MessageLog::Instance().MessageIds({WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGED, WM_MOVE}));
}

TEST_F(WindowsTest, WindowLongsAndExtraBytes) {
  HWND w = Make(L"longs", WS_OVERLAPPED);
  EXPECT_EQ(SetWindowLongPtrW(w, GWLP_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_USERDATA), 1234);
  SetWindowLongW(w, GWL_STYLE, WS_POPUP);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(w, 0), 0) << "the recorder class has no extra bytes";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  wchar_t text[8];
  EXPECT_EQ(GetWindowTextW(w, text, 4), 3) << "at most the buffer size minus one";
  EXPECT_STREQ(text, L"lon");
}

TEST_F(WindowsTest, ShowingActivatesAndFocusMovesWithKillThenSet) {
  HWND first = Make(L"first", WS_POPUP | WS_CAPTION);
  HWND edit = Make(L"field", WS_CHILD | WS_VISIBLE, first, 7);
  ShowWindow(first, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetFocus(), first) << "activation puts the focus on the window";
  MessageLog::Instance().Clear();
  EXPECT_EQ(SetFocus(edit), first);
  auto log = MessageLog::Instance().Messages({WM_KILLFOCUS, WM_SETFOCUS});
  ASSERT_EQ(log.size(), 2u) << Describe(MessageLog::Instance().MessageIds({WM_KILLFOCUS, WM_SETFOCUS}));
  EXPECT_EQ(log[0].hwnd, first);
  EXPECT_EQ(log[0].message, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(log[1].hwnd, edit);
  EnableWindow(edit, FALSE);
  EXPECT_EQ(GetFocus(), nullptr) << "a window that is disabled loses the focus";
  EXPECT_TRUE(EnableWindow(edit, TRUE)) << "EnableWindow reports it was disabled";
  HWND second = Make(L"second", WS_POPUP | WS_CAPTION);
  ShowWindow(second, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), second);
  ShowWindow(second, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), first) << "hiding the active window activates the next one";
}

TEST_F(WindowsTest, WorkAreaDefaultsToAScreenWithATaskBarAndCanBeChanged) {
  RECT original{}, area{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &original, 0));
  EXPECT_EQ(original.bottom, GetSystemMetrics(SM_CYSCREEN) - 40);
  RECT custom{100, 0, 900, 700};
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &custom, 0));
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_EQ(area.left, 100);
  EXPECT_EQ(area.right, 900);
  SystemParametersInfoW(SPI_SETWORKAREA, 0, nullptr, 0);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(area.bottom, GetSystemMetrics(SM_CYSCREEN)) << "no rectangle means the whole screen";
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &original, 0);
}

}  // namespace
