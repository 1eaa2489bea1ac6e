#include "message_log.h"

#include <algorithm>
#include <cstdio>

namespace testing_support {

namespace {

thread_local bool t_dispatchingPosted = false;

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const UINT notifyCode = message == WM_NOTIFY && lParam ? reinterpret_cast<const NMHDR *>(lParam)->code : 0;
  MessageLog::Instance().Add({hwnd, message, wParam, lParam, t_dispatchingPosted, notifyCode});
  t_dispatchingPosted = false;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterRecorderClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RecorderWindow";
    RegisterClassExW(&wc);
  });
}

MessageLog &MessageLog::Instance() {
  static MessageLog log;
  return log;
}

void MessageLog::Add(const LoggedMessage &m) {
  std::lock_guard lock(mutex_);
  messages_.push_back(m);
}

void MessageLog::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

std::vector<LoggedMessage> MessageLog::Messages(const std::vector<UINT> &only) const {
  std::lock_guard lock(mutex_);
  std::vector<LoggedMessage> out;
  for (const auto &m : messages_) {
    if (only.empty() || std::find(only.begin(), only.end(), m.message) != only.end()) out.push_back(m);
  }
  return out;
}

std::vector<UINT> MessageLog::MessageIds(const std::vector<UINT> &only) const {
  std::vector<UINT> ids;
  for (const auto &m : Messages(only)) ids.push_back(m.message);
  return ids;
}

HWND CreateRecorder(const wchar_t *title, DWORD style, HWND parent, int id, RECT rect) {
  RegisterRecorderClass();
  return CreateWindowExW(0, L"RecorderWindow", title, style, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

int PumpMessages() {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    t_dispatchingPosted = true;
    DispatchMessageW(&msg);
    t_dispatchingPosted = false;
    ++count;
  }
  return count;
}

std::string Describe(const std::vector<UINT> &ids) {
  std::string text;
  for (UINT id : ids) {
    char item[16];
    snprintf(item, sizeof item, "0x%04x ", id);
    text += item;
  }
  return text;
}

}  // namespace testing_support
