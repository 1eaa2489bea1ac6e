// NullAudioOutput: an audio output without a device. Its thread takes the
// feed's sound at the stream's sample rate, as a device plays it, and drops
// it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "media/audio/audio_output.h"

namespace platform::media::audio {

class NullAudioOutput final : public AudioOutput {
 public:
  explicit NullAudioOutput(PlaybackFeed &feed);
  ~NullAudioOutput() override;

  void Start() override;
  void Pause() override;
  const char *Kind() const override { return "null"; }

 private:
  using Clock = std::chrono::steady_clock;

  void Play();
  void PlayDue(std::unique_lock<std::mutex> &lock);

  PlaybackFeed &m_feed;
  std::vector<BYTE> m_scratch;  // the played sound, dropped; used by the thread only
  std::mutex m_lock;
  std::condition_variable m_changed;
  bool m_running = false;    // guarded by m_lock
  bool m_closing = false;    // guarded by m_lock
  bool m_filling = false;    // guarded by m_lock: the thread is in the feed
  Clock::time_point m_since;  // guarded by m_lock: when the output last started
  uint64_t m_samplesPlayed = 0;  // guarded by m_lock: since then
  std::thread m_thread;
};

}  // namespace platform::media::audio
