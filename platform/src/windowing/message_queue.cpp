#include "windowing/message_queue.h"

#include <algorithm>
#include <map>

#include "windowing/window_manager.h"

namespace platform::windowing {

namespace {

std::mutex g_registryMutex;
std::map<DWORD, std::weak_ptr<MessageQueue>> g_queues;

// Owns the calling thread's queue; at thread exit the queue shuts down and
// the thread's windows go away with it, as on Windows.
struct ThreadQueueHolder {
  std::shared_ptr<MessageQueue> queue;
  ~ThreadQueueHolder() {
    if (!queue) return;
    queue->Shutdown();
    WindowManager::Instance().ForgetThreadWindows(queue->ThreadId());
    std::lock_guard lock(g_registryMutex);
    g_queues.erase(queue->ThreadId());
  }
};

thread_local ThreadQueueHolder t_holder;

MSG TimerMessage(HWND hwnd, UINT_PTR id, TIMERPROC proc) {
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = WM_TIMER;
  msg.wParam = id;
  msg.lParam = reinterpret_cast<LPARAM>(proc);
  msg.time = GetTickCount();
  return msg;
}

bool InRange(UINT message, UINT first, UINT last) {
  return (first == 0 && last == 0) || (message >= first && message <= last);
}

}  // namespace

bool MessageFilter::Matches(const MSG &msg) const {
  if (!InRange(msg.message, first, last)) return false;
  if (hwnd == nullptr) return true;
  if (hwnd == reinterpret_cast<HWND>(-1)) return msg.hwnd == nullptr;
  return msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd);
}

MessageQueue::MessageQueue(DWORD threadId) : threadId_(threadId), waiter_(MakeBlockingWaiter()) {}

MessageQueue::~MessageQueue() = default;

bool MessageQueue::Post(const MSG &msg) {
  {
    std::lock_guard lock(mutex_);
    if (shutDown_) return false;
    posted_.push_back(Queued{msg, false});
  }
  Wake();
  return true;
}

bool MessageQueue::PostKeyboardInput(const MSG &msg) {
  {
    std::lock_guard lock(mutex_);
    if (shutDown_) return false;
    posted_.push_back(Queued{msg, true});
  }
  Wake();
  return true;
}

void MessageQueue::PostQuit(int exitCode) {
  {
    std::lock_guard lock(mutex_);
    quitCode_ = exitCode;
  }
  Wake();
}

bool MessageQueue::Enqueue(const std::shared_ptr<SentMessage> &sent) {
  {
    std::lock_guard lock(mutex_);
    if (shutDown_) return false;
    incoming_.push_back(sent);
  }
  Wake();
  return true;
}

void MessageQueue::Wake() {
  std::lock_guard lock(mutex_);
  if (waiter_) waiter_->Wake();
}

void MessageQueue::ReplaceWaiter(std::unique_ptr<ThreadWaiter> waiter) {
  std::lock_guard lock(mutex_);
  waiter_ = waiter ? std::move(waiter) : MakeBlockingWaiter();
  waiter_->Wake();
}

bool MessageQueue::ProcessIncomingSent() {
  bool any = false;
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard lock(mutex_);
      if (incoming_.empty()) return any;
      sent = incoming_.front();
      incoming_.pop_front();
    }
    ++processingSent_;
    sent->result = WindowManager::Instance().Deliver(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    --processingSent_;
    sent->done = true;
    sent->sender->Wake();
    any = true;
  }
}

void MessageQueue::AwaitReply(const SentMessage &sent) {
  while (!sent.done) {
    ProcessIncomingSent();
    if (sent.done) break;
    waiter_->WaitUntil(std::nullopt);
  }
}

bool MessageQueue::Peek(MSG &out, const MessageFilter &filter, UINT removeFlags) {
  ProcessIncomingSent();
  const bool remove = (removeFlags & PM_REMOVE) != 0;
  std::lock_guard lock(mutex_);
  return TakePosted(out, filter, remove) || TakeQuit(out, filter, remove) || TakeTimer(out, filter, remove);
}

void MessageQueue::Get(MSG &out, const MessageFilter &filter) {
  for (;;) {
    if (Peek(out, filter, PM_REMOVE)) return;
    std::optional<Clock::time_point> due;
    {
      std::lock_guard lock(mutex_);
      due = NextTimerDue();
    }
    waiter_->WaitUntil(due);
  }
}

bool MessageQueue::TakeKeyboardTarget(Queued &queued) {
  if (!queued.keyboard) return true;
  queued.msg.hwnd = focus_ ? focus_ : active_;
  queued.keyboard = false;
  return queued.msg.hwnd != nullptr;
}

