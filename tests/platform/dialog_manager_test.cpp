// The dialog manager on the program's own compiled template 102: controls
// in template order with rectangles from the fixed dialog units and frame
// metrics, the modal loop, and the keys and close box that end a dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kTemplate = 102;

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct ControlCase {
  int id;
  const wchar_t *className;
  int x, y, cx, cy;  // dialog units, as the template gives them
  RECT aligned = {};  // pixels, where the up-down control moved it (empty: as the template says)
};

// Template order is creation order and tab order.
const ControlCase kControls[] = {
    {201, L"Button", 13, 18, 50, 14},    {202, L"Edit", 65, 19, 215, 12},
    {203, L"Button", 150, 55, 50, 14},   {204, L"Button", 230, 55, 50, 14},
    {207, L"Button", 13, 52, 116, 10},   {208, L"Button", 13, 65, 83, 10},
    {209, L"Button", 13, 78, 107, 10},   {215, L"Button", 41, 130, 50, 14},
    {216, L"Button", 121, 130, 50, 14},  {217, L"Button", 201, 130, 50, 14},
    {-1, L"Button", 7, 7, 279, 87},      {211, L"msctls_trackbar32", 7, 114, 279, 13},
    {-1, L"Static", 11, 102, 26, 8},     {210, L"Static", 38, 102, 118, 9},
    {212, L"Button", 187, 98, 28, 14},   {214, L"Button", 252, 98, 28, 14},
    {213, L"Button", 219, 98, 28, 14},   {-1, L"Static", 13, 39, 61, 8},
    // The up-down control (17 x 23 pixels) narrows its buddy by its width less
    // the 2-pixel border it overlaps, and takes the buddy's top and height.
    {205, L"Edit", 76, 37, 32, 12, {114, 60, 147, 80}},
    {206, L"msctls_updown32", 102, 39, 11, 14, {145, 60, 162, 80}},
};

// 8-point template font: base units 6 x 13; MulDiv rounds halves up.
int PixelsX(int units) { return (units * 6 + 2) / 4; }
int PixelsY(int units) { return (units * 13 + 4) / 8; }

TEST(DialogManager, CreatesEveryControlInTemplateOrderAtItsPixelRectangle) {
  HWND dialog = CreateDialogParamW(Module(), MAKEINTRESOURCEW(kTemplate), nullptr, QuietProc, 0);
  ASSERT_NE(dialog, nullptr) << "last error " << GetLastError();
  RECT client{}, window{};
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &window);
  EXPECT_EQ(client.right, 440) << "293 units wide";
  EXPECT_EQ(client.bottom, 245) << "151 units high";
  EXPECT_EQ(window.right - window.left, 446) << "3-pixel dialog frame on each side";
  EXPECT_EQ(window.bottom - window.top, 274) << "23-pixel caption and 3-pixel frames";

  wchar_t title[32];
  GetWindowTextW(dialog, title, 32);
  EXPECT_STREQ(title, L"Quorvel");

  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  size_t index = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
    ASSERT_LT(index, std::size(kControls));
    const ControlCase &c = kControls[index];
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    EXPECT_EQ(GetDlgCtrlID(child), c.id) << "control " << index;
    EXPECT_STREQ(cls, c.className) << "control " << index;
    RECT r{};
    GetWindowRect(child, &r);
    OffsetRect(&r, -origin.x, -origin.y);
    RECT expected{PixelsX(c.x), PixelsY(c.y), PixelsX(c.x) + PixelsX(c.cx), PixelsY(c.y) + PixelsY(c.cy)};
    if (!IsRectEmpty(&c.aligned)) expected = c.aligned;
    EXPECT_EQ(r.left, expected.left) << "control " << index << " left";
    EXPECT_EQ(r.top, expected.top) << "control " << index << " top";
    EXPECT_EQ(r.right, expected.right) << "control " << index << " right";
    EXPECT_EQ(r.bottom, expected.bottom) << "control " << index << " bottom";
  }
  EXPECT_EQ(index, std::size(kControls));
  DestroyWindow(dialog);
}

TEST(DialogManager, MissingTemplateGivesMinusOne) {
  EXPECT_EQ(DialogBoxParamW(Module(), MAKEINTRESOURCEW(999), nullptr, QuietProc, 0), -1);
}

