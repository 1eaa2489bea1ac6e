// A renderer for the FFmpeg filters' tests that logs every sample it
// presents: its times, flags, size and digest, and the bytes of the first
// few, with the media type the stream came in; and the samples it holds
// while paused (the still picture after a pause or a seek).
#pragma once

#include <platform_filters/renderer_filter.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ffmpeg_testing {

struct LoggedSample {
  std::optional<REFERENCE_TIME> start;
  std::optional<REFERENCE_TIME> stop;
  bool syncPoint = false;
  bool discontinuity = false;
  bool preroll = false;
  LONG length = 0;
  std::string digest;      // of the sample's bytes (media/frame_digest.h)
  std::vector<BYTE> data;  // the first samples' bytes only
};

struct SampleLog {
  std::vector<LoggedSample> samples;
  std::vector<LoggedSample> held;  // while paused
  platform::media::MediaType type;  // of the connection
  platform::media::Segment segment;
};

class SampleLogRenderer final : public platform::media::RendererFilter {
 public:
  // Takes types of the major type, and of the subtype too when one is given.
  static SampleLogRenderer *Create(const GUID &majorType, const GUID &subtype = GUID{});
  IPin *Input();
  SampleLog Log() const;
  // Waits up to 10 s until it has held that many samples while paused.
  bool WaitForHeld(size_t count) const;

 private:
  SampleLogRenderer(const GUID &majorType, const GUID &subtype);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;
  void ShowPausedSample(IMediaSample *sample) override;
  LoggedSample Logged(IMediaSample *sample, bool keepData) const;

  const GUID m_majorType;
  const GUID m_subtype;
  mutable std::mutex m_lock;
  mutable std::condition_variable m_heldChanged;
  SampleLog m_log;  // guarded by m_lock
};

}  // namespace ffmpeg_testing