bool MessageQueue::TakePosted(MSG &out, const MessageFilter &filter, bool remove) {
  for (auto it = posted_.begin(); it != posted_.end();) {
    if (!TakeKeyboardTarget(*it)) {
      it = posted_.erase(it);
      continue;
    }
    if (!filter.Matches(it->msg)) {
      ++it;
      continue;
    }
    out = it->msg;
    if (remove) posted_.erase(it);
    return true;
  }
  return false;
}

bool MessageQueue::TakeQuit(MSG &out, const MessageFilter &filter, bool remove) {
  if (!quitCode_ || !InRange(WM_QUIT, filter.first, filter.last)) return false;
  out = MSG{};
  out.message = WM_QUIT;
  out.wParam = static_cast<WPARAM>(*quitCode_);
  out.time = GetTickCount();
  if (remove) quitCode_.reset();
  return true;
}

bool MessageQueue::TakeTimer(MSG &out, const MessageFilter &filter, bool remove) {
  const auto now = Clock::now();
  for (auto &timer : timers_) {
    if (timer.due > now) continue;
    MSG msg = TimerMessage(timer.hwnd, timer.id, timer.proc);
    if (!filter.Matches(msg)) continue;
    out = msg;
    if (remove) timer.due = now + std::chrono::milliseconds(timer.elapse);
    return true;
  }
  return false;
}

std::optional<Clock::time_point> MessageQueue::NextTimerDue() const {
  std::optional<Clock::time_point> due;
  for (const auto &timer : timers_) {
    if (!due || timer.due < *due) due = timer.due;
  }
  return due;
}

std::vector<MessageQueue::Timer>::iterator MessageQueue::FindTimer(HWND hwnd, UINT_PTR id) {
  return std::find_if(timers_.begin(), timers_.end(),
                      [&](const Timer &t) { return t.hwnd == hwnd && t.id == id; });
}

UINT_PTR MessageQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  std::lock_guard lock(mutex_);
  if (!hwnd && (id == 0 || FindTimer(nullptr, id) == timers_.end())) {
    // A thread timer gets an id of its own, unless it replaces one.
    while (FindTimer(nullptr, nextThreadTimerId_) != timers_.end()) ++nextThreadTimerId_;
    id = nextThreadTimerId_++;
  }
  const auto due = Clock::now() + std::chrono::milliseconds(elapse);
  auto it = FindTimer(hwnd, id);
  if (it != timers_.end()) {
    *it = Timer{hwnd, id, elapse, proc, due};
  } else {
    timers_.push_back(Timer{hwnd, id, elapse, proc, due});
  }
  if (waiter_) waiter_->Wake();
  return hwnd && id == 0 ? 1 : id;
}

bool MessageQueue::KillTimer(HWND hwnd, UINT_PTR id) {
  std::lock_guard lock(mutex_);
  auto it = FindTimer(hwnd, id);
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void MessageQueue::KillWindowTimers(HWND hwnd) {
  std::lock_guard lock(mutex_);
  std::erase_if(timers_, [&](const Timer &t) { return t.hwnd == hwnd; });
}

HWND MessageQueue::Focus() const {
  std::lock_guard lock(mutex_);
  return focus_;
}

HWND MessageQueue::Active() const {
  std::lock_guard lock(mutex_);
  return active_;
}

HWND MessageQueue::Capture() const {
  std::lock_guard lock(mutex_);
  return capture_;
}

void MessageQueue::SetCaptureWindow(HWND hwnd) {
  std::lock_guard lock(mutex_);
  capture_ = hwnd;
}

void MessageQueue::SetFocusWindow(HWND hwnd) {
  std::lock_guard lock(mutex_);
  focus_ = hwnd;
}

void MessageQueue::SetActiveWindow(HWND hwnd) {
  std::lock_guard lock(mutex_);
  active_ = hwnd;
}

void MessageQueue::Shutdown() {
  std::deque<std::shared_ptr<SentMessage>> pending;
  {
    std::lock_guard lock(mutex_);
    shutDown_ = true;
    pending.swap(incoming_);
    posted_.clear();
    timers_.clear();
  }
  for (auto &sent : pending) {
    sent->done = true;
    sent->sender->Wake();
  }
}

std::shared_ptr<MessageQueue> CurrentQueueShared() {
  if (!t_holder.queue) {
    t_holder.queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
    std::lock_guard lock(g_registryMutex);
    g_queues[t_holder.queue->ThreadId()] = t_holder.queue;
  }
  return t_holder.queue;
}

MessageQueue &CurrentQueue() { return *CurrentQueueShared(); }

std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId) {
  std::lock_guard lock(g_registryMutex);
  auto it = g_queues.find(threadId);
  return it == g_queues.end() ? nullptr : it->second.lock();
}

}  // namespace platform::windowing
