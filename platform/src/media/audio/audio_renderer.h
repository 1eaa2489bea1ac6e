// The built-in audio renderer (CLSID_DSoundRender): plays uncompressed
// audio (pcm_format.h says which) on the sound device through SDL, or, when
// no device opens, on the null output at the same pace (audio_output.h), so
// that a file's sound is always rendered. It gives IReferenceClock
// (audio_clock.h): the time of the sound it has played, which the graph
// prefers to the system clock.
//
// Playing. Samples go into a queue (pcm_queue.h) that the output plays
// from. Each sample is taken RenderAhead before its time so that the queue
// stays ahead of the device; the queue holds at most kQueueLength of sound,
// which paces an unclocked stream at the speed it plays. End of stream is
// reported once the queue has played out.
//
// States. The output opens when the filter leaves Stopped and closes when it
// stops; it plays only while the filter runs. Pause stops the sound at once
// and keeps what is queued; Stop and a flush drop it, and free a streaming
// thread that waits for room. A new media type carried on a sample reopens
// the output in it.
//
// Locks: the output lock guards the output and the format; it comes after
// the filter's state lock and before the queue's and the clock's.
#pragma once

#include <platform_filters/renderer_filter.h>

#include <memory>
#include <mutex>
#include <optional>

#include "media/audio/audio_clock.h"
#include "media/audio/audio_output.h"
#include "media/audio/pcm_queue.h"

namespace platform::media::audio {

class AudioRenderer final : public RendererFilter {
 public:
  static constexpr REFERENCE_TIME kRenderAhead = 2000000;  // 200 ms
  static constexpr REFERENCE_TIME kQueueLength = 5000000;  // 500 ms

  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

  // IUnknown: those of RendererFilter, and IReferenceClock.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  // IMediaFilter: the output follows the state.
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME tStart) override;

  // For tests: the kind of output open ("sdl", "null"), null when none is.
  const char *OutputKind() const;

 private:
  AudioRenderer();
  ~AudioRenderer() override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;
  REFERENCE_TIME RenderAhead() const override;
  void OnBeginFlush() override;
  void OnEndOfStream() override;

  // With the output lock.
  void OpenOutput();
  void CloseOutput();
  void PauseOutput();
  void StartOutput();

  AudioClock m_clock;
  PcmQueue m_queue;
  mutable std::mutex m_outputLock;
  std::optional<PcmFormat> m_format;     // guarded by m_outputLock
  std::unique_ptr<PlaybackFeed> m_feed;  // guarded by m_outputLock
  std::unique_ptr<AudioOutput> m_output;  // guarded by m_outputLock; closed before the feed goes
  bool m_playing = false;                // guarded by m_outputLock
};

}  // namespace platform::media::audio
