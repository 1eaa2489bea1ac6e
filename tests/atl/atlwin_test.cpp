// Message maps: which handler a message reaches, what the map returns, and
// the invalid map id report. Dialog windows themselves are exercised with
// the dialog manager.
#include <atlbase.h>
#include <atlwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debug/debug_output.h"

namespace {

using platform::debug::DebugOutputCapture;

constexpr UINT WM_GRAPHNOTIFY = WM_APP + 1;
constexpr int IDC_LOAD = 201;
constexpr int IDC_FILE = 202;
constexpr WORD BN_CLICKED_CODE = 0;
constexpr WORD EN_CHANGE_CODE = 0x0300;
constexpr WORD EN_SETFOCUS_CODE = 0x0100;

// wParam of WM_COMMAND: the control id in the low word, the code in the high word.
constexpr WPARAM Command(WORD wID, WORD wNotifyCode) { return (WPARAM{wNotifyCode} << 16) | wID; }

// Records each handler call; the handler named in declineIn clears bHandled.
class CRoutingMap : public CMessageMap {
 public:
  BEGIN_MSG_MAP(CRoutingMap)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_GRAPHNOTIFY, OnGraphNotify)
    COMMAND_HANDLER(IDC_LOAD, BN_CLICKED_CODE, OnLoad)
    COMMAND_HANDLER(IDC_FILE, EN_CHANGE_CODE, OnFileChange)
    MESSAGE_HANDLER(WM_GRAPHNOTIFY, OnGraphNotifyFallback)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL &bHandled) { return Record("OnInitDialog", bHandled, 1); }
  LRESULT OnGraphNotify(UINT, WPARAM, LPARAM, BOOL &bHandled) { return Record("OnGraphNotify", bHandled, 0); }
  LRESULT OnGraphNotifyFallback(UINT, WPARAM, LPARAM, BOOL &bHandled) {
    return Record("OnGraphNotifyFallback", bHandled, 7);
  }
  LRESULT OnLoad(WORD, WORD wID, HWND, BOOL &bHandled) { return Record("OnLoad", bHandled, wID); }
  LRESULT OnFileChange(WORD wNotifyCode, WORD, HWND, BOOL &bHandled) {
    return Record("OnFileChange", bHandled, wNotifyCode);
  }
  LRESULT OnClose(WORD wNotifyCode, WORD, HWND hWndCtl, BOOL &bHandled) {
    lastControl = hWndCtl;
    return Record("OnClose", bHandled, wNotifyCode);
  }

  LRESULT Record(const char *handler, BOOL &bHandled, LRESULT result) {
    calls.push_back(handler);
    EXPECT_TRUE(bHandled) << handler << " is called with bHandled set";
    if (declineIn == handler) bHandled = FALSE;
    return result;
  }

  std::vector<std::string> calls;
  std::string declineIn;
  HWND lastControl = NULL;
};

struct Routing {
  const char *name;
  UINT uMsg;
  WPARAM wParam;
  LPARAM lParam;
  std::vector<std::string> calls;
  BOOL handled;
  LRESULT result;
};

TEST(AtlMessageMap, RoutesEachMessageToTheFirstMatchingEntry) {
  const Routing routings[] = {
      {"WM_INITDIALOG", WM_INITDIALOG, 0, 0, {"OnInitDialog"}, TRUE, 1},
      {"graph notification, any parameters", WM_GRAPHNOTIFY, 5, 6, {"OnGraphNotify"}, TRUE, 0},
      {"Load... clicked", WM_COMMAND, Command(IDC_LOAD, BN_CLICKED_CODE), 0, {"OnLoad"}, TRUE, IDC_LOAD},
      {"file edit changed", WM_COMMAND, Command(IDC_FILE, EN_CHANGE_CODE), 0, {"OnFileChange"}, TRUE, 0x0300},
      {"file edit got the focus", WM_COMMAND, Command(IDC_FILE, EN_SETFOCUS_CODE), 0, {}, FALSE, -1},
      {"cancel, any code", WM_COMMAND, Command(IDCANCEL, 9), 0, {"OnClose"}, TRUE, 9},
      {"unrouted message", WM_TIMER, 1, 0, {}, FALSE, -1},
  };
  for (const Routing &r : routings) {
    CRoutingMap map;
    LRESULT lResult = -1;
    EXPECT_EQ(map.ProcessWindowMessage(NULL, r.uMsg, r.wParam, r.lParam, lResult, 0), r.handled) << r.name;
    EXPECT_EQ(map.calls, r.calls) << r.name;
    EXPECT_EQ(lResult, r.result) << r.name;
  }
}

TEST(AtlMessageMap, CommandHandlerGetsTheControlWindow) {
  CRoutingMap map;
  LRESULT lResult = 0;
  const HWND hWndCtl = reinterpret_cast<HWND>(0x1234);
  map.ProcessWindowMessage(NULL, WM_COMMAND, Command(IDCANCEL, BN_CLICKED_CODE), reinterpret_cast<LPARAM>(hWndCtl),
                           lResult, 0);
  EXPECT_EQ(map.lastControl, hWndCtl);
}

TEST(AtlMessageMap, DeclinedMessageGoesOnToLaterEntries) {
  CRoutingMap map;
  map.declineIn = "OnGraphNotify";
  LRESULT lResult = 0;
  EXPECT_TRUE(map.ProcessWindowMessage(NULL, WM_GRAPHNOTIFY, 0, 0, lResult, 0));
  EXPECT_EQ(map.calls, (std::vector<std::string>{"OnGraphNotify", "OnGraphNotifyFallback"}));
  EXPECT_EQ(lResult, 7);

  CRoutingMap onlyOne;
  onlyOne.declineIn = "OnLoad";
  EXPECT_FALSE(onlyOne.ProcessWindowMessage(NULL, WM_COMMAND, Command(IDC_LOAD, BN_CLICKED_CODE), 0, lResult, 0))
      << "declined by its only entry: not handled";
  EXPECT_EQ(lResult, IDC_LOAD) << "the result is stored all the same";
}

TEST(AtlMessageMap, InvalidMapIdIsTracedAssertedAndNotHandled) {
  CRoutingMap map;
  LRESULT lResult = -1;
  DebugOutputCapture capture;
  EXPECT_FALSE(map.ProcessWindowMessage(NULL, WM_INITDIALOG, 0, 0, lResult, 3));
  EXPECT_TRUE(map.calls.empty());
  const std::wstring text = capture.Text();
  EXPECT_NE(text.find(L": atlTraceWindowing level 0 - Invalid message map ID (3)\n"), std::wstring::npos)
      << testing::PrintToString(text);
  EXPECT_NE(text.find(L": Assertion failed: 0\n"), std::wstring::npos) << testing::PrintToString(text);
}

TEST(AtlDialogProc, ReturnsTheResultItselfOnlyForItsOwnMessages) {
  EXPECT_TRUE(AtlDialogProcReturnsResult(WM_INITDIALOG));
  EXPECT_TRUE(AtlDialogProcReturnsResult(WM_CTLCOLORSTATIC));
  EXPECT_FALSE(AtlDialogProcReturnsResult(WM_COMMAND));
  EXPECT_FALSE(AtlDialogProcReturnsResult(WM_GRAPHNOTIFY));
}

}  // namespace
