// The video renderer's record of the pictures it showed.
#include "media/presentation_record.h"

namespace platform::media {

void PresentationRecord::Add(PresentedFrame frame) {
  std::lock_guard lock(m_lock);
  if (!frame.whilePaused) ++m_presented;
  if (m_frames.size() == kFramesKept) m_frames.pop_front();
  m_frames.push_back(std::move(frame));
}

void PresentationRecord::Reset() {
  std::lock_guard lock(m_lock);
  m_presented = 0;
  m_frames.clear();
}

PresentationRecordCopy PresentationRecord::Read() const {
  std::lock_guard lock(m_lock);
  return {m_presented, std::vector<PresentedFrame>(m_frames.begin(), m_frames.end())};
}

}  // namespace platform::media
