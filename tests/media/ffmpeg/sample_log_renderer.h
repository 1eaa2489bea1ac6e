// A renderer for the FFmpeg filters' tests that logs every sample it gets:
// its times, flags and size, and the bytes of the first few, with the media
// type the stream came in.
#pragma once

#include <platform_filters/renderer_filter.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace ffmpeg_testing {

struct LoggedSample {
  std::optional<REFERENCE_TIME> start;
  std::optional<REFERENCE_TIME> stop;
  bool syncPoint = false;
  bool discontinuity = false;
  bool preroll = false;
  LONG length = 0;
  std::vector<BYTE> data;  // the first samples' bytes only
};

struct SampleLog {
  std::vector<LoggedSample> samples;
  platform::media::MediaType type;  // of the connection
  platform::media::Segment segment;
};

class SampleLogRenderer final : public platform::media::RendererFilter {
 public:
  // Takes types of the major type, and of the subtype too when one is given.
  static SampleLogRenderer *Create(const GUID &majorType, const GUID &subtype = GUID{});
  IPin *Input();
  SampleLog Log() const;

 private:
  SampleLogRenderer(const GUID &majorType, const GUID &subtype);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;

  const GUID m_majorType;
  const GUID m_subtype;
  mutable std::mutex m_lock;
  SampleLog m_log;  // guarded by m_lock
};

}  // namespace ffmpeg_testing
