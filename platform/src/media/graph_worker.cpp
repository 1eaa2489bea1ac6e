// The graph manager's worker thread.
#include "media/graph_worker.h"

#include <utility>

namespace platform::media {

GraphWorker::~GraphWorker() { Stop(); }

void GraphWorker::Post(std::function<void()> task) {
  std::lock_guard lock(m_lock);
  if (m_stopping) return;
  m_tasks.push_back(std::move(task));
  if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
  m_posted.notify_one();
}

void GraphWorker::Stop() {
  std::thread thread;
  {
    std::lock_guard lock(m_lock);
    m_stopping = true;
    m_tasks.clear();
    m_posted.notify_one();
    thread = std::move(m_thread);
  }
  if (thread.joinable()) thread.join();
}

void GraphWorker::Run() {
  std::unique_lock lock(m_lock);
  for (;;) {
    m_posted.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
    if (m_stopping) return;
    std::function<void()> task = std::move(m_tasks.front());
    m_tasks.pop_front();
    lock.unlock();
    task();
    lock.lock();
  }
}

}  // namespace platform::media
