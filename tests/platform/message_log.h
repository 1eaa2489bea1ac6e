// Recorded message sequences for window manager tests: windows of the class
// "RecorderWindow" log each message they receive (with how it arrived) and
// pass it on to DefWindowProcW.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

struct LoggedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool posted;  // retrieved from the queue by PumpMessages, not sent
  UINT notifyCode;  // the NMHDR code of a WM_NOTIFY, read while it was valid
  bool operator==(const LoggedMessage &) const = default;
};

class MessageLog {
 public:
  static MessageLog &Instance();

  void Add(const LoggedMessage &m);
  void Clear();
  // The messages logged, leaving out those `ignore` names.
  std::vector<LoggedMessage> Messages(const std::vector<UINT> &only = {}) const;
  std::vector<UINT> MessageIds(const std::vector<UINT> &only = {}) const;

 private:
  mutable std::mutex mutex_;
  std::vector<LoggedMessage> messages_;
};

// Registers the recorder class (once) for this program's module.
void RegisterRecorderClass();

// Registers the recorder class once and creates a window of it.
HWND CreateRecorder(const wchar_t *title, DWORD style = WS_OVERLAPPED, HWND parent = nullptr, int id = 0,
                    RECT rect = RECT{0, 0, 100, 100});

// Retrieves and dispatches every message in the calling thread's queue
// (timers included) until none is left; returns how many it dispatched.
int PumpMessages();

// Names of the messages, for failure output.
std::string Describe(const std::vector<UINT> &ids);

}  // namespace testing_support
