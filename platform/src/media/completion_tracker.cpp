// Counting the renderers' ends of stream into one EC_COMPLETE.
#include "media/completion_tracker.h"

namespace platform::media {

void CompletionTracker::Start(size_t renderers) {
  std::lock_guard lock(m_lock);
  m_counting = renderers > 0;
  m_expected = renderers;
  m_reported = 0;
  m_senders.clear();
}

void CompletionTracker::Stop() {
  std::lock_guard lock(m_lock);
  m_counting = false;
}

bool CompletionTracker::Report(LONG_PTR renderer) {
  std::lock_guard lock(m_lock);
  if (!m_counting) return false;
  if (renderer != 0 && !m_senders.insert(renderer).second) return false;
  if (++m_reported < m_expected) return false;
  m_counting = false;
  return true;
}

}  // namespace platform::media
