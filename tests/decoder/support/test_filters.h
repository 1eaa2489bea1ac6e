// Filters around the decoder under test, on the platform's filter building
// blocks:
//
//   PushSource     one output pin in a clip's media type; the test thread
//                  pushes samples, flushes, segments and end of stream
//                  through it, so each test decides what the decoder gets
//                  and when
//   RecordingSink  a renderer that takes the decoder's picture types it is
//                  told to take and records each picture (a hash of its
//                  bytes, its times) and each media type agreed
//
// Each is created with one reference, which the test holds.
#pragma once

#include <platform_filters/base_filter.h>
#include <platform_filters/output_pin.h>
#include <platform_filters/renderer_filter.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

#include "clip_reader.h"

namespace decoder_testing {

using platform::media::MediaType;

struct SampleTimes {
  std::optional<REFERENCE_TIME> start;
  std::optional<REFERENCE_TIME> stop;
};

class PushSource final : public platform::media::BaseFilter {
 public:
  static PushSource *Create(const MediaType &type);
  IPin *Output();

  // On the test thread while the graph runs. Each returns the decoder's answer.
  HRESULT Push(const Bytes &data, const SampleTimes &times, bool syncPoint);
  HRESULT PushPacket(const ClipPacket &packet) { return Push(packet.data, {packet.start, packet.stop}, packet.key); }
  HRESULT EndOfStream();
  HRESULT Flush();
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop);

 private:
  class Pin;
  explicit PushSource(const MediaType &type);
  ~PushSource() override;

  std::unique_ptr<Pin> m_pin;
};

// FNV-1a over the bytes: pictures are compared by their hashes.
uint64_t HashOf(const uint8_t *data, size_t size);

struct RecordedPicture {
  uint64_t hash = 0;
  size_t size = 0;
  bool hasStart = false;
  bool hasStop = false;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  size_t type = 0;  // index into RecordingSink::Types()
  bool discontinuity = false;
};

class RecordingSink final : public platform::media::RendererFilter {
 public:
  // Takes video in the subtypes and format types listed (any when a list is empty).
  static RecordingSink *Create(std::vector<GUID> subtypes = {}, std::vector<GUID> formatTypes = {});
  IPin *Input();
  void Accept(std::vector<GUID> subtypes, std::vector<GUID> formatTypes);

  std::vector<RecordedPicture> Pictures() const;
  // Every type agreed, at connection or mid-stream, in order.
  std::vector<MediaType> Types() const;
  bool WaitForPictures(size_t count) const;

 private:
  RecordingSink(std::vector<GUID> subtypes, std::vector<GUID> formatTypes);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;

  mutable std::mutex m_lock;
  mutable std::condition_variable m_rendered;
  std::vector<GUID> m_subtypes;      // guarded by m_lock
  std::vector<GUID> m_formatTypes;   // guarded by m_lock
  std::vector<RecordedPicture> m_pictures;  // guarded by m_lock
  std::vector<MediaType> m_types;    // guarded by m_lock
};

}  // namespace decoder_testing
