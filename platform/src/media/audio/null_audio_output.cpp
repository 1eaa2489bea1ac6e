// The audio output that plays to nothing, in real time.
#include "media/audio/null_audio_output.h"

namespace platform::media::audio {
namespace {

// How often the thread takes sound: about as often as a device asks for it.
constexpr auto kPeriod = std::chrono::milliseconds(10);

}  // namespace

NullAudioOutput::NullAudioOutput(PlaybackFeed &feed) : m_feed(feed), m_thread([this] { Play(); }) {}

NullAudioOutput::~NullAudioOutput() {
  {
    std::lock_guard lock(m_lock);
    m_closing = true;
    m_changed.notify_all();
  }
  m_thread.join();
}

void NullAudioOutput::Start() {
  std::lock_guard lock(m_lock);
  if (m_running) return;
  m_running = true;
  m_since = Clock::now();
  m_samplesPlayed = 0;
  m_changed.notify_all();
}

void NullAudioOutput::Pause() {
  std::unique_lock lock(m_lock);
  m_running = false;
  m_changed.notify_all();
  m_changed.wait(lock, [this] { return !m_filling; });
}

void NullAudioOutput::Play() {
  std::unique_lock lock(m_lock);
  while (!m_closing) {
    if (!m_running) {
      m_changed.wait(lock);
      continue;
    }
    PlayDue(lock);
    m_changed.wait_for(lock, kPeriod);
  }
}

// With the lock held on entry and on return; the feed is used without it.
void NullAudioOutput::PlayDue(std::unique_lock<std::mutex> &lock) {
  const PcmFormat &format = m_feed.Format();
  const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_since).count();
  const uint64_t due = static_cast<uint64_t>(elapsed) * format.samplesPerSec / 1000000;
  if (due <= m_samplesPlayed) return;
  const size_t bytes = (due - m_samplesPlayed) * format.blockAlign;
  m_samplesPlayed = due;
  m_filling = true;
  lock.unlock();
  m_scratch.resize(bytes);
  m_feed.Fill(m_scratch.data(), bytes);
  lock.lock();
  m_filling = false;
  m_changed.notify_all();
}

}  // namespace platform::media::audio
