// The graph's event queue and its window notification.
#include "media/event_queue.h"

#include <evcode.h>
#include <vfwmsgs.h>
#include <winbase.h>
#include <winuser.h>

#include <chrono>

namespace platform::media {
namespace {

bool EndsPlayback(LONG code) { return code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT; }

}  // namespace

EventQueue::EventQueue() : m_handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

EventQueue::~EventQueue() { CloseHandle(m_handle); }

void EventQueue::Put(const GraphEvent &event) {
  std::lock_guard lock(m_lock);
  if (m_flags & AM_MEDIAEVENT_NONOTIFY) return;
  m_events.push_back(event);
  if (EndsPlayback(event.code)) m_completion = event.code;
  SetEvent(m_handle);
  m_changed.notify_all();
  PostNotification();
}

HRESULT EventQueue::Take(DWORD timeoutMs, GraphEvent *event) {
  std::unique_lock lock(m_lock);
  if (!WaitUntil(lock, timeoutMs, [this] { return !m_events.empty(); })) return E_ABORT;
  *event = m_events.front();
  m_events.pop_front();
  if (m_events.empty()) ResetEvent(m_handle);
  return S_OK;
}

HRESULT EventQueue::WaitForCompletion(DWORD timeoutMs, LONG *code) {
  std::unique_lock lock(m_lock);
  if (!WaitUntil(lock, timeoutMs, [this] { return m_completion.has_value() || !m_playing; })) return E_ABORT;
  if (!m_completion) return VFW_E_WRONG_STATE;
  *code = *m_completion;
  return S_OK;
}

void EventQueue::BeginPlayback() {
  std::lock_guard lock(m_lock);
  m_playing = true;
  m_completion.reset();
}

void EventQueue::EndPlayback() {
  std::lock_guard lock(m_lock);
  m_playing = false;
  m_completion.reset();
  m_changed.notify_all();
}

// Events already waiting are announced to the new window at once.
void EventQueue::SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) {
  std::lock_guard lock(m_lock);
  m_window = reinterpret_cast<HWND>(window);
  m_message = static_cast<UINT>(message);
  m_instanceData = instanceData;
  if (!m_events.empty()) PostNotification();
}

// Turning notification off drops the events waiting.
void EventQueue::SetNotifyFlags(LONG flags) {
  std::lock_guard lock(m_lock);
  m_flags = flags;
  if (!(flags & AM_MEDIAEVENT_NONOTIFY)) return;
  m_events.clear();
  ResetEvent(m_handle);
}

LONG EventQueue::NotifyFlags() {
  std::lock_guard lock(m_lock);
  return m_flags;
}

template <typename Ready>
bool EventQueue::WaitUntil(std::unique_lock<std::mutex> &lock, DWORD timeoutMs, Ready ready) {
  if (timeoutMs == INFINITE) {
    m_changed.wait(lock, ready);
    return true;
  }
  return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

void EventQueue::PostNotification() {
  if (m_window) PostMessageW(m_window, m_message, 0, m_instanceData);
}

}  // namespace platform::media
