// The audio renderer's clock arithmetic.
#include "media/audio/playback_timeline.h"

#include <algorithm>

namespace platform::media::audio {

REFERENCE_TIME PlaybackTimeline::Read(REFERENCE_TIME now) {
  m_last = std::max(m_last, now + m_offset);
  return m_last;
}

void PlaybackTimeline::Played(REFERENCE_TIME played, REFERENCE_TIME now) {
  if (!m_anchor) return Reanchor(played, now);
  const REFERENCE_TIME reached = m_anchor->clock + (played - m_anchor->played);
  const REFERENCE_TIME current = std::max(m_last, now + m_offset);
  if (reached < current - kLongestLag) return Reanchor(played, now);
  m_offset = reached - now;
}

void PlaybackTimeline::Idle() { m_anchor.reset(); }

void PlaybackTimeline::Reanchor(REFERENCE_TIME played, REFERENCE_TIME now) {
  const REFERENCE_TIME clock = Read(now);
  m_offset = clock - now;
  m_anchor = Anchor{clock, played};
}

}  // namespace platform::media::audio
