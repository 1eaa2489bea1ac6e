// The graph manager's own thread, for work that waits on filters without
// holding the caller (seeing a pause through to EC_PAUSED). Tasks run one
// at a time, in order. The thread starts with the first task; Stop drops
// the tasks not yet started and waits for the one running.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace platform::media {

class GraphWorker {
 public:
  GraphWorker() = default;
  ~GraphWorker();
  GraphWorker(const GraphWorker &) = delete;
  GraphWorker &operator=(const GraphWorker &) = delete;

  void Post(std::function<void()> task);
  void Stop();

 private:
  void Run();

  std::mutex m_lock;
  std::condition_variable m_posted;
  std::deque<std::function<void()>> m_tasks;  // guarded by m_lock
  bool m_stopping = false;                    // guarded by m_lock
  std::thread m_thread;                       // started under m_lock
};

}  // namespace platform::media
