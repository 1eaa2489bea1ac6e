// Messages: SendMessageW, PostMessageW, PostThreadMessageW, PostQuitMessage,
// GetMessageW, PeekMessageW, TranslateMessage, DispatchMessageW, timers.
#include <windows.h>

#include "windowing/message_queue.h"
#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

thread_local DWORD t_lastMessageTime = 0;
// Key state as of the last message retrieved, as GetKeyState reports it.
thread_local bool t_keyDown[256] = {};

DWORD ThreadOfWindow(HWND hwnd) {
  return WithWindow<DWORD>(hwnd, 0, [](const Window &w) { return w.threadId; });
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  return msg;
}

// The character a key gives, as the keyboard driver would: the control
// keys, and VK_PACKET, which carries a typed character in lParam's high bits.
wchar_t CharacterOfKey(WPARAM vk, LPARAM lParam) {
  switch (vk) {
    case VK_RETURN: return L'\r';
    case VK_ESCAPE: return 0x1B;
    case VK_TAB: return L'\t';
    case VK_BACK: return L'\b';
    case VK_SPACE: return L' ';
    case VK_PACKET: return static_cast<wchar_t>(static_cast<ULONG_PTR>(lParam) >> 16);
    default: return 0;
  }
}

void Remember(const MSG &msg) {
  t_lastMessageTime = msg.time;
  const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
  if ((down || up) && msg.wParam < 256) t_keyDown[msg.wParam] = down;
}

}  // namespace

extern "C" LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  const DWORD thread = ThreadOfWindow(hWnd);
  if (!thread) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (thread == GetCurrentThreadId()) return WindowManager::Instance().Deliver(hWnd, Msg, wParam, lParam);
  auto target = QueueOfThread(thread);
  if (!target) return 0;
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hWnd;
  sent->message = Msg;
  sent->wParam = wParam;
  sent->lParam = lParam;
  sent->sender = CurrentQueueShared();
  if (!target->Enqueue(sent)) return 0;
  sent->sender->AwaitReply(*sent);
  return sent->result;
}

extern "C" BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!hWnd) return PostThreadMessageW(GetCurrentThreadId(), Msg, wParam, lParam);
  const DWORD thread = ThreadOfWindow(hWnd);
  auto queue = thread ? QueueOfThread(thread) : nullptr;
  if (!queue) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return queue->Post(MakeMessage(hWnd, Msg, wParam, lParam));
}

extern "C" BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto queue = idThread == GetCurrentThreadId() ? CurrentQueueShared() : QueueOfThread(idThread);
  if (!queue || !queue->Post(MakeMessage(nullptr, Msg, wParam, lParam))) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return TRUE;
}

extern "C" void WINAPI PostQuitMessage(int nExitCode) { CurrentQueue().PostQuit(nExitCode); }

extern "C" BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg) {
    SetLastError(ERROR_NOACCESS);
    return -1;
  }
  if (hWnd && hWnd != reinterpret_cast<HWND>(-1) && !IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  CurrentQueue().Get(*lpMsg, MessageFilter{hWnd, wMsgFilterMin, wMsgFilterMax});
  Remember(*lpMsg);
  return lpMsg->message != WM_QUIT;
}

extern "C" BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (!lpMsg) return FALSE;
  if (!CurrentQueue().Peek(*lpMsg, MessageFilter{hWnd, wMsgFilterMin, wMsgFilterMax}, wRemoveMsg)) return FALSE;
  Remember(*lpMsg);
  return TRUE;
}

extern "C" BOOL WINAPI TranslateMessage(const MSG *lpMsg) {
  if (!lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN)) return FALSE;
  const wchar_t ch = CharacterOfKey(lpMsg->wParam, lpMsg->lParam);
  if (!ch) return FALSE;
  const UINT charMessage = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  return PostMessageW(lpMsg->hwnd, charMessage, static_cast<WPARAM>(ch), lpMsg->lParam & 0xFFFF);
}

extern "C" LRESULT WINAPI DispatchMessageW(const MSG *lpMsg) {
  if (!lpMsg) return 0;
  if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
    proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
    return 0;
  }
  if (!lpMsg->hwnd) return 0;
  if (ThreadOfWindow(lpMsg->hwnd) != GetCurrentThreadId()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return WindowManager::Instance().Deliver(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

extern "C" BOOL WINAPI InSendMessage(void) { return CurrentQueue().IsProcessingSent(); }

extern "C" DWORD WINAPI GetMessageTime(void) { return t_lastMessageTime; }

extern "C" SHORT WINAPI GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey >= 256) return 0;
  return t_keyDown[nVirtKey] ? static_cast<SHORT>(0x8000) : 0;
}

extern "C" UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  if (!hWnd) return CurrentQueue().SetTimer(nullptr, nIDEvent, uElapse, lpTimerFunc);
  const DWORD thread = ThreadOfWindow(hWnd);
  if (thread != GetCurrentThreadId()) {
    SetLastError(thread ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CurrentQueue().SetTimer(hWnd, nIDEvent, uElapse, lpTimerFunc);
}

extern "C" BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  if (!CurrentQueue().KillTimer(hWnd, uIDEvent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

// The screen view draws every window from its state; an invalidated window
// is drawn again, whole, the next time the view's thread waits for messages.
extern "C" BOOL WINAPI InvalidateRect(HWND hWnd, const RECT *lpRect, BOOL bErase) {
  if (!IsWindow(hWnd)) return FALSE;
  WindowManager::Instance().Notify(hWnd, WindowChange::Invalidated);
  return TRUE;
}

extern "C" BOOL WINAPI UpdateWindow(HWND hWnd) { return IsWindow(hWnd); }
