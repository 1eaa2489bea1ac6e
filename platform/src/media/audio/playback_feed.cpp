// Feeding an audio output from the renderer's queue.
#include "media/audio/playback_feed.h"

#include <cstring>

namespace platform::media::audio {

PlaybackFeed::PlaybackFeed(const PcmFormat &format, PcmQueue &queue, AudioClock &clock)
    : m_format(format), m_queue(queue), m_clock(clock) {}

// The sound handed over now counts as played once the output asks for
// more: by then what it was handed before has gone out.
void PlaybackFeed::Fill(BYTE *dest, size_t size) {
  const size_t sound = m_queue.Read(dest, size);
  std::memset(dest + sound, m_format.SilenceByte(), size - sound);
  if (sound > 0) m_clock.Played(m_format.DurationOf(m_played));
  m_played += sound;
  if (sound < size) m_clock.Idle();
}

}  // namespace platform::media::audio
