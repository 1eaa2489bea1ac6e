// The audio renderer's queue of sound to play.
#include "media/audio/pcm_queue.h"

#include <algorithm>

namespace platform::media::audio {

void PcmQueue::SetCapacity(size_t capacity) {
  std::lock_guard lock(m_lock);
  m_capacity = capacity;
  m_changed.notify_all();
}

bool PcmQueue::Write(const BYTE *data, size_t size) {
  std::unique_lock lock(m_lock);
  const ULONG clears = m_clears;
  while (size > 0) {
    m_changed.wait(lock, [&] { return m_clears != clears || !m_flowing || m_bytes.size() < m_capacity; });
    if (m_clears != clears) return false;
    const size_t room = m_flowing && m_capacity > m_bytes.size() ? m_capacity - m_bytes.size() : size;
    const size_t part = std::min(size, room);
    m_bytes.insert(m_bytes.end(), data, data + part);
    data += part;
    size -= part;
  }
  return true;
}

size_t PcmQueue::Read(BYTE *dest, size_t size) {
  std::lock_guard lock(m_lock);
  const size_t part = std::min(size, m_bytes.size());
  std::copy_n(m_bytes.begin(), part, dest);
  m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(part));
  if (part > 0) m_changed.notify_all();
  return part;
}

bool PcmQueue::WaitUntilEmpty() {
  std::unique_lock lock(m_lock);
  const ULONG clears = m_clears;
  m_changed.wait(lock, [&] { return m_clears != clears || !m_flowing || m_bytes.empty(); });
  return m_bytes.empty() && m_clears == clears;
}

void PcmQueue::Clear() {
  std::lock_guard lock(m_lock);
  m_bytes.clear();
  ++m_clears;
  m_changed.notify_all();
}

void PcmQueue::SetFlowing(bool flowing) {
  std::lock_guard lock(m_lock);
  m_flowing = flowing;
  m_changed.notify_all();
}

size_t PcmQueue::Queued() const {
  std::lock_guard lock(m_lock);
  return m_bytes.size();
}

}  // namespace platform::media::audio
