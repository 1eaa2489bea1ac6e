// PlaybackFeed: what an audio output plays from. It hands the output the
// queued sound, silence where none is queued, and tells the clock how much
// sound has been played in all, or that none plays (the output starved).
//
// Threads: Fill runs on the output's thread, one call at a time.
#pragma once

#include <cstdint>

#include "media/audio/audio_clock.h"
#include "media/audio/pcm_format.h"
#include "media/audio/pcm_queue.h"

namespace platform::media::audio {

class PlaybackFeed {
 public:
  PlaybackFeed(const PcmFormat &format, PcmQueue &queue, AudioClock &clock);

  const PcmFormat &Format() const { return m_format; }
  // Fills size bytes of dest.
  void Fill(BYTE *dest, size_t size);

 private:
  const PcmFormat m_format;
  PcmQueue &m_queue;
  AudioClock &m_clock;
  uint64_t m_played = 0;  // bytes of sound played in all
};

}  // namespace platform::media::audio