// A dialog procedure driven by a script: WM_INITDIALOG prepares the focus
// and posts the input; every WM_COMMAND is recorded, and IDOK or IDCANCEL
// end the dialog with their id.
struct Scenario {
  const char *name;
  int focusId;        // control focused in WM_INITDIALOG (0: leave the default)
  UINT inputMessage;  // posted to the focus window (WM_KEYDOWN) or the dialog (WM_SYSCOMMAND)
  WPARAM inputParam;
  INT_PTR expectedResult;
  std::vector<int> expectedClicks;
};

struct ScenarioRun {
  const Scenario *scenario;
  std::vector<int> clicks;  // ids of the BN_CLICKED commands the dialog got
  int firstTabStopId = 0;
};

INT_PTR CALLBACK ScriptedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *run = reinterpret_cast<ScenarioRun *>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      run = reinterpret_cast<ScenarioRun *>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      HWND firstTabStop = reinterpret_cast<HWND>(wParam);
      run->firstTabStopId = GetDlgCtrlID(firstTabStop);
      const Scenario &s = *run->scenario;
      HWND target = dialog;
      if (s.focusId) SetFocus(GetDlgItem(dialog, s.focusId));
      if (s.inputMessage == WM_KEYDOWN) target = s.focusId ? GetDlgItem(dialog, s.focusId) : firstTabStop;
      PostMessageW(target, s.inputMessage, s.inputParam, 1);
      // A command nobody expects ends the run if the input was lost.
      SetTimer(dialog, 99, 2000, nullptr);
      return s.focusId == 0;
    }
    case WM_TIMER: EndDialog(dialog, 99); return TRUE;
    case WM_COMMAND:
      // The up-down control writes its buddy while the controls are created,
      // before WM_INITDIALOG.
      if (!run) return FALSE;
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      run->clicks.push_back(LOWORD(wParam));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default: return FALSE;
  }
}

TEST(DialogManager, KeysAndCloseBoxEndTheModalRunWithTheirCommand) {
  const Scenario scenarios[] = {
      {"Esc", 0, WM_KEYDOWN, VK_ESCAPE, IDCANCEL, {IDCANCEL}},
      {"close box", 0, WM_SYSCOMMAND, SC_CLOSE, IDCANCEL, {IDCANCEL}},
      {"Enter in the file edit", 202, WM_KEYDOWN, VK_RETURN, IDOK, {IDOK}},
      {"Enter on a push button clicks it", 203, WM_KEYDOWN, VK_RETURN, 99, {203}},
  };
  for (const auto &s : scenarios) {
    ScenarioRun run{&s, {}};
    const INT_PTR result = DialogBoxParamW(Module(), MAKEINTRESOURCEW(kTemplate), nullptr, ScriptedProc,
                                           reinterpret_cast<LPARAM>(&run));
    EXPECT_EQ(result, s.expectedResult) << s.name;
    EXPECT_EQ(run.clicks, s.expectedClicks) << s.name;
    EXPECT_EQ(run.firstTabStopId, 201) << "WM_INITDIALOG names the first tab stop";
  }
}

// Counts three ticks of a 10 ms timer, then ends the dialog; records
// whether the owner was disabled while the dialog ran.
struct Ticker {
  static inline int ticks = 0;
  static inline bool ownerWasDisabled = false;
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        ticks = 0;
        SetTimer(dialog, 1, 10, nullptr);
        return TRUE;
      case WM_TIMER:
        ownerWasDisabled = !IsWindowEnabled(GetWindow(dialog, GW_OWNER));
        if (++ticks == 3) EndDialog(dialog, 1000 + ticks);
        return TRUE;
      default: return FALSE;
    }
  }
};

TEST(DialogManager, ModalLoopKeepsTimersFlowingAndDisablesTheOwnerMeanwhile) {
  HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  EXPECT_EQ(DialogBoxParamW(Module(), MAKEINTRESOURCEW(kTemplate), owner, Ticker::Proc, 0), 1003);
  EXPECT_TRUE(Ticker::ownerWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is enabled again when the dialog ends";
  DestroyWindow(owner);
}

}  // namespace
