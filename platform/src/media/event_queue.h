// The graph's event queue (IMediaEvent, IMediaEventEx): events put in by
// filters and by the graph manager, from any thread, and taken out by the
// application.
//
// While events are waiting, the queue's event handle (GetEventHandle) is
// set, and each event put in posts the notification message, when one is
// set, to its window: PostMessageW(hwnd, message, 0, instance data), from
// whichever thread put the event in. With AM_MEDIAEVENT_NONOTIFY no events
// are kept and no messages are posted.
//
// For WaitForCompletion the queue also follows playback: between
// BeginPlayback (the graph runs) and EndPlayback (it pauses or stops), it
// remembers whether one of the events that end playback (EC_COMPLETE,
// EC_USERABORT, EC_ERRORABORT) came.
//
// Locks: the queue's lock guards everything here. Messages are posted with
// it held, so that once SetNotifyWindow(0, ...) returns none is posted any
// more; posting never calls back into the graph.
#pragma once

#include <control.h>
#include <windef.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace platform::media {

struct GraphEvent {
  LONG code;
  LONG_PTR param1;
  LONG_PTR param2;
};

class EventQueue {
 public:
  EventQueue();
  ~EventQueue();
  EventQueue(const EventQueue &) = delete;
  EventQueue &operator=(const EventQueue &) = delete;

  void Put(const GraphEvent &event);
  // S_OK with the oldest event, or E_ABORT when none came within the time
  // (INFINITE waits for one).
  HRESULT Take(DWORD timeoutMs, GraphEvent *event);
  // S_OK with the code of the event that ended playback, once one came;
  // VFW_E_WRONG_STATE when playback is not going on or ends without one;
  // E_ABORT after the time.
  HRESULT WaitForCompletion(DWORD timeoutMs, LONG *code);
  void BeginPlayback();
  void EndPlayback();

  void SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData);
  void SetNotifyFlags(LONG flags);
  LONG NotifyFlags();
  HANDLE EventHandle() const { return m_handle; }

 private:
  template <typename Ready>
  bool WaitUntil(std::unique_lock<std::mutex> &lock, DWORD timeoutMs, Ready ready);
  void PostNotification();

  const HANDLE m_handle;  // a manual-reset event, set while events wait
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::deque<GraphEvent> m_events;        // guarded by m_lock
  bool m_playing = false;                 // guarded by m_lock
  std::optional<LONG> m_completion;       // guarded by m_lock
  HWND m_window = nullptr;                // guarded by m_lock
  UINT m_message = 0;                     // guarded by m_lock
  LONG_PTR m_instanceData = 0;            // guarded by m_lock
  LONG m_flags = 0;                       // guarded by m_lock
};

}  // namespace platform::media
