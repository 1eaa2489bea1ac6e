// One message queue per thread, as Windows keeps one per GUI thread.
//
// A queue holds the messages posted to the thread and its windows, the
// messages other threads send to its windows (each sender blocks until this
// thread has processed its message), a pending quit, the thread's timers and
// its keyboard state (active and focus window). Posting and sending are safe
// from any thread; retrieving (Peek/Get) is the owning thread's alone.
//
// Retrieval order, as on Windows: incoming sent messages are processed first
// (they never appear in the MSG), then posted messages in order, then WM_QUIT
// once nothing else is posted, then WM_TIMER for a due timer. A timer's next
// due time is set when its WM_TIMER is retrieved, so a slow loop gets one
// WM_TIMER per timer, never a pile.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "windowing/thread_waiter.h"

namespace platform::windowing {

class MessageQueue;

// A message sent across threads, waiting to be processed by the receiver.
struct SentMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  std::atomic<bool> done{false};
  std::shared_ptr<MessageQueue> sender;
};

// Filter of Peek/Get: a window (null: any; HWND(-1): thread messages only)
// and a message range (0, 0: all).
struct MessageFilter {
  HWND hwnd = nullptr;
  UINT first = 0;
  UINT last = 0;
  bool Matches(const MSG &msg) const;
};

class MessageQueue : public std::enable_shared_from_this<MessageQueue> {
 public:
  explicit MessageQueue(DWORD threadId);
  ~MessageQueue();

  DWORD ThreadId() const { return threadId_; }

  // Any thread.
  bool Post(const MSG &msg);
  // Keyboard input: its window is the focus window (or else the active one)
  // at the time it is retrieved, as Windows routes keys; dropped when the
  // thread has neither.
  bool PostKeyboardInput(const MSG &msg);
  void PostQuit(int exitCode);
  // Queues a message sent from another thread; the sender waits on its own queue.
  bool Enqueue(const std::shared_ptr<SentMessage> &sent);
  void Wake();

  // Owning thread.
  bool Peek(MSG &out, const MessageFilter &filter, UINT removeFlags);
  void Get(MSG &out, const MessageFilter &filter);
  // Blocks until `sent` is done, processing messages sent to this thread meanwhile.
  void AwaitReply(const SentMessage &sent);
  bool ProcessIncomingSent();
  bool IsProcessingSent() const { return processingSent_ > 0; }
  void ReplaceWaiter(std::unique_ptr<ThreadWaiter> waiter);

  UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
  bool KillTimer(HWND hwnd, UINT_PTR id);
  void KillWindowTimers(HWND hwnd);

  // Keyboard state of the thread.
  HWND Focus() const;
  HWND Active() const;
  HWND Capture() const;
  void SetFocusWindow(HWND hwnd);
  void SetActiveWindow(HWND hwnd);
  void SetCaptureWindow(HWND hwnd);

  // The thread is ending: pending senders are released with a result of 0.
  void Shutdown();

 private:
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    Clock::time_point due;
  };

  bool TakePosted(MSG &out, const MessageFilter &filter, bool remove);
  bool TakeQuit(MSG &out, const MessageFilter &filter, bool remove);
  bool TakeTimer(MSG &out, const MessageFilter &filter, bool remove);
  std::optional<Clock::time_point> NextTimerDue() const;
  std::vector<Timer>::iterator FindTimer(HWND hwnd, UINT_PTR id);

  const DWORD threadId_;
  mutable std::mutex mutex_;
  struct Queued {
    MSG msg;
    bool keyboard;
  };
  bool TakeKeyboardTarget(Queued &queued);

  std::deque<Queued> posted_;
  std::deque<std::shared_ptr<SentMessage>> incoming_;
  std::optional<int> quitCode_;
  std::vector<Timer> timers_;
  UINT_PTR nextThreadTimerId_ = 1;
  HWND focus_ = nullptr;
  HWND active_ = nullptr;
  HWND capture_ = nullptr;
  bool shutDown_ = false;
  int processingSent_ = 0;
  std::unique_ptr<ThreadWaiter> waiter_;
};

// The calling thread's queue, created on first use.
MessageQueue &CurrentQueue();
std::shared_ptr<MessageQueue> CurrentQueueShared();
// The queue of a thread of this process, or null when it has none.
std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId);

}  // namespace platform::windowing
